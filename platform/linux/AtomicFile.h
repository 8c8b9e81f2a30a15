// Replacing a small file so that it holds its old or its new content at every moment, whatever
// happens (crash, full disk, power loss after the call returned).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace orvane::platform {

// Writes `bytes` to "<path>.tmp", syncs it, renames it over `path` and syncs the directory. The
// temporary name is fixed, so callers that may run at the same time must hold a lock.
std::error_code replaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                      unsigned mode = 0600);

// The whole file. A missing file is not an error: `exists` is false then.
struct FileContent {
    bool exists = false;
    std::string bytes;
};
std::error_code readWholeFile(const std::filesystem::path& path, FileContent& out);

} // namespace orvane::platform
