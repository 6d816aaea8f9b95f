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

int ScriptedPrompter::askYesNoCancel(std::string_view text)
{
    return answer(Kind::YesNoCancel, text, yesNoCancel_, yesNoCancelFallback_);
}

int ScriptedPrompter::askYesNo(std::string_view text)
{
    return answer(Kind::YesNo, text, yesNoCancel_, yesNoCancelFallback_);
}

platform::DuplicateChoice ScriptedPrompter::askDuplicate(std::string_view text)
{
    return static_cast<platform::DuplicateChoice>(answer(Kind::Duplicate, text, duplicate_, duplicateFallback_));
}

int ScriptedPrompter::askProgress(std::string_view text)
{
    return answer(Kind::Progress, text, progress_, progressFallback_);
}

int ScriptedPrompter::reviewRenames(std::vector<platform::RenameProposal>& proposals)
{
    std::string text;
    for (const auto& proposal : proposals)
        text += proposal.oldName + " -> " + proposal.newName + "\n";
    reviews_.push_back(proposals);
    if (onRenames)
        onRenames(proposals);
    return answer(Kind::Renames, text, renames_, renamesFallback_);
}

int ScriptedPrompter::answer(Kind kind, std::string_view text, std::deque<int>& script, int fallback)
{
    prompts_.push_back({kind, std::string(text)});
    if (script.empty())
        return fallback;
    const int next = script.front();
    script.pop_front();
    return next;
}

void ScriptedPrompter::scriptYesNoCancel(std::vector<int> answers)
{
    yesNoCancel_.assign(answers.begin(), answers.end());
}

void ScriptedPrompter::scriptDuplicate(const std::vector<platform::DuplicateChoice>& answers)
{
    duplicate_.clear();
    for (const platform::DuplicateChoice choice : answers)
        duplicate_.push_back(static_cast<int>(choice));
}

void ScriptedPrompter::scriptProgress(std::vector<int> answers)
{
    progress_.assign(answers.begin(), answers.end());
}

void ScriptedPrompter::scriptRenames(std::vector<int> answers)
{
    renames_.assign(answers.begin(), answers.end());
}

void ScriptedPrompter::setFallback(Kind kind, int answer)
{
    switch (kind) {
    case Kind::YesNoCancel:
    case Kind::YesNo:
        yesNoCancelFallback_ = answer;
        break;
    case Kind::Duplicate:
        duplicateFallback_ = answer;
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
