// SPDX-License-Identifier: GPL-3.0-or-later
// Where the twelve top-row positions of one keyboard are, as the keyboard and its driver tell it.
// The key path places each press by the row of the keyboard it came from; the monitor then sees
// position i as the machine's row key at i, whatever the keyboard sent there.
#pragma once

#include "TaughtRows.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct libevdev;

namespace orvane::platform {

class KeyboardRow {
public:
    enum class Source : std::uint8_t {
        taught,       // the user pressed the row's keys once (orvanectl toprow learn)
        physmap,      // the driver publishes the row's scan codes (Chromebooks)
        hidUsages,    // a HID keyboard: each key's scan code is the usage of the physical key
        functionKeys, // no fn key, and the row sends F1-F12
        machine,      // nothing known: the machine's row, placed by key code
    };

    // Placing one press: a position (0-11), or one of these.
    static constexpr std::int8_t unplaced = -1;  // a key of no position: its own meaning only
    static constexpr std::int8_t byKeyCode = -2; // left to the machine's row, by its key code
    static constexpr std::size_t maxPositions = 12;

    KeyboardRow() = default;
    static KeyboardRow taughtRow(const std::array<int, 12>& codes);
    static KeyboardRow physmapRow(std::vector<std::uint32_t> scans, std::vector<int> codes);
    static KeyboardRow hidUsageRow();
    static KeyboardRow functionKeyRow();

    Source source() const noexcept { return m_source; }

    // Where a press of `code` lies; `scan` is the MSC_SCAN the frame carried before it, if any.
    std::int8_t place(std::optional<std::uint32_t> scan, int code) const noexcept;

private:
    Source m_source = Source::machine;
    std::vector<std::uint32_t> m_scans; // physmap: each position's scan code
    std::vector<int> m_codes; // taught and physmap: each position's key code, -1 where none
};

std::string_view describe(KeyboardRow::Source source) noexcept;

// The scan codes of a `function_row_physmap` attribute ("3B 3C 3D ..." or with 0x), at most the
// driver's 24; absent when the text is anything else.
std::optional<std::vector<std::uint32_t>> parsePhysmap(std::string_view text);

// The physmap of the event node `eventName` ("event5"): the attribute on the input device's parent
// or a device further up, as the cros-ec, atkbd and vivaldi drivers put it.
std::optional<std::vector<std::uint32_t>> findPhysmap(const std::filesystem::path& sysfs,
                                                      std::string_view eventName);

// The row of an opened keyboard: the one taught for it, else its physmap, else its HID usages,
// else F1-F12 on a keyboard without fn, else the machine's. `fd` answers EVIOCGKEYCODE_V2 for the
// physmap's scan codes.
KeyboardRow keyboardRow(const libevdev* evdev, int fd, const std::string& node,
                        const TaughtRows& taught = {}, const std::filesystem::path& sysfs = "/sys");

DeviceId deviceId(const libevdev* evdev);

} // namespace orvane::platform
