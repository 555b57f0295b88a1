#pragma once
// Late-bound automation objects. A program identifier names a server; the server table maps
// identifiers to factories, and tests put recording fakes in it. Only the spreadsheet server is
// built in: a workbook server over OOXML files that also reads legacy .xls workbooks.

#include "platform/System.h"

#include <functional>
#include <memory>
#include <vector>

FABRICOR_DECLARE_EXCEPTION(EOleError, Exception)
FABRICOR_DECLARE_EXCEPTION(EOleSysError, EOleError)
// An error a server reports about the call it was asked to do.
FABRICOR_DECLARE_EXCEPTION(EOleException, EOleSysError)

// A value as servers hand it over. Error elements carry the error's text ("#DIV/0!").
class OleVariant {
public:
    enum TKind { varEmpty, varNumber, varString, varBoolean, varError, varDispatch };

    OleVariant() = default;
    static OleVariant Number(double v) { OleVariant r; r.FKind = varNumber; r.FNumber = v; return r; }
    static OleVariant String(const UnicodeString &v) { OleVariant r; r.FKind = varString; r.FText = v; return r; }
    static OleVariant Boolean(bool v) { OleVariant r; r.FKind = varBoolean; r.FNumber = v ? 1 : 0; return r; }
    static OleVariant Error(const UnicodeString &v) { OleVariant r; r.FKind = varError; r.FText = v; return r; }
    static OleVariant Dispatch() { OleVariant r; r.FKind = varDispatch; return r; }

    TKind Kind() const { return FKind; }
    bool IsEmpty() const { return FKind == varEmpty; }
    double AsNumber() const { return FNumber; }
    bool AsBoolean() const { return FNumber != 0; }
    const UnicodeString &RawText() const { return FText; }
    // The text of a plain value: numbers in their shortest exact form, booleans "True"/"False",
    // empty as "". Errors and objects have no text (EInvalidCast).
    UnicodeString ToString() const;

    bool operator==(const OleVariant &o) const { return FKind == o.FKind && FNumber == o.FNumber && FText == o.FText; }

private:
    TKind FKind = varEmpty;
    double FNumber = 0;
    UnicodeString FText;
};

// A two-dimensional array of values, indexed from 1 in both directions as the servers do.
class TVariantArray {
public:
    TVariantArray() = default;
    TVariantArray(int Rows, int Cols);
    int Rows() const { return FRows; }
    int Cols() const { return FCols; }
    OleVariant &At(int Row, int Col);
    const OleVariant &At(int Row, int Col) const;

private:
    int FRows = 0;
    int FCols = 0;
    std::vector<OleVariant> FItems;
};

// The root of every automation object.
class IDispatch {
public:
    virtual ~IDispatch() = default;
};
using IDispatchPtr = std::shared_ptr<IDispatch>;

// ---- spreadsheet ("excel.application") ----

class IExcelRange {
public:
    virtual ~IExcelRange() = default;
    // "$B$2:$D$9", one cell "$C$5".
    virtual UnicodeString Address() = 0;
    virtual int Row() = 0;
    // A one-cell range gives a 1 x 1 array.
    virtual TVariantArray Value() = 0;
    virtual void SetValue(const TVariantArray &Value) = 0;
};
using IExcelRangePtr = std::shared_ptr<IExcelRange>;

class IExcelWorksheet {
public:
    virtual ~IExcelWorksheet() = default;
    virtual UnicodeString Name() = 0;
    virtual void SetName(const UnicodeString &Value) = 0;
    virtual IExcelRangePtr UsedRange() = 0;
    virtual IExcelRangePtr Range(const UnicodeString &Address) = 0;
    // The sheet's cell (Rows.Cells), row and column from 1.
    virtual IExcelRangePtr Cells(int Row, int Col) = 0;
};
using IExcelWorksheetPtr = std::shared_ptr<IExcelWorksheet>;

class IExcelSheets {
public:
    virtual ~IExcelSheets() = default;
    virtual int Count() = 0;
    // From 1.
    virtual IExcelWorksheetPtr Item(int Index) = 0;
    // A new worksheet after the others, made the active one.
    virtual IExcelWorksheetPtr Add() = 0;
};
using IExcelSheetsPtr = std::shared_ptr<IExcelSheets>;

class IExcelWorkbook {
public:
    virtual ~IExcelWorkbook() = default;
    virtual IExcelSheetsPtr Sheets() = 0;
    virtual IExcelSheetsPtr Worksheets() = 0;
    virtual IExcelWorksheetPtr ActiveSheet() = 0;
    virtual bool Saved() = 0;
    virtual void SetSaved(bool Value) = 0;
    virtual void Close(bool SaveChanges) = 0;
    virtual void Save() = 0;
    virtual void SaveAs(const UnicodeString &FileName) = 0;
};
using IExcelWorkbookPtr = std::shared_ptr<IExcelWorkbook>;

class IExcelWorkbooks {
public:
    virtual ~IExcelWorkbooks() = default;
    virtual IExcelWorkbookPtr Open(const UnicodeString &FileName) = 0;
    virtual IExcelWorkbookPtr Add() = 0;
    virtual int Count() = 0;
};
using IExcelWorkbooksPtr = std::shared_ptr<IExcelWorkbooks>;

class IExcelApplication : public IDispatch {
public:
    virtual IExcelWorkbooksPtr Workbooks() = 0;
    // Null while no workbook is open.
    virtual IExcelWorkbookPtr ActiveWorkbook() = 0;
    virtual IExcelWorksheetPtr ActiveSheet() = 0;
    virtual IExcelRangePtr ActiveCell() = 0;
    virtual void Quit() = 0;
};

// ---- word processor ("word.application") ----

constexpr int wdGoToBookmark = -1;
constexpr int wdGoToLine = 3;
constexpr int wdGoToLast = -1;

class IWordRange {
public:
    virtual ~IWordRange() = default;
    virtual void InsertAfter(const UnicodeString &Text) = 0;
    // ParagraphFormat.Alignment: 0 left, 1 centred, 2 right.
    virtual void SetAlignment(int Value) = 0;
};
using IWordRangePtr = std::shared_ptr<IWordRange>;

class IWordTable {
public:
    virtual ~IWordTable() = default;
    // The cell's range, row and column from 1.
    virtual IWordRangePtr Cell(int Row, int Column) = 0;
};
using IWordTablePtr = std::shared_ptr<IWordTable>;

class IWordDocument {
public:
    virtual ~IWordDocument() = default;
    virtual void SetShowSpellingErrors(bool Value) = 0;
    virtual bool BookmarkExists(const UnicodeString &Name) = 0;
    virtual IWordRangePtr Goto(int What, const UnicodeString &Name) = 0;
    virtual void AddParagraph() = 0;
    virtual IWordRangePtr Range(int Start, int End) = 0;
    virtual IWordTablePtr AddTable(const IWordRangePtr &Range, int NumRows, int NumColumns) = 0;
    virtual void SaveAs(const UnicodeString &FileName) = 0;
};
using IWordDocumentPtr = std::shared_ptr<IWordDocument>;

class IWordDocuments {
public:
    virtual ~IWordDocuments() = default;
    virtual IWordDocumentPtr Open(const UnicodeString &FileName) = 0;
    virtual IWordDocumentPtr Add() = 0;
    virtual int Count() = 0;
};
using IWordDocumentsPtr = std::shared_ptr<IWordDocuments>;

class IWordSelection {
public:
    virtual ~IWordSelection() = default;
    virtual void TypeText(const UnicodeString &Text) = 0;
    virtual void TypeParagraph() = 0;
    virtual void Goto(int What, int Which) = 0;
    virtual int End() = 0;
};
using IWordSelectionPtr = std::shared_ptr<IWordSelection>;

class IWordApplication : public IDispatch {
public:
    virtual IWordDocumentsPtr Documents() = 0;
    virtual IWordDocumentPtr ActiveDocument() = 0;
    virtual IWordSelectionPtr Selection() = 0;
    virtual void Quit() = 0;
};

// ---- database ("ADODB.Connection", "ADODB.RecordSet") ----

class IAdoConnection : public IDispatch {
public:
    virtual void Open(const UnicodeString &ConnectionString) = 0;
    virtual void Close() = 0;
};

class IAdoField {
public:
    virtual ~IAdoField() = default;
    virtual UnicodeString Name() = 0;
    virtual int ActualSize() = 0;
    virtual OleVariant Value() = 0;
};
using IAdoFieldPtr = std::shared_ptr<IAdoField>;

class IAdoRecordSet : public IDispatch {
public:
    virtual void SetActiveConnection(const std::shared_ptr<IAdoConnection> &Connection) = 0;
    virtual void Open(const UnicodeString &Sql) = 0;
    virtual int FieldCount() = 0;
    // From 0.
    virtual IAdoFieldPtr Field(int Index) = 0;
    virtual int RecordCount() = 0;
    virtual bool Eof() = 0;
    virtual void MoveNext() = 0;
    virtual void Close() = 0;
};

// ---- creating objects ----

using TOleServerFactory = std::function<IDispatchPtr()>;

// Registers (or, with an empty factory, removes) the server of a program identifier; identifiers
// compare without regard to case.
void RegisterOleServer(const UnicodeString &ProgID, TOleServerFactory Factory);
// Registers an object as the running instance of a program identifier (null removes it).
void RegisterActiveOleObject(const UnicodeString &ProgID, IDispatchPtr Object);

// A new object of the server; "Invalid class string" (EOleSysError) when none is registered.
IDispatchPtr CreateOleObject(const UnicodeString &ClassName);
// The running instance; "Operation unavailable" (EOleSysError) when none runs.
IDispatchPtr GetActiveOleObject(const UnicodeString &ClassName);

// The object as the interface the caller expects of it; a server without it is an error.
template <class T>
std::shared_ptr<T> OleAs(const IDispatchPtr &Object)
{
    auto typed = std::dynamic_pointer_cast<T>(Object);
    if (!typed)
        throw EOleSysError(QStringLiteral("No such interface supported"));
    return typed;
}

// Replaces the whole server table (and the running objects) for its lifetime and puts the
// previous one back afterwards; the table starts empty.
class TOleServerTableScope {
public:
    TOleServerTableScope();
    ~TOleServerTableScope();
    TOleServerTableScope(const TOleServerTableScope &) = delete;
    TOleServerTableScope &operator=(const TOleServerTableScope &) = delete;

private:
    struct TSaved;
    std::unique_ptr<TSaved> FSaved;
};

// The built-in workbook server ("excel.application"): a fresh application without workbooks.
std::shared_ptr<IExcelApplication> CreateWorkbookServer();
