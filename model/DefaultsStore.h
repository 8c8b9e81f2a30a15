// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user key-value store that holds Orvane's settings as strings.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace orvane::model {

class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;

    // The string stored under `key`, or nothing. Reading never changes what is stored.
    virtual std::optional<std::string> string(std::string_view key) const = 0;

    // Stores `value` under `key`, or removes the entry when `value` is absent. The other entries
    // are kept whatever happens; an error means the store is as it was before the call.
    virtual std::error_code set(std::string_view key, const std::optional<std::string>& value) = 0;
};

} // namespace orvane::model
