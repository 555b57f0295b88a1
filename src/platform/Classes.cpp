#include "platform/Classes.h"

#include <algorithm>

void TPersistent::Assign(TPersistent *Source)
{
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent *Dest)
{
    Dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent *Source)
{
    const UnicodeString sourceName = Source ? Source->ClassName() : QStringLiteral("nil");
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(sourceName, ClassName()));
}

TComponent::TComponent(TComponent *AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell everyone who asked to hear of our end; each may remove itself from the list.
    while (!FFreeNotifies.empty()) {
        TComponent *peer = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        peer->RemoveNotification(this);
        peer->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

TComponent *TComponent::Components(int Index) const
{
    if (Index < 0 || Index >= ComponentCount())
        throw EListError(QString::fromLatin1(SListIndexError).arg(Index));
    return FComponents[static_cast<std::size_t>(Index)];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner)
        return -1;
    const auto &list = FOwner->FComponents;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent *TComponent::FindComponent(const UnicodeString &AName) const
{
    if (AName.isEmpty())
        return nullptr;
    for (TComponent *c : FComponents)
        if (c->FName.compare(AName, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

void TComponent::SetName(const UnicodeString &NewName)
{
    if (NewName.compare(FName, Qt::CaseInsensitive) != 0 && FOwner && !NewName.isEmpty() && FOwner->FindComponent(NewName))
        throw EComponentError(QStringLiteral("A component named %1 already exists").arg(NewName));
    FName = NewName;
}

void TComponent::SetDesigning(bool Value)
{
    if (Value)
        FComponentState << TComponentStateItem::csDesigning;
    else
        FComponentState >> TComponentStateItem::csDesigning;
    for (TComponent *c : FComponents)
        c->SetDesigning(Value);
}

void TComponent::InsertComponent(TComponent *AComponent)
{
    if (!AComponent || AComponent->FOwner == this)
        return;
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent *AComponent)
{
    if (!AComponent || AComponent->FOwner != this)
        return;
    Notification(AComponent, TOperation::opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent *AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent *AComponent)
{
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end())
        FComponents.erase(it);
    AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents()
{
    // Owned components go last-created first; each one takes itself out of our list.
    while (!FComponents.empty()) {
        TComponent *c = FComponents.back();
        Remove(c);
        delete c;
    }
}

void TComponent::Destroying()
{
    if (FComponentState.Contains(TComponentStateItem::csDestroying))
        return;
    FComponentState << TComponentStateItem::csDestroying;
    for (TComponent *c : FComponents)
        c->Destroying();
}

void TComponent::FreeNotification(TComponent *AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    if (std::find(AComponent->FFreeNotifies.begin(), AComponent->FFreeNotifies.end(), this) == AComponent->FFreeNotifies.end())
        AComponent->FFreeNotifies.push_back(this);
    FComponentState << TComponentStateItem::csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent *AComponent)
{
    if (!AComponent)
        return;
    RemoveNotification(AComponent);
    AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent *AComponent)
{
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (it != FFreeNotifies.end())
        FFreeNotifies.erase(it);
}

void TComponent::BeginLoading()
{
    FComponentState << TComponentStateItem::csLoading;
}

void TComponent::EndLoading()
{
    FComponentState >> TComponentStateItem::csLoading;
    Loaded();
}

void TComponent::Notification(TComponent *AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent)
        RemoveNotification(AComponent);
    for (TComponent *c : FComponents)
        if (c != AComponent)
            c->Notification(AComponent, Operation);
}

void TComponent::Loaded()
{
}
