// orvanectl replay: runs the real monitor and executors on a timed script of events and prints,
// as JSON lines, every executor call, every verdict, every posted event and application action.
#include "Commands.h"
#include "MappingFile.h"
#include "ReplayEngine.h"
#include "StoredSettings.h"

#include "model/DefaultKeyMapping.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace orvane::ctl {

namespace {

struct ReplayOptions {
    std::string mappingFile;
    std::optional<double> delay;
    std::string scriptFile; // empty: standard input
};

std::optional<ReplayOptions> parseOptions(Args args)
{
    ReplayOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if ((arg == "--mapping" || arg == "--delay") && i + 1 >= args.size()) {
            std::cerr << "orvanectl replay: " << arg << " needs a value\n";
            return std::nullopt;
        }
        if (arg == "--mapping") {
            options.mappingFile = args[++i];
        } else if (arg == "--delay") {
            const std::string text(args[++i]);
            auto parsed = parseSeconds(text);
            if (!parsed) {
                std::cerr << "orvanectl replay: --delay wants a number of seconds, not '" << text
                          << "'\n";
                return std::nullopt;
            }
            options.delay = *parsed;
        } else if (arg.starts_with("--") || !options.scriptFile.empty()) {
            std::cerr << "usage: orvanectl replay [--mapping FILE] [--delay SECONDS] [SCRIPT]\n";
            return std::nullopt;
        } else {
            options.scriptFile = arg;
        }
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
    auto [mapping, delay] =
        loadMappingAndDelay(model::defaultKeyMapping(model::defaultTopRowKeys(), {}));
    if (!options->mappingFile.empty()) {
        auto loaded = loadKeyMapping(options->mappingFile, "replay");
        if (!loaded)
            return exitUsage;
        mapping = std::move(*loaded);
    }

    std::ifstream scriptFile;
    if (!options->scriptFile.empty()) {
        scriptFile.open(options->scriptFile);
        if (!scriptFile) {
            std::cerr << "orvanectl replay: cannot read " << options->scriptFile << '\n';
            return exitUsage;
        }
    }
    std::istream& script = options->scriptFile.empty() ? std::cin : scriptFile;

    ReplayEngine engine(model::defaultTopRowKeys(), mapping, options->delay.value_or(delay),
                        std::cout);
    return engine.run(script, std::cerr) ? exitOk : exitUsage;
}

} // namespace orvane::ctl
