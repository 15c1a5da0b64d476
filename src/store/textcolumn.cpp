#include "store/textcolumn.h"

#include "store/paginegrandi.h"

#include <algorithm>
#include <cstring>
#include <future>

namespace brenzola {

uint32_t TextColumn::append(std::string_view text)
{
    const size_t from = bytes_.size();
    bytes_.append(text);
    std::replace(bytes_.begin() + ptrdiff_t(from), bytes_.end(), '\0', '\1');
    ends_.push_back(uint32_t(bytes_.size()));
    bytes_.push_back('\0');
    return uint32_t(ends_.size() - 1);
}

void TextColumn::reserve(size_t texts, size_t bytes)
{
    riservaGrande(ends_, texts);
    riservaGrande(bytes_, bytes);
}

void TextColumn::swap(TextColumn& other) noexcept
{
    bytes_.swap(other.bytes_);
    ends_.swap(other.ends_);
}

TextColumn::Bits TextColumn::containing(std::string_view part) const
{
    Bits bits((size() + 63) / 64, 0);
    if (part.empty()) {
        // Every text holds the empty part.
        std::fill(bits.begin(), bits.end(), ~uint64_t(0));
        if (size() % 64 != 0) bits.back() = (uint64_t(1) << (size() % 64)) - 1;
        return bits;
    }
    if (bytes_.size() < (size_t(1) << 20)) {
        scan(part, 0, size(), bits);
        return bits;
    }
    // Halves that meet at a whole word of bits, so that the two cores never write the same one.
    const size_t half = size() / 2 / 64 * 64;
    auto other = std::async(std::launch::async, [&] { scan(part, half, size(), bits); });
    scan(part, 0, half, bits);
    other.get();
    return bits;
}

void TextColumn::scan(std::string_view part, size_t from, size_t to, Bits& bits) const
{
    if (from >= to) return;
    const char* base = bytes_.data();
    size_t at = from == 0 ? 0 : ends_[from - 1];  // the 0 that opens text `from`
    const size_t stop = ends_[to - 1] + 1;
    size_t text = from;
    while (at < stop) {
        const void* hit = memmem(base + at, stop - at, part.data(), part.size());
        if (!hit) break;
        const size_t inside = size_t(static_cast<const char*>(hit) - base);
        // Found in order: the text holding it is at or after the last one, most often next to it.
        for (int step = 0; ends_[text] < inside; ++step, ++text)
            if (step == 8) {
                text = size_t(std::lower_bound(ends_.begin() + ptrdiff_t(text), ends_.begin() + ptrdiff_t(to), uint32_t(inside))
                              - ends_.begin());
                break;
            }
        bits[text / 64] |= uint64_t(1) << (text % 64);
        at = ends_[text];
    }
}

}  // namespace brenzola
