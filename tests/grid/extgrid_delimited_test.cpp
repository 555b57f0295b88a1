// Delimited (CSV), fixed-width and ASCII report text of the string grid.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "support/TempDir.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Texts show as text in failure messages, control characters escaped.
inline void PrintTo(const QString &S, std::ostream *Os)
{
    QString t = S;
    t.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n")).replace(QChar(11), QStringLiteral("\\v"));
    *Os << '"' << t.toStdString() << '"';
}

namespace {

class GridDelimitedTest : public TempDirTest {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Grid = std::make_unique<TExtStringGrid>(nullptr);
    }
    std::unique_ptr<TExtStringGrid> Grid;

    QString Text(const QString &Name) { return QString::fromLatin1(ReadBytes(Name)); }
};

TEST_F(GridDelimitedTest, FieldsAreQuotedAsNeededAndReadBackTheSame)
{
    struct Mode {
        const char *Name;
        bool QuoteEmpty;
        bool Java;
        bool Always;
        QString Line;
    };
    // Columns: a"b | a,b | empty | two lines | x;y
    const QString cells[] = {QStringLiteral("a\"b"), QStringLiteral("a,b"), QString(), QStringLiteral("x\r\ny"), QStringLiteral("x;y")};
    const Mode modes[] = {
        {"plain", false, false, false, QStringLiteral("\"a\"\"b\",\"a,b\",,\"x\r\ny\",x;y")},
        {"empty quoted", true, false, false, QStringLiteral("\"a\"\"b\",\"a,b\",\"\",\"x\r\ny\",x;y")},
        {"java", false, true, false, QStringLiteral("\"a\"\"b\",\"a,b\",^,x~y,x;y")},
        {"always quotes", false, false, true, QStringLiteral("\"a\"\"b\",\"a,b\",\"\",\"x\r\ny\",\"x;y\"")},
    };
    for (const Mode &m : modes) {
        SCOPED_TRACE(m.Name);
        TExtStringGrid g(nullptr);
        g.SetColCount(5);
        g.SetRowCount(2);
        g.SetQuoteEmptyCells(m.QuoteEmpty);
        g.SetJavaCSV(m.Java);
        g.SetAlwaysQuotes(m.Always);
        for (int c = 0; c < 5; ++c) {
            g.SetCells(c, 0, cells[c]);
            g.SetCells(c, 1, QStringLiteral("r%1").arg(c));
        }
        g.SaveToCSV(PathOf("f.csv"));
        const QString second = m.Always ? QStringLiteral("\"r0\",\"r1\",\"r2\",\"r3\",\"r4\"") : QStringLiteral("r0,r1,r2,r3,r4");
        EXPECT_EQ(Text("f.csv"), m.Line + QStringLiteral("\r\n") + second + QStringLiteral("\r\n"));

        TExtStringGrid h(nullptr);
        h.SetColCount(1);
        h.SetRowCount(1);
        h.SetJavaCSV(m.Java);
        h.SetDelimiter(u',');
        h.LoadFromCSV(PathOf("f.csv"));
        EXPECT_EQ(h.RowCount(), 2);
        EXPECT_EQ(h.ColCount(), 5);
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(h.Cells(c, 0), cells[c]) << c;
        EXPECT_EQ(h.Cells(4, 1), QStringLiteral("r4"));
    }
}

// The rows of a CSV file as Python's csv module reads it (null when it cannot).
QJsonArray PythonCSVRows(const QString &File, const char *Encoding, QChar Delim)
{
    static const char *script = "import csv, json, sys\n"
                                "with open(sys.argv[1], newline='', encoding=sys.argv[2]) as f:\n"
                                "    print(json.dumps(list(csv.reader(f, delimiter=sys.argv[3]))))\n";
    QProcess p;
    const QString python = QFileInfo::exists("/usr/bin/python3") ? QStringLiteral("/usr/bin/python3") : QStringLiteral("python3");
    p.start(python, {QStringLiteral("-c"), QString::fromLatin1(script), File, QString::fromLatin1(Encoding), QString(Delim)});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << "python3 could not read the file: " << p.readAllStandardError().toStdString();
        return {};
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput()).array();
}

TEST_F(GridDelimitedTest, CellsWithBreaksQuotesAndDelimitersComeBackWholeHereAndInOtherReaders)
{
    // Every kind of line break, alone and at the ends of a text, beside quotes, delimiters and
    // a leading blank that a reader would strip from an unquoted field.
    const QString texts[] = {
        QStringLiteral("line\nfeed"), QStringLiteral("carriage\rreturn"), QStringLiteral("cr\r\nlf"), QStringLiteral("say \"hi\""),
        QStringLiteral("a,b"), QStringLiteral("semi;colon"), QStringLiteral(" lead"), QStringLiteral("\""),
        QStringLiteral("\n"), QStringLiteral("end\r"), QStringLiteral("\r\n"), QStringLiteral("tab\tin"),
        QStringLiteral("\"q\",\n;\r"), QString(), QStringLiteral("caf\u00e9"), QStringLiteral("\n\nx\"\"\n"),
    };
    constexpr int cols = 4, rows = 5;
    struct Mode {
        const char *Name;
        WideChar Delimiter;
        bool Unicode;
        bool Always;
    };
    for (const Mode m : {Mode{"comma, UTF-8", 0, true, false}, Mode{"semicolon, ANSI", u';', false, false},
                         Mode{"always quoted, tab", u'\t', true, true}}) {
        SCOPED_TRACE(m.Name);
        TExtStringGrid g(nullptr);
        g.SetColCount(cols);
        g.SetRowCount(rows);
        g.SetDelimiter(m.Delimiter);
        g.SetAlwaysQuotes(m.Always);
        for (int i = 0; i < (rows - 1) * cols; ++i)
            g.SetCells(i % cols, i / cols, texts[i % std::size(texts)]);
        for (int c = 0; c < cols; ++c)
            g.SetCells(c, rows - 1, QStringLiteral("last%1").arg(c));
        g.SaveToCSV(PathOf("r.csv"), m.Unicode);

        TExtStringGrid h(nullptr);
        h.SetColCount(1);
        h.SetDelimiter(m.Delimiter == 0 ? WideChar(u',') : m.Delimiter);
        h.LoadFromCSV(PathOf("r.csv"));
        ASSERT_EQ(h.RowCount(), rows);
        ASSERT_EQ(h.ColCount(), cols);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                EXPECT_EQ(h.Cells(c, r), g.Cells(c, r)) << c << "," << r;

        const QJsonArray py = PythonCSVRows(PathOf("r.csv"), m.Unicode ? "utf-8-sig" : "cp1252",
                                            m.Delimiter == 0 ? QChar(u',') : QChar(m.Delimiter));
        ASSERT_EQ(py.size(), rows);
        for (int r = 0; r < rows; ++r) {
            const QJsonArray fields = py[r].toArray();
            ASSERT_EQ(fields.size(), cols) << r;
            for (int c = 0; c < cols; ++c)
                EXPECT_EQ(fields[c].toString(), g.Cells(c, r)) << c << "," << r;
        }
    }
    // Files of earlier versions carry a cell's CR LF as the character 11; they read as before.
    WriteBytes("old.csv", "\"x\x0By\",z\r\n");
    TExtStringGrid old(nullptr);
    old.LoadFromCSV(PathOf("old.csv"));
    EXPECT_EQ(old.Cells(0, 0), QStringLiteral("x\r\ny"));
    EXPECT_EQ(old.Cells(1, 0), QStringLiteral("z"));
}

TEST_F(GridDelimitedTest, JavaFieldHoldingTheDelimiterStaysOneField)
{
    Grid->SetColCount(2);
    Grid->SetRowCount(1);
    Grid->SetJavaCSV(true);
    Grid->SetCells(0, 0, QStringLiteral("p,q\r\nr"));
    Grid->SetCells(1, 0, QStringLiteral("s"));
    Grid->SaveToCSV(PathOf("j.csv"));
    EXPECT_EQ(Text("j.csv"), QStringLiteral("\"p,q~r\",s\r\n"));
    TExtStringGrid h(nullptr);
    h.SetJavaCSV(true);
    h.LoadFromCSV(PathOf("j.csv"));
    EXPECT_EQ(h.Cells(0, 0), QStringLiteral("p,q\r\nr"));
    EXPECT_EQ(h.Cells(1, 0), QStringLiteral("s"));
}

TEST_F(GridDelimitedTest, DelimiterIsDetectedFromTheFirstTwoLines)
{
    struct Case {
        QByteArray File;
        int Cols;
        QString Cell10;
    };
    const Case cases[] = {
        {"a,b;c;d\r\n1;2;3,4\r\n", 3, QStringLiteral("c")},
        {"a|b|c\r\n", 3, QStringLiteral("b")},
        {"\"x;y\";z\r\n1;2\r\n", 2, QStringLiteral("z")},
        {"one\r\ntwo\r\n", 1, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.File.constData());
        WriteBytes("d.csv", c.File);
        TExtStringGrid g(nullptr);
        g.SetColCount(1);
        g.LoadFromCSV(PathOf("d.csv"));
        EXPECT_EQ(g.ColCount(), c.Cols);
        EXPECT_EQ(g.Cells(1, 0), c.Cell10);
        EXPECT_EQ(g.Delimiter(), WideChar(0));
    }
    WriteBytes("q.csv", "\"x;y\";z\r\n");
    TExtStringGrid g(nullptr);
    g.SetDelimiter(u';');
    g.LoadFromCSV(PathOf("q.csv"));
    EXPECT_EQ(g.Cells(0, 0), QStringLiteral("x;y"));
    EXPECT_EQ(g.Cells(1, 0), QStringLiteral("z"));
}

TEST_F(GridDelimitedTest, RowsGrowInStepsAndEndAtTheLinesReadPlusFooters)
{
    QByteArray file;
    for (int i = 0; i < 2500; ++i)
        file += "v" + QByteArray::number(i) + ",w\r\n";
    WriteBytes("big.csv", file);
    for (bool progress : {false, true}) {
        SCOPED_TRACE(progress);
        TExtStringGrid g(nullptr);
        g.SetRowCount(3);
        g.SetFixedCols(0);
        g.SetFixedRows(1);
        g.SetFixedFooters(1);
        g.SetSaveFixedCells(false);
        QList<int> fired;
        if (progress)
            g.OnFileProgress = [&fired](TObject *, SmallInt P) { fired << P; };
        g.LoadFromCSV(PathOf("big.csv"));
        EXPECT_EQ(g.RowCount(), 1 + 2500 + 1);
        EXPECT_EQ(g.MaxRowCount(), g.RowCount());
        EXPECT_EQ(g.Cells(0, 1), QStringLiteral("v0"));
        EXPECT_EQ(g.Cells(0, 2500), QStringLiteral("v2499"));
        if (progress) {
            EXPECT_EQ(fired.last(), 100);
            EXPECT_EQ(fired.size(), 101);
        }
    }
    // MaxRows stops the read.
    TExtStringGrid g(nullptr);
    g.LoadFromCSV(PathOf("big.csv"), 10);
    EXPECT_EQ(g.RowCount(), 10);
}

TEST_F(GridDelimitedTest, ByteOrderMarksEmptyInputAndAppending)
{
    const QByteArray files[] = {QByteArray("\xEF\xBB\xBF" "caf\xC3\xA9,b\r\n"),
                                QByteArray("\xFF\xFE" "c\0a\0f\0\xE9\0,\0b\0\r\0\n\0", 18),
                                QByteArray("caf\xE9,b\r\n")};
    for (const QByteArray &f : files) {
        WriteBytes("b.csv", f);
        TExtStringGrid g(nullptr);
        g.LoadFromCSV(PathOf("b.csv"));
        EXPECT_EQ(g.Cells(0, 0), QStringLiteral("café"));
        EXPECT_EQ(g.Cells(1, 0), QStringLiteral("b"));
    }
    WriteBytes("e.csv", QByteArray());
    Grid->SetCells(0, 0, QStringLiteral("kept"));
    Grid->LoadFromCSV(PathOf("e.csv"));
    EXPECT_EQ(Grid->Cells(0, 0), QStringLiteral("kept"));
    TMemoryStream empty;
    EXPECT_THROW(Grid->LoadFromCSVStream(&empty), Exception);

    // A one-row grid reports progress without dividing by zero; appending keeps the old lines.
    TExtStringGrid one(nullptr);
    one.SetColCount(2);
    one.SetRowCount(1);
    one.SetCells(0, 0, QStringLiteral("é"));
    QList<int> fired;
    one.OnFileProgress = [&fired](TObject *, SmallInt P) { fired << P; };
    one.SaveToCSV(PathOf("u.csv"), true);
    EXPECT_EQ(fired, QList<int>{0});
    EXPECT_EQ(ReadBytes("u.csv"), QByteArray("\xEF\xBB\xBF\xC3\xA9,\"\"\r\n"));
    one.AppendToCSV(PathOf("u.csv"));
    EXPECT_EQ(ReadBytes("u.csv"), QByteArray("\xEF\xBB\xBF\xC3\xA9,\"\"\r\n\xC3\xA9,\"\"\r\n"));
    EXPECT_THROW(one.AppendToCSV(PathOf("none.csv")), EFOpenError);
}

TEST_F(GridDelimitedTest, InsertingKeepsTheFloatingFooterLast)
{
    Grid->SetColCount(2);
    Grid->SetRowCount(3);
    Grid->FloatingFooter()->SetVisible(true);
    Grid->SetCells(0, 1, QStringLiteral("data"));
    Grid->SetCells(0, 2, QStringLiteral("sum"));
    WriteBytes("i.csv", "n1,m1\r\nn2,m2\r\n");
    Grid->InsertFromCSV(PathOf("i.csv"));
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_EQ(Grid->Cells(0, 1), QStringLiteral("data"));
    EXPECT_EQ(Grid->Cells(0, 2), QStringLiteral("n1"));
    EXPECT_EQ(Grid->Cells(1, 3), QStringLiteral("m2"));
    EXPECT_EQ(Grid->Cells(0, 4), QStringLiteral("sum"));
}

TEST_F(GridDelimitedTest, FixedWidthWritesComputedWidthsAndReadsByPositions)
{
    Grid->SetColCount(3);
    Grid->SetRowCount(2);
    Grid->SetCells(0, 0, QStringLiteral("abc"));
    Grid->SetCells(1, 0, QStringLiteral("toolongtext"));
    Grid->SetCells(2, 1, QStringLiteral("z"));
    TIntList widths(0, 0);
    widths.Add(2);
    Grid->SaveToFixed(PathOf("f.txt"), &widths);
    ASSERT_EQ(widths.Count(), 3);
    EXPECT_EQ(widths.Items(1), 12);
    EXPECT_EQ(widths.Items(2), 2);
    EXPECT_EQ(Text("f.txt"), QStringLiteral("abtoolongtext   \r\n              z \r\n"));
    // A line has no room for a break inside a cell: it is written as a blank and the row stays
    // one line.
    TExtStringGrid broken(nullptr);
    broken.SetColCount(2);
    broken.SetRowCount(1);
    broken.SetCells(0, 0, QStringLiteral("a\nb"));
    broken.SetCells(1, 0, QStringLiteral("c\r\nd\re"));
    TIntList none(0, 0);
    broken.SaveToFixed(PathOf("b.txt"), &none);
    EXPECT_EQ(Text("b.txt"), QStringLiteral("a b c d e  \r\n"));

    QByteArray file;
    for (int i = 0; i < 8; ++i)
        file += "first" + QByteArray::number(i) + "    second" + QByteArray::number(i) + "   \r\n";
    WriteBytes("p.txt", file);
    struct Case {
        int MaxRows;
        int Rows;
    };
    for (const Case c : {Case{0, 1}, Case{5, 5}, Case{-1, 8}}) {
        SCOPED_TRACE(c.MaxRows);
        TExtStringGrid g(nullptr);
        g.SetColCount(5);
        g.SetRowCount(1);
        g.SetFixedCols(0);
        TIntList pos(0, 0);
        pos.Add(11);
        pos.Add(1);
        pos.Add(21);
        g.LoadFromFixed(PathOf("p.txt"), &pos, true, c.MaxRows);
        EXPECT_EQ(pos.StrValue(), QStringLiteral("1,11,21"));
        EXPECT_EQ(g.ColCount(), 2);
        EXPECT_EQ(g.RowCount(), c.Rows);
        EXPECT_EQ(g.Cells(0, 0), QStringLiteral("first0"));
        EXPECT_EQ(g.Cells(1, c.Rows - 1), QStringLiteral("second") + QString::number(c.Rows - 1));
    }
    TIntList pos(0, 0);
    try {
        Grid->LoadFromFixed(PathOf("nofile.txt"), &pos, true, -1);
        ADD_FAILURE();
    } catch (const RIdeZareVorev &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("File ") + PathOf("nofile.txt") + QStringLiteral(" not found"));
    }
}

TEST_F(GridDelimitedTest, AsciiReportAlignsColumnsAndContinuesMultiLineCells)
{
    Grid->SetColCount(3);
    Grid->SetRowCount(2);
    Grid->SetMultilinecells(true);
    Grid->SetCells(0, 0, QStringLiteral("12"));
    Grid->SetCells(0, 1, QStringLiteral("abcde"));
    Grid->SetCells(1, 0, QStringLiteral("x"));
    Grid->SetCells(1, 1, QStringLiteral("mid"));
    Grid->SetCells(2, 0, QStringLiteral("l1\r\nline2"));
    Grid->CellProperties(0, 0)->SetAlignment(taRightJustify);
    Grid->CellProperties(1, 0)->SetAlignment(taCenter);
    Grid->SaveToASCII(PathOf("r.txt"));
    EXPECT_EQ(Text("r.txt"), QStringLiteral("   12  x  l1    \r\n"
                                            "          line2 \r\n"
                                            "abcde mid       \r\n"));
    Grid->AppendToASCII(PathOf("r.txt"));
    EXPECT_EQ(Text("r.txt").count(QStringLiteral("abcde")), 2);

    // A bare LF breaks a report cell's lines as CR LF does.
    TExtStringGrid lf(nullptr);
    lf.SetColCount(2);
    lf.SetRowCount(1);
    lf.SetMultilinecells(true);
    lf.SetCells(0, 0, QStringLiteral("ab\ncd"));
    lf.SetCells(1, 0, QStringLiteral("e"));
    lf.SaveToASCII(PathOf("lf.txt"));
    EXPECT_EQ(Text("lf.txt"), QStringLiteral("ab e \r\ncd \r\n"));
}

} // namespace
