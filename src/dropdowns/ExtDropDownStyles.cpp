// The colour presets of the drop-down edit: one row per library style, written into the popup,
// the header and footer bars and the bar buttons when the style is applied; the selection
// colour presets; and the colour tones.
#include "controls/ExtGridDraw.h"
#include "dropdowns/ExtCustomDropDown.h"

#include <array>

namespace {

// One bar's colours: face gradient, caption and frame.
struct TBarColors {
    TColor Color, ColorTo, Font, Border;
};

// The bar button's colours in the order the appearance setters take them.
struct TButtonColors {
    TColor Color, ColorTo, BorderColor;
    TColor ColorHot, ColorHotTo, BorderColorHot;
    TColor ColorDown, ColorDownTo, BorderColorDown;
    TColor ColorDisabled, ColorDisabledTo;
    TColor ColorChecked, ColorCheckedTo, BorderColorChecked;
};

struct TStyleRow {
    bool Writes;
    TColor Popup, PopupTo;
    // Some styles keep whatever popup frame the edit has.
    bool SetsFrame;
    TColor Frame;
    TBarColors Header, Footer;
    TButtonColors Button;
};

// The hot, pressed, disabled and checked button states the Office and Whidbey styles share.
constexpr TButtonColors OfficeButton(TColor Face, TColor FaceTo)
{
    return {Face,     FaceTo,   clNone,   0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF,
            0x6EBBFF, 0x42AEFE, 0xF2F2F2, 0xB6B6B6, 0x76AFF1, 0x4190F3, 0x45667B};
}

constexpr TButtonColors Office2010Button(TColor Face, TColor FaceTo)
{
    return {Face,     FaceTo,   clNone,   0x8AE3FD, clNone,   0x58CAF1, 0x6CD0FF,
            clNone,   0x308AC2, 0xF2F2F2, 0xB6B6B6, 0x6CD0FF, clNone,   0x308AC2};
}

constexpr TStyleRow Office2010Row(TBarColors Bar)
{
    return {true, clWhite, 0xF1EFED, true, 0xEDEDEC, Bar, Bar, Office2010Button(Bar.Color, Bar.ColorTo)};
}

// Indexed by TQRVStyle.
const std::array<TStyleRow, 16> &StyleRows()
{
    static const std::array<TStyleRow, 16> Rows = {{
        // tsOffice2003Blue
        {true, 0xFCE1CB, 0xE0A57D, false, clNone, {0xFCE1CB, 0xE0A57D, clBlack, clBlack},
         {0xFCE1CB, 0xE0A57D, clBlack, 0x962D00}, OfficeButton(0xFCE1CB, 0xE0A57D)},
        // tsOffice2003Silver
        {true, 0xECE2E1, 0xB39698, false, clNone, {0xECE2E1, 0xB39698, clBlack, 0x947C7C},
         {0xECE2E1, 0xB39698, clBlack, 0x947C7C}, OfficeButton(0xECE2E1, 0xB39698)},
        // tsOffice2003Olive
        {true, 0xCFF0EA, 0x8CC0B1, true, 0x588060, {0xCFF0EA, 0x8CC0B1, clBlack, 0x588060},
         {0xCFF0EA, 0x8CC0B1, clBlack, 0x588060}, OfficeButton(0xCFF0EA, 0x8CC0B1)},
        // tsOffice2003Classic
        {true, clWhite, 0xC9D1D5, true, 0x808080, {0xC9D1D5, 0xC9D1D5, clBlack, 0x808080},
         {0xC9D1D5, 0xC9D1D5, clBlack, 0x808080}, OfficeButton(clWhite, 0xC9D1D5)},
        // tsOffice2007Luna
        {true, 0xF3E5DA, 0xF0DED0, true, clNone, {0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF},
         {0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF}, OfficeButton(0xFFEFE3, 0xFFDDC4)},
        // tsOffice2007Obsidian
        {true, 0xF1F0E6, 0xC6BCB5, true, clNone, {0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C},
         {0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C}, OfficeButton(0xF2F1F0, 0xC9C2BD)},
        // tsWindowsXP
        {true, clWhite, clNone, false, clNone, {clWhite, clBtnFace, clBlack, 0x808080},
         {clWhite, clBtnFace, clBlack, 0x808080},
         {clWhite, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clInactiveCaption, clInactiveCaption,
          clHighlight, 0xB6B6B6, 0xB6B6B6, 0xB9D8DC, 0xB9D8DC, clBlack}},
        // tsWhidbey
        {true, 0xF5F9FA, 0xA8C0C0, true, 0x808080, {0xF5F9FA, 0xA8C0C0, clBlack, 0x962D00},
         {0xF5F9FA, 0xA8C0C0, clBlack, 0x962D00}, OfficeButton(0xF5F9FA, 0xA8C0C0)},
        // tsCustom: the colours stay the user's.
        {false, clNone, clNone, false, clNone, {}, {}, {}},
        // tsOffice2007Silver
        {true, 0xF8F7F6, 0xE8E0DB, true, clNone, {0xFAEEEB, 0xE5DBD7, 0x8B4215, 0x74706F},
         {0xFAEEEB, 0xE5DBD7, 0x8B4215, 0x74706F}, OfficeButton(0xFAEEEB, 0xE5DBD7)},
        // tsWindowsVista: the footer fades the opposite way of the header.
        {true, clWhite, clWhite, true, 0x979797, {0xFDF8F1, 0xFCEFD5, clBlack, 0xFDDE99},
         {0xFCEFD5, 0xFDF8F1, clBlack, 0xFDDE99},
         {0xFDF8F1, 0xFCEFD5, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEFD5, 0xFCEFD5, 0xCEA27D, 0xF2F2F2,
          0xB6B6B6, 0xFDDE99, 0xFCEFD5, 0xCEA27D}},
        // tsWindows7
        {true, clWhite, clWhite, true, 0x979797, {0xFCEBDC, 0xFCDBC1, clBlack, 0xCEA27D},
         {0xFCEBDC, 0xFCDBC1, clBlack, 0xCEA27D},
         {0xFCEBDC, 0xFCDBC1, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xFCDBC1, 0xFCDBC1, 0xCEA27D, 0xF2F2F2,
          0xB6B6B6, 0xFCDBC1, 0xFCDBC1, 0xCEA27D}},
        // tsTerminal
        {true, clWhite, clWhite, true, 0x808080, {clBtnFace, clBtnFace, clBlack, clNone},
         {clBtnFace, clBtnFace, clBlack, clNone},
         {clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight, 0x808080, clBtnFace,
          clBtnFace, clBtnFace, clBtnFace, clHighlight}},
        // tsOffice2010Blue, tsOffice2010Silver, tsOffice2010Black
        Office2010Row({0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F}),
        Office2010Row({clWhite, 0xEDE5E0, 0x5D5D5D, 0xD2CDC8}),
        Office2010Row({0xBFBFBF, 0x919191, 0x0D0D0D, 0x6D6D6D}),
    }};
    return Rows;
}

template <class TBar>
void WriteBar(TBar *Bar, const TBarColors &C)
{
    Bar->SetColor(C.Color);
    Bar->SetColorTo(C.ColorTo);
    Bar->Font()->SetColor(C.Font);
    Bar->SetBorderColor(C.Border);
}

} // namespace

void TExtCustomDropDown::SetComponentStyle(TQRVStyle AStyle)
{
    FComponentStyle = AStyle;
    const auto Index = static_cast<std::size_t>(AStyle);
    if (Index >= StyleRows().size())
        return;
    const TStyleRow &R = StyleRows()[Index];
    if (!R.Writes)
        return;
    FDropDownColor = R.Popup;
    FDropDownColorTo = R.PopupTo;
    if (R.SetsFrame)
        DropDownBorderColor = R.Frame;
    WriteBar(FDropDownHeader.get(), R.Header);
    WriteBar(FDropDownFooter.get(), R.Footer);
    TExtButtonAppearance *A = FButtonAppearance.get();
    const TButtonColors &B = R.Button;
    A->SetColor(B.Color);
    A->SetColorTo(B.ColorTo);
    A->SetBorderColor(B.BorderColor);
    A->SetColorHot(B.ColorHot);
    A->SetColorHotTo(B.ColorHotTo);
    A->SetBorderColorHot(B.BorderColorHot);
    A->SetColorDown(B.ColorDown);
    A->SetColorDownTo(B.ColorDownTo);
    A->SetBorderColorDown(B.BorderColorDown);
    A->SetColorDisabled(B.ColorDisabled);
    A->SetColorDisabledTo(B.ColorDisabledTo);
    A->SetColorChecked(B.ColorChecked);
    A->SetColorCheckedTo(B.ColorCheckedTo);
    A->SetBorderColorChecked(B.BorderColorChecked);
}

void TExtCustomDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    FSelectionColorStyle = Value;
    switch (Value) {
    case scOffice2007:
        FSelectionColor = 0xD7FFFD;
        FSelectionColorTo = 0x58D4FC;
        break;
    case scWindowsVista:
        FSelectionColor = 0xFDF8F1;
        FSelectionColorTo = 0xFCEFD5;
        break;
    case scWindows7:
        FSelectionColor = 0xFCEBDC;
        FSelectionColorTo = 0xFCDBC1;
        break;
    case scCustom:
        break;
    }
}

void TExtCustomDropDown::DrawSelectionBackground(TCanvas *Canvas, const TRect &Rect, TColor CornerColor, int Piece)
{
    if (!Canvas)
        return;
    if (FSelectionColorStyle == scCustom) {
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Brush()->SetColor(FSelectionColor);
        Canvas->Pen()->SetColor(FSelectionColor);
        Canvas->FillRect(Rect);
        return;
    }
    // Lower-half gradient, inner upper and lower lines, outer frame, pixels next to the corners.
    struct TLook {
        TColor MirrorFrom, MirrorTo, InnerUpper, InnerLower, Outer, NearCorner;
    };
    static constexpr TLook Looks[] = {
        {0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF},
        {clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB},
        {clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE},
    };
    const TLook &L = Looks[static_cast<int>(FSelectionColorStyle) - 1];
    PaintStyledSelection(Canvas, FSelectionColor, FSelectionColorTo, L.MirrorFrom, L.MirrorTo, L.InnerUpper,
                         L.InnerLower, L.Outer, L.NearCorner, CornerColor, Rect, Piece);
}

void TExtCustomDropDown::SetColorTones(const TColorTones &ATones)
{
    // The button takes the tone colours for its background; its arrow colours stay unset and
    // so paint black.
    if (!FButton)
        return;
    FButton->ButtonColor = ATones.Background.BrushColor;
    FButton->ButtonColorHot = ATones.Hover.BrushColor;
    FButton->ButtonColorDown = ATones.Selected.BrushColor;
    FButton->ButtonBorderColor = ATones.Background.BorderColor;
    FBorderColor = ATones.Background.BorderColor;
    FButton->Invalidate();
}
