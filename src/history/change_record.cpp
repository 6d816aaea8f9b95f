#include "history/change_record.h"

#include "platform/text.h"

#include <charconv>
#include <vector>

namespace history {

namespace {

constexpr std::string_view kReplaced = "replaced";
constexpr std::string_view kRenamed = "renamed";
constexpr std::string_view kWithdrawn = "withdrawn";

std::string_view nameOf(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Replaced:
        return kReplaced;
    case ChangeKind::Renamed:
        return kRenamed;
    case ChangeKind::Withdrawn:
        break;
    }
    return kWithdrawn;
}
constexpr std::size_t kFields = 12;

std::string stampFields(const platform::FileStamp& stamp)
{
    return std::to_string(stamp.device) + '\t' + std::to_string(stamp.inode) + '\t' + std::to_string(stamp.size) +
           '\t' + std::to_string(stamp.modifiedNs);
}

template <class Number>
bool readNumber(std::string_view text, Number& number)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

bool readStamp(const std::vector<std::string_view>& fields, std::size_t first, platform::FileStamp& stamp)
{
    return readNumber(fields[first], stamp.device) && readNumber(fields[first + 1], stamp.inode) &&
           readNumber(fields[first + 2], stamp.size) && readNumber(fields[first + 3], stamp.modifiedNs);
}

std::vector<std::string_view> split(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t begin = 0;
    for (std::size_t tab; (tab = line.find('\t', begin)) != std::string_view::npos; begin = tab + 1)
        fields.push_back(line.substr(begin, tab - begin));
    fields.push_back(line.substr(begin));
    return fields;
}

}  // namespace

std::string formatChange(const Change& change)
{
    return std::string(nameOf(change.kind)) + '\t' + platform::escapedControls(change.path) + '\t' +
           platform::escapedControls(change.newPath) + '\t' + platform::escapedControls(change.kept) + '\t' +
           stampFields(change.before) + '\t' + stampFields(change.after) + '\n';
}

std::optional<Change> parseChange(std::string_view line)
{
    // A line cut short by a crash has no line break and counts for nothing.
    if (line.empty() || line.back() != '\n')
        return std::nullopt;
    line.remove_suffix(1);
    const auto fields = split(line);
    if (fields.size() != kFields)
        return std::nullopt;
    Change change;
    if (fields[0] == kReplaced)
        change.kind = ChangeKind::Replaced;
    else if (fields[0] == kRenamed)
        change.kind = ChangeKind::Renamed;
    else if (fields[0] == kWithdrawn)
        change.kind = ChangeKind::Withdrawn;
    else
        return std::nullopt;
    const auto path = platform::unescapedControls(fields[1]);
    const auto newPath = platform::unescapedControls(fields[2]);
    const auto kept = platform::unescapedControls(fields[3]);
    if (!path || !newPath || !kept || !readStamp(fields, 4, change.before) || !readStamp(fields, 8, change.after))
        return std::nullopt;
    change.path = *path;
    change.newPath = *newPath;
    change.kept = *kept;
    return change;
}

}  // namespace history
