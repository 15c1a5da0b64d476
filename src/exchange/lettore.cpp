#include "exchange/lettore.h"

#include "exchange/csv.h"
#include "exchange/ldif.h"
#include "exchange/righefile.h"
#include "exchange/vcard.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QFile>

namespace brenzola {
namespace {

constexpr qsizetype kBlocco = qsizetype{64} * 1024;
constexpr qsizetype kRigheNominate = 10;  // lines the note names one by one
// What sniffing the format and the binary check look at, as they did on a whole file.
constexpr qint64 kInizio = qint64(1) << 20;

}  // namespace

LettoreVoci::LettoreVoci(std::unique_ptr<RigheFile> righe) : righe_(std::move(righe)) {}

LettoreVoci::~LettoreVoci() = default;

qint64 LettoreVoci::posizione() const { return righe_->posizione(); }

qint64 LettoreVoci::dimensione() const { return righe_->dimensione(); }

void LettoreVoci::lettaWindows1252(int riga)
{
    if (qsizetype(primeWindows1252_.size()) < kRigheNominate) primeWindows1252_.push_back(riga);
    ++windows1252_;
}

QStringList LettoreVoci::avvisi() const
{
    if (windows1252_ == 0) return {};
    QStringList numeri;
    for (const int riga : primeWindows1252_) numeri << QString::number(riga);
    QString elenco = numeri.join(QStringLiteral(", "));
    if (windows1252_ > kRigheNominate)
        elenco = QCoreApplication::translate("brenzola::Lettore", "%1 e altre %2").arg(elenco).arg(windows1252_ - kRigheNominate);
    return {windows1252_ == 1
                ? QCoreApplication::translate("brenzola::Lettore", "riga %1: il testo non è in UTF-8: letta come Windows-1252")
                      .arg(elenco)
                : QCoreApplication::translate("brenzola::Lettore", "righe %1: il testo non è in UTF-8: lette come Windows-1252")
                      .arg(elenco)};
}

Lettura LettoreVoci::tutte()
{
    Lettura lettura;
    while (std::optional<Voce> voce = prossima()) lettura.voci.push_back(std::move(*voce));
    lettura.ignorate = ignorate_;
    return lettura;
}

void controllaTesto(const QByteArray& inizio, bool intero)
{
    if (intero && inizio.trimmed().isEmpty())
        throw StoreError(StoreErrorNumber::FileFormat, QCoreApplication::translate("brenzola::Lettore", "Il file è vuoto."));
    if (sembraBinario(inizio))
        throw StoreError(StoreErrorNumber::FileFormat,
                         QCoreApplication::translate("brenzola::Lettore", "Il file non è un file di testo."));
}

std::unique_ptr<LettoreVoci> apriLettore(std::unique_ptr<QIODevice> dispositivo, const OpzioniCsv& csv, qsizetype blocco)
{
    const QByteArray inizio = dispositivo->peek(kInizio);
    controllaTesto(inizio, inizio.size() >= dispositivo->size());
    if (sembraVCard(inizio))
        return lettoreVCard(std::make_unique<RigheFile>(std::move(dispositivo), std::nullopt, false, blocco));
    if (sembraLdif(inizio)) return lettoreLdif(std::make_unique<RigheFile>(std::move(dispositivo), std::nullopt, false, blocco));
    const QChar separatore = csv.separatore.value_or(rilevaFormatoCsv(inizio).separatore);
    return lettoreCsv(std::make_unique<RigheFile>(std::move(dispositivo), csv.codifica, true, blocco), separatore, csv.mappa);
}

std::unique_ptr<LettoreVoci> apriLettore(const QString& file, const OpzioniCsv& csv)
{
    return apriLettore(apriFileContatti(file), csv, kBlocco);
}

std::unique_ptr<LettoreVoci> apriLettore(const QByteArray& dati, const OpzioniCsv& csv)
{
    return apriLettore(inMemoria(dati), csv, kBlocco);
}

}  // namespace brenzola
