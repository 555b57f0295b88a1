#include "dropdowns/ExtImagePickerDropDown.h"

#include "platform/FileUtils.h"
#include "platform/SysUtils.h"
#include "platform/Windows.h"

#include <algorithm>

// ---- items ----

void TImageItem::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TImageItem *>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->Caption());
    SetImageIndex(s->ImageIndex());
    FImage->Assign(s->Image());
    Enabled = s->Enabled;
    Hint = s->Hint;
}

// ---- the drop-down ----

TExtImagePickerDropDown::TExtImagePickerDropDown(TComponent *AOwner)
    : TExtSelectorDropDown(AOwner), FItems(std::make_unique<TImageItems>(this))
{
    FItems->OnChange = [](TObject *) {};
    SetEditorEnabled(false);
    SetCursor(crArrow);
}

TExtImagePickerDropDown::~TExtImagePickerDropDown() = default;

void TExtImagePickerDropDown::AddImagesFromImageList()
{
    if (!Images())
        return;
    for (int i = 0; i < Images()->Count(); ++i)
        FItems->Add()->SetImageIndex(i);
}

void TExtImagePickerDropDown::AddImagesFromFolder(const UnicodeString &AFolder, bool SetImageCaption)
{
    TSearchRec sr;
    if (FindFirst(AFolder, faAnyFile, sr) == 0) {
        const UnicodeString folder = ExtractFilePath(AFolder);
        do
            AddImageFile(folder + sr.Name, SetImageCaption);
        while (FindNext(sr) == 0);
    }
    FindClose(sr);
}

void TExtImagePickerDropDown::AddImageFile(const UnicodeString &FileName, bool SetImageCaption)
{
    TImageItem *item = FItems->Add();
    try {
        // The picture kinds the system registers; the loader itself reads the ones it has a
        // reader for and raises for the others.
        static const QStringList known{QStringLiteral(".bmp"), QStringLiteral(".ico"), QStringLiteral(".wmf"),
                                       QStringLiteral(".emf"), QStringLiteral(".tif"), QStringLiteral(".tiff"),
                                       QStringLiteral(".jpg"), QStringLiteral(".jpeg")};
        if (!known.contains(ExtractFileExt(FileName).toLower()))
            throw EInvalidGraphic(QStringLiteral("Unknown picture file extension (%1)").arg(ExtractFileExt(FileName)));
        item->Image()->LoadFromFile(FileName);
        if (SetImageCaption)
            item->FCaption = ExtractFileName(FileName);
    } catch (const Exception &) {
        item->Image()->SetGraphic(nullptr);
    }
}

void TExtImagePickerDropDown::CreateDropDownForm()
{
    TExtSelectorDropDown::CreateDropDownForm();
    CreateSelector();
    ShowSelector();
}

void TExtImagePickerDropDown::FillItemSelector()
{
    FillSelectorFrom(FItems.get(), [](TSelectorItem *item, TImageItem *d) { item->Hint = d->Hint; });
}

void TExtImagePickerDropDown::BeforeDropDown()
{
    TExtSelectorDropDown::BeforeDropDown();
    LoadItemSelector(FColumns, FLayout);
    if (FItemSelector) {
        FItemSelector->SetShowHint(ShowHint());
        if (OnDrawItem)
            FItemSelector->OnDrawItem = [this](TObject *, TCanvas *Canvas, TRect R, int Index) {
                OnDrawItem(this, Canvas, R, Index);
            };
        else
            FItemSelector->OnDrawItem = nullptr;
    }
    FOldItemIndex = FItemIndex;
}

void TExtImagePickerDropDown::SizeDropDownForm()
{
    if (FItemSelector)
        FitPopupToSelector(this, FItemSelector);
    else
        TExtSelectorDropDown::SizeDropDownForm();
}

void TExtImagePickerDropDown::DoHideDropDown(bool Cancel)
{
    const bool open = DropDownForm() && DropDownForm()->Visible();
    TExtSelectorDropDown::DoHideDropDown(Cancel);
    if (Cancel && FItemSelector && open)
        SetItemIndex(FOldItemIndex);
}

void TExtImagePickerDropDown::SetItemIndex(int Value)
{
    if (Value == FItemIndex || Value >= FItems->Count())
        return;
    FItemIndex = Value;
    Invalidate();
    if (OnChange)
        OnChange(this);
    if (OnSelect)
        OnSelect(this);
}

int TExtImagePickerDropDown::GetImageIndex() const
{
    return FItemIndex < 0 || FItemIndex >= FItems->Count() ? -1 : FItems->Items(FItemIndex)->ImageIndex();
}

void TExtImagePickerDropDown::SetImageIndex(int Value)
{
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->ImageIndex() == Value) {
            SetItemIndex(i);
            return;
        }
    SetItemIndex(-1);
}

// ---- painting the chosen image ----

void TExtImagePickerDropDown::WMNCPaint(TWMNCPaint &Message)
{
    TExtSelectorDropDown::WMNCPaint(Message);
    if (Message.DC) {
        const int saved = Message.DC->SaveDC();
        PaintSelectedImage(Message.DC);
        Message.DC->RestoreDC(saved);
    }
}

void TExtImagePickerDropDown::PaintSelectedImage(TCanvas *Canvas)
{
    const TRect R = GetEditRect();
    if (OnDrawSelectedImage) {
        OnDrawSelectedImage(this, Canvas, R);
        return;
    }
    if (FItemIndex < 0 || FItemIndex >= FItems->Count())
        return;
    TImageItem *item = FItems->Items(FItemIndex);
    TGraphic *g = item->Image()->Graphic();
    if (g && !g->Empty()) {
        Canvas->Draw(R.Left + (R.Width() - g->Width()) / 2, R.Top + (R.Height() - g->Height()) / 2, g);
    } else if (Images() && item->ImageIndex() >= 0) {
        TCustomImageList *il = Images();
        il->Draw(Canvas, R.Left + (R.Width() - il->Width()) / 2, R.Top + (R.Height() - il->Height()) / 2,
                 item->ImageIndex(), true);
    }
}

// ---- keys and wheel ----

void TExtImagePickerDropDown::WMKeyDown(TWMKey &Message)
{
    const Word key = Message.CharCode;
    bool handled = false;
    if (Enabled() && DroppedDown() && key == VK_RETURN && FItemSelector && FItemSelector->ItemHot() >= 0) {
        FItemSelector->SetItemIndex(FItemSelector->ItemHot());
        handled = true;
    }
    TExtSelectorDropDown::WMKeyDown(Message);
    if (!Enabled() || GetKeyState(VK_MENU) < 0)
        return;
    const bool open = DroppedDown();
    switch (key) {
    case VK_RETURN:
        if (!handled && OnSelect)
            OnSelect(this);
        break;
    case VK_PRIOR:
    case VK_NEXT: PageMove(key == VK_PRIOR, FLayout, FColumns); break;
    case VK_END:
    case VK_HOME:
        if (open && FItemSelector)
            Internally([&] { key == VK_END ? FItemSelector->SelectLast() : FItemSelector->SelectFirst(); });
        else
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
            const int v = cur < 0 ? 0 : cur + (key == VK_UP ? -FColumns : FColumns);
            if (v >= 0)
                MoveTo(v);
        } else {
            key == VK_UP ? SelectPrevious() : SelectNext();
        }
        break;
    default:
        if (GetKeyState(VK_CONTROL) >= 0)
            AddSearchKey(key);
        break;
    }
}

void TExtImagePickerDropDown::WheelDown()
{
    TExtSelectorDropDown::WheelDown();
    if (!Enabled() || ReadOnly() || !FItemSelector)
        return;
    if (DroppedDown())
        FItemSelector->HotNext();
    else
        Internally([this] { FItemSelector->SelectNext(); });
}

void TExtImagePickerDropDown::WheelUp()
{
    TExtSelectorDropDown::WheelUp();
    if (!Enabled() || ReadOnly() || !FItemSelector)
        return;
    if (DroppedDown())
        FItemSelector->HotPrevious();
    else
        Internally([this] { FItemSelector->SelectPrevious(); });
}
