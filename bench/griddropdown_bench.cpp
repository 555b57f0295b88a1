// Preparing the grid drop-down's popup (BeforeDropDown) with UseItems on 100,000 items of three
// columns. The baseline in the same run: a string grid of the same size whose same cells are
// filled through Cells from a vector of the texts. Goal: within 1.5 times the baseline. The
// items keep all their lines in one block that the first drop after a change brings up to date:
// two more measurements change a line of one item (its lines are added to the block) or replace
// an item (the block is made again) before every drop. A last one only reads every line of the
// items one by one, what making the block reads.
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

enum TChange { chNone, chLine, chItem };

// The popup prepared again and again; before each, one item's line changes (chLine) or the last
// item is replaced (chItem), so that the items' block is added to or made again.
void PrepareAgain(benchmark::State &State, TChange Change)
{
    TForm form(nullptr);
    TCustomExtGridDropDown *dd = FilledDropDown(&form);
    int n = 0;
    for (auto _ : State) {
        if (Change != chNone) {
            State.PauseTiming();
            ++n;
            if (Change == chLine) {
                dd->Items()->Items(n % Items)->Text()->SetStrings(1, QString::number(n));
            } else {
                dd->Items()->Delete(Items - 1);
                TStringList *lines = dd->Items()->Add()->Text();
                for (int c = 0; c < Cols; ++c)
                    lines->Add(TextOf(c, n));
            }
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
    PrepareAgain(State, chNone);
}
BENCHMARK(BM_BeforeDropDownWithItems)->Unit(benchmark::kMillisecond);

void BM_BeforeDropDownAfterAChange(benchmark::State &State)
{
    PrepareAgain(State, chLine);
}
BENCHMARK(BM_BeforeDropDownAfterAChange)->Unit(benchmark::kMillisecond);

void BM_BeforeDropDownAfterANewItem(benchmark::State &State)
{
    PrepareAgain(State, chItem);
}
BENCHMARK(BM_BeforeDropDownAfterANewItem)->Unit(benchmark::kMillisecond);

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
