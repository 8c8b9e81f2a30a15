#include "AccessiblityPromptViewController.h"

#include "AppIcons.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane::app {

QString AccessiblityPromptViewController::commands(const QString& ruleInstalledAt,
                                                   const QString& ruleSource)
{
    QString text;
    if (ruleInstalledAt.isEmpty())
        text += QStringLiteral("sudo install -m 644 %1 /etc/udev/rules.d/\n").arg(ruleSource);
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
    setWindowTitle(QStringLiteral("Orvane needs access to the keyboards"));
    setWindowIcon(appIcon());

    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(
        QStringLiteral("<b>Orvane needs access to the keyboards and to /dev/uinput</b>"), this);
    layout->addWidget(heading);

    const QString rule =
        ruleInstalledAt.isEmpty()
            ? QStringLiteral("Install the udev rule that comes with Orvane and apply it:")
            : QStringLiteral("The udev rule that comes with Orvane is installed (%1). Apply it:")
                  .arg(ruleInstalledAt.toHtmlEscaped());
    auto* text = new QLabel(
        QStringLiteral(
            "<p>To remap the top-row keys, Orvane reads the keyboards and types through a virtual "
            "keyboard of its own. Linux gives neither to ordinary programs until you allow it.</p>"
            "<p><b>Recommended.</b> %1</p><pre>%2</pre>"
            "<p>then log out and in again. The rule gives access to the person at this computer's "
            "own screen and keyboard only, while they are logged in there.</p>"
            "<p><b>Or</b> join the input group: <code>sudo usermod -aG input $USER</code>, then "
            "log out and in. Simpler, but broader: members of that group can read every keystroke "
            "of every keyboard at any time, also while someone else is logged in.</p>"
            "<p>This window closes by itself as soon as the access is there.</p>")
            .arg(rule, m_commands.toHtmlEscaped()),
        this);
    text->setObjectName(QStringLiteral("explanation"));
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setMinimumWidth(520);
    layout->addWidget(text);

    auto* buttons = new QHBoxLayout;
    auto* copy = new QPushButton(QStringLiteral("Copy Commands"), this);
    copy->setObjectName(QStringLiteral("openSettingsButton"));
    copy->setAutoDefault(false);
    auto* exit = new QPushButton(QStringLiteral("Quit Orvane"), this);
    exit->setObjectName(QStringLiteral("exitButton"));
    exit->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(copy);
    buttons->addWidget(exit);
    layout->addLayout(buttons);
    connect(copy, &QPushButton::clicked, this,
            &AccessiblityPromptViewController::onOpenAccessibilitySettingButtonClicked);
    connect(exit, &QPushButton::clicked, this, &AccessiblityPromptViewController::onExitButton);
}

// Linux has no settings page for this: the next step is a terminal, so the button hands over the
// commands to paste there. The dialog stays up.
void AccessiblityPromptViewController::onOpenAccessibilitySettingButtonClicked()
{
    QApplication::clipboard()->setText(m_commands);
}

void AccessiblityPromptViewController::onExitButton()
{
    reject();
}

} // namespace orvane::app
