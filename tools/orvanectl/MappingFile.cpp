#include "MappingFile.h"

#include "model/JsonCoding.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace orvane::ctl {

std::optional<model::KeyMapping> loadKeyMapping(const std::string& path, std::string_view command)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << "orvanectl " << command << ": cannot read " << path << '\n';
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    auto decoded = model::json::decodeKeyMappingText(text.str());
    if (!decoded) {
        std::cerr << "orvanectl " << command << ": " << path << ": " << decoded.error().message()
                  << '\n';
        return std::nullopt;
    }
    return std::move(decoded).value();
}

} // namespace orvane::ctl
