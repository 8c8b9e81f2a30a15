// SPDX-License-Identifier: GPL-3.0-or-later
#include "DefaultKeyMapping.h"

#include <algorithm>

namespace orvane::model {

KeyMapping defaultKeyMapping(const TopRow& topRow, std::span<const std::string> appPaths)
{
    const TopRow& functions = functionKeys();
    // Sized once and filled in place: growing the vector entry by entry makes GCC 12 warn,
    // wrongly, about an uninitialised string in its reallocation path.
    KeyMapping mapping(std::min(functions.size(), topRow.size()));
    for (std::size_t i = 0; i < mapping.size(); ++i) {
        mapping[i].shortPress = KeyTarget{topRow[i]};
        if (i < appPaths.size())
            mapping[i].longPress = AppTarget{appPaths[i]};
        else
            mapping[i].longPress = KeyTarget{functions[i]};
        mapping[i].fn = KeyTarget{functions[i]};
    }
    return mapping;
}

} // namespace orvane::model
