// SPDX-License-Identifier: GPL-3.0-or-later
// A settings store in memory that records every write and can be told to fail them.
#pragma once

#include "model/DefaultsStore.h"

#include <map>
#include <string>
#include <vector>

namespace orvane::test {

class MemoryDefaultsStore final : public model::DefaultsStore {
public:
    std::optional<std::string> string(std::string_view key) const override
    {
        const auto it = entries.find(key);
        if (it == entries.end())
            return std::nullopt;
        return it->second;
    }

    std::error_code set(std::string_view key, const std::optional<std::string>& value) override
    {
        writes.push_back({std::string(key), value});
        if (failure)
            return failure;
        if (value)
            entries.insert_or_assign(std::string(key), *value);
        else if (const auto it = entries.find(key); it != entries.end())
            entries.erase(it);
        return {};
    }

    struct Write {
        std::string key;
        std::optional<std::string> value;
    };

    std::map<std::string, std::string, std::less<>> entries;
    std::vector<Write> writes;
    std::error_code failure; // set: every write fails with it and changes nothing
};

} // namespace orvane::test
