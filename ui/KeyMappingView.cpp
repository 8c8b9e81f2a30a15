// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyMappingView.h"

#include "KeyMappingColumnEditor.h"
#include "KeyView.h"

#include "model/KeyProps.h"
#include "model/SettingCoding.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace orvane::ui {
namespace {

constexpr std::array<Column, 3> columns{Column::shortPress, Column::longPress, Column::fn};

QFrame* rule()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* heading(const QString& text)
{
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    label->setFont(font);
    return label;
}

int columnWidth(int index)
{
    return index == 0 ? KeyMappingView::keyColumnWidth : KeyMappingView::actionColumnWidth;
}

void fixColumns(QGridLayout* grid)
{
    grid->setHorizontalSpacing(0);
    for (int i = 0; i < 4; ++i)
        grid->setColumnMinimumWidth(i, columnWidth(i));
}

std::size_t shownRows(const model::KeyMapping& mapping)
{
    return std::min(mapping.size(), model::functionKeys().size());
}

} // namespace

KeyMappingView::KeyMappingView(model::ObservablePreferences& preferences,
                               const ViewServices& services, QWidget* parent)
    : QWidget(parent), m_preferences(preferences), m_services(services)
{
    setObjectName(QStringLiteral("KeyMappingView"));
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setMinimumHeight(400);

    // The header stays in place above the scrolling rows.
    auto* header = new QWidget;
    auto* headerGrid = new QGridLayout(header);
    headerGrid->setContentsMargins(0, 8, style()->pixelMetric(QStyle::PM_ScrollBarExtent), 0);
    fixColumns(headerGrid);
    headerGrid->addWidget(heading(tr("Key")), 0, 0, Qt::AlignCenter);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        auto* stack = new QWidget;
        auto* box = new QVBoxLayout(stack);
        box->setContentsMargins(0, 0, 0, 0);
        box->addWidget(heading(columnTitle(columns[i])), 0, Qt::AlignHCenter);
        m_editors[i] = new KeyMappingColumnEditor(preferences, columns[i], services);
        box->addWidget(m_editors[i], 0, Qt::AlignHCenter);
        headerGrid->addWidget(stack, 0, static_cast<int>(i) + 1);
    }
    headerGrid->addWidget(rule(), 1, 0, 1, 4);

    m_rowsArea = new QScrollArea;
    m_rowsArea->setObjectName(QStringLiteral("keyMappingRows"));
    m_rowsArea->setFrameShape(QFrame::NoFrame);
    m_rowsArea->setWidgetResizable(true);
    m_rowsArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_rowsArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(header);
    layout->addWidget(m_rowsArea, 1);

    m_rebuild = new QTimer(this);
    m_rebuild->setSingleShot(true);
    m_rebuild->setInterval(0);
    connect(m_rebuild, &QTimer::timeout, this,
            [this] { rebuildRows(shownRows(m_preferences.instance().keyMapping.get())); });
    rebuildRows(shownRows(preferences.instance().keyMapping.get()));
    // A change shows the mapping sent with it; one the store could not take is read back, so
    // that the table shows what is stored.
    m_changes = preferences.instance().keyMapping.publisher().subscribe(
        [this](const model::KeyMapping& mapping) {
            if (model::SettingCoding<model::KeyMapping>::encode(mapping))
                showMapping(mapping);
            else
                refresh();
        });
}

QString KeyMappingView::columnTitle(Column column)
{
    switch (column) {
    case Column::shortPress:
        return tr("Short Press");
    case Column::longPress:
        return tr("Long Press");
    case Column::fn:
        break;
    }
    return tr("Fn + Key");
}

LaunchTargetPicker* KeyMappingView::picker(int row, Column column) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    return m_pickers[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

KeyMappingColumnEditor* KeyMappingView::columnEditor(Column column) const
{
    return m_editors[static_cast<std::size_t>(column)];
}

void KeyMappingView::refresh()
{
    showMapping(m_preferences.instance().keyMapping.get());
}

void KeyMappingView::showMapping(const model::KeyMapping& mapping)
{
    const std::size_t count = shownRows(mapping);
    if (count != m_pickers.size()) {
        // Not now: the write that led here may come from a picker that a rebuild would delete.
        m_rebuild->start();
        return;
    }
    for (std::size_t row = 0; row < count; ++row)
        for (Column column : columns)
            m_pickers[row][static_cast<std::size_t>(column)]->showTarget(
                targetAt(mapping[row], column));
}

void KeyMappingView::rebuildRows(std::size_t count)
{
    m_pickers.clear();
    delete m_rows;
    m_rows = new QWidget;
    m_rows->setBackgroundRole(QPalette::Base);
    auto* grid = new QGridLayout(m_rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    fixColumns(grid);

    const auto& keys = model::functionKeys();
    for (std::size_t row = 0; row < count; ++row) {
        const int line = static_cast<int>(row) * 2;
        grid->addWidget(new KeyView(keys[row], false, true), line, 0, Qt::AlignCenter);
        std::array<LaunchTargetPicker*, 3> pickers{};
        for (Column column : columns) {
            TargetBinding binding{
                [this, row, column] {
                    const auto mapping = m_preferences.instance().keyMapping.get();
                    return row < mapping.size()
                               ? targetAt(mapping[row], column)
                               : model::LaunchTarget{model::KeyTarget{model::functionKeys()[row]}};
                },
                [this, row, column](const model::LaunchTarget& target) {
                    writeCell(row, column, target);
                }};
            auto* picker = new LaunchTargetPicker(std::move(binding), m_services);
            picker->setFixedWidth(actionColumnWidth);
            picker->setAccessibleDescription(
                tr("%1 key, %2", "the key of the row, the column: F1 key, Long Press")
                    .arg(keyName(keys[row]), columnTitle(column)));
            picker->setObjectName(
                QStringLiteral("picker-%1-%2").arg(row).arg(static_cast<int>(column)));
            pickers[static_cast<std::size_t>(column)] = picker;
            grid->addWidget(picker, line, static_cast<int>(column) + 1, Qt::AlignLeft);
        }
        m_pickers.push_back(pickers);
        grid->addWidget(rule(), line + 1, 0, 1, 4);
    }
    grid->setRowStretch(static_cast<int>(count) * 2, 1);
    m_rowsArea->setWidget(m_rows);

    // Tab walks the cells row by row: short, long, fn; then the next row.
    QWidget* previous = m_editors.back();
    for (const auto& pickers : m_pickers)
        for (LaunchTargetPicker* picker : pickers) {
            setTabOrder(previous, picker);
            previous = picker;
        }
}

void KeyMappingView::writeCell(std::size_t row, Column column, const model::LaunchTarget& target)
{
    // One write of the whole list; entries past the twelfth are kept as they were.
    auto mapping = m_preferences.instance().keyMapping.get();
    if (row >= mapping.size())
        return;
    targetAt(mapping[row], column) = target;
    m_preferences.instance().keyMapping.set(mapping);
}

} // namespace orvane::ui
