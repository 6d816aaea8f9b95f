#include "document/text_filter.h"

#include "document/name_fold.h"
#include "entry/liedkram_entry.h"
#include "platform/text.h"

#include <algorithm>

namespace document {

namespace {

constexpr char kColumnBreak = '\n';
constexpr std::string_view kWhiteSpace = " \t\r\n";

}  // namespace

std::string FoldForSearch(std::string_view text)
{
    std::string folded;
    folded.reserve(text.size() + text.size() / 2);
    // Windows-1252 runs are folded together and turned into UTF-8 at once.
    std::string run;
    NameFolder folder(run);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const char32_t character = platform::decodeUtf8(text, pos);
        const char byte = platform::cp1252FromCodePoint(character);
        if (byte != '?' || character == U'?') {
            folder.put(byte);
            continue;
        }
        folded += platform::cp1252ToUtf8(run);
        run.clear();
        folded.append(text.substr(start, pos - start));
        folder.endSeparatorRun();
    }
    folded += platform::cp1252ToUtf8(run);
    return folded;
}

std::string SearchText(const CLiedkramEntry& entry)
{
    std::string text;
    for (const Column column : allColumns()) {
        text += FoldForSearch(entry.GetColumnText(column));
        text.push_back(kColumnBreak);
    }
    return text;
}

TextFilter::TextFilter(std::string_view typed)
{
    std::size_t begin = typed.find_first_not_of(kWhiteSpace);
    while (begin != std::string_view::npos) {
        const std::size_t end = std::min(typed.find_first_of(kWhiteSpace, begin), typed.size());
        std::string word = FoldForSearch(typed.substr(begin, end - begin));
        if (!word.empty())
            words_.push_back(std::move(word));
        begin = typed.find_first_not_of(kWhiteSpace, end);
    }
}

bool TextFilter::matches(std::string_view searchText) const
{
    // A word never holds a line break, so it cannot match across two columns.
    return std::all_of(words_.begin(), words_.end(), [searchText](const std::string& word) {
        return searchText.find(word) != std::string_view::npos;
    });
}

bool TextFilter::matches(const CLiedkramEntry& entry) const
{
    return empty() || matches(SearchText(entry));
}

}  // namespace document
