// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl: see what Orvane knows and does, without the desktop program.
#include "Commands.h"

#include <array>
#include <iostream>
#include <string_view>
#include <vector>

namespace {

struct Command {
    std::string_view name;
    int (*run)(orvane::ctl::Args);
    std::string_view usage;
};

constexpr std::array commands{
    Command{"keys", orvane::ctl::keysCommand,
            "keys                 list the 38 keys in catalogue order"},
    Command{"replay", orvane::ctl::replayCommand,
            "replay [--mapping FILE] [--delay SECONDS] [SCRIPT]\n"
            "                       run the engine on a timed script of events"},
    Command{"settings", orvane::ctl::settingsCommand,
            "settings show | get KEY | set KEY JSON | raw KEY [TEXT]\n"
            "                       read and change the stored settings"},
    Command{"favorites", orvane::ctl::favoritesCommand,
            "favorites            the favourite applications, one .desktop path per line"},
    Command{
        "toprow", orvane::ctl::topRowCommand,
        "toprow [learn|forget] [--include-virtual]\n"
        "                       the machine's twelve top-row keys, one per line, and where each\n"
        "                       keyboard's row comes from; learn: press the row's keys to teach\n"
        "                       it; forget: drop the taught rows of the keyboards attached now"},
    Command{"login", orvane::ctl::loginCommand,
            "login [on|off]       whether Orvane starts at login; switches it"},
    Command{"keyname", orvane::ctl::keyNameCommand,
            "keyname [--layout XKB-LAYOUT] CODE...\n"
            "                       the names of virtual key codes in the keyboard layout"},
    Command{"run", orvane::ctl::runCommand,
            "run [--mapping FILE] [--delay SECONDS] [--include-virtual] [--device NAME]\n"
            "    [--realtime] [--verbose]\n"
            "                       grab the keyboards and remap them until SIGINT or SIGTERM"},
    Command{
        "doctor", orvane::ctl::doctorCommand,
        "doctor [--include-virtual]\n"
        "                       what Orvane would grab, and whether it has the access it needs"},
};

void printUsage(std::ostream& out)
{
    out << "usage: orvanectl COMMAND [ARGS]\n\ncommands:\n";
    for (const auto& command : commands)
        out << "  " << command.usage << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        printUsage(args.empty() ? std::cerr : std::cout);
        return args.empty() ? orvane::ctl::exitUsage : orvane::ctl::exitOk;
    }
    for (const auto& command : commands) {
        if (command.name == args[0])
            return command.run(orvane::ctl::Args(args).subspan(1));
    }
    std::cerr << "orvanectl: unknown command '" << args[0] << "'\n";
    printUsage(std::cerr);
    return orvane::ctl::exitUsage;
}
