// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFile.h"

#include "platform/linux/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <utility>

namespace orvane::platform {

namespace {

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

UniqueFd openFile(const std::filesystem::path& path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return UniqueFd(fd);
}

// The file just created at `path`, its mode set on the descriptor: the umask does not narrow or
// widen it. A file whose mode cannot be set is removed again.
UniqueFd withMode(UniqueFd fd, const std::filesystem::path& path, unsigned mode)
{
    if (fd && ::fchmod(fd.get(), static_cast<mode_t>(mode)) != 0) {
        const auto error = lastError();
        ::unlink(path.c_str());
        errno = error.value();
        return UniqueFd();
    }
    return fd;
}

// O_EXCL refuses any existing name, a link included, so nothing planted there is ever written.
UniqueFd createExclusively(const std::filesystem::path& path, unsigned mode)
{
    return withMode(openFile(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600), path, mode);
}

std::error_code writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return lastError();
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

FileStamp stampFrom(const struct stat& status)
{
    return FileStamp{
        .exists = true,
        .device = static_cast<std::uint64_t>(status.st_dev),
        .inode = static_cast<std::uint64_t>(status.st_ino),
        .size = static_cast<std::int64_t>(status.st_size),
        .modifiedNs = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
                      status.st_mtim.tv_nsec,
    };
}

// Writes, syncs and closes; the first failure is the one reported. The stamp is taken once the
// content is down: the rename that follows changes none of it.
std::error_code writeAndClose(UniqueFd fd, std::string_view bytes, FileStamp* written = nullptr)
{
    std::error_code error = writeAll(fd.get(), bytes);
    if (!error && ::fsync(fd.get()) != 0)
        error = lastError();
    struct stat status {};
    if (!error && written != nullptr) {
        if (::fstat(fd.get(), &status) == 0)
            *written = stampFrom(status);
        else
            error = lastError();
    }
    // Closed here so that its result is seen: a delayed write error shows up in it.
    if (::close(fd.release()) != 0 && !error)
        error = lastError();
    return error;
}

std::string temporaryPrefix(const std::filesystem::path& path)
{
    return path.filename().string() + ".tmp-";
}

// A new temporary file in `path`'s folder, and its name. mkostemp picks a fresh name and creates
// it with O_EXCL, which refuses any existing name, a link included.
std::pair<UniqueFd, std::filesystem::path> createTemporary(const std::filesystem::path& path,
                                                           unsigned mode)
{
    std::string name;
    UniqueFd fd;
    do {
        name = (path.parent_path() / (temporaryPrefix(path) + "XXXXXX")).string();
        fd = UniqueFd(::mkostemp(name.data(), O_CLOEXEC));
    } while (!fd && errno == EINTR);
    std::filesystem::path temporary(std::move(name));
    fd = withMode(std::move(fd), temporary, mode);
    return {std::move(fd), std::move(temporary)};
}

} // namespace

std::optional<FileStamp> stampOf(const std::filesystem::path& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0)
        return stampFrom(status);
    if (errno == ENOENT)
        return FileStamp{};
    return std::nullopt;
}

std::error_code readWholeFile(const std::filesystem::path& path, FileContent& out,
                              std::size_t maxBytes)
{
    const UniqueFd fd = openFile(path, O_RDONLY);
    if (!fd) {
        if (errno == ENOENT)
            return {};
        return lastError();
    }
    out.exists = true;
    std::array<char, 16384> buffer{};
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return lastError();
        if (n == 0) {
            struct stat status {};
            if (::fstat(fd.get(), &status) != 0)
                return lastError();
            out.stamp = stampFrom(status);
            return {};
        }
        if (out.bytes.size() + static_cast<std::size_t>(n) > maxBytes)
            return std::make_error_code(std::errc::file_too_large);
        out.bytes.append(buffer.data(), static_cast<std::size_t>(n));
    }
}

std::error_code replaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                      unsigned mode, FileStamp* placed)
{
    auto [fd, temporary] = createTemporary(path, mode);
    if (!fd)
        return lastError();
    std::error_code error = writeAndClose(std::move(fd), bytes, placed);
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = lastError();
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    // The new file is in place. A folder that cannot be synced only weakens the promise for a
    // power loss in the next seconds; saying "not stored" would be false.
    if (const UniqueFd dir = openFile(path.parent_path(), O_RDONLY | O_DIRECTORY))
        static_cast<void>(::fsync(dir.get()));
    return {};
}

std::error_code writeNewFile(const std::filesystem::path& path, std::string_view bytes,
                             unsigned mode)
{
    UniqueFd fd = createExclusively(path, mode);
    if (!fd)
        return lastError();
    if (auto error = writeAndClose(std::move(fd), bytes)) {
        ::unlink(path.c_str());
        return error;
    }
    return {};
}

void removeStaleTemporaries(const std::filesystem::path& path)
{
    const std::string prefix = temporaryPrefix(path);
    std::error_code error;
    std::filesystem::directory_iterator entries(path.parent_path(), error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        // mkostemp's six letters; eight in the names earlier versions made.
        if (name.starts_with(prefix) &&
            (name.size() == prefix.size() + 6 || name.size() == prefix.size() + 8))
            ::unlink(entries->path().c_str());
    }
}

std::error_code createPrivateDirectories(const std::filesystem::path& dir)
{
    std::error_code error;
    if (dir.empty() || std::filesystem::is_directory(dir, error))
        return {};
    if (auto parentError = createPrivateDirectories(dir.parent_path()))
        return parentError;
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return lastError();
    if (!std::filesystem::is_directory(dir, error))
        return error ? error : std::make_error_code(std::errc::not_a_directory);
    return {};
}

} // namespace orvane::platform
