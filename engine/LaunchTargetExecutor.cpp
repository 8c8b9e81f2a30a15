// SPDX-License-Identifier: GPL-3.0-or-later
#include "LaunchTargetExecutor.h"

#include "model/KeyProps.h"

#include <array>

namespace orvane::engine {

namespace {

namespace vk = model::virtualKey;

constexpr std::int64_t dictationKeyCode = vk::dictation; // dictation has no repeat of its own

// Stamps the marker and posts from the queue, never from inside the event callback.
void postEvent(const ExecutorContext& context, KeyEvent event)
{
    EventPoster* poster = &context.poster;
    context.queue.async([poster, event]() mutable {
        event.userData = postedEventMarker;
        poster->post(event);
    });
}

KeyEvent keyboardEvent(std::int64_t keyCode, bool isDown)
{
    KeyEvent event;
    event.type = isDown ? eventType::keyDown : eventType::keyUp;
    event.keyCode = keyCode;
    return event;
}

KeyEvent systemDefinedEvent(model::SpecialKey key, std::uint32_t state)
{
    KeyEvent event;
    event.type = eventType::systemDefined;
    event.flags = eventFlag::nonCoalesced;
    event.data1 = systemDefinedData1(model::rawValue(key), state);
    return event;
}

} // namespace

AppLaunchTargetExecutor::AppLaunchTargetExecutor(std::string path, const ExecutorContext& context)
    : m_path(std::move(path)), m_context(context)
{
}

void AppLaunchTargetExecutor::press()
{
    // Open it, or hide it when it is already in front: one key toggles an application.
    const ExecutorContext context = m_context;
    m_context.queue.async([context, path = m_path] {
        Workspace& workspace = context.workspace;
        const auto frontmost = workspace.frontmostApplicationId();
        const auto target = frontmost ? workspace.applicationIdAt(path) : std::nullopt;
        if (frontmost && target && *frontmost == *target) {
            workspace.hideRunningApplication(*target);
            return;
        }
        Log* log = context.log;
        workspace.openApplication(path, [log](const std::string& error) {
            if (log != nullptr)
                log->write(Log::Level::error, "Workspace", "ERROR: " + error);
        });
    });
}

KeyLaunchTargetExecutor::KeyLaunchTargetExecutor(std::uint16_t keyCode,
                                                 const ExecutorContext& context)
    : m_keyCode(keyCode), m_context(context)
{
}

void KeyLaunchTargetExecutor::press()
{
    postEvent(m_context, keyboardEvent(m_keyCode, true));
    postEvent(m_context, keyboardEvent(m_keyCode, false));
}

void KeyLaunchTargetExecutor::keyDown()
{
    postEvent(m_context, keyboardEvent(m_keyCode, true));
}

void KeyLaunchTargetExecutor::keyRepeat()
{
    if (m_keyCode == dictationKeyCode)
        return;
    KeyEvent event = keyboardEvent(m_keyCode, true);
    event.autorepeat = 1;
    postEvent(m_context, event);
}

void KeyLaunchTargetExecutor::keyUp()
{
    postEvent(m_context, keyboardEvent(m_keyCode, false));
}

SpecialKeyLaunchTargetExectuor::SpecialKeyLaunchTargetExectuor(model::SpecialKey specialKey,
                                                               const ExecutorContext& context)
    : m_specialKey(specialKey), m_context(context)
{
}

void SpecialKeyLaunchTargetExectuor::press()
{
    keyDown();
    keyUp();
}

void SpecialKeyLaunchTargetExectuor::keyDown()
{
    postEvent(m_context, systemDefinedEvent(m_specialKey, keyState::down));
}

void SpecialKeyLaunchTargetExectuor::keyRepeat()
{
    postEvent(m_context, systemDefinedEvent(m_specialKey, keyState::repeat));
}

void SpecialKeyLaunchTargetExectuor::keyUp()
{
    postEvent(m_context, systemDefinedEvent(m_specialKey, keyState::up));
}

ShortcutLaunchTargetExecutor::ShortcutLaunchTargetExecutor(model::Shortcut shortcut,
                                                           const ExecutorContext& context)
    : m_shortcut(shortcut), m_context(context)
{
}

void ShortcutLaunchTargetExecutor::press()
{
    // A key code that no event can carry is not posted at all, modifiers included, so that a
    // damaged stored shortcut never leaves a modifier half-pressed.
    const std::int64_t key = m_shortcut.key.rawValue;
    if (key < 0 || key > 0xFFFF)
        return;

    struct Step {
        std::int64_t keyCode;
        std::uint64_t flag;
    };
    constexpr std::array<Step, 4> modifierSteps{{{vk::leftControl, eventFlag::control},
                                                 {vk::leftOption, eventFlag::option},
                                                 {vk::leftShift, eventFlag::shift},
                                                 {vk::leftCommand, eventFlag::command}}};
    std::array<Step, 5> steps{};
    std::size_t count = 0;
    for (const Step& step : modifierSteps) {
        if ((m_shortcut.modifiers & step.flag) != 0)
            steps[count++] = step;
    }
    steps[count++] = {key, 0};

    EventPoster* poster = &m_context.poster;
    auto post = [this, poster](Step step, bool isDown, std::uint64_t flags) {
        m_context.queue.async([poster, step, isDown, flags] {
            KeyEvent event = keyboardEvent(step.keyCode, isDown);
            event.flags = flags; // zero keeps the flags a new event starts with
            event.userData = postedEventMarker;
            poster->post(event);
        });
    };
    std::uint64_t flags = 0;
    for (std::size_t i = 0; i < count; ++i) {
        flags |= steps[i].flag;
        post(steps[i], true, flags);
    }
    for (std::size_t i = count; i-- > 0;) {
        flags &= ~steps[i].flag;
        post(steps[i], false, flags);
    }
}

std::unique_ptr<LaunchTargetExecutor> makeExecutor(const model::LaunchTarget& target,
                                                   const ExecutorContext& context)
{
    using namespace model;
    if (const auto* app = std::get_if<AppTarget>(&target))
        return std::make_unique<AppLaunchTargetExecutor>(app->path, context);
    if (const auto* key = std::get_if<KeyTarget>(&target)) {
        const KeyMapTarget& native = keyProp(key->key).target;
        if (const auto* special = std::get_if<SpecialKeyTarget>(&native))
            return std::make_unique<SpecialKeyLaunchTargetExectuor>(special->key, context);
        return std::make_unique<KeyLaunchTargetExecutor>(std::get<KeyCodeTarget>(native).code,
                                                         context);
    }
    return std::make_unique<ShortcutLaunchTargetExecutor>(std::get<ShortcutTarget>(target).shortcut,
                                                          context);
}

} // namespace orvane::engine
