#pragma once

#include "app/scoped_prompter.h"

class MessagesDock;

// For as long as it lives, messages go into the "Meldungen" panel instead of
// a box each, so a run over many files is not stopped at every problem
// file. Questions still go to the prompter it replaced.
class CollectedMessages : public ScopedPrompter {
public:
    explicit CollectedMessages(MessagesDock& dock) : dock_(dock) {}

    void showMessage(std::string_view text) override;
    void showFileMessage(std::string_view path, std::string_view text) override;

private:
    MessagesDock& dock_;
};
