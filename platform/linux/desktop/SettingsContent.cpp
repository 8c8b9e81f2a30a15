// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsContent.h"

#include <optional>

namespace orvane::platform {

namespace {

constexpr bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Finds where each entry's name and value begin and end, without judging them: each one is then
// parsed on its own, so that a bad byte inside one value spoils nothing around it. Iterative, so
// that no nesting in the file can run the stack out.
class EntryScanner {
public:
    explicit EntryScanner(std::string_view text) : m_text(text) {}

    bool consume(char c)
    {
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    bool atEnd()
    {
        skipSpace();
        return m_pos == m_text.size();
    }

    // A string with its quotes, or nothing when none starts here or it never ends.
    std::optional<std::string_view> string()
    {
        skipSpace();
        if (m_pos >= m_text.size() || m_text[m_pos] != '"')
            return std::nullopt;
        for (std::size_t i = m_pos + 1; i < m_text.size(); ++i) {
            if (m_text[i] == '\\')
                ++i;
            else if (m_text[i] == '"')
                return take(i + 1);
        }
        return std::nullopt;
    }

    // A string, an array or object up to its closing bracket, or a bare word (number, true, ...).
    std::optional<std::string_view> value()
    {
        skipSpace();
        if (m_pos >= m_text.size())
            return std::nullopt;
        const char first = m_text[m_pos];
        if (first == '"')
            return string();
        if (first == '[' || first == '{')
            return nested();
        std::size_t end = m_pos;
        while (end < m_text.size() && !isSpace(m_text[end]) && m_text[end] != ',' &&
               m_text[end] != '}')
            ++end;
        if (end == m_pos)
            return std::nullopt;
        return take(end);
    }

private:
    void skipSpace()
    {
        while (m_pos < m_text.size() && isSpace(m_text[m_pos]))
            ++m_pos;
    }

    std::string_view take(std::size_t end)
    {
        const auto token = m_text.substr(m_pos, end - m_pos);
        m_pos = end;
        return token;
    }

    std::optional<std::string_view> nested()
    {
        std::size_t depth = 0;
        bool inString = false;
        for (std::size_t i = m_pos; i < m_text.size(); ++i) {
            const char c = m_text[i];
            if (inString) {
                if (c == '\\')
                    ++i;
                else if (c == '"')
                    inString = false;
            } else if (c == '"') {
                inString = true;
            } else if (c == '[' || c == '{') {
                ++depth;
            } else if ((c == ']' || c == '}') && --depth == 0) {
                return take(i + 1);
            }
        }
        return std::nullopt;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace

SettingsContent readSettingsText(std::string_view text)
{
    SettingsContent content;
    EntryScanner in(text);
    if (in.atEnd())
        return content;       // an empty file holds nothing, and nothing worth keeping
    content.isDamaged = true; // until the closing brace is reached
    if (!in.consume('{'))
        return content;
    if (in.consume('}')) {
        content.isDamaged = !in.atEnd();
        return content;
    }
    bool hasBadEntry = false;
    for (;;) {
        const auto name = in.string();
        if (!name || !in.consume(':'))
            return content;
        const auto value = in.value();
        if (!value)
            return content;
        auto key = model::json::parse(*name);
        auto parsed = model::json::parse(*value);
        if (key && parsed && key.value().is_string())
            content.entries[key.value().get<std::string>()] = std::move(parsed).value();
        else
            hasBadEntry = true;
        if (in.consume(','))
            continue;
        if (in.consume('}')) {
            content.isDamaged = hasBadEntry || !in.atEnd();
            return content;
        }
        return content;
    }
}

} // namespace orvane::platform
