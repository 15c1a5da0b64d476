#include "exchange/ui/frmimportacsv.h"

#include "store/storeerror.h"
#include "widgets/accessibility.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace brenzola {
namespace {

constexpr int kRigheAnteprima = 20;
const Codifica kCodifiche[] = {Codifica::Utf8, Codifica::Utf16LE, Codifica::Utf16BE, Codifica::Windows1252};
const std::pair<QChar, const char*> kSeparatori[] = {
    {u';', QT_TRANSLATE_NOOP("brenzola::FrmImportaCsv", "Punto e virgola ( ; )")},
    {u',', QT_TRANSLATE_NOOP("brenzola::FrmImportaCsv", "Virgola ( , )")},
    {u'\t', QT_TRANSLATE_NOOP("brenzola::FrmImportaCsv", "Tabulazione")},
    {u'|', QT_TRANSLATE_NOOP("brenzola::FrmImportaCsv", "Barra verticale ( | )")}};

}  // namespace

FrmImportaCsv::FrmImportaCsv(const QByteArray& dati, const QString& file, QWidget* parent) : QDialog(parent), dati_(dati)
{
    setObjectName(QStringLiteral("FrmImportaCsv"));
    setWindowTitle(tr("Importa contatti da «%1»").arg(QFileInfo(file).fileName()));
    auto* layout = new QVBoxLayout(this);
    auto* scelte = new QFormLayout;
    layout->addLayout(scelte);

    const FormatoCsv trovato = rilevaFormatoCsv(dati);
    CboCodifica = new QComboBox(this);
    CboCodifica->setObjectName(QStringLiteral("CboCodifica"));
    for (Codifica codifica : kCodifiche) {
        CboCodifica->addItem(nomeCodifica(codifica), int(codifica));
        if (codifica == trovato.codifica) CboCodifica->setCurrentIndex(CboCodifica->count() - 1);
    }
    scelte->addRow(tr("Codifica dei caratteri:"), CboCodifica);
    CboCodifica->setAccessibleDescription(tr("Come sono scritti i caratteri del file; cambiandola, l'anteprima si rilegge"));
    CboSeparatore = new QComboBox(this);
    CboSeparatore->setObjectName(QStringLiteral("CboSeparatore"));
    for (const auto& [separatore, nome] : kSeparatori) {
        CboSeparatore->addItem(tr(nome), separatore);
        if (separatore == trovato.separatore) CboSeparatore->setCurrentIndex(CboSeparatore->count() - 1);
    }
    scelte->addRow(tr("Separatore dei campi:"), CboSeparatore);
    CboSeparatore->setAccessibleDescription(tr("Il carattere che separa i campi di ogni riga del file"));

    auto* etichettaAnteprima =
        new QLabel(tr("Per ogni colonna, il campo in cui va (le prime %1 righe del file):").arg(kRigheAnteprima), this);
    layout->addWidget(etichettaAnteprima);
    GrigliaAnteprima = new QTableWidget(this);
    etichettaAnteprima->setBuddy(GrigliaAnteprima);
    GrigliaAnteprima->setAccessibleDescription(
        tr("La prima riga sceglie il campo di ogni colonna; le altre mostrano le prime righe del file"));
    GrigliaAnteprima->setObjectName(QStringLiteral("GrigliaAnteprima"));
    GrigliaAnteprima->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GrigliaAnteprima->setMinimumSize(720, 320);
    layout->addWidget(GrigliaAnteprima);
    LblErrore = new QLabel(this);
    LblErrore->setObjectName(QStringLiteral("LblErrore"));
    LblErrore->setWordWrap(true);
    LblErrore->setStyleSheet(QStringLiteral("color: #b00020"));
    layout->addWidget(LblErrore);

    auto* pulsanti = new QDialogButtonBox(this);
    CmdImporta = pulsanti->addButton(tr("Importa"), QDialogButtonBox::AcceptRole);
    CmdImporta->setObjectName(QStringLiteral("CmdImporta"));
    CmdAnnulla = pulsanti->addButton(tr("Annulla"), QDialogButtonBox::RejectRole);
    CmdAnnulla->setObjectName(QStringLiteral("CmdAnnulla"));
    layout->addWidget(pulsanti);
    connect(pulsanti, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(CboCodifica, &QComboBox::currentIndexChanged, this, &FrmImportaCsv::rileggi);
    connect(CboSeparatore, &QComboBox::currentIndexChanged, this, &FrmImportaCsv::rileggi);
    rileggi();
    nameForScreenReaders(this);
}

FormatoCsv FrmImportaCsv::formato() const
{
    return {Codifica(CboCodifica->currentData().toInt()), CboSeparatore->currentData().toChar()};
}

MappaCsv FrmImportaCsv::mappa() const
{
    MappaCsv scelta = *indovinata_;
    for (size_t c = 0; c < colonne_.size(); ++c) {
        const int indice = colonne_[c]->currentIndex();
        const std::optional<Campo> campo = indice > 0 ? std::optional<Campo>(Campo(indice - 1)) : std::nullopt;
        if (campo != scelta.campo(qsizetype(c))) scelta.assegna(qsizetype(c), campo);
    }
    return scelta;
}

OpzioniCsv FrmImportaCsv::opzioni() const
{
    const FormatoCsv scelto = formato();
    std::vector<std::pair<qsizetype, std::optional<Campo>>> cambiate;
    const MappaCsv scelta = mappa();
    for (qsizetype c = 0; c < scelta.colonne(); ++c)
        if (scelta.campo(c) != indovinata_->campo(c)) cambiate.emplace_back(c, scelta.campo(c));
    return {scelto.codifica, scelto.separatore, [cambiate](MappaCsv& m) {
                for (const auto& [colonna, campo] : cambiate) m.assegna(colonna, campo);
            }};
}

void FrmImportaCsv::rileggi()
{
    GrigliaAnteprima->clear();
    colonne_.clear();
    LblErrore->clear();
    TabellaCsv tabella;
    try {
        tabella = leggiCsv(dati_, formato(), kRigheOsservate);
    } catch (...) {
        const StoreError errore = ErroreCorrente();
        LblErrore->setText(tr("Errore %1: %2").arg(errore.number()).arg(errore.description()));
    }
    indovinata_ = mappaIndovinata(tabella, formato().separatore == u';');
    const qsizetype colonne = tabella.intestazioni.size();
    const int righeMostrate = std::min(int(tabella.righe.size()), kRigheAnteprima);
    GrigliaAnteprima->setColumnCount(int(colonne));
    GrigliaAnteprima->setRowCount(righeMostrate + 1);
    GrigliaAnteprima->setHorizontalHeaderLabels(tabella.intestazioni);
    QStringList righe{tr("Campo")};
    for (int r = 0; r < righeMostrate; ++r) righe << QString::number(tabella.righe[size_t(r)].riga);
    GrigliaAnteprima->setVerticalHeaderLabels(righe);
    for (int c = 0; c < int(colonne); ++c) {
        auto* campo = new QComboBox(GrigliaAnteprima);
        campo->setObjectName(QStringLiteral("CboColonna%1").arg(c));
        campo->setAccessibleName(tr("Colonna «%1»").arg(tabella.intestazioni.value(c)));
        campo->setAccessibleDescription(
            tr("Il campo in cui va la colonna «%1»; «(nei commenti)» la mette nei commenti").arg(tabella.intestazioni.value(c)));
        campo->addItem(tr("(nei commenti)"));
        for (const DescrizioneCampo& d : campi()) campo->addItem(etichettaMostrata(d));
        if (const std::optional<Campo> indovinato = indovinata_->campo(c)) campo->setCurrentIndex(int(*indovinato) + 1);
        connect(campo, &QComboBox::currentIndexChanged, this, &FrmImportaCsv::aggiornaImporta);
        GrigliaAnteprima->setCellWidget(0, c, campo);
        colonne_.push_back(campo);
        for (int r = 0; r < righeMostrate; ++r)
            GrigliaAnteprima->setItem(r + 1, c, new QTableWidgetItem(tabella.righe[size_t(r)].campi.value(c)));
    }
    GrigliaAnteprima->resizeColumnsToContents();
    aggiornaImporta();
}

void FrmImportaCsv::aggiornaImporta()
{
    // Nothing to import until some column goes into a field.
    CmdImporta->setEnabled(LblErrore->text().isEmpty() && std::any_of(colonne_.begin(), colonne_.end(), [](const QComboBox* c) {
                               return c->currentIndex() > 0;
                           }));
}

}  // namespace brenzola
