// Writes a register's contacts to a vCard, CSV or LDIF file:
//   esporta_contatti [--formato F] [--cognome TESTO] ARCHIVIO FILE
#include "exchange/scambio.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "store/rigadicomando.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

using namespace brenzola;

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    RigaDiComando riga(QCoreApplication::translate("esporta_contatti", "[--formato F] [--cognome TESTO] ARCHIVIO FILE"),
                       QCoreApplication::translate(
                           "esporta_contatti",
                           "Scrive i contatti dell'archivio ARCHIVIO (un file, o la connessione a un server) nel file FILE,\n"
                           "nell'ordine dell'elenco.\n\n"
                           "  --formato F       vcard (vCard 4.0), vcard3 (vCard 3.0), csv (per i fogli di calcolo in\n"
                           "                    italiano: UTF-8, punto e virgola, date gg/mm/aaaa), csv-rfc (virgole,\n"
                           "                    date aaaa-mm-gg), google (CSV per Google Contatti), outlook (CSV per\n"
                           "                    Outlook) o ldif (per Thunderbird); senza, csv per un FILE .csv, ldif\n"
                           "                    per un FILE .ldif e vcard per gli altri\n"
                           "  --cognome TESTO   solo i contatti il cui cognome contiene TESTO, come la ricerca veloce\n"
                           "  -h, --help        mostra questo aiuto\n"
                           "  --version         mostra la versione\n"),
                       {{QStringLiteral("formato"), QString(), QStringLiteral("F")},
                        {QStringLiteral("cognome"), QString(), QStringLiteral("TESTO")}},
                       2);
    if (const int fine = riga.leggi(application.arguments()); fine >= 0) return fine;

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString archivio = riga.argomenti()[0];
    const QString file = riga.argomenti()[1];
    const QString estensione = QFileInfo(file).suffix().toLower();
    const QString nomeFormato = riga.parser().isSet(QStringLiteral("formato")) ? riga.parser().value(QStringLiteral("formato"))
                                : estensione == u"csv"                         ? QStringLiteral("csv")
                                : estensione == u"ldif"                        ? QStringLiteral("ldif")
                                                                               : QStringLiteral("vcard");
    const QHash<QString, FormatoScambio> formati = {
        {QStringLiteral("vcard"), FormatoScambio::VCard4},     {QStringLiteral("vcard3"), FormatoScambio::VCard3},
        {QStringLiteral("csv"), FormatoScambio::CsvItaliano},  {QStringLiteral("csv-rfc"), FormatoScambio::CsvRfc},
        {QStringLiteral("google"), FormatoScambio::CsvGoogle}, {QStringLiteral("outlook"), FormatoScambio::CsvOutlook},
        {QStringLiteral("ldif"), FormatoScambio::Ldif}};
    if (!formati.contains(nomeFormato)) {
        err << "esporta_contatti: "
            << QCoreApplication::translate("esporta_contatti",
                                           "formato sconosciuto «%1»: vcard, vcard3, csv, csv-rfc, google, outlook o ldif")
                   .arg(nomeFormato)
            << '\n';
        return 2;
    }
    const QString filtro = riga.parser().isSet(QStringLiteral("cognome"))
                               ? QStringLiteral(" where cognome like '%")
                                     + Funzioni::RaddoppiaApici(riga.parser().value(QStringLiteral("cognome")))
                                     + QStringLiteral("%' ")
                               : QStringLiteral(" ");
    try {
        Connection connection;
        connection.Open(Funzioni::StringaConnessionePer(archivio));
        const qint64 scritti = *Esporta(connection, filtro, formati.value(nomeFormato), file);
        out << QCoreApplication::translate("esporta_contatti", "Esportati %1 contatti in %2.").arg(QString::number(scritti), file)
            << '\n';
    } catch (...) {
        const StoreError error = ErroreCorrente();
        err << QCoreApplication::translate("esporta_contatti", "Errore %1: %2")
                   .arg(QString::number(error.number()), error.description())
            << '\n';
        return 1;
    }
    return 0;
}
