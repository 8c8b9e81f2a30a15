// SPDX-License-Identifier: GPL-3.0-or-later
// The installed applications and their names and icons, as GIO reads the desktop's .desktop files.
#pragma once

#include "model/InstalledApps.h"

namespace orvane::platform {

class GioApplications final : public model::InstalledApps {
public:
    std::vector<model::InstalledApp> installedApps() const override;
    std::optional<model::InstalledApp> describe(const std::string& path) const override;
};

} // namespace orvane::platform
