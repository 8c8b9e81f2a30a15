#include "AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace orvane::platform {

namespace {

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

// One owner per descriptor; closed on destruction.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) noexcept : m_fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const noexcept { return m_fd; }
    explicit operator bool() const noexcept { return m_fd >= 0; }
    // Closes now and reports the result: a delayed write error shows up here.
    std::error_code close() noexcept
    {
        const int fd = std::exchange(m_fd, -1);
        return ::close(fd) == 0 ? std::error_code() : lastError();
    }

private:
    int m_fd;
};

UniqueFd openFile(const std::filesystem::path& path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return UniqueFd(fd);
}

} // namespace

std::error_code readWholeFile(const std::filesystem::path& path, FileContent& out)
{
    const UniqueFd fd = openFile(path, O_RDONLY);
    if (!fd) {
        if (errno == ENOENT)
            return {};
        return lastError();
    }
    out.exists = true;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return lastError();
        if (n == 0)
            return {};
        out.bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

namespace {

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

} // namespace

// Writes `bytes` to `path` through a synced temporary file and a rename, then syncs the directory,
// so that `path` holds either its old or its new content at every moment.
std::error_code replaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                      unsigned mode)
{
    std::filesystem::path temporary = path;
    temporary += ".tmp"; // only the lock holder writes it, so one name serves
    UniqueFd fd = openFile(temporary, O_WRONLY | O_CREAT | O_TRUNC, static_cast<mode_t>(mode));
    if (!fd)
        return lastError();
    std::error_code error = writeAll(fd.get(), bytes);
    if (!error && ::fsync(fd.get()) != 0)
        error = lastError();
    if (const auto closeError = fd.close(); !error)
        error = closeError;
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = lastError();
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    const UniqueFd dir = openFile(path.parent_path(), O_RDONLY | O_DIRECTORY);
    if (!dir || ::fsync(dir.get()) != 0)
        return lastError();
    return {};
}

} // namespace orvane::platform
