#include "exchange/righefile.h"

#include "store/storeerror.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <utility>

namespace brenzola {
namespace {

constexpr qint64 kFileMassimo = qint64(1) << 30;
constexpr char kBomUtf8[] = "\xEF\xBB\xBF";

}  // namespace

StoreError erroreFile(const QFileDevice& file, const QString& cosa)
{
    const int numero = file.error() == QFileDevice::PermissionsError ? StoreErrorNumber::PermissionDenied
                       : file.error() == QFileDevice::ResourceError  ? StoreErrorNumber::DiskFull
                                                                     : StoreErrorNumber::PathFileAccess;
    return StoreError(
        numero, QCoreApplication::translate("brenzola::Scambio", "%1 «%2»: %3.").arg(cosa, file.fileName(), file.errorString()));
}

std::unique_ptr<QFile> apriFileContatti(const QString& nome)
{
    auto file = std::make_unique<QFile>(nome);
    if (!file->open(QIODevice::ReadOnly))
        throw erroreFile(*file, QCoreApplication::translate("brenzola::Scambio", "Impossibile leggere il file"));
    if (file->size() > kFileMassimo)
        throw StoreError(
            StoreErrorNumber::FileFormat,
            QCoreApplication::translate("brenzola::Scambio", "Il file «%1» è troppo grande per un elenco di contatti (%2 MB).")
                .arg(nome, QString::number(file->size() >> 20)));
    return file;
}

std::unique_ptr<QIODevice> inMemoria(const QByteArray& dati)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(dati);
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

RigheFile::RigheFile(std::unique_ptr<QIODevice> dispositivo, std::optional<Codifica> codifica, bool crFineRiga, qsizetype blocco)
    : dispositivo_(std::move(dispositivo)),
      crFineRiga_(crFineRiga),
      blocco_(std::max<qsizetype>(blocco, 1)),
      dimensione_(dispositivo_->size())
{
    // Without a mark or zero bytes the text is UTF-8, each line not valid in it read as Windows-1252.
    codifica_ = codifica.value_or(rilevaCodifica(dispositivo_->peek(4096)));
    if (!codifica && codifica_ == Codifica::Windows1252) codifica_ = Codifica::Utf8;
    if (codifica_ == Codifica::Utf16LE || codifica_ == Codifica::Utf16BE)
        utf16_.emplace(codifica_ == Codifica::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
}

RigheFile::~RigheFile() = default;

bool RigheFile::carica()
{
    if (finito_) return false;
    if (inizio_ > 0) {
        buffer_.remove(0, inizio_);
        inizio_ = 0;
    }
    // The first read takes in a whole byte-order mark, however small the blocks.
    const qsizetype quanti = primo_ ? std::max<qsizetype>(blocco_, 4) : blocco_;
    QByteArray letti(quanti, Qt::Uninitialized);
    const qint64 n = dispositivo_->read(letti.data(), quanti);
    if (n < 0) {
        if (const auto* file = qobject_cast<const QFileDevice*>(dispositivo_.get()))
            throw erroreFile(*file, QCoreApplication::translate("brenzola::Scambio", "Impossibile leggere il file"));
        throw StoreError(StoreErrorNumber::PathFileAccess, dispositivo_->errorString());
    }
    if (n == 0) {
        finito_ = true;
        if (alto_.isEmpty()) return false;
        alto_.clear();
        buffer_ += QString(QChar::ReplacementCharacter).toUtf8();  // half a character, at the end
        return true;
    }
    letti.truncate(qsizetype(n));
    letti_ += n;
    if (utf16_) {
        QString testo = std::exchange(alto_, {}) + utf16_->decode(letti);
        if (primo_ && testo.startsWith(QChar(0xFEFF))) testo.remove(0, 1);
        if (!testo.isEmpty() && testo.back().isHighSurrogate()) {
            alto_ = testo.back();
            testo.chop(1);
        }
        buffer_ += testo.toUtf8();
    } else {
        if (primo_ && codifica_ == Codifica::Utf8 && letti.startsWith(kBomUtf8)) letti.remove(0, 3);
        buffer_ += letti;
    }
    primo_ = false;
    return true;
}

bool RigheFile::leggi(Riga& riga)
{
    for (;;) {
        const char* dati = buffer_.constData();
        const qsizetype n = buffer_.size();
        qsizetype i = inizio_ + cercato_;
        if (crFineRiga_) {
            while (i < n && dati[i] != '\n' && dati[i] != '\r') ++i;
        } else {
            const void* lf = i < n ? std::memchr(dati + i, '\n', size_t(n - i)) : nullptr;
            i = lf ? static_cast<const char*>(lf) - dati : n;
        }
        // A CR last in the buffer may be the first half of a CRLF.
        const bool incerto = i < n && dati[i] == '\r' && i + 1 == n && !finito_;
        if (i == n || incerto) {
            if (!finito_) {
                cercato_ = i - inizio_;
                carica();  // the buffer moves: look again
                continue;
            }
            if (inizio_ == n) return false;
            // The last line, without a line end.
            const qsizetype fine = n > inizio_ && dati[n - 1] == '\r' ? n - 1 : n;
            riga = {++numero_, QByteArrayView(dati + inizio_, fine - inizio_), QByteArrayView(dati + fine, n - fine)};
            inizio_ = n;
            cercato_ = 0;
            return true;
        }
        qsizetype testo = i;  // where the line's text ends
        qsizetype dopo = i + 1;
        if (dati[i] == '\n' && i > inizio_ && dati[i - 1] == '\r') --testo;
        if (dati[i] == '\r' && dopo < n && dati[dopo] == '\n') ++dopo;
        riga = {++numero_, QByteArrayView(dati + inizio_, testo - inizio_), QByteArrayView(dati + testo, dopo - testo)};
        inizio_ = dopo;
        cercato_ = 0;
        return true;
    }
}

}  // namespace brenzola
