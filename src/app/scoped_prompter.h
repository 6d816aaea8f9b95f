#pragma once

#include "platform/prompter.h"

// A prompter put in front of the installed one for as long as it lives: it
// passes every message and question on to the prompter it replaced and puts
// that one back when it goes, however its scope is left. A subclass answers
// the calls it takes over.
class ScopedPrompter : public platform::Prompter {
public:
    ScopedPrompter();
    ~ScopedPrompter() override;
    ScopedPrompter(const ScopedPrompter&) = delete;
    ScopedPrompter& operator=(const ScopedPrompter&) = delete;

    void showMessage(std::string_view text) override;
    void showFileMessage(std::string_view path, std::string_view text) override;
    platform::Answer askYesNoCancel(std::string_view text) override;
    platform::Answer askYesNo(std::string_view text) override;
    platform::DuplicateChoice askDuplicate(std::string_view text) override;
    platform::Answer askProgress(std::string_view text) override;
    platform::Answer reviewRenames(std::vector<platform::RenameProposal>& proposals) override;
    bool waitFor(std::string_view text, const std::function<bool()>& ready) override;

private:
    platform::Prompter& replaced_;
};
