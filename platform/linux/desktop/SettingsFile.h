// Orvane's settings on Linux: one small JSON file of string values, changed atomically.
#pragma once

#include "model/DefaultsStore.h"

#include <filesystem>

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
class SettingsFile final : public model::DefaultsStore {
public:
    explicit SettingsFile(std::filesystem::path file);

    // $XDG_CONFIG_HOME/orvane/settings.json (~/.config/orvane/settings.json by default).
    static std::filesystem::path defaultLocation();

    const std::filesystem::path& file() const noexcept { return m_file; }

    // Whether the file reads whole: absent, or every entry readable. A file caught half written
    // by an editor, or damaged, is not.
    bool isWhole() const;

    std::optional<std::string> string(std::string_view key) const override;
    std::error_code set(std::string_view key, const std::optional<std::string>& value) override;

private:
    std::filesystem::path m_file;
};

} // namespace orvane::platform
