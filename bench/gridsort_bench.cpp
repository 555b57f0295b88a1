// Sorting and narrowing a string grid of a million rows, beside the plain way of doing the same
// jobs in the same program and beside Qt's proxy model over an item model with the same data.
//
// The plain way holds the same texts in a std::vector; in the timed region it takes the keys
// (shared copies of the texts, numbers parsed once), and std::stable_sort orders an index vector
// with the same comparison the grid applies (ordinal text order; numbers by value). Its narrowing
// is one pass over the texts testing containment with the grid's case rule (both sides
// upper-cased), collecting the rows that fail.
//
// The grid's side is QSort on a text and on a number column (automatic detection on, as a grid
// starts), the same sorts started as a user starts them (a click on the column's header, pressed
// and released as window messages) and NarrowDown with a "contains" condition; between runs the
// grid is put back (QUnSort, RemoveAllFilters) outside the timed region.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/Messages.h"

#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

namespace {

constexpr int N = 1000000;
const QString Needle = QStringLiteral("ab");

struct TData {
    std::vector<QString> Texts;
    std::vector<QString> Numbers;
};

const TData &Data()
{
    static const TData d = [] {
        TData r;
        std::mt19937 rng(1234);
        r.Texts.reserve(N);
        r.Numbers.reserve(N);
        for (int i = 0; i < N; ++i) {
            QString t;
            const int len = 6 + int(rng() % 6);
            for (int k = 0; k < len; ++k) {
                const unsigned c = rng() % 27;
                t += c == 26 ? QChar(u' ') : QChar(char16_t((k % 3 == 0 ? u'A' : u'a') + c));
            }
            r.Texts.push_back(t);
            r.Numbers.push_back(QString::number(int(rng() % 2000000) - 1000000));
        }
        return r;
    }();
    return d;
}

// Column 0 the texts, column 1 the numbers, one header row.
TExtStringGrid &Grid()
{
    static TExtStringGrid *g = [] {
        auto *grid = new TExtStringGrid(nullptr);
        grid->SetColCount(2);
        grid->SetFixedCols(0);
        grid->SetRowCount(N + 1);
        const TData &d = Data();
        for (int i = 0; i < N; ++i) {
            grid->Store().SetText(0, i + 1, d.Texts[std::size_t(i)]);
            grid->Store().SetText(1, i + 1, d.Numbers[std::size_t(i)]);
        }
        grid->SortSettings()->Full = false;
        return grid;
    }();
    return *g;
}

void GridSort(benchmark::State &State, int Col)
{
    TExtStringGrid &g = Grid();
    for (auto _ : State) {
        g.Sort(Col, sdAscending);
        State.PauseTiming();
        g.QUnSort();
        State.ResumeTiming();
    }
}

// The same grid on a shown form, with the sort glyph on so that a header click sorts.
TExtStringGrid &ShownGrid()
{
    static TExtStringGrid *g = [] {
        auto *form = new TForm(nullptr);
        form->SetBounds(0, 0, 400, 300);
        TExtStringGrid *grid = &Grid();
        grid->SetParent(form);
        grid->SetBounds(0, 0, 380, 280);
        grid->SortSettings()->Show = true;
        form->Show();
        return grid;
    }();
    return *g;
}

void GridHeaderClick(benchmark::State &State, int Col)
{
    TExtStringGrid &g = ShownGrid();
    const TRect r = g.CellRect(Col, 0);
    const LPARAM at = MakeLParam((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    for (auto _ : State) {
        g.Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
        g.Perform(WM_LBUTTONUP, 0, at);
        State.PauseTiming();
        g.SortSettings()->Column = -1;
        g.QUnSort();
        State.ResumeTiming();
    }
}

void BM_GridSortText(benchmark::State &State) { GridSort(State, 0); }
void BM_GridHeaderClickText(benchmark::State &State) { GridHeaderClick(State, 0); }
void BM_GridHeaderClickNumber(benchmark::State &State) { GridHeaderClick(State, 1); }
void BM_GridSortNumber(benchmark::State &State) { GridSort(State, 1); }

void BM_RawSortText(benchmark::State &State)
{
    const auto &texts = Data().Texts;
    for (auto _ : State) {
        std::vector<QString> keys(texts.begin(), texts.end());
        std::vector<int> idx(keys.size());
        std::iota(idx.begin(), idx.end(), 0);
        std::stable_sort(idx.begin(), idx.end(), [&](int a, int b) {
            return QStringView(keys[std::size_t(a)]).compare(QStringView(keys[std::size_t(b)])) < 0;
        });
        benchmark::DoNotOptimize(idx.data());
    }
}

void BM_RawSortNumber(benchmark::State &State)
{
    const auto &texts = Data().Numbers;
    for (auto _ : State) {
        std::vector<double> keys(texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i)
            keys[i] = texts[i].toDouble();
        std::vector<int> idx(keys.size());
        std::iota(idx.begin(), idx.end(), 0);
        std::stable_sort(idx.begin(), idx.end(),
                         [&](int a, int b) { return keys[std::size_t(a)] < keys[std::size_t(b)]; });
        benchmark::DoNotOptimize(idx.data());
    }
}

void ProxySort(benchmark::State &State, bool Numbers)
{
    QStandardItemModel model(N, 1);
    const TData &d = Data();
    for (int i = 0; i < N; ++i) {
        auto *item = new QStandardItem;
        if (Numbers)
            item->setData(d.Numbers[std::size_t(i)].toDouble(), Qt::DisplayRole);
        else
            item->setData(d.Texts[std::size_t(i)], Qt::DisplayRole);
        model.setItem(i, 0, item);
    }
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    for (auto _ : State) {
        proxy.sort(0, Qt::AscendingOrder);
        State.PauseTiming();
        proxy.sort(-1);
        State.ResumeTiming();
    }
}

void BM_ProxySortText(benchmark::State &State) { ProxySort(State, false); }
void BM_ProxySortNumber(benchmark::State &State) { ProxySort(State, true); }

void BM_GridNarrowDown(benchmark::State &State)
{
    TExtStringGrid &g = Grid();
    for (auto _ : State) {
        g.NarrowDown(Needle, 0);
        State.PauseTiming();
        benchmark::DoNotOptimize(g.RowCount());
        g.NarrowDown(QString(), 0);
        State.ResumeTiming();
    }
}

// The test of NarrowDown alone: the same condition with every row accepted afterwards by the
// custom filter, so that nothing goes into the hidden-row store.
void BM_GridNarrowScanOnly(benchmark::State &State)
{
    TExtStringGrid &g = Grid();
    g.Filter()->Clear();
    TFilterData *f = g.Filter()->Add();
    f->CaseSensitive = false;
    f->Column = 0;
    f->Data = fcNormal;
    f->Condition = QLatin1Char('*') + Needle + QLatin1Char('*');
    g.OnCustomFilter = [](TObject *, int, bool &Accept) { Accept = true; };
    for (auto _ : State) {
        g.ApplyFilter();
        State.PauseTiming();
        g.RemoveLastFilter();
        State.ResumeTiming();
    }
    g.OnCustomFilter = nullptr;
    g.Filter()->Clear();
}

void BM_RawNarrowScan(benchmark::State &State)
{
    const auto &texts = Data().Texts;
    for (auto _ : State) {
        std::vector<int> failing;
        for (std::size_t i = 0; i < texts.size(); ++i)
            if (!QStringView(texts[i]).contains(Needle, Qt::CaseInsensitive))
                failing.push_back(int(i) + 1);
        benchmark::DoNotOptimize(failing.data());
    }
}

void BM_ProxyFixedStringFilter(benchmark::State &State)
{
    QStandardItemModel model(N, 1);
    const TData &d = Data();
    for (int i = 0; i < N; ++i)
        model.setItem(i, 0, new QStandardItem(d.Texts[std::size_t(i)]));
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);
    for (auto _ : State) {
        proxy.setFilterFixedString(Needle);
        benchmark::DoNotOptimize(proxy.rowCount());
        State.PauseTiming();
        proxy.setFilterFixedString(QString());
        State.ResumeTiming();
    }
}

BENCHMARK(BM_GridSortText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RawSortText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ProxySortText)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_GridHeaderClickText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridSortNumber)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RawSortNumber)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ProxySortNumber)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_GridHeaderClickNumber)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridNarrowDown)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridNarrowScanOnly)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RawNarrowScan)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ProxyFixedStringFilter)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
