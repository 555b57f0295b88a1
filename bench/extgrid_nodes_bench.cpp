// Contracting and expanding every node of a large tree, beside the raw row hiding the tree
// stands on: one HideRowList of the same child rows and one UnHideRowList, in the same program.
//
// 10,000 nodes of 9 child rows each (100,000 rows, 10 columns). ContractAll expands first, then
// hides the child rows of every outermost node in one call; ExpandAll brings them back in one.
#include "grid/core/ExtGrid.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Nodes = 10000;
constexpr int Children = 9;
constexpr int Rows = Nodes * (Children + 1);

std::unique_ptr<TExtStringGrid> MakeGrid(bool WithNodes)
{
    auto g = std::make_unique<TExtStringGrid>(nullptr);
    g->SetColCount(10);
    g->SetFixedRows(0);
    g->SetRowCount(Rows);
    for (int r = 0; r < Rows; r += 97)
        g->SetCells(1, r, QStringLiteral("cell"));
    if (WithNodes)
        for (int n = 0; n < Nodes; ++n)
            g->AddNode(n * (Children + 1), Children + 1);
    return g;
}

void BM_ContractAllExpandAll(benchmark::State &State)
{
    auto g = MakeGrid(true);
    for (auto _ : State) {
        g->ContractAll();
        if (g->RowCount() != Nodes)
            State.SkipWithError("contract");
        g->ExpandAll();
        if (g->RowCount() != Rows)
            State.SkipWithError("expand");
    }
    State.SetItemsProcessed(State.iterations() * Nodes);
}
BENCHMARK(BM_ContractAllExpandAll)->Unit(benchmark::kMillisecond);

// The raw row hiding of the same child rows: the list built once, one call each way.
void BM_RawHideRowListUnHideRowList(benchmark::State &State)
{
    auto g = MakeGrid(true);
    TIntList rows(0, 0);
    for (int n = 0; n < Nodes; ++n)
        for (int c = 1; c <= Children; ++c)
            rows.Add(n * (Children + 1) + c);
    for (auto _ : State) {
        g->HideRowList(&rows);
        if (g->RowCount() != Nodes)
            State.SkipWithError("hide");
        g->UnHideRowList();
        if (g->RowCount() != Rows)
            State.SkipWithError("unhide");
    }
    State.SetItemsProcessed(State.iterations() * Nodes);
}
BENCHMARK(BM_RawHideRowListUnHideRowList)->Unit(benchmark::kMillisecond);

} // namespace
