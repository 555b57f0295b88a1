// The grid's own text file and its stream form, the numeric reading of a cell, rescaling and
// the copying of cells between grids.
#include "grid/core/ExtGrid.h"

#include "platform/Encoding.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

class GridTextFileTest : public TempDirTest {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Grid = std::make_unique<TExtStringGrid>(nullptr);
    }
    std::unique_ptr<TExtStringGrid> Grid;

    QStringList FileLines(const QString &Name)
    {
        TEncoding *enc = nullptr;
        const QByteArray b = ReadBytes(Name);
        const int bom = TEncoding::GetBufferEncoding(b, enc);
        return enc->GetString(b.mid(bom)).split(QStringLiteral("\r\n"));
    }
};

TEST_F(GridTextFileTest, FixedCellsLeftOutKeepGridIndicesAndReadBackToTheSameSize)
{
    Grid->SetColCount(5);
    Grid->SetRowCount(4);
    Grid->SetFixedCols(1);
    Grid->SetFixedRows(1);
    Grid->SetSaveFixedCells(false);
    Grid->SetCells(0, 0, QStringLiteral("fixed"));
    Grid->SetCells(1, 1, QStringLiteral("a,b"));
    Grid->SetCells(4, 3, QStringLiteral("last"));
    Grid->SetColWidths(2, 77);
    Grid->SaveToFile(PathOf("g.txt"));

    const QStringList lines = FileLines("g.txt");
    EXPECT_EQ(lines[0], QStringLiteral("4,3"));
    EXPECT_EQ(lines[1], QStringLiteral("cw 1,") + QString::number(Grid->ColWidths(1)));
    EXPECT_EQ(lines[2], QStringLiteral("cw 2,77"));
    EXPECT_EQ(lines[5], QStringLiteral("1,1,a,b"));
    EXPECT_EQ(lines[6], QStringLiteral("4,3,last"));
    EXPECT_FALSE(lines.join(u'|').contains(QStringLiteral("fixed")));

    TExtStringGrid other(nullptr);
    other.SetFixedCols(1);
    other.SetFixedRows(1);
    other.SetSaveFixedCells(false);
    other.SetCells(0, 0, QStringLiteral("kept"));
    other.LoadFromFile(PathOf("g.txt"));
    EXPECT_EQ(other.ColCount(), 5);
    EXPECT_EQ(other.RowCount(), 4);
    EXPECT_EQ(other.Cells(1, 1), QStringLiteral("a,b"));
    EXPECT_EQ(other.Cells(4, 3), QStringLiteral("last"));
    EXPECT_EQ(other.ColWidths(2), 77);
    // Readers never empty the grid first.
    EXPECT_EQ(other.Cells(0, 0), QStringLiteral("kept"));
}

TEST_F(GridTextFileTest, LineBreaksArePackedAndUnpackedByMultilineSetting)
{
    struct Case {
        const char *Name;
        QString Text;
        bool Multi;
        QString Packed;
        QString Back;
    };
    const Case cases[] = {
        {"two lines, multi-line", QStringLiteral("a\r\nb"), true, QStringLiteral("a\x09\x08" "b"), QStringLiteral("a\r\nb")},
        {"two lines, single", QStringLiteral("a\r\nb"), false, QStringLiteral("a\x09\x08" "b"), QStringLiteral("a")},
        {"tab alone is kept", QStringLiteral("a\tb"), true, QStringLiteral("a\tb"), QStringLiteral("a\tb")},
        {"a line feed alone cannot break the line", QStringLiteral("a\n1,1,b"), true, QStringLiteral("a\x08" "1,1,b"), QStringLiteral("a\n1,1,b")},
        {"tab beside a CR LF becomes a CR", QStringLiteral("a\tb\r\nc"), true, QStringLiteral("a\tb\x09\x08" "c"), QStringLiteral("a\rb\r\nc")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        TExtStringGrid g(nullptr);
        g.SetColCount(2);
        g.SetRowCount(2);
        g.SetMultilinecells(c.Multi);
        g.SetCells(1, 1, c.Text);
        g.SaveToFile(PathOf("m.txt"), true);
        EXPECT_TRUE(FileLines("m.txt").contains(QStringLiteral("1,1,") + c.Packed));
        TExtStringGrid h(nullptr);
        h.SetMultilinecells(c.Multi);
        h.LoadFromFile(PathOf("m.txt"));
        EXPECT_EQ(h.Cells(1, 1), c.Back);
    }
}

TEST_F(GridTextFileTest, EncodingsNumbersAndDamagedFiles)
{
    // ANSI without a mark, UTF-16 with one; both read back.
    Grid->SetColCount(2);
    Grid->SetRowCount(2);
    Grid->SetCells(0, 1, QStringLiteral("café ☃"));
    Grid->SaveToFile(PathOf("a.txt"), false);
    Grid->SaveToFile(PathOf("u.txt"), true);
    EXPECT_TRUE(ReadBytes("a.txt").contains("caf\xE9 ?"));
    EXPECT_TRUE(ReadBytes("u.txt").startsWith("\xFF\xFE"));
    TExtStringGrid u(nullptr);
    u.LoadFromFile(PathOf("u.txt"));
    EXPECT_EQ(u.Cells(0, 1), QStringLiteral("café ☃"));

    // Lenient numbers: hexadecimal forms and a tail that is no digit.
    WriteBytes("n.txt", "$3,0x4\r\ncw 1,12ab\r\n2,$1,x\r\n0x2,3ab,y\r\n9,9,outside\r\nnocomma\r\n");
    TExtStringGrid n(nullptr);
    // Progress is reported for skipped lines too, however far outside the grid they point.
    WriteBytes("n.txt", "$3,0x4\r\ncw 1,12ab\r\n2,$1,x\r\n0x2,3ab,y\r\n9,9,outside\r\n1,2147483647,far\r\nnocomma\r\n");
    QList<int> fired;
    n.OnFileProgress = [&fired](TObject *, SmallInt P) { fired << P; };
    n.LoadFromFile(PathOf("n.txt"));
    EXPECT_EQ(fired.last(), int(SHRT_MAX));
    EXPECT_EQ(n.ColCount(), 3);
    EXPECT_EQ(n.RowCount(), 4);
    EXPECT_EQ(n.ColWidths(1), 12);
    EXPECT_EQ(n.Cells(2, 1), QStringLiteral("x"));
    EXPECT_EQ(n.Cells(2, 3), QStringLiteral("y"));
    EXPECT_EQ(n.Cells(0, 0), QString());

    // No data, absurd counts: the grid keeps its size and texts.
    const QByteArray damaged[] = {QByteArray("0,5\r\n1,1,x\r\n"), QByteArray("99999999,2\r\n"), QByteArray("-3,2\r\n")};
    for (const QByteArray &d : damaged) {
        WriteBytes("d.txt", d);
        TExtStringGrid g(nullptr);
        g.SetColCount(3);
        g.SetRowCount(3);
        g.SetCells(1, 1, QStringLiteral("old"));
        try {
            g.LoadFromFile(PathOf("d.txt"));
            ADD_FAILURE() << d.constData();
        } catch (const RIdeZareVorev &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("File contains no data or corrupt file ") + PathOf("d.txt"));
        }
        EXPECT_EQ(g.ColCount(), 3);
        EXPECT_EQ(g.Cells(1, 1), QStringLiteral("old"));
    }
    EXPECT_THROW(Grid->LoadFromFile(PathOf("missing.txt")), EFOpenError);
}

TEST_F(GridTextFileTest, StreamStopsAtForeignDataAndConvertsStrictly)
{
    Grid->SetColCount(3);
    Grid->SetRowCount(3);
    Grid->SetCells(1, 2, QStringLiteral("x\r\ny"));
    Grid->SetCells(2, 0, QStringLiteral("z"));
    Grid->SetColWidths(1, 40);
    TMemoryStream s;
    Grid->SaveToStream(&s);
    const Int64 end = s.Position();
    s.Write("TAIL", 4);
    s.SetPosition(0);

    TExtStringGrid g(nullptr);
    g.SetMultilinecells(true);
    g.LoadFromStream(&s);
    EXPECT_EQ(s.Position(), end);
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(g.RowCount(), 3);
    EXPECT_EQ(g.ColWidths(1), 40);
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("x\r\ny"));
    EXPECT_EQ(g.Cells(2, 0), QStringLiteral("z"));

    auto utf16 = [](const QString &T) {
        QByteArray b;
        for (QChar c : T) {
            b += char(c.unicode() & 0xFF);
            b += char(c.unicode() >> 8);
        }
        return b;
    };
    struct Case {
        QString Text;
        bool Fails;
        int Col;
    };
    const Case cases[] = {
        {QStringLiteral("2,2\r\n$1,0,hex\r\n"), false, 1},
        {QStringLiteral("2,2\r\n0x1,0,hex\r\n"), false, 1},
        {QStringLiteral("2,2\r\n12ab,0,bad\r\n"), true, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        TMemoryStream m;
        const QByteArray b = utf16(c.Text);
        m.Write(b.constData(), int(b.size()));
        m.SetPosition(0);
        TExtStringGrid h(nullptr);
        if (c.Fails) {
            EXPECT_THROW(h.LoadFromStream(&m), EConvertError);
        } else {
            h.LoadFromStream(&m);
            EXPECT_EQ(h.Cells(c.Col, 0), QStringLiteral("hex"));
        }
    }
}

TEST_F(GridTextFileTest, AssignCellsCopiesThroughTheStreamAlsoWithRightFixedColumns)
{
    Grid->SetColCount(4);
    Grid->SetRowCount(3);
    Grid->SetFixedRightCols(1);
    Grid->SetSaveFixedCells(false);
    Grid->SetCells(1, 1, QStringLiteral("b"));
    Grid->SetCells(3, 1, QStringLiteral("right"));
    TExtStringGrid g(nullptr);
    g.SetSaveFixedCells(false);
    g.AssignCells(Grid.get());
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("b"));
    EXPECT_EQ(g.ColCount(), 3);
    // Anything but a string grid is ignored.
    TStringList l;
    g.AssignCells(&l);
}

TEST_F(GridTextFileTest, CellToRealReadsTheNumericPartOrNamesThePosition)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.ThousandSeparator = QLatin1Char('.');
    FormatSettings.DecimalSeparator = QLatin1Char(',');
    Grid->SetColCount(2);
    Grid->SetRowCount(2);
    struct Case {
        QString Text;
        double Value;
    };
    const Case cases[] = {{QStringLiteral("1.234,5"), 1234.5}, {QStringLiteral("(12)"), -12}, {QString(), 0}, {QStringLiteral("$ 7"), 7}};
    for (const Case &c : cases) {
        Grid->SetCells(1, 1, c.Text);
        EXPECT_DOUBLE_EQ(Grid->CellToReal(1, 1), c.Value) << c.Text.toStdString();
    }
    Grid->SetCells(1, 1, QStringLiteral("1e"));
    try {
        Grid->CellToReal(1, 1);
        ADD_FAILURE();
    } catch (const RIdeZareVorev &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Error at position: 3 in Cell [1, 1]."));
    }
    FormatSettings = saved;
}

TEST_F(GridTextFileTest, ChangeScaleScalesFixedAndActiveCellFonts)
{
    Grid->FixedFont()->SetSize(10);
    Grid->ActiveCellFont()->SetSize(9);
    Grid->ChangeScale(3, 2);
    EXPECT_EQ(Grid->FixedFont()->Size(), 15);
    EXPECT_EQ(Grid->ActiveCellFont()->Size(), 14);
    Grid->ChangeScale(2, 2);
    EXPECT_EQ(Grid->FixedFont()->Size(), 15);
}

} // namespace
