#pragma once

#include "store/connection.h"

#include <QLocale>
#include <QString>
#include <QVariant>

#include <memory>

namespace brenzola::Funzioni {

// The parts of the current register (Registro::corrente()) the windows and reports share:
// the one connection to the contact store and the string it was opened with, the condition
// of the list query between its FROM and its ORDER BY (" " lists every contact), and the
// list's entry count at the last list print, for the list report's total.
Connection* Connessione();
QString& StringaConnessione();
QString& Filtro();
double& TotaleElenco();

inline constexpr char kNomeArchivio[] = "Brenzola.mdb";
// Dates are turned into text this way for statements and stored text, whatever the language.
inline constexpr char kFormatoData[] = "dd/MM/yyyy";
// The objectName of the translations the program installs (ApplicaImpostazioniLingua).
inline constexpr char kTraduzione[] = "brenzola_traduzione";
// The locale the interface writes numbers and dates in: the English one the program chose
// (its translation installed, and QLocale::setDefault), Italian otherwise, whatever the
// system's locale: the command-line tools choose no language and stay Italian.
QLocale LocaleMostrata();
// How the interface shows dates and reads typed ones: day first, as kFormatoData, unless
// the chosen English puts the month first (American English: MM/dd/yyyy).
QString FormatoDataMostrata();

// The store file in a folder.
QString PercorsoArchivio(const QString& cartella);
// A store beside the executable: a portable copy of the program uses it when it is there.
QString ArchivioAccantoAlProgramma();
// The user's own store, in their data folder (~/.local/share/Brenzola).
QString ArchivioPersonale();
// The user's settings file, ~/.config/Brenzola/brenzola.conf.
QString FileImpostazioni();

// A store is named by its file or by a connection string ("Provider=...;..."); this
// gives the connection string for either.
QString StringaConnessionePer(const QString& archivio);
// True when `archivio` names a store on a server.
bool SulServer(const QString& archivio);
// How a store is named to the user: its file, or "utente@server/database".
QString NomeArchivio(const QString& archivio);

// Opens Connessione on the store `archivio` (a file, never created, or a connection string).
// `password` is one the user has just typed for a server, kept for this connection only.
void ApriDatabase(const QString& archivio, const QString& password = {});
void ChiudiDatabase();

QVariant ValoreNonNullo(const QVariant& Valore, const QVariant& Predefinito);
// "dd/MM/yyyy" -> "MM/dd/yyyy", the order of the store's #date# literals.
QString FormattaDataSql(const QString& data);
// A value as text the regional way: a date as dd/MM/yyyy, anything else as it converts.
QString ComeTesto(const QVariant& valore);
// Text for inside an apostrophe-quoted literal: each apostrophe written twice.
QString RaddoppiaApici(QString testo);

}  // namespace brenzola::Funzioni
