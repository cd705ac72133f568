// The fields of the upload address: what the windows build is taken back
// exactly, and each wrong field is named.
#include "desktop/profile.h"
#include "gateway/uploadfields.h"
#include "webupload/webupload.h"

#include <QUrl>
#include <gtest/gtest.h>

using namespace logo;
using namespace logo::gateway;

namespace {

LogoGrid somePicture(int width, int height)
{
    LogoGrid grid;
    grid.clearPlane();
    grid.setSize(width, height);
    for (int c = 0; c < width; ++c)
        grid.setPixel(c, (c * 5) % height, true);
    return grid;
}

QMap<QString, QString> fieldsOf(const QString &address)
{
    return parseFormFields(QUrl(address, QUrl::TolerantMode).query(QUrl::FullyEncoded).toLatin1());
}

} // namespace

TEST(UploadFields, TheWindowsAddressGivesBackTheirPicture)
{
    struct Case {
        const ProgramProfile *profile;
        int width, height;
        QString mcc, mnc;
    } cases[] = {
        {&ProgramProfile::brisvane(), 72, 14, "262", "01"},
        {&ProgramProfile::quillet(), 72, 14, "", ""},
        {&ProgramProfile::quillet(), 20, 5, "", ""},   // rows of three octets
        {&ProgramProfile::quillet(), 12, 3, "", ""},   // the windows' rounding: one octet
    };
    for (const Case &c : cases) {
        const LogoGrid grid = somePicture(c.width, c.height);
        const QString address = WebUpload::uploadAddress(*c.profile, grid, c.mcc, c.mnc, "127.0.0.1:8080");
        UploadPicture picture;
        const FieldProblem p = checkUploadFields(fieldsOf(address), picture);
        ASSERT_TRUE(p.ok()) << address.toStdString() << ": " << p.field.toStdString() << " " << p.text.toStdString();
        EXPECT_EQ(picture.grid.grid2hex(), grid.grid2hex()) << c.width;
        EXPECT_EQ(picture.grid.width(), c.width);
        EXPECT_EQ(&picture.profile(), c.profile);
        EXPECT_EQ(picture.mcc, c.mcc.isEmpty() ? "0" : c.mcc);
    }
}

TEST(UploadFields, EachWrongFieldIsNamed)
{
    const QString good = WebUpload::uploadAddress(ProgramProfile::brisvane(), somePicture(72, 14), "262", "1", "h");
    const QMap<QString, QString> base = fieldsOf(good);
    const QString data = base.value("data");
    struct Case {
        const char *field;
        QString value;   // null: the field left out
        const char *named;
    } cases[] = {
        {"data", QString(), "data"},
        {"data", "", "data"},
        {"data", data + "0", "data"},                       // odd length
        {"data", data + "00", "data"},                      // a byte more than the rows
        {"data", data.left(data.size() - 2), "data"},       // a byte short
        {"data", "01" + data.mid(2), "data"},               // not 00 first
        {"data", data.left(6) + "02" + data.mid(8), "data"},
        {"data", "00490E01" + data.mid(8), "data"},         // 73 wide
        {"data", "00480F01" + data.mid(8), "data"},         // 15 high
        {"data", "00000E01", "data"},                       // no width
        {"data", data.left(10) + "G0" + data.mid(12), "data"},
        {"mcc", "", "mcc"},
        {"mcc", "1000", "mcc"},
        {"mcc", "-1", "mcc"},
        {"mnc", "1a", "mnc"},
        {"mnc", QString(), "mnc"},
        {"app", "xyz", "app"},
        {"app", "BVN", "app"},
        {"mode", "store", "mode"},
        {"ver", "", "ver"},
        {"ver", "1.0", "ver"},
        {"media", "", "media"},
        {"media", "<script>", "media"},
    };
    for (const Case &c : cases) {
        QMap<QString, QString> fields = base;
        if (c.value.isNull())
            fields.remove(c.field);
        else
            fields[c.field] = c.value;
        UploadPicture picture;
        const FieldProblem p = checkUploadFields(fields, picture);
        EXPECT_EQ(p.field, c.named) << c.field << "=" << c.value.toStdString();
        EXPECT_FALSE(p.text.isEmpty());
    }
}

TEST(UploadFields, RecipientNumbers)
{
    for (const char *good : {"491711234567", "+491711234567", "1", "12345678901234567890"})
        EXPECT_TRUE(checkRecipient(good).ok()) << good;
    for (const char *bad : {"", "+", "++49", "49 171", "49-171", "123456789012345678901", "49+1", "0x12"})
        EXPECT_EQ(checkRecipient(bad).field, "to") << bad;
}

TEST(UploadFields, FormBodiesAreDecoded)
{
    const QMap<QString, QString> f = parseFormFields("to=%2B49171&name=a+b%26c&to=2&empty=&flag");
    EXPECT_EQ(f.value("to"), "+49171");   // the first of a repeated name
    EXPECT_EQ(f.value("name"), "a b&c");
    EXPECT_TRUE(f.contains("empty"));
    EXPECT_TRUE(f.contains("flag"));
}
