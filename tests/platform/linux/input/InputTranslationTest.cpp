// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/input/InputTranslation.h"
#include "platform/linux/input/MediaKeyTable.h"

#include "engine/KeyboardMonitor.h"
#include "model/DefaultKeyMapping.h"
#include "model/KeyProps.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <functional>
#include <vector>

namespace orvane::platform {
namespace {

using engine::KeyEvent;
namespace type = engine::eventType;
namespace flag = engine::eventFlag;

KeyEvent key(std::uint32_t eventType, std::int64_t keyCode, std::uint64_t flags = 0,
             std::int64_t autorepeat = 0)
{
    KeyEvent event;
    event.type = eventType;
    event.keyCode = keyCode;
    event.flags = flags;
    event.autorepeat = autorepeat;
    return event;
}

KeyEvent media(int evdevCode, std::int64_t data1, std::uint64_t flags = 0)
{
    KeyEvent event;
    event.type = type::systemDefined;
    event.keyCode = evdevKeyCodeBase + evdevCode;
    event.data1 = data1;
    event.flags = flags;
    return event;
}

TEST(InputTranslation, KeyChangesBecomeTheMonitorsEvents)
{
    struct Row {
        const char* name;
        int code;
        int value;
        std::uint64_t flags;
        std::optional<KeyEvent> expected;
    };
    const std::vector<Row> rows = {
        {"F1 down", KEY_F1, 1, 0, key(type::keyDown, 122)},
        {"F1 repeat is a repeated key-down", KEY_F1, 2, 0, key(type::keyDown, 122, 0, 1)},
        {"F1 up", KEY_F1, 0, 0, key(type::keyUp, 122)},
        {"held modifiers are stamped", KEY_A, 1, flag::shift | flag::secondaryFn,
         key(type::keyDown, 0, flag::shift | flag::secondaryFn)},
        {"Mission Control", KEY_SCALE, 1, 0, key(type::keyDown, 160)},
        {"volume up down", KEY_VOLUMEUP, 1, 0, media(KEY_VOLUMEUP, 0x0A00)},
        {"volume up repeat", KEY_VOLUMEUP, 2, 0, media(KEY_VOLUMEUP, 0x0A01)},
        {"volume up up", KEY_VOLUMEUP, 0, 0, media(KEY_VOLUMEUP, 0x0B00)},
        {"mute down", KEY_MUTE, 1, flag::control, media(KEY_MUTE, 0x70A00, flag::control)},
        {"brightness down", KEY_BRIGHTNESSDOWN, 1, 0, media(KEY_BRIGHTNESSDOWN, 0x30A00)},
        {"a key without a virtual code stays out of the virtual range", KEY_F24, 1, 0,
         key(type::keyDown, evdevKeyCodeBase + KEY_F24)},
        {"modifiers are flag changes, not key events", KEY_LEFTSHIFT, 1, 0, std::nullopt},
        {"fn is a modifier", KEY_FN, 1, 0, std::nullopt},
        {"pointer buttons never reach the monitor", BTN_LEFT, 1, 0, std::nullopt},
        {"values other than 0, 1, 2", KEY_F1, 3, 0, std::nullopt},
        {"codes beyond the key range", KEY_CNT, 1, 0, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(keyEventFromEvdev(row.code, row.value, row.flags), row.expected);
    }
}

TEST(InputTranslation, PostedEventsBecomeKeyChanges)
{
    struct Row {
        const char* name;
        KeyEvent event;
        std::optional<EvdevKeyChange> expected;
    };
    const std::vector<Row> rows = {
        {"F5 down", key(type::keyDown, 96), EvdevKeyChange{KEY_F5, 1}},
        {"F5 repeat", key(type::keyDown, 96, 0, 1), EvdevKeyChange{KEY_F5, 2}},
        {"F5 up", key(type::keyUp, 96), EvdevKeyChange{KEY_F5, 0}},
        {"command", key(type::keyDown, 55), EvdevKeyChange{KEY_LEFTMETA, 1}},
        {"sound up", media(0, 0x0A00), EvdevKeyChange{KEY_VOLUMEUP, 1}},
        {"sound up repeat", media(0, 0x0A01), EvdevKeyChange{KEY_VOLUMEUP, 2}},
        {"play up", media(0, 0x100B00), EvdevKeyChange{KEY_PLAYPAUSE, 0}},
        {"illumination toggle", media(0, 0x170A00), EvdevKeyChange{KEY_KBDILLUMTOGGLE, 1}},
        {"a key code with no evdev key", key(type::keyDown, 0x7FFF), std::nullopt},
        {"a key code beyond 16 bits", key(type::keyDown, 0x10000 + KEY_CNT), std::nullopt},
        {"a negative key code", key(type::keyDown, -1), std::nullopt},
        {"a key type with no Linux key (caps lock)", media(0, 0x40A00), std::nullopt},
        {"a key type beyond the list", media(0, 0x180A00), std::nullopt},
        {"a state that is neither down nor up", media(0, 0x0C00), std::nullopt},
        {"a negative data1", media(0, -0x0A00), std::nullopt},
        {"a flags change is never written", key(type::flagsChanged, 56), std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(evdevFromKeyEvent(row.event), row.expected);
    }
}

// Every key of the catalogue can be emitted, and what comes back in from the same evdev key is
// what the monitor registered for it, so an emitted key and a pressed key are the same key.
TEST(InputTranslation, EveryCatalogueKeyRoundTrips)
{
    for (const auto& row : model::keyProps()) {
        SCOPED_TRACE(row.prop.name);
        KeyEvent down;
        if (const auto* code = std::get_if<model::KeyCodeTarget>(&row.prop.target)) {
            down = key(type::keyDown, code->code);
        } else {
            const auto special = std::get<model::SpecialKeyTarget>(row.prop.target).key;
            down.type = type::systemDefined;
            down.data1 =
                engine::systemDefinedData1(model::rawValue(special), engine::keyState::down);
        }
        const auto change = evdevFromKeyEvent(down);
        ASSERT_TRUE(change.has_value());
        EXPECT_EQ(change->value, 1);
        const auto back = keyEventFromEvdev(change->code, 1, 0);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->type, down.type);
        if (down.type == type::systemDefined)
            EXPECT_EQ(back->data1, down.data1);
        else
            EXPECT_EQ(back->keyCode, down.keyCode);
    }
}

TEST(ModifierState, LeftAndRightKeysCountApart)
{
    struct Step {
        int code;
        int value;
        bool isChange;
        std::uint64_t flags;
    };
    const std::vector<Step> steps = {
        {KEY_LEFTSHIFT, 1, true, flag::shift},
        {KEY_RIGHTSHIFT, 1, false, flag::shift},
        {KEY_LEFTSHIFT, 2, false, flag::shift},
        {KEY_LEFTSHIFT, 0, false, flag::shift}, // the right one is still held
        {KEY_FN, 1, true, flag::shift | flag::secondaryFn},
        {KEY_RIGHTSHIFT, 0, true, flag::secondaryFn},
        {KEY_A, 1, false, flag::secondaryFn},
        {KEY_CAPSLOCK, 1, false, flag::secondaryFn},
        {KEY_RIGHTMETA, 1, true, flag::secondaryFn | flag::command},
        {KEY_LEFTALT, 1, true, flag::secondaryFn | flag::command | flag::option},
        {KEY_RIGHTCTRL, 1, true, flag::secondaryFn | flag::command | flag::option | flag::control},
        {KEY_FN, 0, true, flag::command | flag::option | flag::control},
    };
    ModifierState state;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        EXPECT_EQ(state.apply(steps[i].code, steps[i].value), steps[i].isChange);
        EXPECT_EQ(state.flags(), steps[i].flags);
    }
}

TEST(InputTranslation, ModifierChangeCarriesTheNewFlags)
{
    EXPECT_EQ(modifierEvent(KEY_FN, flag::secondaryFn),
              key(type::flagsChanged, 63, flag::secondaryFn));
    EXPECT_EQ(modifierEvent(KEY_RIGHTALT, 0), key(type::flagsChanged, 61, 0));
}

class NullWorld final : public engine::Clock,
                        public engine::MainQueue,
                        public engine::EventPoster,
                        public engine::Workspace {
public:
    std::chrono::nanoseconds now() override { return {}; }
    void async(std::function<void()>) override {}
    void post(const KeyEvent&) override {}
    std::optional<std::string> frontmostApplicationId() override { return std::nullopt; }
    std::optional<std::string> applicationIdAt(const std::string&) override { return std::nullopt; }
    bool hideRunningApplication(const std::string&) override { return false; }
    void openApplication(const std::string&, std::function<void(std::string)>) override {}
};

// The keys of a real keyboard's top row reach the monitor as the events it registered for the
// twelve positions; neighbours that are not on the row pass.
TEST(InputTranslation, TopRowKeysSelectTheirPositions)
{
    NullWorld world;
    engine::KeyboardMonitor monitor(world, model::defaultTopRowKeys());
    monitor.setExecutors(model::defaultKeyMapping(model::defaultTopRowKeys(), {}),
                         {world, world, world});
    struct Row {
        int code;
        engine::Verdict expected;
    };
    const std::vector<Row> rows = {
        {KEY_F1, engine::Verdict::swallow},
        {KEY_F12, engine::Verdict::swallow},
        {KEY_BRIGHTNESSDOWN, engine::Verdict::swallow},
        {KEY_BRIGHTNESSUP, engine::Verdict::swallow},
        {KEY_SCALE, engine::Verdict::swallow},
        {KEY_SEARCH, engine::Verdict::swallow},
        {KEY_PLAYPAUSE, engine::Verdict::swallow},
        {KEY_MUTE, engine::Verdict::swallow},
        {KEY_VOLUMEDOWN, engine::Verdict::swallow},
        {KEY_VOLUMEUP, engine::Verdict::swallow},
        {KEY_F13, engine::Verdict::pass},
        {KEY_A, engine::Verdict::pass},
        {KEY_KBDILLUMUP, engine::Verdict::pass},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        for (const int value : {1, 0}) {
            auto event = keyEventFromEvdev(row.code, value, 0);
            ASSERT_TRUE(event.has_value());
            EXPECT_EQ(monitor.handleEvent(*event), row.expected);
        }
    }
}

} // namespace
} // namespace orvane::platform
