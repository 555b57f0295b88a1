// What a drop from another program hands the grid: the same bytes offered as each block the
// drop readers take apart (cells with their length field, column, Unicode and ANSI texts, the
// file-drop block), and as the MIME data that becomes those blocks. The first byte picks the
// MIME type the rest travels as.
#include "controls/esgdd.h"

#include <QMimeData>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(Data + 1), static_cast<qsizetype>(Size - 1));
    {
        TComPtr<IDataObject> obj(BlocksToDataObject({{CF_GRIDCELLS(), bytes},
                                                     {CF_GRIDCOLUMN(), bytes},
                                                     {CF_UNICODETEXT, bytes},
                                                     {CF_RTF(), bytes},
                                                     {CF_HDROP, bytes}}));
        TEnumFormats f(obj.Get());
        if (auto s = f.Stream())
            if (s->Size() > bytes.size())
                std::abort();
        f.Col();
        if (f.Text().size() > bytes.size() / 2)
            std::abort();
        f.RTF();
        if (f.ReadFileNames() && f.Files()->Count() == 0)
            std::abort();
    }
    static const char *const types[] = {"text/plain", "text/uri-list", "text/rtf", "application/x-grid-column",
                                        "application/x-extstringgrid-cells"};
    QMimeData mime;
    mime.setData(QString::fromLatin1(types[Data[0] % 5]), bytes);
    TComPtr<IDataObject> obj(MimeToDataObject(&mime));
    TComPtr<TESGDropTarget> target(new TESGDropTarget);
    target->SetAcceptCols(true);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(obj.Get(), 1, {0, 0}, effect);
    target->Drop(obj.Get(), 0, {0, 0}, effect);
    return 0;
}
