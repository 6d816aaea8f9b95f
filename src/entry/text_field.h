#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The bytes of a text of an entry, as it holds them; only the bytes in use
// are held, so a list of 100,000 entries stays small.
class StoredText {
public:
    std::string_view view() const { return text_; }
    std::string str() const { return text_; }
    const char* c_str() const { return text_.c_str(); }
    std::size_t size() const { return text_.size(); }
    bool empty() const { return text_.empty(); }

    friend bool operator==(const StoredText& a, const StoredText& b) { return a.view() == b.view(); }
    friend bool operator==(const StoredText& a, std::string_view b) { return a.view() == b; }

protected:
    std::string text_;
};

// A tag text of an entry: at most 255 bytes, like the fixed buffers the list
// file and the tag were designed around. Copies into it are cut to fit and
// end at an embedded NUL.
class TextField : public StoredText {
public:
    static constexpr std::size_t kMaxLength = 255;

    TextField() = default;
    TextField(std::string_view text) { assign(text); }
    TextField& operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }

    void assign(std::string_view text);
    // Appends as much of the text as still fits.
    void append(std::string_view text);
};

// A file name or directory of an entry. Held whole, however long, so that no
// operation acts on a path other than the one the user named; it ends at an
// embedded NUL, which no path can hold.
class PathField : public StoredText {
public:
    PathField() = default;
    PathField(std::string_view text) { assign(text); }
    PathField& operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }

    void assign(std::string_view text) { text_.assign(text.substr(0, text.find('\0'))); }
};
