// Hidden rows and row structure of the string grid, beside the plain way of doing the same jobs
// in the same program: a sorted std::vector of the hidden rows' indices searched by bisection, and
// std::vector insert and erase of row pointers and heights plus the shift of the hidden indices.
//
// The grid's side is what its row operations do: the hidden-row store answers the mapping, the
// cell store (a gap buffer of row pointers) moves the rows, the platform's heights move along,
// and the store moves the hidden rows behind the change. The inserts and removes run twice on
// that side: on the parts alone, and through a shown string grid's own InsertRows and RemoveRows
// (with every row at the default height, and with one row sized so that the platform keeps a
// height per row).
//
// Removing and hiding the selected rows of a million: the grid's RemoveSelectedRows and
// HideSelectedRows beside one erase pass over a plain vector of rows (one block of texts each)
// steered by a vector of selection flags.
#include "grid/core/ExtGrid.h"
#include "grid/core/HiddenRows.h"
#include "platform/Forms.h"
#include "platform/GridStore.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int Cols = 10;
constexpr int Ops = 1000;

std::vector<int> RandomRows(int Rows, int N = 4096)
{
    std::mt19937 Rng(42);
    std::vector<int> V(static_cast<std::size_t>(N));
    for (int &X : V)
        X = int(Rng() % unsigned(Rows));
    return V;
}

// ---- the plain way ----

struct TBaseline {
    std::vector<int> Hidden; // sorted real indices
    std::vector<void *> RowPtrs;
    std::vector<int> Heights;

    bool IsHidden(int R) const { return std::binary_search(Hidden.begin(), Hidden.end(), R); }
    int RealToDispl(int R) const { return R - int(std::lower_bound(Hidden.begin(), Hidden.end(), R) - Hidden.begin()); }
    int DisplToReal(int D) const
    {
        std::size_t Lo = 0, Hi = Hidden.size();
        while (Lo < Hi) {
            std::size_t Mid = Lo + (Hi - Lo) / 2;
            if (Hidden[Mid] - int(Mid) <= D)
                Lo = Mid + 1;
            else
                Hi = Mid;
        }
        return D + int(Lo);
    }
    void InsertRow(int D)
    {
        int R = DisplToReal(D);
        RowPtrs.insert(RowPtrs.begin() + D, nullptr);
        Heights.insert(Heights.begin() + D, 24);
        for (auto It = std::lower_bound(Hidden.begin(), Hidden.end(), R); It != Hidden.end(); ++It)
            ++*It;
    }
    void RemoveRow(int D)
    {
        int R = DisplToReal(D);
        RowPtrs.erase(RowPtrs.begin() + D);
        Heights.erase(Heights.begin() + D);
        for (auto It = std::lower_bound(Hidden.begin(), Hidden.end(), R + 1); It != Hidden.end(); ++It)
            --*It;
    }
};

// Every 10th real row hidden: shown rows = Rows - Rows / 10.
std::unique_ptr<TBaseline> MakeBaseline(int Rows)
{
    auto B = std::make_unique<TBaseline>();
    for (int R = 0; R < Rows; R += 10)
        B->Hidden.push_back(R);
    int Shown = Rows - int(B->Hidden.size());
    static int Cell;
    B->RowPtrs.assign(std::size_t(Shown), &Cell);
    B->Heights.assign(std::size_t(Shown), 24);
    return B;
}

// ---- the grid's way ----

struct TGridSide {
    THiddenRows Hidden;
    TGridStore Store;
    std::vector<int> Heights; // as the platform grid keeps them

    void InsertRow(int D)
    {
        int R = Hidden.DisplToReal(D);
        Store.InsertRows(D, 1);
        Heights.insert(Heights.begin() + D, 24);
        Hidden.Shift(R, 1);
    }
    void RemoveRow(int D)
    {
        int R = Hidden.DisplToReal(D);
        Store.DeleteRows(D, 1);
        Heights.erase(Heights.begin() + D);
        Hidden.Shift(R + 1, -1);
    }
};

std::unique_ptr<TGridSide> MakeGrid(int Rows, bool Fill)
{
    auto G = std::make_unique<TGridSide>();
    for (int R = 0; R < Rows; R += 10)
        G->Hidden.Add(R, 24);
    int Shown = Rows - G->Hidden.Count();
    G->Store.SetColumnHint(Cols);
    if (Fill) {
        for (int R = 0; R < Shown; ++R)
            for (int C = 0; C < Cols; ++C)
                G->Store.SetText(C, R, QString::number(R * 16 + C, 36));
    }
    G->Heights.assign(std::size_t(Shown), 24);
    return G;
}

// ---- lookups ----

template <typename F> void Lookups(benchmark::State &State, F Fn)
{
    const int Rows = int(State.range(0));
    const auto Idx = RandomRows(Rows - Rows / 10);
    std::size_t I = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(Fn(Idx[I]));
        I = (I + 1) & (Idx.size() - 1);
    }
}

void BM_Grid_RealRowIndex(benchmark::State &State)
{
    auto G = MakeGrid(int(State.range(0)), false);
    Lookups(State, [&](int D) { return G->Hidden.DisplToReal(D); });
}
void BM_Base_RealRowIndex(benchmark::State &State)
{
    auto B = MakeBaseline(int(State.range(0)));
    Lookups(State, [&](int D) { return B->DisplToReal(D); });
}
void BM_Grid_DisplRowIndex(benchmark::State &State)
{
    auto G = MakeGrid(int(State.range(0)), false);
    Lookups(State, [&](int R) { return G->Hidden.RealToDispl(R); });
}
void BM_Base_DisplRowIndex(benchmark::State &State)
{
    auto B = MakeBaseline(int(State.range(0)));
    Lookups(State, [&](int R) { return B->RealToDispl(R); });
}
void BM_Grid_IsHiddenRow(benchmark::State &State)
{
    auto G = MakeGrid(int(State.range(0)), false);
    Lookups(State, [&](int R) { return G->Hidden.IsHidden(R); });
}
void BM_Base_IsHiddenRow(benchmark::State &State)
{
    auto B = MakeBaseline(int(State.range(0)));
    Lookups(State, [&](int R) { return B->IsHidden(R); });
}

BENCHMARK(BM_Grid_RealRowIndex)->Arg(100000)->Arg(1000000);
BENCHMARK(BM_Base_RealRowIndex)->Arg(100000)->Arg(1000000);
BENCHMARK(BM_Grid_DisplRowIndex)->Arg(100000)->Arg(1000000);
BENCHMARK(BM_Base_DisplRowIndex)->Arg(100000)->Arg(1000000);
BENCHMARK(BM_Grid_IsHiddenRow)->Arg(100000)->Arg(1000000);
BENCHMARK(BM_Base_IsHiddenRow)->Arg(100000)->Arg(1000000);

// ---- 1,000 single-row inserts, then 1,000 single-row removes at the same place ----
// Arg: the display row where it happens (near the top, or the middle of a million rows).

constexpr int BigRows = 1000000;

void BM_Grid_InsertRemoveRows(benchmark::State &State)
{
    static auto G = MakeGrid(BigRows, true);
    const int D = int(State.range(0));
    for (auto _ : State) {
        for (int I = 0; I < Ops; ++I)
            G->InsertRow(D);
        for (int I = 0; I < Ops; ++I)
            G->RemoveRow(D);
    }
    State.SetItemsProcessed(State.iterations() * 2 * Ops);
}
void BM_Base_InsertRemoveRows(benchmark::State &State)
{
    static auto B = MakeBaseline(BigRows);
    const int D = int(State.range(0));
    for (auto _ : State) {
        for (int I = 0; I < Ops; ++I)
            B->InsertRow(D);
        for (int I = 0; I < Ops; ++I)
            B->RemoveRow(D);
    }
    State.SetItemsProcessed(State.iterations() * 2 * Ops);
}

// A shown string grid of a million real rows, every 10th hidden with its cells in the store.
struct TShownGrid {
    std::unique_ptr<TForm> Form;
    TExtStringGrid *Grid = nullptr;
};

std::unique_ptr<TShownGrid> MakeShownGrid(int Rows, bool Heights)
{
    auto S = std::make_unique<TShownGrid>();
    S->Form = std::make_unique<TForm>(nullptr);
    S->Form->SetClientSize(800, 600);
    S->Grid = new TExtStringGrid(S->Form.get());
    TExtStringGrid *G = S->Grid;
    G->SetParent(S->Form.get());
    G->SetBounds(0, 0, 800, 600);
    G->SetColCount(Cols);
    const int Shown = Rows - Rows / 10;
    G->SetRowCount(Shown);
    G->Store().SetColumnHint(Cols);
    for (int R = 0, D = 0; R < Rows; ++R) {
        if (R % 10 == 0) {
            TGridItem *Item = G->GridItems()->Add(R, 22);
            for (int C = 0; C < Cols; ++C)
                Item->Items()->Add(QString::number(R * 16 + C, 36));
            continue;
        }
        for (int C = 0; C < Cols; ++C)
            G->Store().SetText(C, D, QString::number(R * 16 + C, 36));
        ++D;
    }
    if (Heights)
        G->SetRowHeights(1, 30);
    S->Form->Show();
    QApplication::processEvents();
    return S;
}

// Args: the display row, and whether the platform keeps a height per row.
void BM_ExtGrid_InsertRemoveRows(benchmark::State &State)
{
    // Kept until the program ends: windows must not outlive the application at exit.
    static TShownGrid *Grids[2] = {};
    const bool Heights = State.range(1) != 0;
    TShownGrid *&S = Grids[Heights ? 1 : 0];
    if (!S)
        S = MakeShownGrid(BigRows, Heights).release();
    TExtStringGrid *G = S->Grid;
    const int D = int(State.range(0));
    for (auto _ : State) {
        for (int I = 0; I < Ops; ++I)
            G->InsertRows(D, 1);
        for (int I = 0; I < Ops; ++I)
            G->RemoveRows(D, 1);
    }
    State.SetItemsProcessed(State.iterations() * 2 * Ops);
}

BENCHMARK(BM_Grid_InsertRemoveRows)->Arg(10)->Arg(450000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Base_InsertRemoveRows)->Arg(10)->Arg(450000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtGrid_InsertRemoveRows)
    ->Args({10, 0})
    ->Args({450000, 0})
    ->Args({10, 1})
    ->Args({450000, 1})
    ->Unit(benchmark::kMillisecond);

// ---- N selected rows of a million removed or hidden at once ----
// Arg: N, the selected rows, spread evenly over the grid.

constexpr int SelCols = 4;

std::vector<int> SpreadRows(int Rows, int N)
{
    std::vector<int> V;
    const int Step = std::max(1, Rows / N);
    for (int R = 1; R < Rows && int(V.size()) < N; R += Step)
        V.push_back(R);
    return V;
}

void BM_Base_EraseSelectedRows(benchmark::State &State)
{
    const auto Sel = SpreadRows(BigRows, int(State.range(0)));
    // Outside the pass: dropping the rows that stay is no part of the erase.
    std::vector<QString> Rows;
    std::vector<char> Flags;
    for (auto _ : State) {
        State.PauseTiming();
        Rows.assign(std::size_t(BigRows), QString());
        for (int R = 0; R < BigRows; ++R)
            Rows[std::size_t(R)] = QString::number(R * 16, 36).repeated(SelCols);
        Flags.assign(std::size_t(BigRows), 0);
        for (int R : Sel)
            Flags[std::size_t(R)] = 1;
        State.ResumeTiming();
        std::size_t Out = 0;
        for (std::size_t I = 0; I < Rows.size(); ++I) {
            if (Flags[I])
                continue;
            if (Out != I)
                Rows[Out] = std::move(Rows[I]);
            ++Out;
        }
        Rows.resize(Out);
        Flags.assign(Out, 0);
        benchmark::DoNotOptimize(Rows.data());
    }
    State.SetItemsProcessed(State.iterations() * State.range(0));
}

// One shown grid of a million rows, filled again before each pass.
TShownGrid *SelectionGrid()
{
    static TShownGrid *S = nullptr;
    if (S)
        return S;
    S = new TShownGrid;
    S->Form = std::make_unique<TForm>(nullptr);
    S->Form->SetClientSize(800, 600);
    S->Grid = new TExtStringGrid(S->Form.get());
    S->Grid->SetParent(S->Form.get());
    S->Grid->SetBounds(0, 0, 800, 600);
    S->Grid->SetColCount(SelCols);
    S->Grid->MouseActions()->SetDisjunctRowSelect(true);
    S->Form->Show();
    QApplication::processEvents();
    return S;
}

void FillAndSelect(TExtStringGrid *G, const std::vector<int> &Sel)
{
    G->ClearRowSelect();
    G->SetRowCount(BigRows);
    G->Store().SetColumnHint(SelCols);
    for (int R = 0; R < BigRows; ++R)
        for (int C = 0; C < SelCols; ++C)
            G->Store().SetText(C, R, QString::number(R * 16 + C, 36));
    for (int R : Sel)
        G->SetRowSelect(R, true);
}

void BM_ExtGrid_RemoveSelectedRows(benchmark::State &State)
{
    TExtStringGrid *G = SelectionGrid()->Grid;
    const auto Sel = SpreadRows(BigRows, int(State.range(0)));
    for (auto _ : State) {
        State.PauseTiming();
        FillAndSelect(G, Sel);
        State.ResumeTiming();
        G->RemoveSelectedRows();
    }
    if (G->RowCount() != BigRows - int(Sel.size()))
        State.SkipWithError("rows not removed");
    State.SetItemsProcessed(State.iterations() * State.range(0));
}

void BM_ExtGrid_HideSelectedRows(benchmark::State &State)
{
    TExtStringGrid *G = SelectionGrid()->Grid;
    const auto Sel = SpreadRows(BigRows, int(State.range(0)));
    for (auto _ : State) {
        State.PauseTiming();
        G->UnHideRowsAll();
        FillAndSelect(G, Sel);
        State.ResumeTiming();
        G->HideSelectedRows();
    }
    if (G->RowCount() != BigRows - int(Sel.size()))
        State.SkipWithError("rows not hidden");
    G->UnHideRowsAll();
    State.SetItemsProcessed(State.iterations() * State.range(0));
}

BENCHMARK(BM_Base_EraseSelectedRows)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ExtGrid_RemoveSelectedRows)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ExtGrid_HideSelectedRows)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
