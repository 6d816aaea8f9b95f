// Writes the bash completion of liedkram-cli: the words it offers, taken
// from the program's own tables and the synopsis of its usage text, ahead
// of the completion functions (the template). Run by the build, so the
// completion knows every command, option, setting and column the program
// knows.

#include "cli/arguments.h"
#include "cli/duplicate_answer.h"
#include "cli/export_command.h"
#include "cli/rename_answer.h"
#include "cli/usage.h"
#include "entry/column.h"
#include "platform/settings.h"

#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kProgram = "liedkram-cli ";

// A word bash reads back as it is, whatever its characters ('#', '®').
std::string quoted(std::string_view word)
{
    std::string result = "'";
    for (const char c : word)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

template <typename Words>
void writeArray(std::ostream& out, std::string_view name, const Words& words)
{
    out << "_liedkram_cli_" << name << "=(";
    std::string_view gap;
    for (const auto& word : words) {
        out << gap << quoted(word);
        gap = " ";
    }
    out << ")\n";
}

// The options on one synopsis line: "--name", or "--name=" where the value
// follows the equals sign.
std::vector<std::string> optionsOn(std::string_view line)
{
    std::vector<std::string> options;
    std::istringstream words{std::string(line)};
    std::string word;
    while (words >> word) {
        const auto first = word.find_first_not_of("[(");
        const auto last = word.find_last_not_of("])");
        if (first == std::string::npos || word[first] != '-')
            continue;
        word = word.substr(first, last + 1 - first);
        // "--" alone ends the options; it is no option to offer.
        if (word == "--")
            continue;
        if (const auto equals = word.find('='); equals != std::string::npos)
            word.erase(equals + 1);
        options.push_back(word);
    }
    return options;
}

// Each command's options, from the synopsis lines that name it; the program's
// own (--help, --version) under the empty name.
std::map<std::string, std::set<std::string>> synopsisOptions()
{
    std::map<std::string, std::set<std::string>> options;
    std::istringstream text(cli::usageText());
    std::string line;
    while (std::getline(text, line) && !line.empty()) {
        const auto program = line.find(kProgram);
        if (program == std::string::npos)
            continue;
        const std::string_view rest = std::string_view(line).substr(program + kProgram.size());
        const std::string command(rest.starts_with('-') ? std::string_view() : rest.substr(0, rest.find(' ')));
        auto& known = options[command];
        for (const std::string& option : optionsOn(rest))
            known.insert(option);
    }
    return options;
}

void writeLists(std::ostream& out)
{
    out << "# The words the completion offers, from liedkram-cli's own tables.\n";
    const auto commands = cli::commandNames();
    writeArray(out, "commands", commands);
    auto options = synopsisOptions();
    writeArray(out, "program_options", options[""]);
    out << "declare -A _liedkram_cli_options=(\n";
    for (const std::string_view command : commands) {
        // The parser reads --set for every command but settings.
        if (command != "settings")
            options[std::string(command)].insert("--set");
        std::string words;
        for (const std::string& option : options[std::string(command)])
            words += (words.empty() ? "" : " ") + option;
        out << "  [" << command << "]=" << quoted(words) << "\n";
    }
    out << ")\n";
    std::vector<std::string_view> settings;
    for (const platform::SettingInfo& info : platform::settingsTable())
        settings.push_back(info.key);
    writeArray(out, "settings", settings);
    std::vector<std::string_view> columns;
    for (const Column column : allColumns())
        columns.push_back(columnHeader(column));
    writeArray(out, "columns", columns);
    writeArray(out, "rename_answers", cli::renameAnswerWords());
    writeArray(out, "dup_answers", cli::duplicateAnswerWords());
    writeArray(out, "export_formats", cli::exportFormatNames());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: liedkram-completion-lists TEMPLATE OUT\n";
        return 2;
    }
    std::ifstream functions(argv[1], std::ios::binary);
    std::ofstream out(argv[2], std::ios::binary);
    if (!functions || !out) {
        std::cerr << "liedkram-completion-lists: cannot read " << argv[1] << " or write " << argv[2] << "\n";
        return 1;
    }
    writeLists(out);
    out << "\n" << functions.rdbuf();
    return out.good() ? 0 : 1;
}
