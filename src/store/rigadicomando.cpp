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
        return sbagliata(sconosciute.isEmpty()
                             ? QCoreApplication::translate("brenzola::RigaDiComando", "a un'opzione manca il suo valore")
                             : QCoreApplication::translate("brenzola::RigaDiComando", "opzione sconosciuta «%1%2»")
                                   .arg(sconosciute.front().size() == 1 ? "-" : "--", sconosciute.front()));
    }
    if (parser_.isSet(QStringLiteral("help"))) {
        out << QCoreApplication::translate("brenzola::RigaDiComando", "Uso: %1 %2").arg(programma(), uso_) << '\n' << aiuto_;
        return 0;
    }
    if (parser_.isSet(QStringLiteral("version"))) {
        out << programma() << " (Brenzola) " << BRENZOLA_VERSION << '\n';
        return 0;
    }
    if (parser_.positionalArguments().size() != argomenti_)
        return sbagliata(argomenti_ == 1
                             ? QCoreApplication::translate("brenzola::RigaDiComando", "serve un nome di file (dati: %1)")
                                   .arg(parser_.positionalArguments().size())
                             : QCoreApplication::translate("brenzola::RigaDiComando", "servono %1 nomi di file (dati: %2)")
                                   .arg(argomenti_)
                                   .arg(parser_.positionalArguments().size()));
    return -1;
}

int RigaDiComando::sbagliata(const QString& motivo) const
{
    QTextStream err(stderr);
    err << programma() << ": " << motivo << '\n'
        << QCoreApplication::translate("brenzola::RigaDiComando", "Uso: %1 %2").arg(programma(), uso_) << '\n'
        << QCoreApplication::translate("brenzola::RigaDiComando", "Per saperne di più: %1 --help").arg(programma()) << '\n';
    return 2;
}

}  // namespace brenzola
