#pragma once

#include "store/connection.h"

#include <QString>
#include <QVariant>

#include <optional>

class QSqlDatabase;

namespace brenzola {

// Every contact's identity for other address books (vCard UID). A contact that came from
// another address book keeps that one in Anagrafica.Uid; the others, whoever added them,
// have one made of the register's own identity and their key, without anything written.
// The register's identity is a random UUID kept in the table Identita_Registro.

// Gives a register the column Uid and its own identity when it lacks them. On a store with
// a journal the journal keeps the column too (the caller reinstalls its triggers).
void PreparaIdentita(const QSqlDatabase& db, Engine engine);
// Whether the store's Anagrafica has the column Uid.
bool HaIdentita(Connection& connection);

// The contact's UID: the stored one, else the register's, made from its key. Empty when
// the register has no identity (a store that could not be given one).
QString UidContatto(const QString& registro, qint64 id, const QVariant& memorizzato);
// The key a UID made by UidContatto stands for, when it is this register's.
std::optional<qint64> IdDaUid(const QString& registro, const QString& uid);
// A new random UUID, lower case with hyphens.
QString NuovoUuid();

}  // namespace brenzola
