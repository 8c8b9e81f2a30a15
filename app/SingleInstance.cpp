// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <chrono>

namespace orvane::app {

namespace {

const QByteArray reopenMessage = QByteArrayLiteral("reopen\n");
const QByteArray loginMessage = QByteArrayLiteral("reopen login\n");
const QByteArray answer = QByteArrayLiteral("ok\n");
constexpr qint64 longestMessage = 64;

} // namespace

SingleInstance::SingleInstance(QString folder, QObject* parent)
    : QObject(parent), m_folder(std::move(folder))
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultFolder()
{
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return runtime;
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QString SingleInstance::socketPath() const
{
    return QDir(m_folder).filePath(QStringLiteral("orvane.socket"));
}

SingleInstance::Role SingleInstance::claim()
{
    m_lock = std::make_unique<QLockFile>(QDir(m_folder).filePath(QStringLiteral("orvane.lock")));
    // A running Orvane's lock never goes stale by age; only a dead owner makes it stale.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError)
            return Role::second;
        return Role::failed;
    }
    QLocalServer::removeServer(socketPath());
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(socketPath()))
        return Role::failed;
    return Role::first;
}

bool SingleInstance::notifyFirst(bool isLoginStart, std::chrono::milliseconds patience) const
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    do {
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(500)) {
            socket.write(isLoginStart ? loginMessage : reopenMessage);
            if (socket.waitForBytesWritten(1000) && socket.waitForReadyRead(2000))
                return socket.readLine(longestMessage) == answer;
            return false;
        }
        QThread::msleep(100);
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

void SingleInstance::onConnection()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > longestMessage)
                    socket->abort(); // not one of ours
                return;
            }
            const QByteArray message = socket->readLine(longestMessage);
            if (message != reopenMessage && message != loginMessage) {
                socket->abort();
                return;
            }
            socket->write(answer);
            socket->flush();
            Q_EMIT reopened(message == loginMessage);
        });
    }
}

} // namespace orvane::app
