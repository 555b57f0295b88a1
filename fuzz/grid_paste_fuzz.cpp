// What another program leaves on the clipboard, pasted into the grid: foreign text (tabs, line
// breaks, quotes, series seeds) through the smart paste and the selection-as-text store, and a
// block claiming to be the grid's own cells. Any input pastes or raises the stream's read error,
// and the grid stays within its ceilings.
//
// Input: the first byte picks the path (0: text, smart paste; 1: grid cells, rows inserted;
// 2: the selection as text; 3: text dropped with rows inserted); the rest is the data.
#include "grid/core/ExtGrid.h"

#include "controls/esgdd.h"
#include "platform/ActiveX.h"
#include "platform/Clipbrd.h"
#include "support/FuzzSupport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 1 || Size > 64 * 1024)
        return 0;
    Fuzz::NeedApplication();
    const QByteArray body = Fuzz::Bytes(Data + 1, Size - 1);
    const int mode = Data[0] % 4;
    TExtStringGrid g(nullptr);
    g.SetColCount(5);
    g.SetRowCount(6);
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    g.Navigation()->AllowSmartClipboard = true;
    g.SetSelection(TGridRect{1, 1, 2, 4});
    const UnicodeString text = QString::fromUtf8(body);
    try {
        switch (mode) {
        case 0:
            Clipboard()->SetAsText(text);
            g.PasteSelectionFromClipboard();
            break;
        case 1: {
            g.Navigation()->AllowFmtClipboard = true;
            g.Navigation()->ClipboardPasteAction = paInsert;
            TClipboard *cb = Clipboard();
            cb->Open();
            cb->Clear();
            cb->SetAsHandle(CF_GRIDCELLS(), GlobalFromBytes(body.constData(), SIZE_T(body.size())));
            cb->Close();
            g.PasteSelectionFromClipboard();
            break;
        }
        case 2:
            g.SetSelectionAsText(text);
            break;
        default: {
            int cols = 0, rows = 0, pr = 0, pc = 0;
            TExtStringGrid::ClipboardTextExtent(text, cols, rows);
            g.InsertRows(2, rows + 1);
            g.PasteTextAt(1, 2, pr, pc, text);
            Fuzz::Check(pr <= rows + 1 && pc <= cols, "the pasted extent is larger than the text's");
            break;
        }
        }
    } catch (const EReadError &) {
        return 0;
    } catch (const EListError &) {
        return 0;
    }
    Fuzz::Check(g.ColCount() <= TExtStringGrid::MaxFileCols && g.RowCount() <= TExtStringGrid::MaxFileRows,
                "the paste grew the grid past the ceiling");
    return 0;
}
