// The grid's data files on a grid of 1,000,000 rows and 10 columns, beside the plain way of doing
// the same job in the same program: the file read whole, decoded, split at CR LF and commas and
// the texts put into a cell store; and the same store's texts joined with commas and CR LF and
// written. Both sides write through the same atomic file writer, so that the figures compare the
// work of the formats, not the disk. The grid's own text file and binary cell stream of the same
// grid are measured beside.
#include "grid/core/ExtGrid.h"
#include "platform/Encoding.h"
#include "platform/FileUtils.h"
#include "platform/Forms.h"
#include "platform/GridStore.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Rows = 1000000;
constexpr int Cols = 10;

struct TFixture {
    QTemporaryDir Dir;
    QString Csv;
    std::unique_ptr<TExtStringGrid> Grid;
    TGridStore Store;

    TFixture()
    {
        Csv = Dir.filePath(QStringLiteral("data.csv"));
        QString text;
        text.reserve(qsizetype(Rows) * Cols * 9);
        for (int r = 0; r < Rows; ++r) {
            for (int c = 0; c < Cols; ++c) {
                if (c > 0)
                    text += u',';
                text += c % 3 == 0 ? QString::number(r * 7 + c) : QStringLiteral("t%1x%2").arg(r % 977).arg(c);
            }
            text += QLatin1String("\r\n");
        }
        WriteFileAtomic(Csv, TEncoding::ANSI()->GetBytes(text));
    }
};

TFixture &Data()
{
    static TFixture f;
    return f;
}

TExtStringGrid &LoadedGrid()
{
    TFixture &f = Data();
    if (!f.Grid) {
        f.Grid = std::make_unique<TExtStringGrid>(nullptr);
        f.Grid->LoadFromCSV(f.Csv);
    }
    return *f.Grid;
}

// ---- CSV: the grid ----

void BM_LoadFromCSV(benchmark::State &State)
{
    const QString file = Data().Csv;
    for (auto _ : State) {
        TExtStringGrid g(nullptr);
        g.LoadFromCSV(file);
        benchmark::DoNotOptimize(g.RowCount());
    }
}

void BM_SaveToCSV(benchmark::State &State)
{
    TExtStringGrid &g = LoadedGrid();
    const QString out = Data().Dir.filePath(QStringLiteral("grid.csv"));
    for (auto _ : State)
        g.SaveToCSV(out);
}

// ---- CSV: the plain way ----

void RawLoad(const QString &File, TGridStore &Store)
{
    const QString text = TEncoding::ANSI()->GetString(ReadFileBytes(File, Int64(1) << 30));
    const QChar *d = text.constData();
    const qsizetype n = text.size();
    int row = 0, col = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ch = d[i].unicode();
        if (ch == u',') {
            Store.SetText(col++, row, QStringView(d + start, i - start));
            start = i + 1;
        } else if (ch == u'\r' && i + 1 < n && d[i + 1] == u'\n') {
            Store.SetText(col, row, QStringView(d + start, i - start));
            ++row;
            col = 0;
            ++i;
            start = i + 1;
        }
    }
}

void BM_RawCSVLoad(benchmark::State &State)
{
    const QString file = Data().Csv;
    for (auto _ : State) {
        TGridStore s;
        s.SetColumnHint(Cols);
        RawLoad(file, s);
        benchmark::DoNotOptimize(s.RowCount());
    }
}

void BM_RawCSVSave(benchmark::State &State)
{
    TFixture &f = Data();
    if (f.Store.RowCount() == 0) {
        f.Store.SetColumnHint(Cols);
        RawLoad(f.Csv, f.Store);
    }
    const QString out = f.Dir.filePath(QStringLiteral("raw.csv"));
    for (auto _ : State) {
        QString text;
        for (int r = 0; r < f.Store.RowCount(); ++r) {
            for (int c = 0; c < Cols; ++c) {
                if (c > 0)
                    text += u',';
                text += f.Store.Text(c, r);
            }
            text += QLatin1String("\r\n");
        }
        WriteFileAtomic(out, TEncoding::ANSI()->GetBytes(text));
    }
}

// ---- the grid's own formats, for comparison ----

void BM_SaveToFile(benchmark::State &State)
{
    TExtStringGrid &g = LoadedGrid();
    const QString out = Data().Dir.filePath(QStringLiteral("grid.txt"));
    for (auto _ : State)
        g.SaveToFile(out);
}

void BM_LoadFromFile(benchmark::State &State)
{
    TExtStringGrid &g = LoadedGrid();
    const QString file = Data().Dir.filePath(QStringLiteral("grid.txt"));
    g.SaveToFile(file);
    for (auto _ : State) {
        TExtStringGrid h(nullptr);
        h.LoadFromFile(file);
        benchmark::DoNotOptimize(h.RowCount());
    }
}

void BM_SaveToBinStream(benchmark::State &State)
{
    TExtStringGrid &g = LoadedGrid();
    for (auto _ : State) {
        TMemoryStream s;
        g.SaveToBinStream(&s);
        benchmark::DoNotOptimize(s.Size());
    }
}

void BM_LoadFromBinStream(benchmark::State &State)
{
    TExtStringGrid &g = LoadedGrid();
    TMemoryStream s;
    g.SaveToBinStream(&s);
    for (auto _ : State) {
        s.SetPosition(0);
        TExtStringGrid h(nullptr);
        h.LoadFromBinStream(&s);
        benchmark::DoNotOptimize(h.RowCount());
    }
}

} // namespace

BENCHMARK(BM_RawCSVLoad)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LoadFromCSV)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RawCSVSave)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SaveToCSV)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SaveToBinStream)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LoadFromBinStream)->Unit(benchmark::kMillisecond)->Iterations(1);
