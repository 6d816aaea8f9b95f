#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace clitest {

// liedkram-cli started without a shell, so a kill reaches the program
// itself; standard input and output are /dev/null, standard error goes to
// errFile. environment holds NAME=value entries that replace the test's own.
class CliProcess {
public:
    CliProcess(const std::vector<std::string>& environment, const std::vector<std::string>& args,
               const std::string& errFile);
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    bool started() const { return pid_ > 0; }
    double elapsed() const;
    // True once the program has ended; its wait status is then in status().
    bool ended();
    void wait();
    void kill();
    int status() const { return status_; }
    // Whether the program holds a file open in the folder that has no name
    // there (new content on its way).
    bool writesUnnamedIn(const std::string& folder) const;

private:
    pid_t pid_ = -1;
    double started_ = 0;
    int status_ = -1;
};

}  // namespace clitest
