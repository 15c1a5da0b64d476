// vCard and CSV as phones, mail programs and spreadsheets write them, and as Brenzola
// writes them; the duplicate rules and merging.
#include "exchange/csv.h"
#include "exchange/doppioni.h"
#include "exchange/ldif.h"
#include "exchange/lettore.h"
#include "exchange/mappacsv.h"
#include "exchange/vcard.h"
#include "store/storeddate.h"
#include "store/storeerror.h"

#include <QFile>
#include <QStringDecoder>
#include <QTest>

using namespace brenzola;

namespace {

QByteArray dati(const char* nome)
{
    QFile file(QStringLiteral(BRENZOLA_DATI "/scambio/") + QLatin1String(nome));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Lettura leggi(const QByteArray& file) { return apriLettore(file)->tutte(); }

QString errore(const std::function<void()>& lavoro)
{
    try {
        lavoro();
    } catch (const StoreError& e) {
        return QStringLiteral("%1 %2").arg(e.number()).arg(e.description());
    }
    return {};
}

Contatto contatto(std::initializer_list<std::pair<Campo, QVariant>> valori)
{
    Contatto c;
    for (const auto& [campo, valore] : valori) c[campo] = valore;
    return c;
}

// A value as a comparison should see it: Null and empty text apart, dates as dates.
QString mostra(const QVariant& v)
{
    if (v.isNull()) return QStringLiteral("<Null>");
    if (v.typeId() == QMetaType::QDate) return QStringLiteral("date:") + v.toDate().toString(Qt::ISODate);
    return QStringLiteral("text:") + v.toString();
}

void confrontaCampi(const Contatto& letto, const Contatto& atteso)
{
    for (const DescrizioneCampo& d : campi()) QCOMPARE(mostra(letto[d.campo]), mostra(atteso[d.campo]));
}

}  // namespace

class TestFormati : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void phoneAndMailFilesGiveTheirContacts();
    void badInputIsRefusedNamingTheLine();
    void whatBrenzolaWritesReadsBackExactly_data();
    void whatBrenzolaWritesReadsBackExactly();
    void textIsWrittenInUtf8AsQtWritesIt();
    void csvEncodingsSeparatorsAndDateOrderAreDetected();
    void duplicatesAreTheSamePersonAndMergeLosesNothing();
    void controlCharactersAreFound_data();
    void controlCharactersAreFound();
    void aContactNamesTheFirstFieldHoldingOne();
    void ldifKeepsControlCharactersInBase64();
};

void TestFormati::phoneAndMailFilesGiveTheirContacts()
{
    // iPhone, vCard 3.0: grouped properties, preferences, a photo, a birthday without a year.
    Lettura iphone = leggiVCard(dati("iphone.vcf"));
    QCOMPARE(iphone.voci.size(), size_t(3));
    const Contatto& rossi = iphone.voci[0].contatto;
    QVERIFY(iphone.voci[0].errore.isEmpty());
    QCOMPARE(rossi.testo(Campo::Cognome), QStringLiteral("Rossi"));
    QCOMPARE(rossi.testo(Campo::Email), QStringLiteral("mario.rossi@example.it"));
    QCOMPARE(rossi.testo(Campo::Cell), QStringLiteral("+39 347 1234567"));
    QCOMPARE(rossi.testo(Campo::Telefono), QStringLiteral("02 8645123"));
    QCOMPARE(rossi.testo(Campo::Indirizzo), QStringLiteral("Via Torino 15"));
    QCOMPARE(rossi.testo(Campo::Citta), QStringLiteral("Milano"));
    QCOMPARE(rossi.testo(Campo::Cap), QStringLiteral("20123"));
    QCOMPARE(rossi[Campo::DataNasc].toDate(), QDate(1958, 3, 21));
    // What has no field of its own is kept in the comments, labelled.
    const QString commenti = rossi.testo(Campo::Commenti);
    QVERIFY2(commenti.startsWith(QStringLiteral("Cliente storico.\nPreferisce la mattina, non il sabato.")),
             qPrintable(commenti));
    for (const char* altro : {"Azienda: Rossi Impianti Srl", "Email (lavoro): m.rossi@rossi-impianti.example",
                              "Telefono (lavoro): 02 1111111", "Paese: Italia"})
        QVERIFY2(commenti.contains(QString::fromUtf8(altro)), altro);
    // A birthday without a year is kept, in the year that stands for none.
    QCOMPARE(iphone.voci[1].contatto[Campo::DataNasc].toDate(), QDate(kAnnoIgnoto, 7, 4));
    QCOMPARE(iphone.voci[2].contatto.testo(Campo::Cognome), QStringLiteral("Farmacia Centrale"));  // a company only
    QCOMPARE(iphone.ignorate.value(QStringLiteral("PHOTO")), 1);
    QCOMPARE(iphone.ignorate.value(QStringLiteral("X-ABLABEL")), 1);

    // Android, vCard 2.1: quoted-printable in UTF-8 with a soft line break, bare types.
    Lettura android = leggiVCard(dati("android.vcf"));
    QCOMPARE(android.voci.size(), size_t(2));
    const Contatto& ercoli = android.voci[0].contatto;
    QCOMPARE(ercoli.nomeCompleto(), QStringLiteral("Èrcoli Nicolò"));
    QCOMPARE(ercoli.testo(Campo::Indirizzo), QStringLiteral("Corso della Repubblica 10"));
    QCOMPARE(ercoli.testo(Campo::Citta), QStringLiteral("Forlì"));
    QCOMPARE(ercoli.testo(Campo::Telefono), QStringLiteral("0543 999888"));  // the PREF one
    QCOMPARE(ercoli.testo(Campo::Cell), QStringLiteral("+393331112233"));
    QCOMPARE(ercoli[Campo::DataNasc].toDate(), QDate(1992, 2, 29));
    QVERIFY(ercoli.testo(Campo::Commenti).startsWith(QStringLiteral("Conosciuto in fiera.\r\nHa chiesto il listino.")));
    QVERIFY(ercoli.testo(Campo::Commenti).contains(QStringLiteral("Telefono (casa): 0543 123456")));
    QCOMPARE(android.voci[1].contatto.testo(Campo::Telefono), QStringLiteral("011 4332211"));
    QCOMPARE(android.ignorate.value(QStringLiteral("PHOTO")), 1);
    QCOMPARE(android.ignorate.value(QStringLiteral("X-ANDROID-CUSTOM")), 1);

    // Thunderbird, vCard 4.0: PREF=1, a tel: URI, an extended address, a year-less birthday.
    Lettura thunderbird = leggiVCard(dati("thunderbird.vcf"));
    const Contatto& esposito = thunderbird.voci[0].contatto;
    QCOMPARE(esposito.testo(Campo::Nome), QStringLiteral("Anna Maria"));
    QCOMPARE(esposito.testo(Campo::Email), QStringLiteral("anna.esposito@example.it"));
    QCOMPARE(esposito.testo(Campo::Telefono), QStringLiteral("+39-081-8671234"));
    QCOMPARE(esposito.testo(Campo::Indirizzo), QStringLiteral("Via Napoli 3, Scala B"));
    QVERIFY(esposito.testo(Campo::Commenti)
                .startsWith(QStringLiteral("Primo contatto a Capodanno.\nRichiamare a febbraio; chiedere di Anna.")));
    QCOMPARE(thunderbird.voci[1].contatto[Campo::DataNasc].toDate(), QDate(kAnnoIgnoto, 4, 12));
    QCOMPARE(esposito.uid, QStringLiteral("9b1c4f0e-1a2b-4c3d-8e9f-0a1b2c3d4e5f"));

    // Outlook in Italian: Windows-1252, commas, day-first dates without leading zeros.
    Lettura outlook = leggi(dati("outlook.csv"));
    QCOMPARE(outlook.voci.size(), size_t(3));
    QCOMPARE(outlook.voci[0].contatto[Campo::DataNasc].toDate(), QDate(1958, 3, 21));
    QCOMPARE(outlook.voci[0].contatto.testo(Campo::Commenti),
             QStringLiteral("Cliente storico.\r\nPreferisce la mattina.\nPaese (ab.): Italia"));
    QCOMPARE(outlook.voci[1].contatto[Campo::DataNasc].toDate(), QDate(1975, 7, 4));
    QCOMPARE(outlook.voci[1].contatto.testo(Campo::Indirizzo), QStringLiteral("Via Toledo, 256"));
    QVERIFY(outlook.voci[1].contatto.testo(Campo::Commenti).contains(QStringLiteral("Telefono ufficio: 081 000111")));
    QCOMPARE(outlook.voci[2].contatto.nomeCompleto(), QStringLiteral("Cantù Niccolò"));
    QCOMPARE(outlook.voci[2].contatto.testo(Campo::Commenti), QStringLiteral("Prezzo 10 €\nPaese (ab.): Italia"));

    // Google in English: UTF-8, quotes only where needed, a note over two lines.
    Lettura google = leggi(dati("google.csv"));
    QCOMPARE(google.voci.size(), size_t(2));
    // Each phone by its type: the mobile is the mobile, the home number the telephone.
    QCOMPARE(google.voci[0].contatto.testo(Campo::Commenti),
             QStringLiteral("Primo contatto a Capodanno.\nRichiamare, se possibile."));
    QCOMPARE(google.voci[0].contatto.testo(Campo::Cell), QStringLiteral("339 1112233"));
    QCOMPARE(google.voci[0].contatto.testo(Campo::Telefono), QStringLiteral("081 8671234"));
    QCOMPARE(google.voci[0].contatto.testo(Campo::Cap), QStringLiteral("80078"));
    QCOMPARE(google.voci[0].contatto[Campo::DataNasc].toDate(), QDate(1980, 10, 10));
    QCOMPARE(google.voci[1].contatto.nomeCompleto(), QStringLiteral("Dell'Orto Élise"));
    QCOMPARE(google.voci[1].riga, 4);  // the note of the first row took two lines
}

void TestFormati::badInputIsRefusedNamingTheLine()
{
    // Files that are not what they should be are refused whole.
    QCOMPARE(errore([] { leggiVCard(""); }), QStringLiteral("3274 Il file è vuoto."));
    QCOMPARE(errore([] { leggiCsv("\r\n  \r\n", {}); }), QStringLiteral("3274 Il file è vuoto."));
    static constexpr char kPng[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10";
    const QByteArray png(kPng, sizeof kPng - 1);
    QCOMPARE(errore([&] { leggiVCard(png); }), QStringLiteral("3274 Il file non è un file di testo."));
    QCOMPARE(errore([&] { leggiCsv(png, rilevaFormatoCsv(png)); }), QStringLiteral("3274 Il file non è un file di testo."));
    QVERIFY(errore([] { leggiVCard("Cognome;Nome\r\nRossi;Mario\r\n"); }).contains(QStringLiteral("non contiene schede vCard")));
    const QByteArray aperte = "Cognome;Nome\r\nRossi;\"Mario\r\nBianchi;Luca\r\n";
    QCOMPARE(errore([&] { leggiCsv(aperte, rilevaFormatoCsv(aperte)); }),
             QStringLiteral("3274 Riga 2: le virgolette aperte qui non si chiudono più."));

    // A card that cannot be read whole is left out with its line; the others are read.
    QByteArray nota = "NOTE:";
    for (int i = 0; nota.size() < 10 * 1024 * 1024; ++i) nota += (i ? "\r\n " : "") + QByteArray(74, 'x');
    const QByteArray schede = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Uno;;;;\r\nEND:VCARD\r\n"  // 1
                              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Due;;;;\r\n"                // 5: no END
                              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Tre;;;;\r\nNOTE:questa riga è\r\nspezzata male\r\nEND:VCARD\r\n"
                              "BEGIN:VCARD\r\nVERSION:2.1\r\nN;ENCODING=QUOTED-PRINTABLE:Quat=ZZtro;;;;\r\nEND:VCARD\r\n"
                              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Cinque;;;;\r\nBDAY:31/02/1980\r\nEND:VCARD\r\n"  // 18
                              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Sei;;;;\r\n" + nota + "\r\nEND:VCARD\r\n"
                              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Sette;;;;\r\n";
    const Lettura lettura = leggiVCard(schede);
    QStringList viste;
    for (const Voce& voce : lettura.voci) viste << (voce.errore.isEmpty() ? voce.contatto.testo(Campo::Cognome) : voce.errore);
    QCOMPARE(viste.size(), 7);
    QCOMPARE(viste[0], QStringLiteral("Uno"));
    QCOMPARE(viste[1], QStringLiteral("riga 5: la scheda iniziata qui non ha END:VCARD"));
    QCOMPARE(viste[2], QStringLiteral("riga 12: la riga non è una proprietà vCard (una riga spezzata male?)"));
    QCOMPARE(viste[3], QStringLiteral("riga 16: quoted-printable non valido («=ZZ»)"));
    // A date that is not one costs the person nothing: it waits in the comments.
    QCOMPARE(viste[4], QStringLiteral("Cinque"));
    QCOMPARE(lettura.voci[4].contatto.testo(Campo::Commenti), QStringLiteral("Data Nasc.: 31/02/1980"));
    QCOMPARE(lettura.voci[4].avvisi,
             QStringList{QStringLiteral("riga 21: «31/02/1980» in Data Nasc. non è una data: è nei commenti")});
    QVERIFY2(viste[5].startsWith(QStringLiteral("riga 23: il campo Commenti è troppo lungo (10.")), qPrintable(viste[5]));
    const qsizetype rigaSette = schede.left(schede.lastIndexOf("BEGIN")).count('\n') + 1;
    QCOMPARE(viste[6], QStringLiteral("riga %1: la scheda iniziata qui non ha END:VCARD").arg(rigaSette));
    QCOMPARE(lettura.illeggibili(), 5);

    // Rows with more or fewer fields than the header are read, not refused; a trailing
    // separator is no extra field.
    const QByteArray righe =
        "Cognome;Nome;Telefono\r\nRossi;Mario;02 1\r\nBianchi;Luca\r\nVerdi;Anna;06 2;altro\r\nNeri;Ugo;;\r\n";
    const Lettura csv = leggi(righe);
    QCOMPARE(csv.voci.size(), size_t(4));
    QCOMPARE(csv.illeggibili(), 0);
    QCOMPARE(csv.voci[1].contatto.nomeCompleto(), QStringLiteral("Bianchi Luca"));
    QCOMPARE(csv.voci[2].contatto.testo(Campo::Commenti), QStringLiteral("Colonna 4: altro"));
    QCOMPARE(csv.voci[3].contatto.nomeCompleto(), QStringLiteral("Neri Ugo"));
    QVERIFY(csv.voci[3].avvisi.isEmpty());
}

void TestFormati::whatBrenzolaWritesReadsBackExactly_data()
{
    QTest::addColumn<int>("formato");
    QTest::newRow("vCard 4.0") << 0;
    QTest::newRow("vCard 3.0") << 1;
    QTest::newRow("CSV italiano") << 2;
    QTest::newRow("CSV RFC 4180") << 3;
}

void TestFormati::whatBrenzolaWritesReadsBackExactly()
{
    QFETCH(int, formato);
    const QString lunga = QStringLiteral("Via dell'Indipendenza, 12; scala B \\ interno 4 – ") + QString(300, QChar(u'è'));
    const std::vector<Contatto> contatti = {
        contatto({{Campo::Cognome, QStringLiteral("D'Angelo")},
                  {Campo::Nome, QStringLiteral("Nicolò 😀")},
                  {Campo::DataIn, QDate(2003, 5, 12)},
                  {Campo::TipoRef, QStringLiteral("=SOMMA(A1:A3)")},
                  {Campo::Citta, QStringLiteral("Forlì")},
                  {Campo::Prov, QStringLiteral("FC")},
                  {Campo::Indirizzo, lunga},
                  {Campo::Cap, QStringLiteral("06012")},
                  {Campo::Email, QStringLiteral("a@b.it, c@d.it")},
                  {Campo::Telefono, QStringLiteral("+39 06 123")},
                  {Campo::Cell, QStringLiteral("-")},
                  {Campo::DataNasc, QDate(2000, 2, 29)},
                  {Campo::Fonte, QStringLiteral("\"Fiera\"\tdi maggio")},
                  {Campo::DataRicont, QDate(1900, 1, 1)},
                  {Campo::Commenti, QStringLiteral("Prima riga\r\nseconda; con virgole, e \\n finti\r\n\r\nfine €")}}),
        // Empty text and Null are told apart; the surname alone is enough.
        contatto({{Campo::Cognome, QStringLiteral("Solo")}, {Campo::Nome, QStringLiteral("")}, {Campo::Cap, QStringLiteral("")}}),
        // Every kind of line break, in one comment.
        contatto({{Campo::Cognome, QStringLiteral("Righe")}, {Campo::Commenti, QStringLiteral("a\nb\rc\r\nd\n")}}),
        // No surname: an address is no name; spaces at either end; an apostrophe first; no year.
        contatto({{Campo::Nome, QStringLiteral(" Anna ")},
                  {Campo::Email, QStringLiteral("  sola@indirizzo.it ")},
                  {Campo::Telefono, QStringLiteral(" 02 1 ")},
                  {Campo::TipoRef, QStringLiteral("'- elenco")},
                  {Campo::DataNasc, QDate(kAnnoIgnoto, 2, 3)}}),
        contatto({{Campo::Email, QStringLiteral("nessuno@indirizzo.it")}}),
    };
    QByteArray file;
    const StileCsv stile = formato == 2 ? StileCsv::Italiano : StileCsv::Rfc4180;
    if (formato >= 2) file = intestazioneCsv(stile);
    for (const Contatto& c : contatti)
        file += formato == 0   ? schedaVCard(c, VersioneVCard::V4)
                : formato == 1 ? schedaVCard(c, VersioneVCard::V3)
                               : rigaCsv(c, stile);
    if (formato < 2)
        for (const QByteArray& riga : file.split('\n')) QVERIFY2(riga.size() <= 76, riga.constData());  // 75 + CR

    const Lettura lettura = leggi(file);
    QCOMPARE(lettura.voci.size(), contatti.size());
    QVERIFY(lettura.ignorate.isEmpty());
    for (size_t i = 0; i < contatti.size(); ++i) {
        QCOMPARE(lettura.voci[i].errore, QString());
        confrontaCampi(lettura.voci[i].contatto, contatti[i]);
    }
    if (formato < 2) {  // the identity rides in vCard
        Contatto conUid = contatti[0];
        conUid.uid = QStringLiteral("urn:uuid:6ba7b810-9dad-11d1-80b4-00c04fd430c8");
        QCOMPARE(leggiVCard(schedaVCard(conUid, formato == 0 ? VersioneVCard::V4 : VersioneVCard::V3)).voci[0].contatto.uid,
                 conUid.uid);
    }
}

void TestFormati::textIsWrittenInUtf8AsQtWritesIt()
{
    // One to four bytes a character, and surrogates alone (no file holds one) wherever they
    // fall: in the middle, at the end, before a quote, the wrong way round, one too many.
    const char16_t casi[][6] = {{u'a', 0xE8, 0x20AC, 0xD83D, 0xDE00, 0},
                                {u'a', 0xD800, u'"', 0},
                                {u'x', 0xD800, 0},
                                {0xDC00, u'x', 0},
                                {0xDE00, 0xD83D, 0},
                                {0xD83D, 0xD83D, 0xDE00, 0}};
    for (const char16_t* caso : casi) {
        const QString testo = QStringView(caso).toString();
        Contatto c;
        c[Campo::Cognome] = testo;
        const QByteArray riga = rigaCsv(c, StileCsv::Rfc4180);
        QCOMPARE(riga.left(riga.indexOf(',')), '"' + QString(testo).replace(u'"', QStringLiteral("\"\"")).toUtf8() + '"');
        c[Campo::Commenti] = testo + u'\\';
        QVERIFY(schedaVCard(c, VersioneVCard::V4).contains("\r\nNOTE:" + testo.toUtf8() + "\\\\\r\n"));
    }
}

void TestFormati::csvEncodingsSeparatorsAndDateOrderAreDetected()
{
    const QString testo =
        QStringLiteral("Cognome\tNome\tData Nasc.\tNote\r\nÈrcoli\tZoè\t12/25/1980\t'=1+1\r\nRossi\tMario\t3/4/1990\t'Ciao\r\n");
    QByteArray utf16 = QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(testo.utf16()), testo.size() * 2);
    const FormatoCsv formato = rilevaFormatoCsv(utf16);
    QCOMPARE(formato.codifica, Codifica::Utf16LE);
    QCOMPARE(formato.separatore, QChar(u'\t'));
    const Lettura lettura = leggi(utf16);
    QCOMPARE(lettura.voci[0].contatto.nomeCompleto(), QStringLiteral("Èrcoli Zoè"));
    // One value that cannot be day first makes the whole column month first.
    QCOMPARE(lettura.voci[0].contatto[Campo::DataNasc].toDate(), QDate(1980, 12, 25));
    QCOMPARE(lettura.voci[1].contatto[Campo::DataNasc].toDate(), QDate(1990, 3, 4));
    // Brenzola puts an apostrophe before a formula only in its ';' files: in a tab file
    // every apostrophe is the person's.
    QCOMPARE(lettura.voci[0].contatto.testo(Campo::Commenti), QStringLiteral("'=1+1"));
    QCOMPARE(lettura.voci[1].contatto.testo(Campo::Commenti), QStringLiteral("'Ciao"));

    const QByteArray outlook = dati("outlook.csv");
    QCOMPARE(rilevaFormatoCsv(outlook).codifica, Codifica::Windows1252);
    QCOMPARE(rilevaFormatoCsv(outlook).separatore, QChar(u','));
    QCOMPARE(rilevaFormatoCsv(intestazioneCsv(StileCsv::Italiano)).codifica, Codifica::Utf8);
    QCOMPARE(rilevaFormatoCsv(intestazioneCsv(StileCsv::Italiano)).separatore, QChar(u';'));
}

void TestFormati::duplicatesAreTheSamePersonAndMergeLosesNothing()
{
    IndiceDoppioni indice;
    indice.aggiungi(1, contatto({{Campo::Cognome, QStringLiteral("Rossi")},
                                 {Campo::Nome, QStringLiteral("Mario")},
                                 {Campo::Telefono, QStringLiteral("02 8645123")},
                                 {Campo::Email, QStringLiteral("mario@x.it")}}));
    indice.aggiungi(2, contatto({{Campo::Cognome, QStringLiteral("Bianchi")}, {Campo::Email, QStringLiteral("luca@y.it")}}));
    indice.aggiungi(3, contatto({{Campo::Cognome, QStringLiteral("Èrcoli")},
                                 {Campo::Nome, QStringLiteral("Nicolò")},
                                 {Campo::Cell, QStringLiteral("+39 333 1112233")}}));
    const auto doppioni = [&](std::initializer_list<std::pair<Campo, QVariant>> valori) {
        return indice.doppioniDi(contatto(valori));
    };
    using Chiavi = std::vector<qint64>;
    QCOMPARE(doppioni({{Campo::Cognome, QStringLiteral("ROSSI")},
                       {Campo::Nome, QStringLiteral("mario")},
                       {Campo::Cell, QStringLiteral("028645123")}}),
             Chiavi{1});
    QCOMPARE(doppioni({{Campo::Cognome, QStringLiteral("Rossi")},
                       {Campo::Nome, QStringLiteral("Maria")},
                       {Campo::Telefono, QStringLiteral("02 8645123")}}),
             Chiavi{});  // a shared number, another person
    // The same address under another name may be another person: not the same one.
    QCOMPARE(doppioni({{Campo::Cognome, QStringLiteral("Verdi")}, {Campo::Email, QStringLiteral("Luca@Y.it; altro@z.it")}}),
             Chiavi{});
    QCOMPARE(doppioni({{Campo::Cognome, QStringLiteral("BIANCHI")}, {Campo::Email, QStringLiteral("Luca@Y.it; altro@z.it")}}),
             Chiavi{2});
    QCOMPARE(doppioni({{Campo::Cognome, QStringLiteral("ercoli")},
                       {Campo::Nome, QStringLiteral("NICOLO")},
                       {Campo::Telefono, QStringLiteral("0039 3331112233")}}),
             Chiavi{3});
    QCOMPARE(doppioni({{Campo::Cognome, QStringLiteral("Rossi")}, {Campo::Nome, QStringLiteral("Mario")}}), Chiavi{});

    // Groups: through name and a shared e-mail or number; a shared e-mail under a name
    // without the first name is only a possible pair.
    indice.aggiungi(4, contatto({{Campo::Cognome, QStringLiteral("Rossi")}, {Campo::Email, QStringLiteral("MARIO@x.it")}}));
    indice.aggiungi(5, contatto({{Campo::Cognome, QStringLiteral("rossi")},
                                 {Campo::Nome, QStringLiteral("Mario")},
                                 {Campo::Cell, QStringLiteral("02-8645123")}}));
    indice.aggiungi(6, contatto({{Campo::Cognome, QStringLiteral("Ercoli")},
                                 {Campo::Nome, QStringLiteral("Nicolo")},
                                 {Campo::Telefono, QStringLiteral("333 111 2233")}}));
    const Doppioni trovati = indice.gruppi();
    QCOMPARE(trovati.gruppi.size(), size_t(2));
    QCOMPARE(trovati.gruppi[0].chiavi, (Chiavi{1, 5}));
    QCOMPARE(trovati.gruppi[1].chiavi, (Chiavi{3, 6}));
    QCOMPARE(trovati.possibili.size(), size_t(1));
    QCOMPARE(trovati.possibili[0].prima, qint64(1));
    QCOMPARE(trovati.possibili[0].seconda, qint64(4));

    // Merging fills what is empty, joins the comments in the base's line breaks and keeps
    // every differing value; what says the same is not repeated.
    Contatto base = contatto({{Campo::Cognome, QStringLiteral("Rossi")},
                              {Campo::Telefono, QStringLiteral("02 8645123")},
                              {Campo::Email, QStringLiteral("mario@x.it")},
                              {Campo::Commenti, QStringLiteral("Uno\r\nDue")}});
    base.id = 1;
    const Contatto altro = contatto({{Campo::Cognome, QStringLiteral("ROSSI")},
                                     {Campo::Nome, QStringLiteral("Mario")},
                                     {Campo::Telefono, QStringLiteral("028645123")},
                                     {Campo::Email, QStringLiteral("m@z.it")},
                                     {Campo::DataNasc, QDate(1958, 3, 21)},
                                     {Campo::Commenti, QStringLiteral("Tre\nQuattro")}});
    const Contatto unito = unisci(base, altro);
    QCOMPARE(unito.id, qint64(1));
    QCOMPARE(unito.testo(Campo::Cognome), QStringLiteral("Rossi"));
    QCOMPARE(unito.testo(Campo::Nome), QStringLiteral("Mario"));
    QCOMPARE(unito.testo(Campo::Email), QStringLiteral("mario@x.it"));
    QCOMPARE(unito[Campo::DataNasc].toDate(), QDate(1958, 3, 21));
    QCOMPARE(unito.testo(Campo::Commenti), QStringLiteral("Uno\r\nDue\r\n\r\nTre\r\nQuattro\r\n\r\nEmail: m@z.it"));
    QCOMPARE(unisci(unito, altro).testo(Campo::Commenti), unito.testo(Campo::Commenti));  // merging again adds nothing
}

void TestFormati::controlCharactersAreFound_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<qsizetype>("posizione");
    QTest::newRow("vuoto") << QString() << qsizetype(-1);
    QTest::newRow("tab, a capo e ritorno") << QStringLiteral("a\tb\nc\rd\r\n") << qsizetype(-1);
    QTest::newRow("NUL in testa") << QString(QChar(0)) + QStringLiteral("abc") << qsizetype(0);
    QTest::newRow("BEL") << QStringLiteral("ab\acd") << qsizetype(2);
    QTest::newRow("FF dopo un tab") << QStringLiteral("\t\f") << qsizetype(1);
    QTest::newRow("U+001F in coda") << QStringLiteral("abc\x1F") << qsizetype(3);
    QTest::newRow("DEL") << QStringLiteral("x\x7Fy") << qsizetype(1);
    QTest::newRow("il primo di due") << QStringLiteral("a\x1B\x01") << qsizetype(1);
    QTest::newRow("spazio e tilde") << QStringLiteral(" ~") << qsizetype(-1);
    QTest::newRow("C1 e separatori Unicode") << QStringLiteral("\u0080\u0085\u00A0\u2028\u2029") << qsizetype(-1);
    QTest::newRow("dopo una coppia surrogata") << QStringLiteral("😀\v") << qsizetype(2);
}

void TestFormati::controlCharactersAreFound()
{
    QFETCH(QString, testo);
    QFETCH(qsizetype, posizione);
    QCOMPARE(primoCarattereDiControllo(testo), posizione);
}

void TestFormati::aContactNamesTheFirstFieldHoldingOne()
{
    Contatto c = contatto({{Campo::Cognome, QStringLiteral("Rossi")},
                           {Campo::Citta, QStringLiteral("For\x7Fli")},
                           {Campo::Commenti, QStringLiteral("riga\tuno\r\nriga\adue")}});
    c.uid = QStringLiteral("urn:uuid:\x01");
    std::optional<CarattereDiControllo> trovato = carattereDiControllo(c);
    QVERIFY(trovato);
    QVERIFY(trovato->campo == Campo::Citta);  // before the comments, as the form shows them
    QCOMPARE(trovato->posizione, qsizetype(3));
    QCOMPARE(trovato->motivo,
             QStringLiteral("il campo Città contiene un carattere di controllo (U+007F), che non si può conservare"));

    c[Campo::Citta] = QStringLiteral("Forlì");
    trovato = carattereDiControllo(c);
    QVERIFY(trovato && trovato->campo == Campo::Commenti);
    QCOMPARE(trovato->posizione, qsizetype(14));
    QCOMPARE(trovato->motivo,
             QStringLiteral("il campo Commenti contiene un carattere di controllo (U+0007), che non si può conservare"));

    // A date field holding text that is not a date is checked like any text.
    c[Campo::Commenti] = QStringLiteral("riga\tuno\r\nriga due");
    c[Campo::DataNasc] = QString(QChar(0)) + QStringLiteral("1/1");
    trovato = carattereDiControllo(c);
    QVERIFY(trovato && trovato->campo == Campo::DataNasc);
    QCOMPARE(trovato->motivo,
             QStringLiteral("il campo Data Nasc. contiene un carattere di controllo (U+0000), che non si può conservare"));

    c[Campo::DataNasc] = QDate(1970, 1, 1);
    trovato = carattereDiControllo(c);
    QVERIFY(trovato);
    QVERIFY(!trovato->campo);  // the uid, last
    QCOMPARE(trovato->posizione, qsizetype(9));
    QVERIFY2(trovato->motivo.startsWith(QStringLiteral("l'identità (UID) contiene un carattere di controllo (U+0001)")),
             qPrintable(trovato->motivo));

    c.uid = QStringLiteral("urn:uuid:1");
    QVERIFY(!carattereDiControllo(c));
    QVERIFY(!carattereDiControllo(Contatto{}));
}

void TestFormati::ldifKeepsControlCharactersInBase64()
{
    const QString commento = QString(QChar(0)) + QStringLiteral("a\ab\fc\td\r\ne\x1F\x7F");
    const QString nome = QStringLiteral("Anna\x1B");
    const QByteArray voce = voceLdif(contatto({{Campo::Cognome, QStringLiteral("Rossi")},
                                               {Campo::Nome, nome},
                                               {Campo::TipoRef, QStringLiteral("tab\tin mezzo")},
                                               {Campo::Commenti, commento}}));
    // No control byte but the line ends is written as it is.
    const QByteArray senzaFineRiga = QByteArray(voce).replace("\r\n", "");
    for (const char byte : senzaFineRiga)
        QVERIFY2(uchar(byte) >= 0x20 && byte != '\x7F', qPrintable(QStringLiteral("byte %1").arg(int(byte))));
    // Each value, its lines unfolded, decodes to the very text.
    QMap<QByteArray, QByteArray> valori;
    for (const QByteArray& riga : QByteArray(voce).replace("\r\n ", "").split('\n')) {
        const qsizetype duePunti = riga.indexOf("::");
        if (duePunti > 0) valori[riga.left(duePunti)] = QByteArray::fromBase64(riga.mid(duePunti + 2).trimmed());
    }
    QCOMPARE(QString::fromUtf8(valori.value("description")), commento);
    QCOMPARE(QString::fromUtf8(valori.value("givenName")), nome);
    QCOMPARE(QString::fromUtf8(valori.value("brenzolaTipoRef")), QStringLiteral("tab\tin mezzo"));
    QVERIFY(valori.contains("dn"));  // the name it is made of holds one too
}

QTEST_GUILESS_MAIN(TestFormati)
#include "tst_formati.moc"
