// Spreadsheet export and import of the grid on real workbook files through the built-in
// workbook server: round trips, sheets of existing workbooks, files made by other writers,
// damaged files and failed saves.
#include "grid/core/ExtGrid.h"
#include "platform/ComObj.h"
#include "support/PythonRun.h"
#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace {

const QString Fixtures = QStringLiteral(FABRICOR_TESTS_DIR "/grid/data/office/");

bool HasOpenpyxl()
{
    QByteArray out;
    return RunPython({QStringLiteral("-c"), QStringLiteral("import openpyxl")}, out);
}

// The uncompressed bytes of one part of a package, read by an independent unzipper.
QByteArray PartOf(const QString &File, const QString &Part)
{
    QByteArray out;
    const bool ok = RunPython({QStringLiteral("-c"),
                               QStringLiteral("import sys, zipfile; "
                                              "sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))"),
                               File, Part},
                              out);
    EXPECT_TRUE(ok) << out.constData();
    return out;
}

class OfficeFilesTest : public TempDirTest {
protected:
    void SetUp() override { G = std::make_unique<TExtStringGrid>(nullptr); }

    QString Copy(const QString &Fixture)
    {
        const QString to = PathOf(Fixture);
        QFile::remove(to);
        EXPECT_TRUE(QFile::copy(Fixtures + Fixture, to));
        QFile::setPermissions(to, Shared);
        return to;
    }

    // What openpyxl reads from the workbook, one line per sheet and value.
    QStringList ReadByOpenpyxl(const QString &File)
    {
        QByteArray out;
        EXPECT_TRUE(RunPython({Fixtures + QStringLiteral("read_with_openpyxl.py"), File}, out)) << out.constData();
        return QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);
    }

    QStringList Row(TExtStringGrid &Grid, int ARow)
    {
        QStringList r;
        for (int c = 0; c < Grid.ColCount(); ++c)
            r << Grid.Cells(c, ARow);
        return r;
    }

    std::unique_ptr<TExtStringGrid> G;
    static constexpr QFile::Permissions Shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
};

// Texts that look like numbers only come back as numbers when nothing of them is lost.
const char *const RoundTripTexts[3][4] = {
    {"12", "007", "1.50", "-3.25"},
    {"tail & <more>", "two\nlines", "  padded  ", "Gr\xc3\xbc\xc3\x9f" "e"},
    {"ctl\x01" "char", "_x0041_", "", "1e3"},
};

TEST_F(OfficeFilesTest, ExportToANewWorkbookAndImportItBack)
{
    G->SetColCount(4);
    G->SetRowCount(3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            G->SetCells(c, r, QString::fromUtf8(RoundTripTexts[r][c]));
    // Whatever the extension, the export writes a workbook.
    const QString file = PathOf(QStringLiteral("out.xls"));
    G->SaveToXLS(file);
    // A new workbook is made like any other new file: readable as the user's file mask allows.
    const mode_t mask = umask(0);
    umask(mask);
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(file).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);

    TExtStringGrid back(nullptr);
    back.LoadFromXLS(file);
    ASSERT_EQ(back.ColCount(), 4);
    ASSERT_EQ(back.RowCount(), 3);
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(Row(back, r), Row(*G, r)) << r;

    std::unique_ptr<TStringList> names(back.GetXLSSheets(file));
    EXPECT_EQ(names->Text(), QStringLiteral("Sheet1\r\n"));

    if (!HasOpenpyxl())
        GTEST_SKIP() << "python3-openpyxl is not installed: the workbook was not checked by a second reader";
    const QStringList seen = ReadByOpenpyxl(file);
    for (const char *line : {"[Sheet1]", "A1=12", "B1='007'", "C1='1.50'", "D1=-3.25", "A2='tail & <more>'",
                             "B2='two\\nlines'", "C2='  padded  '", "D2='Grüße'", "D3='1e3'"})
        EXPECT_TRUE(seen.contains(QString::fromUtf8(line))) << line << "\n" << qPrintable(seen.join(u'\n'));
}

TEST_F(OfficeFilesTest, ExportIntoANamedSheetLeavesTheOtherSheetsAsTheyWere)
{
    const QString file = Copy(QStringLiteral("shared.xlsx"));
    const QStringList kept{"xl/worksheets/sheet1.xml", "xl/worksheets/sheet3.xml", "xl/sharedStrings.xml",
                           "xl/styles.xml", "xl/theme/theme1.xml", "docProps/core.xml"};
    std::vector<QByteArray> before;
    for (const QString &p : kept)
        before.push_back(PartOf(file, p));

    G->SetColCount(2);
    G->SetRowCount(2);
    G->SetCells(0, 0, QStringLiteral("new"));
    G->SetCells(1, 1, QStringLiteral("42"));
    G->SaveToXLSSheet(file, QStringLiteral("Second"));
    G->SaveToXLSSheet(file, QStringLiteral("Added"));

    // Saving in place keeps who may read the file.
    EXPECT_EQ(QFile::permissions(file) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOwner),
              QFile::ReadGroup | QFile::ReadOther | QFile::WriteOwner);
    for (qsizetype i = 0; i < kept.size(); ++i)
        EXPECT_EQ(PartOf(file, kept[i]), before[std::size_t(i)]) << qPrintable(kept[i]);

    std::unique_ptr<TStringList> names(G->GetXLSSheets(file));
    EXPECT_EQ(names->Text(), QStringLiteral("Data\r\nSecond\r\nEmpty\r\nAdded\r\n"));

    TExtStringGrid back(nullptr);
    // The old value at C5 stays beside the new block.
    back.LoadFromXLSSheet(file, QStringLiteral("Second"));
    EXPECT_EQ(back.ColCount(), 3);
    EXPECT_EQ(back.RowCount(), 5);
    EXPECT_EQ(back.Cells(0, 0), QStringLiteral("new"));
    EXPECT_EQ(back.Cells(2, 4), QStringLiteral("only"));
    back.LoadFromXLSSheet(file, QStringLiteral("Data"));
    EXPECT_EQ(Row(back, 0), (QStringList{"Name", "Count", "Price"}));

    if (!HasOpenpyxl())
        GTEST_SKIP() << "python3-openpyxl is not installed: the workbook was not checked by a second reader";
    const QStringList seen = ReadByOpenpyxl(file);
    for (const char *line : {"[Data]", "A2='Anna'", "[Second]", "A1='new'", "B2=42", "C5='only'", "[Empty]", "[Added]"})
        EXPECT_TRUE(seen.contains(QString::fromUtf8(line))) << line << "\n" << qPrintable(seen.join(u'\n'));
    EXPECT_EQ(seen.filter(QStringLiteral("[Added]")).size(), 1);
}

TEST_F(OfficeFilesTest, CellsOutsideTheExportedBlockKeepTheirFormulasAndFormats)
{
    const QString file = Copy(QStringLiteral("shared.xlsx"));
    G->SetColCount(1);
    G->SetRowCount(1);
    G->SetCells(0, 0, QStringLiteral("Title"));
    G->SaveToXLSSheet(file, QStringLiteral("Data"));
    const QByteArray sheet = PartOf(file, QStringLiteral("xl/worksheets/sheet1.xml"));
    EXPECT_TRUE(sheet.contains("<f>1/0</f>")) << sheet.constData();
    EXPECT_TRUE(sheet.contains("<pageMargins")) << sheet.constData();
    TExtStringGrid back(nullptr);
    back.LoadFromXLSSheet(file, QStringLiteral("Data"));
    EXPECT_EQ(Row(back, 0), (QStringList{"Title", "Count", "Price"}));
    EXPECT_EQ(Row(back, 2), (QStringList{"Bert", "-12", "0.001"}));

    if (!HasOpenpyxl())
        GTEST_SKIP() << "python3-openpyxl is not installed: the workbook was not checked by a second reader";
    const QStringList seen = ReadByOpenpyxl(file);
    for (const char *line : {"A1='Title'", "C4='=1/0'", "B6='tail & <more>'"})
        EXPECT_TRUE(seen.contains(QString::fromUtf8(line))) << line << "\n" << qPrintable(seen.join(u'\n'));
}

TEST_F(OfficeFilesTest, WorkbooksOfOtherWritersImport)
{
    const QList<QStringList> data{{"Name", "Count", "Price"},
                                  {"Anna", "3", "2.5"},
                                  {"Bert", "-12", "0.001"},
                                  {"Anna", "True", ""}, // the error cell is not taken
                                  {"", "", ""},
                                  {"", "tail & <more>", ""}};
    for (const char *fixture : {"shared.xlsx", "inline.xlsx"}) {
        TExtStringGrid g(nullptr);
        g.LoadFromXLS(Fixtures + QString::fromLatin1(fixture));
        ASSERT_EQ(g.RowCount(), 6) << fixture;
        for (int r = 0; r < 6; ++r)
            EXPECT_EQ(Row(g, r), data[r]) << fixture << " row " << r;

        g.LoadFromXLSSheet(Fixtures + QString::fromLatin1(fixture), QStringLiteral("Second"));
        EXPECT_EQ(g.Cells(0, 0), QStringLiteral("only"));
        std::unique_ptr<TStringList> names(g.GetXLSSheets(Fixtures + QString::fromLatin1(fixture)));
        EXPECT_EQ(names->Text(), QStringLiteral("Data\r\nSecond\r\nEmpty\r\n"));
    }

    TExtStringGrid g(nullptr);
    const QString legacy = Fixtures + QStringLiteral("legacy.xls");
    std::unique_ptr<TStringList> names(g.GetXLSSheets(legacy));
    EXPECT_EQ(names->Text(), QStringLiteral("Legacy\r\nOther\r\n"));
    g.LoadFromXLS(legacy);
    ASSERT_EQ(g.RowCount(), 4);
    EXPECT_EQ(Row(g, 0), (QStringList{"Key", "Value"}));
    EXPECT_EQ(Row(g, 2), (QStringList{"beta", "2.25"}));
    EXPECT_EQ(Row(g, 3), (QStringList{"gamma", "x"}));
    g.LoadFromXLSSheet(legacy, QStringLiteral("Other"));
    EXPECT_EQ(g.ColCount(), 1);
    EXPECT_EQ(g.Cells(0, 0), QStringLiteral("b2"));
}

TEST_F(OfficeFilesTest, DamagedAndForeignFilesFailClearlyAndStayUntouched)
{
    const QByteArray shared = [] {
        QFile f(Fixtures + QStringLiteral("shared.xlsx"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_FALSE(shared.isEmpty());
    QByteArray garbled = shared;
    for (qsizetype i = 200; i < garbled.size() - 200; i += 7)
        garbled[i] = char(garbled[i] ^ 0x5A);
    struct Case {
        const char *Name;
        QByteArray Bytes;
    } cases[] = {
        {"truncated.xlsx", shared.left(300)},
        {"garbled.xlsx", garbled},
        {"text.xlsx", QByteArrayLiteral("Name;Count\nAnna;3\n")},
        {"empty.xlsx", QByteArray()},
        {"fake.xls", QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(600, 'x')},
    };
    G->SetColCount(2);
    G->SetRowCount(2);
    for (const Case &c : cases) {
        const QString name = QString::fromLatin1(c.Name);
        WriteBytes(name, c.Bytes);
        for (const auto &run : std::vector<std::function<void()>>{
                 [&] { G->LoadFromXLS(PathOf(name)); },
                 [&] { delete G->GetXLSSheets(PathOf(name)); },
                 [&] { G->SaveToXLSSheet(PathOf(name), QStringLiteral("Data")); },
                 [&] { G->SaveToXLS(PathOf(name)); }}) {
            try {
                run();
                ADD_FAILURE() << c.Name << ": no error";
            } catch (const Exception &e) {
                EXPECT_TRUE(e.Message().contains(name) || e.Message() == QStringLiteral("Incorrect XLS file") ||
                            e.Message().contains(QStringLiteral("damaged")))
                    << c.Name << ": " << qPrintable(e.Message());
            }
            EXPECT_EQ(ReadBytes(name), c.Bytes) << c.Name;
        }
    }

    // A legacy workbook is read, never written over.
    const QString legacy = Copy(QStringLiteral("legacy.xls"));
    const QByteArray old = ReadBytes(QStringLiteral("legacy.xls"));
    EXPECT_THROW(G->SaveToXLSSheet(legacy, QStringLiteral("Legacy")), EOleException);
    EXPECT_THROW(G->SaveToXLS(legacy), EOleException);
    EXPECT_EQ(ReadBytes(QStringLiteral("legacy.xls")), old);

    EXPECT_THROW(G->LoadFromXLS(PathOf(QStringLiteral("missing.xlsx"))), EOleException);
    EXPECT_THROW(G->SaveToXLS(PathOf(QStringLiteral("no/such/folder/out.xlsx"))), EOleException);
}

// A sheet with values only in its first and its last cell names a used range of the whole sheet:
// the import refuses it, and the grid keeps its size, its fixed rows and columns and its texts.
TEST_F(OfficeFilesTest, AWorkbookTooLargeToReadLeavesTheGridAsItWas)
{
    const QString file = PathOf(QStringLiteral("corners.xlsx"));
    {
        auto app = OleAs<IExcelApplication>(CreateOleObject(QStringLiteral("excel.application")));
        IExcelWorkbookPtr book = app->Workbooks()->Add();
        IExcelWorksheetPtr sheet = book->Sheets()->Item(1);
        for (const char *at : {"A1", "XFD1048576"}) {
            TVariantArray v(1, 1);
            v.At(1, 1) = OleVariant::String(QString::fromLatin1(at));
            sheet->Range(QString::fromLatin1(at))->SetValue(v);
        }
        book->SaveAs(file);
        app->Quit();
    }
    G->SetColCount(3);
    G->SetRowCount(4);
    G->SetFixedCols(1);
    G->SetFixedRows(1);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            G->SetCells(c, r, QStringLiteral("%1/%2").arg(c).arg(r));
    for (const bool sheetByName : {false, true}) {
        try {
            if (sheetByName)
                G->LoadFromXLSSheet(file, QStringLiteral("Sheet1"));
            else
                G->LoadFromXLS(file);
            ADD_FAILURE() << "no error";
        } catch (const Exception &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Incorrect XLS file"));
        }
        EXPECT_EQ(G->ColCount(), 3);
        EXPECT_EQ(G->RowCount(), 4);
        EXPECT_EQ(G->FixedCols(), 1);
        EXPECT_EQ(G->FixedRows(), 1);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(G->Cells(c, r), QStringLiteral("%1/%2").arg(c).arg(r));
    }
}

// A handler that fails while the cells arrive ends the import with the grid put back.
TEST_F(OfficeFilesTest, AFailureWhileTheCellsArrivePutsTheGridBack)
{
    G->SetColCount(2);
    G->SetRowCount(2);
    G->SetFixedCols(0);
    G->SetFixedRows(0);
    G->SetCells(0, 0, QStringLiteral("kept"));
    G->SetCells(1, 1, QStringLiteral("also kept"));
    int calls = 0;
    G->OnLoadCell = [&calls](TObject *, int, int, UnicodeString &) {
        if (++calls == 3)
            throw Exception(QStringLiteral("refused by the handler"));
    };
    EXPECT_THROW(G->LoadFromXLS(Copy(QStringLiteral("shared.xlsx"))), Exception);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(G->ColCount(), 2);
    EXPECT_EQ(G->RowCount(), 2);
    EXPECT_EQ(G->Cells(0, 0), QStringLiteral("kept"));
    EXPECT_EQ(G->Cells(1, 0), QString());
    EXPECT_EQ(G->Cells(1, 1), QStringLiteral("also kept"));
}

TEST_F(OfficeFilesTest, ExportIntoAReadOnlyFolderRaisesAndKeepsTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into read-only folders";
    const QString file = Copy(QStringLiteral("shared.xlsx"));
    const QByteArray old = ReadBytes(QStringLiteral("shared.xlsx"));
    ASSERT_EQ(chmod(QFile::encodeName(Dir()).constData(), 0555), 0);
    G->SetColCount(2);
    G->SetRowCount(2);
    EXPECT_THROW(G->SaveToXLSSheet(file, QStringLiteral("Data")), EOleException);
    EXPECT_THROW(G->SaveToXLS(PathOf(QStringLiteral("new.xlsx"))), EOleException);
    chmod(QFile::encodeName(Dir()).constData(), 0755);
    EXPECT_EQ(ReadBytes(QStringLiteral("shared.xlsx")), old);
    EXPECT_FALSE(QFile::exists(PathOf(QStringLiteral("new.xlsx"))));
}

} // namespace
