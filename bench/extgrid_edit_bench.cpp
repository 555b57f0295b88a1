// One edit of a cell as the keyboard makes it (open with a typed character, four more
// characters, Enter stores through the validation with OnCellValidate and OnCellsChanged
// assigned) on a shown grid of 100 rows beside the same edit on a grid of 1,000,000 rows, in
// the same run: the edit must not cost more because the grid is long.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/Messages.h"
#include "platform/Windows.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>

namespace {

struct TShownGrid {
    std::unique_ptr<TForm> Form;
    TExtStringGrid *Grid;
    int Changes = 0;
    explicit TShownGrid(int Rows)
    {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetClientSize(800, 600);
        Grid = new TExtStringGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 800, 600);
        Grid->SetColCount(5);
        Grid->SetRowCount(Rows + 1);
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
        Grid->OnCellValidate = [](TObject *, int, int, UnicodeString &, bool &) {};
        Grid->OnCellsChanged = [this](TObject *, const TRect &) { ++Changes; };
        Form->Show();
        Form->SetActiveControl(Grid);
        Grid->SetFocus();
        QApplication::processEvents();
        Grid->SetRow(Rows / 2);
        Grid->SetCol(2);
    }
};

TShownGrid &GridOf(int Rows)
{
    static std::map<int, std::unique_ptr<TShownGrid>> grids;
    auto &g = grids[Rows];
    if (!g)
        g = std::make_unique<TShownGrid>(Rows);
    return *g;
}

void OneEdit(TExtStringGrid *G, int N)
{
    const char16_t first = char16_t(u'a' + N % 26);
    // Characters typed on the grid open its editor and go on into it.
    G->Perform(WM_CHAR, WPARAM(first), 0);
    for (char16_t c : {u'b', u'c', u'd', u'e'})
        G->Perform(WM_CHAR, WPARAM(c), 0);
    TInplaceEdit *e = G->InplaceEditor();
    e->Perform(WM_KEYDOWN, VK_RETURN, 0);
    e->Perform(WM_CHAR, WPARAM(u'\r'), 0);
}

void BM_EditOneCell(benchmark::State &state)
{
    TShownGrid &sg = GridOf(int(state.range(0)));
    TExtStringGrid *g = sg.Grid;
    int n = 0;
    for (auto _ : state)
        OneEdit(g, n++);
    if (g->InEditMode() || g->Cells(2, g->Row()).size() != 5)
        state.SkipWithError("the edit did not store five characters");
    state.counters["rows"] = double(state.range(0));
}
BENCHMARK(BM_EditOneCell)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);

} // namespace
