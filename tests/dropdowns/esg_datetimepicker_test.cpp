// The flat date-time picker's pixels on a shown form: plain like the platform picker, the Metro
// look with its own button and frame, the hot and pressed button, and the non-client lines.
#include "dropdowns/EsgDateTimePicker.h"

#include "controls/ExtXPVS.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"
#include "platform/UxTheme.h"
#include "platform/VersionInfo.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr int W = 150;
constexpr int H = 21;

class FlatPickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 200);
        form->SetColor(clBtnFace);
        // Takes the focus, so that no picker shows it.
        auto *edit = new TEdit(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(10, 150, 80, 21);
        form->Show();
        edit->SetFocus();
        GuiTest::MouseMove(edit, TPoint(5, 5));
        GuiTest::ProcessEvents(50);
    }
    void TearDown() override { SetComCtl32Version(savedVersion); }
    template <class T>
    T *Make(int Top)
    {
        auto *p = new T(form.get());
        p->SetParent(form.get());
        p->SetBounds(10, Top, W, H);
        p->SetFormat(QStringLiteral("dd/MM/yyyy"));
        p->SetDateTime(EncodeDate(2024, 5, 6));
        GuiTest::ProcessEvents();
        // A new window may find the pointer over it.
        GuiTest::LeaveWindow(p);
        GuiTest::ProcessEvents();
        return p;
    }
    TEsgDateTimePicker *Metro(TColor Border = clNone)
    {
        auto *p = Make<TEsgDateTimePicker>(10);
        p->SetMetroStyle(true);
        p->SetBorderColor(Border);
        p->ButtonColor = clRed;
        p->ButtonColorHot = clLime;
        p->ButtonColorDown = clBlue;
        p->ButtonTextColor = clBlack;
        p->ButtonTextColorDown = clWhite;
        p->ButtonBorderColor = clFuchsia;
        return p;
    }
    static TColorRef Rgb(TColor C) { return ColorToRGB(C); }

    std::unique_ptr<TForm> form;
    Cardinal savedVersion = ComCtl32Version();
};

TEST_F(FlatPickerTest, WithoutMetroItPaintsLikeThePlatformPicker)
{
    // Each in turn at the same place, as the platform's look may depend on the place.
    const auto picture = [](TWinControl *P) {
        std::vector<TColorRef> px;
        for (int y = 0; y < H; y += 2)
            for (int x = 0; x < W; x += 3)
                px.push_back(GuiTest::PixelAt(P, x, y));
        delete P;
        return px;
    };
    const std::vector<TColorRef> flat = picture(Make<TEsgDateTimePicker>(10));
    const std::vector<TColorRef> plain = picture(Make<TDateTimePicker>(10));
    EXPECT_EQ(flat, plain);
}

TEST_F(FlatPickerTest, MetroDrawsItsOwnButtonAndAFrameOnlyWithABorderColour)
{
    auto *plain = Make<TDateTimePicker>(50);
    auto *p = Metro();
    const int left = p->ClientWidth() - p->ButtonWidth() + 3; // the button's left edge
    EXPECT_EQ(GuiTest::PixelAt(p, W - 4, 3), Rgb(clRed));
    EXPECT_EQ(GuiTest::PixelAt(p, left, 8), Rgb(clFuchsia));
    EXPECT_EQ(GuiTest::PixelAt(p, left + 8, 8), Rgb(clBlack)); // the arrow
    EXPECT_EQ(GuiTest::PixelAt(p, left + 8, 12), Rgb(clRed));
    for (TPoint at : {TPoint(0, 0), TPoint(0, 10), TPoint(60, H - 1)})
        EXPECT_EQ(GuiTest::PixelAt(p, at.X, at.Y), GuiTest::PixelAt(plain, at.X, at.Y)) << "no frame";

    p->SetBorderColor(clGreen);
    GuiTest::ProcessEvents();
    for (TPoint at : {TPoint(0, 0), TPoint(0, 10), TPoint(60, H - 1), TPoint(W - 1, 10)})
        EXPECT_EQ(GuiTest::PixelAt(p, at.X, at.Y), Rgb(clGreen));
    // Neither hot nor focused: the flat button area is ringed in the button face.
    EXPECT_EQ(GuiTest::PixelAt(p, W - 4, 3), Rgb(clBtnFace));
    EXPECT_EQ(GuiTest::PixelAt(p, W - 6, 10), Rgb(clRed));

    // A picker of the time kind keeps its frame but gets no button of its own.
    p->SetKind(dtkTime);
    GuiTest::ProcessEvents();
    EXPECT_NE(GuiTest::PixelAt(p, W - 4, 3), Rgb(clRed));
    EXPECT_EQ(GuiTest::PixelAt(p, 0, 10), Rgb(clGreen));
}

TEST_F(FlatPickerTest, DisabledFramesFollowTheCommonControlsVersion)
{
    SetComCtl32Version(6u << 16);
    auto *themed = Metro(clGreen);
    EXPECT_TRUE(themed->IsThemed());
    themed->SetEnabled(false);
    GuiTest::ProcessEvents();
    for (TPoint at : {TPoint(0, 0), TPoint(0, 10), TPoint(W - 1, H - 1)})
        EXPECT_EQ(GuiTest::PixelAt(themed, at.X, at.Y), TColorRef(0xB99D7F));
    delete themed;

    // Older common controls: a disabled picker without a border colour blends into its parent.
    SetComCtl32Version((5u << 16) | 82u);
    auto *classic = Metro();
    EXPECT_FALSE(classic->IsThemed());
    classic->SetColor(clWindow);
    classic->SetEnabled(false);
    GuiTest::ProcessEvents();
    EXPECT_EQ(GuiTest::PixelAt(classic, 0, 10), Rgb(clBtnFace));
    EXPECT_EQ(GuiTest::PixelAt(classic, 1, 10), Rgb(clBtnFace));
    EXPECT_EQ(GuiTest::PixelAt(classic, 2, 10), Rgb(clWindow));
}

TEST_F(FlatPickerTest, TheButtonIsHotOnlyOverItsAreaAndDownWhilePressed)
{
    auto *p = Metro();
    const int bw = p->ButtonWidth();
    struct Case {
        int X;
        TColor Face;
    };
    const Case cases[] = {{W - bw, clRed}, {W - bw + 1, clLime}, {W - 1, clLime}, {10, clRed}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.X);
        GuiTest::MouseMove(p, TPoint(c.X, 10));
        GuiTest::ProcessEvents();
        EXPECT_EQ(p->ButtonHover(), c.Face == clLime);
        EXPECT_EQ(GuiTest::PixelAt(p, W - 4, 3), Rgb(c.Face));
    }
    const int left = p->ClientWidth() - bw + 3;
    GuiTest::MouseMove(p, TPoint(W - 4, 10));
    GuiTest::MouseDown(p, TPoint(W - 4, 10));
    EXPECT_EQ(GuiTest::PixelAt(p, W - 4, 3), Rgb(clBlue));
    EXPECT_EQ(GuiTest::PixelAt(p, left + 8, 8), Rgb(clWhite));
    GuiTest::MouseUp(p, TPoint(W - 4, 10));
    EXPECT_EQ(GuiTest::PixelAt(p, W - 4, 3), Rgb(clLime));
    EXPECT_EQ(GuiTest::PixelAt(p, left + 8, 8), Rgb(clBlack));
    EXPECT_TRUE(p->DroppedDown()) << "the press dropped the calendar";
    GuiTest::LeaveWindow(p);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(p->ButtonHover());
}

TEST_F(FlatPickerTest, NonClientLinesWithoutCtl3D)
{
    auto *p = Make<TEsgDateTimePicker>(10);
    p->SetCtl3D(false);
    p->SetBorderColor(clRed);
    p->Invalidate();
    GuiTest::ProcessEvents();
    // No border style: the lines take the parent's colour, so no frame shows.
    EXPECT_EQ(GuiTest::PixelAt(p, 0, 10), Rgb(clBtnFace));
    EXPECT_EQ(GuiTest::PixelAt(p, W - 1, 10), Rgb(clBtnFace));
    EXPECT_EQ(GuiTest::PixelAt(p, 1, 10), Rgb(clBtnFace));
    p->SetBorderStyle(bsSingle);
    GuiTest::ProcessEvents();
    EXPECT_EQ(GuiTest::PixelAt(p, 0, 10), Rgb(clRed));
    EXPECT_EQ(GuiTest::PixelAt(p, W - 1, 10), Rgb(clRed));
    EXPECT_EQ(GuiTest::PixelAt(p, 10, H - 1), Rgb(clRed));
    EXPECT_EQ(GuiTest::PixelAt(p, 1, 10), Rgb(clBtnFace));
    EXPECT_EQ(GuiTest::PixelAt(p, 10, 1), Rgb(clBtnFace));
}

TEST_F(FlatPickerTest, ThemedButtonStates)
{
    SetComCtl32Version(6u << 16);
    TRecordingThemeProvider theme;
    TThemeProvider *old = SetThemeProvider(&theme);
    ExtXPVS::Unbind();
    ExtXPVS::Bind();
    auto *p = Make<TEsgDateTimePicker>(10);
    p->SetMetroStyle(true);
    const auto state = [&] {
        theme.Entries.clear();
        GuiTest::PixelAt(p, 0, 0);
        for (const auto &e : theme.Entries)
            if (e.ClassName == QStringLiteral("combobox") && e.Part == CP_DROPDOWNBUTTON)
                return e.State;
        return 0;
    };
    EXPECT_EQ(state(), CBXS_NORMAL);
    GuiTest::MouseMove(p, TPoint(W - 4, 10));
    EXPECT_EQ(state(), CBXS_HOT);
    GuiTest::MouseMove(p, TPoint(20, 10));
    EXPECT_EQ(state(), CBXS_NORMAL);
    p->SetEnabled(false);
    EXPECT_EQ(state(), CBXS_DISABLED);
    EXPECT_EQ(theme.OpenCount(), 0);
    delete p;
    ExtXPVS::Unbind();
    SetThemeProvider(old);
    ExtXPVS::Bind();
}

TEST_F(FlatPickerTest, VersionIsFixed)
{
    auto *p = Make<TEsgDateTimePicker>(10);
    EXPECT_EQ(p->Version(), QStringLiteral("1.0.0.0"));
    p->SetVersion(QStringLiteral("2.0"));
    EXPECT_EQ(p->Version(), QStringLiteral("1.0.0.0"));
}

} // namespace
