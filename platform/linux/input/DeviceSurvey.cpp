// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceSurvey.h"

#include "MediaKeyTable.h"
#include "UinputKeyboard.h"
#include "platform/linux/KeyCodeTable.h"

#include "model/KeyEventNumbering.h"

#include <libevdev/libevdev.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace orvane::platform {

namespace {

bool hasKey(const libevdev* evdev, int code)
{
    return code >= 0 && libevdev_has_event_code(evdev, EV_KEY, static_cast<unsigned>(code)) != 0;
}

bool hasTopRowKey(const libevdev* evdev)
{
    for (int code = KEY_F1; code <= KEY_F10; ++code) {
        if (hasKey(evdev, code))
            return true;
    }
    if (hasKey(evdev, KEY_F11) || hasKey(evdev, KEY_F12))
        return true;
    for (std::uint16_t raw = 0; raw <= model::rawValue(model::lastSpecialKey); ++raw) {
        const auto key = model::specialKeyFromRaw(raw);
        if (const auto code = key ? evdevFromSpecialKey(*key) : std::nullopt;
            code && hasKey(evdev, *code))
            return true;
    }
    namespace vk = model::virtualKey;
    for (const std::uint16_t macCode :
         {vk::missionControl, vk::launchpad, vk::dictation, vk::spotlight, vk::focus}) {
        if (const auto code = evdevFromMac(macCode); code && hasKey(evdev, *code))
            return true;
    }
    return false;
}

unsigned nodeNumber(const std::string& path)
{
    const auto digits = path.find_last_not_of("0123456789");
    const std::string number = path.substr(digits + 1);
    return number.empty() ? 0U : static_cast<unsigned>(std::stoul(number));
}

} // namespace

bool isVirtualEventNode(const std::string& path)
{
    const std::string node = std::filesystem::path(path).filename();
    std::error_code error;
    const auto real = std::filesystem::canonical("/sys/class/input/" + node, error);
    return !error && real.string().find("/devices/virtual/") != std::string::npos;
}

DeviceTraits deviceTraits(const libevdev* evdev, const std::string& path)
{
    DeviceTraits traits;
    const char* name = libevdev_get_name(evdev);
    traits.name = name != nullptr ? name : "";
    traits.bus = static_cast<std::uint16_t>(libevdev_get_id_bustype(evdev));
    traits.vendor = static_cast<std::uint16_t>(libevdev_get_id_vendor(evdev));
    traits.product = static_cast<std::uint16_t>(libevdev_get_id_product(evdev));
    traits.isOrvaneOutput = isOrvaneOutput(traits.vendor, traits.product);
    traits.isVirtual = isVirtualEventNode(path);
    traits.hasTopRowKey = hasTopRowKey(evdev);
    traits.hasFnKey = hasKey(evdev, KEY_FN);
    traits.isPointer = libevdev_has_event_type(evdev, EV_REL) != 0 ||
                       libevdev_has_event_type(evdev, EV_ABS) != 0 || hasKey(evdev, BTN_LEFT) ||
                       hasKey(evdev, BTN_TOUCH);
    return traits;
}

GrabDecision decide(const DeviceTraits& traits, const GrabPolicy& policy) noexcept
{
    if (traits.isOrvaneOutput)
        return GrabDecision::orvaneOutput;
    if (!policy.onlyName.empty() && traits.name != policy.onlyName)
        return GrabDecision::notNamed;
    if (traits.isVirtual && !policy.includeVirtual)
        return GrabDecision::virtualDevice;
    if (!traits.hasTopRowKey)
        return GrabDecision::noTopRowKey;
    // Orvane's output is a keyboard only: a grabbed pointer would stop moving.
    if (traits.isPointer)
        return GrabDecision::pointer;
    return GrabDecision::grab;
}

std::string_view describe(GrabDecision decision) noexcept
{
    switch (decision) {
    case GrabDecision::grab:
        return "grab: it has F1-F12 or top-row keys";
    case GrabDecision::orvaneOutput:
        return "leave: Orvane's own output";
    case GrabDecision::notNamed:
        return "leave: not the device named by --device";
    case GrabDecision::virtualDevice:
        return "leave: a virtual device of another program; its events pass untouched";
    case GrabDecision::noTopRowKey:
        return "leave: no F1-F12 or top-row key";
    case GrabDecision::pointer:
        return "leave: it also moves a pointer, which Orvane's keyboard output cannot carry";
    }
    return "";
}

std::vector<std::string> eventNodes()
{
    std::vector<std::string> nodes;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/input", error)) {
        const std::string name = entry.path().filename();
        if (name.starts_with("event") && name.size() > 5)
            nodes.push_back(entry.path());
    }
    std::sort(nodes.begin(), nodes.end(), [](const std::string& a, const std::string& b) {
        return nodeNumber(a) < nodeNumber(b);
    });
    return nodes;
}

} // namespace orvane::platform
