// Installs the program into a folder of its own and builds its Debian package, then
// checks what a user's system would get.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QByteArray output;
};

Run run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = process.readAll();
    return result;
}

const QStringList kIcons = {"16x16/apps/brenzola.png",   "32x32/apps/brenzola.png",   "48x48/apps/brenzola.png",
                            "64x64/apps/brenzola.png",   "128x128/apps/brenzola.png", "256x256/apps/brenzola.png",
                            "scalable/apps/brenzola.svg"};
const QString kDesktop = QStringLiteral("share/applications/example.brenzola.Brenzola.desktop");
const QString kMetainfo = QStringLiteral("share/metainfo/example.brenzola.Brenzola.metainfo.xml");

}  // namespace

class TestInstallazione : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void installsLikeADesktopProgramUnderAnyPrefix();
    void theDebianPackageHoldsAndNeedsWhatTheProgramDoes();
};

void TestInstallazione::installsLikeADesktopProgramUnderAnyPrefix()
{
    QTemporaryDir root;
    const QString prefix = root.filePath("home/utente/.local");
    const Run install = run(QStringLiteral(CMAKE_COMMAND), {"--install", BUILD_DIR, "--prefix", prefix});
    QVERIFY2(install.status == 0, install.output.constData());
    for (const char* tool : {"brenzola", "prepara_archivio", "converti_access", "copia_su_server", "esporta_contatti",
                             "importa_contatti", "cerca_doppioni", "cronologia", "sincronizza"})
        QVERIFY2(QFileInfo(QDir(prefix).filePath(QStringLiteral("bin/") + tool)).isExecutable(), tool);
    for (const QString& icon : kIcons) QVERIFY2(QFile::exists(prefix + "/share/icons/hicolor/" + icon), qPrintable(icon));

    // The menu entry starts the program this install put in place.
    QFile desktop(QDir(prefix).filePath(kDesktop));
    QVERIFY(desktop.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(desktop.readAll());
    QVERIFY2(entry.contains(QStringLiteral("\nExec=%1/bin/brenzola\n").arg(prefix)), qPrintable(entry));
    const Run desktopCheck = run(QStringLiteral("desktop-file-validate"), {desktop.fileName()});
    QVERIFY2(desktopCheck.status == 0 && desktopCheck.output.isEmpty(), desktopCheck.output.constData());
    const Run metainfoCheck = run(QStringLiteral("appstreamcli"), {"validate", "--no-net", QDir(prefix).filePath(kMetainfo)});
    QVERIFY2(metainfoCheck.status == 0, metainfoCheck.output.constData());
    QVERIFY2(!metainfoCheck.output.contains("\nE: ") && !metainfoCheck.output.contains("\nW: "),
             metainfoCheck.output.constData());
}

void TestInstallazione::theDebianPackageHoldsAndNeedsWhatTheProgramDoes()
{
    QTemporaryDir output;
    const Run pack =
        run(QStringLiteral(CPACK_COMMAND), {"-G", "DEB", "--config", BUILD_DIR "/CPackConfig.cmake", "-B", output.path()});
    QVERIFY2(pack.status == 0, pack.output.constData());
    const QStringList packages = QDir(output.path()).entryList({"brenzola_*_*.deb"});
    QCOMPARE(packages.size(), 1);
    const QString deb = QDir(output.path()).filePath(packages.front());

    const QString contents = QString::fromUtf8(run(QStringLiteral("dpkg-deb"), {"--contents", deb}).output);
    QStringList wanted = {"./usr/bin/brenzola",        "./usr/bin/prepara_archivio", "./usr/bin/converti_access",
                          "./usr/bin/copia_su_server", "./usr/bin/esporta_contatti", "./usr/bin/importa_contatti",
                          "./usr/bin/cerca_doppioni",  "./usr/bin/cronologia",       "./usr/bin/sincronizza",
                          "./usr/" + kDesktop,         "./usr/" + kMetainfo};
    for (const QString& icon : kIcons) wanted << "./usr/share/icons/hicolor/" + icon;
    for (const QString& file : wanted) QVERIFY2(contents.contains(u' ' + file + u'\n'), qPrintable(file));
    QVERIFY(!contents.contains(QStringLiteral("Brenzola.mdb")));  // no store: each user makes their own

    const QString depends = QString::fromUtf8(run(QStringLiteral("dpkg-deb"), {"--field", deb, "Depends"}).output);
    for (const char* package : {"libqt6widgets6", "libqt6network6", "libqt6keychain1", "libqt6sql6-sqlite", "qt6-qpa-plugins",
                                "libmdb3", "qt6-translations-l10n", "fonts-liberation", "fonts-dejavu-core"})
        QVERIFY2(
            QRegularExpression(QStringLiteral("(^|, )%1( |,|$)").arg(QLatin1String(package))).match(depends.trimmed()).hasMatch(),
            qPrintable(QStringLiteral("%1 missing from: %2").arg(QLatin1String(package), depends)));
    const Run entry =
        run(QStringLiteral("sh"), {"-c", QStringLiteral("dpkg-deb --fsys-tarfile '%1' | tar -xO ./usr/%2").arg(deb, kDesktop)});
    QVERIFY2(entry.output.contains("\nExec=/usr/bin/brenzola\n"), entry.output.constData());
}

QTEST_GUILESS_MAIN(TestInstallazione)
#include "tst_installazione.moc"
