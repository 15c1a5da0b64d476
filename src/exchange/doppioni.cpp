#include "exchange/doppioni.h"

#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace brenzola {

QString nomePiano(const QString& testo)
{
    // Most names are plain ASCII, which has no accents to take off.
    if (std::all_of(testo.cbegin(), testo.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return testo.toLower().simplified();
    QString piano;
    piano.reserve(testo.size());
    for (const QChar c : testo.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing) piano += c;
    return piano.toCaseFolded().simplified();
}

QString telefonoPiano(const QString& testo)
{
    QString cifre;
    for (const QChar c : testo)
        if (c.isDigit()) cifre += c;
    const QString pulito = testo.trimmed();
    if (pulito.startsWith(QLatin1String("+39")) || pulito.startsWith(QLatin1String("0039")))
        cifre.remove(0, pulito.startsWith(u'+') ? 2 : 4);
    return cifre.size() >= 6 ? cifre : QString();
}

namespace {

// Several addresses or numbers in one field: "a@x.it; b@y.it", "06 123456 / 333 1234567".
QStringList elenco(const QString& testo)
{
    static const QRegularExpression separatori(QStringLiteral("[;,/\\n]|\\s{2,}"));
    QStringList parti;
    for (const QString& parte : testo.split(separatori, Qt::SkipEmptyParts))
        if (!parte.trimmed().isEmpty()) parti << parte.trimmed();
    return parti;
}

}  // namespace

IndiceDoppioni::Chiavi IndiceDoppioni::chiaviDi(const Contatto& c)
{
    Chiavi chiavi;
    const QString cognome = nomePiano(c.testo(Campo::Cognome));
    const QString nome = nomePiano(c.testo(Campo::Nome));
    if (!cognome.isEmpty() || !nome.isEmpty()) chiavi.nome = cognome + u'\x1f' + nome;
    for (const QString& email : elenco(c.testo(Campo::Email)))
        if (email.contains(u'@')) chiavi.email << email.toCaseFolded();
    for (Campo campo : {Campo::Telefono, Campo::Cell})
        for (const QString& numero : elenco(c.testo(campo)))
            if (const QString piano = telefonoPiano(numero); !piano.isEmpty()) chiavi.telefoni << piano;
    chiavi.email.removeDuplicates();
    chiavi.telefoni.removeDuplicates();
    return chiavi;
}

void IndiceDoppioni::aggiungi(qint64 chiave, const Contatto& contatto)
{
    const Chiavi chiavi = chiaviDi(contatto);
    if (!posto_.contains(chiave)) {
        posto_.insert(chiave, ordine_.size());
        ordine_.push_back(chiave);
    }
    // A contact merged with another keeps its first name key, and gains the other's numbers.
    if (!nomi_.contains(chiave) || nomi_.value(chiave).isEmpty()) nomi_.insert(chiave, chiavi.nome);
    for (const QString& email : chiavi.email) {
        auto& chi = perEmail_[email];
        if (std::find(chi.begin(), chi.end(), chiave) == chi.end()) chi.push_back(chiave);
    }
    for (const QString& telefono : chiavi.telefoni) {
        auto& chi = perTelefono_[telefono];
        if (std::find(chi.begin(), chi.end(), chiave) == chi.end()) chi.push_back(chiave);
    }
}

std::vector<qint64> IndiceDoppioni::doppioniDi(const Contatto& contatto) const
{
    const Chiavi chiavi = chiaviDi(contatto);
    std::vector<qint64> trovati;
    const auto aggiungi = [&trovati](qint64 chiave) {
        if (std::find(trovati.begin(), trovati.end(), chiave) == trovati.end()) trovati.push_back(chiave);
    };
    for (const QString& email : chiavi.email)
        for (qint64 chiave : perEmail_.value(email)) aggiungi(chiave);
    if (!chiavi.nome.isEmpty())
        for (const QString& telefono : chiavi.telefoni)
            for (qint64 chiave : perTelefono_.value(telefono))
                if (nomi_.value(chiave) == chiavi.nome) aggiungi(chiave);
    std::sort(trovati.begin(), trovati.end(), [this](qint64 a, qint64 b) { return posto_.value(a) < posto_.value(b); });
    return trovati;
}

std::vector<std::vector<qint64>> IndiceDoppioni::gruppi() const
{
    // Union-find over the positions of the remembered contacts.
    std::vector<size_t> capo(ordine_.size());
    std::iota(capo.begin(), capo.end(), size_t(0));
    const auto trova = [&capo](size_t i) {
        while (capo[i] != i) i = capo[i] = capo[capo[i]];
        return i;
    };
    const auto unisci = [&](qint64 a, qint64 b) {
        const size_t ra = trova(posto_.value(a)), rb = trova(posto_.value(b));
        if (ra != rb) capo[std::max(ra, rb)] = std::min(ra, rb);
    };
    for (const auto& chi : perEmail_)
        for (size_t i = 1; i < chi.size(); ++i) unisci(chi[0], chi[i]);
    for (const auto& chi : perTelefono_) {
        // Only the same name makes a shared number a duplicate.
        QHash<QString, qint64> primoPerNome;
        for (qint64 chiave : chi) {
            const QString nome = nomi_.value(chiave);
            if (nome.isEmpty()) continue;
            const auto primo = primoPerNome.constFind(nome);
            if (primo == primoPerNome.constEnd())
                primoPerNome.insert(nome, chiave);
            else
                unisci(*primo, chiave);
        }
    }
    std::vector<std::vector<qint64>> perCapo(ordine_.size());
    for (size_t i = 0; i < ordine_.size(); ++i) perCapo[trova(i)].push_back(ordine_[i]);
    std::vector<std::vector<qint64>> gruppi;
    for (auto& gruppo : perCapo)
        if (gruppo.size() > 1) gruppi.push_back(std::move(gruppo));
    return gruppi;
}

namespace {

// Two values that say the same thing: the same date, or texts equal but for case, accents
// and spacing (and, for telephones, everything but the digits).
bool stessaCosa(Campo campo, const QVariant& a, const QVariant& b)
{
    if (a.typeId() == QMetaType::QDate || b.typeId() == QMetaType::QDate) return a == b;
    if (campo == Campo::Telefono || campo == Campo::Cell) {
        const QString pa = telefonoPiano(a.toString()), pb = telefonoPiano(b.toString());
        if (!pa.isEmpty() || !pb.isEmpty()) return pa == pb;
    }
    QString ta = nomePiano(a.toString()), tb = nomePiano(b.toString());
    return ta.remove(u' ') == tb.remove(u' ');
}

QString fineRigaDi(const QString& testo)
{
    if (testo.contains(QLatin1String("\r\n"))) return QStringLiteral("\r\n");
    if (testo.contains(u'\r')) return QStringLiteral("\r");
    return QStringLiteral("\n");
}

}  // namespace

Contatto unisci(const Contatto& base, const Contatto& altro)
{
    Contatto unito = base;
    QStringList aggiunte;
    for (const DescrizioneCampo& d : campi()) {
        if (d.campo == Campo::Commenti || altro.vuoto(d.campo)) continue;
        if (unito.vuoto(d.campo)) {
            unito[d.campo] = altro[d.campo];
        } else if (!stessaCosa(d.campo, unito[d.campo], altro[d.campo])) {
            aggiunte << QString::fromUtf8(d.etichetta) + QStringLiteral(": ")
                            + (d.data ? dataComeTesto(altro[d.campo]) : altro.testo(d.campo));
        }
    }
    QString commenti = base.testo(Campo::Commenti);
    const QString suoi = altro.testo(Campo::Commenti);
    const QString a = fineRigaDi(commenti.isEmpty() ? suoi : commenti);
    const auto accoda = [&](const QString& testo, const QString& staccato) {
        if (testo.isEmpty()) return;
        commenti = commenti.isEmpty() ? testo : commenti + staccato + testo;
    };
    static const QRegularExpression aCapo(QStringLiteral("\r\n|\r|\n"));
    if (!suoi.trimmed().isEmpty() && !nomePiano(commenti).contains(nomePiano(suoi)))
        accoda(QString(suoi).replace(aCapo, a), a + a);
    aggiunte.removeIf([&commenti](const QString& riga) { return commenti.contains(riga); });
    if (!aggiunte.isEmpty()) accoda(aggiunte.join(a), a + a);
    if (commenti != base.testo(Campo::Commenti)) unito[Campo::Commenti] = commenti;
    return unito;
}

}  // namespace brenzola
