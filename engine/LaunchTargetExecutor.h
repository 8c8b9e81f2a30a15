// SPDX-License-Identifier: GPL-3.0-or-later
// The objects that carry out a launch target: open or hide an application, or post key events.
#pragma once

#include "Platform.h"

#include "model/CustomKey.h"
#include "model/LaunchTarget.h"

#include <cstdint>
#include <memory>
#include <string>

namespace orvane::engine {

class LaunchTargetExecutor {
public:
    virtual ~LaunchTargetExecutor() = default;
    virtual void press() = 0;     // a short press ended: the whole action once
    virtual void keyDown() = 0;   // fn press began, or a long press began
    virtual void keyRepeat() = 0; // the held key repeats
    virtual void keyUp() = 0;     // the held key was released
};

// What executors need from the system. Every member outlives the executors made with it.
struct ExecutorContext {
    MainQueue& queue;
    EventPoster& poster;
    Workspace& workspace;
    Log* log = nullptr;
};

class AppLaunchTargetExecutor final : public LaunchTargetExecutor {
public:
    AppLaunchTargetExecutor(std::string path, const ExecutorContext& context);
    void press() override;
    void keyDown() override { press(); }
    void keyRepeat() override {}
    void keyUp() override {}

    const std::string& path() const noexcept { return m_path; }

private:
    std::string m_path;
    ExecutorContext m_context;
};

class KeyLaunchTargetExecutor final : public LaunchTargetExecutor {
public:
    KeyLaunchTargetExecutor(std::uint16_t keyCode, const ExecutorContext& context);
    void press() override;
    void keyDown() override;
    void keyRepeat() override;
    void keyUp() override;

    std::uint16_t keyCode() const noexcept { return m_keyCode; }

private:
    std::uint16_t m_keyCode;
    ExecutorContext m_context;
};

// The class name is spelled so deliberately and is fixed; do not correct it.
class SpecialKeyLaunchTargetExectuor final : public LaunchTargetExecutor {
public:
    SpecialKeyLaunchTargetExectuor(model::SpecialKey specialKey, const ExecutorContext& context);
    void press() override;
    void keyDown() override;
    void keyRepeat() override;
    void keyUp() override;

    model::SpecialKey specialKey() const noexcept { return m_specialKey; }

private:
    model::SpecialKey m_specialKey;
    ExecutorContext m_context;
};

class ShortcutLaunchTargetExecutor final : public LaunchTargetExecutor {
public:
    ShortcutLaunchTargetExecutor(model::Shortcut shortcut, const ExecutorContext& context);
    void press() override;
    void keyDown() override { press(); }
    void keyRepeat() override {}
    void keyUp() override {}

    const model::Shortcut& shortcut() const noexcept { return m_shortcut; }

private:
    model::Shortcut m_shortcut;
    ExecutorContext m_context;
};

std::unique_ptr<LaunchTargetExecutor> makeExecutor(const model::LaunchTarget& target,
                                                   const ExecutorContext& context);

} // namespace orvane::engine
