#include "exchange/csv.h"

#include "exchange/mappacsv.h"
#include "exchange/righefile.h"
#include "store/storeerror.h"

#include <QCoreApplication>

#include <algorithm>
#include <deque>

namespace brenzola {
namespace {

// Appends a text quoted, its quotes doubled, after an apostrophe when `apostrofo`.
void aggiungiTesto(QByteArray& out, QStringView testo, bool apostrofo)
{
    const qsizetype inizio = out.size();
    out.resize(inizio + 3 * testo.size() + 3);  // the most a UTF-16 unit can become, and the quotes
    char* p = out.data() + inizio;
    *p++ = '"';
    if (apostrofo) *p++ = '\'';
    for (qsizetype i = 0; i < testo.size();) {
        const char16_t c = testo[i].unicode();
        if (c >= 0x80) {
            p = utf8(p, testo, i);
            continue;
        }
        if (c == u'"') *p++ = '"';
        *p++ = char(c);
        ++i;
    }
    *p++ = '"';
    out.resize(p - out.constData());
}

QChar separatoreDi(StileCsv stile) { return stile == StileCsv::Italiano ? u';' : u','; }

}  // namespace

QByteArray intestazioneCsv(StileCsv stile)
{
    QStringList nomi;
    for (const DescrizioneCampo& d : campi()) nomi << QString::fromUtf8(d.etichetta);
    const QByteArray riga = nomi.join(separatoreDi(stile)).toUtf8() + "\r\n";
    return stile == StileCsv::Italiano ? "\xEF\xBB\xBF" + riga : riga;
}

QByteArray rigaCsv(const Contatto& contatto, StileCsv stile)
{
    QByteArray riga;
    aggiungiRigaCsv(riga, VistaContatto(contatto).valori(), stile);
    return riga;
}

void aggiungiRigaCsv(QByteArray& out, const Valori& valori, StileCsv stile)
{
    const bool italiano = stile == StileCsv::Italiano;
    for (const DescrizioneCampo& d : campi()) {
        if (d.campo != campi().front().campo) out += italiano ? ';' : ',';
        const Valore& v = valori[d.campo];
        if (v.tipo == Valore::Tipo::Testo) {
            // A spreadsheet would run it as a formula: the apostrophe makes it text, as typed.
            aggiungiTesto(out, v.testo, italiano && daProteggere(v.testo));
        } else if (v.tipo == Valore::Tipo::Data && v.data.isValid()) {
            out += '"';
            aggiungiData(out, v.data, italiano ? FormaData::GiornoPrima : FormaData::Iso);
            out += '"';
        }
    }
    out += "\r\n";
}

QByteArray lineaCsv(const QStringList& valori, QChar separatore)
{
    QByteArray riga;
    for (qsizetype i = 0; i < valori.size(); ++i) {
        if (i > 0) riga += QString(separatore).toUtf8();
        if (!valori[i].isNull()) riga += '"' + QString(valori[i]).replace(u'"', QStringLiteral("\"\"")).toUtf8() + '"';
    }
    return riga + "\r\n";
}

bool daProteggere(QStringView testo)
{
    if (testo.isEmpty()) return false;
    const QChar c = testo[0];
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r' || c == u'\'';
}

FormatoCsv rilevaFormatoCsv(const QByteArray& dati)
{
    FormatoCsv formato;
    formato.codifica = rilevaCodifica(dati);
    const QString inizio = decodifica(dati.left(qsizetype{64} * 1024), formato.codifica);
    int migliore = 0;
    formato.separatore = u',';
    for (const QChar candidato : {QChar(u';'), QChar(u','), QChar(u'\t'), QChar(u'|')}) {
        int conta = 0;
        bool virgolette = false;
        for (const QChar c : inizio) {
            if (c == u'"')
                virgolette = !virgolette;
            else if (!virgolette && (c == u'\n' || c == u'\r'))
                break;
            else if (!virgolette && c == candidato)
                ++conta;
        }
        if (conta > migliore) {
            migliore = conta;
            formato.separatore = candidato;
        }
    }
    return formato;
}

namespace {

// The rows of a CSV file from its lines: a quoted field goes on over line breaks, which it
// keeps as written; outside quotes a quote is text like any other.
class RigheCsv {
public:
    // `windows1252`: told of each line of a UTF-8 file that is not UTF-8, read as Windows-1252.
    RigheCsv(RigheFile& righe, QChar separatore, std::function<void(int)> windows1252 = {})
        : righe_(righe),
          separatore_(separatore),
          windows1252_(std::move(windows1252))
    {
    }

    // The next row with anything in it; false at the end.
    bool leggi(RigaCsv& riga)
    {
        do {
            if (!avanti()) return false;
            riga.riga = fisica_.numero;
            riga.campi.clear();
            do riga.campi << campo();
            while (separato());
        } while (riga.campi.size() == 1 && riga.campi.front().isNull());  // an empty line
        return true;
    }

private:
    // The next physical line as text; false at the end.
    bool avanti()
    {
        if (!righe_.leggi(fisica_)) return false;
        if (righe_.codifica() == Codifica::Utf8 && utf8Valido(fisica_.testo)) {
            linea_ = QString::fromUtf8(fisica_.testo);
        } else {
            if (righe_.codifica() == Codifica::Utf8 && windows1252_) windows1252_(fisica_.numero);
            linea_ = decodifica(fisica_.testo.toByteArray(), Codifica::Windows1252);
        }
        pos_ = 0;
        return true;
    }

    // One field, up to the separator or the end of its row.
    QString campo()
    {
        QString campo;
        if (pos_ < linea_.size() && linea_[pos_] == u'"') {
            const int apertaA = fisica_.numero;
            ++pos_;
            campo = QStringLiteral("");  // quoted: empty text, not Null
            for (;;) {
                const qsizetype virgolette = linea_.indexOf(u'"', pos_);
                if (virgolette < 0) {
                    campo += QStringView(linea_).mid(pos_);
                    campo += QLatin1String(fisica_.fine.data(), fisica_.fine.size());  // the line break is the field's
                    if (fisica_.fine.isEmpty() || !avanti())
                        throw StoreError(
                            StoreErrorNumber::FileFormat,
                            QCoreApplication::translate("brenzola::Csv", "Riga %1: le virgolette aperte qui non si chiudono più.")
                                .arg(apertaA));
                    continue;
                }
                campo += QStringView(linea_).mid(pos_, virgolette - pos_);
                pos_ = virgolette + 1;
                if (pos_ < linea_.size() && linea_[pos_] == u'"') {
                    campo += u'"';
                    ++pos_;
                    continue;
                }
                break;
            }
        }
        // Unquoted text, or whatever follows a closing quote, up to the separator.
        qsizetype fine = linea_.indexOf(separatore_, pos_);
        if (fine < 0) fine = linea_.size();
        if (fine > pos_) campo += QStringView(linea_).mid(pos_, fine - pos_);
        pos_ = fine;
        return campo;
    }

    // Past the separator after a field; false at the end of the row.
    bool separato()
    {
        if (pos_ >= linea_.size()) return false;
        ++pos_;
        return true;
    }

    RigheFile& righe_;
    QChar separatore_;
    std::function<void(int)> windows1252_;
    RigheFile::Riga fisica_;
    QString linea_;
    qsizetype pos_ = 0;
};

// The contact of a row; nothing for a row whose fields are all empty without quotes.
std::optional<Voce> voceCsv(const MappaCsv& mappa, const RigaCsv& riga)
{
    Voce voce = mappa.voce(riga.riga, riga.campi);
    if (voce.errore.isEmpty() && !voce.contatto.haDati()) {
        const auto& valori = voce.contatto.valori;
        if (std::all_of(valori.begin(), valori.end(), [](const QVariant& v) { return v.isNull(); })) return std::nullopt;
        voce.errore = QCoreApplication::translate("brenzola::Csv", "riga %1: la riga non contiene dati").arg(riga.riga);
        voce.contatto = {};
    }
    return voce;
}

QStringList intestazioni(QStringList campi)
{
    for (QString& nome : campi) nome = nome.trimmed();
    return campi;
}

class LettoreCsv final : public LettoreVoci {
public:
    LettoreCsv(std::unique_ptr<RigheFile> righe, QChar separatore, std::function<void(MappaCsv&)> scelte)
        : LettoreVoci(std::move(righe)),
          csv_(this->righe(), separatore, [this](int riga) { lettaWindows1252(riga); }),
          separatore_(separatore),
          scelte_(std::move(scelte))
    {
    }

    std::optional<Voce> prossima() override
    {
        if (!iniziato_) inizia();
        RigaCsv riga;
        while (mappa_) {
            if (!campione_.empty()) {
                riga = std::move(campione_.front());
                campione_.pop_front();
            } else if (!csv_.leggi(riga)) {
                break;
            }
            if (std::optional<Voce> voce = voceCsv(*mappa_, riga)) return voce;
        }
        return std::nullopt;
    }

private:
    // The header, the mapping, and the first rows it observes.
    void inizia()
    {
        iniziato_ = true;
        RigaCsv intestazione;
        if (!csv_.leggi(intestazione)) return;
        mappa_.emplace(intestazioni(intestazione.campi), separatore_ == u';');
        if (scelte_) scelte_(*mappa_);
        RigaCsv riga;
        while (qsizetype(campione_.size()) < kRigheOsservate && csv_.leggi(riga)) {
            mappa_->osserva(riga.campi);
            campione_.push_back(std::move(riga));
        }
    }

    RigheCsv csv_;
    QChar separatore_;
    std::function<void(MappaCsv&)> scelte_;
    bool iniziato_ = false;
    std::optional<MappaCsv> mappa_;  // nothing: no header
    std::deque<RigaCsv> campione_;
};

}  // namespace

TabellaCsv leggiCsv(const QByteArray& dati, const FormatoCsv& formato, qsizetype massimoRighe)
{
    controllaTesto(dati, true);
    RigheFile righe(inMemoria(dati), formato.codifica, true);
    RigheCsv csv(righe, formato.separatore);
    TabellaCsv tabella;
    bool intestazione = true;
    RigaCsv riga;
    while ((massimoRighe < 0 || qsizetype(tabella.righe.size()) < massimoRighe) && csv.leggi(riga)) {
        if (intestazione) {
            tabella.intestazioni = intestazioni(riga.campi);
            intestazione = false;
        } else {
            tabella.righe.push_back(std::move(riga));
        }
    }
    return tabella;
}

Lettura contattiDaCsv(const TabellaCsv& tabella, const MappaCsv& mappa)
{
    Lettura lettura;
    for (const RigaCsv& riga : tabella.righe)
        if (std::optional<Voce> voce = voceCsv(mappa, riga)) lettura.voci.push_back(std::move(*voce));
    return lettura;
}

std::unique_ptr<LettoreVoci> lettoreCsv(std::unique_ptr<RigheFile> righe, QChar separatore,
                                        const std::function<void(MappaCsv&)>& scelte)
{
    return std::make_unique<LettoreCsv>(std::move(righe), separatore, scelte);
}

}  // namespace brenzola
