#include "platform/prompter.h"

#include <cassert>
#include <chrono>
#include <thread>

namespace platform {

namespace {
Prompter* installedPrompter = nullptr;
}

void Prompter::showFileMessage(std::string_view, std::string_view text)
{
    showMessage(text);
}

Answer Prompter::askYesNo(std::string_view text)
{
    const Answer answer = askYesNoCancel(text);
    return answer == Answer::Yes ? Answer::Yes : Answer::No;
}

Answer Prompter::reviewRenames(std::vector<RenameProposal>& proposals)
{
    std::string text = "Umbenennen:";
    for (const RenameProposal& proposal : proposals) {
        if (proposal.ticked)
            text += "\n" + proposal.oldName + " ->\n" + proposal.newName;
    }
    return askYesNoCancel(text);
}

bool Prompter::waitFor(std::string_view text, const std::function<bool()>& ready)
{
    showMessage(text);
    while (!ready())
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return true;
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
