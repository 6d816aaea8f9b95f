#include "cli/stderr_prompter.h"

#include "cli/progress_line.h"
#include "platform/text.h"

#include <sstream>

namespace cli {

StderrPrompter::StderrPrompter(std::ostream& err, ProgressLine* progress, RenameAnswer rename, std::istream* in,
                               DuplicateAnswer duplicate)
    : err_(err), progress_(progress), rename_(rename), in_(in), duplicate_(duplicate)
{
}

void StderrPrompter::showMessage(std::string_view text)
{
    print(text);
}

void StderrPrompter::showFileMessage(std::string_view path, std::string_view text)
{
    print("'" + std::string(path) + "': " + std::string(text));
}

platform::Answer StderrPrompter::askYesNoCancel(std::string_view text)
{
    print(text);
    print("-> cancel");
    return platform::Answer::Cancel;
}

platform::DuplicateChoice StderrPrompter::askDuplicate(std::string_view text)
{
    if (duplicate_ != DuplicateAnswer::Ask)
        return choiceOf(duplicate_);
    if (progress_)
        progress_->hide();
    std::istringstream nothing;
    return readDuplicateAnswer(text, in_ ? *in_ : nothing, err_);
}

platform::Answer StderrPrompter::askProgress(std::string_view text)
{
    switch (rename_) {
    case RenameAnswer::Yes:
        return platform::Answer::Yes;
    case RenameAnswer::No:
        return platform::Answer::No;
    case RenameAnswer::Ask:
        break;
    }
    if (progress_)
        progress_->hide();
    // Nothing to read from is input that has ended.
    std::istringstream nothing;
    return readRenameAnswer(text, in_ ? *in_ : nothing, err_);
}

void StderrPrompter::print(std::string_view text)
{
    if (progress_)
        progress_->hide();
    // Texts from list files and file names never reach the terminal as controls.
    err_ << platform::terminalText(text) << '\n' << std::flush;
}

}  // namespace cli
