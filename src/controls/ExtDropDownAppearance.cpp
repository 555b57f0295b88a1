// The settings objects of the drop-down popup's header and footer bars.

#include "controls/ExtDropDown.h"

// ---- buttons ----

void TDropDownBarButton::AssignButton(const TDropDownBarButton &From)
{
    SetCaption(From.FCaption);
    SetImageIndex(From.FImageIndex);
    SetEnabled(From.FEnabled);
    SetWidth(From.FWidth);
    SetHeight(From.FHeight);
}

void TDropDownBarButton::SetCaption(const UnicodeString &Value)
{
    if (FCaption == Value)
        return;
    FCaption = Value;
    Changed(false);
}

void TDropDownBarButton::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    Changed(false);
}

void TDropDownBarButton::SetWidth(int Value)
{
    if (FWidth == Value)
        return;
    FWidth = Value;
    Changed(false);
}

THeaderButton::THeaderButton(TCollection *Collection) : TDropDownBarButton(Collection) {}

void THeaderButton::Assign(TPersistent *Source)
{
    auto *From = dynamic_cast<THeaderButton *>(Source);
    if (!From) {
        TCollectionItem::Assign(Source);
        return;
    }
    AssignButton(*From);
}

TFooterButton::TFooterButton(TCollection *Collection) : TDropDownBarButton(Collection) {}

void TFooterButton::Assign(TPersistent *Source)
{
    auto *From = dynamic_cast<TFooterButton *>(Source);
    if (!From) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetModalResult(From->FModalResult);
    AssignButton(*From);
}

THeaderButtons::THeaderButtons(TPersistent *AOwner)
    : TOwnedCollection(AOwner, CollectionItemClass<THeaderButton>()), FMyOwner(AOwner)
{
}

void THeaderButtons::Update(TCollectionItem *)
{
    if (OnChange)
        OnChange(this);
}

TFooterButtons::TFooterButtons(TPersistent *AOwner)
    : TCollection(CollectionItemClass<TFooterButton>()), FMyOwner(AOwner)
{
}

void TFooterButtons::Update(TCollectionItem *)
{
    if (OnChange)
        OnChange(this);
}

// ---- THeaderAppearance ----

THeaderAppearance::THeaderAppearance(TPersistent *AOwner)
    : FOwner(AOwner), FFont(std::make_unique<TFont>()), FButtons(std::make_unique<THeaderButtons>(AOwner))
{
    FFont->SetName(QStringLiteral("Tahoma"));
    FButtons->OnChange = [this](TObject *Sender) { ButtonsChanged(Sender); };
}

THeaderAppearance::~THeaderAppearance() = default;

void THeaderAppearance::Assign(TPersistent *Source)
{
    auto *From = dynamic_cast<THeaderAppearance *>(Source);
    if (!From)
        return;
    FColorTo = From->FColorTo;
    FColor = From->FColor;
    FBorderColor = From->FBorderColor;
    FCaption = From->FCaption;
    FFont->Assign(From->FFont.get());
    FImageIndex = From->FImageIndex;
    FBorderWidth = From->FBorderWidth;
    FGradientDirection = From->FGradientDirection;
    FHeight = From->FHeight;
    SetVisible(From->FVisible);
    FButtonAlignment = From->FButtonAlignment;
    FButtons->Assign(From->FButtons.get());
}

void THeaderAppearance::AssignColors(TPersistent *Source)
{
    auto *From = dynamic_cast<THeaderAppearance *>(Source);
    if (!From)
        return;
    FColorTo = From->FColorTo;
    FColor = From->FColor;
    FBorderColor = From->FBorderColor;
    FFont->Assign(From->FFont.get());
    FGradientDirection = From->FGradientDirection;
}

void THeaderAppearance::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    FVisible = Value;
    if (OnChange)
        OnChange(this);
}

void THeaderAppearance::ButtonsChanged(TObject *)
{
    if (OnButtonsChanged)
        OnButtonsChanged(this);
}

// ---- TFooterAppearance ----

TFooterAppearance::TFooterAppearance(TPersistent *AOwner)
    : FOwner(AOwner), FFont(std::make_unique<TFont>()), FButtons(std::make_unique<TFooterButtons>(AOwner))
{
    FButtons->OnChange = [this](TObject *Sender) { ButtonsChanged(Sender); };
}

TFooterAppearance::~TFooterAppearance() = default;

void TFooterAppearance::Assign(TPersistent *Source)
{
    auto *From = dynamic_cast<TFooterAppearance *>(Source);
    if (!From)
        return;
    FColorTo = From->FColorTo;
    FColor = From->FColor;
    FBorderColor = From->FBorderColor;
    FCaption = From->FCaption;
    FFont->Assign(From->FFont.get());
    FImageIndex = From->FImageIndex;
    FBorderWidth = From->FBorderWidth;
    FGradientDirection = From->FGradientDirection;
    FHeight = From->FHeight;
    SetVisible(From->FVisible);
    FButtonAlignment = From->FButtonAlignment;
    FButtons->Assign(From->FButtons.get());
    FSizeGrip = From->FSizeGrip;
}

void TFooterAppearance::AssignColors(TPersistent *Source)
{
    auto *From = dynamic_cast<TFooterAppearance *>(Source);
    if (!From)
        return;
    FColorTo = From->FColorTo;
    FColor = From->FColor;
    FBorderColor = From->FBorderColor;
    FFont->Assign(From->FFont.get());
    FGradientDirection = From->FGradientDirection;
}

void TFooterAppearance::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    FVisible = Value;
    if (OnChange)
        OnChange(this);
}

void TFooterAppearance::ButtonsChanged(TObject *)
{
    if (OnButtonsChanged)
        OnButtonsChanged(this);
}
