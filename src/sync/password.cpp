#include "sync/password.h"

#include "store/storeerror.h"

#include <qt6keychain/keychain.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace brenzola {
namespace {

// The context of this file's texts, in a form lupdate reads.
struct Password {
    Q_DECLARE_TR_FUNCTIONS(brenzola::Password)
};

// One entry per server and user: "anna@cloud.example:443".
QString chiave(const QUrl& server, const QString& utente)
{
    return utente + u'@' + server.host() + u':' + QString::number(server.port(server.scheme() == u"http" ? 80 : 443));
}

}  // namespace

QString PasswordDalPortachiavi(const QUrl& server, const QString& utente)
{
    QKeychain::ReadPasswordJob lettura(QStringLiteral("Brenzola CardDAV"));
    lettura.setAutoDelete(false);
    lettura.setKey(chiave(server, utente));
    QEventLoop attesa;
    QObject::connect(&lettura, &QKeychain::Job::finished, &attesa, &QEventLoop::quit);
    lettura.start();
    attesa.exec(QEventLoop::ExcludeUserInputEvents);
    if (lettura.error() == QKeychain::NoError) return lettura.textData();
    const QString perche = lettura.error() == QKeychain::EntryNotFound
                               ? Password::tr("non c'è una password per %1").arg(chiave(server, utente))
                               : lettura.errorString();
    throw StoreError(StoreErrorNumber::ServerPassword,
                     Password::tr("La password non si può leggere dal portachiavi del desktop (%1). Salvarla dalla finestra "
                                  "Sincronizzazione, o indicare un file con --password-da-file.")
                         .arg(perche));
}

void SalvaNelPortachiavi(const QUrl& server, const QString& utente, const QString& password)
{
    QKeychain::WritePasswordJob scrittura(QStringLiteral("Brenzola CardDAV"));
    scrittura.setAutoDelete(false);
    scrittura.setKey(chiave(server, utente));
    scrittura.setTextData(password);
    QEventLoop attesa;
    QObject::connect(&scrittura, &QKeychain::Job::finished, &attesa, &QEventLoop::quit);
    scrittura.start();
    attesa.exec(QEventLoop::ExcludeUserInputEvents);
    if (scrittura.error() != QKeychain::NoError)
        throw StoreError(
            StoreErrorNumber::ServerPassword,
            Password::tr("La password non si può salvare nel portachiavi del desktop (%1): sarà chiesta a ogni avvio.")
                .arg(scrittura.errorString()));
}

QString PasswordDaFile(const QString& file)
{
    struct stat stato {};
    const QByteArray percorso = QFile::encodeName(file);
    if (::stat(percorso.constData(), &stato) != 0)
        throw systemError(errno, Password::tr("Lettura della password da «%1»").arg(file));
    if (!S_ISREG(stato.st_mode) || (stato.st_mode & (S_IRWXG | S_IRWXO)) != 0 || stato.st_uid != ::geteuid())
        throw StoreError(StoreErrorNumber::PermissionDenied,
                         Password::tr("Il file «%1» della password deve essere un file dell'utente che solo lui può leggere: "
                                      "chmod 600 «%1».")
                             .arg(file));
    QFile letto(file);
    if (!letto.open(QIODevice::ReadOnly)) throw systemError(errno, Password::tr("Lettura della password da «%1»").arg(file));
    QByteArray password = letto.readAll();
    while (password.endsWith('\n') || password.endsWith('\r')) password.chop(1);
    return QString::fromUtf8(password);
}

}  // namespace brenzola
