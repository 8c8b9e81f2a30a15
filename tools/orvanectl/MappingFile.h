// Loading a key mapping from a JSON file, for the commands that take --mapping.
#pragma once

#include "model/LaunchTarget.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvane::ctl {

// The mapping stored in `path`; nothing, with the reason on standard error, when it cannot be
// read or decoded.
std::optional<model::KeyMapping> loadKeyMapping(const std::string& path, std::string_view command);

} // namespace orvane::ctl
