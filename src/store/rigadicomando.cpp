#include "store/rigadicomando.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace brenzola {

namespace {

QString programma() { return QFileInfo(QCoreApplication::applicationFilePath()).fileName(); }

}  // namespace

RigaDiComando::RigaDiComando(QString uso, QString aiuto, const QList<QCommandLineOption>& opzioni, qsizetype argomenti)
    : uso_(std::move(uso)),
      aiuto_(std::move(aiuto)),
      argomenti_(argomenti)
{
    parser_.addOptions(opzioni);
    parser_.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QString()});
    parser_.addOption({QStringLiteral("version"), QString()});
}

int RigaDiComando::leggi(const QStringList& argomenti)
{
    QTextStream out(stdout);
    if (!parser_.parse(argomenti)) {
        const QStringList sconosciute = parser_.unknownOptionNames();
        // The other way to get it wrong is an option without its value.
        return sbagliata(sconosciute.isEmpty() ? QStringLiteral("a un'opzione manca il suo valore")
                                               : QStringLiteral("opzione sconosciuta «%1%2»")
                                                     .arg(sconosciute.front().size() == 1 ? "-" : "--", sconosciute.front()));
    }
    if (parser_.isSet(QStringLiteral("help"))) {
        out << "Uso: " << programma() << ' ' << uso_ << '\n' << aiuto_;
        return 0;
    }
    if (parser_.isSet(QStringLiteral("version"))) {
        out << programma() << " (Brenzola) " << BRENZOLA_VERSION << '\n';
        return 0;
    }
    if (parser_.positionalArguments().size() != argomenti_)
        return sbagliata(
            argomenti_ == 1
                ? QStringLiteral("serve un nome di file (dati: %1)").arg(parser_.positionalArguments().size())
                : QStringLiteral("servono %1 nomi di file (dati: %2)").arg(argomenti_).arg(parser_.positionalArguments().size()));
    return -1;
}

int RigaDiComando::sbagliata(const QString& motivo) const
{
    QTextStream err(stderr);
    err << programma() << ": " << motivo << '\n'
        << "Uso: " << programma() << ' ' << uso_ << '\n'
        << "Per saperne di più: " << programma() << " --help\n";
    return 2;
}

}  // namespace brenzola
