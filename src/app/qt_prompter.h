#pragma once

#include "platform/prompter.h"

#include <functional>

class QWidget;

// Message boxes and the duplicate dialog of the desktop program. They show
// the arrow cursor also while a command is busy.
class QtPrompter : public platform::Prompter {
public:
    // parent gives the boxes their owner window (may return null).
    explicit QtPrompter(std::function<QWidget*()> parent);

    void showMessage(std::string_view text) override;
    // The box names the file, so many of them in a row can be told apart.
    void showFileMessage(std::string_view path, std::string_view text) override;
    platform::Answer askYesNoCancel(std::string_view text) override;
    platform::Answer askYesNo(std::string_view text) override;
    platform::DuplicateChoice askDuplicate(std::string_view text) override;
    platform::Answer askProgress(std::string_view text) override;
    // The rename preview dialog.
    platform::Answer reviewRenames(std::vector<platform::RenameProposal>& proposals) override;
    bool waitFor(std::string_view text, const std::function<bool()>& ready) override;

private:
    QWidget* owner() const;

    std::function<QWidget*()> parent_;
};
