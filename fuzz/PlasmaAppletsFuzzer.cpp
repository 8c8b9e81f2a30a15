// SPDX-License-Identifier: GPL-3.0-or-later
// Plasma's applets file, which the desktop and the user both write: any text gives a list of
// launchers, each one non-empty.
#include "platform/linux/desktop/DesktopFavorites.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (const auto& launcher : orvane::platform::plasmaLauncherEntries(
             std::string_view(reinterpret_cast<const char*>(data), size))) {
        if (launcher.empty())
            std::abort();
    }
    return 0;
}
