// SPDX-License-Identifier: GPL-3.0-or-later
// A keyboard's row from outside: the taught rows file and a driver's function_row_physmap. Any
// text gives rows or a refusal; rows that decode come back the same from what they encode to.
#include "platform/linux/input/KeyboardRow.h"
#include "platform/linux/input/TaughtRows.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    orvane::platform::parsePhysmap(text);
    std::string error;
    const auto rows = orvane::platform::decodeTaughtRows(text, error);
    if (rows) {
        std::string again;
        if (orvane::platform::decodeTaughtRows(orvane::platform::encodeTaughtRows(*rows), again) !=
            rows)
            std::abort();
    }
    return 0;
}
