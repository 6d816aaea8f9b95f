#include "cli_runner.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace clitest {

namespace {

// No run of a test takes long; a program that hangs is ended, and its run
// then counts as not ended by itself.
constexpr const char* kTimeLimit = "timeout -k 10 300 ";
constexpr int kTimedOut = 124;

std::string quoted(const std::string& text)
{
    std::string result = "'";
    for (const char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

}  // namespace

ProgramRun CliRunner::run(const std::vector<std::string>& args, const std::string& input) const
{
    const std::string in = output_.write("in", testsupport::Bytes(input.begin(), input.end()));
    std::string command = "XDG_CONFIG_HOME=" + quoted(config_.path()) + " XDG_DATA_HOME=" + quoted(data_.path()) + " " +
                          environment_ + user_ + kTimeLimit + quoted(program_);
    for (const auto& arg : args)
        command += " " + quoted(arg);
    command += " <" + quoted(in) + " >" + quoted(output_.file("out")) + " 2>" + quoted(output_.file("err"));
    const int status = std::system(command.c_str());
    const bool exited = WIFEXITED(status) && WEXITSTATUS(status) != kTimedOut;
    return {exited ? WEXITSTATUS(status) : -1, textOf(output_.file("out")), textOf(output_.file("err"))};
}

void CliRunner::store(const std::string& key, const std::string& value) const
{
    const ProgramRun stored = run({"settings", key, value});
    if (stored.status != 0)
        throw std::runtime_error("cannot store " + key + ": " + stored.err);
}

void CliRunner::runAs(int id)
{
    // The build folder may lie in a folder only its owner enters (a home
    // folder), so the other user runs a copy from a folder anyone may enter.
    reachable_ = std::make_unique<testsupport::TempDir>();
    program_ = reachable_->file("liedkram-cli");
    std::filesystem::copy_file(LIEDKRAM_CLI_PATH, program_);
    if (::chmod(reachable_->path().c_str(), 0755) != 0 || ::chmod(program_.c_str(), 0755) != 0)
        throw std::runtime_error("cannot let another user run " + program_);
    const std::string number = std::to_string(id);
    user_ = "setpriv --reuid=" + number + " --regid=" + number + " --clear-groups ";
}

void CliRunner::setEnvironment(const std::string& name, const std::string& value)
{
    environment_ += name + "=" + quoted(value) + " ";
}

std::string textOf(const std::string& path)
{
    const auto bytes = bytesOf(path);
    return std::string(bytes.begin(), bytes.end());
}

testsupport::Bytes bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    testsupport::Bytes bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return bytes;
}

}  // namespace clitest
