// SPDX-License-Identifier: GPL-3.0-or-later
// Orvane's one virtual keyboard: every grabbed keyboard's passed events and every posted event come
// out here. It remembers which keys it holds down, so that none is ever left held.
#pragma once

#include "platform/linux/UniqueFd.h"

#include <linux/input.h>

#include <bitset>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <system_error>
#include <vector>

namespace orvane::platform {

// The ids by which Orvane recognises its own output and never grabs it.
inline constexpr std::uint16_t outputVendor = 0x4f52;  // "OR"
inline constexpr std::uint16_t outputProduct = 0x5641; // "VA"
inline constexpr std::string_view outputName = "Orvane virtual keyboard";

bool isOrvaneOutput(std::uint16_t vendor, std::uint16_t product) noexcept;

class UinputKeyboard {
public:
    // Creates the device through /dev/uinput; null with the reason in `error`.
    static std::unique_ptr<UinputKeyboard> create(std::error_code& error);
    ~UinputKeyboard(); // releases every held key, then removes the device

    UinputKeyboard(const UinputKeyboard&) = delete;
    UinputKeyboard& operator=(const UinputKeyboard&) = delete;

    // Readable when the desktop changed an LED of this keyboard (see readLedChanges).
    int fd() const noexcept { return m_fd.get(); }

    // Writes one frame (events without the closing SYN_REPORT, which is added) in one call.
    bool writeFrame(std::span<const input_event> events) noexcept;
    bool writeKey(int code, int value) noexcept;

    bool isHeld(int code) const noexcept;
    // Releases every key this keyboard holds down, each in its own frame.
    void releaseAll() noexcept;

    // LED changes the desktop wrote to this keyboard since the last call, as EV_LED events.
    std::vector<input_event> readLedChanges() noexcept;
    // The LEDs as last written by the desktop (bit per LED code), and which of them it has
    // written at all.
    std::uint32_t ledState() const noexcept { return m_leds; }
    std::uint32_t knownLeds() const noexcept { return m_knownLeds; }

private:
    explicit UinputKeyboard(UniqueFd fd) : m_fd(std::move(fd)) {}
    void track(const input_event& event) noexcept;

    UniqueFd m_fd;
    std::bitset<KEY_CNT> m_held;
    std::vector<input_event> m_buffer;
    std::uint32_t m_leds = 0;
    std::uint32_t m_knownLeds = 0;
};

} // namespace orvane::platform
