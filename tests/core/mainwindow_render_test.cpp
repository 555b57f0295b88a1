// The main window as it shows: rendered headless, its picture kept beside the test program
// (mainwindow.png) for a person to look at.
#include "helpers/AppFixture.h"

#include "controls/LbButton.h"
#include "core/UFabricoreFirmWare.h"
#include "platform/ExtCtrls.h"
#include "platform/StdCtrls.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class MainWindowRender : public TAppTest {};

// The colour as RGB components, for readable failures.
std::string Rgb(TColorRef c)
{
    return std::to_string(c & 0xFF) + "," + std::to_string((c >> 8) & 0xFF) + "," + std::to_string((c >> 16) & 0xFF);
}

} // namespace

TEST_F(MainWindowRender, ShowsTheStepsAndHeaderButtonsInTheirColours)
{
    StartApp();
    TFFabricoreFirmWare *M = FFabricoreFirmWare;
    M->Show();
    GuiTest::ProcessEvents(50);
    EXPECT_TRUE(GuiTest::SaveWindowPng(M, QDir(GuiTest::ArtefactDir()).filePath(QStringLiteral("mainwindow.png"))));

    // The window's own colour around the controls.
    EXPECT_EQ(Rgb(GuiTest::PixelAt(M, 460, 150)), "248,247,237");
    // The rule under the steps.
    EXPECT_NE(Rgb(GuiTest::PixelAt(M, 300, 295)), "248,247,237");
    // Each header button carries a glyph: its centre differs from its face.
    for (TLbButton *B : {M->Btn_Info, M->Btn_Opz, M->Btn_Close}) {
        const TColorRef corner = GuiTest::PixelAt(M, B->Left() + 4, B->Top() + 4);
        int differing = 0;
        for (int dy = -8; dy <= 8; dy += 4)
            for (int dx = -8; dx <= 8; dx += 4)
                differing += GuiTest::PixelAt(M, B->Left() + 25 + dx, B->Top() + 25 + dy) != corner;
        EXPECT_GT(differing, 3) << B->Name().toStdString();
    }
    // Each step button has its frame at its place.
    for (TLbButton *B : {M->Btn_New, M->Btn_Open, M->Btn_Prm_Gen, M->Btn_EtherNetIP_Access, M->Btn_CreateBin}) {
        int frame = 0;
        for (int x = B->Left(); x < B->Left() + 3; ++x)
            frame += Rgb(GuiTest::PixelAt(M, x, B->Top() + 18)) != "248,247,237";
        EXPECT_GT(frame, 0) << B->Name().toStdString();
    }
    // Under the pointer the first steps light up sky blue, the others yellow.
    const struct {
        TLbButton *B;
        const char *hot;
    } hot[] = {{M->Btn_New, "166,202,240"}, {M->Btn_CreateBin, "166,202,240"}, {M->Btn_EtherNetIP_Access, "255,255,0"}};
    for (const auto &h : hot) {
        GuiTest::MouseMove(h.B, TPoint{150, 30});
        GuiTest::ProcessEvents(20);
        EXPECT_EQ(Rgb(GuiTest::PixelAt(M, h.B->Left() + 150, h.B->Top() + 30)), h.hot) << h.B->Name().toStdString();
        if (h.B == M->Btn_New)
            GuiTest::SaveWindowPng(M, QDir(GuiTest::ArtefactDir()).filePath(QStringLiteral("mainwindow_hot.png")));
    }
}
