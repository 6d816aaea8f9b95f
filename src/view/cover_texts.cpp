#include "view/cover_texts.h"

#include "entry/liedkram_entry.h"
#include "platform/prompter.h"
#include "platform/text.h"

#include <cstdint>
#include <cstdio>

namespace view {

namespace {

constexpr const char* kTooFewTitles =
    "Witzbold: Ein CD-Cover mit 0 Titeln? Erst Titel markieren, dann Cover erstellen!";
constexpr const char* kTooManyTitles =
    "Ein CD-Cover mit mehr als 49 Titeln? Mach ich nicht. Du willst mich wohl testen?";

std::string formatted(const char* format, int value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// "&" is drawn as a prefix character, so a literal one is written twice.
std::string withDoubledAmpersands(std::string_view text)
{
    std::string doubled;
    doubled.reserve(text.size());
    for (const char c : text) {
        doubled += c;
        if (c == '&')
            doubled += '&';
    }
    return doubled;
}

std::string titleLine(const CLiedkramEntry& entry)
{
    std::string line = entry.m_szArtist.str();
    line += " - ";
    line += entry.m_szTitle.view();
    return platform::cp1252ToUtf8(withDoubledAmpersands(line));
}

std::string totalLengthText(std::int64_t ms)
{
    char text[48];
    std::snprintf(text, sizeof text, "%lli:%02lli.%lli", static_cast<long long>(ms / 60000),
                  static_cast<long long>((ms / 1000) % 60), static_cast<long long>((ms / 100) % 10));
    return text;
}

}  // namespace

CoverTexts coverTexts(const Selection& entries)
{
    CoverTexts texts;
    std::int64_t total = 0;
    int k = 0;
    for (const CLiedkramEntry* entry : entries) {
        ++k;
        texts.titles.push_back({formatted("%i)", k), titleLine(*entry), formatted("%i:", entry->m_nLengthMs / 60000),
                                entry->GetLengthText()});
        total += entry->m_nLengthMs;
    }
    texts.nextNumber = formatted("%i)", k + 1);
    texts.totalMinutes = std::to_string(total / 60000) + ":";
    texts.totalLength = totalLengthText(total);
    return texts;
}

std::optional<CoverTexts> collectCoverTexts(const Selection& entries)
{
    if (entries.size() < kMinCoverTitles) {
        platform::prompter().showMessage(kTooFewTitles);
        return std::nullopt;
    }
    if (entries.size() > kMaxCoverTitles) {
        platform::prompter().showMessage(kTooManyTitles);
        return std::nullopt;
    }
    return coverTexts(entries);
}

}  // namespace view
