// SPDX-License-Identifier: GPL-3.0-or-later
// Replay scripts: every line is an event for the keyboard monitor or a clear error, and nothing
// in a line can overflow the monitor's clock arithmetic.
#include "model/DefaultKeyMapping.h"
#include "tools/orvanectl/ReplayEngine.h"

#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const auto mapping =
        orvane::model::defaultKeyMapping(orvane::model::defaultTopRowKeys(), {});
    std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    std::ostringstream errors;
    orvane::ctl::ReplayEngine engine(orvane::model::defaultTopRowKeys(), mapping, 0.3, out);
    engine.run(script, errors);
    return 0;
}
