// SPDX-License-Identifier: GPL-3.0-or-later
// A settings file's text: read entry by entry, whatever it holds; the entries that were read are
// written back as valid JSON that reads again to the same entries, undamaged.
#include "platform/linux/desktop/SettingsContent.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto content = orvane::platform::readSettingsText(text);
    const std::string written = content.entries.dump();
    const auto reread = orvane::platform::readSettingsText(written);
    if (reread.isDamaged || reread.entries != content.entries)
        std::abort();
    return 0;
}
