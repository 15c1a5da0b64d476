#include "exchange/mappacsv.h"

#include "exchange/csv.h"
#include "exchange/raccolta.h"
#include "exchange/tracciati.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace brenzola {
namespace {

// Google joins several values of one cell with this.
const QString kSeparatoreGoogle = QStringLiteral(" ::: ");

// "Città (ab.)" -> "citta ab": lower case, no accents, words only.
QString normalizzata(const QString& intestazione)
{
    QString piana;
    for (const QChar c : intestazione.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing) piana += c.isLetterOrNumber() ? c.toLower() : QChar(u' ');
    return piana.simplified();
}

struct Nota {
    int ruolo;  // a MappaCsv::Ruolo, as the table below is built outside the class
    Campo campo = Campo::Commenti;
    int parte = 0;
    int priorita = 2;
};

enum RuoloNoto { kCampo, kParte, kEtichette, kUid };

const QHash<QString, Nota>& intestazioniNote()
{
    static const QHash<QString, Nota> note = [] {
        QHash<QString, Nota> h;
        const auto metti = [&h](Campo campo, int priorita, std::initializer_list<const char*> nomi) {
            for (const char* nome : nomi) h.insert(normalizzata(QString::fromUtf8(nome)), {kCampo, campo, 0, priorita});
        };
        const auto parte = [&h](Raccolta::Parte p, std::initializer_list<const char*> nomi) {
            for (const char* nome : nomi) h.insert(normalizzata(QString::fromUtf8(nome)), {kParte, Campo::Commenti, int(p)});
        };
        for (const DescrizioneCampo& d : campi()) metti(d.campo, 2, {d.etichetta, d.colonna});
        metti(Campo::Cognome, 2, {"last name", "family name", "surname", "lastname", "cognome ab"});
        metti(Campo::Nome, 2, {"first name", "given name", "firstname", "nome di battesimo"});
        metti(Campo::DataIn, 2, {"data inserimento", "data ingresso", "data di inserimento"});
        metti(Campo::TipoRef, 2, {"tipo riferimento", "tipo", "categoria", "categorie", "categories"});
        metti(
            Campo::Citta, 2,
            {"city", "home city", "citta ab", "città (ab.)", "localita", "località", "business city", "work city", "citta uff"});
        metti(Campo::Prov, 2,
              {"provincia", "state", "region", "home state", "provincia ab", "provincia (ab.)", "business state", "work state",
               "provincia uff"});
        metti(Campo::Indirizzo, 2,
              {"address", "street", "home street", "via", "via ab", "via (ab.)", "home address", "business street",
               "work address", "via uff", "indirizzo ab"});
        metti(Campo::Cap, 2,
              {"postal code", "zip", "zip code", "zipcode", "postcode", "home postal code", "home zipcode", "cap ab", "cap (ab.)",
               "business postal code", "work zipcode", "cap uff", "codice postale"});
        metti(Campo::Email, 2,
              {"e-mail",
               "e mail",
               "email address",
               "e-mail address",
               "primary email",
               "e-mail 2 address",
               "e-mail 3 address",
               "secondary email",
               "email home",
               "home email",
               "email work",
               "work email",
               "email other",
               "indirizzo posta elettronica",
               "indirizzo posta elettronica 2",
               "indirizzo posta elettronica 3",
               "indirizzo di posta elettronica",
               "posta elettronica",
               "indirizzo e-mail",
               "e mail address"});
        metti(Campo::Telefono, 0, {"primary phone", "telefono principale"});
        metti(Campo::Telefono, 1, {"home phone", "telefono abitazione", "telefono ab", "telefono casa"});
        metti(Campo::Telefono, 2,
              {"phone", "telephone", "business phone", "work phone", "home phone 2", "business phone 2", "company main phone",
               "other phone", "car phone", "callback", "telefono ufficio", "telefono uff", "telefono ab 2", "telefono uff 2",
               "altro telefono", "telefono lavoro", "tel"});
        metti(Campo::Cell, 2,
              {"cellulare", "mobile", "mobile phone", "mobile number", "home mobile", "business mobile", "cell phone", "cellular",
               "telefono cellulare", "cell"});
        metti(Campo::DataNasc, 2,
              {"data di nascita", "nascita", "birthday", "compleanno", "birth date", "date of birth", "data nascita"});
        metti(Campo::Fonte, 2, {"source", "origine", "provenienza", "referred by"});
        metti(Campo::DataRicont, 2, {"ricontattare", "data ricontatto", "richiamare", "da ricontattare"});
        metti(Campo::Commenti, 2, {"note", "notes", "commento", "comments", "annotazioni"});
        parte(Raccolta::Parte::NomeIntero,
              {"display name", "name", "file as", "full name", "nome visualizzato", "nome completo", "salva come"});
        parte(Raccolta::Parte::SecondoNome, {"middle name", "additional name", "secondo nome"});
        parte(Raccolta::Parte::Azienda,
              {"company", "organization", "organization name", "organisation", "societa", "azienda", "ditta"});
        parte(Raccolta::Parte::AnnoNascita, {"birth year", "anno di nascita"});
        parte(Raccolta::Parte::MeseNascita, {"birth month", "mese di nascita"});
        parte(Raccolta::Parte::GiornoNascita, {"birth day", "giorno di nascita"});
        for (const char* nome : {"labels", "group membership", "etichette"}) h.insert(QString::fromUtf8(nome), {kEtichette});
        h.insert(QStringLiteral("uid"), {kUid});
        return h;
    }();
    return note;
}

// Bookkeeping columns: not kept when they hold their program's default ("*": whatever
// they hold, "@": a name made of the address, as Outlook fills it in).
bool rumore(const QString& normalizzata, const QString& valore)
{
    static const QHash<QString, QString> predefiniti = {
        {QStringLiteral("priority"), QStringLiteral("normal")},
        {QStringLiteral("priorita"), QStringLiteral("normale")},
        {QStringLiteral("sensitivity"), QStringLiteral("normal")},
        {QStringLiteral("riservatezza"), QStringLiteral("normale")},
        {QStringLiteral("private"), QStringLiteral("false")},
        {QStringLiteral("privato"), QStringLiteral("falso")},
        {QStringLiteral("gender"), QStringLiteral("unspecified")},
        {QStringLiteral("sesso"), QStringLiteral("non specificato")},
        {QStringLiteral("e mail type"), QStringLiteral("smtp")},
        {QStringLiteral("tipo posta elettronica"), QStringLiteral("smtp")},
        {QStringLiteral("e mail display name"), QStringLiteral("@")},
        {QStringLiteral("e mail 2 display name"), QStringLiteral("@")},
        {QStringLiteral("e mail 3 display name"), QStringLiteral("@")},
        {QStringLiteral("nome visualizzato posta elettronica"), QStringLiteral("@")},
        {QStringLiteral("initials"), QStringLiteral("*")},
        {QStringLiteral("iniziali"), QStringLiteral("*")},
        {QStringLiteral("photo"), QStringLiteral("*")},
    };
    if (senzaData(valore)) return true;  // Outlook's 0/0/00 in an anniversary nobody has
    const auto trovato = predefiniti.constFind(normalizzata);
    if (trovato == predefiniti.constEnd()) return false;
    if (*trovato == u"*") return true;
    if (*trovato == u"@") return valore.contains(u'@');
    return valore.trimmed().compare(*trovato, Qt::CaseInsensitive) == 0;
}

struct Destinazione {
    std::optional<Campo> campo;  // nothing: only in the comments
    QString etichetta;
};

// "Telefono (Work)"; the base alone when the type says nothing more (`sinonimo`: the type's English word for it).
QString conTipo(const char* base, const QString& tipo, const char* sinonimo = "")
{
    const QString nome = QString::fromUtf8(base);
    const bool ripete = tipo.isEmpty() || tipo.compare(nome, Qt::CaseInsensitive) == 0
                        || tipo.compare(QLatin1String(sinonimo), Qt::CaseInsensitive) == 0;
    return ripete ? nome : nome + QStringLiteral(" (") + tipo + u')';
}

// Where a typed phone number goes: a fax or a pager is never the number to call.
Destinazione telefonoPer(const QString& tipo)
{
    const QString minuscolo = tipo.toLower();
    if (minuscolo.contains(u"fax")) return {std::nullopt, conTipo("Fax", tipo)};
    if (minuscolo.contains(u"pager") || minuscolo.contains(u"cercapersone"))
        return {std::nullopt, conTipo("Cercapersone", tipo, "pager")};
    if (minuscolo.contains(u"mobile") || minuscolo.contains(u"cell")) return {Campo::Cell, conTipo("Cell.", tipo)};
    return {Campo::Telefono, conTipo("Telefono", tipo)};
}

// Google marks the preferred value of a type with "* ".
QString tipoPulito(const QString& tipo)
{
    const QString t = tipo.trimmed();
    return t.startsWith(QLatin1String("* ")) ? t.mid(2).trimmed() : t;
}

// The field a custom field's label names: one of Brenzola's labels (or "UID", which
// comes back as nothing with `uid` set).
std::optional<Campo> campoPersonale(const QString& etichetta, bool& uid)
{
    uid = etichetta.compare(QLatin1String(kEtichettaUid), Qt::CaseInsensitive) == 0;
    for (const DescrizioneCampo& d : campi())
        if (etichetta.compare(QString::fromUtf8(d.etichetta), Qt::CaseInsensitive) == 0) return d.campo;
    return std::nullopt;
}

bool daTogliere(const QString& valore) { return valore.startsWith(u'\'') && daProteggere(valore.mid(1)); }

}  // namespace

MappaCsv::MappaCsv(const QStringList& intestazioni, bool stileItaliano) : stileItaliano_(stileItaliano)
{
    static const QRegularExpression gruppo(QStringLiteral(R"(^(.+?) (\d+) (.+)$)"));
    QStringList normalizzate;
    for (const QString& intestazione : intestazioni) normalizzate << normalizzata(intestazione);
    mesePrimaSenzaIndizi_ = normalizzate.contains(u"e mail address") && normalizzate.contains(u"birthday");

    QHash<QString, qsizetype> gruppi;  // "phone 1" -> its number
    QHash<qsizetype, qsizetype> tipi;  // group -> its type column
    for (qsizetype c = 0; c < intestazioni.size(); ++c) {
        Colonna colonna;
        colonna.intestazione = intestazioni[c];
        const QString& nome = normalizzate[c];
        if (const auto nota = intestazioniNote().constFind(nome); nota != intestazioniNote().constEnd()) {
            colonna.ruolo = nota->ruolo == kCampo       ? Ruolo::Campo
                            : nota->ruolo == kParte     ? Ruolo::Parte
                            : nota->ruolo == kEtichette ? Ruolo::Etichette
                                                        : Ruolo::Uid;
            colonna.campo = nota->campo;
            colonna.parte = nota->parte;
            colonna.priorita = nota->priorita;
        } else if (const auto m = gruppo.match(nome); m.hasMatch()) {
            const QString prefisso = m.captured(1);
            const int numero = m.captured(2).toInt();
            const QString parte = m.captured(3);
            colonna.gruppo = gruppi.value(prefisso + u' ' + m.captured(2), gruppi.size());
            gruppi.insert(prefisso + u' ' + m.captured(2), colonna.gruppo);
            colonna.etichettaDalTipo = parte == u"value";
            if (parte == u"type" || parte == u"label") {
                colonna.ruolo = Ruolo::Tipo;
                tipi.insert(colonna.gruppo, c);
            } else if (prefisso == u"phone" && parte == u"value") {
                colonna.ruolo = Ruolo::Telefono;
            } else if ((prefisso == u"e mail" || prefisso == u"email") && parte == u"value") {
                colonna.ruolo = Ruolo::Email;
            } else if (prefisso == u"custom field" && parte == u"value") {
                colonna.ruolo = Ruolo::Personale;
            } else if (prefisso == u"address" && parte == u"formatted") {
                colonna.ruolo = Ruolo::Formattato;
            } else if (prefisso == u"address" && numero == 1) {
                const std::pair<const char*, Campo> parti[] = {
                    {"street", Campo::Indirizzo}, {"city", Campo::Citta}, {"region", Campo::Prov}, {"postal code", Campo::Cap}};
                for (const auto& [nomeParte, campo] : parti)
                    if (parte == QLatin1String(nomeParte)) {
                        colonna.ruolo = Ruolo::Campo;
                        colonna.campo = campo;
                    }
            } else if (prefisso == u"organization" && numero == 1 && parte == u"name") {
                colonna.ruolo = Ruolo::Parte;
                colonna.parte = int(Raccolta::Parte::Azienda);
            }
        }
        colonne_.push_back(colonna);
    }
    for (Colonna& colonna : colonne_)
        if (colonna.gruppo >= 0 && colonna.ruolo != Ruolo::Tipo) colonna.tipo = tipi.value(colonna.gruppo, -1);

    // Brenzola's own Outlook layout: its user columns hold the fields Outlook has no name for.
    const std::span<const ColonnaTracciato> outlook = colonneTracciato(Tracciato::Outlook);
    if (std::equal(outlook.begin(), outlook.end(), normalizzate.begin(), normalizzate.end(),
                   [](const ColonnaTracciato& t, const QString& n) { return normalizzata(QLatin1String(t.intestazione)) == n; }))
        for (size_t c = 0; c < outlook.size(); ++c) {
            colonne_[c].ruolo = outlook[c].campo ? Ruolo::Campo : Ruolo::Uid;
            colonne_[c].campo = outlook[c].campo.value_or(Campo::Commenti);
        }
    ordina();
}

void MappaCsv::ordina()
{
    ordine_.resize(colonne_.size());
    for (size_t c = 0; c < ordine_.size(); ++c) ordine_[c] = qsizetype(c);
    std::stable_sort(ordine_.begin(), ordine_.end(),
                     [this](qsizetype a, qsizetype b) { return colonne_[size_t(a)].priorita < colonne_[size_t(b)].priorita; });
}

std::optional<Campo> MappaCsv::campo(qsizetype colonna) const
{
    const Colonna& c = colonne_[size_t(colonna)];
    switch (c.ruolo) {
    case Ruolo::Campo:
        return c.campo;
    case Ruolo::Telefono:
        return Campo::Telefono;
    case Ruolo::Email:
        return Campo::Email;
    case Ruolo::Etichette:
        return Campo::TipoRef;
    case Ruolo::Parte:
        switch (Raccolta::Parte(c.parte)) {
        case Raccolta::Parte::NomeIntero:
        case Raccolta::Parte::Azienda:
            return Campo::Cognome;
        case Raccolta::Parte::SecondoNome:
            return Campo::Nome;
        default:
            return Campo::DataNasc;
        }
    default:
        return std::nullopt;
    }
}

void MappaCsv::assegna(qsizetype colonna, std::optional<Campo> campo)
{
    Colonna& c = colonne_[size_t(colonna)];
    c.ruolo = campo ? Ruolo::Campo : Ruolo::Commento;
    c.campo = campo.value_or(Campo::Commenti);
    c.priorita = 2;
    ordina();
}

void MappaCsv::osserva(const QStringList& campi)
{
    static const QRegularExpression barrata(QStringLiteral(R"(^\s*(\d{1,2})[/.-](\d{1,2})[/.-]\d{4}\s*$)"));
    for (size_t c = 0; c < colonne_.size() && qsizetype(c) < campi.size(); ++c) {
        Colonna& colonna = colonne_[c];
        if (colonna.ruolo != Ruolo::Campo || !descrizione(colonna.campo).data) continue;
        const auto m = barrata.match(campi[qsizetype(c)]);
        if (!m.hasMatch()) continue;
        if (m.captured(1).toInt() > 12) colonna.giornoOltre12 = true;
        if (m.captured(2).toInt() > 12) colonna.meseOltre12 = true;
    }
}

bool MappaCsv::mesePrima(const Colonna& colonna) const
{
    if (colonna.giornoOltre12) return false;
    return colonna.meseOltre12 || mesePrimaSenzaIndizi_;
}

Voce MappaCsv::voce(int riga, QStringList campi) const
{
    Raccolta raccolta(riga);
    const qsizetype attesi = colonne();
    bool oltre = false;
    for (qsizetype c = attesi; c < campi.size(); ++c)
        if (!campi[c].trimmed().isEmpty()) {
            raccolta.altro(QStringLiteral("Colonna %1").arg(c + 1), campi[c]);
            oltre = true;
        }
    if (oltre)
        raccolta.avviso(
            QCoreApplication::translate("brenzola::MappaCsv", "riga %1: %2 campi invece di %3: quelli in più sono nei commenti")
                .arg(riga)
                .arg(campi.size())
                .arg(attesi));
    campi.resize(attesi);  // a short row, as Outlook writes them, ends in Null fields
    if (stileItaliano_)
        for (QString& valore : campi)
            if (daTogliere(valore)) valore.remove(0, 1);
    for (qsizetype c : ordine_) valore(raccolta, campi, c);
    return raccolta.voce();
}

void MappaCsv::valore(Raccolta& raccolta, const QStringList& campi, qsizetype c) const
{
    const Colonna& colonna = colonne_[size_t(c)];
    const QString& valore = campi[c];
    if (valore.isNull()) return;
    const QString tipo = colonna.tipo >= 0 ? tipoPulito(campi[colonna.tipo]) : QString();
    const auto commento = [&] {
        if (valore.trimmed().isEmpty() || rumore(normalizzata(colonna.intestazione), valore)) return;
        const QString etichetta = tipo.isEmpty()             ? colonna.intestazione
                                  : colonna.etichettaDalTipo ? tipo
                                                             : colonna.intestazione + QStringLiteral(" (") + tipo + u')';
        raccolta.altro(etichetta, valore);
    };
    switch (colonna.ruolo) {
    case Ruolo::Commento:
        commento();
        return;
    case Ruolo::Campo:
        raccolta.campo(colonna.campo, valore, colonna.intestazione, mesePrima(colonna));
        return;
    case Ruolo::Tipo:
        return;
    case Ruolo::Telefono:
    case Ruolo::Email: {
        const Destinazione verso =
            colonna.ruolo == Ruolo::Email ? Destinazione{Campo::Email, conTipo("Email", tipo)} : telefonoPer(tipo);
        // Splitting empty text would make it Null.
        for (const QString& parte : valore.isEmpty() ? QStringList{valore} : valore.split(kSeparatoreGoogle)) {
            if (verso.campo)
                raccolta.campo(*verso.campo, parte, verso.etichetta);
            else
                raccolta.altro(verso.etichetta, parte);
        }
        return;
    }
    case Ruolo::Personale: {
        bool uid = false;
        const std::optional<Campo> campo = campoPersonale(tipo, uid);
        if (uid && !valore.isEmpty())
            raccolta.uid(valore);
        else if (campo)
            raccolta.campo(*campo, valore, tipo);
        else if (!uid)
            commento();
        return;
    }
    case Ruolo::Etichette: {
        if (valore.isEmpty()) {
            raccolta.campo(Campo::TipoRef, valore, colonna.intestazione);
            return;
        }
        QStringList etichette = valore.split(kSeparatoreGoogle);
        etichette.removeIf([](const QString& e) { return e.trimmed().compare(u"* myContacts", Qt::CaseInsensitive) == 0; });
        if (!etichette.isEmpty()) raccolta.campo(Campo::TipoRef, etichette.join(kSeparatoreGoogle), colonna.intestazione);
        return;
    }
    case Ruolo::Formattato: {
        for (size_t altra = 0; altra < colonne_.size(); ++altra)
            if (qsizetype(altra) != c && colonne_[altra].gruppo == colonna.gruppo && colonne_[altra].ruolo != Ruolo::Tipo
                && !campi[qsizetype(altra)].trimmed().isEmpty())
                return;  // the parts say it already
        commento();
        return;
    }
    case Ruolo::Parte:
        raccolta.parte(Raccolta::Parte(colonna.parte), colonna.intestazione, valore);
        return;
    case Ruolo::Uid:
        if (!valore.isEmpty()) raccolta.uid(valore);
        return;
    }
}

std::optional<Campo> campoDaNome(const QString& nome)
{
    const auto nota = intestazioniNote().constFind(normalizzata(nome));
    if (nota == intestazioniNote().constEnd() || nota->ruolo != kCampo) return std::nullopt;
    return nota->campo;
}

MappaCsv mappaIndovinata(const TabellaCsv& tabella, bool stileItaliano)
{
    MappaCsv mappa(tabella.intestazioni, stileItaliano);
    for (qsizetype r = 0; r < qsizetype(tabella.righe.size()) && r < kRigheOsservate; ++r)
        mappa.osserva(tabella.righe[size_t(r)].campi);
    return mappa;
}

}  // namespace brenzola
