#include "italiantext.h"

#include "accessdialect.h"

#include <QChar>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace brenzola {
namespace {

// Latin letters (with their accented forms) cover almost every name in the register;
// a table keeps folding them cheap, as the list sorts and filters on every keystroke.
constexpr char32_t kTableSize = 0x250;

struct FoldTables {
    std::array<char32_t, kTableSize> caseless{};  // letter case removed, accents kept
    std::array<char32_t, kTableSize> primary{};   // letter case and accents removed

    FoldTables()
    {
        for (char32_t cp = 0; cp < kTableSize; ++cp) {
            caseless[cp] = QChar::toCaseFolded(cp);
            char32_t base = cp;
            if (QChar::decompositionTag(cp) == QChar::Canonical) base = QChar::decomposition(cp).at(0).unicode();
            primary[cp] = QChar::toCaseFolded(base);
        }
    }
};

const FoldTables foldTables;

enum class Fold { Caseless, Primary };

// Decodes one code point; malformed bytes are taken one at a time as themselves.
char32_t nextCodePoint(const unsigned char*& s, const unsigned char* end)
{
    const unsigned char lead = *s++;
    if (lead < 0x80) return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || end - s < extra) return lead;
    char32_t cp = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if ((s[i] & 0xC0) != 0x80) return lead;
        cp = (cp << 6) | (s[i] & 0x3F);
    }
    s += extra;
    return cp;
}

template <Fold how> char32_t fold(char32_t cp)
{
    if (cp < kTableSize) return how == Fold::Caseless ? foldTables.caseless[cp] : foldTables.primary[cp];
    return QChar::toCaseFolded(cp);
}

template <Fold how> char32_t nextFolded(const unsigned char*& s, const unsigned char* end)
{
    if (*s < 0x80) return fold<how>(*s++);  // most names are plain ASCII
    return fold<how>(nextCodePoint(s, end));
}

template <Fold how> int compareFolded(const void* a, int lengthA, const void* b, int lengthB)
{
    auto* s = static_cast<const unsigned char*>(a);
    auto* t = static_cast<const unsigned char*>(b);
    const auto* endS = s + lengthA;
    const auto* endT = t + lengthB;
    while (s < endS && t < endT) {
        const char32_t x = nextFolded<how>(s, endS);
        const char32_t y = nextFolded<how>(t, endT);
        if (x != y) return x < y ? -1 : 1;
    }
    if (s < endS) return 1;
    if (t < endT) return -1;
    return 0;
}

int caselessCollation(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return compareFolded<Fold::Caseless>(a, lengthA, b, lengthB);
}

// Dictionary order: base letters first, then accents, then letter case, then bytes,
// so that equal-looking names still have one fixed order.
int italianCollation(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    // Equal names are common in a long list: settle them without folding.
    const int common = std::memcmp(a, b, size_t(std::min(lengthA, lengthB)));
    if (common == 0 && lengthA == lengthB) return 0;
    if (int c = compareFolded<Fold::Primary>(a, lengthA, b, lengthB)) return c;
    if (int c = compareFolded<Fold::Caseless>(a, lengthA, b, lengthB)) return c;
    if (common != 0) return common < 0 ? -1 : 1;
    return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
}

void decodeFolded(sqlite3_value* value, std::vector<char32_t>& out)
{
    out.clear();
    auto* s = sqlite3_value_text(value);
    const auto* end = s + sqlite3_value_bytes(value);
    while (s < end) out.push_back(nextFolded<Fold::Caseless>(s, end));
}

// `%` matches any run of characters and `_` any one character; nothing escapes them.
bool likeMatches(const std::vector<char32_t>& pattern, const std::vector<char32_t>& text)
{
    constexpr size_t none = size_t(-1);
    size_t p = 0, t = 0, starP = none, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == U'%') {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && (pattern[p] == U'_' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (starP != none) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'%') ++p;
    return p == pattern.size();
}

// like(pattern, text), the function behind `text LIKE pattern`.
void caselessLike(sqlite3_context* context, int, sqlite3_value** args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL || sqlite3_value_type(args[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    thread_local std::vector<char32_t> pattern, text;
    decodeFolded(args[0], pattern);
    decodeFolded(args[1], text);
    sqlite3_result_int(context, likeMatches(pattern, text) ? 1 : 0);
}

}  // namespace

int registerItalianText(sqlite3* db)
{
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    if (int rc = sqlite3_create_function_v2(db, "like", 2, flags, nullptr, caselessLike, nullptr, nullptr, nullptr))
        return rc;
    if (int rc = sqlite3_create_collation_v2(db, kCaselessCollation, SQLITE_UTF8, nullptr, caselessCollation, nullptr))
        return rc;
    return sqlite3_create_collation_v2(db, kItalianOrderCollation, SQLITE_UTF8, nullptr, italianCollation, nullptr);
}

}  // namespace brenzola
