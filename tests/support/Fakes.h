// SPDX-License-Identifier: GPL-3.0-or-later
// Recording fakes of the engine's platform interfaces, shared by the engine tests and benchmarks.
#pragma once

#include "engine/KeyNames.h"
#include "engine/LaunchTargetExecutor.h"
#include "engine/Platform.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace orvane::test {

class FakeClock final : public engine::Clock {
public:
    std::chrono::nanoseconds now() override { return time; }
    void setSeconds(double seconds)
    {
        time = std::chrono::nanoseconds(static_cast<std::int64_t>(seconds * 1e9 + 0.5));
    }
    std::chrono::nanoseconds time{0};
};

class RecordingPoster final : public engine::EventPoster {
public:
    void post(const engine::KeyEvent& event) override { posted.push_back(event); }
    std::vector<engine::KeyEvent> posted;
};

class FakeWorkspace final : public engine::Workspace {
public:
    std::optional<std::string> frontmostApplicationId() override { return frontmost; }
    std::optional<std::string> applicationIdAt(const std::string& path) override
    {
        const auto it = ids.find(path);
        return it == ids.end() ? std::nullopt : std::optional(it->second);
    }
    bool hideRunningApplication(const std::string& id) override
    {
        hidden.push_back(id);
        return true;
    }
    void openApplication(const std::string& path,
                         std::function<void(std::string error)> onError) override
    {
        opened.push_back(path);
        if (openError)
            onError(*openError);
    }

    std::optional<std::string> frontmost;
    std::map<std::string, std::string> ids;
    std::optional<std::string> openError;
    std::vector<std::string> opened;
    std::vector<std::string> hidden;
};

class RecordingLog final : public engine::Log {
public:
    void write(Level level, std::string_view category, std::string_view text) override
    {
        lines.push_back({level, std::string(category), std::string(text)});
    }
    struct Line {
        Level level;
        std::string category;
        std::string text;
    };
    std::vector<Line> lines;
};

class FakeTap final : public engine::EventTap {
public:
    void setEnabled(bool isEnabled) override { enableCalls.push_back(isEnabled); }
    std::vector<bool> enableCalls;
};

// A layout that names letters by a small table; everything else types nothing. Capitals come
// from a table too, else from the ASCII-only fallback.
class FakeLayout final : public engine::KeyboardLayout {
public:
    std::optional<std::string> translate(std::uint16_t keyCode) const override
    {
        const auto it = texts.find(keyCode);
        return it == texts.end() ? std::nullopt : std::optional(it->second);
    }
    std::string upperCase(std::string_view text) const override
    {
        const auto it = capitals.find(std::string(text));
        return it == capitals.end() ? KeyboardLayout::upperCase(text) : it->second;
    }
    std::map<std::uint16_t, std::string> texts;
    std::map<std::string, std::string> capitals;
};

// Records every executor call as "position.role.op" into a shared list.
class RecordingExecutor final : public engine::LaunchTargetExecutor {
public:
    RecordingExecutor(std::vector<std::string>& calls, std::string prefix)
        : m_calls(calls), m_prefix(std::move(prefix))
    {
    }
    void press() override { m_calls.push_back(m_prefix + "press"); }
    void keyDown() override { m_calls.push_back(m_prefix + "keyDown"); }
    void keyRepeat() override { m_calls.push_back(m_prefix + "keyRepeat"); }
    void keyUp() override { m_calls.push_back(m_prefix + "keyUp"); }

private:
    std::vector<std::string>& m_calls;
    std::string m_prefix;
};

} // namespace orvane::test
