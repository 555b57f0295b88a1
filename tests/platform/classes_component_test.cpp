#include "platform/Classes.h"

#include <gtest/gtest.h>

namespace {

class TWatcher : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<TComponent *> Removed;

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == TOperation::opRemove)
            Removed.push_back(AComponent);
    }
};

class TCounted : public TComponent {
public:
    TCounted(TComponent *owner, int *alive) : TComponent(owner), FAlive(alive) { ++*FAlive; }
    ~TCounted() override { --*FAlive; }

private:
    int *FAlive;
};

TEST(Component, OwnerFreesOwnedComponents)
{
    int alive = 0;
    auto *owner = new TComponent(nullptr);
    auto *a = new TCounted(owner, &alive);
    new TCounted(a, &alive);
    new TCounted(owner, &alive);
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(a->ComponentIndex(), 0);
    EXPECT_EQ(alive, 3);
    delete owner;
    EXPECT_EQ(alive, 0);
}

TEST(Component, FreedComponentLeavesItsOwner)
{
    TComponent owner(nullptr);
    auto *child = new TComponent(&owner);
    child->SetName("Btn_OK");
    EXPECT_EQ(owner.FindComponent("btn_ok"), child);
    delete child;
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(owner.FindComponent("Btn_OK"), nullptr);
}

TEST(Component, FreeNotificationReachesTheWatcher)
{
    TWatcher watcher(nullptr);
    auto *other = new TComponent(nullptr);
    other->FreeNotification(&watcher);
    delete other;
    ASSERT_EQ(watcher.Removed.size(), 1u);
    EXPECT_EQ(watcher.Removed[0], other);
}

TEST(Component, DuplicateNameIsRefused)
{
    TComponent owner(nullptr);
    auto *a = new TComponent(&owner);
    auto *b = new TComponent(&owner);
    a->SetName("Edit1");
    EXPECT_THROW(b->SetName("EDIT1"), EComponentError);
}

TEST(Persistent, AssignOfUnrelatedClassNamesBoth)
{
    TPersistent a, b;
    try {
        a.Assign(&b);
        FAIL() << "no exception";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TPersistent to a TPersistent");
    }
}

} // namespace
