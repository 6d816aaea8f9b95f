#include "cli/stderr_prompter.h"

#include "cli/progress_line.h"

namespace cli {

namespace {

// "JA, hinzufügen": both copies stay in the list and no file is renamed,
// where declining would rename the new file to ".cop".
constexpr int kDuplicateAdd = 1;

}  // namespace

StderrPrompter::StderrPrompter(std::ostream& err, ProgressLine* progress)
    : err_(err), progress_(progress)
{
}

void StderrPrompter::showMessage(std::string_view text)
{
    print(text);
}

int StderrPrompter::askYesNoCancel(std::string_view text)
{
    print(text);
    print("-> cancel");
    return platform::kAnswerCancel;
}

int StderrPrompter::askDuplicate(std::string_view text)
{
    print(text);
    print("-> kept both");
    return kDuplicateAdd;
}

int StderrPrompter::askProgress(std::string_view text)
{
    print(text);
    print("-> cancel");
    return platform::kAnswerCancel;
}

void StderrPrompter::print(std::string_view text)
{
    if (progress_)
        progress_->hide();
    err_ << text << '\n' << std::flush;
}

}  // namespace cli
