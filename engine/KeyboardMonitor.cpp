// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyboardMonitor.h"

#include <cmath>
#include <limits>
#include <string>

namespace orvane::engine {

namespace {

constexpr std::uint64_t heldModifiers =
    eventFlag::option | eventFlag::command | eventFlag::control | eventFlag::shift;

// Orvane's own spotlight, focus and dictation events: the system reads fn or a stray flag on them
// as a different request, so their flags are put right on the way out.
constexpr std::int64_t spotlightCode = model::virtualKey::spotlight;
constexpr std::int64_t focusCode = model::virtualKey::focus;
constexpr std::int64_t dictationCode = model::virtualKey::dictation;

constexpr std::string_view category = "KeyboardMonitor";

} // namespace

KeyboardMonitor::KeyboardMonitor(Clock& clock, const model::TopRow& topRow, Log* log)
    : m_clock(clock), m_log(log)
{
    m_eventMapping.reserve(64);
    registerKeys(model::functionKeys());
    registerKeys(topRow);
}

void KeyboardMonitor::registerKeys(std::span<const model::CustomKey> keys)
{
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto position = static_cast<std::int64_t>(i);
        const model::KeyMapTarget& target = model::keyProp(keys[i]).target;
        if (const auto* key = std::get_if<model::KeyCodeTarget>(&target)) {
            m_eventMapping[eventKey(eventType::keyDown, key->code)] = {position, true};
            m_eventMapping[eventKey(eventType::keyUp, key->code)] = {position, false};
        } else {
            const auto type = model::rawValue(std::get<model::SpecialKeyTarget>(target).key);
            const auto code = [type](std::uint32_t state) {
                return static_cast<std::uint32_t>(systemDefinedData1(type, state));
            };
            m_eventMapping[eventKey(eventType::systemDefined, code(keyState::down))] = {position,
                                                                                        true};
            m_eventMapping[eventKey(eventType::systemDefined, code(keyState::repeat))] = {position,
                                                                                          true};
            m_eventMapping[eventKey(eventType::systemDefined, code(keyState::up))] = {position,
                                                                                      false};
        }
    }
}

void KeyboardMonitor::setExecutors(const model::KeyMapping& mapping, const ExecutorContext& context)
{
    std::vector<KeyExecutorConfig> executors;
    executors.reserve(mapping.size());
    for (const auto& config : mapping) {
        executors.push_back({makeExecutor(config.shortPress, context),
                             makeExecutor(config.longPress, context),
                             makeExecutor(config.fn, context)});
    }
    setExecutors(std::move(executors));
}

void KeyboardMonitor::setExecutors(std::vector<KeyExecutorConfig> executors)
{
    m_keyExecutors = std::move(executors);
}

void KeyboardMonitor::setLongPressDelay(double seconds) noexcept
{
    constexpr double maxSeconds = 1e9; // far beyond any real hold, well inside the range
    if (!std::isfinite(seconds) || std::fabs(seconds) > maxSeconds)
        return;
    m_longPressDelay = std::chrono::nanoseconds(std::llround(seconds * 1e9));
}

void KeyboardMonitor::start(EventTap& tap) noexcept
{
    m_eventTap = &tap;
    tap.setEnabled(true);
}

[[gnu::hot]] Verdict KeyboardMonitor::handleEvent(KeyEvent& event) noexcept
{
    const std::chrono::nanoseconds now = m_clock.now();
    switch (event.type) {
    case eventType::flagsChanged:
        m_isFnDown = (event.flags & eventFlag::secondaryFn) != 0;
        return Verdict::pass;
    case eventType::tapDisabledByTimeout:
        if (m_eventTap != nullptr)
            m_eventTap->setEnabled(true);
        return Verdict::pass;
    case eventType::tapDisabledByUserInput:
        return Verdict::pass;
    case eventType::keyDown:
    case eventType::keyUp:
    case eventType::systemDefined:
        return handleKeyEvent(event, now);
    default:
        if (m_log != nullptr)
            log(Log::Level::info, "Unexpected event: " + std::to_string(event.type));
        return Verdict::pass;
    }
}

[[gnu::hot]] Verdict KeyboardMonitor::handleKeyEvent(KeyEvent& event,
                                                     std::chrono::nanoseconds now) noexcept
{
    const std::int64_t keyCode = event.keyCode;
    if (event.userData == postedEventMarker) {
        if (m_log != nullptr)
            log(Log::Level::debug, ">>> skip simulated event");
        if (keyCode == spotlightCode || keyCode == focusCode)
            event.flags &= ~eventFlag::secondaryFn;
        else if (keyCode == dictationCode)
            event.flags = eventFlag::nonCoalesced;
        return Verdict::pass;
    }
    if (event.sourcePid != 0) {
        if (m_log != nullptr)
            log(Log::Level::debug, ">>> skip other app simulated event");
        return Verdict::pass;
    }
    if ((event.flags & heldModifiers) != 0)
        return Verdict::pass;

    const std::int64_t code = event.type == eventType::systemDefined ? event.data1 : keyCode;
    // A code no mapping entry can hold belongs to no position.
    const bool fits = code >= 0 && code <= std::numeric_limits<std::uint32_t>::max();
    const auto found =
        fits ? m_eventMapping.find(eventKey(event.type, static_cast<std::uint32_t>(code)))
             : m_eventMapping.end();
    if (found == m_eventMapping.end()) {
        m_keyDownState.reset();
        return Verdict::pass;
    }
    const Position position = found->second;
    // Before the first mapping arrives, or with a short stored mapping, the key keeps its own
    // meaning rather than vanishing.
    if (position.index >= static_cast<std::int64_t>(m_keyExecutors.size()))
        return Verdict::pass;
    return runPress(m_keyExecutors[static_cast<std::size_t>(position.index)], position.isDown,
                    keyCode, now);
}

[[gnu::hot]] Verdict KeyboardMonitor::runPress(const KeyExecutorConfig& executors, bool isDown,
                                               std::int64_t keyCode,
                                               std::chrono::nanoseconds now) noexcept
{
    const bool isSameKey = m_keyDownState && m_keyDownState->keyCode == keyCode;
    if (m_isFnDown) {
        if (isDown) {
            if (isSameKey) {
                executors.fn->keyRepeat();
            } else {
                executors.fn->keyDown();
                m_keyDownState = KeyDownState{keyCode, now, false};
            }
            return Verdict::swallow;
        }
        if (!isSameKey)
            return Verdict::pass;
        executors.fn->keyUp();
        m_keyDownState.reset();
        return Verdict::swallow;
    }

    if (isDown) {
        if (!isSameKey) {
            m_keyDownState = KeyDownState{keyCode, now, false};
        } else if (now - m_keyDownState->timestamp > m_longPressDelay) {
            if (m_keyDownState->longPressRepeat) {
                executors.longPress->keyRepeat();
            } else {
                executors.longPress->keyDown();
                m_keyDownState->longPressRepeat = true;
            }
        }
        return Verdict::swallow;
    }
    if (!isSameKey)
        return Verdict::pass;
    if (now - m_keyDownState->timestamp >= m_longPressDelay)
        executors.longPress->keyUp();
    else
        executors.shortPress->press();
    m_keyDownState.reset();
    return Verdict::swallow;
}

void KeyboardMonitor::log(Log::Level level, std::string_view text) noexcept
{
    try {
        m_log->write(level, category, text);
    } catch (...) {
        // A failing log sink must never cost a key event.
    }
}

} // namespace orvane::engine
