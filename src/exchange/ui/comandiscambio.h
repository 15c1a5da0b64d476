#pragma once

#include <QString>

class QWidget;

namespace brenzola {

class Connection;
class Dialogs;

// The commands the main window offers for contacts coming in and going out. Each asks the
// user what it needs through `dialogs`, shows what it did, and shows any failure with its
// number and description; the store is changed only whole.

// Asks for a vCard or CSV file and imports its contacts. True when the store changed.
bool ImportaDaFile(Dialogs& dialogs, QWidget* parent, Connection& connection);
// Asks where and in which format, and writes the contacts the list condition `filtro`
// selects; `nome` is the file name suggested, without its extension.
void EsportaInFile(Dialogs& dialogs, QWidget* parent, Connection& connection, const QString& filtro, const QString& nome);
// Finds the contacts of the register that are the same person and merges those the user
// agrees to. True when the store changed.
bool UnisciDoppioni(Dialogs& dialogs, QWidget* parent, Connection& connection);

}  // namespace brenzola
