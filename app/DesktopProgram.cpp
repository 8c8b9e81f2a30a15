// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopProgram.h"

#include "AccessiblityPromptViewController.h"
#include "AppDelegate.h"
#include "AppIcons.h"
#include "AppLog.h"
#include "QtDialogs.h"
#include "SettingsWatcher.h"
#include "SingleInstance.h"
#include "Translations.h"
#include "TrayHostWatcher.h"
#include "WindowFrames.h"

#include "model/BundleInfo.h"
#include "platform/linux/UniqueFd.h"
#include "platform/linux/XdgPaths.h"
#include "platform/linux/desktop/AutostartLoginItems.h"
#include "platform/linux/desktop/DesktopFavorites.h"
#include "platform/linux/desktop/GioApplications.h"
#include "platform/linux/desktop/SettingsFile.h"
#include "platform/linux/system/LinuxSystem.h"
#include "ui/GuideView.h"
#include "ui/PreferencesView.h"
#include "ui/ViewServices.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <sys/signalfd.h>
#include <unistd.h>

namespace orvane::app {

namespace {

bool hasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return true;
    }
    return false;
}

// The session starts Orvane at login through its autostart entry: GNOME's session manager tells
// the program so; the entry may also pass --login.
bool isLoginStart(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--login")
            return true;
    const char* autostartId = std::getenv("DESKTOP_AUTOSTART_ID");
    return autostartId != nullptr && *autostartId != '\0';
}

QString ruleInstalledAt()
{
    QString path = QStringLiteral(ORVANE_UDEV_RULES_DIR "/70-orvane.rules");
    if (QFileInfo::exists(path))
        return path;
    const QString local = QStringLiteral("/etc/udev/rules.d/70-orvane.rules");
    return QFileInfo::exists(local) ? local : QString();
}

// --version, and no screen: the exit code when the program ends before it starts.
std::optional<int> endsBeforeStart(int argc, char** argv)
{
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        const auto& info = model::mainBundleInfo();
        std::cout << model::appName() << ' '
                  << model::infoString(info, model::infoKey::shortVersion) << " ("
                  << model::infoString(info, model::infoKey::version) << ")\n";
        return 0;
    }
    if (!hasDisplay()) {
        std::cerr << "orvane: there is no graphical session here (neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set).\nWithout a screen, 'orvanectl run' remaps the "
                     "keys and 'orvanectl doctor' checks the access it needs.\n";
        return 1;
    }
    return std::nullopt;
}

// SIGTERM (log-out), SIGINT and SIGHUP end Orvane through its event loop, so that the input
// thread releases the keyboards the orderly way. Blocked before any thread starts, so that every
// thread inherits the mask and only the signal descriptor sees them.
platform::UniqueFd blockEndingSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&signals, signal);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return platform::UniqueFd(::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK));
}

void nameApplication()
{
    QApplication::setApplicationName(QStringLiteral("orvane"));
    // What titles and alerts name: the product, not the command.
    QApplication::setApplicationDisplayName(QString::fromStdString(model::appName()));
    QApplication::setDesktopFileName(QString::fromLatin1(platform::LinuxSystem::appId()));
    QApplication::setQuitOnLastWindowClosed(false); // Orvane lives on without windows
    // Outside a desktop session Qt knows no icon theme; application icons then come from Adwaita,
    // which Debian's desktops install.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    QApplication::setWindowIcon(appIcon());
}

// The exit code when another Orvane already runs (it was told of this start).
std::optional<int> claimInstance(SingleInstance& instance, bool startedAtLogin, engine::Log& log)
{
    switch (instance.claim()) {
    case SingleInstance::Role::first:
        break;
    case SingleInstance::Role::second:
        if (instance.notifyFirst(startedAtLogin, std::chrono::seconds(5)))
            return 0;
        std::cerr << "orvane: Orvane is already running but does not answer at "
                  << instance.socketPath().toStdString() << '\n';
        return 1;
    case SingleInstance::Role::failed:
        log.write(engine::Log::Level::error, "App",
                  "cannot tell whether Orvane already runs (" +
                      instance.socketPath().toStdString() + "); going on");
        break;
    }
    return std::nullopt;
}

ui::ViewServices viewServices(platform::LinuxSystem& system,
                              model::LaunchAtLoginObservable& launchAtLogin)
{
    return {
        .launchAtLogin = launchAtLogin,
        .favoriteApps = system.favorites(),
        .installedApps = system.installedApps(),
        .keyboardLayout = system.keyboardLayout(),
        .topRowKeys = system.topRow(),
        .hasFnKey = &platform::LinuxSystem::anyKeyboardReportsFn,
        .desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toStdString(),
    };
}

// Everything the shell is made of, and the shell, for one run.
int runShell(platform::LinuxSystem& system, SingleInstance& instance, AppLog& log,
             KeyboardSide keyboard)
{
    platform::SettingsFile& store = system.settings();
    model::ObservablePreferences preferences(store, system.defaultKeyMapping());
    model::LaunchAtLoginObservable launchAtLogin(system.loginItems());
    const ui::ViewServices services = viewServices(system, launchAtLogin);

    StdoutConsole console;
    QtDialogs dialogs;
    WindowFrames frames(
        QString::fromStdString((platform::configHome() / "orvane" / "windows.ini").string()));
    TrayHostWatcher trayHost({});
    const QString ruleSource = QStringLiteral(ORVANE_UDEV_RULE_SOURCE);
    AppDelegate delegate({
        *keyboard.monitor,
        preferences,
        launchAtLogin,
        *keyboard.access,
        [ruleSource] {
            return new AccessiblityPromptViewController(ruleInstalledAt(), ruleSource);
        },
        console,
        log,
        dialogs,
        frames,
        [&preferences, &services](QWidget* parent) {
            return new ui::PreferencesView(preferences, services, parent);
        },
        [&preferences, &services](QWidget* parent) {
            auto* guide = new ui::GuideView(preferences, services, parent);
            QObject::connect(guide, &ui::GuideView::finished, guide,
                             [guide] { guide->window()->close(); });
            return guide;
        },
        [](int exitCode) { QCoreApplication::exit(exitCode); },
        QCoreApplication::applicationFilePath(),
        &trayHost,
    });
    SettingsWatcher settingsWatcher(
        preferences.instance(), store.file(), [&store] { return store.isWhole(); },
        store.outsideChangeCheck(), log);
    QObject::connect(&instance, &SingleInstance::reopened, &delegate, [&delegate](bool isLogin) {
        delegate.applicationShouldHandleReopen(isLogin);
    });

    // Start-up runs once the event loop does, so that quitting from the prompt ends it.
    QTimer launching;
    launching.setSingleShot(true);
    QObject::connect(&launching, &QTimer::timeout, &delegate, [&delegate, &trayHost] {
        if (delegate.applicationDidFinishLaunching())
            trayHost.start(); // no icon for a program that is about to end
    });
    launching.start(0);
    return QApplication::exec();
}

} // namespace

int runDesktopProgram(int argc, char** argv, const KeyboardSideMaker& makeKeyboardSide)
{
    if (const auto exitCode = endsBeforeStart(argc, argv))
        return *exitCode;
    const bool startedAtLogin = isLoginStart(argc, argv);
    const platform::UniqueFd signalFd = blockEndingSignals();
    QApplication application(argc, argv);
    QSocketNotifier signalNotifier(signalFd.get(), QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, [&signalFd] {
        signalfd_siginfo info{};
        [[maybe_unused]] const auto got = ::read(signalFd.get(), &info, sizeof info);
        QCoreApplication::exit(0);
    });
    nameApplication();
    const Translations translations(QLocale::system()); // for the whole run

    AppLog log;
    SingleInstance instance(SingleInstance::defaultFolder());
    if (const auto exitCode = claimInstance(instance, startedAtLogin, log))
        return *exitCode;

    // Made before the keyboard side, so that the workspace its monitor uses outlives it.
    platform::LinuxSystem system(QCoreApplication::applicationFilePath().toStdString());
    return runShell(system, instance, log, makeKeyboardSide(system, log));
}

} // namespace orvane::app
