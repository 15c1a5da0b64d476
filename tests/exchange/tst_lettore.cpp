// Files read as they come: the same entries as the whole-file readers whatever the size of
// the blocks read, encodings decided on the first bytes and line by line, faults reached late.
#include "exchange/csv.h"
#include "exchange/ldif.h"
#include "exchange/lettore.h"
#include "exchange/mappacsv.h"
#include "exchange/righefile.h"
#include "exchange/vcard.h"
#include "store/storeerror.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace brenzola;

namespace {

QByteArray dati(const QString& nome)
{
    QFile file(QStringLiteral(BRENZOLA_DATI "/scambio/") + nome);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// As the import reads a file today: whole.
Lettura leggiIntero(const QByteArray& file)
{
    if (sembraVCard(file)) return leggiVCard(file);
    if (sembraLdif(file)) return leggiLdif(file);
    const FormatoCsv formato = rilevaFormatoCsv(file);
    const TabellaCsv tabella = leggiCsv(file, formato);
    return contattiDaCsv(tabella, mappaIndovinata(tabella, formato.separatore == u';'));
}

std::unique_ptr<LettoreVoci> lettore(const QByteArray& file, qsizetype blocco, const OpzioniCsv& csv = {})
{
    return apriLettore(inMemoria(file), csv, blocco);
}

// Everything an entry says, one line each, for comparisons that show where they differ.
QStringList descritta(const Lettura& lettura)
{
    QStringList righe;
    for (const Voce& voce : lettura.voci) {
        QStringList valori;
        for (const QVariant& v : voce.contatto.valori)
            valori << (v.isNull() ? QStringLiteral("<Null>") : QString::fromLatin1(v.typeName()) + u':' + v.toString());
        righe << QStringLiteral("%1|%2|%3|%4|%5")
                     .arg(voce.riga)
                     .arg(voce.errore, voce.avvisi.join(u'/'), voce.contatto.uid, valori.join(u'|'));
    }
    for (auto i = lettura.ignorate.cbegin(); i != lettura.ignorate.cend(); ++i)
        righe << QStringLiteral("ignorata %1 %2").arg(i.key()).arg(i.value());
    return righe;
}

QString errore(const std::function<void()>& lavoro)
{
    try {
        lavoro();
    } catch (const StoreError& e) {
        return QStringLiteral("%1 %2").arg(e.number()).arg(e.description());
    }
    return {};
}

QByteArray utf16(const QString& testo, bool bigEndian, bool bom)
{
    QByteArray out;
    for (const QChar c : (bom ? QString(QChar(0xFEFF)) : QString()) + testo) {
        const char alto = char(c.unicode() >> 8), basso = char(c.unicode() & 0xFF);
        out += bigEndian ? QByteArray{&alto, 1} + basso : QByteArray{&basso, 1} + alto;
    }
    return out;
}

}  // namespace

class TestLettore : public QObject {
    Q_OBJECT

private slots:
    void sameEntriesAsWholeFile_data();
    void sameEntriesAsWholeFile();
    void csvFieldsSpanLinesAcrossBlocks();
    void utf16IsDecodedAcrossBlocks();
    void linesNotInUtf8AreReadAsWindows1252();
    void quotesNeverClosedFailWhenReached();
    void filesThatAreNoContactListAreRefused();
    void csvMappingChangesAreObserved();
    void positionFollowsTheFile();
};

void TestLettore::sameEntriesAsWholeFile_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<qsizetype>("blocco");
    const QStringList file = QDir(QStringLiteral(BRENZOLA_DATI "/scambio")).entryList(QDir::Files, QDir::Name);
    QVERIFY(file.size() >= 12);
    for (const QString& nome : file)
        for (const qsizetype blocco : {qsizetype{1}, qsizetype{7}, qsizetype{64} * 1024})
            QTest::addRow("%s/%lld", qPrintable(nome), qlonglong(blocco)) << nome << blocco;
}

void TestLettore::sameEntriesAsWholeFile()
{
    QFETCH(QString, nome);
    QFETCH(qsizetype, blocco);
    const QByteArray file = dati(nome);
    QVERIFY(!file.isEmpty());
    const Lettura attesa = leggiIntero(file);
    QVERIFY(!attesa.voci.empty());
    const auto letto = lettore(file, blocco);
    QCOMPARE(descritta(letto->tutte()), descritta(attesa));
    QVERIFY(!letto->prossima());  // the end stays the end
    // The whole-file reader decides Windows-1252 for all of Outlook's file; the stream, line by line.
    if (rilevaFormatoCsv(file).codifica == Codifica::Windows1252)
        QVERIFY2(letto->avvisi().value(0).contains(QStringLiteral("non è in UTF-8: lett")),
                 qPrintable(letto->avvisi().join(u'\n')));
    else
        QCOMPARE(letto->avvisi(), QStringList());
}

void TestLettore::csvFieldsSpanLinesAcrossBlocks()
{
    const QByteArray csv =
        "Cognome;Nome;Commenti\r\n"
        "Rossi;Mario;\"uno\r\ndue\rtre\nquattro \"\"cinque\"\"\"\r\n"  // line 2, a note over four lines
        "\r\n"                                                         // an empty line: no row
        "Bianchi;Lu\"ca;\"\"\n"                                        // line 7
        "Verdi;\"An\"na;";                                             // line 8, no line end
    const FormatoCsv formato{Codifica::Utf8, u';'};
    const TabellaCsv tabella = leggiCsv(csv, formato);
    QCOMPARE(tabella.intestazioni, (QStringList{"Cognome", "Nome", "Commenti"}));
    QCOMPARE(tabella.righe.size(), size_t(3));
    QCOMPARE(tabella.righe[0].campi[2], QStringLiteral("uno\r\ndue\rtre\nquattro \"cinque\""));
    QCOMPARE(tabella.righe[1].riga, 7);
    QCOMPARE(tabella.righe[1].campi[1], QStringLiteral("Lu\"ca"));  // a quote inside unquoted text is text
    QVERIFY(!tabella.righe[1].campi[2].isNull());                   // "" is empty text
    QCOMPARE(tabella.righe[2].riga, 8);
    QCOMPARE(tabella.righe[2].campi[1], QStringLiteral("Anna"));
    QVERIFY(tabella.righe[2].campi[2].isNull());  // left empty without quotes
    QCOMPARE(leggiCsv(csv, formato, 1).righe.size(), size_t(1));
    QVERIFY(leggiCsv(csv, formato, 0).intestazioni.isEmpty());

    for (const qsizetype blocco : {1, 2, 3, 5, 11}) {
        const Lettura lettura = lettore(csv, blocco)->tutte();
        QCOMPARE(lettura.voci.size(), size_t(3));
        QCOMPARE(lettura.voci[0].contatto.testo(Campo::Commenti), QStringLiteral("uno\r\ndue\rtre\nquattro \"cinque\""));
        QCOMPARE(lettura.voci[1].riga, 7);
        QCOMPARE(lettura.voci[1].contatto.testo(Campo::Nome), QStringLiteral("Lu\"ca"));
        QCOMPARE(lettura.voci[2].riga, 8);
    }
}

void TestLettore::utf16IsDecodedAcrossBlocks()
{
    // Accents, and a character outside the BMP whose two halves a small block splits.
    const QString csv = QStringLiteral("Cognome,Nome,Note\r\nÈrcoli,Zoè,\"a \U0001F601\r\nb\"\r\nNicolò,Ùbaldo,\r\n");
    const QString vcard =
        QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Èrcoli;Zoè;;;\r\nNOTE:pi\r\n ù \U0001F601\r\nEND:VCARD\r\n");
    for (const bool bigEndian : {false, true})
        for (const bool bom : {true, false})
            for (const qsizetype blocco : {1, 3, 4096}) {
                const QString caso = QStringLiteral("BE %1, BOM %2, blocco %3").arg(bigEndian).arg(bom).arg(blocco);
                const Lettura righe = lettore(utf16(csv, bigEndian, bom), blocco)->tutte();
                QVERIFY2(righe.voci.size() == 2, qPrintable(caso));
                QCOMPARE(righe.voci[0].contatto.nomeCompleto(), QStringLiteral("Èrcoli Zoè"));
                QCOMPARE(righe.voci[0].contatto.testo(Campo::Commenti), QStringLiteral("a \U0001F601\r\nb"));
                QCOMPARE(righe.voci[1].contatto.nomeCompleto(), QStringLiteral("Nicolò Ùbaldo"));
                QCOMPARE(righe.voci[1].riga, 4);
                const Lettura schede = lettore(utf16(vcard, bigEndian, bom), blocco)->tutte();
                QVERIFY2(schede.voci.size() == 1, qPrintable(caso));
                QCOMPARE(schede.voci[0].contatto.testo(Campo::Commenti), QStringLiteral("più \U0001F601"));
                QCOMPARE(schede.voci[0].avvisi, QStringList());
            }
    // UTF-16 named by the user is read so even where the bytes would not say it.
    const Lettura scelta = lettore(utf16(csv, false, false), 5, {Codifica::Utf16LE, u',', {}})->tutte();
    QCOMPARE(scelta.voci.size(), size_t(2));
    QCOMPARE(scelta.voci[1].contatto.nomeCompleto(), QStringLiteral("Nicolò Ùbaldo"));
}

void TestLettore::linesNotInUtf8AreReadAsWindows1252()
{
    const QByteArray csv =
        "\xEF\xBB\xBF"
        "Cognome;Nome;Citt\xC3\xA0\r\n"
        "Citt\xC3\xA0;Lu\xC3\xA8;\xE2\x82\xAC\r\n"  // UTF-8
        "Forl\xEC;Niccol\xF2;\x80\r\n"              // line 3: Windows-1252
        "Ros\xC3\xAC;\"a\r\n\xE8\";x\r\n";          // line 5 of a field over two lines
    for (const qsizetype blocco : {1, 4, 1024}) {
        const auto letto = lettore(csv, blocco);
        const Lettura lettura = letto->tutte();
        QCOMPARE(lettura.voci.size(), size_t(3));
        QCOMPARE(lettura.voci[0].contatto.nomeCompleto(), QStringLiteral("Città Luè"));
        QCOMPARE(lettura.voci[0].contatto.testo(Campo::Citta), QStringLiteral("€"));
        QCOMPARE(lettura.voci[1].contatto.nomeCompleto(), QStringLiteral("Forlì Niccolò"));
        QCOMPARE(lettura.voci[1].contatto.testo(Campo::Citta), QStringLiteral("€"));
        QCOMPARE(lettura.voci[2].contatto.nomeCompleto(), QStringLiteral("Rosì a\r\nè"));
        QCOMPARE(letto->avvisi(), QStringList{QStringLiteral("righe 3, 5: il testo non è in UTF-8: lette come Windows-1252")});
    }
    const auto una = lettore(
        "Cognome\nM\xFC"
        "ller\n",
        64);
    QCOMPARE(una->avvisi(), QStringList());  // nothing read yet
    QCOMPARE(una->tutte().voci[0].contatto.testo(Campo::Cognome), QStringLiteral("Müller"));
    QCOMPARE(una->avvisi(), QStringList{QStringLiteral("riga 2: il testo non è in UTF-8: letta come Windows-1252")});

    // Many lines: the first ten are named, the others counted.
    QByteArray molte = "Cognome\n";
    for (int i = 0; i < 25; ++i) molte += "Caf\xE9 " + QByteArray::number(i) + '\n';
    const auto letto = lettore(molte, 16);
    QCOMPARE(letto->tutte().voci[24].contatto.testo(Campo::Cognome), QStringLiteral("Café 24"));
    QCOMPARE(letto->avvisi(),
             QStringList{QStringLiteral(
                 "righe 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 e altre 15: il testo non è in UTF-8: lette come Windows-1252")});

    // Windows-1252 named by the user: every line so, without notes.
    const auto scelto = lettore(csv.mid(3), 8, {Codifica::Windows1252, std::nullopt, {}});
    const Lettura lettura = scelto->tutte();
    QCOMPARE(lettura.voci[1].contatto.nomeCompleto(), QStringLiteral("Forlì Niccolò"));
    QCOMPARE(lettura.voci[0].contatto.testo(Campo::Cognome), QStringLiteral("CittÃ\u00A0"));
    QCOMPARE(scelto->avvisi(), QStringList());

    // A vCard value names its own character set: its bytes stay as written for the card to decode.
    const QByteArray vcard = "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=ISO-8859-1:Forl\xEC;;;;\r\nNOTE:Citt\xE0\r\nEND:VCARD\r\n";
    const auto schede = lettore(vcard, 3);
    const Lettura scheda = schede->tutte();
    QCOMPARE(scheda.voci[0].contatto.testo(Campo::Cognome), QStringLiteral("Forlì"));
    QCOMPARE(scheda.voci[0].contatto.testo(Campo::Commenti), QStringLiteral("Città"));
    QCOMPARE(scheda.voci[0].avvisi, QStringList{QStringLiteral("riga 4: il testo non è in UTF-8: letto come Windows-1252")});
    QCOMPARE(schede->avvisi(), QStringList());
}

void TestLettore::quotesNeverClosedFailWhenReached()
{
    QByteArray csv = "Cognome;Nome\r\n";
    for (int i = 0; i < 1500; ++i) csv += "Rossi;Mario " + QByteArray::number(i) + "\r\n";
    const QByteArray aperte = csv + "Bianchi;\"Luca\r\nVerdi;Anna\r\n";  // line 1502
    const auto letto = lettore(aperte, 100);
    int lette = 0;
    const QString motivo = errore([&] {
        while (letto->prossima()) ++lette;
    });
    QCOMPARE(motivo, QStringLiteral("3274 Riga 1502: le virgolette aperte qui non si chiudono più."));
    QCOMPARE(lette, 1500);  // every row before it was read
    // Among the first rows, observed before any contact: the first entry asked for fails.
    QCOMPARE(errore([] { lettore("Cognome;Nome\r\nRossi;\"Mario\r\nBianchi;Luca\r\n", 4)->prossima(); }),
             QStringLiteral("3274 Riga 2: le virgolette aperte qui non si chiudono più."));
    QCOMPARE(errore([] { lettore("Cognome;Nome\r\nRossi;\"Mario", 4)->prossima(); }),
             QStringLiteral("3274 Riga 2: le virgolette aperte qui non si chiudono più."));
}

void TestLettore::filesThatAreNoContactListAreRefused()
{
    QCOMPARE(errore([] { lettore("\r\n  \r\n", 2); }), QStringLiteral("3274 Il file è vuoto."));
    QCOMPARE(errore([] { lettore("", 2); }), QStringLiteral("3274 Il file è vuoto."));
    static constexpr char kPng[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10";
    QCOMPARE(errore([] { lettore(QByteArray(kPng, sizeof kPng - 1), 4); }),
             QStringLiteral("3274 Il file non è un file di testo."));

    QTemporaryDir cartella;
    QVERIFY(cartella.isValid());
    QVERIFY(errore([&] {
                apriLettore(cartella.filePath(QStringLiteral("manca.csv")));
            }).contains(QStringLiteral("Impossibile leggere il file")));
    QFile enorme(cartella.filePath(QStringLiteral("enorme.csv")));
    QVERIFY(enorme.open(QIODevice::WriteOnly));
    QVERIFY(enorme.resize((qint64(1) << 30) + 1));  // sparse: no disk spent
    enorme.close();
    QVERIFY(errore([&] { apriLettore(enorme.fileName()); }).contains(QStringLiteral("troppo grande per un elenco di contatti")));

    // Looks like a vCard but no card begins: the lines outside are told, then the file is refused.
    const auto senzaSchede = lettore("BEGIN:VCARDS\r\nN:Rossi\r\n", 3);
    QCOMPARE(senzaSchede->prossima()->errore, QStringLiteral("riga 1: testo fuori da una scheda vCard"));
    QCOMPARE(senzaSchede->prossima()->errore, QStringLiteral("riga 2: testo fuori da una scheda vCard"));
    QCOMPARE(errore([&] { senzaSchede->prossima(); }), QStringLiteral("3274 Il file non contiene schede vCard (BEGIN:VCARD)."));
    QCOMPARE(errore([] { lettore("version: 1\n\ndn: cn=x\nsn: Rossi\n\n# fine\n", 5)->tutte(); }), QString());
    QCOMPARE(lettore("dn: cn=x\r\nsn: Ro\r\n ssi\r\n\r\n\r\ndn: cn=y\r\n", 2)->tutte().voci.size(), size_t(2));
}

void TestLettore::csvMappingChangesAreObserved()
{
    // "Quando" is no header Brenzola knows: the user says it is the birth date, and the
    // first rows, observed after that, show the month comes first.
    QByteArray csv = "Cognome|Quando|Altro\n";
    for (int i = 0; i < 1200; ++i) csv += "Rossi " + QByteArray::number(i) + "|3/4/1990|x\n";
    csv += "Bianchi|12/25/1980|y\n";
    OpzioniCsv opzioni;
    opzioni.mappa = [](MappaCsv& mappa) {
        for (qsizetype c = 0; c < mappa.colonne(); ++c)
            if (mappa.intestazione(c) == u"Quando") mappa.assegna(c, Campo::DataNasc);
    };
    const Lettura senzaIndizi = lettore(csv, 512, opzioni)->tutte();
    QCOMPARE(senzaIndizi.voci.size(), size_t(1201));
    QCOMPARE(senzaIndizi.voci[0].contatto[Campo::DataNasc].toDate(), QDate(1990, 4, 3));       // day first: 12/25 came too late
    QCOMPARE(senzaIndizi.voci[1200].contatto[Campo::DataNasc].toDate(), QDate(1980, 12, 25));  // only one way to read it
    QCOMPARE(senzaIndizi.voci[1200].contatto.testo(Campo::Commenti), QStringLiteral("Altro: y"));
    csv.insert(csv.indexOf('\n') + 1, "Verdi|12/24/1970|z\n");
    const Lettura conIndizi = lettore(csv, 512, opzioni)->tutte();
    QCOMPARE(conIndizi.voci[1].contatto[Campo::DataNasc].toDate(), QDate(1990, 3, 4));
    QCOMPARE(conIndizi.voci[0].contatto.testo(Campo::Commenti), QStringLiteral("Altro: z"));
    // The separator named by the user wins over the one found.
    opzioni.separatore = u',';
    QCOMPARE(lettore(csv, 512, opzioni)->tutte().voci[0].contatto.testo(Campo::Commenti),
             QStringLiteral("Cognome|Quando|Altro: Verdi|12/24/1970|z"));
}

void TestLettore::positionFollowsTheFile()
{
    QTemporaryDir cartella;
    const QString nome = cartella.filePath(QStringLiteral("contatti.vcf"));
    QFile file(nome);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray scheda = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Rossi;Mario;;;\r\nEND:VCARD\r\n";
    for (int i = 0; i < 5000; ++i) file.write(scheda);
    file.close();
    const auto letto = apriLettore(nome);
    QCOMPARE(letto->dimensione(), qint64(5000) * scheda.size());
    qint64 prima = 0;
    int lette = 0;
    while (const std::optional<Voce> voce = letto->prossima()) {
        QCOMPARE(voce->riga, lette * 4 + 1);
        QVERIFY(letto->posizione() >= prima);
        QVERIFY(letto->posizione() <= letto->dimensione());
        prima = letto->posizione();
        ++lette;
        if (lette == 10) QVERIFY(prima < letto->dimensione() / 2);  // not read whole
    }
    QCOMPARE(lette, 5000);
    QCOMPARE(letto->posizione(), letto->dimensione());
}

QTEST_GUILESS_MAIN(TestLettore)
#include "tst_lettore.moc"
