// The image drop-down driven as a user drives it: items from an image list and from a folder,
// choosing by image index, the open grid's keys, Enter, the wheel and a cancelled close.
#include "DropDownFormTest.h"
#include "dropdowns/ExtImagePickerDropDown.h"

#include <QImage>
#include <QTemporaryDir>

namespace {

const TColor Shades[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF};

class ImagePickerTest : public DropDownFormTest<TExtImagePickerDropDown> {
protected:
    void AddControls() override
    {
        List = new TCustomImageList(Form.get());
        List->SetWidth(16);
        List->SetHeight(16);
        TBitmap strip(80, 16);
        for (int i = 0; i < 5; ++i) {
            strip.Canvas()->Brush()->SetColor(Shades[i]);
            strip.Canvas()->FillRect(TRect(i * 16, 0, i * 16 + 16, 16));
        }
        List->Add(&strip, nullptr);
    }
    void Fill()
    {
        Edit->SetImages(List);
        Edit->AddImagesFromImageList();
        Edit->OnChange = [this](TObject *) { Events += QStringLiteral("change "); };
        Edit->OnSelect = [this](TObject *) { Events += QStringLiteral("select "); };
    }
    void Open()
    {
        GuiTest::PressKey(Edit, VK_F4);
        ASSERT_TRUE(Edit->DroppedDown());
    }
    TCustomImageList *List = nullptr;
    QString Events;
};

} // namespace

TEST_F(ImagePickerTest, ImageListItemsAndChoosingByImageIndex)
{
    Fill();
    ASSERT_EQ(Edit->Items()->Count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Edit->Items()->Items(i)->ImageIndex(), i);
    Edit->AddImagesFromImageList();
    EXPECT_EQ(Edit->Items()->Count(), 10);

    Edit->SetImageIndex(3);
    EXPECT_EQ(Edit->ItemIndex(), 3);
    EXPECT_EQ(Events, QStringLiteral("change select "));
    EXPECT_EQ(Edit->Text(), QString()) << "the text stays";
    Form->SetFocus();
    GuiTest::ProcessEvents();
    const TRect r = Edit->GetEditRect();
    EXPECT_EQ(GuiTest::PixelAt(Edit, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), ColorToRGB(Shades[3]))
        << "the chosen image centred in the edit";

    Edit->SetImageIndex(99);
    EXPECT_EQ(Edit->ItemIndex(), -1);
    EXPECT_EQ(Edit->GetImageIndex(), -1);
    Edit->SetItemIndex(10);
    EXPECT_EQ(Edit->ItemIndex(), -1);
}

TEST_F(ImagePickerTest, FolderPatternAddsAnItemPerEntryAndLoadsOnlyKnownPictures)
{
    QTemporaryDir dir;
    TBitmap bmp(8, 8);
    bmp.SaveToFile(dir.filePath(QStringLiteral("a.bmp")));
    bmp.SaveToFile(dir.filePath(QStringLiteral("b.bmp")));
    bmp.SaveToFile(dir.filePath(QStringLiteral("c.png"))); // a bitmap, but not by its name
    QImage tiff(4, 4, QImage::Format_RGB32);
    tiff.fill(Qt::red);
    ASSERT_TRUE(tiff.save(dir.filePath(QStringLiteral("d.tif")), "TIFF"));
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    Edit->AddImagesFromFolder(dir.path() + QStringLiteral("/*"), true);
    const struct {
        const char *Caption;
        bool Picture;
    } expected[] = {{"", false},   {"", false}, {"a.bmp", true}, {"b.bmp", true},
                    {"", false},   {"d.tif", true}, {"", false}};
    ASSERT_EQ(Edit->Items()->Count(), 7) << "., .., a.bmp, b.bmp, c.png, d.tif, sub";
    for (int i = 0; i < 7; ++i) {
        TImageItem *item = Edit->Items()->Items(i);
        EXPECT_EQ(item->Caption(), QString::fromLatin1(expected[i].Caption)) << i;
        EXPECT_EQ(item->Image()->Graphic() != nullptr, expected[i].Picture) << i;
    }
    Edit->AddImagesFromFolder(dir.path() + QStringLiteral("/*.gif"), true);
    EXPECT_EQ(Edit->Items()->Count(), 7) << "nothing matches, nothing is reported";
    EXPECT_EQ(Edit->Items()->Items(5)->Image()->Width(), 4);
}

TEST_F(ImagePickerTest, OpenGridKeysEnterWithAndWithoutHotAndEscRestoresNone)
{
    Fill();
    Edit->AddImagesFromImageList();
    Edit->SetColumns(4);
    Open();
    TExtCustomItemSelector *grid = Edit->ItemSelector();
    ASSERT_NE(grid, nullptr);
    GuiTest::PressKey(Edit, VK_DOWN);
    EXPECT_EQ(Edit->ItemIndex(), 0);
    GuiTest::PressKey(Edit, VK_DOWN);
    EXPECT_EQ(Edit->ItemIndex(), 4);
    EXPECT_TRUE(Edit->DroppedDown());
    GuiTest::PressKey(Edit, VK_ESCAPE);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->ItemIndex(), -1) << "none, as at the opening";

    Open();
    Edit->WheelDown();
    Edit->WheelDown();
    EXPECT_EQ(grid->ItemHot(), 1);
    Events.clear();
    GuiTest::PressKey(Edit, VK_RETURN);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->ItemIndex(), 1);
    EXPECT_EQ(Events, QStringLiteral("change select ")) << "Enter took the hot item";

    Open();
    Events.clear();
    GuiTest::PressKey(Edit, VK_RETURN);
    EXPECT_EQ(Edit->ItemIndex(), 1);
    EXPECT_EQ(Events, QStringLiteral("select ")) << "no hot item: only OnSelect";
}

TEST_F(ImagePickerTest, WheelChoosesNothingBeforeTheFirstOpeningThenSteps)
{
    Fill();
    Edit->WheelDown();
    EXPECT_EQ(Edit->ItemIndex(), -1);
    Open();
    GuiTest::PressKey(Edit, VK_ESCAPE);
    Edit->WheelDown();
    Edit->WheelDown();
    EXPECT_EQ(Edit->ItemIndex(), 1);
    EXPECT_FALSE(Edit->DroppedDown());
    Edit->WheelUp();
    EXPECT_EQ(Edit->ItemIndex(), 0);
}
