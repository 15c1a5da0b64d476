#include "store/accessdialect.h"

#include "store/storeerror.h"

#include <QCoreApplication>
#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <vector>

namespace brenzola {
namespace {

enum class TokenKind { Space, Word, Number, Text, Date, Symbol, OpenParen, CloseParen };

struct Token {
    TokenKind kind;
    QString text;  // Text: the literal's content, undoubled; Date: ISO form; otherwise as written
};

[[noreturn]] void syntaxError(const QString& what)
{
    throw StoreError(StoreErrorNumber::SyntaxError,
                     QCoreApplication::translate("brenzola::AccessDialect", "Errore di sintassi nell'istruzione: %1.").arg(what));
}

// Words that end or join clauses, and so can never be an operand of &.
bool isClauseWord(const QString& word)
{
    static const QSet<QString> words = {"select", "from",    "where",  "and",  "or",     "not",  "like",  "order",
                                        "by",     "group",   "having", "as",   "asc",    "desc", "union", "is",
                                        "in",     "between", "on",     "into", "values", "set",  "limit"};
    return words.contains(word.toLower());
}

bool isWordStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isWordPart(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

QString isoDateFromAccess(const QString& literal)
{
    static const QRegularExpression shape(QStringLiteral(R"(^\s*(\d{1,2})/(\d{1,2})/(\d{4})\s*$)"));
    const auto match = shape.match(literal);
    const QDate date =
        match.hasMatch() ? QDate(match.captured(3).toInt(), match.captured(1).toInt(), match.captured(2).toInt()) : QDate();
    if (!date.isValid()) syntaxError(QCoreApplication::translate("brenzola::AccessDialect", "data non valida #%1#").arg(literal));
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

// Reads a literal closed by `quote`, where a doubled quote stands for one.
qsizetype readQuoted(const QString& sql, qsizetype start, QChar quote, QString& content)
{
    qsizetype i = start + 1;
    while (i < sql.size()) {
        if (sql[i] == quote) {
            if (i + 1 < sql.size() && sql[i + 1] == quote) {
                content += quote;
                i += 2;
                continue;
            }
            return i + 1;
        }
        content += sql[i++];
    }
    syntaxError(QCoreApplication::translate("brenzola::AccessDialect", "testo non chiuso"));
}

std::vector<Token> tokenize(const QString& sql)
{
    std::vector<Token> tokens;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < sql.size() && sql[i].isSpace()) ++i;
            tokens.push_back({TokenKind::Space, sql.mid(start, i - start)});
        } else if (c == u'\'' || c == u'"') {
            QString content;
            i = readQuoted(sql, i, c, content);
            tokens.push_back({TokenKind::Text, content});
        } else if (c == u'#') {
            const qsizetype close = sql.indexOf(u'#', i + 1);
            if (close < 0) syntaxError(QCoreApplication::translate("brenzola::AccessDialect", "data non chiusa"));
            tokens.push_back({TokenKind::Date, isoDateFromAccess(sql.mid(i + 1, close - i - 1))});
            i = close + 1;
        } else if (c == u'[') {
            const qsizetype close = sql.indexOf(u']', i + 1);
            if (close < 0) syntaxError(QCoreApplication::translate("brenzola::AccessDialect", "nome non chiuso"));
            i = close + 1;
            tokens.push_back({TokenKind::Word, sql.mid(start, i - start)});
        } else if (isWordStart(c)) {
            while (i < sql.size() && isWordPart(sql[i])) ++i;
            tokens.push_back({TokenKind::Word, sql.mid(start, i - start)});
        } else if (c.isDigit()) {
            while (i < sql.size() && (sql[i].isDigit() || sql[i] == u'.')) ++i;
            tokens.push_back({TokenKind::Number, sql.mid(start, i - start)});
        } else if (c == u'(') {
            tokens.push_back({TokenKind::OpenParen, QStringLiteral("(")});
            ++i;
        } else if (c == u')') {
            tokens.push_back({TokenKind::CloseParen, QStringLiteral(")")});
            ++i;
        } else {
            const QString pair = sql.mid(i, 2);
            const bool twoChars = pair == u"<>" || pair == u"<=" || pair == u">=" || pair == u"!=";
            i += twoChars ? 2 : 1;
            tokens.push_back({TokenKind::Symbol, sql.mid(start, i - start)});
        }
    }
    return tokens;
}

QString textLiteral(const QString& content, Engine engine)
{
    // A server's text cannot hold a NUL at all: such a literal can match nothing.
    if (engine == Engine::PostgreSQL && content.contains(QChar(u'\0'))) return QStringLiteral("(NULL::text)");
    if (engine == Engine::PostgreSQL) return u'\'' + QString(content).replace(u'\'', QStringLiteral("''")) + u'\'';
    // A NUL would end the statement inside the engine, so it is spliced in as char(0).
    const QStringList parts = content.split(QChar(u'\0'));
    QStringList quoted;
    for (QString part : parts) quoted << u'\'' + part.replace(u'\'', QStringLiteral("''")) + u'\'';
    if (quoted.size() == 1) return quoted.front();
    return u'(' + quoted.join(QStringLiteral(" || char(0) || ")) + u')';
}

// One element of the translated statement at one nesting level.
struct Item {
    enum Kind { Space, Operand, Symbol } kind;
    QString sql;
    bool textual = false;    // a text literal or a joined text
    bool isKeyword = false;  // a bare word, to find ORDER BY and ASC/DESC
    QStringList joinParts;   // operands of a & chain, already wrapped
};

class Translator {
public:
    Translator(std::vector<Token> tokens, Engine engine) : tokens_(std::move(tokens)), engine_(engine) {}

    QString run()
    {
        QString sql = translateLevel();
        if (pos_ < tokens_.size())
            syntaxError(QCoreApplication::translate("brenzola::AccessDialect", "parentesi chiusa in eccesso"));
        return sql;
    }

private:
    std::vector<Token> tokens_;
    Engine engine_;
    size_t pos_ = 0;

    // Translates tokens up to the closing parenthesis of this level (or the end).
    QString translateLevel()
    {
        std::vector<Item> items;
        Join join;
        while (pos_ < tokens_.size() && tokens_[pos_].kind != TokenKind::CloseParen) {
            const Token& token = tokens_[pos_++];
            switch (token.kind) {
            case TokenKind::Space:
                items.push_back({Item::Space, token.text});
                break;
            case TokenKind::Text:
                items.push_back({Item::Operand, textLiteral(token.text, engine_), true});
                break;
            case TokenKind::Date:
                items.push_back({Item::Operand, u'\'' + token.text + u'\''});
                break;
            case TokenKind::Number:
                items.push_back({Item::Operand, token.text});
                break;
            case TokenKind::Word:
                // A server folds unquoted names to lower case, as its tables were made.
                items.push_back({Item::Operand,
                                 engine_ == Engine::PostgreSQL && token.text.startsWith(u'[')
                                     ? u'"' + token.text.mid(1, token.text.size() - 2).toLower() + u'"'
                                     : token.text,
                                 false, true});
                break;
            case TokenKind::OpenParen: {
                QString inner = translateLevel();
                if (pos_ >= tokens_.size())
                    syntaxError(QCoreApplication::translate("brenzola::AccessDialect", "parentesi non chiusa"));
                ++pos_;
                appendGroup(items, u'(' + inner + u')');
                break;
            }
            case TokenKind::Symbol:
                if (token.text == u"&")
                    startJoin(items, join);
                else
                    items.push_back({Item::Symbol, token.text});
                break;
            case TokenKind::CloseParen:
                break;
            }
            closeJoinIfComplete(items, join);
        }
        if (join.pending) syntaxError(QCoreApplication::translate("brenzola::AccessDialect", "& senza secondo operando"));
        if (engine_ == Engine::PostgreSQL) {
            foldComparisons(items);
            foldLikes(items);
        } else {
            collateComparisons(items);
        }
        collateOrderBy(items);
        return assemble(items);
    }

    // A group right after a word is that word's call: both form one operand.
    void appendGroup(std::vector<Item>& items, const QString& group) const
    {
        if (!items.empty() && items.back().kind == Item::Operand && items.back().isKeyword) {
            items.back().sql = call(items.back().sql, group);
            items.back().isKeyword = false;
            return;
        }
        items.push_back({Item::Operand, group});
    }

    // Access's date parts, Year(d), Month(d) and Day(d), as numbers; other calls as written.
    // A file keeps dates as yyyy-mm-dd text, whose parts sit at fixed places: reading them
    // there is several times faster than parsing each date.
    QString call(const QString& function, const QString& group) const
    {
        struct Part {
            const char* field;
            int start;
            int length;
        };
        static const QHash<QString, Part> parts = {{QStringLiteral("year"), {"YEAR", 1, 4}},
                                                   {QStringLiteral("month"), {"MONTH", 6, 2}},
                                                   {QStringLiteral("day"), {"DAY", 9, 2}}};
        const auto part = parts.constFind(function.toLower());
        if (part == parts.constEnd()) return function + group;
        if (engine_ == Engine::PostgreSQL)
            return QStringLiteral("CAST(EXTRACT(%1 FROM %2) AS integer)").arg(QLatin1String(part->field), group);
        return QStringLiteral("CAST(substr(%1, %2, %3) AS INTEGER)").arg(group).arg(part->start).arg(part->length);
    }

    static bool isJoinOperand(const Item& item)
    {
        return item.kind == Item::Operand && !(item.isKeyword && isClauseWord(item.sql));
    }

    static void dropTrailingSpaces(std::vector<Item>& items)
    {
        while (!items.empty() && items.back().kind == Item::Space) items.pop_back();
    }

    QString joinOperand(const Item& operand) const
    {
        // A literal is never Null, so it needs no ifnull().
        if (operand.textual && operand.joinParts.isEmpty()) return operand.sql;
        return (engine_ == Engine::PostgreSQL ? QStringLiteral("coalesce(%1,'')") : QStringLiteral("ifnull(%1,'')"))
            .arg(operand.sql);
    }

    // A & chain being read at one nesting level.
    struct Join {
        bool pending = false;
        size_t base = 0;  // items before this index precede the chain's left operand
        Item left;
    };

    void startJoin(std::vector<Item>& items, Join& join) const
    {
        if (join.pending) syntaxError(QCoreApplication::translate("brenzola::AccessDialect", "& senza operando"));
        dropTrailingSpaces(items);
        if (items.empty() || !isJoinOperand(items.back()))
            syntaxError(QCoreApplication::translate("brenzola::AccessDialect", "& senza primo operando"));
        join.left = items.back();
        items.pop_back();
        join.base = items.size();
        join.pending = true;
    }

    void closeJoinIfComplete(std::vector<Item>& items, Join& join) const
    {
        if (!join.pending || items.size() <= join.base) return;
        if (items.back().kind == Item::Space) {
            items.pop_back();
            return;
        }
        if (!isJoinOperand(items.back()))
            syntaxError(QCoreApplication::translate("brenzola::AccessDialect", "& senza secondo operando"));
        // A word may still turn into a call when a group follows it.
        if (items.back().isKeyword && pos_ < tokens_.size() && tokens_[pos_].kind == TokenKind::OpenParen) return;
        const Item right = items.back();
        items.pop_back();
        Item joined{Item::Operand, QString(), true};
        joined.joinParts = join.left.joinParts.isEmpty() ? QStringList{joinOperand(join.left)} : join.left.joinParts;
        joined.joinParts << joinOperand(right);
        joined.sql = u'(' + joined.joinParts.join(QStringLiteral(" || ")) + u')';
        items.push_back(joined);
        join.pending = false;
    }

    static int nextNonSpace(const std::vector<Item>& items, int from, int step)
    {
        for (int i = from; i >= 0 && i < int(items.size()); i += step)
            if (items[i].kind != Item::Space) return i;
        return -1;
    }

    // Calls `visit(left, right)` for each =, <> and != with the operands beside it (nullptr
    // where the neighbour is not an operand).
    template <typename Visit> static void forEachComparison(std::vector<Item>& items, Visit visit)
    {
        auto operand = [&items](int index) { return index >= 0 && items[index].kind == Item::Operand ? &items[index] : nullptr; };
        bool assigning = false;  // between SET and WHERE an = assigns
        for (int i = 0; i < int(items.size()); ++i) {
            if (isWord(items[i], "set")) assigning = true;
            if (isWord(items[i], "where")) assigning = false;
            if (items[i].kind != Item::Symbol || assigning) continue;
            const QString& op = items[i].sql;
            if (op != u"=" && op != u"<>" && op != u"!=") continue;
            visit(operand(nextNonSpace(items, i - 1, -1)), operand(nextNonSpace(items, i + 1, 1)));
        }
    }

    // Text equality ignores letter case, accented letters included.
    static void collateComparisons(std::vector<Item>& items)
    {
        const QString collate = QStringLiteral(" COLLATE ") + QLatin1String(kCaselessCollation);
        forEachComparison(items, [&collate](Item* left, Item* right) {
            if (right && right->textual)
                right->sql += collate;
            else if (left && left->textual)
                left->sql += collate;
        });
    }

    static bool isWord(const Item& item, const char* word)
    {
        return item.kind == Item::Operand && item.isKeyword && item.sql.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    // On a server, both sides of a text comparison in ICU's lower case.
    static void foldOperand(Item& item)
    {
        item.sql = QStringLiteral("lower((%1) COLLATE \"%2\")").arg(item.sql, QLatin1String(kServerCaseCollation));
    }

    static void foldComparisons(std::vector<Item>& items)
    {
        forEachComparison(items, [](Item* left, Item* right) {
            if (!left || !right || (!left->textual && !right->textual)) return;
            foldOperand(*left);
            foldOperand(*right);
        });
    }

    static void foldLikes(std::vector<Item>& items)
    {
        for (int i = 0; i < int(items.size()); ++i) {
            if (!isWord(items[i], "like")) continue;
            const int right = nextNonSpace(items, i + 1, 1);
            const int left = nextNonSpace(items, i - 1, -1);
            if (right < 0 || left < 0) continue;
            foldOperand(items[left]);
            foldOperand(items[right]);
            items[right].sql += QStringLiteral(" ESCAPE ''");
        }
    }

    // Every ORDER BY term sorts as an Italian reader expects.
    void collateOrderBy(std::vector<Item>& items) const
    {
        const bool server = engine_ == Engine::PostgreSQL;
        const QString collate = server ? QStringLiteral(" COLLATE \"%1\"").arg(QLatin1String(kServerOrderCollation))
                                       : QStringLiteral(" COLLATE ") + QLatin1String(kItalianOrderCollation);
        for (int i = 0; i < int(items.size()); ++i) {
            if (!isWord(items[i], "order")) continue;
            const int by = nextNonSpace(items, i + 1, 1);
            if (by < 0 || !isWord(items[by], "by")) continue;
            int lastOfTerm = -1;
            // On a server only text can take a collation; SQLite lets numbers ignore it.
            auto closeTerm = [&] {
                if (lastOfTerm >= 0 && (!server || items[lastOfTerm].textual)) items[lastOfTerm].sql += collate;
                lastOfTerm = -1;
            };
            int j = by + 1;
            for (; j < int(items.size()); ++j) {
                const Item& item = items[j];
                if (isWord(item, "limit")) break;
                if ((item.kind == Item::Symbol && item.sql == u",") || isWord(item, "asc") || isWord(item, "desc")) {
                    closeTerm();
                } else if (item.kind != Item::Space) {
                    lastOfTerm = j;
                }
            }
            closeTerm();
            i = j;
        }
    }

    static QString assemble(const std::vector<Item>& items)
    {
        QString sql;
        for (const Item& item : items) {
            // Never let two symbols fuse into a comment opener.
            if (!sql.isEmpty() && !item.sql.isEmpty()) {
                const QChar last = sql.back();
                const QChar first = item.sql.front();
                if ((last == u'-' && first == u'-') || (last == u'/' && first == u'*')) sql += u' ';
            }
            sql += item.sql;
        }
        return sql;
    }
};

}  // namespace

QString translateAccessSql(const QString& accessSql, Engine engine) { return Translator(tokenize(accessSql), engine).run(); }

}  // namespace brenzola
