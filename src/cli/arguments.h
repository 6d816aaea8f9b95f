#pragma once

#include "cli/rename_answer.h"
#include "cli/setting_value.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cli {

enum class Command { Help, Scan, Fix, Settings };

struct Arguments {
    Command command = Command::Help;
    // scan and fix: settings for this run only, and the named paths in their order.
    std::vector<SettingValue> overrides;
    std::vector<std::string> paths;
    // fix: how the rename question is answered, and whether files stay as they are.
    RenameAnswer rename = RenameAnswer::Ask;
    bool dryRun = false;
    // settings: the one to store; none means list them all.
    std::optional<SettingValue> store;
};

// The arguments behind the program name. Throws UsageError when they do not
// form a command.
Arguments parseArguments(std::span<const std::string> args);

}  // namespace cli
