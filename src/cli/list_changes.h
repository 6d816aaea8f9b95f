#pragma once

#include "document/liedkram_doc.h"
#include "platform/prompter.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

// Follows one add or subtract run on a document and writes a line for each
// entry as it comes or goes: "added PATH", "<removedVerb> PATH", and for a
// new entry the duplicate question turned away "declined PATH" ("cancelled
// PATH" when that answer also ended the run). For its lifetime it is the
// installed prompter and passes every message and question on to the one it
// replaced, counting the messages.
class ListChangeRecorder : public DocumentObserver, public platform::Prompter {
public:
    ListChangeRecorder(CLiedkramDoc& doc, std::ostream& out, std::string removedVerb);
    ~ListChangeRecorder() override;
    ListChangeRecorder(const ListChangeRecorder&) = delete;
    ListChangeRecorder& operator=(const ListChangeRecorder&) = delete;

    std::size_t messageCount() const { return messages_; }

    void rowsAppended(std::size_t first, std::size_t count) override;
    void rowRemoved(std::size_t row) override;
    void rowsReordered() override;
    void rowRefreshed(std::size_t row) override;
    void listCleared() override;
    void titleChanged() override {}
    void entryDeclined(const CLiedkramEntry& entry, bool cancelled) override;

    void showMessage(std::string_view text) override;
    int askYesNoCancel(std::string_view text) override;
    int askYesNo(std::string_view text) override;
    int askDuplicate(std::string_view text) override;
    int askProgress(std::string_view text) override;

private:
    void line(std::string_view verb, std::string_view path);
    void mirrorRows();

    CLiedkramDoc& doc_;
    std::ostream& out_;
    std::string removedVerb_;
    platform::Prompter& inner_;
    // The full path of every row, so a removed row can still be named.
    std::vector<std::string> rows_;
    std::size_t messages_ = 0;
};

}  // namespace cli
