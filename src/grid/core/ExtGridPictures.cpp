// Cell objects besides check boxes, buttons and nodes: pictures, icons, image-list images,
// progress bars and pies, range indicators, comments, shapes, ratings, in-cell scroll bars,
// rotated text, balloons, interfaced objects and text markers. Painting and sizing read what
// these operations store in the cell's graphic.
#include "grid/core/ExtGrid.h"

#include "platform/ImgList.h"
#include "platform/SysUtils.h"

// ---- the graphic slot ----

TCellGraphic *TExtStringGrid::SlotGraphic(int ACol, int ARow)
{
    if (!InsideGrid(ACol, ARow) || !CellHasProperties(ACol, ARow))
        return nullptr;
    // The slot's own graphic: the row check box that column 0 answers with is the grid's.
    auto *g = dynamic_cast<TCellGraphic *>(PropsOf(ACol, ARow)->GraphicObject());
    return g && !SharedGraphic(g) ? g : nullptr;
}

TCellGraphic *TExtStringGrid::GraphicOfType(int ACol, int ARow, TCellType T)
{
    TCellGraphic *g = SlotGraphic(ACol, ARow);
    return g && g->CellType() == T ? g : nullptr;
}

TCellGraphic *TExtStringGrid::BaseGraphicOfType(int ACol, int ARow, TCellType T)
{
    if (ACol < 0 || ARow < 0)
        return nullptr;
    const TPoint b = BaseCell(ACol, ARow);
    return GraphicOfType(b.X, b.Y, T);
}

bool TExtStringGrid::HasCellTypeIn(int ACol, int ARow, std::initializer_list<TCellType> Kinds)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellGraphic *g = SlotGraphic(b.X, b.Y);
    return g && std::find(Kinds.begin(), Kinds.end(), g->CellType()) != Kinds.end();
}

TCellGraphic *TExtStringGrid::NewGraphic(int ACol, int ARow)
{
    // A cell outside the grid has no slot: the Add does nothing there.
    if (!InsideGrid(ACol, ARow))
        return nullptr;
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    RepaintRealCell(ACol, ARow);
    return g;
}

// ---- bitmaps, icons, pictures, interfaced objects ----

void TExtStringGrid::AddBitmap(int ACol, int ARow, TBitmap *ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic *g = NewGraphic(ACol, ARow))
        g->SetBitmap(ABmp, Transparent, hal, val);
}

TBitmap *TExtStringGrid::CreateBitmap(int ACol, int ARow, bool transparent, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic *g = NewGraphic(ACol, ARow);
    if (!g)
        return nullptr;
    auto *bmp = new TBitmap();
    g->SetBitmap(bmp, transparent, hal, val);
    g->SetCellCreated(true);
    return bmp;
}

TBitmap *TExtStringGrid::GetBitmap(int ACol, int ARow)
{
    const TCellGraphic *g = GraphicOfType(ACol, ARow, ctBitmap);
    return g ? g->CellBitmap() : nullptr;
}

void TExtStringGrid::RemoveBitmap(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctBitmap);
}

void TExtStringGrid::AddIcon(int ACol, int ARow, TIcon *AIcon, TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic *g = NewGraphic(ACol, ARow))
        g->SetIcon(AIcon, hal, val);
}

TIcon *TExtStringGrid::CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic *g = NewGraphic(ACol, ARow);
    if (!g)
        return nullptr;
    auto *icon = new TIcon();
    g->SetIcon(icon, hal, val);
    g->SetCellCreated(true);
    return icon;
}

void TExtStringGrid::RemoveIcon(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctIcon);
}

void TExtStringGrid::AddPicture(int ACol, int ARow, TPicture *APicture, bool transparent, TStretchMode stretchmode,
                                int padding, TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic *g = NewGraphic(ACol, ARow))
        g->SetPicture(APicture, transparent, stretchmode, padding, hal, val);
}

TPicture *TExtStringGrid::CreatePicture(int ACol, int ARow, bool transparent, TStretchMode stretchmode, int padding,
                                        TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic *g = NewGraphic(ACol, ARow);
    if (!g)
        return nullptr;
    auto *pic = new TPicture();
    g->SetPicture(pic, transparent, stretchmode, padding, hal, val);
    g->SetCellCreated(true);
    return pic;
}

TPicture *TExtStringGrid::GetPicture(int ACol, int ARow)
{
    const TCellGraphic *g = GraphicOfType(ACol, ARow, ctPicture);
    return g ? dynamic_cast<TPicture *>(g->CellObject()) : nullptr;
}

void TExtStringGrid::RemovePicture(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctPicture);
}

void TExtStringGrid::AddFilePicture(int ACol, int ARow, TFilePicture *AFilePicture, bool Transparent,
                                    TStretchMode stretchmode, int padding, TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic *g = NewGraphic(ACol, ARow))
        g->SetFilePicture(AFilePicture, Transparent, stretchmode, padding, hal, val);
}

TFilePicture *TExtStringGrid::CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode,
                                                int padding, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic *g = NewGraphic(ACol, ARow);
    if (!g)
        return nullptr;
    auto *pic = new TFilePicture();
    g->SetFilePicture(pic, Transparent, StretchMode, padding, hal, val);
    g->SetCellCreated(true);
    return pic;
}

TFilePicture *TExtStringGrid::GetFilePicture(int ACol, int ARow)
{
    const TCellGraphic *g = GraphicOfType(ACol, ARow, ctFilePicture);
    return g ? dynamic_cast<TFilePicture *>(g->CellObject()) : nullptr;
}

void TExtStringGrid::RemoveFilePicture(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctFilePicture);
}

void TExtStringGrid::AddInterfacedCell(int ACol, int ARow, TInterfacedPersistent *AObject)
{
    if (TCellGraphic *g = NewGraphic(ACol, ARow))
        g->SetInterfacedCell(AObject);
}

TInterfacedPersistent *TExtStringGrid::GetInterfacedCell(int ACol, int ARow)
{
    const TCellGraphic *g = GraphicOfType(ACol, ARow, ctInterface);
    return g ? dynamic_cast<TInterfacedPersistent *>(g->CellObject()) : nullptr;
}

void TExtStringGrid::RemoveInterfacedCell(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctInterface);
}

// ---- image lists ----

TCustomImageList *TExtStringGrid::GridImages() const
{
    return dynamic_cast<TCustomImageList *>(FGridImages);
}

void TExtStringGrid::SetGridImages(TCustomImageList *Value)
{
    FGridImages = Value;
}

void TExtStringGrid::AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val)
{
    if (!GridImages())
        return;
    if (TCellGraphic *g = NewGraphic(ACol, ARow))
        g->SetImageIdx(Aidx, hal, val);
}

bool TExtStringGrid::GetImageIdx(int ACol, int ARow, int &idx)
{
    const TCellGraphic *g = GridImages() ? GraphicOfType(ACol, ARow, ctImageList) : nullptr;
    if (!g)
        return false;
    idx = g->CellIndex();
    return true;
}

void TExtStringGrid::SetImageIdx(int ACol, int ARow, int Idx)
{
    if (TCellGraphic *g = GridImages() ? GraphicOfType(ACol, ARow, ctImageList) : nullptr)
        g->SetCellIndex(Idx);
}

void TExtStringGrid::RemoveImageIdx(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctImageList);
}

void TExtStringGrid::AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val)
{
    if (!GridImages())
        return;
    TCellGraphic *g = NewGraphic(ACol, ARow);
    if (!g)
        return;
    g->SetDataImage(Aidx, hal, val);
    if (Cells(ACol, ARow).isEmpty())
        SetCells(ACol, ARow, IntToStr(Aidx));
}

bool TExtStringGrid::HasDataImage(int ACol, int ARow)
{
    return HasCellTypeIn(ACol, ARow, {ctDataImage});
}

void TExtStringGrid::RemoveDataImage(int ACol, int ARow)
{
    // The text is the image's index only in a cell that showed one: another cell keeps its text.
    if (RemoveCellGraphicOfType(ACol, ARow, ctDataImage))
        SetCells(ACol, ARow, UnicodeString());
}

void TExtStringGrid::AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val)
{
    if (!GridImages())
        return;
    if (TCellGraphic *g = NewGraphic(ACol, ARow))
        g->SetMultiImage(ACol, ARow, Dir, hal, val, [this](TObject *, int c, int r) { RepaintRealCell(c, r); });
}

void TExtStringGrid::RemoveMultiImage(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctImages);
}

TIntList *TExtStringGrid::GetCellImages(int ACol, int ARow)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    return g && g->CellType() == ctImages ? dynamic_cast<TIntList *>(g->CellObject()) : nullptr;
}

// ---- progress bars and indicators ----

void TExtStringGrid::SetProgressColors(int ACol, int ARow, TColor FGColor, TColor BKColor)
{
    TCellGraphic *g = NewGraphic(ACol, ARow);
    if (!g)
        return;
    g->SetCellType(ctProgress);
    g->SetCellColor(FGColor);
    g->SetCellColorTo(BKColor);
    g->SetCellErrFrom(0);
    g->SetCellErrLen(100);
    g->SetCellBoolean(false);
    g->SetCellText(UnicodeString());
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
    if (FAutoNumAlign)
        SetAlignments(ACol, ARow, taRightJustify);
}

void TExtStringGrid::AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor)
{
    SetProgressColors(ACol, ARow, FGColor, BKColor);
}

void TExtStringGrid::AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                   TColor BKTextColor)
{
    SetProgressColors(ACol, ARow, FGColor, BKColor);
    if (TCellGraphic *g = GraphicOfType(ACol, ARow, ctProgress)) {
        g->SetCellIndex(FGTextColor);
        g->SetCellAngle(BKTextColor);
        g->SetCellBoolean(true);
    }
}

void TExtStringGrid::AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                          TColor BKTextColor, const UnicodeString &Fmt, int Min, int Max)
{
    AddProgressEx(ACol, ARow, FGColor, FGTextColor, BKColor, BKTextColor);
    if (TCellGraphic *g = GraphicOfType(ACol, ARow, ctProgress)) {
        g->SetCellText(Fmt);
        g->SetCellErrFrom(Min);
        g->SetCellErrLen(Max);
    }
}

bool TExtStringGrid::HasProgress(int ACol, int ARow)
{
    return HasCellTypeIn(ACol, ARow, {ctProgress});
}

void TExtStringGrid::RemoveProgress(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctProgress);
}

void TExtStringGrid::AddExtProgress(int ACol, int ARow, int Min, int Max)
{
    TCellGraphic *g = NewGraphic(ACol, ARow);
    if (!g)
        return;
    g->SetCellType(ctXPProgress);
    g->SetCellErrFrom(Min);
    g->SetCellErrLen(Max);
    g->SetCellBoolean(false);
    g->SetCellText(UnicodeString());
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
}

void TExtStringGrid::RemoveExtProgress(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctXPProgress);
}

void TExtStringGrid::AddProgressPie(int ACol, int ARow, TColor Color, int Value)
{
    TCellGraphic *g = NewGraphic(ACol, ARow);
    if (!g)
        return;
    g->SetCellType(ctProgressPie);
    g->SetCellColor(Color);
    g->SetCellAngle(Value);
    g->SetCellHAlign(haBeforeText);
    g->SetCellVAlign(vaTop);
}

void TExtStringGrid::SetProgressPie(int ACol, int ARow, int Value)
{
    if (TCellGraphic *g = GraphicOfType(ACol, ARow, ctProgressPie)) {
        g->SetCellAngle(Value);
        RepaintRealCell(ACol, ARow);
    }
}

void TExtStringGrid::RemoveProgressPie(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctProgressPie);
}

void TExtStringGrid::AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor,
                                       bool ShowValue)
{
    TCellGraphic *g = NewGraphic(ACol, ARow);
    if (!g)
        return;
    g->SetCellType(ctRangeIndicator);
    g->SetCellIndex(Range);
    g->SetCellColor(NegColor);
    g->SetCellColorTo(PosColor);
    g->SetCellBoolean(ShowValue);
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
}

void TExtStringGrid::RemoveRangeIndicator(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctRangeIndicator);
}

// ---- comments ----

void TExtStringGrid::AddColorComment(int ACol, int ARow, const UnicodeString &Comment, TColor Color)
{
    TCellGraphic *g = NewGraphic(ACol, ARow);
    if (!g)
        return;
    g->SetCellType(ctComment);
    g->SetCellText(Comment);
    g->SetCellIndex(Color);
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
}

void TExtStringGrid::AddComment(int ACol, int ARow, const UnicodeString &Comment)
{
    AddColorComment(ACol, ARow, Comment, FControlLook->CommentColor);
}

bool TExtStringGrid::IsComment(int ACol, int ARow, UnicodeString &comment)
{
    const TCellGraphic *g = GraphicOfType(ACol, ARow, ctComment);
    if (!g)
        return false;
    comment = g->CellText();
    return true;
}

UnicodeString TExtStringGrid::GetComment(int ACol, int ARow)
{
    UnicodeString comment;
    IsComment(ACol, ARow, comment);
    return comment;
}

void TExtStringGrid::SetComment(int ACol, int ARow, const UnicodeString &Value)
{
    TCellGraphic *g = SlotGraphic(ACol, ARow);
    if (!g) {
        AddComment(ACol, ARow, Value);
    } else if (g->CellType() == ctComment) {
        g->SetCellText(Value);
        RepaintRealCell(ACol, ARow);
    }
}

void TExtStringGrid::RemoveComment(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctComment);
}

void TExtStringGrid::RemoveAllComments()
{
    for (int c = 0; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r)
            RemoveComment(c, r);
}

// ---- shapes and ratings ----

void TExtStringGrid::AddShape(int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor,
                              TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic *g = NewGraphic(ACol, ARow);
    if (!g)
        return;
    g->SetCellType(ctShape);
    g->SetCellAngle(static_cast<int>(Shape));
    g->SetCellIndex(FillColor);
    g->SetCellColor(LineColor);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
}

void TExtStringGrid::SetShapeColor(int ACol, int ARow, TColor FillColor)
{
    if (TCellGraphic *g = GraphicOfType(ACol, ARow, ctShape))
        g->SetCellIndex(FillColor);
}

TColor TExtStringGrid::GetShapeColor(int ACol, int ARow)
{
    const TCellGraphic *g = GraphicOfType(ACol, ARow, ctShape);
    return g ? static_cast<TColor>(g->CellIndex()) : clNone;
}

void TExtStringGrid::RemoveShape(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctShape);
}

void TExtStringGrid::AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor)
{
    TCellGraphic *g = NewGraphic(ACol, ARow);
    if (!g)
        return;
    g->SetCellType(ctRating);
    g->SetCellAngle(Scale);
    g->SetCellIndex(FillColor);
    g->SetCellColor(EmptyColor);
    g->SetCellHAlign(haFull);
}

bool TExtStringGrid::HasRating(int ACol, int ARow)
{
    return HasCellTypeIn(ACol, ARow, {ctRating});
}

void TExtStringGrid::RemoveRating(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctRating);
}

// ---- in-cell scroll bars ----
// Page size in CellAngle, range in CellErrFrom, position in CellIndex, auto range in CellBoolean.

void TExtStringGrid::AddScrollBar(int ACol, int ARow, bool AutoRange)
{
    TCellGraphic *g = NewGraphic(ACol, ARow);
    if (!g)
        return;
    g->SetCellType(ctScrollbar);
    g->SetCellAngle(0);
    g->SetCellErrFrom(100);
    g->SetCellBoolean(AutoRange);
    if (AutoRange)
        CellTextSet(ACol, ARow);
}

bool TExtStringGrid::HasScrollBar(int ACol, int ARow)
{
    return HasCellTypeIn(ACol, ARow, {ctScrollbar});
}

bool TExtStringGrid::HasAutoRangeScrollBar(int ACol, int ARow)
{
    const TCellGraphic *g = BaseGraphicOfType(ACol, ARow, ctScrollbar);
    return g && g->CellBoolean();
}

void TExtStringGrid::SetScrollPosition(int ACol, int ARow, int Pos)
{
    if (TCellGraphic *g = BaseGraphicOfType(ACol, ARow, ctScrollbar)) {
        g->SetCellIndex(Pos);
        RepaintRealCell(ACol, ARow);
    }
}

int TExtStringGrid::GetScrollPosition(int ACol, int ARow)
{
    const TCellGraphic *g = BaseGraphicOfType(ACol, ARow, ctScrollbar);
    return g ? g->CellIndex() : -1;
}

void TExtStringGrid::SetScrollProp(int ACol, int ARow, TScrollProp Prop)
{
    if (TCellGraphic *g = BaseGraphicOfType(ACol, ARow, ctScrollbar)) {
        g->SetCellAngle(Prop.PageSize);
        g->SetCellErrFrom(Prop.Range);
    }
}

TScrollProp TExtStringGrid::GetScrollProp(int ACol, int ARow)
{
    const TCellGraphic *g = BaseGraphicOfType(ACol, ARow, ctScrollbar);
    if (!g)
        return {-1, -1};
    return {g->CellAngle(), g->CellErrFrom()};
}

void TExtStringGrid::RemoveScrollBar(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctScrollbar);
}

void TExtStringGrid::CellTextSet(int ACol, int ARow)
{
    // An auto-range scroll bar scrolls the cell's text: one page is the row, the range the text.
    if (!HasAutoRangeScrollBar(ACol, ARow))
        return;
    const TPoint size = GetCellTextSize(ACol, ARow, true, false);
    SetScrollProp(ACol, ARow, {RowHeights(ARow), size.Y});
}

// ---- markers ----
// A marker lives in the error range of the cell's graphic. Progress bars keep their minimum and
// maximum there, scroll bars their range and nodes their sub-node count: those take no marker.

namespace {

bool KeepsOwnErrorRange(TCellType T)
{
    return T == ctProgress || T == ctXPProgress || T == ctScrollbar || T == ctNode;
}

} // namespace

void TExtStringGrid::AddMarker(int ACol, int ARow, int ErrPos, int ErrLen)
{
    TCellGraphic *g = SlotGraphic(ACol, ARow);
    if (g && KeepsOwnErrorRange(g->CellType()))
        return;
    if (!g) {
        g = NewGraphic(ACol, ARow);
        if (!g)
            return;
        g->SetCellType(ctEmpty);
    }
    g->SetCellErrFrom(ErrPos);
    g->SetCellErrLen(ErrLen);
    RepaintRealCell(ACol, ARow);
}

void TExtStringGrid::GetMarker(int ACol, int ARow, int &ErrPos, int &ErrLen)
{
    ErrPos = 0;
    ErrLen = 0;
    if (const TCellGraphic *g = SlotGraphic(ACol, ARow); g && !KeepsOwnErrorRange(g->CellType())) {
        ErrPos = g->CellErrFrom();
        ErrLen = g->CellErrLen();
    }
}

void TExtStringGrid::RemoveMarker(int ACol, int ARow)
{
    TCellGraphic *g = SlotGraphic(ACol, ARow);
    if (!g || KeepsOwnErrorRange(g->CellType()))
        return;
    if (g->CellType() == ctEmpty) {
        RemoveCellGraphic(ACol, ARow);
        return;
    }
    g->SetCellErrFrom(0);
    g->SetCellErrLen(0);
    RepaintRealCell(ACol, ARow);
}

void TExtStringGrid::RemoveAllMarkers()
{
    for (int c = 0; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r)
            RemoveMarker(c, r);
}

// ---- rotated text ----

void TExtStringGrid::AddRotated(int ACol, int ARow, SmallInt AAngle, const UnicodeString &s)
{
    TCellGraphic *g = NewGraphic(ACol, ARow);
    if (!g)
        return;
    g->SetAngle(AAngle);
    SetCells(ACol, ARow, s);
}

void TExtStringGrid::SetRotated(int ACol, int ARow, SmallInt AAngle)
{
    TCellGraphic *g = SlotGraphic(ACol, ARow);
    if (!g)
        g = NewGraphic(ACol, ARow);
    if (!g)
        return;
    // Rotated text frees nothing when it goes: what the old kind owned is freed now.
    g->ReleaseOwnedObject();
    g->SetAngle(AAngle);
    RepaintRealCell(ACol, ARow);
}

bool TExtStringGrid::IsRotated(int ACol, int ARow, int &aAngle)
{
    const TCellGraphic *g = GraphicOfType(ACol, ARow, ctRotated);
    if (!g)
        return false;
    aAngle = g->CellAngle();
    return true;
}

void TExtStringGrid::RemoveRotated(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctRotated);
}

// ---- balloons ----
// A balloon is a list of two lines, title and text, with the icon's ordinal in CellIndex. A check
// box or radio button carries it itself and marks that with CellAngle 1.

namespace {

bool CarriesBalloon(TCellType T)
{
    return T == ctCheckBox || T == ctDataCheckBox || T == ctRadioButton;
}

} // namespace

void TExtStringGrid::AddBalloon(int ACol, int ARow, const UnicodeString &Title, const UnicodeString &Text,
                                TBalloonIcon Icon)
{
    TCellGraphic *g = SlotGraphic(ACol, ARow);
    if (g) {
        if (!CarriesBalloon(g->CellType()))
            return;
        // A balloon the control already carries is replaced, not left behind.
        if (g->CellAngle() == 1)
            delete g->CellObject();
        g->SetCellObject(nullptr);
        g->SetCellAngle(1);
    } else {
        g = NewGraphic(ACol, ARow);
        if (!g)
            return;
        g->SetCellType(ctBalloon);
        g->SetCellAngle(0);
    }
    auto *lines = new TStringList();
    lines->Add(Title);
    lines->Add(Text);
    g->SetCellIndex(static_cast<int>(Icon));
    g->SetCellObject(lines);
}

bool TExtStringGrid::IsBalloon(int ACol, int ARow, UnicodeString &Title, UnicodeString &Text, TBalloonIcon &Icon)
{
    const TCellGraphic *g = SlotGraphic(ACol, ARow);
    if (!g || !(g->CellType() == ctBalloon || (CarriesBalloon(g->CellType()) && g->CellAngle() == 1)))
        return false;
    auto *lines = dynamic_cast<TStrings *>(g->CellObject());
    if (!lines)
        return false;
    Title = lines->Count() > 0 ? lines->Strings(0) : UnicodeString();
    Text = lines->Count() > 1 ? lines->Strings(1) : UnicodeString();
    Icon = static_cast<TBalloonIcon>(g->CellIndex());
    return true;
}

bool TExtStringGrid::HasBalloon(int ACol, int ARow)
{
    return HasCellTypeIn(ACol, ARow, {ctBalloon});
}

void TExtStringGrid::RemoveBalloon(int ACol, int ARow)
{
    TCellGraphic *g = SlotGraphic(ACol, ARow);
    if (!g)
        return;
    if (CarriesBalloon(g->CellType())) {
        if (g->CellAngle() == 1) {
            delete g->CellObject();
            g->SetCellObject(nullptr);
            g->SetCellAngle(0);
            RepaintRealCell(ACol, ARow);
        }
        return;
    }
    RemoveCellGraphicOfType(ACol, ARow, ctBalloon);
}

// ---- questions to the application ----

void TExtStringGrid::DoCanAddRow(bool &CanAdd)
{
    if (OnCanAddRow)
        OnCanAddRow(this, CanAdd);
}

void TExtStringGrid::DoCanInsertRow(int ARow, bool &CanInsert)
{
    if (OnCanInsertRow)
        OnCanInsertRow(this, ARow, CanInsert);
}

bool TExtStringGrid::DoRatingChange(int ACol, int ARow, double &NewRate)
{
    bool allow = true;
    if (OnRatingChange)
        OnRatingChange(this, ACol, ARow, NewRate, allow);
    return allow;
}
