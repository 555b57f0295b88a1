#pragma once
// The string grid of the library, TExtStringGrid, with the settings objects it owns, the cell
// graphic objects (TCellGraphic, TCellNode, TSizeWhileTyping) and the unit's process-wide state.
//
// Texts live in the platform grid's cell store and are reached through the base grid's Cells;
// on the plain path (no cell properties, no display hook) a read is the store's shared string.
// Every per-cell question (colour, alignment, borders, editor, fixed, editable, check texts,
// filter items, hints) is a virtual operation that answers from the grid's own rules first and
// then from the application's event, so that the column grid can answer from its columns.
//
// Settings types are declared here with their members and defaults; the code that gives them
// their full behaviour lives beside the subsystem that uses them.

#include "controls/BaseGrid.h"
#include "controls/EsgEditBtn.h"
#include "controls/ExtDropDown.h"
#include "controls/ExtGridDraw.h"
#include "controls/ExtGridLists.h"
#include "controls/ExtStyleIF.h"
#include "controls/GridAuxWindows.h"
#include "controls/GridOptions.h"
#include "controls/PictureContainer.h"
#include "dropdowns/EsgDateTimePicker.h"
#include "dropdowns/EsgSpinEdit.h"
#include "dropdowns/ExtDateTimePicker.h"
#include "grid/core/EsgComboBox.h"
#include "grid/core/ExtGridLiveCount.h"
#include "grid/core/HiddenRows.h"
#include "grid/services/ExtGridFilter.h"
#include "grid/services/ExtGridFind.h"
#include "grid/services/ExtGridSort.h"
#include "grid/view/GridLookSettings.h"
#include "platform/Classes.h"
#include "platform/ComCtrls.h"
#include "platform/Controls.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/Grids.h"
#include "platform/Printers.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"

#include <QStringList>
#include <QVariant>

#include <array>
#include <bitset>
#include <functional>
#include <memory>
#include <initializer_list>
#include <utility>
#include <vector>

class TExtStringGrid;
struct THtmlRenderParams;
class TExtStringGridCheck;
class TPopupMenu;
class TExtCustomDropDown;
class TGridMemoDropDown;
class TGridTrackbarDropDown;
class TGridCalculatorDropDown;
class TGridTimepickerDropDown;
class TGridColorDropDown;
class TGridImageDropDown;
class TGridDetailPickerDropDown;
class TGridGridDropDown;
class TGridExtGridDropDown;
template <class TControlT>
class TGridDropDownEditor;
class TRichEdit;
class TGridDropTarget;
class TGridDropSource;
class TDragImageWindow;
class TCustomListBox;
struct TCellPaintContext;
class TTimer;
class TCustomImageList;
class TToolTipWindow;

// The grid library's own error: misuse of the grid, failed reads of its files, a typed read of a
// cell that holds no such value, a print column out of range, a row or column outside the
// selection lists.
FABRICOR_DECLARE_EXCEPTION(RIdeZareVorev, Exception)

// ---------------------------------------------------------------------------------------------
// Enumerations of the grid

enum TCellType {
    ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode, ctRadio,
    ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton, ctBitButton,
    ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary, ctRangeIndicator, ctXPProgress, ctInterface,
    ctScrollbar, ctRadioButton, ctBalloon, ctShape, ctRating, ctTriStateCheckBox, ctExpand
};
enum TCellVAlign { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum TCellHAlign { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TStretchMode { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };
enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };
enum TBalloonIcon { biNone, biInfo, biWarning, biError };
// The page size and range of an in-cell scroll bar.
struct TScrollProp {
    int PageSize = 0;
    int Range = 0;
};

enum TScrollType { ssNormal, ssFlat, ssEncarta, ssMetro };
enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
enum TScrollBarAlways { saNone, saVert, saHorz, saBoth };
enum TGridLook {
    glStandard, glSoft, glClassic, glQRV, glXP, glListView, glVista, glWin7, glOffice2007, glCustom
};
enum THoverFixedCells { hfNone, hfFixedRows, hfFixedColumns, hfAll };
enum THintPos { hpCell, hpMouse };
// The XP colour schemes SetTheme takes over into the header colours.
enum TXPColorScheme { xpNone, xpBlue, xpGreen, xpGray, vistaAero };
enum TFilterDropDownColumns { fdNormal, fdAll };
enum TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
enum TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };
enum TSearchAction { saFindFirst, saFindNext, saFindPrevious, saHighlight };
enum TSortStyle {
    ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU, ssShortDateUS,
    ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML, ssImages, ssCheckBox, ssDateTime,
    ssTime, ssAlphaNumeric, ssAlphaNumericNoCase
};
enum TCellBorder { cbLeft, cbTop, cbRight, cbBottom };
enum TGridExportState { esExportStart, esExportNewRow, esExportDone, esExportSelRow, esExportFail, esExportNextRow };
enum TGridImportState { isImportStart, isImportNewRow, isImportDone };
enum TClipOperation { coCut, coCopy };
using TCellBorders = TSet<TCellBorder, 4>;

// ---------------------------------------------------------------------------------------------
// Events (the first argument is the grid)

using TGridHintEvent = std::function<void(TObject *Sender, int ARow, int ACol, UnicodeString &HintStr)>;
using TAnchorHintEvent = std::function<void(TObject *Sender, int ARow, int ACol, UnicodeString &Anchor)>;
using TGridColorEvent = std::function<void(TObject *Sender, int ARow, int ACol, TGridDrawState AState, TBrush *ABrush, TFont *AFont)>;
using TGridBorderEvent = std::function<void(TObject *Sender, int ARow, int ACol, TPen *APen, TCellBorders &Borders)>;
using TGridAlignEvent = std::function<void(TObject *Sender, int ARow, int ACol, TAlignment &HAlign, TVAlignment &VAlign)>;
using TGridFormatEvent = std::function<void(TObject *Sender, int ACol, TSortStyle &AStyle, UnicodeString &aPrefix, UnicodeString &aSuffix)>;
using TGetEditorTypeEvent = std::function<void(TObject *Sender, int ACol, int ARow, TEditorType &AEditor)>;
using TIsFixedCellEvent = std::function<void(TObject *Sender, int ARow, int ACol, bool &IsFixed)>;
using TCanEditCellEvent = std::function<void(TObject *Sender, int ARow, int ACol, bool &CanEdit)>;
using TIsPasswordCellEvent = std::function<void(TObject *Sender, int ARow, int ACol, bool &IsPassword)>;
using TWordWrapEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool &WordWrap)>;
using THasComboEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool &HasComboBox)>;
using THasSpinEditEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool &HasSpinEdit)>;
using TGetCheckEvent = std::function<void(TObject *Sender, int ACol, int ARow, UnicodeString &Value)>;
using TGetColumnFilterEvent = std::function<void(TObject *Sender, int Column, TStrings *Filter)>;
using TCellCursorEvent = std::function<void(TObject *Sender, int ACol, int ARow, int X, int Y, TCursor &ACursor)>;
using TSearchFooterActionEvent = std::function<void(TObject *Sender, const UnicodeString &Value, int ACol, int ARow, TSearchAction SearchAction)>;
using TButtonClickEvent = std::function<void(TObject *Sender, int ACol, int ARow)>;
using TExpandClickEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool Expanded)>;
using TClickCellEvent = std::function<void(TObject *Sender, int ARow, int ACol)>;
using TUnitChangedEvent = std::function<void(TObject *Sender, int ACol, int ARow, const UnicodeString &NewUnit)>;
using TCellsChangedEvent = std::function<void(TObject *Sender, const TRect &R)>;
// in-place editing, validation and selection
using TCellValidateEvent = std::function<void(TObject *Sender, int ACol, int ARow, UnicodeString &Value, bool &Valid)>;
using TEditCellDoneEvent = std::function<void(TObject *Sender, int ACol, int ARow)>;
using TComboChangeEvent = std::function<void(TObject *Sender, int ACol, int ARow, int AItemIndex, const UnicodeString &ASelection)>;
using TComboObjectChangeEvent = std::function<void(TObject *Sender, int ACol, int ARow, int AItemIndex, const UnicodeString &ASelection, TObject *AObject)>;
using TGetEditorPropEvent = std::function<void(TObject *Sender, int ACol, int ARow, TObject *AEditLink)>;
using TEditChangeEvent = std::function<void(TObject *Sender, int ACol, int ARow, const UnicodeString &Value)>;
using TDropDownButtonClickEvent = std::function<void(TObject *Sender, int ACol, int ARow, int ButtonIndex)>;
using TChangingEvent = std::function<void(TObject *Sender, int OldIndex, int NewIndex, bool &Allow)>;
using TCellChangingEvent = std::function<void(TObject *Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool &Allow)>;
using TRowChangedEvent = std::function<void(TObject *Sender, int OldRow, int NewRow)>;
// check boxes in cells
using TCheckBoxChangeEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool State)>;
// in-place editor wrappers
using TEllipsClickEvent = std::function<void(TObject *Sender, int ACol, int ARow, UnicodeString &S)>;
using TClipboardPasteEvent = std::function<void(TObject *Sender, bool &Allow)>;
using TClipboardCellValueEvent = std::function<void(TObject *Sender, int ACol, int ARow, UnicodeString &Value, bool &Allow)>;

// ---------------------------------------------------------------------------------------------
// Cell objects

// The graphic object of one cell. A graphic frees only what it created itself (CellCreated and
// the kinds that always own their object); a bitmap or picture handed in stays the caller's.
class TCellGraphic : public TPersistent {
public:
    TCellGraphic();
    ~TCellGraphic() override;
    // Copies kind, placement, index, flags, value, angle, error range and text; not the object
    // references, the variant or the tri-state. What this graphic owned is released first, so
    // that the copy owns nothing and the caller's objects are never touched.
    void Assign(TPersistent *Source) override;

    void SetBitmap(TBitmap *ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    void SetIcon(TIcon *aicon, TCellHAlign hal, TCellVAlign val);
    void SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(int idx, TCellHAlign hal, TCellVAlign val);
    void SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val, TImageChangeEvent Notifier);
    void SetPicture(TPicture *APicture, bool Transparent, TStretchMode StretchMode, int padding, TCellHAlign hal, TCellVAlign val);
    void SetFilePicture(TFilePicture *APicture, bool Transparent, TStretchMode stretchmode, int padding, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetButton(int bw, int bh, const UnicodeString &caption, TCellHAlign hal, TCellVAlign val);
    void SetBitButton(int bw, int bh, const UnicodeString &caption, TBitmap *Glyph, TCellHAlign hal, TCellVAlign val);
    void SetAngle(SmallInt AAngle);
    void SetInterfacedCell(TInterfacedPersistent *AObject);

    // Size at which a picture is drawn in a cell of cw x rh (ctPicture, ctFilePicture only;
    // other kinds give (0, 0)).
    TPoint GetPictureSize(int cw, int rh, bool hastext) const;

    TCellType CellType() const { return FCellType; }
    void SetCellType(TCellType Value) { FCellType = Value; }
    // The object of the kind; CellBitmap is it when it is a bitmap.
    TObject *CellObject() const { return FCellBitmap; }
    void SetCellObject(TObject *Value) { FCellBitmap = Value; }
    TBitmap *CellBitmap() const { return dynamic_cast<TBitmap *>(FCellBitmap); }
    TIcon *CellIcon() const { return FCellIcon; }
    void SetCellIcon(TIcon *Value) { FCellIcon = Value; }
    TCellVAlign CellVAlign() const { return FCellVAlign; }
    void SetCellVAlign(TCellVAlign Value) { FCellVAlign = Value; }
    TCellHAlign CellHAlign() const { return FCellHAlign; }
    void SetCellHAlign(TCellHAlign Value) { FCellHAlign = Value; }
    int CellIndex() const { return FCellIndex; }
    void SetCellIndex(int Value) { FCellIndex = Value; }
    bool CellTransparent() const { return FCellTransparent; }
    void SetCellTransparent(bool Value) { FCellTransparent = Value; }
    bool CellCreated() const { return FCellCreated; }
    void SetCellCreated(bool Value) { FCellCreated = Value; }
    bool CellBoolean() const { return FCellBoolean; }
    void SetCellBoolean(bool Value) { FCellBoolean = Value; }
    int CellAngle() const { return FCellAngle; }
    void SetCellAngle(int Value) { FCellAngle = Value; }
    double CellValue() const { return FCellValue; }
    void SetCellValue(double Value) { FCellValue = Value; }
    int CellErrFrom() const { return FCellErrFrom; }
    void SetCellErrFrom(int Value) { FCellErrFrom = Value; }
    int CellErrLen() const { return FCellErrLen; }
    void SetCellErrLen(int Value) { FCellErrLen = Value; }
    const UnicodeString &CellText() const { return FCellText; }
    void SetCellText(const UnicodeString &Value) { FCellText = Value; }
    const QVariant &CellVar() const { return FCellVar; }
    void SetCellVar(const QVariant &Value) { FCellVar = Value; }
    TCheckBoxState CellCheckBoxState() const { return FCellCheckBoxState; }
    void SetCellCheckBoxState(TCheckBoxState Value) { FCellCheckBoxState = Value; }
    // The colours an object takes (a progress bar's done and rest parts, a shape's line, a
    // rating's empty stars), kept apart from the object slots that the graphic may free.
    TColor CellColor() const { return FCellColor; }
    void SetCellColor(TColor Value) { FCellColor = Value; }
    TColor CellColorTo() const { return FCellColorTo; }
    void SetCellColorTo(TColor Value) { FCellColorTo = Value; }
    // Frees what the graphic owns now, as its destructor would; references it does not own stay.
    void ReleaseOwnedObject()
    {
        if (OwnsObject())
            ReleaseOwned();
    }

private:
    bool OwnsObject() const;
    void ReleaseOwned();

    TCellType FCellType = ctNone;
    TObject *FCellBitmap = nullptr;
    TIcon *FCellIcon = nullptr;
    TCellVAlign FCellVAlign = vaTop;
    TCellHAlign FCellHAlign = haLeft;
    int FCellIndex = 0;
    bool FCellTransparent = false;
    bool FCellCreated = false;
    bool FCellBoolean = false;
    int FCellAngle = 0;
    double FCellValue = 0;
    int FCellErrFrom = 0;
    int FCellErrLen = 0;
    UnicodeString FCellText;
    QVariant FCellVar;
    TCheckBoxState FCellCheckBoxState = cbUnchecked;
    TColor FCellColor = clNone;
    TColor FCellColorTo = clNone;
};

// How the grid's tree nodes look.
class TCellNode : public TPersistent {
public:
    explicit TCellNode(TExtStringGrid *AOwner);
    ~TCellNode() override;
    void Assign(TPersistent *Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    bool ExpandOne() const { return FExpandOne; }
    void SetExpandOne(bool Value) { FExpandOne = Value; }
    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType Value);
    TColor NodeColor() const { return FNodeColor; }
    void SetNodeColor(TColor Value) { FNodeColor = Value; }
    int NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(int Value);
    TBitmap *ExpandGlyph() const { return FExpandGlyph; }
    void SetExpandGlyph(TBitmap *Value);
    TBitmap *ContractGlyph() const { return FContractGlyph; }
    void SetContractGlyph(TBitmap *Value);
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool Value);
    bool ShowTreeFull() const { return FShowTreeFull; }
    void SetShowTreeFull(bool Value);
    TColor TreeColor() const { return FTreeColor; }
    void SetTreeColor(TColor Value);

private:
    void Repaint();
    TColor FColor = TColorOf(0xC0C0C0u);
    TNodeType FNodeType = cnXP;
    TColor FNodeColor = TColorOf(0);
    TBitmap *FExpandGlyph;
    bool FExpandOne = false;
    TBitmap *FContractGlyph;
    TExtStringGrid *FOwner;
    bool FShowTree = true;
    bool FShowTreeFull = true;
    int FNodeIndent = 12;
    TColor FTreeColor = TColorOf(0x808080u);
};

// Lets the in-place editor grow the row height and the column width while the user types.
class TSizeWhileTyping : public TPersistent {
public:
    TSizeWhileTyping();
    ~TSizeWhileTyping() override;
    bool Height = false;
    bool Width = false;
};

// ---------------------------------------------------------------------------------------------
// Settings objects and helper windows owned by the grid

enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };
using TCalcFooterEvent = std::function<void(TObject *Sender, int ACol, int ARow, UnicodeString &Value)>;
// The footer strip under the cells (ExtGridFooter.cpp): the last row kept as a row of column
// calculations, a column or template preview of the current row, or the application's painting.
class TFloatingFooter : public TPersistent {
public:
    explicit TFloatingFooter(TExtStringGrid *AGrid) : FGrid(AGrid) {}
    void Assign(TPersistent *Source) override;
    bool Visible() const { return FVisible; }
    // Shows or hides the strip; fsFixedLastRow takes the last row out of the cells.
    void SetVisible(bool Value);
    // The last row leaves or rejoins the cells; FixedFooters follows only Visible.
    void SetFooterStyle(TFooterStyle Value);
    void SetColor(TColor Value);
    void SetBorderColor(TColor Value);
    int Column() const { return FColumn; }
    void SetColumn(int Value);
    const UnicodeString &CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const UnicodeString &Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    // The strip's height; the panel is one pixel lower. A height of 0 or less is ignored.
    int Height() const;
    void SetHeight(int Value);
    // The grid's DefaultRowHeight becomes the height.
    void HeightFromGrid(int Value) { FHeight = Value; }
    void Invalidate();
    // The calculation of column ACol, kept in the footer row's cell (ExtGridScroll.cpp).
    void SetColumnCalc(int ACol, TColumnCalcType Value);
    TColumnCalcType ColumnCalc(int ACol) const;
    TColumnCalcType GetColumnCalc(int ACol) const { return ColumnCalc(ACol); }
    // The template with each "<#n>" replaced by the text CellText gives for column n; a number
    // that is no column of ColCount is dropped, an unclosed "<#" stays as it is.
    static UnicodeString ExpandTemplate(const UnicodeString &Template, int ColCount,
                                        const std::function<UnicodeString(int)> &CellText);
    // Asked for an acCUSTOM column when the grid has no OnCalcFooter of its own.
    TCalcFooterEvent OnCalcFooter;
    TFooterStyle FooterStyle = fsFixedLastRow;
    TColor Color = clBtnFace;
    TColor BorderColor = clNone;
    bool EnableCalculation = true;
    bool CalculateHiddenRows = true;

private:
    TExtStringGrid *FGrid;
    bool FVisible = false;
    int FColumn = 0;
    UnicodeString FCustomTemplate;
    bool FShowHint = false;
    int FHeight = -1;
    TExtGridLiveCount FCount;
};

class TFooterPanel : public TPanel {
public:
    // The owner must be a TExtStringGrid.
    explicit TFooterPanel(TComponent *AOwner);
    // The footer column under client x: -1 right of the last column.
    int FooterColumnAt(int X) const;
    // The width of the footer: the fixed columns and the columns from the left column on.
    int FooterWidth() const;
    int LastHintX() const { return FLastHintX; }

protected:
    void CreateWnd() override;
    void Paint() override;
    void CMHintShow(TWMGeneric &Message) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(TCMMouseLeave &Message) override;

private:
    int PaintFixedLastRow(TCanvas *C, const TRect &R);
    int PaintPreviewArea(TCanvas *C, const TRect &R, TRect &Area);
    TExtStringGrid *FGrid;
    int FLastHintX = -1;
    TExtGridLiveCount FCount;
};

// The grid's hint window: a hint in mini-HTML (links, images of the grid's image list and
// picture container) or a wide-encoded text, sized to its text and kept inside the monitor. It
// serves the cell hints, the application's hints when the grid asks for it (UseHTMLHints) and
// the grid's own scroll and sizing hints.
class THTMLHintWindow : public THintWindow {
public:
    explicit THTMLHintWindow(TComponent *AOwner);
    // The extent of the laid-out text, (0, 0, w, h), without margins.
    TRect CalcHintRect(int MaxWidth, const UnicodeString &AHint, TObject *AData) override;
    // Shows the hint with its top-left corner at Rect's and the size of its text plus margins.
    void ActivateHint(TRect Rect, const UnicodeString &AHint) override;
    // A grid as AData lends the hint its images and picture container.
    void ActivateHintData(TRect Rect, const UnicodeString &AHint, TObject *AData) override;
    TCustomImageList *Images() const { return FImages; }
    TPictureContainer *PictureContainer() const { return FPictureContainer; }
    int TextWidth() const { return FTextWidth; }
    int TextHeight() const { return FTextHeight; }

protected:
    void CreateParams(TCreateParams &Params) override;
    void Paint() override;
    void CMTextChanged(TCMTextChanged &Message) override;

private:
    // Measures AHint on the window's canvas: the decoded text of a wide-encoded hint on one line,
    // any other as mini-HTML laid out from Rect's top-left corner.
    TPoint MeasureHint(const UnicodeString &AHint, const TRect &Rect);
    TCustomImageList *FImages = nullptr;
    TPictureContainer *FPictureContainer = nullptr;
    int FTextHeight = 0;
    int FTextWidth = 0;
    UnicodeString FWideCaption;
    TExtGridLiveCount FCount;
};

enum TScrollDirection { sdVertical, sdHorizontal };

// The thin scroll indicator of the metro scroll type (ExtGridScrollControl.cpp): a thumb over the
// grid it lies on, which shows through; a press beside the thumb pages, a drag scrolls. It serves
// the grid that is its parent and does nothing on any other.
class TScrollControl : public TCustomControl {
public:
    explicit TScrollControl(TComponent *AOwner);
    TScrollDirection Direction() const { return FDirection; }
    void SetDirection(TScrollDirection Value) { FDirection = Value; }
    // The thumb's colour; a change repaints.
    TColor ThumbColor() const { return FColor; }
    void SetColor(TColor Value);
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int Value) { FScrollWidth = Value; Invalidate(); }
    // The thumb's start and length along the control; false when every line shows or there is
    // nothing to scroll.
    bool Thumb(int &Pos, int &Size);
    TScrollDirection FDirection = sdVertical;
    TColor FColor = TColorOf(0xC0C0C0u);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TExtStringGrid *Grid() const;
    void PaintThumb(TCanvas *c, int pos, int size);
    int FScrollWidth = 4;
    bool FDownOnScroller = false;
    int FDownPos = 0;
    int FDownRow = 0;
    TExtGridLiveCount FCount;
};

// ---- print settings (grid/services/ExtGridPrintSettings.cpp) ----
// Where a header or footer item goes: the top values into the header line, the bottom values
// into the footer line.
enum TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
// Scaling of the printed column widths to the page width.
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };
// The cell lines and the page lines a print draws.
enum TPrintBorders {
    pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical, pbAroundHorizontal, pbCustom
};

// Everything that shapes a printed page or a preview. Lengths are in tenths of a millimetre.
class TPrintSettings : public TPersistent {
public:
    explicit TPrintSettings(TExtStringGrid *AGrid);
    ~TPrintSettings() override;
    // Copies every setting but FixedCellsAlways from another TPrintSettings (fonts and title
    // lines by content); any other source raises EInvalidCast.
    void Assign(TPersistent *Source) override;
    TExtStringGrid *Grid() const { return FGrid; }

    // The fonts of a printed page; with UseDisplayFont the grid's own fonts print instead of
    // Font and FixedFont. The setters copy the content into the owned objects.
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value) { FFont->Assign(Value); }
    TFont *FixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(TFont *Value) { FFixedFont->Assign(Value); }
    TFont *HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(TFont *Value) { FHeaderFont->Assign(Value); }
    TFont *FooterFont() const { return FFooterFont.get(); }
    void SetFooterFont(TFont *Value) { FFooterFont->Assign(Value); }
    // The multi-line title, used when TitleText is empty.
    TStringList *TitleLines() const { return FTitleLines.get(); }
    void SetTitleLines(TStrings *Value);

    int FooterSize = 0;     // extra distance between the footer line and the page bottom
    int HeaderSize = 0;     // page top to header line, and extra header height
    TPrintPosition Time = ppNone;
    TPrintPosition Date = ppNone;
    UnicodeString DateFormat = QStringLiteral("dd/mm/yyyy");
    TPrintPosition PageNr = ppNone;
    TPrintPosition Title = ppNone;
    UnicodeString TitleText;
    TPrintBorders Borders = pbSingle;
    TPenStyle BorderStyle = TPenStyle::psSolid;
    TColor BorderColor = clBlack;
    bool Centered = true;
    bool RepeatFixedRows = false;
    bool RepeatFixedCols = false;
    int LeftSize = 0;
    int RightSize = 0;
    int ColumnSpacing = 0;  // added to every column (with 20 more) unless UseFixedWidth
    int RowSpacing = 0;     // added to every row and every text line
    int TitleSpacing = 0;   // between the header block and the first row
    TPrinterOrientation Orientation = poPortrait;
    UnicodeString PagePrefix;
    UnicodeString PageSuffix;
    int PageNumberOffset = 0;
    int MaxPagesOffset = 0;
    int FixedWidth = 0;
    int FixedHeight = 0;
    bool UseFixedHeight = false;
    bool UseFixedWidth = false;
    TFitToPage FitToPage = fpNever;
    UnicodeString JobName;
    UnicodeString PageNumSep = QStringLiteral("/");
    bool NoAutoSize = false;     // screen column widths instead of measured ones; allows word wrap
    bool NoAutoSizeRow = false;  // screen row heights instead of measured ones
    bool PrintGraphics = false;
    bool UseDisplayFont = true;
    bool UseDefaultOrientation = false;
    // Not stored: printing only the selected rows or columns also prints the fixed ones.
    bool FixedCellsAlways = false;

private:
    TExtStringGrid *FGrid;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TFont> FHeaderFont;
    std::unique_ptr<TFont> FFooterFont;
    std::unique_ptr<TFont> FFixedFont;
    std::unique_ptr<TStringList> FTitleLines;
    TExtGridLiveCount FCount;
};
// ---- end of print settings ----

// The choices of the grid's HTML export.
class THTMLSettings : public TPersistent {
public:
    THTMLSettings();
    ~THTMLSettings() override;
    // Copies every choice from another THTMLSettings but ExportImages and the column widths,
    // which stay as they are; any other source is ignored.
    void Assign(TPersistent *Source) override;

    bool AutoPreview = false;         // open the written file in the desktop's viewer
    bool ConvertSpecialChars = false; // markup characters and accented letters as entities
    bool NonBreakingText = false;     // every blank of a cell text as &nbsp;
    bool SaveColor = true;            // background and text colours
    bool SaveFonts = true;            // kept with the others; fonts are always written
    UnicodeString FooterFile;         // lines written after the document
    UnicodeString HeaderFile;         // lines written before the document
    int BorderSize = 1;
    int CellSpacing = 0;
    int CellPadding = 0;
    UnicodeString TableStyle; // extra attributes of the table element
    UnicodeString PrefixTag;  // text before the table
    UnicodeString SuffixTag;  // text after the table
    UnicodeString Summary;
    int Width = 100; // of the table, in percent
    bool XHTML = false;
    bool ExportImages = true; // cell pictures as JPEG files beside the document
    // Explicit widths of the exported columns: the header row takes the entry of the grid
    // column, a table without header row the entry counted from the first exported column.
    TIntList *ColWidths() const { return FColWidths.get(); }

private:
    std::unique_ptr<TIntList> FColWidths;
    TExtGridLiveCount FCount;
};

enum TColumnSizeLocation { clRegistry, clIniFile };
// The rows whose cells column auto-sizing measures.
enum TAutoSizeRows { arAll, arNormal, arFixed };
class TColumnSize : public TPersistent {
public:
    explicit TColumnSize(TExtStringGrid *AGrid) : FGrid(AGrid) {}
    // Copies every setting from another TColumnSize (the stretch flag without stretching);
    // any other source is ignored.
    void Assign(TPersistent *Source) override;
    bool Save = false;
    // Switching stretching on sizes the stretch column at once when the grid has a parent.
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    int StretchColumn = -1;
    TColumnSizeLocation Location = clRegistry;
    TAutoSizeRows Rows = arAll;
    bool SynchWithGrid = false;
    bool SynchNormalCellsOnly = false;
    UnicodeString Key;
    UnicodeString Section;

private:
    TExtStringGrid *FGrid;
    bool FStretch = false;
    TExtGridLiveCount FCount;
};

class TDragDropSettings : public TPersistent {
public:
    explicit TDragDropSettings(TExtStringGrid *AGrid = nullptr) : FGrid(AGrid) {}
    // Copies every value, without what the setters of OleDropTarget and OleDropRTF do.
    void Assign(TPersistent *Source) override;
    bool OleDropTarget() const { return FOleDropTarget; }
    // Stores; the grid's window becomes a drop target where OLE drag and drop is built.
    void SetOleDropTarget(bool Value);
    bool OleDropRTF() const { return FOleDropRTF; }
    // Also lets rich text be offered and accepted by every grid's drag and drop.
    void SetOleDropRTF(bool Value);
    bool OleDropSource = false;
    bool OleAcceptFiles = true;
    bool OleAcceptText = true;
    bool OleAcceptURLs = true;
    bool OleAppendRows = false;
    bool OleInsertRows = false;
    bool OleRemoveRows = false;
    bool OleEntireRows = false;
    bool OleCopyAlways = false;
    bool OleColumnDragDrop = false;
    bool OleColumnsOnly = false;
    bool OleColumnReorder = false;
    bool ShowCells = true;
    TExtStringGrid *Grid() const { return FGrid; }

private:
    TExtStringGrid *FGrid;
    bool FOleDropTarget = false;
    bool FOleDropRTF = false;
    TExtGridLiveCount FCount;
};

class TBalloonSettings : public TPersistent {
public:
    // Copies all but Transparency.
    void Assign(TPersistent *Source) override;
    bool Enable() const { return FEnable; }
    // Fires OnEnableChange on every set, also of the same value.
    void SetEnable(bool Value);
    TColor TextColor = clNone;
    TColor BackgroundColor = clNone;
    int InitialDelay = -1;
    int AutoHideDelay = -1;
    int ReshowDelay = -1;
    Byte Transparency = 0;
    TNotifyEvent OnEnableChange;

private:
    bool FEnable = false;
    TExtGridLiveCount FCount;
};

class TShowModified : public TPersistent {
public:
    void Assign(TPersistent *Source) override;
    bool Enabled = false;
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TNotifyEvent OnChange;

private:
    TColor FColor = TColorOf(0xFFFFu);
    TExtGridLiveCount FCount;
};

class TGrouping : public TPersistent {
public:
    // Copies the looks and switches; Summary and the line colours and widths stay.
    void Assign(TPersistent *Source) override;
    bool MergeHeader = false;
    bool MergeSummary = false;
    bool Summary = false;
    bool AutoSelectGroup = false;
    bool AutoCheckGroup = false;
    TColor HeaderTextColor = clNone;
    TColor SummaryTextColor = clNone;
    TColor HeaderColor = clNone;
    TColor HeaderColorTo = clNone;
    TColor SummaryColor = clNone;
    TColor SummaryColorTo = clNone;
    int HeaderLineWidth = 2;
    int SummaryLineWidth = 2;
    TColor HeaderLineColor = TColorOf(0xFF0000u);
    TColor SummaryLineColor = TColorOf(0xFF0000u);
    bool HeaderUnderline = false;
    bool SummaryLine = false;
    bool ShowGroupCount = false;
    UnicodeString GroupCountFormat;

private:
    TExtGridLiveCount FCount;
};

// ---- application-written and rich-text editors, the editors of in-text controls and of fixed
// cells (ExtGridEditLink.cpp) ----

// The editors of the in-text controls of a mini-HTML cell (a mask edit, so that MASK controls
// keep their mask): Enter ends the edit, Tab goes on to the next control of the cell (or, with
// Navigation.AdvanceAuto, to the next cell).
class TControlEdit : public TMaskEdit {
public:
    explicit TControlEdit(TComponent *AOwner) : TMaskEdit(AOwner) {}

protected:
    void KeyPress(WideChar &Key) override;
    void CMWantSpecialKey(TCMWantSpecialKey &Message) override;
};

class TControlCombo : public TComboBox {
public:
    explicit TControlCombo(TComponent *AOwner) : TComboBox(AOwner) {}

protected:
    void KeyPress(WideChar &Key) override;
    void CMWantSpecialKey(TCMWantSpecialKey &Message) override;
};

enum TEditStyle { esInplace, esPopup };

// The base of an editor written by the application for edCustom cells. The grid drives it
// through the virtual operations (create, place, show, fill, focus, read back); the base class
// ends the edit on the keys its Want flags do not keep, writes the value back, keeps its own
// popup form for esPopup and hooks the in-place control so that it receives Tab and the arrows.
// A descendant connects its control's key-down event to EditKeyDown and its exit to EditExit.
class TEditLink : public TComponent {
public:
    explicit TEditLink(TComponent *AOwner);
    ~TEditLink() override;

    TExtStringGrid *Grid() const { return FGrid; }
    bool WantKeyLeftRight = false;
    bool WantKeyUpDown = false;
    bool WantKeyHomeEnd = false;
    bool WantKeyPriorNext = false;
    bool WantKeyReturn = false;
    bool WantKeyEscape = false;
    TEditStyle EditStyle = esInplace;
    int PopupWidth = 0;
    int PopupHeight = 0;
    TPoint EditCell{-1, -1};
    int Tag = 0;
    bool AutoPopupWidth = false;
    // Screen position of the popup; -1 places it at the cell.
    int PopupLeft = -1;
    int PopupTop = -1;
    bool WantReturns = false;
    bool WantTabs = false;
    // The popup form of esPopup, made on first use and kept (nil before).
    TForm *PopupForm() const { return FPopupForm; }
    bool SubClassed() const { return FSubClassed; }

    virtual void EditKeyDown(TObject *Sender, Word &Key, TShiftState Shift);
    virtual TWinControl *GetEditControl() { return nullptr; }
    virtual void CreateEditor(TWinControl *AParent) {}
    virtual void DestroyEditor() {}
    virtual void SetFocus(bool Value);
    virtual void SetRect(TRect R);
    virtual void SetVisible(bool Value);
    virtual void SetProperties() {}
    virtual void SetCellProps(TColor AColor, TFont *AFont) {}
    virtual UnicodeString GetEditorValue() { return {}; }
    virtual void SetEditorValue(const UnicodeString &Value) {}

    void EditExit(TObject *Sender);
    void FormExit(TObject *Sender);
    void HideEditor();
    void RestoreWinProc();
    UnicodeString GetCellValue();
    void SetCellValue(const UnicodeString &Value);
    TWinControl *GetParent();

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;
    bool FForcedExit = false;

private:
    friend class TExtStringGrid;
    // Gives the grid the focus with FForcedExit set meanwhile.
    void FocusGrid();
    TExtStringGrid *FGrid = nullptr;
    TForm *FPopupForm = nullptr;
    bool FSubClassed = false;
    // The hooked control's own message method, and the control it belongs to.
    TControl::TWndMethod FSavedProc;
    TWinControl *FHooked = nullptr;
};

// The grid's rich-text editor: raised and lowered characters, and the size its text asks for.
class TExtRichEdit : public TRichEdit {
public:
    explicit TExtRichEdit(TComponent *AOwner);
    void SelNormal() { SetSelOffset(0); }
    void SelSubscript() { SetSelOffset(-40); }
    void SelSuperscript() { SetSelOffset(40); }
    bool IsSelNormal() const { return SelOffset() == 0; }
    bool IsSelSubscript() const { return SelOffset() == -40; }
    bool IsSelSuperscript() const { return SelOffset() == 40; }
    void ReCreate() { RecreateWnd(); }
    void LockResize() { FLocked = true; }
    void UnlockResize() { FLocked = false; }
    int ReqWidth() const { return FReqWidth; }
    int ReqHeight() const { return FReqHeight; }

protected:
    void DoResizeRequest(const TRect &Rect) override;
    void WMGetDlgCode(TWMGetDlgCode &Message) override;
    void WMKillFocus(TWMKillFocus &Message) override;
    void KeyDown(Word &Key, TShiftState Shift) override;

private:
    TExtStringGrid *FGrid;
    int FReqHeight = 0;
    int FReqWidth = 0;
    bool FLocked = false;
};

// The editors of the grid; each is parented to the grid and stays hidden until an edit shows it.
// The in-place editors of the special editor types (ExtGridWrappers.cpp): each wraps an editor
// control, keeps for itself the keys a dialog would take, commits and cancels with its keys and
// hands navigation back to the grid. The owner must be a TExtStringGrid.
class TGridCombo : public TEsgComboBox {
public:
    explicit TGridCombo(TComponent *AOwner);
    // Widens the dropped-down list to the widest item, measured with the grid's font.
    void SizeDropDownWidth();
    // Auto-complete is allowed after the last key (not after Backspace or Delete).
    bool WorkMode = true;
    TNotifyEvent OnReturnKey;

protected:
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(WideChar &Key) override;
    void KeyUp(Word &Key, TShiftState Shift) override;
    void Change() override;
    void DoExit() override;
    void WndProc(TMessage &Message) override;
    void WMSetFocus(TWMSetFocus &Message) override;
    void CMWantSpecialKey(TCMWantSpecialKey &Message) override;
    // Auto-complete of the typed prefix from the items, else from the grid's lookup items.
    virtual void DoChange();

private:
    bool ListMode() const;
    // The edit field's selection; both -1 without an edit field.
    void EditSel(int &Start, int &End);
    // The commit check of Enter, Up, Down and Tab: false when the validation refused the text.
    bool CommitCheck(bool ForTab);
    void FireComboEvents();
    TExtStringGrid *FGrid;
};
// The editors of fixed cells: Enter is dropped, the edit ends when they lose the focus, and the
// value goes through OnCellValidate before it is written (ExtGridEditLink.cpp).
template <class TBase>
class TFixedCellEditor : public TBase {
public:
    explicit TFixedCellEditor(TComponent *AOwner);
    // True when the value was taken (or there is no grid); a refused one keeps the editor.
    bool StopEdit();
    int FRow = -1;
    int FCol = -1;

protected:
    void KeyPress(WideChar &Key) override;
    void DoExit() override;

private:
    TExtStringGrid *FGrid;
};
class TGridTransEdit : public TFixedCellEditor<TEdit> {
public:
    explicit TGridTransEdit(TComponent *AOwner) : TFixedCellEditor<TEdit>(AOwner) {}
};
class TGridTransCombo : public TFixedCellEditor<TComboBox> {
public:
    explicit TGridTransCombo(TComponent *AOwner) : TFixedCellEditor<TComboBox>(AOwner) {}
};
class TGridCheckBox : public TCheckBox {
public:
    explicit TGridCheckBox(TComponent *AOwner);
    void ReCreate() { RecreateWnd(); }

protected:
    void KeyDown(Word &Key, TShiftState Shift) override;
    void DoExit() override;
    void WMLButtonDown(TWMMouse &Message) override;
    // The keys its key handling takes (Enter and the arrows) stay with it, not with the dialog.
    void CMWantSpecialKey(TCMWantSpecialKey &Message) override;

private:
    TExtStringGrid *FGrid;
};
class TGridEditBtn : public TEsgEditBtn {
public:
    explicit TGridEditBtn(TComponent *AOwner);
    void ReCreate() { RecreateWnd(); }
    bool WorkMode = true;
    // The edit ends after a click on the button.
    bool StopEditAfterClick = false;

protected:
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyUp(Word &Key, TShiftState Shift) override;
    void KeyPress(WideChar &Key) override;
    void Change() override;
    void DoExit() override;
    void DblClick() override;
    void WMChar(TWMKey &Message) override;
    void WMPaste(TMessage &Message) override;
    void CMWantSpecialKey(TCMWantSpecialKey &Message) override;

private:
    void ClickBtn(TObject *Sender);
    bool CommitCheck();
    TExtStringGrid *FGrid;
    int FSelKeyDown = 0;
};
class TGridUnitEditBtn : public TEsgUnitEditBtn {
public:
    explicit TGridUnitEditBtn(TComponent *AOwner);
    void ReCreate() { RecreateWnd(); }

protected:
    void KeyDown(Word &Key, TShiftState Shift) override;
    void DoExit() override;
    void WMChar(TWMKey &Message) override;
    void CMWantSpecialKey(TCMWantSpecialKey &Message) override;

private:
    void ClickBtn(TObject *Sender);
    TExtStringGrid *FGrid;
};
class TGridButton : public TButton {
public:
    explicit TGridButton(TComponent *AOwner);
    void ReCreate() { RecreateWnd(); }

protected:
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyUp(Word &Key, TShiftState Shift) override;
    void DoExit() override;
    void WMLButtonUp(TWMMouse &Message) override;
    void CMWantSpecialKey(TCMWantSpecialKey &Message) override;

private:
    TExtStringGrid *FGrid;
};
// ---- spin and date editors (ExtGridSpinDate.cpp) ----
using TSpinClickEvent = std::function<void(TObject *Sender, int ACol, int ARow, int AValue, bool UpDown)>;
using TFloatSpinClickEvent = std::function<void(TObject *Sender, int ACol, int ARow, double AValue, bool UpDown)>;
using TDateSpinClickEvent = std::function<void(TObject *Sender, int ACol, int ARow, TDateTime AValue, bool UpDown)>;
class TGridSpin : public TEsgSpinEdit {
public:
    explicit TGridSpin(TComponent *AOwner);
    // Fires the grid's click event of the spin type with the value after a step.
    void DoSpinClick(bool UpDown);
    void UpClick(TObject *Sender) override;
    void DownClick(TObject *Sender) override;
    // Escape put the text of the cell back: the commit leaves the cell as it was.
    bool Restored = false;

protected:
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(WideChar &Key) override;
    void WMChar(TWMKey &Message) override;
    void Change() override;
    void DoExit() override;
    void CMWantSpecialKey(TCMWantSpecialKey &Message) override;

private:
    TExtStringGrid *FGrid;
};
class TGridDatePicker : public TEsgDateTimePicker {
public:
    explicit TGridDatePicker(TComponent *AOwner);
    // Escape put the value of the cell back: the commit leaves the cell as it was.
    bool Restored = false;
    // Applied to the calendar when it drops down.
    bool Weeknumbers = false;
    bool ShowToday = true;
    bool ShowTodayCircle = true;
    void WndProc(TMessage &Message) override;

protected:
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(WideChar &Key) override;
    void DoExit() override;
    void CMWantSpecialKey(TCMWantSpecialKey &Message) override;
    void DrawNCExtras(TCanvas *DC) override;

private:
    // Writes the picker's text into the current cell; false (and Key := 0) when it is refused.
    bool CommitCheck(Word &Key);
    // A typed digit that changed a field moves the caret on to the next one.
    void ShiftFocus();
    TExtStringGrid *FGrid;
    Word Fy = 0, Fm = 0, Fd = 0, Fth = 0, Ftm = 0, Fts = 0, Ftms = 0;
};
// The date-and-time editor: Enter and Tab write the date and the time, Escape leaves the cell as
// it was. Enter, Escape and Tab are its own, in the time part too, not the dialog's.
class TGridDateTimePicker : public TExtDateTimePicker {
public:
    explicit TGridDateTimePicker(TComponent *AOwner);
    bool Restored = false;

protected:
    void KeyDown(Word &Key, TShiftState Shift) override;
    void CMWantSpecialKey(TCMWantSpecialKey &Message) override;
    void CMChildKey(TCMChildKey &Message) override;
    // The focus left the picker and its time part: the edit ends as with Enter.
    void DoExit() override;

private:
    bool WantsKey(Word Key);
    TExtStringGrid *FGrid;
};
// The picture of the header cell that follows the pointer while a column or row is dragged
// (ExtGridScrollControl.cpp): a bordered pop-up painted as the grid's top-left cell with the
// caption on it, plain on one line or as mini-HTML.
class THeaderDragButton : public TCustomControl {
public:
    explicit THeaderDragButton(TComponent *AOwner);
    TExtStringGrid *Grid = nullptr;
    bool Flat = false;

protected:
    void CreateParams(TCreateParams &Params) override;
    void Paint() override;
};

// The grid's one selection listener: told of the cell that became current.
class ITExtStringGridSelect {
public:
    virtual ~ITExtStringGridSelect() = default;
    virtual void SelectionChanged(int ACol, int ARow) = 0;
};

enum TDragScrollDirection { dsdUp, dsdDown, dsdLeft, dsdRight };
using TDragScrollDirections = TSet<TDragScrollDirection, 4>;
using TDragScrollEvent = std::function<void(TObject *Sender, int TopRow, int LeftCol, TDragScrollDirections &DragScrollDir, bool &CanScroll)>;
using TEndSizeEvent = std::function<void(TObject *Sender, int Index)>;
using TCanAddRowEvent = std::function<void(TObject *Sender, bool &CanAdd)>;
using TCanInsertRowEvent = std::function<void(TObject *Sender, int ARow, bool &CanInsert)>;
using TRatingChangeEvent = std::function<void(TObject *Sender, int ACol, int ARow, double &NewRate, bool &Allow)>;
using TUpdateColumnSizeEvent = std::function<void(TObject *Sender, int ACol, int &AWidth)>;

// Listens to cell changes of a grid (registered in its notifier list).
class TGridChangeNotifier : public TComponent {
public:
    explicit TGridChangeNotifier(TComponent *AOwner) : TComponent(AOwner) {}
    virtual void CellsChanged(const TRect &R) {}
};

using TGroupCalcEvent = std::function<void(TObject *Sender, int ACol, int FromRow, int ToRow, double &Res)>;

// ---------------------------------------------------------------------------------------------
// The grid's text editor: filters characters by the cell's editor type and validates before the
// grid moves on, so that a refused value never leaves the cell.

class TExtInplaceEdit : public TInplaceEdit {
public:
    explicit TExtInplaceEdit(TExtStringGrid *AGrid);
    void UpdateContents() override;
    // Types one character as the keyboard would, through the editor type's filter.
    bool FilterChar(WideChar &Key);
    // Replaces the selection by Value when the editor type takes it (the paste path).
    bool PasteText(UnicodeString Value);
    TExtStringGrid *ExtGrid() const { return FGrid; }
    int LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int Value) { FLengthLimit = Value; }

protected:
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(WideChar &Key) override;
    void KeyUp(Word &Key, TShiftState Shift) override;
    void Change() override;
    void WMChar(TWMKey &Message) override;
    // Pasted text goes through the editor type's paste rules.
    void WMPaste(TMessage &Message) override;
    // Tab stays in the editor when the grid validates before it moves on.
    void CMWantSpecialKey(TCMWantSpecialKey &Message) override;
    void ReportCaret();
    void WMSetFocus(TWMSetFocus &Message) override;
    void WMKillFocus(TWMKillFocus &Message) override;
    // The application may refuse a copy or a cut of the editor's selection.
    void WMCopy(TMessage &Message) override;
    void WMCut(TMessage &Message) override;
    void WMLButtonDblClk(TWMMouse &Message) override;

private:
    // Validates the editor text; a refusal puts the cell's text back into the editor.
    bool ValidateText();
    void BreakLine();
    // The row follows the lines typed into it.
    void SizeRowWhileTyping(int Lines);
    TExtStringGrid *FGrid;
    int FLengthLimit = 0;
    int FOldSelStart = 0;
    int FSelKeyDown = 0;
    int FColE = -1;
    int FRowE = -1;
    bool FGotFocus = false;
    // The Enter whose value was refused also arrives as a character: it must not close the
    // editor that the refusal reopened.
    bool FEnterRefused = false;

    // ---- lookup completion ----
public:
    // Completes the typed text from the grid's LookupItems (after each change).
    void DoChange();

private:
    // False after Backspace or Delete: completing then would undo the user's deletion.
    bool FWorkmode = true;
    bool FCompleting = false;
    bool FRecasing = false;
};

// ---------------------------------------------------------------------------------------------
// The string grid

class TExtStringGrid : public TBaseGrid, public IQRVStyle, public IQRVTones {
public:
    explicit TExtStringGrid(TComponent *AOwner);
    ~TExtStringGrid() override;

    // ---- cell texts ----
    // While no cell has properties and no display hook can change a text, a read is the store's
    // shared string and a write goes straight to the store; otherwise the base grid's way (base
    // cell of a merged range, display hooks, repaint of a range).
    UnicodeString Cells(int ACol, int ARow)
    {
        if (!FHasCellProps && PlainDisplay(ARow))
            return Store().Text(ACol, ARow);
        return GetCellEx(ACol, ARow);
    }
    void SetCells(int ACol, int ARow, const UnicodeString &Value)
    {
        // With a hidden column the real column is not the one shown at that index: the repaint
        // has to find it.
        if (!FHasCellProps && !FHideLastRow && FNumHidden == 0 && ACol >= 0 && ARow >= 0 && ACol < ColCount() &&
            ARow < RowCount()) {
            Store().SetText(ACol, ARow, Value);
            if (HandleAllocated() && MayBeInView(ACol, ARow))
                InvalidateCell(ACol, ARow);
            return;
        }
        SetCellsMapped(ACol, ARow, Value);
    }
    // Cells 0..Count-1 of row ARow at once, as SetCells writes them one by one.
    void SetRowCells(int ARow, const QStringView *Texts, int Count);

    // ---- lifecycle and overrides ----
    void Assign(TPersistent *Source) override;
    void Invalidate() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void UpdateScrollBarAlways(bool HideWhenFits);
    static TCustomForm *FindParentForm(TControl *Control);
    // The OnResize handler the grid installs on its owner form.
    void ParentFormResize(TObject *Sender);

    // ---- new virtual operations, in slot order ----
    virtual void DoCalcFooter(int ACol);
    virtual void DoClickSort(int ACol)
    {
        if (OnClickSort)
            OnClickSort(this, ACol);
    }
    virtual void DoF2Key() {}
    virtual void WriteEditValue(int ACol, int ARow, const UnicodeString &Value);
    virtual void DoSelectAll(const TGridRect &R) {}
    // Stores one pasted cell (display column) with undo, through the check box of a check-box cell.
    virtual void PasteCellText(int ACol, int ARow, const UnicodeString &Value);
    virtual UnicodeString GetCurrentCell();
    virtual void SetCurrentCell(const UnicodeString &Value);
    virtual UnicodeString GetCurrentCellText();
    virtual void SetCurrentCellText(const UnicodeString &Value);
    virtual void RestoreCellCache();
    virtual bool ToggleCellCheckBox(int ACol, int ARow, bool FromUser);
    virtual bool ToggleCellRadioButton(int ACol, int ARow, bool FromUser);
    virtual UnicodeString GetFormattedCell(int ACol, int ARow);
    virtual UnicodeString GetCellFloatFormat(int ACol, int ARow) { return FFloatFormat; }
    virtual TCellType GetCellType(int ACol, int ARow);
    virtual TCellGraphic *GetCellGraphic(int ACol, int ARow);
    virtual TPoint GetCellGraphicSize(int ACol, int ARow);
    virtual void CalcCellGraphicSize(int ACol, int ARow, TPoint &Size, int ReserveHeight);
    virtual void GetCellGraphicPrintSize(int ACol, int ARow, int MaxWidth, int MaxHeight, double Scale, TPoint &Size);
    // Fires OnPrintGetPageNum; the handler may replace the page text.
    virtual void DoPrintGetPageNum(int PageNum, int PageColNum, UnicodeString &PageNumString);
    virtual void DoGetEditorProp(int ACol, int ARow);
    virtual void DoCheckBoxClick(int ACol, int ARow, TCheckBoxState State);
    virtual void DoFixedEdit(int ACol, int ARow, TGridFixedCellEditor &AEditor, TStrings *Values);
    virtual void DoSelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
    virtual void DoEditCaretMove(const UnicodeString &Text, TPoint Caret, int CaretIndex) {}
    virtual void InsertRowAt(int ARow);
    virtual void DeleteRowAt(int ARow);
    virtual void DoFilterDone();
    virtual void DoUpdateColumnSize(int ACol, int &AWidth);
    virtual void DoUpdateColumnAutoSize(int ACol, int &AWidth);
    virtual void ColumnHeadersChanged(TObject *Sender) {}
    virtual UnicodeString DoEllipsClick(const UnicodeString &Value);
    virtual bool RowMatchesFilter(int ARow);
    virtual void DoBeginPaste() {}
    virtual void DoEndPaste() {}
    // From: the top-left cell the data was copied from in this grid, (-1, -1) for another source.
    virtual void MarkPastedRows(TPoint From, const TGridRect &Rect, TClipOperation Op);
    virtual UnicodeString GetCellText(int ACol, int ARow);
    virtual void DoSaveCell(int ACol, int ARow, UnicodeString &Value);
    virtual void DoLoadCell(int ACol, int ARow, const UnicodeString &Value);
    virtual void ExportNotification(TGridExportState AState, int ARow) {}
    virtual void ImportNotification(TGridImportState AState, int ARow) {}
    virtual void FooterColumnChanged(int ACol) { CalcFooter(ACol); }
    virtual void SaveOldCellValue(int ACol, int ARow);
    virtual void DoCanEditCell(int ACol, int ARow, bool &CanEdit);
    virtual void DoSearchFooterAction(const UnicodeString &Value, int ACol, int ARow, TSearchAction SearchAction);
    virtual void DoButtonClick(int ACol, int ARow);
    virtual void DoExpandClick(int ACol, int ARow, bool Expanded);
    virtual void DoComboCloseUp(int ARow, int ACol);
    virtual void DoComboDropDown(int ARow, int ACol);
    virtual void DoGetCellCursor(int ACol, int ARow, int X, int Y);
    virtual void DoCellsChanged(const TRect &R);
    virtual void BulkCellsChanged();
    virtual void DoGridHint(int ACol, int ARow, UnicodeString &HintStr, UnicodeString &WideHintStr);
    virtual void DoGetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush *ABrush, TFont *AFont);
    virtual void DoGetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush *ABrush, TFont *AFont);
    virtual void DoGetCellBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders);
    virtual void DoGetCellPrintBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders);
    virtual void DoGetAlignment(int ACol, int ARow, TAlignment &HAlign, TVAlignment &VAlign);
    virtual void DoGetFormat(int ACol, TSortStyle &AStyle, UnicodeString &aPrefix, UnicodeString &aSuffix);
    virtual void DoGetEditorType(int ACol, int ARow, TEditorType &AEditor);
    virtual void GetCellEditor(int ACol, int ARow, TEditorType &AEditor);
    virtual bool IsNoEditorCell(int ACol, int ARow);
    virtual void DoIsFixedCell(int ACol, int ARow, bool &IsFixed);
    virtual void CanEditCell(int ACol, int ARow, bool &CanEdit);
    virtual void DoIsPasswordCell(int ACol, int ARow, bool &IsPassword);
    virtual void DoGetWordWrap(int ACol, int ARow, bool &WordWrap);
    virtual bool HasComboBox(int ACol, int ARow);
    virtual bool HasSpinEdit(int ACol, int ARow);
    virtual void DoGetCheckTrue(int ACol, int ARow, UnicodeString &Value);
    virtual void DoGetCheckFalse(int ACol, int ARow, UnicodeString &Value);
    virtual bool DoGetColumnFilter(int Column);
    virtual TRect GetUsedCells();
    virtual void DeleteRowRange(int ARow, int Count);
    virtual void DoCanAddRow(bool &CanAdd);
    virtual void DoCanInsertRow(int ARow, bool &CanInsert);
    // After a wheel step of Delta rows; may clear Handled.
    virtual void DoWheelScroll(int Delta, bool &Handled) {}
    virtual void AddEmptyRow() { SetRowCount(RowCount() + 1); }
    virtual void DoCellMouseDown(int ACol, int ARow) {}
    virtual void DoEditFormulaState(bool Value) {}
    virtual void DoSelectionMouseDown(const TGridRect &R) {}
    virtual void MouseActionsChanged(TObject *Sender) {}
    virtual void GetIsDesigning(TObject *Sender, bool &IsDesigning);
    virtual void RefreshGrid(TObject *Sender) { Invalidate(); }
    virtual void DisableEditing(TObject *Sender);
    virtual void DoEditorKeyDown(Word &Key, TShiftState Shift) {}
    virtual void DoEditorWMKeyDown(TMessage &Msg) {}
    virtual void NavigationChanged(TObject *Sender) {}
    virtual void GotoFirstRow() { SetRow(FixedRows()); }
    virtual bool GetAllowFMTClipboard();
    virtual void DoFilterSelect(int Index);
    virtual void DoFilterCheck();
    // The quick configuration panel in the bottom-right corner while a designer edits the grid.
    virtual void DrawDesignHelper(TCanvas *ACanvas);
    virtual void DesignHelperClick(int X, int Y);
    virtual void DoCheckBoxChange(int ACol, int ARow, bool State);
    // Whether the rating may change to NewRate, which the handler may alter.
    virtual bool DoRatingChange(int ACol, int ARow, double &NewRate);
    // A pick in the colour or image picker editor of the current cell.
    virtual void DoColorSelect();
    virtual void DoImageSelect();
    virtual void DoCellChanging(int OldRow, int OldCol, int NewRow, int NewCol, bool &Allow);
    virtual void DoScrollCell(int ACol, int ARow);
    // Whether the header of the real column ACol offers its drop-down button.
    virtual bool DoCanShowFixedDropDown(int ACol);
    // Around a drag or a move that keeps the focus where it is.
    virtual void DoStartBlockFocus();
    virtual void DoEndBlockFocus();
    using TCanShowFixedDropDownEvent = std::function<void(TObject *Sender, int ACol, bool &CanShow)>;
    TCanShowFixedDropDownEvent OnCanShowFixedDropDown;
    TNotifyEvent OnStartBlockFocus;
    TNotifyEvent OnEndBlockFocus;
    // Columns sized to their content: at once when switched on, and when the grid is loaded.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

protected:
    // Puts the grid's window on, or takes it off, the list of windows told of Office theme changes.
    void RegisterThemeWindow(bool ARegister);
    TThemeNotifier *FThemeNotifier = nullptr;
    void DestroyWnd() override;

public:
    virtual TObject *GetGridImageList() { return FGridImages; }
    virtual void ExportNotification(int State, int ARow) {}
    virtual void ImportNotification(int State, int ARow) {}
    // Copies the cells of another string grid through its text stream.
    virtual void AssignCells(TPersistent *Source);
    virtual int GetVersionNr();
    virtual UnicodeString GetVersionString();
    virtual bool ValidateCell(const UnicodeString &NewValue);
    virtual bool ValidateCellWide(const UnicodeString &NewValue);
    // The frame both checks run in: one check at a time, with the edit flag down while it runs.
    bool RunCellValidation(const std::function<void(bool &Valid)> &Check);
    // After a refused value: back to the edited cell of ARow, with its editor open again.
    void ReopenRefusedEdit(int ARow);
    virtual void RemoveRowsEx(int RowIndex, int RCount);
    virtual void RemoveRows(int RowIndex, int RCount);
    virtual void InsertRows(int RowIndex, int RCount, bool UpdateCellControls = true);
    virtual void RemoveCols(int ColIndex, int CCount);
    virtual void InsertCols(int ColIndex, int CCount);
    virtual void SubGroup(int ColIndex);
    virtual void SubUnGroup(int ColIndex);
    virtual void Group(int ColIndex);
    virtual void UnGroup();
    virtual void SortSwapRows(int Index1, int Index2);
    virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
    virtual void TrimRect(int ACol1, int ARow1, int ACol2, int ARow2);
    // ---- saved settings (grid/services/ExtGridStateFiles.cpp) ----
    // The column order in the store ColumnSize names ("Pos" + n); nothing without Key or Section.
    virtual void SaveColPositions();
    virtual void LoadColPositions();
    // Count, widths, order and visibility as "N#w0,w1,..#o0,o1,..#1,0,..". A malformed string
    // raises (EConvertError, EListError) before anything of the grid changes.
    UnicodeString ColumnStatesToString();
    void StringToColumnStates(const UnicodeString &Value);
    // The column widths in the store ColumnSize names ("Col" + n).
    void SaveColSizes();
    void LoadColSizes();
    // The looks as Key=Value lines; "Cannot Create " / "Cannot open file " + name when the file
    // cannot be written or read.
    void SaveVisualProps(const UnicodeString &FileName);
    void LoadVisualProps(const UnicodeString &FileName);
    // PrintSettings in section Section of the INI file Key.
    void SavePrintSettings(const UnicodeString &Key, const UnicodeString &Section);
    void LoadPrintSettings(const UnicodeString &Key, const UnicodeString &Section);
    // ---- end of saved settings ----
    // Writes the colours of a style (a look setter that changes the look calls it too).
    virtual void SetStyle(TQRVStyle AStyle);
    // Passes a style on to the drop-down editors the grid has made.
    void StyleDropDownEditors(TQRVStyle AStyle);
    // Repaints the footer panel.
    virtual void UpdateFooter();
    // ---- floating footer support (ExtGridFooter.cpp) ----
    using TFooterPaintEvent = std::function<void(TObject *Sender, int AColumn, TCanvas *Canvas, const TRect &ARect)>;
    TFooterPaintEvent OnFooterPaint;
    TNotifyEvent OnCreatedFloatingFooter;
    bool HideLastRow() const { return FHideLastRow; }
    void SetHideLastRow(bool Value);
    // The cell painting of the footer panel, on its canvas.
    void PaintFooterCell(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
    {
        DrawGridCell(ACanvas, ACol, ARow, ARect, AState);
    }
    THTMLPictureCache *ImageCache() const { return FImageCache; }
    virtual void QSort();
    virtual void QSortIndexed();
    virtual void QSortGroup();
    virtual void QSortGroupIndexed();
    virtual void QUnSort();
    virtual void CalcFooter(int ACol);

    // ---- change notifiers (ExtGridNotify.cpp) ----
    // The grid keeps references only; a notifier that is freed while registered leaves the list
    // by itself.
    void RegisterNotifier(TGridChangeNotifier *ANotifier);
    void UnRegisterNotifier(TGridChangeNotifier *ANotifier);
    int NotifierCount() const { return FNotifierList ? FNotifierList->Count() : 0; }
    // ---- end of change notifiers ----

    // ---- column lookup, column order and header lists (ExtGridColumns.cpp) ----
    // The first real column whose header text (real row 0) is AValue, case-sensitive; -1.
    int ColumnByHeader(const UnicodeString &AValue);
    // Current position of original column ACol, and the original column at a position.
    int ColumnPosition(int ACol);
    int ColumnAtPosition(int ACol);
    // Shows every hidden column and puts the columns back in their recorded order.
    void ResetColumnOrder();
    // Records the order before the first move; the column-order entry moves with the column.
    void MoveColumn(int FromIndex, int ToIndex);
    TIntList *ColumnOrder() const { return FColumnOrder; }
    void SetColumnHeaders(TStrings *Value);
    void ClearColumnHeaders();
    void SetRowHeaders(TStrings *Value);
    void ClearRowHeaders();
    // ---- end of column lookup ----

    // ---- stretching, sizing, drag scrolling, listeners, combo strings (ExtGridNotify.cpp) ----
    // Index -1 is the last column; an index at or past ColCount raises.
    void StretchColumn(int Index);
    void StretchRightColumn() { StretchColumn(ColCount() - 1); }
    void DragScrollTimer(TObject *Sender);
    // The drag-scroll timer while one runs (it lives from the first margin hit to leaving them).
    TTimer *DragScrollTimerObject() const { return FDragTmr; }
    TSyncGrid *SyncGrid() const { return FSyncGrid; }
    TColor ArrowColor() const;
    void SetArrowColor(TColor Value);
    void RegisterSelListener(ITExtStringGridSelect *AListener) { FISelect = AListener; }
    void UnRegisterSelListener(ITExtStringGridSelect *) { FISelect = nullptr; }
    ITExtStringGridSelect *SelListener() const { return FISelect; }
    void ClearComboString();
    void AddComboString(const UnicodeString &s);
    void AddComboStringObject(const UnicodeString &s, TObject *AObject);
    bool RemoveComboString(const UnicodeString &s);
    bool SetComboSelectionString(const UnicodeString &s);
    void SetComboSelection(int idx) { FComboIdx = idx; }
    int ComboSelection() const { return FComboIdx; }
    int GetComboCount();
    void SetComboIndex(int ACol, int ARow, int Value);
    int GetComboIndex(int ACol, int ARow);
    // Display column and row.
    bool IsEditable(int ACol, int ARow);
    bool IsCellEditAllowed(int ACol, int ARow);
    bool IsPasswordCell(int ACol, int ARow);
    TDragScrollEvent OnDragScroll;
    TEndSizeEvent OnEndColumnSize;
    TEndSizeEvent OnEndRowSize;
    TUpdateColumnSizeEvent OnUpdateColumnSize;
    // ---- end of stretching, sizing, drag scrolling ----

    // ---- auto-sizing, calculations, running numbers and selection queries (ExtGridCalc.cpp) ----
    // Widths and heights set by auto-sizing stay within these limits; 0 or less is no limit, and
    // equal limits leave a measured size as it is.
    int MinColWidth() const { return FMinColWidth; }
    void SetMinColWidth(int Value) { FMinColWidth = Value; }
    int MaxColWidth() const { return FMaxColWidth; }
    void SetMaxColWidth(int Value) { FMaxColWidth = Value; }
    int MinRowHeight() const { return FMinRowHeight; }
    void SetMinRowHeight(int Value) { FMinRowHeight = Value; }
    int MaxRowHeight() const { return FMaxRowHeight; }
    void SetMaxRowHeight(int Value) { FMaxRowHeight = Value; }
    bool SizeGrowOnly() const { return FSizeGrowOnly; }
    void SetSizeGrowOnly(bool Value) { FSizeGrowOnly = Value; }
    bool ExcelClipboardFormat() const { return FExcelClipboardFormat; }
    void SetExcelClipboardFormat(bool Value) { FExcelClipboardFormat = Value; }
    // Index is a display column (row); Padding is added after the grow-only decision.
    void AutoSizeCol(int Index, int Padding = 0);
    void AutoSizeColumns(bool DoFixedCols, int Padding = 0);
    void AutoSizeRow(int Index, int Padding = 0);
    void AutoSizeRows(bool DoFixedRows, int Padding = 0);
    void AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY);
    // Scales the widths so that the columns fill the control.
    void AutoFitColumns(bool DoFixedCells);
    void SizeToCols();
    void SizeToRows();
    void SizeToCells();
    void SwapColumns(int Index1, int Index2);
    void SwapRows(int Index1, int Index2);
    // A range of -1 is the normal rows. Sum, average, minimum and maximum skip a cell that is no
    // number, but the first cell of a minimum or maximum and every cell of the deviation must be
    // one (RIdeZareVorev otherwise). A range past the shown rows counts real rows, hidden ones
    // included.
    double ColumnSum(int ACol, int FromRow = -1, int ToRow = -1);
    double ColumnAvg(int ACol, int FromRow = -1, int ToRow = -1);
    double ColumnMin(int ACol, int FromRow = -1, int ToRow = -1);
    double ColumnMax(int ACol, int FromRow = -1, int ToRow = -1);
    double ColumnStdDev(int ACol, int FromRow = -1, int ToRow = -1);
    double ColumnDistinct(int ACol, int FromRow = -1, int ToRow = -1);
    double ColumnCustomCalc(int ACol, int FromRow, int ToRow);
    double DoGroupCalc(int ACol, int FromRow, int ToRow);
    double RowSum(int ARow, int FromCol, int ToCol);
    double RowAvg(int ARow, int FromCol, int ToCol);
    double RowMin(int ARow, int FromCol, int ToCol);
    double RowMax(int ARow, int FromCol, int ToCol);
    void AutoNumberCol(int ACol);
    void AutoNumberRow(int ARow);
    int AutoNumberStart = 0;
    int AutoNumberOffset = 0;
    TSortDirection AutoNumberDirection = sdAscending;
    void SelectCells(int FromCol, int FromRow, int ToCol, int ToRow);
    // Cells joined by tabs, rows by CR LF.
    UnicodeString SelectedText();
    // The most lines a cell of the row holds.
    int GetMaxRowLines(int ARow);
    TGroupCalcEvent OnColumnCalc;
    TGroupCalcEvent OnGroupCalc;

protected:
    void SizeColToContent(int Index, bool GrowOnly);
    void SizeRowToContent(int ARow, bool GrowOnly, int Padding);
    void SizeRowToLines(int Index, int Lines, int Padding);

private:
    // The widest content of display column Index over the measured rows.
    int MeasureColContent(int Index);
    // Column (row) contents exchanged through a scratch column (row) past all others.
    void SwapLines(bool Columns, int Index1, int Index2);

public:
    // ---- end of auto-sizing and calculations ----

    // ---- spreadsheet, word-processor and database exchange through automation servers
    //      (grid/services/ExtGridOffice.cpp) ----
    // Exports write an OOXML workbook whatever the file name's extension; every failure raises.
    void SaveToXLS(const UnicodeString &Filename, bool CreateNewSheet = true);
    // Into the named sheet of the workbook (added when missing); its other sheets stay as they were.
    void SaveToXLSSheet(const UnicodeString &Filename, const UnicodeString &SheetName);
    void LoadFromXLS(const UnicodeString &Filename);
    void LoadFromXLSSheet(const UnicodeString &Filename, const UnicodeString &SheetName);
    // The names of the workbook's worksheets; the caller owns the list.
    TStringList *GetXLSSheets(const UnicodeString &FileName);
    void SaveToDOC(const UnicodeString &Filename, bool CreateNewDocument = true);
    void AppendToDoc(const UnicodeString &Filename, const UnicodeString &Bookmark);
    void LoadFromMDBSQL(const UnicodeString &Filename, const UnicodeString &SQL);
    // A table name that is no plain identifier is put in brackets.
    void LoadFromMDBTable(const UnicodeString &Filename, const UnicodeString &Table);

protected:
    void ExportXLS(const UnicodeString &Filename, const UnicodeString &SheetName, bool CreateNewSheet);
    void ImportXLS(const UnicodeString &Filename, const UnicodeString &SheetName);
    void ExportDOC(const UnicodeString &Filename, const UnicodeString &Bookmark, bool Append, bool CreateNewDocument);

public:
    // ---- end of automation exchange ----

    // ---- typed cell values, text marking, cell checking and fills (ExtGridValues.cpp) ----
    // ACol a real column, ARow a display row; the All variants take a real row. Reads of a text
    // that holds no such value raise RIdeZareVorev; dates and times raise the platform's error.
    int Ints(int ACol, int ARow);
    void SetInts(int ACol, int ARow, int Value);
    int AllInts(int ACol, int ARow);
    void SetAllInts(int ACol, int ARow, int Value);
    double Floats(int ACol, int ARow);
    void SetFloats(int ACol, int ARow, double Value);
    double AllFloats(int ACol, int ARow);
    void SetAllFloats(int ACol, int ARow, double Value);
    TDateTime Dates(int ACol, int ARow);
    void SetDates(int ACol, int ARow, TDateTime Value);
    TDateTime Times(int ACol, int ARow);
    void SetTimes(int ACol, int ARow, TDateTime Value);
    // The VALUE of the control with that ID in the cell's mini-HTML; empty when there is none.
    UnicodeString ControlValues(int ACol, int ARow, const UnicodeString &ID);
    void SetControlValues(int ACol, int ARow, const UnicodeString &ID, const UnicodeString &Value);
    // As CellTextToFloat, but false also for a text with no number in it at all ("abc").
    static bool CellTextToNumber(const UnicodeString &Text, double &Value);
    void SetFloatFormat(const UnicodeString &Value) { FFloatFormat = Value; Invalidate(); }
    // When off, a date of 0 or below is written as an empty cell.
    bool ShowNullDates() const { return FShowNullDates; }
    void SetShowNullDates(bool Value) { FShowNullDates = Value; }
    // What the last print layout computed per display column (width and left offset).
    int PrintColWidth(int ACol) const;
    int PrintColOffset(int ACol) const;
    // The tables grow with the printed columns; a column outside them raises RIdeZareVorev.
    std::vector<int> MaxWidths = std::vector<int>(512);
    std::vector<int> Indents = std::vector<int>(512);

    // ---- printing, print preview and page layout (grid/services/ExtGridPrint*.cpp) ----
    using TPrintStartEvent = std::function<void(TObject *Sender, int NrOfPages, int &FromPage, int &ToPage)>;
    using TPrintPageEvent = std::function<void(TObject *Sender, TCanvas *Canvas, int PageNr, int PageXSize, int PageYSize)>;
    using TPrintNewPageEvent = std::function<void(TObject *Sender, int ARow, bool &NewPage)>;
    using TPrintPageDoneEvent = std::function<void(TObject *Sender, TCanvas *Canvas, int LastRow, int LastRowOffset,
                                                   int LastPage, int PageXSize, int PageYSize)>;
    using TPrintCancelEvent = std::function<void(TObject *Sender, int PageNr, bool &Cancel)>;
    using TPrintColumnWidthEvent = std::function<void(TObject *Sender, int ACol, int &Width)>;
    using TPrintRowHeightEvent = std::function<void(TObject *Sender, int ARow, int &Height)>;
    using TFitToPageEvent = std::function<void(TObject *Sender, double &ScaleFactor, bool &Allow)>;
    using TPrintGetPageNumEvent = std::function<void(TObject *Sender, int PageNum, int PageColNum, UnicodeString &PageNumString)>;
    using TCustomCellSizeEvent = std::function<void(TObject *Sender, TCanvas *Canvas, int ACol, int ARow, TPoint &ASize, bool Printing)>;
    // On the platform's printer; the ranges are display columns and rows.
    void Print();
    void PrintSelection();
    void PrintRect(const TGridRect &GridRect);
    // Only the selected rows and columns (the two are one operation).
    void PrintSelectedRows();
    void PrintSelectedCols();
    // The pages of the page range (PreviewPage) onto Canvas, DisplayRect being the page.
    void PrintPreview(TCanvas *Canvas, TRect DisplayRect);
    void PrintPreviewRect(TCanvas *Canvas, TRect DisplayRect, const TGridRect &GridRect);
    void PrintPreviewSelection(TCanvas *Canvas, TRect DisplayRect);
    void PrintPreviewSelectedRows(TCanvas *Canvas, TRect DisplayRect);
    void PrintPreviewSelectedCols(TCanvas *Canvas, TRect DisplayRect);
    // Page 1 onto Canvas; the canvas's clip rectangle is the page.
    void PrintDraw(TCanvas *Canvas, TRect DrawRect);
    void PrintDrawRect(TCanvas *Canvas, TRect DrawRect, const TGridRect &GridRect);
    // Setting it makes the page range that one page; reading gives the first page of the range.
    int PreviewPage() const { return FPrintPageFrom; }
    void SetPreviewPage(int Value) { FPrintPageFrom = FPrintPageTo = Value; }
    int PrintPageFrom() const { return FPrintPageFrom; }
    int PrintPageTo() const { return FPrintPageTo; }
    // No page count before printing or previewing.
    bool FastPrint() const { return FFastPrint; }
    void SetFastPrint(bool Value) { FFastPrint = Value; }
    // Rotated text turns the other way on printers whose landscape rotation is not 270 degrees.
    bool PrinterDriverFix() const { return FPrinterdriverfix; }
    void SetPrinterDriverFix(bool Value) { FPrinterdriverfix = Value; }
    bool IsPrintPreview() const { return FIsPrintPreview; }
    TRect PrintPageRect() const { return FPrintPageRect; }
    int PrintPageWidth() const { return FPrintPageWidth; }
    int PrintColStart() const { return FPrintColStart; }
    int PrintColEnd() const { return FPrintColEnd; }
    int PrintNrOfPages() const { return FPrintPageNum; }
    // Font height in tenths of a millimetre of a size in points, scaled by the running fit scale,
    // and back (unscaled).
    int MapFontHeight(int PointSize) const;
    static int MapFontSize(int Height);
    // Moves ARect's left and top to where text turned by Angle degrees starts so that it sits in
    // the rectangle as the alignments ask (screen coordinates, the grid canvas's font).
    void CalcRotatedTextPos(TRect &ARect, int Angle, const UnicodeString &Text, TAlignment HAlign, TVAlignment VAlign);
    // Invalidates (without erasing) the screen rectangle of a range of cells.
    void RepaintGridRect(const TGridRect &GridRect);
    TPrintStartEvent OnPrintStart;
    TPrintPageEvent OnPrintPage;
    TPrintNewPageEvent OnPrintNewPage;
    TPrintPageDoneEvent OnPrintPageDone;
    TPrintCancelEvent OnPrintCancel;
    TPrintColumnWidthEvent OnPrintSetColumnWidth;
    TPrintRowHeightEvent OnPrintSetRowHeight;
    TFitToPageEvent OnFitToPage;
    TPrintGetPageNumEvent OnPrintGetPageNum;
    TCustomCellSizeEvent OnCustomCellSize;

private:
    friend class TGridPrintEngine;
    friend class TGridPrintDrivers;
    bool FFastPrint = false;
    bool FIsPrintPreview = false;
    TRect FPrintPageRect;
    int FPrintPageWidth = 0;
    int FPrintColStart = 0;
    int FPrintColEnd = 0;
    // The grid's font scale factor: the fit scale while a print run measures or draws.
    double FPrintFontScale = 1.0;

public:
    // ---- end of printing ----

    // Marking wraps every occurrence in "hi" (highlight) or "e" (error) tags.
    static UnicodeString HilightText(bool DoCase, const UnicodeString &S, const UnicodeString &Text);
    static UnicodeString UnHilightText(const UnicodeString &S);
    static UnicodeString MarkText(bool DoCase, const UnicodeString &S, const UnicodeString &Text);
    static UnicodeString UnMarkText(const UnicodeString &S);
    void HilightInCell(bool DoCase, int Col, int Row, const UnicodeString &HiText);
    void HilightInCol(bool DoFixed, bool DoCase, int Col, const UnicodeString &HiText);
    void HilightInRow(bool DoFixed, bool DoCase, int Row, const UnicodeString &HiText);
    void HilightInGrid(bool DoFixed, bool DoCase, const UnicodeString &HiText);
    void MarkInCell(bool DoCase, int Col, int Row, const UnicodeString &HiText);
    void MarkInCol(bool DoFixed, bool DoCase, int Col, const UnicodeString &HiText);
    void MarkInRow(bool DoFixed, bool DoCase, int Row, const UnicodeString &HiText);
    void MarkInGrid(bool DoFixed, bool DoCase, const UnicodeString &HiText);
    void UnHilightInCell(int Col, int Row);
    void UnHilightInCol(bool DoFixed, int Col);
    void UnHilightInRow(bool DoFixed, int Row);
    void UnHilightInGrid(bool DoFixed);
    void UnMarkInCell(int Col, int Row);
    void UnMarkInCol(bool DoFixed, int Col);
    void UnMarkInRow(bool DoFixed, int Row);
    void UnMarkInGrid(bool DoFixed);

    // The CellChecker over cells; without one every check passes and nothing changes.
    bool CheckCell(int Col, int Row);
    bool CheckCells(int FromCol, int FromRow, int ToCol, int ToRow);
    bool CheckCol(bool DoFixed, int Col);
    bool CheckRow(bool DoFixed, int Row);
    bool CheckGrid(bool DoFixed);

    void TextFill(bool DoFixed, const UnicodeString &Txt);
    // Fmt takes the column and the row index, in that order.
    void FormatFill(bool DoFixed, const UnicodeString &Fmt);
    void RandomFill(bool DoFixed, int Rnd);
    void LinearFill(bool DoFixed);

private:
    // The normal rows (DoFixed false) or all rows of the grid.
    void FillRange(bool DoFixed, int &C1, int &R1, int &C2, int &R2) const;
    void TagTextInRect(const UnicodeString &HiText, const UnicodeString &Tag, int ACol1, int ARow1, int ACol2,
                       int ARow2, bool DoCase);
    void UntagTextInRect(const UnicodeString &Tag, int ACol1, int ARow1, int ACol2, int ARow2);

public:
    // ---- end of typed cell values ----

    // ---- scrolling into view, row moves, used cells, save range and footer calculation
    // (ExtGridScroll.cpp) ----
    // Display indices; a cell out of view is centred.
    void ScrollInView(int ColIndex, int RowIndex);
    // The cell controls follow their rows.
    void MoveRow(int FromIndex, int ToIndex);
    // Count rows with their texts and cell objects; a range that does not lie in the grid is
    // refused.
    void MoveRows(int FromIndex, int ToIndex, int Count);
    // The rectangle of non-empty cells, (0, 0, 0, 0) for an empty grid.
    TRect UsedCells() { return GetUsedCells(); }
    // The rows and columns that exports write.
    bool SaveFixedCells() const { return FSaveFixedCells; }
    void SetSaveFixedCells(bool Value) { FSaveFixedCells = Value; }
    bool SaveFixedCols() const { return FSaveFixedCols; }
    void SetSaveFixedCols(bool Value) { FSaveFixedCols = Value; }
    bool SaveFixedRows() const { return FSaveFixedRows; }
    void SetSaveFixedRows(bool Value) { FSaveFixedRows = Value; }
    int SaveStartCol() const;
    int SaveStartRow() const;
    int SaveEndCol() const;
    int SaveEndRow() const;
    int SaveColCount() const;
    int SaveRowCount() const;
    // -1, -1 outside any cell.
    void ScreenToCell(TPoint pt, int &ACol, int &ARow);
    // The pointer (client coordinates) is within 3 pixels of a header cell's sizable edge.
    bool IsOnSizingEdge(int X, int Y);
    void SetScrollColor(TColor Value) { FScrollColor = Value; }
    void SetScrollWidth(int Value) { FScrollWidth = Value; }
    void ApplyFlatScrollStyle();
    void ApplyFlatScrollColor();
    void ApplyFlatScrollWidth();
    // Hands one flat scroll bar property (WSB_PROP_...) to the window.
    virtual void FlatSetScrollProp(int Index, int NewValue) {}
    bool ShowDesignHelper() const { return FShowDesignHelper; }
    void SetShowDesignHelper(bool Value);
    void SetShowModified(TShowModified *Value) { FShowModified->Assign(Value); }
    void SetBalloon(TBalloonSettings *Value) { FBalloonSettings->Assign(Value); }
    // The selection; with ActiveCellShow the headers and with ActiveRowShow the row are
    // repainted.
    void SetSelection(const TGridRect &Value);
    // Fired for an acCUSTOM footer column (ARow is the last data row, hidden rows counted).
    TCalcFooterEvent OnCalcFooter;

protected:
    void HiddenLastRowChanged() override;
    // ---- end of scrolling and footer calculation ----

public:
    // ---- grouping on a column (ExtGridGroup.cpp) ----
    // GroupColumn -1 ungroups, a column above 0 groups on it, 0 does nothing.
    int GroupColumn() const { return FGroupColumn; }
    void SetGroupColumn(int Value);
    bool IsGrouping() const { return FIsGrouping; }
    // The sub-grouped column, -1 without sub-groups.
    int SubGroupColumn() const { return FSubGroupColumn; }
    // Method 1 sum, 2 average, 3 minimum, 4 maximum, 5 count, 6 custom, 7 distinct, 8 standard
    // deviation, into each expanded group's header (or summary) row.
    void GroupCalc(int Colindex, int Method);
    void GroupSum(int Colindex);
    void GroupAvg(int Colindex);
    void GroupMin(int Colindex);
    void GroupMax(int Colindex);
    void GroupCount(int Colindex);
    void GroupCustomCalc(int Colindex) { GroupCalc(Colindex, 6); }
    void GroupDistinct(int Colindex) { GroupCalc(Colindex, 7); }
    void GroupStdDev(int Colindex) { GroupCalc(Colindex, 8); }

private:
    void MarkSummaryRow(int ARow);
    void ColorGroupRow(int ARow, TColor Color, TColor ColorTo, TColor TextColor);
    void ResetGroupRowColors(int ARow, TColor Color, TColor ColorTo, TColor TextColor);
    UnicodeString FGroupCaption;
    UnicodeString FGroupFooter;
    int FGroupWidth = 0;
    int FSubGroupColumn = -1;

public:
    // ---- end of grouping ----

    // ---- cell objects ----
    TCellGraphic *CreateCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphicOfType(int ACol, int ARow, TCellType ACellType);
    static TCheckBoxState BoolToCheckBoxState(bool bChecked) { return bChecked ? cbChecked : cbUnchecked; }
    void AddCheckBox(int ACol, int ARow, TCheckBoxState State);
    void AddTriStateCheckBoxColumn(int ACol, TCheckBoxState state);
    bool GetCheckBoxState(int ACol, int ARow, TCheckBoxState &state);
    TFont *GetCellFont(int i, int j);

    // ---- update lock ----
    // While the count is above 0 the window does not redraw. BeginUpdate counts only on a
    // visible grid (a hidden one has nothing to redraw); StartUpdate counts always.
    void BeginUpdate();
    void StartUpdate() { ++FUpdateCount; }
    void EndUpdate();
    void ResetUpdate() { FUpdateCount = 0; }
    bool LockUpdate() const { return FUpdateCount != 0; }
    void SetLockUpdate(bool Value) { Value ? BeginUpdate() : EndUpdate(); }

    // ---- hidden columns and rows: mapping between real and display indices ----
    // Columns 0..511 can be hidden; from 512 on every column counts as shown and maps to itself.
    void HideColumn(int ColIndex) { HideColumns(ColIndex, ColIndex); }
    void HideColumns(int FromCol, int ToCol);
    void UnHideColumn(int ColIndex) { UnHideColumns(ColIndex, ColIndex); }
    void UnHideColumns(int FromCol, int ToCol);
    void UnHideColumnsAll() { UnHideColumns(0, TotalColCount()); }
    bool IsHiddenColumn(int ColIndex) const;
    int TotalColCount() const override { return ColCount() + FNumHidden; }
    bool GetVisibleCol(int Index) const { return Index < 0 || Index > 512 ? true : FVisibleCol[std::size_t(Index)]; }
    void SetVisibleCol(int Index, bool Value)
    {
        if (Index >= 0 && Index <= 512)
            FVisibleCol[std::size_t(Index)] = Value;
    }
    int RealColIndex(int ACol) const { return DisplToRealCol(ACol); }
    int DisplColIndex(int ACol) override { return RealToDisplCol(ACol); }
    int DisplToRealCol(int D) const;
    int RealToDisplCol(int A) const;
    int RealRowIndex(int ARow) const { return FGridItems->DisplToReal(ARow); }
    int DisplRowIndex(int ARow) const { return FGridItems->RealToDispl(ARow); }
    bool IsHiddenRow(int RowIndex) const { return FGridItems->IsHidden(RowIndex); }
    int TotalRowCount() const { return RowCount() + NumHiddenRows(); }
    // The hidden-row store (items in the order hidden, with a sorted index of their rows).
    THiddenRows *GridItems() const { return FGridItems; }

    // ---- dimensions: counts, fixed rows and columns, sizes and the plain settings ----
    // ColCount and RowCount count the shown columns and rows; the All counts add the hidden ones.
    // With FixedRowAlways (FixedColAlways) a grid left with a single row (column) keeps it as
    // its header, and the fixed rows asked for come back once there are rows enough.
    void SetRowCount(int Value);
    void SetColCount(int Value);
    int FixedRows() const { return TBaseGrid::FixedRows() == 0 && FFixedRowAlways ? 1 : TBaseGrid::FixedRows(); }
    void SetFixedRows(int Value);
    int FixedCols() const { return TBaseGrid::FixedCols() == 0 && FFixedColAlways ? 1 : TBaseGrid::FixedCols(); }
    void SetFixedCols(int Value);
    int AllColCount() const { return ColCount() + NumHiddenColumns(); }
    int AllRowCount() const { return RowCount() + NumHiddenRows(); }
    int MaxRowCount() const { return FMaxRowCount; }
    int MaxColCount() const { return FMaxColCount; }
    int FixedRightCols() const { return FFixedRightCols; }
    void SetFixedRightCols(int Value);
    void SetDefaultRowHeight(int Value);
    int FixedRowHeight() const { return FFixedRowHeight; }
    void SetFixedRowHeight(int Value);
    int FixedColWidth() const { return ColWidths(0); }
    void SetFixedColWidth(int Value);
    bool WordWrap() const { return FWordWrapEx; }
    void SetWordWrap(bool Value);
    TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TAlignment Value);
    // The text drawing flag of VAlignment: DT_TOP, DT_VCENTER or DT_BOTTOM.
    int VAlignFlag() const { return FVAlign; }
    // By real column: a hidden column answers the width it had when it was hidden.
    int AllColWidths(int ACol) const;
    void SetAllColWidths(int ACol, int Value);
    // Moves the current cell within its row; a grid kept in step follows with SelectionColumn.
    void SetCol(int Value);
    // Where navigation may stop.
    int FirstNormalCol() { return FixedCols() == 0 && HasNodes() ? 1 : FixedCols(); }
    int VisibleFixedRightCols() const;
    bool IsNavigableCell(int ACol, int ARow);
    int FirstNavigableCol(int ARow);
    int LastNavigableCol(int ARow);
    // Plain settings: each stores its value and repaints when it changed.
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor Value) { SetAndInvalidate(FSelectionColor, Value); }
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor Value) { SetAndInvalidate(FSelectionColorTo, Value); }
    TColor SelectionMirrorColor() const { return FSelectionMirrorColor; }
    void SetSelectionMirrorColor(TColor Value) { SetAndInvalidate(FSelectionMirrorColor, Value); }
    TColor SelectionMirrorColorTo() const { return FSelectionMirrorColorTo; }
    void SetSelectionMirrorColorTo(TColor Value) { SetAndInvalidate(FSelectionMirrorColorTo, Value); }
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor Value) { SetAndInvalidate(FSelectionTextColor, Value); }
    bool SelectionColorMixer() const { return FSelectionColorMixer; }
    void SetSelectionColorMixer(bool Value) { SetAndInvalidate(FSelectionColorMixer, Value); }
    bool SelectionRectangle() const { return FSelectionRectangle; }
    void SetSelectionRectangle(bool Value) { SetAndInvalidate(FSelectionRectangle, Value); }
    bool SelectionResizer() const { return FSelectionResizer; }
    void SetSelectionResizer(bool Value) { SetAndInvalidate(FSelectionResizer, Value); }
    // Kept within 0..100.
    int SelectionColorMixerFactor() const { return FSelectionColorMixerFactor; }
    void SetSelectionColorMixerFactor(int Value);
    bool ShowSelection() const { return FShowSelection; }
    void SetShowSelection(bool Value);
    bool Flat() const { return FIsFlat; }
    void SetFlat(bool Value);
    // Header gradient colours are kept as RGB; clNone stays clNone (no gradient, no mirror).
    static TColor QRVColor(TColor Value) { return Value == clNone ? clNone : TColorOf(ColorToRGB(Value)); }
    TColor QRVGradientFrom() const { return FQRVGradFrom; }
    void SetQRVGradientFrom(TColor Value) { SetAndInvalidate(FQRVGradFrom, QRVColor(Value)); }
    TColor QRVGradientTo() const { return FQRVGradTo; }
    void SetQRVGradientTo(TColor Value) { SetAndInvalidate(FQRVGradTo, QRVColor(Value)); }
    TColor QRVGradientMirrorFrom() const { return FQRVGradMirrorFrom; }
    void SetQRVGradientMirrorFrom(TColor Value) { SetAndInvalidate(FQRVGradMirrorFrom, QRVColor(Value)); }
    TColor QRVGradientMirrorTo() const { return FQRVGradMirrorTo; }
    void SetQRVGradientMirrorTo(TColor Value) { SetAndInvalidate(FQRVGradMirrorTo, QRVColor(Value)); }
    void SetLookupItems(TStringList *Value)
    {
        if (Value)
            FLookupItems->Assign(Value);
    }
    TStringList *LookupItems() const { return FLookupItems; }
    void SetFixedFont(TFont *Value)
    {
        if (Value)
            FFixedFont->Assign(Value);
        Invalidate();
    }
    // The four bytes of GetVersionNr, from the highest, joined by ".".
    UnicodeString Version();
    bool SpreadSheet() const { return FSpreadSheet; }
    // Stores the flag and switches the spreadsheet options on, whatever the value.
    void SetSpreadSheet(bool Value);
    using TColumnSizeEvent = std::function<void(TObject *Sender, int ACol, bool &Allow)>;
    using TRowSizeEvent = std::function<void(TObject *Sender, int ARow, bool &Allow)>;
    TColumnSizeEvent OnColumnSize;
    TRowSizeEvent OnRowSize;

    // ---- cell texts by real index, rich text and per-cell properties ----
    // Cells take a real column and a display row; the All accessors take a real column and a
    // real row, so that they reach the cells of hidden rows too. Per-cell property reads answer
    // the default for a cell without properties; writes make the properties object.
    UnicodeString WideCells(int ACol, int ARow) { return DecodeWideText(Cells(ACol, ARow)); }
    void SetWideCells(int ACol, int ARow, const UnicodeString &Value) { SetCells(ACol, ARow, Value); }
    UnicodeString StrippedCells(int ACol, int ARow);
    UnicodeString AllCells(int ACol, int ARow);
    void SetAllCells(int ACol, int ARow, const UnicodeString &Value);
    // Raw: no merged range, no display hook.
    UnicodeString AllGridCells(int ACol, int ARow);
    void SetAllGridCells(int ACol, int ARow, const UnicodeString &Value);
    // The cell of the column that now shows original column ACol.
    UnicodeString OriginalCells(int ACol, int ARow) { return Cells(ColumnPosition(ACol), ARow); }
    void SetOriginalCells(int ACol, int ARow, const UnicodeString &Value) { SetCells(ColumnPosition(ACol), ARow, Value); }
    UnicodeString AllWideCells(int ACol, int ARow) { return DecodeWideText(AllCells(ACol, ARow)); }
    void SetAllWideCells(int ACol, int ARow, const UnicodeString &Value) { SetAllCells(ACol, ARow, Value); }
    TObject *AllObjects(int ACol, int ARow);
    void SetAllObjects(int ACol, int ARow, TObject *Value);
    // The raw object slot: the cell's properties object or nil.
    TObject *GetAllGridObjects(int ACol, int ARow);
    // By the row's index before sorting; a row the sort does not know reads empty and takes
    // nothing.
    UnicodeString UnSortedCells(int ACol, int ARow);
    void SetUnSortedCells(int ACol, int ARow, const UnicodeString &Value);
    int SortedRowIndex(int ARow);
    int UnSortedRowIndex(int ARow);
    TIntList *SortRowXRef() const { return FSortRowXRef; }
    int LinesInCell(int ACol, int ARow);
    bool EditWithTags() const { return FEditWithTags; }
    void SetEditWithTags(bool Value) { FEditWithTags = Value; }
    // Rich text kept in a cell is 8-bit RTF; a cell holding anything else loads as plain text.
    void CellToRich(int ACol, int ARow, TRichEdit *RichEditor);
    UnicodeString RichToString(TRichEdit *RichEditor);
    void RichToCell(int ACol, int ARow, TRichEdit *RichEditor);
    TColor Colors(int ACol, int ARow);
    void SetColors(int ACol, int ARow, TColor Value);
    TColor ColorsTo(int ACol, int ARow);
    void SetColorsTo(int ACol, int ARow, TColor Value);
    TCellGradientDirection Gradients(int ACol, int ARow);
    void SetGradients(int ACol, int ARow, TCellGradientDirection Value);
    bool ReadOnly(int ACol, int ARow) { return GetReadOnly(ACol, ARow); }
    void SetReadOnly(int ACol, int ARow, bool Value);
    bool WordWraps(int ACol, int ARow);
    void SetWordWraps(int ACol, int ARow, bool Value);
    TColor FontColors(int ACol, int ARow);
    void SetFontColors(int ACol, int ARow, TColor Value);
    TFontStyles FontStyles(int ACol, int ARow);
    void SetFontStyles(int ACol, int ARow, TFontStyles Value);
    UnicodeString FontNames(int ACol, int ARow);
    void SetFontNames(int ACol, int ARow, const UnicodeString &Value);
    int FontSizes(int ACol, int ARow);
    void SetFontSizes(int ACol, int ARow, int Value);
    TAlignment Alignments(int ACol, int ARow);
    void SetAlignments(int ACol, int ARow, TAlignment Value);
    TFont *Fonts(int ACol, int ARow) { return GetCellFont(ACol, ARow); }
    void SetCellFont(int ACol, int ARow, TFont *Value);
    TControl *CellControls(int ACol, int ARow);
    void SetCellControls(int ACol, int ARow, TControl *AControl);
    int NumCellControls() const { return FNumCellControls; }
    // Row-wide, from FixedCols on over every real column. clNone takes the colour away again and
    // frees a properties object that is left holding nothing but defaults.
    void SetRowColor(int ARow, TColor Value);
    void SetRowColorTo(int ARow, TColor Value);
    void SetRowFontColor(int ARow, TColor Value);
    // Pixels added to every width and height; the factor stays within -10..10.
    void Zoom(int x);
    int ZoomFactor() const { return FZoomFactor; }
    void CellImageChanged(TObject *Sender, int ACol, int ARow) { RepaintCell(DisplColIndex(ACol), ARow); }
    void RichEditSelectionChanged(TObject *Sender)
    {
        if (OnRichEditSelectionChange)
            OnRichEditSelectionChange(Sender);
    }
    TNotifyEvent OnRichEditSelectionChange;

    // ---- hidden rows: taken out of the grid with their cells, objects and heights ----
    // Real row indices. Rows hidden directly have level 0; each HideRowList is one filter level
    // above the last, and UnHideRowList brings back only the rows of the latest level.
    void HideRow(int RowIndex) { HideRows(RowIndex, RowIndex); }
    void HideRows(int FromRow, int ToRow);
    void HideRowsEx(int FromRow, int ToRow);
    void UnHideRow(int RowIndex) { UnHideRows(RowIndex, RowIndex); }
    // Only when FromRow itself is hidden; every hidden row of the range comes back.
    void UnHideRows(int FromRow, int ToRow);
    void UnHideRowsAll();
    // RowList: display rows; the caller lowers FilterLevel after the matching UnHideRowList.
    void HideRowList(TIntList *RowList);
    void UnHideRowList();
    int FilterLevel() const { return FFilterLevel; }
    void SetFilterLevel(int Value) { FFilterLevel = Value < 0 ? 0 : Value; }
    // Builds ListHidden (the hidden real rows) on the first call, when it is nil, and answers
    // from it afterwards; the caller frees the list.
    bool IsHiddenRow(int RowIndex, TIntList *&ListHidden) const;
    // The stored cells of a hidden real row, nullptr when the row is shown.
    TStrings *HiddenRowItems(int ARealRow) const;
    // The current row; a grid kept in step follows with SelectionRow. OnRowUpdate hears of a
    // move away from the row it last reported.
    void SetRow(int Value);
    // Only a row from FixedRows to the last one is taken.
    void SetTopRow(int Value);
    void UpdateEditMode() { SelectCell(Col(), Row()); }
    int RealRow() const { return RealRowIndex(Row()); }
    int RealCol() const { return RealColIndex(Col()); }
    bool IsIgnoredColumn(int ACol) const { return FIgnoreColumns && FIgnoreColumns->HasValue(ACol); }
    TIntList *IgnoreColumns() const { return FIgnoreColumns; }
    TRowChangedEvent OnRowUpdate;

    // ---- row and column structure (ExtGridStructure.cpp) ----
    // Rows move as whole store rows (every column, hidden ones too) with their heights; the
    // hidden-row store, the cell controls (by real row) and the modified, enabled and
    // row-selection lists (by display row) follow them.
    void DeleteRowsCore(int ARow, int ACount, bool UpdateCellControls);
    void InsertRowsCore(int RowIndex, int RCount, bool UpdateCellControls);
    void AddRow();
    // After the last real column: hidden columns count too.
    void AddColumn() { InsertCols(TotalColCount(), 1); }
    void RemoveDuplicates(int ACol, bool DoCase);
    void MergeCols(int ColIndex1, int ColIndex2, const UnicodeString &Separator);
    void ClearRows(int RowIndex, int RCount);
    void ClearCols(int ColIndex, int CCount);
    void ClearNormalRows(int RowIndex, int RCount);
    void ClearNormalCols(int ColIndex, int CCount);
    void ClearNormalCells();
    void Clear();
    void ClearAll();
    void TrimColumn(int ACol) { TrimRect(ACol, 0, ACol, RowCount() - 1); }
    void TrimRow(int ARow) { TrimRect(0, ARow, ColCount() - 1, ARow); }
    void TrimAll() { TrimRect(0, 0, ColCount() - 1, RowCount() - 1); }
    void ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor);
    void MergeColumnCells(int ColIndex, bool MainMerge);
    void MergeRowCells(int RowIndex, bool MainMerge);
    void SplitColumnCells(int ColIndex);
    void SplitRowCells(int RowIndex);
    void SplitAllCells();
    void SplitAllColumnCells();
    void MergeAllColumnCells();
    TIntList *MergedColumns() const { return FMergedColumns; }
    // The first cell (row by row) whose stored text is SubStr exactly.
    bool IsCell(const UnicodeString &SubStr, int &ACol, int &ARow) const;
    bool IsWideCell(int ACol, int ARow);
    // Rows and columns by their selection or check box. The rows go in one pass, however many;
    // a row with no check box in CheckBoxColumn is neither checked nor unchecked and stays.
    void RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked);
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    void HideSelectedRows();
    void HideUnSelectedRows();
    void RemoveSelectedCols();
    void RemoveUnSelectedCols();
    void ClearSelection();
    // The tree's nodes go with a clear; the node part of the grid fills this in.
    virtual void RemoveAllNodes();
    bool ClearTextOnly() const { return FClearTextOnly; }
    void SetClearTextOnly(bool Value) { FClearTextOnly = Value; }
    bool SaveHiddenCells() const { return FSaveHiddenCells; }
    void SetSaveHiddenCells(bool Value) { FSaveHiddenCells = Value; }
    // A grid left without normal rows parks its selection on the cell just past the last
    // column and row; UnHideSelection brings back the one it had, or the first normal cell when
    // that one is gone.
    void HideSelection();
    void UnHideSelection();
    bool SelHidden() const { return FSelHidden; }

    // ---- grid files: the grid's text file and stream, the binary cell stream, delimited,
    // fixed-width and ASCII text (grid/services) ----
    // Readers refuse counts and indices beyond these before the grid grows: a damaged or hostile
    // file must not make the grid allocate millions of rows or columns.
    static constexpr int MaxFileRows = 16777216;
    static constexpr int MaxFileCols = 65536;
    // The largest data file the readers take in.
    static constexpr Int64 MaxDataFileSize = Int64(1) << 30;

    // The range the exporters write: SaveStartCol .. SaveRowCount with the calculations.
    WideChar Delimiter() const { return FDelimiter; }
    void SetDelimiter(WideChar Value) { FDelimiter = Value; }
    bool JavaCSV() const { return FJavaCSV; }
    void SetJavaCSV(bool Value) { FJavaCSV = Value; }
    bool AlwaysQuotes() const { return FAlwaysQuotes; }
    void SetAlwaysQuotes(bool Value) { FAlwaysQuotes = Value; }
    bool QuoteEmptyCells() const { return FQuoteEmptyCells; }
    void SetQuoteEmptyCells(bool Value) { FQuoteEmptyCells = Value; }
    bool LoadFirstRow() const { return FLoadFirstRow; }
    void SetLoadFirstRow(bool Value) { FLoadFirstRow = Value; }
    bool OemConvert() const { return FOemConvert; }
    void SetOemConvert(bool Value) { FOemConvert = Value; }
    // The id by which the binary cell stream names the grid that wrote it.
    Cardinal GridID();

    using TFileProgressEvent = std::function<void(TObject *Sender, SmallInt Progress)>;
    TFileProgressEvent OnFileProgress;

    // The grid's own text file (ExtGridTextFile.cpp).
    void SaveToFile(const UnicodeString &FileName, bool Unicode = false);
    void LoadFromFile(const UnicodeString &FileName);
    // The same lines inside a caller's stream, as UTF-16 from the stream's position.
    void SaveToStream(TStream *Stream);
    void LoadFromStream(TStream *Stream);
    double CellToReal(int ACol, int ARow);
    virtual void ChangeScale(int M, int D);

    // The binary cell stream with properties and graphics (ExtGridBinStream.cpp).
    void SaveRectToBinStream(const TRect &Rect, TStream *Stream);
    void SaveToBinStream(TStream *Stream);
    void SaveToBinFile(const UnicodeString &FileName);
    void LoadAtPointFromBinStream(TPoint Point, TStream *Stream);
    void LoadFromBinStream(TStream *Stream);
    void LoadFromBinFile(const UnicodeString &FileName);

    // Delimited, fixed-width and ASCII text (ExtGridDelimited.cpp).
    void SaveToCSV(const UnicodeString &FileName, bool Unicode = false);
    void AppendToCSV(const UnicodeString &FileName, bool Unicode = false);
    void LoadFromCSV(const UnicodeString &FileName, int MaxRows = -1);
    void InsertFromCSV(const UnicodeString &FileName, int MaxRows = -1);
    void LoadFromCSVStream(TStream *AStream, int MaxRows = -1);
    void SaveToFixed(const UnicodeString &FileName, TIntList *Positions);
    void LoadFromFixed(const UnicodeString &FileName, TIntList *Positions, bool DoTrim = true, int MaxRows = -1);
    void SaveToASCII(const UnicodeString &FileName, bool Unicode = false);
    void AppendToASCII(const UnicodeString &FileName, bool Unicode = false);
    // The longest line, in characters, of the column's texts to save over all rows (lines split
    // only under Multilinecells).
    int ColumnTextLength(int ACol);

private:
    void LoadCSVFile(const UnicodeString &FileName, int MaxRows, bool Inserting);
    // The lines of the grid's text file, as UTF-16 or as the bytes of an 8-bit file.
    template <typename Ch> void LoadFileLines(const Ch *Data, qsizetype Size, TEncoding *Enc, const UnicodeString &FileName);
    void LoadCSVLines(const std::vector<QStringView> &Lines, int MaxRows, bool Inserting);
    void SaveCSVLines(QString &Text);
    void WriteASCII(const UnicodeString &FileName, bool Unicode, bool Appending);
    void FireFileProgress(int Value, int &Last);
    bool FOemConvert = false;
    Cardinal FGridID = 0;
    // ---- end of grid files ----

public:
    // ---- HTML and XML (ExtGridHtml.cpp, ExtGridXml.cpp) ----
    THTMLSettings *HTMLSettings() const { return FHTMLSettings; }
    // The grid as an HTML table under HTMLSettings. Dir (with a trailing "/", or empty) is the
    // folder that gets the "images" folder for cell pictures and prefixes their paths.
    UnicodeString SaveToHTMLString(const UnicodeString &Dir);
    // Writes the table between the header and footer files; Unicode gives UTF-16 with a
    // byte-order mark, otherwise 7-bit text with "?" for any other character. Show (or
    // AutoPreview) opens the file in the desktop's viewer afterwards.
    void SaveToHTML(const UnicodeString &FileName, bool Show = false, bool Unicode = false);
    // The same after the lines the file holds already (none when it cannot be read).
    void AppendToHTML(const UnicodeString &FileName, bool Show = false, bool Unicode = false);
    // The save range as flat XML: a ListDescr element holding one RecordDescr element per row
    // and one element per cell, named by FieldDescr or FIELD0, FIELD1, ...
    void SaveToXML(const UnicodeString &FileName, const UnicodeString &ListDescr, const UnicodeString &RecordDescr,
                   TStrings *FieldDescr, bool ExportEmptyCells = false);
    // Reads an XML document into the cells: each child of the root element fills a row (with
    // LevelToRow each nesting level that carries attributes starts one); LoadFieldDescr puts
    // the element names into row 0 when fixed rows are saved.
    void LoadFromXML(const UnicodeString &FileName, bool LevelToRow = false, bool LoadFieldDescr = false);
    void SetXMLEncoding(const UnicodeString &Value) { FXMLEncoding = Value; }

private:
    void WriteHTMLFile(const UnicodeString &FileName, bool Show, bool Unicode, bool Appending);
    // ---- end of HTML and XML ----

public:
    // ---- sorting (grid/services/ExtGridSort.cpp) ----
    // Every sort reads each row's key once, orders the rows stably (equal rows keep their order,
    // whatever answers a compare handler gives) and then moves each row once through
    // SortSwapRows. Nothing moves before the order is known, so a handler that raises leaves the
    // rows as they were.
    using TCustomCompareEvent = std::function<void(TObject *Sender, const UnicodeString &str1,
                                                   const UnicodeString &str2, int &Res)>;
    using TRawCompareEvent = std::function<void(TObject *Sender, int ACol, int Row1, int Row2, int &Res)>;
    void Sort(int Column, TSortDirection Direction);
    // Only with more than one row.
    void SortByColumn(int Col);
    // Rows Left..Right by column ACol (by SortSettings.Direction) or by SortIndexes.
    void QuickSort(int ACol, int Left, int Right);
    void QuickSortIndexed(int Left, int Right);
    // Exchanges the two rows when they are out of order; SortDir comes from the last sort.
    bool SortLine(int Col, int ARow1, int ARow2);
    void InitSortXRef();
    // -1, 0 or 1 (a compare handler's answer unchanged); Direction 0 ascending, 1 descending
    // (it only places blanks).
    int CompareCells(int ACol, int ARow1, int ARow2, int Direction);
    int Compares() const { return FCompares; }
    int Swaps() const { return FSwaps; }
    int SortRow() const { return FSortRow; }
    int SortDir() const { return FSortDir; }
    Cardinal SortTime() const { return FSortTime; }
    void SetSortTime(Cardinal Value) { FSortTime = Value; }
    TCustomCompareEvent OnCustomCompare;
    TRawCompareEvent OnRawCompare;

    // ---- filtering (grid/services/ExtGridFilter.cpp) ----
    // Applying the filter hides the failing normal rows as one level of the hidden-row store;
    // levels stack, and removing one shows its rows again.
    using TCustomFilterEvent = std::function<void(TObject *Sender, int ARow, bool &AcceptRow)>;
    using TGridProgressEvent = std::function<void(TObject *Sender, SmallInt Progress)>;
    using TFilterCheckEvent = std::function<void(TObject *Sender, int Column, int ItemIndex,
                                                 const UnicodeString &FriendlyName, UnicodeString &FilterCondition,
                                                 TCheckListBox *CheckList)>;
    TFilter *Filter() const { return FFilter; }
    bool FilterActive() const { return FFilterActive; }
    // Switching on applies the filter as a new level; off shows the last level again (the level
    // count stays). The footer is recalculated either way.
    void SetFilterActive(bool Value);
    void ApplyFilter();
    // Hides the row (a display row) when it fails.
    void FilterRow(int ARow);
    // True when more than one level is left afterwards.
    bool RemoveLastFilter();
    // Every level goes; without levels the conditions go instead.
    void RemoveAllFilters();
    // Narrows the rows shown to those whose cell in AColumn (any cell: -1) contains ACondition,
    // ignoring case: a condition one character longer than the last adds a level, one shorter
    // takes the last away, any other starts again. An empty condition ends the narrowing.
    void NarrowDown(const UnicodeString &ACondition, int AColumn = -1);
    // The value list of real column ACol below its filter button: the check list with
    // FilterDropDownCheck, else the plain list. False when the column offers no values.
    bool ShowFilterList(int ACol);
    // An open list closes without a choice (the grid went out of sight).
    void CloseFilterLists();
    int FilterCol() const { return FFilterCol; }
    void SetFilterCol(int Value) { FFilterCol = Value; }
    TDropList *DropList() const { return FDropList; }
    TDropCheckList *DropCheckList() const { return FDropCheckList; }
    TFilterDropDown *FilterDropDown() const { return FFilterDropDown; }
    bool FilterNormalCellsOnly() const { return FFilterNormalCellsOnly; }
    void SetFilterNormalCellsOnly(bool Value) { FFilterNormalCellsOnly = Value; }
    bool AutoFilterUpdate() const { return FAutoFilterUpdate; }
    void SetAutoFilterUpdate(bool Value) { FAutoFilterUpdate = Value; }
    bool FilterDropDownCheck() const { return FFilterDropDownCheck; }
    void SetFilterDropDownCheck(bool Value) { FFilterDropDownCheck = Value; }
    int FilterDropDownRow() const { return FFilterDropDownRow; }
    // Only a row above the normal rows is taken.
    void SetFilterDropDownRow(int Value);
    const UnicodeString &LastFilter() const { return FLastFilter; }
    int FilterFixedRows() const { return FFilterFixedRows; }
    TCustomFilterEvent OnCustomFilter;
    TGridProgressEvent OnFilterProgress;
    TFilterSelectEvent OnFilterSelect;
    TFilterCheckEvent OnFilterCheck;

    // ---- search and replace (grid/services/ExtGridFind.cpp) ----
    // The next matching cell after StartCell in the scan order the options give; (-1, -1) from
    // the start, and as the answer when there is none.
    TPoint Find(TPoint StartCell, const UnicodeString &s, TFindParams FindParams);
    TPoint FindWide(TPoint StartCell, const UnicodeString &s, TFindParams FindParams);
    TPoint FindFirst(const UnicodeString &s, TFindParams FindParams);
    // Goes on from the last result with the last text and options.
    TPoint FindNext();
    // Every occurrence in every matching cell, ignoring case unless fnMatchCase; answers the
    // number of cells changed.
    int Replace(const UnicodeString &OrigStr, const UnicodeString &NewStr, TFindParams FindParams);
    // The search footer's handlers; the panel's events are bound to them.
    using TSearchEditChangeEvent = std::function<void(TObject *Sender, const UnicodeString &Value, bool &DefaultSearch)>;
    void SearchFooterEditChange(TObject *Sender);
    void SearchFooterFindNext(TObject *Sender);
    void SearchFooterFindPrevious(TObject *Sender);
    void SearchFooterClose(TObject *Sender);
    // The highlight button toggled: the edit text is marked in the grid (or the search column),
    // or the marks go.
    void SearchFooterHighlight(TObject *Sender);
    TSearchEditChangeEvent OnSearchEditChange;
    TNotifyEvent OnSearchFooterClose;
    // The search panel's window and controls were made (Sender: the grid).
    TNotifyEvent OnCreatedSearchFooter;
    TPoint SearchCell() const { return FSearchCell; }
    void SetSearchCell(TPoint Value) { FSearchCell = Value; }
    bool FindBusy() const { return FFindBusy; }
    int FindCol = 0;
    int FindRow = 0;

    // ---- places other parts of the grid fill in; the neutral answer until then ----
    int NumHiddenColumns() const { return FNumHidden; }
    int NumHiddenRows() const { return FGridItems ? FGridItems->Count() : 0; }
    bool GetRowSelect(int ARow) const;
    bool GetReadOnly(int ACol, int ARow);
    void CellControlsUpdate(bool RebuildList);
    // The flat border over the window's outermost pixels; drawn only during a paint (every
    // paint ends with it), never under the update lock.
    void DrawBorder();
    void ShowColumnHeaders();
    void ShowRowHeaders();
    void InitOrigColSizes();
    void SetColumnOrder();
    // ---- balloon tool tip, selection snapshot and settings reactions (ExtGridBalloon.cpp) ----
    // Lays the search panel out from the search footer settings.
    void UpdateSearchPanel(TObject *Sender);
    // Takes the colours of the platform's active visual style, unless none is active or it is
    // the plain "Windows" one.
    void ApplyPlatformStyle();
    // The tool tip window of the cell balloons: made once while Balloon.Enable holds, gone
    // with BalloonDone.
    void BalloonInit();
    void BalloonDone();
    HWND BalloonWindow() const { return FHToolTip; }
    // The cells of ARect as a borderless, stay-on-top, translucent form that never takes the
    // activation; owned by the grid, not shown.
    TForm *SelectionToForm(const TGridRect &ARect);
    // The focus frame follows the current cell when a window moves.
    void MoveFocusWindow();

    // ---- properties ----
    TScrollBarAlways ScrollBarAlways() const { return FScrollBarAlways; }
    void SetScrollBarAlways(TScrollBarAlways Value) { FScrollBarAlways = Value; UpdateScrollBarAlways(true); }
    TScrollType ScrollType() const { return FScrollType; }
    TColor ScrollColor() const { return FScrollColor; }
    int ScrollWidth() const { return FScrollWidth; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    bool IntegralHeight() const { return FIntegralHeight; }
    // The height is rounded to whole rows at once.
    void SetIntegralHeight(bool Value)
    {
        FIntegralHeight = Value;
        SetBounds(Left(), Top(), Width(), Height());
    }
    int UpdateCount() const { return FUpdateCount; }
    bool SizeWithForm() const { return FSizeWithForm; }
    void SetSizeWithForm(bool Value) { FSizeWithForm = Value; }
    TGridLook Look() const { return FLook; }
    // Applies a look preset in one step; the same look again changes nothing (ExtGridLook.cpp).
    void SetLook(TGridLook Value);
    // The look's name in saved settings and its caption in menus; glCustom has neither and
    // leaves the text as it was.
    static void GetLookName(TGridLook ALook, UnicodeString &Name);
    static void GetLookCaption(TGridLook ALook, UnicodeString &Caption);
    // ssMetro puts the two thin indicators in place of the scroll bars; flat bars do not exist
    // here, so ssFlat and ssEncarta look like ssNormal (ExtGridScrolling.cpp).
    virtual void SetScrollType(TScrollType Value);
    // Makes the two thin indicators of the metro scroll type unless they exist.
    void CreateScrollControls();
    void FreeScrollControls();

    // ---- scroll messages, scroll hints and proportional thumbs (ExtGridScrolling.cpp) ----
    TScrollHintType ScrollHints() const { return FScrollHints; }
    void SetScrollHints(TScrollHintType Value) { FScrollHints = Value; }
    bool ScrollSynch() const { return FScrollSynch; }
    void SetScrollSynch(bool Value) { FScrollSynch = Value; }
    bool ScrollProportional() const { return FScrollProportional; }
    void SetScrollProportional(bool Value);
    // Flat scroll bars are never bound here (FIsFlat is the grid's flat look, not the bars').
    bool FlatScrollBarsBound() const { return false; }
    // The scroll bar laid over the current in-cell scroll bar cell, and that cell.
    TScrollBar *CellScrollBar() const { return FScrollBar; }
    TPoint CellScrollBarCell() const { return TPoint(FScrollCol, FScrollRow); }
    // Over a scroll-bar cell (display column) whose page is below its range the bar stands at
    // the cell's right edge; over any other cell it hides.
    void PlaceCellScrollBar(int ACol, int ARow);
    void UpdateVScrollProportional();
    void UpdateHScrollProportional();
    // The thumb of a proportional bar: the visible share e = (Extent - Fixed) / Total of the
    // lines' extents, Above the extent scrolled off; nothing to set when Apply is false.
    struct TProportionalThumb {
        bool Apply = false;
        int Max = 0;
        int Page = 0;
        int Pos = 0;
    };
    static TProportionalThumb ProportionalThumb(bool Horizontal, int Extent, int Fixed, int Total, int Above,
                                                int CurrentPos);
    // There are no flat scroll bars to bind: these keep the bars ordinary.
    void InitFlatScrollBars() {}
    void DoneFlatScrollBars() {}
    void UpdateFlatScrollBars() {}
    using TScrollHintEvent = std::function<void(TObject *Sender, int ARow, UnicodeString &HintStr)>;
    using TScrollCellEvent =
        std::function<void(TObject *Sender, int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax)>;
    TScrollHintEvent OnScrollHint;
    TScrollCellEvent OnScrollCell;

protected:
    void WMHScroll(TWMScroll &Message) override;
    void WMVScroll(TWMScroll &Message) override;
    // The proportional thumbs follow new counts and sizes.
    void ScrollRangeUpdated() override;

private:
    // The scroll hint of a thumb drag at Pos over Count lines past Fixed; code 8 takes it away.
    void ScrollHint(TWMScroll &Message, const UnicodeString &Prefix, int Count, int Fixed);
    // The cells under the top-left and bottom-right corners of a bdFixed background picture.
    bool BackGroundCorners(TPoint &TopLeft, TPoint &BottomRight);
    void RepaintBackGroundCorners(bool Had, TPoint OldTL, TPoint OldBR, bool Dragging);
    void HideCheckBoxEditor();
    int FScrollCol = -1;
    int FScrollRow = -1;

public:
    TScrollControl *VertScrollControl() const { return vscrlctrl; }
    TScrollControl *HorzScrollControl() const { return hscrlctrl; }
    bool IsWinXP() const { return FIsWinXP; }
    bool IsComCtl6() const { return FIsComCtl6; }
    int GridTimerID() const { return FGridTimerID; }
    bool EditChange() const { return FEditChange; }
    void SetEditChange(bool Value) { FEditChange = Value; }
    bool Loaded_() const { return FLoaded; }
    int FixedRowsMin() const { return FFixedRowsMin; }
    int FixedColsMin() const { return FFixedColsMin; }
    bool FixedRowAlways() const { return FFixedRowAlways; }
    void SetFixedRowAlways(bool Value) { FFixedRowAlways = Value; }
    bool FixedColAlways() const { return FFixedColAlways; }
    void SetFixedColAlways(bool Value) { FFixedColAlways = Value; }
    bool ActiveCellShow() const { return FActiveCellShow; }
    void SetActiveCellShow(bool Value) { SetAndInvalidate(FActiveCellShow, Value); }
    TColor ActiveCellColor() const { return FActiveCellColor; }
    TFont *ActiveCellFont() const { return FActiveCellFont; }
    TFont *FixedFont() const { return FFixedFont; }
    TEditorType DefaultEditor() const { return FDefaultEditor; }
    void SetDefaultEditor(TEditorType Value) { FDefaultEditor = Value; }
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment Value);
    const UnicodeString &CheckTrue() const { return FCheckTrue; }
    void SetCheckTrue(const UnicodeString &Value) { FCheckTrue = Value; }
    const UnicodeString &CheckFalse() const { return FCheckFalse; }
    void SetCheckFalse(const UnicodeString &Value) { FCheckFalse = Value; }
    const UnicodeString &FloatFormat() const { return FFloatFormat; }
    const UnicodeString &XMLEncoding() const { return FXMLEncoding; }
    const UnicodeString &FilterDropDownClear() const { return FFilterDropDownClear; }
    void SetFilterDropDownClear(const UnicodeString &Value) { FFilterDropDownClear = Value; }
    bool FilterDropDownAuto() const { return FFilterDropDownAuto; }
    void SetFilterDropDownAuto(bool Value) { FFilterDropDownAuto = Value; }
    TFilterDropDownColumns FilterDropDownColumns() const { return FFilterDropDownColumns; }
    void SetFilterDropDownColumns(TFilterDropDownColumns Value) { FFilterDropDownColumns = Value; }
    bool FilterIncremental() const { return FFilterIncremental; }
    void SetFilterIncremental(bool Value) { FFilterIncremental = Value; }
    int FixedFooters() const { return FFixedFooters; }
    void SetFixedFooters(int Value);
    TStringList *FilterList() const { return FFilterList; }
    const WideChar &PasswordChar() const { return FPasswordChar; }
    bool EditDisable() const { return FEditDisable; }
    void SetEditDisable(bool Value) { FEditDisable = Value; }

    TControlLook *ControlLook() const { return FControlLook; }
    TNavigation *Navigation() const { return FNavigation; }
    TMouseActions *MouseActions() const { return FMouseActions; }
    TGrouping *Grouping() const { return FGrouping; }
    TCellNode *CellNode() const { return FCellNode; }
    TSizeWhileTyping *SizeWhileTyping() const { return FSizeWhileTyping; }
    TBalloonSettings *Balloon() const { return FBalloonSettings; }
    TShowModified *ShowModified() const { return FShowModified; }
    TFloatingFooter *FloatingFooter() const { return FFloatingFooter; }
    TSearchFooter *SearchFooter() const { return FSearchFooter; }
    TPrintSettings *PrintSettings() const { return FPrintSettings; }
    TColumnSize *ColumnSize() const { return FColumnSize; }
    TDragDropSettings *DragDropSettings() const { return FDragDropSettings; }
    TBackGround *BackGround() const { return FBackGround; }
    TBands *Bands() const { return FBands; }
    TStringList *ColumnHeaders() const { return FColumnHeaders; }
    TStringList *RowHeaders() const { return FRowHeaders; }
    TFooterPanel *FooterPanel() const { return FFooterPanel; }
    TSearchPanel *SearchPanel() const { return FSearchPanel; }
    TExtStringGridCheck *CellChecker() const { return FCellChecker; }
    // The grid hears when the checker is freed and forgets it.
    void SetCellChecker(TExtStringGridCheck *Value);
    TGridCombo *ComboEditor() const { return EditCombo; }
    TGridEditBtn *EditButton() const { return EditBtn; }
    TGridUnitEditBtn *UnitEditButton() const { return UnitEditBtn; }
    TArrowWindow *ArrowWindow(int Dir) const { return Dir == 0 ? ArwU : Dir == 1 ? ArwD : Dir == 2 ? ArwL : ArwR; }

    // ---- events ----
    // ---- cell graphic sizes and display queries (ExtGridGraphicSize.cpp) ----
    // The size query of an interfaced cell object: a cell of kind ctInterface answers its size
    // through it; an object without it takes the whole cell.
    class ICellGraphicSize {
    public:
        virtual ~ICellGraphicSize() = default;
        virtual int GetWidth() = 0;
        virtual int GetHeight() = 0;
    };
    // How an interfaced cell object draws itself on a printed page: into R of Canvas, a bitmap
    // of its own size that the print then stretches into the cell.
    class ICellGraphicDraw {
    public:
        virtual ~ICellGraphicDraw() = default;
        virtual void Draw(TCanvas *Canvas, const TRect &R, TExtStringGrid *Grid, int ARow, int ACol) = 0;
    };
    // How an interfaced cell object draws itself on screen, under the cell's text or over it.
    class ICellGraphicPaint {
    public:
        virtual ~ICellGraphicPaint() = default;
        virtual bool DrawBeforeText() = 0;
        virtual void Paint(TCanvas *Canvas, const TRect &R, int ACol, int ARow, bool Selected, TExtStringGrid *Grid) = 0;
    };
    // The cell's text margins: XYOffset once on each axis with XYOffsetTopLeftOnly, else twice.
    int GetTotalXOffset() const { return FXYOffsetTopLeftOnly ? FXYOffset.X : 2 * FXYOffset.X; }
    int GetTotalYOffset() const { return FXYOffsetTopLeftOnly ? FXYOffset.Y : 2 * FXYOffset.Y; }
    bool XYOffsetTopLeftOnly() const { return FXYOffsetTopLeftOnly; }
    void SetXYOffsetTopLeftOnly(bool Value) { FXYOffsetTopLeftOnly = Value; }
    // The key image cells sort by: the bitmap's or icon's reference, an image index, else -1.
    std::intptr_t GetCellImageSortKey(int ACol, int ARow);
    bool IsSortIndicatorCell(int ACol, int ARow);
    // With URLShowInText, the first known address prefix in the text becomes a link.
    void DoGetDisplText(int ACol, int ARow, UnicodeString &Value) override;
    // ---- end of cell graphic sizes ----

    // ---- cell content drawing: typed reads, measuring, check boxes, radio buttons and rich
    // text (grid/view/ExtGridCellText.cpp, grid/view/ExtGridCellGraphic.cpp) ----
    // Typed reads for drawing and formatting, which must never raise: an empty text, a lone "-"
    // and a text that is no number read 0, and the answer says whether it was a number. The
    // integer read trims the text; the float read takes the number inside it
    // (ExtractNumberText). Cell reads strip mini-HTML tags first.
    static bool CellTextToInt(const UnicodeString &Text, int &Value);
    static bool CellTextToFloat(const UnicodeString &Text, double &Value);
    bool TryCellInts(int ACol, int ARow, int &Value);
    bool TryCellFloats(int ACol, int ARow, double &Value);
    int CellIntOrZero(int ACol, int ARow);
    double CellFloatOrZero(int ACol, int ARow);
    static double ClampPercent(double Value) { return Value < 0 ? 0 : Value > 100 ? 100 : Value; }
    // The pixel extent of the text of real column ACol (graphic excluded): wrapped in the
    // cell's width when WrapText, less 17 pixels for an editor button when ButtonSpace.
    TPoint GetCellTextSize(int ACol, int ARow, bool WrapText, bool ButtonSpace);
    // One check box at ARect's top-left (bitmap looks) or centred in it (frame-control looks),
    // on the grid's canvas or on ACanvas.
    void DrawCheck(TRect ARect, bool Checked, bool Enabled, bool Grayed, TControlLook::TControlStyle Style,
                   bool TriState, TCheckBoxState State);
    void DrawCheck(TCanvas *ACanvas, TRect ARect, bool Checked, bool Enabled, bool Grayed,
                   TControlLook::TControlStyle Style, bool TriState, TCheckBoxState State);
    // Count radio buttons with their captions (Options) in ARect, button Index on (-1: the one
    // whose caption is the text of the cell ACol, ARow).
    void DrawRadioButtons(TCanvas *ACanvas, TRect ARect, int Count, int Index, bool Horizontal, bool Disabled,
                          TStrings *Options, bool Selected, int ACol, int ARow, TControlLook::TControlStyle Style,
                          double Scale, bool Upward);
    // The DrawTextEx flags of a plain cell text of Lines lines in the given alignments.
    static unsigned CellTextDrawFlags(int Lines, bool WordWrap, bool Multilinecells, bool EnhTextSize, TAlignment HA,
                                      TVAlignment VA);
    // A rich-text cell drawn through the grid's hidden rich edit, on screen or on paper.
    void DrawRichCell(int ACol, int ARow, TRect ARect, TCanvas *ACanvas);
    // Text options of the content drawer.
    bool EnableHTML() const { return FEnableHTML; }
    void SetEnableHTML(bool Value) { FEnableHTML = Value; Invalidate(); }
    bool Multilinecells() const { return FMultilineCells; }
    void SetMultilinecells(bool Value) { FMultilineCells = Value; Invalidate(); }
    bool EnhTextSize() const { return FEnhTextSize; }
    void SetEnhTextSize(bool Value) { FEnhTextSize = Value; Invalidate(); }
    bool URLShow() const { return FURLShow; }
    void SetURLShow(bool Value);
    bool URLShowInText() const { return FURLShowInText; }
    void SetURLShowInText(bool Value);
    bool URLFull() const { return FURLFull; }
    void SetURLFull(bool Value);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor Value);
    bool SelectionRTFKeep() const { return FSelectionRTFKeep; }
    void SetSelectionRTFKeep(bool Value) { FSelectionRTFKeep = Value; }
    TSortSettings *SortSettings() const { return FSortSettings; }
    TSortIndexList *SortIndexes() const { return FSortIndexes; }
    // Fires for a cell holding a number while formatting it for display: IsFloat and
    // FloatFormat decide whether and how it is formatted.
    using TFloatFormatEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool &IsFloat,
                                                 UnicodeString &FloatFormat)>;
    TFloatFormatEvent OnGetFloatFormat;

    // ---- fixed and header cells (grid/view/ExtGridHeader.cpp) ----
    // The sort glyph of column ACol (a real column) near (X, Y).
    void DrawSortIndicator(TCanvas *ACanvas, int ACol, int X, int Y);
    // The dotted line shown while a column (row) is sized, on the grid's canvas or on ACanvas;
    // drawn again at the same place it goes.
    void DrawColSizingLine(int X);
    void DrawRowSizingLine(int Y);
    void DrawColSizingLine(TCanvas *ACanvas, int X);
    void DrawRowSizingLine(TCanvas *ACanvas, int Y);
    // The edges of a header cell in look ALook over R (the cell grown by 1 at the bottom).
    void DrawHeaderCellEdges(TCanvas *ACanvas, TRect R, TGridLook ALook);
    // The edges of a cell of the right fixed columns (gray in the flat look, else black).
    void DrawRightFixedEdges(TCanvas *ACanvas, const TRect &R, bool FlatLook);
    // The filter button of a header cell at the right of R; R loses its width.
    void DrawFilterGlyph(TCanvas *ACanvas, int RealCol, TRect &R);
    // ---- end of cell content and header drawing ----

    // ---- styles, tones and themes ----
    // Remembers the style, writes its colours and passes it on to the drop-down editors the
    // grid made; any style but tsCustom ends the metro scroll bars of a set of tones.
    void SetComponentStyle(TQRVStyle AStyle) override;
    // The flat metro look in the given tones.
    void SetColorTones(const TColorTones &ATones) override;
    // The header colours of an XP colour scheme; neither the look changes nor the grid repaints.
    void SetTheme(TXPColorScheme Scheme);
    // Takes the style of the user's Office theme when that changed since the last call.
    void UpdateOfficeTheme();
    TQRVStyle Style() const { return FStyle; }
    const TColorTones &ColorTones() const { return FTones; }
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    TOfficeTheme OldOfficeTheme() const { return FOldOfficeTheme; }
    // ---- end of styles, tones and themes ----

    // ---- balloon text, focus frame and design panel ----
    // The notifications of the grid's balloon tool tip (its text, title and icon) and of the
    // in-place date picker (the changed date to OnDateTimeChange).
    void WMNotify(TWMNotify &Message);
    // The translucent frame around the edited cell (ARect, client coordinates).
    void ShowFocusWindow(const TRect &ARect);
    void HideFocusWindow();
    // Makes Window layered and gives it the mask's pixels and opacity; a mask without pixels
    // leaves the window as it is.
    static void ApplyAlphaMask(TWinControl *Window, TGridAlphaMask *Mask);
    TGridFocusWindow *FocusWindow() const { return FFocusWindow; }
    TFocusHelper *FocusHelper() const { return FFocusHelper; }
    bool FitCellsInGrid() const { return FFitCellsInGrid; }
    void SetFitCellsInGrid(bool Value) { SetAndInvalidate(FFitCellsInGrid, Value); }
    bool ShowColNrs() const { return FShowColNrs; }
    // The panel item at a client point: 1 "Allow edit", 2 "Column numbers", 3 "Set look",
    // 4 close; -1 none.
    int DesignHelperHitTest(int X, int Y);
    int LastDesignChoice() const { return FLastDesignChoice; }
    using TCellBalloonEvent = std::function<void(TObject *Sender, int ACol, int ARow, UnicodeString &ATitle,
                                                 UnicodeString &AText, int &AIcon)>;
    // The date as a TDateTime (days since 1899-12-30).
    using TDateTimeChangeEvent = std::function<void(TObject *Sender, int ACol, int ARow, double ADateTime)>;
    TCellBalloonEvent OnCellBalloon;
    TDateTimeChangeEvent OnDateTimeChange;
    TPoint LastBalloonPos() const { return FLastBalloonPos; }
    // ---- end of balloon text, focus frame and design panel ----

    // ---- cell hints ----
    // The hint of the cell under HintInfo.CursorPos: its text, place, colour and window class;
    // OnGridHint and OnGridWideHint get (row, display column) and have the last word. HintStr
    // comes in as the grid's own hint text and goes out as the hint (empty: none shows).
    void GetCellHintInfo(UnicodeString &HintStr, THintInfo &HintInfo);
    // A hint belongs to one base cell: a pointer move at (X, Y) onto another cell takes the
    // showing hint (and balloon) away, so that the next rest asks again.
    void RenewCellHint(int X, int Y);
    bool HintShowCells() const { return FHintShowCells; }
    void SetHintShowCells(bool Value) { FHintShowCells = Value; }
    bool HintShowLargeText() const { return FHintShowLargeText; }
    void SetHintShowLargeText(bool Value) { FHintShowLargeText = Value; }
    THintPos HintShowLargeTextPos() const { return FHintShowLargeTextPos; }
    void SetHintShowLargeTextPos(THintPos Value) { FHintShowLargeTextPos = Value; }
    bool HTMLHint() const { return FHTMLHint; }
    void SetHTMLHint(bool Value) { FHTMLHint = Value; }
    bool AnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool Value) { FAnchorHint = Value; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor Value) { FHintColor = Value; }
    bool UseInternalHintClass() const { return FUseInternalHintClass; }
    void SetUseInternalHintClass(bool Value) { FUseInternalHintClass = Value; }
    // Makes THTMLHintWindow the window of every hint of the program (the platform's own again
    // when cleared).
    bool UseHTMLHints() const { return FUseHTMLHints; }
    void SetUseHTMLHints(bool Value);
    // The pictures that mini-HTML in cells and hints may name.
    TPictureContainer *PictureContainer() const { return FPictureContainer; }
    void SetPictureContainer(TPictureContainer *Value);
    // The scroll and sizing hint window the grid keeps.
    THTMLHintWindow *ScrollHintWindow() const { return FScrollHintWnd; }
    TAnchorHintEvent OnAnchorHint;
    // ---- end of cell hints ----

    TGridHintEvent OnGridHint;
    TGridHintEvent OnGridWideHint;
    TGridColorEvent OnGetCellColor;
    TGridColorEvent OnGetCellPrintColor;
    TGridBorderEvent OnGetCellBorder;
    TGridBorderEvent OnGetCellPrintBorder;
    TGridAlignEvent OnGetAlignment;
    TGridFormatEvent OnGetFormat;
    TGetEditorTypeEvent OnGetEditorType;
    TIsFixedCellEvent OnIsFixedCell;
    TCanEditCellEvent OnCanEditCell;
    TIsPasswordCellEvent OnIsPasswordCell;
    TWordWrapEvent OnGetWordWrap;
    THasComboEvent OnHasComboBox;
    THasSpinEditEvent OnHasSpinEdit;
    TGetCheckEvent OnGetCheckTrue;
    TGetCheckEvent OnGetCheckFalse;
    TGetColumnFilterEvent OnGetColumnFilter;
    TCellCursorEvent OnGetCellCursor;
    TSearchFooterActionEvent OnSearchFooterAction;
    TButtonClickEvent OnButtonClick;
    TExpandClickEvent OnExpandClick;
    TClickCellEvent OnComboCloseUp;
    TClickCellEvent OnComboDropDown;
    TUnitChangedEvent OnUnitChanged;
    TCellsChangedEvent OnCellsChanged;
    // The grid's own OnResize; the control's OnResize slot stays free for the form's chain.
    TNotifyEvent OnGridResize;

    // =========================================================================================
    // in-place editing
    friend class TExtInplaceEdit;
    void HideCellEdit();
    void ShowCellEdit();
    void ShowInplaceEdit();
    void HideInplaceEdit();
    // What every cell editor does when its text changes and when it loses the focus.
    void EditorTextChanged(const UnicodeString &Text);
    void EditorExited();
    void DoneInplaceEdit(Word Key, TShiftState Shift);
    void Select();
    // Makes a cell current as a left click inside it would, without the application's mouse events.
    void SimulateCellClick(int ACol, int ARow);
    // A clickable control graphic lives in the cell: it is toggled by a click, never edited.
    bool IsControlCell(int ACol, int ARow);
    // The editor types that the grid's text editor serves.
    static bool IsTextEditorType(TEditorType E);
    bool NeedsEditorTab();
    void HideEditor() override;
    bool InEditMode() const { return EditMode; }
    TEditorType EditorType() const { return EditControl; }
    TWinControl *ActiveEditControl() const { return EditCtrl; }
    TExtInplaceEdit *NormalEdit() const { return static_cast<TExtInplaceEdit *>(InplaceEditor()); }
    int MaxComboLength() const { return FMaxComboLength; }
    void SetMaxComboLength(int Value) { FMaxComboLength = Value; }
    int MaxEditLength() const { return FMaxEditLength; }
    void SetMaxEditLength(int Value)
    {
        FMaxEditLength = Value;
        if (NormalEdit())
            NormalEdit()->SetLengthLimit(SmallInt(Value));
    }
    UnicodeString ValidChars() const { return FValidChars; }
    void SetValidChars(const UnicodeString &Value) { FValidChars = Value; }
    // The characters (codes up to 255) an edValidChars cell takes while ValidChars is empty.
    std::bitset<256> ValidCharSet;
    // The cursor walk out of a cell editor whose caret stands at the edge of its text: onto a
    // control cell beside only when Valid agrees; otherwise Leave readies the grid (without
    // one the grid takes the focus quietly) and the walk goes on to the cell before or after.
    // Without Wrap the first and last columns end it. True when it went on through the cells.
    bool EditorCursorWalk(bool Right, bool Wrap, const std::function<bool()> &Valid,
                          const std::function<bool()> &Leave);
    // The application's say on a paste into a cell editor (Value is the clipboard text).
    bool EditorPasteAllowed(TObject *Editor, UnicodeString &Value);
    TNotifyEvent OnEditingDone;
    TEditCellDoneEvent OnEditCellDone;
    TComboChangeEvent OnComboChange;
    TComboObjectChangeEvent OnComboObjectChange;
    TGetEditorPropEvent OnGetEditorProp;
    TClickCellEvent OnGetEditorPropInt;
    TEditChangeEvent OnEditChange;
    // ---- spin and date editors ----
    TGridSpin *SpinEdit();
    TGridDatePicker *DateTimePicker();
    TSpinClickEvent OnSpinClick;
    TFloatSpinClickEvent OnFloatSpinClick;
    TDateSpinClickEvent OnDateSpinClick;
    TDateSpinClickEvent OnTimeSpinClick;
    // The date picker's bridge: its change, close-up and drop-down (row before column).
    void DatePickerEditChange(TObject *Picker);
    void DatePickerCloseUp(TObject *Sender);
    void DatePickerDropDown(TObject *Picker);
    TClickCellEvent OnDatePickerCloseUp;
    TClickCellEvent OnDatePickerDropDown;
    // Reads a date cell's text for the date editor; ADate comes preset to now.
    std::function<void(TObject *Sender, const UnicodeString &Value, TDateTime &ADate)> OnCustomStrToDate;
    TGridDateTimePicker *DateAndTimePicker();
    // A change in the date-and-time editor's time part: OnDateTimeChange with the current cell.
    void DateTimePickerChange(TObject *Sender);

    // validation
    bool AlwaysValidate = false;
    UnicodeString InvalidEntryTitle;
    UnicodeString InvalidEntryText;
    TInvalidEntryIcon InvalidEntryIcon = ieWarning;
    bool GridModified() const { return FGridModified; }
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    // The balloon tip of the last refused value (title, text), kept for whoever shows it.
    UnicodeString LastInvalidTipTitle() const { return FLastInvalidTipTitle; }
    UnicodeString LastInvalidTipText() const { return FLastInvalidTipText; }
    TCellValidateEvent OnCellValidate;
    // The same check for cells that hold wide text; Value is the decoded text.
    TCellValidateEvent OnCellValidateWide;

    // selection
    TChangingEvent OnRowChanging;
    TChangingEvent OnColChanging;
    TCellChangingEvent OnCellChanging;
    TRowChangedEvent OnRowChanged;
    UnicodeString CellCache() const { return FCellCache; }

    // =========================================================================================
    // check boxes, radio buttons and buttons in cells (ExtGridChecks.cpp)
    // ACol and ARow address the cell's graphic slot (real column) unless said otherwise.
    void AddCheckBox(int ACol, int ARow, bool State, bool Data);
    void AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox);
    void RemoveCheckBox(int ACol, int ARow);
    void RemoveCheckBoxColumn(int ACol);
    bool HasCheckBox(int ACol, int ARow);
    bool HasDataCheckBox(int ACol, int ARow);
    // Mouse hit test in client coordinates.
    bool IsInCheckBox(int ACol, int ARow, int XPos, int YPos);
    // ARow is a real row; state is written only when the cell holds a check box.
    bool GetCheckBoxState(int ACol, int ARow, bool &state);
    bool IsChecked(int ACol, int ARow);
    // Without events.
    bool SetCheckBoxState(int ACol, int ARow, bool State);
    bool SetCheckBoxState(int ACol, int ARow, TCheckBoxState State);
    // As SetCheckBoxState, firing OnCheckBoxChange for a state that really changes.
    bool ChangeCheckBoxState(int ACol, int ARow, bool State);
    void CheckAll(int ACol);
    void UnCheckAll(int ACol);
    bool ToggleCheckBox(int ACol, int ARow) { return ToggleCellCheckBox(ACol, ARow, false); }

    void AddRadioButton(int ACol, int ARow, bool State);
    void RemoveRadioButton(int ACol, int ARow);
    bool HasRadioButton(int ACol, int ARow);
    void AddRadioButtonColumn(int ACol);
    void RemoveRadioButtonColumn(int ACol);
    bool IsRadioButtonChecked(int ACol, int ARow);
    bool SetRadioButtonState(int ACol, int ARow, bool State);
    void SetRadioButtonColumnIndex(int ACol, int Index);
    int GetRadioButtonColumnIndex(int ACol);

    // A radio group: the option list sl stays the caller's; CreateRadio's list is the grid's.
    void AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TStrings *sl);
    TStrings *CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio);
    bool GetRadioIdx(int ACol, int ARow, int &IdxRadio);
    bool SetRadioIdx(int ACol, int ARow, int IdxRadio);
    TStrings *GetRadioStrings(int ACol, int ARow);
    bool IsRadio(int ACol, int ARow);
    void RemoveRadio(int ACol, int ARow);
    bool SelectNextRadioItem(int ACol, int ARow, bool FromUser);

    void AddButton(int ACol, int ARow, int bw, int bh, const UnicodeString &Caption, TCellHAlign hal, TCellVAlign val);
    void AddBitButton(int ACol, int ARow, int bw, int bh, const UnicodeString &Caption, TBitmap *Glyph,
                      TCellHAlign hal, TCellVAlign val);
    TBitmap *CreateBitButton(int ACol, int ARow, int bw, int bh, const UnicodeString &Caption, TCellHAlign hal,
                             TCellVAlign val);
    // ACol is a display column.
    void SetButtonText(int ACol, int ARow, const UnicodeString &Caption);
    UnicodeString GetButtonText(int ACol, int ARow);
    void PushButton(int ACol, int ARow, bool push);
    void RemoveButton(int ACol, int ARow);
    void RemoveBitButton(int ACol, int ARow);
    void RemoveAllButtons();
    bool HasButton(int ACol, int ARow);
    void GetCellButtonRect(int ACol, int ARow, TRect &R);

    TCheckBoxChangeEvent OnCheckBoxChange;

private:
    // The graphic of a cell by real row: from the hidden-row store when the row is hidden.
    // Found says whether the store or the shown row held an object for the cell.
    TCellGraphic *RealRowGraphic(int ACol, int ARealRow, bool &Found);
    UnicodeString RealRowText(int ACol, int ARealRow);
    void SetRealRowText(int ACol, int ARealRow, const UnicodeString &Value);
    TCellGraphic *CheckGraphicOf(int ACol, int ARow, bool &ByStore);
    void RepaintCheckCell(int ACol, int ARealRow);
    TCellVAlign CheckVAlign() const;
    // ARow a real row; the event reports EventRow.
    bool ChangeOrSetCheckBox(int ACol, int ARow, bool State, bool Fire, int EventRow);
    // ---- end of cell controls ----

public:
    // =========================================================================================
    // pictures, progress bars, indicators, comments and other cell objects (ExtGridPictures.cpp)
    // One object per cell: an Add or Create replaces whatever graphic the cell had. Objects passed
    // to an Add stay the caller's; those a Create makes die with the graphic. Queries on a cell
    // without the object answer nil, false, -1, clNone or an empty text.
    void AddBitmap(int ACol, int ARow, TBitmap *ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    TBitmap *CreateBitmap(int ACol, int ARow, bool transparent, TCellHAlign hal, TCellVAlign val);
    TBitmap *GetBitmap(int ACol, int ARow);
    bool HasBitmap(int ACol, int ARow) { return GetBitmap(ACol, ARow) != nullptr; }
    void RemoveBitmap(int ACol, int ARow);

    void AddIcon(int ACol, int ARow, TIcon *AIcon, TCellHAlign hal, TCellVAlign val);
    TIcon *CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val);
    void RemoveIcon(int ACol, int ARow);

    void AddPicture(int ACol, int ARow, TPicture *APicture, bool transparent, TStretchMode stretchmode, int padding,
                    TCellHAlign hal, TCellVAlign val);
    TPicture *CreatePicture(int ACol, int ARow, bool transparent, TStretchMode stretchmode, int padding,
                            TCellHAlign hal, TCellVAlign val);
    TPicture *GetPicture(int ACol, int ARow);
    bool HasPicture(int ACol, int ARow) { return GetPicture(ACol, ARow) != nullptr; }
    void RemovePicture(int ACol, int ARow);

    void AddFilePicture(int ACol, int ARow, TFilePicture *AFilePicture, bool Transparent, TStretchMode stretchmode,
                        int padding, TCellHAlign hal, TCellVAlign val);
    TFilePicture *CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int padding,
                                    TCellHAlign hal, TCellVAlign val);
    TFilePicture *GetFilePicture(int ACol, int ARow);
    void RemoveFilePicture(int ACol, int ARow);

    void AddInterfacedCell(int ACol, int ARow, TInterfacedPersistent *AObject);
    TInterfacedPersistent *GetInterfacedCell(int ACol, int ARow);
    void RemoveInterfacedCell(int ACol, int ARow);

    // The image list that image-list, data-image and multi-image cells index; the setter only
    // keeps the reference.
    TCustomImageList *GridImages() const;
    void SetGridImages(TCustomImageList *Value);
    void AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
    bool GetImageIdx(int ACol, int ARow, int &idx);
    void SetImageIdx(int ACol, int ARow, int Idx);
    void RemoveImageIdx(int ACol, int ARow);
    // The image follows the cell's value: an empty cell takes the index as its text.
    void AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
    bool HasDataImage(int ACol, int ARow);
    void RemoveDataImage(int ACol, int ARow);
    // Dir 0 lays the images out side by side; the cell repaints when its list changes.
    void AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val);
    void RemoveMultiImage(int ACol, int ARow);
    // The image index list of a multi-image cell; nil for any other cell.
    TIntList *GetCellImages(int ACol, int ARow);
    TIntList *CellImages(int ACol, int ARow) { return GetCellImages(ACol, ARow); }

    void AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor);
    void AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor, TColor BKTextColor);
    void AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                              TColor BKTextColor, const UnicodeString &Fmt, int Min, int Max);
    bool HasProgress(int ACol, int ARow);
    void RemoveProgress(int ACol, int ARow);
    void AddExtProgress(int ACol, int ARow, int Min, int Max);
    void RemoveExtProgress(int ACol, int ARow);
    void AddProgressPie(int ACol, int ARow, TColor Color, int Value);
    void SetProgressPie(int ACol, int ARow, int Value);
    void RemoveProgressPie(int ACol, int ARow);
    void AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor, bool ShowValue);
    void RemoveRangeIndicator(int ACol, int ARow);

    void AddComment(int ACol, int ARow, const UnicodeString &Comment);
    void AddColorComment(int ACol, int ARow, const UnicodeString &Comment, TColor Color);
    bool IsComment(int ACol, int ARow, UnicodeString &comment);
    UnicodeString GetComment(int ACol, int ARow);
    // A cell with another object keeps it and gets no comment.
    void SetComment(int ACol, int ARow, const UnicodeString &Value);
    void RemoveComment(int ACol, int ARow);
    void RemoveAllComments();

    void AddShape(int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor, TCellHAlign hal,
                  TCellVAlign val);
    void SetShapeColor(int ACol, int ARow, TColor FillColor);
    TColor GetShapeColor(int ACol, int ARow);
    void RemoveShape(int ACol, int ARow);
    void AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor);
    bool HasRating(int ACol, int ARow);
    void RemoveRating(int ACol, int ARow);

    // With AutoRange the range follows the height of the cell's text.
    void AddScrollBar(int ACol, int ARow, bool AutoRange);
    bool HasScrollBar(int ACol, int ARow);
    bool HasAutoRangeScrollBar(int ACol, int ARow);
    void SetScrollPosition(int ACol, int ARow, int Pos);
    int GetScrollPosition(int ACol, int ARow);
    void SetScrollProp(int ACol, int ARow, TScrollProp Prop);
    TScrollProp GetScrollProp(int ACol, int ARow);
    void RemoveScrollBar(int ACol, int ARow);

    // A marked text range (a spelling error, say) that shares the cell with its object.
    void AddMarker(int ACol, int ARow, int ErrPos, int ErrLen);
    void GetMarker(int ACol, int ARow, int &ErrPos, int &ErrLen);
    void RemoveMarker(int ACol, int ARow);
    void RemoveAllMarkers();

    void AddRotated(int ACol, int ARow, SmallInt AAngle, const UnicodeString &s);
    // Turns the cell's object, of whatever kind, into rotated text.
    void SetRotated(int ACol, int ARow, SmallInt AAngle);
    bool IsRotated(int ACol, int ARow, int &aAngle);
    void RemoveRotated(int ACol, int ARow);

    // A check box or radio button carries a balloon of its own; any other object refuses one.
    void AddBalloon(int ACol, int ARow, const UnicodeString &Title, const UnicodeString &Text, TBalloonIcon Icon);
    bool IsBalloon(int ACol, int ARow, UnicodeString &Title, UnicodeString &Text, TBalloonIcon &Icon);
    bool HasBalloon(int ACol, int ARow);
    void RemoveBalloon(int ACol, int ARow);

    // Whether the base cell of the cell's merged range holds an object of one of the kinds.
    bool HasCellTypeIn(int ACol, int ARow, std::initializer_list<TCellType> Kinds);

    // Asked before the grid appends or inserts a row of its own accord.
    TCanAddRowEvent OnCanAddRow;
    TCanInsertRowEvent OnCanInsertRow;
    TRatingChangeEvent OnRatingChange;

protected:
    // Recomputes an auto-range scroll bar's range when the cell's text changed.
    void CellTextSet(int ACol, int ARow) override;

private:
    // The graphic in the cell's own slot, never the row check box that column 0 shares.
    TCellGraphic *SlotGraphic(int ACol, int ARow);
    // The cell's graphic when it is of kind T, else nil.
    TCellGraphic *GraphicOfType(int ACol, int ARow, TCellType T);
    TCellGraphic *BaseGraphicOfType(int ACol, int ARow, TCellType T);
    // A new graphic in the cell's slot (nil outside the grid), the cell repainted.
    TCellGraphic *NewGraphic(int ACol, int ARow);
    void SetProgressColors(int ACol, int ARow, TColor FGColor, TColor BKColor);
    // ---- end of pictures and other cell objects ----

public:
    // =========================================================================================
    // tree nodes and expand buttons (ExtGridNodes.cpp)
    // Operations that change the tree take a real row; queries take a display row.
    void AddNode(int ARow, int Span);
    void RemoveNode(int ARow);
    // RemoveAllNodes is among the virtual operations above.
    bool IsNode(int ARow);
    bool IsSummary(int ARow);
    // True: contracted.
    bool GetNodeState(int ARow);
    void SetNodeState(int ARow, bool Value);
    int GetNodeLevel(int ARow);
    int GetNodeSpan(int ARow);
    void SetNodeSpan(int ARow, int Span);
    void UpdateNodeSpan(int ARow, int Delta);
    int GetSubNodeCount(int ARow);
    void UpdateSubNodeCount(int ARow, int Delta);
    void ExpandNode(int ARow);
    void ContractNode(int ARow);
    void ExpandAll();
    void ContractAll();
    int GetParentRow(int ARow);
    // 0 a node row, 2 a child with a sibling below, 1 the last child.
    int GetNodeSpanType(int ARow);
    void InsertChildRow(int ARow, int InsertAt);
    void RemoveChildRow(int ARow);
    void InsertNormalRow(int ARow);
    void RemoveNormalRow(int ARow);
    void SetSummaryRow(int ARow);
    bool IsNodeGlyphHit(int ARow, int X);
    int NumNodes() const { return FNumNodes; }

    void AddExpand(int ACol, int ARow, int ExpandedHeight);
    void RemoveExpand(int ACol, int ARow);
    bool HasExpand(int ACol, int ARow);
    bool ToggleExpand(int ACol, int ARow);
    bool GetExpandState(int ACol, int ARow);
    int GetExpandHeight(int ACol, int ARow, bool Expanded);
    void GetExpandButtonRect(int ACol, int ARow, TRect &R);

protected:
    void ExpandSingleNode(int ARow);

private:
    TCellGraphic *NodeGraphic(int ARow);
    void ChangeNodeLevels(int From, int Count, int Delta);
    // The first node row after ARow, or RowCount when there is none.
    int NextNodeRow(int ARow);
    // ---- end of tree nodes ----

public:
    // =========================================================================================
    // in-place editor wrappers (ExtGridWrappers.cpp)
    friend class TGridCombo;
    friend class TGridCheckBox;
    friend class TGridEditBtn;
    friend class TGridSpin;
    friend class TGridDatePicker;
    friend class TGridUnitEditBtn;
    friend class TGridButton;
    friend class TGridDateTimePicker;
    // The combo and edit-with-button editors complete from their items or LookupItems by the
    // grid's Lookup, LookupCaseSensitive and LookupHistory switches.
    // Moves from a cell to the next or previous one along Navigation.AdvanceDirection; only with
    // Navigation.AdvanceOnEnter or Force.
    virtual void AdvanceCell(int ACol, int ARow, bool Force, bool AutoEdit, bool Forward, bool KeepStart,
                             bool ShowEditor);
    // Tab and Shift+Tab from the current cell to the next or previous normal cell.
    virtual bool HandleTabKey(bool Backward);
    TEllipsClickEvent OnEllipsClick;
    TClickCellEvent OnDblClickCell;
    TClipboardPasteEvent OnClipboardPaste;
    TClipboardCellValueEvent OnClipboardBeforePasteCell;

private:
    // Focuses the grid with Navigation.AlwaysEdit held off, so that no editor opens meanwhile.
    void FocusGridQuietly();
    // An in-place editor's commit keys: Enter, Up and Down go on only when Check (false) lets the
    // value in; Tab when Check (true) does, then moves to the next cell under goTabs or reaches
    // the grid. True when the key was taken here (Key is 0 then).
    bool EditorCommitKey(Word &Key, TShiftState Shift, const std::function<bool(bool ForTab)> &Check);
    // ---- end of in-place editor wrappers ----

public:
    // =========================================================================================
    // application-written, rich-text, in-text control and fixed-cell editors (ExtGridEditLink.cpp)
    friend class TEditLink;
    friend class TExtRichEdit;
    friend class TControlEdit;
    friend class TControlCombo;
    template <class>
    friend class TFixedCellEditor;
    TEditLink *EditLink() const { return dynamic_cast<TEditLink *>(FEditLink); }
    void SetEditLink(TEditLink *Value);
    // The in-place rich-text editor (made on first use, owned by the grid).
    TExtRichEdit *InplaceRichEdit();
    // The hook of an in-place link's control: with goTabs its dialog-code answer wants arrows,
    // Tab and characters; every other message goes to the control's own method, Saved.
    void EditLinkWndProc(TMessage &Message, const TControl::TWndMethod &Saved);

private:
    void ShowEditLink(int ACol, int ARow, const TRect &R, const UnicodeString &EditText);
    void CommitEditLink(int ACol, int ARow);
    void ShowRichEditor(int ACol, int ARow, const TRect &R);
    void CommitRichEditor(int ACol, int ARow);
    // The end of a fixed-cell edit: validate, then write and hide, or keep the editor.
    bool StopFixedCellEdit(TWinControl *Editor, int ACol, int ARow, const UnicodeString &Text);
    TExtRichEdit *FInplaceRichEdit = nullptr;
    // ---- end of application-written editors ----

public:
    // =========================================================================================
    // drop-down in-place editors (ExtGridDropDowns.cpp)
    template <class TControlT>
    friend class TGridDropDownEditor;
    // Each is created when first asked for, with the grid as owner and parent, and kept.
    TGridTrackbarDropDown *TrackbarDropDown();
    TGridMemoDropDown *MemoDropDown();
    TGridCalculatorDropDown *CalculatorDropDown();
    TGridTimepickerDropDown *TimePickerDropDown();
    // The multi-column and the grid-of-items drop-downs (ExtGridGridPickers.cpp).
    TGridGridDropDown *GridDropDown();
    TGridExtGridDropDown *ExtGridDropDown();
    // The grid's relays of the editors' popup bar buttons and of the memo's typing.
    void DropDownHeaderButtonClick(TObject *Sender, int ButtonIndex);
    void DropDownFooterButtonClick(TObject *Sender, int ButtonIndex);
    void MemoDropDownChange(TObject *Sender);
    TDropDownButtonClickEvent OnDropDownHeaderButtonClick;
    TDropDownButtonClickEvent OnDropDownFooterButtonClick;

private:
    // The drop-down editor of an editor type, nullptr for the other types.
    TExtCustomDropDown *DropDownEditorOf(TEditorType Type);
    template <class T>
    T *PrepareDropDownEditor(T *Editor);
    // Show and commit of the drop-down editor types; false for the other types.
    bool ShowDropDownEditor(int ACol, int ARow, const TRect &R, const UnicodeString &EditText);
    bool CommitDropDownEditor(int ACol, int ARow);
    TGridTrackbarDropDown *EditTrackbarDropDown = nullptr;
    TGridMemoDropDown *EditMemoDropDown = nullptr;
    TGridCalculatorDropDown *EditCalculatorDropDown = nullptr;
    TGridTimepickerDropDown *EditTimePickerDropDown = nullptr;
    // The item of the cell text and the text, for the two item drop-downs.
    void SetGridPickerValue(const UnicodeString &EditText);
    TGridGridDropDown *EditGridDropDown = nullptr;
    TGridExtGridDropDown *EditExtGridDropDown = nullptr;
    // ---- end of drop-down in-place editors ----

public:
    // ---- picker editors: colour, image and detail (ExtGridPickers.cpp) ----
    TGridColorDropDown *ColorPickerDropDown();
    TGridImageDropDown *ImagePickerDropDown();
    TGridDetailPickerDropDown *DetailPickerDropDown();
    // At the commit of a colour cell: the colour and the text about to be written.
    std::function<void(TObject *Sender, int ACol, int ARow, TColor &Color, UnicodeString &Value)> OnColorSelected;
    // At the commit of an image cell: the image index about to be written.
    std::function<void(TObject *Sender, int ACol, int ARow, int &Index)> OnImageSelected;
    // Each pick in the open colour or image picker, before anything is written.
    std::function<void(TObject *Sender, int ACol, int ARow, TColor Color, const UnicodeString &ColorText)> OnColorSelect;
    std::function<void(TObject *Sender, int ACol, int ARow, int ItemIndex)> OnImageSelect;

private:
    TExtCustomDropDown *PickerEditorOf(TEditorType Type);
    void ShowPickerValue(int ACol, int ARow, const UnicodeString &EditText);
    // Writes a colour or image cell; false for the other types, whose text is written.
    bool CommitPickerValue(int ACol, int ARow);
    TGridColorDropDown *EditColorPickerDropDown = nullptr;
    TGridImageDropDown *EditImagePickerDropDown = nullptr;
    TGridDetailPickerDropDown *EditDetailPickerDropDown = nullptr;
    // ---- end of picker editors ----

public:

protected:
    // The platform asks for the hint of the cell under the pointer.
    void CMHintShow(TWMGeneric &Message) override;

    // in-place editing
    TInplaceEdit *CreateEditor() override;
    bool CanEditShow() override;
    int GetEditLimit() override { return FMaxEditLength; }
    void TopLeftChanged() override;
    void WndProc(TMessage &Message) override;
    void WMChar(TWMKey &Message) override;
    virtual void ShowCellEditor(int ACol, int ARow);
    virtual void CommitCellEditor(int ACol, int ARow);
    virtual void EditDone(int ACol, int ARow);
    void EditComboChange(TObject *Sender);
    // The editors' change notifications (WM_COMMAND): the combo change events.
    bool EditorNotification(TMessage &Message);
    void ShowEditProcess(TCustomEdit *Editor);
    void FireComboChange(int ItemIndex);
    // The combo editor's list closed (CBN_CLOSEUP to the grid).
    void ComboClosedUp();
    TWinControl *EditCtrl = nullptr;
    UnicodeString FCellCache;
    UnicodeString FEditText;
    UnicodeString FValidChars;
    int FMaxComboLength = 0;
    bool FSpecialEditor = false;
    bool FEditActive = false;
    bool FEntered = false;
    bool FBlockKill = false;
    bool FBlockFocus = false;
    bool FShowEditProcess = false;
    // Set while the grid's own mouse press runs: an editor filled by that press is no user edit.
    bool FEditStart = false;
    bool FNoEditChange = false;
    bool FComboPicked = false;
    bool FForceSel = false;
    // Special editors wear the background of the cell they edit, taken as each edit opens.
    TColor FEditorColor = clWindow;
    TColor EditorCellColor(int ACol, int ARow);
    // The focus frame around the cell being edited, when the focus helper is on.
    void ShowEditFocusFrame();
    // Where the view stood at the last scroll: what a fixed background picture covered then.
    int FTopLeftCol = -1;
    int FTopLeftRow = -1;
    UnicodeString FOldCellTextWide;

    // validation
    int FOldCol = -1;
    int FOldRow = -1;
    UnicodeString FOldCellText;
    UnicodeString FNewCellText;
    bool FOldModifiedValue = false;
    bool FValidating = false;
    bool FGridModified = false;
    bool FModified = false;
    UnicodeString FLastInvalidTipTitle;
    UnicodeString FLastInvalidTipText;
    void ShowInvalidEntryTip();

    // selection
    bool SelectCell(int ACol, int ARow) override;
    // The edit permission of a cell, applied to goEditing (the cell that becomes or stays current).
    void ApplyEditPermission(int ACol, int ARow, bool EditorFocused);
    // The display column that shows real column ARealCol (itself when none maps to it).
    int DisplColOfReal(int ARealCol) const;
    // =========================================================================================

    // =========================================================================================
    // window messages: typed characters, timer ticks, painting under the update lock, focus,
    // the pointer over the grid and the marker of middle-button panning
public:
    enum TIntelliPan { ipNone, ipVertical, ipHorizontal, ipBoth };
    TIntelliPan IntelliPan() const { return FIntelliPan; }
    void SetIntelliPan(TIntelliPan Value) { FIntelliPan = Value; }
    // Where middle-button panning started (client coordinates): the marker's top-left corner.
    TPoint WheelPanPos() const { return wheelpanpos; }
    void SetWheelPanPos(TPoint Value) { wheelpanpos = Value; }
    // On the grid's canvas, or on ACanvas when given.
    void DrawPanMarker(TCanvas *ACanvas = nullptr);
    void InvalidatePanMarker();
    // The incremental search text: it lives 4 timer ticks after it last grew.
    UnicodeString SearchText() const { return SearchInc; }
    void SetSearchText(const UnicodeString &Value)
    {
        SearchInc = Value;
        SearchTics = 0;
    }
    int TimerTicks() const { return FTimerTicks; }
    TMouseSelectMode MouseSelectMode() const { return FMouseSelectMode; }
    void SetMouseSelectMode(TMouseSelectMode Value) { FMouseSelectMode = Value; }
    bool CellSelectorMode() const { return FCellSelectorMode; }
    void SetCellSelectorMode(bool Value) { FCellSelectorMode = Value; }
    // The keypad's decimal key types the locale's decimal separator.
    bool ExcelStyleDecimalSeparator = false;
    // Completion of typed text from LookupItems, and the history of entered texts.
    bool Lookup = false;
    bool LookupCaseSensitive = false;
    bool LookupHistory = false;
    // Before the editor loads a cell: its text is right-aligned when the cell is.
    void ApplyEditorAlignment(int ACol, int ARow);
    // The modified-row marks (real rows).
    bool RowModified(int ARow) const;
    void SetRowModified(int ARow, bool Value);
    // Rows may be disabled: with Navigation.SkipDisabledRows a disabled row never becomes current.
    bool GetRowEnabled(int ARow) const;
    void SetRowEnabled(int ARow, bool Value);
    // Repaints the header cells (last fixed row, last fixed column) of two cells.
    void RepaintActiveHeaders(int Col1, int Row1, int Col2, int Row2);

    // ---- the wheel, middle-button panning and key release (ExtGridWndProc.cpp, ExtGridWheel.cpp)
    bool EnableWheel() const { return FEnableWheel; }
    void SetEnableWheel(bool Value) { FEnableWheel = Value; }
    // Ctrl with the wheel zooms.
    bool IntelliZoom() const { return FIntelliZoom; }
    void SetIntelliZoom(bool Value) { FIntelliZoom = Value; }
    bool Panning() const { return wheelpan; }
    // Rows per wheel notch as the system gives them (set when the window is made).
    int WheelScrollLines() const { return wheelscrl; }
    // The id of the pan timer and of its steps' timer messages.
    static constexpr UINT_PTR PanTimerID = 999;

protected:
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void KeyUp(Word &Key, TShiftState Shift) override;

private:
    // One wheel step of the wheel message; OldSel is the selection before the message.
    void WheelStep(TMessage &Message, const TGridRect &OldSel);
    // The wheel as the platform hands it on, down or up.
    bool WheelOverride(bool Down, TShiftState Shift, TPoint MousePos);
    void StartPanning(int X, int Y);
    void StopPanning();
    void PanStep(const TGridRect &OldSel);
    // Shows the pan cursor of a resource id (8000 .. 8008).
    void ShowPanCursor(int ResID);
    UINT_PTR wheeltimer = 0;
    HCURSOR prevcurs = nullptr;
    // The cursor resource the last pan step showed.
    int FPanCursorID = 0;
    bool FPanHintWas = false;

public:
    int PanCursorID() const { return FPanCursorID; }

protected:
    void WMPaint(TWMPaint &Message) override;
    void WMTimer(TWMTimer &Message) override;
    // With Hovering on, the normal cell under the resting pointer becomes current.
    void HoverToCell();
    // ---- blink, resizing and control notifications (ExtGridMessages.cpp) ----
    void WMSize(TWMSize &Message) override;
    void CMDialogChar(TCMDialogChar &Message) override;
    void CMEnabledChanged(TCMEnabledChanged &Message) override;
    void CMColorChanged(TCMColorChanged &Message) override;
    void CMCursorChanged(TCMCursorChanged &Message) override;
    // Repaints the shown cells whose text holds the blink tag.
    void RepaintBlinkingCells();
    bool FEnableBlink = false;
    bool FGridBlink = false;

public:
    // Text in the blink tag blinks with the grid timer, a phase every tick.
    bool EnableBlink() const { return FEnableBlink; }
    void SetEnableBlink(bool Value);
    // The blink phase: true while blinking text is drawn invisible.
    bool GridBlink() const { return FGridBlink; }
    void ResetFixedCellHighlight();

protected:
    // The looks that take no platform style.
    void ApplyPlainLook(TGridLook Value, bool Loading);
    void WMSetCursor(TWMGeneric &Message) override;
    void WMSetFocus(TWMSetFocus &Message) override;
    void WMKillFocus(TWMKillFocus &Message) override;
    void DoEnter() override;
    void DoExit() override;
    void Click() override;
    TIntelliPan FIntelliPan = ipVertical;
    TPoint wheelpanpos{0, 0};
    int FTimerTicks = 0;
    bool FCellSelectorMode = false;
    TPoint FCtrlXY{-1, -1};
    bool FUseEnabledRows = false;
    // Keeps the cell about to become current clear of the floating footer and the search panel;
    // false when the cell cannot become current (the footer row).
    bool KeepClearOfPanels(int ARow);
    void SelectionRepaints(int OldCol, int OldRow, const TGridRect &OldSel, int ACol, int ARow);
    // =========================================================================================

protected:
    // dimensions: OnColumnSize and OnRowSize may refuse a sizing the platform offers
    void CalcSizingState(int X, int Y, TGridState &State, int &Index, int &SizingPos, int &SizingOfs,
                         TGridDrawInfo &FixedInfo) override;
    // cells: the editor works on display columns; the text goes to and comes from the real
    // column shown there, at the base cell of a merged range
    UnicodeString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const UnicodeString &Value) override;

    // ---- component notifications (ExtGridNotify.cpp) ----
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void DragOver(TObject *Source, int X, int Y, TDragState State, bool &Accept) override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void RowLinesDeleted(const std::vector<int> &Rows) override;
    void FreeDragTimer();
    // StretchColumn for the grid's own size reactions: only with stretching on and a stretch
    // column that exists.
    void AutoStretch();
    TTimer *FDragTmr = nullptr;
    TDragScrollDirections FDragScrollDirection;
    // The width (height) of the mouse-sized column (row) when the sizing began.
    int Colclickedsize = 0;
    int Rowclickedsize = 0;
    bool ColSizeFlg = false;
    // ---- end of component notifications ----

    // ---- column and row moves: everything kept per column or row goes along (ExtGridMove.cpp) ----
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    // The last row belongs to a visible fsFixedLastRow footer: nothing moves onto it.
    bool IsFooterRowMove(int ToIndex) const;
    // The synchronised grid repeats a column (row) move when it follows those moves.
    void RepeatOnSyncGrid(bool Column, int FromIndex, int ToIndex);
    // Set while this grid repeats its synchronised grid's move, so that it does not repeat it back.
    bool FSyncedMove = false;

    void Loaded() override;
    void CreateWnd() override;
    void Resize() override;
    bool IsFixed(int ACol, int ARow) override;
    int GetRowIndent(int ARow) override;
    bool HasNodes() override { return FNumNodes > 0; }
    bool HasCellBorderEvent() override { return bool(OnGetCellBorder); }
    UnicodeString GetEditMask(int ACol, int ARow) override;
    void GetDefaultCellProperties(int ACol, int ARow, TFont *AFont, TBrush *ABrush, TColor &AColorTo,
                                  TColor &AMirrorColor, TColor &AMirrorColorTo, TAlignment &HA, TVAlignment &VA,
                                  bool &WW, TCellGradientDirection &GD) override;

    // ---- change handlers hung on the owned objects ----
    void AppearanceChanged(TObject *Sender) { Invalidate(); }
    void BandsChanged(TObject *Sender) { Invalidate(); }
    void FilterDropDownChanged(TObject *Sender) { Invalidate(); }
    void ShowModifiedChanged(TObject *Sender);
    // The balloon tool tip comes and goes with Balloon.Enable (not while loading).
    void BalloonEnableChanged(TObject *Sender);
    TToolTipWindow *FToolTipWindow = nullptr;
    bool FBalloonInitialised = false;
    void UnitEditUnitChanged(TObject *Sender, const UnicodeString &NewUnit);
    void MergedColumnsChanged(TObject *Sender, int ACol, int ARow);
    void ColumnHeadersListChanged(TObject *Sender);
    void RowHeadersListChanged(TObject *Sender) { ShowRowHeaders(); }

    // ---- scroll indicators ----
    TScrollControl *vscrlctrl = nullptr;
    TScrollControl *hscrlctrl = nullptr;
    TScrollBar *FScrollBar = nullptr;
    TScrollBar *FPaintScrollBar = nullptr;
    TScrollType FScrollType = ssNormal;
    TColor FScrollColor = clNone;
    int FScrollWidth = 17;
    bool FScrollSynch = false;
    TScrollHintType FScrollHints = shNone;
    bool FScrollProportional = false;
    TScrollBarAlways FScrollBarAlways = saNone;
    bool FIsFlat = false;
    THTMLHintWindow *FScrollHintWnd = nullptr;
    bool FScrollHintShow = false;

    // ---- style and look ----
    TQRVStyle FStyle = tsWindowsXP;
    TGridLook FLook = glXP;
    TColorTones FTones{};
    TOfficeTheme FOldOfficeTheme = otUnknown;
    bool FAutoThemeAdapt = false;
    TColor FQRVGradFrom = TColorOf(0xFFFFFFu);
    TColor FQRVGradTo = clNone;
    TColor FQRVGradMirrorFrom = clNone;
    TColor FQRVGradMirrorTo = clNone;
    TColor FBorderColor = TColorOf(0xB99D7Fu);
    TControlLook *FControlLook = nullptr;
    TBackGround *FBackGround = nullptr;
    TBands *FBands = nullptr;
    bool FIsWinXP = false;
    bool FIsWin7 = false;
    bool FIsWinVista = false;
    bool FIsComCtl6 = false;

    // ---- colours and fonts ----
    TColor FSelectionColor = TColorOf(0xEACAB6u);
    TColor FSelectionColorTo = clNone;
    int FSelectionColorMixerFactor = 50;
    TColor FSelectionMirrorColor = clNone;
    TColor FSelectionMirrorColorTo = clNone;
    TColor FSelectionTextColor = TColorOf(0);
    TColor FSelectionRectangleColor = TColorOf(0);
    bool FShowSelection = true;
    bool FHideFocusRect = false;
    TColor FHighlightColor = clHighlight;
    TColor FHighLightTextColor = clHighlightText;
    TColor FHintColor = clInfoBk;
    TColor FURLColor = TColorOf(0xFF0000u);
    bool FActiveCellShow = false;
    TFont *FActiveCellFont = nullptr;
    TColor FActiveCellColor = TColorOf(0x808080u);
    TColor FActiveCellColorTo = clNone;
    TFont *FFixedFont = nullptr;
    TColor FDisabledFontColor = TColorOf(0xC0C0C0u);
    bool FUseDisabledFont = true;
    TFont *cf = nullptr;

    // ---- fixed cells ----
    bool FFixedRowAlways = false;
    bool FFixedColAlways = false;
    // The platform grid starts with one fixed row and column: that is what was asked for.
    int FFixedRowsMin = 1;
    int FFixedColsMin = 1;
    int FFixedFooters = 0;
    int FFixedRightCols = 0;
    int FFixedRowHeight = 22;
    bool FFixedAsButtons = false;
    bool FFixedCellPushed = false;
    TPoint FPushedFixedCell{-1, -1};
    int FHoverFixedX = -1;
    int FHoverFixedY = -1;
    THoverFixedCells FHoverFixedCells = hfNone;
    TStringList *FColumnHeaders = nullptr;
    TStringList *FRowHeaders = nullptr;

    // ---- hidden columns and rows ----
    std::array<bool, 513> FVisibleCol{};
    // Width of each hidden column, by real index, kept while it is hidden.
    std::array<SmallInt, 513> FAllColWidths{};
    int FNumHidden = 0;
    THiddenRows *FGridItems = nullptr;

    // ---- nodes and grouping ----
    TCellNode *FCellNode = nullptr;
    int FNumNodes = 0;
    TGrouping *FGrouping = nullptr;
    int FGroupColumn = -1;
    bool FIsGrouping = false;

    // ---- cell graphics and controls ----
    TCellGraphic *FCellGraphic = nullptr;
    TObject *FGridImages = nullptr;
    THTMLPictureCache *FImageCache = nullptr;
    TControlList *FControlList = nullptr;
    int FNumCellControls = 0;
    TGridProgressAppearance *FProgressAppearance = nullptr;
    TBitmap *FRowIndicator = nullptr;

    // ---- row and cell lists ----
    TIntList *FSortRowXRef = nullptr;
    TIntList *FUnSortRowXRef = nullptr;
    TIntList *FMergedColumns = nullptr;
    TIntList *FSelectedCells = nullptr;
    TIntList *FSelectedRows = nullptr;
    TIntList *FModifiedRows = nullptr;
    TIntList *FEnabledRows = nullptr;
    TIntList *FRowSelect = nullptr;
    TIntList *FColSelect = nullptr;
    TSortIndexList *FSortIndexes = nullptr;
    TIntList *FColumnOrder = nullptr;
    TIntList *FOrigColSizes = nullptr;
    TIntList *FIgnoreColumns = nullptr;
    int FMaxRowCount = 0;
    int FMaxColCount = 0;

    // ---- editing ----
    TObject *FEditLink = nullptr;
    TControlEdit *FEditControl = nullptr;
    TControlCombo *FComboControl = nullptr;
    TGridCombo *EditCombo = nullptr;
    TGridTransEdit *EditTrans = nullptr;
    TGridTransCombo *ComboTrans = nullptr;
    TGridCheckBox *EditCheck = nullptr;
    TGridEditBtn *EditBtn = nullptr;
    TGridSpin *FSpinEdit = nullptr;
    TGridDatePicker *FDatePicker = nullptr;
    bool ShowSpinDateEditor(int ACol, int ARow, const TRect &R, const UnicodeString &EditText);
    bool CommitSpinDateEditor(int ACol, int ARow);
    void ShowDatePicker(int ACol, int ARow, const TRect &R, const UnicodeString &EditText);
    TGridUnitEditBtn *UnitEditBtn = nullptr;
    TGridButton *GridButton = nullptr;
    THeaderDragButton *MoveButton = nullptr;
    TGridDateTimePicker *FDateAndTimePicker = nullptr;
    TDateTime FOriginalDateTime = 0;
    void ShowDateTimeEditor(int ACol, int ARow, const TRect &R, const UnicodeString &EditText);
    void CommitDateTimeEditor(int ACol, int ARow);
    TEditorType EditControl = edNormal;
    bool EditMode = false;
    TEditorType FDefaultEditor = edNormal;
    TAlignment FDefaultAlignment = taLeftJustify;
    UnicodeString FEditMask;
    WideChar FPasswordChar = WideChar(u'*');
    int FMaxEditLength = 0;
    int FComboIdx = -1;
    WideChar FStartEditChar = WideChar(0);
    bool FEditing = false;
    bool FEditDisable = false;
    bool FEditChange = false;
    bool FLastValidation = true;
    TExtStringGridCheck *FCellChecker = nullptr;
    bool FCtrlEditing = false;
    TStringList *FLookupItems = nullptr;
    bool FNoAutoAdvance = false;
    int FLastTabCol = -1;
    int FLastTabRow = -1;

    // ---- mouse and keyboard state ----
    TMouseActions *FMouseActions = nullptr;
    TNavigation *FNavigation = nullptr;
    bool FMouseDown = false;
    bool FMouseResize = false;
    bool FCtrlDown = false;
    TMouseSelectMode FMouseSelectMode = msNormal;
    int FMouseSelectStart = -1;
    bool FDeselectState = false;
    bool FSelectionClick = false;
    int Colclicked = -1;
    int Rowclicked = -1;
    bool ColchgFlg = true;
    bool ColSized = false;
    bool Rowsized = false;
    bool LButFlg = false;
    bool FEnhRowColMove = true;
    Cardinal wheelmsg = 0;
    int wheelscrl = 0;
    bool wheelpan = false;
    bool FIntelliZoom = true;
    bool FEnableWheel = true;
    int FHoverlink = -1;
    int FMinRowHeight = 0;
    int FMaxRowHeight = 0;
    int FMinColWidth = 0;
    int FMaxColWidth = 0;
    bool FSizeGrowOnly = false;

    // ---- timers and hints ----
    int FGridTimerID = 0;
    THintPos FHintShowLargeTextPos = hpCell;
    bool FUseInternalHintClass = true;
    bool FHintShowCells = false;
    bool FHintShowLargeText = false;
    bool FHTMLHint = false;
    bool FAnchorHint = false;
    bool FUseHTMLHints = false;
    TPictureContainer *FPictureContainer = nullptr;
    UnicodeString FLastAnchorHint;
    TPoint FLastHintPos{-1, -1};
    TPoint FLastBalloonPos{-1, -1};
    // The balloon tool tip window of the grid, while Balloon.Enable holds, and the text it
    // was last given.
    HWND FHToolTip = nullptr;
    UnicodeString FToolTipBuffer;
    UnicodeString FToolTipTitle;
    TBalloonSettings *FBalloonSettings = nullptr;
    TDragScrollOptions *FDragScrollOptions = nullptr;

    // ---- footers and search ----
    TFooterPanel *FFooterPanel = nullptr;
    TFloatingFooter *FFloatingFooter = nullptr;
    TSearchPanel *FSearchPanel = nullptr;
    TSearchFooter *FSearchFooter = nullptr;
    UnicodeString SearchInc;
    int SearchTics = 0;
    bool FFindBusy = false;
    TFindParams FFindParams;
    UnicodeString FSearchText;
    UnicodeString FSearchCache;
    TPoint FSearchCell{-1, -1};
    TPoint RunFind(TPoint StartCell, const UnicodeString &s, TFindParams FindParams, bool Wide);
    bool MatchFindCell(int ACol, int ARow, bool Wide);

    // ---- filter ----
    TFilter *FFilter = nullptr;
    bool FFilterActive = false;
    bool FFilterNormalCellsOnly = true;
    int FFilterCol = -1;
    int FFilterLevel = 0;
    TFilterDropDown *FFilterDropDown = nullptr;
    TDropList *FDropList = nullptr;
    TDropCheckList *FDropCheckList = nullptr;
    TStringList *FFilterList = nullptr;
    bool FAutoFilterUpdate = true;
    bool FFilterDropDownAuto = false;
    TFilterDropDownColumns FFilterDropDownColumns = fdNormal;
    UnicodeString FFilterDropDownClear = QStringLiteral("(All)");
    bool FFilterIncremental = false;
    bool FFilterDropDownCheck = false;
    int FFilterDropDownRow = 0;
    int FFilterFixedRows = 0;
    UnicodeString FLastFilter;
    // What each entry of FilterList stands for when the grid made the list from the cells: the
    // value, taken literally when picked. Empty for lists from handlers or columns.
    QStringList FFilterValues;
    // The conditions read once, while ApplyFilter runs.
    const TPreparedFilter *FPreparedFilter = nullptr;

    // ---- sorting ----
    TSortSettings *FSortSettings = nullptr;
    TStringList *Sortlist = nullptr;
    int FCompares = 0;
    int FSwaps = 0;
    int FSortRow = 0;
    int FSortDir = 1;
    Cardinal FSortTime = 0;
    // While a sort moves its rows, heights are exchanged quietly and announced once at the end.
    bool FSortBatch = false;
    bool FSortHeightsMoved = false;
    // The sort's whole path: NormalCellsOnly's column 0, TopRow, the floating footer and the
    // update lock around Body, restored also when Body raises.
    template <typename F> void SortFrame(bool RestoreColumn0, F Body);
    // Puts rows Left..Left+Order.size()-1 in the given order (Order[k] the row that goes to
    // Left+k) through SortSwapRows; Also is told of each exchange.
    template <typename F> void ApplyRowOrder(int Left, const std::vector<int> &Order, F Also);
    void SortRows(int Left, int Right, bool Indexed, int ACol);
    void SortGroupRows(bool Indexed);
    // The current row after a sort: the moved one with MoveRowOnSort, else the same index.
    void RestoreRowAfterSort(int OldRow);

    // ---- files, clipboard, printing ----
    WideChar FDelimiter = WideChar(0);
    bool FJavaCSV = false;
    UnicodeString FCheckTrue = QStringLiteral("Y");
    UnicodeString FCheckFalse = QStringLiteral("N");
    UnicodeString FFloatFormat = QStringLiteral("%.2f");
    UnicodeString FXMLEncoding = QStringLiteral("ISO-8859-1");
    bool FQuoteEmptyCells = true;
    bool FAlwaysQuotes = false;
    bool FSaveFixedCells = true;
    bool FSaveFixedCols = false;
    bool FSaveFixedRows = false;
    bool FLoadFirstRow = true;
    bool FSaveHiddenCells = false;
    bool FSaveVirtCells = true;
    bool FSaveWithHTML = true;
    bool FClearTextOnly = false;
    bool FExcelClipboardFormat = false;
    TPoint FClipTopLeft{-1, -1};
    bool FOleDropTargetAssigned = false;
    TDragDropSettings *FDragDropSettings = nullptr;
    int FOleDragCol = -1;
    TPrintSettings *FPrintSettings = nullptr;
    THTMLSettings *FHTMLSettings = nullptr;
    int FPrintPageFrom = 1;
    int FPrintPageTo = 1;
    int FPrintPageNum = 0;
    bool FPrinterdriverfix = false;

    // ---- sizing and layout ----
    TColumnSize *FColumnSize = nullptr;
    bool FSizeWithForm = false;
    TSizeWhileTyping *FSizeWhileTyping = nullptr;
    bool FAutoSize = false;
    bool FIntegralHeight = false;
    int FOldSize = -1;
    bool FFitCellsInGrid = true;
    TPoint FXYOffset{2, 2};
    bool FXYOffsetTopLeftOnly = false; // cell graphic sizes
    int FZoomFactor = 0;
    int FOldLeftCol = 0;
    int FOldTopRow = 0;
    int PrevSizeX = 0;
    int PrevSizeY = 0;
    bool ResizeAssigned = false;
    TNotifyEvent FOnResize;

    // ---- cell content options ----
    bool FEnableHTML = true;
    bool FWordWrapEx = true;
    TVAlignment FVAlignment = vtaTop;
    bool FShowNullDates = true;
    bool FNoDefaultDraw = false;
    bool FVirtualCells = false;
    TShowModified *FShowModified = nullptr;
    bool FShowColNrs = true;
    bool FShowDesignHelper = true;
    int FLastDesignChoice = -1;
    bool FURLShowInText = false;
    // content drawing
    bool FMultilineCells = false;
    bool FEnhTextSize = false;
    bool FURLShow = false;
    bool FURLFull = false;
    bool FSelectionRTFKeep = false;
    // The vertical alignment the last drawn cell text used, for the in-place editor.
    TVAlignment FDrawnVAlign = vtaTop;
    virtual TPoint MeasureCellText(int ACol, int DisplCol, int ARow, bool WrapText, bool ButtonSpace);
    void DrawSizingLine(TCanvas *ACanvas, int X1, int Y1, int X2, int Y2);
    // The hidden rich edit that every rich-text cell is loaded into in turn (made on first need,
    // owned by the grid).
    TRichEdit *CellRichEdit();
    TRichEdit *FCellRichEdit = nullptr;
    // The cell of real column RealCol shown at DisplayCol carries the sort glyph.
    bool IsSortGlyphCell(int RealCol, int DisplayCol, int ARow);
    // The text step of the content drawer: R is the cell's text room before the margins.
    void DrawCellText(TCellPaintContext &Ctx, TRect R, UnicodeString Text, int Kind, TColor LinkColor);
    void DrawRotatedText(TCellPaintContext &Ctx, const TRect &ARect, TCellGraphic *G);
    // A button graphic (push, glyph or expand button) in R, ARect being the graphic's room.
    void DrawCellButton(TCellPaintContext &Ctx, const TRect &ARect, TRect R, TCellGraphic *G);
    // The expand button of a node row and its tree lines, in column 0.
    void DrawNodeButton(TCellPaintContext &Ctx, const TRect &ARect, TCellGraphic *G);
    // The row indicator of the current row in column 0; the content starts right of it.
    void DrawRowIndicator(TCellPaintContext &Ctx);
    // ---- pointer states, interface graphics and theme changes in painting ----
    // The header cell shows the hovered (or, with the button held, pressed) look.
    bool IsHoveredHeader(const TCellPaintContext &Ctx) const;
    // The hovered or pressed header with its drop-down part; the text loses that part's width.
    void DrawHoveredHeader(TCellPaintContext &Ctx, TRect R);
    // The column offers a filter list from its header in the filter row.
    bool HasFilterButton(int RealCol, int ARow);
    // An interfaced cell object drawing itself over R.
    void DrawInterfaceGraphic(TCellPaintContext &Ctx, const TRect &R);
    // The platform's style changed: its colours are taken again.
    void CMStyleChanged(TMessage &Message);

    // ---- update and state flags ----
    int FUpdateCount = 0;
    int FPaintCount = 0;
    bool FLoaded = false;
    bool FIsColChanging = false;
    bool Invokedchange = false;
    bool InvokedFocusChange = false;
    bool FDisableChange = false;
    bool FNilObjects = false;
    bool FBlockCellChange = false;
    bool FIsDBVersion = false;
    int FOldRowSel = -1;
    TCursor FOldCursor = crDefault;
    TSyncGrid *FSyncGrid = nullptr;
    TFocusHelper *FFocusHelper = nullptr;
    TGridFocusWindow *FFocusWindow = nullptr;
    TArrowWindow *ArwU = nullptr;
    TArrowWindow *ArwD = nullptr;
    TArrowWindow *ArwL = nullptr;
    TArrowWindow *ArwR = nullptr;
    TList *FNotifierList = nullptr;
    ITExtStringGridSelect *FISelect = nullptr;

    // =========================================================================================
    // keys, Tab and advance, mouse buttons, pointer tracking and the selection models
    // (grid/view/ExtGridKeys.cpp, ExtGridTab.cpp, ExtGridMouse.cpp, ExtGridPointer.cpp,
    // ExtGridPress.cpp, ExtGridSelection.cpp)
public:
    using TCanClickCellEvent = std::function<void(TObject *Sender, int ARow, int ACol, bool &Allow)>;
    using TCheckBoxClickEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool State)>;
    using TRadioClickEvent = std::function<void(TObject *Sender, int ACol, int ARow, int AIdx)>;
    using TCanRowEvent = std::function<void(TObject *Sender, int ARow, bool &Allow)>;
    using TRowIndexEvent = std::function<void(TObject *Sender, int ARow)>;
    using TColIndexEvent = std::function<void(TObject *Sender, int ACol)>;
    using TAutoAdvanceEvent =
        std::function<void(TObject *Sender, int OldRow, int OldCol, int &NewRow, int &NewCol, bool &Allow)>;
    using TCanSortEvent = std::function<void(TObject *Sender, int ACol, bool &DoSort)>;
    using TColumnSizingEvent = std::function<void(TObject *Sender, int ACol, int ColumnSize)>;
    using TRowSizingEvent = std::function<void(TObject *Sender, int ARow, int RowSize)>;
    using TDisjunctSelectEvent = std::function<void(TObject *Sender, int ARow, bool AState, bool &Allow)>;
    using TNodeAllowEvent = std::function<void(TObject *Sender, int ARow, int ARowReal, bool &Allow)>;
    using TNodeEvent = std::function<void(TObject *Sender, int ARow, int ARowReal)>;
    using TAnchorClickEvent =
        std::function<void(TObject *Sender, int ARow, int ACol, const UnicodeString &Anchor, bool &AutoHandle)>;
    using TOleDragEvent = std::function<void(TObject *Sender, int ARow, int ACol, const UnicodeString &Data, bool &Allow)>;
    using TClipboardAllowEvent = std::function<void(TObject *Sender, bool &Allow)>;

    // ---- keyboard (ExtGridKeys.cpp) ----
    // The last row's bottom lies above the search panel (the grid scrolled to its end).
    bool IsLastRowAboveSearchFooter();
    // Raises the top row until the last row ends above the search panel; stops at the largest
    // top row the grid can take.
    void ScrollAboveSearchFooter();
    // Whether the cell (display column) may be edited as Enter and F2 ask it: goEditing or
    // RangeSelectAndEdit, then the cell's own answer.
    bool KeyEditableCell(int ACol, int ARow);
    // The grid edits: goEditing, or goEditing held off only while a read-only cell is current.
    bool EditingGrid() const { return Options().Contains(goEditing) || FEditDisable; }
    TClipboardAllowEvent OnClipboardCut;
    TClipboardAllowEvent OnClipboardCopy;
    TRowIndexEvent OnAutoInsertRow;
    TCanRowEvent OnCanDeleteRow;
    TCheckBoxClickEvent OnCheckBoxClick;
    TCheckBoxClickEvent OnCheckBoxMouseUp;
    TRadioClickEvent OnRadioClick;
    TRadioClickEvent OnRadioMouseUp;
    TButtonClickEvent OnRadioButtonClick;
    // The clipboard operations the keys reach (ExtGridClipboard.cpp).
    virtual void CutSelectionToClipboard();
    virtual void CopySelectionToClipboard();
    virtual void PasteSelectionFromClipboard();
    // The first normal row whose text in the sort column starts with Value (compared upper-cased,
    // without HTML tags); -1 when none.
    virtual int Search(const UnicodeString &Value);

    // ---- Tab and advance (ExtGridTab.cpp) ----
    // After the last edit row: a new last row (kept above a visible floating footer).
    void AutoAppendRow();
    bool IsLastEditRow();
    // The cell's in-text controls: the editor of the first editable one after AfterID.
    virtual void EditNextCellControl(int ACol, int ARow, const UnicodeString &AfterID);
    TRowIndexEvent OnAutoAddRow;
    TColIndexEvent OnAutoInsertCol;
    TAutoAdvanceEvent OnAutoAdvance;

    // ---- mouse buttons (ExtGridMouse.cpp) ----
    TCanClickCellEvent OnCanClickCell;
    TClickCellEvent OnClickCell;
    TClickCellEvent OnRightClickCell;
    TCanSortEvent OnCanSort;
    TColIndexEvent OnClickSort;
    TNodeAllowEvent OnBeforeExpandNode;
    TNodeAllowEvent OnBeforeContractNode;
    TNodeEvent OnExpandNode;
    TNodeEvent OnContractNode;
    TAnchorClickEvent OnAnchorClick;
    // A click in a radio group cell (real column) selects the option under the point
    // (cell-relative); a point beyond the last option changes nothing (ExtGridCellControls.cpp).
    virtual void ClickRadioCell(int ACol, int ARow, int X, int Y);

    using TSelectionResizeEvent = std::function<void(TObject *Sender, const TGridRect &Before, const TGridRect &After)>;
    using TMoveAllowEvent = std::function<void(TObject *Sender, int AIndex, bool &Allow)>;
    using TAnchorEvent = std::function<void(TObject *Sender, int ARow, int ACol, const UnicodeString &Anchor)>;
    using TFixedDropDownEvent = std::function<void(TObject *Sender, int ACol, int ARow, TPopupMenu *&AMenu,
                                                   bool &KeepFixedCellHighlighted)>;
    TSelectionResizeEvent OnSelectionResize;
    TSelectionResizeEvent OnSelectionResized;
    // Links in plain cell texts may be edited with a right click.
    bool URLEdit() const { return FURLEdit; }
    void SetURLEdit(bool Value) { FURLEdit = Value; }
    // The editor of a header or row-header cell (a text or combo over the fixed cell).
    virtual void EditFixedCell(int ACol, int ARow);
    // The filter list of a column opens under its header's filter button.
    virtual void OpenFilterDropDown(int ACol, int ARow);
    // The editor of one in-text control of a cell (an edit or combo over the control).
    virtual void EditCellControl(int ACol, int ARow, const UnicodeString &CtrlID);

    // ---- in-text control editors and fixed-cell editors (ExtGridCellControls.cpp) ----
    // Opens the editor of the control CtrlID of CellText at CtrlRect (client coordinates):
    // EDIT, PASSWORD and MASK edit in the control edit box, COMBO in the control combo box.
    void EditCellControlAt(const UnicodeString &CellText, const UnicodeString &CtrlType, int ARow, int ARealCol,
                           int ACol, const TRect &CtrlRect, const UnicodeString &CtrlValue,
                           const UnicodeString &CtrlID);
    // Writes the open control editor's text into its control's VALUE and closes it.
    void EndCellControlEdit();
    void ControlComboSelect(TObject *Combo);
    void FixedCellEditChange(TObject *Sender);
    TControlEdit *ControlEditor() const { return FEditControl; }
    TControlCombo *ControlComboEditor() const { return FComboControl; }
    TGridTransEdit *FixedCellEdit() const { return EditTrans; }
    TGridTransCombo *FixedCellCombo() const { return ComboTrans; }
    bool ControlEditing() const { return FCtrlEditing; }
    using TControlComboListEvent =
        std::function<void(TObject *Sender, int ARow, int ACol, const UnicodeString &CtrlID, const UnicodeString &CtrlType,
                           const UnicodeString &CtrlVal, TStrings *Values, bool &Edit, int &DropCount)>;
    using TControlComboSelectEvent = std::function<void(TObject *Sender, int ARow, int ACol, int ItemIndex,
                                                        const UnicodeString &CtrlID, const UnicodeString &CtrlValue)>;
    using TControlEditDoneEvent = std::function<void(TObject *Sender, int ARow, int ACol, const UnicodeString &CtrlID,
                                                     const UnicodeString &CtrlType, const UnicodeString &CtrlVal)>;
    TControlComboListEvent OnControlComboList;
    TControlComboSelectEvent OnControlComboSelect;
    TControlEditDoneEvent OnControlEditDone;

private:
    // The layout of a mini-HTML cell (display column) as it paints, on a bitmap of the client
    // size, for finding what lies in it.
    void CellHtmlLayout(int ACol, int ARow, TBitmap &Bmp, THtmlRenderParams &P);
    UnicodeString FCtrlID;
    UnicodeString FCtrlType;
    int FFixedColEdit = -1;
    int FFixedRowEdit = -1;

public:
    // The anchor and in-text control of a mini-HTML cell (display column) under a client point;
    // false when none lies there.
    bool HtmlAnchorAt(int ACol, int ARow, int X, int Y, UnicodeString &Anchor, UnicodeString &CtrlID,
                      UnicodeString &CtrlType, UnicodeString &CtrlVal, int &AnchorIndex);
    using TControlClickEvent = std::function<void(TObject *Sender, int ARow, int ACol, const UnicodeString &CtrlID,
                                                  const UnicodeString &CtrlType, const UnicodeString &CtrlVal)>;
    TControlClickEvent OnControlClick;

    // ---- press and release (ExtGridPress.cpp) ----
    // Fixed cells painted hovered: fixed columns with hfAll or hfFixedColumns, fixed rows with
    // hfAll or hfFixedRows.
    bool IsHoverFixedCell(int ACol, int ARow) const;
    TPopupMenu *FixedDropDownMenu() const { return FFixedDropDownMenu; }
    void SetFixedDropDownMenu(TPopupMenu *Value);
    TFixedDropDownEvent OnFixedDropDownClick;

    // ---- pointer (ExtGridPointer.cpp) ----
    TMoveAllowEvent OnColumnMove;
    TMoveAllowEvent OnRowMove;
    TMoveAllowEvent OnColumnMoving;
    TMoveAllowEvent OnRowMoving;
    TAnchorEvent OnAnchorEnter;
    TAnchorEvent OnAnchorExit;
    bool URLUnderlineOnHover() const { return FURLUnderlineOnHover; }
    void SetURLUnderlineOnHover(bool Value) { FURLUnderlineOnHover = Value; }
    TPoint HoverCell() const { return FHoverCell; }
    bool HintShowSizing() const { return FHintShowSizing; }
    void SetHintShowSizing(bool Value) { FHintShowSizing = Value; }
    THoverFixedCells HoverFixedCells() const { return FHoverFixedCells; }
    void SetHoverFixedCells(THoverFixedCells Value) { FHoverFixedCells = Value; }
    TPoint HoverFixedCell() const { return TPoint(FHoverFixedX, FHoverFixedY); }
    TPoint HoverButton() const { return FHoverButton; }
    int HoverRowIndex() const { return FHoverRowIdx; }
    bool NoMouseLeave() const { return FNoMouseLeave; }
    void SetNoMouseLeave(bool Value) { FNoMouseLeave = Value; }
    // The sizing hint's text of the last column or row sizing move ("cw=<b>120</b>").
    UnicodeString SizingHint() const { return FSizingHint; }
    TColumnSizingEvent OnColumnSizing;
    TRowSizingEvent OnRowSizing;
    TOleDragEvent OnOleDrag;
    TClickCellEvent OnOleDragStart;

    // ---- selection models (ExtGridSelection.cpp) ----
    bool RowSelect(int ARow) { return GetRowSelect(ARow); }
    void SetRowSelect(int ARow, bool Value);
    bool ColSelect(int ACol);
    void SetColSelect(int ACol, bool Value);
    int RowSelectCount();
    int ColSelectCount();
    void ClearRowSelect();
    void ClearColSelect();
    void SelectionToRowSelect(bool All = false);
    void SelectionToColSelect(bool All = false);
    void SelectRows(int RowIndex, int RCount);
    void UnSelectRows(int RowIndex, int RCount);
    void SelectCols(int ColIndex, int CCount);
    void UnSelectCols(int ColIndex, int CCount);
    void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
    void MoveToCell(int ACol, int ARow);
    void GotoCell(int ACol, int ARow);
    void EditCell(int ACol, int ARow);
    void SwapCells(TPoint FromCell, TPoint ToCell);
    void RepaintRect(const TRect &R);
    void RepaintRow(int ARow);
    void RepaintCol(int ACol);
    int ModifiedRowCount() const;
    void ClearModifiedRows();
    // The disjunct cell selection: (column, row) pairs.
    bool SelectedCells(int ACol, int ARow) const;
    void SetSelectedCells(int ACol, int ARow, bool Value);
    TGridCoord SelectedCell(int Index) const;
    int SelectedCellsCount();
    void ClearSelectedCells();
    int SelectedColCount();
    int SelectedRowCount();
    int SelectedRow(int Index);
    TDisjunctSelectEvent OnRowDisjunctSelect;
    TRowIndexEvent OnRowDisjunctSelected;

protected:
    // An open filter list takes the keys first (ExtGridFilter.cpp).
    void CNKeyDown(TWMKey &Message) override;
    void WMKeyDown(TWMKey &Message) override;
    void WMKeyUp(TWMKey &Message) override;
    void WMGetDlgCode(TWMGetDlgCode &Message) override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(WideChar &Key) override;
    void WMLButtonDown(TWMMouse &Message) override;
    void WMLButtonUp(TWMMouse &Message) override;
    void WMLButtonDblClk(TWMMouse &Message) override;
    void WMRButtonDown(TWMMouse &Message) override;
    void WMRButtonUp(TWMMouse &Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(TCMMouseLeave &Message) override;
    // The fixed sizing line and the pressed fixed cell, drawn over the finished paint pass.
    void DrawInputOverlays(TCanvas *ACanvas);
    // A click made by the grid itself (Tab, advance, Ctrl+A), without OnMouseDown and OnMouseUp.
    void SyntheticClick(int X, int Y);
    // Fires OnKeyDown with the key and shift of the key-down being handled.
    void FireKeyDown(Word Key, TShiftState Shift);
    // The shift state of the keyboard right now (Ctrl, Shift and the left Alt).
    static TShiftState KeyboardShift();
    void HandleSortClick(int ACol, int ARow, int X, int Y, TShiftState Shift);
    // The sort of a header click: one column, or with IndexKey the index list; grouped grids
    // sort inside their groups (ExtGridSort.cpp).
    void SortByHeaderClick(int RealCol, bool IndexKey);
    bool InHeaderSizingZone(int ACol, int ARow, int X) const;
    void SelectionChangedSince(const TGridRect &Old);
    void DeleteCurrentRow();
    void InsertRowAtKey();
    void SelectAllByKey();
    void HandleCheckBoxClick(int ACol, int ARow, int RealCol);
    bool HandleAnchorClick(int ACol, int ARow, int X, int Y);
    void DisjunctCellClick(int ACol, int ARow, TShiftState Shift);
    void FollowSyncGrid();
    TGridRect FMoveSelection{};
    TGridRect FSizeSelection{};
    TGridCoord FLastKeyCell{-1, -1};
    int FAECol = -1;
    int FAERow = -1;
    TPoint FPushedCellButton{-1, -1};
    TPoint FHoverButton{-1, -1};
    TPoint FHotFixedCell{-1, -1};
    TPoint FHoverCell{-1, -1};
    bool FHintShowSizing = false;
    bool FNoMouseLeave = false;
    bool FMouseKeepDown = false;
    bool FMouseDownMove = false;
    bool FDoOnClick = false;
    bool FSpinUpClick = false;
    bool FSpinDnClick = false;
    bool FDblClk = false;
    bool ColMoveFlg = false;
    bool FCheckClick = false;
    bool FDownInSizingZone = false;
    int Movecell = -1;
    int MoveOfsX = 0;
    int MoveOfsY = 0;
    int Clickposx = 0;
    int Clickposy = 0;
    int Clickposdx = 0;
    int Clickposdy = 0;
    int FMoveColInd = -1;
    int FMoveRowInd = -1;
    int FOldKeepLeftCol = -1;
    bool FSizeFixed = false;
    bool FSizingFixed = false;
    int FSizingFixedCol = -1;
    int FSizeFixedX = -1;
    bool FSizeFixedR = false;
    bool FSizingFixedR = false;
    int FSizingFixedRow = -1;
    int FSizeFixedY = -1;
    bool FOnResizeGrip = false;
    bool FPointerCursorSet = false;
    bool FURLEdit = false;
    bool FURLUnderlineOnHover = false;
    bool FFixedDropDownPressed = false;
    TPopupMenu *FFixedDropDownMenu = nullptr;
    UnicodeString FCurrentAnchor;
    int FMoveTarget = -1;
    // ---- the end of a dragged move, the sizing hint ----
    // The answer of OnColumnMoving/OnRowMoving for the target under the pointer.
    bool FMoveAllowed = true;
    void ScrollWhileMoving(bool ColMove, int X, int Y);
    void ShowSizingHint(const UnicodeString &Text, int ACol, int ARow);
    UnicodeString FSizingHint;
    TGridRect FDropSelection{};
    // ---- end of keys, mouse, pointer and selection ----

    // =========================================================================================
    // paint pass and per-cell painting (grid/view/ExtGridPaint.cpp)
public:
    using TGridGradientEvent = std::function<void(TObject *Sender, int ARow, int ACol, TColor &Color, TColor &ColorTo,
                                                  TColor &ColorMirror, TColor &ColorMirrorTo,
                                                  TCellGradientDirection &GD)>;
    using TCustomCellDrawEvent = std::function<void(TObject *Sender, TCanvas *Canvas, int ACol, int ARow,
                                                    TGridDrawState AState, TRect ARect, bool Printing)>;
    using TGridBorderPropEvent = std::function<void(TObject *Sender, int ARow, int ACol, TPen *LeftPen, TPen *TopPen,
                                                    TPen *RightPen, TPen *BottomPen)>;

    void GetVisualProperties(int ACol, int ARow, TGridDrawState &AState, bool Print, bool Select, bool Remap,
                             TBrush *ABrush, TColor &AColorTo, TColor &AMirrorColor, TColor &AMirrorColorTo,
                             TFont *AFont, TAlignment &HA, TVAlignment &VA, bool &WW,
                             TCellGradientDirection &GD) override;
    // Font and brush of a cell for measuring its text (RCol is the storage column).
    void GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState &AState, TFont *AFont, TBrush *ABrush);
    // (horizontal, vertical) alignment of the cell of storage column ACol.
    std::pair<TAlignment, TVAlignment> GetCellAlignment(int ACol, int ARow);
    // Channel mix of two colours, Percent of Color1; clNone stands back for the other colour.
    static TColor BlendColors(TColor Color1, TColor Color2, int Percent);
    static TColor BlendColorsIf(TColor Color1, TColor Color2, bool Blend, int Percent);
    // Reads the selection lists as they are: a row, column or cell beyond a list is unselected.
    bool IsSelected(int ACol, int ARow) const;

    bool HideFocusRect() const { return FHideFocusRect; }
    void SetHideFocusRect(bool Value) { SetLookFlag(FHideFocusRect, Value); }
    bool UseDisabledFont() const { return FUseDisabledFont; }
    void SetUseDisabledFont(bool Value) { SetLookFlag(FUseDisabledFont, Value); }
    TColor DisabledFontColor() const { return FDisabledFontColor; }
    void SetDisabledFontColor(TColor Value) { SetLookColor(FDisabledFontColor, Value); }
    bool NoDefaultDraw() const { return FNoDefaultDraw; }
    void SetNoDefaultDraw(bool Value) { SetLookFlag(FNoDefaultDraw, Value); }
    bool NoImageAndText() const { return FNoImageAndText; }
    void SetNoImageAndText(bool Value) { SetLookFlag(FNoImageAndText, Value); }
    bool AutoNumAlign() const { return FAutoNumAlign; }
    void SetAutoNumAlign(bool Value) { SetLookFlag(FAutoNumAlign, Value); }
    bool Painting() const { return FPaintDepth > 0; }

    // The header gradients: resting, hovered and pressed.
    TColor QRVGradientHoverFrom() const { return FQRVGradHoverFrom; }
    void SetQRVGradientHoverFrom(TColor Value) { SetLookColor(FQRVGradHoverFrom, Value); }
    TColor QRVGradientHoverTo() const { return FQRVGradHoverTo; }
    void SetQRVGradientHoverTo(TColor Value) { SetLookColor(FQRVGradHoverTo, Value); }
    TColor QRVGradientHoverMirrorFrom() const { return FQRVGradHoverMirrorFrom; }
    void SetQRVGradientHoverMirrorFrom(TColor Value) { SetLookColor(FQRVGradHoverMirrorFrom, Value); }
    TColor QRVGradientHoverMirrorTo() const { return FQRVGradHoverMirrorTo; }
    void SetQRVGradientHoverMirrorTo(TColor Value) { SetLookColor(FQRVGradHoverMirrorTo, Value); }
    TColor QRVGradientHoverBorder() const { return FQRVGradHoverBorder; }
    void SetQRVGradientHoverBorder(TColor Value) { SetLookColor(FQRVGradHoverBorder, Value); }
    TColor QRVGradientDownFrom() const { return FQRVGradDownFrom; }
    void SetQRVGradientDownFrom(TColor Value) { SetLookColor(FQRVGradDownFrom, Value); }
    TColor QRVGradientDownTo() const { return FQRVGradDownTo; }
    void SetQRVGradientDownTo(TColor Value) { SetLookColor(FQRVGradDownTo, Value); }
    TColor QRVGradientDownMirrorFrom() const { return FQRVGradDownMirrorFrom; }
    void SetQRVGradientDownMirrorFrom(TColor Value) { SetLookColor(FQRVGradDownMirrorFrom, Value); }
    TColor QRVGradientDownMirrorTo() const { return FQRVGradDownMirrorTo; }
    void SetQRVGradientDownMirrorTo(TColor Value) { SetLookColor(FQRVGradDownMirrorTo, Value); }
    TColor QRVGradientDownBorder() const { return FQRVGradDownBorder; }
    void SetQRVGradientDownBorder(TColor Value) { SetLookColor(FQRVGradDownBorder, Value); }

    TGridGradientEvent OnGetCellGradient;
    TCustomCellDrawEvent OnCustomCellBkgDraw;
    TCustomCellDrawEvent OnCustomCellDraw;
    TGridBorderPropEvent OnGetCellBorderProp;
    TNotifyEvent OnPainted;

    // ---- drawers of the cell's content, graphic and header that the pass calls in turn ----
    // (cell text: ExtGridCellText.cpp; graphics: ExtGridCellGraphic.cpp; headers: ExtGridHeader.cpp)
    // Selection colours, filter glyph, background, selection rectangle, text and sort glyph.
    void DrawCellContent(TCellPaintContext &Ctx);
    // The always-visible drop-down and spin buttons of a normal cell; they take room at the right.
    void DrawEditorButtons(TCellPaintContext &Ctx);
    // The cell's graphic in ARect; the drawer may move ARect's edges for what follows.
    void DrawCellGraphic(TCellPaintContext &Ctx, TRect &ARect);
    // Header background by look, row indicator and list-view header of a header cell.
    void DrawHeaderLook(TCellPaintContext &Ctx);
    // The edges of a header cell by look and of the right fixed columns, in R (grown by 1).
    void DrawHeaderEdges(TCellPaintContext &Ctx, TRect R);
    // The background picture or gradient behind a cell, drawn by the content drawer before the
    // text; painted so that it runs on across neighbouring cells.
    void DrawCellBackGround(TCellPaintContext &Ctx);
    // The cell's graphic and where it goes; without one a width and height of 0 and text allowed.
    TCellGraphic *GetCellGraphicLayout(int ACol, int ARow, TCellVAlign &VAlign, TCellHAlign &HAlign,
                                       bool &TextAllowed, int &Height, int &Width);
    // The frame around the selection where it passes through a normal cell, drawn by the content
    // drawer before the text, and the resizer square at the selection's bottom-right corner.
    void DrawSelectionRectangle(TCellPaintContext &Ctx);
    TColor SelectionRectangleColor() const { return FSelectionRectangleColor; }
    void SetSelectionRectangleColor(TColor Value) { SetLookColor(FSelectionRectangleColor, Value); }

protected:
    void Paint() override;
    void DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState) override;
    void DrawGridCell(TCanvas *ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    // The borders an event asks for, over R.
    void DrawCellBorders(TCellPaintContext &Ctx, TRect R);
    void DrawNodeTreeLines(TCellPaintContext &Ctx, const TRect &R);
    // The background picture or gradient in the empty area right of and below the cells.
    void PaintBackGroundArea();
    // A cell's own scroll bar, painted at its right edge when its text is longer than a page.
    void DrawCellScrollBar(TCellPaintContext &Ctx);
    // At design time the header row tells each column's storage number.
    void DrawDesignColumnNumber(TCanvas *ACanvas, int RealCol, TRect R);
    void DrawFocusRectangle(TCellPaintContext &Ctx, TRect R);
    void SetLookColor(TColor &Field, TColor Value)
    {
        if (Field != Value) {
            Field = Value;
            Invalidate();
        }
    }
    void SetLookFlag(bool &Field, bool Value)
    {
        if (Field != Value) {
            Field = Value;
            Invalidate();
        }
    }

    bool FAutoNumAlign = false;
    bool FNoImageAndText = false;
    int FPaintDepth = 0;
    TColor FQRVGradHoverFrom = TColorOf(0xFFFFFFu);
    TColor FQRVGradHoverTo = TColorOf(0x808080u);
    TColor FQRVGradHoverMirrorFrom = clNone;
    TColor FQRVGradHoverMirrorTo = clNone;
    TColor FQRVGradHoverBorder = TColorOf(0xC0C0C0u);
    TColor FQRVGradDownFrom = TColorOf(0xC0C0C0u);
    TColor FQRVGradDownTo = TColorOf(0x808080u);
    TColor FQRVGradDownMirrorFrom = clNone;
    TColor FQRVGradDownMirrorTo = clNone;
    TColor FQRVGradDownBorder = TColorOf(0x808080u);

    // ---- row, cell-exchange and notification hooks (grid/view/ExtGridHooks.cpp) ----
public:
    using TFixedEditEvent = std::function<void(TObject *Sender, int ACol, int ARow, TGridFixedCellEditor &AEditor,
                                               TStrings *Values)>;
    using TSelectionChangedEvent = std::function<void(TObject *Sender, int ALeft, int ATop, int ARight, int ABottom)>;
    using TAutoDeleteRowEvent = std::function<void(TObject *Sender, int ARow)>;
    using TCellSaveLoadEvent = std::function<void(TObject *Sender, int ACol, int ARow, UnicodeString &Value)>;
    TFixedEditEvent OnFixedEdit;
    TSelectionChangedEvent OnSelectionChanged;
    TAutoDeleteRowEvent OnAutoDeleteRow;
    TNotifyEvent OnFilterDone;
    TCellSaveLoadEvent OnSaveCell;
    TCellSaveLoadEvent OnLoadCell;
    bool SaveWithHTML() const { return FSaveWithHTML; }
    void SetSaveWithHTML(bool Value) { FSaveWithHTML = Value; }
    bool SaveWithRTF() const { return FSaveWithRTF; }
    void SetSaveWithRTF(bool Value) { FSaveWithRTF = Value; }
    bool SaveVirtCells() const { return FSaveVirtCells; }
    void SetSaveVirtCells(bool Value) { FSaveVirtCells = Value; }
    bool SelectionChangePending() const { return FSelChange; }

protected:
    bool FSaveWithRTF = false;
    bool FSelChange = false;

    // ---- look properties (grid/view/GridLookSettings.cpp) ----
public:
    TBitmap *RowIndicator() const { return FRowIndicator; }
    void SetRowIndicator(TBitmap *Value);
    void SetBackGround(TBackGround *Value);
    TGridProgressAppearance *ProgressAppearance() const { return FProgressAppearance; }
    void SetProgressAppearance(TGridProgressAppearance *Value) { FProgressAppearance->Assign(Value); }
    TDragScrollOptions *DragScrollOptions() const { return FDragScrollOptions; }
    void SetDragScrollOptions(TDragScrollOptions *Value) { FDragScrollOptions->Assign(Value); }
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor Value);
    TColor HighlightTextColor() const { return FHighLightTextColor; }
    void SetHighlightTextColor(TColor Value);
    bool Hovering() const { return FHovering; }
    void SetHovering(bool Value) { FHovering = Value; }
    void SetActiveCellColor(TColor Value) { FActiveCellColor = Value; Invalidate(); }
    TColor ActiveCellColorTo() const { return FActiveCellColorTo; }
    void SetActiveCellColorTo(TColor Value) { FActiveCellColorTo = Value; Invalidate(); }
    void SetActiveCellFont(TFont *Value) { FActiveCellFont->Assign(Value); Invalidate(); }
    TPoint XYOffset() const { return FXYOffset; }
    void SetXYOffset(TPoint Value) { FXYOffset = Value; Invalidate(); }
    void UpdateXYOffset(int X, int Y) { FXYOffset = TPoint(X, Y); }
    bool IsPlatformStyled() override { return FPlatformStyled; }

protected:
    bool FHovering = false;
    bool FPlatformStyled = false;
    // =========================================================================================
    // clipboard (grid/services/ExtGridClipboard.cpp)
public:
    using TClipboardCellEvent = std::function<void(TObject *Sender, int ACol, int ARow, const UnicodeString &Value)>;
    void CopyToClipBoard();
    void CutToClipboard();
    void CopyToClipBoardAsHTML();
    void PasteFromClipboard();
    UnicodeString GetSelectionAsText();
    // Stores the text raw at the selection, growing the grid to fit; no events, no undo.
    void SetSelectionAsText(const UnicodeString &Value);
    // Cols: the most tab-separated fields of one line; Rows: the lines up to the last one with
    // content, less one.
    static void ClipboardTextExtent(const UnicodeString &Text, int &Cols, int &Rows);
    // The clipboard text of a rectangle (display columns); records it as the copied top-left.
    UnicodeString SelectionToText(const TGridRect &R, bool Disjunct);
    void CopyRectToClipboard(const TGridRect &R, bool Disjunct);
    void ExpandSelectionToMergedCells();
    // The paste at one cell in the richest format allowed; answers the cells handled and the
    // extent pasted (a text: the lines with content and the widest line's fields).
    int PasteClipboardAt(int ACol, int ARow, int &Rows, int &Cols);
    int PasteTextAt(int ACol, int ARow, int &Rows, int &Cols, const UnicodeString &Text);
    TPoint ClipTopLeft() const { return FClipTopLeft; }
    TClipOperation ClipLastOp() const { return FClipLastOp; }
    TClipboardCellValueEvent OnClipboardBeforePasteWideCell;
    TClipboardCellEvent OnClipboardAfterPasteCell;
    TClipboardCellEvent OnClipboardAfterPasteWideCell;

private:
    void CopyCellAsRTF(int ACol, int ARow);
    void CopyRectAsGridCells(const TGridRect &R);
    // The text of one cell as the clipboard carries it.
    UnicodeString ClipboardCellText(int ACol, int ARow);
    // Stores one pasted field through the before and after events; false when refused.
    bool PasteFieldWithEvents(int ACol, int ARow, UnicodeString Value, bool FireEvents);
    void SmartPaste(const TGridRect &Sel, int N, int Rows, int Cols);
    TClipOperation FClipLastOp = coCopy;
    bool FPasteAll = false;
    // ---- end of clipboard ----

    // =========================================================================================
    // OLE drag and drop (grid/services/ExtGridOleDrop.cpp)
public:
    using TOleDragOverEvent = std::function<void(TObject *Sender, int ARow, int ACol, bool &Allow)>;
    using TOleDropColEvent = std::function<void(TObject *Sender, int ARow, int ACol, int DropCol)>;
    using TOleDroppedEvent = std::function<void(TObject *Sender, const TGridRect &ARect)>;
    using TOleDragStopEvent = std::function<void(TObject *Sender, int OLEEffect)>;
    // Column ACol (real) is being dragged from item AIndex of the list AList.
    void OleColumnDragStart(int ACol, int AIndex, TCustomListBox *AList);
    // The grid's drop target while DragDropSettings.OleDropTarget is on, else nullptr.
    TGridDropTarget *GridDropTarget() const { return FGridDropTarget; }
    bool OleDropTargetRegistered() const { return FOleDropTargetAssigned; }
    // The drag images: the picture of the dragged cells (DragDropSettings.ShowCells) and the
    // header button; nullptr and hidden outside a drag or move.
    TDragImageWindow *DragImage() const { return MoveForm; }
    THeaderDragButton *HeaderDragButton() const { return MoveButton; }
    TOleDragEvent OnOleDrop;
    TOleDragEvent OnOleDropFile;
    TOleDragEvent OnOleDropURL;
    TOleDragOverEvent OnOleDragOver;
    TOleDropColEvent OnOleDropCol;
    TOleDroppedEvent OnOleDropped;
    TOleDragStopEvent OnOleDragStop;

private:
    friend class TGridDropTarget;
    friend class TGridDropSource;
    friend class TDragDropSettings;
    void SetOleDropTargetActive(bool Value);
    void RegisterOleDropTarget();
    // The target's accept flags from DragDropSettings.
    void SyncOleDropAccept();
    // Runs the drag a press and move started (cells as text, or a header's column).
    void StartOleDrag(int ACol, int ARow);
    // A picture of the cells of R (display) that follows the pointer, at screen point At.
    void SelectionToForm(const TGridRect &R, TPoint At);
    void FreeMoveForm();
    // The images and insertion arrows while a row or column is moved (previous target first).
    void ShowMoveFeedback(bool ColMove, int ACol, int ARow, int X, int Y);
    void EndMoveFeedback();
    TGridDropTarget *FGridDropTarget = nullptr;
    TDragImageWindow *MoveForm = nullptr;
    int FOleDragIndex = -1;
    TCustomListBox *FOleDragList = nullptr;
    // ---- end of OLE drag and drop ----

private:
    // dimensions
    template <typename T> void SetAndInvalidate(T &Field, T Value)
    {
        if (Field == Value)
            return;
        Field = Value;
        Invalidate();
    }
    int FVAlign = 0;
    bool FSelectionColorMixer = false;
    bool FSelectionRectangle = false;
    bool FSelectionResizer = false;
    bool FSpreadSheet = false;

    // cells
    void SetCellsMapped(int ACol, int ARow, const UnicodeString &Value);
    static UnicodeString DecodeWideText(const UnicodeString &S);
    // The properties of a cell for a write; nullptr outside the grid.
    TCellProperties *PropsForWrite(int ACol, int ARow);
    void RepaintRealCell(int ACol, int ARow);
    // The row of the cross-reference that holds original row ARow, -1 when none does.
    int UnSortedRow(int ARow);
    // After a row-wide reset: frees the object when nothing in it differs from a new one's.
    void FreePropsIfDefault(int ACol, int ARow);
    // Sets one colour attribute over a row's normal cells; clNone takes only that attribute away.
    void SetRowColorAttr(int ARow, TColor Value, void (TCellProperties::*Setter)(TColor));
    bool FEditWithTags = false;
    bool FScrollLock = false;

    // hidden rows
    void CopyRowToItem(int ADisplRow, TGridItem *Item);
    void CopyItemToRow(TGridItem *Item, int ADisplRow);
    bool IsNodeOrSummary(int ARow);
    void SearchFooterHighlightText(const UnicodeString &Text);
    void SearchFooterUnHighlight();
    void SearchFooterKeepRowClear();
    // Expands the contracted node whose rows hold the given hidden real row.
    void ExpandNodeOver(int ARealRow);
    // HideRowList over display rows in any order, which it filters, sorts and makes unique.
    void HideRowLevel(std::vector<int> Rows);
    // A filter level whose rows are leaving the grid: its items go into the hidden-row store the
    // moment the rows leave the cell store, so that what the grid does about its new size
    // already finds the rows hidden, with their cells.
    struct TLeavingLevel {
        const std::vector<int> &Real;
        const std::vector<int> &Heights;
        const std::vector<TGridStore::TRow *> &Cells;
    };
    TLeavingLevel *FLeavingLevel = nullptr;
    void RecordLeavingLevel();
    // Puts hidden rows back at the given display rows (ascending), with their heights.
    void RestoreRows(const std::vector<TGridItem *> &Items, const std::vector<int> &Rows);
    void ShowRowControls(int FromRow, int ToRow, bool AShow);
    void FreeHiddenRowObjects();

    // ---- row and column structure helpers (ExtGridStructure.cpp) ----
    void InsertRowsWork(int RowIndex, int RCount, bool UpdateCellControls, bool ShiftHidden);
    // The shown display rows ARow..ARow+ACount-1 are about to leave the grid for good: hidden
    // rows and (with MoveControls) cell controls behind them move up by the real rows that go;
    // the controls of the rows that go are hidden and dropped.
    void RealRowsRemoved(int ARow, int ACount, bool MoveControls);
    // Entries of a display-row list at AIndex go (ACount of them, as far as the list reaches),
    // or ACount zero entries come in there when the list reaches that far. Either in one pass.
    static void DeleteListEntries(TIntList *AList, int AIndex, int ACount);
    static void InsertListEntries(TIntList *AList, int AIndex, int ACount);
    void RepaintSearchPanel();
    // The display rows listed (ascending) leave the grid for good in one pass, with all that
    // DeleteRowRange (or, AsRemoveRows, RemoveRows) does for each of them.
    void DeleteRowSet(std::vector<int> Rows, bool AsRemoveRows);
    // The display rows listed are hidden directly (level 0) in one pass, as HideRows would.
    void HideRowSet(std::vector<int> Rows);
    // HideRowLevel's work at the current filter level.
    void HideRowsParked(std::vector<int> Rows);
    // The display rows From..To-1 that are selected (not selected), ascending; with
    // RowSelectPersistent the flags are read by real row.
    std::vector<int> RowsBySelection(int From, int To, bool Selected) const;
    // The shown display columns listed leave the grid, right to left, a run at a time.
    void RemoveDisplayCols(const std::vector<int> &Cols);
    void RestoreRowAfterRemoval(int OldRow, int OldTop, bool KeepRow);
    // The end of a row removal: the change notice over FromRow..ToRow, the view kept on the last
    // rows, the cell controls and the search panel.
    void RowsRemovedDone(int FromRow, int ToRow);
    static void DeleteListRows(TIntList *AList, const std::vector<int> &Rows);
    TGridRect FOldSelection;
    bool FSelHidden = false;

    bool PlainDisplay(int ARow) const
    {
        return ARow >= FNormalRowCount || (!OnGetDisplText && !OnGetDisplWideText && !FURLShowInText &&
                                           !(FGrouping && FGrouping->ShowGroupCount));
    }
    // Every visible line is at least one pixel: rows (columns) further than the window's height
    // (width) past the first scrolled one are out of view.
    bool MayBeInView(int ACol, int ARow) const
    {
        return (ARow < FixedRows() || (ARow >= TopRow() && ARow <= TopRow() + Height())) &&
               (ACol < FixedCols() || (ACol >= LeftCol() && ACol <= LeftCol() + Width()));
    }
    bool Designing() const { return ComponentState().Contains(TComponentStateItem::csDesigning); }
    bool LoadingState() const { return ComponentState().Contains(TComponentStateItem::csLoading); }
    bool DestroyingState() const { return ComponentState().Contains(TComponentStateItem::csDestroying); }
    bool SharedGraphic(const TCellGraphic *G) const;
    void FreeCellGraphics();
    void HookFormResize();
    void UnhookFormResize();
    TCellGraphic *RowCheckGraphic(int ARow);

    // The chain of grids on one form that took over its OnResize: the grid whose handler this
    // grid saved (inner) and the grid that saved this grid's handler (outer).
    TCustomForm *FResizeForm = nullptr;
    TExtStringGrid *FResizeInner = nullptr;
    TExtStringGrid *FResizeOuter = nullptr;
    bool FResizeHooked = false;
};

// ---------------------------------------------------------------------------------------------
// Unit state and routines

// The cell's graphic shows its value (a data check box or data image): printing asks it.
bool IsDataGraphicCell(TExtStringGrid *Grid, int ACol, int ARow);

namespace ExtGrid {

// Process-wide state of the grid unit.
extern TExtStringGrid *FocusFrameGrid;
extern HHOOK GridHook;
extern TCursor LinkCursor;
extern bool FlatScrollBarsAvailable;
extern Cardinal CF_GRIDCELLS;
extern Cardinal WM_GRIDEDITDONE;
// The key data bit of a character typed on the numeric keypad's decimal key.
constexpr LPARAM KeypadDecimalBit = 0x400000;
extern Cardinal WM_DTPSHIFTFOCUS;
extern UnicodeString HintFontName;

// Start-up runs once however often it is called (every grid calls it); shut-down undoes it
// once. StartUpCount tells how often the start-up ran (0 or 1).
void StartUp();
void ShutDown();
int StartUpCount();
// The common controls offer flat scroll bars from version 4.70 on.
bool FlatScrollBarsOffered();
// The classes the grid unit registers, in order.
const QStringList &GridClassNames();
// Registers them in order; a failing registration stops the list. Answers how many went in.
int RegisterGridClasses();

WideChar GetTimeSeparator();
WideChar GetDateSeparator();
WideChar GetThousandSeparator();
WideChar GetDecimalSeparator();
UnicodeString GetShortDateFormat();
UnicodeString GetShortTimeFormat();
UnicodeString GetLongTimeFormat();
void SetWindowTransparent(HWND Wnd);
// The high 32 bits of the file version (major shl 16 or minor); -1 without version information.
int GetFileVersion(const UnicodeString &FileName);
LRESULT GridCallWndProcHook(int Code, WPARAM WParam, LPARAM LParam);

} // namespace ExtGrid
