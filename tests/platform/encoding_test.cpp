#include "platform/Encoding.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

struct TCodePageCase {
    const char *what;
    TEncoding *(*encoding)();
    char16_t ch;
    int byte;
};

class CodePageTable : public ::testing::TestWithParam<TCodePageCase> {};

TEST_P(CodePageTable, MapsBothWays)
{
    const TCodePageCase &c = GetParam();
    TEncoding *enc = c.encoding();
    EXPECT_EQ(enc->GetBytes(QString(QChar(c.ch))), Bytes({c.byte})) << c.what;
    EXPECT_EQ(enc->GetString(Bytes({c.byte})), QString(QChar(c.ch))) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Specials, CodePageTable, ::testing::Values(
    TCodePageCase{"1252 euro", &TEncoding::ANSI, 0x20AC, 0x80},
    TCodePageCase{"1252 left single quote", &TEncoding::ANSI, 0x2018, 0x91},
    TCodePageCase{"1252 right single quote", &TEncoding::ANSI, 0x2019, 0x92},
    TCodePageCase{"1252 left double quote", &TEncoding::ANSI, 0x201C, 0x93},
    TCodePageCase{"1252 right double quote", &TEncoding::ANSI, 0x201D, 0x94},
    TCodePageCase{"1252 S caron", &TEncoding::ANSI, 0x0160, 0x8A},
    TCodePageCase{"1252 Y diaeresis", &TEncoding::ANSI, 0x0178, 0x9F},
    TCodePageCase{"1252 undefined byte kept", &TEncoding::ANSI, 0x0081, 0x81},
    TCodePageCase{"1252 e grave", &TEncoding::ANSI, 0x00E8, 0xE8},
    TCodePageCase{"1252 nbsp", &TEncoding::ANSI, 0x00A0, 0xA0},
    TCodePageCase{"437 C cedilla", &TEncoding::OEM, 0x00C7, 0x80},
    TCodePageCase{"437 e grave", &TEncoding::OEM, 0x00E8, 0x8A},
    TCodePageCase{"437 light shade", &TEncoding::OEM, 0x2591, 0xB0},
    TCodePageCase{"437 box vertical", &TEncoding::OEM, 0x2502, 0xB3},
    TCodePageCase{"437 box double down right", &TEncoding::OEM, 0x2554, 0xC9},
    TCodePageCase{"437 box horizontal", &TEncoding::OEM, 0x2500, 0xC4},
    TCodePageCase{"437 full block", &TEncoding::OEM, 0x2588, 0xDB},
    TCodePageCase{"437 beta", &TEncoding::OEM, 0x00DF, 0xE1},
    TCodePageCase{"437 degree", &TEncoding::OEM, 0x00B0, 0xF8},
    TCodePageCase{"437 nbsp", &TEncoding::OEM, 0x00A0, 0xFF},
    TCodePageCase{"Latin-1 byte 0x80", &TEncoding::Latin1, 0x0080, 0x80}),
    [](const ::testing::TestParamInfo<TCodePageCase> &info) {
        std::string name = info.param.what;
        for (char &c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

TEST(Encoding, EverySingleByteSurvivesTheRoundTrip)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    for (TEncoding *enc : {TEncoding::ANSI(), TEncoding::OEM(), TEncoding::Latin1()})
        EXPECT_EQ(enc->GetBytes(enc->GetString(all)), all) << enc->CodePage();
}

TEST(Encoding, UnmappableCharactersBecomeQuestionMarks)
{
    const QString text = QStringLiteral("a\u20ACb\u4E2D") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("c");
    EXPECT_EQ(TEncoding::ANSI()->GetBytes(text), QByteArray("a\x80" "b?" "?c"));
    EXPECT_EQ(TEncoding::OEM()->GetBytes(text), QByteArray("a?b??c"));
    EXPECT_EQ(CharToOem(QStringLiteral("\u2554\u2550\u2557 \u00E8")), Bytes({0xC9, 0xCD, 0xBB, ' ', 0x8A}));
    EXPECT_EQ(OemToChar(Bytes({0xC9, 0xCD, 0xBB})), QStringLiteral("\u2554\u2550\u2557"));
}

TEST(Encoding, UnicodeRoundTripsAndPreambles)
{
    const QString text = QStringLiteral("Caf\u00E9 \u20AC ") + QString::fromUcs4(U"\U0001F600");
    struct {
        TEncoding *enc;
        QByteArray preamble;
        int codePage;
    } cases[] = {
        {TEncoding::UTF8(), Bytes({0xEF, 0xBB, 0xBF}), 65001},
        {TEncoding::Unicode(), Bytes({0xFF, 0xFE}), 1200},
        {TEncoding::BigEndianUnicode(), Bytes({0xFE, 0xFF}), 1201},
        {TEncoding::ANSI(), QByteArray(), 1252},
        {TEncoding::OEM(), QByteArray(), 437},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.enc->GetPreamble(), c.preamble) << c.codePage;
        EXPECT_EQ(c.enc->CodePage(), c.codePage);
        EXPECT_EQ(TEncoding::GetEncoding(c.codePage), c.enc);
        if (c.enc->IsUnicode()) {
            EXPECT_EQ(c.enc->GetString(c.enc->GetBytes(text)), text) << c.codePage;
        }
    }
    EXPECT_EQ(TEncoding::Unicode()->GetBytes(QStringLiteral("A\u20AC")), Bytes({'A', 0, 0xAC, 0x20}));
    EXPECT_EQ(TEncoding::BigEndianUnicode()->GetBytes(QStringLiteral("A\u20AC")), Bytes({0, 'A', 0x20, 0xAC}));
    EXPECT_EQ(TEncoding::Default(), TEncoding::ANSI());
    EXPECT_EQ(TEncoding::GetEncoding(932), nullptr);
}

TEST(Encoding, DamagedUnicodeBytesDoNotThrow)
{
    EXPECT_EQ(TEncoding::UTF8()->GetString(Bytes({'a', 0xC3})), QStringLiteral("a\uFFFD"));
    EXPECT_EQ(TEncoding::Unicode()->GetString(Bytes({'a', 0, 'b'})), QStringLiteral("a\uFFFD"));
}

TEST(Encoding, GetBufferEncodingDetectsByteOrderMarks)
{
    struct {
        QByteArray buf;
        TEncoding *expected;
        int length;
    } cases[] = {
        {Bytes({0xEF, 0xBB, 0xBF, 'x'}), TEncoding::UTF8(), 3},
        {Bytes({0xFF, 0xFE, 'x', 0}), TEncoding::Unicode(), 2},
        {Bytes({0xFE, 0xFF, 0, 'x'}), TEncoding::BigEndianUnicode(), 2},
        {QByteArray("plain"), TEncoding::ANSI(), 0},
        {QByteArray(), TEncoding::ANSI(), 0},
        {Bytes({0xEF, 0xBB}), TEncoding::ANSI(), 0},
    };
    for (const auto &c : cases) {
        TEncoding *enc = nullptr;
        EXPECT_EQ(TEncoding::GetBufferEncoding(c.buf, enc), c.length) << c.buf.toHex().constData();
        EXPECT_EQ(enc, c.expected) << c.buf.toHex().constData();
    }

    // A given encoding only measures its own mark.
    TEncoding *utf8 = TEncoding::UTF8();
    EXPECT_EQ(TEncoding::GetBufferEncoding(Bytes({0xEF, 0xBB, 0xBF}), utf8), 3);
    EXPECT_EQ(TEncoding::GetBufferEncoding(Bytes({0xFF, 0xFE}), utf8), 0);
    EXPECT_EQ(utf8, TEncoding::UTF8());
    TEncoding *ansi = TEncoding::ANSI();
    EXPECT_EQ(TEncoding::GetBufferEncoding(Bytes({0xEF, 0xBB, 0xBF}), ansi), 0);
}

TEST(Encoding, MarkInsideTheBytesStaysInTheText)
{
    EXPECT_EQ(TEncoding::Unicode()->GetString(Bytes({0xFF, 0xFE, 'x', 0})), QStringLiteral("\uFEFFx"));
    // A UTF-8 text whose first cell begins with the mark, after the file's own mark was taken.
    EXPECT_EQ(TEncoding::UTF8()->GetString(Bytes({0xEF, 0xBB, 0xBF, 'x'})), QStringLiteral("\uFEFFx"));
    EXPECT_EQ(TEncoding::UTF8()->GetString(Bytes({0xEF, 0xBB, 0xBF, 0xEF, 0xBB, 0xBF})), QStringLiteral("\uFEFF\uFEFF"));
    EXPECT_EQ(TEncoding::UTF8()->GetString(Bytes({'x', 0xEF, 0xBB, 0xBF})), QStringLiteral("x\uFEFF"));
}

} // namespace
