#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// A text of an entry: at most 255 bytes, NUL-terminated like the buffers
// the list file and the tag were designed around. Copies into it are cut to
// fit and end at an embedded NUL.
class TextField {
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

    std::string_view view() const { return {buffer_.data(), size_}; }
    std::string str() const { return std::string(view()); }
    const char* c_str() const { return buffer_.data(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    friend bool operator==(const TextField& a, const TextField& b) { return a.view() == b.view(); }
    friend bool operator==(const TextField& a, std::string_view b) { return a.view() == b; }

private:
    std::array<char, kMaxLength + 1> buffer_{};
    std::size_t size_ = 0;
};
