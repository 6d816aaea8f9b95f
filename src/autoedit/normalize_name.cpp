#include "autoedit/normalize_name.h"

#include "platform/settings.h"

namespace autoedit {

namespace {

constexpr std::string_view kSpecialCharacters = "[]\xA7$%#~'\xB4`?!:;,/";

// The replacement of an accented letter, or null when it is not replaced.
const char* accentReplacement(unsigned char c)
{
    switch (c) {
    case 0xC0: case 0xC1: case 0xC2: case 0xC3: case 0xC5:
        return "A";
    case 0xC4: case 0xC6:
        return "Ae";
    case 0xC7:
        return "C";
    case 0xD0:
        return "D";
    case 0xC8: case 0xC9: case 0xCA: case 0xCB:
        return "E";
    case 0xCC: case 0xCD: case 0xCE: case 0xCF:
        return "I";
    case 0xD1:
        return "N";
    case 0xD2: case 0xD3: case 0xD4: case 0xD5:
        return "O";
    case 0xD6:
        return "Oe";
    case 0xD9: case 0xDA: case 0xDB:
        return "U";
    case 0xDC:
        return "Ue";
    case 0xDD:
        return "Y";
    case 0xDF:
        return "ss";
    case 0xE0: case 0xE1: case 0xE2: case 0xE3: case 0xE5:
        return "a";
    case 0xE4: case 0xE6:
        return "ae";
    case 0xE7:
        return "c";
    case 0xE8: case 0xE9: case 0xEA: case 0xEB:
        return "e";
    case 0xEC: case 0xED: case 0xEE: case 0xEF:
        return "i";
    case 0xF1:
        return "n";
    case 0xF2: case 0xF3: case 0xF4: case 0xF5:
        return "o";
    case 0xF6:
        return "oe";
    case 0xF9: case 0xFA: case 0xFB:
        return "u";
    case 0xFC:
        return "ue";
    case 0xFD: case 0xFF:
        return "y";
    default:
        return nullptr;
    }
}

// Upper case in Windows-1252.
char upper1252(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z')
        return static_cast<char>(u - 0x20);
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7)
        return static_cast<char>(u - 0x20);
    switch (u) {
    case 0x9A:
        return static_cast<char>(0x8A);
    case 0x9C:
        return static_cast<char>(0x8C);
    case 0x9E:
        return static_cast<char>(0x8E);
    case 0xFF:
        return static_cast<char>(0x9F);
    default:
        return c;
    }
}

class Normalizer {
public:
    explicit Normalizer(std::string_view text)
        : text_(text),
          sonder_(platform::isOn(platform::Setting::CnvSonder)),
          uml_(platform::isOn(platform::Setting::CnvUml)),
          amp_(platform::isOn(platform::Setting::CnvAmp)),
          underscore_(platform::isOn(platform::Setting::CnvSpace)),
          separator_(underscore_ ? '_' : ' ')
    {
    }

    std::string run()
    {
        while (i_ < text_.size()) {
            step();
            ++i_;
        }
        const auto last = out_.find_last_not_of("_ ");
        out_.erase(last == std::string::npos ? 0 : last + 1);
        return out_;
    }

private:
    // Whether the text holds these characters at i; positions past the end fail.
    bool at(std::size_t i, std::string_view what) const
    {
        return i <= text_.size() && text_.substr(i, what.size()) == what;
    }
    bool here(std::string_view what) const { return at(i_, what); }
    bool isDotAt(std::ptrdiff_t i) const
    {
        return i >= 0 && static_cast<std::size_t>(i) < text_.size() && text_[static_cast<std::size_t>(i)] == '.';
    }

    void separate()
    {
        out_.push_back(separator_);
        wordStart_ = true;
    }

    // Appends a replacement and skips the characters of the match after c.
    void replace(std::string_view with, std::size_t skip)
    {
        out_.append(with);
        wordStart_ = false;
        i_ += skip;
    }

    void step()
    {
        const char c = text_[i_];
        if (c == '*' || (c == '-' && sonder_)) {
            if (!wordStart_)
                out_.push_back(separator_);
            wordStart_ = true;
            return;
        }
        if (sonder_ && c == '.') {
            // Dots of an abbreviation such as R.E.M. keep it one word.
            const auto i = static_cast<std::ptrdiff_t>(i_);
            if (isDotAt(i - 2) || isDotAt(i + 2) || wordStart_)
                wordStart_ = false;
            else
                separate();
            return;
        }
        if (wordStart_ && sonder_) {
            if (here("III"))
                return replace("3", 2);
            if (here("II"))
                return replace("2", 1);
            if (here("IV"))
                return replace("4", 1);
        }
        if (uml_) {
            if (const char* plain = accentReplacement(static_cast<unsigned char>(c)))
                return replace(plain, 0);
        }
        if (amp_ && (c == '&' || c == '+')) {
            if (!wordStart_)
                out_.push_back(separator_);
            out_.push_back('n');
            wordStart_ = false;
            if (i_ + 1 < text_.size() && text_[i_ + 1] != ' ')
                separate();
            return;
        }
        if (wordStart_ && amp_) {
            if (here("And ") || here("and "))
                return replace("n", 2);
            if (here("n ") || here("N ")) {
                out_.push_back('n');
                separate();
                ++i_;
                return;
            }
        }
        if (amp_ && here("'n'")) {
            out_.append(underscore_ ? "_n_" : " n ");
            wordStart_ = true;
            i_ += 2;
            return;
        }
        if (sonder_ && kSpecialCharacters.find(c) != std::string_view::npos)
            return;
        if (wordStart_ && amp_) {
            if (here("feat.") || here("Feat.") || here("feat ") || here("Feat "))
                return replace("feat", 3);
            if (here("ft.") || here("Ft.") || here("Ft "))
                return replace("feat", 1);
            if (here("vs.") || here("Vs.") || here("vs ") || here("Vs "))
                return replace("vs", 1);
            if (here("versus"))
                return replace("vs", 5);
        }
        if (c == ' ') {
            if (!wordStart_)
                separate();
            return;
        }
        out_.push_back(wordStart_ ? upper1252(c) : c);
        wordStart_ = false;
    }

    std::string_view text_;
    bool sonder_;
    bool uml_;
    bool amp_;
    bool underscore_;
    char separator_;
    std::size_t i_ = 0;
    bool wordStart_ = true;
    std::string out_;
};

}  // namespace

std::string NormalizeName(std::string_view text)
{
    // A NUL ends the text, as it ends a tag field.
    const auto nul = text.find('\0');
    return Normalizer(text.substr(0, nul == std::string_view::npos ? text.size() : nul)).run();
}

}  // namespace autoedit
