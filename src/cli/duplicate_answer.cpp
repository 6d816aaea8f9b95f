#include "cli/duplicate_answer.h"

#include "platform/text.h"

#include <array>
#include <cassert>
#include <string>
#include <utility>

namespace cli {

namespace {

constexpr std::string_view kChoices = "[1] add, [2] replace, [3] skip, [4] add-all, [5] replace-all, [6] cancel? ";
constexpr std::string_view kBlanks = " \t\r";

constexpr std::array<std::pair<std::string_view, DuplicateAnswer>, 7> kWords = {{
    {"ask", DuplicateAnswer::Ask},
    {"add", DuplicateAnswer::Add},
    {"replace", DuplicateAnswer::Replace},
    {"skip", DuplicateAnswer::Skip},
    {"add-all", DuplicateAnswer::AddAll},
    {"replace-all", DuplicateAnswer::ReplaceAll},
    {"cancel", DuplicateAnswer::Cancel},
}};

std::string_view trimmed(std::string_view line)
{
    const auto first = line.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::optional<DuplicateAnswer> duplicateAnswerNamed(std::string_view word)
{
    for (const auto& [name, answer] : kWords) {
        if (word == name)
            return answer;
    }
    return std::nullopt;
}

std::vector<std::string_view> duplicateAnswerWords()
{
    std::vector<std::string_view> words;
    words.reserve(std::size(kWords));
    for (const auto& [name, answer] : kWords)
        words.push_back(name);
    return words;
}

platform::DuplicateChoice choiceOf(DuplicateAnswer answer)
{
    using platform::DuplicateChoice;
    switch (answer) {
    case DuplicateAnswer::Add:
        return DuplicateChoice::Add;
    case DuplicateAnswer::Replace:
        return DuplicateChoice::Replace;
    case DuplicateAnswer::Skip:
        return DuplicateChoice::Skip;
    case DuplicateAnswer::AddAll:
        return DuplicateChoice::AddAll;
    case DuplicateAnswer::ReplaceAll:
        return DuplicateChoice::ReplaceAll;
    case DuplicateAnswer::Cancel:
    case DuplicateAnswer::Ask:
        break;
    }
    assert(answer == DuplicateAnswer::Cancel);
    return DuplicateChoice::Cancel;
}

std::optional<DuplicateAnswer> parseTypedDuplicateAnswer(std::string_view text)
{
    // The numbers are those of the answers as kWords lists them behind "ask".
    if (text.size() == 1 && text.front() >= '1' && text.front() <= '6')
        return kWords[static_cast<std::size_t>(text.front() - '0')].second;
    for (const auto& [name, answer] : kWords) {
        // Being asked again is what "ask" would mean here.
        if (answer != DuplicateAnswer::Ask && platform::equalsIgnoreAsciiCase(text, name))
            return answer;
    }
    return std::nullopt;
}

platform::DuplicateChoice readDuplicateAnswer(std::string_view question, std::istream& in, std::ostream& err)
{
    err << platform::terminalText(question) << '\n';
    std::string line;
    while (true) {
        err << kChoices << std::flush;
        if (!std::getline(in, line)) {
            err << "\n-> skip (no more input)\n" << std::flush;
            return platform::DuplicateChoice::Skip;
        }
        if (const auto answer = parseTypedDuplicateAnswer(trimmed(line)))
            return choiceOf(*answer);
    }
}

}  // namespace cli
