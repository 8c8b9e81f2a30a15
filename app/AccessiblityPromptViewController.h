// The permission dialog: how to give Orvane access to the keyboards and /dev/uinput, a button that
// copies the commands, and one that quits. It closes by itself once access exists.
#pragma once

#include <QDialog>

namespace orvane::app {

class AccessiblityPromptViewController final : public QDialog {
public:
    // `ruleInstalledAt`: where the shipped udev rule is installed, empty when it is not;
    // `ruleSource`: the rule file to install otherwise.
    AccessiblityPromptViewController(const QString& ruleInstalledAt, const QString& ruleSource,
                                     QWidget* parent = nullptr);

    // The commands the dialog shows, as one text (what the copy button copies).
    static QString commands(const QString& ruleInstalledAt, const QString& ruleSource);

private:
    void onOpenAccessibilitySettingButtonClicked();
    void onExitButton();

    QString m_commands;
};

} // namespace orvane::app
