// The Import rule on pictures from ordinary image programs and on metafiles
// made here, and files that would block a read.
#include "common/documentsandbox.h"
#include "common/testsupport.h"
#include "graphic/logodocument.h"
#include "graphic/logofile.h"
#include "picture/metafile.h"
#include "graphic/metafileframe.h"
#include "graphic/pathutil.h"
#include "picture/pictureimage.h"

#include <QImage>
#include <QImageReader>
#include <QRect>
#include <QtEndian>
#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace logo;
using logotest::fixture;
using logotest::Sandbox;

namespace {

using Expect = std::function<bool(int c, int r)>;

// The fixtures' pattern (tests/formats/make_fixtures.py): colour (3c + 5r) mod 8,
// the first three dark.
int colourIndex(int c, int r) { return (3 * c + 5 * r) % 8; }
bool patternDark(int c, int r) { return colourIndex(c, r) < 3; }
bool blocksDark(int c, int r) { return (c / 8 + r / 8) % 2 == 0; }

LogoGrid allSet()
{
    LogoGrid g;
    for (int r = 0; r < 14; ++r)
        for (int c = 0; c < 72; ++c)
            g.setCell(c, r, 1);
    return g;
}

// Compares every cell of the plane; `sure` skips cells a lossy or smoothed
// picture may turn either way.
void expectPicture(const QString &path, const Expect &dark, const std::function<bool(int, int)> &sure = {})
{
    LogoGrid g = allSet();
    ASSERT_TRUE(convertPicture(path, g)) << qPrintable(path);
    for (int r = 0; r < 14; ++r)
        for (int c = 0; c < 72; ++c)
            if (!sure || sure(c, r)) {
                ASSERT_EQ(g.isSet(c, r), dark(c, r)) << qPrintable(path) << " at " << c << "," << r;
            }
}

QString saved(Sandbox &sb, const QString &name, const QImage &image)
{
    const QString p = sb.path(name);
    EXPECT_TRUE(image.save(p));
    return p;
}

} // namespace

TEST(PictureImport, ThresholdIsAllThreeChannelsAtMost64)
{
    const struct { QRgb colour; bool dark; } cases[] = {
        {qRgb(64, 64, 64), true},  {qRgb(0, 0, 0), true},   {qRgb(10, 64, 3), true},
        {qRgb(65, 0, 0), false},   {qRgb(0, 65, 0), false}, {qRgb(0, 0, 65), false},
        {qRgb(120, 190, 110), false}, {qRgb(255, 255, 255), false},
    };
    Sandbox sb;
    QImage image(int(std::size(cases)), 1, QImage::Format_RGB32);
    for (int i = 0; i < image.width(); ++i)
        image.setPixel(i, 0, cases[i].colour);
    for (const char *name : {"edges.bmp", "edges.png"})
        expectPicture(saved(sb, QString::fromLatin1(name), image),
                      [&](int c, int r) { return r == 0 && c < image.width() && cases[c].dark; });
}

TEST(PictureImport, SmallPicturesLeaveTheRestClearAndLargeOnesAreCropped)
{
    Sandbox sb;
    QImage small(10, 5, QImage::Format_RGB32);
    small.fill(Qt::black);
    expectPicture(saved(sb, QStringLiteral("small.bmp"), small), [](int c, int r) { return c < 10 && r < 5; });

    // Never scaled: only the marker at (71, 13) of a large light picture shows.
    QImage large(300, 100, QImage::Format_RGB32);
    large.fill(Qt::white);
    large.setPixel(71, 13, qRgb(0, 0, 0));
    for (int x = 72; x < 300; ++x)
        large.setPixel(x, 5, qRgb(0, 0, 0));
    for (int y = 14; y < 100; ++y)
        large.setPixel(5, y, qRgb(0, 0, 0));
    expectPicture(saved(sb, QStringLiteral("large.png"), large), [](int c, int r) { return c == 71 && r == 13; });

    // Transparent places show the display green: light.
    QImage clear(8, 8, QImage::Format_ARGB32);
    clear.fill(qRgba(0, 0, 0, 0));
    clear.setPixel(1, 1, qRgba(0, 0, 0, 255));
    expectPicture(saved(sb, QStringLiteral("clear.png"), clear), [](int c, int r) { return c == 1 && r == 1; });
}

TEST(PictureImport, CameraSizedPicturesGiveTheirCorner)
{
    // 48 megapixels: more than the toolkit's default guard lets a decoder
    // allocate, but an ordinary photo today.
    Sandbox sb;
    QImage photo(8000, 6000, QImage::Format_Mono);
    photo.fill(1);
    photo.setColor(0, qRgb(0, 0, 0));
    photo.setColor(1, qRgb(255, 255, 255));
    photo.setPixel(3, 2, 0);
    photo.setPixel(7999, 5999, 0);
    const int limitBefore = QImageReader::allocationLimit();
    expectPicture(saved(sb, QStringLiteral("photo.png"), photo), [](int c, int r) { return c == 3 && r == 2; });
    EXPECT_EQ(QImageReader::allocationLimit(), limitBefore);
}

TEST(PictureImport, OnlyTheCellsInsideTheDimensionsChange)
{
    Sandbox sb;
    QImage light(72, 14, QImage::Format_RGB32);
    light.fill(Qt::white);
    LogoGrid g = allSet();
    g.setSize(16, 8);
    ASSERT_TRUE(convertPicture(saved(sb, QStringLiteral("light.bmp"), light), g));
    EXPECT_EQ(g.setCount(), 0);
    EXPECT_TRUE(g.isSet(16, 0));
    EXPECT_TRUE(g.isSet(0, 8));
}

TEST(PictureImport, PicturesFromImageProgramsOpenAsDrawn)
{
    const auto transparentBlack = [](int c, int r) { return colourIndex(c, r) == 1 || colourIndex(c, r) == 2; };
    const auto inIcon = [](int c, int r) { return c < 32 && patternDark(c, r); };
    // JPEG: block interiors only, edges may ring.
    const auto blockInterior = [](int c, int r) { return c % 8 >= 2 && c % 8 <= 5 && r % 8 >= 2 && r % 8 <= 5; };
    const struct { const char *file; Expect dark; std::function<bool(int, int)> sure; } cases[] = {
        {"bmp/pattern24.bmp", patternDark, {}},
        {"bmp/pattern_rle8.bmp", patternDark, {}},
        {"bmp/pattern_rle4.bmp", patternDark, {}},
        {"bmp/blocks1.bmp", blocksDark, {}},
        {"rle/pattern.rle", patternDark, {}},
        {"gif/pattern.gif", patternDark, {}},
        {"gif/pattern_transparent.gif", transparentBlack, {}},
        {"ico/pattern32.ico", inIcon, {}},
        {"png/pattern.png", patternDark, {}},
        {"jpeg/blocks.jpg", blocksDark, blockInterior},
    };
    for (const auto &c : cases)
        expectPicture(fixture(QString::fromLatin1(c.file)), c.dark, c.sure);
}

TEST(PictureImport, MetafilesShowTheirFrameAtNinetySixPixelsPerInch)
{
    // Mostly a 96 x 28 px frame with a black rectangle at (10, 5)-(20, 10),
    // the frame much larger than the drawing; GDI leaves the rectangle's right
    // and bottom edges out.
    const QRect rect(QPoint(10, 5), QPoint(19, 9));
    const auto dark = [&](int c, int r) { return rect.contains(c, r); };
    const auto frame24x8 = [](int c, int r) { return c < 24 && r < 8; };
    // Two pixels to the reference device's unit: (5, 3)-(10, 5) is (10, 6)-(20, 10).
    const auto twoPixelUnits = [](int c, int r) { return c >= 10 && c < 20 && r >= 6 && r < 10; };
    // An 8 x 8 picture drawn at (5, 3), its top half black.
    const auto picture = [](int c, int r) { return c >= 5 && c < 13 && r >= 3 && r < 7; };
    struct Case { const char *file; Expect dark; };
    std::vector<Case> cases;
    if (canDrawWmf())
        cases.insert(cases.end(), {{"wmf/frame.wmf", dark}, {"wmf/frame_offset.wmf", dark},
                                   {"wmf/no_window_records.wmf", dark}, {"wmf/window_twice_frame.wmf", dark},
                                   {"wmf/anisotropic.wmf", dark}, {"wmf/small_frame.wmf", frame24x8},
                                   {"wmf/picture.wmf", picture}});
    if (canDrawEmf())
        cases.insert(cases.end(), {{"emf/frame.emf", dark}, {"emf/reference_48dpi.emf", twoPixelUnits},
                                   {"emf/anisotropic.emf", dark}, {"emf/empty_bounds.emf", dark},
                                   {"emf/small_frame.emf", frame24x8}, {"emf/picture.emf", picture}});
    for (const auto &c : cases)
        expectPicture(fixture(QString::fromLatin1(c.file)), c.dark);
}

TEST(PictureImport, MetafilesComeOutAsGdiDrawsThemInEveryMapping)
{
    // One picture through every mapping mode (tests/formats/make_fixtures.py,
    // "scenes"), worked out by hand: a disc filled by its brush; a black
    // rectangle (15, 2)-(21, 9) without pen and a white one (23, 2)-(31, 9)
    // with a one-pixel pen, both without their right and bottom edge; two
    // lines of a pen five pixels wide, centred on the pixels their points name.
    // "?": the rim of the disc and the round ends of the lines, either way.
    const char *const picture[] = {
        ".....????...............................................................",
        "...????????..................................................???????....",
        "..??######??...######..########..............................???????....",
        ".??########??..######..#......#..............................???????....",
        ".?##########?..######..#......#????#####################????..#####.....",
        "??##########??.######..#......#????#####################????..#####.....",
        "??##########??.######..#......#????#####################????..#####.....",
        "??##########??.######..#......#????#####################????..#####.....",
        "??##########??.######..########????#####################????..#####.....",
        ".?##########?.................................................#####.....",
        ".??########??................................................???????....",
        "..??######??.................................................???????....",
        "...????????..................................................???????....",
        ".....????...............................................................",
    };
    const QStringList files = {
        QStringLiteral("wmf/scene_twips.wmf"),       // the header's box is the window (1440 per inch)
        QStringLiteral("wmf/scene_anisotropic.wmf"), // the file's window, 576 per inch in the header
        QStringLiteral("wmf/scene_anisotropic_y_up.wmf"),
        QStringLiteral("wmf/scene_isotropic.wmf"),
        QStringLiteral("wmf/scene_text.wmf"),
        QStringLiteral("emf/scene_text.emf"),
        QStringLiteral("emf/scene_anisotropic.emf"), // pen of 50 units at 10 units to the pixel
        QStringLiteral("emf/scene_isotropic.emf"),
    };
    for (const QString &file : files) {
        if (!(file.endsWith(QLatin1String(".wmf")) ? canDrawWmf() : canDrawEmf()))
            continue;
        LogoGrid g = allSet();
        ASSERT_TRUE(convertPicture(fixture(file), g)) << qPrintable(file);
        for (int r = 0; r < 14; ++r)
            for (int c = 0; c < 72; ++c)
                if (picture[r][c] != '?') {
                    ASSERT_EQ(g.isSet(c, r), picture[r][c] == '#') << qPrintable(file) << " at " << c << "," << r;
                }
    }
}

TEST(PictureImport, FilesThatCannotBeLoadedLeaveTheGridAlone)
{
    Sandbox sb;
    logotest::writeAll(sb.path(QStringLiteral("junk.bmp")), QByteArray("BM") + QByteArray(60, '\x7F'));
    for (const QString &p : {fixture(QStringLiteral("wmf/not_placeable.wmf")), sb.path(QStringLiteral("junk.bmp")),
                             sb.path(QStringLiteral("missing.gif"))}) {
        LogoGrid g = allSet();
        EXPECT_FALSE(convertPicture(p, g)) << qPrintable(p);
        EXPECT_EQ(g, allSet());
    }
}

namespace {

// The metafile with `count` copies of `record` (whole 16-bit words) put in
// before its first record.
QByteArray withRecords(const QByteArray &metafile, qsizetype firstRecord, const QByteArray &record, int count)
{
    return metafile.left(firstRecord) + record.repeated(count) + metafile.mid(firstRecord);
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian<quint32>(v, b.data());
    return b;
}

QByteArray pngChunk(const char *type, const QByteArray &data)
{
    static const auto table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    const QByteArray body = QByteArray(type) + data;
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : body)
        crc = table[(crc ^ quint8(ch)) & 0xFF] ^ (crc >> 8);
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), out.data());
    out += body;
    QByteArray tail(4, '\0');
    qToBigEndian<quint32>(~crc, tail.data());
    return out + tail;
}

// A black-and-white PNG of side x side pixels, white but for a black pixel at
// (3, 2): small on disk, however many pixels it has.
QByteArray squarePng(int side)
{
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(quint32(side), header.data());
    qToBigEndian<quint32>(quint32(side), header.data() + 4);
    header[8] = 1; // bit depth; colour type 0 (grey)
    const int rowBytes = 1 + (side + 7) / 8;
    QByteArray raw(qsizetype(rowBytes) * side, '\xFF');
    for (qsizetype r = 0; r < side; ++r)
        raw[r * rowBytes] = 0; // filter: none
    raw[2 * rowBytes + 1] = char(0xEF); // pixel 3 of row 2
    const QByteArray zlib = qCompress(raw, 9).mid(4);
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", zlib) +
           pngChunk("IEND", {});
}

} // namespace

TEST(PictureImport, PicturesBuiltToExhaustTimeOrMemoryAreRefusedBeforeDecoding)
{
    Sandbox sb;
    auto refused = [](const QString &path) {
        LogoGrid g = allSet();
        EXPECT_FALSE(convertPicture(path, g)) << qPrintable(path);
        EXPECT_EQ(g, allSet()) << qPrintable(path);
    };
    // A picture of a sane size still imports; a few megapixels more than
    // anything decoded whole is refused.
    const QString small = sb.path(QStringLiteral("small.png"));
    ASSERT_TRUE(logotest::writeAll(small, squarePng(100)));
    expectPicture(small, [](int c, int r) { return c == 3 && r == 2; });
    const QString huge = sb.path(QStringLiteral("huge.png"));
    ASSERT_TRUE(logotest::writeAll(huge, squarePng(16000)));
    refused(huge);

    // Metafiles: a file far larger than any picture (sparse, it costs no
    // disk), and records no picture needs.
    const QByteArray wmf = logotest::readAll(fixture(QStringLiteral("wmf/frame.wmf")));
    const QByteArray emf = logotest::readAll(fixture(QStringLiteral("emf/frame.emf")));
    constexpr qsizetype WmfRecords = 22 + 18;
    const qsizetype emfRecords = qFromLittleEndian<quint32>(emf.constData() + 4);
    const QByteArray saveDc("\x03\0\0\0\x1E\0", 6), restoreDc("\x04\0\0\0\x27\x01\xFF\xFF", 8);
    const QByteArray emfSave = le32(33) + le32(8), emfRestore = le32(34) + le32(12) + le32(quint32(-1));
    struct Case { const char *name; QByteArray bytes; bool imports; };
    const Case cases[] = {
        {"nested.wmf", withRecords(wmf, WmfRecords, saveDc, 200000), false},
        {"deep.wmf", withRecords(wmf, WmfRecords, saveDc, MaxMetafileSaveDepth + 1), false},
        {"saved.wmf", withRecords(wmf, WmfRecords, saveDc + restoreDc, MaxMetafileSaveDepth + 1), true},
        {"many.wmf", withRecords(wmf, WmfRecords, saveDc + restoreDc, MaxMetafileRecords / 2), false},
        {"nested.emf", withRecords(emf, emfRecords, emfSave, MaxMetafileSaveDepth + 1), false},
        {"saved.emf", withRecords(emf, emfRecords, emfSave + emfRestore, MaxMetafileSaveDepth + 1), true},
        {"many.emf", withRecords(emf, emfRecords, emfSave + emfRestore, MaxMetafileRecords / 2), false},
    };
    for (const Case &c : cases) {
        const QString path = sb.path(QString::fromLatin1(c.name));
        if (!(path.endsWith(QLatin1String(".wmf")) ? canDrawWmf() : canDrawEmf()))
            continue;
        ASSERT_TRUE(logotest::writeAll(path, c.bytes));
        if (c.imports) // the frame fixtures' black rectangle
            expectPicture(path, [](int c, int r) { return QRect(QPoint(10, 5), QPoint(19, 9)).contains(c, r); });
        else
            refused(path);
    }
    for (const QByteArray &metafile : {wmf, emf}) {
        const QString sparse = sb.path(QStringLiteral("sparse.wmf"));
        ASSERT_TRUE(logotest::writeAll(sparse, metafile));
        QFile file(sparse);
        ASSERT_TRUE(file.resize(qint64(1) << 30));
        refused(sparse);
        file.remove();
    }
}

namespace {

// Writes `content` to whoever opens the named pipe for reading, until it
// goes: a reader that waits for a writer gets a whole, valid file.
class PipeWriter {
public:
    PipeWriter(const QString &path, const QByteArray &content)
        : m_thread([this, name = QFile::encodeName(path), content] {
              while (!m_stop) {
                  const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                  if (fd >= 0) {
                      ::fcntl(fd, F_SETFL, 0);
                      (void)!::write(fd, content.constData(), size_t(content.size()));
                      ::close(fd);
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          })
    {
    }
    ~PipeWriter()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace

TEST(ImportCommand, NamedPipesAreRefusedWithoutWaitingForAWriter)
{
    // Every way a file reaches a window (Open, Import, a drop, the command
    // line, a hand-over) ends in these reads; the console tool says so.
    Sandbox sb;
    LogoGrid dot;
    dot.setSize(72, 14);
    dot.setPixel(3, 2, true);
    const struct { const char *name; QByteArray content; } cases[] = {
        {"pipe.png", squarePng(20)},
        {"pipe.ngg", buildLogoFile(dot, false, 0, 0, 50, QString(), QString())},
        {"pipe.nlm", logotest::readAll(fixture(QStringLiteral("nlm/diagonal.nlm")))},
    };
    for (const auto &c : cases) {
        const QString path = sb.path(QString::fromLatin1(c.name));
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        // Should the pipe be opened after all, it gives a good file.
        const PipeWriter writer(path, c.content);
        ScriptedPrompt prompt;
        LogoDocument doc(ProgramProfile::quillet());
        logotest::FilePieces pieces(doc, prompt, sb.settings());
        const LogoGrid before = doc.grid();
        EXPECT_FALSE(isImportPicturePath(path) ? pieces.files.importPicture(path) : pieces.files.openFile(path))
            << c.name;
        EXPECT_EQ(doc.grid(), before) << c.name;
        LogoGrid g = allSet();
        EXPECT_FALSE(convertPicture(path, g)) << c.name;
        const logotest::ToolRun shown = logotest::logotool({QStringLiteral("show"), path});
        EXPECT_EQ(shown.code, 1) << c.name;
        EXPECT_TRUE(shown.err.contains(QStringLiteral("not a regular file"))) << qPrintable(shown.err);
    }
}
