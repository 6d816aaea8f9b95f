#include "cli/rename_answer.h"

#include "platform/prompter.h"
#include "platform/text.h"

#include <array>
#include <optional>
#include <string>
#include <utility>

namespace cli {

namespace {

constexpr std::string_view kChoices = "[j]a/[y]es, [n]ein, [a]bbrechen? ";
constexpr std::string_view kBlanks = " \t\r";

constexpr std::array<std::pair<std::string_view, RenameAnswer>, 3> kWords = {{
    {"ask", RenameAnswer::Ask},
    {"yes", RenameAnswer::Yes},
    {"no", RenameAnswer::No},
}};

std::optional<platform::Answer> answerFor(std::string_view line)
{
    const auto first = line.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return std::nullopt;
    line = line.substr(first, line.find_last_not_of(kBlanks) - first + 1);
    if (line.size() != 1)
        return std::nullopt;
    switch (line.front()) {
    case 'j':
    case 'J':
    case 'y':
    case 'Y':
        return platform::Answer::Yes;
    case 'n':
    case 'N':
        return platform::Answer::No;
    case 'a':
    case 'A':
        return platform::Answer::Cancel;
    default:
        return std::nullopt;
    }
}

}  // namespace

std::optional<RenameAnswer> renameAnswerNamed(std::string_view word)
{
    for (const auto& [name, answer] : kWords) {
        if (word == name)
            return answer;
    }
    return std::nullopt;
}

std::vector<std::string_view> renameAnswerWords()
{
    std::vector<std::string_view> words;
    words.reserve(std::size(kWords));
    for (const auto& [name, answer] : kWords)
        words.push_back(name);
    return words;
}

platform::Answer readRenameAnswer(std::string_view question, std::istream& in, std::ostream& err)
{
    err << platform::terminalText(question) << '\n';
    std::string line;
    while (true) {
        err << kChoices << std::flush;
        if (!std::getline(in, line)) {
            err << "\n-> nein (no more input)\n" << std::flush;
            return platform::Answer::No;
        }
        if (const auto answer = answerFor(line))
            return *answer;
    }
}

}  // namespace cli
