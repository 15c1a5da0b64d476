#pragma once

#include <QtGlobal>

class QWidget;

namespace brenzola {

class Connection;
class Dialogs;

// Undoes operation `numero` for the user. When contacts it changed have changed again
// since, it names them and asks whether to undo the rest or nothing; then it says what was
// done. A failure is shown. True when contacts changed.
bool AnnullaOperazione(Dialogs& dialogs, QWidget* parent, Connection& connessione, qint64 numero);

}  // namespace brenzola
