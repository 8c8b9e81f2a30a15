// SPDX-License-Identifier: GPL-3.0-or-later
// Teaching and forgetting the top rows of keyboards that tell nothing about their own.
#pragma once

#include "Commands.h"

#include "platform/linux/input/DeviceSurvey.h"

namespace orvane::ctl {

// Listens to every keyboard for the twelve keys and stores the row; exit code.
int learnTopRow(const platform::GrabPolicy& policy);
// Forgets the taught rows of the keyboards attached now; exit code.
int forgetTopRows(const platform::GrabPolicy& policy);

} // namespace orvane::ctl
