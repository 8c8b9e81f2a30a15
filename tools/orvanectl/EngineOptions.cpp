// SPDX-License-Identifier: GPL-3.0-or-later
#include "EngineOptions.h"
#include "ReplayEngine.h"

#include "model/JsonCoding.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace orvane::ctl {

namespace {

std::optional<model::KeyMapping> loadKeyMapping(const std::string& path, std::string_view command)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << "orvanectl " << command << ": cannot read " << path << '\n';
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    auto decoded = model::json::decodeKeyMappingText(text.str());
    if (!decoded) {
        std::cerr << "orvanectl " << command << ": " << path << ": " << decoded.error().message()
                  << '\n';
        return std::nullopt;
    }
    return std::move(decoded).value();
}

} // namespace

OptionTaken takeEngineOption(Args args, std::size_t& i, EngineOptions& options,
                             std::string_view command)
{
    const std::string_view arg = args[i];
    if (arg != "--mapping" && arg != "--delay")
        return OptionTaken::no;
    if (i + 1 >= args.size()) {
        std::cerr << "orvanectl " << command << ": " << arg << " needs a value\n";
        return OptionTaken::badValue;
    }
    const std::string value(args[++i]);
    if (arg == "--mapping") {
        options.mappingFile = value;
        return OptionTaken::yes;
    }
    options.delay = parseSeconds(value);
    if (!options.delay) {
        std::cerr << "orvanectl " << command << ": --delay wants a number of seconds, not '"
                  << value << "'\n";
        return OptionTaken::badValue;
    }
    return OptionTaken::yes;
}

std::optional<MappingAndDelay> resolveEngineOptions(const EngineOptions& options,
                                                    const model::KeyMapping& defaultMapping,
                                                    std::string_view command)
{
    MappingAndDelay resolved = loadMappingAndDelay(defaultMapping);
    if (!options.mappingFile.empty()) {
        auto loaded = loadKeyMapping(options.mappingFile, command);
        if (!loaded)
            return std::nullopt;
        resolved.mapping = std::move(*loaded);
    }
    resolved.delay = options.delay.value_or(resolved.delay);
    return resolved;
}

} // namespace orvane::ctl
