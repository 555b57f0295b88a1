// Sizing one column of a shown grid of 100,000 rows to its content (AutoSizeCol), for a column
// of short and one of long single-line texts. The peer in the same run: a QTableView over a
// model with the same texts in the same font, its column sized to its contents with every row
// measured (resize precision -1). Goal: AutoSizeCol no slower than the peer.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QTableView>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Rows = 100000;
constexpr int ShortCol = 1;
constexpr int LongCol = 2;

UnicodeString TextOf(int Col, int Row)
{
    if (Row == 0)
        return Col == ShortCol ? QStringLiteral("Short") : QStringLiteral("Long");
    if (Col == ShortCol)
        return QString::number(Row % 9973);
    return QStringLiteral("Parameter %1 of the slave access rule, mapped to input %2").arg(Row % 613).arg(Row % 97);
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
        Grid->SetColCount(3);
        Grid->SetRowCount(Rows + 1);
        for (int r = 0; r <= Rows; ++r) {
            Grid->SetCells(ShortCol, r, TextOf(ShortCol, r));
            Grid->SetCells(LongCol, r, TextOf(LongCol, r));
        }
        Form->Show();
        QApplication::processEvents();
    }
};

TShownGrid &Shown()
{
    // Never freed: the application is gone before static objects are, and windows must not
    // outlive it.
    static auto *g = new TShownGrid();
    return *g;
}

void BM_AutoSizeCol(benchmark::State &state)
{
    TShownGrid &sg = Shown();
    const int col = int(state.range(0));
    for (auto _ : state) {
        sg.Grid->SetColWidths(col, 10);
        sg.Grid->AutoSizeCol(col, 0);
        benchmark::DoNotOptimize(sg.Grid->ColWidths(col));
    }
    state.counters["width"] = sg.Grid->ColWidths(col);
}
BENCHMARK(BM_AutoSizeCol)->Arg(ShortCol)->Arg(LongCol)->Unit(benchmark::kMillisecond);

class TTextModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex &) const override { return Rows; }
    int columnCount(const QModelIndex &) const override { return 2; }
    QVariant data(const QModelIndex &I, int Role) const override
    {
        if (Role == Qt::DisplayRole)
            return TextOf(I.column() + 1, I.row() + 1);
        return {};
    }
    QVariant headerData(int Section, Qt::Orientation O, int Role) const override
    {
        if (Role != Qt::DisplayRole)
            return {};
        return O == Qt::Horizontal ? QVariant(TextOf(Section + 1, 0)) : QVariant(Section + 1);
    }
};

struct TShownTable {
    TTextModel Model;
    std::unique_ptr<QTableView> View;

    TShownTable()
    {
        View = std::make_unique<QTableView>();
        View->setModel(&Model);
        View->setFont(Shown().Grid->Font()->QtFont());
        View->resize(800, 600);
        View->horizontalHeader()->setResizeContentsPrecision(-1);
        View->verticalHeader()->setResizeContentsPrecision(-1);
        View->show();
        QApplication::processEvents();
    }
};

TShownTable &Table()
{
    static auto *t = new TShownTable();
    return *t;
}

void BM_QTableViewResizeToContents(benchmark::State &state)
{
    TShownTable &st = Table();
    const int col = int(state.range(0)) - 1;
    for (auto _ : state) {
        st.View->setColumnWidth(col, 10);
        st.View->resizeColumnToContents(col);
        benchmark::DoNotOptimize(st.View->columnWidth(col));
    }
    state.counters["width"] = st.View->columnWidth(col);
}
BENCHMARK(BM_QTableViewResizeToContents)->Arg(ShortCol)->Arg(LongCol)->Unit(benchmark::kMillisecond);

} // namespace
