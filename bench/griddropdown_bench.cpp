// Preparing the grid drop-down's popup (BeforeDropDown) with UseItems on 100,000 items of three
// columns. The baseline in the same run: a string grid of the same size whose same cells are
// filled through Cells from a vector of the texts. Goal: within 1.5 times the baseline. The
// items keep all their lines in one block, made again on the first drop after a change; a
// second measurement changes one item before every drop, so that it pays for the block. A
// last one only reads every line of the items one by one, what making the block reads.
#include "grid/dropdown/ExtCustomGridDropDown.h"

#include "platform/Forms.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Items = 100000;
constexpr int Cols = 3;

UnicodeString TextOf(int Col, int Row)
{
    switch (Col) {
    case 0:
        return QStringLiteral("Port %1").arg(Row);
    case 1:
        return QString::number(Row % 9973);
    default:
        return QStringLiteral("Mapped to input %1").arg(Row % 97);
    }
}

// A drop-down on Form with the columns and the items.
TCustomExtGridDropDown *FilledDropDown(TForm *Form)
{
    auto *dd = NewDropDown<TCustomExtGridDropDown>(Form);
    dd->SetParent(Form);
    for (int c = 0; c < Cols; ++c)
        dd->Columns()->Add()->Header = QStringLiteral("C%1").arg(c);
    for (int r = 0; r < Items; ++r) {
        TStringList *lines = dd->Items()->Add()->Text();
        for (int c = 0; c < Cols; ++c)
            lines->Add(TextOf(c, r));
    }
    return dd;
}

// The popup prepared again and again; with ChangeOne a line of one item changes before each.
void PrepareAgain(benchmark::State &State, bool ChangeOne)
{
    TForm form(nullptr);
    TCustomExtGridDropDown *dd = FilledDropDown(&form);
    int n = 0;
    for (auto _ : State) {
        if (ChangeOne) {
            State.PauseTiming();
            ++n;
            dd->Items()->Items(n % Items)->Text()->SetStrings(1, QString::number(n));
            State.ResumeTiming();
        }
        dd->BeforeDropDown();
        benchmark::DoNotOptimize(dd->GetExtColGrid()->RowCount());
        State.PauseTiming();
        dd->GetExtColGrid()->SetRowCount(2);
        State.ResumeTiming();
    }
}

void BM_BeforeDropDownWithItems(benchmark::State &State)
{
    PrepareAgain(State, false);
}
BENCHMARK(BM_BeforeDropDownWithItems)->Unit(benchmark::kMillisecond);

void BM_BeforeDropDownAfterAChange(benchmark::State &State)
{
    PrepareAgain(State, true);
}
BENCHMARK(BM_BeforeDropDownAfterAChange)->Unit(benchmark::kMillisecond);

void BM_FillCellsBaseline(benchmark::State &State)
{
    TForm form(nullptr);
    auto *g = new TExtStringGrid(&form);
    g->SetParent(&form);
    g->SetColCount(Cols);
    std::vector<std::vector<UnicodeString>> texts(Items, std::vector<UnicodeString>(Cols));
    for (int r = 0; r < Items; ++r)
        for (int c = 0; c < Cols; ++c)
            texts[r][c] = TextOf(c, r);
    for (auto _ : State) {
        g->SetRowCount(Items + 1);
        for (int c = 0; c < Cols; ++c)
            g->SetCells(c, 0, QStringLiteral("C%1").arg(c));
        for (int r = 0; r < Items; ++r)
            for (int c = 0; c < Cols; ++c)
                g->SetCells(c, r + 1, texts[r][c]);
        benchmark::DoNotOptimize(g->RowCount());
        State.PauseTiming();
        g->SetRowCount(2);
        State.ResumeTiming();
    }
}
BENCHMARK(BM_FillCellsBaseline)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// Only reading every line of the items one by one, as making their block does.
void BM_ReadItemLinesFloor(benchmark::State &State)
{
    TForm form(nullptr);
    TCustomExtGridDropDown *dd = FilledDropDown(&form);
    for (auto _ : State) {
        std::size_t n = 0;
        for (int j = 0; j < Items; ++j) {
            const auto *item = dd->Items()->Items(j);
            for (int c = 0; c < Cols; ++c)
                n += item->LineView(c).size();
        }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_ReadItemLinesFloor)->Unit(benchmark::kMillisecond);
}
