#pragma once

#include "platform/duplicate_choice.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The answers of the question boxes.
enum class Answer {
    Yes,
    No,
    Cancel,
};

// One name a rename pattern proposes in a run over many files, as the
// review before the run shows it.
struct RenameProposal {
    enum class Mark {
        Offered,
        Taken,  // a file of that name is there, or an earlier file gets it
        NotAllowed,  // no plain file name (too long, a separator, "." or "..")
        MissingField,  // the entry lacks a field of the pattern: the file keeps its name
    };
    std::size_t index = 0;  // position among the files of the run
    std::string oldName;
    std::string newName;
    Mark mark = Mark::Offered;
    std::string missing;  // the placeholder of MissingField
    bool ticked = false;  // only an offered name can be ticked
};

// Everything the core asks of or tells the user. Texts are UTF-8.
class Prompter {
public:
    virtual ~Prompter() = default;
    // A plain message with an OK button; returns when the user has seen it.
    virtual void showMessage(std::string_view text) = 0;
    // A message about one file whose text does not name it. Fronts where
    // the user cannot tell which file it concerns put the path in front.
    virtual void showFileMessage(std::string_view path, std::string_view text);
    // Yes/No/Cancel: returns Yes, No or Cancel.
    virtual Answer askYesNoCancel(std::string_view text) = 0;
    // Yes/No: returns Yes or No. Fronts without a two-button
    // question ask the three-button one and read Cancel as No.
    virtual Answer askYesNo(std::string_view text);
    // The duplicate question.
    virtual DuplicateChoice askDuplicate(std::string_view text) = 0;
    // A question inside a running progress: Yes, No or Cancel.
    virtual Answer askProgress(std::string_view text) = 0;
    // Shows every proposed name of a run before it starts; the user may
    // untick offered ones. Returns Yes (rename the ticked),
    // No (rename none) or Cancel (no run). Fronts without a
    // list ask one three-button question naming the ticked renames.
    virtual Answer reviewRenames(std::vector<RenameProposal>& proposals);
    // Waits until ready() says the way is free, telling the user why it
    // waits; false when the user gave up waiting.
    virtual bool waitFor(std::string_view text, const std::function<bool()>& ready);
};

// The process-wide prompter, installed by each front's main() (and by tests).
Prompter& prompter();
// Installs a prompter and returns the one it replaces (may be null).
Prompter* installPrompter(Prompter* prompter);

}  // namespace platform
