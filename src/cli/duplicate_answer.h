#pragma once

#include "document/liedkram_doc.h"

#include <istream>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

namespace cli {

// How add answers the duplicate question: by asking whoever runs it, or
// always with one of the document's answers (the values are its codes).
enum class DuplicateAnswer {
    Ask = 0,
    Add = DUP_ADD,
    Replace = DUP_REPLACE,
    Skip = DUP_SKIP,
    AddAll = DUP_ADD_ALL,
    ReplaceAll = DUP_REPLACE_ALL,
    Cancel = DUP_CANCEL,
};

// The answer named exactly "ask", "add", "replace", "skip", "add-all",
// "replace-all" or "cancel"; none for anything else.
std::optional<DuplicateAnswer> duplicateAnswerNamed(std::string_view word);
// Those names, in that order.
std::vector<std::string_view> duplicateAnswerWords();

// A typed answer: one of the six answer words in any case, or the answer's
// number 1-6; none for anything else.
std::optional<DuplicateAnswer> parseTypedDuplicateAnswer(std::string_view text);

// Prints the question to err and reads answer lines from in until one is an
// answer; returns its code. The end of input or a read error answers skip,
// so an unattended run neither adds a second copy nor drops a listed one.
int readDuplicateAnswer(std::string_view question, std::istream& in, std::ostream& err);

}  // namespace cli
