// Spreadsheet, word-processor and database exchange of the grid, driven against recording
// servers put in the automation server table.
#include "grid/core/ExtGrid.h"
#include "platform/ComObj.h"
#include "platform/Forms.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

using TLog = std::shared_ptr<QStringList>;

// ---- a recording spreadsheet ----

struct TFakeSheetData {
    QString Name;
    QString Used = QStringLiteral("$A$1");
    std::map<QString, TVariantArray> Values; // what Range(address).Value hands out
    bool ValueFails = false;
};

class FakeRange : public IExcelRange {
public:
    FakeRange(TLog Log, std::shared_ptr<TFakeSheetData> Sheet, QString Address, int Row)
        : FLog(std::move(Log)), FSheet(std::move(Sheet)), FAddress(std::move(Address)), FRow(Row) {}
    UnicodeString Address() override { return FAddress; }
    int Row() override { return FRow; }
    TVariantArray Value() override
    {
        FLog->append(QStringLiteral("get %1").arg(FAddress));
        if (FSheet->ValueFails)
            throw EOleException(QStringLiteral("type mismatch"));
        return FSheet->Values[FAddress];
    }
    void SetValue(const TVariantArray &Value) override
    {
        FLog->append(QStringLiteral("put %1 %2x%3").arg(FAddress).arg(Value.Rows()).arg(Value.Cols()));
        FSheet->Values[FAddress] = Value;
    }

private:
    TLog FLog;
    std::shared_ptr<TFakeSheetData> FSheet;
    QString FAddress;
    int FRow;
};

class FakeSheet : public IExcelWorksheet {
public:
    FakeSheet(TLog Log, std::shared_ptr<TFakeSheetData> Data) : FLog(std::move(Log)), FData(std::move(Data)) {}
    UnicodeString Name() override { return FData->Name; }
    void SetName(const UnicodeString &Value) override
    {
        FLog->append(QStringLiteral("name %1").arg(Value));
        FData->Name = Value;
    }
    IExcelRangePtr UsedRange() override { return std::make_shared<FakeRange>(FLog, FData, FData->Used, 0); }
    IExcelRangePtr Range(const UnicodeString &Address) override
    {
        return std::make_shared<FakeRange>(FLog, FData, Address, 0);
    }
    IExcelRangePtr Cells(int Row, int Col) override
    {
        return std::make_shared<FakeRange>(FLog, FData, QStringLiteral("R%1C%2").arg(Row).arg(Col), Row);
    }

private:
    TLog FLog;
    std::shared_ptr<TFakeSheetData> FData;
};

struct TFakeBookData {
    std::vector<std::shared_ptr<TFakeSheetData>> Sheets;
    bool SaveFails = false;
};

class FakeSheets : public IExcelSheets {
public:
    FakeSheets(TLog Log, std::shared_ptr<TFakeBookData> Book) : FLog(std::move(Log)), FBook(std::move(Book)) {}
    int Count() override { return int(FBook->Sheets.size()); }
    IExcelWorksheetPtr Item(int Index) override
    {
        return std::make_shared<FakeSheet>(FLog, FBook->Sheets.at(std::size_t(Index - 1)));
    }
    IExcelWorksheetPtr Add() override
    {
        FLog->append(QStringLiteral("add sheet"));
        FBook->Sheets.push_back(std::make_shared<TFakeSheetData>());
        return std::make_shared<FakeSheet>(FLog, FBook->Sheets.back());
    }

private:
    TLog FLog;
    std::shared_ptr<TFakeBookData> FBook;
};

class FakeBook : public IExcelWorkbook {
public:
    FakeBook(TLog Log, std::shared_ptr<TFakeBookData> Data) : FLog(std::move(Log)), FData(std::move(Data)) {}
    IExcelSheetsPtr Sheets() override { return std::make_shared<FakeSheets>(FLog, FData); }
    IExcelSheetsPtr Worksheets() override { return Sheets(); }
    IExcelWorksheetPtr ActiveSheet() override { return Sheets()->Item(1); }
    bool Saved() override { return FSaved; }
    void SetSaved(bool Value) override
    {
        FLog->append(QStringLiteral("saved %1").arg(Value));
        FSaved = Value;
    }
    void Close(bool SaveChanges) override { FLog->append(QStringLiteral("close %1").arg(SaveChanges)); }
    void Save() override
    {
        FLog->append(QStringLiteral("save"));
        if (FData->SaveFails)
            throw EOleException(QStringLiteral("disk full"));
    }
    void SaveAs(const UnicodeString &FileName) override
    {
        FLog->append(QStringLiteral("save as %1").arg(FileName));
        if (FData->SaveFails)
            throw EOleException(QStringLiteral("disk full"));
    }

private:
    TLog FLog;
    std::shared_ptr<TFakeBookData> FData;
    bool FSaved = true;
};

// What the recording spreadsheet holds and how it misbehaves.
struct TFakeExcelState {
    TLog Log = std::make_shared<QStringList>();
    std::shared_ptr<TFakeBookData> Opened = std::make_shared<TFakeBookData>(); // what Open finds
    std::shared_ptr<TFakeBookData> Active;                                      // already open
    std::shared_ptr<TFakeBookData> Added;
    int ActiveRow = 1;
    bool OpenFails = false;
    bool AddFails = false;
    bool NewSaveFails = false;
};

class FakeBooks : public IExcelWorkbooks {
public:
    explicit FakeBooks(std::shared_ptr<TFakeExcelState> S) : FS(std::move(S)) {}
    IExcelWorkbookPtr Open(const UnicodeString &FileName) override
    {
        FS->Log->append(QStringLiteral("open %1").arg(FileName));
        if (FS->OpenFails)
            throw EOleException(QStringLiteral("not a workbook"));
        return std::make_shared<FakeBook>(FS->Log, FS->Opened);
    }
    IExcelWorkbookPtr Add() override
    {
        FS->Log->append(QStringLiteral("add book"));
        if (FS->AddFails)
            throw EOleException(QStringLiteral("no memory"));
        FS->Added = std::make_shared<TFakeBookData>();
        FS->Added->Sheets.push_back(std::make_shared<TFakeSheetData>());
        FS->Added->Sheets.back()->Name = QStringLiteral("Sheet1");
        FS->Added->SaveFails = FS->NewSaveFails;
        return std::make_shared<FakeBook>(FS->Log, FS->Added);
    }
    int Count() override { return FS->Active ? 1 : 0; }

private:
    std::shared_ptr<TFakeExcelState> FS;
};

class FakeExcel : public IExcelApplication {
public:
    explicit FakeExcel(std::shared_ptr<TFakeExcelState> S) : FS(std::move(S)) {}
    IExcelWorkbooksPtr Workbooks() override { return std::make_shared<FakeBooks>(FS); }
    IExcelWorkbookPtr ActiveWorkbook() override
    {
        return FS->Active ? std::make_shared<FakeBook>(FS->Log, FS->Active) : nullptr;
    }
    IExcelWorksheetPtr ActiveSheet() override
    {
        auto book = FS->Active ? FS->Active : FS->Opened;
        return std::make_shared<FakeSheet>(FS->Log, book->Sheets.at(0));
    }
    IExcelRangePtr ActiveCell() override
    {
        return std::make_shared<FakeRange>(FS->Log, FS->Active->Sheets.at(0), QString(), FS->ActiveRow);
    }
    void Quit() override { FS->Log->append(QStringLiteral("quit")); }

private:
    std::shared_ptr<TFakeExcelState> FS;
};

TVariantArray Texts(std::initializer_list<std::initializer_list<const char *>> Rows)
{
    TVariantArray a(int(Rows.size()), int(Rows.begin()->size()));
    int r = 1;
    for (const auto &row : Rows) {
        int c = 1;
        for (const char *t : row)
            a.At(r, c++) = t ? OleVariant::String(QString::fromUtf8(t)) : OleVariant();
        ++r;
    }
    return a;
}

class OfficeGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = std::make_unique<TExtStringGrid>(nullptr);
        Excel = std::make_shared<TFakeExcelState>();
        RegisterOleServer(QStringLiteral("excel.application"),
                          [s = Excel] { return std::make_shared<FakeExcel>(s); });
    }
    void TearDown() override
    {
        // The hourglass is gone again whatever happened.
        EXPECT_EQ(Screen->Cursor(), crDefault);
    }
    void Fill(int Cols, int Rows)
    {
        G->SetColCount(Cols);
        G->SetRowCount(Rows);
        for (int c = 0; c < Cols; ++c)
            for (int r = 0; r < Rows; ++r)
                G->SetCells(c, r, QStringLiteral("%1/%2").arg(c).arg(r));
    }
    QStringList Log() const { return *Excel->Log; }
    // A file that exists, as the export opens only those.
    QString Existing()
    {
        const QString path = FDir.filePath(QStringLiteral("book.xlsx"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return path;
    }
    QTemporaryDir FDir;

    TOleServerTableScope Servers;
    std::unique_ptr<TExtStringGrid> G;
    std::shared_ptr<TFakeExcelState> Excel;
};

TEST_F(OfficeGridTest, ExportIntoANewWorkbookFillsTheSavedCellsFromA1)
{
    Fill(3, 4);
    G->SetCells(1, 2, QStringLiteral("two\r\nlines"));
    G->SaveToXLS(QStringLiteral("out.xlsx"));
    EXPECT_EQ(Log(), (QStringList{"add book", "put A1:C4 4x3", "save as out.xlsx", "quit"}));
    const TVariantArray &v = Excel->Added->Sheets[0]->Values[QStringLiteral("A1:C4")];
    EXPECT_EQ(v.At(1, 1).ToString(), QStringLiteral("0/0"));
    EXPECT_EQ(v.At(4, 3).ToString(), QStringLiteral("2/3"));
    EXPECT_EQ(v.At(3, 2).ToString(), QStringLiteral("two\nlines"));
}

TEST_F(OfficeGridTest, ExportIntoTheActiveSheetStartsAtTheActiveCellsRowOfARunningServer)
{
    Fill(3, 4);
    Excel->Active = std::make_shared<TFakeBookData>();
    Excel->Active->Sheets.push_back(std::make_shared<TFakeSheetData>());
    Excel->ActiveRow = 10;
    RegisterActiveOleObject(QStringLiteral("excel.application"), std::make_shared<FakeExcel>(Excel));
    G->SaveToXLS(QStringLiteral("out.xlsx"), false);
    // A server that was running before is left running.
    EXPECT_EQ(Log(), (QStringList{"put A10:C13 4x3", "save as out.xlsx"}));
}

TEST_F(OfficeGridTest, RangeEndsInTheColumnOfTheGridsWidth)
{
    struct Case {
        int Cols;
        const char *Put;
    } cases[] = {{26, "put A1:Z1 1x26"}, {28, "put A1:AB1 1x28"}, {52, "put A1:AZ1 1x52"},
                 {703, "put A1:AAA1 1x703"}, {16384, "put A1:XFD1 1x16384"}};
    for (const Case &c : cases) {
        Excel->Log->clear();
        G->SetColCount(c.Cols);
        G->SetRowCount(1);
        G->SaveToXLS(QStringLiteral("out.xlsx"));
        EXPECT_EQ(Log().value(1), QString::fromLatin1(c.Put)) << c.Cols;
    }
    // Past the sheet's last column there is no right address: nothing is written.
    Excel->Log->clear();
    G->SetColCount(16385);
    EXPECT_THROW(G->SaveToXLS(QStringLiteral("out.xlsx")), RIdeZareVorev);
    EXPECT_FALSE(Log().join(u' ').contains(QStringLiteral("put")));
    EXPECT_TRUE(Log().contains(QStringLiteral("quit")));
}

TEST_F(OfficeGridTest, ExportIntoANamedSheet)
{
    Fill(2, 2);
    // An existing file is opened and saved in place; a sheet of that name is written.
    Excel->Opened->Sheets = {std::make_shared<TFakeSheetData>(), std::make_shared<TFakeSheetData>()};
    Excel->Opened->Sheets[0]->Name = QStringLiteral("Data");
    Excel->Opened->Sheets[1]->Name = QStringLiteral("Report");
    const QString existing = Existing();
    G->SaveToXLSSheet(existing, QStringLiteral("Report"));
    EXPECT_EQ(Log(), (QStringList{"open " + existing, "put A1:B2 2x2", "save", "quit"}));
    EXPECT_EQ(Excel->Opened->Sheets[1]->Values.size(), 1u);

    // A missing sheet is added under that name; a missing file becomes a new workbook.
    Excel->Log->clear();
    G->SaveToXLSSheet(QStringLiteral("/nonexistent/new.xlsx"), QStringLiteral("Extra"));
    EXPECT_EQ(Log(), (QStringList{"add book", "add sheet", "name Extra", "put A1:B2 2x2",
                                  "save as /nonexistent/new.xlsx", "quit"}));
}

TEST_F(OfficeGridTest, FailingServerCallsRaiseAndQuitTheServer)
{
    Fill(2, 2);
    const QString existing = Existing();
    struct Case {
        const char *Name;
        std::function<void()> Break;
        std::function<void()> Run;
    } cases[] = {
        {"open", [&] { Excel->OpenFails = true; }, [&] { G->SaveToXLSSheet(existing, "S"); }},
        {"add", [&] { Excel->AddFails = true; }, [&] { G->SaveToXLS("new.xlsx"); }},
        {"add for a sheet", [&] { Excel->AddFails = true; }, [&] { G->SaveToXLSSheet("/nonexistent/n.xlsx", "S"); }},
        {"save", [&] { Excel->Opened->SaveFails = true; }, [&] { G->SaveToXLSSheet(existing, "S"); }},
        {"save as", [&] { Excel->NewSaveFails = true; }, [&] { G->SaveToXLS("new.xlsx"); }},
    };
    for (const Case &c : cases) {
        Excel = std::make_shared<TFakeExcelState>();
        Excel->Opened->Sheets.push_back(std::make_shared<TFakeSheetData>());
        RegisterOleServer(QStringLiteral("excel.application"), [s = Excel] { return std::make_shared<FakeExcel>(s); });
        c.Break();
        EXPECT_THROW(c.Run(), EOleException) << c.Name;
        EXPECT_EQ(Log().value(Log().size() - 1), QStringLiteral("quit")) << c.Name;
    }
}

TEST_F(OfficeGridTest, MissingServerIsReported)
{
    RegisterOleServer(QStringLiteral("excel.application"), {});
    Fill(2, 2);
    for (const auto &run : std::vector<std::function<void()>>{
             [&] { G->SaveToXLS("x.xlsx"); }, [&] { G->LoadFromXLS("x.xlsx"); },
             [&] { delete G->GetXLSSheets("x.xlsx"); }}) {
        try {
            run();
            ADD_FAILURE() << "no error";
        } catch (const RIdeZareVorev &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Excel OLE server not found"));
        }
    }
}

TEST_F(OfficeGridTest, ImportTakesTheUsedRange)
{
    auto sheet = std::make_shared<TFakeSheetData>();
    Excel->Opened->Sheets.push_back(sheet);
    G->SetColCount(5);
    G->SetRowCount(5);
    G->SetFixedCols(1);
    G->SetFixedRows(1);
    G->SetSaveFixedCells(false);

    // $B$2:$D$9: a 3 x 8 block behind the fixed column and row.
    sheet->Used = QStringLiteral("$B$2:$D$9");
    TVariantArray block(8, 3);
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 3; ++c)
            block.At(r, c) = OleVariant::Number(r * 10 + c);
    block.At(2, 2) = OleVariant::Error(QStringLiteral("#DIV/0!"));
    block.At(3, 3) = OleVariant();
    sheet->Values[QStringLiteral("B2:D9")] = block;
    G->SetCells(2, 3, QStringLiteral("old"));
    G->LoadFromXLS(QStringLiteral("in.xlsx"));
    EXPECT_EQ(G->ColCount(), 4);
    EXPECT_EQ(G->RowCount(), 9);
    EXPECT_EQ(G->FixedCols(), 1);
    EXPECT_EQ(G->FixedRows(), 1);
    EXPECT_EQ(G->Cells(1, 1), QStringLiteral("11"));
    EXPECT_EQ(G->Cells(3, 8), QStringLiteral("83"));
    EXPECT_EQ(G->Cells(3, 3), QString()); // an empty element clears the cell
    EXPECT_EQ(Log(), (QStringList{"open in.xlsx", "get B2:D9", "close 0", "quit"}));

    // One cell, read through the sheet's cells.
    Excel->Log->clear();
    sheet->Used = QStringLiteral("$C$5");
    sheet->Values[QStringLiteral("R5C3")] = Texts({{"only"}});
    G->LoadFromXLS(QStringLiteral("in.xlsx"));
    EXPECT_EQ(G->ColCount(), 2);
    EXPECT_EQ(G->RowCount(), 2);
    EXPECT_EQ(G->Cells(1, 1), QStringLiteral("only"));
    EXPECT_EQ(Log().value(1), QStringLiteral("get R5C3"));

    // Column letters of any length are read.
    struct Letters {
        QString Used, Read;
        int Rows, Cols;
    };
    for (const Letters &l : {Letters{QStringLiteral("$Z$1:$AB$2"), QStringLiteral("Z1:AB2"), 2, 3},
                             Letters{QStringLiteral("$AZ$7:$AAA$7"), QStringLiteral("AZ7:AAA7"), 1, 652}}) {
        const QString &read = l.Read;
        Excel->Log->clear();
        sheet->Used = l.Used;
        sheet->Values[read] = TVariantArray(l.Rows, l.Cols);
        G->LoadFromXLS(QStringLiteral("in.xlsx"));
        EXPECT_EQ(Log().value(1), QStringLiteral("get ") + read);
    }
    EXPECT_EQ(G->ColCount(), 703 - 52 + 1 + 1);

    // Whole rows cover the classic sheet's 256 columns.
    Excel->Log->clear();
    G->SetSaveFixedCells(true);
    sheet->Used = QStringLiteral("$2:$9");
    sheet->Values[QStringLiteral("A2:IV9")] = TVariantArray(8, 256);
    G->LoadFromXLS(QStringLiteral("in.xlsx"));
    EXPECT_EQ(G->ColCount(), 256);
    EXPECT_EQ(G->RowCount(), 8);
    EXPECT_EQ(Log().value(1), QStringLiteral("get A2:IV9"));
}

TEST_F(OfficeGridTest, ImportErrors)
{
    auto sheet = std::make_shared<TFakeSheetData>();
    sheet->Name = QStringLiteral("Data");
    sheet->Used = QStringLiteral("$A$1:$B$2");
    sheet->ValueFails = true;
    Excel->Opened->Sheets.push_back(sheet);
    int changed = 0;
    G->OnCellsChanged = [&](TObject *, const TRect &) { ++changed; };

    try {
        G->LoadFromXLS(QStringLiteral("in.xlsx"));
        ADD_FAILURE() << "no error";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Incorrect XLS file"));
    }
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(Log().value(Log().size() - 1), QStringLiteral("quit"));

    try {
        G->LoadFromXLSSheet(QStringLiteral("in.xlsx"), QStringLiteral("Nope"));
        ADD_FAILURE() << "no error";
    } catch (const RIdeZareVorev &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Excel worksheet Nope not found"));
    }

    // A used range that names no cells is no workbook the grid can read.
    sheet->ValueFails = false;
    for (const char *bad : {"$B$x:$C$3", "$A$1:$", "$1$1", "$B$3:$A$1"}) {
        sheet->Used = QString::fromLatin1(bad);
        EXPECT_THROW(G->LoadFromXLSSheet(QStringLiteral("in.xlsx"), QStringLiteral("Data")), Exception) << bad;
    }
}

TEST_F(OfficeGridTest, SheetNamesListed)
{
    for (const char *n : {"One", "Two", "Three"}) {
        Excel->Opened->Sheets.push_back(std::make_shared<TFakeSheetData>());
        Excel->Opened->Sheets.back()->Name = QString::fromLatin1(n);
    }
    std::unique_ptr<TStringList> names(G->GetXLSSheets(QStringLiteral("in.xlsx")));
    EXPECT_EQ(names->Text(), QStringLiteral("One\r\nTwo\r\nThree\r\n"));
    EXPECT_EQ(Log(), (QStringList{"open in.xlsx", "saved 1", "quit"}));
}

// ---- a recording database ----

struct TFakeDb {
    TLog Log = std::make_shared<QStringList>();
    QStringList Names{QStringLiteral("Id"), QStringLiteral("Name")};
    std::vector<std::vector<OleVariant>> Rows;
    int RecordCount = 0;
    std::size_t At = 0;
};

class FakeField : public IAdoField {
public:
    FakeField(std::shared_ptr<TFakeDb> Db, int Index) : FDb(std::move(Db)), FIndex(Index) {}
    UnicodeString Name() override { return FDb->Names.at(FIndex); }
    int ActualSize() override
    {
        const OleVariant &v = FDb->Rows.at(FDb->At).at(std::size_t(FIndex));
        return v.IsEmpty() ? 0 : int(v.ToString().size());
    }
    OleVariant Value() override { return FDb->Rows.at(FDb->At).at(std::size_t(FIndex)); }

private:
    std::shared_ptr<TFakeDb> FDb;
    int FIndex;
};

class FakeConnection : public IAdoConnection {
public:
    explicit FakeConnection(std::shared_ptr<TFakeDb> Db) : FDb(std::move(Db)) {}
    void Open(const UnicodeString &Text) override { FDb->Log->append(QStringLiteral("connect ") + Text); }
    void Close() override { FDb->Log->append(QStringLiteral("disconnect")); }

private:
    std::shared_ptr<TFakeDb> FDb;
};

class FakeRecordSet : public IAdoRecordSet {
public:
    explicit FakeRecordSet(std::shared_ptr<TFakeDb> Db) : FDb(std::move(Db)) {}
    void SetActiveConnection(const std::shared_ptr<IAdoConnection> &) override {}
    void Open(const UnicodeString &Sql) override { FDb->Log->append(QStringLiteral("query ") + Sql); }
    int FieldCount() override { return int(FDb->Names.size()); }
    IAdoFieldPtr Field(int Index) override { return std::make_shared<FakeField>(FDb, Index); }
    int RecordCount() override { return FDb->RecordCount; }
    bool Eof() override { return FDb->At >= FDb->Rows.size(); }
    void MoveNext() override { ++FDb->At; }
    void Close() override { FDb->Log->append(QStringLiteral("close")); }

private:
    std::shared_ptr<TFakeDb> FDb;
};

class OfficeDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetFixedCols(1);
        G->SetFixedRows(1);
        RegisterOleServer(QStringLiteral("ADODB.Connection"), [d = Db] { return std::make_shared<FakeConnection>(d); });
        RegisterOleServer(QStringLiteral("ADODB.RecordSet"), [d = Db] { return std::make_shared<FakeRecordSet>(d); });
    }
    TOleServerTableScope Servers;
    std::shared_ptr<TFakeDb> Db = std::make_shared<TFakeDb>();
    std::unique_ptr<TExtStringGrid> G;
};

TEST_F(OfficeDatabaseTest, QueryResultFillsTheGridBehindTheFixedCells)
{
    Db->Rows = {{OleVariant::Number(1), OleVariant::String("Anna")},
                {OleVariant::Number(2), OleVariant()},
                {OleVariant::Number(3), OleVariant::String("Carl")}};
    // An unknown record count (-1) still reads every record, the grid growing with them.
    for (int count : {3, -1}) {
        Db->Log->clear();
        Db->At = 0;
        Db->RecordCount = count;
        G->SetRowCount(2);
        G->LoadFromMDBTable(QStringLiteral("/data/shop.mdb"), QStringLiteral("Orders"));
        EXPECT_EQ(*Db->Log, (QStringList{"connect Driver={Microsoft Access Driver (*.mdb)};DBQ=/data/shop.mdb",
                                         "query SELECT * FROM Orders", "close", "disconnect"}));
        EXPECT_EQ(G->ColCount(), 3);
        EXPECT_EQ(G->RowCount(), 4) << count;
        EXPECT_EQ(G->Cells(1, 0), QStringLiteral("Id"));
        EXPECT_EQ(G->Cells(2, 0), QStringLiteral("Name"));
        EXPECT_EQ(G->Cells(2, 1), QStringLiteral("Anna"));
        EXPECT_EQ(G->Cells(2, 2), QString());
        EXPECT_EQ(G->Cells(1, 3), QStringLiteral("3"));
    }
}

TEST_F(OfficeDatabaseTest, TableNamesAndFileNamesAreNotTakenAsCommands)
{
    struct Case {
        const char *Table;
        const char *Query;
    } cases[] = {{"Orders", "query SELECT * FROM Orders"},
                 {"Order Details", "query SELECT * FROM [Order Details]"},
                 {"a]; DROP TABLE x", "query SELECT * FROM [a]]; DROP TABLE x]"},
                 {"1st", "query SELECT * FROM [1st]"}};
    for (const Case &c : cases) {
        Db->Log->clear();
        G->LoadFromMDBTable(QStringLiteral("shop.mdb"), QString::fromUtf8(c.Table));
        EXPECT_EQ(Db->Log->value(1), QString::fromUtf8(c.Query));
    }
    Db->Log->clear();
    EXPECT_THROW(G->LoadFromMDBSQL(QStringLiteral("x.mdb;Uid=admin"), QStringLiteral("SELECT 1")), RIdeZareVorev);
    EXPECT_TRUE(Db->Log->isEmpty());
}

TEST(OfficeServers, WordAndDatabaseServersAreAbsent)
{
    TExtStringGrid g(nullptr);
    try {
        g.SaveToDOC(QStringLiteral("x.doc"));
        ADD_FAILURE();
    } catch (const RIdeZareVorev &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Word OLE server not found"));
    }
    try {
        g.LoadFromMDBTable(QStringLiteral("x.mdb"), QStringLiteral("Orders"));
        ADD_FAILURE();
    } catch (const EOleSysError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid class string"));
    }
    EXPECT_THROW(GetActiveOleObject(QStringLiteral("excel.application")), EOleSysError);
}

// ---- a recording word processor ----

struct TFakeWord {
    TLog Log = std::make_shared<QStringList>();
    QStringList Bookmarks;
    int Documents = 0;
};

class FakeWordRange : public IWordRange {
public:
    FakeWordRange(TLog Log, QString Name) : FName(std::move(Name)), FLog(std::move(Log)) {}
    void InsertAfter(const UnicodeString &Text) override { FLog->append(FName + QStringLiteral(" text ") + Text); }
    void SetAlignment(int Value) override { FLog->append(FName + QStringLiteral(" align %1").arg(Value)); }
    QString FName;

private:
    TLog FLog;
};

class FakeTable : public IWordTable {
public:
    explicit FakeTable(TLog Log) : FLog(std::move(Log)) {}
    IWordRangePtr Cell(int Row, int Column) override
    {
        return std::make_shared<FakeWordRange>(FLog, QStringLiteral("cell %1,%2").arg(Row).arg(Column));
    }

private:
    TLog FLog;
};

class FakeDocument : public IWordDocument {
public:
    explicit FakeDocument(std::shared_ptr<TFakeWord> W) : FW(std::move(W)) {}
    void SetShowSpellingErrors(bool Value) override { FW->Log->append(QStringLiteral("spelling %1").arg(Value)); }
    bool BookmarkExists(const UnicodeString &Name) override { return FW->Bookmarks.contains(Name); }
    IWordRangePtr Goto(int What, const UnicodeString &Name) override
    {
        FW->Log->append(QStringLiteral("doc goto %1 %2").arg(What).arg(Name));
        return std::make_shared<FakeWordRange>(FW->Log, QStringLiteral("bookmark"));
    }
    void AddParagraph() override { FW->Log->append(QStringLiteral("add paragraph")); }
    IWordRangePtr Range(int Start, int End) override
    {
        return std::make_shared<FakeWordRange>(FW->Log, QStringLiteral("range %1-%2").arg(Start).arg(End));
    }
    IWordTablePtr AddTable(const IWordRangePtr &Range, int NumRows, int NumColumns) override
    {
        FW->Log->append(QStringLiteral("table at %1 %2x%3")
                            .arg(static_cast<FakeWordRange *>(Range.get())->FName)
                            .arg(NumRows)
                            .arg(NumColumns));
        return std::make_shared<FakeTable>(FW->Log);
    }
    void SaveAs(const UnicodeString &FileName) override { FW->Log->append(QStringLiteral("save as ") + FileName); }

private:
    std::shared_ptr<TFakeWord> FW;
};

class FakeSelection : public IWordSelection {
public:
    explicit FakeSelection(TLog Log) : FLog(std::move(Log)) {}
    void TypeText(const UnicodeString &Text) override { FLog->append(QStringLiteral("type ") + Text); }
    void TypeParagraph() override { FLog->append(QStringLiteral("paragraph")); }
    void Goto(int What, int Which) override { FLog->append(QStringLiteral("goto %1 %2").arg(What).arg(Which)); }
    int End() override { return 42; }

private:
    TLog FLog;
};

class FakeDocuments : public IWordDocuments {
public:
    explicit FakeDocuments(std::shared_ptr<TFakeWord> W) : FW(std::move(W)) {}
    IWordDocumentPtr Open(const UnicodeString &FileName) override
    {
        FW->Log->append(QStringLiteral("open ") + FileName);
        return std::make_shared<FakeDocument>(FW);
    }
    IWordDocumentPtr Add() override
    {
        FW->Log->append(QStringLiteral("add document"));
        return std::make_shared<FakeDocument>(FW);
    }
    int Count() override { return FW->Documents; }

private:
    std::shared_ptr<TFakeWord> FW;
};

class FakeWordApp : public IWordApplication {
public:
    explicit FakeWordApp(std::shared_ptr<TFakeWord> W) : FW(std::move(W)) {}
    IWordDocumentsPtr Documents() override { return std::make_shared<FakeDocuments>(FW); }
    IWordDocumentPtr ActiveDocument() override
    {
        FW->Log->append(QStringLiteral("active document"));
        return std::make_shared<FakeDocument>(FW);
    }
    IWordSelectionPtr Selection() override { return std::make_shared<FakeSelection>(FW->Log); }
    void Quit() override { FW->Log->append(QStringLiteral("quit")); }

private:
    std::shared_ptr<TFakeWord> FW;
};

TEST(OfficeDocument, GridGoesIntoATableWithItsAlignments)
{
    TOleServerTableScope servers;
    auto word = std::make_shared<TFakeWord>();
    RegisterOleServer(QStringLiteral("word.application"), [word] { return std::make_shared<FakeWordApp>(word); });
    TExtStringGrid g(nullptr);
    g.SetCaption(QStringLiteral("Prices"));
    g.SetColCount(3);
    g.SetRowCount(2);
    g.SetCells(0, 0, QStringLiteral("a"));
    g.SetCells(2, 1, QStringLiteral("9"));
    g.OnGetAlignment = [](TObject *, int, int ACol, TAlignment &H, TVAlignment &) {
        H = ACol == 1 ? taCenter : ACol == 2 ? taRightJustify : taLeftJustify;
    };
    std::vector<std::pair<int, int>> notes;

    g.SaveToDOC(QStringLiteral("out.doc"));
    const QStringList log = *word->Log;
    const QStringList head{"add document", "spelling 0", "type Prices", "paragraph", "table at range 0-0 2x3"};
    EXPECT_EQ(log.mid(0, 5), head);
    EXPECT_TRUE(log.contains(QStringLiteral("cell 1,1 text a")));
    EXPECT_TRUE(log.contains(QStringLiteral("cell 2,3 text 9")));
    EXPECT_EQ(log.filter(QStringLiteral("align 1")).size(), 2);
    EXPECT_EQ(log.filter(QStringLiteral("align 2")).size(), 2);
    EXPECT_TRUE(log.filter(QStringLiteral("cell 1,1 align")).isEmpty());
    EXPECT_EQ(log.mid(log.size() - 2), (QStringList{"save as out.doc", "quit"}));

    // Appending: at an existing bookmark, else at the document's end.
    word->Bookmarks = {QStringLiteral("here")};
    for (const auto &[mark, place] : std::vector<std::pair<QString, QStringList>>{
             {QStringLiteral("here"), {"doc goto -1 here", "table at bookmark 2x3"}},
             {QStringLiteral("nowhere"), {"add paragraph", "goto 3 -1", "table at range 42-42 2x3"}}}) {
        word->Log->clear();
        g.AppendToDoc(QStringLiteral("in.doc"), mark);
        EXPECT_EQ(word->Log->mid(0, 4), (QStringList{"open in.doc", "spelling 0", "type Prices", "paragraph"}));
        EXPECT_EQ(word->Log->mid(4, place.size()), place) << qPrintable(mark);
    }
}

} // namespace
