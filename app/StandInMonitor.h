// For tests and screenshot runs only (ORVANE_TEST_ACCESS_FILE): a monitor that grabs nothing and
// says so, so that the desktop program can run on a machine without keyboards or /dev/uinput.
#pragma once

#include "AppPorts.h"

#include "engine/Platform.h"

namespace orvane::app {

class StandInMonitor final : public KeyboardMonitorControl {
public:
    explicit StandInMonitor(engine::Log& log) : m_log(log) {}
    void setKeyMapping(model::KeyMapping) override {}
    void setLongPressDelay(double) override {}
    std::error_code start() override
    {
        m_log.write(engine::Log::Level::info, "KeyboardMonitor",
                    "test stand-in (ORVANE_TEST_ACCESS_FILE): no keyboard is grabbed, no key is "
                    "remapped");
        return {};
    }

private:
    engine::Log& m_log;
};

} // namespace orvane::app
