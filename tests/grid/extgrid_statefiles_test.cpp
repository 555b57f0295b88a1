// What the grid keeps of itself outside: the column state string, column widths and order in an
// INI file or the registry, the looks file and the print settings file.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/IniFiles.h"
#include "platform/SysUtils.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <memory>

namespace {

const QString Golden = QStringLiteral(FABRICOR_TESTS_DIR "/grid/data/settings/");

class GridStateFilesTest : public TempDirTest {
protected:
    void SetUp() override
    {
        Application->Initialize();
        qputenv("FABRICOR_REGISTRY_FILE", PathOf("registry.ini").toUtf8());
        G = std::make_unique<TExtStringGrid>(nullptr);
    }
    void TearDown() override { qunsetenv("FABRICOR_REGISTRY_FILE"); }

    // Columns headed "A", "B", ... in row 0, so that the arrangement can be read back (the
    // cells move with the columns; a hidden one keeps its real index).
    void Headed(TExtStringGrid &Grid, int Cols)
    {
        Grid.SetColCount(Cols);
        Grid.SetRowCount(2);
        for (int c = 0; c < Cols; ++c)
            Grid.SetCells(c, 0, QString(QChar(u'A' + c)));
    }
    static QString Shown(TExtStringGrid &Grid)
    {
        QString s;
        for (int c = 0; c < Grid.ColCount(); ++c)
            s += Grid.Cells(Grid.RealColIndex(c), 0);
        return s;
    }
    static QString Widths(TExtStringGrid &Grid)
    {
        QStringList w;
        for (int c = 0; c < Grid.ColCount(); ++c)
            w << QString::number(Grid.ColWidths(c));
        return w.join(u',');
    }
    std::unique_ptr<TExtStringGrid> G;
};

// ---- column state string ----

TEST_F(GridStateFilesTest, ColumnStatesOfAPlainGridAndTheirRoundTrip)
{
    G->SetColCount(3);
    G->SetDefaultColWidth(64);
    EXPECT_EQ(G->ColumnStatesToString(), QStringLiteral("3#64,64,64#0,1,2#1,1,1"));

    Headed(*G, 4);
    G->SetColWidths(1, 90);
    const QString s = G->ColumnStatesToString();
    G->StringToColumnStates(s);
    EXPECT_EQ(Shown(*G), QStringLiteral("ABCD"));
    EXPECT_EQ(Widths(*G), QStringLiteral("64,90,64,64"));
    EXPECT_EQ(G->ColumnStatesToString(), s);

    G->StringToColumnStates(QStringLiteral("3#10,20,30#0,1,2#1,0,1"));
    EXPECT_EQ(G->ColCount(), 2);
    EXPECT_TRUE(G->IsHiddenColumn(1));
    EXPECT_FALSE(G->IsHiddenColumn(0));
    EXPECT_FALSE(G->IsHiddenColumn(2));
    EXPECT_EQ(Shown(*G), QStringLiteral("AC"));
    EXPECT_EQ(Widths(*G), QStringLiteral("10,20"));
}

TEST_F(GridStateFilesTest, AMovedAndAHiddenColumnComeBackFromTheString)
{
    // Hidden after the first move, or before it (the recorded order must name the hidden one too).
    for (const bool HideFirst : {false, true}) {
        SCOPED_TRACE(HideFirst ? "hidden first" : "moved first");
        G = std::make_unique<TExtStringGrid>(nullptr);
        Headed(*G, 5);
        if (HideFirst)
            G->HideColumn(1);
        G->MoveColumn(0, 3);
        if (!HideFirst)
            G->HideColumn(1);
        const QString arranged = Shown(*G);
        const QString s = G->ColumnStatesToString();

        TExtStringGrid other(nullptr);
        Headed(other, 5);
        ASSERT_NO_THROW(other.StringToColumnStates(s)) << s.toStdString();
        EXPECT_EQ(Shown(other), arranged);
        EXPECT_EQ(other.ColumnStatesToString(), s);

        // Applying it to the grid that is already so arranged changes nothing.
        G->StringToColumnStates(s);
        EXPECT_EQ(Shown(*G), arranged);
        EXPECT_EQ(G->ColumnStatesToString(), s);
    }
}

TEST_F(GridStateFilesTest, MalformedColumnStatesRaiseAndLeaveTheGridAlone)
{
    struct Case {
        const char *Value;
        bool Conversion; // EConvertError, else EListError
    };
    const Case cases[] = {
        {"3#64,64#0,1,2#1,1,1", false},       // short width list
        {"3#64,64,64#0,1#1,1,1", false},      // short order list
        {"3#64,64,64#0,1,2#1,1", false},      // short visibility list
        {"3#64,64,64#0,99,2#1,1,1", false},   // entry out of range
        {"3#64,64,64#0,1,1#1,1,1", false},    // entry twice
        {"x#64,64,64#0,1,2#1,1,1", true},     // non-numeric count
        {"3#64,wide,64#0,1,2#1,1,1", true},   // non-numeric width
        {"2000000000#1#0#1", false},          // count past the ceiling
        {"-1###", false},
    };
    Headed(*G, 3);
    G->MoveColumn(2, 0);
    const QString before = G->ColumnStatesToString();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Value);
        if (c.Conversion)
            EXPECT_THROW(G->StringToColumnStates(QString::fromLatin1(c.Value)), EConvertError);
        else
            EXPECT_THROW(G->StringToColumnStates(QString::fromLatin1(c.Value)), EListError);
        EXPECT_EQ(G->ColumnStatesToString(), before);
        EXPECT_EQ(Shown(*G), QStringLiteral("CAB"));
    }
    G->StringToColumnStates(QStringLiteral("no separator"));
    EXPECT_EQ(G->ColumnStatesToString(), before);
}

// ---- column sizes and positions ----

TEST_F(GridStateFilesTest, ColumnSizesAndPositionsRoundTripThroughBothStores)
{
    for (TColumnSizeLocation loc : {clIniFile, clRegistry}) {
        SCOPED_TRACE(int(loc));
        TExtStringGrid a(nullptr);
        Headed(a, 4);
        a.ColumnSize()->Location = loc;
        a.ColumnSize()->Key = loc == clIniFile ? PathOf("cols.ini") : QStringLiteral("Software\\Fabricor\\Grid");
        a.ColumnSize()->Section = QStringLiteral("Main");
        a.SetColWidths(2, 120);
        a.MoveColumn(3, 0);
        a.SaveColSizes();
        a.SaveColPositions();

        TExtStringGrid b(nullptr);
        Headed(b, 4);
        b.ColumnSize()->Assign(a.ColumnSize());
        b.LoadColPositions();
        b.LoadColSizes();
        EXPECT_EQ(Shown(b), QStringLiteral("DABC"));
        EXPECT_EQ(Widths(b), Widths(a));
    }
    TMemIniFile ini(PathOf("cols.ini"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Main"), QStringLiteral("Col3"), 0), 120); // moved along
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Main"), QStringLiteral("Pos0"), -1), 3);
    TMemIniFile reg(PathOf("registry.ini"));
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Fabricor\\Grid\\Main");
    EXPECT_EQ(reg.ReadString(key, QStringLiteral("Col3"), QString()), QStringLiteral("dword:00000078"));
    EXPECT_EQ(reg.ReadString(key, QStringLiteral("Pos0"), QString()), QStringLiteral("dword:00000003"));
}

TEST_F(GridStateFilesTest, PositionsOfAGridWithAColumnHiddenBeforeTheFirstMoveNameEveryColumn)
{
    const auto make = [&](TExtStringGrid &Grid) {
        Headed(Grid, 4);
        Grid.ColumnSize()->Location = clIniFile;
        Grid.ColumnSize()->Key = PathOf("cols.ini");
        Grid.ColumnSize()->Section = QStringLiteral("Main");
    };
    TExtStringGrid a(nullptr);
    make(a);
    a.HideColumn(1);
    a.MoveColumn(2, 0);
    ASSERT_EQ(Shown(a), QStringLiteral("DAC"));
    a.SaveColPositions();

    // The hidden column keeps its place among the others.
    TExtStringGrid b(nullptr);
    make(b);
    b.LoadColPositions();
    EXPECT_EQ(Shown(b), QStringLiteral("DABC"));
}

TEST_F(GridStateFilesTest, ColumnStoreWithoutKeyOrPositionsChangesNothing)
{
    Headed(*G, 3);
    G->ColumnSize()->Location = clIniFile;
    G->ColumnSize()->Key = PathOf("cols.ini");
    G->SaveColSizes(); // no section
    G->ColumnSize()->Section = QStringLiteral("S");
    G->ColumnSize()->Key.clear();
    G->SaveColSizes(); // no key
    EXPECT_FALSE(QFile::exists(PathOf("cols.ini")));
    EXPECT_FALSE(QFile::exists(PathOf("registry.ini")));

    G->ColumnSize()->Key = PathOf("cols.ini");
    WriteBytes("cols.ini", "[S]\r\nPos1=0\r\n");
    G->LoadColPositions();
    EXPECT_EQ(Shown(*G), QStringLiteral("ABC"));
    // Positions of another layout are refused as a whole.
    for (const char *file : {"[S]\r\nPos0=1\r\nPos1=1\r\nPos2=0\r\n", "[S]\r\nPos0=1\r\nPos1=0\r\n",
                             "[S]\r\nPos0=7\r\nPos1=0\r\nPos2=1\r\n"}) {
        WriteBytes("cols.ini", file);
        G->LoadColPositions();
        EXPECT_EQ(Shown(*G), QStringLiteral("ABC")) << file;
    }
}

// A width no screen needs (a damaged or hand-made file) keeps the column's width; the others apply.
TEST_F(GridStateFilesTest, StoredWidthsBeyondAnyScreenAreIgnored)
{
    Headed(*G, 3);
    G->ColumnSize()->Location = clIniFile;
    G->ColumnSize()->Key = PathOf("cols.ini");
    G->ColumnSize()->Section = QStringLiteral("S");
    const QString before = Widths(*G);
    WriteBytes("cols.ini", "[S]\r\nCol0=2147483647\r\nCol1=77\r\nCol2=-100\r\n");
    G->LoadColSizes();
    const QStringList w = Widths(*G).split(u',');
    const QStringList old = before.split(u',');
    ASSERT_EQ(w.size(), 3);
    EXPECT_EQ(w[0], old[0]);
    EXPECT_EQ(w[1], QStringLiteral("77"));
    EXPECT_EQ(w[2], old[2]);
}

TEST_F(GridStateFilesTest, StoredPositionsReorderAndKeepHiddenColumnsHidden)
{
    Headed(*G, 4);
    G->ColumnSize()->Location = clIniFile;
    G->ColumnSize()->Key = PathOf("cols.ini");
    G->ColumnSize()->Section = QStringLiteral("S");
    WriteBytes("cols.ini", "[S]\r\nPos0=2\r\nPos1=0\r\nPos2=1\r\nPos3=3\r\n");
    G->HideColumn(3);
    G->LoadColPositions();
    EXPECT_TRUE(G->IsHiddenColumn(3));
    EXPECT_EQ(G->NumHiddenColumns(), 1);
    EXPECT_EQ(Shown(*G), QStringLiteral("CAB"));
    EXPECT_EQ(G->ColumnOrder()->StrValue(), QStringLiteral("2,0,1,3"));
}

TEST_F(GridStateFilesTest, SavedWidthsGoWithTheGridAndComeBackWithItsWindow)
{
    const auto make = [&](TForm *Form, const QString &Key) {
        auto *g = new TExtStringGrid(Form);
        g->SetColCount(3);
        g->ColumnSize()->Save = true;
        g->ColumnSize()->Location = clIniFile;
        g->ColumnSize()->Key = Key;
        g->ColumnSize()->Section = QStringLiteral("S");
        return g;
    };
    auto form = std::make_unique<TForm>(nullptr);
    make(form.get(), PathOf("cols.ini"))->SetColWidths(1, 77);
    // A store that cannot be written is no reason to stop.
    QDir().mkpath(PathOf("dir.ini"));
    make(form.get(), PathOf("dir.ini"))->SetColWidths(1, 55);
    form.reset();
    EXPECT_TRUE(ReadBytes("cols.ini").contains("Col1=77"));

    form = std::make_unique<TForm>(nullptr);
    TExtStringGrid *g = make(form.get(), PathOf("cols.ini"));
    g->SetParent(form.get());
    g->HandleNeeded();
    EXPECT_EQ(g->ColWidths(1), 77);
}

// A grid that is loaded sizes its columns to their content when asked, then takes the widths
// it kept, with no window needed.
TEST_F(GridStateFilesTest, LoadedGridSizesToContentThenTakesItsKeptWidths)
{
    WriteBytes("cols.ini", "[S]\r\nCol1=77\r\n");
    G->BeginLoading();
    G->SetColCount(3);
    G->SetCells(2, 1, "a text wider than a column is by default");
    G->SetAutoSize(true);
    G->ColumnSize()->Save = true;
    G->ColumnSize()->Location = clIniFile;
    G->ColumnSize()->Key = PathOf("cols.ini");
    G->ColumnSize()->Section = QStringLiteral("S");
    EXPECT_EQ(G->ColWidths(2), G->DefaultColWidth()) << "nothing is sized while loading";
    G->EndLoading();
    EXPECT_EQ(G->ColWidths(1), 77);
    EXPECT_GT(G->ColWidths(2), 150);
    EXPECT_FALSE(G->HandleAllocated());
}

TEST_F(GridStateFilesTest, ColumnSizeDefaultsAndAssign)
{
    TColumnSize *cs = G->ColumnSize();
    EXPECT_EQ(cs->StretchColumn, -1);
    EXPECT_EQ(cs->Location, clRegistry);
    EXPECT_EQ(cs->Rows, arAll);

    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    auto *shown = new TExtStringGrid(form.get());
    shown->SetParent(form.get());
    shown->SetColCount(3);
    shown->SetColWidths(2, 30);
    TColumnSize src(nullptr);
    src.SetStretch(true);
    src.StretchColumn = 1;
    src.Rows = arFixed;
    src.Save = true;
    src.Key = PathOf("k.ini"); // Save is on: the grid writes there when it goes
    src.Section = QStringLiteral("s");
    src.SynchWithGrid = true;
    src.SynchNormalCellsOnly = true;
    src.Location = clIniFile;
    shown->ColumnSize()->Assign(&src);
    EXPECT_TRUE(shown->ColumnSize()->Stretch());
    EXPECT_EQ(shown->ColWidths(2), 30); // copied, not applied
    EXPECT_EQ(shown->ColumnSize()->StretchColumn, 1);
    EXPECT_EQ(shown->ColumnSize()->Rows, arFixed);
    EXPECT_TRUE(shown->ColumnSize()->Save);
    EXPECT_EQ(shown->ColumnSize()->Key, PathOf("k.ini"));
    EXPECT_EQ(shown->ColumnSize()->Section, QStringLiteral("s"));
    EXPECT_TRUE(shown->ColumnSize()->SynchWithGrid);
    EXPECT_TRUE(shown->ColumnSize()->SynchNormalCellsOnly);
    EXPECT_EQ(shown->ColumnSize()->Location, clIniFile);

    TPersistent other;
    cs->Assign(&other);
    EXPECT_EQ(cs->Location, clRegistry);
}

// ---- visual properties ----

TEST_F(GridStateFilesTest, VisualPropsOfADefaultGridMatchTheGoldenFileAndLoadBack)
{
    G->SetLook(glCustom);
    G->SaveVisualProps(PathOf("looks.txt"));
    QFile golden(Golden + QStringLiteral("default_looks.txt"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(ReadBytes("looks.txt"), golden.readAll());

    TExtStringGrid other(nullptr);
    other.SetLook(glCustom); // an empty "Look" leaves the look alone
    other.SetColor(clRed);
    other.SetSelectionColor(clLime);
    other.Font()->SetStyle(TFontStyles() << TFontStyle::fsBold);
    other.ControlLook()->SetCheckSize(30);
    other.Grouping()->HeaderLineWidth = 7;
    other.BackGround()->SetDisplay(bdFixed);
    other.LoadVisualProps(PathOf("looks.txt"));
    other.SaveVisualProps(PathOf("again.txt"));
    EXPECT_EQ(ReadBytes("again.txt"), ReadBytes("looks.txt"));
    EXPECT_EQ(other.Color(), G->Color());
    EXPECT_EQ(other.Font()->Style(), G->Font()->Style());
}

TEST_F(GridStateFilesTest, VisualPropsMissingKeysAndUnreadableFiles)
{
    G->SetLook(glXP);
    G->SaveVisualProps(PathOf("looks.txt"));
    QString text = QString::fromLatin1(ReadBytes("looks.txt"));
    text.replace(QStringLiteral("Look=glXP\r\n"), QString());
    ASSERT_TRUE(text.startsWith(QStringLiteral("Color=clWindow\r\n")));
    text = QStringLiteral("color=clRed") + text.mid(text.indexOf(u'\r'));
    WriteBytes("nolook.txt", text.toLatin1());

    TExtStringGrid other(nullptr);
    other.SetLook(glWin7);
    other.LoadVisualProps(PathOf("nolook.txt"));
    EXPECT_EQ(other.Look(), glWin7);
    EXPECT_EQ(other.Color(), clRed); // names are found without regard to case

    // Without an integer key the load stops there, with the keys before it applied.
    text.replace(QRegularExpression(QStringLiteral("ControlLook\\.CheckSize=\\d+\r\n")), QString());
    text.replace(QStringLiteral("FloatingFooter.Color=clBtnFace"), QStringLiteral("FloatingFooter.Color=clAqua"));
    WriteBytes("nocheck.txt", text.toLatin1());
    TExtStringGrid third(nullptr);
    third.ControlLook()->SetColor(clYellow);
    EXPECT_THROW(third.LoadVisualProps(PathOf("nocheck.txt")), EConvertError);
    EXPECT_EQ(third.FloatingFooter()->Color, clAqua);
    EXPECT_EQ(third.ControlLook()->Color(), clYellow);

    try {
        G->LoadVisualProps(PathOf("missing.txt"));
        FAIL();
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot open file ") + PathOf("missing.txt"));
    }
    // Only a regular file is ever replaced: a folder of that name stays and the save fails.
    QDir().mkpath(PathOf("looks.txt.d"));
    try {
        G->SaveVisualProps(PathOf("looks.txt.d"));
        FAIL();
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot Create ") + PathOf("looks.txt.d"));
    }
    EXPECT_TRUE(QFileInfo(PathOf("looks.txt.d")).isDir());
}

// ---- print settings ----

TEST_F(GridStateFilesTest, PrintSettingsMatchTheGoldenFileAndLoadBack)
{
    TPrintSettings *ps = G->PrintSettings();
    ps->TitleLines()->Add(QStringLiteral("Line1"));
    ps->TitleLines()->Add(QStringLiteral("Line2"));
    ps->Font()->SetName(QStringLiteral("Courier New"));
    ps->Font()->SetStyle(TFontStyles() << TFontStyle::fsBold << TFontStyle::fsUnderline);
    ps->HeaderFont()->SetColor(clRed);
    ps->Date = ppBottomRight;
    ps->Borders = pbAround;
    ps->Orientation = poLandscape;
    ps->RepeatFixedRows = true;
    G->SavePrintSettings(PathOf("print.ini"), QStringLiteral("Print"));
    QFile golden(Golden + QStringLiteral("print.ini"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(ReadBytes("print.ini"), golden.readAll());

    TExtStringGrid other(nullptr);
    other.LoadPrintSettings(PathOf("print.ini"), QStringLiteral("Print"));
    other.SavePrintSettings(PathOf("again.ini"), QStringLiteral("Print"));
    EXPECT_EQ(ReadBytes("again.ini"), ReadBytes("print.ini"));
    EXPECT_EQ(other.PrintSettings()->TitleLines()->Count(), 2);
    EXPECT_EQ(other.PrintSettings()->TitleLines()->Strings(1), QStringLiteral("Line2"));
}

TEST_F(GridStateFilesTest, PrintSettingsFromAnEmptySectionAndOutOfRangeValues)
{
    TPrintSettings *ps = G->PrintSettings();
    ps->Font()->SetStyle(TFontStyles() << TFontStyle::fsBold);
    ps->Borders = pbDouble;
    ps->FitToPage = fpShrink;
    WriteBytes("print.ini", "[Other]\r\nX=1\r\n");
    G->LoadPrintSettings(PathOf("print.ini"), QStringLiteral("Print"));
    EXPECT_EQ(ps->ColumnSpacing, 20);
    EXPECT_EQ(ps->RowSpacing, 20);
    EXPECT_EQ(ps->TitleSpacing, 20);
    for (int v : {ps->LeftSize, ps->RightSize, ps->HeaderSize, ps->FooterSize})
        EXPECT_EQ(v, 100);
    EXPECT_TRUE(ps->Centered);
    EXPECT_FALSE(ps->UseDisplayFont);
    for (TFont *f : {ps->Font(), ps->HeaderFont(), ps->FooterFont()}) {
        EXPECT_EQ(f->Name(), QStringLiteral("Arial"));
        EXPECT_EQ(f->Size(), 10);
        EXPECT_EQ(f->Color(), clBlack);
    }
    EXPECT_TRUE(ps->Font()->Style().Contains(TFontStyle::fsBold)); // style bits only add
    EXPECT_EQ(ps->Borders, pbNoborder);

    ps->Borders = pbDouble;
    ps->FitToPage = fpShrink;
    WriteBytes("print.ini", "[Print]\r\nBorders=9\r\nFitToPage=5\r\nDate=7\r\nTime=3\r\nCentered=y\r\n"
                            "FontStyle=0\r\nTitleLines=a\\nb\r\n");
    ps->Font()->SetStyle(TFontStyles() << TFontStyle::fsBold);
    G->LoadPrintSettings(PathOf("print.ini"), QStringLiteral("Print"));
    EXPECT_EQ(ps->Borders, pbDouble);
    EXPECT_EQ(ps->FitToPage, fpShrink);
    EXPECT_EQ(ps->Date, ppNone);
    EXPECT_EQ(ps->Time, ppTopCenter);
    EXPECT_FALSE(ps->Centered);
    EXPECT_TRUE(ps->Font()->Style().Contains(TFontStyle::fsBold));
    EXPECT_EQ(ps->TitleLines()->Count(), 2);
}

} // namespace
