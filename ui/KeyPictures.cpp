// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyPictures.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>
#include <type_traits>

namespace orvane::ui {

std::optional<QString> keyPicturePath(const model::KeyProp& prop)
{
    if (!prop.image)
        return std::nullopt;
    return std::visit(
        [&](const auto& image) {
            if constexpr (std::is_same_v<std::decay_t<decltype(image)>, model::SystemImage>)
                return QStringLiteral(":/keys/%1.svg").arg(QString::fromStdString(image.name));
            else
                return QStringLiteral(":/keys/%1.svg").arg(QString::fromStdString(prop.name));
        },
        *prop.image);
}

QString symbolPath(const char* name)
{
    return QStringLiteral(":/symbols/%1.svg").arg(QLatin1String(name));
}

QSizeF pictureSize(const QString& path)
{
    if (!QFile::exists(path))
        return {};
    QSvgRenderer renderer(path);
    return renderer.isValid() ? QSizeF(renderer.defaultSize()) : QSizeF();
}

QPixmap templatePicture(const QString& path, QSizeF size, const QColor& color,
                        qreal devicePixelRatio)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid() || size.isEmpty())
        return {};
    const QSize pixels(static_cast<int>(std::ceil(size.width() * devicePixelRatio)),
                       static_cast<int>(std::ceil(size.height() * devicePixelRatio)));
    QImage image(pixels, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    }
    // Ink is how dark and how opaque a pixel is, so that light cut-outs (the plus on a filled
    // badge) stay holes whatever colour the picture is drawn in.
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int alpha = qAlpha(pixel);
            const int ink = alpha == 0 ? 0 : alpha * (255 - qGray(pixel)) / 255;
            line[x] = qRgba(color.red(), color.green(), color.blue(), ink * color.alpha() / 255);
        }
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace orvane::ui
