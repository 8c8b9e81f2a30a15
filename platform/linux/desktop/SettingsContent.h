// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a settings file's text entry by entry, so that damage in one entry costs only that entry.
#pragma once

#include "model/JsonCoding.h"

#include <string_view>

namespace orvane::platform {

// What a settings file's text holds: its readable entries in file order (a repeated name keeps
// its last value) and whether anything in it could not be read. Text that is not a JSON object
// has no entries; damage after some entries (a cut-off file) keeps the entries before it.
struct SettingsContent {
    model::json::Json entries = model::json::Json::object();
    bool isDamaged = false;
};

SettingsContent readSettingsText(std::string_view text);

} // namespace orvane::platform
