// The component stream's extended-precision and binary values, the identifier tables and the
// limits the reader puts on what a damaged stream may make it do.
#include "platform/Filer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

QByteArray Extended(double V)
{
    Byte b[10];
    DoubleToExtended(V, b);
    return QByteArray(reinterpret_cast<const char *>(b), 10);
}

TEST(FilerValues, ExtendedPrecisionBothWays)
{
    struct Case {
        double Value;
        QByteArray Bytes;
    };
    const Case cases[] = {
        {1.0, QByteArray::fromHex("0000000000000080ff3f")},
        {-2.5, QByteArray::fromHex("00000000000000a000c0")},
        {0.0, QByteArray(10, '\0')},
        {std::numeric_limits<double>::infinity(), QByteArray::fromHex("0000000000000080ff7f")},
        // The smallest subnormal double is a normal extended value.
        {std::numeric_limits<double>::denorm_min(), QByteArray::fromHex("0000000000000080cd3b")},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Extended(c.Value).toHex(), c.Bytes.toHex()) << c.Value;
        Byte b[10];
        std::memcpy(b, c.Bytes.constData(), 10);
        EXPECT_EQ(ExtendedToDouble(b), c.Value);
    }
    for (double v : {3.141592653589793, -1e-300, 1.7976931348623157e308, 2.2250738585072014e-308, 123456.789}) {
        Byte b[10];
        DoubleToExtended(v, b);
        EXPECT_EQ(ExtendedToDouble(b), v);
    }
    Byte nan[10];
    DoubleToExtended(std::nan(""), nan);
    EXPECT_TRUE(std::isnan(ExtendedToDouble(nan)));
    // Beyond the double range: infinity above, zero below.
    const QByteArray huge = QByteArray::fromHex("0000000000000080ff7e"), tiny = QByteArray::fromHex("00000000000000800100");
    Byte h[10], t[10];
    std::memcpy(h, huge.constData(), 10);
    std::memcpy(t, tiny.constData(), 10);
    EXPECT_TRUE(std::isinf(ExtendedToDouble(h)));
    EXPECT_EQ(ExtendedToDouble(t), 0.0);
}

TEST(FilerValues, FloatsBinariesAndListsReadBack)
{
    TMemoryStream s;
    TFilerWriter w(&s);
    w.WriteFloat(0.1);
    w.WriteBinary(QByteArray("\x00\x01\x02", 3));
    w.WriteStrings({QStringLiteral("a"), QStringLiteral("bé")});
    w.Flush();
    s.SetPosition(0);
    TFilerReader r(&s);
    EXPECT_EQ(r.AsFloat(r.ReadSimple()), 0.1);
    EXPECT_EQ(r.AsBinary(r.ReadSimple()), QByteArray("\x00\x01\x02", 3));
    EXPECT_EQ(r.ReadSimple().Items, QStringList({QStringLiteral("a"), QStringLiteral("bé")}));
    EXPECT_EQ(r.Remaining(), 0);
}

// The writer hands its bytes over when it goes; a reader of a file takes it in blocks, yet
// leaves the file at the first byte it did not use, so that what follows can be read.
TEST(FilerValues, WritersAndReadersOfAFileHandOverExactly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("values.bin"));
    const QByteArray big(200000, 'x');
    {
        TFileStream f(path, fmCreate);
        TFilerWriter w(&f);
        w.WriteString(QStringLiteral("first"));
        w.WriteBinary(big);
        w.WriteInteger(-70000);
    }
    TFileStream f(path, fmOpenRead);
    EXPECT_EQ(f.Size(), 2 + 5 + 5 + 200000 + 5);
    {
        TFilerReader r(&f);
        EXPECT_EQ(r.ReadString(), QStringLiteral("first"));
        EXPECT_EQ(r.AsBinary(r.ReadSimple()), big);
    }
    EXPECT_EQ(f.Position(), 2 + 5 + 5 + 200000);
    TFilerReader r(&f);
    EXPECT_EQ(r.ReadInteger(), -70000);
    EXPECT_EQ(r.Remaining(), 0);
    EXPECT_THROW(r.ReadValue(), EReadError);
}

TEST(FilerValues, DamagedValuesRaiseTheReadError)
{
    const QByteArray damaged[] = {
        QByteArray("\x0A\xFF\xFF\xFF\x7F" "ab", 7), // binary count beyond the bytes left
        QByteArray("\x05\x00\x00", 3),              // extended value cut short
        QByteArray("\x16", 1),                      // no such value kind
        QByteArray(100000, '\x01'),                 // lists nested as deep as the stream is long
    };
    for (const QByteArray &d : damaged) {
        TMemoryStream s;
        s.Write(d.constData(), int(d.size()));
        s.SetPosition(0);
        TFilerReader r(&s);
        EXPECT_THROW(r.ReadSimple(), EReadError);
    }
}

TEST(FilerValues, IdentifierTablesAndOwnerIds)
{
    EXPECT_EQ(IdentOfValue(AlignmentIdents, 2), QStringLiteral("taCenter"));
    EXPECT_EQ(IdentOfValue(AlignmentIdents, 7), QStringLiteral("7"));
    EXPECT_EQ(ValueOfIdent(BrushStyleIdents, QStringLiteral("bsDiagCross")), 7);
    EXPECT_EQ(ValueOfIdent(BrushStyleIdents, QStringLiteral("bsNone")), -1);
    EXPECT_EQ(IdentsOfSet(FontStyleIdents, 0b1010), QStringList({QStringLiteral("fsItalic"), QStringLiteral("fsStrikeOut")}));
    TFilerValue v;
    v.Type = vaSet;
    v.Items = QStringList{QStringLiteral("fsBold"), QStringLiteral("fsUnderline")};
    EXPECT_EQ(ReadIdentSet(FontStyleIdents, v), 0b101u);
    v.Items << QStringLiteral("fsBlink");
    EXPECT_THROW(ReadIdentSet(FontStyleIdents, v), EReadError);
    const Cardinal a = NewStreamOwnerID(), b = NewStreamOwnerID();
    EXPECT_EQ(b, a + 1);
}

} // namespace
