// The string grid as an HTML page (with its settings and pictures) and as flat XML, and XML
// documents read back into cells.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/ImgList.h"
#include "platform/Jpeg.h"
#include "support/PythonRun.h"
#include "support/TempDir.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QObject>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>

namespace {

QByteArray Golden(const char *Name)
{
    QFile f(QStringLiteral(FABRICOR_TESTS_DIR "/grid/golden/") + QLatin1StringView(Name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing golden file");
}

class GridHtmlTest : public TempDirTest {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetFixedCols(0);
        Grid->SetFixedRows(0);
        Grid->SetColCount(2);
        Grid->SetRowCount(2);
    }

    // A grid of one data cell holding Text.
    UnicodeString OneCell(const UnicodeString &Text)
    {
        Grid->SetColCount(1);
        Grid->SetRowCount(1);
        Grid->SetCells(0, 0, Text);
        return Grid->SaveToHTMLString(QString());
    }

    // The content of the one cell of OneCell, between the TD tag and its end.
    UnicodeString CellContent(const UnicodeString &Text)
    {
        const UnicodeString html = OneCell(Text);
        const qsizetype from = html.indexOf(QStringLiteral("<TD "));
        const qsizetype open = html.indexOf(u'>', from) + 1;
        return html.mid(open, html.indexOf(QStringLiteral("</td>"), open) - open);
    }

    std::unique_ptr<TExtStringGrid> Grid;
};

TEST(HTMLSettingsTest, DefaultsAndAssignKeepsImageExportAndColumnWidths)
{
    THTMLSettings a;
    EXPECT_TRUE(a.SaveColor);
    EXPECT_TRUE(a.SaveFonts);
    EXPECT_TRUE(a.ExportImages);
    EXPECT_EQ(a.BorderSize, 1);
    EXPECT_EQ(a.CellSpacing, 0);
    EXPECT_EQ(a.CellPadding, 0);
    EXPECT_EQ(a.Width, 100);
    EXPECT_FALSE(a.XHTML || a.AutoPreview || a.ConvertSpecialChars || a.NonBreakingText);
    EXPECT_EQ(a.ColWidths()->Count(), 0);

    THTMLSettings b;
    b.ExportImages = false;
    b.ColWidths()->Add(40);
    b.BorderSize = 3;
    b.CellSpacing = 2;
    b.CellPadding = 1;
    b.SaveColor = false;
    b.SaveFonts = false;
    b.FooterFile = QStringLiteral("f");
    b.HeaderFile = QStringLiteral("h");
    b.TableStyle = QStringLiteral("style");
    b.PrefixTag = QStringLiteral("<p>");
    b.SuffixTag = QStringLiteral("</p>");
    b.Summary = QStringLiteral("s");
    b.Width = 50;
    b.XHTML = true;
    b.ConvertSpecialChars = true;
    b.AutoPreview = true;
    b.NonBreakingText = true;
    a.Assign(&b);
    EXPECT_TRUE(a.ExportImages);
    EXPECT_EQ(a.ColWidths()->Count(), 0);
    EXPECT_EQ(a.BorderSize, 3);
    EXPECT_EQ(a.CellSpacing, 2);
    EXPECT_EQ(a.CellPadding, 1);
    EXPECT_FALSE(a.SaveColor || a.SaveFonts);
    EXPECT_EQ(a.FooterFile + a.HeaderFile + a.TableStyle + a.PrefixTag + a.SuffixTag + a.Summary,
              QStringLiteral("fhstyle<p></p>s"));
    EXPECT_EQ(a.Width, 50);
    EXPECT_TRUE(a.XHTML && a.ConvertSpecialChars && a.AutoPreview && a.NonBreakingText);

    TStringList other;
    a.Assign(&other);
    EXPECT_EQ(a.BorderSize, 3);
}

TEST_F(GridHtmlTest, DocumentsMatchTheirGoldenFiles)
{
    Grid->SetCells(0, 0, QStringLiteral("a"));
    Grid->SetCells(1, 0, QStringLiteral("b"));
    Grid->SetCells(0, 1, QStringLiteral("c"));
    EXPECT_EQ(Grid->SaveToHTMLString(QString()).toUtf8(), Golden("plain_2x2.html"));

    THTMLSettings *hs = Grid->HTMLSettings();
    hs->XHTML = true;
    hs->Summary = QStringLiteral("Two by two");
    hs->TableStyle = QStringLiteral("class=\"grid\"");
    hs->PrefixTag = QStringLiteral("<BODY>");
    hs->SuffixTag = QStringLiteral("</BODY>");
    EXPECT_EQ(Grid->SaveToHTMLString(QString()).toUtf8(), Golden("xhtml_summary_style.html"));

    hs->Summary.clear();
    hs->TableStyle.clear();
    EXPECT_EQ(Grid->SaveToHTMLString(QString()).toUtf8(), Golden("xhtml_plain.html"));

    hs->XHTML = false;
    hs->PrefixTag.clear();
    hs->SuffixTag.clear();
    Grid->SetFixedRows(1);
    Grid->SetRowCount(3);
    Grid->SetSaveFixedRows(true);
    Grid->SetSaveFixedCells(false);
    Grid->SetCells(0, 0, QStringLiteral("Name"));
    Grid->SetCells(1, 0, QString());
    Grid->SetCells(0, 2, QStringLiteral("e"));
    hs->ColWidths()->Add(120);
    hs->ColWidths()->Add(80);
    EXPECT_EQ(Grid->SaveToHTMLString(QString()).toUtf8(), Golden("header_widths.html"));
}

TEST_F(GridHtmlTest, CellTextsBecomeTheirHtml)
{
    Grid->SetURLShow(true);
    const struct {
        const char *What;
        QString Text;
        bool Full;
        bool Convert;
        QString Html;
    } cases[] = {
        {"line breaks", QStringLiteral("a\r\nb"), false, false, QStringLiteral("a<br>\nb")},
        {"address without scheme", QStringLiteral("http://www.fabricor.example"), false, false,
         QStringLiteral("<a href=http://www.fabricor.example>www.fabricor.example</a>")},
        {"full address", QStringLiteral("http://x.example"), true, false,
         QStringLiteral("<a href=http://x.example>http://x.example</a>")},
        {"mail", QStringLiteral("mailto:info@x.example"), false, false,
         QStringLiteral("<a href=mailto:info@x.example>info@x.example</a>")},
        {"mail rule second", QStringLiteral("ftp://a mailto:b"), false, false,
         QStringLiteral("<a href=ftp://a mailto:b>b</a>")},
        {"markup left alone", QStringLiteral("<b>http://x</b>"), false, false, QStringLiteral("<b>http://x</b>")},
        {"empty", QString(), false, false, QStringLiteral("&nbsp;")},
        {"blanks", QStringLiteral("   "), false, false, QStringLiteral("&nbsp;")},
        {"entities", QStringLiteral("<\u00e9>"), false, true, QStringLiteral("&lt;&eacute;&gt;")},
        {"as written", QStringLiteral("<i>\u00e9</i>"), false, false, QStringLiteral("<i>\u00e9</i>")},
    };
    for (const auto &c : cases) {
        Grid->SetURLFull(c.Full);
        Grid->HTMLSettings()->ConvertSpecialChars = c.Convert;
        EXPECT_EQ(CellContent(c.Text), c.Html) << c.What;
    }
    Grid->SetURLShow(false);
    Grid->HTMLSettings()->ConvertSpecialChars = false;
    Grid->HTMLSettings()->NonBreakingText = true;
    EXPECT_EQ(CellContent(QStringLiteral("a b")), QStringLiteral("a&nbsp;b"));
}

TEST_F(GridHtmlTest, MergedCellSpansAndCoveredCellIsLeftOut)
{
    Grid->SetColCount(3);
    Grid->SetRowCount(1);
    Grid->MergeCells(0, 0, 2, 1);
    Grid->SetCells(0, 0, QStringLiteral("wide"));
    Grid->SetCells(2, 0, QStringLiteral("z"));
    const UnicodeString html = Grid->SaveToHTMLString(QString());
    EXPECT_EQ(html.count(QStringLiteral("<TD ")), 2);
    EXPECT_TRUE(html.contains(QStringLiteral("<TD class=\"c0\" COLSPAN=\"2\">wide</td>"))) << html.toStdString();
    EXPECT_FALSE(html.contains(QStringLiteral("ROWSPAN")));
}

TEST_F(GridHtmlTest, LookBecomesDeclarationsInTheirOrder)
{
    Grid->SetColCount(1);
    Grid->SetRowCount(1);
    Grid->Font()->SetName(QStringLiteral("Arial"));
    Grid->Font()->SetSize(10);
    Grid->Font()->SetColor(clRed);
    Grid->SetColor(clWindow);
    Grid->SetFontStyles(0, 0, TFontStyles{TFontStyle::fsBold, TFontStyle::fsItalic});
    const struct {
        bool SaveColor;
        TAlignment HA;
        TVAlignment VA;
        QString Css;
    } cases[] = {
        {true, taRightJustify, vtaTop,
         QStringLiteral("background-color: #FFFFFF;color: #FF0000;font-size:10pt;font-style: italic;font-weight: bold;"
                        "font-family: Arial;text-align: right;vertical-align: top")},
        {false, taCenter, vtaBottom,
         QStringLiteral("font-size:10pt;font-style: italic;font-weight: bold;font-family: Arial;text-align: center;"
                        "vertical-align: bottom")},
        {false, taLeftJustify, vtaCenter,
         QStringLiteral("font-size:10pt;font-style: italic;font-weight: bold;font-family: Arial;vertical-align: middle")},
    };
    for (const auto &c : cases) {
        Grid->HTMLSettings()->SaveColor = c.SaveColor;
        Grid->OnGetAlignment = [&c](TObject *, int, int, TAlignment &HA, TVAlignment &VA) {
            HA = c.HA;
            VA = c.VA;
        };
        const UnicodeString html = Grid->SaveToHTMLString(QString());
        EXPECT_TRUE(html.contains(QStringLiteral(".c0 {") + c.Css + QStringLiteral("}\r\n"))) << html.toStdString();
    }
}

TEST_F(GridHtmlTest, FileIsSevenBitOrUtf16AndWrapsHeaderAndFooter)
{
    Grid->SetColCount(1);
    Grid->SetRowCount(1);
    Grid->SetCells(0, 0, QStringLiteral("caf\u00e9 \u20ac"));
    Grid->SaveToHTML(PathOf(QStringLiteral("plain.html")));
    const QByteArray plain = ReadBytes(QStringLiteral("plain.html"));
    EXPECT_TRUE(plain.contains(">caf? ?</td>")) << plain.constData();

    Grid->HTMLSettings()->ConvertSpecialChars = true;
    Grid->SaveToHTML(PathOf(QStringLiteral("plain.html")));
    EXPECT_TRUE(ReadBytes(QStringLiteral("plain.html")).contains(">caf&eacute; &euro;</td>"));
    Grid->HTMLSettings()->ConvertSpecialChars = false;

    WriteBytes(QStringLiteral("head.txt"), "<HTML>\r\n<BODY>\r\n");
    WriteBytes(QStringLiteral("foot.txt"), "</BODY>\n</HTML>");
    Grid->HTMLSettings()->HeaderFile = PathOf(QStringLiteral("head.txt"));
    Grid->HTMLSettings()->FooterFile = PathOf(QStringLiteral("foot.txt"));
    Grid->SaveToHTML(PathOf(QStringLiteral("wide.html")), false, true);
    const QByteArray wide = ReadBytes(QStringLiteral("wide.html"));
    ASSERT_TRUE(wide.startsWith("\xFF\xFE"));
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(wide.constData() + 2), (wide.size() - 2) / 2);
    EXPECT_TRUE(text.startsWith(QStringLiteral("<HTML>\r\n<BODY>\r\n<style>\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral(">caf\u00e9 \u20ac</td>")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("</TABLE>\r\n</BODY>\r\n</HTML>\r\n")));

    // Appending keeps what the file held; a header file that is missing fails and writes nothing.
    Grid->HTMLSettings()->HeaderFile.clear();
    Grid->HTMLSettings()->FooterFile.clear();
    WriteBytes(QStringLiteral("log.html"), "<P>before</P>");
    Grid->AppendToHTML(PathOf(QStringLiteral("log.html")));
    EXPECT_TRUE(ReadBytes(QStringLiteral("log.html")).startsWith("<P>before</P>\r\n<style>"));
    Grid->AppendToHTML(PathOf(QStringLiteral("new.html")));
    EXPECT_TRUE(ReadBytes(QStringLiteral("new.html")).startsWith("<style>"));
    Grid->HTMLSettings()->HeaderFile = PathOf(QStringLiteral("missing.txt"));
    EXPECT_THROW(Grid->SaveToHTML(PathOf(QStringLiteral("none.html"))), EFOpenError);
    EXPECT_FALSE(QFile::exists(PathOf(QStringLiteral("none.html"))));
}

TEST_F(GridHtmlTest, PicturesBecomeNumberedJpegFilesBesideThePage)
{
    Grid->SetColCount(2);
    Grid->SetRowCount(2);
    Grid->SetFixedRows(1);
    Grid->SetSaveFixedRows(true);
    TBitmap red;
    red.SetSize(8, 6);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect(0, 0, 8, 6));
    Grid->AddBitmap(0, 0, &red, false, haLeft, vaTop);

    // A JPEG picture goes out as it is.
    TJPEGImage source;
    QImage blue(5, 4, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    source.SetImage(blue);
    const QByteArray jpegBytes = source.Data();
    TPicture picture;
    picture.Assign(&source);
    Grid->AddPicture(1, 0, &picture, false, noStretch, 0, haLeft, vaTop);

    TImageList images(nullptr);
    images.SetWidth(4);
    images.SetHeight(4);
    TBitmap green;
    green.SetSize(4, 4);
    green.Canvas()->Brush()->SetColor(clLime);
    green.Canvas()->FillRect(TRect(0, 0, 4, 4));
    images.Add(&green, nullptr);
    Grid->SetGridImages(&images);
    Grid->AddImageIdx(0, 1, 0, haLeft, vaTop);
    Grid->SetCells(0, 1, QStringLiteral("t"));

    const QString dir = Dir() + u'/';
    const UnicodeString html = Grid->SaveToHTMLString(dir);
    for (int i = 0; i < 3; ++i) {
        const QString file = dir + QStringLiteral("images/img%1.jpg").arg(i);
        EXPECT_TRUE(html.contains(QStringLiteral("<img src= \"file://") + file + QStringLiteral("\">"))) << i;
        QImage img;
        EXPECT_TRUE(img.load(file, "JPG")) << file.toStdString();
    }
    EXPECT_EQ(ReadBytes(QStringLiteral("images/img1.jpg")), jpegBytes);
    QImage first(dir + QStringLiteral("images/img0.jpg"));
    EXPECT_EQ(first.size(), QSize(8, 6));
    EXPECT_GT(qRed(first.pixel(4, 3)), 200);
    EXPECT_LT(qBlue(first.pixel(4, 3)), 60);
    EXPECT_TRUE(html.contains(QStringLiteral("images/img2.jpg\">t</td>")));
    Grid->SetGridImages(nullptr);

    // A folder that cannot be made: no document at all.
    WriteBytes(QStringLiteral("blocker"), "x");
    const QString bad = PathOf(QStringLiteral("blocker")) + u'/';
    try {
        Grid->SaveToHTMLString(bad);
        ADD_FAILURE() << "no error";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot create ") + bad + QStringLiteral("images"));
    }
}

TEST_F(GridHtmlTest, ListImagesNodesAndImageExportOff)
{
    TImageList images(nullptr);
    images.SetWidth(4);
    images.SetHeight(4);
    TBitmap bmp;
    bmp.SetSize(4, 4);
    images.Add(&bmp, nullptr);
    images.Add(&bmp, nullptr);
    Grid->SetGridImages(&images);
    Grid->SetColCount(3);
    Grid->SetRowCount(2);
    Grid->AddDataImage(0, 0, 0, haLeft, vaTop);
    Grid->SetCells(0, 0, QStringLiteral("1"));
    Grid->AddDataImage(1, 0, 0, haLeft, vaTop);
    Grid->SetCells(1, 0, QStringLiteral("7"));
    Grid->AddMultiImage(2, 0, 0, haLeft, vaTop);
    auto *list = dynamic_cast<TIntList *>(Grid->GetCellGraphic(2, 0)->CellObject());
    ASSERT_NE(list, nullptr);
    list->Add(1);
    list->Add(9);
    list->Add(0);
    Grid->SetCells(2, 0, QStringLiteral("many"));
    Grid->AddNode(1, 1);
    Grid->SetCells(0, 1, QStringLiteral("n"));
    const QString dir = Dir() + u'/';
    const UnicodeString html = Grid->SaveToHTMLString(dir);
    const QString img = QStringLiteral("<img src= \"file://") + dir + QStringLiteral("images/img%1.jpg\">");
    const QStringList lines = html.split(QStringLiteral("\r\n"));
    const qsizetype first = lines.indexOf(QStringLiteral("<TR>")) + 1;
    EXPECT_TRUE(lines[first].endsWith(u'>' + img.arg(1) + QStringLiteral("</td>"))) << lines[first].toStdString();
    EXPECT_TRUE(lines[first + 1].endsWith(QStringLiteral("></td>"))) << "a data image outside the list leaves the cell empty";
    EXPECT_TRUE(lines[first + 2].endsWith(u'>' + img.arg(2) + img.arg(3) + QStringLiteral("many</td>")));
    EXPECT_EQ(html.count(QStringLiteral("<img")), 3);
    EXPECT_TRUE(lines[first + 5].endsWith(QStringLiteral(">+n</td>"))) << lines[first + 5].toStdString();

    Grid->HTMLSettings()->ExportImages = false;
    EXPECT_FALSE(Grid->SaveToHTMLString(dir).contains(QStringLiteral("<img")));
    Grid->SetGridImages(nullptr);
}

// Stands in for the desktop's viewer.
class TViewerCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl &url) { Opened.append(url); }
};

TEST_F(GridHtmlTest, ShowOpensTheWrittenPageOnce)
{
    TViewerCatcher viewer;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &viewer, "Open");
    Grid->SaveToHTML(PathOf(QStringLiteral("quiet.html")));
    Grid->SaveToHTML(PathOf(QStringLiteral("shown.html")), true);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(viewer.Opened.size(), 1);
    EXPECT_EQ(viewer.Opened[0], QUrl::fromLocalFile(PathOf(QStringLiteral("shown.html"))));
}

// ---- XML ----

class GridXmlTest : public GridHtmlTest {
protected:
    QString Xml(const QString &Name) { return QString::fromLatin1(ReadBytes(Name)); }
    void Save(TStrings *Names = nullptr, bool Empty = false)
    {
        Grid->SaveToXML(PathOf(QStringLiteral("g.xml")), QStringLiteral("list"), QStringLiteral("row"), Names, Empty);
    }
    QString LoadError(const QByteArray &Bytes)
    {
        WriteBytes(QStringLiteral("in.xml"), Bytes);
        try {
            Grid->LoadFromXML(PathOf(QStringLiteral("in.xml")));
        } catch (const Exception &e) {
            return e.Message();
        }
        return QString();
    }
};

TEST_F(GridXmlTest, TwoByTwoDocumentExactly)
{
    Grid->SetCells(0, 0, QStringLiteral("a"));
    Grid->SetCells(1, 0, QStringLiteral("b"));
    Grid->SetCells(0, 1, QStringLiteral("c"));
    Grid->SetCells(1, 1, QStringLiteral("d"));
    Save();
    EXPECT_EQ(ReadBytes(QStringLiteral("g.xml")),
              QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<list>\r\n<row>\r\n<FIELD0>a</FIELD0>\r\n"
                         "<FIELD1>b</FIELD1>\r\n</row>\r\n<row>\r\n<FIELD0>c</FIELD0>\r\n<FIELD1>d</FIELD1>\r\n</row>\r\n"
                         "</list>\r\n"));
}

TEST_F(GridXmlTest, AFileThatCannotBeWrittenFailsAndKeepsTheOldOne)
{
    QDir().mkpath(PathOf(QStringLiteral("folder.xml")));
    try {
        Grid->SaveToXML(PathOf(QStringLiteral("folder.xml")), QStringLiteral("l"), QStringLiteral("r"), nullptr);
        ADD_FAILURE() << "no error";
    } catch (const RIdeZareVorev &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot Create file ") + PathOf(QStringLiteral("folder.xml")));
    }
    EXPECT_TRUE(QFileInfo(PathOf(QStringLiteral("folder.xml"))).isDir());
}

TEST_F(GridXmlTest, TextsAreEscapedAndReadBack)
{
    const struct {
        QString Cell;
        QString Written;
        QString Read;
    } cases[] = {
        {QStringLiteral("a&b"), QStringLiteral("a$amp;b"), QStringLiteral("a&b")},
        {QStringLiteral("a$amp;b"), QStringLiteral("a$#36;amp;b"), QStringLiteral("a$amp;b")},
        {QStringLiteral("x<y"), QStringLiteral("x&lt;y"), QStringLiteral("x<y")},
        {QStringLiteral("say \"hi\" >"), QStringLiteral("say &quot;hi&quot; &gt;"), QStringLiteral("say \"hi\" >")},
        {QStringLiteral("&gt;"), QStringLiteral("$amp;gt;"), QStringLiteral(">")},
    };
    Grid->SetColCount(1);
    Grid->SetRowCount(1);
    for (const auto &c : cases) {
        Grid->SetCells(0, 0, c.Cell);
        Save();
        EXPECT_TRUE(Xml(QStringLiteral("g.xml")).contains(QStringLiteral("<FIELD0>") + c.Written + QStringLiteral("</FIELD0>")))
            << c.Cell.toStdString();
        Grid->SetCells(0, 0, QString());
        Grid->LoadFromXML(PathOf(QStringLiteral("g.xml")));
        EXPECT_EQ(Grid->Cells(0, 0), c.Read) << c.Cell.toStdString();
    }
}

// Control characters have no place in XML 1.0, not even as references: the file carries them in
// the grid's own "$#" form, stays well-formed for any XML reader, and reads back exactly, as
// do CR and CR LF, which a parser would otherwise turn into LF.
TEST_F(GridXmlTest, ControlCharactersKeepTheFileWellFormedAndReadBackExactly)
{
    const struct {
        QString Cell;
        QString Parsed; // the field's text as a conforming XML reader gives it
    } cases[] = {
        {QStringLiteral("a\x01" "b\x1f"), QStringLiteral("a$#1;b$#31;")},
        {QString(QChar(0)) + QStringLiteral("\x08\x0b\x0c\x0e"), QStringLiteral("$#0;$#8;$#11;$#12;$#14;")},
        {QStringLiteral("tab\tlf\ncr\rcrlf\r\n"), QStringLiteral("tab\tlf\ncr\rcrlf\r\n")},
        {QStringLiteral("$#1; $5 $amp; $#36;"), QStringLiteral("$#36;#1; $5 $#36;amp; $#36;#36;")},
        {QStringLiteral("lone ") + QChar(0xD800) + QStringLiteral(" and ") + QChar(0xFFFF),
         QStringLiteral("lone $#55296; and $#65535;")},
        {QStringLiteral("\U0001F600 \u20ac a&b"), QStringLiteral("\U0001F600 \u20ac a$amp;b")},
    };
    Grid->SetColCount(1);
    Grid->SetRowCount(int(std::size(cases)));
    for (int r = 0; r < int(std::size(cases)); ++r)
        Grid->SetCells(0, r, cases[r].Cell);
    for (const char *enc : {"ISO-8859-1", "UTF-8"}) {
        Grid->SetXMLEncoding(QLatin1StringView(enc));
        Save();
        QByteArray out;
        ASSERT_TRUE(RunPython({QStringLiteral("-c"),
                               QStringLiteral("import json, sys, xml.etree.ElementTree as E\n"
                                              "print(json.dumps([f.text for f in E.parse(sys.argv[1]).getroot().iter('FIELD0')]))"),
                               PathOf(QStringLiteral("g.xml"))},
                              out))
            << enc << ": " << out.constData();
        const QJsonArray parsed = QJsonDocument::fromJson(out).array();
        ASSERT_EQ(parsed.size(), qsizetype(std::size(cases))) << out.constData();
        for (int r = 0; r < int(std::size(cases)); ++r)
            EXPECT_EQ(parsed[r].toString(), cases[r].Parsed) << enc << " row " << r;

        for (int r = 0; r < int(std::size(cases)); ++r)
            Grid->SetCells(0, r, QString());
        Grid->LoadFromXML(PathOf(QStringLiteral("g.xml")));
        for (int r = 0; r < int(std::size(cases)); ++r)
            EXPECT_EQ(Grid->Cells(0, r), cases[r].Cell) << enc << " row " << r;
    }
}

TEST_F(GridXmlTest, EmptyCellsAsAskedAndQuotedOnesReadBackEmpty)
{
    Grid->SetColCount(2);
    Grid->SetRowCount(1);
    Grid->SetCells(0, 0, QStringLiteral("x"));
    const struct {
        bool Export;
        bool Quote;
        const char *Field;
    } cases[] = {
        {false, true, nullptr},
        {true, true, "<FIELD1>\"\"</FIELD1>"},
        {true, false, "<FIELD1></FIELD1>"},
    };
    for (const auto &c : cases) {
        Grid->SetColCount(2);
        Grid->SetQuoteEmptyCells(c.Quote);
        Save(nullptr, c.Export);
        const QString xml = Xml(QStringLiteral("g.xml"));
        if (c.Field)
            EXPECT_TRUE(xml.contains(QLatin1StringView(c.Field))) << xml.toStdString();
        else
            EXPECT_FALSE(xml.contains(QStringLiteral("FIELD1"))) << xml.toStdString();
        Grid->SetCells(1, 0, QStringLiteral("old"));
        Grid->LoadFromXML(PathOf(QStringLiteral("g.xml")));
        EXPECT_EQ(Grid->Cells(1, 0), c.Field ? QString() : QStringLiteral("old"));
        Grid->SetCells(1, 0, QString());
    }
}

TEST_F(GridXmlTest, RoundTripAndFieldNamesInTheFirstRow)
{
    Grid->SetColCount(3);
    Grid->SetRowCount(4);
    Grid->SetFixedRows(1);
    Grid->SetSaveFixedCells(false);
    for (int r = 1; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            Grid->SetCells(c, r, QStringLiteral("r%1c%2").arg(r).arg(c));
    TStringList names;
    names.Add(QStringLiteral("Id"));
    names.Add(QStringLiteral("Name"));
    QList<int> progress;
    Grid->OnFileProgress = [&progress](TObject *, SmallInt Value) { progress << Value; };
    Save(&names);
    EXPECT_EQ(progress, (QList<int>{0, 50, 100}));
    EXPECT_TRUE(Xml(QStringLiteral("g.xml")).contains(QStringLiteral("<Id>r1c0</Id>\r\n<Name>r1c1</Name>\r\n<FIELD2>r1c2</FIELD2>")));

    TExtStringGrid back(nullptr);
    back.SetFixedCols(0);
    back.SetFixedRows(1);
    back.SetSaveFixedCells(false);
    back.LoadFromXML(PathOf(QStringLiteral("g.xml")));
    EXPECT_EQ(back.ColCount(), 3);
    EXPECT_EQ(back.RowCount(), 4);
    for (int r = 1; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(back.Cells(c, r), Grid->Cells(c, r));

    TExtStringGrid named(nullptr);
    named.SetFixedCols(0);
    named.SetFixedRows(1);
    named.SetSaveFixedCells(false);
    named.SetSaveFixedRows(true);
    named.LoadFromXML(PathOf(QStringLiteral("g.xml")), false, true);

    EXPECT_EQ(named.Cells(0, 0), QStringLiteral("Id"));
    EXPECT_EQ(named.Cells(1, 0), QStringLiteral("Name"));
    EXPECT_EQ(named.Cells(2, 0), QStringLiteral("FIELD2"));
    EXPECT_EQ(named.Cells(2, 3), QStringLiteral("r3c2"));
    EXPECT_EQ(named.RowCount(), 4);
}

TEST_F(GridXmlTest, AttributesComeFirstAndLevelsBecomeRows)
{
    WriteBytes(QStringLiteral("a.xml"), "<list>\n  <rec id=\"1\" kind=\"a$amp;b\"><name>x</name><v>2</v></rec>\n"
                                        "  <rec id=\"2\"><name>y</name><v>\n</v></rec>\n</list>\n");
    Grid->SetFixedRows(1);
    Grid->SetSaveFixedCells(false);
    Grid->SetSaveFixedRows(true);
    Grid->LoadFromXML(PathOf(QStringLiteral("a.xml")), false, true);
    const QStringList rows[] = {
        {QStringLiteral("id"), QStringLiteral("kind"), QStringLiteral("name"), QStringLiteral("v")},
        {QStringLiteral("1"), QStringLiteral("a&b"), QStringLiteral("x"), QStringLiteral("2")},
        {QStringLiteral("2"), QStringLiteral("y"), QString(), QString()},
    };
    ASSERT_EQ(Grid->RowCount(), 3);
    ASSERT_EQ(Grid->ColCount(), 4);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(Grid->Cells(c, r), rows[r][c]) << c << "," << r;

    // Each level that carries attributes starts a row; its children follow from the next
    // column on, and the next record's attributes land on the row its predecessor's children
    // started.
    WriteBytes(QStringLiteral("t.xml"), "<tree><node n=\"top\"><leaf>a</leaf><leaf>b</leaf></node>"
                                        "<node n=\"next\"><leaf>c</leaf><leaf>d</leaf></node></tree>");
    TExtStringGrid g(nullptr);
    g.SetFixedCols(0);
    g.SetFixedRows(0);
    g.LoadFromXML(PathOf(QStringLiteral("t.xml")), true);
    const QStringList tree[] = {
        {QStringLiteral("top"), QString(), QString()},
        {QStringLiteral("next"), QStringLiteral("a"), QStringLiteral("b")},
        {QString(), QStringLiteral("c"), QStringLiteral("d")},
    };
    ASSERT_EQ(g.RowCount(), 3);
    ASSERT_EQ(g.ColCount(), 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(g.Cells(c, r), tree[r][c]) << c << "," << r;
}

TEST_F(GridXmlTest, EuroAndGreekReadBackInEveryEncoding)
{
    Grid->SetColCount(1);
    Grid->SetRowCount(1);
    const QString text = QStringLiteral("\u20ac 5 \u03a9 \u00e9 \U0001F600");
    Grid->SetCells(0, 0, text);
    for (const char *enc : {"ISO-8859-1", "windows-1252", "UTF-8", "x-unknown"}) {
        Grid->SetXMLEncoding(QLatin1StringView(enc));
        Save();
        const QByteArray bytes = ReadBytes(QStringLiteral("g.xml"));
        EXPECT_TRUE(bytes.contains(QByteArray("encoding=\"") + enc + "\"")) << enc;
        if (QByteArray(enc) == "ISO-8859-1") {
            EXPECT_TRUE(bytes.contains("&#8364; 5 &#937; \xE9 &#128512;")) << bytes.constData();
        }
        if (QByteArray(enc) == "x-unknown")
            continue; // a reader cannot know that encoding
        Grid->SetCells(0, 0, QString());
        Grid->LoadFromXML(PathOf(QStringLiteral("g.xml")));
        EXPECT_EQ(Grid->Cells(0, 0), text) << enc;
    }
}

TEST_F(GridXmlTest, BadFilesFailClearly)
{
    EXPECT_THROW(
        {
            try {
                Grid->LoadFromXML(PathOf(QStringLiteral("missing.xml")));
            } catch (const Exception &e) {
                EXPECT_EQ(e.Message(), QStringLiteral("XML file not found"));
                throw;
            }
        },
        Exception);
    EXPECT_EQ(LoadError("<list>\n<row><a>1</b></row>\n</list>"), QStringLiteral("XMLDOM Parsing error 11 on line 2"));
    EXPECT_EQ(LoadError(""), QStringLiteral("XMLDOM Parsing error 12 on line 1"));

    // Deep nesting loads without exhausting the stack: a chain of single elements is one
    // cell, a chain of pairs a cell per level.
    const int depth = 100000;
    for (const char *level : {"<a>", "<a><b/>"}) {
        QByteArray deep = "<list>";
        for (int i = 0; i < depth; ++i)
            deep += level;
        deep += "x";
        for (int i = 0; i < depth; ++i)
            deep += "</a>";
        deep += "</list>";
        Grid->SetColCount(1);
        Grid->SetRowCount(1);
        const QString error = LoadError(deep);
        EXPECT_TRUE(error.isEmpty() || error.startsWith(QStringLiteral("XMLDOM Parsing error"))) << error.toStdString();
        if (error.isEmpty() && QByteArray(level) == "<a>") {
            EXPECT_EQ(Grid->Cells(0, 0), QStringLiteral("x"));
        }
    }
}

TEST_F(GridXmlTest, DocumentsWiderThanTheGridCanTakeAreRefused)
{
    QByteArray wide = "<list><row>";
    for (int i = 0; i <= TExtStringGrid::MaxFileCols; ++i)
        wide += "<f>1</f>";
    wide += "</row></list>";
    EXPECT_EQ(LoadError(wide), QStringLiteral("XML file holds more rows or columns than the grid can take"));
    EXPECT_LE(Grid->ColCount(), TExtStringGrid::MaxFileCols);
}

} // namespace

#include "extgrid_htmlxml_test.moc"
