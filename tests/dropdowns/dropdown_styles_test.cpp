// The drop-down edit's style presets: the rows a style writes into the popup, bars and bar
// buttons, the shapes the rows share, the selection colour presets and how a selection paints.
#include "dropdowns/ExtCustomDropDown.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class TPlainDropDown : public TExtCustomDropDown {
public:
    explicit TPlainDropDown(TComponent *AOwner) : TExtCustomDropDown(AOwner) {}
};

std::unique_ptr<TPlainDropDown> MakeEdit()
{
    return std::unique_ptr<TPlainDropDown>(NewDropDown<TPlainDropDown>(nullptr));
}

// Everything a style writes, in one value to compare.
struct TWritten {
    TColor Popup, PopupTo, Frame;
    TColor Hdr[4], Ftr[4];
    TColor Btn[14];
};

TWritten Read(TExtCustomDropDown *E)
{
    TWritten w{};
    w.Popup = E->DropDownColor();
    w.PopupTo = E->DropDownColorTo();
    w.Frame = E->DropDownBorderColor;
    const auto *h = E->DropDownHeader();
    const auto *f = E->DropDownFooter();
    const TColor hdr[4] = {h->Color(), h->ColorTo(), h->Font()->Color(), h->BorderColor()};
    const TColor ftr[4] = {f->Color(), f->ColorTo(), f->Font()->Color(), f->BorderColor()};
    std::copy(hdr, hdr + 4, w.Hdr);
    std::copy(ftr, ftr + 4, w.Ftr);
    const auto *a = E->ButtonAppearance();
    const TColor btn[14] = {a->Color(),         a->ColorTo(),         a->BorderColor(),     a->ColorHot(),
                            a->ColorHotTo(),    a->BorderColorHot(),  a->ColorDown(),       a->ColorDownTo(),
                            a->BorderColorDown(), a->ColorDisabled(), a->ColorDisabledTo(), a->ColorChecked(),
                            a->ColorCheckedTo(), a->BorderColorChecked()};
    std::copy(btn, btn + 14, w.Btn);
    return w;
}

bool Same(const TWritten &A, const TWritten &B)
{
    return std::equal(reinterpret_cast<const char *>(&A), reinterpret_cast<const char *>(&A + 1),
                      reinterpret_cast<const char *>(&B));
}

} // namespace

TEST(DropDownStyles, WrittenRowsOfLunaXPAndTerminal)
{
    struct Case {
        TQRVStyle Style;
        TWritten Want;
    } cases[] = {
        {tsOffice2007Luna,
         {0xF3E5DA, 0xF0DED0, clNone, {0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF}, {0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF},
          {0xFFEFE3, 0xFFDDC4, clNone, 0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0xF2F2F2, 0xB6B6B6,
           0x76AFF1, 0x4190F3, 0x45667B}}},
        {tsWindowsXP,
         {clWhite, clNone, 0x123456, {clWhite, clBtnFace, clBlack, 0x808080}, {clWhite, clBtnFace, clBlack, 0x808080},
          {clWhite, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clInactiveCaption, clInactiveCaption,
           clHighlight, 0xB6B6B6, 0xB6B6B6, 0xB9D8DC, 0xB9D8DC, clBlack}}},
        {tsTerminal,
         {clWhite, clWhite, 0x808080, {clBtnFace, clBtnFace, clBlack, clNone}, {clBtnFace, clBtnFace, clBlack, clNone},
          {clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight, 0x808080, clBtnFace,
           clBtnFace, clBtnFace, clBtnFace, clHighlight}}},
    };
    for (const Case &c : cases) {
        auto e = MakeEdit();
        if (c.Style != tsOffice2007Luna) {
            // A frame set by hand shows which rows leave it alone.
            e->DropDownBorderColor = 0x123456;
            e->SetComponentStyle(c.Style);
        }
        EXPECT_EQ(e->GetComponentStyle(), c.Style);
        EXPECT_TRUE(Same(Read(e.get()), c.Want)) << "style " << int(c.Style);
    }
}

TEST(DropDownStyles, ShapesTheOtherRowsShare)
{
    auto e = MakeEdit();
    const TWritten luna = Read(e.get());
    for (TQRVStyle s : {tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic,
                        tsOffice2007Obsidian, tsWhidbey, tsOffice2007Silver}) {
        e->SetComponentStyle(s);
        const TWritten w = Read(e.get());
        // Hot, down, disabled and checked faces are Luna's.
        for (int i : {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13})
            EXPECT_EQ(w.Btn[i], luna.Btn[i]) << "style " << int(s) << " column " << i;
    }
    e->SetComponentStyle(tsOffice2003Blue);
    EXPECT_EQ(e->DropDownHeader()->BorderColor(), clBlack);
    EXPECT_EQ(e->DropDownFooter()->BorderColor(), 0x962D00);

    for (TQRVStyle s : {tsWindowsVista, tsWindows7}) {
        e->SetComponentStyle(s);
        EXPECT_EQ(e->DropDownColor(), clWhite);
        EXPECT_EQ(e->DropDownBorderColor, 0x979797);
    }
    e->SetComponentStyle(tsWindowsVista);
    EXPECT_EQ(e->DropDownFooter()->Color(), e->DropDownHeader()->ColorTo());
    EXPECT_EQ(e->DropDownFooter()->ColorTo(), e->DropDownHeader()->Color());

    for (TQRVStyle s : {tsOffice2010Blue, tsOffice2010Silver, tsOffice2010Black}) {
        e->SetComponentStyle(s);
        const TWritten w = Read(e.get());
        EXPECT_EQ(w.Popup, clWhite);
        EXPECT_EQ(w.PopupTo, 0xF1EFED);
        EXPECT_EQ(w.Frame, 0xEDEDEC);
        const TColor hotDown[6] = {0x8AE3FD, clNone, 0x58CAF1, 0x6CD0FF, clNone, 0x308AC2};
        EXPECT_TRUE(std::equal(hotDown, hotDown + 6, w.Btn + 3)) << "style " << int(s);
    }

    // Office 2003 Blue and Silver and XP keep the popup frame they find.
    for (TQRVStyle s : {tsOffice2003Blue, tsOffice2003Silver, tsWindowsXP}) {
        e->DropDownBorderColor = 0x010203;
        e->SetComponentStyle(s);
        EXPECT_EQ(e->DropDownBorderColor, 0x010203) << "style " << int(s);
    }
}

TEST(DropDownStyles, CustomWritesNothingButIsAnswered)
{
    auto e = MakeEdit();
    e->SetComponentStyle(tsTerminal);
    e->SetDropDownColor(0x112233);
    e->ButtonAppearance()->SetColorHot(0x445566);
    const TWritten before = Read(e.get());
    e->SetComponentStyle(tsCustom);
    EXPECT_EQ(e->GetComponentStyle(), tsCustom);
    EXPECT_TRUE(Same(Read(e.get()), before));
}

TEST(DropDownStyles, SelectionPresetsAndCustomKeepsColours)
{
    auto e = MakeEdit();
    EXPECT_EQ(e->SelectionColor(), 0xD7FFFD);
    EXPECT_EQ(e->SelectionColorTo(), 0x58D4FC);
    struct Case {
        TSelectionColorStyle Style;
        TColor From, To;
    } cases[] = {{scWindowsVista, 0xFDF8F1, 0xFCEFD5}, {scWindows7, 0xFCEBDC, 0xFCDBC1}, {scOffice2007, 0xD7FFFD, 0x58D4FC}};
    for (const Case &c : cases) {
        e->SetSelectionColorStyle(c.Style);
        EXPECT_EQ(e->SelectionColorStyle(), c.Style);
        EXPECT_EQ(e->SelectionColor(), c.From);
        EXPECT_EQ(e->SelectionColorTo(), c.To);
    }
    e->SetSelectionColor(0x0000AA);
    e->SetSelectionColorStyle(scCustom);
    EXPECT_EQ(e->SelectionColor(), 0x0000AA);
    EXPECT_EQ(e->SelectionColorTo(), 0x58D4FC);
}

TEST(DropDownStyles, CustomSelectionIsAPlainFillTheOthersAFramedOne)
{
    auto e = MakeEdit();
    TBitmap b(40, 20);
    const TRect R(0, 0, 40, 20);
    auto clear = [&] {
        b.Canvas()->Brush()->SetColor(clWhite);
        b.Canvas()->FillRect(R);
    };

    clear();
    e->SetSelectionColorStyle(scCustom);
    e->SetSelectionColor(0x00AA00);
    e->DrawSelectionBackground(b.Canvas(), R, clRed, 0);
    for (auto [x, y] : {std::pair{0, 0}, {39, 19}, {20, 10}})
        EXPECT_EQ(b.Canvas()->Pixels(x, y), 0x00AA00);

    clear();
    e->SetSelectionColorStyle(scOffice2007);
    e->DrawSelectionBackground(b.Canvas(), R, clRed, 0);
    // The painter draws into R less one column and two rows: corners in CornerColor, the outer
    // line in the frame colour, the pixels next to the corners in the sixth colour.
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(38, 18), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(10, 0), 0x8DD7D3);
    EXPECT_EQ(b.Canvas()->Pixels(1, 0), 0xC3D9DF);
    EXPECT_EQ(b.Canvas()->Pixels(10, 1), 0xF4FEFF);
    EXPECT_EQ(b.Canvas()->Pixels(10, 17), 0xCAF8FF);
    EXPECT_EQ(b.Canvas()->Pixels(10, 2), 0xD7FFFD) << "the upper half starts at SelectionColor";
    EXPECT_EQ(b.Canvas()->Pixels(39, 19), clWhite) << "outside the painted part";
}

TEST(DropDownStyles, TonesGiveTheButtonColoursAndTheEditFrame)
{
    auto e = MakeEdit();
    TColorTones tones;
    tones.Background = {0xEEDDCC, 0x336699, clNone};
    tones.Hover.BrushColor = 0x00FFFF;
    tones.Selected.BrushColor = 0x0000FF;
    e->SetColorTones(tones);
    EXPECT_EQ(e->Button()->ButtonColor, 0xEEDDCC);
    EXPECT_EQ(e->Button()->ButtonColorHot, 0x00FFFF);
    EXPECT_EQ(e->Button()->ButtonColorDown, 0x0000FF);
    EXPECT_EQ(e->Button()->ButtonBorderColor, 0x336699);
    EXPECT_EQ(e->BorderColor(), 0x336699);
    const auto frame = e->BorderPaint();
    EXPECT_EQ(frame.Kind, TExtCustomDropDown::TBorderPaint::bkColor);
    EXPECT_EQ(frame.Color, 0x336699);
}
