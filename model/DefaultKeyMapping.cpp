#include "DefaultKeyMapping.h"

#include <algorithm>

namespace orvane::model {

KeyMapping defaultKeyMapping(const TopRow& topRow, std::span<const std::string> appPaths)
{
    const TopRow& functions = functionKeys();
    KeyMapping mapping;
    mapping.reserve(functions.size());
    for (std::size_t i = 0; i < std::min(functions.size(), topRow.size()); ++i)
        mapping.push_back({KeyTarget{topRow[i]}, KeyTarget{functions[i]}, KeyTarget{functions[i]}});
    for (std::size_t i = 0; i < std::min(mapping.size(), appPaths.size()); ++i)
        mapping[i].longPress = AppTarget{appPaths[i]};
    return mapping;
}

} // namespace orvane::model
