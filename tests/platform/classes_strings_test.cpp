#include "platform/Classes.h"
#include "platform/Encoding.h"
#include "support/StringItems.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <memory>
#include <thread>

namespace {

void Fill(TStrings &list, const QStringList &items)
{
    list.Clear();
    for (const QString &s : items)
        list.Add(s);
}

class TCounted : public TObject {
public:
    explicit TCounted(int *alive) : FAlive(alive) { ++*FAlive; }
    ~TCounted() override { --*FAlive; }

private:
    int *FAlive;
};

// ---------------------------------------------------------------------------------------------
// Delimited text

struct CommaCase {
    QStringList items;
    QString text;
};

TEST(StringListCommaText, RoundTripsWithQuotesAndBlanks)
{
    const CommaCase cases[] = {
        {{}, ""},
        {{""}, "\"\""},
        {{"a"}, "a"},
        {{"a", "b"}, "a,b"},
        {{"a b", "c"}, "\"a b\",c"},
        {{"a,b"}, "\"a,b\""},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {{"x", "", "y"}, "x,,y"},
        {{"x", ""}, "x,"},
        {{" lead", "trail "}, "\" lead\",\"trail \""},
        {{"tab\there", "line\r\nbreak"}, "\"tab\there\",\"line\r\nbreak\""},
        {{"C:\\Program Files\\x.exe", "-q"}, "\"C:\\Program Files\\x.exe\",-q"},
    };
    for (const CommaCase &c : cases) {
        TStringList list;
        Fill(list, c.items);
        EXPECT_EQ(list.CommaText(), c.text) << c.items.join('|').toStdString();
        TStringList back;
        back.SetCommaText(c.text);
        EXPECT_EQ(Items(back), c.items) << c.text.toStdString();
    }
}

struct ParseCase {
    QString text;
    QStringList items;
};

TEST(StringListCommaText, BlanksSeparateUnlessStrictOrQuoted)
{
    const ParseCase loose[] = {
        {"a b,c", {"a", "b", "c"}},
        {"  a ,  b  ", {"a", "b"}},
        {"\"a\"\"b\" c", {"a\"b", "c"}},
        {"\"unterminated", {"unterminated"}},
        {"a,,b", {"a", "", "b"}},
        {"   ", {}},
        {"\"x\"y", {"x", "y"}},
        {QString::fromUtf16(u"a\0b,c", 5), {"a", "b", "c"}},
    };
    for (const ParseCase &c : loose) {
        TStringList list;
        list.SetCommaText(c.text);
        EXPECT_EQ(Items(list), c.items) << c.text.toStdString();
    }

    const ParseCase strict[] = {
        {"a b;c", {"a b", "c"}},
        {" a ; b ", {" a ", " b "}},
        {"\"c;d\";\"e\"\"f\"", {"c;d", "e\"f"}},
        {"a;", {"a", ""}},
    };
    for (const ParseCase &c : strict) {
        TStringList list;
        list.SetDelimiter(';');
        list.SetStrictDelimiter(true);
        list.SetDelimitedText(c.text);
        EXPECT_EQ(Items(list), c.items) << c.text.toStdString();
    }
}

TEST(StringListCommaText, StrictDelimitedTextQuotesOnlyDelimiterAndQuote)
{
    TStringList list;
    list.SetDelimiter(';');
    list.SetQuoteChar('\'');
    list.SetStrictDelimiter(true);
    Fill(list, {"a b", "c;d", "it's", ""});
    EXPECT_EQ(list.DelimitedText(), "a b;'c;d';'it''s';");
    TStringList back;
    back.SetDelimiter(';');
    back.SetQuoteChar('\'');
    back.SetStrictDelimiter(true);
    back.SetDelimitedText(list.DelimitedText());
    EXPECT_EQ(Items(back), Items(list));
    // CommaText keeps to "," and '"' whatever the delimiter settings are.
    EXPECT_EQ(list.CommaText(), "a b,c;d,it's,");
}

// ---------------------------------------------------------------------------------------------
// Sorting and searching

TEST(StringListSorted, IgnoresCaseAndDropsDuplicates)
{
    TStringList list;
    list.SetSorted(true);
    EXPECT_EQ(list.Add("banana"), 0);
    EXPECT_EQ(list.Add("Apple"), 0);
    EXPECT_EQ(list.Add("cherry"), 2);
    EXPECT_EQ(list.Add("APPLE"), 0); // dupIgnore answers the index of the one already there
    EXPECT_EQ(Items(list), QStringList({"Apple", "banana", "cherry"}));

    int index = -1;
    EXPECT_TRUE(list.Find("aPPle", index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(list.Find("blueberry", index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(list.IndexOf("CHERRY"), 2);
    EXPECT_EQ(list.IndexOf("date"), -1);
}

TEST(StringListSorted, OrderFollowsTheLocaleCollation)
{
    // The lists take their collation from the default locale when a thread first compares, so
    // each locale gets a thread of its own here.
    const QLocale saved;
    auto sortedIn = [](const QLocale &locale, QStringList &out, bool &foundAccented) {
        QLocale::setDefault(locale);
        std::thread worker([&] {
            TStringList list;
            list.SetSorted(true);
            for (const char *s : {"f", "b", "_x", "A", "\xC3\xA9", "a", "E"})
                list.Add(QString::fromUtf8(s));
            out = Items(list);
            int index = -1;
            foundAccented = list.Find(QString::fromUtf8("\xC3\x89"), index); // É finds é
        });
        worker.join();
    };
    QStringList order;
    bool found = false;
    sortedIn(QLocale(QLocale::English, QLocale::UnitedStates), order, found);
    EXPECT_EQ(order, QStringList({"_x", "A", "b", "E", QString::fromUtf8("\xC3\xA9"), "f"}));
    EXPECT_TRUE(found);
    // Without a language the order is that of the case-folded characters.
    sortedIn(QLocale::c(), order, found);
    EXPECT_EQ(order, QStringList({"_x", "A", "b", "E", "f", QString::fromUtf8("\xC3\xA9")}));
    EXPECT_TRUE(found);
    QLocale::setDefault(saved);
}

TEST(StringListSorted, DuplicatesErrorAndAccept)
{
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(dupError);
    list.Add("one");
    try {
        list.Add("ONE");
        FAIL() << "duplicate accepted";
    } catch (const EStringListError &e) {
        EXPECT_EQ(e.Message(), "String list does not allow duplicates");
    }
    EXPECT_EQ(list.Count(), 1);

    list.SetDuplicates(dupAccept);
    list.Add("ONE");
    list.Add("One");
    EXPECT_EQ(list.Count(), 3);
    int index = -1;
    EXPECT_TRUE(list.Find("one", index));
    EXPECT_EQ(index, 0); // the first of the equal lines
}

TEST(StringListSorted, CaseSensitiveListsTellCaseApart)
{
    TStringList list;
    Fill(list, {"b", "A", "a", "B"});
    EXPECT_EQ(list.IndexOf("B"), 0);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("B"), 3);
    EXPECT_EQ(list.IndexOf("c"), -1);
    list.SetSorted(true);
    int index = -1;
    EXPECT_TRUE(list.Find("a", index));
    EXPECT_EQ(list.Strings(index), "a");
    EXPECT_TRUE(list.Find("A", index));
    EXPECT_EQ(list.Strings(index), "A");
}

TEST(StringListSorted, SortedListRefusesPositionalChanges)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("b");
    list.Add("a");
    EXPECT_THROW(list.Insert(0, "z"), EStringListError);
    EXPECT_THROW(list.SetStrings(0, "z"), EStringListError);
    EXPECT_THROW(list.Move(0, 1), EStringListError);
    EXPECT_EQ(Items(list), QStringList({"a", "b"}));
}

TEST(StringListSorted, ObjectsStayBesideTheirStrings)
{
    TObject o1, o2, o3, o4;
    TStringList list;
    list.AddObject("delta", &o4);
    list.AddObject("Alpha", &o1);
    list.AddObject("charlie", &o3);
    list.AddObject("bravo", &o2);

    list.Sort();
    ASSERT_EQ(Items(list), QStringList({"Alpha", "bravo", "charlie", "delta"}));
    EXPECT_EQ(list.Objects(0), &o1);
    EXPECT_EQ(list.Objects(1), &o2);
    EXPECT_EQ(list.Objects(2), &o3);
    EXPECT_EQ(list.Objects(3), &o4);

    list.Exchange(0, 3);
    EXPECT_EQ(list.Strings(0), "delta");
    EXPECT_EQ(list.Objects(0), &o4);
    EXPECT_EQ(list.Objects(3), &o1);

    list.Move(0, 2);
    EXPECT_EQ(Items(list), QStringList({"bravo", "charlie", "delta", "Alpha"}));
    EXPECT_EQ(list.Objects(2), &o4);

    list.Delete(0);
    EXPECT_EQ(list.Objects(0), &o3);
    EXPECT_EQ(list.IndexOfObject(&o1), 2);
    EXPECT_EQ(list.IndexOfObject(&o2), -1);

    list.CustomSort([](TStringList *l, int a, int b) { return l->Strings(b).compare(l->Strings(a)); });
    EXPECT_EQ(Items(list), QStringList({"delta", "charlie", "Alpha"}));
    EXPECT_EQ(list.Objects(0), &o4);
}

TEST(StringListObjects, OwnedObjectsAreFreedWithTheirLines)
{
    int alive = 0;
    {
        TStringList list(true);
        list.AddObject("a", new TCounted(&alive));
        list.AddObject("b", new TCounted(&alive));
        list.AddObject("c", new TCounted(&alive));
        list.AddObject("d", new TCounted(&alive));
        list.Delete(0);
        EXPECT_EQ(alive, 3);
        list.Move(0, 2); // moving must not free
        EXPECT_EQ(alive, 3);
        list.Clear();
        EXPECT_EQ(alive, 0);
        list.AddObject("e", new TCounted(&alive));
    }
    EXPECT_EQ(alive, 0);
}

// ---------------------------------------------------------------------------------------------
// Names, values and text

TEST(StringListValues, NamesValuesAndSeparator)
{
    TStringList list;
    Fill(list, {"Port=502", "novalue", "Host=10.0.0.1=x", "Empty="});
    const struct {
        int index;
        QString name, value;
    } rows[] = {{0, "Port", "502"}, {1, "", ""}, {2, "Host", "10.0.0.1=x"}, {3, "Empty", ""}};
    for (const auto &r : rows) {
        EXPECT_EQ(list.Names(r.index), r.name) << r.index;
        EXPECT_EQ(list.ValueFromIndex(r.index), r.value) << r.index;
    }
    EXPECT_EQ(list.Values("port"), "502");
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.IndexOfName("HOST"), 2);
    EXPECT_EQ(list.IndexOfName("novalue"), -1);

    list.SetValues("Port", "503");
    EXPECT_EQ(list.Strings(0), "Port=503");
    list.SetValues("New", "1");
    EXPECT_EQ(list.Strings(4), "New=1");
    list.SetValues("Port", "");
    EXPECT_EQ(list.IndexOfName("Port"), -1);
    EXPECT_EQ(list.Count(), 4);

    list.SetNameValueSeparator(':');
    list.Add("Key:Val");
    EXPECT_EQ(list.Values("key"), "Val");
    list.SetValueFromIndex(list.IndexOfName("Key"), "Other");
    EXPECT_EQ(list.Strings(list.Count() - 1), "Key:Other");
}

TEST(StringListText, SplitsOnCrLfOrEitherAlone)
{
    const ParseCase cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"a\r\n\r\n", {"a", ""}},
        {"\n", {""}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {" x \t\r\n", {" x \t"}},
    };
    for (const ParseCase &c : cases) {
        TStringList list;
        list.SetText(c.text);
        EXPECT_EQ(Items(list), c.items) << c.text.toStdString();
    }
    TStringList list;
    Fill(list, {"a", "", "b"});
    EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
    list.SetLineBreak("\n");
    EXPECT_EQ(list.Text(), "a\n\nb\n");
}

// ---------------------------------------------------------------------------------------------
// Changes, errors, assignment

TEST(StringListEvents, ChangeEventsFoldIntoOneUpdate)
{
    TStringList list;
    int changing = 0, changed = 0;
    list.OnChanging = [&](TObject *sender) { EXPECT_EQ(sender, &list); ++changing; };
    list.OnChange = [&](TObject *) { ++changed; };
    list.Add("a");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);

    list.BeginUpdate();
    list.Add("b");
    list.Add("c");
    list.BeginUpdate();
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(changed, 1);
    list.EndUpdate();
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);

    list.SetCommaText("x,y,z"); // a whole new content is one change
    EXPECT_EQ(changed, 3);
}

TEST(StringListErrors, IndexOutOfBoundsNamesTheIndex)
{
    TStringList list;
    list.Add("only");
    const int bad[] = {-1, 1, 7};
    for (int i : bad) {
        try {
            (void)list.Strings(i);
            FAIL() << i;
        } catch (const EStringListError &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (%1)").arg(i));
        }
        EXPECT_THROW(list.Delete(i), EListError);
        EXPECT_THROW(list.SetObjects(i, nullptr), EStringListError);
    }
    EXPECT_THROW(list.Insert(2, "x"), EStringListError);
    EXPECT_THROW(list.Exchange(0, 1), EStringListError);
    EXPECT_EQ(Items(list), QStringList({"only"}));
}

TEST(StringListAssign, CopiesLinesObjectsAndSettings)
{
    TObject o;
    TStringList source;
    source.SetSorted(true);
    source.SetDuplicates(dupAccept);
    source.AddObject("b", &o);
    source.Add("a");
    source.Add("A");

    TStringList copy;
    copy.Add("old");
    copy.Assign(&source);
    EXPECT_TRUE(copy.Equals(&source));
    EXPECT_TRUE(copy.Sorted());
    EXPECT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.Objects(copy.IndexOf("B")), &o);

    TStringList plain;
    plain.AddStrings(&source);
    plain.Add("c");
    EXPECT_FALSE(plain.Equals(&source));
    plain.Delete(3);
    EXPECT_TRUE(plain.Equals(&source));
    plain.SetStrings(0, "x");
    EXPECT_FALSE(plain.Equals(&source));

    TComponent notAList(nullptr);
    EXPECT_THROW(copy.Assign(&notAList), EConvertError);
}

// ---------------------------------------------------------------------------------------------
// Files and streams

class StringListFileTest : public TempDirTest {};

TEST_F(StringListFileTest, LoadDetectsBomsAndDefaultsToAnsi)
{
    const QString text = QString::fromUtf8("Zürich\r\n日本\r\n");
    const struct {
        const char *name;
        QByteArray bytes;
        TEncoding *expected;
        QStringList lines;
    } cases[] = {
        {"utf8.txt", QByteArray("\xEF\xBB\xBF") + text.toUtf8(), TEncoding::UTF8(), {QString::fromUtf8("Zürich"), QString::fromUtf8("日本")}},
        {"utf16le.txt", TEncoding::Unicode()->GetPreamble() + TEncoding::Unicode()->GetBytes(text), TEncoding::Unicode(), {QString::fromUtf8("Zürich"), QString::fromUtf8("日本")}},
        {"utf16be.txt", TEncoding::BigEndianUnicode()->GetPreamble() + TEncoding::BigEndianUnicode()->GetBytes(text), TEncoding::BigEndianUnicode(), {QString::fromUtf8("Zürich"), QString::fromUtf8("日本")}},
        {"ansi.txt", QByteArray("caf\xE9\r\n\x80 5\n"), TEncoding::ANSI(), {QString::fromUtf8("café"), QString::fromUtf8("€ 5")}},
        {"empty.txt", QByteArray(), TEncoding::ANSI(), {}},
    };
    for (const auto &c : cases) {
        WriteBytes(c.name, c.bytes);
        TStringList list;
        list.LoadFromFile(PathOf(c.name));
        EXPECT_EQ(Items(list), c.lines) << c.name;
        EXPECT_EQ(list.Encoding(), c.expected) << c.name;
    }
}

TEST_F(StringListFileTest, SaveKeepsTheLoadedEncodingUnlessToldOtherwise)
{
    WriteBytes("in.txt", QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("ü\r\n").toUtf8());
    TStringList list;
    list.LoadFromFile(PathOf("in.txt"));
    list.Add("x");
    list.SaveToFile(PathOf("out.txt"));
    EXPECT_EQ(ReadBytes("out.txt"), QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("ü\r\nx\r\n").toUtf8());

    TStringList fresh;
    fresh.Add(QString::fromUtf8("é"));
    fresh.SaveToFile(PathOf("ansi.txt"));
    EXPECT_EQ(ReadBytes("ansi.txt"), QByteArray("\xE9\r\n"));
    fresh.SaveToFile(PathOf("u16.txt"), TEncoding::Unicode());
    EXPECT_EQ(ReadBytes("u16.txt"), QByteArray("\xFF\xFE\xE9\x00\r\x00\n\x00", 8));
    fresh.SetWriteBOM(false);
    fresh.SaveToFile(PathOf("nobom.txt"), TEncoding::UTF8());
    EXPECT_EQ(ReadBytes("nobom.txt"), QByteArray("\xC3\xA9\r\n"));
}

TEST_F(StringListFileTest, FailuresRaiseAndKeepTheOldFile)
{
    TStringList list;
    list.Add("kept");
    try {
        list.LoadFromFile(PathOf("missing.txt"));
        FAIL();
    } catch (const EFOpenError &e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Cannot open file \"%1\".").arg(PathOf("missing.txt")))) << e.what();
    }
    EXPECT_EQ(Items(list), QStringList({"kept"}));

    WriteBytes("old.txt", "old\r\n");
    QDir(Dir()).mkdir("folder");
    EXPECT_THROW(list.SaveToFile(PathOf("folder")), EFCreateError);
    EXPECT_THROW(list.SaveToFile(PathOf("nowhere/x.txt")), EFCreateError);
    EXPECT_EQ(ReadBytes("old.txt"), QByteArray("old\r\n"));
}

TEST(StringListStream, LoadReadsFromThePositionToTheEnd)
{
    TMemoryStream stream;
    const QByteArray head("HEAD");
    const QByteArray body("one\r\ntwo");
    stream.WriteBuffer(head.constData(), head.size());
    stream.WriteBuffer(body.constData(), body.size());
    stream.SetPosition(4);
    TStringList list;
    list.LoadFromStream(&stream, TEncoding::UTF8());
    EXPECT_EQ(Items(list), QStringList({"one", "two"}));

    TMemoryStream out;
    list.SaveToStream(&out, TEncoding::UTF8());
    EXPECT_EQ(out.Bytes(), QByteArray("\xEF\xBB\xBFone\r\ntwo\r\n"));
}

} // namespace
