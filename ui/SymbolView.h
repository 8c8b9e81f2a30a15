// SPDX-License-Identifier: GPL-3.0-or-later
// One of the interface's symbols (SVG in the resources) drawn in the text colour, centred in a
// fixed square.
#pragma once

#include <QWidget>

namespace orvane::ui {

class SymbolView : public QWidget {
    Q_OBJECT
public:
    // `pictureSize` is the symbol's size in points, `frame` the square it is centred in.
    SymbolView(const char* name, qreal pictureSize, int frame, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_path;
    qreal m_pictureSize;
};

inline QWidget* makeSymbol(const char* name, qreal pictureSize)
{
    return new SymbolView(name, pictureSize, 36);
}

} // namespace orvane::ui
