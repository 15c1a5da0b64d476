#include "store/transito.h"

#include "store/connection.h"
#include "store/recordset.h"
#include "store/sqlerror.h"
#include "store/storeddate.h"

#include <QSqlQuery>

#include <algorithm>

namespace brenzola {
namespace {

constexpr char kContatti[] = "brenzola_transito";
constexpr char kChiavi[] = "brenzola_chiavi";
constexpr size_t kInAttesa = 256;  // keys written together

qint64 hash(const QString& chiave)
{
    constexpr size_t kSeme = 0x6272656e7a6f6c61;  // fixed, so that a key hashes alike all through an import
    return qint64(qHash(chiave, kSeme));
}

void aggiungiUnico(std::vector<qint64>& chi, qint64 uno)
{
    if (std::find(chi.begin(), chi.end(), uno) == chi.end()) chi.push_back(uno);
}

}  // namespace

Transito::Transito(Connection& connection, const QStringList& colonne) : connection_(connection), colonne_(colonne)
{
    const bool server = connection.engine() == Engine::PostgreSQL;
    const TableSchema& anagrafica = connection.schema(QStringLiteral("Anagrafica"));
    // On a file the key is the row's own number.
    const QString chiave = server ? QStringLiteral("bigint PRIMARY KEY") : QStringLiteral("integer PRIMARY KEY");
    QStringList definizioni{QStringLiteral("n ") + chiave};
    for (const QString& colonna : colonne) {
        // The register's own types, so that a value moves over exactly as an insert would store it.
        const bool data = anagrafica.isDate(colonna);
        definizioni << colonna + u' ' + (data ? QStringLiteral("date") : QStringLiteral("text"));
    }
    const QSqlDatabase db = connection.database();
    // Nothing here outlives the connection: a rollback journal on disk for every statement would only cost.
    if (!server) runStatement(db, QStringLiteral("PRAGMA temp.journal_mode = MEMORY"));
    if (!server) runStatement(db, QStringLiteral("PRAGMA temp.cache_size = -16384"));
    for (const char* tabella : {kContatti, kChiavi})
        runStatement(db, QStringLiteral("DROP TABLE IF EXISTS %1%2")
                             .arg(server ? QString() : QStringLiteral("temp."), QLatin1String(tabella)));
    runStatement(db, QStringLiteral("CREATE TEMP TABLE %1 (%2)").arg(QLatin1String(kContatti), definizioni.join(u',')));
    // Keys are kept as 64-bit hashes, small to write and to compare; a collision only brings
    // one more candidate to be judged. Filed in key order, so that who is under a key is one
    // range of one tree.
    runStatement(db, QStringLiteral("CREATE TEMP TABLE %1 (chiave bigint NOT NULL, ordine bigint NOT NULL, chi bigint "
                                    "NOT NULL, PRIMARY KEY (chiave, ordine))%2")
                         .arg(QLatin1String(kChiavi), server ? QString() : QStringLiteral(" WITHOUT ROWID")));
    // Nobody else sees these tables: nothing to tell the other desks.
    contatti_ = std::make_unique<BulkInsert>(&connection, QLatin1String(kContatti), QStringList{QStringLiteral("n")} + colonne,
                                             BulkInsert::Announce::No);
    chiavi_ = std::make_unique<BulkInsert>(&connection, QLatin1String(kChiavi),
                                           QStringList{QStringLiteral("ordine"), QStringLiteral("chiave"), QStringLiteral("chi")},
                                           BulkInsert::Announce::No);
}

Transito::~Transito()
{
    contatti_.reset();
    chiavi_.reset();
    try {
        // Dropping a table journals every page it frees, and the journal is in memory: none for this.
        if (connection_.engine() == Engine::SQLite)
            runStatement(connection_.database(), QStringLiteral("PRAGMA temp.journal_mode = OFF"));
        for (const char* tabella : {kContatti, kChiavi})
            runStatement(connection_.database(), QStringLiteral("DROP TABLE IF EXISTS %1").arg(QLatin1String(tabella)));
    } catch (const StoreError&) {
        // Temporary tables end with the connection anyway.
    }
}

qint64 Transito::aggiungi(const QVariantList& valori)
{
    contattiInAttesa_.push_back(valori);
    const qint64 numero = ++aggiunti_;  // counted before writing: scrivi() numbers the ones waiting from it
    if (contattiInAttesa_.size() >= kInAttesa) scrivi();
    return numero;
}

QVariantList* Transito::inAttesa(qint64 numero)
{
    const qint64 primo = aggiunti_ - qint64(contattiInAttesa_.size()) + 1;
    return numero >= primo && numero <= aggiunti_ ? &contattiInAttesa_[size_t(numero - primo)] : nullptr;
}

void Transito::scrivi()
{
    qint64 numero = aggiunti_ - qint64(contattiInAttesa_.size());
    for (const QVariantList& valori : contattiInAttesa_) contatti_->Add(QVariantList{++numero} + valori);
    if (!contattiInAttesa_.empty()) contatti_->Flush();
    contattiInAttesa_.clear();
    if (nonScritte_ > 0) chiavi_->Flush();
    nonScritte_ = 0;
}

void Transito::sostituisci(qint64 numero, const QVariantList& valori)
{
    // The latest contacts are still in memory: a merge into one read just before costs nothing.
    if (QVariantList* qui = inAttesa(numero)) {
        *qui = valori;
        return;
    }
    const TableSchema& schema = connection_.schema(QLatin1String(kContatti));
    QStringList assegnati;
    QVariantList memorizzati;
    for (qsizetype i = 0; i < colonne_.size(); ++i) {
        assegnati << colonne_[i] + QStringLiteral(" = ?");
        memorizzati << storedValue(valori.value(i), schema.isDate(colonne_[i]), colonne_[i]);
    }
    connection_
        .runPrepared(QStringLiteral("UPDATE %1 SET %2 WHERE n = ?").arg(QLatin1String(kContatti), assegnati.join(u',')),
                     memorizzati + QVariantList{numero})
        .finish();
}

QVariantList Transito::leggi(qint64 numero)
{
    if (const QVariantList* qui = inAttesa(numero)) return *qui;
    const TableSchema& schema = connection_.schema(QLatin1String(kContatti));
    QSqlQuery& riga = connection_.runPrepared(
        QStringLiteral("SELECT %1 FROM %2 WHERE n = ?").arg(colonne_.join(u','), QLatin1String(kContatti)), {numero});
    QVariantList valori;
    if (nextRow(riga))
        for (qsizetype i = 0; i < colonne_.size(); ++i) {
            QVariant valore = riga.value(int(i));
            if (valore.isNull())
                valore = QVariant();
            else if (schema.isDate(colonne_[i]) && valore.typeId() == QMetaType::QString)
                valore = dateFromStoredText(valore.toString());
            valori << valore;
        }
    riga.finish();
    return valori;
}

void Transito::indicizza(qint64 chi, const QStringList& chiavi)
{
    for (const QString& chiave : chiavi) {
        const qint64 h = hash(chiave);
        chiavi_->Add({++ordine_, h, chi});
        ++nonScritte_;
        if (preparato_) nuovi_[h].emplace_back(ordine_, chi);
    }
    if (nonScritte_ >= kInAttesa) {
        chiavi_->Flush();
        nonScritte_ = 0;
    }
}

namespace {

// Who, in the order filed.
std::vector<qint64> inOrdine(std::vector<std::pair<qint64, qint64>>& ordineChi)
{
    std::sort(ordineChi.begin(), ordineChi.end());
    std::vector<qint64> chi;
    for (const auto& [ordine, uno] : ordineChi) aggiungiUnico(chi, uno);
    return chi;
}

}  // namespace

void Transito::prepara(const QStringList& chiavi)
{
    // A fixed number of places, so that the statement is prepared once; Null matches nothing.
    constexpr qsizetype kPosti = 1024;
    if (nonScritte_ > 0) chiavi_->Flush();
    nonScritte_ = 0;
    preparati_.clear();
    nuovi_.clear();
    preparato_ = true;
    QStringList posti;
    for (qsizetype i = 0; i < kPosti; ++i) posti << QStringLiteral("?");
    const QString sql =
        QStringLiteral("SELECT chiave, ordine, chi FROM %1 WHERE chiave IN (%2)").arg(QLatin1String(kChiavi), posti.join(u','));
    for (qsizetype da = 0; da < chiavi.size(); da += kPosti) {
        QVariantList valori;
        for (qsizetype i = da; i < da + kPosti; ++i) {
            if (i >= chiavi.size()) {
                valori << QVariant();
                continue;
            }
            const qint64 h = hash(chiavi[i]);
            if (!preparati_.contains(h)) preparati_.insert(h, {});
            valori << h;
        }
        connection_.readPrepared(sql, valori, [this](const RowView& riga) {
            preparati_[riga.integer(0)].emplace_back(riga.integer(1), riga.integer(2));
        });
    }
}

std::vector<qint64> Transito::delRegistro(int limite) const
{
    std::vector<qint64> chi;
    for (const Filati& filati : preparati_)
        if (filati.size() <= size_t(limite))
            for (const auto& [ordine, uno] : filati)
                if (uno > 0) aggiungiUnico(chi, uno);
    return chi;
}

std::vector<qint64> Transito::cerca(const QString& chiave, int limite) const
{
    Filati trovati = preparati_.value(hash(chiave));
    const Filati nuovi = nuovi_.value(hash(chiave));
    trovati.insert(trovati.end(), nuovi.begin(), nuovi.end());
    std::vector<qint64> chi = inOrdine(trovati);
    if (limite >= 0 && chi.size() > size_t(limite)) chi.resize(size_t(limite));
    return chi;
}

std::vector<qint64> Transito::cercaEntrambe(const QString& chiave, const QString& altra) const
{
    const auto sotto = [](const Filati& filati, qint64 uno) {
        return std::any_of(filati.begin(), filati.end(), [uno](const auto& f) { return f.second == uno; });
    };
    // From the name, which few share, to the crowded key.
    std::vector<qint64> chi;
    const qint64 h = hash(chiave);
    for (qint64 uno : cerca(altra))
        if (sotto(preparati_.value(h), uno) || sotto(nuovi_.value(h), uno)) chi.push_back(uno);
    return chi;
}

qint64 Transito::trasferisci()
{
    scrivi();
    const QString colonne = colonne_.join(u',');
    connection_
        .runPrepared(
            QStringLiteral("INSERT INTO Anagrafica (%1) SELECT %1 FROM %2 ORDER BY n").arg(colonne, QLatin1String(kContatti)))
        .finish();
    return aggiunti_;
}

}  // namespace brenzola
