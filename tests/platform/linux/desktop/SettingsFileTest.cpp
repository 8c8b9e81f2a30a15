// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Subprocess.h"

#include "platform/linux/desktop/SettingsFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <random>
#include <thread>

namespace orvane::platform {
namespace {

using test::readText;
using test::writeText;

std::vector<std::filesystem::path> backups(const std::filesystem::path& dir)
{
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().filename().string().starts_with("settings.json.broken-"))
            found.push_back(entry.path());
    }
    return found;
}

std::size_t temporaries(const std::filesystem::path& dir)
{
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        count += entry.path().filename().string().starts_with("settings.json.tmp-") ? 1U : 0U;
    return count;
}

class SettingsFileTest : public ::testing::Test {
protected:
    test::TempDir temp;
    std::filesystem::path dir = temp.path() / "orvane";
    std::filesystem::path file = dir / "settings.json";
    SettingsFile store{file};

    void storeFour()
    {
        ASSERT_FALSE(store.set("keyMapping", "[]"));
        ASSERT_FALSE(store.set("longPressDelay", "0.35"));
        ASSERT_FALSE(store.set("showMenuBarIcon", "false"));
        ASSERT_FALSE(store.set("firstRun", "false"));
    }
};

TEST_F(SettingsFileTest, DefaultLocationFollowsXdgConfigHome)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/elsewhere/config", 1);
    EXPECT_EQ(SettingsFile::defaultLocation(), "/elsewhere/config/orvane/settings.json");
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1); // not absolute: ignored
    EXPECT_EQ(SettingsFile::defaultLocation().parent_path().parent_path().filename(), ".config");
    if (saved)
        ::setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

// Whatever the file holds, a read gives the stored string or nothing, and leaves the file and
// its folder exactly as they were.
TEST_F(SettingsFileTest, ReadsNeverTouchTheFile)
{
    struct Row {
        const char* name;
        std::optional<std::string> content; // absent: no file
        std::optional<std::string> firstRun;
    };
    const Row rows[] = {
        {"no file", std::nullopt, std::nullopt},
        {"empty file", "", std::nullopt},
        {"not JSON", "firstRun=false", std::nullopt},
        {"truncated", R"({"firstRun":"fal)", std::nullopt},
        {"array", R"(["firstRun","false"])", std::nullopt},
        {"value not a string", R"({"firstRun":false})", std::nullopt},
        {"string value", R"({"firstRun":"false"})", "false"},
        {"string with escapes", R"({"firstRun":"a\"b\u00e9"})", "a\"b\u00e9"},
        {"other members only", R"({"other":"x","longPressDelay":"1"})", std::nullopt},
        {"repeated name: the last counts", R"({"firstRun":"true","firstRun":"false"})", "false"},
        {"byte that is not UTF-8 in another entry",
         "{\"keyMapping\":\"\xff\",\"firstRun\":\"false\"}", "false"},
        {"lone surrogate in another entry", R"({"keyMapping":"\udc00","firstRun":"false"})",
         "false"},
        {"nesting beyond any setting in another entry",
         R"({"keyMapping":)" + std::string(100000, '[') + R"(,"firstRun":"false"})", std::nullopt},
        {"deep but closed nesting in another entry",
         R"({"keyMapping":)" + std::string(100000, '[') + std::string(100000, ']') +
             R"(,"firstRun":"false"})",
         "false"},
        {"bad entry itself",
         "{\"firstRun\":\"f\xff"
         "alse\"}",
         std::nullopt},
        {"cut off after the entry", R"({"firstRun":"false","keyMapping":"[{\")", "false"},
        {"missing comma after the entry", R"({"firstRun":"false" "keyMapping":"[]"})", "false"},
        {"text after the object", R"({"firstRun":"false"} trailing)", "false"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(dir);
        if (row.content)
            writeText(file, *row.content);
        EXPECT_EQ(store.string("firstRun"), row.firstRun);
        if (row.content) {
            EXPECT_EQ(readText(file), *row.content);
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                                    std::filesystem::directory_iterator()),
                      1);
        } else {
            EXPECT_FALSE(std::filesystem::exists(dir));
        }
    }
}

TEST_F(SettingsFileTest, WriteChangesOneEntryAndKeepsTheOthers)
{
    storeFour();
    ASSERT_FALSE(store.set("longPressDelay", "0.5"));
    ASSERT_FALSE(store.set("keyMapping", std::nullopt));
    EXPECT_EQ(store.string("longPressDelay"), "0.5");
    EXPECT_EQ(store.string("keyMapping"), std::nullopt);
    EXPECT_EQ(store.string("showMenuBarIcon"), "false");
    EXPECT_EQ(store.string("firstRun"), "false");
    const auto object = nlohmann::json::parse(readText(file));
    EXPECT_EQ(object,
              nlohmann::json::parse(
                  R"({"longPressDelay":"0.5","showMenuBarIcon":"false","firstRun":"false"})"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              2)
        << "only the settings file and its lock";
}

// One damaged entry costs that entry only: every other setting still reads, a write keeps them,
// and the damaged bytes are kept in the broken copy.
TEST_F(SettingsFileTest, DamagedEntryCostsOnlyItself)
{
    const std::string dataDir = TEST_DATA;
    for (const char* fixture :
         {"latin1_byte_in_key_mapping.json", "lone_surrogate_in_key_mapping.json",
          "cut_off_in_key_mapping.json"}) {
        SCOPED_TRACE(fixture);
        std::filesystem::remove_all(dir);
        const std::string damaged = readText(dataDir + "/settings/" + fixture);
        ASSERT_FALSE(damaged.empty());
        writeText(file, damaged);
        EXPECT_EQ(store.string("keyMapping"), std::nullopt);
        EXPECT_EQ(store.string("longPressDelay"), "0.35");
        EXPECT_EQ(store.string("firstRun"), "false");

        ASSERT_FALSE(store.set("longPressDelay", "0.5"));
        EXPECT_EQ(store.string("longPressDelay"), "0.5");
        EXPECT_EQ(store.string("showMenuBarIcon"), "false");
        EXPECT_EQ(store.string("firstRun"), "false");
        EXPECT_TRUE(nlohmann::json::parse(readText(file), nullptr, false).is_object());
        const auto kept = backups(dir);
        ASSERT_EQ(kept.size(), 1U);
        EXPECT_EQ(readText(kept[0]), damaged);

        // Once rewritten, the file is whole again: later writes keep no more copies.
        ASSERT_FALSE(store.set("firstRun", "true"));
        EXPECT_EQ(backups(dir).size(), 1U);
        EXPECT_EQ(store.string("showMenuBarIcon"), "false");
    }
}

// Another user who can write the folder the settings file lives in (a shared dotfiles folder
// reached through a link) plants files where a writer might put its own: none of them is ever
// written through, and what Orvane writes is private whatever the umask.
TEST_F(SettingsFileTest, PlantedFilesAreNeverWrittenThrough)
{
    test::TempDir shared;
    const auto real = shared.path() / "orvane.json";
    const auto victim = shared.path() / "victim";
    writeText(victim, "precious\n");
    writeText(real, "{\"firstRun\":\"false\",\"keyMapping\":\"\xff\"}");
    std::filesystem::create_directories(dir);
    std::filesystem::create_symlink(real, file);
    // The old fixed temporary name, a stale world-writable leftover, and the broken copy's names
    // for the next seconds.
    std::filesystem::create_symlink(victim, shared.path() / "orvane.json.tmp");
    writeText(shared.path() / "orvane.json.tmp-stale", "x");
    ::chmod((shared.path() / "orvane.json.tmp-stale").c_str(), 0666);
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    for (long long second = now; second < now + 5; ++second) {
        std::filesystem::create_symlink(
            victim, shared.path() / ("orvane.json.broken-" + std::to_string(second)));
    }

    const mode_t saved = ::umask(0);
    const auto error = store.set("longPressDelay", "0.4");
    ::umask(saved);
    ASSERT_FALSE(error) << error.message();
    EXPECT_EQ(readText(victim), "precious\n");
    EXPECT_EQ(SettingsFile(real).string("longPressDelay"), "0.4");
    EXPECT_EQ(SettingsFile(real).string("firstRun"), "false");
    EXPECT_EQ(std::filesystem::status(real).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::size_t brokenCopies = 0;
    for (const auto& entry : std::filesystem::directory_iterator(shared.path())) {
        if (!entry.is_symlink() &&
            entry.path().filename().string().starts_with("orvane.json.broken-")) {
            ++brokenCopies;
            EXPECT_EQ(entry.status().permissions(),
                      std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        }
    }
    EXPECT_EQ(brokenCopies, 1U);

    // Orvane's own folder, made fresh under a permissive umask, is private.
    test::TempDir fresh;
    ::umask(0);
    const auto freshError =
        SettingsFile(fresh.path() / "config" / "orvane" / "settings.json").set("firstRun", "false");
    ::umask(saved);
    ASSERT_FALSE(freshError);
    for (const auto& folder : {fresh.path() / "config", fresh.path() / "config" / "orvane"}) {
        SCOPED_TRACE(folder.string());
        EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms::owner_all);
    }
}

// An unparseable file reads as empty; the first write keeps its exact bytes beside it.
TEST_F(SettingsFileTest, BrokenFileIsKeptBeforeItIsReplaced)
{
    const std::string broken = "{\"firstRun\":\"false\",\"keyMapping\":\"[\xff";
    writeText(file, broken);
    ASSERT_FALSE(store.set("longPressDelay", "1.5"));
    const auto kept = backups(dir);
    ASSERT_EQ(kept.size(), 1U);
    EXPECT_EQ(readText(kept[0]), broken);
    EXPECT_EQ(store.string("longPressDelay"), "1.5");
    EXPECT_EQ(store.string("firstRun"), "false"); // read before the damage, so kept

    // A second broken file a moment later gets a name of its own.
    writeText(file, "}");
    ASSERT_FALSE(store.set("firstRun", "true"));
    EXPECT_EQ(backups(dir).size(), 2U);
}

TEST_F(SettingsFileTest, RefusedWritesChangeNothing)
{
    storeFour();
    const std::string before = readText(file);
    EXPECT_EQ(store.set("firstRun", std::string("bad \xC3 text")),
              std::errc::illegal_byte_sequence);
    EXPECT_EQ(readText(file), before);

    // A settings path that cannot be read as a file is never replaced.
    test::TempDir other;
    std::filesystem::create_directories(other.path() / "settings.json");
    SettingsFile unreadable(other.path() / "settings.json");
    EXPECT_TRUE(unreadable.set("firstRun", "true"));
    EXPECT_TRUE(std::filesystem::is_directory(other.path() / "settings.json"));
}

TEST_F(SettingsFileTest, SymbolicLinkIsWrittenThrough)
{
    test::TempDir dotfiles;
    const auto real = dotfiles.path() / "orvane.json";
    writeText(real, R"({"firstRun":"false"})");
    std::filesystem::create_directories(dir);
    std::filesystem::create_symlink(real, file);
    ASSERT_FALSE(store.set("longPressDelay", "0.4"));
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_EQ(SettingsFile(real).string("firstRun"), "false");
    EXPECT_EQ(SettingsFile(real).string("longPressDelay"), "0.4");
}

// A folder that can be written but not opened (mode 0300) takes the rename but cannot be synced:
// the new file is in place, so the write reports success.
TEST_F(SettingsFileTest, UnsyncableFolderStillStores)
{
    storeFour();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Root opens any folder: run as nobody, in a folder nobody owns.
        if (::geteuid() == 0 &&
            (::chmod(temp.path().c_str(), 0711) != 0 || ::chown(dir.c_str(), 65534, 65534) != 0 ||
             ::chown(file.c_str(), 65534, 65534) != 0 ||
             ::chown((dir / "settings.json.lock").c_str(), 65534, 65534) != 0 ||
             ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        if (::chmod(dir.c_str(), 0300) != 0)
            ::_exit(3);
        if (::open(dir.c_str(), O_RDONLY | O_DIRECTORY) >= 0)
            ::_exit(2); // the folder can be opened: this test would prove nothing
        const auto error = SettingsFile(file).set("longPressDelay", "0.75");
        ::_exit(error ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::chmod(dir.c_str(), 0700);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 2) << "the folder could still be opened";
    ASSERT_NE(WEXITSTATUS(status), 3) << "could not set up the unreadable folder";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "reported as not stored";
    EXPECT_EQ(store.string("longPressDelay"), "0.75");
    EXPECT_EQ(store.string("firstRun"), "false");
}

// A disk that fills up in the middle of a write (here: a file size limit, which fails the write
// the same way) leaves the previous file whole.
TEST_F(SettingsFileTest, FullDiskLeavesThePreviousFile)
{
    storeFour();
    const std::string before = readText(file);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{before.size() + 10, before.size() + 10};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const auto error = store.set("keyMapping", std::string(4096, ' ') + "[]");
        ::_exit(error == std::errc::file_too_large ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write should have failed with EFBIG";
    EXPECT_EQ(readText(file), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              2)
        << "a failed write leaves no temporary file";
}

// The check a watcher makes after each change of the folder: the store's own writes are no news,
// anything else is, even when it comes in the same second as an own write, keeps the inode and
// the size, or was carried into the file by the store's own next write.
TEST_F(SettingsFileTest, OutsideChangeCheckTellsOwnWritesFromOthers)
{
    const auto replaceFromOutside = [this](const std::string& text) {
        const auto temporary = dir / "settings.json.editor";
        writeText(temporary, text);
        std::filesystem::rename(temporary, file);
    };
    struct Row {
        const char* name;
        std::function<void()> change;
        bool isOutside;
    };
    const Row rows[] = {
        {"nothing", [] {}, false},
        {"one own write", [this] { ASSERT_FALSE(store.set("longPressDelay", "0.4")); }, false},
        {"own writes of several settings",
         [this] {
             for (const char* value : {"0.41", "0.42", "0.43"})
                 ASSERT_FALSE(store.set("longPressDelay", value));
             ASSERT_FALSE(store.set("showMenuBarIcon", "true"));
         },
         false},
        {"another process renames a file over it",
         [&] {
             replaceFromOutside(R"({"longPressDelay":"0.6"})"
                                "\n");
         },
         true},
        {"own write, then another writes in place 20 ms later, same inode and size",
         [this] {
             ASSERT_FALSE(store.set("longPressDelay", "0.45"));
             std::string text = readText(file);
             text[text.find("0.45") + 3] = '6';
             std::this_thread::sleep_for(std::chrono::milliseconds(20));
             writeText(file, text); // truncates and rewrites the same inode
         },
         true},
        {"another's change carried along by an own write",
         [&] {
             replaceFromOutside(R"({"longPressDelay":"0.7"})"
                                "\n");
             ASSERT_FALSE(store.set("firstRun", "false"));
         },
         true},
        {"another store in this process writes",
         [this] { ASSERT_FALSE(SettingsFile(file).set("firstRun", "true")); }, true},
        {"removed", [this] { std::filesystem::remove(file); }, true},
        {"own write of a missing file", [this] { ASSERT_FALSE(store.set("firstRun", "true")); },
         false},
    };
    storeFour();
    const auto isChangedByOthers = store.outsideChangeCheck();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.change();
        EXPECT_EQ(isChangedByOthers(), row.isOutside);
        EXPECT_FALSE(isChangedByOthers()) << "each change is news once";
    }
}

// Four processes each change their own setting many times at once: with the lock around the
// read-change-write, every final value survives.
TEST_F(SettingsFileTest, ConcurrentWritersLoseNoUpdate)
{
    const std::string keys[] = {"keyMapping", "longPressDelay", "showMenuBarIcon", "firstRun"};
    constexpr int rounds = 60;
    std::vector<pid_t> children;
    for (const auto& key : keys) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SettingsFile own(file);
            for (int i = 1; i <= rounds; ++i) {
                if (own.set(key, std::to_string(i)))
                    ::_exit(1);
            }
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (const auto& key : keys) {
        SCOPED_TRACE(key);
        EXPECT_EQ(store.string(key), std::to_string(rounds));
    }
}

// A writer killed at random moments never leaves a torn or half-empty file: every read afterwards
// parses, and the three entries the writer does not touch are still there.
TEST_F(SettingsFileTest, WriterKilledAtRandomMomentsLeavesAWholeFile)
{
    storeFour();
    const std::string shortValue = "0.25";
    const std::string longValue = "[" + std::string(100000, ' ') + "]";
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> microseconds(0, 5000);
    constexpr int kills = 150;
    int killedMidWrite = 0; // rounds that left a temporary file behind
    for (int round = 0; round < kills; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::execl(ORVANE_SETTINGS_WRITER, ORVANE_SETTINGS_WRITER, file.c_str(), "longPressDelay",
                    shortValue.c_str(), longValue.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        // Once the writer is in its loop (the entry has changed), kill it at a random moment.
        ASSERT_FALSE(store.set("longPressDelay", "0.35"));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (store.string("longPressDelay") == "0.35" &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";

        const auto object = nlohmann::json::parse(readText(file), nullptr, false);
        ASSERT_TRUE(object.is_object()) << "torn settings file";
        EXPECT_EQ(store.string("keyMapping"), "[]");
        EXPECT_EQ(store.string("showMenuBarIcon"), "false");
        EXPECT_EQ(store.string("firstRun"), "false");
        const auto delay = store.string("longPressDelay");
        EXPECT_TRUE(delay == "0.35" || delay == shortValue || delay == longValue);
        killedMidWrite += temporaries(dir) > 0 ? 1 : 0;
        // The next write clears what the killed writer left.
        EXPECT_LE(temporaries(dir), 1U);
    }
    EXPECT_TRUE(backups(dir).empty());
    std::cout << "writer killed " << kills << " times, " << killedMidWrite
              << " of them while its temporary file existed\n";
}

} // namespace
} // namespace orvane::platform
