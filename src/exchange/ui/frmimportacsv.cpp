#include "exchange/ui/frmimportacsv.h"

#include "store/storeerror.h"

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
    CboSeparatore = new QComboBox(this);
    CboSeparatore->setObjectName(QStringLiteral("CboSeparatore"));
    for (const auto& [separatore, nome] : kSeparatori) {
        CboSeparatore->addItem(tr(nome), separatore);
        if (separatore == trovato.separatore) CboSeparatore->setCurrentIndex(CboSeparatore->count() - 1);
    }
    scelte->addRow(tr("Separatore dei campi:"), CboSeparatore);

    layout->addWidget(
        new QLabel(tr("Per ogni colonna, il campo in cui va (le prime %1 righe del file):").arg(kRigheAnteprima), this));
    GrigliaAnteprima = new QTableWidget(this);
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
}

FormatoCsv FrmImportaCsv::formato() const
{
    return {Codifica(CboCodifica->currentData().toInt()), CboSeparatore->currentData().toChar()};
}

Colonne FrmImportaCsv::colonne() const
{
    Colonne scelte;
    for (const QComboBox* colonna : colonne_)
        scelte.push_back(colonna->currentIndex() > 0 ? std::optional<Campo>(Campo(colonna->currentIndex() - 1)) : std::nullopt);
    return scelte;
}

void FrmImportaCsv::rileggi()
{
    GrigliaAnteprima->clear();
    colonne_.clear();
    LblErrore->clear();
    TabellaCsv tabella;
    try {
        tabella = leggiCsv(dati_, formato(), kRigheAnteprima);
    } catch (...) {
        const StoreError errore = ErroreCorrente();
        LblErrore->setText(tr("Errore %1: %2").arg(errore.number()).arg(errore.description()));
    }
    const qsizetype colonne = tabella.intestazioni.size();
    GrigliaAnteprima->setColumnCount(int(colonne));
    GrigliaAnteprima->setRowCount(int(tabella.righe.size()) + 1);
    GrigliaAnteprima->setHorizontalHeaderLabels(tabella.intestazioni);
    QStringList righe{tr("Campo")};
    for (const RigaCsv& riga : tabella.righe) righe << QString::number(riga.riga);
    GrigliaAnteprima->setVerticalHeaderLabels(righe);
    const Colonne indovinate = indovinaColonne(tabella.intestazioni);
    for (int c = 0; c < int(colonne); ++c) {
        auto* campo = new QComboBox(GrigliaAnteprima);
        campo->setObjectName(QStringLiteral("CboColonna%1").arg(c));
        campo->addItem(tr("(non importare)"));
        for (const DescrizioneCampo& d : campi()) campo->addItem(etichettaMostrata(d));
        if (indovinate[size_t(c)]) campo->setCurrentIndex(int(*indovinate[size_t(c)]) + 1);
        connect(campo, &QComboBox::currentIndexChanged, this, &FrmImportaCsv::aggiornaImporta);
        GrigliaAnteprima->setCellWidget(0, c, campo);
        colonne_.push_back(campo);
        for (int r = 0; r < int(tabella.righe.size()); ++r)
            GrigliaAnteprima->setItem(r + 1, c, new QTableWidgetItem(tabella.righe[size_t(r)].campi.value(c)));
    }
    GrigliaAnteprima->resizeColumnsToContents();
    aggiornaImporta();
}

void FrmImportaCsv::aggiornaImporta()
{
    // Nothing to import until some column goes into a field.
    const Colonne scelte = colonne();
    CmdImporta->setEnabled(LblErrore->text().isEmpty()
                           && std::any_of(scelte.begin(), scelte.end(), [](const auto& c) { return c.has_value(); }));
}

}  // namespace brenzola
