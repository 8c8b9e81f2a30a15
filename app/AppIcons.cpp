// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppIcons.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace orvane::app {

namespace {

QImage tinted(const QImage& shape, const QColor& colour)
{
    QImage result = shape;
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(result.rect(), colour);
    return result;
}

// The symbolic picture as pixels, light with a dark rim, so that it reads on light and dark panels
// alike: only a panel that gets the icon by name (StatusNotifierItem) can recolour it.
QPixmap rimmedSymbol(QSvgRenderer& renderer, int size)
{
    const int inner = size - 2;
    QImage shape(inner, inner, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter painter(&shape);
        renderer.render(&painter);
    }
    const QImage rim = tinted(shape, QColor(0x20, 0x20, 0x20, 0xe0));
    const QImage face = tinted(shape, QColor(0xf2, 0xf2, 0xf2));
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    for (const QPoint offset : {QPoint(0, 1), QPoint(2, 1), QPoint(1, 0), QPoint(1, 2)})
        painter.drawImage(offset, rim);
    painter.drawImage(QPoint(1, 1), face);
    return QPixmap::fromImage(picture);
}

} // namespace

QIcon appIcon()
{
    return QIcon::fromTheme(QStringLiteral("orvane"), QIcon(QStringLiteral(":/icons/orvane.svg")));
}

QIcon trayIcon()
{
    const QString name = QStringLiteral("orvane-symbolic");
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    QSvgRenderer renderer(QStringLiteral(":/icons/orvane-symbolic.svg"));
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(rimmedSymbol(renderer, size));
    return icon;
}

} // namespace orvane::app
