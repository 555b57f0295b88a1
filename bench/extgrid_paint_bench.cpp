// One paint of a 1000 x 700 view of the column grid as the rule editors fill it (plain texts,
// numbers aligned by AutoNumAlign, a mini-HTML column, a data check-box column, a merged range
// every 50 rows, bands and a selection in view): on a grid of 1,000,000 rows at its top and at
// row 900,000, and on a grid of 1,000 rows at its top. A QTableView shows the same texts in the
// same run as the peer. The three grid figures should be alike (the view costs what it shows,
// not what the grid holds) and no slower than the peer.
#include "grid/core/ExtColumnGrid.h"

#include "platform/Forms.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QTableView>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

constexpr int ViewWidth = 1000;
constexpr int ViewHeight = 700;
constexpr int Cols = 10;
constexpr int ColWidth = 100;
constexpr int RowHeight = 20;
constexpr int CheckCol = 4;
constexpr int HtmlCol = 3;
constexpr int MergeCol = 7;

// The text of a body cell; column 0 is the fixed column, row 0 the header.
UnicodeString TextOf(int Col, int Row)
{
    if (Row == 0)
        return QStringLiteral("Column %1").arg(Col);
    switch (Col) {
    case 0: return QString::number(Row);
    case 1: return QStringLiteral("Item %1").arg(Row);
    case 2: return QString::number(Row * 7 % 10007);
    case HtmlCol: return QStringLiteral("<b>B%1</b> <font color=\"clRed\">red</font>").arg(Row % 97);
    case CheckCol: return Row % 3 == 0 ? QStringLiteral("Y") : QStringLiteral("N");
    case 5: return QString::number(Row % 1000 * 0.25, 'f', 2);
    default: return QStringLiteral("Text %1-%2").arg(Row % 613).arg(Col);
    }
}

struct TShownGrid {
    std::unique_ptr<TForm> Form;
    TExtColumnGrid *Grid;
    QImage Image{ViewWidth, ViewHeight, QImage::Format_ARGB32_Premultiplied};

    explicit TShownGrid(int Rows)
    {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetClientSize(ViewWidth, ViewHeight);
        Grid = new TExtColumnGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBorderStyle(bsNone);
        Grid->SetScrollBars(ssNone);
        Grid->SetBounds(0, 0, ViewWidth, ViewHeight);
        Grid->SetColCount(Cols);
        Grid->SetRowCount(Rows + 1);
        Grid->SetDefaultColWidth(ColWidth);
        Grid->SetDefaultRowHeight(RowHeight);
        Grid->SetAutoNumAlign(true);
        Grid->Columns()->Items(CheckCol)->SetEditor(edDataCheckBox);
        Grid->Bands()->SetActive(true);
        for (int r = 0; r <= Rows; ++r)
            for (int c = 0; c < Cols; ++c)
                Grid->SetCells(c, r, TextOf(c, r));
        for (int r = 1; r + 1 <= Rows; r += 50)
            Grid->MergeCells(MergeCol, r, 2, 1);
        Form->Show();
        QApplication::processEvents();
    }

    void ScrollTo(int TopRow)
    {
        Grid->SetTopRow(TopRow);
        Grid->SetSelection(TGridRect{2, TopRow + 4, 5, TopRow + 9});
        QApplication::processEvents();
    }
};

TShownGrid &GridOf(int Rows)
{
    // Never freed: the application is gone before static objects are, and windows must not
    // outlive it.
    static auto *grids = new std::map<int, std::unique_ptr<TShownGrid>>;
    auto &g = (*grids)[Rows];
    if (!g)
        g = std::make_unique<TShownGrid>(Rows);
    return *g;
}

void BM_GridPaint(benchmark::State &state)
{
    TShownGrid &sg = GridOf(int(state.range(0)));
    sg.ScrollTo(int(state.range(1)));
    QWidget *w = sg.Grid->Widget();
    for (auto _ : state) {
        w->render(&sg.Image);
        benchmark::DoNotOptimize(sg.Image.constBits());
    }
    state.counters["rows"] = double(state.range(0));
    state.counters["top"] = double(state.range(1));
}
BENCHMARK(BM_GridPaint)
    ->Args({1000000, 1})
    ->Args({1000000, 900000})
    ->Args({1000, 1})
    ->Unit(benchmark::kMicrosecond);

// The peer: the same texts from a model that answers from the same function.
class TTextModel : public QAbstractTableModel {
public:
    explicit TTextModel(int Rows) : FRows(Rows) {}
    int rowCount(const QModelIndex &) const override { return FRows; }
    int columnCount(const QModelIndex &) const override { return Cols - 1; }
    QVariant data(const QModelIndex &I, int Role) const override
    {
        const int c = I.column() + 1, r = I.row() + 1;
        if (Role == Qt::DisplayRole)
            return c == CheckCol ? QVariant() : QVariant(TextOf(c, r));
        if (Role == Qt::CheckStateRole && c == CheckCol)
            return TextOf(c, r) == QStringLiteral("Y") ? Qt::Checked : Qt::Unchecked;
        if (Role == Qt::TextAlignmentRole && (c == 2 || c == 5))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int Section, Qt::Orientation O, int Role) const override
    {
        if (Role != Qt::DisplayRole)
            return {};
        return O == Qt::Horizontal ? QVariant(TextOf(Section + 1, 0)) : QVariant(Section + 1);
    }

private:
    int FRows;
};

struct TShownTable {
    std::unique_ptr<TTextModel> Model;
    std::unique_ptr<QTableView> View;
    QImage Image{ViewWidth, ViewHeight, QImage::Format_ARGB32_Premultiplied};

    explicit TShownTable(int Rows)
    {
        Model = std::make_unique<TTextModel>(Rows);
        View = std::make_unique<QTableView>();
        View->setModel(Model.get());
        View->resize(ViewWidth, ViewHeight);
        View->setAlternatingRowColors(true);
        View->horizontalHeader()->setDefaultSectionSize(ColWidth);
        View->verticalHeader()->setDefaultSectionSize(RowHeight);
        View->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        View->verticalHeader()->setFixedWidth(ColWidth);
        View->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        View->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        for (int r = 0; r + 1 < Rows; r += 50)
            View->setSpan(r, MergeCol - 1, 1, 2);
        View->show();
        QApplication::processEvents();
    }

    void ScrollTo(int TopRow)
    {
        View->scrollTo(Model->index(TopRow, 0), QAbstractItemView::PositionAtTop);
        View->selectionModel()->select(
            QItemSelection(Model->index(TopRow + 4, 1), Model->index(TopRow + 9, 4)),
            QItemSelectionModel::ClearAndSelect);
        QApplication::processEvents();
    }
};

TShownTable &TableOf(int Rows)
{
    static auto *tables = new std::map<int, std::unique_ptr<TShownTable>>;
    auto &t = (*tables)[Rows];
    if (!t)
        t = std::make_unique<TShownTable>(Rows);
    return *t;
}

void BM_QTableViewPaint(benchmark::State &state)
{
    TShownTable &st = TableOf(int(state.range(0)));
    st.ScrollTo(int(state.range(1)) - 1);
    for (auto _ : state) {
        st.View->render(&st.Image);
        benchmark::DoNotOptimize(st.Image.constBits());
    }
    state.counters["rows"] = double(state.range(0));
    state.counters["top"] = double(state.range(1));
}
BENCHMARK(BM_QTableViewPaint)
    ->Args({1000000, 1})
    ->Args({1000000, 900000})
    ->Args({1000, 1})
    ->Unit(benchmark::kMicrosecond);

} // namespace
