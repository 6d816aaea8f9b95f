#include "cli/arguments.h"

#include "cli/list_columns.h"
#include "cli/usage.h"
#include "platform/text.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cli {

namespace {

constexpr std::string_view kEndOfOptions = "--";
constexpr std::string_view kRenamePrefix = "--rename=";
constexpr std::string_view kDuplicatePrefix = "--dup=";
constexpr std::string_view kListExtension = ".m3l";

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

// The document takes any other name for an MP3 file to add, so a list must
// be named as one; otherwise saving it could overwrite an MP3 file.
std::string checkedListPath(const std::string& path)
{
    const bool named = path.size() > kListExtension.size() &&
                       platform::equalsIgnoreAsciiCase(
                           std::string_view(path).substr(path.size() - kListExtension.size()), kListExtension);
    if (!named)
        throw UsageError("a list file's name ends in .m3l, not '" + path + "'");
    return path;
}

// The value behind an option that takes the next argument.
const std::string& optionValue(std::span<const std::string> args, std::size_t& i, std::string_view what)
{
    if (i + 1 == args.size())
        throw UsageError(std::string(args[i]) + " needs " + std::string(what));
    return args[++i];
}

// An option only some commands know; false when the argument is none of them.
bool parseCommandOption(std::span<const std::string> args, std::size_t& i, Arguments& result)
{
    const std::string_view arg = args[i];
    if (result.command == Command::Fix) {
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
        if (arg == "--list") {
            result.listPath = checkedListPath(optionValue(args, i, "a list file"));
            return true;
        }
    }
    if (result.command == Command::Add) {
        if (arg.starts_with(kDuplicatePrefix)) {
            const auto answer = duplicateAnswerNamed(arg.substr(kDuplicatePrefix.size()));
            if (!answer)
                throw UsageError("--dup takes ask, add, replace, skip, add-all, replace-all or cancel, not '" +
                                 std::string(arg.substr(kDuplicatePrefix.size())) + "'");
            result.duplicate = *answer;
            return true;
        }
        if (arg == "--dup")
            throw UsageError("--dup needs a value, e.g. --dup=skip");
    }
    return false;
}

// Options and the other arguments in any order; the others are returned.
std::vector<std::string> parseOptions(std::span<const std::string> args, Arguments& result)
{
    std::vector<std::string> others;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !looksLikeOption(arg))
            others.push_back(arg);
        else if (arg == kEndOfOptions)
            optionsEnded = true;
        else if (arg == "--set")
            result.overrides.push_back(parseOverride(optionValue(args, i, "KEY=VALUE")));
        else if (!parseCommandOption(args, i, result))
            throw UsageError("unknown option '" + arg + "'");
    }
    return others;
}

// The arguments of every command but settings.
Arguments parseFileCommand(Command command, std::string_view name, std::span<const std::string> args)
{
    Arguments result;
    result.command = command;
    std::vector<std::string> others = parseOptions(args, result);
    const auto usage = [name](std::string_view what) {
        return UsageError(std::string(name) + " " + std::string(what));
    };
    switch (command) {
    case Command::List:
        if (others.size() != 1)
            throw usage("takes one list file");
        result.listPath = checkedListPath(others[0]);
        return result;
    case Command::Sort:
        if (others.size() != 2)
            throw usage("takes a list file and a column");
        result.listPath = checkedListPath(others[0]);
        if (const auto column = parseListColumn(others[1]))
            result.sortColumn = *column;
        else
            throw usage("takes a column number 0-13 or a column header, not '" + others[1] + "'");
        return result;
    case Command::Add:
    case Command::Subtract:
        if (others.size() < 2)
            throw usage("needs a list file and at least one path");
        result.listPath = checkedListPath(others[0]);
        result.paths.assign(others.begin() + 1, others.end());
        return result;
    case Command::Fix:
        if (!result.listPath.empty()) {
            if (!others.empty())
                throw usage("--list takes no paths");
            return result;
        }
        [[fallthrough]];
    case Command::Scan:
        if (others.empty())
            throw usage("needs at least one path");
        result.paths = std::move(others);
        return result;
    case Command::Help:
    case Command::Settings:
        break;
    }
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

constexpr std::pair<std::string_view, Command> kFileCommands[] = {
    {"scan", Command::Scan}, {"fix", Command::Fix},           {"list", Command::List},
    {"add", Command::Add},   {"subtract", Command::Subtract}, {"sort", Command::Sort},
};

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
    for (const auto& [name, value] : kFileCommands) {
        if (command == name)
            return parseFileCommand(value, name, rest);
    }
    if (command == "settings")
        return parseSettings(rest);
    throw UsageError("unknown command '" + command + "'");
}

}  // namespace cli
