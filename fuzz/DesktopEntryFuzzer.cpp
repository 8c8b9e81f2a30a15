// SPDX-License-Identifier: GPL-3.0-or-later
// Autostart entries as any program or user may leave them, read through GLib's key-file parser.
#include "platform/linux/desktop/AutostartLoginItems.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orvane::platform::desktopEntryStarts(
        std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
