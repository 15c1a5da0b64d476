#pragma once

#include "store/connection.h"
#include "store/giornale.h"
#include "store/italiantext.h"
#include "store/numeripertesto.h"
#include "store/ricercarapida.h"
#include "store/textcolumn.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brenzola {

// The name of every contact, "Cognome Nome" as the list shows it, with its numbers and
// e-mail as the quick search reads them, kept in memory in list order (the store's Italian
// order), so that the quick search narrows the list at every keystroke and the whole list
// comes back without asking the store again. It follows the
// store's journal: the contacts changed since it last looked, by this program or any
// other, are read again alone and put in their places.
class IndiceNomi {
public:
    // A contact's place in the index. Places stay valid until the next aggiorna() or
    // aggiornaSeCambiato() that has to read the whole store again.
    using Voce = uint32_t;

    // Up to date with the store: what the journal says changed is read again (the whole
    // register only when the store keeps no journal, or it was purged past the last look).
    void aggiorna(Connection& connection);
    // As aggiorna(), but only when the store's change mark says something changed: on a
    // server, when a change was announced.
    void aggiornaSeCambiato(Connection& connection);
    // Those contacts changed (a server without a journal announces them): their places
    // are taken from the store as it is now.
    void contattiCambiati(Connection& connection, const std::vector<qint64>& ids);

    // Holds nothing, as before it first read a store.
    void dimentica();

    // Every contact, in list order.
    const std::vector<Voce>& tutte() const { return ordine_; }
    // The contacts the quick search finds, as the store's like() over its filter finds
    // them (a Null field never matches), in list order; only among `entro` when given,
    // which must be in list order.
    std::vector<Voce> cerca(const RicercaRapida& ricerca, const std::vector<Voce>* entro = nullptr) const;
    // The contact with that key, if held.
    std::optional<Voce> voceDi(qint64 id) const;

    QString testo(Voce voce) const;
    qint64 chiave(Voce voce) const { return dati_.contatti[voce].id; }
    bool contiene(Voce voce) const { return voce < dati_.contatti.size(); }
    size_t size() const { return ordine_.size(); }
    // Changes whenever what the index holds changes.
    quint64 versione() const { return versione_; }

private:
    struct Contatto {
        qint64 id = 0;
        uint32_t testo = 0;  // in testi: "Cognome Nome", in UTF-8
        uint32_t lunghezza = 0;
        uint32_t cognomeNelTesto = 0;  // the bytes of the surname in the text
        bool presente = true;
    };
    // One row as the store holds it, valid while it is being read.
    struct Riga {  // texts in UTF-8
        qint64 id;
        std::string_view cognome;
        std::string_view nome;
        bool senzaCognome;
        std::string_view telefono;
        std::string_view cell;
        std::string_view email;
    };
    // What is held of each contact, by its place.
    struct Dati {
        Dati();
        std::vector<Contatto> contatti;
        struct Nome {
            uint32_t cognome;  // in parole, or kSenzaCognome
            uint32_t nome;     // in parole
        };
        std::vector<Nome> nomi;  // side by side: a search reads both for the same contact
        std::string testi;
        // Each contact's numbers as RicercaRapida::aggiungiCifre() gives them, a 1 between the two.
        TextColumn telefoni;
        TextColumn email;  // each contact's e-mail, lowered
        // Each surname and first name once, lowered: a register holds the same names many
        // times over, and a search looks at each of them once. The first is the empty name.
        TextColumn parole;
        NumeriPerTesto perParola;
        void swap(Dati& altri) noexcept;
        // Room for `quanti` contacts, the texts as long as the first `letti` on average:
        // grown step by step, a million contacts' texts would be copied and faulted in
        // again at every step.
        void riserva(size_t quanti, size_t letti);
        // A name lowered, as parole holds it, with its hash.
        struct Parola {
            std::string minuscola;
            size_t hash = 0;
        };
        // Lowers a name and asks for its place in perParola ahead.
        void prepara(std::string_view nome, Parola& parola) const;
        // The number of a prepared name in parole, which holds it from now on.
        uint32_t numeroDi(const Parola& parola);
    };

    static Riga rigaDi(const RowView& row);
    void segui(Connection& connection, bool forza);
    void leggiTutto(Connection& connection);
    // Reads every contact into dati_, which holds none yet and has room for `quanti`.
    void leggiNuovo(Connection& connection, size_t quanti);
    Voce aggiungi(const Riga& riga);
    bool uguale(Voce voce, const Riga& riga) const;
    std::string_view vista(Voce voce) const;
    bool precede(Voce a, Voce b) const;
    // Every contact in list order: each distinct name sorted once, by its collation key,
    // on every core; equal names in their keys' order.
    std::vector<Voce> ordinaTutto() const;
    // Puts `nuove` in their places among ordine_, which no longer holds `via`.
    void inserisci(std::vector<Voce> nuove, const std::vector<bool>& via);

    // The numbers and e-mail of a row as they are held.
    static void recapitiDi(const Riga& riga, std::string& telefoni, std::string& email);
    std::vector<Voce> cercaCognome(const RicercaRapida& ricerca, const std::vector<Voce>& candidate) const;
    std::vector<Voce> cercaNomeCompleto(const RicercaRapida& ricerca, const std::vector<Voce>& candidate) const;
    // The texts of `colonna` like the search, one bit each.
    TextColumn::Bits simili(const TextColumn& colonna, const RicercaRapida& ricerca) const;

    static constexpr uint32_t kSenzaCognome = UINT32_MAX;  // a Null surname

    Dati dati_;
    std::vector<Voce> ordine_;                        // present contacts in list order
    std::vector<std::pair<qint64, Voce>> perChiave_;  // present contacts by key
    CursoreGiornale cursore_;                         // what of the journal was seen
    bool letto_ = false;
    quint64 versione_ = 0;
    ItalianOrder italiano_;
};

}  // namespace brenzola
