// SPDX-License-Identifier: GPL-3.0-or-later
#include "SymbolView.h"

#include "KeyPictures.h"

#include <QPainter>

namespace orvane::ui {

SymbolView::SymbolView(const char* name, qreal pictureSize, int frame, QWidget* parent)
    : QWidget(parent), m_path(symbolPath(name)), m_pictureSize(pictureSize)
{
    setObjectName(QLatin1String(name));
    setFixedSize(frame, frame);
}

void SymbolView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QSizeF size(m_pictureSize, m_pictureSize);
    const QPixmap picture =
        templatePicture(m_path, size, palette().color(QPalette::WindowText), devicePixelRatioF());
    painter.drawPixmap(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2),
                       picture);
}

} // namespace orvane::ui
