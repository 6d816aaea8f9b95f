#include "app/scoped_prompter.h"

ScopedPrompter::ScopedPrompter() : replaced_(platform::prompter())
{
    platform::installPrompter(this);
}

ScopedPrompter::~ScopedPrompter()
{
    platform::installPrompter(&replaced_);
}

void ScopedPrompter::showMessage(std::string_view text)
{
    replaced_.showMessage(text);
}

void ScopedPrompter::showFileMessage(std::string_view path, std::string_view text)
{
    replaced_.showFileMessage(path, text);
}

platform::Answer ScopedPrompter::askYesNoCancel(std::string_view text)
{
    return replaced_.askYesNoCancel(text);
}

platform::Answer ScopedPrompter::askYesNo(std::string_view text)
{
    return replaced_.askYesNo(text);
}

platform::DuplicateChoice ScopedPrompter::askDuplicate(std::string_view text)
{
    return replaced_.askDuplicate(text);
}

platform::Answer ScopedPrompter::askProgress(std::string_view text)
{
    return replaced_.askProgress(text);
}

platform::Answer ScopedPrompter::reviewRenames(std::vector<platform::RenameProposal>& proposals)
{
    return replaced_.reviewRenames(proposals);
}

bool ScopedPrompter::waitFor(std::string_view text, const std::function<bool()>& ready)
{
    return replaced_.waitFor(text, ready);
}
