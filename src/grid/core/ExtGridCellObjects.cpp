// Cell objects: the graphic of a cell, the look of tree nodes, the size-while-typing switches,
// the grid's cell graphic slot and its tri-state check boxes.
#include "grid/core/ExtGrid.h"

#include <cmath>

// ---- TCellGraphic ----

TCellGraphic::TCellGraphic() = default;

TCellGraphic::~TCellGraphic() { ReleaseOwned(); }

bool TCellGraphic::OwnsObject() const
{
    switch (FCellType) {
    case ctBitmap: case ctRadio: case ctPicture: case ctFilePicture: case ctBitButton:
        return FCellCreated;
    case ctImages: case ctBalloon:
        return true;
    case ctCheckBox: case ctDataCheckBox: case ctRadioButton:
        return FCellAngle == 1;
    default:
        return false;
    }
}

void TCellGraphic::ReleaseOwned()
{
    if (FCellBitmap && OwnsObject())
        delete FCellBitmap;
    if (FCellIcon && FCellType == ctIcon && FCellCreated)
        delete FCellIcon;
    FCellBitmap = nullptr;
    FCellIcon = nullptr;
}

void TCellGraphic::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TCellGraphic *>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    if (src == this)
        return;
    // Whatever this graphic owned goes now: the copy refers to no object, so it can neither free
    // an object of the source nor keep one of its own unreachable.
    ReleaseOwned();
    FCellType = src->FCellType;
    FCellVAlign = src->FCellVAlign;
    FCellHAlign = src->FCellHAlign;
    FCellIndex = src->FCellIndex;
    FCellTransparent = src->FCellTransparent;
    FCellValue = src->FCellValue;
    FCellAngle = src->FCellAngle;
    FCellBoolean = src->FCellBoolean;
    FCellErrFrom = src->FCellErrFrom;
    FCellErrLen = src->FCellErrLen;
    FCellText = src->FCellText;
    FCellColor = src->FCellColor;
    FCellColorTo = src->FCellColorTo;
    FCellCreated = false;
}

void TCellGraphic::SetBitmap(TBitmap *ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctBitmap;
    FCellBitmap = ABmp;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellTransparent = Transparent;
}

void TCellGraphic::SetIcon(TIcon *aicon, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctIcon;
    FCellIcon = aicon;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctImageList;
    FCellIndex = idx;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetDataImage(int idx, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctDataImage;
    FCellIndex = idx;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val, TImageChangeEvent Notifier)
{
    ReleaseOwned();
    FCellType = ctImages;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellBoolean = dir == 0;
    auto *list = new TIntList(Col, Row);
    list->OnChange = std::move(Notifier);
    FCellBitmap = list;
    FCellCreated = true;
}

void TCellGraphic::SetPicture(TPicture *APicture, bool Transparent, TStretchMode StretchMode, int padding,
                              TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctPicture;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellBitmap = APicture;
    FCellTransparent = Transparent;
    FCellAngle = int(StretchMode);
    FCellIndex = padding;
}

void TCellGraphic::SetFilePicture(TFilePicture *APicture, bool Transparent, TStretchMode stretchmode, int padding,
                                  TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctFilePicture;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellBitmap = APicture;
    FCellTransparent = Transparent;
    FCellAngle = int(stretchmode);
    FCellIndex = padding;
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    FCellType = Data ? ctDataCheckBox : ctCheckBox;
    FCellAngle = 0;
    FCellBoolean = Value;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellTransparent = Flat;
}

void TCellGraphic::SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctTriStateCheckBox;
    FCellCheckBoxState = Value;
    FCellBoolean = false;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellTransparent = Flat;
}

void TCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctRadioButton;
    FCellAngle = 0;
    FCellBoolean = Value;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellTransparent = Flat;
}

void TCellGraphic::SetButton(int bw, int bh, const UnicodeString &caption, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctButton;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellIndex = int((unsigned(bh) << 16) | (unsigned(bw) & 0xFFFFu));
    FCellBoolean = false;
    FCellText = caption;
}

void TCellGraphic::SetBitButton(int bw, int bh, const UnicodeString &caption, TBitmap *Glyph, TCellHAlign hal,
                                TCellVAlign val)
{
    SetButton(bw, bh, caption, hal, val);
    FCellType = ctBitButton;
    FCellBitmap = Glyph;
}

void TCellGraphic::SetAngle(SmallInt AAngle)
{
    FCellType = ctRotated;
    int a = AAngle;
    while (a < 0)
        a += 360;
    while (a > 360)
        a -= 360;
    FCellAngle = a;
}

void TCellGraphic::SetInterfacedCell(TInterfacedPersistent *AObject)
{
    FCellType = ctInterface;
    FCellBitmap = AObject;
}

TPoint TCellGraphic::GetPictureSize(int cw, int rh, bool hastext) const
{
    TPoint r{0, 0};
    int w = 0, h = 0;
    if (FCellType == ctPicture) {
        if (auto *p = dynamic_cast<TPicture *>(FCellBitmap)) {
            w = p->Width();
            h = p->Height();
        }
    } else if (FCellType == ctFilePicture) {
        if (auto *p = dynamic_cast<TFilePicture *>(FCellBitmap)) {
            w = p->Width();
            h = p->Height();
        }
    } else {
        return r;
    }
    cw -= FCellIndex;
    rh -= FCellIndex;
    // Halves go to the even neighbour, as the classic rounding does.
    auto rnd = [](double v) { return int(std::nearbyint(v)); };
    auto aspect = [&](bool cap) {
        double rw = w > 0 ? double(cw) / w : 1.0;
        double rr = h > 0 ? double(rh) / h : 1.0;
        if (cap) {
            rw = std::min(rw, 1.0);
            rr = std::min(rr, 1.0);
        }
        if (rw >= rr)
            return TPoint{rnd(w * rr), rh};
        return TPoint{cw, rnd(h * rw)};
    };
    const bool fits = cw >= w && rh >= h;
    switch (TStretchMode(FCellAngle)) {
    case Stretch: r = {cw, rh}; break;
    case StretchWithAspectRatio: r = aspect(false); break;
    case Shrink: r = fits ? TPoint{w, h} : TPoint{cw, rh}; break;
    case ShrinkWithAspectRatio: r = fits ? TPoint{w, h} : aspect(true); break;
    default: r = {w, h}; break;
    }
    return r;
}

// ---- TCellNode ----

TCellNode::TCellNode(TExtStringGrid *AOwner) : FExpandGlyph(new TBitmap()), FContractGlyph(new TBitmap()), FOwner(AOwner) {}

TCellNode::~TCellNode()
{
    delete FExpandGlyph;
    delete FContractGlyph;
}

void TCellNode::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TCellNode *>(Source);
    if (!src)
        return;
    FColor = src->FColor;
    FExpandOne = src->FExpandOne;
    FNodeType = src->FNodeType;
    FNodeColor = src->FNodeColor;
    FNodeIndent = src->FNodeIndent;
    FExpandGlyph->Assign(src->FExpandGlyph);
    FContractGlyph->Assign(src->FContractGlyph);
    FShowTree = src->FShowTree;
    FShowTreeFull = src->FShowTreeFull;
    FTreeColor = src->FTreeColor;
}

void TCellNode::Repaint()
{
    if (FOwner)
        FOwner->Invalidate();
}

void TCellNode::SetNodeType(TNodeType Value)
{
    if (Value != FNodeType) {
        FNodeType = Value;
        Repaint();
    }
}

void TCellNode::SetNodeIndent(int Value)
{
    if (Value != FNodeIndent) {
        FNodeIndent = Value;
        Repaint();
    }
}

void TCellNode::SetShowTree(bool Value)
{
    if (Value != FShowTree) {
        FShowTree = Value;
        Repaint();
    }
}

void TCellNode::SetShowTreeFull(bool Value)
{
    if (Value != FShowTreeFull) {
        FShowTreeFull = Value;
        Repaint();
    }
}

void TCellNode::SetTreeColor(TColor Value)
{
    if (Value != FTreeColor) {
        FTreeColor = Value;
        Repaint();
    }
}

void TCellNode::SetExpandGlyph(TBitmap *Value) { FExpandGlyph->Assign(Value); }

void TCellNode::SetContractGlyph(TBitmap *Value) { FContractGlyph->Assign(Value); }

TSizeWhileTyping::TSizeWhileTyping() = default;
TSizeWhileTyping::~TSizeWhileTyping() = default;

// ---- the cell graphic slot ----

bool TExtStringGrid::SharedGraphic(const TCellGraphic *G) const
{
    // The grid's row check box answers for column 0 but never sits in a slot; every graphic in a
    // slot belongs to that cell (the base grid frees what is left in the slots).
    return G == FCellGraphic;
}

TCellGraphic *TExtStringGrid::RowCheckGraphic(int ARow)
{
    FCellGraphic->SetCellType(ctRowCheckBox);
    if (ARow == 0) {
        int selected = 0;
        const int normal = RowCount() - FixedRows();
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (GetRowSelect(r))
                ++selected;
        FCellGraphic->SetCellAngle(selected > 0 && selected < normal ? 1 : 0);
        FCellGraphic->SetCellBoolean(normal > 0 && selected == normal);
    } else {
        FCellGraphic->SetCellAngle(0);
        FCellGraphic->SetCellBoolean(GetRowSelect(ARow));
    }
    FCellGraphic->SetCellTransparent(FControlLook->ControlStyle() == TControlLook::csFlat);
    return FCellGraphic;
}

TCellType TExtStringGrid::GetCellType(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return ctEmpty;
    if (ACol == 0 && FMouseActions->HotmailRowSelect())
        return ctRowCheckBox;
    if (!CellHasProperties(ACol, ARow))
        return ctEmpty;
    auto *g = dynamic_cast<TCellGraphic *>(PropsOf(ACol, ARow)->GraphicObject());
    return g ? g->CellType() : ctEmpty;
}

TCellGraphic *TExtStringGrid::GetCellGraphic(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return nullptr;
    if (ACol == 0 && FMouseActions->HotmailRowSelect())
        return RowCheckGraphic(ARow);
    if (!CellHasProperties(ACol, ARow))
        return nullptr;
    return dynamic_cast<TCellGraphic *>(PropsOf(ACol, ARow)->GraphicObject());
}

TCellGraphic *TExtStringGrid::CreateCellGraphic(int ACol, int ARow)
{
    // The slot's own graphic, not a shared answer of GetCellGraphic.
    TCellGraphic *old = CellHasProperties(ACol, ARow)
                            ? dynamic_cast<TCellGraphic *>(PropsOf(ACol, ARow)->GraphicObject())
                            : nullptr;
    auto *g = new TCellGraphic();
    SetGraphicObjects(ACol, ARow, g);
    if (old && !SharedGraphic(old))
        delete old;
    if (NumHiddenColumns() > 0 && DisplColIndex(ACol) != ACol)
        RepaintCell(DisplColIndex(ACol), ARow);
    return g;
}

bool TExtStringGrid::RemoveCellGraphic(int ACol, int ARow)
{
    if (!GetCellGraphic(ACol, ARow))
        return false;
    // The slot's own graphic: under a row check-box column the shared answer stays the grid's.
    TCellGraphic *g = CellHasProperties(ACol, ARow)
                          ? dynamic_cast<TCellGraphic *>(PropsOf(ACol, ARow)->GraphicObject())
                          : nullptr;
    if (g) {
        PropsOf(ACol, ARow)->SetGraphicObject(nullptr);
        if (!SharedGraphic(g))
            delete g;
    }
    if (!DestroyingState())
        RepaintCell(ACol, ARow);
    return true;
}

bool TExtStringGrid::RemoveCellGraphicOfType(int ACol, int ARow, TCellType ACellType)
{
    if (GetCellType(ACol, ARow) != ACellType)
        return false;
    return RemoveCellGraphic(ACol, ARow);
}

// ---- tri-state check boxes ----

void TExtStringGrid::AddCheckBox(int ACol, int ARow, TCheckBoxState State)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + NumHiddenColumns() || ARow >= RowCount() + NumHiddenRows())
        throw Exception(QStringLiteral("Invalid cell"));
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    const TCellVAlign va = FVAlignment == vtaCenter ? vaCenter : FVAlignment == vtaBottom ? vaBottom : vaTop;
    g->SetCheckBox(State, true, haBeforeText, va);
}

void TExtStringGrid::AddTriStateCheckBoxColumn(int ACol, TCheckBoxState state)
{
    const int first = FMouseActions->CheckAllCheck ? 0 : FixedRows();
    for (int r = first; r < RowCount(); ++r)
        AddCheckBox(ACol, r, state);
}

bool TExtStringGrid::GetCheckBoxState(int ACol, int ARow, TCheckBoxState &state)
{
    // With rows hidden ARow is a real row: the box and its text may sit in the hidden-row store.
    bool byStore = false;
    TCellGraphic *g = CheckGraphicOf(ACol, ARow, byStore);
    if (!g)
        return false;
    switch (g->CellType()) {
    case ctCheckBox:
        state = BoolToCheckBoxState(g->CellBoolean());
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        UnicodeString t;
        DoGetCheckTrue(ACol, ARow, t);
        state = (byStore ? RealRowText(ACol, ARow) : GetCellEx(ACol, ARow)) == t ? cbChecked : cbUnchecked;
        return true;
    }
    case ctTriStateCheckBox:
        state = g->CellCheckBoxState();
        return true;
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        state = BoolToCheckBoxState(GetRowSelect(ARow));
        return true;
    default:
        return false;
    }
}
