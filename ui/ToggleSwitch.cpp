// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToggleSwitch.h"

#include <QPainter>

namespace orvane::ui {

ToggleSwitch::ToggleSwitch(QWidget* parent) : QCheckBox(parent)
{
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ToggleSwitch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(1, 3, -1, -3);
    const qreal radius = track.height() / 2;
    const QColor on = palette().color(QPalette::Highlight);
    const QColor off = palette().color(QPalette::Mid);
    painter.setPen(Qt::NoPen);
    painter.setBrush(isChecked() ? on : off);
    painter.drawRoundedRect(track, radius, radius);

    const qreal knob = track.height() - 4;
    const qreal x = isChecked() ? track.right() - 2 - knob : track.left() + 2;
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawEllipse(QRectF(x, track.top() + 2, knob, knob));

    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(on.darker(140), 1.5));
        painter.drawRoundedRect(track.adjusted(-1, -1, 1, 1), radius + 1, radius + 1);
    }
}

} // namespace orvane::ui
