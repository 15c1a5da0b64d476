// Writes the program's icon as PNG files, for the desktop menu: scrivi_icona FOLDER
#include "widgets/immagini.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList args = application.arguments().mid(1);
    if (args.size() != 1) return 2;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString folder = QDir(args[0]).filePath(QStringLiteral("%1x%1").arg(size));
        QDir().mkpath(folder);
        const QPixmap picture = brenzola::Immagini::logo(QSize(size, size), 1);  // drawn at each size, not scaled
        if (!picture.save(QDir(folder).filePath(QStringLiteral("brenzola.png")))) return 1;
    }
    return 0;
}
