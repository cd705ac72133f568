// Test main: an application object on the offscreen platform owns the event
// loop for every suite, so window and serial tests run headless: a
// QApplication for the suites of windows and dialogs (LOGO_TEST_WIDGETS), a
// QGuiApplication for the others, which link no widgets. The user's folders
// (data, configuration, runtime, temporary) are replaced by private ones, so
// that no test, and no program a test starts, touches the user's settings,
// file types or running programs. The picture library is installed as the
// windows install it.
#ifdef LOGO_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include "picture/picturelibrary.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/logo-test-XXXXXX"));
    for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR", "TMPDIR"}) {
        const QString dir = home.filePath(QString::fromLatin1(name).toLower());
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(name, QFile::encodeName(dir));
    }
    qunsetenv("LOGO_SETTINGS_FILE");
    qunsetenv("LOGO_DATA_DIR");
#ifdef LOGO_METAFILE_MODULE_PATH
    // The suites are built in a folder of their own, away from the module that
    // the programs find beside themselves.
    qputenv("LOGO_METAFILE_MODULE", LOGO_METAFILE_MODULE_PATH);
#endif
    qputenv("LOGO_SERIAL_MODULE", LOGO_SERIAL_MODULE_PATH);
    TestApplication app(argc, argv);
    // As the windows have it: pictures, the undo stack, the wait pointer.
    logo::installPictureLibrary();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
