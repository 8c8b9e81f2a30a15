// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl replay: runs the real monitor and executors on a timed script of events and prints,
// as JSON lines, every executor call, every verdict, every posted event and application action.
#include "Commands.h"
#include "EngineOptions.h"
#include "ReplayEngine.h"

#include "model/DefaultKeyMapping.h"

#include <fstream>
#include <iostream>

namespace orvane::ctl {

namespace {

struct ReplayOptions {
    EngineOptions engine;
    std::string scriptFile; // empty: standard input
};

std::optional<ReplayOptions> parseOptions(Args args)
{
    ReplayOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const OptionTaken taken = takeEngineOption(args, i, options.engine, "replay");
        if (taken == OptionTaken::badValue)
            return std::nullopt;
        if (taken == OptionTaken::yes)
            continue;
        if (args[i].starts_with("--") || !options.scriptFile.empty()) {
            std::cerr << "usage: orvanectl replay [--mapping FILE] [--delay SECONDS] [SCRIPT]\n";
            return std::nullopt;
        }
        options.scriptFile = args[i];
    }
    return options;
}

} // namespace

int replayCommand(Args args)
{
    const auto options = parseOptions(args);
    if (!options)
        return exitUsage;

    // Without --mapping or --delay, what is stored; the default mapping stays the plain one
    // (no applications), so that a replay does not depend on the desktop it runs on.
    const auto resolved = resolveEngineOptions(
        options->engine, model::defaultKeyMapping(model::defaultTopRowKeys(), {}), "replay");
    if (!resolved)
        return exitUsage;

    std::ifstream scriptFile;
    if (!options->scriptFile.empty()) {
        scriptFile.open(options->scriptFile);
        if (!scriptFile) {
            std::cerr << "orvanectl replay: cannot read " << options->scriptFile << '\n';
            return exitUsage;
        }
    }
    std::istream& script = options->scriptFile.empty() ? std::cin : scriptFile;

    ReplayEngine engine(model::defaultTopRowKeys(), resolved->mapping, resolved->delay, std::cout);
    return engine.run(script, std::cerr) ? exitOk : exitUsage;
}

} // namespace orvane::ctl
