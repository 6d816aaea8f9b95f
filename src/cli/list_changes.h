#pragma once

#include "document/liedkram_doc.h"

#include <cstddef>
#include <ostream>
#include <string>

namespace cli {

// Follows one add or subtract run on a document and writes a line for each
// entry as it comes or goes: "added PATH", "<removedVerb> PATH", and for a
// new entry the duplicate question turned away "declined PATH" ("cancelled
// PATH" when that answer also ended the run).
class ListChangeRecorder : public DocumentObserver {
public:
    ListChangeRecorder(CLiedkramDoc& doc, std::ostream& out, std::string removedVerb);
    ~ListChangeRecorder() override;
    ListChangeRecorder(const ListChangeRecorder&) = delete;
    ListChangeRecorder& operator=(const ListChangeRecorder&) = delete;

    void rowsAppended(std::size_t first, std::size_t count) override;
    // Named while they are still listed.
    void rowsAboutToBeRemoved(std::size_t first, std::size_t count) override;
    void rowsReordered() override {}
    void rowRefreshed(std::size_t) override {}
    void listCleared() override {}
    void titleChanged() override {}
    void entryDeclined(const CLiedkramEntry& entry, bool cancelled) override;

private:
    void line(std::string_view verb, std::string_view path);

    CLiedkramDoc& doc_;
    std::ostream& out_;
    std::string removedVerb_;
};

}  // namespace cli
