// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/input/KeyboardRow.h"

#include <gtest/gtest.h>
#include <libevdev/libevdev.h>
#include <linux/input.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane::platform {
namespace {

namespace fs = std::filesystem;
using Scans = std::vector<std::uint32_t>;

TEST(KeyboardRow, ReadsOnlyWellFormedPhysmaps)
{
    struct Case {
        const char* text;
        std::optional<Scans> expected;
    };
    const std::vector<Case> cases = {
        {"3B 3C 3D\n", Scans{0x3b, 0x3c, 0x3d}},
        {"0xE005 0xe006", Scans{0xe005, 0xe006}},
        {"  7003A\t7003B  ", Scans{0x7003a, 0x7003b}},
        {"", std::nullopt},
        {"\n", std::nullopt},
        {"3B zz 3D", std::nullopt},
        {"3B -1", std::nullopt},
        {"123456789", std::nullopt}, // wider than a scan code
        {"0x", std::nullopt},
        {"3B,3C", std::nullopt},
        {"01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 17 18 19",
         std::nullopt}, // 25: more than any driver publishes
    };
    for (const Case& c : cases)
        EXPECT_EQ(parsePhysmap(c.text), c.expected) << '"' << c.text << '"';
}

TEST(KeyboardRow, PlacesEachPressByItsKeyboardsRow)
{
    const KeyboardRow hid = KeyboardRow::hidUsageRow();
    const KeyboardRow fkeys = KeyboardRow::functionKeyRow();
    const KeyboardRow physmap = KeyboardRow::physmapRow({0xe005, 0xe006, 0xe004}, {-1, 225, -1});
    const KeyboardRow taught = KeyboardRow::taughtRow(
        {KEY_MUTE, KEY_VOLUMEDOWN, -1, -1, -1, -1, -1, -1, -1, -1, -1, KEY_F12});
    const KeyboardRow machine;
    constexpr std::int8_t unplaced = KeyboardRow::unplaced;
    constexpr std::int8_t byKeyCode = KeyboardRow::byKeyCode;
    struct Case {
        const char* what;
        const KeyboardRow& row;
        std::optional<std::uint32_t> scan;
        int code;
        std::int8_t expected;
    };
    const std::vector<Case> cases = {
        {"hid-apple's F5 sends mic mute", hid, 0x7003e, KEY_MICMUTE, 4},
        {"hid-apple's F12 with fn", hid, 0x70045, KEY_F12, 11},
        {"a HID keyboard's other key", hid, 0x70004, KEY_A, unplaced},
        {"a consumer-page key on a HID keyboard", hid, 0xc00e9, KEY_VOLUMEUP, unplaced},
        {"a HID key without a scan code", hid, std::nullopt, KEY_MUTE, byKeyCode},
        {"F11 of a keyboard without fn", fkeys, std::nullopt, KEY_F11, 10},
        {"mute of a keyboard without fn", fkeys, 0xa0, KEY_MUTE, unplaced},
        {"a physmap key by scan code", physmap, 0xe004, KEY_F13, 2},
        {"a physmap key by key code alone", physmap, std::nullopt, 225, 1},
        {"a physmap keyboard's other key", physmap, 0x1e, KEY_A, unplaced},
        {"a taught key", taught, 0xa0, KEY_MUTE, 0},
        {"a taught key without a scan code", taught, std::nullopt, KEY_F12, 11},
        {"a key of a taught device outside its row", taught, std::nullopt, KEY_A, unplaced},
        {"the machine's row", machine, 0x7003a, KEY_BRIGHTNESSDOWN, byKeyCode},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.row.place(c.scan, c.code), c.expected) << c.what;
}

// A device names itself, in any bytes: a row taught for it is stored and found again.
TEST(KeyboardRow, TeachesADeviceWhoseNameIsNotUtf8)
{
    const std::unique_ptr<libevdev, decltype(&libevdev_free)> evdev(libevdev_new(), &libevdev_free);
    libevdev_set_name(evdev.get(), "Keyboard \xff\xc3");
    libevdev_enable_event_code(evdev.get(), EV_KEY, KEY_MUTE, nullptr);
    TaughtRow row;
    row.keys[0] = TaughtKey{deviceId(evdev.get()), KEY_MUTE, false};
    std::string text;
    ASSERT_NO_THROW(text = encodeTaughtRows({row}));
    std::string error;
    const auto read = decodeTaughtRows(text, error);
    ASSERT_TRUE(read) << error;
    const KeyboardRow placed = keyboardRow(evdev.get(), -1, "/dev/input/event99", *read);
    EXPECT_EQ(placed.source(), KeyboardRow::Source::taught);
    EXPECT_EQ(placed.place(std::nullopt, KEY_MUTE), 0);
}

// A sysfs tree as the kernel lays it out: class/input/eventN -> the event device, whose
// `device` is inputN, whose `device` is the driver's device.
class FakeSysfs : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "orvane-sysfs-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        fs::create_directories(root / "class" / "input");
    }
    void TearDown() override { fs::remove_all(root); }

    // An event node whose input device's parent is `parent` (under devices/).
    void addNode(const std::string& event, const std::string& parent)
    {
        const fs::path parentDir = root / "devices" / parent;
        const fs::path input = parentDir / "input" / ("input_" + event);
        fs::create_directories(input / event);
        fs::create_directory_symlink(input, input / event / "device");
        fs::create_directory_symlink(parentDir, input / "device");
        fs::create_directory_symlink(input / event, root / "class" / "input" / event);
    }
    void write(const fs::path& file, const std::string& text)
    {
        std::ofstream(root / "devices" / file) << text;
    }

    fs::path root;
};

TEST_F(FakeSysfs, FindsThePhysmapOnTheParentOrFurtherUp)
{
    addNode("event3", "platform/i8042/serio0");
    write("platform/i8042/serio0/function_row_physmap", "3B 3C 3D 3E\n");
    addNode("event7", "platform/cros-ec/keyboard/sub");
    write("platform/cros-ec/keyboard/function_row_physmap", "E005 E006");
    addNode("event9", "pci0000:00/usb1/1-1");
    addNode("event11", "platform/broken");
    write("platform/broken/function_row_physmap", "not a physmap");

    EXPECT_EQ(findPhysmap(root, "event3"), (Scans{0x3b, 0x3c, 0x3d, 0x3e}));
    EXPECT_EQ(findPhysmap(root, "event7"), (Scans{0xe005, 0xe006}));
    EXPECT_EQ(findPhysmap(root, "event9"), std::nullopt);
    EXPECT_EQ(findPhysmap(root, "event11"), std::nullopt);
    EXPECT_EQ(findPhysmap(root, "event404"), std::nullopt);
    EXPECT_EQ(findPhysmap(root, "../event3"), std::nullopt);
}

TEST_F(FakeSysfs, TakesTheFirstSourceThatAnswers)
{
    addNode("event3", "platform/i8042/serio0");
    write("platform/i8042/serio0/function_row_physmap", "3B 3C");
    addNode("event4", "pci0000:00/usb1/1-1");

    struct Device {
        const char* what;
        const char* node;
        int bus;
        bool hasScan;
        bool hasFn;
        bool hasFunctionKeys;
        KeyboardRow::Source expected;
    };
    using S = KeyboardRow::Source;
    const std::vector<Device> devices = {
        {"a Chromebook's keyboard", "/dev/input/event3", BUS_I8042, true, false, true, S::physmap},
        {"an Apple keyboard", "/dev/input/event4", BUS_USB, true, true, true, S::hidUsages},
        {"a Bluetooth keyboard", "/dev/input/event4", BUS_BLUETOOTH, true, false, true,
         S::hidUsages},
        {"a PC keyboard", "/dev/input/event4", BUS_I8042, true, false, true, S::functionKeys},
        {"a keyboard with fn and no scan codes", "/dev/input/event4", BUS_USB, false, true, true,
         S::machine},
        {"a PC laptop's keyboard with fn", "/dev/input/event4", BUS_I8042, true, true, true,
         S::machine},
        {"a media-key device", "/dev/input/event4", BUS_USB, true, false, false, S::machine},
    };
    for (const Device& d : devices) {
        const std::unique_ptr<libevdev, decltype(&libevdev_free)> evdev(libevdev_new(),
                                                                        &libevdev_free);
        libevdev_set_id_bustype(evdev.get(), d.bus);
        libevdev_enable_event_code(evdev.get(), EV_KEY, KEY_VOLUMEUP, nullptr);
        if (d.hasScan)
            libevdev_enable_event_code(evdev.get(), EV_MSC, MSC_SCAN, nullptr);
        if (d.hasFn)
            libevdev_enable_event_code(evdev.get(), EV_KEY, KEY_FN, nullptr);
        if (d.hasFunctionKeys) {
            for (const int code : {KEY_F1, KEY_F2, KEY_F3, KEY_F4, KEY_F5, KEY_F6, KEY_F7, KEY_F8,
                                   KEY_F9, KEY_F10, KEY_F11, KEY_F12})
                libevdev_enable_event_code(evdev.get(), EV_KEY, static_cast<unsigned>(code),
                                           nullptr);
        }
        const KeyboardRow row = keyboardRow(evdev.get(), -1, d.node, {}, root);
        EXPECT_EQ(row.source(), d.expected) << d.what;
    }
}

} // namespace
} // namespace orvane::platform
