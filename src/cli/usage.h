#pragma once

#include <stdexcept>
#include <string>

namespace cli {

// A command line that cannot be run: the message says what is wrong, the
// caller adds the usage text and exits with status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitSkipped = 1;
inline constexpr int kExitUsage = 2;

// What --help prints and what follows a usage error.
const std::string& usageText();

}  // namespace cli
