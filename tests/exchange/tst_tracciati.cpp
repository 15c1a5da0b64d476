// The address books' own CSV layouts and LDIF: where every value of their files lands,
// that nobody is left out over one field, and that what Brenzola writes for them reads
// back as it was.
#include "exchange/csv.h"
#include "exchange/ldif.h"
#include "exchange/lettore.h"
#include "exchange/mappacsv.h"
#include "exchange/tracciati.h"
#include "store/storeddate.h"
#include "store/storeerror.h"

#include <QFile>
#include <QTest>

using namespace brenzola;

namespace {

QByteArray dati(const char* nome)
{
    QFile file(QStringLiteral(BRENZOLA_DATI "/scambio/") + QLatin1String(nome));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Lettura leggiCsvIntero(const QByteArray& file) { return apriLettore(file)->tutte(); }

Contatto contatto(std::initializer_list<std::pair<Campo, QVariant>> valori, const QString& uid = {})
{
    Contatto c;
    c.uid = uid;
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

void confronta(const Contatto& letto, const Contatto& atteso)
{
    for (const DescrizioneCampo& d : campi())
        QVERIFY2(
            mostra(letto[d.campo]) == mostra(atteso[d.campo]),
            qPrintable(QStringLiteral("%1: %2 invece di %3").arg(d.colonna, mostra(letto[d.campo]), mostra(atteso[d.campo]))));
}

void contiene(const Contatto& c, std::initializer_list<const char*> righe)
{
    const QStringList commenti = c.testo(Campo::Commenti).split(u'\n');
    for (const char* riga : righe)
        QVERIFY2(commenti.contains(QString::fromUtf8(riga)), qPrintable(c.testo(Campo::Commenti) + u'|' + riga));
}

}  // namespace

class TestTracciati : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void outlookInEnglishAndItalian();
    void googleOldAndNewLayouts();
    void thunderbirdCsvAndItsSplitBirthday();
    void noPersonIsLeftOutOverOneField();
    void theApostropheGoesOnlyWhereBrenzolaPutsIt();
    void columnsAreNamedAndChosenByTheUser();
    void thunderbirdLdifIsRead();
    void unreadableLdifEntriesNameTheirLine();
    void layoutsAreWhatTheirProgramsRead();
    void whatIsWrittenReadsBackTheSame_data();
    void whatIsWrittenReadsBackTheSame();
};

void TestTracciati::outlookInEnglishAndItalian()
{
    // 92 header columns, 89 fields a row: short rows are read as they are.
    const Lettura en = leggiCsvIntero(dati("outlook-en.csv"));
    QCOMPARE(en.voci.size(), size_t(5));
    for (const Voce& voce : en.voci) QVERIFY2(voce.errore.isEmpty(), qPrintable(voce.errore));
    const Contatto& smith = en.voci[0].contatto;
    QCOMPARE(smith.nomeCompleto(), QStringLiteral("Smith John"));
    QCOMPARE(smith.testo(Campo::Telefono), QStringLiteral("+44 117 4960999"));  // the primary phone first
    QCOMPARE(smith.testo(Campo::Cell), QStringLiteral("+44 7700 900123"));
    QCOMPARE(smith.testo(Campo::Email), QStringLiteral("john.smith@example.co.uk"));
    QCOMPARE(smith.testo(Campo::Indirizzo), QStringLiteral("12 High Street"));
    QCOMPARE(smith.testo(Campo::Cap), QStringLiteral("BS1 4DJ"));
    QCOMPARE(smith.testo(Campo::Prov), QStringLiteral("Avon"));
    QCOMPARE(smith.testo(Campo::TipoRef), QStringLiteral("Clienti"));
    QCOMPARE(smith.testo(Campo::Fonte), QStringLiteral("Mary Jones"));
    QCOMPARE(smith[Campo::DataNasc].toDate(), QDate(1975, 3, 4));  // English Outlook: month first
    QVERIFY(smith.testo(Campo::Commenti).startsWith(QStringLiteral("Met at the fair.\r\nCall after 5pm.\n")));
    contiene(smith, {"Business Phone: +44 117 4960000", "Home Phone: +44 117 4960123", "Pager: +44 7623 456789",
                     "E-mail 2 Address: js@acme.example", "Home Country/Region: United Kingdom", "Azienda: Acme Ltd"});
    // Bookkeeping at its defaults is not kept.
    for (const char* rumore : {"Normal", "Unspecified", "False", "SMTP", "J.S.", "(john.smith@example.co.uk)", "0/0/00", "4501"})
        QVERIFY2(!smith.testo(Campo::Commenti).contains(QLatin1String(rumore)), rumore);

    const Contatto& taylor = en.voci[1].contatto;
    QVERIFY(taylor[Campo::DataNasc].isNull());  // 0/0/00: no birthday
    QCOMPARE(taylor.testo(Campo::Commenti), QString());
    QVERIFY(en.voci[1].avvisi.isEmpty());
    QCOMPARE(en.voci[2].contatto.testo(Campo::Cognome), QStringLiteral("Fiori Srl"));  // a company only
    QCOMPARE(en.voci[2].contatto.testo(Campo::Telefono), QStringLiteral("02 5550101"));
    QCOMPARE(en.voci[4].contatto[Campo::DataNasc].toDate(), QDate(1980, 12, 25));
    contiene(en.voci[4].contatto, {"User 1: VIP"});

    // Italian Outlook: ';' and Windows-1252, day-first dates.
    const Lettura it = leggiCsvIntero(dati("outlook-it.csv"));
    QCOMPARE(it.voci.size(), size_t(2));
    const Contatto& bianchi = it.voci[0].contatto;
    QCOMPARE(bianchi.testo(Campo::Nome), QStringLiteral("Giulia Maria"));
    QCOMPARE(bianchi.testo(Campo::Cognome), QStringLiteral("Bianchi"));
    QCOMPARE(bianchi.testo(Campo::Citta), QStringLiteral("Torino"));
    QCOMPARE(bianchi.testo(Campo::Telefono), QStringLiteral("011 4440001"));  // home before office
    QCOMPARE(bianchi.testo(Campo::Cell), QStringLiteral("347 0000001"));
    QCOMPARE(bianchi[Campo::DataNasc].toDate(), QDate(1982, 5, 13));
    QCOMPARE(bianchi.testo(Campo::Email), QStringLiteral("giulia@example.it"));
    contiene(bianchi, {"Preferisce essere chiamata in ufficio.", "Telefono (uff.): 011 5550001", "Fax (uff.): 011 5550002",
                       "Cercapersone: 338 0000009", "Paese (ab.): Italia", "Azienda: Studio Bianchi"});
    QVERIFY(!bianchi.testo(Campo::Commenti).contains(QStringLiteral("Normale")));
    QCOMPARE(it.voci[1].contatto.testo(Campo::Cognome), QStringLiteral("Ferramenta Rossi"));
}

void TestTracciati::googleOldAndNewLayouts()
{
    const Lettura vecchio = leggiCsvIntero(dati("google-old.csv"));
    QCOMPARE(vecchio.voci.size(), size_t(2));
    const Contatto& ferri = vecchio.voci[0].contatto;
    QCOMPARE(ferri.nomeCompleto(), QStringLiteral("Ferri Luca"));
    // A pager is never the number to call; two mobiles in one cell: the first is the mobile.
    QCOMPARE(ferri.testo(Campo::Cell), QStringLiteral("+39 347 2222222"));
    QCOMPARE(ferri.testo(Campo::Telefono), QStringLiteral("06 4444444"));
    QCOMPARE(ferri.testo(Campo::Email), QStringLiteral("luca.ferri@example.it"));
    QCOMPARE(ferri[Campo::DataNasc].toDate(), QDate(kAnnoIgnoto, 5, 17));
    QCOMPARE(ferri.testo(Campo::TipoRef), QStringLiteral("Fornitori"));
    QCOMPARE(ferri.testo(Campo::Indirizzo), QStringLiteral("Via Appia 10"));
    QCOMPARE(ferri.testo(Campo::Cap), QStringLiteral("00183"));
    QVERIFY(ferri.testo(Campo::Commenti).startsWith(QStringLiteral("Amico di Marco.\n")));
    contiene(ferri, {"Cercapersone: +39 338 1111111", "Cell. (Mobile): +39 347 3333333", "Email (Work): lf@example.org",
                     "Azienda: Ferri & Figli", "Organization 1 - Title: Titolare", "Profile: http://www.google.com/profiles/123",
                     "Address 1 - Country (Home): IT"});
    for (const char* rumore : {"myContacts", "googleusercontent", "Via Appia 10\nRoma"})
        QVERIFY2(!ferri.testo(Campo::Commenti).contains(QLatin1String(rumore)), rumore);
    const Contatto& verdi = vecchio.voci[1].contatto;
    QCOMPARE(verdi.testo(Campo::Cognome), QStringLiteral("Ditta Verdi"));
    QCOMPARE(verdi.testo(Campo::Telefono), QStringLiteral("055 888888"));
    QVERIFY(verdi[Campo::TipoRef].isNull());
    // The address written whole is kept when it is all there is.
    contiene(verdi, {"Fax (Work Fax): 055 999999", "Address 1 - Formatted (Work): Piazza Signoria 1, Firenze"});

    const Lettura nuovo = leggiCsvIntero(dati("google-new.csv"));
    QCOMPARE(nuovo.voci.size(), size_t(2));
    const Contatto& conti = nuovo.voci[0].contatto;
    QCOMPARE(conti.nomeCompleto(), QStringLiteral("Conti Sara"));
    QCOMPARE(conti.testo(Campo::Cell), QStringLiteral("+39 320 1234567"));
    QCOMPARE(conti.testo(Campo::Telefono), QStringLiteral("+39 051 765432"));
    QCOMPARE(conti.testo(Campo::Email), QStringLiteral("sara.conti@example.it"));
    QCOMPARE(conti.testo(Campo::TipoRef), QStringLiteral("Clienti"));
    QCOMPARE(conti[Campo::DataNasc].toDate(), QDate(1990, 2, 28));
    QCOMPARE(conti.testo(Campo::Citta), QStringLiteral("Bologna"));
    contiene(conti, {"Cliente dal 2019.", "Codice cliente: C-0042", "Azienda: Conti Viaggi"});
    QVERIFY(!conti.testo(Campo::Commenti).contains(QStringLiteral("Conti, Sara")));  // File As repeats the name
    QVERIFY(!conti.testo(Campo::Commenti).contains(QStringLiteral("40121 Bologna")));
    // Only a nickname: no name to stand in; the person comes in all the same.
    const Contatto& beppe = nuovo.voci[1].contatto;
    QCOMPARE(beppe.testo(Campo::Telefono), QStringLiteral("333 7654321"));
    QCOMPARE(beppe[Campo::DataNasc].toDate(), QDate(kAnnoIgnoto, 12, 3));
    contiene(beppe, {"Nickname: Beppe"});
}

void TestTracciati::thunderbirdCsvAndItsSplitBirthday()
{
    const Lettura lettura = leggiCsvIntero(dati("thunderbird.csv"));
    QCOMPARE(lettura.voci.size(), size_t(3));
    const Contatto& galli = lettura.voci[0].contatto;
    QCOMPARE(galli.nomeCompleto(), QStringLiteral("Galli Paolo"));
    QCOMPARE(galli.testo(Campo::Cell), QStringLiteral("349 1231231"));
    QCOMPARE(galli.testo(Campo::Telefono), QStringLiteral("0321 222222"));  // home before work
    QCOMPARE(galli.testo(Campo::Cap), QStringLiteral("28100"));
    QCOMPARE(galli.testo(Campo::Citta), QStringLiteral("Novara"));
    QCOMPARE(galli[Campo::DataNasc].toDate(), QDate(1971, 11, 9));
    contiene(galli, {"Socio del circolo.", "Work Phone: 0321 111111", "Secondary Email: pg@example.net", "Custom 1: tessera 77",
                     "Azienda: Galli Trasporti"});
    QVERIFY(!galli.testo(Campo::Commenti).contains(QStringLiteral("Display Name")));
    // Only a display name: it is the name. Month and day only: a birthday without a year.
    const Contatto& neri = lettura.voci[1].contatto;
    QCOMPARE(neri.testo(Campo::Cognome), QStringLiteral("Dott. Neri (dentista)"));
    QCOMPARE(neri[Campo::DataNasc].toDate(), QDate(kAnnoIgnoto, 4, 30));
    // 30 February is no date: kept in the comments, the person imported, the user told.
    const Voce& sala = lettura.voci[2];
    QVERIFY(sala.errore.isEmpty());
    QVERIFY(sala.contatto[Campo::DataNasc].isNull());
    contiene(sala.contatto, {"Birth Year: 1988", "Birth Month: 2", "Birth Day: 30"});
    QCOMPARE(sala.avvisi,
             QStringList{QStringLiteral(
                 "riga 4: «1988/2/30» nella colonna «Birth Year, Birth Month, Birth Day» non è una data: è nei commenti")});
}

void TestTracciati::noPersonIsLeftOutOverOneField()
{
    const Lettura outlook = leggiCsvIntero(dati("outlook-en.csv"));
    const Voce& timer = outlook.voci[3];
    QVERIFY(timer.errore.isEmpty());
    QCOMPARE(timer.contatto.nomeCompleto(), QStringLiteral("Timer Old"));
    contiene(timer.contatto, {"born long ago", "Birthday: circa 1800", "Hobby: Chess"});
    QCOMPARE(timer.avvisi,
             QStringList{QStringLiteral("riga 6: «circa 1800» nella colonna «Birthday» non è una data: è nei commenti")});

    // Rows shorter or longer than the header, empty-date marks, a birthday without a year.
    const QByteArray csv =
        "Cognome,Nome,Data Nasc.,Data\r\n"
        "Rossi,Mario\r\n"
        "Verdi,Anna,--0517,0000-00-00,,extra,,\r\n"
        "Neri,,00/00/0000,31/02/2020\r\n"
        ",,,\r\n"
        "\"\",\"\",,\r\n";
    const Lettura lettura = leggiCsvIntero(csv);
    QCOMPARE(lettura.voci.size(), size_t(4));  // the row of nothing is no one
    QCOMPARE(lettura.voci[0].contatto.nomeCompleto(), QStringLiteral("Rossi Mario"));
    QVERIFY(lettura.voci[0].contatto[Campo::DataNasc].isNull());
    const Voce& verdi = lettura.voci[1];
    QCOMPARE(verdi.contatto[Campo::DataNasc].toDate(), QDate(kAnnoIgnoto, 5, 17));
    QVERIFY(verdi.contatto[Campo::DataIn].isNull());
    QCOMPARE(verdi.contatto.testo(Campo::Commenti), QStringLiteral("Colonna 6: extra"));
    QCOMPARE(verdi.avvisi, QStringList{QStringLiteral("riga 3: 8 campi invece di 4: quelli in più sono nei commenti")});
    const Voce& neri = lettura.voci[2];
    QVERIFY(neri.contatto[Campo::DataNasc].isNull());
    QCOMPARE(neri.contatto.testo(Campo::Commenti), QStringLiteral("Data: 31/02/2020"));
    QCOMPARE(neri.avvisi.size(), 1);
    QCOMPARE(lettura.voci[3].errore, QStringLiteral("riga 6: la riga non contiene dati"));

    // Slashed dates: the column's order, and the only order that makes a date.
    const QByteArray date = "Cognome;Data Nasc.\r\nA;5/4/1990\r\nB;4/13/1991\r\n";
    const TabellaCsv tabella = leggiCsv(date, rilevaFormatoCsv(date));
    MappaCsv mappa(tabella.intestazioni, true);
    QCOMPARE(mappa.voce(2, tabella.righe[0].campi).contatto[Campo::DataNasc].toDate(),
             QDate(1990, 4, 5));  // day first unless told
    QCOMPARE(mappa.voce(3, tabella.righe[1].campi).contatto[Campo::DataNasc].toDate(), QDate(1991, 4, 13));
    for (const RigaCsv& riga : tabella.righe) mappa.osserva(riga.campi);
    QCOMPARE(mappa.voce(2, tabella.righe[0].campi).contatto[Campo::DataNasc].toDate(), QDate(1990, 5, 4));
}

void TestTracciati::theApostropheGoesOnlyWhereBrenzolaPutsIt()
{
    const Contatto c = contatto({{Campo::Cognome, QStringLiteral("'- elenco")},
                                 {Campo::Nome, QStringLiteral("'ciao")},
                                 {Campo::TipoRef, QStringLiteral("=1+1")},
                                 {Campo::Fonte, QStringLiteral("''doppio")}});
    const QByteArray italiano = intestazioneCsv(StileCsv::Italiano) + rigaCsv(c, StileCsv::Italiano);
    QVERIFY(italiano.contains("\"''- elenco\";\"''ciao\";"));
    confronta(leggiCsvIntero(italiano).voci[0].contatto, c);
    const QByteArray rfc = intestazioneCsv(StileCsv::Rfc4180) + rigaCsv(c, StileCsv::Rfc4180);
    confronta(leggiCsvIntero(rfc).voci[0].contatto, c);
    // A comma file never had one added: every apostrophe is the person's.
    const Lettura virgole = leggiCsvIntero("Cognome,Nome\r\n'- elenco,'=1\r\n");
    QCOMPARE(virgole.voci[0].contatto.testo(Campo::Cognome), QStringLiteral("'- elenco"));
    QCOMPARE(virgole.voci[0].contatto.testo(Campo::Nome), QStringLiteral("'=1"));
    // In a ';' file, an apostrophe before plain text is the person's too.
    QCOMPARE(leggiCsvIntero("Cognome;Nome\r\n'Ciao;'=1\r\n").voci[0].contatto.testo(Campo::Cognome), QStringLiteral("'Ciao"));
    QCOMPARE(leggiCsvIntero("Cognome;Nome\r\n'Ciao;'=1\r\n").voci[0].contatto.testo(Campo::Nome), QStringLiteral("=1"));
    // Spaces inside values are the person's as well.
    QCOMPARE(leggiCsvIntero("Cognome,Nome\r\n  Rossi ,\" Mario  \"\r\n").voci[0].contatto.nomeCompleto(),
             QStringLiteral("  Rossi   Mario  "));
}

void TestTracciati::columnsAreNamedAndChosenByTheUser()
{
    QCOMPARE(campoDaNome(QStringLiteral("Cell")), std::optional<Campo>(Campo::Cell));
    QCOMPARE(campoDaNome(QStringLiteral("cellulare")), std::optional<Campo>(Campo::Cell));
    QCOMPARE(campoDaNome(QStringLiteral("Data Nasc.")), std::optional<Campo>(Campo::DataNasc));
    QCOMPARE(campoDaNome(QStringLiteral("DataRicont")), std::optional<Campo>(Campo::DataRicont));
    QCOMPARE(campoDaNome(QStringLiteral("Città")), std::optional<Campo>(Campo::Citta));
    QCOMPARE(campoDaNome(QStringLiteral("Nessuno")), std::nullopt);

    const QStringList intestazioni = {"Phone 1 - Type", "Phone 1 - Value", "Birth Year", "Display Name", "Labels", "Paese"};
    MappaCsv mappa(intestazioni, false);
    QCOMPARE(mappa.colonne(), qsizetype(6));
    QCOMPARE(mappa.campo(0), std::nullopt);
    QCOMPARE(mappa.campo(1), std::optional<Campo>(Campo::Telefono));
    QCOMPARE(mappa.campo(2), std::optional<Campo>(Campo::DataNasc));
    QCOMPARE(mappa.campo(3), std::optional<Campo>(Campo::Cognome));
    QCOMPARE(mappa.campo(4), std::optional<Campo>(Campo::TipoRef));
    QCOMPARE(mappa.campo(5), std::nullopt);
    const QStringList riga = {"Mobile", "333 1", "1970", "Rossi", "Clienti", "Italia"};
    QCOMPARE(mappa.voce(2, riga).contatto.testo(Campo::Cell), QStringLiteral("333 1"));
    QCOMPARE(mappa.voce(2, riga).contatto.testo(Campo::Commenti), QStringLiteral("Paese: Italia\nBirth Year: 1970"));
    mappa.assegna(5, Campo::Fonte);
    mappa.assegna(1, std::nullopt);
    QCOMPARE(mappa.campo(5), std::optional<Campo>(Campo::Fonte));
    const Contatto scelto = mappa.voce(2, riga).contatto;
    QCOMPARE(scelto.testo(Campo::Fonte), QStringLiteral("Italia"));
    QVERIFY(scelto[Campo::Cell].isNull());
    QVERIFY(scelto.testo(Campo::Commenti).contains(QStringLiteral("Mobile: 333 1")));  // kept, under its type
}

void TestTracciati::thunderbirdLdifIsRead()
{
    const QByteArray file = dati("thunderbird.ldif");
    QVERIFY(sembraLdif(file));
    QVERIFY(sembraLdif("version: 1\n\ndn: cn=a\n"));
    QVERIFY(!sembraLdif("Cognome,Nome\r\n"));
    QVERIFY(!sembraLdif("BEGIN:VCARD\r\n"));
    const Lettura lettura = leggiLdif(file);
    QCOMPARE(lettura.voci.size(), size_t(5));
    const Contatto& fabbri = lettura.voci[0].contatto;
    QCOMPARE(lettura.voci[0].riga, 2);
    QCOMPARE(fabbri.nomeCompleto(), QStringLiteral("Fabbri Nicolò"));
    QCOMPARE(fabbri.testo(Campo::Email), QStringLiteral("nicolo@example.it"));
    QCOMPARE(fabbri.testo(Campo::Telefono), QStringLiteral("0532 300400"));
    QCOMPARE(fabbri.testo(Campo::Cell), QStringLiteral("340 5006007"));
    QCOMPARE(fabbri.testo(Campo::Indirizzo), QStringLiteral("Via Cortevecchia 8, 2° piano"));
    QCOMPARE(fabbri.testo(Campo::Citta), QStringLiteral("Ferrara"));
    QCOMPARE(fabbri.testo(Campo::Cap), QStringLiteral("44121"));
    QCOMPARE(fabbri[Campo::DataNasc].toDate(), QDate(1966, 7, 4));
    QVERIFY(fabbri.testo(Campo::Commenti)
                .startsWith(QStringLiteral("Prima riga della nota, abbastanza lunga da essere piegata su più righe dal "
                                           "programma che la scrive.\nSeconda riga: perché no?\n")));
    contiene(fabbri, {"mozillaNickname: Nico", "mozillaSecondEmail: nf@example.org", "telephoneNumber: 0532 100200",
                      "Cercapersone: 338 9990000", "Fax: 0532 100201", "street: Viale Cavour 50", "custom1: scaffale B",
                      "Azienda: Fabbri Arredamenti"});
    for (const char* contabile : {"objectclass", "modifytimestamp", "dn:", "cn="})
        QVERIFY2(!fabbri.testo(Campo::Commenti).contains(QLatin1String(contabile)), contabile);
    QCOMPARE(lettura.voci[1].contatto[Campo::DataNasc].toDate(), QDate(kAnnoIgnoto, 2, 29));
    // No name but the company's: it stands in for the surname (the dn is bookkeeping).
    QCOMPARE(lettura.voci[4].contatto.testo(Campo::Cognome), QStringLiteral("Tipografia Moderna"));
    QCOMPARE(lettura.voci[4].contatto.testo(Campo::Telefono), QStringLiteral("0544 123123"));
    QCOMPARE(lettura.voci[4].contatto.testo(Campo::Commenti), QString());
}

void TestTracciati::unreadableLdifEntriesNameTheirLine()
{
    const Lettura lettura = leggiLdif(dati("thunderbird.ldif"));
    QCOMPARE(lettura.illeggibili(), 2);
    QCOMPARE(lettura.voci[2].errore, QStringLiteral("riga 47: il valore di «cn» non è base64 valido"));
    QCOMPARE(lettura.voci[3].errore, QStringLiteral("riga 50: la riga non è nella forma «attributo: valore»"));
    QCOMPARE(leggiLdif("dn: cn=x\nobjectclass: top\n").voci[0].errore, QStringLiteral("riga 1: la voce non contiene dati"));
    // A value to fetch from elsewhere is not fetched: its address is kept.
    const Voce url = leggiVoceLdif({{7, "dn: cn=Foto"}, {8, "cn: Foto"}, {9, "jpegPhoto:< file:///etc/passwd"}});
    QCOMPARE(url.contatto.testo(Campo::Commenti), QStringLiteral("jpegPhoto (URL): file:///etc/passwd"));
    QVERIFY_THROWS_EXCEPTION(StoreError, leggiLdif("# solo un commento\n\n"));
    QVERIFY_THROWS_EXCEPTION(StoreError, leggiLdif(" \n"));
}

void TestTracciati::layoutsAreWhatTheirProgramsRead()
{
    const Contatto c = contatto({{Campo::Cognome, QStringLiteral("Rossi")},
                                 {Campo::Nome, QStringLiteral("Mario")},
                                 {Campo::DataNasc, QDate(1975, 3, 4)},
                                 {Campo::DataIn, QDate(2003, 11, 25)},
                                 {Campo::Cell, QStringLiteral("333 1")}});
    const QByteArray outlook = intestazioneTracciato(Tracciato::Outlook) + rigaTracciato(c, Tracciato::Outlook);
    QVERIFY(outlook.startsWith("\xEF\xBB\xBF\"First Name\",\"Last Name\",\"Home Street\""));
    QVERIFY(outlook.contains(",\"3/4/1975\","));
    QVERIFY(outlook.contains(",\"11/25/2003\","));
    const QByteArray google = intestazioneTracciato(Tracciato::Google) + rigaTracciato(c, Tracciato::Google);
    QVERIFY(google.startsWith("\"First Name\",\"Last Name\",\"Birthday\""));
    QVERIFY(google.contains("\"1975-03-04\""));
    QVERIFY(google.contains("\"Mobile\",\"333 1\""));
    QVERIFY(google.contains("\"Data\",\"2003-11-25\""));
    Contatto senzaAnno = c;
    senzaAnno[Campo::DataNasc] = QDate(kAnnoIgnoto, 5, 17);
    QVERIFY(rigaTracciato(senzaAnno, Tracciato::Google).contains("\"--05-17\""));
    const QByteArray ldif = voceLdif(senzaAnno);
    QVERIFY(ldif.startsWith("dn: cn=Mario Rossi\r\nobjectclass: top\r\n"));
    QVERIFY(ldif.contains("objectclass: mozillaAbPersonAlpha\r\n"));
    QVERIFY(ldif.contains("birthmonth: 5\r\nbirthday: 17\r\n"));
    QVERIFY(!ldif.contains("birthyear"));
    QVERIFY(ldif.endsWith("\r\n\r\n"));
    Contatto riservato = c;
    riservato[Campo::Nome] = QStringLiteral("Anna, detta \"Nanni\"");
    riservato[Campo::Email] = QStringLiteral("anna@x.it");
    QVERIFY(voceLdif(riservato).startsWith("dn: cn=Anna\\, detta \\\"Nanni\\\" Rossi,mail=anna@x.it\r\n"));
    // Outlook's own header is one the import reads as Outlook's, not as Brenzola's layout.
    const QByteArray vero = dati("outlook-en.csv");
    QCOMPARE(leggiCsvIntero(vero).voci[4].contatto.uid, QString());
}

void TestTracciati::whatIsWrittenReadsBackTheSame_data()
{
    QTest::addColumn<int>("formato");
    QTest::newRow("Google") << 0;
    QTest::newRow("Outlook") << 1;
    QTest::newRow("LDIF") << 2;
    QTest::newRow("CSV italiano") << 3;
    QTest::newRow("CSV RFC 4180") << 4;
}

void TestTracciati::whatIsWrittenReadsBackTheSame()
{
    QFETCH(int, formato);
    const QString lunga = QStringLiteral("Via dell'Indipendenza, 12; scala B \\ interno 4 – ") + QString(300, QChar(u'è'));
    const std::vector<Contatto> contatti = {
        contatto({{Campo::Cognome, QStringLiteral("D'Angelo")},
                  {Campo::Nome, QStringLiteral("  Nicolò 😀 ")},
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
                  {Campo::Fonte, QStringLiteral("\"Fiera\"\tdi maggio ")},
                  {Campo::DataRicont, QDate(1900, 1, 1)},
                  {Campo::Commenti, QStringLiteral("Prima riga\r\nseconda; con virgole, e \\n finti\r\n\r\nfine €")}},
                 QStringLiteral("urn:uuid:1b4e28ba-2fa1-11d2-883f-0016d3cca427")),
        // Empty text and Null apart; apostrophes; a birthday without a year.
        contatto({{Campo::Cognome, QStringLiteral("'- elenco")},
                  {Campo::Nome, QStringLiteral("")},
                  {Campo::Cap, QStringLiteral("")},
                  {Campo::Telefono, QStringLiteral("")},
                  {Campo::TipoRef, QStringLiteral("")},
                  {Campo::Commenti, QStringLiteral("'ciao")},
                  {Campo::DataNasc, QDate(kAnnoIgnoto, 12, 31)}}),
        // Every kind of line break, in one comment; no name at all.
        contatto({{Campo::Email, QStringLiteral("solo@posta.it")}, {Campo::Commenti, QStringLiteral("a\nb\rc\r\nd\n")}},
                 QStringLiteral("42")),
    };
    QByteArray file;
    const bool csvProprio = formato >= 3;
    const StileCsv stile = formato == 3 ? StileCsv::Italiano : StileCsv::Rfc4180;
    if (formato == 0) file = intestazioneTracciato(Tracciato::Google);
    if (formato == 1) file = intestazioneTracciato(Tracciato::Outlook);
    if (csvProprio) file = intestazioneCsv(stile);
    for (const Contatto& c : contatti)
        file += formato == 0   ? rigaTracciato(c, Tracciato::Google)
                : formato == 1 ? rigaTracciato(c, Tracciato::Outlook)
                : formato == 2 ? voceLdif(c)
                               : rigaCsv(c, stile);
    if (formato == 2)
        for (const QByteArray& riga : file.split('\n')) QVERIFY2(riga.size() <= 77, riga.constData());  // 76 + CR

    const Lettura lettura = formato == 2 ? leggiLdif(file) : leggiCsvIntero(file);
    QCOMPARE(lettura.voci.size(), contatti.size());
    for (size_t i = 0; i < contatti.size(); ++i) {
        QCOMPARE(lettura.voci[i].errore, QString());
        QCOMPARE(lettura.voci[i].avvisi, QStringList());
        confronta(lettura.voci[i].contatto, contatti[i]);
        if (!csvProprio) QCOMPARE(lettura.voci[i].contatto.uid, contatti[i].uid);
    }
}

QTEST_GUILESS_MAIN(TestTracciati)
#include "tst_tracciati.moc"
