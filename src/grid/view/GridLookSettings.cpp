// The look settings objects of the string grid.
#include "grid/view/GridLookSettings.h"

#include "grid/core/ExtGrid.h"

#include "controls/MiniHTML.h"

// ---- TControlLook ----

TControlLook::TControlLook(TExtStringGrid *AGrid)
    : FGrid(AGrid), FUnCheckedGlyph(std::make_unique<TBitmap>()), FCheckedGlyph(std::make_unique<TBitmap>()),
      FRadioOffGlyph(std::make_unique<TBitmap>()), FRadioOnGlyph(std::make_unique<TBitmap>())
{
    Init();
    DropDownHeader = new THeaderAppearance(this);
    DropDownFooter = new TFooterAppearance(this);
}

TControlLook::~TControlLook()
{
    delete DropDownHeader;
    delete DropDownFooter;
}

void TControlLook::Init()
{
    FColor = TColorOf(0);
    CommentColor = clRed;
    FProgressBorderColor = clGray;
    FFixedGradientFrom = clNone;
    FFixedGradientTo = clNone;
    FFixedGradientMirrorFrom = clNone;
    FFixedGradientMirrorTo = clNone;
    FFixedGradientHoverFrom = clWhite;
    FFixedGradientHoverTo = clGray;
    FFixedGradientHoverBorder = clSilver;
    FFixedGradientDownFrom = clSilver;
    FFixedGradientDownTo = clGray;
    FFixedGradientDownBorder = clGray;
    SetFixedGradientHoverMirrorFrom(clNone);
    SetFixedGradientHoverMirrorTo(clNone);
    SetFixedGradientDownMirrorFrom(clNone);
    SetFixedGradientDownMirrorTo(clNone);
}

void TControlLook::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TControlLook *>(Source);
    if (!s || s == this)
        return;
    CheckSize = s->CheckSize;
    RadioSize = s->RadioSize;
    FControlStyle = s->FControlStyle;
    FCheckedGlyph->Assign(s->FCheckedGlyph.get());
    FUnCheckedGlyph->Assign(s->FUnCheckedGlyph.get());
    FRadioOnGlyph->Assign(s->FRadioOnGlyph.get());
    FRadioOffGlyph->Assign(s->FRadioOffGlyph.get());
    FProgressMarginX = s->FProgressMarginX;
    FProgressMarginY = s->FProgressMarginY;
    CommentColor = s->CommentColor;
    FColor = s->FColor;
    FProgressBorderColor = s->FProgressBorderColor;
    CheckAlwaysActive = s->CheckAlwaysActive;
    RadioAlwaysActive = s->RadioAlwaysActive;
    FFixedGradientFrom = s->FFixedGradientFrom;
    FFixedGradientTo = s->FFixedGradientTo;
    FFixedGradientMirrorFrom = s->FFixedGradientMirrorFrom;
    FFixedGradientMirrorTo = s->FFixedGradientMirrorTo;
    FFixedGradientHoverFrom = s->FFixedGradientHoverFrom;
    FFixedGradientHoverTo = s->FFixedGradientHoverTo;
    FFixedGradientHoverMirrorFrom = s->FFixedGradientHoverMirrorFrom;
    FFixedGradientHoverMirrorTo = s->FFixedGradientHoverMirrorTo;
    FFixedGradientHoverBorder = s->FFixedGradientHoverBorder;
    FFixedGradientDownFrom = s->FFixedGradientDownFrom;
    FFixedGradientDownTo = s->FFixedGradientDownTo;
    FFixedGradientDownMirrorFrom = s->FFixedGradientDownMirrorFrom;
    FFixedGradientDownMirrorTo = s->FFixedGradientDownMirrorTo;
    FFixedGradientDownBorder = s->FFixedGradientDownBorder;
    DropDownAlwaysVisible = s->DropDownAlwaysVisible;
    SpinButtonsAlwaysVisible = s->SpinButtonsAlwaysVisible;
    DropDownCount = s->DropDownCount;
    DropDownFooter->Assign(s->DropDownFooter);
    DropDownHeader->Assign(s->DropDownHeader);
    FHintMaxWidth = s->FHintMaxWidth;
}

void TControlLook::SetControlStyle(TControlStyle Value)
{
    if (Value == FControlStyle)
        return;
    FControlStyle = Value;
    Changed();
}

void TControlLook::Changed()
{
    if (FGrid)
        FGrid->Invalidate();
}

void TControlLook::CopyGlyph(TBitmap *Glyph, TBitmap *Value)
{
    Glyph->Assign(Value);
    Changed();
}

// The grid's header colours follow the look: plain, hover and pressed colours only when set,
// the mirror colours always (clNone there switches the mirror half off).
void TControlLook::SetFixedGradientFrom(TColor Value)
{
    FFixedGradientFrom = Value;
    if (FGrid && Value != clNone)
        FGrid->SetQRVGradientFrom(Value);
}

void TControlLook::SetFixedGradientTo(TColor Value)
{
    FFixedGradientTo = Value;
    if (FGrid && Value != clNone)
        FGrid->SetQRVGradientTo(Value);
}

void TControlLook::SetFixedGradientMirrorFrom(TColor Value)
{
    FFixedGradientMirrorFrom = Value;
    if (FGrid)
        FGrid->SetQRVGradientMirrorFrom(Value);
}

void TControlLook::SetFixedGradientMirrorTo(TColor Value)
{
    FFixedGradientMirrorTo = Value;
    if (FGrid)
        FGrid->SetQRVGradientMirrorTo(Value);
}

void TControlLook::SetFixedGradientHoverFrom(TColor Value)
{
    FFixedGradientHoverFrom = Value;
    if (FGrid && Value != clNone)
        FGrid->SetQRVGradientHoverFrom(Value);
}

void TControlLook::SetFixedGradientHoverTo(TColor Value)
{
    FFixedGradientHoverTo = Value;
    if (FGrid && Value != clNone)
        FGrid->SetQRVGradientHoverTo(Value);
}

void TControlLook::SetFixedGradientHoverMirrorFrom(TColor Value)
{
    FFixedGradientHoverMirrorFrom = Value;
    if (FGrid)
        FGrid->SetQRVGradientHoverMirrorFrom(Value);
}

void TControlLook::SetFixedGradientHoverMirrorTo(TColor Value)
{
    FFixedGradientHoverMirrorTo = Value;
    if (FGrid)
        FGrid->SetQRVGradientHoverMirrorTo(Value);
}

void TControlLook::SetFixedGradientHoverBorder(TColor Value)
{
    FFixedGradientHoverBorder = Value;
    if (FGrid && Value != clNone)
        FGrid->SetQRVGradientHoverBorder(Value);
}

void TControlLook::SetFixedGradientDownFrom(TColor Value)
{
    FFixedGradientDownFrom = Value;
    if (FGrid && Value != clNone)
        FGrid->SetQRVGradientDownFrom(Value);
}

void TControlLook::SetFixedGradientDownTo(TColor Value)
{
    FFixedGradientDownTo = Value;
    if (FGrid && Value != clNone)
        FGrid->SetQRVGradientDownTo(Value);
}

void TControlLook::SetFixedGradientDownMirrorFrom(TColor Value)
{
    FFixedGradientDownMirrorFrom = Value;
    if (FGrid)
        FGrid->SetQRVGradientDownMirrorFrom(Value);
}

void TControlLook::SetFixedGradientDownMirrorTo(TColor Value)
{
    FFixedGradientDownMirrorTo = Value;
    if (FGrid)
        FGrid->SetQRVGradientDownMirrorTo(Value);
}

void TControlLook::SetFixedGradientDownBorder(TColor Value)
{
    FFixedGradientDownBorder = Value;
    if (FGrid && Value != clNone)
        FGrid->SetQRVGradientDownBorder(Value);
}

// ---- TBackGround ----

TBackGround::TBackGround(TExtStringGrid *AGrid) : FGrid(AGrid), FBitmap(std::make_unique<TBitmap>()) {}

TBackGround::~TBackGround() = default;

void TBackGround::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TBackGround *>(Source);
    if (!s || s == this)
        return;
    Top = s->Top;
    Left = s->Left;
    Display = s->Display;
    Cells = s->Cells;
    ColorTo = s->ColorTo;
    Color = s->Color;
    FBitmap->Assign(s->FBitmap.get());
    Changed();
}

void TBackGround::SetBitmap(TBitmap *Value)
{
    FBitmap->Assign(Value);
    Changed();
}

bool TBackGround::HasBitmap() const
{
    return !FBitmap->Empty();
}

void TBackGround::Changed()
{
    if (FGrid)
        FGrid->Invalidate();
}

// ---- TGridProgressAppearance ----

void TGridProgressAppearance::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TGridProgressAppearance *>(Source);
    if (!s || s == this)
        return;
    FUnCompleteFontColor = s->FUnCompleteFontColor;
    FCompleteColor = s->FCompleteColor;
    FUnCompleteColor = s->FUnCompleteColor;
    FCompleteFontColor = s->FCompleteFontColor;
    FStacked = s->FStacked;
    FShowPercentage = s->FShowPercentage;
    FShowBorder = s->FShowBorder;
    FCompletionSmooth = s->FCompletionSmooth;
    FShowGradient = s->FShowGradient;
    FLevel2Perc = s->FLevel2Perc;
    FLevel1Perc = s->FLevel1Perc;
    FSteps = s->FSteps;
    FLevel3Color = s->FLevel3Color;
    FLevel1Color = s->FLevel1Color;
    FLevel0Color = s->FLevel0Color;
    FLevel3ColorTo = s->FLevel3ColorTo;
    FLevel2ColorTo = s->FLevel2ColorTo;
    FLevel0ColorTo = s->FLevel0ColorTo;
    FLevel1ColorTo = s->FLevel1ColorTo;
    FBorderColor = s->FBorderColor;
    FLevel2Color = s->FLevel2Color;
    FStyle = s->FStyle;
    Changed();
}

// ---- TDragScrollOptions ----

void TDragScrollDelays::Assign(TPersistent *Source)
{
    if (auto *s = dynamic_cast<TDragScrollDelays *>(Source)) {
        InitialDelay = s->InitialDelay;
        RepeatDelay = s->RepeatDelay;
    }
}

void TDragScrollMargins::Assign(TPersistent *Source)
{
    if (auto *s = dynamic_cast<TDragScrollMargins *>(Source)) {
        TopMargin = s->TopMargin;
        BottomMargin = s->BottomMargin;
        LeftMargin = s->LeftMargin;
        RightMargin = s->RightMargin;
    }
}

TDragScrollOptions::TDragScrollOptions()
    : FDelays(std::make_unique<TDragScrollDelays>()), FMargins(std::make_unique<TDragScrollMargins>())
{
}

TDragScrollOptions::~TDragScrollOptions() = default;

void TDragScrollOptions::Assign(TPersistent *Source)
{
    if (auto *s = dynamic_cast<TDragScrollOptions *>(Source)) {
        FMargins->Assign(s->FMargins.get());
        FDelays->Assign(s->FDelays.get());
        Active = s->Active;
    }
}

// ---- the grid's own look properties ----

void TExtStringGrid::SetRowIndicator(TBitmap *Value)
{
    FRowIndicator->Assign(Value);
    if (Row() >= 0 && Row() < RowCount())
        RepaintCell(0, Row());
}

void TExtStringGrid::SetBackGround(TBackGround *Value)
{
    FBackGround->Assign(Value);
    Invalidate();
}

void TExtStringGrid::SetHighlightColor(TColor Value)
{
    if (Value == FHighlightColor)
        return;
    FHighlightColor = Value;
    SetHtmlHighlightColors(FHighlightColor, FHighLightTextColor);
    Invalidate();
}

void TExtStringGrid::SetHighlightTextColor(TColor Value)
{
    if (Value == FHighLightTextColor)
        return;
    FHighLightTextColor = Value;
    SetHtmlHighlightColors(FHighlightColor, FHighLightTextColor);
    Invalidate();
}
