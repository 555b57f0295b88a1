// The replaceable message method, forms kept on top, translucent or shown without activation,
// the rich edit's raised and lowered characters and its size request, the balloon tool tip and
// the platform style query.
#include "platform/ComCtrls.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/PlatformStyle.h"
#include "platform/ToolTips.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class TSeenControl : public TCustomControl {
public:
    explicit TSeenControl(TComponent *AOwner) : TCustomControl(AOwner) {}
    std::vector<Cardinal> Seen;
    void WndProc(TMessage &Message) override
    {
        if (Message.Msg >= WM_USER && Message.Msg < WM_USER + 100)
            Seen.push_back(Message.Msg);
        TCustomControl::WndProc(Message);
    }
};

class PlatformPiecesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(10, 10, 300, 200);
    }
    std::unique_ptr<TForm> Form;
};

TEST_F(PlatformPiecesTest, AHookSeesEveryMessageFirstAndHandsOnWhatItDoesNotTake)
{
    auto *c = new TSeenControl(Form.get());
    c->SetParent(Form.get());
    Form->Show();
    std::vector<Cardinal> hooked;
    TControl::TWndMethod saved = c->WindowProc();
    c->SetWindowProc([&](TMessage &m) {
        if (m.Msg >= WM_USER && m.Msg < WM_USER + 100)
            hooked.push_back(m.Msg);
        if (m.Msg == WM_USER + 2) {
            m.Result = 7; // taken here
            return;
        }
        saved(m);
    });
    EXPECT_EQ(c->Perform(WM_USER + 1), 0);
    EXPECT_EQ(c->Perform(WM_USER + 2), 7);
    PostMessage(c->Handle(), WM_USER + 3, 0, 0);
    GuiTest::ProcessEvents();
    EXPECT_EQ(hooked, (std::vector<Cardinal>{WM_USER + 1, WM_USER + 2, WM_USER + 3}));
    EXPECT_EQ(c->Seen, (std::vector<Cardinal>{WM_USER + 1, WM_USER + 3}));
    c->SetWindowProc(saved);
    c->SetWindowProc(nullptr);
    c->Perform(WM_USER + 4);
    EXPECT_EQ(hooked.size(), 3u);
    EXPECT_EQ(c->Seen.back(), WM_USER + 4);
}

TEST_F(PlatformPiecesTest, FormsStayOnTopBlendAndShowWithoutActivation)
{
    Form->SetFormStyle(fsStayOnTop);
    Form->SetBorderStyle(bsNone);
    Form->SetAlphaBlend(true);
    Form->SetAlphaBlendValue(192);
    Form->ShowNoActivate();
    QWidget *w = Form->Widget();
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(w->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_NEAR(w->windowOpacity(), 192 / 255.0, 0.01);
    EXPECT_TRUE(Form->Visible());
    EXPECT_TRUE(Form->ShownWithoutActivation());
    Form->SetAlphaBlend(false);
    EXPECT_NEAR(w->windowOpacity(), 1.0, 0.01);
}

TEST_F(PlatformPiecesTest, RichEditKeepsTheOffsetOfTheSelection)
{
    TRichEdit e(nullptr);
    e.Lines()->SetText(QStringLiteral("H2O and x2"));
    struct Case { int Start, Len, Twips; };
    for (const Case &k : {Case{1, 1, -40}, Case{9, 1, 40}, Case{0, 1, 0}, Case{4, 3, 25}}) {
        e.SetSelStart(k.Start);
        e.SetSelLength(k.Len);
        EXPECT_EQ(e.SelStart(), k.Start);
        EXPECT_EQ(e.SelLength(), k.Len);
        e.SetSelOffset(k.Twips);
        e.SetSelStart(0);
        e.SetSelStart(k.Start);
        e.SetSelLength(k.Len);
        EXPECT_EQ(e.SelOffset(), k.Twips) << k.Start;
    }
    e.SelectAll();
    EXPECT_EQ(e.SelLength(), 10);
}

TEST_F(PlatformPiecesTest, RichEditAsksForTheHeightItsTextNeeds)
{
    auto *e = new TRichEdit(Form.get());
    e->SetParent(Form.get());
    e->SetBounds(0, 0, 120, 20);
    e->SetBorderStyle(bsNone);
    e->SetHideSelection(false);
    std::vector<TRect> asked;
    e->OnResizeRequest = [&](TObject *, const TRect &R) { asked.push_back(R); };
    e->Lines()->SetText(QStringLiteral("one"));
    ASSERT_FALSE(asked.empty());
    const int oneLine = asked.back().Height();
    e->Lines()->SetText(QStringLiteral("one\ntwo\nthree"));
    EXPECT_GT(asked.back().Height(), 2 * oneLine);
    EXPECT_EQ(asked.back().Width(), 120);
}

// Answers the tool tip's text request as a window does.
class TTipOwner : public TCustomControl {
public:
    explicit TTipOwner(TComponent *AOwner) : TCustomControl(AOwner) {}
    UnicodeString Text = QStringLiteral("cell text");
    int Asked = 0;
    void WndProc(TMessage &Message) override
    {
        if (Message.Msg == WM_NOTIFY) {
            auto *info = reinterpret_cast<NMTTDISPINFOW *>(Message.LParam);
            if (info->hdr.code == TTN_GETDISPINFOW) {
                ++Asked;
                info->lpszText = reinterpret_cast<const char16_t *>(Text.utf16());
                return;
            }
        }
        TCustomControl::WndProc(Message);
    }
};

TEST_F(PlatformPiecesTest, ToolTipAsksItsToolAndIsATopmostPopUp)
{
    auto *owner = new TTipOwner(Form.get());
    owner->SetParent(Form.get());
    owner->SetBounds(0, 0, 100, 100);
    Form->Show();
    const int before = TToolTipWindow::LiveCount();
    {
        TToolTipWindow tip(nullptr);
        EXPECT_EQ(TToolTipWindow::LiveCount(), before + 1);
        tip.AddTool(owner);
        tip.SetTitle(QStringLiteral("ToolTipText"), 7);
        EXPECT_EQ(tip.TitleIcon(), TTI_NONE);
        tip.SetTitle(QStringLiteral("ToolTipText"), TTI_ERROR);
        EXPECT_EQ(tip.DelayTime(TTDT_INITIAL), -1);
        tip.SetDelayTime(TTDT_INITIAL, 100);
        EXPECT_EQ(tip.DelayTime(TTDT_INITIAL), 100);
        ASSERT_TRUE(tip.Popup({50, 50}));
        EXPECT_EQ(owner->Asked, 1);
        EXPECT_EQ(tip.TipText(), QStringLiteral("cell text"));
        EXPECT_TRUE(tip.Visible());
        EXPECT_TRUE(GetWindowLong(tip.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(tip.Widget()->testAttribute(Qt::WA_ShowWithoutActivating));
        SendMessage(tip.Handle(), TTM_POP, 0, 0);
        EXPECT_FALSE(tip.TipShowing());
        owner->Text.clear();
        EXPECT_FALSE(tip.Popup({50, 50}));
    }
    EXPECT_EQ(TToolTipWindow::LiveCount(), before);
}

TEST_F(PlatformPiecesTest, NoPlatformStyleUntilOneIsSet)
{
    EXPECT_FALSE(ActivePlatformStyle().Enabled);
    TPlatformStyle s;
    s.Enabled = true;
    s.Name = QStringLiteral("Carbon");
    SetActivePlatformStyle(s);
    EXPECT_EQ(ActivePlatformStyle().Name, QStringLiteral("Carbon"));
    SetActivePlatformStyle({});
    EXPECT_FALSE(ActivePlatformStyle().Enabled);
}

} // namespace
