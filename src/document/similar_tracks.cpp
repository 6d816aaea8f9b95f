#include "document/similar_tracks.h"

#include "document/name_fold.h"
#include "document/track_compare.h"
#include "entry/liedkram_entry.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <unordered_map>
#include <utility>

namespace document {

namespace {

constexpr std::array<std::string_view, 4> kArticles = {"the ", "die ", "der ", "das "};
constexpr std::string_view kSeparators = " ,_";

// Entries joined into groups, each group known by one of its entries.
class Groups {
public:
    explicit Groups(std::size_t count) : parent_(count), size_(count, 1)
    {
        std::iota(parent_.begin(), parent_.end(), std::size_t{0});
    }

    std::size_t find(std::size_t entry)
    {
        while (parent_[entry] != entry) {
            parent_[entry] = parent_[parent_[entry]];
            entry = parent_[entry];
        }
        return entry;
    }

    void join(std::size_t a, std::size_t b)
    {
        a = find(a);
        b = find(b);
        if (a == b)
            return;
        if (size_[a] < size_[b])
            std::swap(a, b);
        parent_[b] = a;
        size_[a] += size_[b];
    }

private:
    std::vector<std::size_t> parent_;
    std::vector<std::size_t> size_;
};

// Two folded texts as one key that no other pair gives.
std::string pairKey(const std::string& first, const std::string& second)
{
    return std::to_string(first.size()) + ':' + first + second;
}

std::string_view trimmed(std::string_view text, std::string_view around)
{
    const std::size_t first = text.find_first_not_of(around);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(around) - first + 1);
}

// What a title or artist is known by in each of the three ways.
struct Keys {
    std::string fileName;
    std::string artist;  // FoldName
    std::string title;  // FoldName
    std::string loose;  // empty when title and artist have no loose form
};

Keys keysOf(const CLiedkramEntry& entry)
{
    Keys keys;
    keys.fileName = platform::asciiLowered(entry.m_szFileName.view());
    keys.artist = FoldName(entry.m_szArtist.view());
    keys.title = FoldName(entry.m_szTitle.view());
    const std::string looseTitle = LooseName(entry.m_szTitle.view());
    const std::string looseArtist = LooseName(entry.m_szArtist.view());
    if (!looseTitle.empty() || !looseArtist.empty())
        keys.loose = pairKey(looseTitle, looseArtist);
    return keys;
}

}  // namespace

std::string LooseName(std::string_view text)
{
    std::string plain;
    plain.reserve(text.size());
    int depth = 0;
    for (const char c : text) {
        if (c == '(' || c == '[')
            ++depth;
        else if ((c == ')' || c == ']') && depth > 0)
            --depth;
        else if (depth == 0)
            plain.push_back(c);
    }
    // An addition that lost its closing bracket (cut at the end of a 30-byte
    // tag field) reaches to the end and is gone as well.
    std::string_view rest = trimmed(plain, " ");
    for (const std::string_view article : kArticles) {
        if (rest.size() >= article.size() && platform::equalsIgnoreAsciiCase(rest.substr(0, article.size()), article)) {
            rest.remove_prefix(article.size());
            break;
        }
    }
    std::string folded;
    folded.reserve(rest.size() * 2);
    NameFolder folder(folded);
    for (const char c : rest)
        folder.put(c);
    return std::string(trimmed(folded, kSeparators));
}

std::vector<std::vector<std::size_t>> SimilarGroups(std::span<const CLiedkramEntry* const> entries)
{
    const std::size_t count = entries.size();
    std::vector<Keys> keys;
    keys.reserve(count);
    for (const CLiedkramEntry* entry : entries)
        keys.push_back(keysOf(*entry));

    Groups groups(count);
    std::unordered_map<std::string, std::size_t> byFileName;
    std::unordered_map<std::string, std::size_t> byTrack;
    std::unordered_map<std::string, std::vector<std::size_t>> byLooseName;
    byFileName.reserve(count);
    byTrack.reserve(count);
    byLooseName.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        // The same track to IsSameTrack: the same file name but for ASCII case ...
        if (const auto [first, fresh] = byFileName.try_emplace(keys[i].fileName, i); !fresh)
            groups.join(first->second, i);
        // ... or the same folded title and artist.
        if (const auto [first, fresh] = byTrack.try_emplace(pairKey(keys[i].title, keys[i].artist), i); !fresh)
            groups.join(first->second, i);
        if (!keys[i].loose.empty())
            byLooseName[keys[i].loose].push_back(i);
    }
    // Of the same loose name, neighbours in length join when close enough;
    // so does a chain of them.
    for (auto& [name, members] : byLooseName) {
        if (members.size() < 2)
            continue;
        std::sort(members.begin(), members.end(),
                  [&](std::size_t a, std::size_t b) { return entries[a]->m_nLengthMs < entries[b]->m_nLengthMs; });
        for (std::size_t k = 1; k < members.size(); ++k) {
            const auto gap = static_cast<long long>(entries[members[k]]->m_nLengthMs) -
                             static_cast<long long>(entries[members[k - 1]]->m_nLengthMs);
            if (gap <= kSimilarLengthMs)
                groups.join(members[k - 1], members[k]);
        }
    }

    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> groupOfRoot(count, kNone);
    std::vector<std::vector<std::size_t>> found;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t& group = groupOfRoot[groups.find(i)];
        if (group == kNone) {
            group = found.size();
            found.emplace_back();
        }
        found[group].push_back(i);
    }
    std::erase_if(found, [](const auto& group) { return group.size() < 2; });
    std::stable_sort(found.begin(), found.end(), [&](const auto& a, const auto& b) {
        const Keys& left = keys[a.front()];
        const Keys& right = keys[b.front()];
        return std::tie(left.artist, left.title) < std::tie(right.artist, right.title);
    });
    return found;
}

}  // namespace document
