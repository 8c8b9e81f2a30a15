// SPDX-License-Identifier: GPL-3.0-or-later
// orvane-ui-preview: opens one view of the configuration interface over the user's real settings
// file, favourites, installed applications and keyboard layout, without grabbing any keyboard.
// For working on the views and for their screenshots.
#include "model/Preferences.h"
#include "platform/linux/desktop/AutostartLoginItems.h"
#include "platform/linux/desktop/DesktopFavorites.h"
#include "platform/linux/desktop/GioApplications.h"
#include "platform/linux/desktop/SettingsFile.h"
#include "platform/linux/system/LinuxSystem.h"
#include "ui/ApplicationChooser.h"
#include "ui/GuideView.h"
#include "ui/KeyMappingView.h"
#include "ui/LaunchTargetPicker.h"
#include "ui/PreferencesView.h"

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringList>
#include <QTimer>

#include <cstdio>

using namespace orvane;

namespace {

int usage()
{
    std::fputs("usage: orvane-ui-preview preferences|guide|picker|shortcut|apps [--fn]\n"
               "  preferences  the preferences window\n"
               "  guide        the first-run guide\n"
               "  picker       the preferences with F2's long-press popup open\n"
               "  shortcut     the same popup with the shortcut editor over it\n"
               "  apps         the application chooser\n"
               "  --fn         act as if a keyboard reported the fn key (no note)\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments().mid(1);
    const bool hasFn = args.removeAll(QStringLiteral("--fn")) > 0;
    static const QStringList views{"preferences", "guide", "picker", "shortcut", "apps"};
    if (args.size() != 1 || !views.contains(args.front()))
        return usage();
    const QString view = args.front();
    // Without a desktop session Qt finds no icon theme; Adwaita is what Debian installs.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));

    // The real parts, as the desktop program builds them: launch at login writes the entry that
    // starts the installed program.
    platform::LinuxSystem system;
    const model::TopRow topRow = system.topRow();
    model::ObservablePreferences preferences(system.settings(), system.defaultKeyMapping());
    model::LaunchAtLoginObservable launchAtLogin(system.loginItems());
    const platform::GioApplications& installed = system.installedApps();
    const ui::ViewServices services{launchAtLogin,
                                    system.favorites(),
                                    installed,
                                    system.keyboardLayout(),
                                    topRow,
                                    [hasFn] { return hasFn; },
                                    qEnvironmentVariable("XDG_CURRENT_DESKTOP").toStdString()};

    if (view == QLatin1String("apps")) {
        ui::ApplicationChooser chooser(installed);
        chooser.show();
        return QApplication::exec();
    }

    QWidget* window = nullptr;
    ui::KeyMappingView* table = nullptr;
    if (view == QLatin1String("guide")) {
        auto* guide = new ui::GuideView(preferences, services);
        guide->setWindowTitle(QStringLiteral("Welcome to Orvane"));
        QObject::connect(guide, &ui::GuideView::finished, guide, &QWidget::close);
        window = guide;
        table = guide->table();
    } else {
        auto* prefs = new ui::PreferencesView(preferences, services);
        prefs->setWindowTitle(QStringLiteral("Orvane Preferences"));
        window = prefs;
        table = prefs->table();
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->resize(window->sizeHint().width(), 960);
    window->show();

    QTimer opening; // lives as long as the event loop runs
    opening.setSingleShot(true);
    if (view == QLatin1String("picker") || view == QLatin1String("shortcut")) {
        // The pointer rests in a corner, so that only the highlight set here shows.
        QCursor::setPos(window->screen()->geometry().bottomRight());
        QObject::connect(&opening, &QTimer::timeout, window, [table, view] {
            ui::LaunchTargetPicker* cell = table->picker(1, ui::Column::longPress);
            // The highlight as a pointer leaves it, on the F5 row; the popup opens there.
            cell->setHoverKey(model::KeyTarget{model::CustomKey::f5});
            cell->openPopup();
            if (view == QLatin1String("shortcut"))
                cell->openShortcutEditor();
        });
        opening.start(300);
    }
    return QApplication::exec();
}
