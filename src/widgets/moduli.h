#pragma once

class QApplication;
class QWidget;

// The helpers of module Funzioni that work on windows; the others are the store's.
namespace brenzola::Funzioni {

// Empties every input field of a window.
void PulisciCampi(QWidget* finestra);

// Italian regional settings and Qt's Italian texts ("Sì", "No") for the whole program,
// the program's name and version, and the stand-ins for fonts Linux lacks (RegistraCaratteri).
void ApplicaImpostazioniItaliane(QApplication& application);

}  // namespace brenzola::Funzioni
