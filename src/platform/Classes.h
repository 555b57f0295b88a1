#pragma once
// Persistent objects and components: ownership, names, free notification and component state.

#include "platform/Sets.h"
#include "platform/System.h"

#include <vector>

class TPersistent : public TObject {
public:
    // Copies Source into this object; the default asks Source to assign itself and otherwise
    // raises the classic "Cannot assign a ... to a ..." error.
    virtual void Assign(TPersistent *Source);

protected:
    virtual void AssignTo(TPersistent *Dest);
    virtual TPersistent *GetOwner() { return nullptr; }

private:
    [[noreturn]] void AssignError(TPersistent *Source);
};

enum class TOperation { opInsert, opRemove };
enum class TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance };
using TComponentState = TSet<TComponentStateItem>;

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent *AOwner);
    ~TComponent() override;

    TComponent *Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent *Components(int Index) const;
    int ComponentIndex() const;
    TComponent *FindComponent(const UnicodeString &AName) const;

    const UnicodeString &Name() const { return FName; }
    virtual void SetName(const UnicodeString &NewName);
    long Tag() const { return FTag; }
    void SetTag(long Value) { FTag = Value; }

    const TComponentState &ComponentState() const { return FComponentState; }
    void SetDesigning(bool Value);

    void InsertComponent(TComponent *AComponent);
    void RemoveComponent(TComponent *AComponent);
    void DestroyComponents();
    void Destroying();

    // AComponent tells this component when it is freed (a call of Notification with opRemove).
    void FreeNotification(TComponent *AComponent);
    void RemoveFreeNotification(TComponent *AComponent);

    // Marks the component as being loaded; EndLoading clears the mark and calls Loaded.
    void BeginLoading();
    void EndLoading();

protected:
    virtual void Notification(TComponent *AComponent, TOperation Operation);
    virtual void Loaded();
    TComponentState FComponentState;

private:
    void Insert(TComponent *AComponent);
    void Remove(TComponent *AComponent);
    void RemoveNotification(TComponent *AComponent);

    TComponent *FOwner = nullptr;
    std::vector<TComponent *> FComponents;
    std::vector<TComponent *> FFreeNotifies;
    UnicodeString FName;
    long FTag = 0;
};
