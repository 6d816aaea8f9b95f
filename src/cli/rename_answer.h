#pragma once

#include "platform/prompter.h"

#include <istream>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

namespace cli {

// How fix answers the rename question: at once, or by asking whoever runs it.
enum class RenameAnswer { Ask, Yes, No };

// The answer --rename names exactly: "ask", "yes" or "no"; none for anything else.
std::optional<RenameAnswer> renameAnswerNamed(std::string_view word);
// Those names, in that order.
std::vector<std::string_view> renameAnswerWords();

// Prints the question to err and reads answer lines from in until one is
// j or y (Ja), n (Nein) or a (Abbrechen), in any case; returns that
// answer. The end of input or a read error answers Nein, so an unattended run
// renames nothing.
platform::Answer readRenameAnswer(std::string_view question, std::istream& in, std::ostream& err);

}  // namespace cli
