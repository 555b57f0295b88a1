// The small lists of the grid library: integer lists and their events, sort orders in their short
// text form, controls placed in cells, the line reader and writer, and file pictures.
#include "controls/ExtGridLists.h"
#include "platform/Controls.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/StdCtrls.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>

#include <memory>
#include <tuple>
#include <vector>

namespace {

using Event = std::tuple<TObject *, int, int>;

std::vector<int> Values(const TIntList &List)
{
    std::vector<int> v;
    for (int i = 0; i < List.Count(); ++i)
        v.push_back(List.Items(i));
    return v;
}

// An integer list of cell (4, 7) that records its change events.
class IntListTest : public ::testing::Test {
protected:
    IntListTest()
    {
        FList.OnChange = [this](TObject *Sender, int Col, int Row) { FEvents.emplace_back(Sender, Col, Row); };
    }

    TIntList FList{4, 7};
    std::vector<Event> FEvents;
};

TEST_F(IntListTest, ChangesFireWithTheOwnerCell)
{
    FList.Add(5);
    FList.Add(-1);
    FList.Insert(0, 9); // no event
    ASSERT_EQ(FEvents.size(), 2u);
    EXPECT_EQ(FEvents[0], Event(&FList, 4, 7));
    EXPECT_EQ(Values(FList), (std::vector<int>{9, 5, -1}));

    FList.SetItems(1, 6);
    FList.Delete(0);
    FList.DeleteValue(42); // absent: nothing, no event
    FList.DeleteValue(-1);
    EXPECT_EQ(FEvents.size(), 5u);
    EXPECT_EQ(Values(FList), (std::vector<int>{6}));
    EXPECT_TRUE(FList.HasValue(6));
    EXPECT_FALSE(FList.HasValue(-1));
    EXPECT_EQ(FList.IndexOf(6), 0);
    EXPECT_EQ(FList.IndexOf(7), -1);

    FList.Clear();
    EXPECT_EQ(FList.Count(), 0);
    EXPECT_EQ(FEvents.size(), 5u);
    EXPECT_THROW(FList.Delete(0), EListError);
    EXPECT_THROW(FList.GetInteger(0), EListError);
}

TEST_F(IntListTest, StrValue)
{
    EXPECT_EQ(FList.StrValue(), QString());
    FList.Add(8);
    FEvents.clear();

    FList.SetStrValue(QStringLiteral("3,1,2"));
    EXPECT_EQ(Values(FList), (std::vector<int>{3, 1, 2}));
    // One event per part, none for the clearing.
    EXPECT_EQ(FEvents.size(), 3u);
    EXPECT_EQ(FList.StrValue(), QStringLiteral("3,1,2"));

    FList.SetStrValue(QStringLiteral("-2147483648 \"7\" 2147483647"));
    EXPECT_EQ(Values(FList), (std::vector<int>{-2147483647 - 1, 7, 2147483647}));
    EXPECT_EQ(FList.StrValue(), QStringLiteral("-2147483648,7,2147483647"));

    FList.SetStrValue(QString());
    EXPECT_EQ(FList.Count(), 0);

    // A part that is no number raises and keeps what came before it.
    EXPECT_THROW(FList.SetStrValue(QStringLiteral("4,5,x,6")), EConvertError);
    EXPECT_EQ(Values(FList), (std::vector<int>{4, 5}));
    EXPECT_THROW(FList.SetStrValue(QStringLiteral("99999999999")), EConvertError);
    EXPECT_EQ(FList.Count(), 0);
}

TEST(SortIndexList, ShortTextForm)
{
    TSortIndexList list(0, 0);
    list.AddIndex(2, true);
    list.AddIndex(0, false);
    EXPECT_EQ(list.SaveToString(), QStringLiteral("u2;d0"));
    EXPECT_EQ(list.Items(1), static_cast<int>(0x80000000u));

    int events = 0;
    list.OnChange = [&](TObject *, int, int) { ++events; };
    list.LoadFromString(QStringLiteral("u2;d0;x;U5"));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(events, 3);
    const int columns[] = {2, 0, 5};
    const bool ascending[] = {true, false, false};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list.SortColumns(i), columns[i]);
        EXPECT_EQ(list.SortDirections(i), ascending[i]);
    }
    EXPECT_EQ(list.SaveToString(), QStringLiteral("u2;d0;d5"));

    // A column that is no number reads as far as it goes; empty entries are skipped.
    list.LoadFromString(QStringLiteral(";u12x;;dz;u"));
    EXPECT_EQ(list.SaveToString(), QStringLiteral("u12;d0"));
    list.LoadFromString(QString());
    EXPECT_EQ(list.Count(), 0);

    // Only the low 16 bits of a column are written.
    list.AddIndex(0x12345, true);
    EXPECT_EQ(list.SaveToString(), QStringLiteral("u9029"));
    EXPECT_EQ(list.SortColumns(0), 0x12345);
}

TEST(SortIndexList, FindToggleAndDirections)
{
    TSortIndexList list(0, 0);
    list.AddIndex(3, true);
    list.AddIndex(1, false);
    list.AddIndex(3, false);
    EXPECT_EQ(list.FindIndex(1), 1);
    EXPECT_EQ(list.FindIndex(3), 0);
    EXPECT_EQ(list.FindIndex(7), -1);

    list.ToggleIndex(3);
    list.ToggleIndex(1);
    EXPECT_EQ(list.SaveToString(), QStringLiteral("d3;u1;d3"));
    int events = 0;
    list.OnChange = [&](TObject *, int, int) { ++events; };
    list.ToggleIndex(7);
    EXPECT_EQ(list.SaveToString(), QStringLiteral("d3;u1;d3"));
    EXPECT_EQ(events, 0);

    list.SetSortColumns(0, 4);
    list.SetSortDirections(1, false);
    list.SetSortDirections(2, true);
    EXPECT_EQ(list.SaveToString(), QStringLiteral("d4;d1;u3"));
    EXPECT_EQ(events, 3);
    // The direction bit of a column number cannot turn an ascending column round.
    list.SetSortColumns(2, -1);
    EXPECT_TRUE(list.SortDirections(2));
    list.AddIndex(-1, true);
    EXPECT_TRUE(list.SortDirections(3));
}

TEST(ControlList, CellsAndControls)
{
    TForm form(nullptr);
    auto *edit = new TEdit(&form);
    edit->SetParent(&form);
    auto *panel = new TPanel(&form);
    panel->SetParent(&form);
    TControl *label = new TLabel(&form);

    auto list = std::make_unique<TControlList>();
    list->AddControl(1, 2, edit);
    list->AddControl(3, 4, panel);
    list->AddControl(1, 4, label);
    EXPECT_EQ(list->ControlIndex(3, 4), 1);
    EXPECT_EQ(list->ControlIndex(2, 1), -1);
    EXPECT_EQ(list->Control(0)->Control(), edit);
    EXPECT_EQ(list->GetControl(2)->X(), 1);

    // Looking through every control makes the windows of those that had none.
    EXPECT_FALSE(panel->HandleAllocated());
    EXPECT_FALSE(list->HasHandle(nullptr));
    EXPECT_TRUE(panel->HandleAllocated());
    EXPECT_TRUE(list->HasHandle(edit->Handle()));
    EXPECT_TRUE(list->HasHandle(panel->Handle()));
    EXPECT_FALSE(list->HasHandle(form.Handle()));

    list->SwapColumns(1, 3);
    EXPECT_EQ(list->ControlIndex(3, 2), 0);
    EXPECT_EQ(list->ControlIndex(1, 4), 1);
    EXPECT_EQ(list->ControlIndex(3, 4), 2);
    list->SwapRows(4, 2);
    EXPECT_EQ(list->ControlIndex(3, 4), 0);
    EXPECT_EQ(list->ControlIndex(1, 2), 1);

    // Removing an item leaves its control to its owner.
    list->RemoveControl(0);
    EXPECT_EQ(list->Count(), 2);
    EXPECT_EQ(list->ControlIndex(3, 4), -1);
    EXPECT_EQ(edit->Owner(), &form);
    edit->SetText(QStringLiteral("alive"));
    EXPECT_EQ(edit->Text(), QStringLiteral("alive"));
    EXPECT_THROW(list->RemoveControl(5), EListError);

    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    list->AddControl(0, 0, panel);
    list.reset();
    EXPECT_EQ(panel->Parent(), &form);
}

TEST(FileStringList, ReadsAndWritesLineByLine)
{
    TFileStringList list;
    list.Write(QStringLiteral("a"));
    list.Write(QStringLiteral("b"));
    list.WriteLn(QStringLiteral("c"));
    list.WriteLn(QString());
    list.Write(QStringLiteral("lost"));
    list.Reset(); // drops the unfinished line
    list.WriteLn(QStringLiteral("d"));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Strings(0), QStringLiteral("abc"));

    UnicodeString s;
    const QString lines[] = {QStringLiteral("abc"), QString(), QStringLiteral("d")};
    for (const QString &line : lines) {
        EXPECT_FALSE(list.Eof());
        list.ReadLn(s);
        EXPECT_EQ(s, line);
    }
    EXPECT_TRUE(list.Eof());
    s = QStringLiteral("kept");
    EXPECT_THROW(list.ReadLn(s), EListError);
    EXPECT_EQ(s, QStringLiteral("kept"));

    list.Reset();
    list.ReadLn(s);
    EXPECT_EQ(s, QStringLiteral("abc"));

    TFileStringList empty;
    EXPECT_TRUE(empty.Eof());
}

class FilePictureTest : public TempDirTest {
protected:
    QString SavePicture(const QString &Name, TColor Color)
    {
        TBitmap bmp(4, 3);
        bmp.Canvas()->Brush()->SetColor(Color);
        bmp.Canvas()->FillRect(Rect(0, 0, 4, 3));
        const QString path = PathOf(Name);
        bmp.SaveToFile(path);
        return path;
    }
};

TEST_F(FilePictureTest, ReadsTheFileForSizeAndEveryDraw)
{
    const QString path = SavePicture(QStringLiteral("red.bmp"), clRed);
    TFilePicture picture;
    picture.SetFilename(path);
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.Height(), 3);

    TBitmap target(20, 20);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 20, 20));
    picture.DrawPicture(target.Canvas(), Rect(2, 2, 10, 10));
    EXPECT_EQ(target.Canvas()->Pixels(5, 5), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(15, 15), clWhite);

    // The file is read at each draw: a new file under the same name shows.
    SavePicture(QStringLiteral("red.bmp"), clBlue);
    picture.DrawPicture(target.Canvas(), Rect(2, 2, 10, 10));
    EXPECT_EQ(target.Canvas()->Pixels(5, 5), clBlue);

    TFilePicture copy;
    copy.Assign(&picture);
    EXPECT_EQ(copy.Filename(), path);
    EXPECT_EQ(copy.Width(), 4);
    TBitmap notAPicture(1, 1);
    EXPECT_ANY_THROW(copy.Assign(&notAPicture));
}

TEST_F(FilePictureTest, AMissingFileRaisesOnlyWhenSet)
{
    const QString path = SavePicture(QStringLiteral("gone.bmp"), clRed);
    TFilePicture picture;
    picture.SetFilename(path);
    ASSERT_TRUE(QFile::remove(path));

    TBitmap target(20, 20);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 20, 20));
    EXPECT_NO_THROW(picture.DrawPicture(target.Canvas(), Rect(0, 0, 20, 20)));
    EXPECT_EQ(target.Canvas()->Pixels(5, 5), clWhite);

    // A damaged file paints nothing either.
    WriteBytes(QStringLiteral("gone.bmp"), QByteArray("BM not really"));
    EXPECT_NO_THROW(picture.DrawPicture(target.Canvas(), Rect(0, 0, 20, 20)));
    EXPECT_EQ(target.Canvas()->Pixels(5, 5), clWhite);

    TFilePicture other;
    EXPECT_ANY_THROW(other.SetFilename(PathOf(QStringLiteral("missing.bmp"))));
    EXPECT_EQ(other.Filename(), PathOf(QStringLiteral("missing.bmp")));
    EXPECT_NO_THROW(other.DrawPicture(target.Canvas(), Rect(0, 0, 20, 20)));

    other.SetFilename(QString());
    EXPECT_EQ(other.Width(), 0);
    EXPECT_NO_THROW(other.DrawPicture(target.Canvas(), Rect(0, 0, 20, 20)));
}

} // namespace
