#include "entry/text_field.h"

#include <algorithm>
#include <cassert>
#include <limits>

StoredText::StoredText(StoredText&& other) noexcept : bytes_(other.bytes_)
{
    other.bytes_[kModeByte] = kInPlace;
    other.bytes_[0] = 0;
}

StoredText& StoredText::operator=(const StoredText& other)
{
    if (this != &other)
        store(other.view());
    return *this;
}

StoredText& StoredText::operator=(StoredText&& other) noexcept
{
    if (this != &other) {
        release();
        bytes_ = other.bytes_;
        other.bytes_[kModeByte] = kInPlace;
        other.bytes_[0] = 0;
    }
    return *this;
}

void StoredText::release()
{
    if (onHeap())
        delete[] heapPointer();
    bytes_[kModeByte] = kInPlace;
    bytes_[0] = 0;
}

void StoredText::store(std::string_view text)
{
    assert(text.size() <= std::numeric_limits<std::uint32_t>::max());
    if (text.size() <= kInPlace) {
        std::array<std::uint8_t, 16> inPlace{};
        std::copy(text.begin(), text.end(), inPlace.begin());
        inPlace[kModeByte] = static_cast<std::uint8_t>(kInPlace - text.size());
        release();
        bytes_ = inPlace;
        return;
    }
    char* heap = new char[text.size() + 1];
    std::copy(text.begin(), text.end(), heap);
    heap[text.size()] = '\0';
    const auto size = static_cast<std::uint32_t>(text.size());
    release();
    std::memcpy(bytes_.data(), &heap, sizeof heap);
    std::memcpy(bytes_.data() + sizeof heap, &size, sizeof size);
    bytes_[kModeByte] = kOnHeap;
}

void TextField::assign(std::string_view text)
{
    const auto nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    store(text.substr(0, std::min(text.size(), kMaxLength)));
}

void TextField::append(std::string_view text)
{
    const auto nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    std::string joined(view());
    joined.append(text.substr(0, std::min(text.size(), kMaxLength - joined.size())));
    store(joined);
}
