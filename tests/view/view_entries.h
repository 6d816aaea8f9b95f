#pragma once

#include "entry/liedkram_entry.h"
#include "view/selection.h"

#include <deque>
#include <string>

namespace viewtest {

// Entries for the view's commands, kept at fixed addresses for a selection.
class Entries {
public:
    CLiedkramEntry& add(const std::string& artist, const std::string& title, int lengthMs = 180000)
    {
        CLiedkramEntry& entry = entries_.emplace_back();
        entry.m_szArtist = artist;
        entry.m_szTitle = title;
        entry.m_nLengthMs = lengthMs;
        entry.m_szPath = "/music";
        entry.m_szFileName = artist + " - " + title + ".mp3";
        entry.m_dwHeader = 0x4490FBFF;
        return entry;
    }

    view::Selection selection() const
    {
        view::Selection selected;
        for (const auto& entry : entries_)
            selected.push_back(&entry);
        return selected;
    }

private:
    std::deque<CLiedkramEntry> entries_;
};

}  // namespace viewtest
