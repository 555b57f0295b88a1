// The option groups of the string grid.
#include "controls/GridOptions.h"

#include "platform/Grids.h"

namespace {

template <typename T>
bool Store(T &Field, const T &Value)
{
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}

} // namespace

// ---- TSearchFooter ----

TSearchFooter::TSearchFooter(TComponent *AOwner, bool InitDesign) : FFont(std::make_unique<TFont>())
{
    if (InitDesign) {
        FFindNextCaption = QStringLiteral("Find &next");
        FFindPrevCaption = QStringLiteral("Find &previous");
        FMatchCaseCaption = QStringLiteral("Match case");
        FHintClose = QStringLiteral("Close");
        FHintFindPrev = QStringLiteral("Find previous occurrence");
        FHintHighlight = QStringLiteral("Highlight occurrences");
        FHintFindNext = QStringLiteral("Find next occurrence");
        FHighLightCaption = QStringLiteral("Highlight");
    }
}

TSearchFooter::~TSearchFooter() = default;

void TSearchFooter::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TSearchFooter::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TSearchFooter *>(Source);
    if (!s)
        return;
    FShowFindPrev = s->FShowFindPrev;
    FShowFindNext = s->FShowFindNext;
    FFindNextCaption = s->FFindNextCaption;
    FFindPrevCaption = s->FFindPrevCaption;
    FColorTo = s->FColorTo;
    FColor = s->FColor;
    FVisible = s->FVisible;
    FShowClose = s->FShowClose;
    FShowHighLight = s->FShowHighLight;
    FShowMatchCase = s->FShowMatchCase;
    FMatchCaseCaption = s->FMatchCaseCaption;
    FHintClose = s->FHintClose;
    FHintFindPrev = s->FHintFindPrev;
    FHintHighlight = s->FHintHighlight;
    FHintFindNext = s->FHintFindNext;
    SearchColumn = s->SearchColumn;
    SearchActiveColumnOnly = s->SearchActiveColumnOnly;
    SearchMatchStart = s->SearchMatchStart;
    SearchHiddenRows = s->SearchHiddenRows;
    FHighLightCaption = s->FHighLightCaption;
    AlwaysHighLight = s->AlwaysHighLight;
    SearchDirection = s->SearchDirection;
    FFont->Assign(s->FFont.get());
}

void TSearchFooter::SetShowFindPrev(bool Value)
{
    if (Store(FShowFindPrev, Value))
        Changed();
}

void TSearchFooter::SetShowFindNext(bool Value)
{
    if (Store(FShowFindNext, Value))
        Changed();
}

void TSearchFooter::SetFindNextCaption(const UnicodeString &Value)
{
    FFindNextCaption = Value;
    Changed();
}

void TSearchFooter::SetFindPrevCaption(const UnicodeString &Value)
{
    FFindPrevCaption = Value;
    Changed();
}

void TSearchFooter::SetColorTo(TColor Value)
{
    FColorTo = Value;
    Changed();
}

void TSearchFooter::SetColor(TColor Value)
{
    FColor = Value;
    Changed();
}

void TSearchFooter::SetVisible(bool Value)
{
    if (Store(FVisible, Value))
        Changed();
}

void TSearchFooter::SetAutoThemeAdapt(bool Value)
{
    FAutoThemeAdapt = Value;
    Changed();
}

void TSearchFooter::SetShowClose(bool Value)
{
    FShowClose = Value;
    Changed();
}

void TSearchFooter::SetShowHighLight(bool Value)
{
    if (Store(FShowHighLight, Value))
        Changed();
}

void TSearchFooter::SetShowMatchCase(bool Value)
{
    if (Store(FShowMatchCase, Value))
        Changed();
}

void TSearchFooter::SetMatchCaseCaption(const UnicodeString &Value)
{
    FMatchCaseCaption = Value;
    Changed();
}

void TSearchFooter::SetHintClose(const UnicodeString &Value)
{
    FHintClose = Value;
    Changed();
}

void TSearchFooter::SetHintFindPrev(const UnicodeString &Value)
{
    FHintFindPrev = Value;
    Changed();
}

void TSearchFooter::SetHintHighlight(const UnicodeString &Value)
{
    FHintHighlight = Value;
    Changed();
}

void TSearchFooter::SetHintFindNext(const UnicodeString &Value)
{
    FHintFindNext = Value;
    Changed();
}

void TSearchFooter::SetHighLightCaption(const UnicodeString &Value)
{
    FHighLightCaption = Value;
    Changed();
}

void TSearchFooter::SetFont(TFont *Value)
{
    FFont->Assign(Value);
    Changed();
}

// ---- TNavigation ----

void TNavigation::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TNavigation::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TNavigation *>(Source);
    if (!s)
        return;
    // Everything but the event and KeepScrollOnSort.
    AllowInsertRow = s->AllowInsertRow;
    AllowDeleteRow = s->AllowDeleteRow;
    AdvanceOnEnter = s->AdvanceOnEnter;
    FAdvanceInsert = s->FAdvanceInsert;
    FAutoGotoWhenSorted = s->FAutoGotoWhenSorted;
    AutoGotoIncremental = s->AutoGotoIncremental;
    AutoComboDropSize = s->AutoComboDropSize;
    AllowClipboardShortCuts = s->AllowClipboardShortCuts;
    AllowRTFClipboard = s->AllowRTFClipboard;
    AllowSmartClipboard = s->AllowSmartClipboard;
    AllowClipboardAlways = s->AllowClipboardAlways;
    AllowClipboardColGrow = s->AllowClipboardColGrow;
    AllowClipboardRowGrow = s->AllowClipboardRowGrow;
    ClipboardPasteAction = s->ClipboardPasteAction;
    CopyHTMLTagsToClipboard = s->CopyHTMLTagsToClipboard;
    FAdvanceDirection = s->FAdvanceDirection;
    FAdvanceAuto = s->FAdvanceAuto;
    AdvanceAutoEdit = s->AdvanceAutoEdit;
    CursorWalkEditor = s->CursorWalkEditor;
    CursorWalkAlwaysEdit = s->CursorWalkAlwaysEdit;
    MoveRowOnSort = s->MoveRowOnSort;
    ImproveMaskSel = s->ImproveMaskSel;
    AlwaysEdit = s->AlwaysEdit;
    InsertPosition = s->InsertPosition;
    LineFeedOnEnter = s->LineFeedOnEnter;
    HomeEndKey = s->HomeEndKey;
    KeepHorizScroll = s->KeepHorizScroll;
    AllowFmtClipboard = s->AllowFmtClipboard;
    TabToNextAtEnd = s->TabToNextAtEnd;
    EditSelectAll = s->EditSelectAll;
    TabAdvanceDirection = s->TabAdvanceDirection;
    SkipFixedCells = s->SkipFixedCells;
    SkipDisabledRows = s->SkipDisabledRows;
    AllowCtrlEnter = s->AllowCtrlEnter;
    AppendOnArrowDown = s->AppendOnArrowDown;
    LeftRightRowSelect = s->LeftRightRowSelect;
    MoveScrollOnly = s->MoveScrollOnly;
    ComboGetUpDown = s->ComboGetUpDown;
    AdvanceOnEnterLoop = s->AdvanceOnEnterLoop;
    CursorAdvance = s->CursorAdvance;
    AdvanceSkipReadOnlyCells = s->AdvanceSkipReadOnlyCells;
    CursorMoveRows = s->CursorMoveRows;
}

void TNavigation::SetAdvanceInsert(bool Value)
{
    if (Store(FAdvanceInsert, Value))
        Changed();
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection Value)
{
    if (Store(FAdvanceDirection, Value))
        Changed();
}

void TNavigation::SetAdvanceAuto(bool Value)
{
    if (!Store(FAdvanceAuto, Value))
        return;
    if (Value)
        AdvanceOnEnter = true;
}

// ---- TMouseActions ----

TMouseActions::TMouseActions(TComponent *AOwner) : FFixedComboValues(std::make_unique<TStringList>())
{
}

TMouseActions::~TMouseActions() = default;

void TMouseActions::Changed()
{
    if (OnChange)
        OnChange(this);
}

bool TMouseActions::IsDesigning()
{
    bool result = false;
    if (OnIsDesigning)
        OnIsDesigning(this, result);
    return result;
}

void TMouseActions::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TMouseActions *>(Source);
    if (!s)
        return;
    ColSelect = s->ColSelect;
    RowSelect = s->RowSelect;
    AllSelect = s->AllSelect;
    DirectEdit = s->DirectEdit;
    DirectComboDrop = s->DirectComboDrop;
    DirectComboClose = s->DirectComboClose;
    DirectDateClose = s->DirectDateClose;
    DirectDateDrop = s->DirectDateDrop;
    FDisjunctRowSelect = s->FDisjunctRowSelect;
    FDisjunctColSelect = s->FDisjunctColSelect;
    AllColumnSize = s->AllColumnSize;
    AllRowSize = s->AllRowSize;
    CaretPositioning = s->CaretPositioning;
    SizeFixedCol = s->SizeFixedCol;
    FDisjunctCellSelect = s->FDisjunctCellSelect;
    FixedRowsEdit = s->FixedRowsEdit;
    FixedColsEdit = s->FixedColsEdit;
    FixedRowsEditor = s->FixedRowsEditor;
    FixedColsEditor = s->FixedColsEditor;
    RangeSelectAndEdit = s->RangeSelectAndEdit;
    NoAutoRangeScroll = s->NoAutoRangeScroll;
    PreciseCheckBoxCheck = s->PreciseCheckBoxCheck;
    PreciseNodeClick = s->PreciseNodeClick;
    CheckAllCheck = s->CheckAllCheck;
    NodeAllExpandContract = s->NodeAllExpandContract;
    MoveRowOnNodeClick = s->MoveRowOnNodeClick;
    RowSelectPersistent = s->RowSelectPersistent;
    SelectOnRightClick = s->SelectOnRightClick;
    NoScrollOnPartialRow = s->NoScrollOnPartialRow;
    WheelIncrement = s->WheelIncrement;
    FWheelAction = s->FWheelAction;
    AutoSizeColOnDblClick = s->AutoSizeColOnDblClick;
    DisjunctRowSelectNoCtrl = s->DisjunctRowSelectNoCtrl;
}

void TMouseActions::SetDisjunctRowSelect(bool Value)
{
    FDisjunctRowSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctColSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctColSelect(bool Value)
{
    FDisjunctColSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctCellSelect(bool Value)
{
    FDisjunctCellSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctColSelect = false;
    }
}

void TMouseActions::SetHotmailRowSelect(bool Value)
{
    FHotmailRowSelect = Value;
    if (Value) {
        FDisjunctRowSelect = true;
        CheckAllCheck = true;
    }
    if (OnInvalidate)
        OnInvalidate(this);
}

void TMouseActions::SetEditOnDblClickOnly(bool Value)
{
    FEditOnDblClickOnly = Value;
    if (Value && OnDisableEdit)
        OnDisableEdit(this);
}

void TMouseActions::SetWheelAction(TWheelAction Value)
{
    if (Store(FWheelAction, Value))
        Changed();
}

TStrings *TMouseActions::FixedComboValues() const
{
    return FFixedComboValues.get();
}

void TMouseActions::SetFixedComboValues(TStrings *Value)
{
    FFixedComboValues->Assign(Value);
}

// ---- TSyncGrid ----

void TSyncGrid::SetGrid(TStringGrid *Value)
{
    if (Value && static_cast<TComponent *>(Value) == FOwner)
        return;
    FGrid = Value;
}

void TSyncGrid::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TSyncGrid *>(Source);
    if (!s)
        return;
    SetGrid(s->FGrid);
    ScrollVertical = s->ScrollVertical;
    ScrollHorizontal = s->ScrollHorizontal;
    SelectionColumn = s->SelectionColumn;
    SelectionRow = s->SelectionRow;
    MoveColumn = s->MoveColumn;
    MoveRow = s->MoveRow;
}

// ---- TBands ----

void TBands::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TBands::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TBands *>(Source);
    if (!s)
        return;
    Print = s->Print;
    FActive = s->FActive;
    FSecondaryLength = s->FSecondaryLength;
    FPrimaryLength = s->FPrimaryLength;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    FSecondaryColor = s->FSecondaryColor;
    FPrimaryColor = s->FPrimaryColor;
}

void TBands::SetActive(bool Value)
{
    if (Store(FActive, Value))
        Changed();
}

void TBands::SetSecondaryLength(int Value)
{
    if (!Store(FSecondaryLength, Value))
        return;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    if (FActive)
        Changed();
}

void TBands::SetPrimaryLength(int Value)
{
    if (!Store(FPrimaryLength, Value))
        return;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    if (FActive)
        Changed();
}

void TBands::SetSecondaryColor(TColor Value)
{
    if (Store(FSecondaryColor, Value) && FActive)
        Changed();
}

void TBands::SetPrimaryColor(TColor Value)
{
    if (Store(FPrimaryColor, Value) && FActive)
        Changed();
}

// ---- TFocusHelper ----

void TFocusHelper::Assign(TPersistent *Source)
{
    if (auto *s = dynamic_cast<TFocusHelper *>(Source))
        Enabled = s->Enabled;
}
