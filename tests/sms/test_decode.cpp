// Cross-check: a decoder written separately from the GSM 03.40 rules (and the
// smart-messaging port and bitmap layout) reads the PDUs back, so that a field
// that is wrong in both the builder and the hand-made expectations shows up.
#include "sms/pdu.h"
#include "smstestutil.h"

#include <gtest/gtest.h>
#include <cstdint>
#include <optional>
#include <vector>

using namespace logo;

namespace {

struct Decoded {
    std::string smsc;
    int mti = -1;
    bool udhi = false, srr = false, sri = false, mms = false;
    int vpf = 0, vpMinutes = -1;
    std::string address;
    int addressType = -1;
    int pid = -1, dcs = -1;
    bool eightBit = false;
    int msgClass = -1;
    int scts[7] = {};
    std::vector<uint8_t> ud;
    int dstPort = -1, orgPort = -1;
    std::string mcc, mnc;
    int width = -1, height = -1, depth = -1;
    std::vector<bool> pixels;
};

class Reader {
public:
    explicit Reader(const std::string &hex)
    {
        for (size_t i = 0; i + 1 < hex.size(); i += 2)
            b.push_back(uint8_t(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    uint8_t next()
    {
        if (pos >= b.size())
            throw std::out_of_range("PDU too short");
        return b[pos++];
    }
    std::string bcd(int digits)
    {
        std::string s;
        for (int i = 0; i < (digits + 1) / 2; ++i) {
            const uint8_t o = next();
            for (int n : {o & 0x0F, o >> 4})
                if (n != 0xF && int(s.size()) < digits)
                    s += char('0' + n);
        }
        return s;
    }
    size_t left() const { return b.size() - pos; }
    std::vector<uint8_t> b;
    size_t pos = 0;
};

int bcdValue(uint8_t o) { return (o & 0x0F) * 10 + (o >> 4); }

Decoded decode(const QString &line)
{
    Reader r(line.toStdString());
    Decoded d;
    const int smscLen = r.next();
    if (smscLen > 0) {
        r.next();
        d.smsc = r.bcd(2 * (smscLen - 1));
    }
    const uint8_t fo = r.next();
    d.mti = fo & 0x03;
    d.udhi = fo & 0x40;
    if (d.mti == 1) {   // SMS-SUBMIT
        d.vpf = (fo >> 3) & 0x03;
        d.srr = fo & 0x20;
        r.next();       // TP-MR
    } else {            // SMS-DELIVER
        d.mms = fo & 0x04;
        d.sri = fo & 0x20;
    }
    const int digits = r.next();
    d.addressType = r.next();
    d.address = r.bcd(digits);
    d.pid = r.next();
    d.dcs = r.next();
    if ((d.dcs & 0xF0) == 0xF0) {
        d.eightBit = d.dcs & 0x04;
        d.msgClass = d.dcs & 0x03;
    }
    if (d.mti == 1 && d.vpf == 2) {
        const int vp = r.next();
        d.vpMinutes = vp <= 143 ? (vp + 1) * 5 : vp <= 167 ? 720 + (vp - 143) * 30 : 0;
    }
    if (d.mti == 0)
        for (int &v : d.scts)
            v = bcdValue(r.next());
    const int udl = r.next();
    for (int i = 0; i < udl; ++i)
        d.ud.push_back(r.next());
    if (r.left())
        throw std::runtime_error("octets after the user data");

    size_t p = 0;
    if (d.udhi) {
        const size_t end = 1 + d.ud.at(0);
        p = 1;
        while (p < end) {
            const int iei = d.ud.at(p), len = d.ud.at(p + 1);
            if (iei == 0x05 && len == 4) {
                d.dstPort = d.ud.at(p + 2) << 8 | d.ud.at(p + 3);
                d.orgPort = d.ud.at(p + 4) << 8 | d.ud.at(p + 5);
            }
            p += 2 + len;
        }
        p = end;
    }
    if (d.dstPort == 0x1582) {   // operator logo: MCC 2 octets, MNC 1 octet
        const uint8_t a = d.ud.at(p), b = d.ud.at(p + 1), c = d.ud.at(p + 2);
        d.mcc = {char('0' + (a & 0xF)), char('0' + (a >> 4)), char('0' + (b & 0xF))};
        if ((b >> 4) != 0xF)
            d.mcc = "bad filler";
        d.mnc = {char('0' + (c & 0xF)), char('0' + (c >> 4))};
        p += 3;
    }
    if (d.dstPort == 0x1582 || d.dstPort == 0x1583) {
        if (d.ud.at(p) != 0)
            throw std::runtime_error("bitmap info field");
        d.width = d.ud.at(p + 1);
        d.height = d.ud.at(p + 2);
        d.depth = d.ud.at(p + 3);
        p += 4;
        for (int i = 0; i < d.width * d.height; ++i)
            d.pixels.push_back(d.ud.at(p + size_t(i / 8)) & (0x80 >> (i % 8)));
    }
    return d;
}

void expectPicture(const Decoded &d, const LogoGrid &g)
{
    ASSERT_EQ(d.width, g.width());
    ASSERT_EQ(d.height, g.height());
    EXPECT_EQ(d.depth, 1);
    for (int r = 0; r < g.height(); ++r)
        for (int c = 0; c < g.width(); ++c)
            ASSERT_EQ(d.pixels[size_t(r * g.width() + c)], g.isSet(c, r)) << c << "," << r;
}

} // namespace

TEST(PduDecode, SubmitIsAnOperatorLogoWithItsNetwork)
{
    const LogoGrid g = smstest::patternGrid();
    const UserData ud = operatorLogoUserData(g, QStringLiteral("262"), QStringLiteral("7"));
    for (bool report : {false, true}) {
        const Decoded d = decode(buildSubmitPdu(ud, smstest::kDestination, smstest::kCentre, report).line());
        EXPECT_EQ(d.smsc, smstest::kCentre.toStdString());
        EXPECT_EQ(d.mti, 1);
        EXPECT_TRUE(d.udhi);
        EXPECT_EQ(d.srr, report);
        EXPECT_EQ(d.vpf, 2);
        EXPECT_EQ(d.vpMinutes, 24 * 60);
        EXPECT_EQ(d.address, smstest::kDestination.toStdString());
        EXPECT_EQ(d.addressType, 0x91);
        EXPECT_TRUE(d.eightBit);
        EXPECT_EQ(d.msgClass, 1);
        EXPECT_EQ(d.dstPort, 0x1582);
        EXPECT_EQ(d.orgPort, 0);
        EXPECT_EQ(d.mcc, "262");
        EXPECT_EQ(d.mnc, "07");
        expectPicture(d, g);
    }
}

TEST(PduDecode, StoredGroupGraphicFromTheCounterNumber)
{
    const LogoGrid g = smstest::patternGrid();
    const Pdu p = buildStorePdu(ProgramProfile::quillet(), groupGraphicUserData(g), 41,
                                QDateTime(QDate(2031, 11, 9), QTime(7, 5, 3)));
    const Decoded d = decode(p.line());
    EXPECT_EQ(d.smsc, "");
    EXPECT_EQ(d.mti, 0);
    EXPECT_TRUE(d.udhi);
    EXPECT_TRUE(d.mms);   // no more messages waiting
    EXPECT_EQ(d.address, "999000041");
    EXPECT_TRUE(d.eightBit);
    const int scts[7] = {31, 11, 9, 7, 5, 3, 0};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(d.scts[i], scts[i]) << i;
    EXPECT_EQ(d.dstPort, 0x1583);
    EXPECT_EQ(d.orgPort, 0x1583);
    expectPicture(d, g);
}

TEST(PduDecode, OddOddWidthBitmapReadsBack)
{
    const LogoGrid g = smstest::patternGrid(13, 5);
    const Decoded d = decode(buildSubmitPdu(groupGraphicUserData(g), QStringLiteral("12345"),
                                            QStringLiteral("1"), false).line());
    EXPECT_EQ(d.address, "12345");
    EXPECT_EQ(d.smsc, "1");
    expectPicture(d, g);
}
