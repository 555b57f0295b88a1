// The cell checker in a shown grid: a cancelled edit reaches neither step, and a range check
// starts and stops once, also over no cells.
#include "dropdowns/ExtGridCheck.h"
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class TCountingChecker : public TExtStringGridCheck {
public:
    using TExtStringGridCheck::TExtStringGridCheck;
    UnicodeString Correct(int, int, const UnicodeString &s) override
    {
        ++Corrects;
        return s.toUpper();
    }
    UnicodeString MarkError(int, int, const UnicodeString &s) override
    {
        ++Marks;
        return s;
    }
    void StartCheck() override { ++Starts; }
    void StopCheck() override { ++Stops; }
    int Corrects = 0, Marks = 0, Starts = 0, Stops = 0;
};

} // namespace

TEST(CellChecker, EscapeCallsNeitherStepAndAnEmptyRangeStartsAndStopsOnce)
{
    Application->Initialize();
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto *g = new TExtStringGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 380, 260);
    g->SetOptions(g->Options() + TGridOptions{goEditing});
    TCountingChecker checker(nullptr);
    checker.AutoCorrect = true;
    checker.AutoMarkError = true;
    g->SetCellChecker(&checker);
    form.Show();
    g->SetFocus();
    GuiTest::ProcessEvents();
    g->SetCol(1);
    g->SetRow(1);
    g->SetCells(1, 1, QStringLiteral("keep"));

    GuiTest::TypeText(g, QStringLiteral("new"));
    GuiTest::PressKey(GuiTest::FocusedControl(), VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("keep"));
    EXPECT_EQ(checker.Corrects, 0);
    EXPECT_EQ(checker.Marks, 0);

    GuiTest::TypeText(g, QStringLiteral("typed"));
    GuiTest::PressKey(GuiTest::FocusedControl(), VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("TYPED"));
    EXPECT_EQ(checker.Corrects, 1);
    EXPECT_EQ(checker.Marks, 1);

    EXPECT_TRUE(g->CheckCells(2, 3, 1, 2));
    EXPECT_EQ(checker.Starts, 1);
    EXPECT_EQ(checker.Stops, 1);
    g->SetCellChecker(nullptr);
}
