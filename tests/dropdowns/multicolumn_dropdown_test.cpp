// The multi-column drop-down driven as a user drives it: the chosen item and its text, the
// type-ahead of the edit, keys and clicks in the popup grid, the popup's size and column fit,
// and how the popup grid paints and sizes its cells.
#include "DropDownFormTest.h"
#include "dropdowns/ExtMultiColumnDropDown.h"
#include "platform/RecordingCanvas.h"
#include "platform/WinGdi.h"

#include <functional>
#include <optional>
#include <vector>

namespace {

using ExtMultiColumnDropDown::TExtColGrid;

class MultiColumnTest : public DropDownFormTest<TExtMultiColumnDropDown> {
protected:
    void AddItem(std::initializer_list<const char *> Lines, int Image = -1)
    {
        auto *it = Edit->Items()->Add();
        for (const char *l : Lines)
            it->Text()->Add(QString::fromUtf8(l));
        it->ImageIndex = Image;
    }
    void Fill()
    {
        for (const char *h : {"Name", "Code", "Note"}) {
            auto *c = Edit->Columns()->Add();
            c->Header = QString::fromUtf8(h);
        }
        AddItem({"ABC", "1", "first"});
        AddItem({"Beta", "2", "second"});
        AddItem({"Gamma", "3"});
        AddItem({"Delta"});
        Edit->BuildLookupItems();
    }
    void Open()
    {
        GuiTest::PressKey(Edit, VK_DOWN, {ssAlt});
        ASSERT_TRUE(Edit->DroppedDown());
    }
    TExtColGrid *Grid() { return Edit->Grid(); }
};

} // namespace

TEST_F(MultiColumnTest, ItemIndexSetsTheLookupTextAndIgnoresIndicesPastTheItems)
{
    Fill();
    Edit->SetItemIndex(1);
    EXPECT_EQ(Edit->Text(), QStringLiteral("Beta"));
    Edit->SetItemIndex(4);
    EXPECT_EQ(Edit->ItemIndex(), 1) << "Count is past the last item";
    EXPECT_EQ(Edit->Text(), QStringLiteral("Beta"));
    Edit->SetItemIndex(-3);
    EXPECT_EQ(Edit->ItemIndex(), -3) << "a negative index is kept as given";
    EXPECT_EQ(Edit->Text(), QString());

    Edit->LookupColumn = 2;
    Edit->SetItemIndex(0);
    EXPECT_EQ(Edit->Text(), QStringLiteral("first"));
    Edit->SetItemIndex(3);
    EXPECT_EQ(Edit->Text(), QString()) << "an item without the lookup line shows nothing";
    EXPECT_EQ(Edit->GetItemIndex(QStringLiteral("second")), 1);
    EXPECT_EQ(Edit->GetItemIndex(QStringLiteral("Second")), -1) << "exact case";

    // The lookup list keeps its lines when there are no items to build it from.
    Edit->LookupColumn = 0;
    Edit->BuildLookupItems();
    Edit->Items()->Clear();
    Edit->BuildLookupItems();
    EXPECT_EQ(Edit->LookupItems()->Count(), 4);
}

TEST_F(MultiColumnTest, ItemAssignCopiesTheImageAlone)
{
    Fill();
    Edit->Items()->Items(0)->ImageIndex = 5;
    ExtMultiColumnDropDown::TDropDownItems copy(nullptr);
    copy.Assign(Edit->Items());
    ASSERT_EQ(copy.Count(), 4);
    EXPECT_EQ(copy.Items(0)->ImageIndex, 5);
    EXPECT_EQ(copy.Items(0)->Text()->Count(), 0);
    EXPECT_EQ(Edit->Items()->IndexInColumn(1, QStringLiteral("3")), 2);
    EXPECT_EQ(Edit->Items()->IndexInColumn(2, QStringLiteral("x")), -1);
}

TEST_F(MultiColumnTest, TypeAheadCompletesInTheTypedCaseAndTakesTheItemOnKeyUp)
{
    Fill();
    Edit->SetText(QString());
    // The second key goes down before the first comes up.
    GuiTest::KeyDown(Edit, 'A', {}, QStringLiteral("a"));
    GuiTest::KeyDown(Edit, 'B', {}, QStringLiteral("b"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("abC"));
    EXPECT_EQ(Edit->SelStart(), 2);
    EXPECT_EQ(Edit->SelLength(), 1);
    GuiTest::KeyUp(Edit, 'B');
    EXPECT_EQ(Edit->Text(), QStringLiteral("ABC")) << "the item's own text on release";
    EXPECT_EQ(Edit->SelStart(), 2);
    EXPECT_EQ(Edit->SelLength(), 1);
    EXPECT_EQ(Edit->ItemIndex(), 0);
}

TEST_F(MultiColumnTest, TypeAheadWithoutAMatchKeepsTheTextBeforeTheCaret)
{
    Fill();
    Edit->SetText(QString());
    GuiTest::TypeText(Edit, QStringLiteral("xy"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("xy"));
    Edit->SetText(QStringLiteral("xyz"));
    Edit->SetSelStart(1);
    Edit->SetSelLength(0);
    GuiTest::PressKey(Edit, 'Q', {}, QStringLiteral("q"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("xq")) << "the characters after the caret are dropped";
}

TEST_F(MultiColumnTest, TypeAheadAddsAtMost255CharactersOfTheItem)
{
    AddItem({""});
    Edit->Items()->Items(0)->Text()->SetStrings(0, QStringLiteral("L") + UnicodeString(400, QLatin1Char('x')));
    Edit->BuildLookupItems();
    Edit->SetText(QString());
    GuiTest::KeyDown(Edit, 'L', {}, QStringLiteral("l"));
    EXPECT_EQ(Edit->Text().length(), 1 + 255);
}

TEST_F(MultiColumnTest, EscapeInTheEditEmptiesATextThatIsNoItem)
{
    Fill();
    Edit->SetItemIndex(1);
    GuiTest::PressKey(Edit, VK_ESCAPE);
    EXPECT_EQ(Edit->Text(), QStringLiteral("Beta")) << "an item's text stays";
    EXPECT_EQ(Edit->ItemIndex(), 1);
    Edit->SetText(QStringLiteral("nothing"));
    GuiTest::PressKey(Edit, VK_ESCAPE);
    EXPECT_EQ(Edit->Text(), QString());
    EXPECT_EQ(Edit->ItemIndex(), -1);
}

TEST_F(MultiColumnTest, ArrowsInTheClosedEditWalkTheItems)
{
    Fill();
    GuiTest::PressKey(Edit, VK_DOWN);
    EXPECT_EQ(Edit->ItemIndex(), 0);
    GuiTest::PressKey(Edit, VK_NEXT);
    EXPECT_EQ(Edit->ItemIndex(), 3) << "a page stops at the last item";
    GuiTest::PressKey(Edit, VK_UP);
    EXPECT_EQ(Edit->Text(), QStringLiteral("Gamma"));
    GuiTest::PressKey(Edit, VK_HOME);
    EXPECT_EQ(Edit->ItemIndex(), 2) << "Home moves the caret of an editable edit";
    Edit->SetEditorEnabled(false);
    GuiTest::PressKey(Edit, VK_HOME);
    EXPECT_EQ(Edit->ItemIndex(), 0);
}

TEST_F(MultiColumnTest, PopupHeightShowsWholeRowsOnly)
{
    Edit->DropDownHeader()->SetVisible(false);
    Edit->DropDownFooter()->SetVisible(false);
    struct {
        int Requested, Expected;
    } cases[] = {
        {200, 25 + 2 + 22 * 7},      // 173 px of rows hold 7 whole ones
        {25 + 2 + 44, 25 + 2 + 44},  // exactly two rows
        {25 + 2 - 3, 25 + 2},        // just short of the header: truncated toward zero, no row
    };
    for (auto c : cases) {
        int h = c.Requested;
        Edit->AdaptDropDownHeight(h);
        EXPECT_EQ(h, c.Expected) << c.Requested;
    }
    Edit->DropDownFooter()->SetVisible(true);
    const int V = Edit->DropDownFooter()->Height();
    int h = 200;
    Edit->AdaptDropDownHeight(h);
    EXPECT_EQ(h, V + 27 + 22 * ((200 - V - 27) / 22));
}

TEST_F(MultiColumnTest, ColumnsScaleToThePopupWidthCarryingTheRoundedRest)
{
    struct {
        std::vector<int> Widths;
        int PopupWidth;
        std::vector<int> Expected;
    } cases[] = {
        // S = 100, f = 1.5: 75, 45, 28.5 -> 28 (half to even); the carry .5 stays below 1.
        {{50, 30, 19}, 150, {75, 45, 28}},
        // S = 81, f = 91 / 81: 22.47 each -> 22; the carry reaches 1.41 at the third column,
        // which takes the pixel.
        {{20, 20, 20, 20}, 91, {22, 22, 23, 22}},
    };
    for (const auto &c : cases) {
        auto *d = NewDropDown<TExtMultiColumnDropDown>(Form.get());
        d->SetParent(Form.get());
        d->SetBounds(10, 40, 200, 21);
        for (int w : c.Widths)
            d->Columns()->Add()->Width = w;
        for (int i = 0; i < 3; ++i)
            d->Items()->Add()->Text()->Add(QStringLiteral("x"));
        d->DropDownAutoWidth = false;
        d->SetDropDownWidth(c.PopupWidth);
        d->SetFocus();
        GuiTest::PressKey(d, VK_DOWN, {ssAlt});
        ASSERT_TRUE(d->DroppedDown());
        ASSERT_EQ(d->DropDownForm()->Width(), c.PopupWidth);
        std::vector<int> got;
        for (int i = 0; i < d->Grid()->ColCount(); ++i)
            got.push_back(d->Grid()->ColWidths(i));
        EXPECT_EQ(got, c.Expected) << c.PopupWidth;
        EXPECT_EQ(d->Columns()->Items(0)->Width, c.Widths[0]) << "the definitions keep their widths";
        d->HideDropDown(false);
    }
}

TEST_F(MultiColumnTest, StylesSetHeaderLinesAndSelection)
{
    EXPECT_EQ(Edit->LineColor, TColor(0xF1EDEB)) << "the Office 2007 preset of construction";
    EXPECT_EQ(Edit->FixedLineColor, TColor(0xD1BBA4));
    Edit->SetComponentStyle(tsOffice2003Blue);
    EXPECT_EQ(Edit->HeaderColor, TColor(0xD68759));
    EXPECT_EQ(Edit->HeaderColorTo, TColor(0x933803));
    EXPECT_EQ(Edit->HeaderFont()->Color(), TColor(0xFFFFFF));
    EXPECT_EQ(Edit->LineColor, TColor(0x962D00));
    EXPECT_EQ(Edit->FixedLineColor, TColor(0x962D00));
    EXPECT_EQ(Edit->SelectionColorStyle(), scOffice2007);
    Edit->SetComponentStyle(tsWindowsXP);
    EXPECT_EQ(Edit->LineColor, TColor(0xC0C0C0));
    EXPECT_EQ(Edit->FixedLineColor, TColor(0));
    EXPECT_EQ(Edit->SelectionColor(), clHighlight);
    EXPECT_EQ(Edit->SelectionTextColor, clHighlightText);
    Edit->SetComponentStyle(tsCustom);
    EXPECT_EQ(Edit->LineColor, TColor(0xC0C0C0)) << "the custom style changes nothing";
}

TEST_F(MultiColumnTest, PopupOpensOnTheChosenRowAndEnterTakesTheNewOne)
{
    Fill();
    Edit->SetItemIndex(1);
    Open();
    EXPECT_EQ(Grid()->Row(), 2);
    EXPECT_EQ(Grid()->RowCount(), 5);
    EXPECT_EQ(Grid()->Cells(0, 2), QString()) << "the grid's own cells stay empty";
    GuiTest::PressKey(Grid(), VK_DOWN);
    EXPECT_EQ(Edit->ItemIndex(), 2) << "the row moved by a key follows into the edit";
    bool selected = false;
    Edit->OnSelect = [&](TObject *) { selected = true; };
    GuiTest::PressKey(Grid(), VK_RETURN);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_TRUE(selected);
    EXPECT_EQ(Edit->Text(), QStringLiteral("Gamma"));

    Open();
    GuiTest::PressKey(Grid(), VK_DOWN);
    GuiTest::PressKey(Grid(), VK_ESCAPE);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->ItemIndex(), 2) << "Escape goes back to the item of the opening";
    EXPECT_EQ(Edit->Text(), QStringLiteral("Gamma"));
}

TEST_F(MultiColumnTest, TypingInThePopupSearchesTheLookupColumn)
{
    Fill();
    Open();
    GuiTest::TypeText(Grid(), QStringLiteral("g"));
    EXPECT_EQ(Grid()->Row(), 3);
    EXPECT_EQ(Edit->Text(), QStringLiteral("Gamma"));
    EXPECT_EQ(Edit->LookupEntry(), QStringLiteral("g"));
    GuiTest::TypeText(Grid(), QStringLiteral("d"));
    EXPECT_EQ(Grid()->Row(), 4) << "no item begins with gd: the key alone is searched";
    EXPECT_EQ(Edit->LookupEntry(), QStringLiteral("d"));
    GuiTest::PressKey(Grid(), VK_TAB);
    EXPECT_TRUE(Edit->DroppedDown()) << "Tab does nothing in the popup";
    EXPECT_EQ(Grid()->Row(), 4);
}

TEST_F(MultiColumnTest, RightReleaseOnAnItemChoosesItAndTheWheelDoesNot)
{
    Fill();
    Open();
    const TRect r = Grid()->CellRect(0, 3);
    GuiTest::Wheel(Grid(), -120, TPoint(r.Left + 2, r.Top + 2));
    ASSERT_GT(Grid()->Row(), 1);
    EXPECT_EQ(Edit->ItemIndex(), -1) << "the wheel moves the grid only";
    EXPECT_EQ(Edit->Text(), QString());
    const int row = Grid()->Row();
    GuiTest::Click(Grid(), TPoint(r.Left + 2, r.Top + 2), mbRight);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->ItemIndex(), row - 1) << "the release chooses the current row";
}

TEST_F(MultiColumnTest, EmptyItemsGiveTheHeaderRowAndAutoSizeWidthZero)
{
    Fill();
    Edit->Items()->Clear();
    Edit->Columns()->Items(1)->AutoSize = true;
    Open();
    EXPECT_EQ(Grid()->RowCount(), 1);
    EXPECT_EQ(Grid()->Columns()->Items(1)->Width, 0);
}

TEST_F(MultiColumnTest, AutoSizeAndWordWrapMeasureTheItems)
{
    Fill();
    Edit->Columns()->Items(0)->AutoSize = true;
    Edit->Columns()->Items(2)->Wordwrap = true;
    Edit->Columns()->Items(2)->Width = 30;
    Edit->Items()->Items(1)->Text()->SetStrings(2, QStringLiteral("many words that wrap over lines"));
    Open();
    Grid()->Canvas()->Font()->Assign(Edit->Columns()->Items(0)->Font());
    TRect R(0, 0, 1000, 500);
    DrawText(Grid()->Canvas()->Handle(), QStringLiteral("Gamma"), -1, &R, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GE(Grid()->Columns()->Items(0)->Width, R.Right + 6) << "the widest item text + 6";
    EXPECT_EQ(Grid()->RowHeights(1), 24) << "a short line keeps the least height";
    EXPECT_EQ(Grid()->RowHeights(4), 24) << "an item without the line too";
    EXPECT_GT(Grid()->RowHeights(2), 24);
}

TEST_F(MultiColumnTest, CellsPaintTheirColumnLookAndFlags)
{
    Fill();
    Edit->Columns()->Items(1)->Alignment = taRightJustify;
    Edit->Columns()->Items(2)->Wordwrap = true;
    Edit->Columns()->Items(2)->Ellipsis = true;
    Open();
    EXPECT_EQ(ExtMultiColumnDropDown::ColCellTextFlags(false, taLeftJustify, false),
              DT_NOPREFIX | DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(ExtMultiColumnDropDown::ColCellTextFlags(false, taRightJustify, false),
              DT_NOPREFIX | DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE | DT_RIGHT);
    EXPECT_EQ(ExtMultiColumnDropDown::ColCellTextFlags(true, taCenter, true),
              DT_NOPREFIX | DT_EXPANDTABS | DT_VCENTER | DT_WORDBREAK | DT_EDITCONTROL | DT_CENTER | DT_END_ELLIPSIS);

    // A right-aligned code ends at the cell's right edge; a left one starts 2 px in.
    TRecordingCanvas rec;
    const TRect code = Grid()->CellBounds(1, 2);
    Grid()->PaintCell(&rec, 1, 2, code, {});
    auto texts = rec.CallsOf(QStringLiteral("ExtTextOut"));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, QStringLiteral("2"));
    EXPECT_GT(texts[0].Args[0], code.Left + code.Width() / 2);
    rec.Clear();
    const TRect name = Grid()->CellBounds(0, 2);
    Grid()->PaintCell(&rec, 0, 2, name, {});
    texts = rec.CallsOf(QStringLiteral("ExtTextOut"));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, QStringLiteral("Beta"));
    EXPECT_EQ(texts[0].Args[0], name.Left + 1 + 2);

    // A column beyond the definitions fills in the grid colour and shows nothing.
    rec.Clear();
    Grid()->SetColCount(4);
    Grid()->PaintCell(&rec, 3, 2, Grid()->CellBounds(3, 2), {});
    EXPECT_TRUE(rec.CallsOf(QStringLiteral("ExtTextOut")).empty());
    const auto fills = rec.CallsOf(QStringLiteral("Rectangle"));
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].BrushColor, Grid()->Color());
}

TEST_F(MultiColumnTest, AHeaderColourOfNoneGivesAFlatHeader)
{
    Fill();
    Edit->HeaderColor = 0x00FF00;
    Edit->HeaderColorTo = clNone;
    Open();
    TRecordingCanvas rec(300, 100);
    const TRect r = Grid()->CellBounds(0, 0);
    Grid()->PaintCell(&rec, 0, 0, r, {gdFixed});
    const QImage &img = rec.Image();
    EXPECT_EQ(img.pixelColor(r.Left + 4, r.Top + 2), img.pixelColor(r.Left + 4, r.Bottom - 4));
    EXPECT_EQ(img.pixelColor(r.Left + 4, r.Top + 2).green(), 255);

    Edit->HeaderColorTo = 0x000000;
    Grid()->HeaderColorTo = 0x000000;
    TRecordingCanvas grad(300, 100);
    Grid()->PaintCell(&grad, 0, 0, r, {gdFixed});
    EXPECT_NE(grad.Image().pixelColor(r.Left + 4, r.Top + 2), grad.Image().pixelColor(r.Left + 4, r.Bottom - 4))
        << "two colours give a gradient";
}

namespace {

using ExtMultiColumnDropDown::TDropDownItems;

// Whatever is done to an item's lines through its list, the lines read without the list
// follow; a line read before a change stays as it was read.
TEST(DropDownItemLines, LinesReadWithoutTheListFollowEveryChangeOfIt)
{
    struct TCase {
        const char *Name;
        std::function<void(TStringList *)> Change;
    };
    const TCase Cases[] = {
        {"add", [](TStringList *l) { l->Add(QStringLiteral("d")); }},
        {"add empty", [](TStringList *l) { l->Add(QString()); }},
        {"insert first", [](TStringList *l) { l->Insert(0, QStringLiteral("z")); }},
        {"delete middle", [](TStringList *l) { l->Delete(1); }},
        {"delete last", [](TStringList *l) { l->Delete(2); }},
        {"set longer", [](TStringList *l) { l->SetStrings(2, QString(300, QLatin1Char('x'))); }},
        {"set empty", [](TStringList *l) { l->SetStrings(0, QString()); }},
        {"exchange", [](TStringList *l) { l->Exchange(0, 2); }},
        {"move", [](TStringList *l) { l->Move(0, 2); }},
        {"clear", [](TStringList *l) { l->Clear(); }},
        {"text", [](TStringList *l) { l->SetText(QStringLiteral("x\ny\n\nw")); }},
        {"sort", [](TStringList *l) { l->Sort(); }},
        {"in an update", [](TStringList *l) {
             l->BeginUpdate();
             l->Add(QStringLiteral("e"));
             l->Delete(0);
             l->Add(QStringLiteral("f"));
             l->EndUpdate();
         }},
        {"assign", [](TStringList *l) {
             TStringList other;
             other.Add(QStringLiteral("p"));
             other.Add(QStringLiteral("q"));
             l->Assign(&other);
         }},
    };
    for (const TCase &c : Cases) {
        TDropDownItems items(nullptr);
        auto *it = items.Add();
        TStringList model;
        for (const char *s : {"c", "", "a"}) {
            it->Text()->Add(QString::fromUtf8(s));
            model.Add(QString::fromUtf8(s));
        }
        const std::optional<UnicodeString> held = it->Line(2);
        c.Change(it->Text());
        c.Change(&model);
        ASSERT_EQ(it->LineCount(), model.Count()) << c.Name;
        for (int i = -1; i <= model.Count(); ++i) {
            const bool has = i >= 0 && i < model.Count();
            EXPECT_EQ(it->Line(i), has ? std::optional<UnicodeString>(model.Strings(i)) : std::nullopt) << c.Name << " " << i;
            EXPECT_EQ(it->LineView(i).toString(), has ? model.Strings(i) : QString()) << c.Name << " " << i;
        }
        EXPECT_EQ(held, std::optional<UnicodeString>(QStringLiteral("a"))) << c.Name;
    }
}

} // namespace

namespace {

using ExtMultiColumnDropDown::TDropDownItems;

// The block of all items' lines, once made, is made again after any change of the items: a
// line, an item added, inserted, deleted, moved or replaced, also inside an update.
TEST(DropDownItemLines, TheBlockOfAllLinesFollowsEveryChangeOfTheItems)
{
    auto add = [](TDropDownItems *I, std::initializer_list<const char *> Lines) {
        auto *it = I->Add();
        for (const char *l : Lines)
            it->Text()->Add(QString::fromUtf8(l));
        return it;
    };
    struct TCase {
        const char *Name;
        std::function<void(TDropDownItems *)> Change;
    };
    const TCase Cases[] = {
        {"none", [](TDropDownItems *) {}},
        {"a line", [](TDropDownItems *I) { I->Items(1)->Text()->SetStrings(0, QStringLiteral("changed")); }},
        {"lines added", [](TDropDownItems *I) { I->Items(3)->Text()->Add(QStringLiteral("more")); }},
        {"an item added", [&](TDropDownItems *I) { add(I, {"new", "n"}); }},
        {"an item inserted", [](TDropDownItems *I) { I->Insert(0)->Text()->Add(QStringLiteral("first")); }},
        {"an item deleted", [](TDropDownItems *I) { I->Delete(1); }},
        {"an item moved", [](TDropDownItems *I) { I->Items(0)->SetIndex(2); }},
        {"an item replaced", [&](TDropDownItems *I) {
             I->Delete(3);
             add(I, {"other"});
         }},
        {"moved in an update", [](TDropDownItems *I) {
             I->BeginUpdate();
             I->Items(3)->SetIndex(0);
             I->Items(1)->Text()->Clear();
             I->EndUpdate();
         }},
        {"cleared", [](TDropDownItems *I) { I->Clear(); }},
        {"one item again and again", [](TDropDownItems *I) {
             for (int k = 0; k < 3000; ++k) {
                 I->Items(k % 2 ? 1 : 3)->Text()->SetStrings(0, QString(k % 7 + 1, QLatin1Char('k')));
                 (void)I->AllLines();
             }
         }},
        {"many items", [&](TDropDownItems *I) {
             for (int k = 0; k < 12; ++k)
                 add(I, {"m", "n"});
             (void)I->AllLines();
             for (int k = 0; k < I->Count(); ++k)
                 I->Items(k)->Text()->Add(QString::number(k));
         }},
    };
    for (const TCase &c : Cases) {
        TDropDownItems items(nullptr);
        add(&items, {"a", "1", "x"});
        add(&items, {"b", ""});
        add(&items, {});
        add(&items, {"d", "4", "long line of the fourth item"});
        (void)items.AllLines();
        c.Change(&items);
        const ExtMultiColumnDropDown::TItemLineBlock &all = items.AllLines();
        for (int j = 0; j < items.Count(); ++j) {
            const auto *it = items.Items(j);
            ASSERT_EQ(all.LineCount(j), it->LineCount()) << c.Name << " item " << j;
            for (int i = 0; i <= it->LineCount(); ++i)
                EXPECT_EQ(all.Line(j, i).toString(), it->LineView(i).toString()) << c.Name << " item " << j << " line " << i;
        }
    }
}

} // namespace
