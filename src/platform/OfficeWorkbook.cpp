// The built-in workbook server: OOXML workbooks read and written through libzip and pugixml,
// legacy .xls workbooks read only. A save rewrites only the parts that changed; libzip writes the
// whole archive to a temporary file beside the old one and renames it, so a failed save leaves
// the old file as it was and unchanged parts keep their bytes.

#include "platform/OfficeBook.h"

#include <QFileInfo>
#include <QFile>

#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

namespace office {

namespace {

// Workbooks beyond this size are refused before anything is read; a part of the package is
// refused beyond its own bound, so that a small archive cannot unpack into gigabytes.
constexpr qint64 MaxFileSize = 64 << 20;
constexpr zip_uint64_t MaxPartSize = 128u << 20;

const char *const NsMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char *const NsRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char *const NsPackageRel = "http://schemas.openxmlformats.org/package/2006/relationships";
const char *const RelWorksheet = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
const char *const CtWorksheet = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";

[[noreturn]] void Fail(const QString &Text) { throw EOleException(Text); }

// ---- A1 addresses ----

QString ColumnName(int Col)
{
    QString s;
    while (Col > 0) {
        s.prepend(QChar(u'A' + (Col - 1) % 26));
        Col = (Col - 1) / 26;
    }
    return s;
}

QString CellName(int Row, int Col) { return ColumnName(Col) + QString::number(Row); }

// "B2", "$B$2", "b2" into row and column; false for anything else or a cell off the sheet.
bool ParseCell(QStringView s, int &Row, int &Col)
{
    qsizetype i = 0;
    if (i < s.size() && s[i] == u'$')
        ++i;
    Col = 0;
    const qsizetype letters = i;
    while (i < s.size() && s[i].isLetter() && s[i].unicode() < 128) {
        Col = Col * 26 + (s[i].toUpper().unicode() - u'A' + 1);
        if (Col > MaxCols)
            return false;
        ++i;
    }
    if (i == letters)
        return false;
    if (i < s.size() && s[i] == u'$')
        ++i;
    bool ok = false;
    Row = s.mid(i).toInt(&ok);
    return ok && i < s.size() && s[i].isDigit() && Row >= 1 && Row <= MaxRows;
}

struct TArea {
    int Row1 = 1, Col1 = 1, Row2 = 1, Col2 = 1;
    int Rows() const { return Row2 - Row1 + 1; }
    int Cols() const { return Col2 - Col1 + 1; }
};

TArea ParseArea(const QString &Address)
{
    TArea a;
    const qsizetype colon = Address.indexOf(u':');
    const QStringView all(Address);
    bool ok = colon < 0 ? ParseCell(all, a.Row1, a.Col1)
                        : ParseCell(all.left(colon), a.Row1, a.Col1) && ParseCell(all.mid(colon + 1), a.Row2, a.Col2);
    if (colon < 0) {
        a.Row2 = a.Row1;
        a.Col2 = a.Col1;
    }
    if (!ok)
        Fail(QStringLiteral("Invalid range address: ") + Address);
    if (a.Row2 < a.Row1)
        std::swap(a.Row1, a.Row2);
    if (a.Col2 < a.Col1)
        std::swap(a.Col1, a.Col2);
    return a;
}

// ---- texts in cells ----

// Texts whose number prints back as the same text; "007" or "1.50" would come back changed, so
// they stay texts.
bool TextAsNumber(const QString &Text, double &Value)
{
    if (Text.isEmpty() || Text.size() > 32)
        return false;
    bool ok = false;
    Value = Text.toDouble(&ok);
    return ok && std::isfinite(Value) && OleVariant::Number(Value).ToString() == Text;
}

bool IsHex4(QStringView s)
{
    if (s.size() != 4)
        return false;
    for (QChar c : s)
        if (!isxdigit(c.unicode() < 128 ? int(c.unicode()) : 0))
            return false;
    return true;
}

// Characters XML cannot carry are written as _xHHHH_, and a literal "_x" that looks like such
// an escape has its underscore escaped, as the format asks.
QString EscapeText(const QString &s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        const bool bad = (c < 0x20 && c != u'\t' && c != u'\n') || c == 0xFFFE || c == 0xFFFF;
        const bool lookalike = c == u'_' && i + 6 < s.size() && s[i + 1] == u'x' &&
                               IsHex4(QStringView(s).mid(i + 2, 4)) && s[i + 6] == u'_';
        if (bad || lookalike)
            out += QStringLiteral("_x") + QStringLiteral("%1").arg(int(c), 4, 16, QChar(u'0')).toUpper() + u'_';
        else
            out += s[i];
    }
    return out;
}

QString UnescapeText(const QString &s)
{
    if (!s.contains(QStringLiteral("_x")))
        return s;
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'_' && i + 6 < s.size() && s[i + 1] == u'x' && IsHex4(QStringView(s).mid(i + 2, 4)) &&
            s[i + 6] == u'_') {
            out += QChar(char16_t(QStringView(s).mid(i + 2, 4).toUInt(nullptr, 16)));
            i += 6;
        } else {
            out += s[i];
        }
    }
    return out;
}

// ---- XML helpers that ignore namespace prefixes ----

const char *LocalName(const char *Name)
{
    const char *colon = std::strchr(Name, ':');
    return colon ? colon + 1 : Name;
}

bool Is(const pugi::xml_node &n, const char *Local) { return std::strcmp(LocalName(n.name()), Local) == 0; }

pugi::xml_node Child(const pugi::xml_node &n, const char *Local)
{
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && Is(c, Local))
            return c;
    return {};
}

// The relation id of a workbook's sheet element (r:id with whatever prefix).
pugi::xml_attribute RelIdAttr(const pugi::xml_node &n)
{
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
        if (std::strchr(a.name(), ':') && std::strcmp(LocalName(a.name()), "id") == 0)
            return a;
    return {};
}

QString Prefix(const pugi::xml_node &n)
{
    const char *colon = std::strchr(n.name(), ':');
    return colon ? QString::fromUtf8(n.name(), int(colon - n.name()) + 1) : QString();
}

// The text of a string item: its t, or its runs' t without the phonetic hints.
QString ItemText(const pugi::xml_node &Item)
{
    if (pugi::xml_node t = Child(Item, "t"))
        return UnescapeText(QString::fromUtf8(t.child_value()));
    QString s;
    for (pugi::xml_node r = Item.first_child(); r; r = r.next_sibling())
        if (Is(r, "r"))
            s += QString::fromUtf8(Child(r, "t").child_value());
    return UnescapeText(s);
}

QByteArray Serialise(const pugi::xml_document &Doc)
{
    struct TWriter : pugi::xml_writer {
        QByteArray Data;
        void write(const void *data, size_t size) override { Data.append(static_cast<const char *>(data), qsizetype(size)); }
    } w;
    Doc.save(w, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n") + w.Data;
}

void Parse(pugi::xml_document &Doc, const QByteArray &Data, const QString &What)
{
    if (!Doc.load_buffer(Data.constData(), size_t(Data.size()), pugi::parse_default, pugi::encoding_utf8))
        Fail(QStringLiteral("The workbook is damaged: %1 is no valid XML").arg(What));
}

// Joins a relation target to the folder of the part that names it ("../x" climbs).
QString ResolveTarget(const QString &FromPart, const QString &Target)
{
    if (Target.startsWith(u'/'))
        return Target.mid(1);
    QStringList parts = FromPart.split(u'/');
    parts.removeLast();
    for (const QString &p : Target.split(u'/')) {
        if (p == QStringLiteral(".."))
            parts.isEmpty() ? void() : parts.removeLast();
        else if (p != QStringLiteral(".") && !p.isEmpty())
            parts << p;
    }
    return parts.join(u'/');
}

QString RelsOf(const QString &Part)
{
    const qsizetype slash = Part.lastIndexOf(u'/');
    return Part.left(slash + 1) + QStringLiteral("_rels/") + Part.mid(slash + 1) + QStringLiteral(".rels");
}

// ---- the package ----

// One archive, with the parts to write staged until the commit.
class TPackage {
public:
    TPackage(const QString &Path, int Flags) : FPath(Path)
    {
        int err = 0;
        FZip = zip_open(QFile::encodeName(Path).constData(), Flags, &err);
        if (!FZip) {
            zip_error_t e;
            zip_error_init_with_code(&e, err);
            const QString text = QString::fromLocal8Bit(zip_error_strerror(&e));
            zip_error_fini(&e);
            Fail(QStringLiteral("'%1' is not a workbook that can be read: %2").arg(Path, text));
        }
    }
    ~TPackage()
    {
        if (FZip)
            zip_discard(FZip);
    }
    TPackage(const TPackage &) = delete;
    TPackage &operator=(const TPackage &) = delete;

    bool Has(const QString &Name) const
    {
        return FStaged.count(Name) || (!FDeleted.count(Name) && zip_name_locate(FZip, Name.toUtf8().constData(), 0) >= 0);
    }

    // The part's bytes; Found is false (and the result empty) when there is no such part.
    QByteArray Read(const QString &Name, bool &Found) const
    {
        Found = false;
        if (const auto it = FStaged.find(Name); it != FStaged.end()) {
            Found = true;
            return it->second;
        }
        if (FDeleted.count(Name))
            return {};
        const zip_int64_t idx = zip_name_locate(FZip, Name.toUtf8().constData(), 0);
        if (idx < 0)
            return {};
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(FZip, zip_uint64_t(idx), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE) || st.size > MaxPartSize)
            Fail(QStringLiteral("The workbook is damaged or too large: %1").arg(Name));
        zip_file_t *f = zip_fopen_index(FZip, zip_uint64_t(idx), 0);
        if (!f)
            Fail(QStringLiteral("The workbook's part %1 cannot be read: %2").arg(Name, QString::fromLocal8Bit(zip_strerror(FZip))));
        QByteArray data(qsizetype(st.size), Qt::Uninitialized);
        const zip_int64_t n = zip_fread(f, data.data(), st.size);
        zip_fclose(f);
        if (n < 0 || zip_uint64_t(n) != st.size)
            Fail(QStringLiteral("The workbook's part %1 is damaged").arg(Name));
        Found = true;
        return data;
    }

    QByteArray Read(const QString &Name) const
    {
        bool found = false;
        QByteArray data = Read(Name, found);
        if (!found)
            Fail(QStringLiteral("The workbook is damaged: the part %1 is missing").arg(Name));
        return data;
    }

    void Write(const QString &Name, QByteArray Data)
    {
        FDeleted.erase(Name);
        FStaged[Name] = std::move(Data);
    }

    void Delete(const QString &Name)
    {
        FStaged.erase(Name);
        FDeleted.insert(Name);
    }

    void Commit()
    {
        for (const QString &name : FDeleted) {
            const zip_int64_t idx = zip_name_locate(FZip, name.toUtf8().constData(), 0);
            if (idx >= 0)
                zip_delete(FZip, zip_uint64_t(idx));
        }
        for (const auto &[name, data] : FStaged) {
            zip_source_t *src = zip_source_buffer(FZip, data.constData(), zip_uint64_t(data.size()), 0);
            if (!src || zip_file_add(FZip, name.toUtf8().constData(), src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
                if (src)
                    zip_source_free(src);
                Fail(QStringLiteral("'%1' cannot be written: %2").arg(FPath, QString::fromLocal8Bit(zip_strerror(FZip))));
            }
        }
        if (zip_close(FZip) != 0)
            Fail(QStringLiteral("'%1' cannot be written: %2").arg(FPath, QString::fromLocal8Bit(zip_strerror(FZip))));
        FZip = nullptr;
    }

private:
    QString FPath;
    zip_t *FZip = nullptr;
    std::map<QString, QByteArray> FStaged;
    std::set<QString> FDeleted;
};

enum class TFileKind { Missing, Ooxml, Legacy, Other };

TFileKind KindOf(const QString &Path)
{
    const QFileInfo fi(Path);
    if (!fi.exists() && !fi.isSymLink())
        return TFileKind::Missing;
    if (!fi.isFile())
        return TFileKind::Other;
    QFile f(Path);
    if (!f.open(QIODevice::ReadOnly))
        return TFileKind::Other;
    const QByteArray head = f.read(8);
    if (head.startsWith(QByteArrayLiteral("PK\x03\x04")))
        return TFileKind::Ooxml;
    if (head == QByteArray::fromHex("D0CF11E0A1B11AE1"))
        return TFileKind::Legacy;
    return TFileKind::Other;
}

// ---- reading ----

void ReadSheet(const QByteArray &Xml, const std::vector<QString> &Shared, TSheet &Sheet, TBook &Book, const QString &Part)
{
    pugi::xml_document doc;
    Parse(doc, Xml, Part);
    const pugi::xml_node data = Child(doc.document_element(), "sheetData");
    int rowNo = 0;
    for (pugi::xml_node row = data.first_child(); row; row = row.next_sibling()) {
        if (!Is(row, "row"))
            continue;
        const pugi::xml_attribute r = row.attribute("r");
        rowNo = r ? r.as_int() : rowNo + 1;
        if (rowNo < 1 || rowNo > MaxRows)
            Fail(QStringLiteral("The workbook is damaged: a row number in %1 is off the sheet").arg(Part));
        int colNo = 0;
        for (pugi::xml_node c = row.first_child(); c; c = c.next_sibling()) {
            if (!Is(c, "c"))
                continue;
            int cellRow = rowNo;
            if (const pugi::xml_attribute ref = c.attribute("r")) {
                if (!ParseCell(QString::fromUtf8(ref.value()), cellRow, colNo))
                    Fail(QStringLiteral("The workbook is damaged: a cell address in %1 is wrong").arg(Part));
            } else if (++colNo > MaxCols) {
                Fail(QStringLiteral("The workbook is damaged: a row of %1 is too long").arg(Part));
            }
            const QByteArray type = c.attribute("t").value();
            const char *v = Child(c, "v").child_value();
            TCell cell;
            cell.Style = c.attribute("s").value();
            cell.Original = true;
            if (type == "s") {
                const long idx = std::strtol(v, nullptr, 10);
                if (*v == 0 || idx < 0 || std::size_t(idx) >= Shared.size())
                    Fail(QStringLiteral("The workbook is damaged: a shared string of %1 is missing").arg(Part));
                cell.Value = OleVariant::String(Shared[std::size_t(idx)]);
            } else if (type == "inlineStr") {
                cell.Value = OleVariant::String(ItemText(Child(c, "is")));
            } else if (type == "str") {
                cell.Value = OleVariant::String(UnescapeText(QString::fromUtf8(v)));
            } else if (type == "b") {
                cell.Value = OleVariant::Boolean(std::strcmp(v, "1") == 0 || std::strcmp(v, "true") == 0);
            } else if (type == "e") {
                cell.Value = OleVariant::Error(QString::fromUtf8(v));
            } else if (*v) {
                bool ok = false;
                const double d = QByteArray(v).trimmed().toDouble(&ok);
                if (!ok || !std::isfinite(d))
                    Fail(QStringLiteral("The workbook is damaged: a number of %1 does not read").arg(Part));
                cell.Value = OleVariant::Number(d);
            }
            if (cell.Value.IsEmpty() || (cell.Value.Kind() == OleVariant::varString && cell.Value.RawText().isEmpty())) {
                // Formatted but empty: only the format is worth keeping.
                if (cell.Style.isEmpty())
                    continue;
                cell.Value = OleVariant();
            }
            const auto [it, added] = Sheet.Cells.insert_or_assign(std::make_pair(cellRow, colNo), std::move(cell));
            (void)it;
            if (added && ++Book.CellCount > MaxCells)
                Fail(QStringLiteral("The workbook holds too many cells"));
        }
    }
}

struct TWorkbookParts {
    QString Workbook;
    QString WorkbookRels;
};

TWorkbookParts LocateWorkbook(const TPackage &Pkg)
{
    TWorkbookParts p;
    p.Workbook = QStringLiteral("xl/workbook.xml");
    bool found = false;
    const QByteArray rels = Pkg.Read(QStringLiteral("_rels/.rels"), found);
    if (found) {
        pugi::xml_document doc;
        Parse(doc, rels, QStringLiteral("_rels/.rels"));
        for (pugi::xml_node r = doc.document_element().first_child(); r; r = r.next_sibling())
            if (QByteArray(r.attribute("Type").value()).endsWith("/officeDocument"))
                p.Workbook = ResolveTarget(QString(), QString::fromUtf8(r.attribute("Target").value()));
    }
    p.WorkbookRels = RelsOf(p.Workbook);
    return p;
}

void ReadOoxml(const QString &Path, TBook &Book)
{
    TPackage pkg(Path, ZIP_RDONLY);
    const TWorkbookParts parts = LocateWorkbook(pkg);
    pugi::xml_document wb, rels;
    Parse(wb, pkg.Read(parts.Workbook), parts.Workbook);
    bool found = false;
    const QByteArray relData = pkg.Read(parts.WorkbookRels, found);
    if (found)
        Parse(rels, relData, parts.WorkbookRels);

    std::map<QString, QString> targets;
    std::vector<QString> shared;
    for (pugi::xml_node r = rels.document_element().first_child(); r; r = r.next_sibling()) {
        const QString target = ResolveTarget(parts.Workbook, QString::fromUtf8(r.attribute("Target").value()));
        targets[QString::fromUtf8(r.attribute("Id").value())] = target;
        if (QByteArray(r.attribute("Type").value()).endsWith("/sharedStrings")) {
            pugi::xml_document sst;
            Parse(sst, pkg.Read(target), target);
            for (pugi::xml_node si = sst.document_element().first_child(); si; si = si.next_sibling())
                if (Is(si, "si"))
                    shared.push_back(ItemText(si));
        }
    }

    const pugi::xml_node sheets = Child(wb.document_element(), "sheets");
    for (pugi::xml_node s = sheets.first_child(); s; s = s.next_sibling()) {
        if (!Is(s, "sheet"))
            continue;
        TSheet sheet;
        sheet.Name = QString::fromUtf8(s.attribute("name").value());
        sheet.RelId = QString::fromUtf8(RelIdAttr(s).value());
        const auto t = targets.find(sheet.RelId);
        if (t == targets.end())
            Fail(QStringLiteral("The workbook is damaged: the sheet %1 has no part").arg(sheet.Name));
        sheet.Part = t->second;
        // Chart sheets and dialog sheets have no cells; they stay in the file untouched.
        bool isSheet = false;
        for (pugi::xml_node r = rels.document_element().first_child(); r; r = r.next_sibling())
            if (sheet.RelId == QString::fromUtf8(r.attribute("Id").value()))
                isSheet = std::strcmp(r.attribute("Type").value(), RelWorksheet) == 0 ||
                          QByteArray(r.attribute("Type").value()).endsWith("/worksheet");
        if (!isSheet)
            continue;
        ReadSheet(pkg.Read(sheet.Part), shared, sheet, Book, sheet.Part);
        Book.Sheets.push_back(std::move(sheet));
    }
    if (Book.Sheets.empty())
        Fail(QStringLiteral("'%1' holds no worksheet").arg(Path));
}

// ---- writing ----

// The cells and rows of a sheet's old part by position, for copying what was not changed.
struct TOldCells {
    std::map<std::pair<int, int>, pugi::xml_node> Cells;
    std::map<int, pugi::xml_node> Rows;
};

void WriteCells(pugi::xml_node Data, const TSheet &Sheet, const TOldCells *Old = nullptr)
{
    pugi::xml_node row;
    int rowNo = 0;
    for (const auto &[pos, cell] : Sheet.Cells) {
        if (pos.first != rowNo) {
            rowNo = pos.first;
            row = Data.append_child("row");
            row.append_attribute("r") = rowNo;
            // Heights, hidden rows and row formats stay; the column span hint may no longer hold.
            if (Old)
                if (const auto o = Old->Rows.find(rowNo); o != Old->Rows.end())
                    for (pugi::xml_attribute a = o->second.first_attribute(); a; a = a.next_attribute())
                        if (std::strcmp(a.name(), "r") != 0 && std::strcmp(a.name(), "spans") != 0)
                            row.append_attribute(a.name()) = a.value();
        }
        if (Old && cell.Original) {
            if (const auto o = Old->Cells.find(pos); o != Old->Cells.end()) {
                pugi::xml_node c = row.append_copy(o->second);
                if (!c.attribute("r"))
                    c.prepend_attribute("r") = CellName(pos.first, pos.second).toUtf8().constData();
                // A shared formula's other cells may have been written over: its cells keep
                // their values only.
                pugi::xml_node f = Child(c, "f");
                if (f && std::strcmp(f.attribute("t").value(), "shared") == 0)
                    c.remove_child(f);
                continue;
            }
        }
        pugi::xml_node c = row.append_child("c");
        c.append_attribute("r") = CellName(pos.first, pos.second).toUtf8().constData();
        if (!cell.Style.isEmpty())
            c.append_attribute("s") = cell.Style.constData();
        const OleVariant &v = cell.Value;
        switch (v.Kind()) {
        case OleVariant::varNumber:
            c.append_child("v").text() = v.ToString().toUtf8().constData();
            break;
        case OleVariant::varBoolean:
            c.append_attribute("t") = "b";
            c.append_child("v").text() = v.AsBoolean() ? "1" : "0";
            break;
        case OleVariant::varError:
            c.append_attribute("t") = "e";
            c.append_child("v").text() = v.RawText().toUtf8().constData();
            break;
        case OleVariant::varString: {
            c.append_attribute("t") = "inlineStr";
            pugi::xml_node t = c.append_child("is").append_child("t");
            const QString text = EscapeText(v.RawText());
            if (text != text.trimmed() || text.contains(u'\n'))
                t.append_attribute("xml:space") = "preserve";
            t.text() = text.toUtf8().constData();
            break;
        }
        default:
            break;
        }
    }
}

QString UsedAddress(const TSheet &Sheet, bool Absolute);

QByteArray NewSheetXml(const TSheet &Sheet)
{
    pugi::xml_document doc;
    pugi::xml_node ws = doc.append_child("worksheet");
    ws.append_attribute("xmlns") = NsMain;
    ws.append_attribute("xmlns:r") = NsRel;
    ws.append_child("dimension").append_attribute("ref") = UsedAddress(Sheet, false).toUtf8().constData();
    WriteCells(ws.append_child("sheetData"), Sheet);
    return Serialise(doc);
}

// The sheet's cells written into its old part: everything else of the sheet (columns, views,
// merged cells, page setup) stays.
QByteArray ChangedSheetXml(const QByteArray &Old, const TSheet &Sheet)
{
    pugi::xml_document doc;
    Parse(doc, Old, Sheet.Part);
    pugi::xml_node ws = doc.document_element();
    pugi::xml_node data = Child(ws, "sheetData");
    if (!data) {
        pugi::xml_node after;
        for (const char *n : {"sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols"})
            if (pugi::xml_node x = Child(ws, n))
                after = x;
        data = after ? ws.insert_child_after("sheetData", after) : ws.prepend_child("sheetData");
        data.set_name((Prefix(ws) + QStringLiteral("sheetData")).toUtf8().constData());
    }
    // The old cells are indexed as the reader numbered them.
    pugi::xml_document scratch;
    TOldCells old;
    {
        const pugi::xml_node copy = scratch.append_copy(data);
        int rowNo = 0;
        for (pugi::xml_node r = copy.first_child(); r; r = r.next_sibling()) {
            if (!Is(r, "row"))
                continue;
            rowNo = r.attribute("r") ? r.attribute("r").as_int() : rowNo + 1;
            old.Rows[rowNo] = r;
            int colNo = 0;
            for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
                if (!Is(c, "c"))
                    continue;
                int cellRow = rowNo;
                if (!c.attribute("r") || !ParseCell(QString::fromUtf8(c.attribute("r").value()), cellRow, colNo))
                    ++colNo;
                old.Cells[{cellRow, colNo}] = c;
            }
        }
    }
    while (data.first_child())
        data.remove_child(data.first_child());
    // Our cells are written without a prefix: the default namespace has to be the sheet's.
    if (!Prefix(ws).isEmpty()) {
        pugi::xml_node fresh = ws.insert_child_after("sheetData", data);
        fresh.append_attribute("xmlns") = NsMain;
        ws.remove_child(data);
        data = fresh;
    }
    WriteCells(data, Sheet, &old);
    if (pugi::xml_node dim = Child(ws, "dimension"))
        dim.attribute("ref").set_value(UsedAddress(Sheet, false).toUtf8().constData());
    return Serialise(doc);
}

const char *const SkeletonTypes =
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/xl/workbook.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
    "<Override PartName=\"/xl/styles.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
    "</Types>";
const char *const SkeletonRootRels =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"xl/workbook.xml\"/></Relationships>";
const char *const SkeletonWorkbook =
    "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets/></workbook>";
const char *const SkeletonWorkbookRels =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rIdStyles\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
    "Target=\"styles.xml\"/></Relationships>";
const char *const SkeletonStyles =
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles></styleSheet>";

QByteArray Declared(const char *Xml)
{
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n") + Xml;
}

// Writes the book's changes into the package: changed and new sheets, and the sheet list when
// a sheet was added or renamed. A sheet that never changed keeps its part's bytes.
void SaveChanges(TPackage &Pkg, std::vector<TSheet> &Sheets, bool Fresh)
{
    if (Fresh) {
        Pkg.Write(QStringLiteral("[Content_Types].xml"), Declared(SkeletonTypes));
        Pkg.Write(QStringLiteral("_rels/.rels"), Declared(SkeletonRootRels));
        Pkg.Write(QStringLiteral("xl/workbook.xml"), Declared(SkeletonWorkbook));
        Pkg.Write(QStringLiteral("xl/_rels/workbook.xml.rels"), Declared(SkeletonWorkbookRels));
        Pkg.Write(QStringLiteral("xl/styles.xml"), Declared(SkeletonStyles));
    }
    const TWorkbookParts parts = LocateWorkbook(Pkg);
    pugi::xml_document wb, rels, types;
    Parse(wb, Pkg.Read(parts.Workbook), parts.Workbook);
    bool found = false;
    const QByteArray relData = Pkg.Read(parts.WorkbookRels, found);
    if (found) {
        Parse(rels, relData, parts.WorkbookRels);
    } else {
        pugi::xml_node root = rels.append_child("Relationships");
        root.append_attribute("xmlns") = NsPackageRel;
    }
    Parse(types, Pkg.Read(QStringLiteral("[Content_Types].xml")), QStringLiteral("[Content_Types].xml"));

    pugi::xml_node wbRoot = wb.document_element();
    pugi::xml_node sheetList = Child(wbRoot, "sheets");
    if (!sheetList)
        Fail(QStringLiteral("The workbook is damaged: it has no sheet list"));
    bool listChanged = false;
    bool anyRewritten = false;

    std::set<QString> relIds;
    for (pugi::xml_node r = rels.document_element().first_child(); r; r = r.next_sibling())
        relIds.insert(QString::fromUtf8(r.attribute("Id").value()));
    unsigned maxSheetId = 0;
    QString relAttr;
    for (pugi::xml_node s = sheetList.first_child(); s; s = s.next_sibling()) {
        maxSheetId = std::max(maxSheetId, s.attribute("sheetId").as_uint());
        if (relAttr.isEmpty() && RelIdAttr(s))
            relAttr = QString::fromUtf8(RelIdAttr(s).name());
    }
    if (relAttr.isEmpty()) {
        relAttr = QStringLiteral("r:id");
        if (!wbRoot.attribute("xmlns:r"))
            wbRoot.append_attribute("xmlns:r") = NsRel;
    }

    for (TSheet &sheet : Sheets) {
        if (sheet.Part.isEmpty()) {
            int n = 1;
            QString part;
            do
                part = QStringLiteral("xl/worksheets/sheet%1.xml").arg(n++);
            while (Pkg.Has(part));
            QString id;
            n = 1;
            do
                id = QStringLiteral("rId%1").arg(n++);
            while (relIds.count(id));
            relIds.insert(id);
            pugi::xml_node rel = rels.document_element().append_child("Relationship");
            rel.append_attribute("Id") = id.toUtf8().constData();
            rel.append_attribute("Type") = RelWorksheet;
            rel.append_attribute("Target") = ("/" + part).toUtf8().constData();
            pugi::xml_node over = types.document_element().append_child("Override");
            over.append_attribute("PartName") = ("/" + part).toUtf8().constData();
            over.append_attribute("ContentType") = CtWorksheet;
            pugi::xml_node s = sheetList.append_child((Prefix(sheetList) + QStringLiteral("sheet")).toUtf8().constData());
            s.append_attribute("name") = sheet.Name.toUtf8().constData();
            s.append_attribute("sheetId") = ++maxSheetId;
            s.append_attribute(relAttr.toUtf8().constData()) = id.toUtf8().constData();
            // Writers may declare the relations' prefix on each sheet rather than on the root.
            const QString declare = QStringLiteral("xmlns:") + relAttr.left(relAttr.indexOf(u':'));
            if (!wbRoot.attribute(declare.toUtf8().constData()))
                s.append_attribute(declare.toUtf8().constData()) = NsRel;
            Pkg.Write(part, NewSheetXml(sheet));
            sheet.Part = part;
            sheet.RelId = id;
            listChanged = true;
        } else if (sheet.Changed) {
            Pkg.Write(sheet.Part, ChangedSheetXml(Pkg.Read(sheet.Part), sheet));
            anyRewritten = true;
        }
        if (sheet.Renamed) {
            for (pugi::xml_node s = sheetList.first_child(); s; s = s.next_sibling())
                if (QString::fromUtf8(RelIdAttr(s).value()) == sheet.RelId)
                    s.attribute("name").set_value(sheet.Name.toUtf8().constData());
            listChanged = true;
        }
    }

    // A rewritten sheet holds values only; a calculation chain naming its old formulas would
    // make the workbook look damaged.
    if (anyRewritten) {
        pugi::xml_node relRoot = rels.document_element();
        for (pugi::xml_node r = relRoot.first_child(); r;) {
            pugi::xml_node next = r.next_sibling();
            if (QByteArray(r.attribute("Type").value()).endsWith("/calcChain")) {
                const QString target = ResolveTarget(parts.Workbook, QString::fromUtf8(r.attribute("Target").value()));
                Pkg.Delete(target);
                for (pugi::xml_node o = types.document_element().first_child(); o;) {
                    pugi::xml_node onext = o.next_sibling();
                    if (QString::fromUtf8(o.attribute("PartName").value()) == u'/' + target)
                        types.document_element().remove_child(o);
                    o = onext;
                }
                relRoot.remove_child(r);
                listChanged = true;
            }
            r = next;
        }
    }

    if (listChanged || Fresh) {
        Pkg.Write(parts.Workbook, Serialise(wb));
        Pkg.Write(parts.WorkbookRels, Serialise(rels));
        Pkg.Write(QStringLiteral("[Content_Types].xml"), Serialise(types));
    }
    Pkg.Commit();
    for (TSheet &sheet : Sheets)
        sheet.Changed = sheet.Renamed = false;
}

// ---- the model's used range ----

bool UsedArea(const TSheet &Sheet, TArea &Area)
{
    bool any = false;
    for (const auto &[pos, cell] : Sheet.Cells) {
        if (cell.Value.IsEmpty())
            continue;
        if (!any) {
            Area = {pos.first, pos.second, pos.first, pos.second};
            any = true;
        }
        Area.Row1 = std::min(Area.Row1, pos.first);
        Area.Row2 = std::max(Area.Row2, pos.first);
        Area.Col1 = std::min(Area.Col1, pos.second);
        Area.Col2 = std::max(Area.Col2, pos.second);
    }
    return any;
}

QString UsedAddress(const TSheet &Sheet, bool Absolute)
{
    TArea a;
    UsedArea(Sheet, a);
    const QString d = Absolute ? QStringLiteral("$") : QString();
    const QString first = d + ColumnName(a.Col1) + d + QString::number(a.Row1);
    if (a.Row1 == a.Row2 && a.Col1 == a.Col2)
        return first;
    return first + u':' + d + ColumnName(a.Col2) + d + QString::number(a.Row2);
}

bool ValidSheetName(const QString &Name)
{
    if (Name.isEmpty() || Name.size() > 31 || Name.startsWith(u'\'') || Name.endsWith(u'\''))
        return false;
    for (QChar c : Name)
        if (QStringLiteral("[]:*?/\\").contains(c) || c.unicode() < 0x20)
            return false;
    return true;
}

// ---- the automation objects ----

class TWorkbookImpl;
using TWorkbookRef = std::shared_ptr<TWorkbookImpl>;

class TApplicationImpl;

class TWorkbookImpl : public std::enable_shared_from_this<TWorkbookImpl> {
public:
    TBook Book;
    QString Path;     // empty for a workbook never saved
    bool Legacy = false;
    bool Saved = true;
    bool Closed = false;
    int ActiveSheet = 0;
    std::weak_ptr<TApplicationImpl> App;

    TSheet &Sheet(int Index)
    {
        CheckOpen();
        if (Index < 0 || std::size_t(Index) >= Book.Sheets.size())
            Fail(QStringLiteral("Subscript out of range"));
        return Book.Sheets[std::size_t(Index)];
    }
    void CheckOpen() const
    {
        if (Closed)
            Fail(QStringLiteral("The workbook is closed"));
    }

    int AddSheet()
    {
        CheckOpen();
        TSheet s;
        for (int n = int(Book.Sheets.size()) + 1;; ++n) {
            s.Name = QStringLiteral("Sheet%1").arg(n);
            if (!NameTaken(s.Name, -1))
                break;
        }
        s.Changed = true;
        Book.Sheets.push_back(std::move(s));
        Saved = false;
        ActiveSheet = int(Book.Sheets.size()) - 1;
        return ActiveSheet;
    }

    bool NameTaken(const QString &Name, int Except) const
    {
        for (std::size_t i = 0; i < Book.Sheets.size(); ++i)
            if (int(i) != Except && Book.Sheets[i].Name.compare(Name, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }

    void Save()
    {
        CheckOpen();
        if (Path.isEmpty())
            Fail(QStringLiteral("The workbook has no file yet: save it with SaveAs"));
        if (Legacy)
            Fail(QStringLiteral("'%1' is a legacy .xls workbook, which is read here only").arg(Path));
        if (KindOf(Path) != TFileKind::Ooxml)
            Fail(QStringLiteral("'%1' is no longer a workbook that can be written").arg(Path));
        TPackage pkg(Path, 0);
        SaveChanges(pkg, Book.Sheets, false);
        Saved = true;
    }

    void SaveAs(const QString &FileName)
    {
        CheckOpen();
        if (!Path.isEmpty() && !Legacy && QFileInfo(FileName).absoluteFilePath() == QFileInfo(Path).absoluteFilePath()) {
            Save();
            return;
        }
        // Only a workbook is replaced: any other file in the way stays as it is.
        const TFileKind kind = KindOf(FileName);
        if (kind != TFileKind::Missing && kind != TFileKind::Ooxml)
            Fail(QStringLiteral("'%1' exists and is not a workbook that can be written").arg(FileName));
        if (kind == TFileKind::Ooxml) {
            // A damaged workbook may still be what the user has left of the data.
            TBook probe;
            ReadOoxml(FileName, probe);
        }
        // Written whole: every sheet goes into a fresh package.
        std::vector<TSheet> sheets = Book.Sheets;
        for (TSheet &s : sheets) {
            s.Part.clear();
            s.RelId.clear();
        }
        TPackage pkg(FileName, ZIP_CREATE | ZIP_TRUNCATE);
        SaveChanges(pkg, sheets, true);
        Book.Sheets = std::move(sheets);
        Path = FileName;
        Legacy = false;
        Saved = true;
    }
};

class TRangeImpl : public IExcelRange {
public:
    TRangeImpl(TWorkbookRef Book, int Sheet, TArea Area) : FBook(std::move(Book)), FSheet(Sheet), FArea(Area) {}

    UnicodeString Address() override
    {
        const QString first = QStringLiteral("$%1$%2").arg(ColumnName(FArea.Col1)).arg(FArea.Row1);
        if (FArea.Rows() == 1 && FArea.Cols() == 1)
            return first;
        return first + QStringLiteral(":$%1$%2").arg(ColumnName(FArea.Col2)).arg(FArea.Row2);
    }
    int Row() override { return FArea.Row1; }

    TVariantArray Value() override
    {
        const TSheet &sheet = FBook->Sheet(FSheet);
        if (std::size_t(FArea.Rows()) * std::size_t(FArea.Cols()) > MaxCells)
            Fail(QStringLiteral("The range %1 is too large to read").arg(Address()));
        TVariantArray a(FArea.Rows(), FArea.Cols());
        // Jumps over the cells left and right of the range, so that a tall sparse range costs
        // its cells, not its rows times the sheet's width.
        auto it = sheet.Cells.lower_bound({FArea.Row1, FArea.Col1});
        while (it != sheet.Cells.end() && it->first.first <= FArea.Row2) {
            const auto [r, c] = it->first;
            if (c < FArea.Col1) {
                it = sheet.Cells.lower_bound({r, FArea.Col1});
            } else if (c > FArea.Col2) {
                it = sheet.Cells.lower_bound({r + 1, FArea.Col1});
            } else {
                a.At(r - FArea.Row1 + 1, c - FArea.Col1 + 1) = it->second.Value;
                ++it;
            }
        }
        return a;
    }

    void SetValue(const TVariantArray &Value) override
    {
        TSheet &sheet = FBook->Sheet(FSheet);
        if (Value.Rows() != FArea.Rows() || Value.Cols() != FArea.Cols())
            Fail(QStringLiteral("The values do not fit the range %1").arg(Address()));
        for (int r = 1; r <= Value.Rows(); ++r) {
            for (int c = 1; c <= Value.Cols(); ++c) {
                OleVariant v = Value.At(r, c);
                if (v.Kind() == OleVariant::varString) {
                    double d = 0;
                    if (v.RawText().isEmpty())
                        v = OleVariant();
                    else if (TextAsNumber(v.RawText(), d))
                        v = OleVariant::Number(d);
                } else if (v.Kind() == OleVariant::varDispatch) {
                    Fail(QStringLiteral("An object is no cell value"));
                }
                const auto key = std::make_pair(FArea.Row1 + r - 1, FArea.Col1 + c - 1);
                auto it = sheet.Cells.find(key);
                if (it == sheet.Cells.end()) {
                    if (v.IsEmpty())
                        continue;
                    if (++FBook->Book.CellCount > MaxCells)
                        Fail(QStringLiteral("The workbook would hold too many cells"));
                    it = sheet.Cells.emplace(key, TCell()).first;
                }
                it->second.Value = std::move(v);
                it->second.Original = false;
                if (it->second.Value.IsEmpty() && it->second.Style.isEmpty()) {
                    sheet.Cells.erase(it);
                    --FBook->Book.CellCount;
                }
            }
        }
        sheet.Changed = true;
        FBook->Saved = false;
    }

private:
    TWorkbookRef FBook;
    int FSheet;
    TArea FArea;
};

class TWorksheetImpl : public IExcelWorksheet {
public:
    TWorksheetImpl(TWorkbookRef Book, int Index) : FBook(std::move(Book)), FIndex(Index) {}

    UnicodeString Name() override { return FBook->Sheet(FIndex).Name; }
    void SetName(const UnicodeString &Value) override
    {
        TSheet &s = FBook->Sheet(FIndex);
        if (s.Name == Value)
            return;
        if (!ValidSheetName(Value))
            Fail(QStringLiteral("'%1' is no valid sheet name").arg(Value));
        if (FBook->NameTaken(Value, FIndex))
            Fail(QStringLiteral("A sheet named '%1' exists already").arg(Value));
        s.Name = Value;
        s.Renamed = true;
        FBook->Saved = false;
    }
    IExcelRangePtr UsedRange() override
    {
        TArea a;
        UsedArea(FBook->Sheet(FIndex), a);
        return std::make_shared<TRangeImpl>(FBook, FIndex, a);
    }
    IExcelRangePtr Range(const UnicodeString &Address) override
    {
        FBook->Sheet(FIndex);
        return std::make_shared<TRangeImpl>(FBook, FIndex, ParseArea(Address));
    }
    IExcelRangePtr Cells(int Row, int Col) override
    {
        FBook->Sheet(FIndex);
        if (Row < 1 || Row > MaxRows || Col < 1 || Col > MaxCols)
            Fail(QStringLiteral("The cell (%1, %2) is off the sheet").arg(Row).arg(Col));
        return std::make_shared<TRangeImpl>(FBook, FIndex, TArea{Row, Col, Row, Col});
    }

private:
    TWorkbookRef FBook;
    int FIndex;
};

class TSheetsImpl : public IExcelSheets {
public:
    explicit TSheetsImpl(TWorkbookRef Book) : FBook(std::move(Book)) {}
    int Count() override
    {
        FBook->CheckOpen();
        return int(FBook->Book.Sheets.size());
    }
    IExcelWorksheetPtr Item(int Index) override
    {
        FBook->Sheet(Index - 1);
        return std::make_shared<TWorksheetImpl>(FBook, Index - 1);
    }
    IExcelWorksheetPtr Add() override { return std::make_shared<TWorksheetImpl>(FBook, FBook->AddSheet()); }

private:
    TWorkbookRef FBook;
};

class TApplicationImpl : public IExcelApplication, public std::enable_shared_from_this<TApplicationImpl> {
public:
    std::vector<TWorkbookRef> Books;

    void Forget(TWorkbookImpl *Book)
    {
        Books.erase(std::remove_if(Books.begin(), Books.end(), [&](const TWorkbookRef &b) { return b.get() == Book; }),
                    Books.end());
    }

    IExcelWorkbooksPtr Workbooks() override;
    IExcelWorkbookPtr ActiveWorkbook() override;
    IExcelWorksheetPtr ActiveSheet() override
    {
        if (Books.empty())
            Fail(QStringLiteral("No workbook is open"));
        const TWorkbookRef &b = Books.back();
        return std::make_shared<TWorksheetImpl>(b, b->ActiveSheet);
    }
    IExcelRangePtr ActiveCell() override
    {
        if (Books.empty())
            Fail(QStringLiteral("No workbook is open"));
        const TWorkbookRef &b = Books.back();
        return std::make_shared<TRangeImpl>(b, b->ActiveSheet, TArea{});
    }
    void Quit() override
    {
        // Unsaved changes are dropped, as when the user answers "no" to saving them.
        for (const TWorkbookRef &b : Books)
            b->Closed = true;
        Books.clear();
    }
};

class TWorkbookObj : public IExcelWorkbook {
public:
    explicit TWorkbookObj(TWorkbookRef Book) : FBook(std::move(Book)) {}
    IExcelSheetsPtr Sheets() override { return std::make_shared<TSheetsImpl>(FBook); }
    IExcelSheetsPtr Worksheets() override { return std::make_shared<TSheetsImpl>(FBook); }
    IExcelWorksheetPtr ActiveSheet() override
    {
        FBook->Sheet(FBook->ActiveSheet);
        return std::make_shared<TWorksheetImpl>(FBook, FBook->ActiveSheet);
    }
    bool Saved() override { return FBook->Saved; }
    void SetSaved(bool Value) override { FBook->Saved = Value; }
    void Close(bool SaveChanges) override
    {
        if (FBook->Closed)
            return;
        if (SaveChanges && !FBook->Saved)
            FBook->Save();
        FBook->Closed = true;
        if (const auto app = FBook->App.lock())
            app->Forget(FBook.get());
    }
    void Save() override { FBook->Save(); }
    void SaveAs(const UnicodeString &FileName) override { FBook->SaveAs(FileName); }

private:
    TWorkbookRef FBook;
};

class TWorkbooksImpl : public IExcelWorkbooks {
public:
    explicit TWorkbooksImpl(std::shared_ptr<TApplicationImpl> App) : FApp(std::move(App)) {}

    IExcelWorkbookPtr Open(const UnicodeString &FileName) override
    {
        auto book = std::make_shared<TWorkbookImpl>();
        const QFileInfo fi(FileName);
        switch (KindOf(FileName)) {
        case TFileKind::Missing:
            Fail(QStringLiteral("'%1' could not be found").arg(FileName));
        case TFileKind::Other:
            Fail(QStringLiteral("'%1' is not a workbook").arg(FileName));
        case TFileKind::Ooxml:
            if (fi.size() > MaxFileSize)
                Fail(QStringLiteral("'%1' is too large for a workbook").arg(FileName));
            ReadOoxml(FileName, book->Book);
            break;
        case TFileKind::Legacy:
            if (fi.size() > MaxFileSize)
                Fail(QStringLiteral("'%1' is too large for a workbook").arg(FileName));
            ReadLegacyWorkbook(FileName, book->Book);
            book->Legacy = true;
            break;
        }
        book->Path = FileName;
        return Keep(book);
    }

    IExcelWorkbookPtr Add() override
    {
        auto book = std::make_shared<TWorkbookImpl>();
        book->AddSheet();
        book->Saved = true;
        return Keep(book);
    }

    int Count() override { return int(FApp->Books.size()); }

private:
    IExcelWorkbookPtr Keep(const TWorkbookRef &Book)
    {
        Book->App = FApp;
        FApp->Books.push_back(Book);
        return std::make_shared<TWorkbookObj>(Book);
    }
    std::shared_ptr<TApplicationImpl> FApp;
};

IExcelWorkbooksPtr TApplicationImpl::Workbooks() { return std::make_shared<TWorkbooksImpl>(shared_from_this()); }

IExcelWorkbookPtr TApplicationImpl::ActiveWorkbook()
{
    if (Books.empty())
        return nullptr;
    return std::make_shared<TWorkbookObj>(Books.back());
}

} // namespace

} // namespace office

std::shared_ptr<IExcelApplication> CreateWorkbookServer() { return std::make_shared<office::TApplicationImpl>(); }
