// SPDX-License-Identifier: GPL-3.0-or-later
#include "CurrentDesktop.h"

#include <algorithm>

namespace orvane::model {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

bool currentDesktopIs(std::string_view xdgCurrentDesktop, std::string_view name)
{
    if (name.empty())
        return false;
    std::size_t start = 0;
    while (start <= xdgCurrentDesktop.size()) {
        const std::size_t end =
            std::min(xdgCurrentDesktop.find(':', start), xdgCurrentDesktop.size());
        std::string_view entry = xdgCurrentDesktop.substr(start, end - start);
        if (entry.size() > 2 && equalIgnoringCase(entry.substr(0, 2), "X-"))
            entry.remove_prefix(2);
        if (equalIgnoringCase(entry, name))
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace orvane::model
