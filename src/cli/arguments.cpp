#include "cli/arguments.h"

#include "cli/export_command.h"
#include "cli/list_columns.h"
#include "cli/usage.h"
#include "platform/text.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cli {

namespace {

constexpr std::string_view kEndOfOptions = "--";
constexpr std::string_view kVersion = "--version";
constexpr std::string_view kRenamePrefix = "--rename=";
constexpr std::string_view kDuplicatePrefix = "--dup=";
constexpr std::string_view kListExtension = ".m3l";
constexpr std::string_view kMp3Extension = ".mp3";

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
    if (const auto answer = renameAnswerNamed(value))
        return *answer;
    throw UsageError("--rename takes ask, yes or no, not '" + std::string(value) + "'");
}

bool endsWith(std::string_view path, std::string_view extension)
{
    return path.size() > extension.size() &&
           platform::equalsIgnoreAsciiCase(path.substr(path.size() - extension.size()), extension);
}

// The document takes any other name for an MP3 file to add, so a list must
// be named as one; otherwise saving it could overwrite an MP3 file.
std::string checkedListPath(const std::string& path)
{
    if (!endsWith(path, kListExtension))
        throw UsageError("a list file's name ends in .m3l, not '" + path + "'");
    return path;
}

// The output comes first and the paths follow, so a forgotten output name
// would make the first MP3 file the output; such names are never written.
std::string checkedOutputPath(std::string_view command, const std::string& path)
{
    if (endsWith(path, kMp3Extension) || endsWith(path, kListExtension))
        throw UsageError(std::string(command) + " writes no file named .mp3 or .m3l, not '" + path + "'");
    return path;
}

// export, stats and cover take their entries from a list file or from paths.
void takeEntrySource(std::string_view command, std::vector<std::string> paths, Arguments& result)
{
    if (!result.listPath.empty() && !paths.empty())
        throw UsageError(std::string(command) + " takes --list or paths, not both");
    if (result.listPath.empty() && paths.empty())
        throw UsageError(std::string(command) + " needs --list LIST.m3l or at least one path");
    result.paths = std::move(paths);
}

bool takesList(Command command)
{
    return command == Command::Fix || command == Command::Export || command == Command::Stats ||
           command == Command::Cover;
}

// export FORMAT OUT, stats, cover OUT --font FONT; then the entries' source.
void parseOutputCommand(std::string_view name, std::vector<std::string> others, Arguments& result)
{
    const auto usage = [name](std::string_view what) {
        return UsageError(std::string(name) + " " + std::string(what));
    };
    std::size_t used = 0;
    if (result.command == Command::Export) {
        if (others.size() < 2)
            throw usage("needs a format (xls, m3u or txt) and an output file");
        const auto kind = exportKindNamed(others[0]);
        if (!kind)
            throw usage("takes the format xls, m3u or txt, not '" + others[0] + "'");
        result.exportKind = *kind;
        result.outputPath = checkedOutputPath(name, others[1]);
        used = 2;
    }
    if (result.command == Command::Cover) {
        if (others.empty())
            throw usage("needs an output file");
        if (!result.font)
            throw usage("needs --font \"FAMILY[,POINTS]\"");
        result.outputPath = checkedOutputPath(name, others[0]);
        used = 1;
    }
    others.erase(others.begin(), others.begin() + static_cast<std::ptrdiff_t>(used));
    takeEntrySource(name, std::move(others), result);
}

// A count of days or a change set's number.
std::optional<int> parseCount(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
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
        if (arg == "--no-backup") {
            result.keepOriginals = false;
            return true;
        }
    }
    if (result.command == Command::Move && arg == "--all") {
        result.all = true;
        return true;
    }
    if (result.command == Command::History && arg == "--purge") {
        result.purge = true;
        return true;
    }
    if (takesList(result.command) && arg == "--list") {
        result.listPath = checkedListPath(optionValue(args, i, "a list file"));
        return true;
    }
    if (result.command == Command::Cover && arg == "--font") {
        result.font = parseCoverFont(optionValue(args, i, "FAMILY[,POINTS]"));
        return true;
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
            throw usage("takes a column number " + columnNumberRange() + " or a column header, not '" + others[1] +
                        "'");
        return result;
    case Command::Find:
        if (others.size() < 2)
            throw usage("needs a list file and at least one word");
        result.listPath = checkedListPath(others[0]);
        result.words.assign(others.begin() + 1, others.end());
        return result;
    case Command::Similar:
        if (others.size() != 1)
            throw usage("takes one list file");
        result.listPath = checkedListPath(others[0]);
        return result;
    case Command::Move:
        if (others.size() < 2)
            throw usage("needs a list file and a folder");
        result.listPath = checkedListPath(others[0]);
        result.folder = others[1];
        result.paths.assign(others.begin() + 2, others.end());
        if (result.all && !result.paths.empty())
            throw usage("takes the paths of listed files or --all, not both");
        if (!result.all && result.paths.empty())
            throw usage("needs the paths of listed files or --all");
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
    case Command::Export:
    case Command::Stats:
    case Command::Cover:
        parseOutputCommand(name, std::move(others), result);
        return result;
    case Command::History:
        if (others.size() > (result.purge ? 1u : 0u))
            throw usage("takes nothing but --purge [DAYS]");
        if (!others.empty() && !(result.purgeDays = parseCount(others[0])))
            throw usage("--purge takes a number of days, not '" + others[0] + "'");
        return result;
    case Command::Undo:
    case Command::Redo:
        if (others.size() > 1)
            throw usage("takes at most the number of a change set");
        if (!others.empty() && !(result.changeSet = parseCount(others[0])))
            throw usage("takes the number of a change set, not '" + others[0] + "'");
        return result;
    case Command::Help:
    case Command::Version:
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

constexpr std::string_view kSettings = "settings";

constexpr std::pair<std::string_view, Command> kFileCommands[] = {
    {"scan", Command::Scan},       {"fix", Command::Fix},           {"list", Command::List},
    {"add", Command::Add},         {"subtract", Command::Subtract}, {"sort", Command::Sort},
    {"export", Command::Export},   {"stats", Command::Stats},       {"cover", Command::Cover},
    {"history", Command::History}, {"undo", Command::Undo},         {"redo", Command::Redo},
    {"find", Command::Find},       {"similar", Command::Similar},   {"move", Command::Move},
};

}  // namespace

Arguments parseArguments(std::span<const std::string> args)
{
    const auto optionsEnd = std::find(args.begin(), args.end(), kEndOfOptions);
    if (std::any_of(args.begin(), optionsEnd, [](const std::string& arg) { return isHelp(arg); }))
        return Arguments{};
    if (std::find(args.begin(), optionsEnd, kVersion) != optionsEnd) {
        Arguments version;
        version.command = Command::Version;
        return version;
    }
    if (args.empty())
        throw UsageError("no command given");
    const std::string& command = args.front();
    const auto rest = args.subspan(1);
    for (const auto& [name, value] : kFileCommands) {
        if (command == name)
            return parseFileCommand(value, name, rest);
    }
    if (command == kSettings)
        return parseSettings(rest);
    throw UsageError("unknown command '" + command + "'");
}

std::vector<std::string_view> commandNames()
{
    std::vector<std::string_view> names;
    for (const auto& [name, value] : kFileCommands)
        names.push_back(name);
    names.push_back(kSettings);
    return names;
}

}  // namespace cli
