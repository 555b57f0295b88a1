// The detail drop-down driven as a user drives it: completion while typing, Enter on a caption,
// choosing by index, the open list's keys and type-ahead, a cancelled close and the rich notes.
#include "DropDownFormTest.h"
#include "dropdowns/ExtDetailDropDown.h"
#include "platform/TimeSource.h"

namespace {

class DetailDropDownTest : public DropDownFormTest<TExtDetailDropDown> {
protected:
    void Fill(std::initializer_list<const char *> Captions)
    {
        for (const char *c : Captions)
            Edit->Items()->Add()->SetCaption(QString::fromLatin1(c));
        Edit->OnSelect = [this](TObject *) { ++Selects; };
    }
    void Open()
    {
        GuiTest::PressKey(Edit, VK_F4);
        ASSERT_TRUE(Edit->DroppedDown());
    }
    int Selects = 0;
};

} // namespace

TEST_F(DetailDropDownTest, TypingCompletesWithTheFirstMatchingCaption)
{
    Fill({"Alpha", "Beta", "Bravo"});
    GuiTest::TypeText(Edit, QStringLiteral("b"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("beta"));
    EXPECT_EQ(Edit->SelStart(), 1);
    EXPECT_EQ(Edit->SelLength(), 3);
    EXPECT_EQ(Edit->ItemIndex(), 1);
    EXPECT_EQ(Selects, 0) << "completion chooses without the event";
    GuiTest::TypeText(Edit, QStringLiteral("r"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("bravo"));
    EXPECT_EQ(Edit->ItemIndex(), 2);
    GuiTest::TypeText(Edit, QStringLiteral("x"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("brx")) << "no caption continues: cut back to the typed text";
}

TEST_F(DetailDropDownTest, MatchCaseFindsNothingForOtherCase)
{
    Fill({"Alpha", "Beta", "Bravo"});
    Edit->MatchCase = true;
    GuiTest::TypeText(Edit, QStringLiteral("b"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("b"));
    EXPECT_EQ(Edit->ItemIndex(), -1);
}

TEST_F(DetailDropDownTest, EnterOnACaptionChoosesItAndIndexesOutsideChangeNothing)
{
    Fill({"Beta", "Bet", "Gamma"});
    GuiTest::TypeText(Edit, QStringLiteral("Bet"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("Beta"));
    GuiTest::PressKey(Edit, VK_DELETE); // the completed "a" goes, completion rests
    EXPECT_EQ(Edit->Text(), QStringLiteral("Bet"));
    GuiTest::PressKey(Edit, VK_RETURN);
    EXPECT_EQ(Edit->ItemIndex(), 1);
    EXPECT_EQ(Selects, 1);
    EXPECT_EQ(Edit->Text(), QStringLiteral("Bet"));

    Edit->SetItemIndex(5);
    EXPECT_EQ(Edit->ItemIndex(), 1);
    EXPECT_EQ(Edit->Text(), QStringLiteral("Bet"));
    Edit->SetItemIndex(2);
    EXPECT_EQ(Edit->Text(), QStringLiteral("Gamma"));
    EXPECT_EQ(Edit->SelLength(), 5) << "selected whole";
    EXPECT_EQ(Selects, 2);
    Edit->SetItemIndex(-1);
    EXPECT_EQ(Edit->Text(), QString());
    EXPECT_EQ(Edit->ItemIndex(), -1);
}

TEST_F(DetailDropDownTest, OpenListArrowsMoveEscRestoresClickKeeps)
{
    Fill({"Alpha", "Beta", "Bravo"});
    Edit->SetItemIndex(0);
    Open();
    TExtCustomItemSelector *list = Edit->ItemSelector();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Items()->Count(), 3);
    GuiTest::PressKey(Edit, VK_DOWN);
    GuiTest::PressKey(Edit, VK_DOWN);
    EXPECT_TRUE(Edit->DroppedDown());
    EXPECT_EQ(Edit->ItemIndex(), 2);
    EXPECT_EQ(Edit->Text(), QStringLiteral("Bravo"));
    GuiTest::PressKey(Edit, VK_ESCAPE);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->ItemIndex(), 0);
    EXPECT_EQ(Edit->Text(), QStringLiteral("Alpha"));

    Open();
    const TRect r = list->Items()->Items(1)->Rect;
    GuiTest::Click(list->ItemSelectorPanel(), TPoint(r.Left + 5, r.Top + 5));
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->ItemIndex(), 1);
    EXPECT_EQ(Edit->Text(), QStringLiteral("Beta"));

    // From no choice, a cancelled close leaves none.
    Edit->SetItemIndex(-1);
    Open();
    GuiTest::PressKey(Edit, VK_DOWN);
    EXPECT_EQ(Edit->ItemIndex(), 0);
    GuiTest::PressKey(Edit, VK_ESCAPE);
    EXPECT_EQ(Edit->ItemIndex(), -1);
    EXPECT_EQ(Edit->Text(), QString());
}

TEST_F(DetailDropDownTest, TypeAheadInTheOpenListWithinHalfASecond)
{
    TManualClock clock;
    Fill({"Alpha", "Beta", "Bravo"});
    Open();
    clock.Advance(500);
    GuiTest::PressKey(Edit, 'B');
    EXPECT_EQ(Edit->ItemSelector()->ItemIndex(), 1);
    clock.Advance(200);
    GuiTest::PressKey(Edit, 'R');
    EXPECT_EQ(Edit->ItemSelector()->ItemIndex(), 2);
    EXPECT_EQ(Edit->ItemIndex(), 2);
    clock.Advance(300);
    EXPECT_EQ(Edit->CurSearch(), QString());
    GuiTest::PressKey(Edit, 'A');
    EXPECT_EQ(Edit->ItemIndex(), 0) << "a new search";
}

TEST_F(DetailDropDownTest, NotesAreRichTextUnderTheCaption)
{
    Fill({"One", "Two"});
    Edit->Items()->Items(0)->Notes = QStringLiteral("<b>WWWWWW</b>");
    Edit->Items()->Items(1)->Notes = QStringLiteral("WWWWWW");
    Edit->ItemHeight = 40;
    Open();
    GuiTest::ProcessEvents();
    TExtCustomItemSelector *list = Edit->ItemSelector();
    auto ink = [&](int Index) {
        const TRect r = list->Items()->Items(Index)->Rect;
        int n = 0;
        for (int y = r.Top + 18; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const TColorRef c = GuiTest::PixelAt(list, x, y + list->ItemSelectorPanel()->Top());
                if (GetRValue(c) < 128 && GetGValue(c) < 128)
                    ++n;
            }
        return n;
    };
    const int bold = ink(0), plain = ink(1);
    EXPECT_GT(plain, 20) << "the note is drawn below the caption";
    EXPECT_GT(bold, plain + plain / 5) << "the tagged word is bold";
}
