#pragma once

#include "dialogs.h"
#include "funzioni.h"
#include "recordset.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QFrame;

namespace brenzola {

class StoreError;

// The main window: the contact list with its quick search.
class FrmBrenzola : public QWidget {
    Q_OBJECT

public:
    explicit FrmBrenzola(Dialogs& dialogs = Dialogs::platform(), QWidget* parent = nullptr);
    ~FrmBrenzola() override;

    // Opens the store beside the executable (or in `cartella`) and lists every contact.
    // Returns false when the store cannot be used; the reason has been shown.
    bool Form_Load(const QString& cartella = Funzioni::CartellaEseguibile());
    void Form_Unload();

    void RiempiLista();
    void ElencaTutti();
    void CmdCerca_Click();
    void TxtRicerca_Change();
    void AzzeraRicerca();
    void CmdEsci_Click();

    // The one query behind every refill of the list.
    static QString QueryLista();

    std::unique_ptr<Recordset> RsLista;
    int IdCorrente = 0;
    int AggiornaAnagrafica = 0;  // -1 true, 0 false

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLeftPanel();
    // Runs an event handler; a store failure is shown and the window goes on.
    template <typename Handler> void handle(Handler&& handler);
    void showError(const StoreError& error, const QString& context = {});

    Dialogs& dialogs_;
    QFrame* frameElenco_;
    QLabel* Label6;
    QPushButton* CmdCerca;
    QLineEdit* TxtRicerca;
    QLabel* Label17;
    QLabel* LblNum;
    QListWidget* List1;
    QPushButton* CmdEsci;
};

}  // namespace brenzola
