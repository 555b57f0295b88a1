// The grid's cell objects besides check boxes and nodes: who owns each object and when it is
// freed, the fields each Add fills, the queries on cells without the object, markers sharing a
// cell with its object, balloons carried by check boxes, and a multi-image cell repainting.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/ImgList.h"
#include "support/CountedObjects.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

using TCountedBitmap = TCounted<TBitmap>;
using TCountedIcon = TCounted<TIcon>;
using TCountedPicture = TCounted<TPicture>;
using TCountedFilePicture = TCounted<TFilePicture>;
using TCountedObject = TCounted<TInterfacedPersistent>;

class PicturesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g = std::make_unique<TExtStringGrid>(nullptr);
        g->SetColCount(5);
        g->SetRowCount(6);
    }
    std::unique_ptr<TExtStringGrid> g;
};

// How an object leaves its cell.
struct TEnding {
    const char *Name;
    std::function<void(TExtStringGrid &, int, int)> End;
};

const std::vector<TEnding> &Endings()
{
    static const std::vector<TEnding> endings{
        {"another object", [](TExtStringGrid &g, int c, int r) { g.AddComment(c, r, "x"); }},
        {"cleared cell", [](TExtStringGrid &g, int c, int r) { g.ClearRect(c, r, c, r); }},
        {"deleted row", [](TExtStringGrid &g, int, int r) { g.RemoveRows(r, 1); }},
        {"grid freed", [](TExtStringGrid &, int, int) {}},
    };
    return endings;
}

TEST(GridPictureOwnership, PassedObjectsSurviveCreatedOnesDieWithTheirGraphic)
{
    struct Case {
        const char *Name;
        // Puts a counted object into cell (1, 2); Created says the grid owns it.
        std::function<TObject *(TExtStringGrid &)> Put;
        std::function<void(TExtStringGrid &)> Remove;
        bool Created;
    };
    // A Create's object is swapped for a counted one of the same class, so that its end shows.
    auto adopt = [](TExtStringGrid &g, TObject *Made, TObject *Counted) {
        delete Made;
        g.GetCellGraphic(1, 2)->SetCellObject(Counted);
        return Counted;
    };
    const std::vector<Case> cases{
        {"AddBitmap", [](TExtStringGrid &g) -> TObject * { auto *o = new TCountedBitmap(); g.AddBitmap(1, 2, o, false, haLeft, vaTop); return o; },
         [](TExtStringGrid &g) { g.RemoveBitmap(1, 2); }, false},
        {"CreateBitmap", [&](TExtStringGrid &g) { return adopt(g, g.CreateBitmap(1, 2, false, haLeft, vaTop), new TCountedBitmap()); },
         [](TExtStringGrid &g) { g.RemoveBitmap(1, 2); }, true},
        {"AddPicture", [](TExtStringGrid &g) -> TObject * { auto *o = new TCountedPicture(); g.AddPicture(1, 2, o, false, Stretch, 0, haLeft, vaTop); return o; },
         [](TExtStringGrid &g) { g.RemovePicture(1, 2); }, false},
        {"CreatePicture", [&](TExtStringGrid &g) { return adopt(g, g.CreatePicture(1, 2, false, Stretch, 0, haLeft, vaTop), new TCountedPicture()); },
         [](TExtStringGrid &g) { g.RemovePicture(1, 2); }, true},
        {"AddFilePicture", [](TExtStringGrid &g) -> TObject * { auto *o = new TCountedFilePicture(); g.AddFilePicture(1, 2, o, false, Stretch, 0, haLeft, vaTop); return o; },
         [](TExtStringGrid &g) { g.RemoveFilePicture(1, 2); }, false},
        {"CreateFilePicture", [&](TExtStringGrid &g) { return adopt(g, g.CreateFilePicture(1, 2, false, Stretch, 0, haLeft, vaTop), new TCountedFilePicture()); },
         [](TExtStringGrid &g) { g.RemoveFilePicture(1, 2); }, true},
        {"AddInterfacedCell", [](TExtStringGrid &g) -> TObject * { auto *o = new TCountedObject(); g.AddInterfacedCell(1, 2, o); return o; },
         [](TExtStringGrid &g) { g.RemoveInterfacedCell(1, 2); }, false},
    };
    for (const Case &c : cases) {
        std::vector<TEnding> endings = Endings();
        endings.push_back({"its Remove", [&](TExtStringGrid &g, int, int) { c.Remove(g); }});
        for (const TEnding &e : endings) {
            SCOPED_TRACE(std::string(c.Name) + " ended by " + e.Name);
            GFreed = 0;
            TObject *o = nullptr;
            {
                TExtStringGrid g(nullptr);
                g.SetColCount(4);
                g.SetRowCount(5);
                o = c.Put(g);
                e.End(g, 1, 2);
                if (std::string(e.Name) != "grid freed") {
                    EXPECT_EQ(GFreed, c.Created ? 1 : 0);
                }
            }
            EXPECT_EQ(GFreed, c.Created ? 1 : 0);
            if (!c.Created)
                delete o;
        }
    }
}

TEST(GridPictureOwnership, IconsAndRotationFreeWhatTheGridMade)
{
    TExtStringGrid g(nullptr);
    g.SetColCount(4);
    g.SetRowCount(5);

    GFreed = 0;
    TCountedIcon callers;
    g.AddIcon(1, 1, &callers, haLeft, vaTop);
    g.RemoveIcon(1, 1);
    EXPECT_EQ(GFreed, 0);
    g.CreateIcon(1, 1, haLeft, vaTop);
    g.RemoveIcon(1, 1);
    EXPECT_EQ(g.GetCellType(1, 1), ctEmpty);

    // Turning a created picture into rotated text frees the picture at once; a picture of the
    // caller's stays the caller's.
    TPicture *made = g.CreatePicture(1, 2, false, Stretch, 0, haLeft, vaTop);
    delete made;
    g.GetCellGraphic(1, 2)->SetCellObject(new TCountedPicture());
    g.SetRotated(1, 2, 90);
    EXPECT_EQ(GFreed, 1);
    int angle = 0;
    EXPECT_TRUE(g.IsRotated(1, 2, angle));
    EXPECT_EQ(angle, 90);

    GFreed = 0;
    TCountedPicture kept;
    g.AddPicture(1, 3, &kept, false, Stretch, 0, haLeft, vaTop);
    g.SetRotated(1, 3, 45);
    g.RemoveRotated(1, 3);
    EXPECT_EQ(GFreed, 0);
    EXPECT_EQ(g.GetCellType(1, 3), ctEmpty);
}

TEST_F(PicturesTest, BalloonsOnCheckBoxesAndOtherObjects)
{
    g->AddCheckBox(1, 1, true, false);
    g->AddBalloon(1, 1, "T1", "first", biInfo);
    // A second balloon replaces the first (ASan sees the first one freed).
    g->AddBalloon(1, 1, "T2", "second", biWarning);
    EXPECT_EQ(g->GetCellType(1, 1), ctCheckBox);
    EXPECT_FALSE(g->HasBalloon(1, 1));
    UnicodeString title, text;
    TBalloonIcon icon = biNone;
    ASSERT_TRUE(g->IsBalloon(1, 1, title, text, icon));
    EXPECT_EQ(title, "T2");
    EXPECT_EQ(text, "second");
    EXPECT_EQ(icon, biWarning);
    g->RemoveBalloon(1, 1);
    EXPECT_TRUE(g->HasCheckBox(1, 1));
    EXPECT_FALSE(g->IsBalloon(1, 1, title, text, icon));

    g->AddBalloon(2, 1, "T", "alone", biError);
    EXPECT_TRUE(g->HasBalloon(2, 1));
    g->RemoveBalloon(2, 1);
    EXPECT_EQ(g->GetCellType(2, 1), ctEmpty);

    // Any other object refuses a balloon and stays as it was.
    g->AddRating(3, 1, 5, clYellow, clGray);
    g->AddBalloon(3, 1, "T", "refused", biInfo);
    EXPECT_TRUE(g->HasRating(3, 1));
    EXPECT_FALSE(g->IsBalloon(3, 1, title, text, icon));
}

TEST_F(PicturesTest, CommentsGiveWayToOtherObjects)
{
    g->AddComment(1, 1, "note");
    UnicodeString comment;
    ASSERT_TRUE(g->IsComment(1, 1, comment));
    EXPECT_EQ(comment, "note");
    TPicture pic;
    g->AddPicture(1, 1, &pic, false, Stretch, 0, haLeft, vaTop);
    comment = "unchanged";
    EXPECT_FALSE(g->IsComment(1, 1, comment));
    EXPECT_EQ(comment, "unchanged");

    // SetComment adds one to an empty cell in the look's colour, renames an existing one and
    // leaves a cell with another object alone.
    g->SetComment(2, 2, "new");
    EXPECT_EQ(g->GetComment(2, 2), "new");
    EXPECT_EQ(g->GetCellGraphic(2, 2)->CellIndex(), 255);
    EXPECT_EQ(g->ControlLook()->CommentColor, 255);
    g->SetComment(2, 2, "renamed");
    EXPECT_EQ(g->GetComment(2, 2), "renamed");
    g->SetComment(1, 1, "refused");
    EXPECT_EQ(g->GetPicture(1, 1), &pic);
    EXPECT_EQ(g->GetComment(1, 1), "");

    g->AddColorComment(3, 3, "blue", clBlue);
    EXPECT_EQ(g->GetCellGraphic(3, 3)->CellIndex(), clBlue);
    g->RemoveAllComments();
    EXPECT_EQ(g->GetComment(2, 2), "");
    EXPECT_EQ(g->GetComment(3, 3), "");
    EXPECT_EQ(g->GetPicture(1, 1), &pic);
}

TEST_F(PicturesTest, AddsFillTheirFields)
{
    g->SetAutoNumAlign(true);
    g->AddProgress(1, 1, clGreen, clWhite);
    const TCellGraphic *p = g->GetCellGraphic(1, 1);
    EXPECT_EQ(p->CellType(), ctProgress);
    EXPECT_EQ(p->CellErrFrom(), 0);
    EXPECT_EQ(p->CellErrLen(), 100);
    EXPECT_EQ(p->CellColor(), clGreen);
    EXPECT_EQ(p->CellColorTo(), clWhite);
    EXPECT_FALSE(p->CellBoolean());
    EXPECT_EQ(p->CellObject(), nullptr);
    EXPECT_EQ(g->GetCellAlignment(1, 1).first, taRightJustify);
    EXPECT_TRUE(g->HasProgress(1, 1));

    g->AddProgressFormatted(2, 1, clGreen, clBlack, clWhite, clRed, "%d%%", 10, 50);
    const TCellGraphic *f = g->GetCellGraphic(2, 1);
    EXPECT_EQ(f->CellIndex(), clBlack);
    EXPECT_EQ(f->CellAngle(), clRed);
    EXPECT_TRUE(f->CellBoolean());
    EXPECT_EQ(f->CellText(), "%d%%");
    EXPECT_EQ(f->CellErrFrom(), 10);
    EXPECT_EQ(f->CellErrLen(), 50);

    g->AddExtProgress(3, 1, 5, 25);
    EXPECT_FALSE(g->HasProgress(3, 1));
    EXPECT_EQ(g->GetCellGraphic(3, 1)->CellErrLen(), 25);

    g->AddShape(1, 2, csDiamond, clRed, clBlack, haCenter, vaCenter);
    EXPECT_EQ(g->GetShapeColor(1, 2), clRed);
    g->SetShapeColor(1, 2, clLime);
    EXPECT_EQ(g->GetShapeColor(1, 2), clLime);
    EXPECT_EQ(g->GetCellGraphic(1, 2)->CellColor(), clBlack);
    EXPECT_EQ(g->GetCellGraphic(1, 2)->CellAngle(), int(csDiamond));

    g->AddRotated(2, 2, -90, "up");
    int angle = 0;
    EXPECT_TRUE(g->IsRotated(2, 2, angle));
    EXPECT_EQ(angle, 270);
    EXPECT_EQ(g->Cells(2, 2), "up");

    g->AddProgressPie(3, 2, clBlue, 40);
    g->SetProgressPie(3, 2, 60);
    EXPECT_EQ(g->GetCellGraphic(3, 2)->CellAngle(), 60);
    EXPECT_EQ(g->GetCellGraphic(3, 2)->CellColor(), clBlue);

    g->AddScrollBar(1, 3, false);
    EXPECT_EQ(g->GetScrollProp(1, 3).PageSize, 0);
    EXPECT_EQ(g->GetScrollProp(1, 3).Range, 100);
    EXPECT_EQ(g->GetScrollPosition(1, 3), 0);
    g->SetScrollProp(1, 3, {20, 80});
    g->SetScrollPosition(1, 3, 7);
    EXPECT_EQ(g->GetScrollProp(1, 3).Range, 80);
    EXPECT_EQ(g->GetScrollPosition(1, 3), 7);
    EXPECT_FALSE(g->HasAutoRangeScrollBar(1, 3));
}

TEST_F(PicturesTest, QueriesOnCellsWithoutTheirObjectAnswerNothing)
{
    // Cell (1, 1) holds text only; (-1, 2) lies outside.
    g->SetCells(1, 1, "text");
    for (auto [c, r] : {std::pair{1, 1}, {-1, 2}, {9, 9}}) {
        SCOPED_TRACE(c);
        int idx = 42, angle = 42, pos = 1, len = 1;
        UnicodeString s = "kept", t = "kept";
        TBalloonIcon icon = biError;
        EXPECT_EQ(g->GetBitmap(c, r), nullptr);
        EXPECT_EQ(g->GetPicture(c, r), nullptr);
        EXPECT_EQ(g->GetFilePicture(c, r), nullptr);
        EXPECT_EQ(g->GetInterfacedCell(c, r), nullptr);
        EXPECT_FALSE(g->HasBitmap(c, r) || g->HasPicture(c, r) || g->HasDataImage(c, r) || g->HasProgress(c, r) ||
                     g->HasRating(c, r) || g->HasScrollBar(c, r) || g->HasAutoRangeScrollBar(c, r) ||
                     g->HasBalloon(c, r));
        EXPECT_FALSE(g->GetImageIdx(c, r, idx));
        EXPECT_FALSE(g->IsComment(c, r, s));
        EXPECT_FALSE(g->IsRotated(c, r, angle));
        EXPECT_FALSE(g->IsBalloon(c, r, s, t, icon));
        EXPECT_EQ(idx, 42);
        EXPECT_EQ(angle, 42);
        EXPECT_EQ(s, "kept");
        EXPECT_EQ(g->GetComment(c, r), "");
        EXPECT_EQ(g->GetShapeColor(c, r), clNone);
        EXPECT_EQ(g->GetScrollPosition(c, r), -1);
        EXPECT_EQ(g->GetScrollProp(c, r).PageSize, -1);
        EXPECT_EQ(g->GetScrollProp(c, r).Range, -1);
        g->GetMarker(c, r, pos, len);
        EXPECT_EQ(pos, 0);
        EXPECT_EQ(len, 0);
        // Removals of an absent object do nothing, also outside the grid.
        g->RemoveBitmap(c, r);
        g->RemoveDataImage(c, r);
        g->RemoveBalloon(c, r);
        g->RemoveMarker(c, r);
        g->SetScrollPosition(c, r, 3);
        g->SetProgressPie(c, r, 3);
    }
    // The text of a cell without a data image stays.
    EXPECT_EQ(g->Cells(1, 1), "text");
    EXPECT_EQ(g->GetCellType(1, 1), ctEmpty);
}

TEST_F(PicturesTest, HasQueriesLookAtTheBaseCellOfAMergedRange)
{
    g->MergeCells(1, 1, 2, 2);
    g->AddScrollBar(1, 1, true);
    g->AddRating(3, 3, 5, clYellow, clGray);
    EXPECT_TRUE(g->HasScrollBar(2, 2));
    EXPECT_TRUE(g->HasAutoRangeScrollBar(2, 2));
    g->SetScrollPosition(2, 2, 5);
    EXPECT_EQ(g->GetScrollPosition(1, 1), 5);
    EXPECT_TRUE(g->HasRating(3, 3));
    EXPECT_FALSE(g->HasRating(2, 2));
}

TEST_F(PicturesTest, AutoRangeScrollBarFollowsTheTextHeight)
{
    g->SetRowHeights(1, 20);
    g->SetColWidths(1, 60);
    g->AddScrollBar(1, 1, true);
    const int oneLine = g->GetScrollProp(1, 1).Range;
    EXPECT_EQ(g->GetScrollProp(1, 1).PageSize, 20);
    g->SetCells(1, 1, "one two three four five six seven eight nine ten eleven twelve");
    EXPECT_GT(g->GetScrollProp(1, 1).Range, oneLine);
    EXPECT_EQ(g->GetScrollProp(1, 1).PageSize, 20);
}

TEST_F(PicturesTest, MarkersShareTheCellAndSpareRangesOfTheirOwn)
{
    int pos = 0, len = 0;
    g->AddMarker(1, 1, 2, 3);
    g->GetMarker(1, 1, pos, len);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(len, 3);
    g->RemoveMarker(1, 1);
    EXPECT_EQ(g->GetCellGraphic(1, 1), nullptr);

    TPicture pic;
    g->AddPicture(2, 1, &pic, false, Stretch, 0, haLeft, vaTop);
    g->AddMarker(2, 1, 1, 1);
    g->RemoveMarker(2, 1);
    EXPECT_EQ(g->GetPicture(2, 1), &pic);

    // A progress bar keeps its minimum and maximum where a marker would go.
    g->AddProgress(3, 1, clGreen, clWhite);
    g->AddMarker(3, 1, 4, 5);
    g->RemoveMarker(3, 1);
    EXPECT_EQ(g->GetCellGraphic(3, 1)->CellErrFrom(), 0);
    EXPECT_EQ(g->GetCellGraphic(3, 1)->CellErrLen(), 100);
    g->AddScrollBar(4, 1, false);
    g->AddMarker(4, 1, 4, 5);
    EXPECT_EQ(g->GetScrollProp(4, 1).Range, 100);

    // A node keeps its count of sub-nodes.
    g->AddNode(2, 3);
    g->UpdateSubNodeCount(2, 2);
    g->AddMarker(0, 2, 1, 1);
    g->RemoveAllMarkers();
    EXPECT_EQ(g->GetSubNodeCount(2), 2);
    EXPECT_TRUE(g->IsNode(2));
}

TEST_F(PicturesTest, ImageCellsNeedTheGridImages)
{
    g->SetCells(1, 1, "keep");
    g->AddImageIdx(2, 2, 3, haLeft, vaTop);
    g->AddDataImage(1, 1, 4, haLeft, vaTop);
    g->AddMultiImage(3, 3, 0, haLeft, vaTop);
    EXPECT_EQ(g->GetCellType(2, 2), ctEmpty);
    EXPECT_EQ(g->GetCellType(1, 1), ctEmpty);
    EXPECT_EQ(g->GetCellType(3, 3), ctEmpty);

    TCustomImageList images(16, 16);
    g->SetGridImages(&images);
    EXPECT_EQ(g->GridImages(), &images);
    g->AddImageIdx(2, 2, 3, haLeft, vaTop);
    int idx = 0;
    ASSERT_TRUE(g->GetImageIdx(2, 2, idx));
    EXPECT_EQ(idx, 3);
    g->SetImageIdx(2, 2, 5);
    ASSERT_TRUE(g->GetImageIdx(2, 2, idx));
    EXPECT_EQ(idx, 5);

    // A data image keeps a text and writes its index into an empty cell.
    g->AddDataImage(1, 1, 4, haLeft, vaTop);
    EXPECT_EQ(g->Cells(1, 1), "keep");
    g->AddDataImage(1, 2, 6, haLeft, vaTop);
    EXPECT_EQ(g->Cells(1, 2), "6");
    EXPECT_TRUE(g->HasDataImage(1, 2));
    g->RemoveDataImage(1, 2);
    EXPECT_EQ(g->Cells(1, 2), "");
    EXPECT_FALSE(g->HasDataImage(1, 2));

    g->AddMultiImage(3, 3, 0, haLeft, vaTop);
    EXPECT_TRUE(g->GetCellGraphic(3, 3)->CellBoolean());
    g->AddMultiImage(3, 4, 1, haLeft, vaTop);
    EXPECT_FALSE(g->GetCellGraphic(3, 4)->CellBoolean());
    g->SetGridImages(nullptr);
}

TEST(GridPictures, MultiImageCellRepaintsWhenItsListChanges)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto *g = new TExtStringGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 380, 280);
    g->SetColCount(4);
    g->SetRowCount(5);
    TCustomImageList images(16, 16);
    g->SetGridImages(&images);
    g->AddMultiImage(2, 3, 0, haLeft, vaTop);
    form.Show();
    GuiTest::ProcessEvents();

    int drawn = 0;
    g->OnCustomCellDraw = [&](TObject *, TCanvas *, int c, int r, TGridDrawState, TRect, bool) {
        drawn += c == 2 && r == 3;
    };
    GuiTest::ProcessEvents();
    EXPECT_EQ(drawn, 0);
    // The cell's list is reached through the grid; other cells have none.
    TIntList *list = g->CellImages(2, 3);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list, g->GetCellGraphic(2, 3)->CellObject());
    EXPECT_EQ(g->CellImages(1, 3), nullptr);
    g->AddImageIdx(1, 3, 0, haLeft, vaTop);
    EXPECT_EQ(g->CellImages(1, 3), nullptr);
    list->Add(0);
    GuiTest::ProcessEvents();
    EXPECT_GT(drawn, 0);
    g->SetGridImages(nullptr);
}

TEST_F(PicturesTest, QuestionsToTheApplicationTakeItsAnswers)
{
    bool can = true;
    g->DoCanAddRow(can);
    EXPECT_TRUE(can); // nobody asked: allowed
    double rate = 3.5;
    EXPECT_TRUE(g->DoRatingChange(1, 1, rate));

    std::vector<int> asked;
    g->OnCanAddRow = [&](TObject *, bool &CanAdd) { CanAdd = false; asked.push_back(-1); };
    g->OnCanInsertRow = [&](TObject *, int ARow, bool &CanInsert) { CanInsert = ARow != 2; asked.push_back(ARow); };
    g->OnRatingChange = [&](TObject *, int c, int r, double &NewRate, bool &Allow) {
        asked.push_back(c * 10 + r);
        Allow = NewRate <= 5;
        NewRate = std::min(NewRate, 4.0);
    };
    g->DoCanAddRow(can);
    EXPECT_FALSE(can);
    bool ins = true;
    g->DoCanInsertRow(2, ins);
    EXPECT_FALSE(ins);
    rate = 4.5;
    EXPECT_TRUE(g->DoRatingChange(1, 3, rate));
    EXPECT_EQ(rate, 4.0);
    rate = 6;
    EXPECT_FALSE(g->DoRatingChange(2, 3, rate));
    EXPECT_EQ(asked, (std::vector<int>{-1, 2, 13, 23}));
}

} // namespace
