#pragma once

#include "access/accessconversion.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace brenzola {

class Dialogs;

// Runs the program: the splash, then the main window until it closes. `argomenti` is the
// command line (the program's name first). Returns the exit status: 0, 1 when the store
// could not be used, 2 for a command line it cannot read.
int AvviaProgramma(Dialogs& dialogs, const QStringList& argomenti);

// Called before the program opens its store `archivio`: when that file is an Access
// database, asks the user whether to convert it and does so. Returns true when the program
// may go on opening its store; false when the user declined or the conversion failed
// (nothing on disk has changed then, and the program should end).
bool PreparaArchivioAccess(Dialogs& dialogs, QWidget* parent, const QString& archivio, const ConversionOptions& options = {});

// The store the program opens when none is named on the command line, in this order: a
// store beside the executable (a portable copy) that this user can read; the store named
// in the settings file (`archivio=`, the one the user opened last time or a server's
// connection string); the user's own store in their data folder. The file need not exist.
QString ArchivioDaUsare();

// A store that opened: the next start opens it again (the user's own store and the one
// beside the program need no remembering).
void RicordaArchivio(const QString& archivio);

// No store where one was expected, or one that cannot be opened (`problema` says why):
// the user creates a new empty one in their data folder, opens an existing file, or
// leaves. Nothing is created without that choice, and nothing is remembered until the
// store opened. Returns the store to open, or an empty text when the user chose to leave.
QString PrimoAvvio(Dialogs& dialogs, const QString& mancante, const QString& problema = {});

}  // namespace brenzola
