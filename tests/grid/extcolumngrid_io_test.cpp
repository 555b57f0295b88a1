// The column definitions' storage: the column stream, the column order in an INI file and the
// recorded default order, and the items' share in a column move.
#include "grid/core/ExtColumnGrid.h"

#include "platform/Filer.h"
#include "platform/IniFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

QByteArray Saved(TExtColumnGrid &G)
{
    TMemoryStream s;
    G.SaveColumnsToStream(&s);
    return s.Bytes();
}

// The bytes of a property name as the stream writes it.
QByteArray PropName(const char *Name)
{
    QByteArray b(1, char(std::strlen(Name)));
    return b + QByteArray(Name);
}

TEST(ColumnStream, HeadAndFrame)
{
    TExtColumnGrid g(nullptr);
    g.SetColCount(2);
    const QByteArray b = Saved(g);
    const QByteArray head = QByteArray("TPF0") + char(16) + "TExtColumnGridIO" + char(0) + char(5) + "Items" + char(14) + char(1);
    EXPECT_TRUE(b.startsWith(head));
    // Last item's list end, the collection's end, the property list's and the child list's end.
    EXPECT_TRUE(b.endsWith(QByteArray(4, '\0')));
    // One frame per item: both begin with AutoMinSize right after the list tag.
    EXPECT_EQ(b.count(char(1) + PropName("AutoMinSize")), 2);
}

TEST(ColumnStream, DefaultsAndTextTags)
{
    TExtColumnGrid g(nullptr);
    g.SetColCount(2);
    g.SetFixedRows(1);
    g.Columns()->Items(0)->SetPrintFontCustom(false);
    g.Columns()->Items(0)->SetHeader(QStringLiteral("N"));
    const QByteArray b = Saved(g);
    EXPECT_EQ(b.count(PropName("PrintFontCustom") + char(8)), 1);
    EXPECT_EQ(b.count(PropName("PrintBorderCustom")), 0);
    // Only the first item has a header; "N" is a short 7-bit text.
    EXPECT_EQ(b.count(PropName("Header") + char(6) + char(1) + 'N'), 1);
    EXPECT_EQ(b.count(PropName("Header")), 1);
    EXPECT_EQ(b.count(PropName("BorderPen.Color") + char(7) + char(8) + "clSilver"), 2);
    EXPECT_EQ(b.count(PropName("CheckFalse") + char(6) + char(1) + 'N'), 2);
}

TEST(ColumnStream, LongAndWideTexts)
{
    struct Case {
        QString Text;
        char Tag;
    };
    const Case cases[] = {{QString(300, QLatin1Char('a')), 12},
                          {QStringLiteral("Gr\u00fc\u00dfe"), 20},
                          {QStringLiteral("\u65e5\u672c"), 18}};
    for (const Case &c : cases) {
        TExtColumnGrid g(nullptr);
        g.SetColCount(1);
        g.Columns()->Items(0)->SetName(c.Text);
        const QByteArray b = Saved(g);
        EXPECT_EQ(b.count(PropName("Name") + c.Tag), 1) << int(c.Tag);
        TExtColumnGrid h(nullptr);
        h.SetColCount(1);
        TMemoryStream s;
        s.Write(b.constData(), int(b.size()));
        s.SetPosition(0);
        h.LoadColumnsFromStream(&s);
        EXPECT_EQ(h.Columns()->Items(0)->Name(), c.Text);
    }
}

TEST(ColumnStream, RoundTripOfThreeColumns)
{
    TExtColumnGrid g(nullptr);
    g.SetColCount(3);
    g.SetFixedRows(1);
    TGridColumnItem *a = g.Columns()->Items(0), *b = g.Columns()->Items(1), *c = g.Columns()->Items(2);
    a->SetHeader(QStringLiteral("Name"));
    a->SetWidth(120);
    b->SetHeader(QStringLiteral("Type"));
    b->SetEditor(edComboList);
    b->ComboItems()->Add(QStringLiteral("INT"));
    b->ComboItems()->Add(QStringLiteral("REAL"));
    b->SetColor(TColorOf(0x102030));
    b->SetWidth(-40000); // a 32-bit value
    c->SetEditor(edDataCheckBox);
    c->SetCheckTrue(QStringLiteral("Ja"));
    c->SetCheckFalse(QStringLiteral("Nein"));
    c->SetPrintColor(clSilver);
    c->SetBorders({cbTop, cbBottom});
    c->HeaderFont()->SetStyle({TFontStyle::fsBold});
    c->Filter()->Add(QStringLiteral("Big=>100"));
    c->SetWidth(300);

    TMemoryStream s;
    g.SaveColumnsToStream(&s);
    s.SetPosition(0);
    TExtColumnGrid h(nullptr);
    h.SetColCount(3);
    h.SetFixedRows(1);
    h.LoadColumnsFromStream(&s);
    ASSERT_EQ(h.Columns()->Count(), 3);
    TGridColumnItem *x = h.Columns()->Items(0), *y = h.Columns()->Items(1), *z = h.Columns()->Items(2);
    EXPECT_EQ(x->Header(), QStringLiteral("Name"));
    EXPECT_EQ(h.Cells(0, 0), QStringLiteral("Name"));
    EXPECT_EQ(x->Width(), 120);
    EXPECT_EQ(y->Editor(), edComboList);
    EXPECT_EQ(y->ComboItems()->Text(), b->ComboItems()->Text());
    EXPECT_EQ(y->Color(), TColorOf(0x102030));
    EXPECT_EQ(z->Editor(), edDataCheckBox);
    EXPECT_EQ(z->CheckTrue(), QStringLiteral("Ja"));
    EXPECT_EQ(z->CheckFalse(), QStringLiteral("Nein"));
    EXPECT_EQ(z->PrintColor(), clSilver);
    EXPECT_EQ(z->Borders(), (TCellBorders{cbTop, cbBottom}));
    EXPECT_TRUE(z->HeaderFont()->Style().Contains(TFontStyle::fsBold));
    EXPECT_EQ(z->Filter()->Strings(0), QStringLiteral("Big=>100"));
    EXPECT_EQ(z->Width(), 300);
    EXPECT_EQ(Saved(h), Saved(g));
}

TEST(ColumnStream, BadStreamsRaiseAndKeepTheColumns)
{
    TExtColumnGrid src(nullptr);
    src.SetColCount(2);
    src.Columns()->Items(1)->SetEditor(edComboEdit);
    const QByteArray good = Saved(src);
    QByteArray unknownTag = good;
    unknownTag[good.indexOf(PropName("AutoMinSize")) + 12] = char(99);
    const QByteArray cases[] = {good.left(good.size() / 2), good.left(3), QByteArray("XPF0") + good.mid(4),
                                QByteArray("TPF0\x05Other\x00\x00\x00", 13), unknownTag};
    for (const QByteArray &bad : cases) {
        TExtColumnGrid g(nullptr);
        g.SetColCount(3);
        g.Columns()->Items(2)->SetName(QStringLiteral("kept"));
        TMemoryStream s;
        s.Write(bad.constData(), int(bad.size()));
        s.SetPosition(0);
        EXPECT_THROW(g.LoadColumnsFromStream(&s), EReadError);
        ASSERT_EQ(g.Columns()->Count(), 3);
        EXPECT_EQ(g.Columns()->Items(2)->Name(), QStringLiteral("kept"));
        EXPECT_EQ(g.Columns()->Items(1)->Editor(), edNormal);
    }
}

TEST(ColumnStream, AFaultAfterHeadersAndWidthsPutsTheGridBack)
{
    TExtColumnGrid src(nullptr);
    src.SetColCount(3);
    src.SetFixedRows(1);
    for (int i = 0; i < 3; ++i) {
        src.Columns()->Items(i)->SetHeader(QStringLiteral("New%1").arg(i));
        src.Columns()->Items(i)->SetWidth(90 + i);
    }
    const QByteArray good = Saved(src);

    TExtColumnGrid g(nullptr);
    g.SetColCount(3);
    g.SetFixedRows(1);
    for (int i = 0; i < 3; ++i) {
        g.Columns()->Items(i)->SetHeader(QStringLiteral("Old%1").arg(i));
        g.Columns()->Items(i)->SetWidth(40 + i);
    }
    const QByteArray before = Saved(g);
    // Cut inside the last item: two items' headers and widths have reached the grid by then.
    const QByteArray cut = good.left(good.lastIndexOf(PropName("Width")) + 3);
    TMemoryStream s;
    s.Write(cut.constData(), int(cut.size()));
    s.SetPosition(0);
    EXPECT_THROW(g.LoadColumnsFromStream(&s), EReadError);
    EXPECT_EQ(Saved(g), before);
    EXPECT_EQ(g.Cells(1, 0), QStringLiteral("Old1"));
    EXPECT_EQ(g.ColumnHeaders()->Strings(2), QStringLiteral("Old2"));
}

// ---------------------------------------------------------------------------------------------
// Column order

class ColumnOrderTest : public TempDirTest {
protected:
    void SetUp() override
    {
        G = std::make_unique<TExtColumnGrid>(nullptr);
        G->SetColCount(5);
        G->SetFixedRows(1);
        G->SetFixedCols(0);
        G->SetOptions(G->Options() + TGridOptions{goColMoving});
        for (int i = 0; i < 5; ++i)
            G->Columns()->Items(i)->SetHeader(QString(QChar(u'A' + i)));
        G->Columns()->SetOrganization();
    }
    QString Order() const
    {
        QString s;
        for (int i = 0; i < 5; ++i)
            s += G->Columns()->Items(i)->Header();
        return s;
    }
    QString Cells() const
    {
        QString s;
        for (int i = 0; i < 5; ++i)
            s += G->Cells(i, 0);
        return s;
    }
    std::unique_ptr<TExtColumnGrid> G;
};

TEST_F(ColumnOrderTest, MoveCarriesTheItemAndReportsRealIndices)
{
    int from = -1, to = -1;
    G->OnAfterColumnMoved = [&](TObject *, int f, int t) {
        from = f;
        to = t;
    };
    G->Columns()->Items(1)->SetColumnPopupType(cpAllCellsLClick);
    G->Columns()->Items(1)->SetPrintFontCustom(false);
    G->MoveColumn(1, 3);
    EXPECT_EQ(from, 1);
    EXPECT_EQ(to, 3);
    EXPECT_EQ(Order(), QStringLiteral("ACDBE"));
    EXPECT_EQ(Cells(), QStringLiteral("ACDBE"));
    TGridColumnItem *moved = G->Columns()->Items(3);
    EXPECT_EQ(moved->DefIdx(), 1);
    // Not part of a column's copy: back at their creation values.
    EXPECT_EQ(moved->ColumnPopupType(), cpFixedCellsRClick);
    EXPECT_TRUE(moved->PrintFontCustom());
}

TEST_F(ColumnOrderTest, ResetOrganizationGivesTheRecordedOrderBack)
{
    G->MoveColumn(0, 4);
    G->MoveColumn(3, 1);
    ASSERT_NE(Order(), QStringLiteral("ABCDE"));
    G->Columns()->ResetOrganization();
    EXPECT_EQ(Order(), QStringLiteral("ABCDE"));
    EXPECT_EQ(Cells(), QStringLiteral("ABCDE"));
}

TEST_F(ColumnOrderTest, ResetOrganizationIgnoresDefaultsThatAreNoPermutation)
{
    G->MoveColumn(0, 4);
    G->Columns()->Items(2)->SetDefIdx(G->Columns()->Items(3)->DefIdx());
    const QString before = Order();
    G->Columns()->ResetOrganization();
    EXPECT_EQ(Order(), before);
}

TEST_F(ColumnOrderTest, PositionsRoundTripThroughTheIniFile)
{
    const QString ini = PathOf(QStringLiteral("cols.ini"));
    G->MoveColumn(4, 0);
    G->MoveColumn(2, 3);
    const QString order = Order();
    G->SaveColumnPositions(ini, QStringLiteral("Grid"));

    ColumnOrderTest::SetUp(); // a fresh grid in the default order
    G->LoadColumnPositions(ini, QStringLiteral("Grid"));
    EXPECT_EQ(Order(), order);
    EXPECT_EQ(Cells(), order);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(G->Columns()->Items(i)->DefIdx(), G->Columns()->Items(i)->Header().at(0).unicode() - u'A');
}

TEST_F(ColumnOrderTest, GridPositionsGoToTheIniFileOfTheColumnSizeSettings)
{
    const QString ini = PathOf(QStringLiteral("pos.ini"));
    G->ColumnSize()->Key = ini;
    G->ColumnSize()->Section = QStringLiteral("Cols");
    G->SaveColPositions(); // kept elsewhere until the location says INI file
    EXPECT_FALSE(QFile::exists(ini));

    G->ColumnSize()->Location = clIniFile;
    G->MoveColumn(0, 3);
    G->MoveColumn(4, 1);
    const QString saved = Order();
    G->SaveColPositions();
    ASSERT_TRUE(QFile::exists(ini));

    // The user reorders again and hides a column; loading starts from the first order.
    G->MoveColumn(2, 0);
    G->MoveColumn(1, 4);
    G->HideColumn(2);
    G->LoadColPositions();
    EXPECT_EQ(G->NumHiddenColumns(), 0);
    EXPECT_EQ(Order(), saved);
    EXPECT_EQ(Cells(), saved);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(G->Columns()->Items(i)->DefIdx(), G->Columns()->Items(i)->Header().at(0).unicode() - u'A');
}

TEST_F(ColumnOrderTest, BadPositionFilesChangeNothing)
{
    struct Case {
        const char *Name;
        QByteArray Content;
    };
    const Case cases[] = {
        {"missing CP0", "[Grid]\nCP1=0\nCP2=2\nCP3=3\nCP4=4\n"},
        {"duplicate", "[Grid]\nCP0=1\nCP1=1\nCP2=2\nCP3=3\nCP4=4\n"},
        {"out of range", "[Grid]\nCP0=9\nCP1=0\nCP2=2\nCP3=3\nCP4=4\n"},
        {"negative", "[Grid]\nCP0=-2\nCP1=0\nCP2=2\nCP3=3\nCP4=4\n"},
    };
    G->MoveColumn(0, 2);
    const QString before = Order();
    for (const Case &c : cases) {
        WriteBytes(QStringLiteral("bad.ini"), c.Content);
        G->LoadColumnPositions(PathOf(QStringLiteral("bad.ini")), QStringLiteral("Grid"));
        EXPECT_EQ(Order(), before) << c.Name;
    }
}

TEST(ColumnStructure, InsertAndRemoveKeepItemsInStep)
{
    TExtColumnGrid g(nullptr);
    g.SetColCount(4);
    g.Columns()->Items(2)->SetName(QStringLiteral("two"));
    g.InsertCols(1, 2);
    g.RemoveCols(1, 2);
    EXPECT_EQ(g.Columns()->Items(2)->Name(), QStringLiteral("two"));
}

TEST(MulDiv, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(MulDiv(3, 3, 2), 5);
    EXPECT_EQ(MulDiv(-3, 3, 2), -5);
    EXPECT_EQ(MulDiv(10, 1, 4), 3);
    EXPECT_EQ(MulDiv(10, 1, 0), -1);
    EXPECT_EQ(MulDiv(0x40000000, 4, 1), -1);
}

} // namespace
