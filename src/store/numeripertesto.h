#pragma once

#include "store/paginegrandi.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace brenzola {

// Numbers 0, 1, 2... given to texts, found again by the text: open addressing over the
// texts' hashes. The texts are kept by the caller, who tells the table how to read text n.
// Each place holds a number + 1 and, in the bits above it, part of the text's hash, so
// that a search passes most other texts in its run without reading them: at a million
// texts each read would be a wait for memory.
class NumeriPerTesto {
public:
    // The number of `testo`, or `nuovo` (the count of texts held so far), which is
    // `testo`'s from now on.
    template <typename TestoDi> uint32_t numero(std::string_view testo, uint32_t nuovo, const TestoDi& testoDi)
    {
        return numero(testo, hashDi(testo), nuovo, testoDi);
    }
    // The same with the text's hashDi(), for a caller that asked for its place ahead.
    template <typename TestoDi> uint32_t numero(std::string_view testo, size_t hash, uint32_t nuovo, const TestoDi& testoDi)
    {
        if (posti_.size() < (size_t(nuovo) + 1) * 2) allarga(size_t(nuovo) + 1, nuovo, testoDi);
        const uint32_t numeri = uint32_t(posti_.size() - 1);
        const uint32_t cercato = segno(hash);
        size_t posto = hash & numeri;
        for (; posti_[posto] != 0; posto = (posto + 1) & numeri) {
            const uint32_t qui = posti_[posto];
            if ((qui & ~numeri) == cercato && testoDi((qui & numeri) - 1) == testo) return (qui & numeri) - 1;
        }
        posti_[posto] = cercato | (nuovo + 1);
        return nuovo;
    }

    // Room for `quanti` texts, the `tenuti` held so far placed again.
    template <typename TestoDi> void allarga(size_t quanti, uint32_t tenuti, const TestoDi& testoDi)
    {
        // Twice as many places as texts keeps the runs short.
        size_t posti = 64;
        while (posti < quanti * 2) posti *= 2;
        if (posti <= posti_.size()) return;
        posti_ = grande<std::vector<uint32_t>>(posti);
        for (uint32_t n = 0; n < tenuti; ++n) {
            const size_t hash = hashDi(testoDi(n));
            size_t posto = hash & (posti - 1);
            while (posti_[posto] != 0) posto = (posto + 1) & (posti - 1);
            posti_[posto] = segno(hash) | (n + 1);
        }
    }

    static size_t hashDi(std::string_view testo) { return std::hash<std::string_view>()(testo); }
    // Asks for the place of a text with that hash before it is looked for: in a large table
    // it is far in memory, and other work can go on meanwhile.
    void preleva(size_t hash) const
    {
        if (!posti_.empty()) __builtin_prefetch(posti_.data() + (hash & (posti_.size() - 1)));
    }

    void swap(NumeriPerTesto& altri) noexcept { posti_.swap(altri.posti_); }

private:
    // The bits of a hash above those of a number + 1, which is below the count of places.
    uint32_t segno(size_t hash) const { return uint32_t(uint64_t(hash) >> 32) & ~uint32_t(posti_.size() - 1); }

    std::vector<uint32_t> posti_;  // a number + 1 and its text's segno(), or 0 when free
};

}  // namespace brenzola
