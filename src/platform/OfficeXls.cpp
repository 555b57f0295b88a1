// Reading legacy .xls workbooks for the workbook server; they are never written.

#include "platform/OfficeBook.h"

#include <freexl.h>

namespace office {

namespace {

class THandle {
public:
    ~THandle()
    {
        if (FHandle)
            freexl_close(FHandle);
    }
    const void *FHandle = nullptr;
};

[[noreturn]] void Fail(const QString &Path, const QString &What)
{
    throw EOleException(QStringLiteral("'%1' is not a readable .xls workbook: %2").arg(Path, What));
}

} // namespace

void ReadLegacyWorkbook(const QString &Path, TBook &Book)
{
    THandle h;
    // The handle has to be closed even when opening fails.
    if (freexl_open(Path.toLocal8Bit().constData(), &h.FHandle) != FREEXL_OK)
        Fail(Path, QStringLiteral("the file is damaged or of another kind"));
    unsigned int count = 0;
    if (freexl_get_info(h.FHandle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        Fail(Path, QStringLiteral("no sheet list"));
    for (unsigned int i = 0; i < count && i < 0xFFFF; ++i) {
        TSheet sheet;
        const char *name = nullptr;
        if (freexl_get_worksheet_name(h.FHandle, static_cast<unsigned short>(i), &name) != FREEXL_OK || !name)
            Fail(Path, QStringLiteral("a sheet without a name"));
        sheet.Name = QString::fromUtf8(name);
        if (freexl_select_active_worksheet(h.FHandle, static_cast<unsigned short>(i)) != FREEXL_OK)
            Fail(Path, QStringLiteral("sheet %1 cannot be selected").arg(sheet.Name));
        unsigned int rows = 0;
        unsigned short cols = 0;
        if (freexl_worksheet_dimensions(h.FHandle, &rows, &cols) != FREEXL_OK)
            Fail(Path, QStringLiteral("sheet %1 has no size").arg(sheet.Name));
        if (rows > unsigned(MaxRows) || cols > MaxCols || std::size_t(rows) * cols > MaxCells)
            Fail(Path, QStringLiteral("sheet %1 is too large").arg(sheet.Name));
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < cols; ++c) {
                FreeXL_CellValue v;
                if (freexl_get_cell_value(h.FHandle, r, c, &v) != FREEXL_OK)
                    Fail(Path, QStringLiteral("a cell of sheet %1 cannot be read").arg(sheet.Name));
                TCell cell;
                switch (v.type) {
                case FREEXL_CELL_INT:
                    cell.Value = OleVariant::Number(v.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    cell.Value = OleVariant::Number(v.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    if (v.value.text_value && *v.value.text_value)
                        cell.Value = OleVariant::String(QString::fromUtf8(v.value.text_value));
                    break;
                default:
                    break;
                }
                if (cell.Value.IsEmpty())
                    continue;
                if (++Book.CellCount > MaxCells)
                    Fail(Path, QStringLiteral("too many cells"));
                sheet.Cells.emplace(std::make_pair(int(r) + 1, int(c) + 1), std::move(cell));
            }
        }
        Book.Sheets.push_back(std::move(sheet));
    }
    if (Book.Sheets.empty())
        Fail(Path, QStringLiteral("it has no worksheets"));
}

} // namespace office
