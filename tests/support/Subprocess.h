// SPDX-License-Identifier: GPL-3.0-or-later
// Running a program to completion with a clean environment, and temporary directories.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace orvane::test {

struct Completed {
    int exitCode = -1; // -1: did not exit normally
    std::string out;
    std::string err;
};

// A directory removed with everything in it when the object goes.
class TempDir {
public:
    TempDir()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvane-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        m_path = pattern;
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

inline std::string readText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// The program, then its arguments: one command line for run().
inline std::vector<std::string> commandLine(const std::string& program,
                                            const std::vector<std::string>& arguments)
{
    std::vector<std::string> line;
    line.reserve(arguments.size() + 1);
    line.push_back(program);
    line.insert(line.end(), arguments.begin(), arguments.end());
    return line;
}

// Runs `argv` with only PATH, the sanitizer options and `environment` set, and waits for it.
inline Completed run(const std::vector<std::string>& argv,
                     const std::map<std::string, std::string>& environment)
{
    TempDir outputs;
    const auto outPath = outputs.path() / "out";
    const auto errPath = outputs.path() / "err";
    std::map<std::string, std::string> variables = environment;
    for (const char* inherited : {"PATH", "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (const char* value = std::getenv(inherited);
            value != nullptr && !variables.contains(inherited))
            variables[inherited] = value;
    }
    std::vector<std::string> envStrings;
    for (const auto& [name, value] : variables)
        envStrings.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& entry : envStrings)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = argv;
    std::vector<char*> argp;
    for (auto& arg : args)
        argp.push_back(arg.data());
    argp.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int in = ::open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
            ::dup2(in, 0) < 0)
            ::_exit(127);
        ::execve(argp[0], argp.data(), envp.data());
        ::_exit(127);
    }
    Completed result;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return result;
    }
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = readText(outPath);
    result.err = readText(errPath);
    return result;
}

} // namespace orvane::test
