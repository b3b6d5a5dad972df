// What the tool tests share: running a command as a user would, and scratch folders.
#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace ToolTests {

struct CommandResult {
    int exitCode = -1;   // the command's exit status; -1 when it did not exit normally
    std::string output;  // what it wrote to standard output and standard error
};

// Runs `command` through the shell and collects its output and exit status.
CommandResult RunCommand(const std::string& command);

// A new empty folder under the system's temporary folder, removed when this object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The whole contents of a file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
// Writes `text` to the file, replacing it.
void WriteFile(const std::filesystem::path& path, const std::string& text);
// The names of the entries of a folder.
std::set<std::string> FilesIn(const std::filesystem::path& dir);
// Quotes a path for the shell.
std::string Quoted(const std::filesystem::path& path);

}  // namespace ToolTests
