// SPDX-License-Identifier: GPL-3.0-or-later
#include "GuideView.h"

#include "KeyMappingView.h"
#include "KeyView.h"
#include "MappingPresets.h"
#include "ModeSelector.h"
#include "SymbolView.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane::ui {
namespace {

QWidget* tileView(QWidget* picture, const QString& label)
{
    auto* view = new QWidget;
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addStretch();
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    auto* text = new QLabel(label);
    text->setAlignment(Qt::AlignHCenter);
    layout->addWidget(text, 0, Qt::AlignHCenter);
    layout->addStretch();
    return view;
}

} // namespace

GuideView::GuideView(model::ObservablePreferences& preferences, const ViewServices& services,
                     QWidget* parent)
    : QWidget(parent), m_preferences(preferences), m_services(services)
{
    setObjectName(QStringLiteral("GuideView"));

    auto* question = new QLabel(tr("Which would you like to use function keys for?"));
    question->setObjectName(QStringLiteral("question"));
    QFont title = question->font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    question->setFont(title);
    question->setContentsMargins(0, 12, 0, 0);

    // The symbols are 40 points, framed 40 by 40 and padded 4 on every side.
    m_modes = new ModeSelector({
        {tileView(new SymbolView("macwindow.on.rectangle", 40, 48), tr("Apps")),
         [this] { applyAppsPreset(); }},
        {tileView(new KeyView(model::CustomKey::f1, false, true), tr("F1, F2, etc.")),
         [this] { applyFunctionKeyPreset(); }},
        {tileView(new SymbolView("command.square", 40, 48), tr("Hotkeys")),
         [this] { applyHotkeyPreset(); }},
    });
    m_modes->setContentsMargins(0, 0, 0, 16);

    m_table = new KeyMappingView(preferences, services);

    m_finish = new QPushButton(tr("&Finish"));
    m_finish->setObjectName(QStringLiteral("finish"));
    m_finish->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_finish);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question, 0, Qt::AlignLeft);
    layout->addWidget(m_modes);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);

    connect(m_finish, &QPushButton::clicked, this, &GuideView::finished);
}

void GuideView::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        m_finish->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void GuideView::applyAppsPreset()
{
    // The favourites are read again: they may have changed since the default was built.
    const auto paths = m_services.favoriteApps.dockAppPaths();
    auto& mapping = m_preferences.instance().keyMapping;
    mapping.set(appsPreset(mapping.defaultValue(), paths));
}

void GuideView::applyFunctionKeyPreset()
{
    auto& mapping = m_preferences.instance().keyMapping;
    mapping.set(functionKeyPreset(mapping.defaultValue()));
}

void GuideView::applyHotkeyPreset()
{
    auto& mapping = m_preferences.instance().keyMapping;
    mapping.set(hotkeyPreset(mapping.defaultValue(), desktopFamily(m_services.desktop)));
}

} // namespace orvane::ui
