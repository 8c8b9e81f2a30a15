// SPDX-License-Identifier: GPL-3.0-or-later
#include "AddShortcutView.h"

#include "ShortcutPresets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane::ui {
namespace {

QCheckBox* modifierBox(const char* text, const char* name, bool checked)
{
    auto* box = new QCheckBox(QString::fromUtf8(text));
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    return box;
}

} // namespace

AddShortcutView::AddShortcutView(const engine::KeyboardLayout& layout,
                                 std::function<void(const model::LaunchTarget&)> write,
                                 std::function<void()> close, QWidget* parent)
    : QFrame(parent), m_write(std::move(write)), m_close(std::move(close))
{
    setObjectName(QStringLiteral("AddShortcutView"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setAutoFillBackground(true);
    setFixedWidth(300);

    const model::ShortcutTarget preset = editorStartingShortcut();
    const auto has = [&](std::uint64_t bit) { return (preset.shortcut.modifiers & bit) != 0; };
    namespace m = model::modifier;
    m_control = modifierBox("Ctrl", "modifierControl", has(m::control));
    m_option = modifierBox("Alt", "modifierOption", has(m::option));
    m_shift = modifierBox("Shift", "modifierShift", has(m::shift));
    m_command = modifierBox("Super", "modifierCommand", has(m::command));

    m_key = new QComboBox;
    m_key->setObjectName(QStringLiteral("selectedKey"));
    m_key->setFixedWidth(80);
    for (const auto& [code, name] : engine::selectableKeys(layout))
        m_key->addItem(QString::fromStdString(name), QVariant::fromValue<qlonglong>(code));
    m_key->setCurrentIndex(
        std::max(0, m_key->findData(QVariant::fromValue<qlonglong>(preset.shortcut.key.rawValue))));

    m_description = new QLineEdit(QString::fromStdString(preset.description));
    m_description->setObjectName(QStringLiteral("description"));

    auto* title = new QLabel(tr("Select a keyboard shortcut"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    auto* plus = new QLabel(QStringLiteral("+"));
    QFont big = bold;
    big.setPointSizeF(bold.pointSizeF() * 1.6);
    plus->setFont(big);
    plus->setContentsMargins(4, 4, 4, 4);

    auto* modifiers = new QVBoxLayout;
    for (QCheckBox* box : {m_control, m_option, m_shift, m_command})
        modifiers->addWidget(box);
    auto* combination = new QHBoxLayout;
    combination->addStretch();
    combination->addLayout(modifiers);
    combination->addWidget(plus);
    combination->addWidget(m_key);
    combination->addStretch();

    auto* form = new QFormLayout;
    form->addRow(tr("&Description:"), m_description);

    m_cancel = new QPushButton(tr("Cancel"));
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_add = new QPushButton(tr("&Add Shortcut"));
    m_add->setObjectName(QStringLiteral("addShortcut"));
    m_add->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    buttons->addWidget(m_add);

    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->addWidget(title, 0, Qt::AlignHCenter);
    layoutBox->addLayout(combination);
    layoutBox->addLayout(form);
    layoutBox->addLayout(buttons);

    connect(m_add, &QPushButton::clicked, this, [this] { add(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { cancel(); });
}

model::ShortcutTarget AddShortcutView::composed() const
{
    namespace m = model::modifier;
    std::uint64_t modifiers = 0;
    if (m_control->isChecked())
        modifiers |= m::control;
    if (m_option->isChecked())
        modifiers |= m::option;
    if (m_shift->isChecked())
        modifiers |= m::shift;
    if (m_command->isChecked())
        modifiers |= m::command;
    const std::int64_t key = m_key->currentData().toLongLong();
    return {model::Shortcut{{key}, modifiers}, m_description->text().toStdString()};
}

void AddShortcutView::add()
{
    m_write(composed());
    m_close();
}

void AddShortcutView::cancel()
{
    m_close();
}

void AddShortcutView::keyPressEvent(QKeyEvent* event)
{
    // Escape closes the sheet only, not the popup beneath it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        cancel();
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace orvane::ui
