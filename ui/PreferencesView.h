// SPDX-License-Identifier: GPL-3.0-or-later
// The preferences window's content: launch at login, the menu bar icon, the long-press delay and
// the key mapping table. It keeps no state: every control shows the settings (and the login
// items) as they change and writes its edits straight through; the delay slider writes once a
// drag ends.
//
// Construction: `new PreferencesView(observablePreferences, services)` (see ViewServices.h); the
// window that holds it sets its own title and size.
#pragma once

#include "ViewServices.h"

#include "model/Preferences.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QSlider;

namespace orvane::ui {

class KeyMappingView;

class PreferencesView : public QWidget {
    Q_OBJECT
public:
    // The slider's range in seconds.
    static constexpr double minimumDelay = 0.05;
    static constexpr double maximumDelay = 2.0;

    PreferencesView(model::ObservablePreferences& preferences, const ViewServices& services,
                    QWidget* parent = nullptr);

    // "%.1f s" of a delay in seconds.
    static QString delayText(double seconds);

    // Reads every shown value afresh: the settings and the login item.
    void refresh();
    // Asks whether an attached keyboard reports fn, and shows the note when none does; done each
    // time the view shows.
    void lookForFnKey();

    QCheckBox* launchAtLoginSwitch() const { return m_launchAtLogin; }
    QCheckBox* menuBarIconSwitch() const { return m_menuBarIcon; }
    QSlider* delaySlider() const { return m_delay; }
    QLabel* delayLabel() const { return m_delayText; }
    QLabel* fnNote() const { return m_fnNote; }
    KeyMappingView* table() const { return m_table; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showLoginItem();
    void showMenuBarIcon(bool isShown);
    void showDelay(double seconds);

    model::ObservablePreferences& m_preferences;
    ViewServices m_services;
    QCheckBox* m_launchAtLogin;
    QCheckBox* m_menuBarIcon;
    QSlider* m_delay;
    QLabel* m_delayText;
    QLabel* m_fnNote;
    bool m_hasShown = false; // the first show follows the look made on construction
    KeyMappingView* m_table;
    bool m_isDelayDragged = false; // the handle moved since it was pressed
    model::Subject<bool>::Subscription m_iconChanges;
    model::Subject<double>::Subscription m_delayChanges;
    model::Subject<bool>::Subscription m_loginChanges;
};

} // namespace orvane::ui
