// `cmake --install` into a scratch prefix puts in place what a desktop user
// expects, and the desktop's own tools accept it.
#include "common/testsupport.h"
#include "graphic/logofile.h"

#include <QDir>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

QString run(const QString &program, const QStringList &args, int *code = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.waitForFinished(120000);
    if (code)
        *code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAll());
}

} // namespace

TEST(Install, ProgramsEntriesIconsMimeTypesAndManual)
{
    logotest::Sandbox box;
    const QString prefix = box.path(QStringLiteral("prefix"));
    int code = -1;
    const QString log = run(QStringLiteral(LOGO_CMAKE_COMMAND),
                            {QStringLiteral("--install"), QStringLiteral(LOGO_BINARY_DIR), QStringLiteral("--prefix"),
                             prefix}, &code);
    ASSERT_EQ(code, 0) << qPrintable(log);

    QStringList expected{QStringLiteral("bin/logotool"), QStringLiteral("share/mime/packages/vornhal-logos.xml"),
                         QStringLiteral("share/man/man1/logotool.1.gz")};
    for (const QString &program : {QStringLiteral("quillet"), QStringLiteral("brisvane")}) {
        expected << QStringLiteral("bin/") + program << QStringLiteral("share/applications/%1.desktop").arg(program)
                 << QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(program)
                 << QStringLiteral("share/man/man1/%1.1.gz").arg(program);
        for (const char *size : {"16x16", "32x32", "48x48", "256x256"})
            expected << QStringLiteral("share/icons/hicolor/%1/apps/%2.png").arg(QLatin1String(size), program);
    }
    for (const QString &file : expected)
        EXPECT_TRUE(QFileInfo(prefix + QLatin1Char('/') + file).isFile()) << qPrintable(file);

    const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validate.isEmpty())
        for (const QString &entry : QDir(prefix + QStringLiteral("/share/applications")).entryList({"*.desktop"})) {
            EXPECT_EQ(run(validate, {prefix + QStringLiteral("/share/applications/") + entry}, &code), QString());
            EXPECT_EQ(code, 0) << qPrintable(entry);
        }

    // The MIME package, as the installed database reads it: by name, and by
    // content for a file without an extension.
    if (QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
        GTEST_SKIP() << "update-mime-database is not installed";
    ASSERT_TRUE(QFileInfo::exists(prefix + QStringLiteral("/share/mime/mime.cache")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(prefix + QStringLiteral("/share")));
    const QMimeDatabase db;
    const std::pair<const char *, const char *> byName[] = {
        {"a.ngg", "image/x-nokia-group-graphic"}, {"a.NCG", "image/x-nokia-group-graphic"},
        {"a.nol", "image/x-nokia-operator-logo"}, {"a.nlm", "image/x-nokia-nlm"}, {"a.nsl", "image/x-nokia-nsl"},
        {"a.otb", "image/x-nokia-otb"},           {"a.ngl", "image/x-nokia-ngl"}, {"a.i61", "image/x-nokia-i61"}};
    for (const auto &[name, type] : byName)
        EXPECT_EQ(db.mimeTypeForFile(QLatin1String(name), QMimeDatabase::MatchExtension).name(), QLatin1String(type));
    logo::LogoGrid grid;
    for (const bool nol : {false, true}) {
        const QByteArray bytes = logo::buildLogoFile(grid, nol, 262, 1, 50, QString(), QString());
        EXPECT_EQ(db.mimeTypeForData(bytes).name(),
                  nol ? QStringLiteral("image/x-nokia-operator-logo") : QStringLiteral("image/x-nokia-group-graphic"));
    }
    EXPECT_EQ(db.mimeTypeForData(logotest::readAll(logotest::fixture(QStringLiteral("nlm/diagonal.nlm")))).name(),
              QStringLiteral("image/x-nokia-nlm"));
}
