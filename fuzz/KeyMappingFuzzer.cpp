// SPDX-License-Identifier: GPL-3.0-or-later
// A stored or given key mapping: decoding any text either fails with a decoding error or gives a
// mapping whose stored form decodes to the same mapping.
#include "model/SettingCoding.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using Coding = orvane::model::SettingCoding<orvane::model::KeyMapping>;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto decoded = Coding::decode(text);
    if (!decoded) {
        if (decoded.error().message().empty())
            std::abort();
        return 0;
    }
    const auto stored = Coding::encode(decoded.value());
    if (!stored)
        std::abort();
    const auto again = Coding::decode(*stored);
    if (!again || Coding::encode(again.value()) != stored)
        std::abort();
    return 0;
}
