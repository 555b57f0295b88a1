#include "dropdowns/ExtColorPickerDropDown.h"

#include "platform/WinGdi.h"
#include "platform/Windows.h"

#include <algorithm>

// ---- the list entries ----

void TColorItem::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TColorItem *>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->Caption());
    SetColor(s->Color());
    Enabled = s->Enabled;
    Hint = s->Hint;
}

// ---- the drop-down ----

TExtColorPickerDropDown::TExtColorPickerDropDown(TComponent *AOwner)
    : TExtCustomDropDown(AOwner), FColors(std::make_unique<TColorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this))
{
    // Edits of the list take effect at the next showing.
    FColors->OnChange = [](TObject *) {};
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    FDesignTime = ComponentState().Contains(TComponentStateItem::csDesigning) && AOwner &&
                  !AOwner->ComponentState().Contains(TComponentStateItem::csReading) &&
                  !AOwner->ComponentState().Contains(TComponentStateItem::csLoading);
    SetDropDownHeight(200);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    SetCursor(crArrow);
}

TExtColorPickerDropDown::~TExtColorPickerDropDown()
{
    FSearch.KeyTimer()->SetEnabled(false);
    // The popup and its pickers outlive this part of the object.
    if (FItemSelector) {
        FItemSelector->OnItemSelect = nullptr;
        FItemSelector->OnDrawItem = nullptr;
    }
    if (FColorSelector)
        FColorSelector->OnItemSelect = nullptr;
    if (FColorCubePanel)
        FColorCubePanel->OnSelect = nullptr;
    if (FSpectrumPanel)
        FSpectrumPanel->OnSelect = nullptr;
}

void TExtColorPickerDropDown::CreateWnd()
{
    TExtCustomDropDown::CreateWnd();
    if (FDesignTime && FColors->Count() == 0) {
        FDesignTime = false;
        AddDefaultColors();
    }
}

void TExtColorPickerDropDown::AddDefaultColors()
{
    static const struct {
        const char *Caption;
        unsigned Color;
    } colors[] = {
        {"Black", 0x000000}, {"Maroon", 0x000080}, {"Green", 0x008000},   {"Olive", 0x008080},
        {"Navy", 0x800000},  {"Purple", 0x800080}, {"Teal", 0x808000},    {"Gray", 0x808080},
        {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},   {"Lime", 0x00FF00},    {"Yellow", 0x00FFFF},
        {"Blue", 0xFF0000},  {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},   {"White", 0xFFFFFF},
    };
    for (const auto &c : colors) {
        TColorItem *item = FColors->Add();
        item->SetCaption(QString::fromLatin1(c.Caption));
        item->SetColor(TColor(c.Color));
    }
}

// ---- content controls ----

void TExtColorPickerDropDown::CreateItemSelector()
{
    if (!FItemSelector) {
        FItemSelector = new TExtCustomItemSelector(this);
        FItemSelector->SetParent(DropDownForm());
    }
    FItemSelector->SetLeft(0);
    FItemSelector->SetTop(0);
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->SetSelectorType(stColor);
    FItemSelector->SetHeight(150);
    FItemSelector->UpdateSelectorPanel();
    SetControl(FItemSelector);
}

void TExtColorPickerDropDown::CreateColorSelector()
{
    if (!FColorSelector) {
        FColorSelector = new TCustomColorSelector(this);
        FColorSelector->SetParent(DropDownForm());
        FColorSelector->FillPalette();
    }
    FColorSelector->SetLeft(0);
    FColorSelector->SetTop(0);
    FColorSelector->SetColor(DropDownColor());
    FColorSelector->ArrangeItems();
    SetControl(FColorSelector);
}

void TExtColorPickerDropDown::CreateCubePanel()
{
    if (!FColorCubePanel) {
        FColorCubePanel = new TExtColorCubePanel(this);
        FColorCubePanel->SetParent(DropDownForm());
    }
    FColorCubePanel->SetLeft(0);
    FColorCubePanel->SetTop(0);
    FColorCubePanel->SetColor(DropDownColor());
    SetControl(FColorCubePanel);
}

void TExtColorPickerDropDown::CreateSpectrumPanel()
{
    if (!FSpectrumPanel) {
        FSpectrumPanel = new TExtColorSpectrumPanel(this);
        FSpectrumPanel->SetParent(DropDownForm());
    }
    FSpectrumPanel->SetLeft(0);
    FSpectrumPanel->SetTop(0);
    FSpectrumPanel->SetColor(DropDownColor());
    SetControl(FSpectrumPanel);
}

void TExtColorPickerDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (!DropDownForm())
        return;
    switch (FColorSelectionStyle) {
    case csList: CreateItemSelector(); break;
    case csDiscrete: CreateColorSelector(); break;
    case csColorCube: CreateCubePanel(); break;
    case csSpectrum: CreateSpectrumPanel(); break;
    }
}

void TExtColorPickerDropDown::HideOthers(TControl *Keep)
{
    for (TControl *c : std::initializer_list<TControl *>{FItemSelector, FColorSelector, FColorCubePanel,
                                                          FSpectrumPanel})
        if (c && c != Keep)
            c->SetVisible(false);
}

void TExtColorPickerDropDown::PrepareContent()
{
    switch (FColorSelectionStyle) {
    case csList:
        CreateItemSelector();
        HideOthers(FItemSelector);
        FItemSelector->SetVisible(true);
        LoadItemSelector();
        if (OnDrawColor)
            FItemSelector->OnDrawItem = [this](TObject *, TCanvas *Canvas, TRect R, int Index) {
                OnDrawColor(this, Canvas, R, Index);
            };
        else
            FItemSelector->OnDrawItem = nullptr;
        FOldItemIndex = FItemIndex;
        break;
    case csDiscrete:
        CreateColorSelector();
        HideOthers(FColorSelector);
        FColorSelector->SetSelectedColor(FSelectedColor);
        FColorSelector->ArrangeItems();
        FColorSelector->OnItemSelect = [this](TObject *Sender) { ColorSelectorSelect(Sender); };
        FColorSelector->SetItemColorStyle(SelectionColorStyle());
        FColorSelector->SetVisible(true);
        break;
    case csColorCube:
        CreateCubePanel();
        HideOthers(FColorCubePanel);
        FColorCubePanel->SetSelectedColor(FSelectedColor);
        FColorCubePanel->InitCubeCells();
        FColorCubePanel->ResetCubePanel();
        FColorCubePanel->OnSelect = [this](TObject *) { PanelSelect(FColorCubePanel->SelectedColor()); };
        FColorCubePanel->SetVisible(true);
        break;
    case csSpectrum:
        CreateSpectrumPanel();
        HideOthers(FSpectrumPanel);
        FSpectrumPanel->SetSelectedColor(FSelectedColor);
        FSpectrumPanel->LayoutSpectrum();
        FSpectrumPanel->OnSelect = [this](TObject *) { PanelSelect(FSpectrumPanel->SelectedColor()); };
        FSpectrumPanel->SetVisible(true);
        break;
    }
}

void TExtColorPickerDropDown::BeforeDropDown()
{
    TExtCustomDropDown::BeforeDropDown();
    if (DropDownForm())
        PrepareContent();
    FOldSelectedColor = FSelectedColor;
}

void TExtColorPickerDropDown::FillItemSelector()
{
    TSelectorItems *items = FItemSelector->Items();
    items->Clear();
    for (int i = 0; i < FColors->Count(); ++i) {
        TColorItem *c = FColors->Items(i);
        TSelectorItem *item = items->Add();
        item->SetCaption(c->Caption());
        item->SetColor(c->Color());
        item->Hint = c->Hint;
    }
}

void TExtColorPickerDropDown::LoadItemSelector()
{
    if (!FItemSelector)
        return;
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->SetColumns(Columns);
    FItemSelector->SetImages(Images());
    FItemSelector->SetItemLayout(Layout);
    FItemSelector->SetColor(DropDownColor());
    FillItemSelector();
    FItemSelector->SetColorBoxHeight(ColorBoxHeight);
    FItemSelector->SetColorBoxWidth(ColorBoxWidth);
    FItemSelector->ItemAppearance()->Assign(FItemAppearance.get());
    FItemSelector->UpdateSelectorPanel();
    FItemSelector->SetItemIndex(FItemIndex);
    FItemSelector->OnItemSelect = [this](TObject *Sender) { ItemSelectorSelect(Sender); };
    FItemSelector->SetShowHint(ShowHint());
}

void TExtColorPickerDropDown::SizeDropDownForm()
{
    TControl *c = Control();
    if (FColorSelectionStyle != csList && DropDownForm()) {
        const int bw = DropDownBorderWidth;
        const bool has = c && c->Visible();
        const int w = has ? c->Width() + 2 * bw : Width();
        const int h = 2 * bw + (DropDownHeader()->Visible() ? DropDownHeader()->Height() : 0) +
                      (DropDownFooter()->Visible() ? DropDownFooter()->Height() : 0) + (has ? c->Height() : 0);
        DropDownForm()->SetBounds(DropDownForm()->Left(), DropDownForm()->Top(), w, h);
        return;
    }
    if (!FItemSelector) {
        TExtCustomDropDown::SizeDropDownForm();
        return;
    }
    FitPopupToSelector(this, FItemSelector);
}

void TExtColorPickerDropDown::PlaceDropDownControl()
{
    TExtCustomDropDown::PlaceDropDownControl();
    if (FColorSelectionStyle != csList && DropDownForm())
        DropDownForm()->Sizeable = false;
}

void TExtColorPickerDropDown::DoHideDropDown(bool Cancel)
{
    const bool open = DropDownForm() && DropDownForm()->Visible();
    TExtCustomDropDown::DoHideDropDown(Cancel);
    // A picker panel cannot be resized: the size it closed with is only the panel's, and the
    // next opening (perhaps of another picker) fits its own.
    if (FColorSelectionStyle != csList)
        ForgetUserDropDownSize();
    if (!Cancel || !open)
        return;
    // The value of the opening comes back whatever moved it meanwhile, in every style: a move
    // from an unlisted colour leaves no entry whose selection would bring that colour back.
    Internally([this] {
        if (FColorSelectionStyle == csList && FItemSelector)
            FItemSelector->SetItemIndex(FOldItemIndex);
        if (FColorSelectionStyle == csDiscrete && FColorSelector)
            FColorSelector->SetSelectedColor(FOldSelectedColor);
        FItemIndex = FOldItemIndex;
        FSelectedColor = FOldSelectedColor;
    });
    Invalidate();
}

void TExtColorPickerDropDown::DropDownDestroyed()
{
    TExtCustomDropDown::DropDownDestroyed();
    if (ComponentState().Contains(TComponentStateItem::csDestroying))
        return;
    FItemSelector = nullptr;
    FColorCubePanel = nullptr;
    FSpectrumPanel = nullptr;
    FColorSelector = nullptr;
}

// ---- choosing ----

void TExtColorPickerDropDown::ItemSelectorSelect(TObject *)
{
    SetItemIndex(FItemSelector->ItemIndex());
    if (!FInternalCall)
        DoHideDropDown(false);
}

void TExtColorPickerDropDown::ColorSelectorSelect(TObject *)
{
    SetSelectedColor(FColorSelector->SelectedColor());
    SetItemIndex(-1);
    if (!FInternalCall)
        DoHideDropDown(false);
}

void TExtColorPickerDropDown::PanelSelect(TColor Color)
{
    SetSelectedColor(Color);
    SetItemIndex(-1);
    DoHideDropDown(false);
}

void TExtColorPickerDropDown::SetItemIndex(int Value)
{
    if (Value >= FColors->Count())
        return;
    FItemIndex = Value;
    if (Value >= 0)
        FSelectedColor = FColors->Items(Value)->Color();
    Invalidate();
    if (OnSelect)
        OnSelect(this);
}

void TExtColorPickerDropDown::SetSelectedColor(TColor Value)
{
    if (Value == FSelectedColor)
        return;
    FSelectedColor = Value;
    for (int i = 0; i < FColors->Count(); ++i)
        if (FColors->Items(i)->Color() == Value) {
            SetItemIndex(i);
            break;
        }
    Invalidate();
}

void TExtColorPickerDropDown::SetShowText(bool Value)
{
    if (FShowText == Value)
        return;
    FShowText = Value;
    Invalidate();
}

void TExtColorPickerDropDown::SelectFirst()
{
    if (FColors->Count() > 0)
        SetItemIndex(0);
}

void TExtColorPickerDropDown::SelectLast()
{
    if (FColors->Count() > 0)
        SetItemIndex(FColors->Count() - 1);
}

void TExtColorPickerDropDown::SelectNext()
{
    const int i = FItemIndex < 0 ? 0 : FItemIndex + 1;
    if (i < FColors->Count())
        SetItemIndex(i);
}

void TExtColorPickerDropDown::SelectPrevious()
{
    const int i = FItemIndex < 0 ? 0 : FItemIndex - 1;
    if (i >= 0 && i < FColors->Count())
        SetItemIndex(i);
}

void TExtColorPickerDropDown::SetColorSelectionStyle(TColorSelectionStyle Value)
{
    if (Value == FColorSelectionStyle)
        return;
    FColorSelectionStyle = Value;
    if (Value != csList)
        ForgetUserDropDownSize();
    if (ComponentState().Contains(TComponentStateItem::csDesigning) || !DropDownForm())
        return;
    CreateDropDownForm();
    if (Control())
        Control()->SetAlign(alNone);
    PrepareContent();
    FOldSelectedColor = FSelectedColor;
    SizeDropDownForm();
    if (Control())
        Control()->SetAlign(alClient);
    DropDownForm()->Invalidate();
}

// ---- keys and wheel ----

void TExtColorPickerDropDown::MoveTo(int V)
{
    if (!FItemSelector || V >= FItemSelector->Items()->Count())
        return;
    Internally([&] { FItemSelector->SetItemIndex(V); });
}

void TExtColorPickerDropDown::WMKeyDown(TWMKey &Message)
{
    const Word key = Message.CharCode;
    bool handled = false;
    if (Enabled() && DroppedDown() && key == VK_RETURN) {
        if (FColorSelectionStyle == csList && FItemSelector && FItemSelector->ItemHot() >= 0) {
            FItemSelector->SetItemIndex(FItemSelector->ItemHot());
            handled = true;
        } else if (FColorSelectionStyle == csDiscrete && FColorSelector && FColorSelector->ItemHot() >= 0) {
            FColorSelector->SetItemIndex(FColorSelector->ItemHot());
            handled = true;
        }
    }
    TExtCustomDropDown::WMKeyDown(Message);
    if (!Enabled() || GetKeyState(VK_MENU) < 0)
        return;
    const bool open = DroppedDown();
    if (FColorSelectionStyle == csList && FItemSelector) {
        TExtCustomItemSelector *sel = FItemSelector;
        const int cur = sel->ItemIndex();
        switch (key) {
        case VK_RETURN:
            if (!handled && OnSelect)
                OnSelect(this);
            break;
        case VK_PRIOR:
        case VK_NEXT: {
            if (sel->Items()->Count() != FColors->Count())
                LoadItemSelector();
            const int n = sel->GetVisibleItemCount();
            if (n > 0)
                MoveTo(key == VK_PRIOR ? std::max(sel->ItemIndex() - n, 0)
                                       : std::min(sel->ItemIndex() + n, FColors->Count() - 1));
            break;
        }
        case VK_END:
            if (open)
                Internally([sel] { sel->SelectLast(); });
            else
                SelectLast();
            break;
        case VK_HOME:
            if (open)
                Internally([sel] { sel->SelectFirst(); });
            else
                SelectFirst();
            break;
        case VK_LEFT:
            if (open && !EditorEnabled())
                Internally([sel] { sel->SelectPrevious(); });
            break;
        case VK_RIGHT:
            if (open && !EditorEnabled())
                Internally([sel] { sel->SelectNext(); });
            break;
        case VK_UP:
            if (open) {
                const int v = cur < 0 ? 0 : cur - Columns;
                if (v >= 0)
                    MoveTo(v);
            } else {
                SelectPrevious();
            }
            break;
        case VK_DOWN:
            if (open)
                MoveTo(cur < 0 ? 0 : cur + Columns);
            else
                SelectNext();
            break;
        default:
            if (GetKeyState(VK_CONTROL) >= 0) {
                const UnicodeString &s = FSearch.Add(key);
                Internally([&] { sel->LookupItem(s); });
            }
            break;
        }
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        Internally([&] { FColorSelector->HandleKey(key, EditorEnabled(), open); });
        if (key == VK_RETURN && !handled && OnSelect)
            OnSelect(this);
    }
}

void TExtColorPickerDropDown::WheelDown()
{
    TExtCustomDropDown::WheelDown();
    if (!Enabled() || ReadOnly())
        return;
    if (FColorSelectionStyle == csList && FItemSelector) {
        if (DroppedDown())
            FItemSelector->HotNext();
        else
            Internally([this] { FItemSelector->SelectNext(); });
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        if (DroppedDown())
            FColorSelector->HotNext();
        else
            Internally([this] { FColorSelector->SelectNext(); });
    }
}

void TExtColorPickerDropDown::WheelUp()
{
    TExtCustomDropDown::WheelUp();
    if (!Enabled() || ReadOnly())
        return;
    if (FColorSelectionStyle == csList && FItemSelector) {
        if (DroppedDown())
            FItemSelector->HotPrevious();
        else
            Internally([this] { FItemSelector->SelectPrevious(); });
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        if (DroppedDown())
            FColorSelector->HotPrevious();
        else
            Internally([this] { FColorSelector->SelectPrevious(); });
    }
}

// ---- looks ----

void TExtColorPickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    TExtCustomDropDown::SetSelectionColorStyle(Value);
    if (FItemSelector)
        FItemSelector->ItemAppearance()->SetColorStyle(Value);
}

void TExtColorPickerDropDown::SetComponentStyle(TQRVStyle AStyle)
{
    TExtCustomDropDown::SetComponentStyle(AStyle);
    SetItemAppearanceStyle(FItemAppearance.get(), AStyle);
}

void TExtColorPickerDropDown::GetSelectedColorText(UnicodeString &Text)
{
    if (FColorSelectionStyle == csList && FItemIndex >= 0 && FItemIndex < FColors->Count()) {
        Text = FColors->Items(FItemIndex)->Caption();
        return;
    }
    const TColorRef rgb = ColorToRGB(FSelectedColor);
    const auto hex2 = [](int V) { return QString::number(V, 16).toUpper().rightJustified(2, QLatin1Char('0')); };
    switch (ColorValueText) {
    case cvtNone: Text.clear(); break;
    case cvtHex:
        Text = QString::number(static_cast<quint32>(FSelectedColor), 16).toUpper().rightJustified(6, QLatin1Char('0'));
        break;
    case cvtWebName: Text = ColorToWebColorName(FSelectedColor); break;
    case cvtRGB:
        Text = QStringLiteral("Red:%1,Green:%2,Blue:%3").arg(GetRValue(rgb)).arg(GetGValue(rgb)).arg(GetBValue(rgb));
        break;
    case cvtHTML:
        Text = QStringLiteral("#") + hex2(GetRValue(rgb)) + hex2(GetGValue(rgb)) + hex2(GetBValue(rgb));
        break;
    }
}

void TExtColorPickerDropDown::WMNCPaint(TWMNCPaint &Message)
{
    TExtCustomDropDown::WMNCPaint(Message);
    if (Message.DC) {
        const int saved = Message.DC->SaveDC();
        PaintSelectedColor(Message.DC);
        Message.DC->RestoreDC(saved);
    }
}

void TExtColorPickerDropDown::PaintSelectedColor(TCanvas *Canvas)
{
    TRect R(1, 1, Width() - DropDownButtonWidth() - 2, Height() - 2);
    if (OnDrawSelectedColor) {
        OnDrawSelectedColor(this, Canvas, R);
        return;
    }
    const int top = R.Top + (Height() - ColorBoxHeight) / 2;
    const TRect box(R.Left + 4, top, R.Left + 4 + ColorBoxWidth, top + ColorBoxHeight);
    if (FSelectedColor != clNone) {
        Canvas->Pen()->SetColor(clBlack);
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Brush()->SetColor(FSelectedColor);
        Canvas->Rectangle(box);
    }
    if (!FShowText)
        return;
    Canvas->Font()->Assign(Font());
    const bool focused = Focused();
    if (!EditorEnabled() && focused)
        Canvas->Font()->SetColor(clHighlightText);
    UnicodeString text;
    GetSelectedColorText(text);
    TRect tr(box.Right + 4, R.Top, R.Right, R.Bottom);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(focused ? clHighlight : Color());
    DrawText(Canvas->Handle(), text, -1, &tr, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}
