// orvane: the desktop program. Wires the real Linux parts into the shell and runs it.
#include "AccessiblityPromptViewController.h"
#include "AppDelegate.h"
#include "AppIcons.h"
#include "AppLog.h"
#include "InputBackendMonitor.h"
#include "LinuxAccessCheck.h"
#include "QtDialogs.h"
#include "SettingsWatcher.h"
#include "SingleInstance.h"
#include "StandInMonitor.h"
#include "Translations.h"
#include "TrayHostWatcher.h"
#include "WindowFrames.h"

#include "model/BundleInfo.h"
#include "model/DefaultKeyMapping.h"
#include "platform/linux/XdgPaths.h"
#include "platform/linux/desktop/AutostartLoginItems.h"
#include "platform/linux/desktop/DesktopFavorites.h"
#include "platform/linux/desktop/GioApplications.h"
#include "platform/linux/desktop/SettingsFile.h"
#include "platform/linux/desktop/XkbLayout.h"
#include "platform/linux/desktop/workspace/LinuxWorkspace.h"
#include "platform/linux/input/InputAccess.h"
#include "platform/linux/input/MachineTopRow.h"

#include "ui/GuideView.h"
#include "ui/PreferencesView.h"
#include "ui/ViewServices.h"

#include "platform/linux/UniqueFd.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

using namespace orvane;

// Whether a keyboard Orvane grabs reports the fn key; asked each time the preferences show.
// A layout that names nothing, for a machine without XKB data: special keys keep their names.
class NoLayout final : public engine::KeyboardLayout {
public:
    std::optional<std::string> translate(std::uint16_t) const override { return std::nullopt; }
};

bool anyKeyboardReportsFn()
{
    return platform::surveyInputAccess().hasFnKey;
}

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

} // namespace

int main(int argc, char** argv)
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
    const bool startedAtLogin = isLoginStart(argc, argv);
    // SIGTERM (log-out), SIGINT and SIGHUP end Orvane through its event loop, so that the input
    // thread releases the keyboards the orderly way. Blocked before any thread starts, so that
    // every thread inherits the mask and only the signal descriptor sees them.
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&signals, signal);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    const platform::UniqueFd signalFd(::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK));
    QApplication application(argc, argv);
    QSocketNotifier signalNotifier(signalFd.get(), QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, [&signalFd] {
        signalfd_siginfo info{};
        [[maybe_unused]] const auto got = ::read(signalFd.get(), &info, sizeof info);
        QCoreApplication::exit(0);
    });
    QApplication::setApplicationName(QStringLiteral("orvane"));
    // What titles and alerts name: the product, not the command.
    QApplication::setApplicationDisplayName(QString::fromStdString(model::appName()));
    const app::Translations translations(QLocale::system());
    QApplication::setDesktopFileName(QStringLiteral(ORVANE_APP_ID));
    QApplication::setQuitOnLastWindowClosed(false); // Orvane lives on without windows
    // Outside a desktop session Qt knows no icon theme; application icons then come from Adwaita,
    // which Debian's desktops install.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    QApplication::setWindowIcon(app::appIcon());

    app::AppLog log;
    app::SingleInstance instance(app::SingleInstance::defaultFolder());
    switch (instance.claim()) {
    case app::SingleInstance::Role::first:
        break;
    case app::SingleInstance::Role::second:
        if (instance.notifyFirst(startedAtLogin, std::chrono::seconds(5)))
            return 0;
        std::cerr << "orvane: Orvane is already running but does not answer at "
                  << instance.socketPath().toStdString() << '\n';
        return 1;
    case app::SingleInstance::Role::failed:
        log.write(engine::Log::Level::error, "App",
                  "cannot tell whether Orvane already runs (" +
                      instance.socketPath().toStdString() + "); going on");
        break;
    }

    const model::TopRow topRow = platform::machineTopRow();
    platform::SettingsFile store(platform::SettingsFile::defaultLocation());
    const platform::DesktopFavorites favorites;
    model::ObservablePreferences preferences(
        store, model::defaultKeyMapping(topRow, favorites.dockAppPaths()));
    platform::AutostartLoginItems loginItems(ORVANE_APP_ID, ORVANE_EXECUTABLE);
    model::LaunchAtLoginObservable launchAtLogin(loginItems);

    // ORVANE_TEST_ACCESS_FILE is for tests and screenshot runs only: access is assumed while
    // that file exists, and no keyboard is touched.
    const QString accessFile = qEnvironmentVariable("ORVANE_TEST_ACCESS_FILE");
    std::unique_ptr<app::AccessCheck> access;
    std::unique_ptr<app::KeyboardMonitorControl> monitor;
    platform::LinuxWorkspace workspace(log);
    if (accessFile.isEmpty()) {
        access = std::make_unique<app::LinuxAccessCheck>();
        monitor = std::make_unique<app::InputBackendMonitor>(
            workspace, log, topRow, [&log](app::InputBackendMonitor::StopReason reason) {
                const bool isPanic = reason == app::InputBackendMonitor::StopReason::panicChord;
                log.write(engine::Log::Level::error, "KeyboardMonitor",
                          isPanic ? "the panic chord released the keyboards; Orvane ends"
                                  : "the keyboards were lost; Orvane ends");
                QCoreApplication::exit(isPanic ? 0 : 1);
            });
    } else {
        access = std::make_unique<app::FileAccessCheck>(accessFile);
        monitor = std::make_unique<app::StandInMonitor>(log);
    }

    const platform::GioApplications installedApps;
    const std::unique_ptr<platform::XkbLayout> xkbLayout = platform::XkbLayout::current();
    const NoLayout noLayout;
    const engine::KeyboardLayout& keyboardLayout =
        xkbLayout ? static_cast<const engine::KeyboardLayout&>(*xkbLayout) : noLayout;
    const ui::ViewServices services{
        .launchAtLogin = launchAtLogin,
        .favoriteApps = favorites,
        .installedApps = installedApps,
        .keyboardLayout = keyboardLayout,
        .topRowKeys = topRow,
        .hasFnKey = anyKeyboardReportsFn,
        .desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toStdString(),
    };

    app::StdoutConsole console;
    app::QtDialogs dialogs;
    app::WindowFrames frames(
        QString::fromStdString((platform::configHome() / "orvane" / "windows.ini").string()));
    app::TrayHostWatcher trayHost({});
    const QString ruleSource = QStringLiteral(ORVANE_UDEV_RULE_SOURCE);
    app::AppDelegate delegate({
        *monitor,
        preferences,
        launchAtLogin,
        *access,
        [ruleSource] {
            return new app::AccessiblityPromptViewController(ruleInstalledAt(), ruleSource);
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
    app::SettingsWatcher settingsWatcher(
        preferences.instance(), store.file(), [&store] { return store.isWhole(); }, log);
    QObject::connect(
        &instance, &app::SingleInstance::reopened, &delegate,
        [&delegate](bool isLogin) { delegate.applicationShouldHandleReopen(isLogin); });

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
