// The shell's file icons and its system image lists, on the desktop's icon theme (through Qt's
// file icon provider) or on a provider a test installs.

#include "platform/ShellApi.h"

#include "platform/FileUtils.h"
#include "platform/ImgList.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QImage>

#include <memory>
#include <vector>

namespace {

// Icons found on the desktop's theme, numbered in the order they were first asked for.
class TDesktopIconProvider : public TShellIconProvider {
public:
    int IconIndex(const UnicodeString &Path, bool FromFile, bool Folder) override
    {
        QIcon icon;
        if (FromFile) {
            icon = FProvider.icon(QFileInfo(Path));
        } else if (Folder) {
            icon = FProvider.icon(QAbstractFileIconProvider::Folder);
        } else {
            // The icon of the file's type, without looking at the file.
            icon = FProvider.icon(QAbstractFileIconProvider::File);
        }
        if (icon.isNull())
            return -1;
        const qint64 key = icon.cacheKey();
        const auto it = FIndex.find(key);
        if (it != FIndex.end())
            return it.value();
        const int index = static_cast<int>(FIcons.size());
        FIcons.push_back(icon);
        FIndex.insert(key, index);
        return index;
    }

    QImage IconImage(int Index, int Size) override
    {
        if (Index < 0 || Index >= static_cast<int>(FIcons.size()))
            return {};
        return FIcons[static_cast<size_t>(Index)].pixmap(Size, Size).toImage();
    }

private:
    QFileIconProvider FProvider;
    std::vector<QIcon> FIcons;
    QHash<qint64, int> FIndex;
};

TShellIconProvider *&InstalledProvider()
{
    static TShellIconProvider *p = nullptr;
    return p;
}

TShellIconProvider &Provider()
{
    if (TShellIconProvider *p = InstalledProvider())
        return *p;
    static TDesktopIconProvider desktop;
    return desktop;
}

std::unique_ptr<TCustomImageList> &List(bool Large)
{
    static std::unique_ptr<TCustomImageList> lists[2];
    return lists[Large ? 1 : 0];
}

// Indices are the provider's own, so the list is filled up to the index asked for.
constexpr int MaxIcons = 4096;

void EnsureIcon(bool Large, int Index)
{
    TCustomImageList *list = ShellSystemImageList(Large);
    const int size = Large ? 32 : 16;
    while (list->Count() <= Index) {
        QImage img = Provider().IconImage(list->Count(), size);
        if (img.isNull()) {
            img = QImage(size, size, QImage::Format_ARGB32);
            img.fill(Qt::transparent);
        } else {
            img = img.convertToFormat(QImage::Format_ARGB32).scaled(size, size);
        }
        TBitmap bmp;
        bmp.SetImage(img);
        TBitmap mask(size, size);
        QImage m(size, size, QImage::Format_ARGB32);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                m.setPixel(x, y, qAlpha(img.pixel(x, y)) < 128 ? 0xFFFFFFFF : 0xFF000000);
        mask.SetImage(m);
        list->Add(&bmp, &mask);
    }
}

} // namespace

TCustomImageList *ShellSystemImageList(bool Large)
{
    auto &list = List(Large);
    if (!list)
        list = std::make_unique<TCustomImageList>(Large ? 32 : 16, Large ? 32 : 16);
    return list.get();
}

std::uintptr_t SHGetFileInfoW(const UnicodeString &Path, DWORD FileAttributes, SHFILEINFOW *Info, unsigned Flags)
{
    if (!Info || !(Flags & SHGFI_SYSICONINDEX))
        return 0;
    const bool large = !(Flags & SHGFI_SMALLICON);
    const QString native = NativePath(Path);
    const bool fromFile = !(Flags & SHGFI_USEFILEATTRIBUTES) && QFileInfo::exists(native);
    if (!fromFile && !(Flags & SHGFI_USEFILEATTRIBUTES))
        return 0;
    const int index = Provider().IconIndex(native, fromFile, (FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    if (index < 0 || index >= MaxIcons)
        return 0;
    EnsureIcon(large, index);
    Info->iIcon = index;
    Info->dwAttributes = FileAttributes;
    return reinterpret_cast<std::uintptr_t>(ShellSystemImageList(large));
}

TShellIconProvider *SetShellIconProvider(TShellIconProvider *Provider)
{
    TShellIconProvider *old = InstalledProvider();
    InstalledProvider() = Provider;
    List(false).reset();
    List(true).reset();
    return old;
}
