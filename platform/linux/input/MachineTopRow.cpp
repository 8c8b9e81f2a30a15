// SPDX-License-Identifier: GPL-3.0-or-later
#include "MachineTopRow.h"

#include "SysfsRegistry.h"

#include "engine/KeyboardFinder.h"

namespace orvane::platform {

model::TopRow withLinuxTrackKeys(model::TopRow row)
{
    for (auto& key : row) {
        if (key == model::CustomKey::rewind)
            key = model::CustomKey::previous;
        else if (key == model::CustomKey::fast)
            key = model::CustomKey::next;
    }
    return row;
}

model::TopRow machineTopRow()
{
    const SysfsRegistry registry;
    return withLinuxTrackKeys(engine::loadTopRowKeys(registry));
}

} // namespace orvane::platform
