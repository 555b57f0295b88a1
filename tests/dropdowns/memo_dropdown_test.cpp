// The memo drop-down driven as a user drives it: what the edit shows of the lines, editing the
// lines in the popup with Enter, Esc and F4, the automatic drop on entry and typing in the edit.
#include "DropDownFormTest.h"
#include "dropdowns/ExtMemoDropDown.h"
#include "platform/Menus.h"

namespace {

class MemoDropDownTest : public DropDownFormTest<TExtMemoDropDown> {
protected:
    void AddControls() override
    {
        Other = new TEdit(Form.get());
        Other->SetParent(Form.get());
        Other->SetBounds(10, 100, 100, 21);
    }
    void SetLines(const UnicodeString &Text)
    {
        TStringList l;
        l.SetText(Text);
        Edit->SetMemoText(&l);
    }
    TEdit *Other = nullptr;
};

} // namespace

TEST_F(MemoDropDownTest, NonEditableEditShowsTheFirstLineWithAMark)
{
    Edit->SetEditorEnabled(false);
    SetLines(QStringLiteral("Alpha\nBeta"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("Alpha..."));
    SetLines(QStringLiteral("Alpha"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("Alpha")) << "one line needs no mark";

    const UnicodeString wide(80, QLatin1Char('W'));
    SetLines(wide + QStringLiteral("\nsecond"));
    const UnicodeString shown = Edit->Text();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("...")));
    EXPECT_LT(shown.length(), wide.length());
    EXPECT_TRUE(wide.startsWith(shown.left(shown.length() - 3)));

    Edit->SetEditorEnabled(true);
    SetLines(QStringLiteral("Alpha\nBeta"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("Alpha\r\nBeta")) << "an editable edit shows all lines";
}

TEST(MemoEllipsis, TheLineIsCutUntilItFitsAndKeptWholeWhenNothingDoes)
{
    const auto width = [](const UnicodeString &S) { return int(S.length()) * 10; };
    const struct {
        int Available;
        const char *Shown;
    } Cases[] = {
        {81, "Alpha..."}, // the first candidate narrower than the room
        {80, "Alph..."},  // as wide as the room is not narrower
        {31, "..."},      // every character cut
        {30, "Alphabet"}, // not even the dots fit
        {0, "Alphabet"},
    };
    for (const auto &C : Cases)
        EXPECT_EQ(ShortenWithEllipsis(QStringLiteral("Alphabet"), C.Available, width), QString::fromLatin1(C.Shown))
            << C.Available;
}

TEST_F(MemoDropDownTest, PopupEnterAddsALineEscDropsEditsF4KeepsThem)
{
    SetLines(QStringLiteral("one"));
    GuiTest::PressKey(Edit, VK_F4);
    ASSERT_TRUE(Edit->DroppedDown());
    TMemo *memo = Edit->Memo();
    ASSERT_EQ(GuiTest::FocusedControl(), memo);
    EXPECT_EQ(memo->Lines()->Count(), 1);
    memo->SetSelStart(memo->Text().length());
    GuiTest::PressKey(memo, VK_RETURN);
    GuiTest::TypeText(memo, QStringLiteral("two"));
    EXPECT_TRUE(Edit->DroppedDown()) << "Enter is a new line in the memo";
    EXPECT_EQ(memo->Lines()->Count(), 2);
    GuiTest::PressKey(memo, VK_ESCAPE);
    EXPECT_FALSE(Edit->DroppedDown());
    ASSERT_EQ(Edit->MemoText()->Count(), 1);
    EXPECT_EQ(Edit->MemoText()->Strings(0), QStringLiteral("one"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("one"));

    GuiTest::PressKey(Edit, VK_F4);
    ASSERT_TRUE(Edit->DroppedDown());
    memo->SetSelStart(memo->Text().length());
    GuiTest::PressKey(memo, VK_RETURN);
    GuiTest::TypeText(memo, QStringLiteral("two"));
    GuiTest::PressKey(memo, VK_F4);
    EXPECT_FALSE(Edit->DroppedDown());
    ASSERT_EQ(Edit->MemoText()->Count(), 2);
    EXPECT_EQ(Edit->MemoText()->Strings(1), QStringLiteral("two"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("one\r\ntwo"));
}

TEST_F(MemoDropDownTest, AutoDropOpensOnEntryButNotAfterItsOwnClose)
{
    Edit->AutoDrop = true;
    Other->SetFocus();
    GuiTest::ProcessEvents();
    Edit->SetFocus();
    GuiTest::ProcessEvents();
    ASSERT_TRUE(Edit->DroppedDown());
    GuiTest::PressKey(Edit->Memo(), VK_F4);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(GuiTest::FocusedControl(), Edit);
    EXPECT_TRUE(Edit->AutoDrop);
}

TEST_F(MemoDropDownTest, TypingReplacesTheLinesWithOneLine)
{
    SetLines(QStringLiteral("a\nb\nc"));
    Edit->SelectAll();
    GuiTest::TypeText(Edit, QStringLiteral("xyz"));
    ASSERT_EQ(Edit->MemoText()->Count(), 1);
    EXPECT_EQ(Edit->MemoText()->Strings(0), QStringLiteral("xyz"));
}

TEST_F(MemoDropDownTest, RightClickInThePopupShowsTheMemoMenu)
{
    auto *menu = new TPopupMenu(Form.get());
    auto *item = new TMenuItem(menu);
    item->SetCaption(QStringLiteral("Insert date"));
    item->OnClick = [this](TObject *) { Edit->Memo()->SetSelText(QStringLiteral("today")); };
    menu->Items()->Add(item);
    Edit->SetMemoPopup(menu);
    GuiTest::PressKey(Edit, VK_F4);
    ASSERT_TRUE(Edit->DroppedDown());

    GuiTest::TScriptedModalHook hook;
    hook.Answer(mrOk, QStringLiteral("Insert date"));
    GuiTest::Click(Edit->Memo(), TPoint(5, 5), mbRight);
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(menu->PopupComponent(), Edit->Memo());
    EXPECT_TRUE(Edit->DroppedDown()) << "the menu leaves the popup open";
    GuiTest::PressKey(Edit->Memo(), VK_F4);
    EXPECT_EQ(Edit->MemoText()->Text().trimmed(), QStringLiteral("today"));

    delete menu;
    EXPECT_EQ(Edit->MemoPopup(), nullptr);
    GuiTest::PressKey(Edit, VK_F4);
    EXPECT_EQ(Edit->Memo()->PopupMenu(), nullptr) << "the next opening hands the memo no stale menu";
    Edit->HideDropDown(false);
}
