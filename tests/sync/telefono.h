#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <QUrl>

// A phone, as far as the register can tell: Debian's vdirsyncer, an independent CardDAV
// client, keeping one address book in step with a folder of .vcf files that the test
// reads and edits as a user would on the phone.
class Telefono {
public:
    Telefono(const QUrl& rubrica, const QString& utente, const QString& password);
    // Runs one synchronisation both ways; false when vdirsyncer failed (its output on stderr).
    bool sincronizza();
    QDir cartella() const { return QDir(folder_.filePath(QStringLiteral("vcf"))); }
    // The cards in the folder, by file name.
    QMap<QString, QByteArray> schede() const;

private:
    QTemporaryDir folder_;
};
