// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyView.h"

#include "KeyPictures.h"

#include "model/KeyProps.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

namespace orvane::ui {
namespace {
constexpr int captionSpacing = 6;

// The names the catalogue gives, marked for the translators; the function keys keep theirs.
[[maybe_unused]] constexpr const char* translatedNames[] = {
    QT_TRANSLATE_NOOP("KeyNames", "Mission Control"),
    QT_TRANSLATE_NOOP("KeyNames", "Spotlight"),
    QT_TRANSLATE_NOOP("KeyNames", "Dictation"),
    QT_TRANSLATE_NOOP("KeyNames", "Focus"),
    QT_TRANSLATE_NOOP("KeyNames", "Launchpad"),
    QT_TRANSLATE_NOOP("KeyNames", "Brightness Up"),
    QT_TRANSLATE_NOOP("KeyNames", "Brightness Down"),
    QT_TRANSLATE_NOOP("KeyNames", "Sound Up"),
    QT_TRANSLATE_NOOP("KeyNames", "Sound Down"),
    QT_TRANSLATE_NOOP("KeyNames", "Mute"),
    QT_TRANSLATE_NOOP("KeyNames", "Illumination Up"),
    QT_TRANSLATE_NOOP("KeyNames", "Illumination Down"),
    QT_TRANSLATE_NOOP("KeyNames", "Illumination Toggle"),
    QT_TRANSLATE_NOOP("KeyNames", "Play"),
    QT_TRANSLATE_NOOP("KeyNames", "Next"),
    QT_TRANSLATE_NOOP("KeyNames", "Previous"),
    QT_TRANSLATE_NOOP("KeyNames", "Fast"),
    QT_TRANSLATE_NOOP("KeyNames", "Rewind"),
};
} // namespace

QString keyName(model::CustomKey key)
{
    return QCoreApplication::translate("KeyNames", model::keyProp(key).name.c_str());
}

KeyView::KeyView(model::CustomKey key, bool highlighted, bool showName, QWidget* parent)
    : QWidget(parent), m_key(key), m_highlighted(highlighted), m_showName(showName)
{
    setObjectName(QStringLiteral("KeyView"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(keyName(key));
}

QColor KeyView::color() const
{
    return palette().color(m_highlighted ? QPalette::Link : QPalette::WindowText);
}

bool KeyView::showsCaption() const
{
    return m_showName && model::keyProp(m_key).image.has_value();
}

std::optional<QString> KeyView::picturePath() const
{
    return keyPicturePath(model::keyProp(m_key));
}

QSize KeyView::sizeHint() const
{
    int width = padding + capSize + padding;
    if (showsCaption())
        width += captionSpacing + fontMetrics().horizontalAdvance(keyName(m_key));
    return {width, padding + capSize + padding};
}

void KeyView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = color();
    const QRectF cap(padding, (height() - capSize) / 2.0, capSize, capSize);
    const QString name = keyName(m_key);

    const auto path = picturePath();
    const QSizeF size = path ? pictureSize(*path) : QSizeF();
    if (!size.isEmpty()) {
        const QPixmap picture = templatePicture(*path, size, ink, devicePixelRatioF());
        const QPointF topLeft(cap.center().x() - size.width() / 2,
                              cap.center().y() - size.height() / 2);
        painter.drawPixmap(topLeft, picture);
    } else {
        // No picture (the function keys, or a missing resource): the name stands in the cap.
        painter.setPen(ink);
        painter.drawText(cap, Qt::AlignCenter, name);
    }

    // The outline stays inside the cap's frame: the 3-point line is drawn 1.5 points in.
    QPen outline(ink, 3, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(cap.adjusted(1.5, 1.5, -1.5, -1.5), 8 - 1.5, 8 - 1.5);

    if (showsCaption()) {
        painter.setPen(ink);
        const QRectF caption(cap.right() + captionSpacing, 0, width() - cap.right(), height());
        painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, name);
    }
}

} // namespace orvane::ui
