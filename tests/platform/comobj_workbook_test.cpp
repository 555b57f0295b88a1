// The automation server table and the built-in workbook server, driven through the interfaces
// the grid uses.
#include "platform/ComObj.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(OleServerTable, ServersAreFoundByProgramIdentifierAndTheTableIsReplaceable)
{
    EXPECT_TRUE(OleAs<IExcelApplication>(CreateOleObject(QStringLiteral("Excel.Application"))));
    try {
        CreateOleObject(QStringLiteral("word.application"));
        ADD_FAILURE();
    } catch (const EOleSysError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid class string"));
    }
    EXPECT_THROW(GetActiveOleObject(QStringLiteral("excel.application")), EOleSysError);
    {
        TOleServerTableScope scope;
        EXPECT_THROW(CreateOleObject(QStringLiteral("excel.application")), EOleSysError);
        RegisterOleServer(QStringLiteral("word.application"), [] { return CreateWorkbookServer(); });
        // A server that does not offer the interface asked for is an error, not a null object.
        EXPECT_THROW(OleAs<IWordApplication>(CreateOleObject(QStringLiteral("WORD.application"))), EOleSysError);
    }
    EXPECT_NO_THROW(CreateOleObject(QStringLiteral("excel.application")));
    EXPECT_THROW(CreateOleObject(QStringLiteral("word.application")), EOleSysError);
}

class WorkbookServerTest : public TempDirTest {
protected:
    std::shared_ptr<IExcelApplication> App = CreateWorkbookServer();
};

TEST_F(WorkbookServerTest, NewWorkbookRangesAndValues)
{
    EXPECT_EQ(App->Workbooks()->Count(), 0);
    EXPECT_EQ(App->ActiveWorkbook(), nullptr);
    const IExcelWorkbookPtr book = App->Workbooks()->Add();
    EXPECT_EQ(App->Workbooks()->Count(), 1);
    EXPECT_EQ(App->ActiveCell()->Row(), 1);
    const IExcelWorksheetPtr sheet = App->ActiveSheet();
    EXPECT_EQ(sheet->Name(), QStringLiteral("Sheet1"));
    EXPECT_EQ(sheet->UsedRange()->Address(), QStringLiteral("$A$1"));

    TVariantArray v(2, 3);
    v.At(1, 1) = OleVariant::String(QStringLiteral("12"));
    v.At(1, 2) = OleVariant::String(QStringLiteral("0012"));
    v.At(1, 3) = OleVariant::Error(QStringLiteral("#N/A"));
    v.At(2, 3) = OleVariant::Boolean(true);
    sheet->Range(QStringLiteral("$B$2:D3"))->SetValue(v);
    EXPECT_FALSE(book->Saved());
    EXPECT_EQ(sheet->UsedRange()->Address(), QStringLiteral("$B$2:$D$3"));
    sheet->Cells(9, 4)->SetValue([] { TVariantArray one(1, 1); one.At(1, 1) = OleVariant::Number(-0.5); return one; }());
    EXPECT_EQ(sheet->UsedRange()->Address(), QStringLiteral("$B$2:$D$9"));

    const TVariantArray back = sheet->Range(QStringLiteral("A1:D9"))->Value();
    EXPECT_TRUE(back.At(1, 1).IsEmpty());
    EXPECT_EQ(back.At(2, 2), OleVariant::Number(12));
    EXPECT_EQ(back.At(2, 3), OleVariant::String(QStringLiteral("0012")));
    EXPECT_EQ(back.At(2, 4), OleVariant::Error(QStringLiteral("#N/A")));
    EXPECT_EQ(back.At(3, 4).ToString(), QStringLiteral("True"));
    EXPECT_EQ(back.At(9, 4).ToString(), QStringLiteral("-0.5"));
    EXPECT_THROW(back.At(3, 4 + 1), EArgumentOutOfRangeException);
    EXPECT_THROW(back.At(2, 4).ToString(), EInvalidCast);

    // Clearing the cells empties the used range again; one cell is named alone.
    sheet->Range(QStringLiteral("B2:D3"))->SetValue(TVariantArray(2, 3));
    EXPECT_EQ(sheet->UsedRange()->Address(), QStringLiteral("$D$9"));

    for (const char *bad : {"", "A0", "1A", "XFE1", "A1048577", "A1:", "A1:B", "$$A1"})
        EXPECT_THROW(sheet->Range(QString::fromLatin1(bad)), EOleException) << bad;
    EXPECT_THROW(sheet->Range(QStringLiteral("A1:B2"))->SetValue(TVariantArray(1, 1)), EOleException);
    // A range too large to hand out is refused, not allocated.
    EXPECT_THROW(sheet->Range(QStringLiteral("A1:XFD1048576"))->Value(), EOleException);
}

TEST_F(WorkbookServerTest, SheetNamesAreCheckedAndSavedWorkbooksReopen)
{
    const IExcelWorkbookPtr book = App->Workbooks()->Add();
    const IExcelWorksheetPtr second = book->Worksheets()->Add();
    EXPECT_EQ(second->Name(), QStringLiteral("Sheet2"));
    for (const char *bad : {"", "sheet1", "a/b", "[x]", "0123456789012345678901234567890123"})
        EXPECT_THROW(second->SetName(QString::fromLatin1(bad)), EOleException) << bad;
    second->SetName(QStringLiteral("Zweite Seite"));

    // Saving needs a file name first.
    EXPECT_THROW(book->Save(), EOleException);
    const QString file = PathOf(QStringLiteral("book.xlsx"));
    book->SaveAs(file);
    EXPECT_TRUE(book->Saved());
    book->Close(false);
    EXPECT_EQ(App->Workbooks()->Count(), 0);
    EXPECT_THROW(book->Sheets()->Count(), EOleException);

    const IExcelWorkbookPtr again = App->Workbooks()->Open(file);
    ASSERT_EQ(again->Sheets()->Count(), 2);
    EXPECT_EQ(again->Sheets()->Item(2)->Name(), QStringLiteral("Zweite Seite"));
    EXPECT_THROW(again->Sheets()->Item(3), EOleException);
    again->Sheets()->Item(1)->SetName(QStringLiteral("Erste"));
    again->Close(true);
    const IExcelWorkbookPtr third = App->Workbooks()->Open(file);
    EXPECT_EQ(third->Sheets()->Item(1)->Name(), QStringLiteral("Erste"));
    App->Quit();
    EXPECT_EQ(App->Workbooks()->Count(), 0);
}

} // namespace
