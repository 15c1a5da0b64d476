#include "store/storeerror.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <exception>
#include <new>

namespace brenzola {

StoreError::StoreError(int number, const QString& description)
    : std::runtime_error(QStringLiteral("%1: %2").arg(number).arg(description).toStdString()),
      number_(number),
      description_(description)
{
}

StoreError ErroreCorrente()
{
    try {
        throw;
    } catch (const StoreError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return StoreError(
            StoreErrorNumber::OutOfMemory,
            QCoreApplication::translate("brenzola::StoreError", "Memoria insufficiente. Chiudere altri programmi e riprovare."));
    } catch (const std::exception& error) {
        return StoreError(
            StoreErrorNumber::Internal,
            QCoreApplication::translate("brenzola::StoreError",
                                        "Errore interno del programma (%1). L'operazione si è interrotta; se si ripete, "
                                        "segnalarlo con questo messaggio.")
                .arg(QString::fromLocal8Bit(error.what())));
    } catch (...) {
        return StoreError(StoreErrorNumber::Internal,
                          QCoreApplication::translate("brenzola::StoreError",
                                                      "Errore interno del programma. L'operazione si è interrotta; se si ripete, "
                                                      "segnalarlo con questo messaggio."));
    }
}

StoreError systemError(int error, const QString& what)
{
    int number = StoreErrorNumber::PathFileAccess;
    QString reason;
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        number = StoreErrorNumber::DiskFull;
        reason = QCoreApplication::translate("brenzola::StoreError", "spazio su disco esaurito");
        break;
    case EFBIG:
        number = StoreErrorNumber::DiskFull;
        reason = QCoreApplication::translate("brenzola::StoreError", "superato il limite di dimensione dei file");
        break;
    case EACCES:
    case EPERM:
        number = StoreErrorNumber::PermissionDenied;
        reason = QCoreApplication::translate("brenzola::StoreError", "permesso negato");
        break;
    case EROFS:
        number = StoreErrorNumber::PermissionDenied;
        reason = QCoreApplication::translate("brenzola::StoreError", "il disco è di sola lettura");
        break;
    case ENOENT:
        number = StoreErrorNumber::FileNotFound;
        reason = QCoreApplication::translate("brenzola::StoreError", "file o cartella inesistente");
        break;
    case ENOTDIR:
        number = StoreErrorNumber::PathNotFound;
        reason = QCoreApplication::translate("brenzola::StoreError", "un elemento del percorso non è una cartella");
        break;
    case EISDIR:
        reason = QCoreApplication::translate("brenzola::StoreError", "è una cartella, non un file");
        break;
    case EIO:
        number = StoreErrorNumber::DiskOrNetwork;
        reason = QCoreApplication::translate("brenzola::StoreError", "errore di lettura o scrittura sul disco");
        break;
    case EMFILE:
    case ENFILE:
    case ENOMEM:
    case EAGAIN:
        reason = QCoreApplication::translate("brenzola::StoreError", "risorse del sistema esaurite");
        break;
    default:
        reason = QString::fromLocal8Bit(std::strerror(error));
        break;
    }
    return StoreError(
        number,
        QCoreApplication::translate("brenzola::StoreError", "%1: %2 (errno %3).").arg(what, reason, QString::number(error)));
}

}  // namespace brenzola
