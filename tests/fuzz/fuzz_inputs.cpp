// libFuzzer target: every other reader of bytes from outside the program. The
// first byte of an input picks the reader, the rest is what it reads:
//   native logo files (NOL, NGG, NCG), the phone's phonebook replies and the
//   phonebook cache, the classification of AT replies, the operator update
//   file, the branding file, the hand-over message, the SIR decoder, and the
//   whole infrared exchange with the rest as everything the phone sends.
// Besides the sanitizers it checks what the readers promise.
#include "brisvanemodel/operatortable.h"
#include "desktop/branding.h"
#include "graphic/logofile.h"
#include "infrared/irupload.h"
#include "infrared/sirframing.h"
#include "phone/atengine.h"
#include "phone/phonebook.h"
#include "handover/handover.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

using namespace logo;

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void nativeFile(const QByteArray &bytes)
{
    LogoFileContent content;
    if (parseLogoFile(bytes, content) != LogoParse::Ok)
        return;
    check(content.width >= 0 && content.width <= LogoGrid::MaxWidth);
    check(content.height >= 0 && content.height <= LogoGrid::MaxHeight);
    // Missing pixels read as clear.
    check(content.bits.size() <= content.width * content.height);
    LogoGrid grid;
    grid.setSize(content.width, content.height);
    grid.bits2grid(content.bits);
    for (int r = 0; r < LogoGrid::MaxHeight; ++r)
        for (int c = 0; c < LogoGrid::MaxWidth; ++c)
            check(grid.cell(c, r) == 0 || grid.cell(c, r) == 1);
}

void phonebookReply(const QByteArray &bytes)
{
    const std::optional<PhonebookRange> range = parseRange(bytes);
    if (range)
        check(range->first >= 0 && range->first <= range->last);
    QList<PhonebookEntry> table;
    parseEntries(bytes, QStringLiteral("A"), range.value_or(PhonebookRange{1, 250}), table);
    check(table.size() <= Phonebook::Capacity);
    // A second memory appends to the first, never past the table's size.
    parseEntries(bytes, QStringLiteral("B"), PhonebookRange{1, 1000}, table);
    check(table.size() <= Phonebook::Capacity);
    for (const PhonebookEntry &e : table)
        (void)Phonebook::cacheLine(e);
    (void)translateName(stripQuotes(bytes));
}

void phonebookCache(const QByteArray &bytes)
{
    const QList<PhonebookEntry> entries = Phonebook::parseCache(bytes);
    check(entries.size() <= Phonebook::Capacity);
    // What is written back reads back the same.
    const QByteArray text = Phonebook::cacheText(entries);
    check(Phonebook::parseCache(text).size() == entries.size());
}

void atReply(const QByteArray &bytes)
{
    const QByteArray text = AtEngine::textOnly(bytes);
    check(text.size() <= bytes.size());
    const ReplyCode code = AtEngine::classify(text, text.size() / 2);
    check(code == ReplyCode::NoNewData || code == ReplyCode::Data || code == ReplyCode::Ok ||
          code == ReplyCode::Error || code == ReplyCode::Prompt || code == ReplyCode::PhonebookRange ||
          code == ReplyCode::CmsError || code == ReplyCode::Nothing);
    (void)AtEngine::classify(bytes, 0);
    (void)explainCmsError(bytes);
}

void operatorUpdate(const QByteArray &bytes)
{
    brisvane::OperatorTable table;
    const brisvane::UpdateReport report = table.appendUpdateText(bytes);
    check(table.count() <= brisvane::OperatorTable::Capacity);
    check(table.count() == brisvane::OperatorTable::BuiltInCount + report.added);
    for (const brisvane::OperatorListEntry &e : table.listEntries())
        (void)e.text;
    (void)report.message(QStringLiteral("OPUPDATE.CSV"));
}

void branding(const QByteArray &bytes)
{
    for (const char *section : {"Branding", "Links", ""})
        for (const char *key : {"SendViaSMS", "Title", ""})
            check(BrandingFile::lookup(bytes, QString::fromLatin1(section), QString::fromLatin1(key)).size() <=
                  BrandingFile::MaxValueLength);
}

void handOver(const QByteArray &bytes)
{
    QString path;
    QByteArray token;
    const InstanceHandOver::Parse parse = InstanceHandOver::decode(bytes, &path, &token);
    if (parse == InstanceHandOver::Parse::Open) {
        check(!path.isEmpty());
        check(InstanceHandOver::encode(path, token) == bytes);
    }
}

void sirDecoder(const QByteArray &bytes)
{
    SirDecoder decoder;
    for (char octet : bytes) {
        if (decoder.feed(quint8(octet)) == SirDecoder::Event::Frame) {
            check(decoder.frame().size() <= SirDecoder::Capacity);
            check(sirCheckPasses(decoder.frame()));
        }
    }
}

// A line on which the phone says exactly the input, then nothing.
class ScriptedLine : public IrLine {
public:
    explicit ScriptedLine(const QByteArray &incoming) : m_incoming(incoming) {}
    OpenResult open(const QString &) override { return OpenResult::Opened; }
    bool setSpeed(qint32) override { return true; }
    void close() override {}
    void setTimeouts(IrTimeouts) override {}
    bool writeOctet(quint8) override { return true; }
    int readOctet(quint8 &octet) override
    {
        if (m_at >= m_incoming.size())
            return 0;
        octet = quint8(m_incoming[m_at++]);
        return 1;
    }
    void flush() override {}

private:
    QByteArray m_incoming;
    qsizetype m_at = 0;
};

class NoClock : public IrClock {
public:
    void sleep(int) override {}
};

void infraredExchange(const QByteArray &bytes)
{
    ScriptedLine line(bytes);
    NoClock clock;
    IrUploadEngine::Options options;
    options.delays = IrDelays{0, 0, 0};
    options.connectionAddress = [] { return 0x42; };
    IrUploadEngine engine(line, clock, options);
    const QByteArray message = QByteArray::fromHex("0001000000000000") + QByteArray(126, '\x55');
    (void)engine.upload(message, 2, QStringLiteral("/dev/fuzz"));
    check(engine.stats().octetsRead <= bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // No copy: a read past the end lands in the fuzzer's own guarded buffer.
    const QByteArray rest = QByteArray::fromRawData(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    switch (data[0] % 9) {
    case 0: nativeFile(rest); break;
    case 1: phonebookReply(rest); break;
    case 2: phonebookCache(rest); break;
    case 3: atReply(rest); break;
    case 4: operatorUpdate(rest); break;
    case 5: branding(rest); break;
    case 6: handOver(rest); break;
    case 7: sirDecoder(rest); break;
    case 8: infraredExchange(rest); break;
    }
    return 0;
}
