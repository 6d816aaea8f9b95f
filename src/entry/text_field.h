#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// The bytes of a text of an entry, as it holds them. A list of a million
// entries holds six million of them, so they are kept small: up to 15 bytes
// in place, longer texts in a heap block of their own size.
class StoredText {
public:
    StoredText() { bytes_[kModeByte] = kInPlace; }
    StoredText(const StoredText& other) : StoredText() { store(other.view()); }
    StoredText(StoredText&& other) noexcept;
    StoredText& operator=(const StoredText& other);
    StoredText& operator=(StoredText&& other) noexcept;
    ~StoredText() { release(); }

    std::string_view view() const
    {
        if (onHeap())
            return {heapPointer(), heapSize()};
        return {reinterpret_cast<const char*>(bytes_.data()), static_cast<std::size_t>(kInPlace - bytes_[kModeByte])};
    }
    std::string str() const { return std::string(view()); }
    // Ends with a NUL.
    const char* c_str() const { return onHeap() ? heapPointer() : reinterpret_cast<const char*>(bytes_.data()); }
    std::size_t size() const { return view().size(); }
    bool empty() const { return size() == 0; }

    friend bool operator==(const StoredText& a, const StoredText& b) { return a.view() == b.view(); }
    friend bool operator==(const StoredText& a, std::string_view b) { return a.view() == b; }

protected:
    // Replaces the text; text may be a part of this one.
    void store(std::string_view text);

private:
    static constexpr std::size_t kInPlace = 15;
    // In place, the last byte holds 15 minus the length (so a text of 15
    // bytes ends with it as its NUL); on the heap, this mark.
    static constexpr std::size_t kModeByte = 15;
    static constexpr std::uint8_t kOnHeap = 0x80;

    bool onHeap() const { return bytes_[kModeByte] == kOnHeap; }
    const char* heapPointer() const
    {
        const char* pointer = nullptr;
        std::memcpy(&pointer, bytes_.data(), sizeof pointer);
        return pointer;
    }
    std::uint32_t heapSize() const
    {
        std::uint32_t size = 0;
        std::memcpy(&size, bytes_.data() + sizeof(char*), sizeof size);
        return size;
    }
    void release();

    alignas(char*) std::array<std::uint8_t, 16> bytes_{};
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

    void assign(std::string_view text) { store(text.substr(0, text.find('\0'))); }
};
