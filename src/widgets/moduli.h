#pragma once

#include <QStringList>

class QApplication;
class QWidget;

// The helpers of module Funzioni that work on windows; the others are the store's.
namespace brenzola::Funzioni {

// Empties every input field of a window.
void PulisciCampi(QWidget* finestra);

// Italian regional settings and Qt's Italian texts ("Sì", "No") for the whole program,
// the program's name and version, and the stand-ins for fonts Linux lacks (RegistraCaratteri).
void ApplicaImpostazioniItaliane(QApplication& application);

// The English the user's languages (most wanted first, as QLocale::uiLanguages gives them)
// name before any Italian, such as "en-GB"; empty when Italian comes first or neither is there.
QString IngleseVoluto(const QStringList& lingueUtente);

// The interface in the language the system asks for: English (its texts, and its dates and
// numbers in that English) when IngleseVoluto finds one, else ApplicaImpostazioniItaliane.
// Applying it again replaces the language applied before.
void ApplicaImpostazioniLingua(QApplication& application, const QStringList& lingueUtente);

}  // namespace brenzola::Funzioni
