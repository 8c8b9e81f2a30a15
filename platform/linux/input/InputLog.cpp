// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputLog.h"

#include <string_view>

namespace orvane::platform {

namespace {

constexpr std::string_view category = "Input";

} // namespace

void InputLog::write(engine::Log::Level level, const std::string& text) noexcept
{
    try {
        m_log.write(level, category, text);
    } catch (...) {
        // A failing log sink must never cost a key event.
    }
}

} // namespace orvane::platform
