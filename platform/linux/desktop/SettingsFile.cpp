// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFile.h"

#include "AtomicFile.h"
#include "SettingsContent.h"
#include "platform/linux/UniqueFd.h"
#include "platform/linux/XdgPaths.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <utility>

namespace orvane::platform {

namespace {

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

// Held for the whole read-change-write, so that writers in several processes take turns.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600))
    {
        if (!m_fd) {
            m_error = lastError();
            return;
        }
        int result;
        do {
            result = ::flock(m_fd.get(), LOCK_EX);
        } while (result != 0 && errno == EINTR);
        if (result != 0)
            m_error = lastError();
    }
    std::error_code error() const noexcept { return m_error; }

private:
    UniqueFd m_fd; // closing the only descriptor releases the lock
    std::error_code m_error;
};

// Keeps an unreadable settings file's bytes under a name of their own before it is replaced.
std::error_code keepBrokenFile(const std::filesystem::path& path, const std::string& bytes)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::system_clock::now().time_since_epoch());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix = ".broken-";
        suffix += std::to_string(seconds.count());
        if (attempt > 0) {
            suffix += '-';
            suffix += std::to_string(attempt);
        }
        std::filesystem::path backup = path;
        backup += suffix;
        const auto error = writeNewFile(backup, bytes);
        if (error != std::errc::file_exists)
            return error;
    }
    return std::make_error_code(std::errc::file_exists);
}

// Where the content lives: a settings file that is a symbolic link (kept in a dotfiles folder,
// say) is written through, not replaced by a plain file.
std::filesystem::path contentPath(const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::is_symlink(file, error))
        return file;
    auto target = std::filesystem::weakly_canonical(file, error);
    return error ? file : target;
}

} // namespace

SettingsFile::SettingsFile(std::filesystem::path file) : m_file(std::move(file)) {}

std::filesystem::path SettingsFile::defaultLocation()
{
    return configHome() / "orvane" / "settings.json";
}

bool SettingsFile::isWhole() const
{
    FileContent text;
    if (readWholeFile(m_file, text))
        return false;
    return !text.exists || !readSettingsText(text.bytes).isDamaged;
}

std::optional<std::string> SettingsFile::string(std::string_view key) const
{
    FileContent text;
    if (readWholeFile(m_file, text) || !text.exists)
        return std::nullopt;
    const auto content = readSettingsText(text.bytes);
    const auto it = content.entries.find(key);
    if (it == content.entries.end() || !it->is_string())
        return std::nullopt;
    return it->get<std::string>();
}

std::error_code SettingsFile::set(std::string_view key, const std::optional<std::string>& value)
{
    if (const auto error = createPrivateDirectories(m_file.parent_path()))
        return error;

    std::filesystem::path lockPath = m_file;
    lockPath += ".lock";
    const FileLock lock(lockPath);
    if (lock.error())
        return lock.error();

    // Re-read under the lock, so that what another process wrote meanwhile is kept.
    const std::filesystem::path target = contentPath(m_file);
    FileContent current;
    if (const auto readError = readWholeFile(target, current))
        return readError; // a file we cannot read is never overwritten
    auto content = readSettingsText(current.bytes);
    auto& entries = content.entries;
    if (value)
        entries[std::string(key)] = *value;
    else
        entries.erase(std::string(key));

    std::string bytes;
    try {
        bytes = entries.dump() + "\n";
    } catch (const nlohmann::json::type_error&) {
        return std::make_error_code(std::errc::illegal_byte_sequence); // not UTF-8
    }
    // Whatever could not be read is kept, byte for byte, before the readable rest is rewritten.
    if (content.isDamaged) {
        if (const auto backupError = keepBrokenFile(target, current.bytes))
            return backupError;
    }
    removeStaleTemporaries(target);
    FileStamp placed;
    if (const auto error = replaceFileAtomically(target, bytes, 0600, &placed))
        return error;
    remember({current.stamp, placed});
    return {};
}

void SettingsFile::remember(const OwnWrite& write)
{
    const std::lock_guard lock(m_writesMutex);
    m_ownWrites.push_back(write);
    if (m_ownWrites.size() > rememberedWrites)
        m_ownWrites.pop_front();
}

// Walks back from `to` through the writes that put each file in place: every file placed is a
// new inode, so at most one write placed `to`, and each step lands on the file that write found.
bool SettingsFile::isOwnWritesBetween(const FileStamp& from, const FileStamp& to) const
{
    const std::lock_guard lock(m_writesMutex);
    FileStamp at = to;
    for (std::size_t steps = 0; steps <= m_ownWrites.size(); ++steps) {
        if (at == from)
            return true;
        const auto write = std::find_if(m_ownWrites.rbegin(), m_ownWrites.rend(),
                                        [&at](const OwnWrite& own) { return own.placed == at; });
        if (write == m_ownWrites.rend())
            return false;
        at = write->found;
    }
    return false;
}

std::function<bool()> SettingsFile::outsideChangeCheck() const
{
    return [this, seen = stampOf(m_file)]() mutable {
        const auto now = stampOf(m_file);
        const bool isOwn = seen && now && isOwnWritesBetween(*seen, *now);
        seen = now;
        return !isOwn;
    };
}

} // namespace orvane::platform
