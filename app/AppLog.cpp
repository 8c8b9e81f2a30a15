// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppLog.h"

#include <QLoggingCategory>

namespace orvane::app {

namespace {
Q_LOGGING_CATEGORY(orvaneLog, "orvane", QtInfoMsg)
}

void AppLog::write(Level level, std::string_view category, std::string_view text)
{
    const QString line = QStringLiteral("[%1] %2").arg(
        QString::fromUtf8(category.data(), static_cast<qsizetype>(category.size())),
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    switch (level) {
    case Level::debug:
        qCDebug(orvaneLog).noquote() << line;
        break;
    case Level::info:
        qCInfo(orvaneLog).noquote() << line;
        break;
    case Level::error:
        qCWarning(orvaneLog).noquote() << line;
        break;
    }
}

} // namespace orvane::app
