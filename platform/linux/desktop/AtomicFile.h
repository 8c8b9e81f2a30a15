// Replacing a small file so that it holds its old or its new content at every moment, whatever
// happens (crash, full disk, power loss after the call returned), and creating files and folders
// that only their owner can read, never through a link someone else planted.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace orvane::platform {

// Writes `bytes` to a new temporary file beside `path` (a fresh name, created exclusively, never
// through a link, its mode set to `mode` on the open descriptor), syncs it, renames it over `path`
// and syncs the folder. Once the rename succeeded the new content is in place: a folder that then
// fails to sync is not reported as an error.
std::error_code replaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                      unsigned mode = 0600);

// Creates `path` with `bytes`, synced; `path` must not exist yet (file_exists otherwise, even
// when it is a dangling link).
std::error_code writeNewFile(const std::filesystem::path& path, std::string_view bytes,
                             unsigned mode = 0600);

// The temporary files that writers of `path` killed in the middle of a write left behind.
// Only call this while holding a lock that every writer of `path` takes.
void removeStaleTemporaries(const std::filesystem::path& path);

// Creates `dir` and whatever folders above it are missing, each new one private to the user
// (0700). Folders that already exist keep their mode.
std::error_code createPrivateDirectories(const std::filesystem::path& dir);

// The whole file. A missing file is not an error: `exists` is false then. A file larger than
// `maxBytes` is refused with file_too_large rather than read into memory.
struct FileContent {
    bool exists = false;
    std::string bytes;
};
inline constexpr std::size_t maxFileBytes = std::size_t{16} * 1024 * 1024;
std::error_code readWholeFile(const std::filesystem::path& path, FileContent& out,
                              std::size_t maxBytes = maxFileBytes);

} // namespace orvane::platform
