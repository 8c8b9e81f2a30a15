// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/MemoryDeviceRegistry.h"

#include "engine/KeyboardFinder.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvane::engine {
namespace {

using model::CustomKey;
using model::TopRow;
using test::MemoryDeviceRegistry;
using Node = MemoryDeviceRegistry::Node;

// A usage map of twelve pairs whose second usages are `functions`; the first usage of each pair
// is the function key's own (keyboard page), which the finder never looks at.
std::string usageMap(const std::vector<std::string>& functions)
{
    std::string text;
    for (std::size_t i = 0; i < functions.size(); ++i) {
        char first[16];
        std::snprintf(first, sizeof first, "0x0007%04zx", 0x3a + i);
        text += (i == 0 ? "" : ",") + std::string(first) + "," + functions[i];
    }
    return text;
}

const std::vector<std::string> magicKeyboard2021{
    "0x00ff0005", "0x00ff0004", "0xff010010", "0x000c0221", "0x000c00cf", "0x0001009b",
    "0x000c00b4", "0x000c00cd", "0x000c00b3", "0x000c00e2", "0x000c00ea", "0x000c00e9"};
const TopRow magicKeyboard2021Keys{
    CustomKey::brightnessDown, CustomKey::brightnessUp, CustomKey::missionControl,
    CustomKey::spotlight,      CustomKey::dictation,    CustomKey::focus,
    CustomKey::rewind,         CustomKey::play,         CustomKey::fast,
    CustomKey::soundMute,      CustomKey::soundDown,    CustomKey::soundUp};

Node driver(std::string path, model::RegistryValue map)
{
    return {std::string(keyboardDriverName),
            std::move(path),
            model::RegistryProperties{{std::string(usageMapProperty), std::move(map)}},
            {}};
}

Node plain(std::string name)
{
    return {name, "IOService:/" + name, model::RegistryProperties{}, {}};
}

// root -> usb -> hub -> [keyboard entries added by the row]
struct Tree {
    MemoryDeviceRegistry registry;
    MemoryDeviceRegistry::Entry root = registry.add(std::nullopt, plain("Root"));
    MemoryDeviceRegistry::Entry usb = registry.add(root, plain("USB"));
    MemoryDeviceRegistry::Entry hub = registry.add(usb, plain("Hub"));
};

TopRow with(TopRow keys, std::size_t position, CustomKey key)
{
    keys[position] = key;
    return keys;
}

TEST(KeyboardFinder, TopRowFromTheRegistry)
{
    const TopRow defaults = model::defaultTopRowKeys();
    auto missionAndLaunchpad = magicKeyboard2021;
    missionAndLaunchpad[0] = "0xff010010";
    missionAndLaunchpad[1] = "0xff010004";
    auto upperCase = magicKeyboard2021;
    upperCase[2] = "0xFF010010";
    auto spaced = magicKeyboard2021;
    spaced[3] = " 0x000c0221";
    auto unknown = magicKeyboard2021;
    unknown[11] = "0x000c00e8";
    const std::string full = usageMap(magicKeyboard2021);

    struct Row {
        const char* name;
        std::function<void(Tree&)> build;
        TopRow expected;
    };
    const Row rows[] = {
        {"no driver entry anywhere", [](Tree&) {}, defaults},
        {"empty registry", [](Tree& t) { t.registry.nodes.clear(); }, defaults},
        {"usage map of a current keyboard",
         [&](Tree& t) { t.registry.add(t.hub, driver("IOService:/kbd", full)); },
         magicKeyboard2021Keys},
        {"23 parts",
         [&](Tree& t) {
             t.registry.add(t.hub, driver("IOService:/kbd", full.substr(0, full.rfind(','))));
         },
         defaults},
        {"25 parts", [&](Tree& t) { t.registry.add(t.hub, driver("IOService:/kbd", full + ",")); },
         defaults},
        {"second and fourth usage are Mission Control and Launchpad",
         [&](Tree& t) {
             t.registry.add(t.hub, driver("IOService:/kbd", usageMap(missionAndLaunchpad)));
         },
         with(with(magicKeyboard2021Keys, 0, CustomKey::missionControl), 1, CustomKey::launchpad)},
        {"upper-case usage keeps its default",
         [&](Tree& t) { t.registry.add(t.hub, driver("IOService:/kbd", usageMap(upperCase))); },
         with(magicKeyboard2021Keys, 2, defaults[2])},
        {"usage with a space keeps its default",
         [&](Tree& t) { t.registry.add(t.hub, driver("IOService:/kbd", usageMap(spaced))); },
         with(magicKeyboard2021Keys, 3, defaults[3])},
        {"usage not in the table keeps its default",
         [&](Tree& t) { t.registry.add(t.hub, driver("IOService:/kbd", usageMap(unknown))); },
         with(magicKeyboard2021Keys, 11, defaults[11])},
        {"two drivers: the first depth first wins over a shallower later one",
         [&](Tree& t) {
             const auto deep = t.registry.add(t.hub, plain("Interface"));
             t.registry.add(deep, driver("IOService:/first", usageMap(missionAndLaunchpad)));
             t.registry.add(t.root, driver("IOService:/second", full));
         },
         with(with(magicKeyboard2021Keys, 0, CustomKey::missionControl), 1, CustomKey::launchpad)},
        {"driver whose path cannot be read is passed over, its children unsearched",
         [&](Tree& t) {
             auto unreadable = driver("", usageMap(missionAndLaunchpad));
             unreadable.path.reset();
             const auto first = t.registry.add(t.hub, unreadable);
             t.registry.add(first, driver("IOService:/child", usageMap(upperCase)));
             t.registry.add(t.usb, driver("IOService:/sibling", full));
         },
         magicKeyboard2021Keys},
        {"entry whose name cannot be read is searched below",
         [&](Tree& t) {
             t.registry.nodes[t.hub].name.reset();
             t.registry.add(t.hub, driver("IOService:/kbd", full));
         },
         magicKeyboard2021Keys},
        {"name that only starts with the driver's name",
         [&](Tree& t) {
             auto near = driver("IOService:/kbd", full);
             *near.name += "X";
             t.registry.add(t.hub, near);
         },
         defaults},
        {"property that is not text",
         [&](Tree& t) { t.registry.add(t.hub, driver("IOService:/kbd", std::int64_t{12})); },
         defaults},
        {"properties cannot be read",
         [&](Tree& t) {
             auto node = driver("IOService:/kbd", full);
             node.properties.reset();
             t.registry.add(t.hub, node);
         },
         defaults},
        {"no usage map among the properties",
         [&](Tree& t) {
             auto node = driver("IOService:/kbd", full);
             node.properties = model::RegistryProperties{{"Product", std::string("Keyboard")}};
             t.registry.add(t.hub, node);
         },
         defaults},
        {"path that leads nowhere",
         [&](Tree& t) {
             t.registry.add(t.hub, driver("IOService:/kbd", full));
             t.registry.nodes.back().path = "IOService:/kbd";
             // entryAt finds the first entry with the path: make that an unrelated one
             t.registry.nodes[t.usb].path = "IOService:/kbd";
         },
         defaults},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Tree tree;
        row.build(tree);
        EXPECT_EQ(loadTopRowKeys(tree.registry), row.expected);
    }
}

TEST(KeyboardFinder, PathOfTheFirstDriverDepthFirst)
{
    Tree tree;
    const auto left = tree.registry.add(tree.hub, plain("Left"));
    tree.registry.add(tree.root, driver("IOService:/right", ""));
    tree.registry.add(left, driver("IOService:/left", ""));
    EXPECT_EQ(findKeyboardPath(tree.registry, tree.root), "IOService:/left");
    EXPECT_EQ(findKeyboardPath(tree.registry, tree.usb), "IOService:/left");
    EXPECT_EQ(findKeyboardPath(tree.registry, tree.registry.nodes.size() - 2), "IOService:/right");
}

} // namespace
} // namespace orvane::engine
