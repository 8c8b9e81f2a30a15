// SPDX-License-Identifier: GPL-3.0-or-later
#include "BundleInfo.h"

// ORVANE_APP_NAME, ORVANE_VERSION and ORVANE_BUILD_NUMBER come from the CMake project.
#ifndef ORVANE_APP_NAME
#error "BundleInfo.cpp is built with the project's name, version and build number"
#endif

namespace orvane::model {

const InfoDictionary& mainBundleInfo()
{
    static const InfoDictionary info{
        {std::string(infoKey::name), ORVANE_APP_NAME},
        {std::string(infoKey::shortVersion), ORVANE_VERSION},
        {std::string(infoKey::version), ORVANE_BUILD_NUMBER},
    };
    return info;
}

std::string infoString(const InfoDictionary& info, std::string_view key)
{
    const auto it = info.find(key);
    return it == info.end() ? std::string("\u26A0\uFE0F") : it->second;
}

std::string appName()
{
    const auto& info = mainBundleInfo();
    const auto it = info.find(infoKey::name);
    return it == info.end() ? std::string() : it->second;
}

} // namespace orvane::model
