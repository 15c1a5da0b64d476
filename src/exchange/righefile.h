#pragma once

#include "exchange/codifica.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QStringDecoder>

#include <memory>
#include <optional>

class QFile;
class QFileDevice;

namespace brenzola {

class StoreError;

// Why a file could not be read or written, as a StoreError naming it.
StoreError erroreFile(const QFileDevice& file, const QString& cosa);
// A file opened for reading contacts from; one too big to be a contact list is refused.
std::unique_ptr<QFile> apriFileContatti(const QString& nome);
// Bytes in memory as a device open for reading.
std::unique_ptr<QIODevice> inMemoria(const QByteArray& dati);

// The physical lines of a text file, read from its device a block at a time: the file is
// never held whole. The encoding is the one given or that of the first bytes (byte-order
// mark, UTF-16 by its zero bytes, else UTF-8); UTF-16 comes out as UTF-8, without the mark.
class RigheFile {
public:
    struct Riga {
        int numero = 0;
        QByteArrayView testo;  // valid until the next line is read
        QByteArrayView fine;   // "\r\n", "\n", "\r", or empty at the end of the file
    };

    // `crFineRiga`: a CR alone ends a line too (CSV), else it is part of the line.
    RigheFile(std::unique_ptr<QIODevice> dispositivo, std::optional<Codifica> codifica, bool crFineRiga,
              qsizetype blocco = qsizetype{64} * 1024);
    ~RigheFile();

    // The next line; false at the end of the file.
    bool leggi(Riga& riga);
    // How the bytes of the lines are written: UTF-8 (what a UTF-16 file becomes) or Windows-1252.
    Codifica codifica() const { return codifica_ == Codifica::Windows1252 ? codifica_ : Codifica::Utf8; }
    qint64 posizione() const { return letti_; }
    qint64 dimensione() const { return dimensione_; }

private:
    // Appends the next block to the buffer; false at the end of the device.
    bool carica();

    std::unique_ptr<QIODevice> dispositivo_;
    Codifica codifica_;
    std::optional<QStringDecoder> utf16_;
    QString alto_;  // a high surrogate whose low half is in the next block
    bool crFineRiga_;
    qsizetype blocco_;
    qint64 dimensione_;
    qint64 letti_ = 0;
    bool primo_ = true;  // no block read yet: a byte-order mark may come
    bool finito_ = false;
    QByteArray buffer_;
    qsizetype inizio_ = 0;   // the next line's first byte in the buffer
    qsizetype cercato_ = 0;  // bytes after inizio_ known to hold no line end
    int numero_ = 0;
};

}  // namespace brenzola
