#pragma once

#include <QStringView>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;
struct UCollator;

namespace brenzola {

// ICU's lower case of a text (root rules; ASCII directly), as the store compares texts.
void lowerCase(QStringView text, std::u16string& out);
// The same lower case of a text in UTF-8, appended in UTF-8.
void appendLowerCaseUtf8(std::string_view utf8, std::string& out);
bool isAscii(std::string_view text);

// A `like` pattern of the Access dialect: `%` matches any run of characters and `_` any
// one character, nothing escapes them, and letters match in any case (ICU's lower case,
// as a server's lower() gives it). The store's like() and the contact list's own search
// both match with it, so that the two never disagree.
class LikePattern {
public:
    explicit LikePattern(QStringView pattern);
    bool matches(QStringView text) const;
    // A text already lowered by lowerCase(), as a list keeps it for many searches.
    bool matchesLowered(std::u16string_view text) const;
    // Whether every text it matches contains `plain` too, for narrowing a search from
    // the result of a shorter one.
    bool alwaysContains(std::u16string_view plain) const;

private:
    struct Segment {
        std::u16string text;
        bool anyCharacter = false;  // holds a `_`
    };
    bool matchAt(const Segment& segment, std::u16string_view text, size_t position, size_t& end) const;
    bool findFrom(const Segment& segment, std::u16string_view text, size_t& position) const;
    bool matchAtEnd(const Segment& segment, std::u16string_view text, size_t from) const;

    std::vector<Segment> segments_;  // the pattern between its `%`s, empty ones left out
    bool anchoredStart_ = true;      // does not begin with `%`
    bool anchoredEnd_ = true;        // does not end with `%`
};

// The Italian order of ICU's "it_IT" collation, with the code points (the bytes of
// UTF-8) settling what it finds equal: the order a server's "it-IT-x-icu" gives.
// Not to be shared between threads; a copy is a collator of its own.
class ItalianOrder {
public:
    ItalianOrder();
    ItalianOrder(const ItalianOrder& other);
    ItalianOrder& operator=(const ItalianOrder&) = delete;
    ~ItalianOrder();

    int compare(QStringView a, QStringView b) const;  // -1, 0, 1
    // The tie rule alone: code point order, as UTF-8's bytes give it.
    static int compareCodePoints(QStringView a, QStringView b);
    int compareUtf8(const char* a, int lengthA, const char* b, int lengthB) const;
    // The first 16 bytes of the collation key of `text`, as two numbers, then zeros:
    // texts whose prefixes differ compare as the prefixes do; equal ones need compare().
    std::pair<uint64_t, uint64_t> sortKeyPrefix(QStringView text) const;
    std::pair<uint64_t, uint64_t> sortKeyPrefix(std::string_view utf8) const;

private:
    UCollator* collator_;
};

// The place of each text in the Italian order (code points settling ties), for texts that
// all differ: the start of a collation key each, made and sorted on every core when there
// are many; only texts whose keys begin alike are compared whole.
// Lists group their equal names first, so each is keyed only once.
std::vector<uint32_t> italianRanks(const std::vector<QStringView>& texts);
// The same for `count` texts in UTF-8, each given by `text`.
std::vector<uint32_t> italianRanksUtf8(size_t count, const std::function<std::string_view(uint32_t)>& text);

// Gives one SQLite connection the text rules of the Access dialect above: like() and text
// equality on ICU's lower case, and the Italian order. They live on the connection only,
// never in the file's schema. Returns the engine's result code (0 on success).
int registerItalianText(sqlite3* db);

}  // namespace brenzola
