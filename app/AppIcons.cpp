#include "AppIcons.h"

namespace orvane::app {

QIcon appIcon()
{
    return QIcon::fromTheme(QStringLiteral("orvane"), QIcon(QStringLiteral(":/icons/orvane.svg")));
}

QIcon trayIcon()
{
    QIcon fallback(QStringLiteral(":/icons/orvane-symbolic.svg"));
    fallback.setIsMask(true);
    return QIcon::fromTheme(QStringLiteral("orvane-symbolic"), fallback);
}

} // namespace orvane::app
