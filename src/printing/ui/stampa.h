#pragma once

#include "printing/stampe.h"

class QWidget;

namespace brenzola {

class Dialogs;

// The paper of the system's default printer; A4 when no printer is installed.
PaperSize currentPaper();

// Shows laid-out pages in the modal preview; returns when it has been closed.
void showReport(ReportPages pages, Dialogs& dialogs, QWidget* parent);
void showReport(ReportDocument document, Dialogs& dialogs, QWidget* parent);

// Previews the list entries with their total; the caller has stored the entry count in
// Funzioni::TotaleElenco() first. The layout shows its progress, and the user may stop it:
// then no preview opens.
void StampaRS(const QStringList& vociLista, Dialogs& dialogs, QWidget* parent);
// Previews one card per row of Sql, run on Funzioni::Connessione(), laid out as the list is.
// A failing query throws StoreError before any window opens.
void StampaRS_Scheda(const QString& Sql, Dialogs& dialogs, QWidget* parent);

}  // namespace brenzola
