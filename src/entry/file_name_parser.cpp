#include "entry/file_name_parser.h"

#include "platform/text.h"

namespace entry {

namespace {

constexpr std::size_t kExtensionLength = 4;

std::size_t leadingRun(std::string_view text, std::string_view characters)
{
    const auto end = text.find_first_not_of(characters);
    return end == std::string_view::npos ? text.size() : end;
}

bool endsWithBlank(const std::string& text)
{
    return !text.empty() && text.back() == ' ';
}

class NameScanner {
public:
    explicit NameScanner(std::string_view name)
        : name_(name), end_(name.size() > kExtensionLength ? name.size() - kExtensionLength : 0)
    {
    }

    NameParts parse()
    {
        skipTrackPrefix();
        if (at(pos_) == '(' || at(pos_) == '[') {
            bracketMode_ = true;
            ++pos_;
        }
        const std::string_view rest = name_.substr(pos_);
        dashMode_ = rest.find("_-_") != std::string_view::npos || rest.find(" - ") != std::string_view::npos;

        NameParts parts;
        readArtist(parts.artist);
        while (pos_ < name_.size() && std::string_view("-_ )]").find(name_[pos_]) != std::string_view::npos)
            ++pos_;
        readTitle(parts.title);
        return parts;
    }

private:
    // The character at i, or NUL where the name has none.
    char at(std::size_t i) const { return i < name_.size() ? name_[i] : '\0'; }

    // "01 - " goes, "01 Artist" and "01-Artist" keep their numbers.
    void skipTrackPrefix()
    {
        const std::size_t withBlanks = leadingRun(name_, "#1234567890 ");
        const std::size_t digitsOnly = leadingRun(name_, "#1234567890");
        if (digitsOnly < withBlanks) {
            const std::size_t withDash = leadingRun(name_, "#1234567890 -");
            if (withDash > withBlanks)
                pos_ = withDash;
        }
    }

    bool endsArtist(char c) const
    {
        if (bracketMode_)
            return c == ')' || c == ']';
        if (c != '-')
            return false;
        const char next = at(pos_ + 1);
        return next == ' ' || next == '_' || !dashMode_;
    }

    // Blanks, "_" and lower-case letters: the rules artist and title share.
    // Returns false for any other character.
    bool appendWordCharacter(std::string& out, char c) const
    {
        if (c == ' ' || c == '_') {
            if (!out.empty() && !endsWithBlank(out))
                out.push_back(' ');
            return true;
        }
        if (c >= 'a' && c <= 'z') {
            if (c == 'n' && endsWithBlank(out) && at(pos_ + 1) == '_')
                out.push_back('&');
            else if (out.empty() || endsWithBlank(out))
                out.push_back(platform::asciiUpper(c));
            else
                out.push_back(c);
            return true;
        }
        return false;
    }

    void readArtist(std::string& artist)
    {
        while (pos_ < end_) {
            const char c = name_[pos_];
            if (endsArtist(c))
                break;
            if (c == '(') {
                ++pos_;
                while (pos_ < end_ && name_[pos_] != ')')
                    ++pos_;
                if (pos_ < end_)
                    ++pos_;
                continue;
            }
            if (!appendWordCharacter(artist, c))
                artist.push_back(c);
            ++pos_;
        }
        if (endsWithBlank(artist))
            artist.pop_back();
    }

    void readTitle(std::string& title)
    {
        while (pos_ < end_) {
            const char c = name_[pos_];
            if (!appendWordCharacter(title, c))
                title.push_back(c);
            ++pos_;
        }
        if (endsWithBlank(title))
            title.pop_back();
    }

    std::string_view name_;
    std::size_t end_;
    std::size_t pos_ = 0;
    bool bracketMode_ = false;
    bool dashMode_ = false;
};

}  // namespace

NameParts parseFileName(std::string_view name)
{
    return NameScanner(name).parse();
}

}  // namespace entry
