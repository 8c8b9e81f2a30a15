// SPDX-License-Identifier: GPL-3.0-or-later
// Catches what the shell hands to the desktop for mailto: addresses.
#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QUrl>

namespace orvane::test {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("mailto")); }
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }
};

} // namespace orvane::test
