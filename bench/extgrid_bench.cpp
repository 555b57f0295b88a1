// The string grid's Cells beside the raw cell store: filling 1,000,000 x 10 cells and reading
// them back through a shown grid (one fixed row, no cell properties, no handlers), and the same
// work done on a TGridStore directly, in the same run. Each fill starts from a fresh grid or
// store; run with --benchmark_repetitions to compare medians.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/GridStore.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int Cols = 10;
constexpr int Rows = 1000000;

// A thousand different texts, shared by both sides so that making them costs neither.
const std::vector<UnicodeString> &Texts()
{
    static const std::vector<UnicodeString> t = [] {
        std::vector<UnicodeString> v;
        for (int i = 0; i < 1000; ++i)
            v.push_back(QStringLiteral("cell %1").arg(i * 7919));
        return v;
    }();
    return t;
}

struct TShownGrid {
    std::unique_ptr<TForm> Form;
    TExtStringGrid *Grid;
    TShownGrid()
    {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetClientSize(800, 600);
        Grid = new TExtStringGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 800, 600);
        Grid->SetColCount(Cols);
        Grid->SetRowCount(Rows + 1);
        Form->Show();
        QApplication::processEvents();
    }
};

template <typename TSet>
void FillAll(TSet set)
{
    const auto &t = Texts();
    std::size_t k = 0;
    for (int r = 1; r <= Rows; ++r)
        for (int c = 0; c < Cols; ++c) {
            set(c, r, t[k]);
            if (++k == t.size())
                k = 0;
        }
}

void BM_ExtGridCellsFill(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto g = std::make_unique<TShownGrid>();
        state.ResumeTiming();
        TExtStringGrid *grid = g->Grid;
        FillAll([grid](int c, int r, const UnicodeString &s) { grid->SetCells(c, r, s); });
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * Rows * Cols);
}
BENCHMARK(BM_ExtGridCellsFill)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_StoreFill(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<TGridStore>();
        store->SetColumnHint(Cols);
        state.ResumeTiming();
        TGridStore *s = store.get();
        FillAll([s](int c, int r, const UnicodeString &v) { s->SetText(c, r, v); });
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * Rows * Cols);
}
BENCHMARK(BM_StoreFill)->Unit(benchmark::kMillisecond)->Iterations(1);

TShownGrid &FilledGrid()
{
    static TShownGrid *g = [] {
        auto *s = new TShownGrid();
        TExtStringGrid *grid = s->Grid;
        FillAll([grid](int c, int r, const UnicodeString &v) { grid->SetCells(c, r, v); });
        return s;
    }();
    return *g;
}

TGridStore &FilledStore()
{
    static TGridStore *s = [] {
        auto *st = new TGridStore();
        st->SetColumnHint(Cols);
        FillAll([st](int c, int r, const UnicodeString &v) { st->SetText(c, r, v); });
        return st;
    }();
    return *s;
}

void BM_ExtGridCellsRead(benchmark::State &state)
{
    TExtStringGrid &g = *FilledGrid().Grid;
    for (auto _ : state) {
        qsizetype n = 0;
        for (int r = 1; r <= Rows; ++r)
            for (int c = 0; c < Cols; ++c)
                n += g.Cells(c, r).size();
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations() * Rows * Cols);
}
BENCHMARK(BM_ExtGridCellsRead)->Unit(benchmark::kMillisecond);

void BM_StoreRead(benchmark::State &state)
{
    const TGridStore &s = FilledStore();
    for (auto _ : state) {
        qsizetype n = 0;
        for (int r = 1; r <= Rows; ++r)
            for (int c = 0; c < Cols; ++c)
                n += s.Text(c, r).size();
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations() * Rows * Cols);
}
BENCHMARK(BM_StoreRead)->Unit(benchmark::kMillisecond);

} // namespace
