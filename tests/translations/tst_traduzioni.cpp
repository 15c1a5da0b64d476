#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

// One message of a .ts file, as a translator sees it.
struct Entry {
    QString context;
    QString source;
    QString translation;
    QString type;  // "unfinished", "vanished", "obsolete" or empty for a finished one
};

QList<Entry> readTs(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QList<Entry> entries;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            entries.append({context, {}, {}, {}});
        } else if (xml.name() == u"source" && !entries.isEmpty()) {
            entries.back().source = xml.readElementText();
        } else if (xml.name() == u"translation" && !entries.isEmpty()) {
            entries.back().type = xml.attributes().value(QLatin1String("type")).toString();
            entries.back().translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    if (xml.hasError()) qWarning("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
    return xml.hasError() ? QList<Entry>() : entries;
}

QStringList placeholders(const QString& text)
{
    static const QRegularExpression placeholder(QStringLiteral("%L?\\d"));
    QStringList found;
    for (const auto& m : placeholder.globalMatch(text)) found << m.captured();
    found.sort();
    return found;
}

// An access key: '&' before a letter or digit ("&&" is a plain ampersand).
bool hasAccessKey(const QString& text)
{
    static const QRegularExpression key(QStringLiteral("&\\w"));
    return key.match(QString(text).remove(QStringLiteral("&&"))).hasMatch();
}

// What is wrong with the translations of a .ts file, one line a message.
QStringList problems(const QList<Entry>& entries)
{
    QStringList lines;
    for (const Entry& v : entries) {
        if (v.type == u"vanished" || v.type == u"obsolete") continue;  // no longer in the sources
        const QString which = QStringLiteral("%1: «%2»").arg(v.context, v.source);
        if (v.type == u"unfinished")
            lines << QStringLiteral("unfinished: ") + which;
        else if (v.translation.trimmed().isEmpty())
            lines << QStringLiteral("empty translation: ") + which;
        else if (placeholders(v.source) != placeholders(v.translation))
            lines << QStringLiteral("other placeholders in «%1»: ").arg(v.translation) + which;
        else if (hasAccessKey(v.source) != hasAccessKey(v.translation))
            lines << QStringLiteral("access key (&) lost or added in «%1»: ").arg(v.translation) + which;
    }
    return lines;
}

}  // namespace

class TestTranslations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void committedFileIsFinished();
    void everyTextInTheSourcesIsTranslated();
};

void TestTranslations::committedFileIsFinished()
{
    const QList<Entry> entries = readTs(QStringLiteral(BRENZOLA_TS));
    QVERIFY2(entries.size() > 500, "translations/brenzola_en.ts is missing or unreadable");
    const QStringList lines = problems(entries);
    QVERIFY2(lines.isEmpty(), qPrintable(lines.join(u'\n')));
}

void TestTranslations::everyTextInTheSourcesIsTranslated()
{
    // lupdate works on a copy: the committed file is only read. The name tells lupdate the language.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString copy = dir.filePath(QStringLiteral("brenzola_en.ts"));
    QVERIFY(QFile::copy(QStringLiteral(BRENZOLA_TS), copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

    QProcess lupdate;
    lupdate.start(
        QStringLiteral(BRENZOLA_LUPDATE),
        {QStringLiteral("-locations"), QStringLiteral("none"), QStringLiteral("-extensions"), QStringLiteral("cpp,h"),
         QStringLiteral(BRENZOLA_SORGENTI "/src"), QStringLiteral(BRENZOLA_SORGENTI "/app"), QStringLiteral("-ts"), copy});
    QVERIFY2(lupdate.waitForFinished(240'000), "lupdate did not finish");
    const QString output = QString::fromUtf8(lupdate.readAllStandardOutput() + lupdate.readAllStandardError());
    QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0, qPrintable(output));
    // A warning names a tr() whose context lupdate cannot tell: that text would never be found.
    static const QRegularExpression warning(QStringLiteral("^.*\\.(cpp|h):\\d+: .*$"), QRegularExpression::MultilineOption);
    QStringList warnings;
    for (const auto& m : warning.globalMatch(output)) warnings << m.captured();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(u'\n')));

    const QList<Entry> entries = readTs(copy);
    QVERIFY(entries.size() > 500);
    const QStringList lines = problems(entries);
    QVERIFY2(lines.isEmpty(), qPrintable(QStringLiteral("Texts without an English translation (ninja aggiorna_traduzioni, then "
                                                        "translate them in translations/brenzola_en.ts):\n")
                                         + lines.join(u'\n')));
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_traduzioni.moc"
