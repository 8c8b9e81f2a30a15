// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/input/SysfsRegistry.h"

#include "engine/KeyboardFinder.h"

#include <gtest/gtest.h>

namespace orvane::platform {
namespace {

// The real device tree of the machine running the tests: whatever it holds, it must be a tree
// whose paths nest, and the finder must come back with a whole top row.
TEST(SysfsRegistry, MachineTreeIsConsistent)
{
    const SysfsRegistry registry;
    const auto root = registry.root();
    ASSERT_TRUE(root.has_value());
    EXPECT_EQ(registry.path(*root), "/sys/devices");
    std::size_t entries = 0;
    std::vector<model::DeviceRegistry::Entry> pending{*root};
    while (!pending.empty()) {
        const auto entry = pending.back();
        pending.pop_back();
        ++entries;
        const auto path = registry.path(entry);
        ASSERT_TRUE(path.has_value());
        EXPECT_EQ(registry.entryAt(*path), entry);
        for (const auto child : registry.children(entry)) {
            const auto childPath = registry.path(child);
            ASSERT_TRUE(childPath.has_value());
            EXPECT_TRUE(childPath->starts_with(*path + "/")) << *childPath;
            pending.push_back(child);
        }
    }
    EXPECT_GE(entries, 1U);
    EXPECT_EQ(registry.entryAt("/sys/devices/no/such/device"), std::nullopt);
    EXPECT_EQ(engine::loadTopRowKeys(registry).size(), 12U);
}

} // namespace
} // namespace orvane::platform
