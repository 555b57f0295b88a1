// Beside the cell painting: the flat window border, the text of the balloon tool tips and the
// date picker's change notice, the translucent focus frame around the edited cell, and the quick
// configuration panel shown while a designer edits the grid.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridDraw.h"
#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "platform/ComCtrls.h"
#include "platform/Menus.h"
#include "platform/WinGdi.h"
#include "platform/WindowPlacement.h"

#include <algorithm>
#include <array>

namespace {

// The balloon shows at most this many characters of a cell, and a title of at most this many.
constexpr int BalloonTextMax = 2048;
constexpr int BalloonTitleMax = 100;
constexpr int BalloonWidth = 300;

constexpr TColor FocusFrameColor = TColorOf(0xFDD397u);
constexpr Byte FocusFrameOpacity = 230;

// The looks the design panel offers, in menu order, with their command numbers (look + 1).
struct TLookEntry {
    const char *Caption;
    TGridLook Look;
};
constexpr std::array<TLookEntry, 9> DesignLooks{{
    {"Standard", glStandard},
    {"Soft", glSoft},
    {"Classic", glClassic},
    {"QRV", glQRV},
    {"ListView", glListView},
    {"Office 2007", glOffice2007},
    {"Windows XP", glXP},
    {"Windows Vista", glVista},
    {"Windows 7", glWin7},
}};

// What a balloon shows of a text: TABs as blanks, no leading line breaks or TABs, and a long
// text cut to its first characters and "...".
UnicodeString BalloonText(const UnicodeString &Text)
{
    int start = 0;
    while (start < Text.size() && (Text[start] == u'\r' || Text[start] == u'\n' || Text[start] == u'\t'))
        ++start;
    UnicodeString t = Text.mid(start);
    t.replace(QLatin1Char('\t'), QLatin1Char(' '));
    if (t.size() > BalloonTextMax)
        t = t.left(BalloonTextMax - 3) + QStringLiteral("...");
    return t;
}

} // namespace

// ---- window border ----

void TExtStringGrid::DrawBorder()
{
    if (FPaintDepth == 0 || FUpdateCount > 0)
        return;
    static constexpr std::array<TGridLook, 7> bordered{glSoft, glQRV, glXP, glListView, glVista, glWin7, glOffice2007};
    if (std::find(bordered.begin(), bordered.end(), FLook) == bordered.end() || BorderStyle() == bsNone ||
        FBorderColor == clNone || FIsFlat)
        return;
    TCanvas *c = Canvas();
    const int w = Width();
    const int h = Height();
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(FBorderColor);
    if (FFitCellsInGrid) {
        c->MoveTo(1, h);
        c->LineTo(1, 1);
        c->LineTo(w - 2, 1);
        c->LineTo(w - 2, h - 2);
        c->LineTo(1, h - 2);
        if (Parent()) {
            c->Pen()->SetColor(Parent()->Color());
            c->MoveTo(0, h);
            c->LineTo(0, 0);
            c->LineTo(w - 1, 0);
            c->LineTo(w - 1, h - 1);
            c->LineTo(0, h - 1);
        }
    } else if (FIsComCtl6) {
        c->MoveTo(0, h - 1);
        c->LineTo(0, 0);
        c->LineTo(w - 1, 0);
        c->LineTo(w - 1, h - 1);
        c->LineTo(0, h - 1);
    }
}

// ---- notifications ----

void TExtStringGrid::WMNotify(TWMNotify &Message)
{
    NMHDR *hdr = Message.NMHdr;
    if (!hdr) {
        Inherited(Message);
        return;
    }
    if (hdr->code == DTN_DATETIMECHANGE) {
        if (OnDateTimeChange) {
            const SYSTEMTIME &st = reinterpret_cast<NMDATETIMECHANGE *>(hdr)->st;
            TDateTime dt = 0, date = 0, time = 0;
            if (st.wYear > 0 && st.wMonth > 0 && st.wDay > 0 && TryEncodeDate(st.wYear, st.wMonth, st.wDay, date)) {
                dt = date;
                if (TryEncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, time))
                    dt += time;
            }
            OnDateTimeChange(this, Col(), Row(), dt);
        }
        Inherited(Message);
        return;
    }
    if (hdr->code == TTN_GETDISPINFOW) {
        if (!FBalloonSettings->Enable())
            return;
        auto *info = reinterpret_cast<NMTTDISPINFOW *>(hdr);
        TPoint pt;
        GetCursorPos(pt);
        pt = ScreenToClient(pt);
        int c = -1, r = -1;
        MouseToCell(pt.X, pt.Y, c, r);
        UnicodeString text;
        const bool hit = c >= 0 && r >= 0;
        int rc = -1;
        if (hit) {
            ResolveBaseCell(c, r, c, r);
            rc = RealColIndex(c);
            const UnicodeString raw = Cells(rc, r);
            switch (CellTextKind(raw, FEnableHTML)) {
            case 1:
                text = StripHtmlTags(raw);
                break;
            case 2: {
                TRichEdit *rich = CellRichEdit();
                CellToRich(rc, r, rich);
                text = rich->Text();
                break;
            }
            case 5:
                text = WideCells(rc, r);
                break;
            default:
                text = raw;
            }
        }
        text = BalloonText(text);
        UnicodeString title = QStringLiteral(" ");
        int icon = TTI_INFO;
        if (hit) {
            auto bi = static_cast<TBalloonIcon>(icon);
            if (IsBalloon(rc, r, title, text, bi))
                icon = int(bi);
            if (OnCellBalloon)
                OnCellBalloon(this, rc, r, title, text, icon);
            FLastBalloonPos = {c, r};
        }
        FToolTipBuffer = text;
        info->lpszText = reinterpret_cast<const char16_t *>(FToolTipBuffer.utf16());
        if (title.size() > BalloonTitleMax)
            title = title.left(BalloonTitleMax - 3) + QStringLiteral("...");
        FToolTipTitle = title;
        info->lpszTitle = reinterpret_cast<const char16_t *>(FToolTipTitle.utf16());
        info->Icon = icon;
        info->MaxTipWidth = BalloonWidth;
        if (FBalloonSettings->TextColor != clNone)
            info->TipTextColor = std::uint32_t(FBalloonSettings->TextColor);
        if (FBalloonSettings->BackgroundColor != clNone)
            info->TipBkColor = std::uint32_t(FBalloonSettings->BackgroundColor);
        return;
    }
    if (hdr->code == TTN_SHOW || hdr->code == TTN_POP)
        return;
    Inherited(Message);
}

// ---- focus frame ----

void TExtStringGrid::ApplyAlphaMask(TWinControl *Window, TGridAlphaMask *Mask)
{
    if (!Window || !Mask || Mask->Height() <= 0 || Mask->Width() <= 0)
        return;
    const HWND h = Window->Handle();
    SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | LPARAM(WS_EX_LAYERED));
    SetWindowPos(h, nullptr, 0, 0, Mask->Width(), Mask->Height(), SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
    const TSize size{Mask->Width(), Mask->Height()};
    const TPoint src{0, 0};
    BLENDFUNCTION blend;
    blend.BlendOp = AC_SRC_OVER;
    blend.SourceConstantAlpha = Mask->Opacity();
    blend.AlphaFormat = AC_SRC_ALPHA;
    CallUpdateLayeredWindow(h, nullptr, nullptr, &size, Mask->Canvas()->Handle(), &src, 0, &blend, ULW_ALPHA);
}

void TExtStringGrid::ShowFocusWindow(const TRect &ARect)
{
    if (!FFocusWindow)
        return;
    FFocusWindow->SetVisible(false);
    const int w = ARect.Width() + 9;
    const int h = ARect.Height() + 9;
    if (w <= 0 || h <= 0)
        return;

    TBitmap mask;
    MakeRoundRectMask(&mask, w, h, 4, 5, 3);
    TBitmap colour;
    colour.SetPixelFormat(TPixelFormat::pf24bit);
    colour.SetSize(w, h);
    colour.Canvas()->Brush()->SetColor(FocusFrameColor);
    colour.Canvas()->FillRect(TRect(0, 0, w, h));
    TGridAlphaMask alpha;
    alpha.MergeMask(&mask, &colour, FocusFrameColor);
    alpha.SetOpacity(FocusFrameOpacity);
    ApplyAlphaMask(FFocusWindow, &alpha);

    // Only the ring shows; the cell inside stays the grid's, to click and type in.
    HRGN ring = CreateRectRgn(0, 0, w, h);
    HRGN cell = CreateRectRgn(4, 4, 4 + ARect.Width(), 4 + ARect.Height());
    CombineRgn(ring, ring, cell, RGN_DIFF);
    DeleteObject(cell);
    SetWindowRgn(FFocusWindow->Handle(), ring, true);

    const TPoint at = ClientToScreen(ARect.TopLeft());
    SetWindowPos(FFocusWindow->Handle(), HwndTopMost(), at.X - 4, at.Y - 4, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ExtGrid::FocusFrameGrid = this;
}

void TExtStringGrid::MoveFocusWindow()
{
    if (!FFocusWindow || !FFocusWindow->HandleAllocated())
        return;
    const TRect r = CellRect(Col(), Row());
    const TPoint at = ClientToScreen(r.TopLeft());
    SetWindowPos(FFocusWindow->Handle(), nullptr, at.X - 4, at.Y - 4, r.Width() + 9, r.Height() + 9,
                 SWP_NOACTIVATE | SWP_NOZORDER);
}

void TExtStringGrid::HideFocusWindow()
{
    if (ExtGrid::FocusFrameGrid == this)
        ExtGrid::FocusFrameGrid = nullptr;
    if (FFocusWindow)
        FFocusWindow->SetVisible(false);
}

// ---- design panel ----

namespace {

UnicodeString LookCaptionOf(TGridLook Look)
{
    UnicodeString caption;
    TExtStringGrid::GetLookCaption(Look, caption);
    return caption;
}

} // namespace

void TExtStringGrid::DrawDesignHelper(TCanvas *ACanvas)
{
    if (!Designing() || !FShowDesignHelper || !ACanvas)
        return;
    ACanvas->Font()->SetName(QStringLiteral("Tahoma"));
    ACanvas->Font()->SetSize(8);
    ACanvas->Font()->SetStyle(TFontStyles());
    const int h = ACanvas->TextHeight(QStringLiteral("gh"));
    const TRect cr = ClientRect();
    const TRect r(cr.Right - 150, cr.Bottom - (4 * h + 18), cr.Right, cr.Bottom);
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->Brush()->SetColor(clInfoBk);
    ACanvas->Pen()->SetStyle(TPenStyle::psSolid);
    ACanvas->Pen()->SetColor(TColorOf(0x808080u));
    ACanvas->Rectangle(r);

    ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
    ACanvas->Font()->SetColor(TColorOf(0x800000u));
    ACanvas->Font()->SetStyle(TFontStyles{TFontStyle::fsUnderline});
    ACanvas->TextOut(r.Left + 4, r.Top + 4, QStringLiteral("Quick config [v") + Version() + QStringLiteral("]"));
    TBitmap close;
    try {
        close.LoadFromResourceName(QStringLiteral("ESGCLOSE"));
        ACanvas->Draw(r.Right - 16, r.Top + 2, &close);
    } catch (const Exception &) {
        // Without the picture the close item is still there to click.
    }

    TPoint mouse;
    GetCursorPos(mouse);
    mouse = ScreenToClient(mouse);
    const int hot = DesignHelperHitTest(mouse.X, mouse.Y);
    auto item = [&](int Item, int X, int Y, const UnicodeString &Text) {
        ACanvas->Font()->SetStyle(hot == Item ? TFontStyles{TFontStyle::fsUnderline} : TFontStyles());
        ACanvas->TextOut(X, Y, Text);
    };
    DrawCheck(ACanvas, TRect(r.Left + 4, r.Top + h + 4, r.Left + 20, r.Top + h + 20), Options().Contains(goEditing),
              true, false, TControlLook::csWinXP, false, cbUnchecked);
    item(1, r.Left + 22, r.Top + h + 6, QStringLiteral("Allow edit"));
    DrawCheck(ACanvas, TRect(r.Left + 4, r.Top + 2 * h + 6, r.Left + 20, r.Top + 2 * h + 22), FShowColNrs, true, false,
              TControlLook::csWinXP, false, cbUnchecked);
    item(2, r.Left + 22, r.Top + 2 * h + 8, QStringLiteral("Column numbers"));
    item(3, r.Left + 4, r.Top + 3 * h + 10, QStringLiteral("Set look: ") + LookCaptionOf(FLook));
    ACanvas->Font()->SetStyle(TFontStyles());
}

int TExtStringGrid::DesignHelperHitTest(int X, int Y)
{
    TCanvas *c = Canvas();
    TBitmap scratch;
    if (FPaintDepth == 0) {
        scratch.SetSize(1, 1);
        c = scratch.Canvas();
    }
    TFont old;
    old.Assign(c->Font());
    c->Font()->SetName(QStringLiteral("Tahoma"));
    c->Font()->SetSize(8);
    c->Font()->SetStyle(TFontStyles());
    const int t = c->TextHeight(QStringLiteral("gh"));
    const int wEdit = c->TextWidth(QStringLiteral("Allow edit"));
    const int wNrs = c->TextWidth(QStringLiteral("Column numbers"));
    const int wLook = c->TextWidth(QStringLiteral("Set look: ") + LookCaptionOf(FLook));
    c->Font()->Assign(&old);

    const TRect cr = ClientRect();
    const int r = cr.Right, b = cr.Bottom;
    const int h = t + 2;
    const int p = 4 * t + 18;
    int result = -1;
    if (X > r - 16 && Y > b - p && Y < b - p + 16)
        result = 4;
    if (X > r - 150 && X < r - 132 + wEdit && Y > b + h - p + 4 && Y < b + 2 * h - p + 4)
        result = 1;
    if (X > r - 150 && X < r - 132 + wNrs && Y > b + 2 * h - p + 4 && Y < b + 3 * h - p + 4)
        result = 2;
    if (X > r - 150 && X < r - 150 + wLook && Y > b + 3 * h - p + 4 && Y < b + 4 * h - p + 4)
        result = 3;
    return result;
}

void TExtStringGrid::DesignHelperClick(int X, int Y)
{
    const int item = DesignHelperHitTest(X, Y);
    switch (item) {
    case 1: {
        TGridOptions o = Options();
        if (o.Contains(goEditing))
            o.Exclude(goEditing);
        else
            o.Include(goEditing);
        SetOptions(o);
        break;
    }
    case 2:
        FShowColNrs = !FShowColNrs;
        Invalidate();
        break;
    case 3: {
        TPopupMenu menu(nullptr);
        for (const TLookEntry &e : DesignLooks) {
            auto *mi = new TMenuItem(&menu);
            mi->SetCaption(QString::fromLatin1(e.Caption));
            mi->SetTag(int(e.Look) + 1);
            mi->SetChecked(e.Look == FLook);
            mi->OnClick = [this](TObject *Sender) {
                if (auto *m = dynamic_cast<TMenuItem *>(Sender))
                    SetLook(TGridLook(m->Tag() - 1));
            };
            menu.Items()->Add(mi);
        }
        const TPoint at = ClientToScreen({X, Y});
        menu.Popup(at.X, at.Y);
        break;
    }
    case 4:
        SetShowDesignHelper(false);
        break;
    default:
        return;
    }
    if (item >= 1 && item <= 3) {
        // The designer notices a change of the form only: nudge it.
        if (TCustomForm *f = ::GetParentForm(this)) {
            f->SetWidth(f->Width() - 1);
            f->SetWidth(f->Width() + 1);
        }
    }
}
