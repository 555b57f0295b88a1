// The room a cell's graphic takes on screen and on paper, which painting, auto-sizing and
// printing use to divide a cell between graphic and text; and the small display queries that go
// with it.

#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "platform/ImgList.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cmath>

namespace {

bool BesideText(const TCellGraphic *G) { return G->CellHAlign() == haBeforeText || G->CellHAlign() == haAfterText; }
bool WithText(const TCellGraphic *G) { return G->CellVAlign() == vaUnderText || G->CellVAlign() == vaAboveText; }

bool IsCheckType(TCellType T)
{
    return T == ctCheckBox || T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox || T == ctTriStateCheckBox;
}

} // namespace

TPoint TExtStringGrid::GetCellGraphicSize(int ACol, int ARow)
{
    TPoint p;
    CalcCellGraphicSize(ACol, ARow, p, 0);
    return p;
}

void TExtStringGrid::CalcCellGraphicSize(int ACol, int ARow, TPoint &Size, int ReserveHeight)
{
    Size = TPoint(0, 0);
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return;
    const bool hasText = !Cells(ACol, ARow).isEmpty();
    auto *images = dynamic_cast<TCustomImageList *>(GetGridImageList());
    TCanvas *canvas = Canvas();
    canvas->Font()->Assign(Font());
    const int cellW = ACol >= 0 && ACol < ColCount() ? ColWidths(ACol) : 0;
    const int cellH = ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : 0;
    int w = 0, h = 0;
    bool fullH = g->CellHAlign() == haFull;
    switch (g->CellType()) {
    case ctBitmap:
        if (TBitmap *b = g->CellBitmap()) {
            w = BesideText(g) || !hasText ? b->Width() : 0;
            h = WithText(g) || !hasText ? b->Height() : 0;
        }
        break;
    case ctIcon:
        if (TIcon *i = g->CellIcon()) {
            w = BesideText(g) || !hasText ? i->Width() : 0;
            h = i->Height();
        }
        break;
    case ctImageList:
    case ctDataImage:
        if (images) {
            w = BesideText(g) || !hasText ? images->Width() : 0;
            h = WithText(g) || !hasText ? images->Height() : 0;
        }
        break;
    case ctPicture:
    case ctFilePicture: {
        const TPoint p = g->GetPictureSize(cellW - 1 - GetTotalXOffset(), cellH - 1 - GetTotalYOffset() - ReserveHeight, hasText);
        w = p.X;
        h = p.Y;
        break;
    }
    case ctButton:
    case ctBitButton: {
        w = g->CellIndex() & 0xFFFF;
        h = (g->CellIndex() >> 16) & 0xFFFF;
        if (hasText) {
            if (g->CellHAlign() == haCenter)
                w = 0;
            else if (g->CellHAlign() == haFull)
                w = canvas->TextWidth(g->CellText()) + 4;
            if (WithText(g))
                w = 0;
            else
                h = 0;
        } else if (g->CellHAlign() == haFull) {
            w = canvas->TextWidth(g->CellText()) + 4;
            // A captioned button keeps its caption's width.
            fullH = g->CellText().isEmpty();
        }
        break;
    }
    case ctRadioButton:
        w = h = FControlLook->RadioSize;
        break;
    case ctProgressPie:
        w = h = 20;
        break;
    case ctRadio:
        if (auto *texts = dynamic_cast<TStrings *>(g->CellObject())) {
            const int th = canvas->TextHeight(QStringLiteral("gh"));
            if (g->CellBoolean()) {
                for (int i = 0; i < texts->Count(); ++i)
                    w += canvas->TextWidth(texts->Strings(i)) + 12;
                h = th;
            } else {
                w = 12;
                for (int i = 0; i < texts->Count(); ++i)
                    w = std::max(w, canvas->TextWidth(texts->Strings(i)) + 12);
                h = std::max(16, th) * texts->Count();
            }
        }
        break;
    case ctImages:
        if (auto *list = dynamic_cast<TIntList *>(g->CellObject()); list && images) {
            if (g->CellBoolean()) {
                w = list->Count() * images->Width();
                h = images->Height();
            } else {
                w = images->Width();
                h = list->Count() * images->Height();
            }
        }
        break;
    case ctRating:
        w = g->CellAngle() * 18;
        h = 16;
        fullH = false;
        break;
    case ctInterface: {
        auto *sized = dynamic_cast<ICellGraphicSize *>(g->CellObject());
        if (sized) {
            w = sized->GetWidth();
            h = sized->GetHeight();
        }
        if (!sized || w == 0 || h == 0) {
            w = cellW;
            h = cellH;
        }
        break;
    }
    default:
        if (IsCheckType(g->CellType()))
            w = h = FControlLook->CheckSize;
        break;
    }
    if (g->CellVAlign() == vaFull)
        h = cellH;
    if (fullH)
        w = cellW;
    Size = TPoint(w, h);
}

void TExtStringGrid::GetCellGraphicPrintSize(int ACol, int ARow, int MaxWidth, int MaxHeight, double Scale, TPoint &Size)
{
    Size = TPoint(0, 0);
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return;
    const bool hasText = !Cells(ACol, ARow).isEmpty();
    auto *images = dynamic_cast<TCustomImageList *>(GetGridImageList());
    TCanvas *canvas = Canvas();
    canvas->Font()->Assign(Font());
    const int cellW = ACol >= 0 && ACol < ColCount() ? ColWidths(ACol) : 0;
    const int cellH = ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : 0;
    int w = 0, h = 0;
    switch (g->CellType()) {
    case ctBitmap:
        if (TBitmap *b = g->CellBitmap()) {
            w = b->Width();
            h = b->Height();
        }
        break;
    case ctIcon:
        if (TIcon *i = g->CellIcon()) {
            w = i->Width();
            h = i->Height();
        }
        break;
    case ctImageList:
        if (images) {
            w = BesideText(g) || !hasText ? images->Width() : 0;
            h = images->Height();
        }
        break;
    case ctDataImage:
        if (images) {
            w = images->Width();
            h = images->Height();
        }
        break;
    case ctPicture:
    case ctFilePicture: {
        const TPoint p = g->GetPictureSize(MaxWidth, MaxHeight, false);
        const double s = Scale > 0 ? Scale : 1.0;
        w = int(std::lround(p.X / s));
        h = int(std::lround(p.Y / s));
        break;
    }
    case ctButton:
    case ctBitButton:
        w = g->CellIndex() & 0xFFFF;
        h = (g->CellIndex() >> 16) & 0xFFFF;
        break;
    case ctRadioButton:
        w = h = FControlLook->RadioSize;
        break;
    case ctProgressPie:
    case ctNode:
        w = h = 20;
        break;
    case ctRadio:
        if (auto *texts = dynamic_cast<TStrings *>(g->CellObject())) {
            const int th = canvas->TextHeight(QStringLiteral("gh"));
            if (g->CellBoolean()) {
                for (int i = 0; i < texts->Count(); ++i)
                    w += canvas->TextWidth(texts->Strings(i)) + 12;
                h = th;
            } else {
                w = 12;
                for (int i = 0; i < texts->Count(); ++i)
                    w = std::max(w, canvas->TextWidth(texts->Strings(i)) + 12);
                h = th * texts->Count();
            }
        }
        break;
    case ctImages:
        if (auto *list = dynamic_cast<TIntList *>(g->CellObject()); list && images) {
            if (g->CellBoolean()) {
                w = list->Count() * images->Width();
                h = images->Height();
            } else {
                w = images->Width();
                h = list->Count() * images->Height();
            }
        }
        break;
    case ctProgress:
    case ctXPProgress:
        w = cellW;
        h = cellH;
        break;
    case ctShape:
        h = cellH - 2 * FXYOffset.Y;
        w = h;
        break;
    case ctInterface:
        if (auto *sized = dynamic_cast<ICellGraphicSize *>(g->CellObject())) {
            w = sized->GetWidth();
            h = sized->GetHeight();
            if (w == 0)
                w = cellW;
            if (h == 0)
                h = cellH;
        }
        break;
    default:
        if (IsCheckType(g->CellType()))
            w = h = FControlLook->CheckSize;
        break;
    }
    Size = TPoint(w, h);
}

std::intptr_t TExtStringGrid::GetCellImageSortKey(int ACol, int ARow)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return -1;
    switch (g->CellType()) {
    case ctBitmap:
        return reinterpret_cast<std::intptr_t>(g->CellObject());
    case ctIcon:
        return reinterpret_cast<std::intptr_t>(g->CellIcon());
    case ctImageList:
        return g->CellIndex();
    default:
        return -1;
    }
}

bool TExtStringGrid::IsSortIndicatorCell(int ACol, int ARow)
{
    int row = ARow;
    if (IsMergedCell(ACol, ARow)) {
        const TPoint b = BaseCell(ACol, ARow);
        row = b.Y + CellSpan(b.X, b.Y).Y;
    }
    return row == FSortSettings->Row && FSortSettings->Show && FixedRows() + 1 < RowCount();
}

void TExtStringGrid::DoGetDisplText(int ACol, int ARow, UnicodeString &Value)
{
    TBaseGrid::DoGetDisplText(ACol, ARow, Value);
    if (FURLShowInText) {
        static const char *const Prefixes[] = {"HTTP://", "WWW.", "MAILTO:", "HTTPS://", "NNTP://", "FILE://", "FTP://"};
        const UnicodeString upper = Value.toUpper();
        for (const char *p : Prefixes) {
            const UnicodeString prefix = QString::fromLatin1(p);
            if (upper.contains(prefix)) {
                // Only one prefix is applied: a second would link inside the first link's markup.
                UnicodeString linked;
                if (LinkifyUrl(Value, prefix, linked))
                    Value = linked;
                break;
            }
        }
    }
    // A group's heading shows how many rows it holds: its span less its sub-node rows and itself.
    if (FGrouping->ShowGroupCount && ACol == 1 && IsNode(ARow)) {
        const int count = GetNodeSpan(ARow) - GetSubNodeCount(ARow) - 1;
        if (FGrouping->GroupCountFormat.isEmpty())
            Value += QStringLiteral(" (%1)").arg(count);
        else
            Value += Format(FGrouping->GroupCountFormat, {count});
    }
}
