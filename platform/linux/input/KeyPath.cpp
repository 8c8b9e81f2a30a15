// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyPath.h"

#include "MediaKeyTable.h"
#include "platform/linux/KeyCodeTable.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <system_error>

namespace orvane::platform {

namespace {

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

EventTime eventTime(const Keyboard& keyboard, const input_event& event) noexcept
{
    if (!keyboard.input->hasMonotonicTime())
        return std::nullopt;
    return std::chrono::seconds(event.input_event_sec) +
           std::chrono::microseconds(event.input_event_usec);
}

std::chrono::nanoseconds monotonicNow() noexcept
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// The evdev code of a catalogue key, -1 for none.
int evdevCode(model::CustomKey key) noexcept
{
    const model::KeyMapTarget& target = model::keyProp(key).target;
    std::optional<int> code;
    if (const auto* plain = std::get_if<model::KeyCodeTarget>(&target))
        code = evdevFromMac(plain->code);
    else
        code = evdevFromSpecialKey(std::get<model::SpecialKeyTarget>(target).key);
    return code.value_or(-1);
}

// A key that lies at no position of its keyboard's row: the monitor hears of it (it ends a press
// in progress) under a code no position has, and lets it pass.
engine::KeyEvent unplacedEvent(int evdev, int value, std::uint64_t flags) noexcept
{
    engine::KeyEvent event;
    event.type = value == 0 ? engine::eventType::keyUp : engine::eventType::keyDown;
    event.autorepeat = value == 2 ? 1 : 0;
    event.flags = flags;
    event.keyCode = evdevKeyCodeBase + evdev;
    return event;
}

} // namespace

KeyPath::KeyPath(engine::Workspace& workspace, engine::Log& log, const model::TopRow& topRow,
                 KeyboardSet& keyboards, UinputKeyboard& output, RunState& run)
    : m_keyboards(keyboards), m_output(output), m_run(run),
      m_log(log), m_context{m_tasks, *this, workspace, &log}, m_monitor(m_clock, topRow, &log)
{
    for (std::size_t i = 0; i < m_rowCodes.size(); ++i) {
        m_rowCodes[i] = evdevCode(topRow[i]);
        // Where the machine's row key is the position's own function key, an action of that key
        // is the function key a long press promises, not the keyboard's own key.
        m_standsForOwnKey[i] = topRow[i] != model::functionKeys()[i];
    }
}

void KeyPath::start(const model::KeyMapping& mapping, double longPressDelay)
{
    setKeyMapping(mapping);
    setLongPressDelay(longPressDelay);
    m_monitor.start(*this);
}

void KeyPath::setKeyMapping(const model::KeyMapping& mapping)
{
    m_monitor.setExecutors(mapping, m_context);
}

void KeyPath::setLongPressDelay(double seconds)
{
    m_monitor.setLongPressDelay(seconds);
}

void KeyPath::readKeyboards(std::span<const std::uint64_t> ids)
{
    m_ready.clear();
    for (const std::uint64_t id : ids) {
        Keyboard* keyboard = m_keyboards.find(id);
        if (keyboard == nullptr)
            continue;
        keyboard->input->markReadable();
        if (pullFrame(*keyboard))
            m_ready.push_back(keyboard);
    }
    handleFrames(m_ready);
}

[[gnu::hot]] void KeyPath::readKeyboard(Keyboard& keyboard)
{
    m_ready.clear();
    if (pullFrame(keyboard)) // when the keyboard is gone, this removes it
        m_ready.push_back(&keyboard);
    handleFrames(m_ready);
}

// Collects the keyboard's events up to the end of a frame; false when none is complete yet.
[[gnu::hot]] bool KeyPath::pullFrame(Keyboard& keyboard)
{
    input_event event{};
    for (;;) {
        switch (keyboard.input->next(event)) {
        case InputDevice::ReadStatus::event:
            keyboard.pulled.push_back(event);
            if (event.type == EV_SYN && event.code == SYN_REPORT)
                return true;
            break;
        case InputDevice::ReadStatus::none:
            return false; // an unfinished frame waits in `pulled` for the rest
        case InputDevice::ReadStatus::dropped:
            // The kernel lost events: the unfinished frame is void, and the resync that follows
            // reports what changed meanwhile (keys released are released on the output).
            keyboard.pulled.clear();
            keyboard.frame.clear();
            keyboard.isFrameSwallowed = false;
            m_log.info("events lost on " + keyboard.name + "; resynchronising");
            break;
        case InputDevice::ReadStatus::gone:
            keyboard.pulled.clear();
            removeKeyboard(keyboard); // `keyboard` is no more
            return false;
        }
    }
}

[[gnu::hot]] void KeyPath::handleFrames(std::vector<Keyboard*>& ready)
{
    // Frames of several keyboards that wait together are handled in the order they were made, so
    // that fn or Shift held on one keyboard counts for a key of another even when Orvane is late.
    const auto frameTime = [](const Keyboard* keyboard) {
        const input_event& end = keyboard->pulled.back();
        return std::pair{end.input_event_sec, end.input_event_usec};
    };
    while (!ready.empty() && m_run.isRunning()) {
        const auto earliest = ready.size() == 1
                                  ? ready.begin()
                                  : std::min_element(ready.begin(), ready.end(),
                                                     [&](const Keyboard* a, const Keyboard* b) {
                                                         return frameTime(a) < frameTime(b);
                                                     });
        Keyboard& keyboard = **earliest;
        // Handling a frame never reads a keyboard nor removes one, so `pulled` stays as it is.
        for (const input_event& event : keyboard.pulled) {
            handleEvent(keyboard, event);
            if (!m_run.isRunning())
                return;
        }
        keyboard.pulled.clear();
        if (keyboard.isGrabFailed) { // another program holds it; leave it to that one
            m_keyboards.forget(keyboard.id);
            ready.erase(earliest);
        } else if (!pullFrame(keyboard)) {
            ready.erase(earliest);
        }
    }
}

[[gnu::hot]] void KeyPath::handleEvent(Keyboard& keyboard, const input_event& event)
{
    if (keyboard.isWaitingForRelease) {
        // Not grabbed yet: the desktop reads this event itself. Grab at the end of the frame
        // that leaves no key held.
        if (event.type == EV_SYN && event.code == SYN_REPORT &&
            keyboard.input->keysDown().empty()) {
            keyboard.isGrabFailed = !m_keyboards.grab(keyboard);
        }
        return;
    }
    switch (event.type) {
    case EV_SYN:
        if (event.code == SYN_REPORT)
            flushFrame(keyboard, eventTime(keyboard, event));
        break;
    case EV_KEY:
        handleKey(keyboard, event, eventTime(keyboard, event));
        break;
    case EV_MSC:
        if (event.code == MSC_SCAN)
            keyboard.scan = static_cast<std::uint32_t>(event.value);
        keyboard.frame.push_back(event);
        break;
    default:
        break; // LED and repeat reports describe the keyboard itself, not input
    }
}

[[gnu::hot]] void KeyPath::handleKey(Keyboard& keyboard, const input_event& event, EventTime at)
{
    const int code = event.code;
    const int value = event.value;
    const std::uint64_t modifier = modifierFlag(code);
    if (value == 1 && keyboard.input->isKeyDown(KEY_BACKSPACE) &&
        keyboard.input->isKeyDown(KEY_ESC) && keyboard.input->isKeyDown(KEY_ENTER)) {
        m_log.info("panic chord: releasing every grab and every key");
        m_run.finish(RunState::StopReason::panicChord);
        return;
    }
    bool isPassed = true;
    if (modifier == 0 && !isButton(code)) {
        if (value != 0)
            m_pressedKey = KeyOwner{keyboard.id, code};
        else
            keyboard.releasedInFrame.push_back(code);
    }
    if (modifier != 0) {
        if (keyboard.modifiers.apply(code, value)) {
            engine::KeyEvent changed = modifierEvent(code, modifierFlags());
            deliver(changed, at); // always passed: the modifier key goes out as it came
        }
    } else if (auto translated = placedEvent(keyboard, code, value)) {
        isPassed = deliver(*translated, at) == engine::Verdict::pass;
        // A key whose press went out is released there, whatever the monitor makes of the
        // release; otherwise it would stay held on the output.
        if (!isPassed && value == 0 && keyboard.passedDown.test(event.code))
            isPassed = true;
    }
    if (!isPassed) {
        keyboard.isFrameSwallowed = true;
        return;
    }
    keyboard.frame.push_back(event);
    if (value != 2 && event.code < KEY_CNT)
        keyboard.passedDown.set(event.code, value != 0);
}

// The event the monitor sees for a key: at a position of its keyboard's row, the machine's row key
// there; at none, a key of no position; otherwise the key as it is.
[[gnu::hot]] std::optional<engine::KeyEvent> KeyPath::placedEvent(Keyboard& keyboard, int code,
                                                                  int value) noexcept
{
    if (code < 0 || code >= KEY_CNT || value < 0 || value > 2 || isButton(code))
        return std::nullopt;
    auto& placedAt = keyboard.placedAt[static_cast<std::size_t>(code)];
    if (value == 1)
        placedAt = keyboard.row.place(std::exchange(keyboard.scan, std::nullopt), code);
    const std::int8_t position = placedAt;
    if (value == 0)
        placedAt = KeyboardRow::byKeyCode;
    if (position == KeyboardRow::unplaced)
        return unplacedEvent(code, value, modifierFlags());
    if (position >= 0) {
        const auto index = static_cast<std::size_t>(static_cast<std::uint8_t>(position));
        if (m_rowCodes[index] >= 0) {
            if (m_standsForOwnKey[index])
                m_placedPress = PlacedPress{index, code};
            return keyEventFromEvdev(m_rowCodes[index], value, modifierFlags());
        }
    }
    return keyEventFromEvdev(code, value, modifierFlags());
}

[[gnu::hot]] engine::Verdict KeyPath::deliver(engine::KeyEvent& event, EventTime at) noexcept
{
    const EventClock::Hold held(m_clock, at);
    return monitorVerdict(event);
}

[[gnu::hot]] engine::Verdict KeyPath::monitorVerdict(engine::KeyEvent& event) noexcept
{
    return m_isTapEnabled ? m_monitor.handleEvent(event) : engine::Verdict::pass;
}

[[gnu::hot]] void KeyPath::flushFrame(Keyboard& keyboard, EventTime at)
{
    if (keyboard.isFrameSwallowed) // the scan code of a swallowed key would tell of it
        std::erase_if(keyboard.frame,
                      [](const input_event& event) { return event.type == EV_MSC; });
    if (!keyboard.frame.empty() && !m_output.writeFrame(keyboard.frame))
        outputFailed();
    keyboard.frame.clear();
    keyboard.isFrameSwallowed = false;
    keyboard.scan.reset();
    {
        // The executors post from their queue, and engine::EventPoster takes no time: what they
        // post reaches the monitor at the time of the frame that set them off.
        const EventClock::Hold held(m_clock, at);
        m_tasks.drain();
    }
    m_pressedKey.reset();
    m_placedPress.reset();
    releasePostedKeys(keyboard);
}

[[gnu::hot]] void KeyPath::releasePostedKeys(Keyboard& keyboard)
{
    // An executor's key is normally released by the executor when its press ends. When another
    // key ended the press first (the monitor then lets the release pass as an ordinary key), the
    // executor never hears of the release: the key it holds is let go here, with the physical key.
    for (const int code : keyboard.releasedInFrame) {
        for (auto it = m_postedOwners.begin(); it != m_postedOwners.end();) {
            if (it->second == KeyOwner{keyboard.id, code}) {
                if (m_output.isHeld(it->first))
                    m_output.writeKey(it->first, 0);
                it = m_postedOwners.erase(it);
            } else {
                ++it;
            }
        }
    }
    keyboard.releasedInFrame.clear();
}

[[gnu::hot]] void KeyPath::post(const engine::KeyEvent& posted)
{
    // Orvane's own events go through the monitor like every posted event, then out, each in a
    // frame of its own.
    engine::KeyEvent event = posted;
    if (monitorVerdict(event) == engine::Verdict::swallow)
        return;
    auto change = evdevFromKeyEvent(event);
    if (!change)
        return;
    // The machine's row key at the position just pressed is that key's own function on this
    // keyboard: what the keyboard itself sent there, in the catalogue or not.
    if (m_placedPress && change->code == m_rowCodes[m_placedPress->position])
        change->code = m_placedPress->ownCode;
    if (change->value == 1 && m_pressedKey)
        m_postedOwners[change->code] = *m_pressedKey;
    else if (change->value == 0)
        m_postedOwners.erase(change->code);
    if (!m_output.writeKey(change->code, change->value))
        outputFailed();
}

void KeyPath::outputFailed() noexcept
{
    m_log.error("the output keyboard failed: " + lastError().message());
    m_run.finish(RunState::StopReason::outputLost);
}

[[gnu::hot]] std::uint64_t KeyPath::modifierFlags() const noexcept
{
    std::uint64_t flags = 0;
    for (const auto& [id, keyboard] : m_keyboards)
        flags |= keyboard.modifiers.flags();
    return flags;
}

void KeyPath::removeKeyboard(Keyboard& keyboard)
{
    if (!keyboard.isWaitingForRelease) {
        // The keys it held are released through the usual path, so a press in progress ends as a
        // release would end it (a long press releases what it posted); then whatever it still
        // holds on the output is let go. No event tells the time of these releases: now.
        keyboard.frame.clear();
        keyboard.isFrameSwallowed = false;
        for (const int code : keyboard.input->keysDown()) {
            input_event release{};
            release.type = EV_KEY;
            release.code = static_cast<std::uint16_t>(code);
            handleKey(keyboard, release, std::nullopt);
        }
        flushFrame(keyboard, std::nullopt);
        for (std::size_t code = 0; code < keyboard.passedDown.size(); ++code) {
            if (keyboard.passedDown.test(code) && m_output.isHeld(static_cast<int>(code)))
                m_output.writeKey(static_cast<int>(code), 0);
        }
    }
    m_keyboards.remove(keyboard.id);
}

[[gnu::hot]] std::chrono::nanoseconds EventClock::now()
{
    return m_held ? *m_held : monotonicNow();
}

} // namespace orvane::platform
