#include "dropdowns/ExtColorSelectors.h"

#include "platform/Forms.h"
#include "platform/SysUtils.h"
#include "platform/Windows.h"

namespace {

// Rows of the honeycomb: first centre X and the colours from left to right; rows are 10 pixels
// apart from Y = 20 on.
struct TCubeRow {
    int FirstX;
    std::initializer_list<unsigned> Colors;
};

const TCubeRow CubeRows[] = {
    {55, {0x663300, 0x996633, 0xCC6633, 0x993300, 0x990000, 0xCC0000, 0x660000}},
    {49, {0x666600, 0x996600, 0xCC9900, 0xCC6600, 0xCC3300, 0xFF0000, 0xFF3333, 0x993333}},
    {43, {0x808000, 0x999900, 0xCCCC33, 0xFFCC00, 0xFF9900, 0xFF6600, 0xFF6633, 0xCC3333, 0x996666}},
    {37, {0x669933, 0x99CC00, 0xCCFF00, 0xFFFF00, 0xFFCC33, 0xFF9933, 0xFF9966, 0xFF6666, 0xFF0066, 0xCC0066}},
    {31, {0x339933, 0x66CC00, 0x99FF00, 0xCCFF66, 0xFFFF66, 0xFFCC66, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399,
          0xFF0099}},
    {25, {0x006600, 0x00CC00, 0x00FF00, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFECCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC,
          0xFF00CC, 0xCC0099}},
    {19, {0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF, 0xFF66FF,
          0xFF00FF, 0xCC00CC, 0x660066}},
    {25, {0x006633, 0x009900, 0x33FF66, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF, 0xCC33FF,
          0x9900CC, 0x800080}},
    {31, {0x003333, 0x009966, 0x33FF99, 0x66FFCC, 0x99FFFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF, 0x9933CC,
          0x990099}},
    {37, {0x336666, 0x00CC99, 0x33FFCC, 0x66FFFF, 0x66CCFF, 0x6699FF, 0x807CFF, 0x6600FF, 0x9300D6, 0x663399}},
    {43, {0x008080, 0x00CCCC, 0x00FFFF, 0x00CCFF, 0x3399FF, 0x0066FF, 0x5050FF, 0x6600CC, 0x330066}},
    {49, {0x336699, 0x0099CC, 0x0099FF, 0x0066CC, 0x0033FF, 0x0000FF, 0x0000CC, 0x330099}},
    {55, {0x003366, 0x006699, 0x0033CC, 0x003399, 0x000099, 0x000080, 0x2100A5}},
};

bool IsCell(int Index)
{
    return Index >= 1 && Index <= 127;
}

} // namespace

TExtColorCubePanel::TExtColorCubePanel(TComponent *AOwner) : TExtCustomColorSelectorPanel(AOwner)
{
    InitCubeCells();
    SetShowRGBHint(true);
}

void TExtColorCubePanel::InitCubeCells()
{
    FCubeSize = {6, 3};
    int n = 0, y = 20;
    for (const TCubeRow &row : CubeRows) {
        int x = row.FirstX;
        for (unsigned c : row.Colors) {
            FCubeCells[n++] = {TPoint(x, y), TColor(c)};
            x += 2 * FCubeSize.X;
        }
        y += 10;
    }
}

void TExtColorCubePanel::SetCubePanelSize()
{
    SetHeight(160);
    SetWidth(182);
}

void TExtColorCubePanel::ResetCubePanel()
{
    FHotIndex = -1;
    SetCubePanelSize();
}

void TExtColorCubePanel::SetShowRGBHint(bool Value)
{
    FShowRGBHint = Value;
    SetShowHint(Value);
}

void TExtColorCubePanel::SetSelection(TColor Color, int Index)
{
    FSelectedColor = Color;
    if (IsCell(Index)) {
        FSelectedIndex = Index;
        return;
    }
    FSelectedIndex = -1;
    for (int i = 1; i <= 127; ++i)
        if (CubeCell(i).Color == Color) {
            FSelectedIndex = i;
            break;
        }
}

bool TExtColorCubePanel::PointInCell(int Index, TPoint P) const
{
    if (!IsCell(Index))
        return false;
    const TPoint c = CubeCell(Index).Center;
    return (c.X - P.X) * (c.X - P.X) + (c.Y - P.Y) * (c.Y - P.Y) <= FCubeSize.X * FCubeSize.X;
}

int TExtColorCubePanel::CellAtPos(int X, int Y) const
{
    for (int i = 1; i <= 127; ++i)
        if (PointInCell(i, TPoint(X, Y)))
            return i;
    return -1;
}

void TExtColorCubePanel::DrawHexagon(TCanvas *Canvas, TPoint C, int A, int B)
{
    Canvas->Polygon({TPoint(C.X - B, C.Y - A), TPoint(C.X, C.Y - 2 * A), TPoint(C.X + B, C.Y - A),
                     TPoint(C.X + B, C.Y + A), TPoint(C.X, C.Y + 2 * A), TPoint(C.X - B, C.Y + A)});
}

void TExtColorCubePanel::DrawFrame(TCanvas *Canvas, int Index, TColor Outer)
{
    if (!IsCell(Index))
        return;
    const TPoint c = CubeCell(Index).Center;
    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    Canvas->Pen()->SetColor(Outer);
    DrawHexagon(Canvas, c, 3, 5);
    Canvas->Pen()->SetColor(0xFFFFFF);
    DrawHexagon(Canvas, c, 2, 4);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
}

void TExtColorCubePanel::DrawCell(TCanvas *Canvas, int Index)
{
    if (!IsCell(Index) || !Canvas)
        return;
    const TCubeCell &cell = CubeCell(Index);
    Canvas->Pen()->SetColor(cell.Color);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(cell.Color);
    DrawHexagon(Canvas, cell.Center, FCubeSize.Y, FCubeSize.X);
    if (Index == FHotIndex)
        DrawFrame(Canvas, Index, 0x0000FF);
    if (Index == FSelectedIndex)
        DrawFrame(Canvas, Index, 0);
}

void TExtColorCubePanel::DrawCells(TCanvas *Canvas)
{
    for (int i = 1; i <= 127; ++i)
        DrawCell(Canvas, i);
}

void TExtColorCubePanel::Paint()
{
    TExtCustomColorSelectorPanel::Paint();
    DrawCells(Canvas());
}

void TExtColorCubePanel::InvalidateCell(int Index)
{
    if (!IsCell(Index) || !HandleAllocated())
        return;
    const TPoint c = CubeCell(Index).Center;
    // The neighbours' points reach into the cell's box: they are painted again with it.
    const TRect r(c.X - 8, c.Y - 8, c.X + 9, c.Y + 9);
    InvalidateRect(Handle(), &r, false);
}

void TExtColorCubePanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
    const int i = CellAtPos(X, Y);
    if (i < 1)
        return;
    if (FSelectedIndex > 0) {
        const int old = FSelectedIndex;
        FSelectedIndex = -1;
        InvalidateCell(old);
    }
    SetSelection(CubeCell(i).Color, i);
    InvalidateCell(i);
    if (OnSelect)
        OnSelect(this);
}

void TExtColorCubePanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TExtCustomColorSelectorPanel::MouseMove(Shift, X, Y);
    const int i = CellAtPos(X, Y);
    if (i > 0 && i != FHotIndex) {
        if (FHotIndex > 0) {
            const int old = FHotIndex;
            FHotIndex = -1;
            InvalidateCell(old);
        }
        FHotIndex = i;
        InvalidateCell(i);
        if (FShowRGBHint) {
            const TColor c = CubeCell(i).Color;
            SetHint(Format(QStringLiteral("Red: %d,  Green: %d,  Blue: %d"),
                           {int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)}));
            Application->CancelHint();
        }
    } else if (i < 1 && FShowRGBHint) {
        SetHint(UnicodeString());
        Application->CancelHint();
    }
}

void TExtColorCubePanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtCustomColorSelectorPanel::MouseUp(Button, Shift, X, Y);
    if (OnShouldHide)
        OnShouldHide(this);
}
