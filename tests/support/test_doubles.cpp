#include "support/test_doubles.h"

namespace testsupport {

int MemoryProfile::getInt(std::string_view key, int defaultValue)
{
    const auto found = ints_.find(key);
    return found == ints_.end() ? defaultValue : found->second;
}

void MemoryProfile::writeInt(std::string_view key, int value)
{
    ints_.insert_or_assign(std::string(key), value);
}

std::string MemoryProfile::getString(std::string_view key, std::string_view defaultValue)
{
    const auto found = strings_.find(key);
    return found == strings_.end() ? std::string(defaultValue) : found->second;
}

void MemoryProfile::writeString(std::string_view key, std::string_view value)
{
    strings_.insert_or_assign(std::string(key), std::string(value));
}

void ScriptedPrompter::showMessage(std::string_view text)
{
    prompts_.push_back({Kind::Message, std::string(text)});
}

platform::Answer ScriptedPrompter::askYesNoCancel(std::string_view text)
{
    return answer(Kind::YesNoCancel, text, yesNoCancel_, yesNoCancelFallback_);
}

platform::Answer ScriptedPrompter::askYesNo(std::string_view text)
{
    return answer(Kind::YesNo, text, yesNoCancel_, yesNoCancelFallback_);
}

platform::DuplicateChoice ScriptedPrompter::askDuplicate(std::string_view text)
{
    return answer(Kind::Duplicate, text, duplicate_, duplicateFallback_);
}

platform::Answer ScriptedPrompter::askProgress(std::string_view text)
{
    return answer(Kind::Progress, text, progress_, progressFallback_);
}

platform::Answer ScriptedPrompter::reviewRenames(std::vector<platform::RenameProposal>& proposals)
{
    std::string text;
    for (const auto& proposal : proposals)
        text += proposal.oldName + " -> " + proposal.newName + "\n";
    reviews_.push_back(proposals);
    if (onRenames)
        onRenames(proposals);
    return answer(Kind::Renames, text, renames_, renamesFallback_);
}

template <typename Reply>
Reply ScriptedPrompter::answer(Kind kind, std::string_view text, std::deque<Reply>& script, Reply fallback)
{
    prompts_.push_back({kind, std::string(text)});
    if (script.empty())
        return fallback;
    const Reply next = script.front();
    script.pop_front();
    return next;
}

void ScriptedPrompter::scriptYesNoCancel(std::vector<platform::Answer> answers)
{
    yesNoCancel_.assign(answers.begin(), answers.end());
}

void ScriptedPrompter::scriptDuplicate(std::vector<platform::DuplicateChoice> answers)
{
    duplicate_.assign(answers.begin(), answers.end());
}

void ScriptedPrompter::scriptProgress(std::vector<platform::Answer> answers)
{
    progress_.assign(answers.begin(), answers.end());
}

void ScriptedPrompter::scriptRenames(std::vector<platform::Answer> answers)
{
    renames_.assign(answers.begin(), answers.end());
}

void ScriptedPrompter::setFallback(Kind kind, platform::Answer answer)
{
    switch (kind) {
    case Kind::YesNoCancel:
    case Kind::YesNo:
        yesNoCancelFallback_ = answer;
        break;
    case Kind::Duplicate:
        break;
    case Kind::Progress:
        progressFallback_ = answer;
        break;
    case Kind::Renames:
        renamesFallback_ = answer;
        break;
    case Kind::Message:
        break;
    }
}

std::vector<std::string> ScriptedPrompter::messages() const
{
    std::vector<std::string> texts;
    for (const auto& prompt : prompts_) {
        if (prompt.kind == Kind::Message)
            texts.push_back(prompt.text);
    }
    return texts;
}

}  // namespace testsupport
