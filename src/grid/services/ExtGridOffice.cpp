// Spreadsheet, word-processor and database exchange of the string grid through automation servers.

#include "grid/core/ExtGrid.h"
#include "grid/services/HourGlass.h"
#include "platform/ComObj.h"
#include "platform/FileUtils.h"

#include <algorithm>
#include <vector>

namespace {

// The sheet's size: columns A .. XFD, rows 1 .. 1,048,576.
constexpr int MaxSheetCols = 16384;
constexpr int MaxSheetRows = 1048576;
// Whole rows ("$2:$9") cover the columns of the classic sheet.
constexpr int WholeRowCols = 256;

// Column letters of the A1 style: A = 1 .. Z = 26, AA = 27 .. ZZ = 702, AAA = 703 ...
UnicodeString ColumnLetters(int Col)
{
    UnicodeString s;
    while (Col > 0) {
        const int d = (Col - 1) % 26;
        s.prepend(QChar(u'A' + d));
        Col = (Col - 1) / 26;
    }
    return s;
}

// The column of letters, or 0 when they are no column of the sheet.
int LettersToColumn(const UnicodeString &Letters)
{
    if (Letters.isEmpty())
        return 0;
    int v = 0;
    for (QChar ch : Letters) {
        const char16_t c = ch.toUpper().unicode();
        if (c < u'A' || c > u'Z')
            return 0;
        v = v * 26 + (c - u'A' + 1);
        if (v > MaxSheetCols)
            return 0;
    }
    return v;
}

struct TUsedRange {
    int Col1 = 0, Row1 = 0, Col2 = 0, Row2 = 0;
    bool Single = false;
    bool Valid = false;
};

// "C5" (the leading "$" already dropped) into column and row; false when either is no bound.
bool ParseCellPart(const UnicodeString &Part, int &Col, int &Row)
{
    const int dollar = Part.indexOf(u'$');
    if (dollar < 0)
        return false;
    Col = LettersToColumn(Part.left(dollar));
    bool ok = false;
    Row = Part.mid(dollar + 1).toInt(&ok);
    return Col > 0 && ok && Row >= 1 && Row <= MaxSheetRows;
}

bool ParseRow(const UnicodeString &Part, int &Row)
{
    bool ok = false;
    Row = Part.toInt(&ok);
    return ok && Row >= 1 && Row <= MaxSheetRows;
}

UnicodeString DropDollar(const UnicodeString &s) { return s.startsWith(u'$') ? s.mid(1) : s; }

TUsedRange ParseUsedRange(const UnicodeString &Address)
{
    TUsedRange u;
    const int colon = Address.indexOf(u':');
    if (colon >= 0) {
        const UnicodeString start = DropDollar(Address.left(colon));
        const UnicodeString end = DropDollar(Address.mid(colon + 1));
        if (!start.contains(u'$')) {
            u.Col1 = 1;
            u.Col2 = WholeRowCols;
            u.Valid = ParseRow(start, u.Row1) && ParseRow(end, u.Row2);
        } else {
            u.Valid = ParseCellPart(start, u.Col1, u.Row1) && ParseCellPart(end, u.Col2, u.Row2);
        }
    } else {
        u.Single = true;
        if (!Address.contains(u'$')) {
            u.Col1 = u.Col2 = u.Row1 = u.Row2 = 1;
            u.Valid = true;
        } else {
            u.Valid = ParseCellPart(DropDollar(Address), u.Col1, u.Row1);
            u.Col2 = u.Col1;
            u.Row2 = u.Row1;
        }
    }
    u.Valid = u.Valid && u.Col2 >= u.Col1 && u.Row2 >= u.Row1;
    return u;
}

UnicodeString CellAddress(int Col, int Row) { return ColumnLetters(Col) + QString::number(Row); }


// Quits a server that was started for the call, also when the call fails.
template <class TApp>
class TQuitOnExit {
public:
    TQuitOnExit(std::shared_ptr<TApp> App, bool Owned) : FApp(std::move(App)), FOwned(Owned) {}
    ~TQuitOnExit()
    {
        if (!FOwned || !FApp)
            return;
        try {
            FApp->Quit();
        } catch (const Exception &) {
            // The server's answer to quitting changes nothing for the caller.
        }
    }
    TQuitOnExit(const TQuitOnExit &) = delete;
    TQuitOnExit &operator=(const TQuitOnExit &) = delete;

private:
    std::shared_ptr<TApp> FApp;
    bool FOwned;
};

std::shared_ptr<IExcelApplication> NewExcel()
{
    try {
        return OleAs<IExcelApplication>(CreateOleObject(QStringLiteral("excel.application")));
    } catch (const EOleError &) {
        throw RIdeZareVorev(QStringLiteral("Excel OLE server not found"));
    }
}

// A running server is used when there is one; Owned tells whether it was started here.
template <class TApp>
std::shared_ptr<TApp> RunningOrNew(const UnicodeString &ProgID, const UnicodeString &NotFound, bool &Owned)
{
    try {
        auto app = OleAs<TApp>(GetActiveOleObject(ProgID));
        Owned = false;
        return app;
    } catch (const EOleError &) {
    }
    try {
        auto app = OleAs<TApp>(CreateOleObject(ProgID));
        Owned = true;
        return app;
    } catch (const EOleError &) {
        throw RIdeZareVorev(NotFound);
    }
}

IExcelWorksheetPtr FindSheet(const IExcelWorkbookPtr &Book, const UnicodeString &Name)
{
    const IExcelSheetsPtr sheets = Book->Sheets();
    const int n = sheets->Count();
    for (int i = 1; i <= n; ++i) {
        IExcelWorksheetPtr s = sheets->Item(i);
        if (s->Name() == Name)
            return s;
    }
    return nullptr;
}

} // namespace

void TExtStringGrid::SaveToXLS(const UnicodeString &Filename, bool CreateNewSheet)
{
    ExportXLS(Filename, UnicodeString(), CreateNewSheet);
}

void TExtStringGrid::SaveToXLSSheet(const UnicodeString &Filename, const UnicodeString &SheetName)
{
    ExportXLS(Filename, SheetName, false);
}

void TExtStringGrid::LoadFromXLS(const UnicodeString &Filename)
{
    ImportXLS(Filename, UnicodeString());
}

void TExtStringGrid::LoadFromXLSSheet(const UnicodeString &Filename, const UnicodeString &SheetName)
{
    ImportXLS(Filename, SheetName);
}

void TExtStringGrid::SaveToDOC(const UnicodeString &Filename, bool CreateNewDocument)
{
    ExportDOC(Filename, UnicodeString(), false, CreateNewDocument);
}

void TExtStringGrid::AppendToDoc(const UnicodeString &Filename, const UnicodeString &Bookmark)
{
    ExportDOC(Filename, Bookmark, true, false);
}

void TExtStringGrid::ExportXLS(const UnicodeString &Filename, const UnicodeString &SheetName, bool CreateNewSheet)
{
    const THourGlass hourGlass;
    bool owned = false;
    auto app = RunningOrNew<IExcelApplication>(QStringLiteral("excel.application"),
                                               QStringLiteral("Excel OLE server not found"), owned);
    const TQuitOnExit<IExcelApplication> quit(app, owned);

    IExcelWorkbookPtr book;
    IExcelWorksheetPtr sheet;
    int firstRow = 1;
    bool opened = false;
    if (!SheetName.isEmpty()) {
        // A file that exists but does not open fails the export: adding a workbook instead would
        // put the data somewhere the caller never asked for.
        if (FileExists(Filename)) {
            book = app->Workbooks()->Open(Filename);
            opened = true;
        } else {
            book = app->Workbooks()->Add();
        }
        if (!book)
            throw RIdeZareVorev(QStringLiteral("No workbook could be opened or added for ") + Filename);
        sheet = FindSheet(book, SheetName);
        if (!sheet) {
            sheet = book->Worksheets()->Add();
            sheet->SetName(SheetName);
        }
    } else if (CreateNewSheet || app->Workbooks()->Count() == 0 || !app->ActiveWorkbook()) {
        book = app->Workbooks()->Add();
        if (!book)
            throw RIdeZareVorev(QStringLiteral("No workbook could be added for ") + Filename);
        sheet = book->Sheets()->Item(1);
    } else {
        book = app->ActiveWorkbook();
        sheet = app->ActiveSheet();
        firstRow = app->ActiveCell()->Row();
    }

    const int r0 = SaveStartRow();
    const int c0 = SaveStartCol();
    const int rows = std::max(0, RowCount() - r0);
    const int cols = std::max(0, ColCount() - c0);
    // A wrong address would write into cells the caller never meant; a grid that does not fit
    // is refused.
    if (cols > MaxSheetCols || (rows > 0 && firstRow + rows - 1 > MaxSheetRows) || firstRow < 1)
        throw RIdeZareVorev(QStringLiteral("The grid does not fit in a worksheet"));

    if (rows > 0 && cols > 0) {
        TVariantArray data(rows, cols);
        ExportNotification(esExportStart, 0);
        for (int r = 0; r < rows; ++r) {
            ExportNotification(esExportNextRow, r0 + r);
            for (int c = 0; c < cols; ++c) {
                UnicodeString s;
                DoSaveCell(RealColIndex(c0 + c), r0 + r, s);
                s.remove(u'\r');
                data.At(r + 1, c + 1) = OleVariant::String(s);
            }
        }
        ExportNotification(esExportDone, -1);
        const UnicodeString address = CellAddress(1, firstRow) + u':' + CellAddress(cols, firstRow + rows - 1);
        sheet->Range(address)->SetValue(data);
    }

    if (opened)
        book->Save();
    else
        book->SaveAs(Filename);
}

void TExtStringGrid::ImportXLS(const UnicodeString &Filename, const UnicodeString &SheetName)
{
    const int fixedCols = FixedCols();
    const int fixedRows = FixedRows();
    const int oldCols = ColCount();
    const int oldRows = RowCount();
    // The texts the import overwrites, so that a failure part way puts the grid back as it was.
    std::vector<UnicodeString> oldTexts;
    int keptCols = 0, keptRows = 0;
    bool resized = false;
    try {
        const THourGlass hourGlass;
        auto app = NewExcel();
        const TQuitOnExit<IExcelApplication> quit(app, true);
        IExcelWorkbookPtr book = app->Workbooks()->Open(Filename);
        IExcelWorksheetPtr sheet;
        if (!SheetName.isEmpty()) {
            sheet = FindSheet(book, SheetName);
            if (!sheet)
                throw RIdeZareVorev(QStringLiteral("Excel worksheet ") + SheetName + QStringLiteral(" not found"));
        } else {
            sheet = app->ActiveSheet();
        }

        const TUsedRange used = ParseUsedRange(sheet->UsedRange()->Address());
        // A range that names no cells of a sheet cannot be read.
        if (!used.Valid)
            throw Exception(QStringLiteral("Incorrect XLS file"));

        const int colOffset = SaveFixedCells() || SaveFixedCols() ? 0 : fixedCols;
        const int rowOffset = SaveFixedCells() || SaveFixedRows() ? 0 : fixedRows;
        const long long cols = (long long)used.Col2 - used.Col1 + 1 + colOffset;
        const long long rows = (long long)used.Row2 - used.Row1 + 1 + rowOffset;
        if (cols > MaxFileCols || rows > MaxFileRows)
            throw Exception(QStringLiteral("XLS file holds more rows or columns than the grid can take"));

        // Everything is read before the grid changes: a sheet whose values cannot be read (a
        // range too large for the server among them) leaves the grid untouched.
        TVariantArray values;
        try {
            if (used.Single)
                values = sheet->Cells(used.Row1, used.Col1)->Value();
            else
                values = sheet->Range(CellAddress(used.Col1, used.Row1) + u':' + CellAddress(used.Col2, used.Row2))->Value();
        } catch (const Exception &) {
            throw Exception(QStringLiteral("Incorrect XLS file"));
        }
        book->Close(false);

        keptCols = std::min(oldCols, int(cols));
        keptRows = std::min(oldRows, int(rows));
        oldTexts.reserve(size_t(keptCols) * size_t(keptRows));
        for (int r = 0; r < keptRows; ++r)
            for (int c = 0; c < keptCols; ++c)
                oldTexts.push_back(GridCells(c, r));

        resized = true;
        SetColCount(int(cols));
        SetRowCount(int(rows));
        if (fixedCols < ColCount())
            SetFixedCols(fixedCols);
        if (fixedRows < RowCount())
            SetFixedRows(fixedRows);

        auto store = [this](int ACol, int ARow, const OleVariant &v) {
            if (v.Kind() == OleVariant::varError || v.Kind() == OleVariant::varDispatch)
                return;
            DoLoadCell(ACol, ARow, v.ToString());
        };
        if (used.Single) {
            store(colOffset, rowOffset, values.At(1, 1));
        } else {
            for (int r = 1; r <= RowCount() - rowOffset; ++r)
                for (int c = 1; c <= ColCount() - colOffset; ++c)
                    store(c + colOffset - 1, r + rowOffset - 1, values.At(r, c));
        }
    } catch (...) {
        if (resized) {
            SetColCount(oldCols);
            SetRowCount(oldRows);
            SetFixedCols(fixedCols);
            SetFixedRows(fixedRows);
            for (int r = 0; r < keptRows; ++r)
                for (int c = 0; c < keptCols; ++c)
                    SetGridCell(c, r, oldTexts[size_t(r) * size_t(keptCols) + size_t(c)]);
        }
        DoCellsChanged(Rect(0, 0, ColCount(), RowCount()));
        BulkCellsChanged();
        throw;
    }
    DoCellsChanged(Rect(0, 0, ColCount(), RowCount()));
    BulkCellsChanged();
}

TStringList *TExtStringGrid::GetXLSSheets(const UnicodeString &FileName)
{
    const THourGlass hourGlass;
    auto app = NewExcel();
    const TQuitOnExit<IExcelApplication> quit(app, true);
    IExcelWorkbookPtr book = app->Workbooks()->Open(FileName);
    const IExcelSheetsPtr sheets = book->Worksheets();
    auto list = std::make_unique<TStringList>();
    const int n = sheets->Count();
    for (int i = 1; i <= n; ++i)
        list->Add(sheets->Item(i)->Name());
    book->SetSaved(true);
    return list.release();
}

void TExtStringGrid::ExportDOC(const UnicodeString &Filename, const UnicodeString &Bookmark, bool Append,
                               bool CreateNewDocument)
{
    const THourGlass hourGlass;
    bool owned = false;
    auto app = RunningOrNew<IWordApplication>(QStringLiteral("word.application"),
                                              QStringLiteral("Word OLE server not found"), owned);
    const TQuitOnExit<IWordApplication> quit(app, owned);

    IWordDocumentPtr doc;
    if (Append)
        doc = app->Documents()->Open(Filename);
    else if (CreateNewDocument || app->Documents()->Count() == 0)
        doc = app->Documents()->Add();
    else
        doc = app->ActiveDocument();
    if (!doc)
        throw RIdeZareVorev(QStringLiteral("No document could be opened or added for ") + Filename);
    doc->SetShowSpellingErrors(false);

    const IWordSelectionPtr selection = app->Selection();
    selection->TypeText(Caption());
    selection->TypeParagraph();

    IWordRangePtr place;
    if (Append && !Bookmark.isEmpty() && doc->BookmarkExists(Bookmark)) {
        place = doc->Goto(wdGoToBookmark, Bookmark);
    } else if (Append) {
        doc->AddParagraph();
        selection->Goto(wdGoToLine, wdGoToLast);
        const int end = selection->End();
        place = doc->Range(end, end);
    } else {
        place = doc->Range(0, 0);
    }

    const IWordTablePtr table = doc->AddTable(place, RowCount(), ColCount());
    ExportNotification(esExportStart, 0);
    for (int r = 0; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r + 1);
        for (int c = 0; c < ColCount(); ++c) {
            const int rc = RealColIndex(c);
            UnicodeString s;
            DoSaveCell(rc, r, s);
            const IWordRangePtr cell = table->Cell(r + 1, c + 1);
            cell->InsertAfter(s);
            const TAlignment align = GetCellAlignment(rc, r).first;
            if (align == taRightJustify)
                cell->SetAlignment(2);
            else if (align == taCenter)
                cell->SetAlignment(1);
        }
    }
    ExportNotification(esExportDone, -1);
    doc->SaveAs(Filename);
}

void TExtStringGrid::LoadFromMDBSQL(const UnicodeString &Filename, const UnicodeString &SQL)
{
    // The name goes into a connection text whose parts end at ";": one inside would add options.
    if (Filename.contains(u';'))
        throw RIdeZareVorev(QStringLiteral("A database file name must not hold \";\": ") + Filename);

    auto conn = OleAs<IAdoConnection>(CreateOleObject(QStringLiteral("ADODB.Connection")));
    conn->Open(QStringLiteral("Driver={Microsoft Access Driver (*.mdb)};DBQ=") + Filename);
    try {
        auto rs = OleAs<IAdoRecordSet>(CreateOleObject(QStringLiteral("ADODB.RecordSet")));
        rs->SetActiveConnection(conn);
        rs->Open(SQL);
        const int n = rs->FieldCount();
        SetColCount(FixedCols() + n);
        if (FixedRows() > 0)
            for (int i = 0; i < n; ++i)
                SetGridCell(FixedCols() + i, FixedRows() - 1, rs->Field(i)->Name());
        const int records = rs->RecordCount();
        if (records > 0)
            SetRowCount(FixedRows() + records);
        int row = FixedRows();
        while (!rs->Eof()) {
            if (row >= RowCount())
                SetRowCount(row + 1);
            for (int i = 0; i < n; ++i) {
                const IAdoFieldPtr f = rs->Field(i);
                DoLoadCell(FixedCols() + i, row, f->ActualSize() > 0 ? f->Value().ToString() : UnicodeString());
            }
            rs->MoveNext();
            ++row;
        }
        rs->Close();
    } catch (...) {
        try {
            conn->Close();
        } catch (const Exception &) {
            // The first error is the one the caller needs to see.
        }
        throw;
    }
    conn->Close();
}

void TExtStringGrid::LoadFromMDBTable(const UnicodeString &Filename, const UnicodeString &Table)
{
    bool plain = !Table.isEmpty() && !Table.at(0).isDigit();
    for (QChar ch : Table)
        plain = plain && ((ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z') || (ch >= u'0' && ch <= u'9') || ch == u'_');
    UnicodeString name = Table;
    if (!plain)
        name = u'[' + name.replace(QStringLiteral("]"), QStringLiteral("]]")) + u']';
    LoadFromMDBSQL(Filename, QStringLiteral("SELECT * FROM ") + name);
}
