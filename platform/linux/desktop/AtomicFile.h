// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing a small file so that it holds its old or its new content at every moment, whatever
// happens (crash, full disk, power loss after the call returned), and creating files and folders
// that only their owner can read, never through a link someone else planted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace orvane::platform {

// One version of a file, told apart from the others by stat() alone: which inode, how long, and
// when its content last changed (to the nanosecond the file system keeps). A file replaced by
// renaming another over it always has another inode; one rewritten in place has a new
// modification time.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path` now, through links; a missing file has a stamp too (it does not
// exist). Nothing when stat() fails otherwise.
std::optional<FileStamp> stampOf(const std::filesystem::path& path);

// Writes `bytes` to a new temporary file beside `path` (a fresh name, created exclusively, never
// through a link, its mode set to `mode` on the open descriptor), syncs it, renames it over `path`
// and syncs the folder. Once the rename succeeded the new content is in place: a folder that then
// fails to sync is not reported as an error. `placed`, when given, receives the stamp of the file
// put in place.
std::error_code replaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                      unsigned mode = 0600, FileStamp* placed = nullptr);

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
// `maxBytes` is refused with file_too_large rather than read into memory. `stamp` is that of the
// file the bytes were read from.
struct FileContent {
    bool exists = false;
    std::string bytes;
    FileStamp stamp;
};
inline constexpr std::size_t maxFileBytes = std::size_t{16} * 1024 * 1024;
std::error_code readWholeFile(const std::filesystem::path& path, FileContent& out,
                              std::size_t maxBytes = maxFileBytes);

} // namespace orvane::platform
