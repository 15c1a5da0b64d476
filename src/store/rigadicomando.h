#pragma once

#include <QCommandLineParser>
#include <QList>
#include <QString>

namespace brenzola {

// A tool's command line, read as users of Linux tools expect: --help and --version,
// an unknown option refused with the usage line and status 2, and nothing that starts
// with '-' ever taken for a file name (a file so named can follow "--").
class RigaDiComando {
public:
    // `uso` is the usage line after the program's name; `aiuto` the rest of the help.
    RigaDiComando(QString uso, QString aiuto, const QList<QCommandLineOption>& opzioni, qsizetype argomenti);

    // -1 when the tool should go on; otherwise the status to end with, once the help,
    // the version or what was wrong has been printed. `argomenti` starts with the program.
    int leggi(const QStringList& argomenti);

    const QCommandLineParser& parser() const { return parser_; }
    QStringList argomenti() const { return parser_.positionalArguments(); }

private:
    int sbagliata(const QString& motivo) const;

    QString uso_;
    QString aiuto_;
    qsizetype argomenti_;
    QCommandLineParser parser_;
};

}  // namespace brenzola
