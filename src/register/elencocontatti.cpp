#include "register/elencocontatti.h"

#include "register/elenconomi.h"
#include "store/funzioni.h"
#include "store/recordset.h"
#include "store/registro.h"

#include <QLabel>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace brenzola {

ElencoContatti::ElencoContatti(Registro& registro, ElencoNomi* lista, QLabel* conteggio, QObject* parent)
    : QObject(parent),
      registro_(registro),
      lista_(lista),
      conteggio_(conteggio),
      aggiorna_(new QTimer(this))
{
    aggiorna_->setSingleShot(true);
    aggiorna_->setInterval(0);
    connect(aggiorna_, &QTimer::timeout, this, &ElencoContatti::cambiatoAltrove);
}

QString ElencoContatti::query(const QString& Filtro)
{
    // The key rides along so that each entry loads its own contact, even among equal names.
    return QStringLiteral("Select Cognome & ' ' & Nome, id from Anagrafica ") + Filtro
           + QStringLiteral(" ORDER BY Cognome & ' ' & Nome");
}

void ElencoContatti::tutti()
{
    registro_.filtro = QStringLiteral(" ");
    registro_.indice.aggiorna(openConnection(registro_.connessione.get()));
    elenco_ = Elenco::Tutti;
    mostraVoci(registro_.indice.tutte());
}

void ElencoContatti::rapida(const QString& testo)
{
    const RicercaRapida ricerca(testo);
    registro_.filtro = ricerca.filtro();
    registro_.indice.aggiornaSeCambiato(openConnection(registro_.connessione.get()));
    mostraVoci(cercaRapida(ricerca));
}

void ElencoContatti::avanzata(Recordset& rs)
{
    // The store chose the contacts and their order; the names come from the index, which
    // is read again if it misses any of them.
    std::vector<qint64> chiavi;
    while (!rs.Eof()) {
        chiavi.push_back(rs.Fields(1).toLongLong());
        rs.MoveNext();
    }
    registro_.indice.aggiorna(*registro_.connessione);  // the names as stored now
    std::vector<IndiceNomi::Voce> voci;
    voci.reserve(chiavi.size());
    for (qint64 id : chiavi)
        if (const auto voce = registro_.indice.voceDi(id)) voci.push_back(*voce);  // else deleted meanwhile
    elenco_ = Elenco::Avanzata;
    mostraVoci(std::move(voci));
}

void ElencoContatti::segui() { registro_.indice.aggiorna(openConnection(registro_.connessione.get())); }

void ElencoContatti::seguiAltri()
{
    registro_.connessione->onOthersChange([this](qint64 id) {
        cambiatiAltrove_.push_back(id);
        aggiorna_->start();
    });
}

void ElencoContatti::rileggi()
{
    if (!registro_.connessione) return;
    const qint64 scelto = lista_->chiave(lista_->selectedRow());
    const int scorrimento = lista_->verticalScrollBar()->value();
    std::vector<qint64> cambiati;
    cambiati.swap(cambiatiAltrove_);
    Connection& connessione = *registro_.connessione;
    // The journal says what changed; a server without one names the contacts, when it can.
    if (connessione.hasJournal() || cambiati.empty() || std::find(cambiati.begin(), cambiati.end(), 0) != cambiati.end())
        registro_.indice.aggiorna(connessione);
    else
        registro_.indice.contattiCambiati(connessione, cambiati);
    switch (elenco_) {
    case Elenco::Tutti:
        mostraVoci(registro_.indice.tutte());
        break;
    case Elenco::Rapida:
        mostraVoci(cercaRapida(*rapida_));
        break;
    case Elenco::Avanzata: {
        Recordset rs;
        rs.Open(query(registro_.filtro), &connessione);
        avanzata(rs);
        break;
    }
    }
    lista_->verticalScrollBar()->setValue(scorrimento);
    if (scelto) mostra(scelto);
}

void ElencoContatti::mostra(qint64 chiave)
{
    const int selected = lista_->selectedRow();
    if (chiave != 0 && selected >= 0 && lista_->chiave(selected) == chiave && lista_->currentIndex().row() == selected) return;
    const QSignalBlocker quiet(lista_);
    const int row = chiave == 0 ? -1 : lista_->rigaDi(chiave);
    if (row < 0) {
        lista_->clearSelection();
        return;
    }
    lista_->setCurrentRow(row);
    lista_->scrollToRow(row);
}

void ElencoContatti::mostraVoci(std::vector<IndiceNomi::Voce> voci)
{
    const QSignalBlocker quiet(lista_);  // emptying the list chooses nothing
    lista_->mostra(std::move(voci));
    conteggio_->setText(QString::number(lista_->count()));
}

std::vector<IndiceNomi::Voce> ElencoContatti::cercaRapida(const RicercaRapida& ricerca)
{
    // Typing on narrows what the last search found, when that is sure to hold every match.
    const bool restringe =
        elenco_ == Elenco::Rapida && rapida_ && versioneRapida_ == registro_.indice.versione() && ricerca.restringe(*rapida_);
    std::vector<IndiceNomi::Voce> trovate = registro_.indice.cerca(ricerca, restringe ? &lista_->voci() : nullptr);
    elenco_ = Elenco::Rapida;
    rapida_ = ricerca;
    versioneRapida_ = registro_.indice.versione();
    return trovate;
}

}  // namespace brenzola
