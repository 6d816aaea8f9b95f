#pragma once

#include "platform/duplicate_choice.h"

#include <istream>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

namespace cli {

// How add answers the duplicate question: by asking whoever runs it, or
// always with one of the question's answers.
enum class DuplicateAnswer {
    Ask,
    Add,
    Replace,
    Skip,
    AddAll,
    ReplaceAll,
    Cancel,
};
// The answer a fixed DuplicateAnswer gives; not for Ask.
platform::DuplicateChoice choiceOf(DuplicateAnswer answer);

// The answer named exactly "ask", "add", "replace", "skip", "add-all",
// "replace-all" or "cancel"; none for anything else.
std::optional<DuplicateAnswer> duplicateAnswerNamed(std::string_view word);
// Those names, in that order.
std::vector<std::string_view> duplicateAnswerWords();

// A typed answer: one of the six answer words in any case, or the answer's
// number 1-6; none for anything else.
std::optional<DuplicateAnswer> parseTypedDuplicateAnswer(std::string_view text);

// Prints the question to err and reads answer lines from in until one is an
// answer; returns it. The end of input or a read error answers skip,
// so an unattended run neither adds a second copy nor drops a listed one.
platform::DuplicateChoice readDuplicateAnswer(std::string_view question, std::istream& in, std::ostream& err);

}  // namespace cli
