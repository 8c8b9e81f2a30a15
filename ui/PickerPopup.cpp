// SPDX-License-Identifier: GPL-3.0-or-later
#include "PickerPopup.h"

#include "AddShortcutView.h"
#include "KeyView.h"
#include "LaunchTargetPicker.h"
#include "SymbolView.h"

#include "model/KeyProps.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace orvane::ui {
namespace {

const QColor rowBlue(0, 122, 255);

QWidget* optionContent(const char* symbol, qreal size, const QString& text)
{
    auto* box = new QWidget;
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(makeSymbol(symbol, size));
    layout->addWidget(new QLabel(text));
    layout->addStretch();
    return box;
}

QWidget* keyContent(model::CustomKey key)
{
    auto* box = new QWidget;
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new KeyView(key, false, true));
    layout->addStretch();
    return box;
}

} // namespace

PickerRow::PickerRow(LaunchTargetPicker& picker, model::LaunchTarget value, QWidget* content,
                     std::function<void()> action, QWidget* parent)
    : QWidget(parent), m_picker(picker), m_value(std::move(value)), m_action(std::move(action))
{
    setObjectName(QStringLiteral("PickerRow"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    content->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->addWidget(content);
}

bool PickerRow::isHighlighted() const
{
    return m_picker.hoverKey() && *m_picker.hoverKey() == m_value;
}

// Entering and leaving alike make this row the hover key; it stays so until another row is
// touched, also after the popup closes and opens again.
void PickerRow::enterEvent(QEnterEvent*)
{
    m_picker.setHoverKey(m_value);
}

void PickerRow::leaveEvent(QEvent*)
{
    m_picker.setHoverKey(m_value);
}

// The keyboard moves the highlight as the pointer does.
void PickerRow::focusInEvent(QFocusEvent*)
{
    m_picker.setHoverKey(m_value);
    for (QWidget* ancestor = parentWidget(); ancestor != nullptr;
         ancestor = ancestor->parentWidget())
        if (auto* scroll = qobject_cast<QScrollArea*>(ancestor)) {
            scroll->ensureWidgetVisible(this, 0, 8);
            return;
        }
}

void PickerRow::mouseReleaseEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()))
        activate();
}

void PickerRow::keyPressEvent(QKeyEvent* event)
{
    auto* popup = qobject_cast<PickerPopup*>(window());
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (popup)
            popup->moveFocus(this, event->key() == Qt::Key_Up ? -1 : 1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        activate();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PickerRow::paintEvent(QPaintEvent*)
{
    if (!isHighlighted())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), rowBlue);
}

PickerPopup::PickerPopup(LaunchTargetPicker& picker) : QFrame(nullptr, Qt::Popup), m_picker(picker)
{
    setObjectName(QStringLiteral("PickerPopup"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFrameShape(QFrame::StyledPanel);

    auto* list = new QWidget;
    auto* rows = new QVBoxLayout(list);
    rows->setContentsMargins(10, 10, 10, 10);
    rows->setSpacing(2);
    const auto addRow = [&](model::LaunchTarget value, QWidget* content,
                            std::function<void()> action) {
        auto* row = new PickerRow(picker, std::move(value), content, std::move(action));
        rows->addWidget(row);
        m_rows.push_back(row);
    };
    addRow(LaunchTargetPicker::appPlaceholder,
           optionContent("macwindow.badge.plus", 28, tr("Open/Switch App")),
           [&picker] { picker.chooseApp(); });
    addRow(LaunchTargetPicker::shortcutPlaceholder,
           optionContent("command.square.fill", 32, tr("Simulate Keyboard Shortcut")),
           [&picker] { picker.openShortcutEditor(); });
    for (const auto& row : model::keyProps()) {
        const model::CustomKey key = row.key;
        addRow(model::KeyTarget{key}, keyContent(key), [&picker, key] { picker.chooseKey(key); });
    }

    m_scroll = new QScrollArea;
    m_scroll->setObjectName(QStringLiteral("pickerRows"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->setWidget(list);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_scroll);
    resize(340, 460);
}

PickerRow* PickerPopup::keyRow(model::CustomKey key) const
{
    const model::LaunchTarget target = model::KeyTarget{key};
    const auto it = std::find_if(m_rows.begin(), m_rows.end(),
                                 [&](const PickerRow* row) { return row->value() == target; });
    return it == m_rows.end() ? nullptr : *it;
}

void PickerPopup::moveFocus(PickerRow* from, int step)
{
    const auto it = std::find(m_rows.begin(), m_rows.end(), from);
    if (it == m_rows.end())
        return;
    const auto index = std::clamp<std::ptrdiff_t>((it - m_rows.begin()) + step, 0,
                                                  static_cast<std::ptrdiff_t>(m_rows.size()) - 1);
    m_rows[static_cast<std::size_t>(index)]->setFocus(Qt::TabFocusReason);
}

AddShortcutView* PickerPopup::showSheet()
{
    if (m_sheet)
        return m_sheet;
    // A dimmed layer over the whole popup holds the editor at its top, like a sheet; it takes
    // every click, so the rows beneath cannot be used until the editor closes.
    m_sheetLayer = new QWidget(this);
    m_sheetLayer->setObjectName(QStringLiteral("sheetLayer"));
    m_sheetLayer->setAutoFillBackground(true);
    QPalette dim = m_sheetLayer->palette();
    QColor shade = palette().color(QPalette::Window).darker(130);
    shade.setAlpha(200);
    dim.setColor(QPalette::Window, shade);
    m_sheetLayer->setPalette(dim);
    m_sheetLayer->setGeometry(rect());

    m_sheet = new AddShortcutView(
        m_picker.services().keyboardLayout,
        [this](const model::LaunchTarget& target) { m_picker.writeFromEditor(target); },
        [this] { closeSheet(); }, m_sheetLayer);
    // Opaque, whatever the dimmed layer behind it: a colour set explicitly is not inherited.
    QPalette solid = palette();
    solid.setColor(QPalette::Window, palette().color(QPalette::Window));
    m_sheet->setPalette(solid);
    auto* layout = new QVBoxLayout(m_sheetLayer);
    layout->setContentsMargins(8, 0, 8, 8);
    layout->addWidget(m_sheet, 0, Qt::AlignHCenter | Qt::AlignTop);
    layout->addStretch();
    // The keyboard is held inside the sheet too: with the rows beneath disabled, Tab goes round
    // the editor's own controls and Enter never reaches a row.
    m_scroll->setEnabled(false);
    m_sheetLayer->show();
    m_sheet->addButton()->setFocus(Qt::PopupFocusReason);
    return m_sheet;
}

void PickerPopup::closeSheet()
{
    if (!m_sheetLayer)
        return;
    m_sheetLayer->hide();
    m_sheetLayer->deleteLater();
    m_sheetLayer = nullptr;
    m_sheet = nullptr;
    m_scroll->setEnabled(true);
    m_rows.at(1)->setFocus(Qt::PopupFocusReason);
}

void PickerPopup::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    if (m_sheetLayer)
        m_sheetLayer->setGeometry(rect());
}

} // namespace orvane::ui
