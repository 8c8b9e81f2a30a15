#include "Strings.h"

#include "model/BundleInfo.h"

#include <QCoreApplication>

#include <array>

namespace orvane::app {

namespace {

struct Entry {
    std::string_view key;
    const char* defaultText;
    const char* comment; // for translators; the key is what tells the texts apart
};

// Translations are looked up with the key as the disambiguation.
constexpr std::array<Entry, 7> table{{
    {stringKey::menuPreferences, QT_TRANSLATE_NOOP("Orvane", "Preferences..."), "Preferences..."},
    {stringKey::menuAbout, QT_TRANSLATE_NOOP("Orvane", "About"), "About"},
    {stringKey::menuFeedback, QT_TRANSLATE_NOOP("Orvane", "Feedback (Email)"), "Feedback (Email)"},
    {stringKey::menuQuit, QT_TRANSLATE_NOOP("Orvane", "Quit %@"), "Quit %@"},
    {stringKey::windowPreferences, QT_TRANSLATE_NOOP("Orvane", "%@ Preferences"),
     "Preferences window"},
    {stringKey::windowAbout, QT_TRANSLATE_NOOP("Orvane", "About %@"), "About window"},
    {stringKey::windowGuide, QT_TRANSLATE_NOOP("Orvane", "%@ Guide"), "Guide window"},
}};

} // namespace

QString Strings::text(std::string_view key)
{
    for (const Entry& entry : table) {
        if (entry.key == key) {
            const std::string disambiguation(key);
            return QCoreApplication::translate("Orvane", entry.defaultText, disambiguation.c_str());
        }
    }
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

QString Strings::withAppName(std::string_view key)
{
    return text(key).replace(QStringLiteral("%@"), QString::fromStdString(model::appName()));
}

} // namespace orvane::app
