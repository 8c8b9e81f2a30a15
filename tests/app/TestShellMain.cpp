// SPDX-License-Identifier: GPL-3.0-or-later
// orvane-test-shell: the desktop program as `orvane` runs it, real windows, tray, settings and
// single instance included, with a keyboard side that stands in for the real one: access "exists"
// while the file ORVANE_TEST_ACCESS_FILE names does, and no keyboard is ever touched. Built with
// the tests only, for the end-to-end run (tools/app-screenshots.sh) on machines without keyboards
// or /dev/uinput.
#include "app/DesktopProgram.h"

#include <QFileInfo>
#include <QString>

#include <cstdlib>
#include <iostream>

namespace {

using namespace orvane;

class FileAccessCheck final : public app::AccessCheck {
public:
    explicit FileAccessCheck(QString file) : m_file(std::move(file)) {}
    bool isTrusted() override { return QFileInfo::exists(m_file); }

private:
    QString m_file;
};

// Grabs nothing and says so.
class StandInMonitor final : public app::KeyboardMonitorControl {
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

} // namespace

int main(int argc, char** argv)
{
    const char* accessFile = std::getenv("ORVANE_TEST_ACCESS_FILE");
    if (accessFile == nullptr || *accessFile == '\0') {
        std::cerr << "orvane-test-shell: set ORVANE_TEST_ACCESS_FILE to the file whose presence "
                     "stands for access to the keyboards\n";
        return 2;
    }
    return app::runDesktopProgram(
        argc, argv, [accessFile](platform::LinuxSystem&, engine::Log& log) {
            app::KeyboardSide side;
            side.access = std::make_unique<FileAccessCheck>(QString::fromLocal8Bit(accessFile));
            side.monitor = std::make_unique<StandInMonitor>(log);
            return side;
        });
}
