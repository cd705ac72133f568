// The table of formats holds together: every row is reached by the rules that
// tell formats by their names, and no extension or name rank is claimed twice.
#include "graphic/fileformats.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace logo;

TEST(FileFormats, EveryRowIsReachedByItsName)
{
    QSet<QString> extensions;
    QSet<int> ranks;
    for (const FileFormat &f : fileFormats()) {
        const QString extension = QString::fromLatin1(f.extension);
        SCOPED_TRACE(f.name);
        if (!extension.isEmpty()) {
            EXPECT_TRUE(extension.startsWith(QLatin1Char('.')) && extension == extension.toLower());
            EXPECT_FALSE(extensions.contains(extension)) << "claimed twice";
            extensions.insert(extension);
        }
        if (f.written != SavedType::None) {
            EXPECT_EQ(formatOf(f.written), &f);
            EXPECT_EQ(savedTypeOf(QStringLiteral("dir.x/logo") + extension.toUpper()), f.written);
            EXPECT_EQ(savedExtension(f.written), extension);
            EXPECT_FALSE(QString::fromLatin1(f.dialogText).isEmpty());
        }
        if (f.role == FormatRole::Foreign) {
            EXPECT_EQ(formatOf(f.foreign), &f);
            EXPECT_EQ(foreignFormatOf(QStringLiteral("logo") + extension + QStringLiteral(".bak")), f.foreign);
            EXPECT_FALSE(ranks.contains(f.nameRank)) << "two formats tested at once";
            ranks.insert(f.nameRank);
            EXPECT_EQ(f.read == nullptr, QString::fromLatin1(f.refusal).isEmpty());
        } else {
            EXPECT_EQ(f.foreign, ForeignFormat::None);
            EXPECT_EQ(f.read, nullptr);
        }
        // A picture written has the toolkit's format to write it in.
        EXPECT_EQ(QString::fromLatin1(f.imageFormat).isEmpty(),
                  f.role != FormatRole::Picture || f.written == SavedType::None);
        if (f.role == FormatRole::Native || f.role == FormatRole::Foreign) {
            if (!extension.isEmpty()) {
                EXPECT_TRUE(openDialogFilter().section(QLatin1Char('|'), 1, 1).split(QLatin1Char(';')).contains(
                    QLatin1Char('*') + extension));
            }
        } else {
            EXPECT_NE(f.importGroup, ImportGroup::None);
        }
    }
}

TEST(FileFormats, FiltersAreBuiltFromTheRows)
{
    EXPECT_EQ(dialogEntry(SavedType::Nol), QStringLiteral("Nokia Operator Logo (*.nol)|*.nol"));
    EXPECT_EQ(dialogEntry(SavedType::None), QString());
    EXPECT_EQ(writtenExtensions(FormatRole::Native), (QStringList{QStringLiteral(".ngg"), QStringLiteral(".nol")}));
    // A name carrying two foreign extensions goes by the rank, not by the place.
    EXPECT_EQ(foreignFormatOf(QStringLiteral("a.otb.ngl")), ForeignFormat::NGL);
    EXPECT_EQ(foreignFormatOf(QStringLiteral("a.ngl.otb")), ForeignFormat::NGL);
}
