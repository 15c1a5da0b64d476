#pragma once

#include <QString>
#include <QUrl>

namespace brenzola {

// How a desk keeps a store in step with an address book: kept in the program's settings,
// per store, never in the store itself. The password is not here: the keyring keeps it.
struct ImpostazioniSincronizzazione {
    QUrl server;  // as the user typed it
    QString utente;
    QUrl rubrica;  // the address book chosen; empty: no synchronisation
    QString nomeRubrica;
    bool allAvvio = true;
    int ogniMinuti = 15;  // 0: never on its own
    bool dopoSalvataggio = true;
    // A store on a server is synchronised by one desk for the whole office (or by the
    // command-line tool on a timer): whether this desk is that one.
    bool questaScrivania = false;

    // Whether this desk synchronises the store at all.
    bool attiva(bool archivioSuServer) const { return !rubrica.isEmpty() && (questaScrivania || !archivioSuServer); }

    static ImpostazioniSincronizzazione leggi(const QString& stringaConnessione);
    void salva(const QString& stringaConnessione) const;
};

}  // namespace brenzola
