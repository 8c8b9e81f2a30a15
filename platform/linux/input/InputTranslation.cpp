// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputTranslation.h"

#include "MediaKeyTable.h"
#include "platform/linux/KeyCodeTable.h"

#include "model/CustomKey.h"

#include <linux/input-event-codes.h>

#include <array>

namespace orvane::platform {

namespace {

namespace flag = engine::eventFlag;

struct ModifierKey {
    int evdev;
    std::uint64_t flag;
};

constexpr std::array<ModifierKey, 9> modifierKeys{{
    {KEY_LEFTSHIFT, flag::shift},
    {KEY_RIGHTSHIFT, flag::shift},
    {KEY_LEFTCTRL, flag::control},
    {KEY_RIGHTCTRL, flag::control},
    {KEY_LEFTALT, flag::option},
    {KEY_RIGHTALT, flag::option},
    {KEY_LEFTMETA, flag::command},
    {KEY_RIGHTMETA, flag::command},
    {KEY_FN, flag::secondaryFn},
}};

constexpr std::int32_t noCode = -1;

// Per evdev code: its virtual key code, or its special key type, looked up once per event in
// constant time rather than searched.
struct Lookup {
    std::array<std::int32_t, KEY_CNT> virtualCode{};
    std::array<std::int32_t, KEY_CNT> specialKey{};
};

const Lookup& lookup() noexcept
{
    static const Lookup table = [] {
        Lookup built;
        built.virtualCode.fill(noCode);
        built.specialKey.fill(noCode);
        for (const auto& pair : keyCodeTable()) {
            if (pair.evdev >= 0 && pair.evdev < KEY_CNT)
                built.virtualCode[static_cast<std::size_t>(pair.evdev)] = pair.mac;
        }
        for (std::uint16_t raw = 0; raw <= model::rawValue(model::lastSpecialKey); ++raw) {
            const auto key = model::specialKeyFromRaw(raw);
            const auto evdev = key ? evdevFromSpecialKey(*key) : std::nullopt;
            if (evdev && *evdev >= 0 && *evdev < KEY_CNT)
                built.specialKey[static_cast<std::size_t>(*evdev)] = raw;
        }
        return built;
    }();
    return table;
}

} // namespace

[[gnu::hot]] std::uint64_t modifierFlag(int evdevCode) noexcept
{
    for (const auto& key : modifierKeys) {
        if (key.evdev == evdevCode)
            return key.flag;
    }
    return 0;
}

[[gnu::hot]] bool isButton(int evdevCode) noexcept
{
    return (evdevCode >= BTN_MISC && evdevCode < KEY_OK) || evdevCode >= BTN_TRIGGER_HAPPY;
}

[[gnu::hot]] bool ModifierState::apply(int evdevCode, int value) noexcept
{
    if (value == 2)
        return false;
    for (std::size_t i = 0; i < modifierKeys.size(); ++i) {
        if (modifierKeys[i].evdev != evdevCode)
            continue;
        const std::uint64_t before = flags();
        const auto bit = static_cast<std::uint16_t>(1U << i);
        m_held = static_cast<std::uint16_t>(value != 0 ? (m_held | bit) : (m_held & ~bit));
        return flags() != before;
    }
    return false;
}

[[gnu::hot]] std::uint64_t ModifierState::flags() const noexcept
{
    std::uint64_t flags = 0;
    for (std::size_t i = 0; i < modifierKeys.size(); ++i) {
        if ((m_held & (1U << i)) != 0)
            flags |= modifierKeys[i].flag;
    }
    return flags;
}

[[gnu::hot]] engine::KeyEvent modifierEvent(int evdevCode, std::uint64_t flags) noexcept
{
    engine::KeyEvent event;
    event.type = engine::eventType::flagsChanged;
    event.flags = flags;
    const auto code = macFromEvdev(evdevCode);
    event.keyCode = code ? std::int64_t{*code} : evdevKeyCodeBase + evdevCode;
    return event;
}

[[gnu::hot]] std::optional<engine::KeyEvent> keyEventFromEvdev(int evdevCode, int value,
                                                               std::uint64_t flags) noexcept
{
    if (evdevCode < 0 || evdevCode >= KEY_CNT || value < 0 || value > 2 || isButton(evdevCode) ||
        modifierFlag(evdevCode) != 0)
        return std::nullopt;
    const auto index = static_cast<std::size_t>(evdevCode);
    engine::KeyEvent event;
    event.flags = flags;
    if (const std::int32_t special = lookup().specialKey[index]; special != noCode) {
        using namespace engine::keyState;
        event.type = engine::eventType::systemDefined;
        event.keyCode = evdevKeyCodeBase + evdevCode;
        event.data1 =
            engine::systemDefinedData1(static_cast<std::uint16_t>(special), value == 0   ? up
                                                                            : value == 2 ? repeat
                                                                                         : down);
        return event;
    }
    event.type = value == 0 ? engine::eventType::keyUp : engine::eventType::keyDown;
    event.autorepeat = value == 2 ? 1 : 0;
    const std::int32_t code = lookup().virtualCode[index];
    event.keyCode = code != noCode ? std::int64_t{code} : evdevKeyCodeBase + evdevCode;
    return event;
}

[[gnu::hot]] std::optional<EvdevKeyChange> evdevFromKeyEvent(const engine::KeyEvent& event) noexcept
{
    namespace type = engine::eventType;
    if (event.type == type::systemDefined) {
        // data1: key type in bits 16-23, state in bits 8-15 (0x0A down, 0x0B up), repeat bit 0.
        if (event.data1 < 0 || event.data1 > 0xFFFFFF)
            return std::nullopt;
        const auto key = model::specialKeyFromRaw(static_cast<std::uint16_t>(event.data1 >> 16));
        const auto evdev = key ? evdevFromSpecialKey(*key) : std::nullopt;
        using namespace engine::keyState;
        const std::int64_t state = event.data1 & stateBits;
        if (!evdev || (state != down && state != up))
            return std::nullopt;
        const int value = state == up ? 0 : (event.data1 & repeatBit) != 0 ? 2 : 1;
        return EvdevKeyChange{*evdev, value};
    }
    if (event.type != type::keyDown && event.type != type::keyUp)
        return std::nullopt;
    std::optional<int> evdev;
    if (event.keyCode >= 0 && event.keyCode <= 0xFFFF)
        evdev = evdevFromMac(static_cast<std::uint16_t>(event.keyCode));
    else if (event.keyCode >= evdevKeyCodeBase && event.keyCode < evdevKeyCodeBase + KEY_CNT)
        evdev = static_cast<int>(event.keyCode - evdevKeyCodeBase);
    if (!evdev)
        return std::nullopt;
    const int value = event.type == type::keyUp ? 0 : event.autorepeat != 0 ? 2 : 1;
    return EvdevKeyChange{*evdev, value};
}

} // namespace orvane::platform
