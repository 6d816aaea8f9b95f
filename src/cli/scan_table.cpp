#include "cli/scan_table.h"

#include "cli/list_columns.h"
#include "entry/liedkram_entry.h"
#include "platform/text.h"
#include "tags/tag_kinds.h"

#include <array>
#include <cstdio>
#include <vector>

namespace cli {

namespace {

// Behind the list's fourteen columns.
constexpr std::array<std::string_view, 13> kTechnicalColumnNames = {
    "AudioStart", "AudioEnd", "Frames",     "LengthMs", "BitrateBps", "Header", "Flags",
    "Verified",   "HasId3v2", "SampleRate", "Format",   "Mode",       "Tags",
};
// fix adds one column behind them.
constexpr std::string_view kNewNameColumn = "NewName";

std::string hex(unsigned value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", width, value);
    return text;
}

std::vector<std::string> headerFields()
{
    std::vector<std::string> fields;
    for (const Column column : allColumns())
        fields.emplace_back(columnHeader(column));
    fields.insert(fields.end(), kTechnicalColumnNames.begin(), kTechnicalColumnNames.end());
    return fields;
}

std::vector<std::string> rowFields(const CLiedkramEntry& entry)
{
    std::vector<std::string> fields;
    fields.reserve(kColumnCount + kTechnicalColumnNames.size() + 1);
    for (const Column column : allColumns())
        fields.push_back(entry.GetColumnText(column));
    fields.push_back(std::to_string(entry.m_nAudioStart));
    fields.push_back(std::to_string(entry.m_nAudioEnd));
    fields.push_back(std::to_string(entry.m_nFrames));
    fields.push_back(std::to_string(entry.m_nLengthMs));
    fields.push_back(std::to_string(entry.m_nBitrate));
    fields.push_back(hex(entry.m_dwHeader, 8));
    fields.push_back(hex(entry.m_nFlags, 2));
    fields.push_back(entry.m_bVerified ? "1" : "0");
    fields.push_back(entry.m_bHasId3v2 ? "1" : "0");
    fields.push_back(std::to_string(entry.GetSampleRate()));
    fields.push_back(entry.GetFormatText());
    fields.push_back(entry.GetModeText());
    fields.push_back(tags::tagKindsText(entry.m_nTagKinds));
    return fields;
}

std::string joinLine(const std::vector<std::string>& fields)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += '\t';
        line += escapeField(fields[i]);
    }
    line += '\n';
    return line;
}

}  // namespace

std::string escapeField(std::string_view text)
{
    return platform::escapedControls(text);
}

std::string scanHeader()
{
    return joinLine(headerFields());
}

std::string scanRow(const CLiedkramEntry& entry)
{
    return joinLine(rowFields(entry));
}

std::string fixHeader()
{
    auto fields = headerFields();
    fields.emplace_back(kNewNameColumn);
    return joinLine(fields);
}

std::string fixRow(const CLiedkramEntry& entry)
{
    auto fields = rowFields(entry);
    fields.push_back(entry.m_strNewName);
    return joinLine(fields);
}

}  // namespace cli
