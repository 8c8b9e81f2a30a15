// SPDX-License-Identifier: GPL-3.0-or-later
// The options of the subcommands that run the engine (replay, run): --mapping FILE and
// --delay SECONDS, falling back to what the user stored.
#pragma once

#include "Commands.h"
#include "StoredSettings.h"

#include "model/LaunchTarget.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvane::ctl {

struct EngineOptions {
    std::string mappingFile;     // empty: the stored keyMapping
    std::optional<double> delay; // absent: the stored longPressDelay
};

enum class OptionTaken { no, yes, badValue };

// Takes args[i] (and its value, advancing i) when it is --mapping or --delay; a bad or missing
// value is reported on standard error as `command`'s.
OptionTaken takeEngineOption(Args args, std::size_t& i, EngineOptions& options,
                             std::string_view command);

// The mapping and delay to run with: the options where given, else the stored settings, else
// `defaultMapping` and the default delay. Nothing, with the reason on standard error, when the
// mapping file cannot be read or decoded.
std::optional<MappingAndDelay> resolveEngineOptions(const EngineOptions& options,
                                                    const model::KeyMapping& defaultMapping,
                                                    std::string_view command);

} // namespace orvane::ctl
