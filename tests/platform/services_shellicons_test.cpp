// The shell's icons on a fixed provider: the system image lists of 16 and 32 pixels, icon
// indices from the file or from its name and attributes, and no icon without a file to ask.
#include "platform/ImgList.h"
#include "platform/ShellApi.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Folders are icon 3, ".txt" names icon 5, everything else icon 1; each icon is one colour.
class TFixedIcons : public TShellIconProvider {
public:
    int IconIndex(const UnicodeString &Path, bool FromFile, bool Folder) override
    {
        Asked << QString("%1:%2").arg(FromFile ? "file" : "name", Path);
        if (Folder)
            return 3;
        return Path.endsWith(".txt", Qt::CaseInsensitive) ? 5 : 1;
    }
    QImage IconImage(int Index, int Size) override
    {
        QImage img(Size, Size, QImage::Format_ARGB32);
        img.fill(QColor::fromRgb(Index * 40, 0, 255 - Index * 40));
        return img;
    }
    QStringList Asked;
};

class ShellIcons : public ::testing::Test {
protected:
    ShellIcons() { SetShellIconProvider(&Icons); }
    ~ShellIcons() override { SetShellIconProvider(nullptr); }
    TFixedIcons Icons;
};

TEST_F(ShellIcons, IndicesAndListsOfBothSizes)
{
    SHFILEINFOW info;
    const auto small = SHGetFileInfoW("notes.txt", FILE_ATTRIBUTE_NORMAL, &info,
                                      SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    ASSERT_NE(small, 0u);
    EXPECT_EQ(info.iIcon, 5);
    auto *list = reinterpret_cast<TCustomImageList *>(small);
    EXPECT_EQ(list, ShellSystemImageList(false));
    EXPECT_EQ(list->Width(), 16);
    ASSERT_GT(list->Count(), 5);
    EXPECT_EQ(QColor(list->ImageAt(5).pixel(8, 8)), QColor::fromRgb(200, 0, 55));
    EXPECT_EQ(Icons.Asked.last(), "name:notes.txt") << "the file itself is not asked";

    const auto large = SHGetFileInfoW("folder", FILE_ATTRIBUTE_DIRECTORY, &info,
                                      SHGFI_SYSICONINDEX | SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES);
    EXPECT_EQ(info.iIcon, 3);
    EXPECT_EQ(reinterpret_cast<TCustomImageList *>(large)->Width(), 32);

    QTemporaryDir dir;
    EXPECT_NE(SHGetFileInfoW(dir.path(), 0, &info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON), 0u);
    EXPECT_TRUE(Icons.Asked.last().startsWith("file:"));
    EXPECT_EQ(SHGetFileInfoW(dir.path() + "/missing", 0, &info, SHGFI_SYSICONINDEX), 0u)
        << "without the attributes flag a missing file has no icon";
    EXPECT_EQ(SHGetFileInfoW("x.txt", 0, &info, 0), 0u);
}

} // namespace
