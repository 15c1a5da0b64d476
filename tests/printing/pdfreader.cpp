#include "pdfreader.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace brenzola::test {

namespace {

struct PdfObject {
    QString dictionary;  // Latin-1, one character per byte
    QByteArray stream;   // already inflated
};

// A FlateDecode stream is a zlib stream: Qt inflates it once told a first guess of its size.
QByteArray inflate(const QByteArray& data)
{
    const quint32 guess = quint32(std::min<qsizetype>(data.size() * 8 + 64, 1 << 26));
    QByteArray framed(4, Qt::Uninitialized);
    framed[0] = char(guess >> 24);
    framed[1] = char(guess >> 16);
    framed[2] = char(guess >> 8);
    framed[3] = char(guess);
    return qUncompress(framed + data);
}

int reference(const QString& dictionary, const QString& key)
{
    const QRegularExpression pattern(QStringLiteral("/%1\\s+(\\d+)\\s+0\\s+R").arg(key));
    const QRegularExpressionMatch match = pattern.match(dictionary);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Glyph code -> text, from a ToUnicode map.
QHash<uint, QString> unicodeMap(const QByteArray& cmap)
{
    QHash<uint, QString> map;
    const QString text = QString::fromLatin1(cmap);
    const auto decode = [](const QString& hex) {
        QString result;
        for (qsizetype i = 0; i + 4 <= hex.size(); i += 4) result += QChar(hex.mid(i, 4).toUShort(nullptr, 16));
        return result;
    };
    static const QRegularExpression section(QStringLiteral(R"(begin(bfrange|bfchar)(.*?)end\1)"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression range(QStringLiteral(R"(<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>\s*(\[[^\]]*\]|<[0-9A-Fa-f]+>))"));
    static const QRegularExpression single(QStringLiteral(R"(<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>)"));
    static const QRegularExpression hex(QStringLiteral(R"(<([0-9A-Fa-f]+)>)"));
    for (auto s = section.globalMatch(text); s.hasNext();) {
        const QRegularExpressionMatch block = s.next();
        if (block.captured(1) == QLatin1String("bfchar")) {
            for (auto m = single.globalMatch(block.captured(2)); m.hasNext();) {
                const auto entry = m.next();
                map.insert(entry.captured(1).toUInt(nullptr, 16), decode(entry.captured(2)));
            }
            continue;
        }
        for (auto m = range.globalMatch(block.captured(2)); m.hasNext();) {
            const auto entry = m.next();
            const uint first = entry.captured(1).toUInt(nullptr, 16);
            const uint last = entry.captured(2).toUInt(nullptr, 16);
            const QString target = entry.captured(3);
            if (target.startsWith(u'[')) {
                uint code = first;
                for (auto t = hex.globalMatch(target); t.hasNext() && code <= last; ++code)
                    map.insert(code, decode(t.next().captured(1)));
            } else {
                const QString start = decode(target.mid(1, target.size() - 2));
                for (uint code = first; code <= last && !start.isEmpty(); ++code)
                    map.insert(code, start.left(start.size() - 1) + QChar(start.back().unicode() + (code - first)));
            }
        }
    }
    return map;
}

}  // namespace

bool PdfContent::pageContains(int page, const QString& text) const
{
    if (page < 0 || page >= pages.size()) return false;
    for (const QString& run : pages[page])
        if (run.contains(text)) return true;
    return false;
}

PdfContent readPdf(const QString& path)
{
    PdfContent content;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        content.error = QStringLiteral("cannot open %1").arg(path);
        return content;
    }
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("%PDF-") || !bytes.trimmed().endsWith("%%EOF")) {
        content.error = QStringLiteral("not a complete PDF file");
        return content;
    }

    QHash<int, PdfObject> objects;
    static const QRegularExpression header(QStringLiteral(R"((?:^|\n)(\d+) 0 obj)"));
    const QString text = QString::fromLatin1(bytes);
    for (auto it = header.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const qsizetype start = match.capturedEnd();
        const qsizetype streamAt = text.indexOf(QLatin1String("stream"), start);
        const qsizetype endAt = text.indexOf(QLatin1String("endobj"), start);
        if (endAt < 0) break;
        PdfObject object;
        if (streamAt >= 0 && streamAt < endAt) {
            object.dictionary = text.mid(start, streamAt - start);
            qsizetype dataAt = streamAt + 6;
            if (text.mid(dataAt, 2) == QLatin1String("\r\n"))
                dataAt += 2;
            else if (text.at(dataAt) == u'\n')
                dataAt += 1;
            const qsizetype dataEnd = text.indexOf(QLatin1String("endstream"), dataAt);
            // The end of line before "endstream" stays: zlib stops at the end of its own data.
            const QByteArray data = bytes.mid(dataAt, dataEnd - dataAt);
            object.stream = object.dictionary.contains(QLatin1String("/FlateDecode")) ? inflate(data) : data;
        } else {
            object.dictionary = text.mid(start, endAt - start);
        }
        objects.insert(match.captured(1).toInt(), object);
    }

    int pageTree = -1;
    for (auto it = objects.cbegin(); it != objects.cend(); ++it)
        if (it->dictionary.contains(QRegularExpression(QStringLiteral(R"(/Type\s*/Pages\b)")))) pageTree = it.key();
    if (pageTree < 0) {
        content.error = QStringLiteral("no page tree");
        return content;
    }
    const QString& tree = objects[pageTree].dictionary;
    static const QRegularExpression count(QStringLiteral(R"(/Count\s+(\d+))"));
    content.declaredPageCount = count.match(tree).captured(1).toInt();
    const qsizetype kidsAt = tree.indexOf(QLatin1String("/Kids"));
    const QString kids = tree.mid(kidsAt, tree.indexOf(u']', kidsAt) - kidsAt);
    static const QRegularExpression ref(QStringLiteral(R"((\d+)\s+0\s+R)"));
    static const QRegularExpression fontEntry(QStringLiteral(R"(/(\w+)\s+(\d+)\s+0\s+R)"));
    static const QRegularExpression operation(QStringLiteral(R"(/(\w+)\s+[-\d.]+\s+Tf|<([0-9A-Fa-f]*)>\s*Tj|\bBT\b|\bET\b)"));

    std::map<int, QHash<uint, QString>> fontMaps;  // stable addresses: `map` points into it
    for (auto k = ref.globalMatch(kids); k.hasNext();) {
        const PdfObject page = objects.value(k.next().captured(1).toInt());
        if (!page.dictionary.contains(QRegularExpression(QStringLiteral(R"(/Type\s*/Page\b)")))) continue;
        QHash<QString, int> fonts;
        const QString resources = objects.value(reference(page.dictionary, QStringLiteral("Resources"))).dictionary;
        const qsizetype fontAt = resources.indexOf(QLatin1String("/Font"));
        if (fontAt >= 0) {
            const QString fontDict = resources.mid(fontAt + 5, resources.indexOf(QLatin1String(">>"), fontAt) - fontAt - 5);
            for (auto f = fontEntry.globalMatch(fontDict); f.hasNext();) {
                const auto entry = f.next();
                fonts.insert(entry.captured(1), entry.captured(2).toInt());
            }
        }
        QStringList runs;
        QString run;
        const QHash<uint, QString>* map = nullptr;
        const QByteArray contents = objects.value(reference(page.dictionary, QStringLiteral("Contents"))).stream;
        content.contents << contents;
        const QString stream = QString::fromLatin1(contents);
        for (auto op = operation.globalMatch(stream); op.hasNext();) {
            const QRegularExpressionMatch m = op.next();
            if (!m.captured(1).isEmpty()) {
                const int font = fonts.value(m.captured(1), -1);
                if (!fontMaps.count(font))
                    fontMaps.emplace(
                        font,
                        unicodeMap(objects.value(reference(objects.value(font).dictionary, QStringLiteral("ToUnicode"))).stream));
                map = &fontMaps[font];
            } else if (m.captured(0) == QLatin1String("BT")) {
                run.clear();
            } else if (m.captured(0) == QLatin1String("ET")) {
                if (!run.isEmpty()) runs << run;
            } else {
                const QString codes = m.captured(2);
                for (qsizetype i = 0; i + 4 <= codes.size(); i += 4) {
                    const QString glyph = map ? map->value(codes.mid(i, 4).toUInt(nullptr, 16)) : QString();
                    run += glyph == QLatin1String("\t") ? QStringLiteral(" ") : glyph;
                }
            }
        }
        content.pages << runs;
    }
    content.valid = content.declaredPageCount == content.pages.size();
    if (!content.valid)
        content.error =
            QStringLiteral("page tree counts %1 pages, %2 found").arg(content.declaredPageCount).arg(content.pages.size());
    return content;
}

}  // namespace brenzola::test
