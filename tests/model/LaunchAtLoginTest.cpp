// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/LaunchAtLogin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane::model {
namespace {

// Login items that refuse some writes, as a system may.
class FakeLoginItems final : public LoginItems {
public:
    bool isEnabled() const override
    {
        ++reads;
        return enabled;
    }
    std::error_code setEnabled(bool value) override
    {
        events->push_back("write " + std::to_string(value));
        if (refuse)
            return std::make_error_code(std::errc::permission_denied);
        enabled = value;
        return {};
    }
    std::vector<std::string>* events = nullptr;
    bool enabled = false;
    bool refuse = false;
    mutable int reads = 0;
};

TEST(LaunchAtLogin, AnnouncesBeforeAndSendsAfterEveryWrite)
{
    std::vector<std::string> events;
    FakeLoginItems items;
    items.events = &events;
    LaunchAtLoginObservable observable(items);
    auto will = observable.objectWillChange().subscribe([&](auto) {
        events.push_back("will change, reads " + std::to_string(observable.isEnabled()));
    });
    auto values = observable.values().subscribe(
        [&](bool value) { events.push_back("value " + std::to_string(value)); });

    EXPECT_FALSE(observable.setEnabled(true));
    EXPECT_TRUE(observable.isEnabled());

    items.refuse = true;
    EXPECT_EQ(observable.setEnabled(false), std::errc::permission_denied);
    EXPECT_TRUE(observable.isEnabled()); // the next read tells the truth

    EXPECT_EQ(events, (std::vector<std::string>{"will change, reads 0", "write 1", "value 1",
                                                "will change, reads 1", "write 0", "value 0"}));
}

TEST(LaunchAtLogin, EveryReadAsksTheLoginItems)
{
    FakeLoginItems items;
    LaunchAtLoginObservable observable(items);
    EXPECT_FALSE(observable.isEnabled());
    items.enabled = true; // changed elsewhere, for example in the desktop's settings
    EXPECT_TRUE(observable.isEnabled());
    EXPECT_EQ(items.reads, 2);
}

} // namespace
} // namespace orvane::model
