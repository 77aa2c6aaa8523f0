#include "platform/Launches.h"
#include "platform/NativeName.h"
#include "platform/QtDesktop.h"
#include "support/RawFiles.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The real desktop of a child, but with its box written out, and so is the path of the
// URL handed to the ordinary opener (which would need a display).
class ChildDesktop : public QObject, public QtDesktop
{
    Q_OBJECT
public:
    int messageBox(const QString& prompt, int style) override
    {
        std::printf("%d %s\n", style, prompt.toUtf8().constData());
        return MsgBoxAnswer::Ok;
    }
public slots:
    void openUrl(const QUrl& url)
    {
        std::printf("opener %s\n",
                    QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).data());
    }
};

// argv: --launch file|folder <working folder> <relative path>, both in hex.
int launchAsChild(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (::chdir(QByteArray::fromHex(argv[3]).constData()) != 0)
        return 2;
    ChildDesktop desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "openUrl");
    (qstrcmp(argv[2], "file") == 0 ? openInEditorOrReport : openFolderOrReport)(
        desktop, nameFromNative(QByteArray::fromHex(argv[4])));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    return 0;
}

} // namespace

// The real launcher, one case per child process of this program (GIO reads the
// user's applications once per process), with XDG folders of its own.
class TestLauncher : public QObject
{
    Q_OBJECT
private slots:
    void opensOrReports_data()
    {
        QTest::addColumn<bool>("file");
        QTest::addColumn<QString>("application"); // "" for none, "false" or "true" for its Terminal key
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("outcome"); // "opened", "reported" or "opener"
        // Names a shell would split, run or take for an option, or not UTF-8: one argument each.
        const QByteArray hostile = "-x; touch y $(touch z) 'o meu' \"exame\".txt", notUtf8("exame\xf3");
        QTest::newRow("editor, shell-hostile") << true << "false" << hostile << "opened";
        QTest::newRow("editor in a terminal, none installed") << true << "true" << notUtf8 << "reported";
        QTest::newRow("no editor") << true << "" << notUtf8 << "reported";
        QTest::newRow("file manager, not UTF-8") << false << "false" << notUtf8 << "opened";
        QTest::newRow("no file manager, the ordinary opener") << false << "" << notUtf8 << "opener";
    }

    void opensOrReports()
    {
        QFETCH(bool, file);
        QFETCH(QString, application);
        QFETCH(QByteArray, name);
        QFETCH(QString, outcome);
        QTemporaryDir temp;
        const QByteArray root = QFileInfo(temp.path()).canonicalFilePath().toUtf8();
        for (const char* folder : {"/home", "/config", "/data", "/data/applications", "/system"})
            ::mkdir(root + folder, 0700);
        // The working folder's name is not UTF-8 either.
        const QByteArray lab = root + "/turma\xe7", path = lab + "/" + name;
        const auto removeWhatQtCannotName = qScopeGuard([&] {
            std::remove(path);
            std::remove(lab);
        });
        QVERIFY(::mkdir(lab, 0700) == 0 && (file || ::mkdir(path, 0700) == 0));
        if (file)
            writeRaw(nameFromNative(path), "exame");
        // The stand-in for the editor and the file manager, when there is one, found in PATH.
        const QByteArray standIn[][2] = {
            {"/system/standin", "#!/bin/sh\nprintf '%s\\n' \"$@\" >\"$0.arguments\"\n: >\"$0.done\"\n"},
            {"/config/mimeapps.list",
             "[Default Applications]\ntext/plain=s.desktop\ninode/directory=s.desktop\n"},
            {"/data/applications/s.desktop",
             "[Desktop Entry]\nType=Application\nName=S\nExec=standin %f\nTerminal=" + application.toUtf8()},
        };
        if (!application.isEmpty()) {
            for (const auto& [where, content] : standIn)
                writeRaw(nameFromNative(root + where), content);
            QVERIFY(::chmod(root + "/system/standin", 0700) == 0);
        }

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DBUS_SESSION_BUS_ADDRESS");
        for (const QString setting : {"HOME=/home", "XDG_CONFIG_HOME=/config", "XDG_DATA_HOME=/data",
                                      "XDG_CONFIG_DIRS=/system", "XDG_DATA_DIRS=/system",
                                      "XDG_RUNTIME_DIR=", "PATH=/system"}) // no terminal emulator to be found
            environment.insert(setting.section('=', 0, 0), root + setting.section('=', 1));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("GIO_USE_VFS", "local");
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--launch", file ? "file" : "folder", lab.toHex(), name.toHex()});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitCode(), 0);
        const QByteArray said = child.readAllStandardOutput();

        // Of these rows, only files are reported (a folder without a file manager goes to the ordinary
        // opener). In the report each byte that is not UTF-8 is shown as U+FFFD.
        QCOMPARE(said, outcome == "reported" ? "48 Não foi possível abrir o ficheiro " +
                                                   QString::fromUtf8(path).toUtf8() + " no editor de texto.\n"
                       : outcome == "opener" ? "opener " + path + "\n"
                                             : QByteArray());
        if (outcome == "opened") { // the stand-in runs on its own: its record is there once it has finished
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(root + "/system/standin.done"), 60000);
            QFile arguments(QString::fromUtf8(root + "/system/standin.arguments"));
            QVERIFY(arguments.open(QIODevice::ReadOnly));
            QCOMPARE(arguments.readAll(), path + "\n");
        }
    }
};

int main(int argc, char** argv)
{
    if (argc == 5 && qstrcmp(argv[1], "--launch") == 0)
        return launchAsChild(argc, argv);
    QCoreApplication app(argc, argv);
    TestLauncher test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_launcher.moc"
