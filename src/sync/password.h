#pragma once

#include <QString>
#include <QUrl>

namespace brenzola {

// Where a CardDAV password comes from: never a file of the program. The desktop's keyring
// (Secret Service or KWallet) keeps it under the server and the user; for unattended runs
// a file of the user's own may hold it, refused unless only its owner can read it. A
// password that cannot be had is a StoreError saying why and what to do.
QString PasswordDalPortachiavi(const QUrl& server, const QString& utente);
QString PasswordDaFile(const QString& file);
// Keeps the password in the keyring; a StoreError says why it cannot (no keyring running).
void SalvaNelPortachiavi(const QUrl& server, const QString& utente, const QString& password);

}  // namespace brenzola
