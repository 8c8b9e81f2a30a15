// Where the Preferences and About windows were left, kept in a small INI file in Orvane's
// configuration folder, so that they come back there in this run and the next.
#pragma once

#include <QString>

class QWidget;

namespace orvane::app {

class WindowFrames {
public:
    // `file`: for example $XDG_CONFIG_HOME/orvane/windows.ini.
    explicit WindowFrames(QString file);

    // Applies the frame saved under `name`, if any. Wayland does not let a program place its
    // windows, so there only the size comes back.
    void restore(QWidget& window, const QString& name) const;
    void save(const QWidget& window, const QString& name);

    // Centres the window on its screen, then applies the saved frame; saves it when it closes.
    void track(QWidget& window, const QString& name);

private:
    QString m_file;
};

} // namespace orvane::app
