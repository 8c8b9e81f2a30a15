// SPDX-License-Identifier: GPL-3.0-or-later
// The permission dialog: how to give Orvane access to the keyboards and /dev/uinput, for the way
// this Orvane was installed, a button that copies the commands (and says so), and one that quits.
// It closes by itself once access exists; closing it otherwise quits Orvane, and it says so.
#pragma once

#include <QDialog>

class QLabel;

namespace orvane::app {

class AccessiblityPromptViewController final : public QDialog {
public:
    // `ruleInstalledAt`: where the shipped udev rule is installed, empty when it is not (a build
    // tree); `ruleSource`: the rule file to install otherwise.
    AccessiblityPromptViewController(const QString& ruleInstalledAt, const QString& ruleSource,
                                     QWidget* parent = nullptr);

    // The commands the dialog shows, as one text (what the copy button copies).
    static QString commands(const QString& ruleInstalledAt, const QString& ruleSource);
    // `path` as one word for a POSIX shell.
    static QString shellQuoted(const QString& path);

private:
    void onOpenAccessibilitySettingButtonClicked();
    void onExitButton();

    QString m_commands;
    QLabel* m_copied;
};

} // namespace orvane::app
