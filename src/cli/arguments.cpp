#include "cli/arguments.h"

#include "cli/usage.h"

#include <algorithm>
#include <string_view>

namespace cli {

namespace {

constexpr std::string_view kEndOfOptions = "--";
constexpr std::string_view kRenamePrefix = "--rename=";

bool isHelp(std::string_view arg)
{
    return arg == "--help" || arg == "-h";
}

bool looksLikeOption(std::string_view arg)
{
    return arg.size() > 1 && arg.front() == '-';
}

SettingValue parseOverride(std::string_view assignment)
{
    const auto equals = assignment.find('=');
    if (equals == std::string_view::npos)
        throw UsageError("--set needs KEY=VALUE, not '" + std::string(assignment) + "'");
    return parseSettingValue(assignment.substr(0, equals), assignment.substr(equals + 1));
}

RenameAnswer parseRenameAnswer(std::string_view value)
{
    if (value == "ask")
        return RenameAnswer::Ask;
    if (value == "yes")
        return RenameAnswer::Yes;
    if (value == "no")
        return RenameAnswer::No;
    throw UsageError("--rename takes ask, yes or no, not '" + std::string(value) + "'");
}

// An option only fix knows; false when the argument is none of them.
bool parseFixOption(std::string_view arg, Arguments& result)
{
    if (arg == "--dry-run") {
        result.dryRun = true;
        return true;
    }
    if (arg.starts_with(kRenamePrefix)) {
        result.rename = parseRenameAnswer(arg.substr(kRenamePrefix.size()));
        return true;
    }
    if (arg == "--rename")
        throw UsageError("--rename needs a value: --rename=ask, --rename=yes or --rename=no");
    return false;
}

// scan and fix: options and paths in any order.
Arguments parsePathCommand(Command command, std::string_view name, std::span<const std::string> args)
{
    Arguments result;
    result.command = command;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !looksLikeOption(arg)) {
            result.paths.push_back(arg);
        } else if (arg == kEndOfOptions) {
            optionsEnded = true;
        } else if (arg == "--set") {
            if (i + 1 == args.size())
                throw UsageError("--set needs KEY=VALUE");
            result.overrides.push_back(parseOverride(args[++i]));
        } else if (command != Command::Fix || !parseFixOption(arg, result)) {
            throw UsageError("unknown option '" + arg + "'");
        }
    }
    if (result.paths.empty())
        throw UsageError(std::string(name) + " needs at least one path");
    return result;
}

Arguments parseSettings(std::span<const std::string> args)
{
    Arguments result;
    result.command = Command::Settings;
    if (args.empty())
        return result;
    if (args.size() != 2)
        throw UsageError("settings takes no arguments or KEY VALUE");
    result.store = parseSettingValue(args[0], args[1]);
    return result;
}

}  // namespace

Arguments parseArguments(std::span<const std::string> args)
{
    const auto optionsEnd = std::find(args.begin(), args.end(), kEndOfOptions);
    if (std::any_of(args.begin(), optionsEnd, [](const std::string& arg) { return isHelp(arg); }))
        return Arguments{};
    if (args.empty())
        throw UsageError("no command given");
    const std::string& command = args.front();
    const auto rest = args.subspan(1);
    if (command == "scan")
        return parsePathCommand(Command::Scan, command, rest);
    if (command == "fix")
        return parsePathCommand(Command::Fix, command, rest);
    if (command == "settings")
        return parseSettings(rest);
    throw UsageError("unknown command '" + command + "'");
}

}  // namespace cli
