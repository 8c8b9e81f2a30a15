// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyMappingColumnEditor.h"

#include <QMenu>

namespace orvane::ui {

KeyMappingColumnEditor::KeyMappingColumnEditor(model::ObservablePreferences& preferences,
                                               Column column, const ViewServices& services,
                                               QWidget* parent)
    : QToolButton(parent), m_preferences(preferences), m_column(column), m_services(services)
{
    setObjectName(QStringLiteral("KeyMappingColumnEditor"));
    setText(tr("Set all to..."));
    setMaximumWidth(100);
    setFocusPolicy(Qt::StrongFocus);
    setPopupMode(QToolButton::InstantPopup);
    // The menu arrow would crowd the title out of the 100 points the button may take.
    setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    auto* menu = new QMenu(this);
    menu->addAction(tr("Apps"), this, [this] { fillWithApps(); })->setObjectName("apps");
    menu->addAction(tr("Special keys"), this, [this] { fillWithSpecialKeys(); })
        ->setObjectName("specialKeys");
    menu->addAction(tr("F1, F2, etc."), this, [this] { fillWithFunctionKeys(); })
        ->setObjectName("functionKeys");
    setMenu(menu);
}

void KeyMappingColumnEditor::fillWithApps()
{
    const auto paths = m_services.favoriteApps.dockAppPaths();
    fillColumnWithApps(m_preferences.instance().keyMapping, m_column, paths);
}

void KeyMappingColumnEditor::fillWithSpecialKeys()
{
    fillColumnWithKeys(m_preferences.instance().keyMapping, m_column, m_services.topRowKeys);
}

void KeyMappingColumnEditor::fillWithFunctionKeys()
{
    fillColumnWithKeys(m_preferences.instance().keyMapping, m_column, model::functionKeys());
}

} // namespace orvane::ui
