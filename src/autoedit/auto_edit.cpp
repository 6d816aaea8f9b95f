#include "autoedit/auto_edit.h"

#include "autoedit/normalize_name.h"
#include "autoedit/rewrite_file.h"
#include "entry/liedkram_entry.h"
#include "platform/prompter.h"
#include "platform/text.h"
#include "tags/genre_list.h"

#include <cstdio>
#include <string_view>

namespace autoedit {

namespace {

std::string trackText(const CLiedkramEntry& entry)
{
    char track[8];
    std::snprintf(track, sizeof track, "%02i", entry.m_nTrack);
    return track;
}

struct Placeholder {
    std::string_view text;
    std::string (*value)(const CLiedkramEntry&);
    bool (*filled)(const CLiedkramEntry&);
};

// Tried in this order; only these exact spellings count.
constexpr Placeholder kPlaceholders[] = {
    {"$Artist", [](const CLiedkramEntry& e) { return e.m_szArtist.str(); },
     [](const CLiedkramEntry& e) { return !e.m_szArtist.empty(); }},
    {"$Title", [](const CLiedkramEntry& e) { return e.m_szTitle.str(); },
     [](const CLiedkramEntry& e) { return !e.m_szTitle.empty(); }},
    {"$Album", [](const CLiedkramEntry& e) { return e.m_szAlbum.str(); },
     [](const CLiedkramEntry& e) { return !e.m_szAlbum.empty(); }},
    {"$Genre", [](const CLiedkramEntry& e) { return std::string(tags::genreName(e.m_nGenre)); },
     [](const CLiedkramEntry& e) { return *tags::genreName(e.m_nGenre) != '\0'; }},
    {"$Comment", [](const CLiedkramEntry& e) { return e.m_szComment.str(); },
     [](const CLiedkramEntry& e) { return !e.m_szComment.empty(); }},
    {"$Track", trackText, [](const CLiedkramEntry& e) { return e.m_nTrack != 0; }},
};

const Placeholder* placeholderAt(std::string_view pattern)
{
    for (const auto& placeholder : kPlaceholders) {
        if (pattern.substr(0, placeholder.text.size()) == placeholder.text)
            return &placeholder;
    }
    return nullptr;
}

bool isAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Appends the normalised value of a placeholder at the start of the pattern
// and removes it there; false when the pattern starts with none.
bool expandPlaceholder(const CLiedkramEntry& entry, const platform::NamingRules& rules, std::string_view& pattern,
                       std::string& name)
{
    const Placeholder* placeholder = placeholderAt(pattern);
    if (!placeholder)
        return false;
    name += NormalizeName(placeholder->value(entry), rules);
    pattern.remove_prefix(placeholder->text.size());
    return true;
}

}  // namespace

PatternCheck CheckPattern(std::string_view pattern)
{
    if (pattern.find('/') != std::string_view::npos)
        return {PatternFault::FolderSeparator, "/"};
    for (std::size_t at = pattern.find('$'); at != std::string_view::npos; at = pattern.find('$', at + 1)) {
        std::size_t end = at + 1;
        while (end < pattern.size() && isAsciiLetter(pattern[end]))
            ++end;
        const std::string_view word = pattern.substr(at, end - at);
        // A "$" before no letter is a plain character of the name.
        if (word.size() == 1)
            continue;
        const Placeholder* placeholder = placeholderAt(word);
        if (!placeholder || placeholder->text.size() != word.size())
            return {PatternFault::UnknownWord, std::string(word)};
    }
    return {};
}

std::string MissingField(const CLiedkramEntry& entry, std::string_view pattern)
{
    while (!pattern.empty()) {
        if (const Placeholder* placeholder = placeholderAt(pattern)) {
            if (!placeholder->filled(entry))
                return std::string(placeholder->text);
            pattern.remove_prefix(placeholder->text.size());
        } else {
            pattern.remove_prefix(1);
        }
    }
    return {};
}

std::string ExpandPattern(const CLiedkramEntry& entry, const platform::NamingRules& rules)
{
    const std::string stored = platform::utf8ToCp1252(rules.pattern);
    std::string_view pattern = stored;
    std::string name;
    while (!pattern.empty()) {
        if (!expandPlaceholder(entry, rules, pattern, name)) {
            name.push_back(pattern.front());
            pattern.remove_prefix(1);
        }
    }
    name += ".mp3";
    return platform::cp1252ToUtf8(name);
}

EditStep MarkRepairs(CLiedkramEntry& entry, const platform::RepairSettings& settings)
{
    // A record whose offsets cannot be is measured from its file first;
    // where that fails, the rewrite refuses it.
    if (entry.m_bNeedsRescan)
        entry.Rescan(settings);
    entry.m_strNewName.clear();
    if (settings.rename) {
        entry.m_strNewName = ExpandPattern(entry, settings.naming);
        if (entry.m_strNewName != entry.m_szFileName.view() && !MissingField(entry, settings.naming.pattern).empty()) {
            entry.m_strNewName.clear();
        } else if (entry.m_strNewName != entry.m_szFileName.view()) {
            const std::string question = "Umbenennen:\n" + entry.m_szFileName.str() + " ->\n" + entry.m_strNewName;
            const platform::Answer answer = platform::prompter().askProgress(question);
            if (answer == platform::Answer::Cancel)
                return EditStep::Cancelled;
            if (answer == platform::Answer::Yes)
                entry.m_nFlags |= ENTRY_RENAME;
        }
    }
    if (entry.m_nFlags & ENTRY_SCAN_ERROR)
        return EditStep::Incomplete;
    if (settings.markTagDue)
        entry.m_nFlags |= ENTRY_TAG_DIRTY;
    entry.UpdateCutFlags(settings);
    if (settings.setOriginal)
        entry.SetOriginal(1);
    if (settings.clearCopyright)
        entry.SetCopyright(0);
    return EditStep::Done;
}

EditStep EditEntry(CLiedkramEntry& entry, const platform::RepairSettings& settings, history::ChangeSet* changes)
{
    const EditStep marked = MarkRepairs(entry, settings);
    if (marked == EditStep::Cancelled)
        return marked;
    // With a scan error the content stays, but the rename is still done.
    switch (RewriteFile(entry, settings, changes)) {
    case RewriteOutcome::Failed:
        return EditStep::Failed;
    case RewriteOutcome::NotDone:
        return EditStep::Incomplete;
    case RewriteOutcome::Done:
        break;
    }
    return marked;
}

}  // namespace autoedit
