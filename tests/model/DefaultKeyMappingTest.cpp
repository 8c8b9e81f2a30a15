// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DefaultKeyMapping.h"

#include <gtest/gtest.h>

using namespace orvane::model;

TEST(DefaultKeyMapping, ShortPressTopRowLongPressAppsThenFunctionKey)
{
    struct Row {
        const char* name;
        std::vector<std::string> apps;
    };
    const Row rows[] = {
        {"no applications", {}},
        {"three applications", {"/files", "/a1", "/a2"}},
        {"more applications than keys", std::vector<std::string>(14, "/app")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const KeyMapping mapping = defaultKeyMapping(defaultTopRowKeys(), row.apps);
        ASSERT_EQ(mapping.size(), 12u);
        for (std::size_t i = 0; i < 12; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(mapping[i].shortPress, LaunchTarget{KeyTarget{defaultTopRowKeys()[i]}});
            EXPECT_EQ(mapping[i].fn, LaunchTarget{KeyTarget{functionKeys()[i]}});
            const LaunchTarget expectedLong = i < row.apps.size()
                                                  ? LaunchTarget{AppTarget{row.apps[i]}}
                                                  : LaunchTarget{KeyTarget{functionKeys()[i]}};
            EXPECT_EQ(mapping[i].longPress, expectedLong);
        }
    }
}
