// Mini-HTML cells: 10,000 cells of typical rich text (bold, a colour, a link, a break, about 60
// characters) wrapped in 150 x 40 pixel rectangles, drawn onto a bitmap by RenderHtmlText and, in
// the same run, by Qt's QTextDocument from the same HTML into the same rectangles; and the
// renderer's measure-only pass over the same cells.
#include "controls/MiniHTML.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr int Cells = 10000;
constexpr int CellW = 150;
constexpr int CellH = 40;
constexpr int Columns = 10;
constexpr int Rows = 10; // the bitmap holds 100 cells; the run cycles over it

// Markup that both renderers read alike; each cell gets its own number.
std::vector<QString> CellTexts()
{
    std::vector<QString> texts;
    texts.reserve(Cells);
    for (int i = 0; i < Cells; ++i)
        texts.push_back(QStringLiteral("Order <b>%1</b> for <font color=\"#FF0000\">ACME Corp</font><br>"
                                       "see <a href=\"o%1\">details</a> of the shipment")
                            .arg(10000 + i));
    return texts;
}

TRect CellRect(int i)
{
    const int c = (i % (Columns * Rows)) % Columns;
    const int r = (i % (Columns * Rows)) / Columns;
    return TRect(c * CellW, r * CellH, (c + 1) * CellW, (r + 1) * CellH);
}

void RenderCells(benchmark::State &State, bool MeasureOnly)
{
    const std::vector<QString> texts = CellTexts();
    TBitmap bmp(Columns * CellW, Rows * CellH);
    bmp.Canvas()->Font()->SetName(QStringLiteral("DejaVu Sans"));
    bmp.Canvas()->Font()->SetHeight(-11);
    THtmlRenderParams p;
    p.Canvas = bmp.Canvas();
    p.WordWrap = true;
    p.MeasureOnly = MeasureOnly;
    long long extent = 0;
    for (auto _ : State) {
        for (int i = 0; i < Cells; ++i) {
            p.Text = texts[static_cast<size_t>(i)];
            p.Rect = CellRect(i);
            p.HitAnchor.clear();
            RenderHtmlText(p);
            extent += p.ExtentY;
        }
    }
    benchmark::DoNotOptimize(extent);
    State.SetItemsProcessed(State.iterations() * Cells);
}

void BM_RenderHtmlText(benchmark::State &State) { RenderCells(State, false); }
void BM_RenderHtmlTextMeasureOnly(benchmark::State &State) { RenderCells(State, true); }

void BM_QTextDocument(benchmark::State &State)
{
    const std::vector<QString> texts = CellTexts();
    QImage img(Columns * CellW, Rows * CellH, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    QPainter painter(&img);
    // Text drawn as the canvas draws it: without smoothing.
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    // One document set up once and given each cell's text, as a grid would reuse it.
    QTextDocument doc;
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setTextWidth(CellW);
    for (auto _ : State) {
        for (int i = 0; i < Cells; ++i) {
            doc.setHtml(texts[static_cast<size_t>(i)]);
            const TRect r = CellRect(i);
            painter.save();
            painter.translate(r.Left, r.Top);
            doc.drawContents(&painter, QRectF(0, 0, CellW, CellH));
            painter.restore();
        }
    }
    if (doc.documentMargin() != 0 || doc.textWidth() != CellW)
        State.SkipWithError("the document lost its setup");
    State.SetItemsProcessed(State.iterations() * Cells);
}

BENCHMARK(BM_RenderHtmlText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderHtmlTextMeasureOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTextDocument)->Unit(benchmark::kMillisecond);

} // namespace
