// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyboardRow.h"

#include <libevdev/libevdev.h>
#include <linux/input.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sys/ioctl.h>
#include <system_error>

namespace orvane::platform {

namespace {

// The usages of the keyboard page's F1-F12: the physical keys, whatever hid-apple or the
// keyboard's firmware makes them send.
constexpr std::uint32_t hidF1Usage = 0x7003a;

constexpr std::array<int, KeyboardRow::maxPositions> functionKeyCodes{
    KEY_F1, KEY_F2, KEY_F3, KEY_F4,  KEY_F5,  KEY_F6,
    KEY_F7, KEY_F8, KEY_F9, KEY_F10, KEY_F11, KEY_F12};

constexpr std::size_t maxPhysmapKeys = 24; // the vivaldi drivers' limit
constexpr std::size_t maxPhysmapBytes = 512;
constexpr int maxParentSteps = 4;

bool hasKey(const libevdev* evdev, int code)
{
    return libevdev_has_event_code(evdev, EV_KEY, static_cast<unsigned>(code)) != 0;
}

bool hasFunctionRow(const libevdev* evdev)
{
    return std::all_of(functionKeyCodes.begin(), functionKeyCodes.end(),
                       [evdev](int code) { return hasKey(evdev, code); });
}

// The buses HID keyboards come on; the PC's own keyboard controller and virtual devices are not
// among them.
bool isHidBus(int bus)
{
    return bus == BUS_USB || bus == BUS_BLUETOOTH || bus == BUS_I2C || bus == BUS_HOST ||
           bus == BUS_SPI;
}

std::optional<std::string> readSmall(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text(maxPhysmapBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > maxPhysmapBytes)
        return std::nullopt; // no physmap is that long
    return text;
}

int keyCodeOf(int fd, std::uint32_t scan)
{
    input_keymap_entry entry{};
    entry.len = sizeof scan;
    std::memcpy(entry.scancode, &scan, sizeof scan);
    if (::ioctl(fd, EVIOCGKEYCODE_V2, &entry) != 0 || entry.keycode == KEY_RESERVED)
        return -1;
    return static_cast<int>(entry.keycode);
}

} // namespace

KeyboardRow KeyboardRow::taughtRow(const std::array<int, 12>& codes)
{
    KeyboardRow row;
    row.m_source = Source::taught;
    row.m_codes.assign(codes.begin(), codes.end());
    return row;
}

KeyboardRow KeyboardRow::physmapRow(std::vector<std::uint32_t> scans, std::vector<int> codes)
{
    KeyboardRow row;
    row.m_source = Source::physmap;
    scans.resize(std::min(scans.size(), maxPositions));
    codes.resize(scans.size(), -1);
    row.m_scans = std::move(scans);
    row.m_codes = std::move(codes);
    return row;
}

KeyboardRow KeyboardRow::hidUsageRow()
{
    KeyboardRow row;
    row.m_source = Source::hidUsages;
    return row;
}

KeyboardRow KeyboardRow::functionKeyRow()
{
    KeyboardRow row;
    row.m_source = Source::functionKeys;
    return row;
}

[[gnu::hot]] std::int8_t KeyboardRow::place(std::optional<std::uint32_t> scan,
                                            int code) const noexcept
{
    const auto at = [](auto begin, auto end, auto value) -> std::int8_t {
        const auto found = std::find(begin, end, value);
        return found == end ? unplaced : static_cast<std::int8_t>(found - begin);
    };
    switch (m_source) {
    case Source::taught:
        return code > 0 ? at(m_codes.begin(), m_codes.end(), code) : unplaced;
    case Source::physmap:
        if (scan) {
            if (const std::int8_t position = at(m_scans.begin(), m_scans.end(), *scan);
                position != unplaced)
                return position;
        }
        return code > 0 ? at(m_codes.begin(), m_codes.end(), code) : unplaced;
    case Source::hidUsages:
        // A key without a scan code (a test device, a replayed state) is placed as before.
        if (!scan)
            return byKeyCode;
        return *scan - hidF1Usage < maxPositions ? static_cast<std::int8_t>(*scan - hidF1Usage)
                                                 : unplaced;
    case Source::functionKeys:
        return at(functionKeyCodes.begin(), functionKeyCodes.end(), code);
    case Source::machine:
        break;
    }
    return byKeyCode;
}

std::string_view describe(KeyboardRow::Source source) noexcept
{
    switch (source) {
    case KeyboardRow::Source::taught:
        return "taught (orvanectl toprow learn)";
    case KeyboardRow::Source::physmap:
        return "the driver's function_row_physmap";
    case KeyboardRow::Source::hidUsages:
        return "the HID usages of the keys F1-F12";
    case KeyboardRow::Source::functionKeys:
        return "F1-F12 (a keyboard without fn)";
    case KeyboardRow::Source::machine:
        break;
    }
    return "the machine's top row, by key code";
}

std::optional<std::vector<std::uint32_t>> parsePhysmap(std::string_view text)
{
    std::vector<std::uint32_t> scans;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t\n", at);
        if (start == std::string_view::npos)
            break;
        std::size_t end = text.find_first_of(" \t\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view token = text.substr(start, end - start);
        if (token.starts_with("0x") || token.starts_with("0X"))
            token.remove_prefix(2);
        std::uint32_t scan = 0;
        const auto [rest, error] =
            std::from_chars(token.data(), token.data() + token.size(), scan, 16);
        if (token.empty() || token.size() > 8 || error != std::errc{} ||
            rest != token.data() + token.size() || scans.size() == maxPhysmapKeys)
            return std::nullopt;
        scans.push_back(scan);
        at = end;
    }
    if (scans.empty())
        return std::nullopt;
    return scans;
}

std::optional<std::vector<std::uint32_t>> findPhysmap(const std::filesystem::path& sysfs,
                                                      std::string_view eventName)
{
    if (eventName.empty() || eventName.find('/') != std::string_view::npos)
        return std::nullopt;
    std::error_code error;
    // class/input/eventN/device is the inputN device; its parent is the driver's device.
    std::filesystem::path at = std::filesystem::canonical(
        sysfs / "class" / "input" / std::string(eventName) / "device" / "device", error);
    const std::filesystem::path root = std::filesystem::canonical(sysfs, error);
    for (int step = 0; !error && step < maxParentSteps && at != root && at.has_relative_path();
         ++step) {
        if (const auto text = readSmall(at / "function_row_physmap"))
            return parsePhysmap(*text);
        at = at.parent_path();
    }
    return std::nullopt;
}

DeviceId deviceId(const libevdev* evdev)
{
    const char* name = libevdev_get_name(evdev);
    return {static_cast<std::uint16_t>(libevdev_get_id_vendor(evdev)),
            static_cast<std::uint16_t>(libevdev_get_id_product(evdev)),
            storableName(name != nullptr ? name : "")};
}

KeyboardRow keyboardRow(const libevdev* evdev, int fd, const std::string& node,
                        const TaughtRows& taught, const std::filesystem::path& sysfs)
{
    if (const auto codes = taughtCodes(taught, deviceId(evdev)))
        return KeyboardRow::taughtRow(*codes);
    const std::string eventName = std::filesystem::path(node).filename().string();
    if (auto scans = findPhysmap(sysfs, eventName)) {
        std::vector<int> codes;
        for (const std::uint32_t scan : *scans)
            codes.push_back(keyCodeOf(fd, scan));
        return KeyboardRow::physmapRow(std::move(*scans), std::move(codes));
    }
    if (!hasFunctionRow(evdev))
        return {};
    if (libevdev_has_event_code(evdev, EV_MSC, MSC_SCAN) != 0 &&
        isHidBus(libevdev_get_id_bustype(evdev)))
        return KeyboardRow::hidUsageRow();
    if (!hasKey(evdev, KEY_FN))
        return KeyboardRow::functionKeyRow();
    return {};
}

} // namespace orvane::platform
