#include "autoedit/normalize_name.h"

#include "platform/text.h"

namespace autoedit {

namespace {

constexpr std::string_view kSpecialCharacters = "[]\xA7$%#~'\xB4`?!:;,/";

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

// A text that, at the start of a word, is written as another.
struct WordStartReplacement {
    std::string_view match;
    std::string_view with;
};

// Roman numerals (tried in this order; "IVY" gives "4Y").
constexpr WordStartReplacement kRomanNumerals[] = {{"III", "3"}, {"II", "2"}, {"IV", "4"}};
// Featuring and versus forms; the dot or blank behind most of them is
// handled as the next character. A lower-case "ft " is no featuring.
constexpr WordStartReplacement kFeaturingAndVersus[] = {
    {"feat.", "feat"}, {"Feat.", "feat"}, {"feat ", "feat"}, {"Feat ", "feat"}, {"ft.", "feat"}, {"Ft.", "feat"},
    {"Ft ", "feat"},   {"vs.", "vs"},     {"Vs.", "vs"},     {"vs ", "vs"},     {"Vs ", "vs"},   {"versus", "vs"},
};

class Normalizer {
public:
    Normalizer(std::string_view text, const platform::NamingRules& rules)
        : text_(text),
          sonder_(rules.dropSpecial),
          uml_(rules.spellUmlauts),
          amp_(rules.ampersandAsN),
          underscore_(rules.underscores),
          separator_(underscore_ ? '_' : ' ')
    {
    }

    std::string run()
    {
        while (i_ < text_.size()) {
            step(text_[i_]);
            ++i_;
        }
        const auto last = out_.find_last_not_of("_ ");
        out_.erase(last == std::string::npos ? 0 : last + 1);
        return out_;
    }

private:
    using Rule = bool (Normalizer::*)(char c);

    // The first rule that takes the character handles it; their order is
    // part of their meaning ("-" breaks a word before it could be a letter).
    void step(char c)
    {
        static constexpr Rule kRules[] = {
            &Normalizer::wordBreak, &Normalizer::dot,         &Normalizer::romanNumeral,
            &Normalizer::accent,    &Normalizer::ampersand,   &Normalizer::andWord,
            &Normalizer::rockNRoll, &Normalizer::dropSpecial, &Normalizer::featuringOrVersus,
        };
        for (const Rule rule : kRules) {
            if ((this->*rule)(c))
                return;
        }
        plainCharacter(c);
    }

    bool wordBreak(char c)
    {
        if (c != '*' && !(c == '-' && sonder_))
            return false;
        if (!wordStart_)
            out_.push_back(separator_);
        wordStart_ = true;
        return true;
    }

    bool dot(char c)
    {
        if (!sonder_ || c != '.')
            return false;
        // Dots of an abbreviation such as R.E.M. keep it one word.
        const auto i = static_cast<std::ptrdiff_t>(i_);
        if (isDotAt(i - 2) || isDotAt(i + 2) || wordStart_)
            wordStart_ = false;
        else
            separate();
        return true;
    }

    bool romanNumeral(char) { return wordStart_ && sonder_ && replaceFirstOf(kRomanNumerals); }

    bool accent(char c)
    {
        const char* plain = uml_ ? platform::spelledAccent(c) : nullptr;
        if (!plain)
            return false;
        replace(plain, 0);
        return true;
    }

    bool ampersand(char c)
    {
        if (!amp_ || (c != '&' && c != '+'))
            return false;
        if (!wordStart_)
            out_.push_back(separator_);
        out_.push_back('n');
        wordStart_ = false;
        if (i_ + 1 < text_.size() && text_[i_ + 1] != ' ')
            separate();
        return true;
    }

    bool andWord(char)
    {
        if (!wordStart_ || !amp_)
            return false;
        if (here("And ") || here("and ")) {
            // The blank behind is handled next and gives the separator.
            replace("n", 2);
            return true;
        }
        if (here("n ") || here("N ")) {
            out_.push_back('n');
            separate();
            ++i_;
            return true;
        }
        return false;
    }

    bool rockNRoll(char)
    {
        if (!amp_ || !here("'n'"))
            return false;
        out_.append(underscore_ ? "_n_" : " n ");
        wordStart_ = true;
        i_ += 2;
        return true;
    }

    bool dropSpecial(char c) { return sonder_ && kSpecialCharacters.find(c) != std::string_view::npos; }

    bool featuringOrVersus(char) { return wordStart_ && amp_ && replaceFirstOf(kFeaturingAndVersus); }

    void plainCharacter(char c)
    {
        if (c == ' ') {
            if (!wordStart_)
                separate();
            return;
        }
        out_.push_back(wordStart_ ? upper1252(c) : c);
        wordStart_ = false;
    }

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

    // The first replacement whose match stands here; the match's last
    // character is the one the next step looks at when it is a dot or blank.
    template <std::size_t N>
    bool replaceFirstOf(const WordStartReplacement (&replacements)[N])
    {
        for (const auto& replacement : replacements) {
            if (here(replacement.match)) {
                const bool keepsLast = replacement.match.back() == '.' || replacement.match.back() == ' ';
                replace(replacement.with, replacement.match.size() - (keepsLast ? 2 : 1));
                return true;
            }
        }
        return false;
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

std::string NormalizeName(std::string_view text, const platform::NamingRules& rules)
{
    // A NUL ends the text, as it ends a tag field.
    const auto nul = text.find('\0');
    return Normalizer(text.substr(0, nul == std::string_view::npos ? text.size() : nul), rules).run();
}

}  // namespace autoedit
