// SPDX-License-Identifier: GPL-3.0-or-later
// orvane: the desktop program. Its keyboard side is the real one: access as `orvanectl doctor`
// decides it, and the input thread that grabs the keyboards.
#include "DesktopProgram.h"
#include "InputBackendMonitor.h"
#include "LinuxAccessCheck.h"

#include "platform/linux/system/LinuxSystem.h"

#include <QCoreApplication>

using namespace orvane;

int main(int argc, char** argv)
{
    return app::runDesktopProgram(argc, argv, [](platform::LinuxSystem& system, engine::Log& log) {
        app::KeyboardSide side;
        side.access = std::make_unique<app::LinuxAccessCheck>();
        side.monitor = std::make_unique<app::InputBackendMonitor>(
            system.workspace(log), log, system.topRow(),
            [&log](app::InputBackendMonitor::StopReason reason) {
                const bool isPanic = reason == app::InputBackendMonitor::StopReason::panicChord;
                log.write(engine::Log::Level::error, "KeyboardMonitor",
                          isPanic ? "the panic chord released the keyboards; Orvane ends"
                                  : "the keyboards were lost; Orvane ends");
                QCoreApplication::exit(isPanic ? 0 : 1);
            });
        return side;
    });
}
