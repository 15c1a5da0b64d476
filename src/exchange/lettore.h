#pragma once

#include "exchange/codifica.h"
#include "exchange/contatto.h"

#include <QByteArray>
#include <QChar>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QIODevice;

namespace brenzola {

class MappaCsv;
class RigheFile;

// The entries of a file to import, read as they come: the file is never held whole.
class LettoreVoci {
public:
    virtual ~LettoreVoci();
    // The next entry (readable or with its error), in file order; nothing at the end.
    // A fault that spoils the rest of the file is a StoreError when it is reached.
    virtual std::optional<Voce> prossima() = 0;
    virtual qint64 posizione() const;   // bytes read so far, for progress
    virtual qint64 dimensione() const;  // the file's size
    // Properties no field takes, counted by name (as Lettura::ignorate).
    const QMap<QString, int>& ignorate() const { return ignorate_; }
    // Notes about the file as a whole: the lines read as Windows-1252.
    QStringList avvisi() const;

    // Every entry left, as the whole-file functions give them.
    Lettura tutte();

protected:
    // Without lines: entries from elsewhere, which say themselves how far they are.
    explicit LettoreVoci(std::unique_ptr<RigheFile> righe = {});
    RigheFile& righe() { return *righe_; }
    QMap<QString, int>& contaIgnorate() { return ignorate_; }
    // The line, not valid UTF-8, was read as Windows-1252.
    void lettaWindows1252(int riga);

private:
    std::unique_ptr<RigheFile> righe_;
    QMap<QString, int> ignorate_;
    std::vector<int> primeWindows1252_;  // the first lines read so, for the note
    qint64 windows1252_ = 0;
};

struct OpzioniCsv {
    std::optional<Codifica> codifica;      // else detected
    std::optional<QChar> separatore;       // else detected
    std::function<void(MappaCsv&)> mappa;  // the user's changes to the guessed mapping, applied after guessing
};

// Opens a file: vCard, LDIF or else CSV. A file that cannot be opened, is empty, not
// text, or too big to be a contact list is a StoreError; so, when it is reached, is the
// end of a vCard file that holds no card, or of an LDIF file that holds no entry.
std::unique_ptr<LettoreVoci> apriLettore(const QString& file, const OpzioniCsv& csv = {});
// The same over bytes in memory.
std::unique_ptr<LettoreVoci> apriLettore(const QByteArray& dati, const OpzioniCsv& csv = {});
// The same over a device open for reading, `blocco` bytes read at a time.
std::unique_ptr<LettoreVoci> apriLettore(std::unique_ptr<QIODevice> dispositivo, const OpzioniCsv& csv, qsizetype blocco);

// Refuses the start of a file that is not text, or a whole file that is empty.
// `intero`: `inizio` is the whole file.
void controllaTesto(const QByteArray& inizio, bool intero);

}  // namespace brenzola
