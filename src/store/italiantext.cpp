#include "store/italiantext.h"

#include "store/accessdialect.h"
#include "store/paginegrandi.h"

#include <sqlite3.h>
#include <unicode/ucol.h>
#include <unicode/uiter.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <cstring>
#include <future>
#include <memory>

namespace brenzola {

// The same rules a PostgreSQL server applies with its ICU collations ("it-IT-x-icu" for
// the order, "und-x-icu" for lower()), so that a file and a server list and find the same
// contacts in the same order.

void lowerCase(QStringView text, std::u16string& out)
{
    const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii) {
        out.resize(size_t(text.size()));
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            out[size_t(i)] = c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
        }
        return;
    }
    out.resize(size_t(text.size()) * 3 + 1);  // a lower case can be longer ("İ" becomes "i̇")
    UErrorCode status = U_ZERO_ERROR;
    const int32_t size = u_strToLower(reinterpret_cast<UChar*>(out.data()), int32_t(out.size()),
                                      reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()), "", &status);
    out.resize(U_SUCCESS(status) ? size_t(size) : 0);
}

void appendLowerCaseUtf8(std::string_view utf8, std::string& out)
{
    if (isAscii(utf8)) {
        for (char c : utf8) out.push_back(c >= 'A' && c <= 'Z' ? char(c + 32) : c);
        return;
    }
    thread_local std::u16string lowered;
    lowerCase(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())), lowered);
    out += QStringView(lowered.data(), qsizetype(lowered.size())).toUtf8().toStdString();
}

bool isAscii(std::string_view text)
{
    // Eight bytes at a time: a million contacts' names pass here at every start.
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t eight;
        std::memcpy(&eight, text.data() + i, 8);
        if ((eight & 0x8080808080808080ULL) != 0) return false;
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
    return true;
}

LikePattern::LikePattern(QStringView pattern)
{
    std::u16string lowered;
    lowerCase(pattern, lowered);
    anchoredStart_ = lowered.empty() || lowered.front() != u'%';
    anchoredEnd_ = lowered.empty() || lowered.back() != u'%';
    size_t start = 0;
    for (;;) {
        const size_t end = std::min(lowered.find(u'%', start), lowered.size());
        if (end > start || (segments_.empty() && end == lowered.size())) {
            Segment segment{lowered.substr(start, end - start), false};
            segment.anyCharacter = segment.text.find(u'_') != std::u16string::npos;
            segments_.push_back(std::move(segment));
        }
        if (end == lowered.size()) break;
        start = end + 1;
    }
    // "%" alone, or "%%": nothing to match but the anchors, which it has not.
    if (segments_.size() == 1 && segments_.front().text.empty() && lowered.size() > 0) segments_.clear();
}

bool LikePattern::matchAt(const Segment& segment, std::u16string_view text, size_t position, size_t& end) const
{
    size_t t = position;
    for (char16_t c : segment.text) {
        if (t >= text.size()) return false;
        if (c == u'_') {
            t += U16_IS_LEAD(text[t]) && t + 1 < text.size() && U16_IS_TRAIL(text[t + 1]) ? 2 : 1;  // one character
        } else {
            if (text[t] != c) return false;
            ++t;
        }
    }
    end = t;
    return true;
}

// The leftmost match at or after `position`; on success `position` is where it ends.
bool LikePattern::findFrom(const Segment& segment, std::u16string_view text, size_t& position) const
{
    if (!segment.anyCharacter) {
        const size_t found = text.find(segment.text, position);
        if (found == std::u16string_view::npos) return false;
        position = found + segment.text.size();
        return true;
    }
    for (size_t start = position; start < text.size();) {
        size_t end = 0;
        if (matchAt(segment, text, start, end)) {
            position = end;
            return true;
        }
        start += U16_IS_LEAD(text[start]) && start + 1 < text.size() && U16_IS_TRAIL(text[start + 1]) ? 2 : 1;
    }
    return false;
}

bool LikePattern::matchAtEnd(const Segment& segment, std::u16string_view text, size_t from) const
{
    if (!segment.anyCharacter)
        return text.size() >= from + segment.text.size() && text.substr(text.size() - segment.text.size()) == segment.text;
    for (size_t start = from; start <= text.size();) {
        size_t end = 0;
        if (matchAt(segment, text, start, end) && end == text.size()) return true;
        if (start == text.size()) break;
        start += U16_IS_LEAD(text[start]) && start + 1 < text.size() && U16_IS_TRAIL(text[start + 1]) ? 2 : 1;
    }
    return false;
}

bool LikePattern::matches(QStringView text) const
{
    thread_local std::u16string lowered;
    lowerCase(text, lowered);
    return matchesLowered(lowered);
}

bool LikePattern::matchesLowered(std::u16string_view text) const
{
    if (segments_.empty()) return !anchoredStart_ || text.empty();
    size_t position = 0;
    size_t first = 0;
    size_t last = segments_.size();
    if (anchoredStart_) {
        size_t end = 0;
        if (!matchAt(segments_.front(), text, 0, end)) return false;
        if (segments_.size() == 1 && anchoredEnd_) return end == text.size();
        position = end;
        first = 1;
    }
    if (anchoredEnd_ && last > first) --last;
    for (size_t i = first; i < last; ++i)
        if (!findFrom(segments_[i], text, position)) return false;
    if (anchoredEnd_ && last < segments_.size()) return matchAtEnd(segments_.back(), text, position);
    return true;
}

bool LikePattern::alwaysContains(std::u16string_view plain) const
{
    if (plain.empty()) return true;
    return std::any_of(segments_.begin(), segments_.end(), [plain](const Segment& segment) {
        return !segment.anyCharacter && segment.text.find(plain) != std::u16string::npos;
    });
}

ItalianOrder::ItalianOrder()
{
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open("it_IT", &status);
    if (U_FAILURE(status)) collator_ = nullptr;
}

ItalianOrder::ItalianOrder(const ItalianOrder& other)
{
    UErrorCode status = U_ZERO_ERROR;
    collator_ = other.collator_ ? ucol_clone(other.collator_, &status) : nullptr;
    if (U_FAILURE(status)) collator_ = nullptr;
}

ItalianOrder::~ItalianOrder() { ucol_close(collator_); }

int ItalianOrder::compare(QStringView a, QStringView b) const
{
    const auto* x = reinterpret_cast<const UChar*>(a.utf16());
    const auto* y = reinterpret_cast<const UChar*>(b.utf16());
    if (a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin())) return 0;
    const UCollationResult order = collator_ ? ucol_strcoll(collator_, x, int32_t(a.size()), y, int32_t(b.size())) : UCOL_EQUAL;
    if (order != UCOL_EQUAL) return order == UCOL_LESS ? -1 : 1;
    return compareCodePoints(a, b);
}

int ItalianOrder::compareCodePoints(QStringView a, QStringView b)
{
    const int c = u_strCompare(reinterpret_cast<const UChar*>(a.utf16()), int32_t(a.size()),
                               reinterpret_cast<const UChar*>(b.utf16()), int32_t(b.size()), true);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int ItalianOrder::compareUtf8(const char* a, int lengthA, const char* b, int lengthB) const
{
    const int common = std::memcmp(a, b, size_t(std::min(lengthA, lengthB)));
    if (common == 0 && lengthA == lengthB) return 0;  // equal names are common in a long list
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult order = collator_ ? ucol_strcollUTF8(collator_, a, lengthA, b, lengthB, &status) : UCOL_EQUAL;
    if (U_SUCCESS(status) && order != UCOL_EQUAL) return order == UCOL_LESS ? -1 : 1;
    if (common != 0) return common < 0 ? -1 : 1;
    return lengthA < lengthB ? -1 : 1;
}

namespace {

// The first bytes of a collation key read through `iterator`, as two numbers.
std::pair<uint64_t, uint64_t> keyPrefix(const UCollator* collator, UCharIterator& iterator)
{
    uint8_t key[16] = {};
    if (collator) {
        uint32_t state[2] = {0, 0};
        UErrorCode status = U_ZERO_ERROR;
        ucol_nextSortKeyPart(collator, &iterator, state, key, int32_t(sizeof key), &status);
        if (U_FAILURE(status)) std::fill(std::begin(key), std::end(key), 0);  // compare() settles it
    }
    uint64_t high = 0;
    uint64_t low = 0;
    for (int i = 0; i < 8; ++i) {
        high = high << 8 | key[i];
        low = low << 8 | key[i + 8];
    }
    return {high, low};
}

int compareText(const ItalianOrder& order, QStringView a, QStringView b) { return order.compare(a, b); }
int compareText(const ItalianOrder& order, std::string_view a, std::string_view b)
{
    return order.compareUtf8(a.data(), int(a.size()), b.data(), int(b.size()));
}

template <typename Text> std::vector<uint32_t> ranks(size_t count, const std::function<Text(uint32_t)>& text)
{
    struct Key {
        std::pair<uint64_t, uint64_t> prefix;
        uint32_t text;
    };
    auto sorted = grande<std::vector<Key>>(count);
    const ItalianOrder order;
    const auto less = [&text](const ItalianOrder& collator) {
        return [&text, &collator](const Key& a, const Key& b) {
            if (a.prefix != b.prefix) return a.prefix < b.prefix;
            return compareText(collator, text(a.text), text(b.text)) < 0;
        };
    };
    const auto prepare = [&](size_t from, size_t to) {
        // A collator of this thread's own: ICU collators are not shared between threads.
        const ItalianOrder own(order);  // NOLINT(performance-unnecessary-copy-initialization)
        for (size_t i = from; i < to; ++i) sorted[i] = {own.sortKeyPrefix(text(uint32_t(i))), uint32_t(i)};
        std::sort(sorted.begin() + qsizetype(from), sorted.begin() + qsizetype(to), less(own));
    };
    const size_t half = count / 2;
    if (count < 20000) {
        prepare(0, count);
    } else {
        // A future joins its thread on every path, and hands on what the thread threw.
        auto other = std::async(std::launch::async, prepare, half, count);
        prepare(0, half);
        other.get();
        std::inplace_merge(sorted.begin(), sorted.begin() + qsizetype(half), sorted.end(), less(order));
    }
    auto result = grande<std::vector<uint32_t>>(count);
    for (size_t place = 0; place < sorted.size(); ++place) result[sorted[place].text] = uint32_t(place);
    return result;
}

}  // namespace

std::pair<uint64_t, uint64_t> ItalianOrder::sortKeyPrefix(QStringView text) const
{
    UCharIterator iterator;
    uiter_setString(&iterator, reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()));
    return keyPrefix(collator_, iterator);
}

std::pair<uint64_t, uint64_t> ItalianOrder::sortKeyPrefix(std::string_view utf8) const
{
    UCharIterator iterator;
    uiter_setUTF8(&iterator, utf8.data(), int32_t(utf8.size()));
    return keyPrefix(collator_, iterator);
}

std::vector<uint32_t> italianRanks(const std::vector<QStringView>& texts)
{
    return ranks<QStringView>(texts.size(), [&texts](uint32_t i) { return texts[i]; });
}

std::vector<uint32_t> italianRanksUtf8(size_t count, const std::function<std::string_view(uint32_t)>& text)
{
    return ranks<std::string_view>(count, text);
}

namespace {

int caselessCollation(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    thread_local std::u16string x, y;
    lowerCase(QString::fromUtf8(static_cast<const char*>(a), lengthA), x);
    lowerCase(QString::fromUtf8(static_cast<const char*>(b), lengthB), y);
    const int c = u_strCompare(reinterpret_cast<const UChar*>(x.data()), int32_t(x.size()),
                               reinterpret_cast<const UChar*>(y.data()), int32_t(y.size()), true);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int italianCollation(void* order, int lengthA, const void* a, int lengthB, const void* b)
{
    return static_cast<const ItalianOrder*>(order)->compareUtf8(static_cast<const char*>(a), lengthA, static_cast<const char*>(b),
                                                                lengthB);
}

void deleteOrder(void* order) { delete static_cast<ItalianOrder*>(order); }
void deletePattern(void* pattern) { delete static_cast<LikePattern*>(pattern); }

QString textOf(sqlite3_value* value)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)), sqlite3_value_bytes(value));
}

// like(pattern, text), the function behind `text LIKE pattern`. A statement's pattern is
// usually one literal: it is prepared once, not for every row.
void caselessLike(sqlite3_context* context, int, sqlite3_value** args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL || sqlite3_value_type(args[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(context, 0));
    if (!pattern) {
        pattern = new LikePattern(textOf(args[0]));
        sqlite3_set_auxdata(context, 0, pattern, deletePattern);
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(context, 0));  // SQLite may decline to keep it
        if (!pattern) {
            sqlite3_result_int(context, LikePattern(textOf(args[0])).matches(textOf(args[1])) ? 1 : 0);
            return;
        }
    }
    sqlite3_result_int(context, pattern->matches(textOf(args[1])) ? 1 : 0);
}

}  // namespace

int registerItalianText(sqlite3* db)
{
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    if (int rc = sqlite3_create_function_v2(db, "like", 2, flags, nullptr, caselessLike, nullptr, nullptr, nullptr)) return rc;
    if (int rc = sqlite3_create_collation_v2(db, kCaselessCollation, SQLITE_UTF8, nullptr, caselessCollation, nullptr)) return rc;
    auto order = std::make_unique<ItalianOrder>();
    return sqlite3_create_collation_v2(db, kItalianOrderCollation, SQLITE_UTF8, order.release(), italianCollation, deleteOrder);
}

}  // namespace brenzola
