// The graphic button on a form: clicks by mouse, Space, Enter, accelerator and dialog keys, the
// modal result, hover and the slow fade with its worker thread, properties that reset the kind,
// colour presets, and the faces it paints in each state.
#include "controls/LbButton.h"
#include "platform/ActnList.h"
#include "platform/ImgList.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

// The window system's tool-tip request is a Qt event; the test plays the window system.
#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr TColor FormColor = 15595512; // 0xEDF7F8
constexpr TColor Pressed = 33023;      // 0x0080FF

// A control that takes the focus but is no button, as an edit is for the dialog keys.
class TPlainControl : public TCustomControl {
public:
    explicit TPlainControl(TComponent *AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
};

// A dialog as the configurator builds them: OK and Cancel graphic buttons in the forms' colours.
class TButtonForm : public TForm {
public:
    explicit TButtonForm(TComponent *AOwner) : TForm(AOwner)
    {
        SetName(QStringLiteral("ButtonForm"));
        SetBorderStyle(bsDialog);
        SetColor(FormColor);
        SetClientSize(300, 120);
        Plain = new TPlainControl(this);
        Plain->SetParent(this);
        Plain->SetBounds(10, 80, 60, 20);
        Ok = MakeButton(QStringLiteral("Btn_OK"), 10);
        CancelBtn = MakeButton(QStringLiteral("Btn_Cancel"), 130);
        CancelBtn->SetModalResult(mrCancel);
    }

    TLbButton *MakeButton(const UnicodeString &Name, int Left)
    {
        auto *b = new TLbButton(this);
        b->SetName(Name);
        b->SetParent(this);
        b->SetBounds(Left, 10, 110, 28);
        b->SetStyle(bsEncarta);
        b->SetColor(FormColor);
        b->SetLightColor(clGray);
        b->SetHotTrackColor(clYellow);
        b->SetColorWhenDown(Pressed);
        b->SetCaption(Name.mid(4));
        return b;
    }

    TPlainControl *Plain;
    TLbButton *Ok;
    TLbButton *CancelBtn;
};

class LbButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form.reset(NewForm<TButtonForm>(nullptr));
        Form->Ok->OnClick = [this](TObject *) { ++OkClicks; };
        Form->CancelBtn->OnClick = [this](TObject *) { ++CancelClicks; };
    }
    void TearDown() override
    {
        if (Form && Form->Visible())
            Form->Hide();
        Form.reset();
    }
    void ShowForm()
    {
        Form->Show();
        GuiTest::ProcessEvents();
    }
    // The colour at the middle of the button's upper band, clear of caption and focus frame.
    TColorRef FaceColor(TLbButton *b)
    {
        GuiTest::ProcessEvents();
        return GuiTest::PixelAt(b, b->Width() / 2, 2);
    }

    std::unique_ptr<TButtonForm> Form;
    int OkClicks = 0;
    int CancelClicks = 0;
};

} // namespace

TEST_F(LbButtonTest, ConstructorDefaults)
{
    auto *b = new TLbButton(Form.get());
    EXPECT_EQ(b->Width(), 100);
    EXPECT_EQ(b->Height(), 23);
    EXPECT_EQ(b->Color(), clBtnFace);
    EXPECT_EQ(b->LightColor(), 0xFFFFFF);
    EXPECT_EQ(b->ShadowColor(), 0x808080);
    EXPECT_EQ(b->ColorWhenDown(), clNone);
    EXPECT_EQ(b->HotTrackColor(), clNone);
    EXPECT_EQ(b->Style(), bsNormal);
    EXPECT_EQ(b->Kind(), bkCustom);
    EXPECT_EQ(b->Alignment(), taCenter);
    EXPECT_EQ(b->Layout(), blGlyphLeft);
    EXPECT_EQ(b->NumGlyphs(), 0);
    EXPECT_TRUE(b->TabStop());
    EXPECT_FALSE(b->Flat() || b->WordWrap() || b->SlowDecease() || b->Default() || b->Cancel() ||
                 b->UseHotTrackFont());
    EXPECT_EQ(b->ControlStyle(), (TControlStyle{csCaptureMouse, csSetCaption}));
    // The hot-track font starts as a copy of the owning form's font.
    EXPECT_EQ(b->HotTrackFont()->Name(), Form->Font()->Name());
}

TEST_F(LbButtonTest, MouseClickInsideFiresOnClickOnce)
{
    ShowForm();
    GuiTest::Click(Form->Ok);
    EXPECT_EQ(OkClicks, 1);
    EXPECT_EQ(CancelClicks, 0);
    EXPECT_TRUE(Form->Ok->Focused()) << "a press takes the focus";

    // Only the left button presses it.
    GuiTest::Click(Form->Ok, {20, 10}, mbRight);
    EXPECT_EQ(OkClicks, 1);
}

TEST_F(LbButtonTest, ReleasingOutsideTakesThePressBack)
{
    ShowForm();
    GuiTest::MouseDown(Form->Ok, {20, 10});
    EXPECT_EQ(FaceColor(Form->Ok), ColorToRGB(Pressed));
    GuiTest::MouseUp(Form->Ok, {200, 10});
    EXPECT_EQ(OkClicks, 0);
    EXPECT_NE(FaceColor(Form->Ok), ColorToRGB(Pressed)) << "the face comes back up";

    // Released inside again after that, a new press clicks as usual.
    GuiTest::Click(Form->Ok);
    EXPECT_EQ(OkClicks, 1);
}

TEST_F(LbButtonTest, SpaceAndEnterOnTheFocusedButtonClickOnce)
{
    // Another button is the default one: Enter still belongs to the focused button alone.
    Form->CancelBtn->SetDefault(true);
    ShowForm();
    Form->Ok->SetFocus();
    ASSERT_TRUE(Form->Ok->Focused());

    GuiTest::KeyDown(Form->Ok, VK_SPACE);
    EXPECT_EQ(OkClicks, 0) << "the click comes with the key's release";
    EXPECT_EQ(FaceColor(Form->Ok), ColorToRGB(Pressed));
    GuiTest::KeyUp(Form->Ok, VK_SPACE);
    EXPECT_EQ(OkClicks, 1);

    GuiTest::PressKey(Form->Ok, VK_RETURN);
    EXPECT_EQ(OkClicks, 2);
    EXPECT_EQ(CancelClicks, 0);
}

// A key released on the button without its press there, as when Enter in a dialog's edit closes
// the dialog and the release reaches the button that opened it, must not click it again.
TEST_F(LbButtonTest, AKeyReleaseWithoutItsPressDoesNotClick)
{
    ShowForm();
    Form->Ok->SetFocus();
    for (Word key : {VK_RETURN, VK_SPACE}) {
        GuiTest::KeyUp(Form->Ok, key);
        EXPECT_EQ(OkClicks, 0) << key;
    }
    // A press elsewhere that ends on the button does not click it either.
    Form->Plain->SetFocus();
    GuiTest::KeyDown(Form->Plain, VK_SPACE);
    Form->Ok->SetFocus();
    GuiTest::KeyUp(Form->Ok, VK_SPACE);
    EXPECT_EQ(OkClicks, 0);
    // The button's own key press still clicks once.
    GuiTest::PressKey(Form->Ok, VK_SPACE);
    EXPECT_EQ(OkClicks, 1);
}

TEST_F(LbButtonTest, DisabledOrHiddenButtonDoesNotClick)
{
    ShowForm();
    Form->Ok->SetEnabled(false);
    GuiTest::Click(Form->Ok);
    Form->Ok->Click();
    EXPECT_EQ(OkClicks, 0);
    Form->Ok->SetEnabled(true);
    Form->Ok->Hide();
    Form->Ok->Click();
    EXPECT_EQ(OkClicks, 0);
    Form->Ok->Show();
    Form->Ok->Click();
    EXPECT_EQ(OkClicks, 1);
}

TEST_F(LbButtonTest, DefaultAndCancelTakeEnterAndEscapeWhenNoButtonHasTheFocus)
{
    Form->Ok->SetDefault(true);
    Form->CancelBtn->SetCancel(true);
    ShowForm();
    Form->Plain->SetFocus();
    ASSERT_TRUE(Form->Plain->Focused());
    GuiTest::PressKey(Form->Plain, VK_RETURN);
    EXPECT_EQ(OkClicks, 1);
    GuiTest::PressKey(Form->Plain, VK_ESCAPE);
    EXPECT_EQ(CancelClicks, 1);
    EXPECT_EQ(Form->ModalResult(), mrCancel);
}

TEST_F(LbButtonTest, AcceleratorOfTheCaptionClicks)
{
    Form->Ok->SetCaption(QStringLiteral("&Apply"));
    ShowForm();
    Form->Plain->SetFocus();
    GuiTest::PressKey(Form->Plain, 'A');
    EXPECT_EQ(OkClicks, 1);
    GuiTest::PressKey(Form->Plain, 'P');
    EXPECT_EQ(OkClicks, 1);
}

TEST_F(LbButtonTest, ModalResultClosesTheModalForm)
{
    GuiTest::TScriptedModalHook hook;
    hook.RunWith([&](TModalRequest &) { GuiTest::Click(Form->CancelBtn); });
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_EQ(CancelClicks, 1);

    Form->Ok->SetKind(bkOK);
    hook.RunWith([&](TModalRequest &) {
        Form->Ok->SetFocus();
        GuiTest::PressKey(Form->Ok, VK_SPACE);
    });
    EXPECT_EQ(Form->ShowModal(), mrOk);
    EXPECT_EQ(OkClicks, 1);

    // Without a modal result the click leaves the form open.
    Form->Ok->SetModalResult(mrNone);
    hook.RunWith([&](TModalRequest &) {
        GuiTest::Click(Form->Ok);
        EXPECT_EQ(Form->ModalResult(), mrNone);
        EXPECT_TRUE(Form->Visible());
        Form->SetModalResult(mrAbort);
    });
    EXPECT_EQ(Form->ShowModal(), mrAbort);
    EXPECT_EQ(OkClicks, 2);
}

TEST_F(LbButtonTest, ButtonWithoutFormClicksWithoutAResult)
{
    TLbButton loose(nullptr);
    int clicks = 0;
    loose.OnClick = [&](TObject *) { ++clicks; };
    loose.SetModalResult(mrOk);
    loose.Click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(LbButtonTest, PopupMenuOpensUnderTheButtonAfterTheClick)
{
    auto *menu = new TPopupMenu(Form.get());
    menu->SetName(QStringLiteral("PM_Steps"));
    auto *item = new TMenuItem(menu);
    item->SetCaption(QStringLiteral("First"));
    menu->Items()->Add(item);
    int popups = 0;
    menu->OnPopup = [&](TObject *) { EXPECT_EQ(OkClicks, 1) << "after OnClick"; ++popups; };
    // Set as any control's menu: the button has no menu of its own beside it.
    static_cast<TControl *>(Form->Ok)->SetPopupMenu(menu);
    ShowForm();

    // The face carries the drop-down arrow at the right.
    const int w = Form->Ok->Width(), h = Form->Ok->Height();
    EXPECT_EQ(GuiTest::PixelAt(Form->Ok, w - 11, h / 2 - 1), 0u);
    EXPECT_EQ(GuiTest::PixelAt(Form->Ok, w - 9, h / 2 + 1), 0u);

    GuiTest::TScriptedModalHook hook;
    hook.Answer(mrCancel);
    GuiTest::Click(Form->Ok);
    EXPECT_EQ(popups, 1);
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(hook.Shown[0].Name, QStringLiteral("PM_Steps"));
    EXPECT_EQ(menu->PopupComponent(), Form->Ok);

    // A freed menu is forgotten.
    delete menu;
    EXPECT_EQ(Form->Ok->PopupMenu(), nullptr);
    GuiTest::Click(Form->Ok);
    EXPECT_EQ(OkClicks, 2);
    EXPECT_EQ(hook.Shown.size(), 1u);
}

TEST_F(LbButtonTest, AClickRunsTheAssignedActionAfterTheButtonsOwnClick)
{
    std::vector<QString> order;
    auto *act = new TCustomAction(Form.get());
    act->OnExecute = [&](TObject *) { order.push_back(QStringLiteral("action")); };
    Form->CancelBtn->OnClick = nullptr;
    Form->CancelBtn->SetModalResult(mrNone);
    Form->CancelBtn->SetAction(act);
    Form->Ok->SetAction(act);
    Form->Ok->OnClick = [&](TObject *) { order.push_back(QStringLiteral("click")); };
    ShowForm();

    GuiTest::Click(Form->CancelBtn);
    EXPECT_EQ(order, std::vector<QString>({"action"}));
    order.clear();
    GuiTest::Click(Form->Ok);
    EXPECT_EQ(order, std::vector<QString>({"click", "action"}));
}

TEST_F(LbButtonTest, AnActionsPictureBecomesTheGlyphOfAButtonWithoutOne)
{
    auto *images = new TImageList(Form.get());
    images->SetWidth(8);
    images->SetHeight(8);
    for (TColor c : {clRed, clBlue}) {
        TBitmap pic(8, 8);
        pic.Canvas()->Brush()->SetColor(c);
        pic.Canvas()->FillRect(Rect(0, 0, 8, 8));
        images->Add(&pic, nullptr);
    }
    auto *list = new TActionList(Form.get());
    list->SetImages(images);
    auto *act = new TCustomAction(Form.get());
    act->SetActionList(list);

    struct Case {
        int ImageIndex;
        bool HasGlyph;
        int WantWidth;
    } cases[] = {{1, false, 8}, {2, false, 0}, {-1, false, 0}, {1, true, 4}};
    for (const Case &c : cases) {
        TLbButton *b = Form->MakeButton(QStringLiteral("Btn_Pic"), 10);
        if (c.HasGlyph) {
            TBitmap own(4, 4);
            b->SetGlyph(&own);
        }
        act->SetImageIndex(c.ImageIndex);
        b->SetAction(act);
        EXPECT_EQ(b->Glyph()->Width(), c.WantWidth) << c.ImageIndex;
        if (c.WantWidth == 8) {
            EXPECT_EQ(b->Glyph()->Height(), 8);
            EXPECT_EQ(b->NumGlyphs(), 1);
            EXPECT_EQ(b->Glyph()->Canvas()->Pixels(3, 3), clBlue);
        }
        delete b;
    }
}

TEST_F(LbButtonTest, KindsSetResultGlyphAndCaptionAndGlyphOrResultResetTheKind)
{
    TLbButton *b = Form->Ok;
    b->SetKind(bkClose);
    EXPECT_EQ(b->Kind(), bkClose);
    EXPECT_EQ(b->ModalResult(), mrNone);
    EXPECT_EQ(b->Caption(), QStringLiteral("Schlie\u00DFen"));
    EXPECT_EQ(b->NumGlyphs(), 2);
    EXPECT_EQ(b->Glyph()->Width(), 36);

    b->SetKind(bkAll);
    EXPECT_EQ(b->ModalResult(), mrAll);
    EXPECT_EQ(b->Glyph()->Height(), 19);
    b->SetModalResult(mrYes);
    EXPECT_EQ(b->Kind(), bkCustom);

    b->SetKind(bkCancel);
    EXPECT_EQ(b->ModalResult(), mrCancel);
    TBitmap strip(60, 20);
    b->SetGlyph(&strip);
    EXPECT_EQ(b->Kind(), bkCustom);
    EXPECT_EQ(b->NumGlyphs(), 3);
    EXPECT_EQ(b->ModalResult(), mrCancel) << "the kind's result stays";
    EXPECT_EQ(b->Caption(), QStringLiteral("Abbrechen"));

    b->SetKind(bkYes);
    b->SetGlyph(nullptr);
    EXPECT_EQ(b->Kind(), bkCustom);
    EXPECT_EQ(b->NumGlyphs(), 0);
    EXPECT_EQ(b->Glyph()->Height(), 0);

    b->SetKind(bkOK);
    b->SetKind(bkCustom);
    EXPECT_EQ(b->ModalResult(), mrOk) << "a custom kind changes nothing else";
    EXPECT_EQ(b->Caption(), QStringLiteral("OK"));
}

TEST_F(LbButtonTest, ColourPresetsApplyButReadBackCustom)
{
    TLbButton *b = Form->Ok;
    b->SetColorStyle(lcsQuicken);
    EXPECT_EQ(b->ColorStyle(), lcsCustom);
    EXPECT_EQ(b->Color(), 0x603000);
    EXPECT_EQ(b->LightColor(), 0xC0C0C0);
    EXPECT_EQ(b->ShadowColor(), 0xC0C0C0);
    EXPECT_EQ(b->ColorWhenDown(), 0xAD6529);
    EXPECT_EQ(b->HotTrackColor(), 0xCEAE9C);
    EXPECT_EQ(b->Font()->Color(), 0xFFFFFF);
    EXPECT_EQ(b->Style(), bsQuicken);
    EXPECT_EQ(b->ExStyle(), 0u) << "a preset leaves the window's extended style";

    b->SetColorStyle(lcsUltraFlat2);
    EXPECT_EQ(b->ColorStyle(), lcsCustom);
    EXPECT_TRUE(b->Flat());
    EXPECT_EQ(b->Font()->Color(), clBlack);
    EXPECT_EQ(b->Style(), bsNormal);
    EXPECT_EQ(b->ColorWhenDown(), 0x24DABC);

    b->SetColorStyle(lcsCustom);
    EXPECT_EQ(b->ColorWhenDown(), 0x24DABC) << "lcsCustom changes nothing";

    b->SetStyle(bsShape);
    EXPECT_EQ(b->ExStyle(), 0x20u);
    b->SetStyle(bsOld);
    EXPECT_EQ(b->ExStyle(), 0u);
}

TEST_F(LbButtonTest, HoverLightsTheButtonAndLeavingPutsItBack)
{
    ShowForm();
    int enters = 0, exits = 0;
    Form->CancelBtn->OnMouseEnter = [&](TObject *) { ++enters; };
    Form->CancelBtn->OnMouseExit = [&](TObject *) { ++exits; };
    EXPECT_EQ(FaceColor(Form->CancelBtn), ColorToRGB(FormColor));

    GuiTest::MouseMove(Form->CancelBtn, {30, 10});
    EXPECT_EQ(Form->CancelBtn->HotTrackStep(), 8);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(FaceColor(Form->CancelBtn), ColorToRGB(clYellow));

    GuiTest::LeaveWindow(Form->CancelBtn);
    EXPECT_EQ(Form->CancelBtn->HotTrackStep(), 0);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(FaceColor(Form->CancelBtn), ColorToRGB(FormColor));

    // A disabled button does not light up.
    Form->CancelBtn->SetEnabled(false);
    GuiTest::MouseMove(Form->CancelBtn, {30, 10});
    EXPECT_EQ(Form->CancelBtn->HotTrackStep(), 0);
    EXPECT_EQ(enters, 1);
}

TEST_F(LbButtonTest, HotTrackFontDrawsTheCaptionWhileHot)
{
    TLbButton *b = Form->CancelBtn;
    TFont hot;
    hot.Assign(b->Font());
    hot.SetColor(clRed);
    b->SetHotTrackFont(&hot);
    b->SetUseHotTrackFont(true);
    ShowForm();
    auto redPixels = [&] {
        GuiTest::ProcessEvents();
        int n = 0;
        // The caption's middle rows are enough to see its colour.
        for (int y = b->Height() / 2 - 2; y <= b->Height() / 2 + 2; ++y)
            for (int x = 0; x < b->Width(); ++x)
                n += GuiTest::PixelAt(b, x, y) == ColorToRGB(clRed) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(redPixels(), 0);
    GuiTest::MouseMove(b, {30, 10});
    EXPECT_GT(redPixels(), 0);
    b->SetUseHotTrackFont(false);
    b->Invalidate();
    EXPECT_EQ(redPixels(), 0);
}

TEST_F(LbButtonTest, FocusMakesTheButtonHotAndFramesIt)
{
    ShowForm();
    Form->Plain->SetFocus();
    GuiTest::ProcessEvents();
    EXPECT_EQ(FaceColor(Form->Ok), ColorToRGB(FormColor));
    Form->Ok->SetFocus();
    GuiTest::ProcessEvents();
    // Focus alone does not blend the fill (the hover step stays 0), but it frames the face.
    EXPECT_EQ(Form->Ok->HotTrackStep(), 0);
    bool dotted = false;
    for (int x = 4; x < Form->Ok->Width() - 4; ++x)
        dotted = dotted || GuiTest::PixelAt(Form->Ok, x, 4) != ColorToRGB(FormColor);
    EXPECT_TRUE(dotted) << "focus rectangle at (4, 4)";
}

TEST_F(LbButtonTest, SlowFadeStepsDownOnTheWorkerThenRestsSuspended)
{
    ShowForm();
    TLbButton *b = Form->CancelBtn;
    b->SetSlowDecease(true);
    GuiTest::MouseMove(b, {30, 10});
    ASSERT_EQ(b->HotTrackStep(), 8);
    GuiTest::LeaveWindow(b);
    EXPECT_EQ(b->HotTrackStep(), 8) << "the fade runs on the worker's ticks";
    int lowestSeen = 8;
    bool intermediate = false;
    ASSERT_TRUE(GuiTest::WaitUntil([&] {
        const int s = b->HotTrackStep();
        intermediate = intermediate || (s > 0 && s < 8);
        lowestSeen = std::min(lowestSeen, s);
        return s == 0;
    }));
    EXPECT_TRUE(intermediate);
    EXPECT_EQ(FaceColor(b), ColorToRGB(FormColor));

    // A second fade runs after the worker suspended itself.
    GuiTest::MouseMove(b, {30, 10});
    GuiTest::LeaveWindow(b);
    EXPECT_TRUE(GuiTest::WaitUntil([&] { return b->HotTrackStep() == 0; }));

    // Switching the fade off ends the worker and puts the face back at once.
    GuiTest::MouseMove(b, {30, 10});
    GuiTest::LeaveWindow(b);
    b->SetSlowDecease(false);
    EXPECT_EQ(b->HotTrackStep(), 0);
    GuiTest::ProcessEvents(80);
    EXPECT_EQ(b->HotTrackStep(), 0);
    b->SetSlowDecease(true);
    GuiTest::MouseMove(b, {30, 10});
    GuiTest::LeaveWindow(b);
    EXPECT_TRUE(GuiTest::WaitUntil([&] { return b->HotTrackStep() == 0; })) << "a new worker after switching back on";
}

TEST_F(LbButtonTest, DestroyedWhileItsWorkerWaitsForTheUserInterfaceThread)
{
    ShowForm();
    for (int round = 0; round < 3; ++round) {
        auto *b = Form->MakeButton(QStringLiteral("Btn_Fade") + QString::number(round), 10);
        b->SetSlowDecease(true);
        GuiTest::MouseMove(b, {30, 10});
        GuiTest::LeaveWindow(b);
        // Keep the user-interface thread busy: the worker ticks and then waits in its hand-off.
        std::this_thread::sleep_for(std::chrono::milliseconds(40 + 30 * round));
        delete b; // must neither block nor run a tick on the freed button
    }
    GuiTest::ProcessEvents(50);

    // Never resumed, a worker ends with its button as well.
    auto *idle = Form->MakeButton(QStringLiteral("Btn_Idle"), 10);
    idle->SetSlowDecease(true);
    delete idle;
}

TEST_F(LbButtonTest, FacesOfTheStatesOnTheForm)
{
    ShowForm();
    TLbButton *b = Form->Ok;
    const int w = b->Width(), h = b->Height();
    // Normal: the form colour with the grey light edge and the shadow edge of bsEncarta.
    EXPECT_EQ(GuiTest::PixelAt(b, w / 2, 2), ColorToRGB(FormColor));
    EXPECT_EQ(GuiTest::PixelAt(b, w / 2, 0), ColorToRGB(clGray));
    EXPECT_EQ(GuiTest::PixelAt(b, w / 2, h - 1), ColorToRGB(0x808080));
    auto captionIsBlack = [&] {
        for (int y = h / 2 - 2; y <= h / 2 + 2; ++y)
            for (int x = 0; x < w; ++x)
                if (GuiTest::PixelAt(b, x, y) == 0)
                    return true;
        return false;
    };
    EXPECT_TRUE(captionIsBlack());
    // Disabled: no hover colour, and the caption in grey.
    b->SetEnabled(false);
    GuiTest::MouseMove(b, {30, 10});
    GuiTest::ProcessEvents();
    EXPECT_EQ(GuiTest::PixelAt(b, w / 2, 2), ColorToRGB(FormColor));
    EXPECT_FALSE(captionIsBlack());
}

TEST_F(LbButtonTest, OldStyleWithTheFocusGetsABlackRingAndModernCornersShowTheForm)
{
    Form->SetColor(0x336699);
    Form->Ok->SetStyle(bsOld);
    Form->Ok->SetLightColor(clWhite);
    Form->CancelBtn->SetStyle(bsModern);
    ShowForm();
    TLbButton *b = Form->Ok;
    const int w = b->Width(), h = b->Height();
    EXPECT_EQ(GuiTest::PixelAt(b, 0, 0), ColorToRGB(clWhite)) << "unfocused: the face's own edge";
    b->SetFocus();
    GuiTest::ProcessEvents();
    for (TPoint p : {Point(0, 0), Point(w - 1, 0), Point(0, h - 1), Point(w - 1, h - 1), Point(w / 2, 0)})
        EXPECT_EQ(GuiTest::PixelAt(b, p.X, p.Y), 0u) << p.X << "," << p.Y;
    // The face itself moved in by one pixel: its light edge is now the second ring.
    EXPECT_EQ(GuiTest::PixelAt(b, 1, h / 2), ColorToRGB(clWhite));

    // The rounded outline of bsModern leaves its corner to the parent.
    EXPECT_EQ(GuiTest::PixelAt(Form->CancelBtn, 0, 0), ColorToRGB(0x336699));
    EXPECT_EQ(GuiTest::PixelAt(Form->CancelBtn, Form->CancelBtn->Width() / 2, 0), ColorToRGB(0x808080));
}

TEST_F(LbButtonTest, HintShowsOverTheButton)
{
    // The header buttons: a glyph, no caption and a hint.
    TLbButton *info = Form->MakeButton(QStringLiteral("Btn_Info"), 240);
    info->SetBounds(240, 10, 50, 50);
    info->SetCaption(QString());
    info->SetHint(QStringLiteral("Information"));
    info->SetShowHint(true);
    ShowForm();
    const int pause = Application->HintPause();
    Application->SetHintPause(20);
    GuiTest::TShownHint h = GuiTest::RestPointer(info, {25, 25});
    EXPECT_TRUE(h.Visible);
    EXPECT_EQ(h.Text, QStringLiteral("Information"));
    GuiTest::ResetHints();

    // Without ShowHint nothing shows.
    Form->Ok->SetHint(QStringLiteral("Confirm"));
    h = GuiTest::RestPointer(Form->Ok, {5, 5});
    EXPECT_FALSE(h.Visible && h.Text == QStringLiteral("Confirm"));
    GuiTest::ResetHints();
    Application->SetHintPause(pause);
}

TEST_F(LbButtonTest, PictureOfEveryStyle)
{
    // A row of buttons per style in their states, kept in the build folder for a person to look at.
    TForm *f = NewForm<TForm>(nullptr);
    std::unique_ptr<TForm> keep(f);
    f->SetColor(FormColor);
    f->SetClientSize(6 * 120 + 10, 7 * 44 + 10);
    const TLbButtonStyle styles[] = {bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken};
    TBitmap info;
    LoadLbResourceBitmap(&info, QStringLiteral("BTN_INFO"));
    TBitmap opz;
    LoadLbResourceBitmap(&opz, QStringLiteral("BTN_OPZ"));
    TBitmap close;
    LoadLbResourceBitmap(&close, QStringLiteral("BTN_CLOSE"));
    for (int row = 0; row < 6; ++row) {
        for (int col = 0; col < 5; ++col) {
            auto *b = new TLbButton(f);
            b->SetParent(f);
            b->SetBounds(10 + col * 120, 10 + row * 44, 110, 36);
            b->SetColor(FormColor);
            b->SetHotTrackColor(row == 1 ? clSkyBlue : clYellow);
            b->SetColorWhenDown(Pressed);
            b->SetLightColor(clGray);
            if (row == 2 || row == 5)
                b->SetColorStyle(row == 2 ? lcsGold : lcsQuicken);
            b->SetStyle(styles[row]);
            b->SetAlignment(col == 0 ? taLeftJustify : taCenter);
            b->SetCaption(QStringLiteral("Create new configuration"));
            if (col == 4) {
                b->SetKind(bkOK);
            } else {
                b->SetGlyph(col == 1 ? &info : col == 2 ? &opz : &close);
            }
            if (col == 2)
                b->SetEnabled(false);
            if (col == 3)
                b->SetFocus();
        }
    }
    for (int i = 0; i < 3; ++i) {
        auto *h = new TLbButton(f);
        h->SetParent(f);
        h->SetBounds(10 + i * 58, 10 + 6 * 44, 50, 50);
        h->SetColor(FormColor);
        h->SetHotTrackColor(clYellow);
        h->SetGlyph(i == 0 ? &info : i == 1 ? &opz : &close);
        h->SetNumGlyphs(1);
    }
    // The stock kinds, enabled and disabled.
    const TLbButtonKind kinds[] = {bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll};
    for (int i = 0; i < 10; ++i)
        for (int row = 0; row < 2; ++row) {
            auto *k = new TLbButton(f);
            k->SetParent(f);
            k->SetBounds(200 + (i % 5) * 106, 10 + 6 * 44 + (i / 5) * 30 + row * 60, 100, 26);
            k->SetColor(FormColor);
            k->SetKind(kinds[i]);
            k->SetEnabled(row == 0);
        }
    f->SetClientSize(6 * 120 + 10, 6 * 44 + 130);
    f->Show();
    GuiTest::ProcessEvents();
    const UnicodeString file = GuiTest::ArtefactDir() + QStringLiteral("/lbbutton_styles.png");
    EXPECT_TRUE(GuiTest::SaveWindowPng(f, file));
    f->Hide();
}
