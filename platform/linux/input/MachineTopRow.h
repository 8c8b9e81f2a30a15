// SPDX-License-Identifier: GPL-3.0-or-later
// The top row of this machine's keyboard, as Orvane on Linux intercepts it.
#pragma once

#include "model/KeyProps.h"

namespace orvane::platform {

// Linux keyboard drivers report the top row's two track keys as previous and next song (the
// Apple driver maps its rewind and fast-forward keys so, and laptops do the same). Positions that
// would wait for rewind or fast therefore take previous and next, so that those keys are
// intercepted at all and their short press keeps doing what the key did without Orvane.
model::TopRow withLinuxTrackKeys(model::TopRow row);

// The keyboard finder's answer over the sysfs device registry, with the track keys above.
model::TopRow machineTopRow();

} // namespace orvane::platform
