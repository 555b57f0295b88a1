#pragma once
// The settings objects that hold the string grid's looks: the in-cell controls and header
// gradients (TControlLook), the picture or gradient behind the cells (TBackGround), the
// in-cell progress bars (TGridProgressAppearance) and the automatic scrolling while something
// is dragged over the grid (TDragScrollOptions). The grid creates them and they live as long as
// it does; the painting code reads their values directly.

#include "controls/ExtDropDown.h"
#include "grid/core/ExtGridLiveCount.h"
#include "platform/Classes.h"
#include "platform/Graphics.h"

#include <memory>

class TExtStringGrid;

class TControlLook : public TPersistent {
public:
    // A name of its own: the platform has a TControlStyle already.
    enum TControlStyle { csClassic, csFlat, csWinXP, csChiselled, csQRV, csGlyph, csTheme };

    explicit TControlLook(TExtStringGrid *AGrid);
    ~TControlLook() override;
    // The stored values only: colours put back here do not reach the grid's header gradients.
    void Init();
    // Copies the look of another TControlLook; the flat-button, progress-XP, disabled-look and
    // fixed drop-down button switches stay as they are. Another source is ignored.
    void Assign(TPersistent *Source) override;

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value);

    // Read directly by the cell controls; the setters also repaint the grid.
    int CheckSize = 15;
    int RadioSize = 10;
    int DropDownCount = 8;
    bool CheckAlwaysActive = false;
    bool RadioAlwaysActive = false;
    bool DropDownAlwaysVisible = false;
    bool SpinButtonsAlwaysVisible = false;
    TColor CommentColor = TColorOf(255);
    THeaderAppearance *DropDownHeader;
    TFooterAppearance *DropDownFooter;
    void SetCheckSize(int Value) { CheckSize = Value; Changed(); }
    void SetRadioSize(int Value) { RadioSize = Value; Changed(); }
    void SetDropDownCount(int Value) { DropDownCount = Value; }
    void SetCheckAlwaysActive(bool Value) { CheckAlwaysActive = Value; }
    void SetRadioAlwaysActive(bool Value) { RadioAlwaysActive = Value; }
    void SetDropDownAlwaysVisible(bool Value) { DropDownAlwaysVisible = Value; Changed(); }
    void SetSpinButtonsAlwaysVisible(bool Value) { SpinButtonsAlwaysVisible = Value; Changed(); }
    void SetCommentColor(TColor Value) { CommentColor = Value; Changed(); }
    void SetDropDownHeader(THeaderAppearance *Value) { DropDownHeader->Assign(Value); }
    void SetDropDownFooter(TFooterAppearance *Value) { DropDownFooter->Assign(Value); }

    TBitmap *CheckedGlyph() const { return FCheckedGlyph.get(); }
    void SetCheckedGlyph(TBitmap *Value) { CopyGlyph(FCheckedGlyph.get(), Value); }
    TBitmap *UnCheckedGlyph() const { return FUnCheckedGlyph.get(); }
    void SetUnCheckedGlyph(TBitmap *Value) { CopyGlyph(FUnCheckedGlyph.get(), Value); }
    TBitmap *RadioOnGlyph() const { return FRadioOnGlyph.get(); }
    void SetRadioOnGlyph(TBitmap *Value) { CopyGlyph(FRadioOnGlyph.get(), Value); }
    TBitmap *RadioOffGlyph() const { return FRadioOffGlyph.get(); }
    void SetRadioOffGlyph(TBitmap *Value) { CopyGlyph(FRadioOffGlyph.get(), Value); }

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; Changed(); }
    bool FlatButton() const { return FFlatButton; }
    void SetFlatButton(bool Value) { FFlatButton = Value; Changed(); }
    bool NoDisabledCheckRadioLook() const { return FNoDisabledCheckRadioLook; }
    void SetNoDisabledCheckRadioLook(bool Value) { FNoDisabledCheckRadioLook = Value; Changed(); }
    bool NoDisabledButtonLook() const { return FNoDisabledButtonLook; }
    void SetNoDisabledButtonLook(bool Value) { FNoDisabledButtonLook = Value; Changed(); }
    TColor ProgressBorderColor() const { return FProgressBorderColor; }
    void SetProgressBorderColor(TColor Value) { FProgressBorderColor = Value; }
    int ProgressMarginX() const { return FProgressMarginX; }
    void SetProgressMarginX(int Value) { FProgressMarginX = Value; Changed(); }
    int ProgressMarginY() const { return FProgressMarginY; }
    void SetProgressMarginY(int Value) { FProgressMarginY = Value; Changed(); }
    bool ProgressXP() const { return FProgressXP; }
    void SetProgressXP(bool Value) { FProgressXP = Value; Changed(); }
    bool FixedDropDownButton() const { return FFixedDropDownButton; }
    void SetFixedDropDownButton(bool Value) { FFixedDropDownButton = Value; }
    int HintMaxWidth() const { return FHintMaxWidth; }
    void SetHintMaxWidth(int Value) { FHintMaxWidth = Value; }

    // The header gradients. Setting one also sets the grid's colour of the same role: the plain,
    // hover and pressed colours and borders only when not clNone, the mirror colours always.
    TColor FixedGradientFrom() const { return FFixedGradientFrom; }
    void SetFixedGradientFrom(TColor Value);
    TColor FixedGradientTo() const { return FFixedGradientTo; }
    void SetFixedGradientTo(TColor Value);
    TColor FixedGradientMirrorFrom() const { return FFixedGradientMirrorFrom; }
    void SetFixedGradientMirrorFrom(TColor Value);
    TColor FixedGradientMirrorTo() const { return FFixedGradientMirrorTo; }
    void SetFixedGradientMirrorTo(TColor Value);
    TColor FixedGradientHoverFrom() const { return FFixedGradientHoverFrom; }
    void SetFixedGradientHoverFrom(TColor Value);
    TColor FixedGradientHoverTo() const { return FFixedGradientHoverTo; }
    void SetFixedGradientHoverTo(TColor Value);
    TColor FixedGradientHoverMirrorFrom() const { return FFixedGradientHoverMirrorFrom; }
    void SetFixedGradientHoverMirrorFrom(TColor Value);
    TColor FixedGradientHoverMirrorTo() const { return FFixedGradientHoverMirrorTo; }
    void SetFixedGradientHoverMirrorTo(TColor Value);
    TColor FixedGradientHoverBorder() const { return FFixedGradientHoverBorder; }
    void SetFixedGradientHoverBorder(TColor Value);
    TColor FixedGradientDownFrom() const { return FFixedGradientDownFrom; }
    void SetFixedGradientDownFrom(TColor Value);
    TColor FixedGradientDownTo() const { return FFixedGradientDownTo; }
    void SetFixedGradientDownTo(TColor Value);
    TColor FixedGradientDownMirrorFrom() const { return FFixedGradientDownMirrorFrom; }
    void SetFixedGradientDownMirrorFrom(TColor Value);
    TColor FixedGradientDownMirrorTo() const { return FFixedGradientDownMirrorTo; }
    void SetFixedGradientDownMirrorTo(TColor Value);
    TColor FixedGradientDownBorder() const { return FFixedGradientDownBorder; }
    void SetFixedGradientDownBorder(TColor Value);

private:
    void Changed();
    void CopyGlyph(TBitmap *Glyph, TBitmap *Value);

    TExtStringGrid *FGrid;
    std::unique_ptr<TBitmap> FUnCheckedGlyph;
    std::unique_ptr<TBitmap> FCheckedGlyph;
    TControlStyle FControlStyle = csTheme;
    TColor FColor = TColorOf(0);
    std::unique_ptr<TBitmap> FRadioOffGlyph;
    std::unique_ptr<TBitmap> FRadioOnGlyph;
    bool FFlatButton = false;
    int FProgressMarginY = 2;
    int FProgressMarginX = 2;
    bool FProgressXP = false;
    bool FNoDisabledCheckRadioLook = false;
    bool FNoDisabledButtonLook = false;
    TColor FProgressBorderColor = TColorOf(0x808080u);
    TColor FFixedGradientFrom = clNone;
    TColor FFixedGradientTo = clNone;
    TColor FFixedGradientMirrorFrom = clNone;
    TColor FFixedGradientMirrorTo = clNone;
    TColor FFixedGradientHoverFrom = TColorOf(0xFFFFFFu);
    TColor FFixedGradientHoverTo = TColorOf(0x808080u);
    TColor FFixedGradientHoverMirrorFrom = clNone;
    TColor FFixedGradientHoverMirrorTo = clNone;
    TColor FFixedGradientHoverBorder = TColorOf(0xC0C0C0u);
    TColor FFixedGradientDownFrom = TColorOf(0xC0C0C0u);
    TColor FFixedGradientDownTo = TColorOf(0x808080u);
    TColor FFixedGradientDownMirrorFrom = clNone;
    TColor FFixedGradientDownMirrorTo = clNone;
    TColor FFixedGradientDownBorder = TColorOf(0x808080u);
    bool FFixedDropDownButton = false;
    int FHintMaxWidth = 0;
    TExtGridLiveCount FCount;
};

enum TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells { bcNormal, bcFixed, bcAll };

class TBackGround : public TPersistent {
public:
    explicit TBackGround(TExtStringGrid *AGrid = nullptr);
    ~TBackGround() override;
    void Assign(TPersistent *Source) override;

    // Read directly by the painting; the setters also repaint the grid.
    int Top = 0;
    int Left = 0;
    TBackGroundDisplay Display = bdTile;
    TBackGroundCells Cells = bcNormal;
    TColor ColorTo = clBtnFace;
    TColor Color = clWindow;
    TBitmap *Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap *Value);
    void SetTop(int Value) { Top = Value; Changed(); }
    void SetLeft(int Value) { Left = Value; Changed(); }
    void SetDisplay(TBackGroundDisplay Value) { Display = Value; Changed(); }
    void SetCells(TBackGroundCells Value) { Cells = Value; Changed(); }
    void SetColorTo(TColor Value) { ColorTo = Value; Changed(); }
    void SetColor(TColor Value) { Color = Value; Changed(); }
    bool HasBitmap() const;
    bool IsGradient() const { return Display == bdGradientHorz || Display == bdGradientVert; }

private:
    void Changed();
    TExtStringGrid *FGrid;
    std::unique_ptr<TBitmap> FBitmap;
    TExtGridLiveCount FCount;
};

enum TProgressStyle { psXP, psClassic };

class TGridProgressAppearance : public TPersistent {
public:
    TGridProgressAppearance() = default;
    // Copies every value, then tells OnChange once.
    void Assign(TPersistent *Source) override;

#define GRID_PROGRESS_PROPERTY(Type, Name, Default)                                                                    \
public:                                                                                                                \
    Type Name() const { return F##Name; }                                                                              \
    void Set##Name(Type Value)                                                                                         \
    {                                                                                                                  \
        if (Value == F##Name)                                                                                          \
            return;                                                                                                    \
        F##Name = Value;                                                                                               \
        Changed();                                                                                                     \
    }                                                                                                                  \
                                                                                                                       \
private:                                                                                                               \
    Type F##Name = Default;

    GRID_PROGRESS_PROPERTY(TColor, UnCompleteFontColor, clWindowText)
    GRID_PROGRESS_PROPERTY(TColor, CompleteColor, TColorOf(255))
    GRID_PROGRESS_PROPERTY(TColor, UnCompleteColor, clNone)
    GRID_PROGRESS_PROPERTY(TColor, CompleteFontColor, TColorOf(16711680))
    GRID_PROGRESS_PROPERTY(bool, Stacked, false)
    GRID_PROGRESS_PROPERTY(bool, ShowPercentage, true)
    GRID_PROGRESS_PROPERTY(bool, ShowBorder, false)
    GRID_PROGRESS_PROPERTY(bool, CompletionSmooth, true)
    GRID_PROGRESS_PROPERTY(bool, ShowGradient, true)
    GRID_PROGRESS_PROPERTY(int, Level2Perc, 90)
    GRID_PROGRESS_PROPERTY(int, Level1Perc, 70)
    GRID_PROGRESS_PROPERTY(int, Steps, 11)
    GRID_PROGRESS_PROPERTY(TColor, Level3Color, TColorOf(255))
    GRID_PROGRESS_PROPERTY(TColor, Level1Color, TColorOf(65535))
    GRID_PROGRESS_PROPERTY(TColor, Level0Color, TColorOf(65280))
    GRID_PROGRESS_PROPERTY(TColor, Level3ColorTo, TColorOf(13290239))
    GRID_PROGRESS_PROPERTY(TColor, Level2ColorTo, TColorOf(11064319))
    GRID_PROGRESS_PROPERTY(TColor, Level0ColorTo, TColorOf(14811105))
    GRID_PROGRESS_PROPERTY(TColor, Level1ColorTo, TColorOf(13303807))
    GRID_PROGRESS_PROPERTY(TColor, BorderColor, TColorOf(0))
    GRID_PROGRESS_PROPERTY(TColor, Level2Color, TColorOf(5483007))
    GRID_PROGRESS_PROPERTY(TProgressStyle, Style, psXP)
#undef GRID_PROGRESS_PROPERTY

public:
    TNotifyEvent OnChange;

private:
    void Changed()
    {
        if (OnChange)
            OnChange(this);
    }
    TExtGridLiveCount FCount;
};

class TDragScrollDelays : public TPersistent {
public:
    void Assign(TPersistent *Source) override;
    int InitialDelay = 1000;
    int RepeatDelay = 250;
};

class TDragScrollMargins : public TPersistent {
public:
    void Assign(TPersistent *Source) override;
    int TopMargin = 50;
    int BottomMargin = 50;
    int LeftMargin = 50;
    int RightMargin = 50;
};

class TDragScrollOptions : public TPersistent {
public:
    TDragScrollOptions();
    ~TDragScrollOptions() override;
    void Assign(TPersistent *Source) override;
    bool Active = false;
    TDragScrollDelays *Delays() const { return FDelays.get(); }
    TDragScrollMargins *Margins() const { return FMargins.get(); }

private:
    std::unique_ptr<TDragScrollDelays> FDelays;
    std::unique_ptr<TDragScrollMargins> FMargins;
    TExtGridLiveCount FCount;
};
