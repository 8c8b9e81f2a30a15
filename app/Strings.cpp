// SPDX-License-Identifier: GPL-3.0-or-later
#include "Strings.h"

#include "model/BundleInfo.h"

#include <QCoreApplication>

#include <array>

namespace orvane::app {

namespace {

// A text and its key, marked for lupdate as translate() looks them up: context "Orvane", the
// English text as the source, the key as the disambiguation that tells equal texts apart.
struct Entry {
    const char* source;
    const char* key;
};

constexpr std::array<Entry, 8> table{{
    //: Tray menu entry; opens the preferences window.
    QT_TRANSLATE_NOOP3("Orvane", "Preferences...", "Menu.Preferences"),
    //: Tray menu entry; opens the About window.
    QT_TRANSLATE_NOOP3("Orvane", "About", "Menu.About"),
    //: Tray menu entry; writes an e-mail to the makers.
    QT_TRANSLATE_NOOP3("Orvane", "Feedback (Email)", "Menu.Feedback"),
    //: Tray menu entry; %@ is the application's name.
    QT_TRANSLATE_NOOP3("Orvane", "Quit %@", "Menu.Quit"),
    //: Button below the preferences; %@ is the application's name; & marks the mnemonic.
    QT_TRANSLATE_NOOP3("Orvane", "&Quit %@", "Button.Quit"),
    //: Title of the preferences window; %@ is the application's name.
    QT_TRANSLATE_NOOP3("Orvane", "%@ Preferences", "Window.Preferences"),
    //: Title of the About window; %@ is the application's name.
    QT_TRANSLATE_NOOP3("Orvane", "About %@", "Window.About"),
    //: Title of the first-run guide's window; %@ is the application's name.
    QT_TRANSLATE_NOOP3("Orvane", "%@ Guide", "Window.Guide"),
}};

} // namespace

QString Strings::text(std::string_view key)
{
    for (const Entry& entry : table)
        if (key == entry.key)
            return QCoreApplication::translate("Orvane", entry.source, entry.key);
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

QString Strings::withAppName(std::string_view key)
{
    return text(key).replace(QStringLiteral("%@"), QString::fromStdString(model::appName()));
}

} // namespace orvane::app
