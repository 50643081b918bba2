#include "cli/clirunner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace qm::cli::test {

namespace {

// Everything of the test's environment except what points the program at a user's settings.
std::vector<std::string> childenvironment(const std::string& dir) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (text.rfind("QUELLMARK_", 0) == 0 || text.rfind("XDG_CONFIG_HOME=", 0) == 0) continue;
        env.push_back(text);
    }
    env.push_back("QUELLMARK_SETTINGS=" + dir + "settings.ini");
    env.push_back("XDG_CONFIG_HOME=" + dir + "config");
    return env;
}

}  // namespace

CliRunner::CliRunner() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quellmark-cli-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    dir_ = pattern + "/";
}

CliRunner::~CliRunner() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

CliRun CliRunner::run(const std::vector<std::string>& args) const {
    const std::string exe = QUELLMARK_CLI_EXE;
    const std::string outpath = dir_ + ".stdout";
    const std::string errpath = dir_ + ".stderr";

    std::vector<std::string> argstore{exe};
    argstore.insert(argstore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argstore) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envstore = childenvironment(dir_);
    std::vector<char*> envp;
    for (auto& e : envstore) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outpath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errpath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    CliRun result;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        result.err = "cannot start " + exe;
        return result;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitcode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = readfile(outpath);
    result.err = readfile(errpath);
    return result;
}

void CliRunner::write(const std::string& name, const std::string& content) const {
    std::ofstream(path(name), std::ios::binary) << content;
}

std::string CliRunner::read(const std::string& name) const { return readfile(path(name)); }

bool CliRunner::exists(const std::string& name) const {
    return std::filesystem::exists(path(name));
}

std::string sourcefile(const std::string& relative) {
    return std::string(QUELLMARK_SOURCE_DIR) + "/" + relative;
}

std::string readfile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace qm::cli::test
