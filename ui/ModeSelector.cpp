// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModeSelector.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace orvane::ui {
namespace {

const QColor selectionBlue(0, 122, 255);

// One tile: the mode's view in an 80 by 90 frame, padded 8 points, the whole of it clickable.
class Tile : public QWidget {
public:
    Tile(ModeSelector& selector, int index, QWidget* view) : m_selector(selector), m_index(index)
    {
        setObjectName(QStringLiteral("ModeTile"));
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::OpenHandCursor);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(8, 8, 8, 8);
        view->setFixedSize(80, 90);
        view->setAttribute(Qt::WA_TransparentForMouseEvents);
        layout->addWidget(view);
        setFixedSize(96, 106);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (rect().contains(event->position().toPoint()))
            m_selector.select(m_index);
    }

    // Space picks the tile, as it presses a button; Enter is left to the window (the guide
    // finishes with it).
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Space) {
            m_selector.select(m_index);
            return;
        }
        QWidget::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent*) override
    {
        const bool isSelected = m_selector.selected() == m_index;
        if (!isSelected && !hasFocus())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()).adjusted(1.25, 1.25, -1.25, -1.25), 20, 20);
        if (isSelected) {
            QColor fill = selectionBlue;
            fill.setAlphaF(0.2F);
            painter.fillPath(shape, fill);
            painter.strokePath(shape, QPen(selectionBlue, 2.5));
        } else {
            painter.strokePath(shape, QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        }
    }

private:
    ModeSelector& m_selector;
    int m_index;
};

} // namespace

ModeSelector::ModeSelector(std::vector<Mode> contents, QWidget* parent)
    : QWidget(parent), m_contents(std::move(contents))
{
    setObjectName(QStringLiteral("ModeSelector"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(24);
    layout->addStretch();
    for (std::size_t i = 0; i < m_contents.size(); ++i) {
        auto* tile = new Tile(*this, static_cast<int>(i), m_contents[i].view);
        m_tiles.push_back(tile);
        layout->addWidget(tile, 0, Qt::AlignVCenter);
    }
    layout->addStretch();
}

void ModeSelector::select(int index)
{
    if (index < 0 || index >= count())
        return;
    m_selected = index;
    for (QWidget* tile : m_tiles)
        tile->update();
    m_contents[static_cast<std::size_t>(index)].onClick();
}

QWidget* ModeSelector::tile(int index) const
{
    return index >= 0 && index < count() ? m_tiles[static_cast<std::size_t>(index)] : nullptr;
}

} // namespace orvane::ui
