// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessiblityPromptViewController.h"

#include "AppIcons.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace orvane::app {

QString AccessiblityPromptViewController::shellQuoted(const QString& path)
{
    QString quoted = path;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString AccessiblityPromptViewController::commands(const QString& ruleInstalledAt,
                                                   const QString& ruleSource)
{
    QString text;
    // A build tree has not installed its rule; a package or `cmake --install` has.
    if (ruleInstalledAt.isEmpty())
        text += QStringLiteral("sudo install -m 644 %1 /etc/udev/rules.d/\n")
                    .arg(shellQuoted(ruleSource));
    text += QStringLiteral("sudo modprobe uinput\n"
                           "sudo udevadm control --reload && sudo udevadm trigger\n");
    return text;
}

AccessiblityPromptViewController::AccessiblityPromptViewController(const QString& ruleInstalledAt,
                                                                   const QString& ruleSource,
                                                                   QWidget* parent)
    : QDialog(parent), m_commands(commands(ruleInstalledAt, ruleSource))
{
    setObjectName(QStringLiteral("accessibilityPrompt"));
    setWindowTitle(
        QCoreApplication::translate("AccessibilityPrompt", "Orvane needs access to the keyboards"));
    setWindowIcon(appIcon());

    auto* layout = new QVBoxLayout(this);
    auto* heading =
        new QLabel(QStringLiteral("<b>%1</b>")
                       .arg(QCoreApplication::translate(
                                "AccessibilityPrompt",
                                "Orvane needs access to the keyboards and to /dev/uinput")
                                .toHtmlEscaped()),
                   this);
    heading->setWordWrap(true);
    layout->addWidget(heading);

    const QString rule =
        ruleInstalledAt.isEmpty()
            ? QCoreApplication::translate(
                  "AccessibilityPrompt",
                  "This Orvane runs from the folder it was built in, so its udev rule is not "
                  "installed yet. Install it and apply it in a terminal:")
            : QCoreApplication::translate(
                  "AccessibilityPrompt",
                  "The udev rule that comes with Orvane is installed (%1). Apply it in a "
                  "terminal:")
                  .arg(ruleInstalledAt.toHtmlEscaped());
    const QString explanation =
        QStringLiteral("<p>%1</p><p><b>%2</b> %3</p><pre>%4</pre><p>%5</p><p>%6</p><p>%7</p>")
            .arg(QCoreApplication::translate(
                     "AccessibilityPrompt",
                     "To remap the top-row keys, Orvane reads the keyboards and types through a "
                     "virtual keyboard of its own. Linux gives neither to ordinary programs "
                     "until you allow it."),
                 QCoreApplication::translate("AccessibilityPrompt", "Recommended."), rule,
                 m_commands.toHtmlEscaped(),
                 QCoreApplication::translate(
                     "AccessibilityPrompt",
                     "Orvane goes on by itself as soon as the access is there. Should it not "
                     "within a few seconds, log out and in again, then start Orvane again "
                     "from your applications menu. The rule gives access to the person at "
                     "this computer's own screen and keyboard only, while they are logged in "
                     "there."),
                 QCoreApplication::translate(
                     "AccessibilityPrompt",
                     "<b>Or</b> join the input group: <code>sudo usermod -aG input "
                     "$USER</code>, log out and in, then start Orvane again. Simpler, but "
                     "broader: members of that group can read every keystroke of every "
                     "keyboard at any time, also while someone else is logged in."),
                 QCoreApplication::translate(
                     "AccessibilityPrompt",
                     "Closing this window quits Orvane without remapping any key."));
    auto* body = new QLabel(explanation, this);
    body->setObjectName(QStringLiteral("explanation"));
    body->setWordWrap(true);
    body->setTextInteractionFlags(Qt::TextSelectableByMouse);
    body->setMinimumWidth(520);
    layout->addWidget(body);

    auto* buttons = new QHBoxLayout;
    m_copied = new QLabel(QCoreApplication::translate(
                              "AccessibilityPrompt", "Copied. Paste the commands into a terminal."),
                          this);
    m_copied->setObjectName(QStringLiteral("copiedNote"));
    m_copied->setVisible(false);
    auto* copy =
        new QPushButton(QCoreApplication::translate("AccessibilityPrompt", "&Copy Commands"), this);
    copy->setObjectName(QStringLiteral("openSettingsButton"));
    copy->setAutoDefault(false);
    auto* exit =
        new QPushButton(QCoreApplication::translate("AccessibilityPrompt", "&Quit Orvane"), this);
    exit->setObjectName(QStringLiteral("exitButton"));
    exit->setAutoDefault(false);
    buttons->addWidget(m_copied, 1);
    buttons->addStretch(0);
    buttons->addWidget(copy);
    buttons->addWidget(exit);
    layout->addLayout(buttons);
    connect(copy, &QPushButton::clicked, this,
            &AccessiblityPromptViewController::onOpenAccessibilitySettingButtonClicked);
    connect(exit, &QPushButton::clicked, this, &AccessiblityPromptViewController::onExitButton);
    // Ctrl+Q quits here as from every Orvane window; Escape closes, which is quitting too.
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, &AccessiblityPromptViewController::onExitButton);
}

// Linux has no settings page for this: the next step is a terminal, so the button hands over the
// commands to paste there. The dialog stays up.
void AccessiblityPromptViewController::onOpenAccessibilitySettingButtonClicked()
{
    QApplication::clipboard()->setText(m_commands);
    m_copied->setVisible(true);
}

void AccessiblityPromptViewController::onExitButton()
{
    reject();
}

} // namespace orvane::app
