// SPDX-License-Identifier: GPL-3.0-or-later
// Top rows the user taught, for keyboards that tell nothing about their row (PC laptops, whose row
// comes from several devices at once). Kept in $XDG_CONFIG_HOME/orvane/toprows.json, beside the
// settings and apart from them, so that the settings file reads as it always did.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::platform {

// An input device as it comes back after a restart or a replug: its ids and its name (as
// `storableName` makes it).
struct DeviceId {
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    std::string name;
    friend bool operator==(const DeviceId&, const DeviceId&) = default;
};

struct TaughtKey {
    DeviceId device;
    int code = 0;
    bool isInstant = false; // the device sends press and release together: no long press
    friend bool operator==(const TaughtKey&, const TaughtKey&) = default;
};

// Position i's key, absent where the key sends nothing (it was skipped).
struct TaughtRow {
    std::array<std::optional<TaughtKey>, 12> keys;
    bool mentions(const DeviceId& device) const noexcept;
    friend bool operator==(const TaughtRow&, const TaughtRow&) = default;
};

using TaughtRows = std::vector<TaughtRow>;

std::filesystem::path taughtRowsPath();

// A device's name as the file can hold it: bytes that are not UTF-8 (a device names itself) become
// U+FFFD, the same way every time, so that the stored name matches the device again.
std::string storableName(std::string_view name);

// The rows in `text`; absent (and `error` says why) when it is not a file of taught rows.
std::optional<TaughtRows> decodeTaughtRows(std::string_view text, std::string& error);
std::string encodeTaughtRows(const TaughtRows& rows);

// The rows stored at `path`: none when there is no file; absent, with `error`, when it cannot be
// read or is damaged (the caller keeps the file as it is).
std::optional<TaughtRows> readTaughtRows(const std::filesystem::path& path, std::string& error);

// `rows` with `row` taught: it replaces every row that shares a device with it.
TaughtRows withRow(TaughtRows rows, const TaughtRow& row);

// The codes by position that `device` sends in the newest row that mentions it, -1 elsewhere.
std::optional<std::array<int, 12>> taughtCodes(const TaughtRows& rows, const DeviceId& device);

} // namespace orvane::platform
