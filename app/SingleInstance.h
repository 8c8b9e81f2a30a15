// SPDX-License-Identifier: GPL-3.0-or-later
// One Orvane per user session. A lock file decides who is first; the first listens on a local
// socket, and a later start tells it that the user opened Orvane again, then ends. Both live in
// $XDG_RUNTIME_DIR, which belongs to the user and is emptied at log-out.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

namespace orvane::app {

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // `folder`: where the lock and the socket live (see defaultFolder).
    explicit SingleInstance(QString folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // $XDG_RUNTIME_DIR when it is usable, else Qt's per-user runtime folder.
    static QString defaultFolder();

    enum class Role { first, second, failed };
    // Takes the lock and listens when first. A socket left by a killed instance is removed, which
    // is safe only while holding the lock.
    Role claim();

    // Second start: tells the first, retrying for up to `patience` (the first may hold the lock
    // but not listen yet). A start at login asks for no window. True when the first answered.
    bool notifyFirst(bool isLoginStart, std::chrono::milliseconds patience) const;

    QString socketPath() const;

Q_SIGNALS:
    void reopened(bool isLoginStart);

private:
    void onConnection();

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};

} // namespace orvane::app
