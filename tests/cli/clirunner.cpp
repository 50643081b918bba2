#include "cli/clirunner.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
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

// The ordinary user the permission tests run as when the suite runs as root.
constexpr uid_t kNobody = 65534;

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

pid_t CliRunner::start(const std::vector<std::string>& args, bool asuser) const {
    const std::string exe = QUELLMARK_CLI_EXE;
    std::vector<std::string> argstore{exe};
    argstore.insert(argstore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argstore) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envstore = childenvironment(dir_);
    std::vector<char*> envp;
    for (auto& e : envstore) envp.push_back(e.data());
    envp.push_back(nullptr);
    const std::string outpath = dir_ + ".stdout";
    const std::string errpath = dir_ + ".stderr";
    const bool dropuser = asuser && geteuid() == 0;
    if (dropuser) std::filesystem::permissions(dir_, std::filesystem::perms::all);

    const pid_t pid = fork();
    if (pid != 0) return pid;
    // The child: only async-signal-safe calls from here on.
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outpath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    const int err = open(errpath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (in < 0 || out < 0 || err < 0 || dup2(in, STDIN_FILENO) < 0 ||
        dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0) {
        _exit(126);
    }
    if (dropuser && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
        _exit(126);
    }
    execve(exe.c_str(), argv.data(), envp.data());
    _exit(127);
}

CliRun CliRunner::wait(pid_t pid) const {
    CliRun result;
    if (pid < 0) {
        result.err = "cannot start " + std::string(QUELLMARK_CLI_EXE);
        return result;
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    result.exitcode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.maxrsskb = usage.ru_maxrss;
    result.out = readfile(dir_ + ".stdout");
    result.err = readfile(dir_ + ".stderr");
    return result;
}

CliRun CliRunner::runasuser(const std::vector<std::string>& args) const {
    return wait(start(args, true));
}

std::string CliRunner::outsofar() const { return readfile(dir_ + ".stdout"); }

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
