// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/MemoryDefaultsStore.h"

#include "model/BundleInfo.h"
#include "model/DefaultKeyMapping.h"
#include "model/JsonCoding.h"
#include "model/Preferences.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orvane::model {
namespace {

std::string text(const KeyMapping& mapping)
{
    return json::toText(json::encode(mapping));
}

// A default mapping that differs from anything a test stores, so a fallback is recognisable.
KeyMapping testDefaultMapping()
{
    const std::string apps[] = {"/usr/share/applications/org.gnome.Nautilus.desktop"};
    return defaultKeyMapping(defaultTopRowKeys(), apps);
}

// The JSON text of each setting as a read returns it, keyed by setting name.
std::map<std::string, std::string> readAll(const Preferences& preferences)
{
    return {
        {"keyMapping", text(preferences.keyMapping.get())},
        {"longPressDelay", *SettingCoding<double>::encode(preferences.longPressDelay.get())},
        {"showMenuBarIcon", *SettingCoding<bool>::encode(preferences.showMenuBarIcon.get())},
        {"firstRun", *SettingCoding<bool>::encode(preferences.firstRun.get())},
    };
}

class PreferencesTest : public ::testing::Test {
protected:
    test::MemoryDefaultsStore store;
    Preferences preferences{store, testDefaultMapping()};
    const std::map<std::string, std::string> defaults{
        {"keyMapping", text(testDefaultMapping())},
        {"longPressDelay", "0.2"},
        {"showMenuBarIcon", "true"},
        {"firstRun", "true"},
    };
};

TEST_F(PreferencesTest, FreshStoreReadsDefaultsAndCreatesNothing)
{
    EXPECT_EQ(readAll(preferences), defaults);
    EXPECT_TRUE(store.writes.empty());
    EXPECT_TRUE(store.entries.empty());
}

// One stored entry; the read of its setting gives `expected` (as JSON text), the other three read
// as their defaults, and the stored entry is left exactly as it was.
TEST_F(PreferencesTest, ReadsDecodeOrFallBackWithoutWriting)
{
    const std::string fiveEntries = [] {
        KeyMapping mapping = testDefaultMapping();
        mapping.resize(5);
        mapping[4].fn = ShortcutTarget{{{40}, 0x120000}, "kill line"};
        return text(mapping);
    }();
    const std::string twoCases =
        R"([{"shortPress":{"key":{"key":{"f1":{}}},"app":{"path":"/x"}},)"
        R"("longPress":{"key":{"key":{"f1":{}}}},"fn":{"key":{"key":{"f1":{}}}}}])";
    struct Row {
        const char* name;
        std::string key;
        std::string stored;
        std::string expected;
    };
    const Row rows[] = {
        {"delay not JSON", "longPressDelay", "abc", "0.2"},
        {"delay decimal", "longPressDelay", "1.5", "1.5"},
        {"delay integer literal", "longPressDelay", "3", "3.0"},
        {"delay as JSON string", "longPressDelay", "\"1.5\"", "0.2"},
        {"delay as boolean", "longPressDelay", "true", "0.2"},
        {"delay too large for a double", "longPressDelay", "1e400", "0.2"},
        {"delay empty text", "longPressDelay", "", "0.2"},
        {"delay with trailing garbage", "longPressDelay", "1.5x", "0.2"},
        {"icon false", "showMenuBarIcon", "false", "false"},
        {"icon as number", "showMenuBarIcon", "0", "true"},
        {"icon as JSON string", "showMenuBarIcon", "\"false\"", "true"},
        {"first run capitalised", "firstRun", "False", "true"},
        {"first run false", "firstRun", "false", "false"},
        {"mapping of five entries", "keyMapping", fiveEntries, fiveEntries},
        {"mapping entry with two cases", "keyMapping", twoCases, text(testDefaultMapping())},
        {"mapping not an array", "keyMapping", "{}", text(testDefaultMapping())},
        {"mapping empty array", "keyMapping", "[]", "[]"},
        {"mapping with a member nested a hundred thousand deep", "keyMapping",
         "[{\"x\":" + std::string(100000, '[') + std::string(100000, ']') + "}]",
         text(testDefaultMapping())},
        {"delay nested a hundred thousand deep", "longPressDelay",
         std::string(100000, '[') + std::string(100000, ']'), "0.2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        store.entries = {{row.key, row.stored}};
        auto expected = defaults;
        expected[row.key] = row.expected;
        EXPECT_EQ(readAll(preferences), expected);
        EXPECT_EQ(store.entries.at(row.key), row.stored);
    }
    EXPECT_TRUE(store.writes.empty());
}

TEST_F(PreferencesTest, WriteStoresJsonTextThenPublishesEveryTime)
{
    std::vector<bool> sent;
    std::vector<std::optional<std::string>> storedWhenSent;
    auto subscription = preferences.showMenuBarIcon.publisher().subscribe([&](bool value) {
        sent.push_back(value);
        storedWhenSent.push_back(store.string("showMenuBarIcon"));
    });

    EXPECT_FALSE(preferences.showMenuBarIcon.set(false));
    EXPECT_FALSE(preferences.showMenuBarIcon.set(false));

    EXPECT_EQ(store.entries.at("showMenuBarIcon"), "false");
    EXPECT_FALSE(preferences.showMenuBarIcon.get());
    EXPECT_EQ(sent, (std::vector<bool>{false, false}));
    // Subscribers run after the store, so a subscriber that reads sees the new value.
    EXPECT_EQ(storedWhenSent, (std::vector<std::optional<std::string>>{"false", "false"}));
    EXPECT_EQ(store.entries.size(), 1U);
}

TEST_F(PreferencesTest, DelayRoundTripsThroughItsText)
{
    for (const double delay : {0.2, 0.35, 1.0, 0.1 + 0.2, 5e-324}) {
        SCOPED_TRACE(delay);
        ASSERT_FALSE(preferences.longPressDelay.set(delay));
        EXPECT_EQ(preferences.longPressDelay.get(), delay);
    }
}

// A value without a JSON form stores nothing and keeps the previous entry, yet subscribers still
// hear of it; the caller learns that nothing was stored.
TEST_F(PreferencesTest, UnencodableDelayKeepsPreviousEntryButIsStillSent)
{
    ASSERT_FALSE(preferences.longPressDelay.set(0.5));
    std::vector<double> sent;
    auto subscription = preferences.longPressDelay.publisher().subscribe(
        [&](double value) { sent.push_back(value); });
    for (const double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(bad);
        EXPECT_TRUE(preferences.longPressDelay.set(bad));
        EXPECT_EQ(store.entries.at("longPressDelay"), "0.5");
        EXPECT_EQ(preferences.longPressDelay.get(), 0.5);
    }
    ASSERT_EQ(sent.size(), 3U);
    EXPECT_TRUE(std::isnan(sent[0]));
    EXPECT_EQ(store.writes.size(), 1U);
}

TEST_F(PreferencesTest, StoreFailureIsReportedAndStillSent)
{
    store.failure = std::make_error_code(std::errc::no_space_on_device);
    int sent = 0;
    auto subscription = preferences.firstRun.publisher().subscribe([&](bool) { ++sent; });
    EXPECT_EQ(preferences.firstRun.set(false), std::errc::no_space_on_device);
    EXPECT_EQ(sent, 1);
    EXPECT_TRUE(preferences.firstRun.get());
}

TEST(ObservablePreferences, AnnouncesEveryWriteThroughTheInstance)
{
    test::MemoryDefaultsStore store;
    ObservablePreferences observable(store, testDefaultMapping());
    int announcements = 0;
    auto subscription = observable.objectDidChange().subscribe([&](auto) { ++announcements; });

    observable.instance().keyMapping.set(KeyMapping{});
    observable.instance().longPressDelay.set(std::numeric_limits<double>::quiet_NaN());
    observable.instance().showMenuBarIcon.set(false);
    observable.instance().firstRun.set(false);
    EXPECT_EQ(announcements, 4);

    // Reads announce nothing; nor does a change made behind the object's back.
    (void)observable.instance().keyMapping.get();
    store.entries["firstRun"] = "true";
    EXPECT_EQ(announcements, 4);
    EXPECT_TRUE(observable.instance().firstRun.get());
}

TEST(Subject, SubscriptionEndsWithItsHandleEvenDuringASend)
{
    Subject<int> subject;
    std::vector<std::string> calls;
    Subject<int>::Subscription second;
    auto first = subject.subscribe([&](int value) {
        calls.push_back("first " + std::to_string(value));
        second.reset(); // the second subscriber is gone before its turn
    });
    second =
        subject.subscribe([&](int value) { calls.push_back("second " + std::to_string(value)); });
    subject.send(1);
    first.reset();
    subject.send(2);
    EXPECT_EQ(calls, (std::vector<std::string>{"first 1"}));
}

TEST(Subject, HandleMayOutliveTheSubject)
{
    Subject<int>::Subscription subscription;
    {
        Subject<int> subject;
        subscription = subject.subscribe([](int) {});
    }
    subscription.reset(); // must not touch the destroyed subject
    SUCCEED();
}

TEST(BundleInfo, NameVersionAndMissingKeys)
{
    EXPECT_EQ(appName(), "Orvane");
    const auto version = infoString(mainBundleInfo(), infoKey::shortVersion);
    EXPECT_NE(version, "\u26A0\uFE0F");
    EXPECT_NE(version.find('.'), std::string::npos);
    EXPECT_NE(infoString(mainBundleInfo(), infoKey::version), "\u26A0\uFE0F");
    EXPECT_EQ(infoString(mainBundleInfo(), "NSHumanReadableCopyright"), "\u26A0\uFE0F");
    EXPECT_EQ(infoString({}, infoKey::name), "\u26A0\uFE0F");
}

} // namespace
} // namespace orvane::model
