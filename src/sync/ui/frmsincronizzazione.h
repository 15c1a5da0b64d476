#pragma once

#include "sync/carddav.h"
#include "sync/impostazioni.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace brenzola {

class Dialogs;

// Where and when the register is synchronised: the server's address and the user, the
// address book found there (or a new one), and when to synchronise on its own. Finding
// the address books checks the address, the certificate and the password at once.
class FrmSincronizzazione : public QDialog {
    Q_OBJECT

public:
    FrmSincronizzazione(Dialogs& dialogs, const ImpostazioniSincronizzazione& impostazioni, const QString& password,
                        bool archivioSuServer, QWidget* parent = nullptr);

    ImpostazioniSincronizzazione impostazioni() const;
    QString password() const;

    // Asks the server for the user's address books and lists them; false when it failed (said).
    bool CmdCerca_Click();
    // Makes a new address book with the name typed, and chooses it.
    void CmdCrea_Click();

private:
    CardDavClient::Settings server() const;
    void mostraRubriche(const QUrl& scelta);
    void aggiornaPulsanti();

    Dialogs& dialogs_;
    ImpostazioniSincronizzazione impostazioni_;
    std::vector<CardDavClient::AddressBook> rubriche_;
    QLineEdit* TxtServer;
    QLineEdit* TxtUtente;
    QLineEdit* TxtPassword;
    QPushButton* CmdCerca;
    QComboBox* CboRubrica;
    QLineEdit* TxtNuovaRubrica;
    QPushButton* CmdCrea;
    QCheckBox* ChkAvvio;
    QSpinBox* SpnMinuti;
    QCheckBox* ChkDopoSalvataggio;
    QCheckBox* ChkQuestaScrivania;
    QPushButton* CmdSalva;
};

}  // namespace brenzola
