#pragma once

#include "store/indicenomi.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

class QLabel;
class QTimer;

namespace brenzola {

class ElencoNomi;
class Recordset;
class Registro;

// What the main window's list shows, with its count: every contact, a quick search's or an
// advanced search's. It narrows from the register's names index, and follows the store:
// other desks' changes are listed as they arrive, where the user was.
class ElencoContatti : public QObject {
    Q_OBJECT

public:
    ElencoContatti(Registro& registro, ElencoNomi* lista, QLabel* conteggio, QObject* parent);

    // The one query behind every refill of the list.
    static QString query(const QString& Filtro);

    // Every contact; the register's filter lists every contact.
    void tutti();
    // The contacts the quick search finds for `testo`; the register's filter says so.
    void rapida(const QString& testo);
    // The contacts of an advanced search, in the order of `rs` (read from its current row).
    void avanzata(Recordset& rs);
    // After this program wrote: the index takes what the journal says changed.
    void segui();
    // From now on other desks' changes to the open store show as they happen.
    void seguiAltri();
    // Lists again what it lists, with the changes of other desks (or of a command that
    // changed contacts in bulk), scrolled where it was and on the same entry.
    void rileggi();
    // Selects the entry of that contact, or none, without choosing it.
    void mostra(qint64 chiave);

Q_SIGNALS:
    // Another desk changed contacts on a server; several changes arriving together signal once.
    void cambiatoAltrove();

private:
    enum class Elenco { Tutti, Rapida, Avanzata };
    void mostraVoci(std::vector<IndiceNomi::Voce> voci);
    // The quick search among the names index, narrowing what is listed when it can.
    std::vector<IndiceNomi::Voce> cercaRapida(const RicercaRapida& ricerca);

    Registro& registro_;
    ElencoNomi* lista_;
    QLabel* conteggio_;
    QTimer* aggiorna_;
    std::vector<qint64> cambiatiAltrove_;  // announced by other desks, not yet listed; 0: unknown
    Elenco elenco_ = Elenco::Tutti;
    std::optional<RicercaRapida> rapida_;  // the quick search listed, when elenco_ is Rapida
    quint64 versioneRapida_ = 0;           // the index's version when it was listed
};

}  // namespace brenzola
