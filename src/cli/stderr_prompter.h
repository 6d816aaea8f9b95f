#pragma once

#include "cli/duplicate_answer.h"
#include "cli/rename_answer.h"
#include "platform/prompter.h"

#include <istream>
#include <ostream>

namespace cli {

class ProgressLine;

// Prints every message, one per line, to the stream it is given (standard
// error). The save question is printed with the answer that changes nothing
// on disk; the rename and the duplicate question are answered as the run was
// told, or by a line read from in.
class StderrPrompter : public platform::Prompter {
public:
    explicit StderrPrompter(std::ostream& err, ProgressLine* progress = nullptr,
                            RenameAnswer rename = RenameAnswer::Ask, std::istream* in = nullptr,
                            DuplicateAnswer duplicate = DuplicateAnswer::Ask);

    void showMessage(std::string_view text) override;
    // The CLI works through many files unseen: the path goes in front.
    void showFileMessage(std::string_view path, std::string_view text) override;
    platform::Answer askYesNoCancel(std::string_view text) override;
    platform::DuplicateChoice askDuplicate(std::string_view text) override;
    platform::Answer askProgress(std::string_view text) override;

private:
    void print(std::string_view text);

    std::ostream& err_;
    ProgressLine* progress_;
    RenameAnswer rename_;
    std::istream* in_;
    DuplicateAnswer duplicate_;
};

}  // namespace cli
