// SPDX-License-Identifier: GPL-3.0-or-later
// Where the Preferences and About windows were left, kept in a small INI file in Orvane's
// configuration folder, so that they come back there in this run and the next. A frame is saved
// when its window closes and, for the windows still open, when Orvane quits.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

class QWidget;

namespace orvane::app {

class WindowFrames {
public:
    // `file`: for example $XDG_CONFIG_HOME/orvane/windows.ini.
    explicit WindowFrames(QString file);
    ~WindowFrames();
    WindowFrames(const WindowFrames&) = delete;
    WindowFrames& operator=(const WindowFrames&) = delete;

    // Applies the frame saved under `name` when it still fits on one of the screens; returns
    // whether it did. Wayland does not let a program place its windows, so there only the size
    // comes back.
    bool restore(QWidget& window, const QString& name) const;
    void save(const QWidget& window, const QString& name);
    // Saves the frames of the tracked windows that are open (Orvane quits with them open).
    void saveOpenWindows();

    // Centres the window on the screen the user works on, then applies the saved frame; saves it
    // when the window closes and when Orvane quits.
    void track(QWidget& window, const QString& name);

    // The available area of the screen the user works on: the one under the pointer, else the
    // primary one.
    static QRect workingScreenArea();
    // The largest window size that fits in `area` with a window manager's frame around it.
    static QSize roomFor(const QRect& area);
    static void centreOnWorkingScreen(QWidget& window);

private:
    QString m_file;
    std::unique_ptr<QObject> m_quitWatch; // ends the quit connection with this object
    std::vector<std::pair<QPointer<QWidget>, QString>> m_tracked;
};

} // namespace orvane::app
