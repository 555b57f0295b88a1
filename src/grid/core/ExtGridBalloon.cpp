// Small services other parts call at fixed moments: the balloon tool tip of the cells, a
// snapshot of a cell range as a translucent form (dragging a selection), the search panel's
// layout and the colours of the platform's active visual style.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridButton.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/Forms.h"
#include "platform/PlatformStyle.h"
#include "platform/ToolTips.h"
#include "platform/Windows.h"

#include <utility>

// ---- the balloon tool tip ----

void TExtStringGrid::BalloonInit()
{
    if (FBalloonInitialised)
        return;
    FBalloonInitialised = true;
    if (!FToolTipWindow) {
        FToolTipWindow = new TToolTipWindow(nullptr);
        FHToolTip = HandleAllocated() ? (FToolTipWindow->AddTool(this), FToolTipWindow->Handle()) : nullptr;
        if (!FHToolTip) {
            // Without the grid's window there is nothing to point at yet.
            delete FToolTipWindow;
            FToolTipWindow = nullptr;
            FBalloonInitialised = false;
            return;
        }
    }
    FToolTipWindow->SetTitle(QStringLiteral("ToolTipText"), TTI_ERROR);
    TBalloonSettings *b = FBalloonSettings;
    if (b->InitialDelay != -1)
        FToolTipWindow->SetDelayTime(TTDT_INITIAL, b->InitialDelay);
    if (b->ReshowDelay != -1)
        FToolTipWindow->SetDelayTime(TTDT_RESHOW, b->ReshowDelay);
    if (b->AutoHideDelay != -1)
        FToolTipWindow->SetDelayTime(TTDT_AUTOPOP, b->AutoHideDelay);
    if (b->Transparency > 0) {
        SetWindowLong(FHToolTip, GWL_EXSTYLE, GetWindowLong(FHToolTip, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetLayeredWindowAttributes(FHToolTip, 0, Byte(255 - b->Transparency), LWA_ALPHA);
    }
}

void TExtStringGrid::BalloonDone()
{
    // Whatever Enable says now: the window goes whenever there is one, so that the next
    // BalloonInit never makes a second.
    delete FToolTipWindow;
    FToolTipWindow = nullptr;
    FHToolTip = nullptr;
    FBalloonInitialised = false;
}

void TExtStringGrid::BalloonEnableChanged(TObject *)
{
    if (LoadingState())
        return;
    if (FBalloonSettings->Enable())
        BalloonInit();
    else
        BalloonDone();
}

// ---- the selection snapshot ----

TForm *TExtStringGrid::SelectionToForm(const TGridRect &ARect)
{
    TBitmap whole;
    whole.SetSize(Width(), Height());
    PaintTo(whole.Canvas(), 0, 0);

    TRect r1 = VirtualCellRect(ARect.Left, ARect.Top);
    TRect r2 = VirtualCellRect(ARect.Right, ARect.Bottom);
    if (r2.Left < r1.Left)
        std::swap(r1, r2);
    if (r2.Bottom < r1.Top) {
        std::swap(r1.Top, r2.Top);
        std::swap(r1.Bottom, r2.Bottom);
    }
    const int w = std::max(1, r2.Right - r1.Left + 1);
    const int h = std::max(1, r2.Bottom - r1.Top + 1);
    auto part = std::make_unique<TBitmap>();
    part->SetSize(w, h);
    part->Canvas()->CopyRect(TRect(0, 0, w, h), whole.Canvas(),
                             TRect(r1.Left + 1, r1.Top + 1, r2.Right + 2, r2.Bottom + 2));
    const int fromCol = std::min(ARect.Left, ARect.Right);
    const int fromRow = std::min(ARect.Top, ARect.Bottom);
    TCanvas *c = part->Canvas();
    c->Pen()->SetColor(GridFixedLineColor());
    if (fromCol == 0 && FixedCols() > 0 && Options().Contains(goFixedHorzLine)) {
        c->MoveTo(0, 0);
        c->LineTo(0, h);
    }
    if (fromRow == 0 && FixedRows() > 0 && Options().Contains(goFixedVertLine)) {
        c->MoveTo(0, 0);
        c->LineTo(w, 0);
    }

    auto *f = new TNoActiveForm(this);
    f->SetNoActivate(true);
    f->SetBorderStyle(bsNone);
    f->SetClientSize(w, h);
    f->SetFormStyle(fsStayOnTop);
    auto *img = new TImage(f);
    img->SetParent(f);
    img->SetAlign(alClient);
    img->Picture()->SetGraphic(part.get());
    f->SetAlphaBlend(true);
    f->SetAlphaBlendValue(192);
    return f;
}

// ---- the search panel ----

void TExtStringGrid::UpdateSearchPanel(TObject *)
{
    if (LoadingState() || !FSearchPanel)
        return;
    TSearchPanel *p = FSearchPanel;
    TSearchFooter *f = FSearchFooter;
    TExtGridButton *next = p->ForwardButton(), *prev = p->BackwardButton(), *close = p->ExitButton(),
                   *light = p->HighLightButton();
    TExtCheckBox *match = p->MatchCase();
    if ((light->Down() && p->Visible() && !f->Visible()) || f->AlwaysHighLight)
        UnHilightInGrid(true);
    p->SetColor(f->Color());
    p->SetColorTo(f->ColorTo());
    p->SetVisible(f->Visible());
    next->SetCaption(f->FindNextCaption());
    prev->SetCaption(f->FindPrevCaption());
    match->SetCaption(f->MatchCaseCaption());
    light->SetCaption(f->HighLightCaption());
    p->Font()->Assign(f->Font());

    const TControlLook::TControlStyle style = FControlLook->ControlStyle();
    for (TExtGridButton *b : {next, prev, light}) {
        if (f->AutoThemeAdapt()) {
            b->SetAutoThemeAdapt(true);
            b->SetFlat(true);
        } else if (style == TControlLook::csFlat) {
            b->SetFlat(true);
        } else if (style == TControlLook::csWinXP || style == TControlLook::csTheme) {
            b->SetAutoXPStyle(true);
            b->SetFlat(false);
        } else if (style == TControlLook::csClassic) {
            b->SetAutoXPStyle(false);
            b->SetFlat(false);
        }
    }

    auto hint = [](TControl *C, const UnicodeString &Text) {
        C->SetHint(Text);
        C->SetShowHint(!Text.isEmpty());
    };
    hint(next, f->HintFindNext());
    hint(prev, f->HintFindPrev());
    hint(close, f->HintClose());
    hint(light, f->HintHighlight());
    light->SetVisible(f->ShowHighLight());
    close->SetVisible(f->ShowClose());
    match->SetVisible(f->ShowMatchCase());
    prev->SetVisible(f->ShowFindPrev());
    next->SetVisible(f->ShowFindNext());
    p->PlaceMatchCase();
    for (TExtGridButton *b : {next, prev, light})
        b->SetHeight(b->Visible() ? 23 : 0);
    match->SetHeight(match->Visible() ? 18 : 0);

    if (f->Visible()) {
        p->SetHeight(32);
        p->SetTop(Height() - 32);
        ScrollAboveSearchFooter();
    } else {
        p->SetHeight(0);
    }
}

// ---- the platform's visual style ----

void TExtStringGrid::ApplyPlatformStyle()
{
    FPlatformStyled = false;
    const TPlatformStyle &s = ActivePlatformStyle();
    if (!s.Enabled || s.Name == QLatin1String("Windows"))
        return;
    FPlatformStyled = true;
    SetColor(s.CellFill);
    SetGridLineColor(s.CellBorder);
    SetGridFixedLineColor(s.FixedBorder);
    SetOptions(Options() - TGridOptions{goFixedVertLine, goFixedHorzLine});
    if (s.CellText != clNone)
        Font()->SetColor(s.CellText);
    if (s.SelectedText != clNone)
        SetSelectionTextColor(s.SelectedText);
    if (s.FixedText != clNone)
        FFixedFont->SetColor(s.FixedText);
}
