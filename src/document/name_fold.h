#pragma once

#include <string>

namespace document {

// Folds Windows-1252 text one byte at a time the way names are compared:
// a run of separators (blank, comma, underscore) keeps only its first one,
// the punctuation ! # ' * + - . ? goes, accented letters and umlauts are
// spelt out in capitals, every other byte loses bit 5 (a-z become A-Z).
class NameFolder {
public:
    explicit NameFolder(std::string& out) : out_(out) {}

    void put(char c);
    // Something written past the folder (a character Windows-1252 cannot
    // hold) ends a run of separators as a letter would.
    void endSeparatorRun() { separated_ = false; }

private:
    std::string& out_;
    bool separated_ = false;
};

}  // namespace document
