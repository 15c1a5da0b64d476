#include "sync/ui/frmsincronizzazione.h"

#include "store/storeerror.h"
#include "widgets/accessibility.h"
#include "widgets/dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace brenzola {

FrmSincronizzazione::FrmSincronizzazione(Dialogs& dialogs, const ImpostazioniSincronizzazione& impostazioni,
                                         const QString& password, bool archivioSuServer, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      impostazioni_(impostazioni)
{
    setObjectName(QStringLiteral("FrmSincronizzazione"));
    setWindowTitle(tr("Sincronizzazione"));
    auto* form = new QFormLayout(this);
    const auto campo = [this](const char* nome, const QString& testo) {
        auto* t = new QLineEdit(testo, this);
        t->setObjectName(QLatin1String(nome));
        return t;
    };
    TxtServer = campo("TxtServer", impostazioni.server.toString());
    TxtServer->setPlaceholderText(QStringLiteral("https://cloud.esempio.it"));
    TxtUtente = campo("TxtUtente", impostazioni.utente);
    TxtPassword = campo("TxtPassword", password);
    TxtPassword->setEchoMode(QLineEdit::Password);
    form->addRow(tr("&Indirizzo del server:"), TxtServer);
    form->addRow(tr("&Utente:"), TxtUtente);
    form->addRow(tr("&Password:"), TxtPassword);

    CmdCerca = new QPushButton(tr("&Cerca le rubriche"), this);
    CmdCerca->setObjectName(QStringLiteral("CmdCerca"));
    CboRubrica = new QComboBox(this);
    CboRubrica->setObjectName(QStringLiteral("CboRubrica"));
    auto* rigaRubrica = new QHBoxLayout;
    rigaRubrica->addWidget(CboRubrica, 1);
    rigaRubrica->addWidget(CmdCerca);
    // A row holding two controls: its label names the first, for the mnemonic and screen readers.
    const auto etichetta = [this](const QString& testo, QWidget* per) {
        auto* l = new QLabel(testo, this);
        l->setBuddy(per);
        return l;
    };
    form->addRow(etichetta(tr("&Rubrica:"), CboRubrica), rigaRubrica);
    if (!impostazioni.rubrica.isEmpty()) {
        rubriche_.push_back({impostazioni.rubrica, impostazioni.nomeRubrica, {}});
        mostraRubriche(impostazioni.rubrica);
    }
    TxtNuovaRubrica = campo("TxtNuovaRubrica", QString());
    TxtNuovaRubrica->setPlaceholderText(tr("Contatti dell'ufficio"));
    CmdCrea = new QPushButton(tr("Cr&ea"), this);
    CmdCrea->setObjectName(QStringLiteral("CmdCrea"));
    auto* rigaNuova = new QHBoxLayout;
    rigaNuova->addWidget(TxtNuovaRubrica, 1);
    rigaNuova->addWidget(CmdCrea);
    form->addRow(etichetta(tr("&Nuova rubrica:"), TxtNuovaRubrica), rigaNuova);

    ChkAvvio = new QCheckBox(tr("Sincronizza all'&avvio"), this);
    ChkAvvio->setObjectName(QStringLiteral("ChkAvvio"));
    ChkAvvio->setChecked(impostazioni.allAvvio);
    form->addRow(ChkAvvio);
    SpnMinuti = new QSpinBox(this);
    SpnMinuti->setObjectName(QStringLiteral("SpnMinuti"));
    SpnMinuti->setRange(0, 24 * 60);
    SpnMinuti->setSpecialValueText(tr("mai"));
    SpnMinuti->setSuffix(tr(" minuti"));
    SpnMinuti->setValue(impostazioni.ogniMinuti);
    form->addRow(tr("&Ogni:"), SpnMinuti);
    ChkDopoSalvataggio = new QCheckBox(tr("Poco dopo ogni &salvataggio"), this);
    ChkDopoSalvataggio->setObjectName(QStringLiteral("ChkDopoSalvataggio"));
    ChkDopoSalvataggio->setChecked(impostazioni.dopoSalvataggio);
    form->addRow(ChkDopoSalvataggio);
    // On a server, one desk (or the tool on a timer) does it for the whole office.
    ChkQuestaScrivania = new QCheckBox(tr("&Questa scrivania sincronizza per tutto l'ufficio"), this);
    ChkQuestaScrivania->setObjectName(QStringLiteral("ChkQuestaScrivania"));
    ChkQuestaScrivania->setChecked(impostazioni.questaScrivania);
    ChkQuestaScrivania->setVisible(archivioSuServer);
    form->addRow(ChkQuestaScrivania);

    auto* pulsanti = new QDialogButtonBox(this);
    CmdSalva = pulsanti->addButton(tr("Salva"), QDialogButtonBox::AcceptRole);
    CmdSalva->setObjectName(QStringLiteral("CmdSalva"));
    QPushButton* annulla = pulsanti->addButton(tr("Annulla"), QDialogButtonBox::RejectRole);
    annulla->setObjectName(QStringLiteral("CmdAnnulla"));
    form->addRow(pulsanti);
    connect(CmdCerca, &QPushButton::clicked, this, [this] { CmdCerca_Click(); });
    connect(CmdCrea, &QPushButton::clicked, this, [this] { CmdCrea_Click(); });
    connect(pulsanti, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QLineEdit* t : {TxtServer, TxtUtente, TxtPassword, TxtNuovaRubrica})
        connect(t, &QLineEdit::textChanged, this, &FrmSincronizzazione::aggiornaPulsanti);
    aggiornaPulsanti();
    setMinimumWidth(520);
    nameForScreenReaders(this);
}

CardDavClient::Settings FrmSincronizzazione::server() const
{
    CardDavClient::Settings s;
    s.server = QUrl::fromUserInput(TxtServer->text().trimmed());
    s.user = TxtUtente->text().trimmed();
    s.password = TxtPassword->text();
    return s;
}

void FrmSincronizzazione::aggiornaPulsanti()
{
    const bool server = !TxtServer->text().trimmed().isEmpty() && !TxtUtente->text().trimmed().isEmpty();
    CmdCerca->setEnabled(server);
    CmdCrea->setEnabled(server && !TxtNuovaRubrica->text().trimmed().isEmpty());
}

void FrmSincronizzazione::mostraRubriche(const QUrl& scelta)
{
    CboRubrica->clear();
    for (const CardDavClient::AddressBook& r : rubriche_) {
        CboRubrica->addItem(QStringLiteral("%1 (%2)").arg(r.name, r.url.path()), r.url);
        if (r.url == scelta) CboRubrica->setCurrentIndex(CboRubrica->count() - 1);
    }
}

bool FrmSincronizzazione::CmdCerca_Click()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        CardDavClient client(server());
        rubriche_ = client.addressBooks();
        QApplication::restoreOverrideCursor();
    } catch (...) {
        QApplication::restoreOverrideCursor();
        MostraErrore(dialogs_, this, tr("Le rubriche del server non si sono potute leggere."));
        return false;
    }
    mostraRubriche(CboRubrica->currentData().toUrl());
    if (rubriche_.empty())
        dialogs_.MsgBox(
            this,
            {tr("Il server non ha ancora rubriche per l'utente «%1»: crearne una con «Crea».").arg(TxtUtente->text().trimmed()),
             MsgButtons::Ok, MsgIcon::Information});
    return true;
}

void FrmSincronizzazione::CmdCrea_Click()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        CardDavClient client(server());
        const CardDavClient::AddressBook nuova = client.createAddressBook(TxtNuovaRubrica->text().trimmed());
        QApplication::restoreOverrideCursor();
        rubriche_.push_back(nuova);
        mostraRubriche(nuova.url);
        TxtNuovaRubrica->clear();
    } catch (...) {
        QApplication::restoreOverrideCursor();
        MostraErrore(dialogs_, this, tr("La rubrica non si è potuta creare."));
    }
}

ImpostazioniSincronizzazione FrmSincronizzazione::impostazioni() const
{
    ImpostazioniSincronizzazione i = impostazioni_;
    i.server = QUrl::fromUserInput(TxtServer->text().trimmed());
    i.utente = TxtUtente->text().trimmed();
    i.rubrica = CboRubrica->currentData().toUrl();
    i.nomeRubrica.clear();
    for (const CardDavClient::AddressBook& r : rubriche_)
        if (r.url == i.rubrica) i.nomeRubrica = r.name;
    i.allAvvio = ChkAvvio->isChecked();
    i.ogniMinuti = SpnMinuti->value();
    i.dopoSalvataggio = ChkDopoSalvataggio->isChecked();
    i.questaScrivania = ChkQuestaScrivania->isChecked();
    return i;
}

QString FrmSincronizzazione::password() const { return TxtPassword->text(); }

}  // namespace brenzola
