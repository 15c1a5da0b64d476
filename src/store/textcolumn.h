#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brenzola {

// Many short texts back to back in one buffer, each between two 0 bytes ("\0one\0two\0"),
// so that one search goes through all of them at the speed of memory.
class TextColumn {
public:
    // One bit per text.
    using Bits = std::vector<uint64_t>;
    static bool has(const Bits& bits, size_t text) { return (bits[text / 64] >> (text % 64) & 1) != 0; }

    TextColumn() : bytes_(1, '\0') {}

    // Appends a text in UTF-8 and returns its number. A 0 byte in it is kept as a 1, so
    // that it cannot end the text.
    uint32_t append(std::string_view text);
    std::string_view operator[](size_t text) const { return {bytes_.data() + begin(text), ends_[text] - begin(text)}; }
    size_t size() const { return ends_.size(); }
    size_t bytes() const { return bytes_.size(); }
    void reserve(size_t texts, size_t bytes);
    void swap(TextColumn& other) noexcept;

    // The texts that hold `part` (UTF-8 without 0 bytes). A large column is searched on
    // two cores.
    Bits containing(std::string_view part) const;

private:
    size_t begin(size_t text) const { return text == 0 ? 1 : ends_[text - 1] + 1; }
    void scan(std::string_view part, size_t from, size_t to, Bits& bits) const;

    std::string bytes_;
    std::vector<uint32_t> ends_;  // where each text's closing 0 is
};

}  // namespace brenzola
