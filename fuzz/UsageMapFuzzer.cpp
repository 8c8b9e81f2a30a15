// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard driver's usage-map property, read from the device registry: any text gives a top
// row of twelve known keys.
#include "engine/KeyboardFinder.h"
#include "support/MemoryDeviceRegistry.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using orvane::test::MemoryDeviceRegistry;
    MemoryDeviceRegistry registry;
    const auto root = registry.add(std::nullopt, {"Root", "IOService:/", {}, {}});
    registry.add(root, {std::string(orvane::engine::keyboardDriverName),
                        "IOService:/keyboard",
                        orvane::model::RegistryProperties{
                            {std::string(orvane::engine::usageMapProperty),
                             std::string(reinterpret_cast<const char*>(data), size)}},
                        {}});
    orvane::engine::loadTopRowKeys(registry);
    return 0;
}
