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
    int askYesNoCancel(std::string_view text) override;
    // Answers from the yes/no/cancel script.
    int askYesNo(std::string_view text) override;
    platform::DuplicateChoice askDuplicate(std::string_view text) override;
    int askProgress(std::string_view text) override;
    // Recorded as one line per proposal, "old -> new"; the ticks stay as
    // proposed unless the hook changes them.
    int reviewRenames(std::vector<platform::RenameProposal>& proposals) override;

    void scriptYesNoCancel(std::vector<int> answers);
    void scriptDuplicate(const std::vector<platform::DuplicateChoice>& answers);
    void scriptProgress(std::vector<int> answers);
    void scriptRenames(std::vector<int> answers);
    // Plays the user in front of a rename review: may untick names.
    std::function<void(std::vector<platform::RenameProposal>&)> onRenames;
    // The proposals of every review, as shown.
    const std::vector<std::vector<platform::RenameProposal>>& reviews() const { return reviews_; }
    void setFallback(Kind kind, int answer);

    const std::vector<Prompt>& prompts() const { return prompts_; }
    std::vector<std::string> messages() const;
    void clear() { prompts_.clear(); }

private:
    int answer(Kind kind, std::string_view text, std::deque<int>& script, int fallback);

    std::vector<Prompt> prompts_;
    std::deque<int> yesNoCancel_;
    std::deque<int> duplicate_;
    std::deque<int> progress_;
    std::deque<int> renames_;
    std::vector<std::vector<platform::RenameProposal>> reviews_;
    int yesNoCancelFallback_ = platform::kAnswerNo;
    int duplicateFallback_ = 1;
    int progressFallback_ = platform::kAnswerYes;
    int renamesFallback_ = platform::kAnswerYes;
};

}  // namespace testsupport
