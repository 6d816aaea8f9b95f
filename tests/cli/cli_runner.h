#pragma once

#include "support/temp_dir.h"

#include <memory>
#include <string>
#include <vector>

namespace clitest {

struct ProgramRun {
    int status;  // -1 when the program did not exit by itself
    std::string out;
    std::string err;
};

// Runs the built liedkram-cli with its settings in a directory of its own,
// never in the user's.
class CliRunner {
public:
    // input is what the program reads from standard input; then its end.
    ProgramRun run(const std::vector<std::string>& args, const std::string& input = "") const;
    const std::string& configDir() const { return config_.path(); }
    // Its XDG_DATA_HOME: the journal is in liedkram/ below.
    const std::string& dataHome() const { return data_.path(); }
    // Stores a setting for every later run, as "settings KEY VALUE" does.
    void store(const std::string& key, const std::string& value) const;
    // Sets a variable of the environment for every later run.
    void setEnvironment(const std::string& name, const std::string& value);
    // Later runs run as this user and group (the runner must be root), with
    // a copy of the program that user can reach.
    void runAs(int id);

private:
    testsupport::TempDir config_;
    testsupport::TempDir data_;
    std::string environment_;
    std::string user_;
    std::string program_ = LIEDKRAM_CLI_PATH;
    std::unique_ptr<testsupport::TempDir> reachable_;
    testsupport::TempDir output_;
};

std::string textOf(const std::string& path);
// The whole file in one read: fast enough for files of many megabytes.
testsupport::Bytes bytesOf(const std::string& path);

}  // namespace clitest
