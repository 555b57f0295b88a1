// What another program drops onto a string grid: the grid's own drop target takes the bytes as
// text, rich text, a column or a block of the grid's cells, at a cell chosen by the input, with
// rows inserted or appended as the settings say. Whatever is dropped, the grid stays within its
// ceilings, and a drop the application refuses changes no cell.
//
// Input: the first byte picks the type the bytes travel as and the drop settings, the second the
// cell under the drop; the rest is the data.
#include "support/FuzzSupport.h"

#include "grid/core/ExtGrid.h"
#include "grid/services/ExtGridOleDrop.h"
#include "platform/Forms.h"
#include "platform/Messages.h"

#include <QMimeData>
#include <QStringList>

#include <memory>

namespace {

QStringList Cells(TExtStringGrid *g)
{
    QStringList all;
    for (int r = 0; r < g->RowCount(); ++r)
        for (int c = 0; c < g->ColCount(); ++c)
            all << g->Cells(c, r);
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 2 || Size > 64 * 1024)
        return 0;
    Fuzz::NeedApplication();
    const uint8_t how = Data[0];
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 640, 360);
    auto *g = new TExtStringGrid(form.get());
    g->SetParent(form.get());
    g->SetBounds(0, 0, 600, 300);
    g->SetColCount(5);
    g->SetRowCount(6);
    for (int r = 1; r < 6; ++r)
        for (int c = 1; c < 5; ++c)
            g->SetCells(c, r, QStringLiteral("%1.%2").arg(c).arg(r));
    g->SetOptions(g->Options() + TGridOptions{goEditing, goRangeSelect});
    form->Show();
    TDragDropSettings *dd = g->DragDropSettings();
    dd->SetOleDropTarget(true);
    dd->SetOleDropRTF((how & 0x08) != 0);
    dd->OleInsertRows = (how & 0x10) != 0;
    dd->OleAppendRows = (how & 0x20) != 0;
    dd->OleEntireRows = (how & 0x40) != 0;
    dd->OleColumnDragDrop = dd->OleColumnReorder = true;
    const bool refused = (how & 0x80) != 0;
    if (refused)
        g->OnOleDrop = [](TObject *, int, int, const UnicodeString &, bool &Allow) { Allow = false; };
    TGridDropTarget *target = g->GridDropTarget();
    Fuzz::Check(target != nullptr, "the grid has no drop target");

    // Files stay out: a dropped name would make the grid read whatever file the input names.
    static const char *const types[] = {"text/plain", "text/rtf", "application/x-grid-column",
                                        "application/x-extstringgrid-cells"};
    QMimeData mime;
    mime.setData(QString::fromLatin1(types[how % 4]), Fuzz::Bytes(Data + 2, Size - 2));
    TComPtr<IDataObject> obj(MimeToDataObject(&mime));
    const QStringList before = Cells(g);
    const TRect cell = g->CellRect(Data[1] % 5, (Data[1] >> 3) % 7);
    const TPoint at = g->ClientToScreen(TPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2));
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    try {
        target->DragEnter(obj.Get(), MK_LBUTTON, at, effect);
        target->DragOver(MK_LBUTTON, at, effect);
        target->Drop(obj.Get(), 0, at, effect);
    } catch (const EReadError &) {
        // A damaged block of cells is refused by its reader.
    } catch (const EListError &) {
    }
    Fuzz::Check(g->ColCount() <= TExtStringGrid::MaxFileCols && g->RowCount() <= TExtStringGrid::MaxFileRows,
                "a drop grew the grid past its ceiling");
    if (refused && how % 4 == 0)
        Fuzz::Check(Cells(g) == before, "a refused drop changed the cells");
    return 0;
}
