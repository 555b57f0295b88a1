#pragma once
// The option groups of the string grid: the search footer, keyboard navigation, mouse actions,
// a second grid kept in step, colour bands and the focus frame. The grid creates one of each,
// streams them as its sub-properties and reads their fields directly; the objects themselves
// only hold the values and report the changes that matter to the grid.

#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "platform/System.h"

#include <functional>
#include <memory>

class TStringGrid;
class TStringList;

enum TSearchDirection { sdTopBottom, sdLeftRight };
enum TClipboardPasteAction { paReplace, paInsert };
enum TAdvanceDirection { adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum THomeEndAction { heFirstLastColumn, heFirstLastRow, heFirstLastCell };
enum TCursorAdvance { caDefault, caSnake, caLoop };
enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TGridFixedCellEditor { fceEdit, fceComboEdit, fceComboList };
enum TWheelAction { waMoveSelection, waScroll };

using TIsDesigningEvent = std::function<void(TObject *Sender, bool &IsDesigning)>;

class TSearchFooter : public TPersistent {
public:
    // InitDesign: the grid was just placed on a form, so the captions and hints get their texts.
    TSearchFooter(TComponent *AOwner, bool InitDesign);
    ~TSearchFooter() override;
    void Assign(TPersistent *Source) override;

    bool ShowFindPrev() const { return FShowFindPrev; }
    void SetShowFindPrev(bool Value);
    bool ShowFindNext() const { return FShowFindNext; }
    void SetShowFindNext(bool Value);
    const UnicodeString &FindNextCaption() const { return FFindNextCaption; }
    void SetFindNextCaption(const UnicodeString &Value);
    const UnicodeString &FindPrevCaption() const { return FFindPrevCaption; }
    void SetFindPrevCaption(const UnicodeString &Value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool Value);
    bool ShowHighLight() const { return FShowHighLight; }
    void SetShowHighLight(bool Value);
    bool ShowMatchCase() const { return FShowMatchCase; }
    void SetShowMatchCase(bool Value);
    const UnicodeString &MatchCaseCaption() const { return FMatchCaseCaption; }
    void SetMatchCaseCaption(const UnicodeString &Value);
    const UnicodeString &HintClose() const { return FHintClose; }
    void SetHintClose(const UnicodeString &Value);
    const UnicodeString &HintFindPrev() const { return FHintFindPrev; }
    void SetHintFindPrev(const UnicodeString &Value);
    const UnicodeString &HintHighlight() const { return FHintHighlight; }
    void SetHintHighlight(const UnicodeString &Value);
    const UnicodeString &HintFindNext() const { return FHintFindNext; }
    void SetHintFindNext(const UnicodeString &Value);
    const UnicodeString &HighLightCaption() const { return FHighLightCaption; }
    void SetHighLightCaption(const UnicodeString &Value);
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value);

    bool AutoSearch = true;
    UnicodeString LastSearch;
    int SearchColumn = -1;
    bool SearchActiveColumnOnly = false;
    bool SearchMatchStart = false;
    bool SearchFixedCells = false;
    bool SearchHiddenRows = false;
    bool AlwaysHighLight = false;
    TSearchDirection SearchDirection = sdTopBottom;
    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    bool FShowFindPrev = true;
    bool FShowFindNext = true;
    UnicodeString FFindNextCaption;
    UnicodeString FFindPrevCaption;
    TColor FColorTo = clBtnFace;
    TColor FColor = clWhite;
    bool FVisible = false;
    bool FAutoThemeAdapt = false;
    bool FShowClose = true;
    bool FShowHighLight = true;
    bool FShowMatchCase = true;
    UnicodeString FMatchCaseCaption;
    UnicodeString FHintClose;
    UnicodeString FHintFindPrev;
    UnicodeString FHintHighlight;
    UnicodeString FHintFindNext;
    UnicodeString FHighLightCaption;
    std::unique_ptr<TFont> FFont;
};

class TNavigation : public TPersistent {
public:
    TNavigation() = default;
    void Assign(TPersistent *Source) override;

    bool AllowInsertRow = false;
    bool AllowDeleteRow = false;
    bool AdvanceOnEnter = false;
    bool AdvanceInsert() const { return FAdvanceInsert; }
    void SetAdvanceInsert(bool Value);
    bool AutoGotoWhenSorted() const { return FAutoGotoWhenSorted; }
    void SetAutoGotoWhenSorted(bool Value) { FAutoGotoWhenSorted = Value; }
    bool AutoGotoIncremental = false;
    bool AutoComboDropSize = false;
    bool AllowClipboardShortCuts = false;
    bool AllowRTFClipboard = false;
    bool AllowSmartClipboard = false;
    bool AllowClipboardAlways = false;
    bool AllowClipboardColGrow = true;
    bool AllowClipboardRowGrow = true;
    TClipboardPasteAction ClipboardPasteAction = paReplace;
    bool CopyHTMLTagsToClipboard = true;
    TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
    void SetAdvanceDirection(TAdvanceDirection Value);
    bool AdvanceAuto() const { return FAdvanceAuto; }
    void SetAdvanceAuto(bool Value);
    bool AdvanceAutoEdit = true;
    bool CursorWalkEditor = false;
    bool CursorWalkAlwaysEdit = true;
    bool MoveRowOnSort = false;
    bool KeepScrollOnSort = false;
    bool ImproveMaskSel = false;
    bool AlwaysEdit = false;
    TInsertPosition InsertPosition = pInsertBefore;
    bool LineFeedOnEnter = false;
    THomeEndAction HomeEndKey = heFirstLastColumn;
    bool KeepHorizScroll = false;
    bool AllowFmtClipboard = false;
    bool TabToNextAtEnd = false;
    bool EditSelectAll = true;
    TAdvanceDirection TabAdvanceDirection = adLeftRight;
    bool SkipFixedCells = true;
    bool SkipDisabledRows = true;
    bool AllowCtrlEnter = true;
    bool AppendOnArrowDown = false;
    bool LeftRightRowSelect = true;
    bool MoveScrollOnly = false;
    bool ComboGetUpDown = true;
    TNotifyEvent OnChange;
    bool AdvanceOnEnterLoop = true;
    TCursorAdvance CursorAdvance = caDefault;
    bool AdvanceSkipReadOnlyCells = true;
    bool CursorMoveRows = false;

protected:
    virtual void Changed();

private:
    bool FAdvanceInsert = false;
    bool FAutoGotoWhenSorted = false;
    TAdvanceDirection FAdvanceDirection = adLeftRight;
    bool FAdvanceAuto = false;
};

class TMouseActions : public TPersistent {
public:
    explicit TMouseActions(TComponent *AOwner);
    ~TMouseActions() override;
    void Assign(TPersistent *Source) override;

    bool ColSelect = false;
    bool RowSelect = false;
    bool AllSelect = false;
    bool DirectEdit = false;
    bool DirectComboDrop = false;
    bool DirectComboClose = false;
    bool DirectDateClose = false;
    bool DirectDateDrop = false;
    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool Value);
    // The field itself, without the designer's rule.
    bool DisjunctRowSelectDirect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelectDirect(bool Value) { FDisjunctRowSelect = Value; }
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool Value);
    bool AllColumnSize = false;
    bool AllRowSize = false;
    bool CaretPositioning = false;
    bool SizeFixedCol = false;
    bool SizeFixedRow = false;
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool Value);
    TGridFixedCellEdit FixedRowsEdit = fceNone;
    TGridFixedCellEdit FixedColsEdit = fceNone;
    TGridFixedCellEditor FixedRowsEditor = fceEdit;
    TGridFixedCellEditor FixedColsEditor = fceEdit;
    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    void SetHotmailRowSelect(bool Value);
    bool RangeSelectAndEdit = false;
    bool NoAutoRangeScroll = false;
    bool PreciseCheckBoxCheck = false;
    bool PreciseNodeClick = true;
    bool CheckAllCheck = false;
    bool NodeAllExpandContract = false;
    bool MoveRowOnNodeClick = false;
    bool RowSelectPersistent = false;
    bool SelectOnRightClick = false;
    bool NoScrollOnPartialRow = false;
    int WheelIncrement = 0;
    TWheelAction WheelAction() const { return FWheelAction; }
    void SetWheelAction(TWheelAction Value);
    bool AutoSizeColOnDblClick = true;
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    void SetEditOnDblClickOnly(bool Value);
    bool DisjunctRowSelectNoCtrl = false;
    TNotifyEvent OnChange;
    TNotifyEvent OnInvalidate;
    TNotifyEvent OnDisableEdit;
    TIsDesigningEvent OnIsDesigning;
    TStrings *FixedComboValues() const;
    void SetFixedComboValues(TStrings *Value);

protected:
    virtual void Changed();
    // The owner grid's answer; without a handler the grid is taken to run.
    bool IsDesigning();

private:
    bool FDisjunctRowSelect = false;
    bool FDisjunctColSelect = false;
    bool FDisjunctCellSelect = false;
    bool FHotmailRowSelect = false;
    TWheelAction FWheelAction = waMoveSelection;
    bool FEditOnDblClickOnly = false;
    std::unique_ptr<TStringList> FFixedComboValues;
};

class TSyncGrid : public TPersistent {
public:
    explicit TSyncGrid(TComponent *AOwner) : FOwner(AOwner) {}
    void Assign(TPersistent *Source) override;

    bool ScrollHorizontal = false;
    TStringGrid *Grid() const { return FGrid; }
    // A grid is never kept in step with itself.
    void SetGrid(TStringGrid *Value);
    bool ScrollVertical = false;
    bool SelectionRow = false;
    bool SelectionColumn = false;
    bool MoveRow = false;
    bool MoveColumn = false;

private:
    TComponent *FOwner;
    TStringGrid *FGrid = nullptr;
};

class TBands : public TPersistent {
public:
    TBands() = default;
    void Assign(TPersistent *Source) override;

    bool Print = false;
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    int TotalLength() const { return FTotalLength; }
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int Value);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int Value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor Value);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor Value);
    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    bool FActive = false;
    int FTotalLength = 2;
    int FSecondaryLength = 1;
    int FPrimaryLength = 1;
    TColor FSecondaryColor = clWindow;
    TColor FPrimaryColor = clInfoBk;
};

class TFocusHelper : public TPersistent {
public:
    explicit TFocusHelper(TComponent *AOwner) {}
    void Assign(TPersistent *Source) override;
    bool Enabled = false;
};
