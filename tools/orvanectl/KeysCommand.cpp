// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl keys: case name, display name and native target of every key, in catalogue order.
#include "Commands.h"

#include "model/KeyProps.h"

#include <iostream>

namespace orvane::ctl {

int keysCommand(Args args)
{
    if (!args.empty()) {
        std::cerr << "usage: orvanectl keys\n";
        return exitUsage;
    }
    for (const auto& row : model::keyProps()) {
        std::cout << model::caseName(row.key) << '\t' << row.prop.name << '\t';
        if (const auto* key = std::get_if<model::KeyCodeTarget>(&row.prop.target))
            std::cout << "key " << key->code << '\n';
        else
            std::cout << "special "
                      << model::rawValue(std::get<model::SpecialKeyTarget>(row.prop.target).key)
                      << '\n';
    }
    return exitOk;
}

} // namespace orvane::ctl
