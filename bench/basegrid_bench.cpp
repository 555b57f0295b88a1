// The base grid beside the platform string grid it stands on: reading every cell of a million
// rows through Cells, and painting one 1000 x 700 viewport (selection look, merged ranges) at
// the top and far down, against the platform grid's own painting of the same cells.
#include "controls/BaseGrid.h"

#include "platform/Forms.h"
#include "platform/Grids.h"

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

constexpr int Cols = 10;
constexpr int Rows = 1000000;
constexpr int ViewWidth = 1000;
constexpr int ViewHeight = 700;

struct TTextBuf {
    char16_t Chars[16];
    QStringView Make(int c, int r)
    {
        static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
        unsigned v = unsigned(r * 16 + c);
        int n = 16;
        do {
            Chars[--n] = char16_t(digits[v % 36]);
            v /= 36;
        } while (v);
        return QStringView(Chars + n, 16 - n);
    }
};

template <typename TGrid>
TGrid &MakeShownGrid()
{
    auto *form = new TForm(nullptr);
    form->SetClientSize(ViewWidth, ViewHeight);
    auto *g = new TGrid(form);
    g->SetParent(form);
    g->SetBounds(0, 0, ViewWidth, ViewHeight);
    g->SetColCount(Cols);
    g->SetRowCount(Rows);
    g->SetDefaultColWidth(99);
    TTextBuf buf;
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            g->Store().SetText(c, r, buf.Make(c, r));
    form->Show();
    QApplication::processEvents();
    return *g;
}

TBaseGrid &BaseGrid()
{
    static TBaseGrid *g = [] {
        TBaseGrid &b = MakeShownGrid<TBaseGrid>();
        TGridOptions o = b.Options();
        o << goRangeSelect << goDrawFocusSelected;
        b.SetOptions(o);
        b.SetSelectionStyle(ssVista);
        // Merged ranges in both views painted.
        for (int top : {1, 900001})
            for (int i = 0; i < 20; i += 5) {
                b.MergeCells(1, top + i, 2, 3);
                b.MergeCells(6, top + i + 1, 3, 2);
            }
        return &b;
    }();
    return *g;
}

// A grid of plain cells, as most of the program's grids are: no cell has properties.
TBaseGrid &PlainGrid()
{
    static TBaseGrid *g = [] {
        auto *p = new TBaseGrid(nullptr);
        p->SetColCount(Cols);
        p->SetRowCount(Rows);
        TTextBuf buf;
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Cols; ++c)
                p->Store().SetText(c, r, buf.Make(c, r));
        return p;
    }();
    return *g;
}

TStringGrid &PlatformGrid()
{
    static TStringGrid *g = &MakeShownGrid<TStringGrid>();
    return *g;
}

// Every cell of the grid read through the base grid's Cells (merge check, hooks), and the
// same cells through the platform grid's own Cells on the same store.
template <typename TGrid>
void ReadAll(benchmark::State &state, TGrid &g)
{
    for (auto _ : state) {
        qsizetype n = 0;
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Cols; ++c)
                n += g.Cells(c, r).size();
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations() * Rows * Cols);
}

void BM_BaseGridCellsRead(benchmark::State &state)
{
    ReadAll(state, PlainGrid());
}
BENCHMARK(BM_BaseGridCellsRead)->Unit(benchmark::kMillisecond);

void BM_PlatformCellsRead(benchmark::State &state)
{
    ReadAll(state, static_cast<TStringGrid &>(PlainGrid()));
}
BENCHMARK(BM_PlatformCellsRead)->Unit(benchmark::kMillisecond);

// The same read on a grid where a few ranges are merged, so that every cell's slot is looked at.
void BM_BaseGridCellsReadWithMerges(benchmark::State &state)
{
    ReadAll(state, BaseGrid());
}
BENCHMARK(BM_BaseGridCellsReadWithMerges)->Unit(benchmark::kMillisecond);

template <typename TGrid>
void PaintViewport(benchmark::State &state, TGrid &g)
{
    const int top = int(state.range(0)) + 1;
    g.SetTopRow(top);
    g.SetSelection({2, top + 2, 5, top + 6});
    QImage img(ViewWidth, ViewHeight, QImage::Format_ARGB32_Premultiplied);
    QWidget *w = g.Widget();
    for (auto _ : state)
        w->render(&img);
    state.counters["top_row"] = g.TopRow();
    state.counters["rows_visible"] = g.VisibleRowCount();
}

void BM_BaseGridPaintViewport(benchmark::State &state)
{
    PaintViewport(state, BaseGrid());
}
BENCHMARK(BM_BaseGridPaintViewport)->Arg(0)->Arg(900000)->Unit(benchmark::kMicrosecond);

void BM_PlatformGridPaintViewport(benchmark::State &state)
{
    PaintViewport(state, PlatformGrid());
}
BENCHMARK(BM_PlatformGridPaintViewport)->Arg(0)->Arg(900000)->Unit(benchmark::kMicrosecond);

} // namespace
