// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing an application: a searchable list of the installed applications with their icons and
// names, and a file chooser for any other .desktop file or executable.
#pragma once

#include "model/InstalledApps.h"

#include <QDialog>
#include <QIcon>

#include <optional>
#include <string>

class QLineEdit;
class QListWidget;

namespace orvane::ui {

// The icon an application names: a file when it is an absolute path, else from the icon theme,
// else the generic executable icon.
QIcon applicationIcon(const std::string& icon);

class ApplicationChooser : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* applicationsFolder = "/usr/share/applications";

    ApplicationChooser(const model::InstalledApps& apps, QWidget* parent = nullptr);

    // Runs the dialog; the chosen file, or nothing when the user cancelled.
    static std::optional<std::string> choose(const model::InstalledApps& apps, QWidget* parent);

    std::optional<std::string> chosenPath() const { return m_chosen; }
    QLineEdit* searchField() const { return m_search; }
    QListWidget* list() const { return m_list; }
    // Hides the applications whose name does not contain `text` (case-insensitively).
    void filter(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void acceptCurrent();
    void chooseFile();

    QLineEdit* m_search;
    QListWidget* m_list;
    std::optional<std::string> m_chosen;
};

} // namespace orvane::ui
