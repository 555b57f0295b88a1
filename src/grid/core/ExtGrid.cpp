// The string grid: construction, destruction, window creation, the end of loading, copying from
// another grid, and the bounds, repaint and scroll bar overrides.
#include "grid/core/ExtGrid.h"

#include "platform/FileVersionInfo.h"
#include "platform/VersionInfo.h"
#include "platform/UxTheme.h"
#include "platform/Windows.h"

TExtStringGrid::TExtStringGrid(TComponent *AOwner) : TBaseGrid(AOwner)
{
    ExtGrid::StartUp();
    auto style = ControlStyle();
    style.Include(csAcceptsControls);
    SetControlStyle(style);
    const bool newDesign = Designing() && AOwner &&
                           !AOwner->ComponentState().Contains(TComponentStateItem::csReading) &&
                           !AOwner->ComponentState().Contains(TComponentStateItem::csLoading);

    // Footer and search panels lie along the bottom, empty until they are shown.
    FFooterPanel = new TFooterPanel(this);
    FFooterPanel->SetAlign(alBottom);
    FFooterPanel->SetHeight(0);
    FFooterPanel->SetBorderWidth(0);
    FSearchPanel = new TSearchPanel(this);
    FSearchPanel->SetAlign(alBottom);
    FSearchPanel->SetHeight(0);
    FSearchPanel->SetBorderWidth(0);

    cf = new TFont();
    FFocusHelper = new TFocusHelper(this);
    FSearchFooter = new TSearchFooter(this, newDesign);
    FSearchFooter->OnChange = [this](TObject *Sender) { UpdateSearchPanel(Sender); };
    FFloatingFooter = new TFloatingFooter(this);
    FPrintSettings = new TPrintSettings(this);
    FHTMLSettings = new THTMLSettings();
    FSortSettings = new TSortSettings(this);
    FDragDropSettings = new TDragDropSettings(this);
    FDragScrollOptions = new TDragScrollOptions();
    FControlLook = new TControlLook(this);
    FNavigation = new TNavigation();
    FNavigation->OnChange = [this](TObject *Sender) { NavigationChanged(Sender); };
    FColumnSize = new TColumnSize(this);
    FCellNode = new TCellNode(this);
    FBands = new TBands();
    FBands->OnChange = [this](TObject *Sender) { BandsChanged(Sender); };
    FSizeWhileTyping = new TSizeWhileTyping();
    FMouseActions = new TMouseActions(this);
    FMouseActions->OnChange = [this](TObject *Sender) { MouseActionsChanged(Sender); };
    FMouseActions->OnIsDesigning = [this](TObject *Sender, bool &IsDesigning) { GetIsDesigning(Sender, IsDesigning); };
    FMouseActions->OnInvalidate = [this](TObject *Sender) { RefreshGrid(Sender); };
    FGrouping = new TGrouping();
    FColumnHeaders = new TStringList();
    FColumnHeaders->OnChange = [this](TObject *Sender) { ColumnHeadersListChanged(Sender); };
    FImageCache = new THTMLPictureCache();

    FOrigColSizes = new TIntList(-1, -1);

    FFixedFont = new TFont();
    FFixedFont->SetName(QStringLiteral("Tahoma"));
    FFixedFont->SetStyle(TFontStyles{TFontStyle::fsBold});
    FFixedFont->OnChange = [this](TObject *) { Invalidate(); };

    FActiveCellFont = new TFont();
    if (Designing())
        FActiveCellFont->SetName(QStringLiteral("Tahoma"));
    FActiveCellFont->SetStyle(TFontStyles{TFontStyle::fsBold});
    FActiveCellFont->OnChange = [this](TObject *) { Invalidate(); };

    FRowHeaders = new TStringList();
    FRowHeaders->OnChange = [this](TObject *Sender) { RowHeadersListChanged(Sender); };
    Sortlist = new TStringList();
    FLookupItems = new TStringList();
    FRowSelect = new TIntList(0, 0);
    FColSelect = new TIntList(0, 0);
    FSortIndexes = new TSortIndexList(0, 0);
    for (TIntList **l : {&FSortRowXRef, &FUnSortRowXRef, &FMergedColumns, &FSelectedCells, &FSelectedRows,
                         &FModifiedRows, &FEnabledRows})
        *l = new TIntList(0, 0);
    FMergedColumns->OnChange = [this](TObject *Sender, int ACol, int ARow) { MergedColumnsChanged(Sender, ACol, ARow); };
    FRowIndicator = new TBitmap();
    FBackGround = new TBackGround(this);
    FScrollHintWnd = new THTMLHintWindow(this);

    SetScrollBars(ssBoth);
    FControlList = new TControlList();
    FProgressAppearance = new TGridProgressAppearance();
    FProgressAppearance->OnChange = [this](TObject *Sender) { AppearanceChanged(Sender); };
    FSyncGrid = new TSyncGrid(this);

    SetRowCount(10);
    SetBounds(Left(), Top(), 400, 250);
    FGridItems = new THiddenRows();
    FFilter = new TFilter(this);

    FBalloonSettings = new TBalloonSettings();
    FShowModified = new TShowModified();
    FBalloonSettings->OnEnableChange = [this](TObject *Sender) { BalloonEnableChanged(Sender); };
    FShowModified->OnChange = [this](TObject *Sender) { ShowModifiedChanged(Sender); };

    HookFormResize();

    FVisibleCol.fill(true);
    SetDefaultRowHeight(22);
    FFixedRowHeight = 22;

    // The system the program runs on, as the version calls tell it.
    OSVERSIONINFO vi;
    if (GetVersionEx(vi)) {
        FIsWinXP = vi.dwMajorVersion > 5 || (vi.dwMajorVersion == 5 && vi.dwMinorVersion > 0);
        FIsWin7 = vi.dwMajorVersion > 6 || (vi.dwMajorVersion == 6 && vi.dwMinorVersion > 0);
    }
    const int ccv = ExtGrid::GetFileVersion(QStringLiteral("COMCTL32.DLL"));
    FIsComCtl6 = ccv != -1 && ((ccv >> 16) & 0xFF) > 5;
    FBorderColor = FIsWinXP ? TColorOf(0xB99D7Fu) : TColorOf(0x808080u);
    FScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    FIsWinVista = SystemFunctionExists(QStringLiteral("kernel32"), QStringLiteral("GetLocaleInfoEx"));
    FQRVGradTo = TColorOf(ColorToRGB(clBtnFace));

    FNotifierList = new TList();
    FColumnOrder = new TIntList(0, 0);
    FCellGraphic = new TCellGraphic();
    FIgnoreColumns = new TIntList(-1, -1);
    FFilterDropDown = new TFilterDropDown();
    FFilterDropDown->OnChange = [this](TObject *Sender) { FilterDropDownChanged(Sender); };

    FDropList = new TDropList(this);
    FDropList->SetParent(this);
    FDropList->SetBounds(0, 0, 0, 0);
    FDropList->SetVisible(false);
    FDropList->OnSelect = [this](TObject *, int Index) { DoFilterSelect(Index); };
    FDropCheckList = new TDropCheckList(this);
    FDropCheckList->SetParent(this);
    FDropCheckList->SetBounds(0, 0, 0, 0);
    FDropCheckList->SetVisible(false);
    FDropCheckList->OnSelect = [this](TObject *, int) { DoFilterCheck(); };
    FFilterList = new TStringList();
    FFilterList->SetSorted(true);
    FFilterList->SetDuplicates(dupIgnore);

    FOldLeftCol = LeftCol();
    FOldTopRow = TopRow();

    if (!Designing()) {
        FFocusWindow = new TGridFocusWindow(this);
        ArwU = new TArrowWindow(this, arrUp);
        ArwD = new TArrowWindow(this, arrDown);
        ArwL = new TArrowWindow(this, arrLeft);
        ArwR = new TArrowWindow(this, arrRight);

        EditCombo = new TGridCombo(this);
        EditCombo->SetParent(this);
        EditCombo->SetEnabled(false);
        EditCombo->SetVisible(false);
        EditCombo->SetIsWinXP(FIsWinXP);
        EditCombo->SetIsVista(FIsWinVista && FIsComCtl6);

        EditMode = false;
        EditControl = edNormal;

        EditTrans = new TGridTransEdit(this);
        EditTrans->SetParent(this);
        EditTrans->SetVisible(false);
        EditTrans->SetBorderStyle(bsNone);
        ComboTrans = new TGridTransCombo(this);
        ComboTrans->SetParent(this);
        ComboTrans->SetVisible(false);

        EditCheck = new TGridCheckBox(this);
        EditCheck->SetParent(this);
        EditCheck->SetEnabled(false);
        EditCheck->SetVisible(false);

        EditBtn = new TGridEditBtn(this);
        EditBtn->SetParent(this);
        EditBtn->SetEnabled(false);
        EditBtn->SetVisible(false);
        EditBtn->SetButtonCaption(QStringLiteral("..."));
        EditBtn->SetBorderStyle(bsNone);
        EditBtn->SetIsWinXP(FIsWinXP);

        UnitEditBtn = new TGridUnitEditBtn(this);
        UnitEditBtn->SetParent(this);
        UnitEditBtn->SetEnabled(false);
        UnitEditBtn->SetVisible(false);
        UnitEditBtn->SetButtonCaption(QStringLiteral("..."));
        UnitEditBtn->SetBorderStyle(bsNone);
        UnitEditBtn->OnUnitChanged = [this](TObject *Sender, const UnicodeString &NewUnit) {
            UnitEditUnitChanged(Sender, NewUnit);
        };

        GridButton = new TGridButton(this);
        GridButton->SetParent(this);
        GridButton->SetEnabled(false);
        GridButton->SetVisible(false);
        GridButton->OnClick = [this](TObject *) { DoButtonClick(Col(), Row()); };

        MoveButton = new THeaderDragButton(this);
        MoveButton->Grid = this;
        MoveButton->SetParent(this);
        MoveButton->SetEnabled(false);
        MoveButton->SetVisible(false);

        FEditControl = new TControlEdit(this);
        FEditControl->SetParent(this);
        FEditControl->SetVisible(false);
        FComboControl = new TControlCombo(this);
        FComboControl->SetParent(this);
        FComboControl->SetVisible(false);
        FCtrlEditing = false;

        FScrollBar = new TScrollBar(this);
        FPaintScrollBar = new TScrollBar(this);
        // A new grid wears the Windows XP style.
        SetComponentStyle(tsWindowsXP);
    }

    // The search panel takes its place along the bottom.
    UpdateSearchPanel(FSearchFooter);
    ExtGrid::LinkCursor = crHandPoint;
}

TExtStringGrid::~TExtStringGrid()
{
    Destroying();
    SetOleDropTargetActive(false);
    FreeMoveForm();
    FreeDragTimer();
    BalloonDone();
    delete vscrlctrl;
    vscrlctrl = nullptr;
    delete hscrlctrl;
    hscrlctrl = nullptr;

    // Also when the grid became a designed one later: the form must not keep a handler of a
    // grid that is gone.
    UnhookFormResize();
    if (ExtGrid::FocusFrameGrid == this)
        ExtGrid::FocusFrameGrid = nullptr;
    // The window goes with the base control, where this grid is no longer asked.
    RegisterThemeWindow(false);

    // A store that cannot be written loses the widths, not the program: nothing may leave a
    // destructor.
    if (FColumnSize->Save)
        try {
            SaveColSizes();
        } catch (const Exception &) {
        }

    FClearTextOnly = false;
    FSaveHiddenCells = false;

    delete cf;
    delete FFocusHelper;
    delete FIgnoreColumns;
    delete FProgressAppearance;
    delete FFloatingFooter;
    delete FCellGraphic;
    delete FControlList;
    for (TIntList *l : {FSortRowXRef, FUnSortRowXRef, FMergedColumns, FSelectedCells, FSelectedRows, FModifiedRows,
                        FEnabledRows})
        delete l;
    // The owned panels still report their removal after this point.
    delete FNotifierList;
    FNotifierList = nullptr;
    delete FPrintSettings;
    delete FHTMLSettings;
    delete FSortSettings;
    delete FDragDropSettings;
    delete FDragScrollOptions;
    delete FControlLook;
    delete FNavigation;
    delete FColumnSize;
    delete FColumnOrder;
    delete FCellNode;
    delete FBands;
    delete FSizeWhileTyping;
    delete FImageCache;
    delete FMouseActions;
    delete FColumnHeaders;
    delete FGrouping;
    delete FFixedFont;
    delete FActiveCellFont;
    delete FRowHeaders;
    delete FLookupItems;
    delete FRowSelect;
    delete FColSelect;
    delete FSortIndexes;
    delete FRowIndicator;
    delete FBackGround;
    delete FFooterPanel;
    delete FSearchPanel;
    delete FSearchFooter;
    delete FBalloonSettings;
    FBalloonSettings = nullptr;
    delete FShowModified;
    delete FOrigColSizes;
    delete FFilterDropDown;
    delete FDropList;
    delete FDropCheckList;
    delete FFilterList;
    delete FSyncGrid;
    FSyncGrid = nullptr;
    delete FScrollHintWnd;
    if (!Designing()) {
        delete ArwU;
        delete ArwD;
        delete ArwL;
        delete ArwR;
    }
    delete Sortlist;
    // The hidden rows' properties objects are the grid's like those of the shown cells.
    FreeHiddenRowObjects();
    delete FGridItems;
    FGridItems = nullptr;
    delete FFilter;

    if (FOldCursor != crDefault && Screen)
        Screen->SetCursor(FOldCursor);

    if (!Designing()) {
        delete FFocusWindow;
        delete EditCombo;
        delete EditTrans;
        delete ComboTrans;
        delete EditCheck;
        delete EditBtn;
        delete UnitEditBtn;
        delete GridButton;
        delete MoveButton;
        delete FEditControl;
        delete FComboControl;
        delete FScrollBar;
        delete FPaintScrollBar;
    }
}

// ---- the owner form's OnResize ----
//
// Each grid on a form saves the handler it found there and installs its own, so the grids form
// a chain. A grid that goes hands its saved handler to the grid that saved its own, or back to
// the form when it is the last link, so that the chain never calls a destroyed grid.

void TExtStringGrid::HookFormResize()
{
    auto *form = dynamic_cast<TCustomForm *>(Owner());
    if (!form || Designing())
        return;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        auto *g = dynamic_cast<TExtStringGrid *>(form->Components(i));
        if (g && g != this && g->FResizeHooked && g->FResizeForm == form && !g->FResizeOuter) {
            FResizeInner = g;
            g->FResizeOuter = this;
            break;
        }
    }
    FOnResize = form->OnResize;
    ResizeAssigned = bool(FOnResize);
    form->OnResize = [this](TObject *Sender) { ParentFormResize(Sender); };
    FResizeForm = form;
    FResizeHooked = true;
    PrevSizeX = form->Width();
    PrevSizeY = form->Height();
}

void TExtStringGrid::UnhookFormResize()
{
    if (!FResizeHooked)
        return;
    if (FResizeOuter) {
        FResizeOuter->FOnResize = FOnResize;
        FResizeOuter->ResizeAssigned = bool(FOnResize);
        FResizeOuter->FResizeInner = FResizeInner;
    } else if (!FResizeForm->ComponentState().Contains(TComponentStateItem::csDestroying)) {
        // A form on its way out may already have dropped its handler slot.
        FResizeForm->OnResize = FOnResize;
    }
    if (FResizeInner)
        FResizeInner->FResizeOuter = FResizeOuter;
    FResizeInner = FResizeOuter = nullptr;
    FResizeHooked = false;
}

void TExtStringGrid::ParentFormResize(TObject *Sender)
{
    if (Designing() || DestroyingState())
        return;
    auto *form = dynamic_cast<TCustomForm *>(Sender);
    if (form && FSizeWithForm) {
        const int w = form->Width() + Width() - PrevSizeX;
        const int h = form->Height() + Height() - PrevSizeY;
        if (w > 0 && h > 0) {
            SetBounds(Left(), Top(), w, h);
            PrevSizeX = form->Width();
            PrevSizeY = form->Height();
        }
    }
    if (ResizeAssigned && FOnResize) {
        try {
            FOnResize(Sender);
        } catch (...) {
            // A failing handler of the form must not stop the grids from following the form.
        }
    }
    AutoStretch();
}

// ---- window and loading ----

void TExtStringGrid::CreateWnd()
{
    if (DestroyingState())
        return;
    TBaseGrid::CreateWnd();
    // A new window is no drop target until registered again.
    FOleDropTargetAssigned = false;
    RegisterOleDropTarget();
    if (!Parent())
        return;
    if (!Designing()) {
        if (FScrollType == ssMetro)
            CreateScrollControls();
        for (TScrollBar *sb : {FScrollBar, FPaintScrollBar}) {
            sb->SetParent(this);
            sb->SetVisible(false);
            sb->SetTabStop(false);
            sb->SetKind(sbVertical);
            sb->SetCtl3D(false);
        }
    }
    FFooterPanel->SetParent(this);
    FFooterPanel->SetVisible(FFloatingFooter->Visible());
    FSearchPanel->SetParent(this);
    FSearchPanel->SetVisible(FSearchFooter->Visible());
    FSearchPanel->SetHeight(FSearchFooter->Visible() ? 32 : 0);
    if (FColumnSize->Save)
        LoadColSizes();
    if (SetTimer(Handle(), 111, 500, nullptr))
        FGridTimerID = 111;
    if (Designing() && !FLoaded && !LoadingState())
        Font()->SetName(QStringLiteral("Tahoma"));
    FIsWinXP = FIsWinXP && IsThemeActive();
    wheelmsg = 0;
    wheelscrl = 0;
    wheelpan = 0;
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    wheelscrl = int(lines) == -1 || lines == 0xFFFFFFFFu ? VisibleRowCount() : int(lines);
    wheelmsg = WM_MOUSEWHEEL;
    if (FBalloonSettings->Enable())
        BalloonInit();
    if (FLoaded && FAutoThemeAdapt && !Designing())
        RegisterThemeWindow(true);
}

void TExtStringGrid::Loaded()
{
    TBaseGrid::Loaded();
    FOldCursor = Cursor();
    SyncOleDropAccept();
    ShowColumnHeaders();
    ShowRowHeaders();
    if (FLook == glQRV) {
        FLook = glCustom;
        SetLook(glQRV);
    }
    if (FAutoSize)
        AutoSizeColumns(true, 4);
    if (FColumnSize->Save)
        LoadColSizes();
    FFixedRowsMin = FixedRows();
    FFixedColsMin = FixedCols();
    FMinRowHeight = DefaultRowHeight();
    FMinColWidth = 10;
    FMaxRowCount = RowCount();
    FLoaded = true;
    if (Options().Contains(goAlwaysShowEditor)) {
        FNavigation->AlwaysEdit = true;
        TGridOptions o = Options();
        o.Exclude(goAlwaysShowEditor);
        SetOptions(o);
    }
    if (!FIsWinXP && FControlLook->ControlStyle() == TControlLook::csTheme && !Designing())
        FControlLook->SetControlStyle(TControlLook::csClassic);
    FSearchFooter->SetAutoThemeAdapt(FAutoThemeAdapt);
    UpdateSearchPanel(FSearchFooter);
    UpdateScrollBarAlways(false);
    if (FAutoThemeAdapt && !Designing()) {
        UpdateOfficeTheme();
        RegisterThemeWindow(true);
    }
    InitOrigColSizes();
    SetColumnOrder();
    ApplyPlatformStyle();
    if (FBalloonSettings->Enable())
        BalloonInit();
}

void TExtStringGrid::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    if (Value && !LoadingState())
        AutoSizeColumns(false, 10);
}

void TExtStringGrid::DestroyWnd()
{
    RegisterThemeWindow(false);
    TBaseGrid::DestroyWnd();
}

void TExtStringGrid::RegisterThemeWindow(bool ARegister)
{
    // Only a window can hear of a theme change; one made later registers when it is created.
    if (!HandleAllocated())
        return;
    if (ARegister) {
        if (!FThemeNotifier) {
            FThemeNotifier = SharedThemeNotifier(Owner() ? Owner() : this);
            // The notifier may go before the grid (with the main form): the grid lets go of it then.
            FThemeNotifier->FreeNotification(this);
        }
        FThemeNotifier->RegisterWindow(Handle());
    } else if (FThemeNotifier) {
        FThemeNotifier->UnRegisterWindow(Handle());
    }
}

void TExtStringGrid::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TExtStringGrid *>(Source);
    if (!src)
        return;
    Font()->Assign(src->Font());
    FActiveCellColor = src->FActiveCellColor;
    FActiveCellColorTo = src->FActiveCellColorTo;
    FActiveCellFont->Assign(src->FActiveCellFont);
    FActiveCellShow = src->FActiveCellShow;
    SetActiveRowShow(src->ActiveRowShow());
    SetAlign(src->Align());
    FFilterDropDown->Assign(src->FFilterDropDown);
    FAnchorHint = src->FAnchorHint;
    FAutoNumAlign = src->FAutoNumAlign;
    FAutoSize = src->FAutoSize;
    FAutoThemeAdapt = src->FAutoThemeAdapt;
    FAutoFilterUpdate = src->FAutoFilterUpdate;
    FMouseActions->Assign(src->FMouseActions);
    FNavigation->Assign(src->FNavigation);
    FGrouping->Assign(src->FGrouping);
    FSearchFooter->Assign(src->FSearchFooter);
    FPrintSettings->Assign(src->FPrintSettings);
    FFilter->Assign(src->FFilter);
    FHTMLSettings->Assign(src->FHTMLSettings);
    FBands->Assign(src->FBands);
    FCellNode->Assign(src->FCellNode);
    FSortSettings->Assign(src->FSortSettings);
    FDragScrollOptions->Assign(src->FDragScrollOptions);
    FDragDropSettings->Assign(src->FDragDropSettings);
    FProgressAppearance->Assign(src->FProgressAppearance);
    FColumnSize->Assign(src->FColumnSize);
    FSyncGrid->Assign(src->FSyncGrid);
    FFocusHelper->Assign(src->FFocusHelper);
    FFixedRowAlways = src->FFixedRowAlways;
    SetColCount(src->ColCount());
    SetRowCount(src->RowCount());
    SetFixedRows(src->FixedRows());
    SetFixedCols(src->FixedCols());
    SetDefaultColWidth(src->DefaultColWidth());
    SetDefaultRowHeight(src->DefaultRowHeight());
    FFixedRowHeight = src->FFixedRowHeight;
    SetFixedColWidth(src->FixedColWidth());
    InvalidEntryTitle = src->InvalidEntryTitle;
    InvalidEntryIcon = src->InvalidEntryIcon;
    InvalidEntryText = src->InvalidEntryText;
    SetOptions(src->Options());
    for (int c = 0; c < src->ColCount(); ++c)
        SetColWidths(c, src->ColWidths(c));
    FColumnHeaders->Assign(src->FColumnHeaders);
    for (int r = 0; r < src->RowCount(); ++r)
        SetRowHeights(r, src->RowHeights(r));
    FScrollProportional = src->FScrollProportional;
    FScrollSynch = src->FScrollSynch;
    FScrollWidth = src->FScrollWidth;
    FScrollHints = src->FScrollHints;
    FScrollBarAlways = src->FScrollBarAlways;
    SetScrollBars(src->ScrollBars());
    SetScrollColor(src->FScrollColor);
    SetScrollType(src->FScrollType);
    SetScrollWidth(src->FScrollWidth);
    AssignCells(src);
}

// ---- repaint, size and scroll bars ----

void TExtStringGrid::Invalidate()
{
    // The editor's own change has been painted by the editor; one grid repaint is dropped.
    if (FEditChange) {
        FEditChange = false;
        return;
    }
    TBaseGrid::Invalidate();
    if (!LoadingState() && FFloatingFooter && FFloatingFooter->Visible() && FFooterPanel)
        FFooterPanel->Invalidate();
}

void TExtStringGrid::Resize()
{
    TBaseGrid::Resize();
    if (FBackGround && (FBackGround->Display == 2 || FBackGround->Display == 3) && FBackGround->ColorTo != clNone)
        Invalidate();
    UpdateScrollBarAlways(false);
    CellControlsUpdate(false);
    UpdateVScrollProportional();
    UpdateHScrollProportional();
    if (Designing())
        Invalidate();
}

void TExtStringGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (FIntegralHeight && FUpdateCount == 0 && DefaultRowHeight() > 0) {
        int s = 0;
        if (VisibleColCount() + FixedCols() < ColCount())
            s = GetSystemMetrics(SM_CYHSCROLL);
        const int b = BorderStyle() == bsSingle ? 2 : 0;
        AHeight = AHeight + b - ((AHeight - s - b) % DefaultRowHeight());
    }
    TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Parent() && Parent()->HandleAllocated())
        DrawBorder();
}

void TExtStringGrid::UpdateScrollBarAlways(bool HideWhenFits)
{
    const bool rowsFit = VisibleRowCount() + FixedRows() >= RowCount();
    const bool colsFit = VisibleColCount() + FixedCols() >= ColCount();
    if (FScrollBarAlways != saNone) {
        if (rowsFit)
            ShowScrollBar(SB_VERT, FScrollBarAlways == saVert || FScrollBarAlways == saBoth);
        if (colsFit)
            ShowScrollBar(SB_HORZ, FScrollBarAlways == saHorz || FScrollBarAlways == saBoth);
        EnableScrollBar(SB_VERT, rowsFit ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
        EnableScrollBar(SB_HORZ, colsFit ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
    } else if (HideWhenFits) {
        if (rowsFit)
            ShowScrollBar(SB_VERT, false);
        if (colsFit)
            ShowScrollBar(SB_HORZ, false);
    }
}

void TExtStringGrid::SetBorderColor(TColor Value)
{
    if (Value == FBorderColor)
        return;
    FBorderColor = Value;
    if (Parent() && Parent()->HandleAllocated())
        DrawBorder();
}

TCustomForm *TExtStringGrid::FindParentForm(TControl *Control)
{
    for (TControl *c = Control; c; c = c->Parent())
        if (auto *f = dynamic_cast<TCustomForm *>(c))
            return f;
    return nullptr;
}

// ---- small answers of other parts of the grid ----

bool TExtStringGrid::GetReadOnly(int ACol, int ARow)
{
    return CellHasProperties(ACol, ARow) && PropsOf(ACol, ARow)->ReadOnly();
}

void TExtStringGrid::ShowColumnHeaders()
{
    if (FixedRows() <= 0 || !FColumnHeaders)
        return;
    for (int i = 0; i < FColumnHeaders->Count() && i < TotalColCount(); ++i) {
        UnicodeString s = FColumnHeaders->Strings(i);
        s.replace(QStringLiteral("\\n"), QStringLiteral("\r"));
        SetCellEx(i, 0, s);
    }
}

void TExtStringGrid::ShowRowHeaders()
{
    if (FixedCols() <= 0 || !FRowHeaders)
        return;
    for (int i = 0; i < FRowHeaders->Count() && i < RowCount(); ++i) {
        UnicodeString s = FRowHeaders->Strings(i);
        s.replace(QStringLiteral("\\n"), QStringLiteral("\r"));
        SetCellEx(0, i, s);
    }
}

void TExtStringGrid::InitOrigColSizes()
{
    FOrigColSizes->Clear();
    for (int c = 0; c < ColCount(); ++c)
        FOrigColSizes->Add(ColWidths(c));
    FOldSize = Width();
}

void TExtStringGrid::SetColumnOrder()
{
    // One entry per real column: a column hidden when the order is recorded still has its place.
    FColumnOrder->Clear();
    for (int c = 0; c < TotalColCount(); ++c)
        FColumnOrder->Add(c);
}

bool TExtStringGrid::IsFixed(int ACol, int ARow)
{
    // A covered cell of a merged range is as fixed as its base cell.
    const TPoint base = BaseCell(RealColIndex(ACol), ARow);
    const int c = DisplColIndex(base.X);
    const int r = base.Y;
    if (r >= RowCount() - FFixedFooters && r < RowCount())
        return true;
    if (c >= ColCount() - FFixedRightCols && c < ColCount())
        return true;
    bool fixed = false;
    DoIsFixedCell(c, r, fixed);
    return fixed;
}

int TExtStringGrid::GetRowIndent(int ARow)
{
    if (!HasNodes() || ARow < 0 || !CellHasProperties(0, ARow))
        return 0;
    return PropsOf(0, ARow)->NodeLevel() * FCellNode->NodeIndent();
}

// ---- change handlers ----

void TExtStringGrid::ShowModifiedChanged(TObject *Sender)
{
    // The modified mark lives in column 0: only its visible cells are repainted.
    if (!HandleAllocated())
        return;
    for (int r = 0; r < RowCount(); ++r)
        if (r < FixedRows() || (r >= TopRow() && r <= TopRow() + VisibleRowCount()))
            RepaintCell(0, r);
}

void TExtStringGrid::UnitEditUnitChanged(TObject *Sender, const UnicodeString &NewUnit)
{
    if (OnUnitChanged)
        OnUnitChanged(this, Col(), Row(), NewUnit);
}

void TExtStringGrid::ColumnHeadersListChanged(TObject *Sender)
{
    ColumnHeadersChanged(Sender);
    ShowColumnHeaders();
}

void TExtStringGrid::GetDefaultCellProperties(int ACol, int ARow, TFont *AFont, TBrush *ABrush, TColor &AColorTo,
                                              TColor &AMirrorColor, TColor &AMirrorColorTo, TAlignment &HA,
                                              TVAlignment &VA, bool &WW, TCellGradientDirection &GD)
{
    TBaseGrid::GetDefaultCellProperties(ACol, ARow, AFont, ABrush, AColorTo, AMirrorColor, AMirrorColorTo, HA, VA, WW,
                                        GD);
    TGridDrawState state;
    GetVisualProperties(ACol, ARow, state, false, false, false, ABrush, AColorTo, AMirrorColor, AMirrorColorTo, AFont,
                        HA, VA, WW, GD);
    // A new cell's own colour would hide the fixed look, the bands, the background picture or
    // the selection; it starts without one.
    if (IsFixed(ACol, ARow) || FBands->Active() || FBackGround->Display == 2 || FBackGround->Display == 3 ||
        state.Contains(gdSelected)) {
        ABrush->SetColor(clNone);
        AColorTo = clNone;
    }
}
