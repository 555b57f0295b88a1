// Pictures of mini-HTML text: encoded bytes decoded by content, GIF frames played by cutting the
// frames before the current one out of the data, the URL picture cache and the named container.

#include "controls/PictureContainer.h"

#include "controls/MiniHTML.h"
#include "platform/FileUtils.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>

#include <vector>

namespace {

// Files and resources named by markup are pictures; anything far larger is not read.
constexpr qint64 MaxPictureFileSize = 64 * 1024 * 1024;

int MulDivRound(int A, int B, int C)
{
    return static_cast<int>((static_cast<long long>(A) * B + C / 2) / C);
}

std::uint16_t Word16(const QByteArray &D, qsizetype At)
{
    if (At < 0 || At + 1 >= D.size())
        return 0;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(D[At]) | (static_cast<unsigned char>(D[At + 1]) << 8));
}

// Positions of the frame markers (graphic control extension directly followed by an image
// descriptor); Need is how many bytes past the marker must exist for it to count.
std::vector<qsizetype> FrameMarkers(const QByteArray &D, qsizetype Need)
{
    std::vector<qsizetype> r;
    const auto *b = reinterpret_cast<const unsigned char *>(D.constData());
    for (qsizetype p = 0; p + Need < D.size(); ++p)
        if (b[p] == 0x21 && b[p + 1] == 0xF9 && b[p + 2] == 4 && b[p + 8] == 0x2C)
            r.push_back(p);
    return r;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// THTMLPicture

THTMLPicture::THTMLPicture() = default;
THTMLPicture::~THTMLPicture() = default;

void THTMLPicture::ResetFrames()
{
    FFrameCount = -1;
    FNextCount = -1;
    FTimerCount = -1;
    FFrame = 1;
}

void THTMLPicture::Assign(TPersistent *Source)
{
    FIsEmpty = true;
    gpPicture.reset();
    ResetFrames();
    if (!Source) {
        FDatastream.clear();
        return;
    }
    if (auto *p = dynamic_cast<THTMLPicture *>(Source)) {
        LoadBytes(p->FDatastream, true);
        return;
    }
}

void THTMLPicture::LoadBytes(const QByteArray &Data, bool Notify)
{
    FDatastream = Data;
    ResetFrames();
    FIsEmpty = false;
    try {
        LoadPicture();
    } catch (...) {
        FIsEmpty = true;
        gpPicture.reset();
        throw;
    }
    if (Notify)
        Changed();
}

void THTMLPicture::LoadPicture()
{
    gpPicture.reset();
    FHimetricX = FHimetricY = 0;
    FFrameXPos = FFrameYPos = FFrameXSize = FFrameYSize = 0;
    FAnimMaxX = FAnimMaxY = 0;

    QByteArray work;
    const std::vector<qsizetype> markers = IsGIF() ? FrameMarkers(FDatastream, 9) : std::vector<qsizetype>();
    if (!markers.empty()) {
        FAnimMaxX = Word16(FDatastream, 6);
        FAnimMaxY = Word16(FDatastream, 8);
        // The decoder shows the first image of a GIF, so the frames before the current one are
        // left out and the current frame comes first.
        work = FDatastream.left(markers.front());
        const size_t current = FFrame > 0 ? static_cast<size_t>(FFrame - 1) : 0;
        if (current < markers.size()) {
            const qsizetype at = markers[current];
            FFrameXPos = Word16(FDatastream, at + 9);
            FFrameYPos = Word16(FDatastream, at + 11);
            FFrameXSize = Word16(FDatastream, at + 13);
            FFrameYSize = Word16(FDatastream, at + 15);
            work += FDatastream.mid(at);
        }
    } else {
        work = FDatastream;
    }
    if (work.isEmpty())
        throw Exception(QStringLiteral("Empty image stream created"));
    try {
        gpPicture = LoadGraphicFromBytes(work);
    } catch (const Exception &) {
        throw Exception(QStringLiteral("Could not load image. Invalid format"));
    }
    if (!gpPicture)
        throw Exception(QStringLiteral("Could not load image"));
    FHimetricX = MulDivRound(gpPicture->Width(), 2540, 96);
    FHimetricY = MulDivRound(gpPicture->Height(), 2540, 96);
}

void THTMLPicture::Draw(TCanvas *ACanvas, const TRect &R)
{
    if (FIsEmpty || !gpPicture || !ACanvas)
        return;
    if (FStretched) {
        gpPicture->Draw(ACanvas, R);
        return;
    }
    const int w = MulDivRound(FHimetricX, ACanvas->PixelsPerInchX(), 2540);
    const int h = MulDivRound(FHimetricY, ACanvas->PixelsPerInchY(), 2540);
    gpPicture->Draw(ACanvas, TRect(R.Left, R.Top, R.Left + w, R.Top + h));
}

int THTMLPicture::Width() const
{
    return gpPicture ? MulDivRound(FHimetricX, FLogPixX, 2540) : 0;
}

int THTMLPicture::Height() const
{
    return gpPicture ? MulDivRound(FHimetricY, FLogPixY, 2540) : 0;
}

int THTMLPicture::MaxWidth() const
{
    if (!gpPicture)
        return 0;
    return FAnimMaxX ? FAnimMaxX : Width();
}

int THTMLPicture::MaxHeight() const
{
    if (!gpPicture)
        return 0;
    return FAnimMaxY ? FAnimMaxY : Height();
}

QImage THTMLPicture::ToImage() const
{
    return gpPicture ? gpPicture->ToImage() : QImage();
}

void THTMLPicture::LoadFromStream(QIODevice &Stream)
{
    LoadBytes(Stream.readAll(), true);
}

void THTMLPicture::SaveToStream(QIODevice &Stream)
{
    Stream.write(FDatastream);
}

void THTMLPicture::LoadFromFile(const UnicodeString &FileName)
{
    try {
        const QFileInfo info(NativePath(FileName));
        if (!info.isFile() || info.size() > MaxPictureFileSize)
            return;
        LoadBytes(ReadFileBytes(info.filePath()), true);
    } catch (...) {
        FIsEmpty = true;
        gpPicture.reset();
    }
}

void THTMLPicture::ReadData(TStream *Stream)
{
    if (!Stream)
        return;
    const Int64 size = Stream->Size() - Stream->Position();
    if (size <= 0 || size > MaxPictureFileSize)
        return;
    QByteArray data(static_cast<qsizetype>(size), Qt::Uninitialized);
    data.resize(Stream->Read(data.data(), static_cast<int>(size)));
    LoadBytes(data, false);
}

void THTMLPicture::WriteData(TStream *Stream)
{
    if (Stream && !FDatastream.isEmpty())
        Stream->WriteBuffer(FDatastream.constData(), static_cast<int>(FDatastream.size()));
}

void THTMLPicture::LoadFromResourceName(const UnicodeString &ResName)
{
    QByteArray data;
    if (FindResourceData(ResName, data))
        LoadBytes(data, true);
}

void THTMLPicture::LoadFromResourceID(int ResID)
{
    QByteArray data;
    if (!FindResourceData(ResID, data))
        throw EResNotFound(QStringLiteral("Resource %1 not found").arg(ResID));
    LoadBytes(data, true);
}

void THTMLPicture::LoadFromURL(const UnicodeString &URL)
{
    const UnicodeString upper = AsciiUpper(URL);
    if (upper.startsWith(QLatin1String("RES://"))) {
        FID = URL;
        const UnicodeString name = URL.mid(6);
        if (!name.isEmpty())
            LoadFromResourceName(name);
        return;
    }
    if (upper.startsWith(QLatin1String("FILE://"))) {
        FID = URL;
        const UnicodeString path = URL.mid(7);
        if (!path.isEmpty()) {
            const UnicodeString found = FindPathNoCase(path);
            LoadFromFile(found.isEmpty() ? path : found);
        }
        return;
    }
    if (!FAsynch) {
        FURL = URL;
        FID = URL;
        return;
    }
    if (!FThreadBusy) {
        FURL = URL;
        FThreadBusy = true;
    }
}

bool THTMLPicture::IsGIF() const
{
    return FDatastream.size() >= 5 && FDatastream.startsWith("GIF8");
}

int THTMLPicture::FrameCount()
{
    if (FFrameCount != -1)
        return FFrameCount;
    if (!IsGIF())
        return -1;
    FFrameCount = static_cast<int>(FrameMarkers(FDatastream, 9).size());
    return FFrameCount;
}

int THTMLPicture::GetFrameTime(int I)
{
    if (!IsGIF() || I < 1)
        return -1;
    const std::vector<qsizetype> markers = FrameMarkers(FDatastream, 8);
    if (static_cast<size_t>(I) > markers.size())
        return -1;
    return Word16(FDatastream, markers[static_cast<size_t>(I - 1)] + 4);
}

void THTMLPicture::SetFrame(int Value)
{
    FFrame = Value;
    if (!FDatastream.isEmpty()) {
        LoadPicture();
        if (OnFrameChange)
            OnFrameChange(this);
    }
}

void THTMLPicture::FrameNext()
{
    const int count = FrameCount();
    FFrame = FFrame < count ? FFrame + 1 : 1;
}

void THTMLPicture::FramePrev()
{
    const int count = FrameCount();
    FFrame = FFrame > 1 ? FFrame - 1 : (count > 0 ? count : 1);
}

bool THTMLPicture::Step()
{
    if (FIsEmpty || FrameCount() < 2)
        return false;
    if (FNextCount == -1)
        FNextCount = GetFrameTime(FFrame);
    bool result = false;
    if (FTimerCount * 10 >= FNextCount) {
        FrameNext();
        try {
            LoadPicture();
        } catch (const Exception &) {
            // A damaged later frame leaves the picture without an image until a good frame comes.
        }
        FNextCount += GetFrameTime(FFrame);
        result = true;
    }
    ++FTimerCount;
    return result;
}

// ---------------------------------------------------------------------------------------------
// THTMLPictureCache

THTMLPictureCache::~THTMLPictureCache()
{
    ClearPictures();
}

THTMLPicture *THTMLPictureCache::AddPicture()
{
    auto *p = new THTMLPicture();
    Add(p);
    return p;
}

THTMLPicture *THTMLPictureCache::FindPicture(const UnicodeString &ID) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->ID() == ID)
            return Items(i);
    return nullptr;
}

void THTMLPictureCache::ClearPictures()
{
    for (int i = 0; i < Count(); ++i)
        delete Items(i);
    Clear();
}

bool THTMLPictureCache::Animate()
{
    bool any = false;
    for (int i = 0; i < Count(); ++i)
        any = Items(i)->Step() || any;
    return any;
}

// ---------------------------------------------------------------------------------------------
// Collection and container

TPictureItem::TPictureItem(TCollection *Collection) : TCollectionItem(Collection), FPicture(std::make_unique<THTMLPicture>()) {}

TPictureItem::~TPictureItem() = default;

void TPictureItem::Assign(TPersistent *Source)
{
    auto *item = dynamic_cast<TPictureItem *>(Source);
    if (!item)
        throw EInvalidCast(QStringLiteral("Invalid class typecast"));
    FName = item->FName;
    FTag = item->FTag;
    FPicture->Assign(item->FPicture.get());
}

TPictureCollection::TPictureCollection(TComponent *AOwner)
    : TCollection(CollectionItemClass<TPictureItem>()), FOwner(AOwner)
{
}

TPersistent *TPictureCollection::GetOwner()
{
    return FOwner;
}

bool TPictureCollection::Animate()
{
    bool any = false;
    for (int i = 0; i < Count(); ++i)
        any = Items(i)->Picture()->Step() || any;
    return any;
}

TPictureContainer::TPictureContainer(TComponent *AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TPictureCollection>(this))
{
}

TPictureContainer::~TPictureContainer() = default;

THTMLPicture *TPictureContainer::FindPicture(const UnicodeString &Name)
{
    const UnicodeString upper = AsciiUpper(Name);
    for (int i = 0; i < FItems->Count(); ++i)
        if (AsciiUpper(FItems->Items(i)->Name()) == upper)
            return FItems->Items(i)->Picture();
    return nullptr;
}
