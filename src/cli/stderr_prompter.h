#pragma once

#include "platform/prompter.h"

#include <ostream>

namespace cli {

class ProgressLine;

// Prints every message, one per line, to the stream it is given (standard
// error). Nobody is there to answer, so questions are printed with the
// answer that changes nothing on disk.
class StderrPrompter : public platform::Prompter {
public:
    StderrPrompter(std::ostream& err, ProgressLine* progress = nullptr);

    void showMessage(std::string_view text) override;
    int askYesNoCancel(std::string_view text) override;
    int askDuplicate(std::string_view text) override;
    int askProgress(std::string_view text) override;

private:
    void print(std::string_view text);

    std::ostream& err_;
    ProgressLine* progress_;
};

}  // namespace cli
