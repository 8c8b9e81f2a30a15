// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusBarController.h"

#include "AppIcons.h"
#include "ClosureMenuItem.h"
#include "ShellWindows.h"
#include "Strings.h"
#include "TrayHostWatcher.h"

#include "model/BundleInfo.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QUrl>

namespace orvane::app {

namespace {

// No mail program took the address: it is offered to copy into whatever the user writes with.
void showFeedbackAddress()
{
    static QPointer<QMessageBox> shown;
    if (shown == nullptr) {
        const QString address = QLatin1String(feedbackAddress);
        auto* box = new QMessageBox(
            QMessageBox::Information, QString::fromStdString(model::appName()),
            QCoreApplication::translate("Feedback", "No mail program answered. Please write to %1 "
                                                    "from the mail program or web mail you use.")
                .arg(address));
        box->setObjectName(QStringLiteral("feedbackAddress"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowIcon(appIcon());
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        QPushButton* copy = box->addButton(QCoreApplication::translate("Feedback", "&Copy Address"),
                                           QMessageBox::AcceptRole);
        copy->setObjectName(QStringLiteral("copyAddress"));
        QObject::connect(copy, &QPushButton::clicked, copy,
                         [address] { QGuiApplication::clipboard()->setText(address); });
        box->addButton(QMessageBox::Close);
        box->setDefaultButton(copy);
        shown = box;
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
}

} // namespace

StatusBarController::StatusBarController(Parts parts, QObject* parent)
    : QObject(parent), m_console(parts.console), m_log(parts.log), m_quit(parts.quit),
      m_prefWindow(
          [content = parts.preferencesContent, frames = &parts.frames, quit = parts.quit] {
              return makePreferencesWindow(content, *frames, [quit] { quit(0); });
          },
          parts.console),
      m_aboutWindow([frames = &parts.frames,
                     quit = parts.quit] { return makeAboutWindow(*frames, [quit] { quit(0); }); },
                    parts.console),
      m_menu(std::make_unique<QMenu>()), m_isVisible(parts.isVisible)
{
    buildMenu();
    if (parts.trayHost != nullptr) {
        connect(parts.trayHost, &TrayHostWatcher::hostReady, this,
                &StatusBarController::createTrayIcon);
        connect(parts.trayHost, &TrayHostWatcher::noHostYet, this,
                &StatusBarController::noticeNoTray);
    }
}

StatusBarController::~StatusBarController()
{
    delete m_tray;
}

void StatusBarController::buildMenu()
{
    m_menu->setObjectName(QStringLiteral("statusMenu"));
    const QPointer<StatusBarController> controller(this);
    m_menu->addAction(new ClosureMenuItem(
        Strings::text(stringKey::menuPreferences),
        [controller] {
            if (controller != nullptr)
                controller->showPreferences();
        },
        m_menu.get()));
    m_menu->addAction(new ClosureMenuItem(
        Strings::text(stringKey::menuAbout),
        [controller] {
            if (controller != nullptr)
                controller->m_aboutWindow.show();
        },
        m_menu.get()));
    m_menu->addAction(new ClosureMenuItem(
        Strings::text(stringKey::menuFeedback),
        [] {
            const QUrl address(QStringLiteral("mailto:") + QLatin1String(feedbackAddress));
            if (address.isValid() && !QDesktopServices::openUrl(address))
                showFeedbackAddress();
        },
        m_menu.get()));
    m_menu->addSeparator();
    m_menu->addAction(new ClosureMenuItem(
        Strings::withAppName(stringKey::menuQuit), [quit = m_quit] { quit(0); }, m_menu.get()));
}

void StatusBarController::showPreferences()
{
    m_console.line(std::string(line::showPreferences));
    m_prefWindow.show();
}

void StatusBarController::setVisible(bool isVisible)
{
    m_isVisible = isVisible;
    if (m_tray != nullptr)
        m_tray->setVisible(isVisible);
}

bool StatusBarController::hasTray() const
{
    return m_tray != nullptr && QSystemTrayIcon::isSystemTrayAvailable();
}

void StatusBarController::createTrayIcon()
{
    if (m_tray != nullptr)
        return;
    m_tray = new QSystemTrayIcon(trayIcon());
    m_tray->setToolTip(QString::fromStdString(model::appName()));
    m_tray->setContextMenu(m_menu.get());
    // Some hosts deliver only a left click; the XEmbed tray then opens the menu itself.
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger &&
                    QGuiApplication::platformName() == QStringLiteral("xcb"))
                    m_menu->popup(QCursor::pos());
            });
    m_tray->setVisible(m_isVisible);
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        noticeNoTray();
}

void StatusBarController::noticeNoTray()
{
    if (m_hasNoticedNoTray)
        return;
    m_hasNoticedNoTray = true;
    m_log.write(engine::Log::Level::info, "StatusBar",
                "no system tray to show Orvane's icon; the keys are remapped all the same. Start "
                "Orvane again to open its preferences.");
}

} // namespace orvane::app
