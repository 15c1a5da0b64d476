#include "italiantext.h"

#include "accessdialect.h"

#include <sqlite3.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <cstring>
#include <vector>

namespace brenzola {
namespace {

// The same rules a PostgreSQL server applies with its ICU collations ("it-IT-x-icu" for
// the order, "und-x-icu" for lower()), so that a file and a server list and find the same
// contacts in the same order.

// Text as ICU's lower case of it: ASCII directly, everything else through ICU.
void lowered(const unsigned char* text, int length, std::vector<UChar>& out)
{
    thread_local std::vector<UChar> utf16;
    utf16.resize(size_t(length) + 1);
    UErrorCode status = U_ZERO_ERROR;
    int32_t size = 0;
    u_strFromUTF8Lenient(utf16.data(), int32_t(utf16.size()), &size, reinterpret_cast<const char*>(text), length,
                         &status);
    out.resize(size_t(size) * 3 + 1);  // a lower case can be longer ("İ" becomes "i̇")
    status = U_ZERO_ERROR;
    const int32_t lowerSize = u_strToLower(out.data(), int32_t(out.size()), utf16.data(), size, "", &status);
    out.resize(U_SUCCESS(status) ? size_t(lowerSize) : 0);
}

int compareLowered(const void* a, int lengthA, const void* b, int lengthB)
{
    thread_local std::vector<UChar> x, y;
    lowered(static_cast<const unsigned char*>(a), lengthA, x);
    lowered(static_cast<const unsigned char*>(b), lengthB, y);
    const int c = u_strCompare(x.data(), int32_t(x.size()), y.data(), int32_t(y.size()), true);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int caselessCollation(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return compareLowered(a, lengthA, b, lengthB);
}

// Italian dictionary order, and the bytes for names it finds equal, as a server does.
int italianCollation(void* collator, int lengthA, const void* a, int lengthB, const void* b)
{
    const int common = std::memcmp(a, b, size_t(std::min(lengthA, lengthB)));
    if (common == 0 && lengthA == lengthB) return 0;  // equal names are common in a long list
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult order = ucol_strcollUTF8(static_cast<UCollator*>(collator), static_cast<const char*>(a),
                                                    lengthA, static_cast<const char*>(b), lengthB, &status);
    if (U_SUCCESS(status) && order != UCOL_EQUAL) return order == UCOL_LESS ? -1 : 1;
    if (common != 0) return common < 0 ? -1 : 1;
    return lengthA < lengthB ? -1 : 1;
}

void closeCollator(void* collator) { ucol_close(static_cast<UCollator*>(collator)); }

void decodeLowered(sqlite3_value* value, std::vector<UChar32>& out)
{
    thread_local std::vector<UChar> units;
    lowered(sqlite3_value_text(value), sqlite3_value_bytes(value), units);
    out.clear();
    for (int32_t i = 0; i < int32_t(units.size());) {
        UChar32 c = 0;
        U16_NEXT(units.data(), i, int32_t(units.size()), c);
        out.push_back(c);
    }
}

// `%` matches any run of characters and `_` any one character; nothing escapes them.
bool likeMatches(const std::vector<UChar32>& pattern, const std::vector<UChar32>& text)
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

// like(pattern, text), the function behind `text LIKE pattern`: both in lower case.
void caselessLike(sqlite3_context* context, int, sqlite3_value** args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL || sqlite3_value_type(args[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    thread_local std::vector<UChar32> pattern, text;
    decodeLowered(args[0], pattern);
    decodeLowered(args[1], text);
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
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open("it_IT", &status);
    if (U_FAILURE(status)) return SQLITE_ERROR;
    return sqlite3_create_collation_v2(db, kItalianOrderCollation, SQLITE_UTF8, collator, italianCollation, closeCollator);
}

}  // namespace brenzola
