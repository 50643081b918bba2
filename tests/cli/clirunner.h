#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace qm::cli::test {

// What one run of the built quellmark-cli left behind.
struct CliRun {
    int exitcode = -1;  // 128 + the signal's number when a signal ended it
    std::string out;
    std::string err;
    long maxrsskb = 0;  // the process's peak memory (resident set), in KiB
};

// Runs quellmark-cli with the arguments in a fresh temporary folder of its own: the settings go
// to an INI file there (QUELLMARK_SETTINGS), never to the user's. Standard output and error are
// files, not terminals, so no progress bar is drawn.
class CliRunner {
  public:
    CliRunner();
    ~CliRunner();
    CliRunner(const CliRunner&) = delete;
    CliRunner& operator=(const CliRunner&) = delete;

    CliRun run(const std::vector<std::string>& args) const { return wait(start(args)); }
    // As run, but as an ordinary user (nobody) when the tests run as root, so that permission
    // bits count as they do for a user; the folder is opened to that user.
    CliRun runasuser(const std::vector<std::string>& args) const;

    // Starts the program without waiting for it (for tests that signal it while it runs), and
    // waits for one that was started.
    pid_t start(const std::vector<std::string>& args, bool asuser = false) const;
    CliRun wait(pid_t pid) const;
    // What the running program has written to standard output so far.
    std::string outsofar() const;

    // The temporary folder (with a trailing '/'), the settings file in it, and helpers for files.
    const std::string& dir() const { return dir_; }
    std::string path(const std::string& name) const { return dir_ + name; }
    std::string settingsfile() const { return dir_ + "settings.ini"; }
    void write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

  private:
    std::string dir_;
};

// Whether `text` holds `part`: what a run printed, looked for in a test.
inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The arguments of a run of `model` on `port` (a simulated chip, most often) on virtual time,
// then `command`.
inline std::vector<std::string> chipargs(const std::string& model, const std::string& port,
                                         const std::vector<std::string>& command) {
    std::vector<std::string> args{"--model", model, "--port", port, "--virtual-time"};
    args.insert(args.end(), command.begin(), command.end());
    return args;
}

// Files of the source tree the tests use.
std::string sourcefile(const std::string& relative);
std::string readfile(const std::string& path);

}  // namespace qm::cli::test
