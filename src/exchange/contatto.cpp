#include "exchange/contatto.h"

#include "store/connection.h"
#include "store/funzioni.h"
#include "store/identita.h"
#include "store/recordset.h"
#include "store/storeddate.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace brenzola {

const std::array<DescrizioneCampo, kNumeroCampi>& campi()
{
    static const std::array<DescrizioneCampo, kNumeroCampi> tutti = {{
        {Campo::Cognome, "Cognome", QT_TRANSLATE_NOOP("brenzola::Contatto", "Cognome"), false},
        {Campo::Nome, "Nome", QT_TRANSLATE_NOOP("brenzola::Contatto", "Nome"), false},
        {Campo::DataIn, "DataIn", QT_TRANSLATE_NOOP("brenzola::Contatto", "Data"), true},
        {Campo::TipoRef, "TipoRef", QT_TRANSLATE_NOOP("brenzola::Contatto", "Tipo Ref."), false},
        {Campo::Citta, "Citta", QT_TRANSLATE_NOOP("brenzola::Contatto", "Città"), false},
        {Campo::Prov, "Prov", QT_TRANSLATE_NOOP("brenzola::Contatto", "Prov."), false},
        {Campo::Indirizzo, "Indirizzo", QT_TRANSLATE_NOOP("brenzola::Contatto", "Indirizzo"), false},
        {Campo::Cap, "Cap", QT_TRANSLATE_NOOP("brenzola::Contatto", "Cap"), false},
        {Campo::Email, "Email", QT_TRANSLATE_NOOP("brenzola::Contatto", "Email"), false},
        {Campo::Telefono, "Telefono", QT_TRANSLATE_NOOP("brenzola::Contatto", "Telefono"), false},
        {Campo::Cell, "Cell", QT_TRANSLATE_NOOP("brenzola::Contatto", "Cell."), false},
        {Campo::DataNasc, "DataNasc", QT_TRANSLATE_NOOP("brenzola::Contatto", "Data Nasc."), true},
        {Campo::Fonte, "Fonte", QT_TRANSLATE_NOOP("brenzola::Contatto", "Fonte"), false},
        {Campo::DataRicont, "DataRicont", QT_TRANSLATE_NOOP("brenzola::Contatto", "Data ricontattare"), true},
        {Campo::Commenti, "Commenti", QT_TRANSLATE_NOOP("brenzola::Contatto", "Commenti"), false},
    }};
    return tutti;
}

const DescrizioneCampo& descrizione(Campo campo) { return campi()[size_t(campo)]; }

QString etichettaMostrata(const DescrizioneCampo& d) { return QCoreApplication::translate("brenzola::Contatto", d.etichetta); }

bool Contatto::vuoto(Campo campo) const
{
    const QVariant& valore = (*this)[campo];
    return valore.isNull() || (valore.typeId() == QMetaType::QString && valore.toString().isEmpty());
}

bool Contatto::haDati() const
{
    for (const DescrizioneCampo& d : campi())
        if (!vuoto(d.campo)) return true;
    return false;
}

QString Contatto::nomeCompleto() const { return testo(Campo::Cognome) + u' ' + testo(Campo::Nome); }

Contatto contattoDa(const Recordset& rs)
{
    Contatto contatto;
    contatto.id = rs.Fields(QStringLiteral("id")).toLongLong();
    for (const DescrizioneCampo& d : campi()) contatto[d.campo] = rs.Fields(QLatin1String(d.colonna));
    const QVariant uid = rs.HasField(QStringLiteral("Uid")) ? rs.Fields(QStringLiteral("Uid")) : QVariant();
    contatto.uid = UidContatto(rs.ActiveConnection()->identity(), contatto.id, uid);
    contatto.memorizzato = rs.StoredValues();
    return contatto;
}

namespace {

bool stessoValore(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull();
    return a.typeId() == b.typeId() && a == b;
}

}  // namespace

void scriviCampi(Recordset& rs, const Contatto& prima, const Contatto& dopo)
{
    const bool nuovo = prima.id == 0;
    for (const DescrizioneCampo& d : campi())
        if (nuovo || !stessoValore(prima[d.campo], dopo[d.campo])) rs.SetField(QLatin1String(d.colonna), dopo[d.campo]);
    // A contact keeps the identity it came with; one of this register's own is made from its key.
    if (nuovo && !dopo.uid.isEmpty() && rs.HasField(QStringLiteral("Uid"))) rs.SetField(QStringLiteral("Uid"), dopo.uid);
}

QDate dataScritta(const QString& testo)
{
    const QString t = testo.trimmed();
    if (const QDate annoPrima = dateFromStoredText(t); annoPrima.isValid()) return annoPrima;
    static const QRegularExpression compatta(QStringLiteral(R"(^(\d{4})(\d{2})(\d{2})(T.*)?$)"));
    if (const auto m = compatta.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    static const QRegularExpression giornoPrima(QStringLiteral(R"(^(\d{1,2})([/.-])(\d{1,2})\2(\d{4})$)"));
    if (const auto m = giornoPrima.match(t); m.hasMatch())
        return QDate(m.captured(4).toInt(), m.captured(3).toInt(), m.captured(1).toInt());
    return {};
}

QDate compleannoScritto(const QString& testo)
{
    static const QRegularExpression meseGiorno(QStringLiteral(R"(^\s*--(\d{2})-?(\d{2})\s*$)"));
    if (const auto m = meseGiorno.match(testo); m.hasMatch())
        return QDate(kAnnoIgnoto, m.captured(1).toInt(), m.captured(2).toInt());
    return dataScritta(testo);
}

QString dataComeTesto(const QVariant& valore)
{
    if (valore.typeId() == QMetaType::QDate) return valore.toDate().toString(QLatin1String(Funzioni::kFormatoData));
    return valore.toString();
}

namespace {

// The text a field holds as typed; a date has no characters to check.
QString scritto(const QVariant& valore) { return valore.typeId() == QMetaType::QString ? valore.toString() : QString(); }

}  // namespace

QString troppoLungo(const Contatto& contatto)
{
    constexpr qsizetype kMassimoCampo = 10'000;
    constexpr qsizetype kMassimoCommenti = 1'000'000;
    for (const DescrizioneCampo& d : campi()) {
        const qsizetype massimo = d.campo == Campo::Commenti ? kMassimoCommenti : kMassimoCampo;
        const qsizetype lunghezza = scritto(contatto[d.campo]).size();
        if (lunghezza > massimo) {
            const QLocale locale = Funzioni::LocaleMostrata();
            return QCoreApplication::translate("brenzola::Contatto", "il campo %1 è troppo lungo (%2 caratteri; al massimo %3)")
                .arg(etichettaMostrata(d), locale.toString(lunghezza), locale.toString(massimo));
        }
    }
    return {};
}

qsizetype primoCarattereDiControllo(QStringView testo)
{
    const auto trovato = std::find_if(testo.begin(), testo.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0x7F;
    });
    return trovato == testo.end() ? -1 : qsizetype(trovato - testo.begin());
}

namespace {

// `nome` is asked for only when there is something to say.
template <typename Nome>
std::optional<CarattereDiControllo> controlloIn(const QString& testo, std::optional<Campo> campo, Nome&& nome)
{
    const qsizetype posizione = primoCarattereDiControllo(testo);
    if (posizione < 0) return std::nullopt;
    const QString codice = QStringLiteral("U+%1").arg(testo[posizione].unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return CarattereDiControllo{
        campo, posizione,
        QCoreApplication::translate("brenzola::Contatto", "%1 contiene un carattere di controllo (%2), che non si può conservare")
            .arg(nome(), codice)};
}

}  // namespace

std::optional<CarattereDiControllo> carattereDiControllo(const Contatto& contatto)
{
    for (const DescrizioneCampo& d : campi())
        if (auto trovato = controlloIn(scritto(contatto[d.campo]), d.campo, [&d] {
                return QCoreApplication::translate("brenzola::Contatto", "il campo %1").arg(etichettaMostrata(d));
            }))
            return trovato;
    return controlloIn(contatto.uid, std::nullopt,
                       [] { return QCoreApplication::translate("brenzola::Contatto", "l'identità (UID)"); });
}

int Lettura::illeggibili() const
{
    int n = 0;
    for (const Voce& voce : voci) n += voce.errore.isEmpty() ? 0 : 1;
    return n;
}

void Compilazione::aggiungi(Campo campo, const QVariant& valore, const QString& etichetta)
{
    if (valore.isNull() || (valore.typeId() == QMetaType::QString && valore.toString().isEmpty())) return;
    if (contatto_.vuoto(campo)) {
        contatto_[campo] = valore;
        return;
    }
    if (stessoValore(contatto_[campo], valore)) return;
    altro(etichetta.isEmpty() ? QString::fromUtf8(descrizione(campo).etichetta) : etichetta,
          descrizione(campo).data ? dataComeTesto(valore) : valore.toString());
}

void Compilazione::altro(const QString& etichetta, const QString& valore)
{
    if (valore.trimmed().isEmpty()) return;
    const QString riga = etichetta + QStringLiteral(": ") + valore;
    if (!altri_.contains(riga)) altri_ << riga;
}

void Compilazione::commenti(const QString& testo) { contatto_[Campo::Commenti] = testo; }

Contatto Compilazione::contatto() const
{
    Contatto contatto = contatto_;
    if (altri_.isEmpty()) return contatto;
    QString commenti = contatto.testo(Campo::Commenti);
    if (!commenti.isEmpty()) commenti += u'\n';
    contatto[Campo::Commenti] = commenti + altri_.join(u'\n');
    return contatto;
}

}  // namespace brenzola
