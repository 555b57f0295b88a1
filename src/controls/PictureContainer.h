#pragma once
// Pictures that mini-HTML text shows: THTMLPicture keeps the encoded bytes of a picture and
// plays animated GIFs frame by frame; THTMLPictureCache keeps the pictures that markup names by
// URL; TPictureContainer is the component holding named pictures for "IMG" sources without ":".

#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "platform/Messages.h"

#include <QByteArray>

#include <cstdint>
#include <memory>

class THTMLPicture : public TGraphic {
public:
    using TGraphic::LoadFromStream;
    using TGraphic::SaveToStream;
    THTMLPicture();
    ~THTMLPicture() override;

    void Assign(TPersistent *Source) override;
    // Stretched: the whole picture into R; otherwise at R's top-left at its natural size.
    void Draw(TCanvas *ACanvas, const TRect &R) override;
    bool Empty() const override { return FIsEmpty; }
    // Pixels at 96 dpi, from the picture's size in hundredths of a millimetre; 0 when not decoded.
    int Width() const override;
    int Height() const override;
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    QImage ToImage() const override;

    // Decoding errors reach the caller; the picture is then empty.
    void LoadFromStream(QIODevice &Stream) override;
    void SaveToStream(QIODevice &Stream) override;
    // Any error leaves the picture empty. Only regular files of a sane size are read.
    void LoadFromFile(const UnicodeString &FileName) override;
    // The form-resource streaming of the picture: the encoded bytes as they are.
    void ReadData(TStream *Stream);
    void WriteData(TStream *Stream);
    // A raw-data resource of the program by name (nothing when there is none) or by number
    // (EResNotFound when there is none), always from the program's own resources.
    void LoadFromResourceName(const UnicodeString &ResName);
    void LoadFromResourceID(int ResID);
    // "RES://name" and "FILE://path" (any letter case) load at once; other URLs never load.
    void LoadFromURL(const UnicodeString &URL);

    // Frames of an animated GIF, counted from 1.
    int Frame() const { return FFrame; }
    void SetFrame(int Value);
    void FrameNext();
    void FramePrev();
    // One tick of 100 ms of the animation; true when it moved to another frame.
    bool Step();
    // The delay of frame I in hundredths of a second; -1 for none.
    int GetFrameTime(int I);
    int FrameCount();
    bool IsGIF() const;
    int MaxWidth() const;
    int MaxHeight() const;
    int FrameXPos() const { return FFrameXPos; }
    int FrameYPos() const { return FFrameYPos; }

    bool Stretch() const { return FStretched; }
    void SetStretch(bool Value) { FStretched = Value; }
    const UnicodeString &ID() const { return FID; }
    void SetID(const UnicodeString &Value) { FID = Value; }
    bool IsDB() const { return FIsDB; }
    void SetIsDB(bool Value) { FIsDB = Value; }
    bool Asynch() const { return FAsynch; }
    void SetAsynch(bool Value) { FAsynch = Value; }
    // Set once an asynchronous load was asked for; downloads are never made, so it stays set.
    bool Busy() const { return FThreadBusy; }
    const UnicodeString &URL() const { return FURL; }
    // The encoded bytes as loaded.
    const QByteArray &Data() const { return FDatastream; }

    TNotifyEvent OnFrameChange;
    TNotifyEvent OnDownLoadProgress;
    TNotifyEvent OnDownLoadCancel;
    TNotifyEvent OnDownLoadComplete;
    TNotifyEvent OnDownLoadError;

private:
    void LoadBytes(const QByteArray &Data, bool Notify);
    void LoadPicture();
    void ResetFrames();

    QByteArray FDatastream;
    bool FIsEmpty = true;
    bool FStretched = false;
    std::unique_ptr<TGraphic> gpPicture;
    int FHimetricX = 0;
    int FHimetricY = 0;
    int FLogPixX = 96;
    int FLogPixY = 96;
    UnicodeString FURL;
    UnicodeString FID;
    bool FIsDB = false;
    bool FAsynch = true;
    bool FThreadBusy = false;
    int FFrame = 1;
    int FFrameCount = -1;
    std::uint16_t FFrameXPos = 0;
    std::uint16_t FFrameYPos = 0;
    std::uint16_t FFrameXSize = 0;
    std::uint16_t FFrameYSize = 0;
    std::uint16_t FAnimMaxX = 0;
    std::uint16_t FAnimMaxY = 0;
    int FNextCount = -1;
    int FTimerCount = -1;
};

// Pictures found by their ID (exact case); the cache owns them.
class THTMLPictureCache : public TList {
public:
    ~THTMLPictureCache() override;
    THTMLPicture *AddPicture();
    THTMLPicture *FindPicture(const UnicodeString &ID) const;
    void ClearPictures();
    // Steps every picture; true when any moved to another frame.
    bool Animate();
    THTMLPicture *Items(int Index) const { return static_cast<THTMLPicture *>(TList::Items(Index)); }
};

class TPictureItem : public TCollectionItem {
public:
    explicit TPictureItem(TCollection *Collection);
    ~TPictureItem() override;
    // Copies name, tag and picture of another TPictureItem; anything else raises EInvalidCast.
    void Assign(TPersistent *Source) override;

    THTMLPicture *Picture() const { return FPicture.get(); }
    void SetPicture(THTMLPicture *Value) { FPicture->Assign(Value); }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    const UnicodeString &Name() const { return FName; }
    void SetName(const UnicodeString &Value) { FName = Value; }

private:
    std::unique_ptr<THTMLPicture> FPicture;
    int FTag = 0;
    UnicodeString FName;
};

class TPictureCollection : public TCollection {
public:
    explicit TPictureCollection(TComponent *AOwner);
    TPictureItem *Add() { return static_cast<TPictureItem *>(TCollection::Add()); }
    TPictureItem *Insert(int Index) { return static_cast<TPictureItem *>(TCollection::Insert(Index)); }
    TPictureItem *Items(int Index) const { return static_cast<TPictureItem *>(TCollection::Items(Index)); }
    bool Animate();

protected:
    TPersistent *GetOwner() override;

private:
    TComponent *FOwner;
};

class TPictureContainer : public TComponent {
public:
    explicit TPictureContainer(TComponent *AOwner);
    ~TPictureContainer() override;
    // The first picture whose name equals Name without regard to ASCII letter case; nullptr
    // when there is none.
    virtual THTMLPicture *FindPicture(const UnicodeString &Name);
    TPictureCollection *Items() const { return FItems.get(); }
    // Copies the given items; the container keeps its own collection.
    void SetItems(TPictureCollection *Value) { FItems->Assign(Value); }

private:
    std::unique_ptr<TPictureCollection> FItems;
};
