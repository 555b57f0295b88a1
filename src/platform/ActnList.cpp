#include "platform/ActnList.h"

#include "platform/ImgList.h"

#include <algorithm>

// ---- TBasicAction ----

TBasicAction::TBasicAction(TComponent *AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction()
{
    // The links outlive the action: they keep their clients and lose the action.
    for (TBasicActionLink *l : FClients)
        l->FAction = nullptr;
    FClients.clear();
}

bool TBasicAction::Execute()
{
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink *Link)
{
    if (Link && std::find(FClients.begin(), FClients.end(), Link) == FClients.end())
        FClients.push_back(Link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink *Link)
{
    FClients.erase(std::remove(FClients.begin(), FClients.end(), Link), FClients.end());
}

// ---- TCustomActionList ----

TCustomActionList::TCustomActionList(TComponent *AOwner) : TComponent(AOwner) {}

void TCustomActionList::SetImages(TCustomImageList *Value)
{
    if (Value == FImages)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages)
        FImages->FreeNotification(this);
}

void TCustomActionList::Notification(TComponent *AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages)
        FImages = nullptr;
}

// ---- TCustomAction ----

TCustomAction::TCustomAction(TComponent *AOwner) : TBasicAction(AOwner) {}

void TCustomAction::SetActionList(TCustomActionList *Value)
{
    if (Value == FActionList)
        return;
    if (FActionList)
        FActionList->RemoveFreeNotification(this);
    FActionList = Value;
    if (FActionList)
        FActionList->FreeNotification(this);
}

void TCustomAction::Notification(TComponent *AComponent, TOperation Operation)
{
    TBasicAction::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FActionList)
        FActionList = nullptr;
}

// Each setter tells the linked clients first, while they can still compare their value with
// the action's old one.
void TCustomAction::SetCaption(const UnicodeString &Value)
{
    if (Value == FCaption)
        return;
    const auto clients = Clients();
    for (TBasicActionLink *l : clients)
        if (l->IsCaptionLinked())
            l->SetCaption(Value);
    FCaption = Value;
}

void TCustomAction::SetChecked(bool Value)
{
    if (Value == FChecked)
        return;
    const auto clients = Clients();
    for (TBasicActionLink *l : clients)
        if (l->IsCheckedLinked())
            l->SetChecked(Value);
    FChecked = Value;
}

void TCustomAction::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    const auto clients = Clients();
    for (TBasicActionLink *l : clients)
        if (l->IsEnabledLinked())
            l->SetEnabled(Value);
    FEnabled = Value;
}

void TCustomAction::SetGroupIndex(int Value)
{
    if (Value == FGroupIndex)
        return;
    const auto clients = Clients();
    for (TBasicActionLink *l : clients)
        if (l->IsGroupIndexLinked())
            l->SetGroupIndex(Value);
    FGroupIndex = Value;
}

void TCustomAction::SetHint(const UnicodeString &Value)
{
    if (Value == FHint)
        return;
    const auto clients = Clients();
    for (TBasicActionLink *l : clients)
        if (l->IsHintLinked())
            l->SetHint(Value);
    FHint = Value;
}

// ---- links ----

TBasicActionLink::~TBasicActionLink()
{
    if (FAction)
        FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction *Value)
{
    if (Value == FAction)
        return;
    if (FAction)
        FAction->UnRegisterChanges(this);
    FAction = Value;
    if (FAction)
        FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent *)
{
    return FAction && FAction->Execute();
}

void TControlActionLink::AssignClient(TObject *AClient)
{
    FClient = dynamic_cast<TControl *>(AClient);
}

bool TControlActionLink::IsCaptionLinked()
{
    TCustomAction *a = CustomAction();
    return a && FClient && FClient->Caption() == a->Caption();
}

bool TControlActionLink::IsEnabledLinked()
{
    TCustomAction *a = CustomAction();
    return a && FClient && FClient->Enabled() == a->Enabled();
}

bool TControlActionLink::IsHintLinked()
{
    TCustomAction *a = CustomAction();
    return a && FClient && FClient->Hint() == a->Hint();
}

void TControlActionLink::SetCaption(const UnicodeString &Value)
{
    if (IsCaptionLinked())
        FClient->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value)
{
    if (IsEnabledLinked())
        FClient->SetEnabled(Value);
}

void TControlActionLink::SetHint(const UnicodeString &Value)
{
    if (IsHintLinked())
        FClient->SetHint(Value);
}

// ---- TControl's action ----

TBasicAction *TControl::Action() const
{
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TControl::SetAction(TBasicAction *Value)
{
    if (!Value) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink) {
        FActionLink.reset(CreateActionLink());
        FActionLink->AssignClient(this);
    }
    FActionLink->SetAction(Value);
    ActionChange(Value, ComponentState().Contains(TComponentStateItem::csLoading));
}

TControlActionLink *TControl::CreateActionLink()
{
    return new TControlActionLink;
}

void TControl::ActionChange(TObject *Sender, bool CheckDefaults)
{
    auto *a = dynamic_cast<TCustomAction *>(Sender);
    if (!a)
        return;
    if (!CheckDefaults || Caption().isEmpty())
        SetCaption(a->Caption());
    if (!CheckDefaults || Enabled())
        SetEnabled(a->Enabled());
    if (!CheckDefaults || Hint().isEmpty())
        SetHint(a->Hint());
}
