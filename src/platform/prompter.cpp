#include "platform/prompter.h"

#include <cassert>

namespace platform {

namespace {
Prompter* installedPrompter = nullptr;
}

void Prompter::showFileMessage(std::string_view, std::string_view text)
{
    showMessage(text);
}

int Prompter::askYesNo(std::string_view text)
{
    const int answer = askYesNoCancel(text);
    return answer == kAnswerYes ? kAnswerYes : kAnswerNo;
}

Prompter& prompter()
{
    assert(installedPrompter && "no prompter installed");
    return *installedPrompter;
}

Prompter* installPrompter(Prompter* prompter)
{
    Prompter* previous = installedPrompter;
    installedPrompter = prompter;
    return previous;
}

}  // namespace platform
