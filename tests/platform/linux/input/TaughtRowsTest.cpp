// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/input/TaughtRows.h"

#include <gtest/gtest.h>
#include <linux/input.h>

#include <string>
#include <vector>

namespace orvane::platform {
namespace {

const DeviceId keyboard{0x0001, 0x0001, "AT Translated Set 2 keyboard"};
const DeviceId videoBus{0x0000, 0x0006, "Video Bus"};
const DeviceId external{0x05ac, 0x029c, "Magic Keyboard"};

TaughtRow laptopRow()
{
    TaughtRow row;
    row.keys[0] = TaughtKey{keyboard, KEY_MUTE, false};
    row.keys[4] = TaughtKey{videoBus, KEY_BRIGHTNESSDOWN, true};
    row.keys[5] = TaughtKey{videoBus, KEY_BRIGHTNESSUP, true};
    row.keys[11] = TaughtKey{keyboard, KEY_F12, false};
    return row;
}

TEST(TaughtRows, ReadBackAsWrittenAndPlaceEachDevicesKeys)
{
    const TaughtRows rows{laptopRow()};
    std::string error;
    EXPECT_EQ(decodeTaughtRows(encodeTaughtRows(rows), error), rows) << error;

    const auto videoCodes = taughtCodes(rows, videoBus);
    ASSERT_TRUE(videoCodes);
    EXPECT_EQ(*videoCodes, (std::array<int, 12>{-1, -1, -1, -1, KEY_BRIGHTNESSDOWN,
                                                KEY_BRIGHTNESSUP, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(taughtCodes(rows, external), std::nullopt);
    EXPECT_EQ(taughtCodes(rows, DeviceId{0x0000, 0x0006, "Video Bus 2"}), std::nullopt);
}

TEST(TaughtRows, ADeviceNameThatIsNotUtf8IsStoredAndMatchedAgain)
{
    const std::string name = storableName("Keyboard \xff\xfe\xc3");
    EXPECT_EQ(storableName(name), name);
    TaughtRow row;
    row.keys[2] = TaughtKey{{0x1234, 0x5678, name}, KEY_F3, false};
    std::string error;
    const auto read = decodeTaughtRows(encodeTaughtRows({row}), error);
    ASSERT_TRUE(read) << error;
    EXPECT_TRUE(
        taughtCodes(*read, DeviceId{0x1234, 0x5678, storableName("Keyboard \xff\xfe\xc3")}));
}

TEST(TaughtRows, ANewRowReplacesTheRowsOfItsDevicesOnly)
{
    TaughtRow externalRow;
    externalRow.keys[0] = TaughtKey{external, KEY_BRIGHTNESSDOWN, false};
    TaughtRow relearned;
    relearned.keys[3] = TaughtKey{videoBus, KEY_MICMUTE, false};

    const TaughtRows rows = withRow(withRow(withRow({}, laptopRow()), externalRow), relearned);
    EXPECT_EQ(rows, (TaughtRows{externalRow, relearned}));
}

TEST(TaughtRows, RefusesDamagedFiles)
{
    const std::string goodKey = R"({"vendor":1,"product":1,"name":"k","code":113})";
    const std::string nulls = "null,null,null,null,null,null,null,null,null,null,null";
    const std::vector<std::string> damaged = {
        "",
        "[]",
        R"({"rows":{}})",
        R"({"rows":[{"keys":[]}]})",
        R"({"rows":[{"keys":[)" + nulls + "]}]}", // eleven keys
        R"({"rows":[{"keys":[)" + nulls + R"(,{"vendor":1,"product":1,"name":"k"}]}]})",
        R"({"rows":[{"keys":[)" + nulls +
            R"(,{"vendor":70000,"product":1,"name":"k","code":1}]}]})",
        R"({"rows":[{"keys":[)" + nulls + R"(,{"vendor":1,"product":1,"name":"k","code":-4}]}]})",
        R"({"rows":[{"keys":[)" + nulls + R"(,{"vendor":1,"product":1,"name":7,"code":1}]}]})",
        R"({"rows":[{"keys":[)" + nulls + "," + goodKey.substr(0, goodKey.size() - 1) +
            R"(,"instant":"yes"}]}]})",
        std::string(100000, '['),
    };
    for (const std::string& text : damaged) {
        std::string error;
        EXPECT_EQ(decodeTaughtRows(text, error), std::nullopt) << text.substr(0, 120);
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    const auto good =
        decodeTaughtRows(R"({"rows":[{"keys":[)" + nulls + "," + goodKey + "]}]}", error);
    ASSERT_TRUE(good) << error;
    EXPECT_EQ(good->at(0).keys[11], (TaughtKey{{1, 1, "k"}, KEY_MUTE, false}));
}

} // namespace
} // namespace orvane::platform
