// SPDX-License-Identifier: GPL-3.0-or-later
// The input thread's log lines, all under one category.
#pragma once

#include "engine/Platform.h"

#include <string>

namespace orvane::platform {

class InputLog {
public:
    explicit InputLog(engine::Log& log) noexcept : m_log(log) {}

    // Never throws: the key path logs too.
    void write(engine::Log::Level level, const std::string& text) noexcept;
    void debug(const std::string& text) noexcept { write(engine::Log::Level::debug, text); }
    void info(const std::string& text) noexcept { write(engine::Log::Level::info, text); }
    void error(const std::string& text) noexcept { write(engine::Log::Level::error, text); }

private:
    engine::Log& m_log;
};

} // namespace orvane::platform
