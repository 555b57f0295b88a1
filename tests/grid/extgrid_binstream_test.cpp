// The binary cell stream: record framing and value kinds, placing a block at another cell,
// whole-grid round trips with cell properties and every graphic payload, and damaged streams.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "support/TempDir.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

QByteArray Name(const char *N) { return QByteArray(1, char(std::strlen(N))) + QByteArray(N); }

QByteArray Saved(TExtStringGrid &G, const TRect &R)
{
    TMemoryStream s;
    G.SaveRectToBinStream(R, &s);
    return s.Bytes();
}

void Load(TExtStringGrid &G, const QByteArray &B, TPoint At = TPoint(0, 0), bool AtPoint = false)
{
    TMemoryStream s;
    s.Write(B.constData(), int(B.size()));
    s.SetPosition(0);
    if (AtPoint)
        G.LoadAtPointFromBinStream(At, &s);
    else
        G.LoadFromBinStream(&s);
}

class GridBinStreamTest : public TempDirTest {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetColCount(5);
        Grid->SetRowCount(6);
    }
    std::unique_ptr<TExtStringGrid> Grid;
};

TEST_F(GridBinStreamTest, EmptyRectangleGivesTheHeaderAndBareCellRecords)
{
    const QByteArray b = Saved(*Grid, TRect(1, 2, 3, 3));
    EXPECT_TRUE(b.startsWith(QByteArray("TPF0") + Name("TGridPropIO") + char(0) + Name("ColCount") + char(2) + char(3) +
                             Name("RowCount") + char(2) + char(2)));
    EXPECT_EQ(b.count("TPF0"), 7);
    // The first cell record: Col 1, Row 2, no text, HasProp false, then the two list ends.
    const QByteArray cell = QByteArray("TPF0") + Name("TGridCellIO") + char(0) + Name("Col") + char(2) + char(1) + Name("Row") +
                            char(2) + char(2) + Name("HasProp") + char(8) + char(0) + char(0);
    EXPECT_TRUE(b.contains(cell));
    EXPECT_FALSE(b.contains(Name("Cell") + char(6)));
    EXPECT_TRUE(b.endsWith(QByteArray("\x08\x00\x00", 3)));
}

TEST_F(GridBinStreamTest, ValueKindsAreTheSmallestThatHold)
{
    TExtStringGrid g(nullptr);
    g.SetColCount(2);
    g.SetRowCount(70001);
    struct Case {
        const char *What;
        int Row;
        QString Text;
        QByteArray Expected;
    };
    const QString ascii64(64, u'a'), ascii300(300, u'b');
    const Case cases[] = {
        {"row 100", 100, QString(), Name("Row") + char(2) + char(100)},
        {"row 300", 300, QString(), Name("Row") + char(3) + QByteArray("\x2C\x01", 2)},
        {"row 70000", 70000, QString(), Name("Row") + char(4) + QByteArray("\x70\x11\x01\x00", 4)},
        {"café", 0, QStringLiteral("café"), Name("Cell") + char(20) + QByteArray("\x05\x00\x00\x00" "caf\xC3\xA9", 9)},
        {"two-byte characters", 0, QStringLiteral("ÄÖ"), Name("Cell") + char(18) + QByteArray("\x02\x00\x00\x00\xC4\x00\xD6\x00", 8)},
        {"64 ASCII", 0, ascii64, Name("Cell") + char(6) + char(64) + ascii64.toLatin1()},
        {"300 ASCII", 0, ascii300, Name("Cell") + char(12) + QByteArray("\x2C\x01\x00\x00", 4) + ascii300.toLatin1()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.What);
        g.SetCells(1, c.Row, c.Text);
        const QByteArray b = Saved(g, TRect(1, c.Row, 1, c.Row));
        EXPECT_TRUE(b.contains(c.Expected));
        TExtStringGrid h(nullptr);
        h.SetColCount(2);
        h.SetRowCount(3);
        Load(h, b, TPoint(1, 1), true);
        EXPECT_EQ(h.Cells(1, 1), c.Text);
    }
}

TEST_F(GridBinStreamTest, BlockLoadsAtAnotherPointAndSkipsWhatFallsOutside)
{
    Grid->SetCells(2, 3, QStringLiteral("first"));
    Grid->SetCells(4, 5, QStringLiteral("last"));
    Grid->CellProperties(4, 5)->SetBrushColor(clRed);
    const QByteArray b = Saved(*Grid, TRect(2, 3, 4, 5));
    TExtStringGrid g(nullptr);
    g.SetColCount(13);
    g.SetRowCount(12);
    Load(g, b, TPoint(10, 10), true);
    EXPECT_EQ(g.ColCount(), 13);
    EXPECT_EQ(g.RowCount(), 12);
    EXPECT_EQ(g.Cells(10, 10), QStringLiteral("first"));
    EXPECT_EQ(g.Cells(12, 12 - 1), QString());
    // (4, 5) would land at (12, 12): outside, skipped with its properties.
    EXPECT_FALSE(g.CellHasProperties(12, 11));
    g.SetRowCount(13);
    Load(g, b, TPoint(10, 10), true);
    EXPECT_EQ(g.Cells(12, 12), QStringLiteral("last"));
    EXPECT_EQ(g.CellProperties(12, 12)->BrushColor(), clRed);
}

TEST_F(GridBinStreamTest, WholeGridRoundTripWithPropertiesAndGraphics)
{
    const QString bmpPath = PathOf("pic.bmp");
    {
        TBitmap b(3, 2);
        b.SaveToFile(bmpPath);
    }
    for (bool saveFixed : {true, false}) {
        SCOPED_TRACE(saveFixed);
        TExtStringGrid g(nullptr);
        g.SetColCount(4);
        g.SetRowCount(9);
        g.SetSaveFixedCells(saveFixed);
        g.SetColWidths(2, 91);
        g.SetRowHeights(3, 33);
        for (int r = 1; r < 9; ++r)
            g.SetCells(1, r, QStringLiteral("t%1").arg(r));
        TCellProperties *p = g.CellProperties(1, 1);
        p->SetAlignment(taCenter);
        p->SetBrushColor(TColor(0x123456));
        p->SetBrushColorTo(clBlue);
        p->SetBrushStyle(TBrushStyle::bsCross);
        p->SetFontName(QStringLiteral("Serif"));
        p->SetFontStyle(TFontStyles{TFontStyle::fsBold, TFontStyle::fsUnderline});
        p->SetEditor(edFloat);
        p->SetGradientDirection(GradientHorizontal);
        p->SetVAlignment(vtaBottom);
        p->SetReadOnly(true);
        p->SetNodeLevel(2);
        p->SetCellObject(1234);

        TCellGraphic *bg = g.CreateCellGraphic(2, 1);
        bg->SetCellType(ctBitmap);
        auto *bmp = new TBitmap(4, 3);
        bmp->Canvas()->Pixels(1, 1);
        bg->SetCellObject(bmp);
        bg->SetCellCreated(true);
        TCellGraphic *ig = g.CreateCellGraphic(2, 2);
        ig->SetCellType(ctIcon);
        auto *icon = new TIcon();
        icon->SetImage(QImage(5, 5, QImage::Format_ARGB32));
        ig->SetCellIcon(icon);
        ig->SetCellCreated(true);
        TStrings *radio = g.CreateRadio(2, 3, 0, 1);
        radio->Add(QStringLiteral("one"));
        radio->Add(QStringLiteral("two"));
        TCellGraphic *mg = g.CreateCellGraphic(2, 4);
        mg->SetMultiImage(2, 4, 0, haLeft, vaTop, nullptr);
        static_cast<TIntList *>(mg->CellObject())->Add(3);
        static_cast<TIntList *>(mg->CellObject())->Add(7);
        TCellGraphic *pg = g.CreateCellGraphic(2, 5);
        pg->SetCellType(ctPicture);
        auto *pic = new TPicture();
        pic->LoadFromFile(bmpPath);
        pg->SetCellObject(pic);
        pg->SetCellCreated(true);
        TCellGraphic *fg = g.CreateCellGraphic(2, 6);
        fg->SetCellType(ctFilePicture);
        auto *fp = new TFilePicture();
        fp->SetFilename(bmpPath);
        fg->SetCellObject(fp);
        fg->SetCellCreated(true);
        TCellGraphic *vg = g.CreateCellGraphic(2, 7);
        vg->SetCellType(ctProgress);
        vg->SetCellValue(50.25);
        vg->SetCellCheckBoxState(cbGrayed);
        // A picture the application keeps is not written; its cell keeps text and look.
        TBitmap appBitmap(2, 2);
        TCellGraphic *ag = g.CreateCellGraphic(2, 8);
        ag->SetCellType(ctBitmap);
        ag->SetCellObject(&appBitmap);
        ag->SetCellCreated(false);
        g.SetCells(2, 8, QStringLiteral("app"));

        TMemoryStream s;
        g.SaveToBinStream(&s);
        s.SetPosition(0);
        TExtStringGrid h(nullptr);
        h.LoadFromBinStream(&s);
        EXPECT_EQ(h.ColCount(), 4);
        EXPECT_EQ(h.RowCount(), 9);
        EXPECT_EQ(h.ColWidths(2), 91);
        EXPECT_EQ(h.RowHeights(3), 33);
        EXPECT_EQ(h.Cells(1, 8), QStringLiteral("t8"));
        TCellProperties *q = h.CellProperties(1, 1);
        EXPECT_EQ(q->Alignment(), taCenter);
        EXPECT_EQ(q->BrushColor(), TColor(0x123456));
        EXPECT_EQ(q->BrushColorTo(), clBlue);
        EXPECT_EQ(q->BrushStyle(), TBrushStyle::bsCross);
        EXPECT_EQ(q->FontName(), QStringLiteral("Serif"));
        EXPECT_TRUE(q->FontStyle() == (TFontStyles{TFontStyle::fsBold, TFontStyle::fsUnderline}));
        EXPECT_EQ(q->Editor(), edFloat);
        EXPECT_EQ(q->GradientDirection(), GradientHorizontal);
        EXPECT_EQ(q->VAlignment(), vtaBottom);
        EXPECT_TRUE(q->ReadOnly());
        EXPECT_EQ(q->NodeLevel(), 2);
        // The application's value is never made into a live reference.
        EXPECT_EQ(q->CellObject(), NativeUInt(0));

        ASSERT_NE(h.GetCellGraphic(2, 1), nullptr);
        ASSERT_NE(h.GetCellGraphic(2, 1)->CellBitmap(), nullptr);
        EXPECT_EQ(h.GetCellGraphic(2, 1)->CellBitmap()->Width(), 4);
        EXPECT_EQ(h.GetCellGraphic(2, 2)->CellIcon()->Width(), 5);
        EXPECT_EQ(h.GetRadioStrings(2, 3)->Count(), 2);
        EXPECT_EQ(h.GetRadioStrings(2, 3)->Strings(1), QStringLiteral("two"));
        EXPECT_EQ(static_cast<TIntList *>(h.GetCellGraphic(2, 4)->CellObject())->StrValue(), QStringLiteral("3,7"));
        EXPECT_EQ(static_cast<TPicture *>(h.GetCellGraphic(2, 5)->CellObject())->Width(), 3);
        EXPECT_EQ(static_cast<TFilePicture *>(h.GetCellGraphic(2, 6)->CellObject())->Filename(), bmpPath);
        EXPECT_EQ(h.GetCellGraphic(2, 7)->CellValue(), 50.25);
        EXPECT_EQ(h.GetCellGraphic(2, 7)->CellCheckBoxState(), cbGrayed);
        EXPECT_EQ(h.GetCellGraphic(2, 8), nullptr);
        EXPECT_EQ(h.Cells(2, 8), QStringLiteral("app"));
        g.RemoveCellGraphic(2, 8);
    }
}

// Files written before keep being written byte for byte: texts of every shape and cells of
// every kind, in the text file (both encodings), its stream form and the binary cell stream.
TEST_F(GridBinStreamTest, EveryCellKindKeepsTheBytesOfEachOwnFormat)
{
    TExtStringGrid g(nullptr);
    g.SetColCount(4);
    g.SetRowCount(7);
    g.SetColWidths(1, 77);
    g.SetRowHeights(2, 31);
    const QString texts[] = {QStringLiteral("plain"), QString(), QStringLiteral("caf\u00e9"), QStringLiteral("\u00c4\u00d6"),
                             QStringLiteral("two\r\nlines"), QStringLiteral("lf\nonly"), QStringLiteral("cr\ronly"),
                             QStringLiteral("nul") + QChar(0) + QStringLiteral("x\r\ny"), QStringLiteral("<b>bold</b> text"),
                             QString(300, u'b'), QStringLiteral("a,b,c"), QStringLiteral("tab\there")};
    for (int i = 0; i < int(std::size(texts)); ++i)
        g.SetCells(i % 4, i / 4, texts[i]);
    g.AddCheckBox(0, 3, true, false);
    g.CreateRadio(1, 3, 0, 1)->Add(QStringLiteral("one"));
    g.AddProgress(2, 3, clRed, clWhite);
    g.SetCells(2, 3, QStringLiteral("40"));
    g.AddComment(3, 3, QStringLiteral("note"));
    g.AddButton(0, 4, 20, 10, QStringLiteral("Go"), haLeft, vaTop);
    g.AddRating(1, 4, 5, clYellow, clGray);
    TCellGraphic *bg = g.CreateCellGraphic(2, 4);
    bg->SetCellType(ctBitmap);
    bg->SetCellObject(new TBitmap(4, 3));
    bg->SetCellCreated(true);
    TCellGraphic *ig = g.CreateCellGraphic(3, 4);
    ig->SetCellType(ctIcon);
    QImage iconImage(5, 5, QImage::Format_ARGB32);
    iconImage.fill(Qt::blue);
    auto *icon = new TIcon();
    icon->SetImage(iconImage);
    ig->SetCellIcon(icon);
    ig->SetCellCreated(true);
    TCellGraphic *mg = g.CreateCellGraphic(0, 5);
    mg->SetMultiImage(0, 5, 0, haLeft, vaTop, nullptr);
    static_cast<TIntList *>(mg->CellObject())->Add(3);
    TCellGraphic *vg = g.CreateCellGraphic(1, 5);
    vg->SetCellType(ctProgress);
    vg->SetCellValue(50.25);
    TCellProperties *p = g.CellProperties(2, 5);
    p->SetAlignment(taCenter);
    p->SetBrushColor(TColor(0x123456));
    p->SetFontName(QStringLiteral("Serif"));
    p->SetFontStyle(TFontStyles{TFontStyle::fsBold});
    p->SetEditor(edFloat);
    p->SetReadOnly(true);
    g.MergeCells(2, 6, 2, 1);
    g.SetCells(2, 6, QStringLiteral("merged"));

    auto golden = [](const char *Name) {
        QFile f(QStringLiteral(FABRICOR_TESTS_DIR "/grid/golden/") + QLatin1StringView(Name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing golden file");
    };
    g.SaveToFile(PathOf("kinds.txt"), false);
    EXPECT_EQ(ReadBytes("kinds.txt"), golden("every_kind_ansi.txt"));
    g.SaveToFile(PathOf("kinds16.txt"), true);
    EXPECT_EQ(ReadBytes("kinds16.txt"), golden("every_kind_utf16.txt"));
    TMemoryStream text;
    g.SaveToStream(&text);
    EXPECT_EQ(text.Bytes(), golden("every_kind.stream"));
    // The header ends with the writing grid's id, which differs from run to run; everything
    // before it and every cell record after it is fixed.
    const QByteArray bin = Saved(g, TRect(0, 0, 3, 6)), want = golden("every_kind.bin");
    const qsizetype id = bin.indexOf(Name("ID")), cells = bin.indexOf("TPF0", 4);
    ASSERT_GT(id, 0);
    ASSERT_GT(cells, id);
    EXPECT_EQ(bin.left(id), want.left(id));
    EXPECT_EQ(bin.mid(cells), want.mid(want.indexOf("TPF0", 4)));
}

TEST_F(GridBinStreamTest, LargeGridsFilesAndEarlierValuesDoNotLeak)
{
    TExtStringGrid g(nullptr);
    g.SetColCount(1);
    g.SetRowCount(70000);
    g.SetCells(0, 69999, QStringLiteral("end"));
    g.SetCells(0, 65536, QStringLiteral("past 16 bits"));
    g.SaveToBinFile(PathOf("big.bin"));
    TExtStringGrid h(nullptr);
    h.LoadFromBinFile(PathOf("big.bin"));
    EXPECT_EQ(h.RowCount(), 70000);
    EXPECT_EQ(h.Cells(0, 69999), QStringLiteral("end"));
    EXPECT_EQ(h.Cells(0, 65536), QStringLiteral("past 16 bits"));
    EXPECT_EQ(h.Cells(0, 0), QString());

    // A progress value 0 read after a value 50 stays 0: each record starts from its defaults.
    Grid->CreateCellGraphic(1, 1)->SetCellType(ctProgress);
    Grid->GetCellGraphic(1, 1)->SetCellValue(50);
    Grid->CreateCellGraphic(1, 2)->SetCellType(ctProgress);
    TExtStringGrid k(nullptr);
    k.SetColCount(5);
    k.SetRowCount(6);
    Load(k, Saved(*Grid, TRect(1, 1, 1, 2)), TPoint(1, 1), true);
    EXPECT_EQ(k.GetCellGraphic(1, 1)->CellValue(), 50);
    EXPECT_EQ(k.GetCellGraphic(1, 2)->CellValue(), 0);
    EXPECT_THROW(k.LoadFromBinFile(PathOf("missing.bin")), EFOpenError);
}

TEST_F(GridBinStreamTest, DamagedStreamsRaiseAndKeepTheCellsPlacedBefore)
{
    Grid->SetCells(0, 0, QStringLiteral("a"));
    Grid->SetCells(1, 0, QStringLiteral("b"));
    Grid->SetCells(2, 0, QStringLiteral("c"));
    const QByteArray good = Saved(*Grid, TRect(0, 0, 2, 0));
    const qsizetype third = good.lastIndexOf("TPF0");
    struct Case {
        const char *What;
        QByteArray Bytes;
        bool FirstPlaced;
    };
    const Case cases[] = {
        {"bad signature", QByteArray("XPF0") + good.mid(4), false},
        {"cut inside the last record", good.left(good.size() - 3), true},
        {"foreign property", good.left(third) + QByteArray("TPF0") + Name("TGridCellIO") + char(0) + Name("Colour") + char(2) + char(1), true},
        {"unknown value kind", good.left(third) + QByteArray("TPF0") + Name("TGridCellIO") + char(0) + Name("Col") + char(0x33), true},
        {"header counts past the ceiling", QByteArray("TPF0") + Name("TGridPropIO") + char(0) + Name("RowCount") + char(4) +
                                                QByteArray("\xFF\xFF\xFF\x7F", 4) + Name("FullGrid") + char(9) + char(0) + char(0) + good.mid(good.indexOf("TPF0", 4)),
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.What);
        TExtStringGrid g(nullptr);
        g.SetColCount(3);
        g.SetRowCount(2);
        EXPECT_THROW(Load(g, c.Bytes), EReadError);
        EXPECT_EQ(g.Cells(0, 0), c.FirstPlaced ? QStringLiteral("a") : QString());
        EXPECT_EQ(g.RowCount(), 2);
    }
}

} // namespace
