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
// The first layout had no temporary path and no kept stamp.
constexpr std::size_t kFirstLayoutFields = 12;
constexpr std::size_t kFields = 17;

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
           platform::escapedControls(change.temporary) + '\t' + stampFields(change.before) + '\t' +
           stampFields(change.after) + '\t' + stampFields(change.keptStamp) + '\n';
}

bool isKeptOriginal(const Change& change, const platform::FileStamp& found)
{
    const platform::FileStamp& kept = change.keptStamp;
    if (kept.device == 0 && kept.inode == 0)
        return found.size == kept.size && found.modifiedNs == kept.modifiedNs;
    return found == kept;
}

std::optional<Change> parseChange(std::string_view line)
{
    // A line cut short by a crash has no line break and counts for nothing.
    if (line.empty() || line.back() != '\n')
        return std::nullopt;
    line.remove_suffix(1);
    auto fields = split(line);
    const bool firstLayout = fields.size() == kFirstLayoutFields;
    if (firstLayout)
        fields.insert(fields.begin() + 4, std::string_view());
    else if (fields.size() != kFields)
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
    const auto temporary = platform::unescapedControls(fields[4]);
    if (!path || !newPath || !kept || !temporary || !readStamp(fields, 5, change.before) ||
        !readStamp(fields, 9, change.after))
        return std::nullopt;
    if (firstLayout)
        change.keptStamp = {0, 0, change.before.size, change.before.modifiedNs};
    else if (!readStamp(fields, 13, change.keptStamp))
        return std::nullopt;
    change.path = *path;
    change.newPath = *newPath;
    change.kept = *kept;
    change.temporary = *temporary;
    return change;
}

}  // namespace history
