// SPDX-License-Identifier: GPL-3.0-or-later
// Orvane's settings on Linux: one small JSON file of string values, changed atomically.
#pragma once

#include "AtomicFile.h"

#include "model/DefaultsStore.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>

namespace orvane::platform {

// The file is a JSON object whose members are the stored strings, for example
// {"longPressDelay":"0.35","firstRun":"false"}. Every read opens and parses the file afresh.
//
// A write takes an exclusive lock (a lock file beside the settings file), re-reads the file,
// changes the one entry and replaces the file by renaming a fully written and synced temporary
// file over it, then syncs the directory. A crash or a full disk at any moment leaves either the
// old or the new file, with every other entry intact, and concurrent writers from several
// processes lose no update.
//
// Each entry is read on its own: one that cannot be read (a byte that is not UTF-8, a lone
// surrogate escape, nesting deeper than any setting needs) reads as absent and costs no other
// entry. A file that is not a JSON object at all reads as empty. Reads leave the file alone; the
// first write after damage keeps the file's exact bytes in "settings.json.broken-<time>" beside
// it, then writes every readable entry back with the change.
//
// Temporary and backup files are created exclusively under fresh names and never through a link;
// Orvane's folder is created private (0700) and the file 0600.
//
// The store remembers its own recent writes (the file it found and the file it put in its place),
// so that a watcher of the file can tell them from changes made by others without reading it.
class SettingsFile final : public model::DefaultsStore {
public:
    explicit SettingsFile(std::filesystem::path file);

    // $XDG_CONFIG_HOME/orvane/settings.json (~/.config/orvane/settings.json by default).
    static std::filesystem::path defaultLocation();

    const std::filesystem::path& file() const noexcept { return m_file; }

    // Whether the file reads whole: absent, or every entry readable. A file caught half written
    // by an editor, or damaged, is not.
    bool isWhole() const;

    // A check for changes made by others: each call tells whether anything but this store's own
    // writes changed the file since the previous call (the first call: since this one). It uses
    // stat() alone. A write of this store that carried another's change along (it re-reads the
    // file under the lock) counts as a change by another; so does every change when the store
    // cannot tell (more own writes than it remembers, a file it cannot stat).
    std::function<bool()> outsideChangeCheck() const;

    std::optional<std::string> string(std::string_view key) const override;
    std::error_code set(std::string_view key, const std::optional<std::string>& value) override;

private:
    // One write: the file found under the lock and the file renamed over it.
    struct OwnWrite {
        FileStamp found;
        FileStamp placed;
    };
    static constexpr std::size_t rememberedWrites = 128;

    void remember(const OwnWrite& write);
    bool isOwnWritesBetween(const FileStamp& from, const FileStamp& to) const;

    std::filesystem::path m_file;
    mutable std::mutex m_writesMutex;
    std::deque<OwnWrite> m_ownWrites; // oldest first
};

} // namespace orvane::platform
