#pragma once

#include "platform/profile.h"
#include "platform/prompter.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Doubles of the two seams for tests, benchmarks and fuzzers: settings held
// in memory and a prompter that answers from scripts.
namespace testsupport {

// A profile held in memory, for tests and for runs that must not touch the
// user's settings.
class MemoryProfile : public platform::Profile {
public:
    int getInt(std::string_view key, int defaultValue) override;
    void writeInt(std::string_view key, int value) override;
    std::string getString(std::string_view key, std::string_view defaultValue) override;
    void writeString(std::string_view key, std::string_view value) override;

private:
    std::map<std::string, int, std::less<>> ints_;
    std::map<std::string, std::string, std::less<>> strings_;
};

// Answers from scripts and records every message and question, in order.
// When a script runs dry, the fallback answer for that kind is given.
class ScriptedPrompter : public platform::Prompter {
public:
    enum class Kind { Message, YesNoCancel, YesNo, Duplicate, Progress, Renames };
    struct Prompt {
        Kind kind;
        std::string text;
    };

    void showMessage(std::string_view text) override;
    platform::Answer askYesNoCancel(std::string_view text) override;
    // Answers from the yes/no/cancel script.
    platform::Answer askYesNo(std::string_view text) override;
    platform::DuplicateChoice askDuplicate(std::string_view text) override;
    platform::Answer askProgress(std::string_view text) override;
    // Recorded as one line per proposal, "old -> new"; the ticks stay as
    // proposed unless the hook changes them.
    platform::Answer reviewRenames(std::vector<platform::RenameProposal>& proposals) override;

    void scriptYesNoCancel(std::vector<platform::Answer> answers);
    void scriptDuplicate(std::vector<platform::DuplicateChoice> answers);
    void scriptProgress(std::vector<platform::Answer> answers);
    void scriptRenames(std::vector<platform::Answer> answers);
    // Plays the user in front of a rename review: may untick names.
    std::function<void(std::vector<platform::RenameProposal>&)> onRenames;
    // The proposals of every review, as shown.
    const std::vector<std::vector<platform::RenameProposal>>& reviews() const { return reviews_; }
    // Not for the duplicate question, which has its own answers.
    void setFallback(Kind kind, platform::Answer answer);
    void setDuplicateFallback(platform::DuplicateChoice answer) { duplicateFallback_ = answer; }

    const std::vector<Prompt>& prompts() const { return prompts_; }
    std::vector<std::string> messages() const;
    void clear() { prompts_.clear(); }

private:
    template <typename Reply>
    Reply answer(Kind kind, std::string_view text, std::deque<Reply>& script, Reply fallback);

    std::vector<Prompt> prompts_;
    std::deque<platform::Answer> yesNoCancel_;
    std::deque<platform::DuplicateChoice> duplicate_;
    std::deque<platform::Answer> progress_;
    std::deque<platform::Answer> renames_;
    std::vector<std::vector<platform::RenameProposal>> reviews_;
    platform::Answer yesNoCancelFallback_ = platform::Answer::No;
    platform::DuplicateChoice duplicateFallback_ = platform::DuplicateChoice::Add;
    platform::Answer progressFallback_ = platform::Answer::Yes;
    platform::Answer renamesFallback_ = platform::Answer::Yes;
};

}  // namespace testsupport
