// The edit's multi-line mode, lines and character positions, balloon tips, and the change
// notifications that edits and combo boxes send to their parent.
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A parent that records the WM_COMMAND notifications its children send, and what the child's
// own change handler had seen by then.
class TRecordingPanel : public TWinControl {
public:
    explicit TRecordingPanel(TComponent *AOwner) : TWinControl(AOwner) {}
    std::vector<Word> Codes;

protected:
    void WMCommand(TWMCommand &Message) override
    {
        Codes.push_back(Message.NotifyCode);
        TWinControl::WMCommand(Message);
    }
};

class StdCtrlsMultiLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(10, 10, 400, 300);
        Panel = new TRecordingPanel(Form.get());
        Panel->SetParent(Form.get());
        Panel->SetBounds(0, 0, 380, 280);
    }
    void TearDown() override { HideBalloonTipOf(nullptr); }
    template <class T>
    T *Make(int Left, int Top, int W = 120, int H = 60)
    {
        auto *c = new T(Form.get());
        c->SetParent(Panel);
        c->SetBounds(Left, Top, W, H);
        return c;
    }
    void ShowForm()
    {
        Form->Show();
        GuiTest::ProcessEvents();
    }
    std::unique_ptr<TForm> Form;
    TRecordingPanel *Panel = nullptr;
};

TEST_F(StdCtrlsMultiLine, LinesAndPositionsWithoutAWindowBreakAtLineBreaksOnly)
{
    TEdit e(nullptr);
    e.SetMultiLine(true);
    e.SetBounds(0, 0, 200, 100);
    e.SetText(QStringLiteral("ab\r\ncd\r\nlonger line"));
    EXPECT_EQ(e.LineCount(), 3);
    struct Case {
        int Index, Line;
    } cases[] = {{0, 0}, {2, 0}, {4, 1}, {5, 1}, {8, 2}, {18, 2}};
    for (const Case &c : cases)
        EXPECT_EQ(e.LineFromChar(c.Index), c.Line) << c.Index;
    const TPoint p0 = e.PosFromChar(0), p4 = e.PosFromChar(4), p5 = e.PosFromChar(5);
    EXPECT_EQ(p0.Y, 0);
    EXPECT_GT(p4.Y, 0);
    EXPECT_EQ(p4.X, p0.X); // the second line starts at the margin again
    EXPECT_GT(p5.X, p4.X);
    EXPECT_EQ(e.PosFromChar(19).X, -1);
    // Round trip: the position of a character leads back to it.
    for (int i : {0, 1, 4, 5, 9}) {
        const TPoint p = e.PosFromChar(i);
        int line = -1;
        EXPECT_EQ(e.CharFromPos({p.X + 1, p.Y + 1}, &line), i) << i;
        EXPECT_EQ(line, e.LineFromChar(i));
    }
    // One-line edits have one line whatever their text.
    TEdit single(nullptr);
    single.SetText(QStringLiteral("a\r\nb"));
    EXPECT_EQ(single.LineCount(), 1);
    EXPECT_EQ(single.LineFromChar(3), 0);
}

TEST_F(StdCtrlsMultiLine, WindowAnswersLinesAndPositionsAsShownAndTheMessagesAgree)
{
    auto *e = Make<TEdit>(10, 10, 200, 80);
    e->SetMultiLine(true);
    e->SetLineWrap(false);
    e->SetText(QStringLiteral("first\r\nsecond\r\nthird"));
    ShowForm();
    EXPECT_EQ(e->LineCount(), 3);
    EXPECT_EQ(e->Perform(EM_GETLINECOUNT, 0, 0), 3);
    EXPECT_EQ(e->Perform(EM_LINEFROMCHAR, 9, 0), 1);
    EXPECT_EQ(e->LineFromChar(16), 2);
    const TPoint second = e->PosFromChar(7);
    const TPoint third = e->PosFromChar(15);
    EXPECT_GT(third.Y, second.Y);
    const LRESULT packed = e->Perform(EM_POSFROMCHAR, 15, 0);
    EXPECT_EQ(LoWord(static_cast<DWORD>(packed)), third.X);
    EXPECT_EQ(HiWord(static_cast<DWORD>(packed)), third.Y);
    const LRESULT hit = e->Perform(EM_CHARFROMPOS, 0, MakeLParam(third.X + 1, third.Y + 2));
    EXPECT_EQ(LoWord(static_cast<DWORD>(hit)), 15);
    EXPECT_EQ(HiWord(static_cast<DWORD>(hit)), 2);
    EXPECT_EQ(e->Perform(EM_CHARFROMPOS, 0, MakeLParam(500, 5)), -1);
    // The caret's line.
    e->SetSelStart(9);
    EXPECT_EQ(e->Perform(EM_LINEFROMCHAR, WPARAM(-1), 0), 1);

    // Word wrap on: a long line takes several lines of a narrow window.
    e->SetText(QStringLiteral("one two three four five six seven eight nine ten"));
    e->SetWidth(60);
    e->SetLineWrap(true);
    GuiTest::ProcessEvents();
    EXPECT_GT(e->LineCount(), 1);
    e->SetLineWrap(false);
    EXPECT_EQ(e->LineCount(), 1);
}

TEST_F(StdCtrlsMultiLine, StyleChangesRemakeTheWindowKeepingTextAndSelection)
{
    auto *e = Make<TEdit>(10, 10, 200, 60);
    e->SetText(QStringLiteral("line one\r\nline two"));
    ShowForm();
    e->SetSelStart(3);
    e->SetSelLength(4);
    const HWND single = e->Handle();
    e->SetMultiLine(true);
    EXPECT_NE(e->Handle(), single);
    EXPECT_EQ(e->Text(), QStringLiteral("line one\r\nline two"));
    EXPECT_EQ(e->SelStart(), 3);
    EXPECT_EQ(e->SelLength(), 4);
    EXPECT_EQ(e->LineCount(), 2);

    // A password character forces one line; taking it away gives the lines back.
    e->SetPasswordChar(u'*');
    EXPECT_FALSE(e->IsMultiLine());
    EXPECT_EQ(e->LineCount(), 1);
    EXPECT_EQ(e->SelStart(), 3);
    e->SetPasswordChar(0);
    EXPECT_TRUE(e->IsMultiLine());
    EXPECT_EQ(e->Text(), QStringLiteral("line one\r\nline two"));
    EXPECT_EQ(e->LineCount(), 2);
}

TEST_F(StdCtrlsMultiLine, WantReturnDecidesWhetherEnterStaysInTheEdit)
{
    auto *e = Make<TEdit>(10, 10);
    e->SetMultiLine(true);
    ShowForm();
    EXPECT_FALSE(e->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
    e->SetWantReturn(true);
    EXPECT_TRUE(e->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
    e->SetFocus();
    GuiTest::TypeText(e, QStringLiteral("ab"));
    GuiTest::PressKey(e, VK_RETURN);
    GuiTest::TypeText(e, QStringLiteral("c"));
    EXPECT_EQ(e->Text(), QStringLiteral("ab\r\nc"));
    EXPECT_EQ(e->LineCount(), 2);
}

TEST_F(StdCtrlsMultiLine, ClickPlacesTheCaretAtTheCharacterUnderThePointer)
{
    auto *e = Make<TEdit>(10, 10, 200, 24);
    e->SetText(QStringLiteral("abcdefgh"));
    ShowForm();
    const TPoint p = e->PosFromChar(5);
    const int hit = e->CharFromPos({p.X + 1, 8});
    EXPECT_GE(hit, 4);
    EXPECT_LE(hit, 6);
    EXPECT_EQ(e->CharFromPos({-1, 5}), -1);
}

TEST_F(StdCtrlsMultiLine, BalloonTipShowsOnTheEditAndGoesWithTyping)
{
    auto *e = Make<TEdit>(10, 10, 120, 24);
    ShowForm();
    e->SetFocus();
    const int before = LastBalloonTip().Count;
    const UnicodeString title = QStringLiteral("Wrong value"), text = QStringLiteral("Digits only");
    EDITBALLOONTIP tip;
    tip.pszTitle = &title;
    tip.pszText = &text;
    tip.ttiIcon = TTI_ERROR;
    EXPECT_EQ(e->Perform(EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip)), 1);
    const TBalloonTipInfo &last = LastBalloonTip();
    EXPECT_EQ(last.Count, before + 1);
    EXPECT_EQ(last.Owner, e);
    EXPECT_EQ(last.Title, title);
    EXPECT_EQ(last.Text, text);
    EXPECT_EQ(last.Icon, TTI_ERROR);
    EXPECT_TRUE(last.Visible);
    GuiTest::TypeText(e, QStringLiteral("x"));
    EXPECT_FALSE(LastBalloonTip().Visible);
    EXPECT_EQ(LastBalloonTip().Text, text); // still readable

    // A control without a window shows none.
    TEdit loose(nullptr);
    EXPECT_FALSE(loose.ShowBalloonTip(title, text, TTI_INFO));
}

TEST_F(StdCtrlsMultiLine, BalloonTipOnAComboNeedsAnEditField)
{
    auto *c = Make<TComboBox>(10, 10, 120, 24);
    auto *l = Make<TComboBox>(10, 50, 120, 24);
    l->SetStyle(csDropDownList);
    ShowForm();
    EXPECT_TRUE(c->ShowBalloonTip(QStringLiteral("T"), QStringLiteral("combo text"), TTI_WARNING));
    EXPECT_EQ(LastBalloonTip().Owner, c);
    EXPECT_EQ(LastBalloonTip().Text, QStringLiteral("combo text"));
    EXPECT_FALSE(l->ShowBalloonTip(QStringLiteral("T"), QStringLiteral("list"), TTI_WARNING));
    EXPECT_EQ(LastBalloonTip().Text, QStringLiteral("combo text"));
    delete c;
    EXPECT_EQ(LastBalloonTip().Owner, nullptr);
    EXPECT_FALSE(LastBalloonTip().Visible);
}

TEST_F(StdCtrlsMultiLine, ParentHearsOfChangesBeforeTheControlsOwnHandler)
{
    auto *e = Make<TEdit>(10, 10, 120, 24);
    auto *c = Make<TComboBox>(10, 50, 120, 24);
    c->Items()->Add(QStringLiteral("alpha"));
    c->Items()->Add(QStringLiteral("beta"));
    std::vector<std::size_t> seenAtChange;
    e->OnChange = [&](TObject *) { seenAtChange.push_back(Panel->Codes.size()); };
    ShowForm();
    e->SetFocus();
    GuiTest::TypeText(e, QStringLiteral("a"));
    ASSERT_EQ(Panel->Codes.size(), 1u);
    EXPECT_EQ(Panel->Codes[0], EN_CHANGE);
    ASSERT_EQ(seenAtChange.size(), 1u);
    EXPECT_EQ(seenAtChange[0], 1u);
    e->SetText(QStringLiteral("set in code"));
    EXPECT_EQ(Panel->Codes.back(), EN_CHANGE);

    Panel->Codes.clear();
    std::vector<Word> atSelect;
    c->OnSelect = [&](TObject *) { atSelect = Panel->Codes; };
    c->SetFocus();
    c->SetDroppedDown(true);
    GuiTest::ProcessEvents();
    c->SetDroppedDown(false);
    GuiTest::ProcessEvents();
    GuiTest::TypeText(c, QStringLiteral("b"));
    const std::vector<Word> expected{CBN_DROPDOWN, CBN_CLOSEUP, CBN_EDITCHANGE};
    EXPECT_EQ(Panel->Codes, expected);
    GuiTest::PressKey(c, VK_DOWN);
    ASSERT_FALSE(atSelect.empty());
    EXPECT_EQ(atSelect.back(), CBN_SELCHANGE);
}

TEST_F(StdCtrlsMultiLine, ComboAnswersSelectionAndItemTexts)
{
    auto *c = Make<TComboBox>(10, 10, 120, 24);
    c->Items()->Add(QStringLiteral("alpha"));
    c->Items()->Add(QStringLiteral("beta"));
    EXPECT_EQ(c->Perform(CB_GETCURSEL, 0, 0), -1);
    c->SetItemIndex(1);
    EXPECT_EQ(c->Perform(CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(c->Perform(CB_GETLBTEXTLEN, 0, 0), 5);
    char16_t buffer[16] = {};
    EXPECT_EQ(c->Perform(CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 4);
    EXPECT_EQ(QString::fromUtf16(buffer), QStringLiteral("beta"));
    EXPECT_EQ(c->Perform(CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(buffer)), CB_ERR);
    EXPECT_EQ(c->Perform(CB_GETLBTEXT, WPARAM(-1), reinterpret_cast<LPARAM>(buffer)), CB_ERR);
}

} // namespace
