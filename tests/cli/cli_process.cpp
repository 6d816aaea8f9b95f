#include "cli_process.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>

extern char** environ;

namespace clitest {

namespace {

double now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string nameOf(std::string_view entry)
{
    return std::string(entry.substr(0, entry.find('=') + 1));
}

}  // namespace

CliProcess::CliProcess(const std::vector<std::string>& environment, const std::vector<std::string>& args,
                       const std::string& errFile)
{
    std::vector<std::string> env;
    for (char** variable = environ; *variable; ++variable) {
        bool replaced = false;
        for (const auto& entry : environment)
            replaced = replaced || std::string_view(*variable).rfind(nameOf(entry), 0) == 0;
        if (!replaced)
            env.emplace_back(*variable);
    }
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<std::string> argv0 = {LIEDKRAM_CLI_PATH};
    argv0.insert(argv0.end(), args.begin(), args.end());

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (auto& arg : argv0)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& variable : env)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    started_ = now();
    if (::posix_spawn(&pid_, LIEDKRAM_CLI_PATH, &actions, nullptr, argv.data(), envp.data()) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
}

CliProcess::~CliProcess()
{
    kill();
}

double CliProcess::elapsed() const
{
    return now() - started_;
}

bool CliProcess::ended()
{
    if (pid_ <= 0)
        return true;
    if (::waitpid(pid_, &status_, WNOHANG) != pid_)
        return false;
    pid_ = -1;
    return true;
}

void CliProcess::wait()
{
    if (pid_ > 0 && ::waitpid(pid_, &status_, 0) == pid_)
        pid_ = -1;
}

void CliProcess::kill()
{
    if (pid_ > 0)
        ::kill(pid_, SIGKILL);
    wait();
}

bool CliProcess::writesUnnamedIn(const std::string& folder) const
{
    std::error_code failed;
    // The kernel names an open file without a name by its folder, "#" and its number.
    const std::string unnamed = folder + "/#";
    for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(pid_) + "/fd", failed)) {
        const auto target = std::filesystem::read_symlink(fd.path(), failed);
        if (!failed && target.string().rfind(unnamed, 0) == 0)
            return true;
    }
    return false;
}

}  // namespace clitest
