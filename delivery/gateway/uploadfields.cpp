#include "gateway/uploadfields.h"

#include "desktop/profile.h"

#include <QRegularExpression>
#include <QUrl>

namespace logo::gateway {

namespace {

bool matches(const QString &text, const char *pattern)
{
    const QRegularExpression re(QString::fromLatin1(pattern));
    return re.match(text).hasMatch();
}

int hexAt(const QString &text, int at)
{
    return text.mid(at, 2).toInt(nullptr, 16);
}

FieldProblem problem(const QString &field, const QString &text)
{
    return {field, text};
}

// The picture of a data field whose size is already checked.
LogoGrid decodeRows(const QString &rows, int width, int height)
{
    LogoGrid grid;
    grid.clearPlane();
    grid.setSize(width, height);
    const int octets = octetsPerRow(width);
    for (int r = 0; r < height; ++r)
        for (int k = 0; k < octets; ++k) {
            const int value = hexAt(rows, 2 * (r * octets + k));
            for (int b = 0; b < 8; ++b)
                if (grid.inside(8 * k + b, r))
                    grid.setPixel(8 * k + b, r, value & (0x80 >> b));
        }
    return grid;
}

FieldProblem checkData(const QString &data, LogoGrid &grid)
{
    const QString field = QStringLiteral("data");
    if (data.isEmpty())
        return problem(field, QStringLiteral("the picture is missing"));
    if (!matches(data, "^([0-9A-Fa-f]{2})+$"))
        return problem(field, QStringLiteral("the picture must be pairs of hex digits"));
    if (data.size() < 8 || !data.startsWith(QStringLiteral("00")) || data.mid(6, 2) != QStringLiteral("01"))
        return problem(field, QStringLiteral("the picture must start with 00, its width, its height and 01"));
    const int width = hexAt(data, 2);
    const int height = hexAt(data, 4);
    if (width < 1 || width > LogoGrid::MaxWidth || height < 1 || height > LogoGrid::MaxHeight)
        return problem(field, QStringLiteral("a picture of %1 x %2 pixels is larger than %3 x %4 or empty")
                                  .arg(width)
                                  .arg(height)
                                  .arg(LogoGrid::MaxWidth)
                                  .arg(LogoGrid::MaxHeight));
    const int expected = 2 * octetsPerRow(width) * height;
    const QString rows = data.mid(8);
    if (rows.size() != expected)
        return problem(field, QStringLiteral("a picture of %1 x %2 pixels takes %3 hex digits after its size, "
                                             "not %4")
                                  .arg(width)
                                  .arg(height)
                                  .arg(expected)
                                  .arg(rows.size()));
    grid = decodeRows(rows, width, height);
    return {};
}

} // namespace

const ProgramProfile &UploadPicture::profile() const
{
    return app == ProgramProfile::brisvane().appCode ? ProgramProfile::brisvane() : ProgramProfile::quillet();
}

FieldProblem checkPictureFields(const QString &data, const QString &mcc, const QString &mnc, const QString &app,
                                UploadPicture &picture)
{
    UploadPicture checked;
    if (FieldProblem p = checkData(data, checked.grid); !p.ok())
        return p;
    if (!matches(mcc, "^[0-9]{1,3}$"))
        return problem(QStringLiteral("mcc"), QStringLiteral("the country code must be one to three digits"));
    if (!matches(mnc, "^[0-9]{1,3}$"))
        return problem(QStringLiteral("mnc"), QStringLiteral("the network code must be one to three digits"));
    if (app != ProgramProfile::quillet().appCode && app != ProgramProfile::brisvane().appCode)
        return problem(QStringLiteral("app"), QStringLiteral("the program must be %1 or %2")
                                                  .arg(ProgramProfile::quillet().appCode,
                                                       ProgramProfile::brisvane().appCode));
    checked.data = data;
    checked.mcc = mcc;
    checked.mnc = mnc;
    checked.app = app;
    picture = checked;
    return {};
}

FieldProblem checkUploadFields(const QMap<QString, QString> &fields, UploadPicture &picture)
{
    for (const char *name : {"data", "mode", "mcc", "mnc", "app", "ver", "media"})
        if (!fields.contains(QLatin1String(name)))
            return problem(QLatin1String(name), QStringLiteral("the field is missing"));
    UploadPicture checked;
    if (FieldProblem p = checkPictureFields(fields.value(QStringLiteral("data")), fields.value(QStringLiteral("mcc")),
                                            fields.value(QStringLiteral("mnc")), fields.value(QStringLiteral("app")),
                                            checked);
        !p.ok())
        return p;
    if (fields.value(QStringLiteral("mode")) != QLatin1String("send"))
        return problem(QStringLiteral("mode"), QStringLiteral("the only mode is send"));
    if (!matches(fields.value(QStringLiteral("ver")), "^[0-9]{1,8}$"))
        return problem(QStringLiteral("ver"), QStringLiteral("the version must be one to eight digits"));
    if (!matches(fields.value(QStringLiteral("media")), "^[0-9A-Za-z]{1,32}$"))
        return problem(QStringLiteral("media"), QStringLiteral("the media name must be one to 32 letters or digits"));
    picture = checked;
    return {};
}

FieldProblem checkRecipient(const QString &to)
{
    if (!matches(to, "^\\+?[0-9]{1,20}$"))
        return problem(QStringLiteral("to"),
                       QStringLiteral("the recipient's number must be digits only, at most 20, a leading + allowed"));
    return {};
}

QMap<QString, QString> parseFormFields(const QByteArray &encoded)
{
    QMap<QString, QString> fields;
    for (const QByteArray &pair : encoded.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype eq = pair.indexOf('=');
        auto decode = [](QByteArray part) {
            return QUrl::fromPercentEncoding(part.replace('+', ' '));
        };
        const QString name = decode(eq < 0 ? pair : pair.left(eq));
        if (!fields.contains(name))
            fields.insert(name, eq < 0 ? QString() : decode(pair.mid(eq + 1)));
    }
    return fields;
}

} // namespace logo::gateway
