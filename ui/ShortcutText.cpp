// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShortcutText.h"

#include <QStringList>

#include <array>
#include <utility>

namespace orvane::ui {

QString modifierNames(std::uint64_t modifiers)
{
    namespace m = model::modifier;
    static constexpr std::array<std::pair<std::uint64_t, const char*>, 5> names{{
        {m::control, "Ctrl"},
        {m::option, "Alt"},
        {m::shift, "Shift"},
        {m::command, "Super"},
        {m::function, "Fn"},
    }};
    QStringList words;
    for (const auto& [bit, word] : names)
        if ((modifiers & bit) != 0)
            words << QLatin1String(word);
    return words.join(QLatin1Char('+'));
}

QString shortcutText(const model::Shortcut& shortcut, const engine::KeyboardLayout& layout)
{
    const auto name = engine::keyName(shortcut.key.rawValue, layout);
    const QString key = name ? QString::fromStdString(*name) : QString(QChar(0xFFFD));
    const QString modifiers = modifierNames(shortcut.modifiers);
    return modifiers.isEmpty() ? key : modifiers + QLatin1Char('+') + key;
}

} // namespace orvane::ui
