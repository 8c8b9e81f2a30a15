// SPDX-License-Identifier: GPL-3.0-or-later
#include "CustomKey.h"

#include <array>

namespace orvane::model {

namespace {
constexpr std::array<std::string_view, customKeyCount> caseNames{
    "f1",
    "f2",
    "f3",
    "f4",
    "f5",
    "f6",
    "f7",
    "f8",
    "f9",
    "f10",
    "f11",
    "f12",
    "f13",
    "f14",
    "f15",
    "f16",
    "f17",
    "f18",
    "f19",
    "f20",
    "brightnessUp",
    "brightnessDown",
    "soundUp",
    "soundDown",
    "soundMute",
    "illuminationUp",
    "illuminationDown",
    "illuminationToggle",
    "missionControl",
    "spotlight",
    "dictation",
    "focus",
    "launchpad",
    "play",
    "next",
    "previous",
    "fast",
    "rewind",
};
} // namespace

std::string_view caseName(CustomKey key) noexcept
{
    return caseNames[static_cast<std::size_t>(key)];
}

std::optional<CustomKey> customKeyNamed(std::string_view name) noexcept
{
    for (std::size_t i = 0; i < caseNames.size(); ++i) {
        if (caseNames[i] == name)
            return static_cast<CustomKey>(i);
    }
    return std::nullopt;
}

} // namespace orvane::model
