#include "dropdowns/ExtDetailDropDown.h"

#include "controls/MiniHTML.h"
#include "platform/SysUtils.h"
#include "platform/WinGdi.h"
#include "platform/Windows.h"

#include <algorithm>

// ---- items ----

void TDetailItem::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TDetailItem *>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->Caption());
    SetImageIndex(s->ImageIndex());
    FImage->Assign(s->Image());
    Enabled = s->Enabled;
    Tag = s->Tag;
    ItemObject = s->ItemObject;
    Notes = s->Notes;
}

int TDetailItems::IndexOf(const UnicodeString &AValue) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Caption() == AValue)
            return i;
    return -1;
}

// ---- the drop-down ----

TExtDetailDropDown::TExtDetailDropDown(TComponent *AOwner)
    : TExtSelectorDropDown(AOwner), FItems(std::make_unique<TDetailItems>(this)),
      FCaptionFont(std::make_unique<TFont>()), FNotesFont(std::make_unique<TFont>())
{
    FItems->OnChange = [](TObject *) {};
    SetEditorEnabled(true);
    FCaptionFont->Assign(Font());
    FNotesFont->Assign(Font());
}

TExtDetailDropDown::~TExtDetailDropDown() = default;

void TExtDetailDropDown::CreateDropDownForm()
{
    TExtSelectorDropDown::CreateDropDownForm();
    if (CreateSelector()) {
        FItemSelector->SetDoubleBuffered(true);
        FItemSelector->OnDrawItem = [this](TObject *Sender, TCanvas *Canvas, TRect R, int Index) {
            DrawDetailItem(Sender, Canvas, R, Index);
        };
        FItemSelector->OnItemSize = [this](TObject *Sender, TSize &S) { DetailItemSize(Sender, S); };
        FItemSelector->OnResize = [this](TObject *) {
            if (FItemSelector)
                FItemSelector->UpdateSelectorPanel();
        };
        FItemSelector->UpdateSelectorPanel();
    }
    ShowSelector();
}

void TExtDetailDropDown::FillItemSelector()
{
    FillSelectorFrom(FItems.get(), [](TSelectorItem *, TDetailItem *) {});
}

void TExtDetailDropDown::BeforeDropDown()
{
    TExtSelectorDropDown::BeforeDropDown();
    LoadItemSelector(1, FLayout);
    FOldItemIndex = FItemIndex;
}

void TExtDetailDropDown::DoShowDropDown()
{
    TExtSelectorDropDown::DoShowDropDown();
    if (FItemSelector && DroppedDown() && FItemSelector->CanFocus())
        FItemSelector->SetFocus();
}

void TExtDetailDropDown::SizeDropDownForm()
{
    if (FItemSelector) {
        FItemSelector->SetAlign(alNone);
        if (DropDownWidth() <= 0)
            FItemSelector->SetWidth(Width());
        if (DropDownHeight() <= 0)
            FItemSelector->SetHeight(100);
    }
    TExtSelectorDropDown::SizeDropDownForm();
}

void TExtDetailDropDown::DetailItemSize(TObject *, TSize &ASize)
{
    int w = DropDownWidth() > 0 ? DropDownWidth() : (DropDownForm() ? DropDownForm()->Width() : Width());
    if (FItemSelector && FItemSelector->VertScrollBar()->IsScrollBarVisible())
        w -= GetSystemMetrics(SM_CXVSCROLL);
    w -= 2 * GetSystemMetrics(SM_CXBORDER) + 4;
    ASize = {w, ItemHeight};
}

void TExtDetailDropDown::FormSizing()
{
    TExtSelectorDropDown::FormSizing();
    if (FItemSelector)
        FItemSelector->UpdateSelectorPanel();
}

void TExtDetailDropDown::DoHideDropDown(bool Cancel)
{
    const bool open = DropDownForm() && DropDownForm()->Visible();
    TExtSelectorDropDown::DoHideDropDown(Cancel);
    if (!Cancel || !FItemSelector || !open)
        return;
    if (FOldItemIndex != -1) {
        SetItemIndex(FOldItemIndex);
    } else {
        // Nothing was chosen at the opening: none again, with the text the cancel put back.
        FItemIndex = -1;
        FItemSelector->OnItemSelect = nullptr;
        FItemSelector->SetItemIndex(-1);
    }
}

// ---- painting a row ----

void TExtDetailDropDown::DrawDetailItem(TObject *, TCanvas *Canvas, TRect R, int Index)
{
    if (OnDrawSelectedImage) {
        OnDrawSelectedImage(this, Canvas, R);
        return;
    }
    if (Index < 0 || Index >= FItems->Count())
        return;
    TDetailItem *item = FItems->Items(Index);
    const bool hasCaption = !item->Caption().isEmpty();
    TGraphic *g = item->Image()->Graphic();
    if (g && !g->Empty()) {
        const int x = hasCaption ? R.Left + 2 : R.Left + (R.Width() - g->Width()) / 2;
        g->SetTransparent(true);
        Canvas->Draw(x, R.Top + (R.Height() - g->Height()) / 2, g);
        R.Left += g->Width() + 4;
    } else if (Images() && item->ImageIndex() >= 0) {
        TCustomImageList *il = Images();
        const int x = hasCaption ? R.Left + 2 : R.Left + (R.Width() - il->Width()) / 2;
        il->Draw(Canvas, x, R.Top + (R.Height() - il->Height()) / 2, item->ImageIndex(), true);
        R.Left += il->Width() + 4;
    }
    const bool hot = FItemSelector && Index == FItemSelector->ItemHot();
    auto textColour = [&](TFont *F) {
        Canvas->Font()->Assign(F);
        if (hot)
            Canvas->Font()->SetColor(FItemAppearance->ColorHotText);
        if (Index == FItemIndex)
            Canvas->Font()->SetColor(FItemAppearance->ColorSelectedText);
    };
    textColour(FCaptionFont.get());
    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    R.Left += 4;
    R.Top += 2;
    R.Right -= 4;
    DrawText(Canvas->Handle(), item->Caption(), -1, &R, DT_END_ELLIPSIS);
    if (item->Notes.isEmpty())
        return;
    R.Top += Canvas->TextHeight(QStringLiteral("gh"));
    textColour(FNotesFont.get());
    THtmlRenderParams p;
    p.Canvas = Canvas;
    p.Text = item->Notes;
    p.Rect = R;
    p.Images = Images();
    p.AnchorColor = 0x808080;
    p.HoverBackColor = clNone;
    p.HoverTextColor = clNone;
    p.ShadowColor = 0xFF0000;
    RenderHtmlText(p);
}

// ---- choosing ----

void TExtDetailDropDown::ShowCaption(int Index)
{
    const UnicodeString c = FItems->Items(Index)->Caption();
    // The caption is written whole: no completion of it.
    const bool was = FInChange;
    FInChange = true;
    SetText(c);
    FInChange = was;
    SetSelStart(0);
    SetSelLength(static_cast<int>(c.length()));
}

void TExtDetailDropDown::SetItemIndex(int Value)
{
    if (Value == FItemIndex)
        return;
    if (Value >= 0 && Value < FItems->Count()) {
        FItemIndex = Value;
        ShowCaption(Value);
        Invalidate();
        if (FItemSelector)
            FItemSelector->Invalidate();
        if (OnSelect)
            OnSelect(this);
    } else if (Value == -1) {
        const bool was = FInChange;
        FInChange = true;
        SetText(UnicodeString());
        FInChange = was;
        FItemIndex = -1;
    }
}

void TExtDetailDropDown::SelectorChosen()
{
    const int i = FItemSelector->ItemIndex();
    SetItemIndex(i);
    if (i >= 0 && i < FItems->Count())
        ShowCaption(i);
}

// ---- keys ----

void TExtDetailDropDown::WMKeyDown(TWMKey &Message)
{
    const bool alt = GetKeyState(VK_MENU) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const Word key = Message.CharCode;
    const bool open = DroppedDown();
    if (Enabled() && !alt) {
        switch (key) {
        case VK_PRIOR:
        case VK_NEXT: PageMove(key == VK_PRIOR, FLayout, 1); break;
        case VK_END:
        case VK_HOME:
            if (open && FItemSelector)
                Internally([&] { key == VK_END ? FItemSelector->SelectLast() : FItemSelector->SelectFirst(); });
            else if (!EditorEnabled())
                key == VK_END ? SelectLast() : SelectFirst();
            break;
        case VK_LEFT:
        case VK_RIGHT:
            if (!EditorEnabled() && open && FItemSelector)
                Internally([&] { key == VK_LEFT ? FItemSelector->SelectPrevious() : FItemSelector->SelectNext(); });
            break;
        case VK_UP:
        case VK_DOWN:
            if (open && FItemSelector) {
                const int cur = FItemSelector->ItemIndex();
                const int v = cur < 0 ? 0 : cur + (key == VK_UP ? -1 : 1);
                if (v >= 0)
                    MoveTo(v);
                Invalidate();
            } else {
                key == VK_UP ? SelectPrevious() : SelectNext();
            }
            break;
        default:
            if (!ctrl)
                AddSearchKey(key);
            break;
        }
    }
    if (open && (key == VK_PRIOR || key == VK_NEXT || (key >= VK_LEFT && key <= VK_DOWN))) {
        Message.CharCode = 0;
        Message.Result = 1;
        return;
    }
    TExtSelectorDropDown::WMKeyDown(Message);
}

void TExtDetailDropDown::KeyDown(Word &Key, TShiftState Shift)
{
    if (FItems->Count() == 0) {
        TExtSelectorDropDown::KeyDown(Key, Shift);
        return;
    }
    const Word key = Key;
    if (key == VK_BACK || key == VK_ESCAPE || key == VK_DELETE) {
        FWorkMode = false;
    } else if (key == VK_RETURN) {
        const int i = FItems->IndexOf(Text());
        if (i >= 0) {
            SetText(FItems->Items(i)->Caption());
            SetItemIndex(i);
            Change();
        }
    } else {
        FWorkMode = true;
    }
    TExtSelectorDropDown::KeyDown(Key, Shift);
    if (key == VK_ESCAPE) {
        const int i = FItems->IndexOf(Text());
        if (i >= 0)
            SetItemIndex(i);
    }
}

void TExtDetailDropDown::KeyUp(Word &Key, TShiftState Shift)
{
    TExtSelectorDropDown::KeyUp(Key, Shift);
    if (FItemChange) {
        SetItemIndex(FItemIdx);
        FItemChange = false;
    }
}

void TExtDetailDropDown::Change()
{
    TExtSelectorDropDown::Change();
    if (FInChange || ComponentState().Contains(TComponentStateItem::csDesigning) || !FWorkMode)
        return;
    FItemChange = false;
    const UnicodeString text = Text();
    SetIsModified(!text.isEmpty());
    const UnicodeString P = text.left(SelStart());
    const UnicodeString Q = MatchCase ? P : AnsiUpperCase(P);
    if (FItems->Count() == 0 || P.isEmpty())
        return;
    // Writing the completed text changes it again: that change is this one's own.
    FInChange = true;
    int hit = -1;
    for (int i = 0; i < FItems->Count(); ++i) {
        const UnicodeString c = FItems->Items(i)->Caption();
        if ((MatchCase ? c : AnsiUpperCase(c)).startsWith(Q)) {
            hit = i;
            break;
        }
    }
    const int n = static_cast<int>(Q.length());
    if (hit >= 0) {
        const UnicodeString completed = text.left(n) + FItems->Items(hit)->Caption().mid(n, 255);
        SetTextInternal(completed);
        FItemIndex = hit;
        FItemIdx = hit;
        FItemSel = n;
        FItemChange = true;
        SetSelStart(n);
        SetSelLength(static_cast<int>(completed.length()) - n);
    } else {
        SetTextInternal(P);
        SetSelStart(static_cast<int>(P.length()));
        SetSelLength(0);
    }
    FInChange = false;
}

// ---- wheel ----

void TExtDetailDropDown::WheelDown()
{
    TExtSelectorDropDown::WheelDown();
    if (DroppedDown() && FItemSelector) {
        const int cur = FItemSelector->ItemIndex();
        MoveTo(cur < 0 ? 0 : cur + 1);
        Invalidate();
    } else {
        SelectNext();
    }
}

void TExtDetailDropDown::WheelUp()
{
    TExtSelectorDropDown::WheelUp();
    if (DroppedDown() && FItemSelector) {
        const int cur = FItemSelector->ItemIndex();
        const int v = cur < 0 ? 0 : cur - 1;
        if (v >= 0)
            MoveTo(v);
        Invalidate();
    } else {
        SelectPrevious();
    }
}
