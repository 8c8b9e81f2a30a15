// SPDX-License-Identifier: GPL-3.0-or-later
// A check box drawn as a switch: a rounded track with a sliding knob.
#pragma once

#include <QCheckBox>

namespace orvane::ui {

class ToggleSwitch : public QCheckBox {
    Q_OBJECT
public:
    explicit ToggleSwitch(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {40, 24}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& point) const override { return rect().contains(point); }
};

} // namespace orvane::ui
