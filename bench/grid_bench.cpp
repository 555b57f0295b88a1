// Cell store and painting of the string grid, beside the same jobs done with Qt's item model and
// table view for comparison.
//
// Most of a large fill's time goes into touching fresh memory, so a fill's figure depends on what
// the runs before it left in the heap: compare the 1,000,000-row fills each in a process of its
// own (--benchmark_filter=BM_StoreFill/1000000 and so on).
#include "platform/GridStore.h"
#include "platform/Forms.h"
#include "platform/Grids.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int Cols = 10;

// Short, distinct texts as a rule table holds them.
inline QString ShortText(int c, int r) { return QString::number(r * 16 + c, 36); }

// The same texts written into a caller's buffer, for fills that copy characters anyway.
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

// Heap pieces and the large blocks malloc maps on its own.
std::size_t HeapInUse()
{
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

void BM_TextsOnly(benchmark::State &state)
{
    const int rows = int(state.range(0));
    for (auto _ : state) {
        std::size_t n = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < Cols; ++c)
                n += std::size_t(ShortText(c, r).size());
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_TextsOnly)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_StoreFill(benchmark::State &state)
{
    const int rows = int(state.range(0));
    double bytesPerCell = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::size_t before = HeapInUse();
        state.ResumeTiming();
        auto s = std::make_unique<TGridStore>();
        s->SetColumnHint(Cols);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < Cols; ++c)
                s->SetText(c, r, ShortText(c, r));
        state.PauseTiming();
        bytesPerCell = double(HeapInUse() - before) / (double(rows) * Cols);
        s.reset();
        state.ResumeTiming();
    }
    state.counters["heap_bytes_per_cell"] = bytesPerCell;
}
BENCHMARK(BM_StoreFill)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Filling from characters in a buffer: the store copies them into its row blocks, the model has
// to make a string of its own for every cell.
void BM_StoreFillFromBuffer(benchmark::State &state)
{
    const int rows = int(state.range(0));
    TTextBuf buf;
    for (auto _ : state) {
        auto s = std::make_unique<TGridStore>();
        s->SetColumnHint(Cols);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < Cols; ++c)
                s->SetText(c, r, buf.Make(c, r));
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StoreFillFromBuffer)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ModelFillFromBuffer(benchmark::State &state)
{
    const int rows = int(state.range(0));
    TTextBuf buf;
    for (auto _ : state) {
        auto m = std::make_unique<QStandardItemModel>(rows, Cols);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < Cols; ++c)
                m->setItem(r, c, new QStandardItem(buf.Make(c, r).toString()));
        state.PauseTiming();
        m.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ModelFillFromBuffer)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ModelFill(benchmark::State &state)
{
    const int rows = int(state.range(0));
    double bytesPerCell = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::size_t before = HeapInUse();
        state.ResumeTiming();
        auto m = std::make_unique<QStandardItemModel>(rows, Cols);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < Cols; ++c)
                m->setItem(r, c, new QStandardItem(ShortText(c, r)));
        state.PauseTiming();
        bytesPerCell = double(HeapInUse() - before) / (double(rows) * Cols);
        m.reset();
        state.ResumeTiming();
    }
    state.counters["heap_bytes_per_cell"] = bytesPerCell;
}
BENCHMARK(BM_ModelFill)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

TGridStore &FilledStore()
{
    static TGridStore *s = [] {
        auto *p = new TGridStore;
        p->SetColumnHint(Cols);
        for (int r = 0; r < 1000000; ++r)
            for (int c = 0; c < Cols; ++c)
                p->SetText(c, r, ShortText(c, r));
        return p;
    }();
    return *s;
}

QStandardItemModel &FilledModel()
{
    static QStandardItemModel *m = [] {
        auto *p = new QStandardItemModel(1000000, Cols);
        for (int r = 0; r < 1000000; ++r)
            for (int c = 0; c < Cols; ++c)
                p->setItem(r, c, new QStandardItem(ShortText(c, r)));
        return p;
    }();
    return *m;
}

void BM_StoreReadAll(benchmark::State &state)
{
    TGridStore &s = FilledStore();
    for (auto _ : state) {
        std::size_t n = 0;
        for (int r = 0; r < 1000000; ++r)
            for (int c = 0; c < Cols; ++c) {
                UnicodeString t = s.Text(c, r);
                n += std::size_t(t.size());
            }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_StoreReadAll)->Unit(benchmark::kMillisecond);

void BM_ModelReadAll(benchmark::State &state)
{
    QStandardItemModel &m = FilledModel();
    for (auto _ : state) {
        std::size_t n = 0;
        for (int r = 0; r < 1000000; ++r)
            for (int c = 0; c < Cols; ++c)
                n += std::size_t(m.item(r, c)->text().size());
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_ModelReadAll)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_StoreInsertDeleteNearTop(benchmark::State &state)
{
    TGridStore &s = FilledStore();
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            s.InsertRows(5 + i % 7, 1);
            s.SetText(0, 5 + i % 7, QStringLiteral("new"));
        }
        for (int i = 0; i < 1000; ++i)
            s.DeleteRows(5 + i % 7, 1);
    }
}
BENCHMARK(BM_StoreInsertDeleteNearTop)->Unit(benchmark::kMillisecond);

void BM_ModelInsertDeleteNearTop(benchmark::State &state)
{
    QStandardItemModel &m = FilledModel();
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            m.insertRow(5 + i % 7);
            m.setItem(5 + i % 7, 0, new QStandardItem(QStringLiteral("new")));
        }
        for (int i = 0; i < 1000; ++i)
            m.removeRow(5 + i % 7);
    }
}
BENCHMARK(BM_ModelInsertDeleteNearTop)->Unit(benchmark::kMillisecond)->Iterations(2);

// ---- painting one 1000 x 700 viewport ----

constexpr int ViewWidth = 1000;
constexpr int ViewHeight = 700;

TStringGrid &FilledGrid()
{
    static TStringGrid *g = [] {
        // On a shown form, as the program has it, so that the window has the grid's size.
        auto *form = new TForm(nullptr);
        form->SetClientSize(ViewWidth, ViewHeight);
        auto *p = new TStringGrid(form);
        p->SetParent(form);
        p->SetBounds(0, 0, ViewWidth, ViewHeight);
        p->SetColCount(Cols);
        p->SetRowCount(1000000);
        p->SetDefaultColWidth(99);
        TTextBuf buf;
        for (int r = 0; r < 1000000; ++r)
            for (int c = 0; c < Cols; ++c)
                p->Store().SetText(c, r, buf.Make(c, r));
        form->Show();
        QApplication::processEvents();
        return p;
    }();
    return *g;
}

void BM_GridPaintViewport(benchmark::State &state)
{
    TStringGrid &g = FilledGrid();
    g.SetTopRow(int(state.range(0)) + 1);
    QImage img(ViewWidth, ViewHeight, QImage::Format_ARGB32_Premultiplied);
    QWidget *w = g.Widget();
    for (auto _ : state)
        w->render(&img);
    state.counters["top_row"] = g.TopRow();
    state.counters["rows_visible"] = g.VisibleRowCount();
    state.counters["window_w"] = w->width();
    state.counters["window_h"] = w->height();
}
BENCHMARK(BM_GridPaintViewport)->Arg(0)->Arg(900000)->Unit(benchmark::kMicrosecond);

QTableView &FilledTableView()
{
    static QTableView *v = [] {
        auto *p = new QTableView;
        p->setModel(&FilledModel());
        p->resize(ViewWidth, ViewHeight);
        p->horizontalHeader()->setDefaultSectionSize(100);
        p->verticalHeader()->setDefaultSectionSize(25);
        p->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        p->show();
        QApplication::processEvents();
        return p;
    }();
    return *v;
}

void BM_TableViewPaintViewport(benchmark::State &state)
{
    QTableView &v = FilledTableView();
    v.verticalScrollBar()->setValue(int(state.range(0)));
    QApplication::processEvents();
    QImage img(ViewWidth, ViewHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        v.render(&img);
    state.counters["top_row"] = v.rowAt(v.viewport()->height() / 50);
    state.counters["window_w"] = v.width();
    state.counters["window_h"] = v.height();
}
BENCHMARK(BM_TableViewPaintViewport)->Arg(0)->Arg(900000)->Unit(benchmark::kMicrosecond);

} // namespace
