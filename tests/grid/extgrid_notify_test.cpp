// What the string grid tells others when cells change: the application's event, then the
// registered notifiers in the order they came, then the footer; a notifier that goes away or
// unregisters while it is told is never called again.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Log;

std::string RectText(const TRect &R)
{
    return std::to_string(R.Left) + "," + std::to_string(R.Top) + "," + std::to_string(R.Right) + "," +
           std::to_string(R.Bottom);
}

class TFooterGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void CalcFooter(int ACol) override { Log.push_back("footer " + std::to_string(ACol)); }
};

class TLogNotifier : public TGridChangeNotifier {
public:
    TLogNotifier(std::string AName, TExtStringGrid *AGrid = nullptr)
        : TGridChangeNotifier(nullptr), Name(std::move(AName)), Grid(AGrid)
    {
    }
    void CellsChanged(const TRect &R) override
    {
        Log.push_back(Name + " " + RectText(R));
        if (Grid && Unregister)
            Grid->UnRegisterNotifier(Unregister);
    }
    std::string Name;
    TExtStringGrid *Grid;
    TGridChangeNotifier *Unregister = nullptr;
};

class ExtGridNotifyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Log.clear();
        Grid = std::make_unique<TFooterGrid>(nullptr);
        Grid->OnCellsChanged = [](TObject *, const TRect &R) { Log.push_back("event " + RectText(R)); };
    }
    std::unique_ptr<TFooterGrid> Grid;
};

TEST_F(ExtGridNotifyTest, EventThenNotifiersInOrderThenFooter)
{
    TLogNotifier A("a"), B("b");
    Grid->RegisterNotifier(&A);
    Grid->RegisterNotifier(&B);
    Grid->RegisterNotifier(&A); // once only
    EXPECT_EQ(Grid->NotifierCount(), 2);
    Grid->DoCellsChanged(TRect(1, 2, 3, 4));
    EXPECT_EQ(Log, (std::vector<std::string>{"event 1,2,3,4", "a 1,2,3,4", "b 1,2,3,4", "footer -1"}));

    Log.clear();
    Grid->UnRegisterNotifier(&A);
    Grid->UnRegisterNotifier(&A); // not registered any more: nothing
    Grid->DoCellsChanged(TRect(0, 0, 0, 0));
    EXPECT_EQ(Log, (std::vector<std::string>{"event 0,0,0,0", "b 0,0,0,0", "footer -1"}));
}

TEST_F(ExtGridNotifyTest, BulkChangeOnlyRecalculatesTheFooter)
{
    TLogNotifier A("a");
    Grid->RegisterNotifier(&A);
    Grid->BulkCellsChanged();
    EXPECT_EQ(Log, std::vector<std::string>{"footer -1"});
    Grid->UnRegisterNotifier(&A);
}

TEST_F(ExtGridNotifyTest, AFreedNotifierLeavesTheList)
{
    auto *A = new TLogNotifier("a");
    TLogNotifier B("b");
    Grid->RegisterNotifier(A);
    Grid->RegisterNotifier(&B);
    delete A;
    EXPECT_EQ(Grid->NotifierCount(), 1);
    Grid->DoCellsChanged(TRect(5, 5, 5, 5));
    EXPECT_EQ(Log, (std::vector<std::string>{"event 5,5,5,5", "b 5,5,5,5", "footer -1"}));
    Grid->UnRegisterNotifier(&B);
}

TEST_F(ExtGridNotifyTest, ANotifierTakenOutWhileOthersAreToldIsNotCalled)
{
    TLogNotifier A("a", Grid.get()), B("b");
    A.Unregister = &B;
    Grid->RegisterNotifier(&A);
    Grid->RegisterNotifier(&B);
    Grid->DoCellsChanged(TRect(0, 1, 0, 1));
    EXPECT_EQ(Log, (std::vector<std::string>{"event 0,1,0,1", "a 0,1,0,1", "footer -1"}));
    EXPECT_EQ(Grid->NotifierCount(), 1);
    Grid->UnRegisterNotifier(&A);
}

TEST_F(ExtGridNotifyTest, AGridFreedBeforeItsNotifiersLeavesThemWhole)
{
    TLogNotifier A("a");
    Grid->RegisterNotifier(&A);
    Grid.reset();
    TRect R(0, 0, 0, 0);
    A.CellsChanged(R); // still usable, no reference to the gone grid left
    EXPECT_EQ(Log.back(), "a 0,0,0,0");
}

} // namespace
