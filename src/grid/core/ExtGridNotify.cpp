// What the string grid tells others and hears from around it: changed cells to the application
// and the registered notifiers, the removal of components it refers to.
#include "grid/core/ExtGrid.h"

#include <vector>

// ---- cell changes ----

void TExtStringGrid::DoCellsChanged(const TRect &R)
{
    if (OnCellsChanged)
        OnCellsChanged(this, R);
    if (FNotifierList && FNotifierList->Count() > 0) {
        // A notifier may unregister itself or another one while it is told: the list is walked
        // as it was, and a notifier taken out meanwhile is not called any more.
        const std::vector<void *> snapshot(FNotifierList->List(), FNotifierList->List() + FNotifierList->Count());
        for (void *p : snapshot)
            if (FNotifierList->IndexOf(p) >= 0)
                static_cast<TGridChangeNotifier *>(p)->CellsChanged(R);
    }
    CalcFooter(-1);
}

void TExtStringGrid::BulkCellsChanged()
{
    CalcFooter(-1);
}

// ---- notifiers ----

void TExtStringGrid::RegisterNotifier(TGridChangeNotifier *ANotifier)
{
    if (!ANotifier || !FNotifierList || FNotifierList->IndexOf(ANotifier) >= 0)
        return;
    FNotifierList->Add(ANotifier);
    // The grid does not own its notifiers, but must not call one that has gone.
    ANotifier->FreeNotification(this);
}

void TExtStringGrid::UnRegisterNotifier(TGridChangeNotifier *ANotifier)
{
    if (!ANotifier || !FNotifierList || FNotifierList->Remove(ANotifier) < 0)
        return;
    ANotifier->RemoveFreeNotification(this);
}

// ---- components the grid refers to ----

void TExtStringGrid::Notification(TComponent *AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent) {
        // The notifier is half destroyed by now: it is found by its address, not its class.
        for (int i = FNotifierList ? FNotifierList->Count() - 1 : -1; i >= 0; --i)
            if (static_cast<TComponent *>(static_cast<TGridChangeNotifier *>(FNotifierList->Items(i))) == AComponent)
                FNotifierList->Delete(i);
    }
    TBaseGrid::Notification(AComponent, Operation);
}
