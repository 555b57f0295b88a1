// A workbook as the grid's import opens it: the bytes as a file given to the workbook server
// (OOXML or legacy .xls, told apart by content), every sheet's used range read. A workbook that
// opens is then saved whole under a new name and must read back with the same sheets and values,
// and saved in place with one cell changed.
#include "support/FuzzSupport.h"

#include "platform/ComObj.h"

#include <QStringList>

namespace {

// Each sheet's name, used range and values, one line per sheet.
QStringList Dump(const IExcelWorkbookPtr &Book)
{
    QStringList out;
    const IExcelSheetsPtr sheets = Book->Worksheets();
    for (int i = 1; i <= sheets->Count(); ++i) {
        const IExcelWorksheetPtr s = sheets->Item(i);
        const QString address = s->UsedRange()->Address();
        QString line = s->Name() + u' ' + address;
        try {
            const TVariantArray v = s->Range(address)->Value();
            for (int r = 1; r <= v.Rows(); ++r)
                for (int c = 1; c <= v.Cols(); ++c) {
                    const OleVariant &x = v.At(r, c);
                    line += QStringLiteral(" %1:").arg(int(x.Kind()));
                    line += x.Kind() == OleVariant::varError ? x.RawText() : x.ToString();
                }
        } catch (const EOleException &) {
            line += QStringLiteral(" (too large)");
        }
        out << line;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    Fuzz::CleanDir();
    Fuzz::WriteFile(QStringLiteral("in.xlsx"), Fuzz::Bytes(Data, Size));
    const std::shared_ptr<IExcelApplication> app = CreateWorkbookServer();
    QStringList first;
    try {
        const IExcelWorkbookPtr book = app->Workbooks()->Open(Fuzz::PathOf(QStringLiteral("in.xlsx")));
        first = Dump(book);
        book->SaveAs(Fuzz::PathOf(QStringLiteral("out.xlsx")));
        book->Close(false);
    } catch (const EOleException &) {
        app->Quit();
        return 0;
    }
    const IExcelWorkbookPtr again = app->Workbooks()->Open(Fuzz::PathOf(QStringLiteral("out.xlsx")));
    Fuzz::CheckSame(Dump(again).join(u'\n'), first.join(u'\n'), "a saved workbook reads back the same");
    again->Close(false);

    // Written in place: one cell of the first sheet changes, the sheets stay.
    int sheets = 0;
    try {
        const IExcelWorkbookPtr book = app->Workbooks()->Open(Fuzz::PathOf(QStringLiteral("in.xlsx")));
        sheets = book->Sheets()->Count();
        TVariantArray one(1, 1);
        one.At(1, 1) = OleVariant::String(QStringLiteral("fuzz"));
        book->Sheets()->Item(1)->Range(QStringLiteral("A1"))->SetValue(one);
        book->Save();
        book->Close(false);
    } catch (const EOleException &) {
        // Legacy workbooks are not written, and a package may hold parts too damaged to rewrite.
        app->Quit();
        return 0;
    }
    const IExcelWorkbookPtr saved = app->Workbooks()->Open(Fuzz::PathOf(QStringLiteral("in.xlsx")));
    Fuzz::Check(saved->Sheets()->Count() == sheets, "a workbook saved in place keeps its sheets");
    const TVariantArray a1 = saved->Sheets()->Item(1)->Range(QStringLiteral("A1"))->Value();
    Fuzz::CheckSame(a1.At(1, 1).ToString(), QStringLiteral("fuzz"), "a cell saved in place reads back");
    app->Quit();
    return 0;
}
