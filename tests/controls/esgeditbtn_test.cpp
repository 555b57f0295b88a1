// The edits with a button and with a unit, driven as a user drives them: F4 and the button, the
// editor switched off, the text kept clear of the button, the unit chosen from the menu and
// drawn beside the button; and the faces of the button part in pixels.
#include "controls/EsgEditBtn.h"
#include "controls/ExtXPVS.h"
#include "platform/Forms.h"
#include "platform/UxTheme.h"
#include "platform/WinGdi.h"
#include "support/GuiTest.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class EsgEditBtnTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(10, 10, 320, 200);
        Form->SetColor(clWhite);
    }
    template <class T>
    T *Make(int Left, int Top, int Width = 150, int Height = 24)
    {
        auto *c = new T(Form.get());
        c->SetParent(Form.get());
        c->SetBounds(Left, Top, Width, Height);
        return c;
    }
    void ShowForm()
    {
        Form->Show();
        GuiTest::ProcessEvents();
    }
    std::unique_ptr<TForm> Form;
};

TColorRef Rgb(TColor C) { return ColorToRGB(C); }

} // namespace

TEST_F(EsgEditBtnTest, F4AndTheButtonFireOnClickBtnWithTheirSender)
{
    auto *e = Make<TEsgEditBtn>(10, 10);
    auto *other = Make<TEdit>(10, 60);
    std::vector<TObject *> senders;
    e->OnClickBtn = [&](TObject *Sender) { senders.push_back(Sender); };
    ShowForm();
    EXPECT_EQ(e->Text(), QStringLiteral("0")) << "a new edit shows 0";

    e->SetFocus();
    GuiTest::PressKey(e, VK_F4);
    ASSERT_EQ(senders.size(), 1u);
    EXPECT_EQ(senders[0], e) << "F4: the edit";
    GuiTest::PressKey(e, VK_F4, {ssAlt});
    GuiTest::PressKey(e, VK_F4, {ssCtrl});
    EXPECT_EQ(senders.size(), 1u) << "Alt+F4 and Ctrl+F4 are not the button's";

    other->SetFocus();
    GuiTest::ProcessEvents();
    GuiTest::Click(e->ButtonPart()->Button());
    ASSERT_EQ(senders.size(), 2u);
    EXPECT_EQ(senders[1], e->ButtonPart()) << "a click: the button part";
    EXPECT_TRUE(e->Focused()) << "the click hands the focus to the edit";
}

TEST_F(EsgEditBtnTest, EditorSwitchedOffRefusesTypingPasteAndCutButKeepsTheButton)
{
    auto *e = Make<TEsgEditBtn>(10, 10);
    int clicks = 0;
    e->OnClickBtn = [&](TObject *) { ++clicks; };
    ShowForm();
    e->SetFocus();
    e->SetText(QStringLiteral("12"));
    e->SetEditorEnabled(false);
    QGuiApplication::clipboard()->setText(QStringLiteral("99"));

    GuiTest::TypeText(e, QStringLiteral("34"));
    GuiTest::PressKey(e, VK_BACK);
    e->SelectAll();
    GuiTest::PressKey(e, 'V', {ssCtrl});
    e->SelectAll();
    GuiTest::PressKey(e, 'X', {ssCtrl});
    EXPECT_EQ(e->Text(), QStringLiteral("12"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("99")) << "nothing was cut";

    GuiTest::PressKey(e, VK_F4);
    GuiTest::Click(e->ButtonPart()->Button());
    EXPECT_EQ(clicks, 2);

    // A masked edit takes Backspace on key-down; switched off it keeps its text all the same.
    auto *masked = Make<TEsgEditBtn>(10, 60);
    masked->SetEditMask(QStringLiteral("99;0;_"));
    masked->SetText(QStringLiteral("12"));
    masked->SetEditorEnabled(false);
    masked->SetFocus();
    masked->SetSelStart(2);
    GuiTest::PressKey(masked, VK_BACK);
    GuiTest::TypeText(masked, QStringLiteral("3"));
    EXPECT_EQ(masked->Text(), QStringLiteral("12"));

    // Switched on again, the same keys edit.
    e->SetEditorEnabled(true);
    e->SelectAll();
    GuiTest::PressKey(e, 'V', {ssCtrl});
    EXPECT_EQ(e->Text(), QStringLiteral("99"));
    GuiTest::TypeText(e, QStringLiteral("1"));
    EXPECT_EQ(e->Text(), QStringLiteral("991"));
}

TEST_F(EsgEditBtnTest, TextStopsBeforeTheButtonAndTheUnitAndAShortEditGrows)
{
    auto *plain = Make<TEsgEditBtn>(10, 10);
    auto *unit = Make<TEsgUnitEditBtn>(10, 50);
    auto *borderless = Make<TEsgEditBtn>(10, 90);
    borderless->SetBorderStyle(bsNone);
    ShowForm();

    const int bw = plain->ButtonPart()->Width();
    EXPECT_EQ(bw, 18);
    EXPECT_EQ(plain->FormattingRect(), Rect(1, 1, plain->ClientWidth() - bw - 0 - 5, plain->ClientHeight() + 1));
    EXPECT_EQ(unit->FormattingRect().Right, unit->ClientWidth() - bw - 20 - 5 - 3) << "3 less with a unit";
    borderless->SetWidth(151);
    EXPECT_EQ(borderless->FormattingRect().Left, 3) << "3 from the edge without a border";
    EXPECT_EQ(borderless->FormattingRect().Right, 151 - bw - 5);

    // The button part sits at the right edge inside the border.
    EXPECT_EQ(plain->ButtonPart()->Left(), 150 - bw - 5);
    EXPECT_EQ(plain->ButtonPart()->Height(), plain->Height() - 5);
    plain->SetButtonWidth(24);
    plain->SetWidth(160);
    EXPECT_EQ(plain->ButtonPart()->Left(), 160 - 24 - 5);
    EXPECT_EQ(plain->FormattingRect().Right, 160 - 24 - 5);

    unit->SetUnitSpace(30);
    EXPECT_EQ(unit->FormattingRect().Right, unit->ClientWidth() - bw - 30 - 5 - 3);

    const int minHeight = plain->GetMinHeight();
    EXPECT_GT(minHeight, 8);
    plain->SetHeight(5);
    EXPECT_EQ(plain->Height(), minHeight);
    plain->Font()->SetHeight(-30);
    EXPECT_GT(plain->GetMinHeight(), minHeight) << "a larger font needs more";
}

TEST_F(EsgEditBtnTest, TextAndUnitSplitsAtTheFirstUnitThatEndsTheValue)
{
    struct Case {
        const char *Units;
        const char *Value;
        const char *Text;
        const char *Unit;
    } cases[] = {
        {"g,kg", "12kg", "12k", "g"},  // the list order decides
        {"kg,g", "12kg", "12", "kg"},
        {"m", "5 m/m", "7", "s"},      // m first occurs before the end: nothing changes
        {"g,kg", "12", "7", "s"},      // no unit matches
        {"g", "g", "", "g"},
        {"", "12kg", "7", "s"},
    };
    for (const Case &c : cases) {
        auto *e = Make<TEsgUnitEditBtn>(10, 10);
        e->Units()->SetCommaText(QString::fromUtf8(c.Units));
        e->SetText(QStringLiteral("7"));
        e->SetUnitID(QStringLiteral("s"));
        e->SetTextAndUnit(QString::fromUtf8(c.Value));
        EXPECT_EQ(e->Text(), QString::fromUtf8(c.Text)) << c.Units << " / " << c.Value;
        EXPECT_EQ(e->UnitID(), QString::fromUtf8(c.Unit)) << c.Units << " / " << c.Value;
        EXPECT_EQ(e->TextAndUnit(), e->Text() + e->UnitID());
        delete e;
    }
}

TEST_F(EsgEditBtnTest, UnitChosenFromTheMenuIsReportedOnceAndOnlyWhenItChanges)
{
    auto *e = Make<TEsgUnitEditBtn>(10, 10);
    e->Units()->Add(QStringLiteral("g"));
    e->Units()->Add(QStringLiteral("kg"));
    e->SetUnitID(QStringLiteral("g"));
    std::vector<UnicodeString> changes;
    int clicks = 0;
    e->OnUnitChanged = [&](TObject *Sender, const UnicodeString &NewUnit) {
        EXPECT_EQ(Sender, e);
        changes.push_back(NewUnit);
    };
    e->OnClickBtn = [&](TObject *Sender) {
        EXPECT_EQ(Sender, e) << "the unit edit names itself";
        ++clicks;
    };
    ShowForm();

    GuiTest::TScriptedModalHook hook;
    hook.Answer(mrOk, QStringLiteral("kg"));
    GuiTest::Click(e->ButtonPart()->Button());
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(hook.Shown[0].ClassName, QStringLiteral("TPopupMenu"));
    EXPECT_EQ(hook.Shown[0].Text, QStringLiteral("g\nkg")) << "one entry per unit, in order";
    EXPECT_EQ(e->UnitID(), QStringLiteral("kg"));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], QStringLiteral("kg"));

    hook.Answer(mrOk, QStringLiteral("kg"));
    GuiTest::Click(e->ButtonPart()->Button());
    EXPECT_EQ(changes.size(), 1u) << "the shown unit again: no report";

    hook.Answer(mrCancel);
    GuiTest::Click(e->ButtonPart()->Button());
    EXPECT_EQ(e->UnitID(), QStringLiteral("kg")) << "a closed menu chooses nothing";
    EXPECT_EQ(clicks, 3);

    // Commands that are not a unit's are not taken for one.
    e->Perform(WM_COMMAND, 3, 0);
    e->Perform(WM_COMMAND, MakeWParam(1, EN_CHANGE), 0);
    EXPECT_EQ(e->UnitID(), QStringLiteral("kg"));
}

TEST_F(EsgEditBtnTest, UnitTextIsDrawnInItsRectangleBesideTheButton)
{
    auto *e = Make<TEsgUnitEditBtn>(10, 10, 160, 24);
    e->SetText(QString());
    e->Font()->SetColor(clBlack);
    ShowForm();
    // The window rendered once per picture (PixelAt renders it for every pixel).
    auto picture = [&] {
        QImage img(e->Widget()->size(), QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        e->Widget()->render(&img);
        return img;
    };
    const QImage without = picture();
    e->SetUnitID(QStringLiteral("WW"));
    GuiTest::ProcessEvents();
    const QImage with = picture();

    const int bw = e->ButtonPart()->Width();
    const TRect unitRect(e->ClientWidth() - bw - 3 - 20, 2, e->ClientWidth() - bw - 3, e->ClientHeight());
    int changed = 0;
    for (int y = 0; y < e->Height(); ++y)
        for (int x = 0; x < e->Width(); ++x) {
            if (with.pixel(x, y) == without.pixel(x, y))
                continue;
            ++changed;
            EXPECT_TRUE(unitRect.Contains(TPoint{x, y})) << "unit pixel outside its rectangle at " << x << "," << y;
        }
    EXPECT_GT(changed, 10) << "the unit shows";
}

// ---- the button part's faces ----

namespace {

class ButtonFaceTest : public EsgEditBtnTest {
protected:
    TEsgEditButton *MakePart()
    {
        auto *p = Make<TEsgEditButton>(10, 10, 30, 30);
        return p;
    }
    TColorRef At(int X, int Y) { return GuiTest::PixelAt(Form.get(), 10 + X, 10 + Y); }
};

} // namespace

TEST_F(ButtonFaceTest, CustomColoursFollowTheStateAndDownWinsOverHot)
{
    TEsgEditButton *p = MakePart();
    p->SetButtonColor(clRed);
    p->SetButtonColorHot(clLime);
    p->SetButtonColorDown(clBlue);
    ShowForm();
    EXPECT_EQ(At(2, 2), Rgb(clRed));
    GuiTest::MouseMove(p->Button(), {15, 15});
    EXPECT_TRUE(p->Button()->Hot());
    EXPECT_EQ(At(2, 2), Rgb(clLime)) << "hot";
    GuiTest::MouseDown(p->Button(), {15, 15});
    EXPECT_EQ(At(2, 2), Rgb(clBlue)) << "down and hot: down";
    GuiTest::MouseUp(p->Button(), {15, 15});
    EXPECT_EQ(At(2, 2), Rgb(clLime));
    EXPECT_TRUE(p->Button()->Flat()) << "a coloured face is flat";
}

TEST_F(ButtonFaceTest, ClassicFrameAndFlatEdge)
{
    TEsgEditButton *p = MakePart();
    ShowForm();
    TBitmap raised(30, 30), pushed(30, 30);
    TRect r(0, 0, 30, 30);
    DrawFrameControl(raised.Canvas()->Handle(), r, DFC_BUTTON, DFCS_BUTTONPUSH);
    r = Rect(0, 0, 30, 30);
    DrawFrameControl(pushed.Canvas()->Handle(), r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_EQ(At(0, 0), ColorToRGB(raised.Canvas()->Pixels(0, 0)));
    EXPECT_EQ(At(29, 29), ColorToRGB(raised.Canvas()->Pixels(29, 29)));
    GuiTest::MouseDown(p->Button(), {15, 15});
    EXPECT_EQ(At(0, 0), ColorToRGB(pushed.Canvas()->Pixels(0, 0)));
    GuiTest::MouseUp(p->Button(), {15, 15});

    p->SetFlat(true);
    GuiTest::ProcessEvents();
    TBitmap edge(30, 30), sunk(30, 30);
    r = Rect(0, 0, 30, 30);
    DrawEdge(edge.Canvas()->Handle(), r, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    r = Rect(0, 0, 30, 30);
    DrawEdge(sunk.Canvas()->Handle(), r, BDR_SUNKENOUTER, BF_RECT | BF_MIDDLE);
    for (TPoint q : {TPoint{0, 0}, TPoint{29, 29}, TPoint{15, 15}})
        EXPECT_EQ(At(q.X, q.Y), ColorToRGB(edge.Canvas()->Pixels(q.X, q.Y))) << q.X << "," << q.Y;
    GuiTest::MouseDown(p->Button(), {15, 15});
    for (TPoint q : {TPoint{0, 0}, TPoint{29, 29}})
        EXPECT_EQ(At(q.X, q.Y), ColorToRGB(sunk.Canvas()->Pixels(q.X, q.Y))) << "down " << q.X << "," << q.Y;
    GuiTest::MouseUp(p->Button(), {15, 15});
}

TEST_F(ButtonFaceTest, GlyphIsCentredWholeAndMovesOnePixelWhenPressed)
{
    TEsgEditButton *p = MakePart();
    TBitmap glyph(10, 10);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(0, 0, 10, 10));
    glyph.Canvas()->SetPixel(0, 9, clFuchsia); // the transparent colour
    p->SetGlyph(&glyph);
    p->SetFlat(true);
    ShowForm();
    // (30 - 10) / 2 = 10: the glyph covers 10..19.
    EXPECT_EQ(At(10, 10), Rgb(clRed));
    EXPECT_EQ(At(19, 18), Rgb(clRed));
    EXPECT_NE(At(10, 19), Rgb(clFuchsia)) << "drawn transparent";
    EXPECT_NE(At(20, 20), Rgb(clRed));
    GuiTest::MouseDown(p->Button(), {25, 25});
    EXPECT_NE(At(10, 10), Rgb(clRed)) << "pressed: one pixel right and down";
    EXPECT_EQ(At(11, 11), Rgb(clRed));
    EXPECT_EQ(At(20, 19), Rgb(clRed));
    GuiTest::MouseUp(p->Button(), {25, 25});
}

TEST_F(ButtonFaceTest, PartWithoutOnClickTakesAClick)
{
    TEsgEditButton *p = MakePart();
    auto *e = Make<TEdit>(10, 60);
    p->SetFocusControl(e);
    ShowForm();
    GuiTest::Click(p->Button());
    EXPECT_TRUE(e->Focused()) << "the focus still goes to the partner";
    delete e;
    EXPECT_EQ(p->FocusControl(), nullptr) << "a freed partner is forgotten";
    GuiTest::Click(p->Button());
}

namespace {

// A recording theme provider bound for the life of the scope.
struct TThemeScope {
    TRecordingThemeProvider Provider;
    TThemeProvider *Previous;
    TThemeScope() : Previous(SetThemeProvider(&Provider))
    {
        ExtXPVS::Unbind();
        ExtXPVS::Bind();
    }
    ~TThemeScope()
    {
        ExtXPVS::Unbind();
        SetThemeProvider(Previous);
    }
    TThemeScope(const TThemeScope &) = delete;
    TThemeScope &operator=(const TThemeScope &) = delete;
};

} // namespace

TEST_F(ButtonFaceTest, ThemedButtonDrawsThePushButtonPartInTheStateOfThePointer)
{
    TThemeScope theme;
    auto *e = Make<TEsgEditBtn>(10, 60);
    e->SetIsWinXP(true);
    auto *classic = Make<TEsgEditBtn>(10, 100);
    ShowForm();
    theme.Provider.Entries.clear();
    GuiTest::PixelAt(classic, 1, 1);
    EXPECT_TRUE(theme.Provider.Entries.empty()) << "without IsWinXP the classic frame";

    TExtSpeedButton *b = e->ButtonPart()->Button();
    auto lastState = [&] {
        theme.Provider.Entries.clear();
        GuiTest::PixelAt(e, 1, 1);
        EXPECT_FALSE(theme.Provider.Entries.empty());
        if (theme.Provider.Entries.empty())
            return -1;
        const auto &entry = theme.Provider.Entries.back();
        EXPECT_EQ(entry.ClassName, QStringLiteral("button"));
        EXPECT_EQ(entry.Part, BP_PUSHBUTTON);
        EXPECT_EQ(entry.Rect, Rect(0, 0, b->Width(), b->Height()));
        return entry.State;
    };
    EXPECT_EQ(lastState(), PBS_NORMAL);
    GuiTest::MouseMove(b, {5, 5});
    EXPECT_EQ(lastState(), PBS_HOT);
    GuiTest::MouseDown(b, {5, 5});
    EXPECT_EQ(lastState(), PBS_PRESSED);
    GuiTest::MouseUp(b, {5, 5});
    EXPECT_EQ(theme.Provider.OpenCount(), 0) << "every theme handle closed";

    // A coloured face wins over the theme; an inactive theme gives the classic frame.
    e->ButtonPart()->SetButtonColor(clRed);
    theme.Provider.Entries.clear();
    GuiTest::PixelAt(e, 1, 1);
    EXPECT_TRUE(theme.Provider.Entries.empty());
    e->ButtonPart()->SetButtonColor(clNone);
    b->SetFlat(false);
    theme.Provider.Active = false;
    theme.Provider.Entries.clear();
    GuiTest::PixelAt(e, 1, 1);
    EXPECT_TRUE(theme.Provider.Entries.empty());
}
