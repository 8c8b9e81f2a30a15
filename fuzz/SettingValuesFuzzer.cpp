// SPDX-License-Identifier: GPL-3.0-or-later
// The stored texts of the number and switch settings: any text decodes or is refused, and what
// decodes survives its own stored form.
#include "model/SettingCoding.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

template <typename T> void roundTrip(std::string_view text)
{
    using Coding = orvane::model::SettingCoding<T>;
    const auto decoded = Coding::decode(text);
    if (!decoded)
        return;
    const auto stored = Coding::encode(decoded.value());
    if (!stored)
        std::abort(); // every decoded value has a stored form
    const auto again = Coding::decode(*stored);
    if (!again || !(again.value() == decoded.value()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    roundTrip<double>(text);
    roundTrip<bool>(text);
    return 0;
}
