#pragma once
// The records of the grid's binary cell stream. Each record is one object of the component
// stream: the signature, its class name, an empty object name, its stored properties (nested
// objects with dotted names) and the two list ends. The grid owns a set of these while it saves
// or loads; a record is cleared before each read, so that a property a record leaves out takes
// its default and never the value of the record before.
#include "platform/Classes.h"
#include "platform/Filer.h"

#include <QStringList>

#include <memory>

class TBitmap;
class TCellGraphic;
class TCellProperties;
class TExtStringGrid;
class TFilePicture;
class TIcon;
class TPicture;

// Names of the grid's enumerations as the records write them.
namespace GridIdents {
extern const TIdentTable CellType;
extern const TIdentTable CellHAlign;
extern const TIdentTable CellVAlign;
extern const TIdentTable VAlignment;
extern const TIdentTable Editor;
extern const TIdentTable GradientDirection;
extern const TIdentTable CheckBoxState;
} // namespace GridIdents

// What every record shares: the framing, the reading loop and the error for a property the
// record does not have.
class TGridRecordIO : public TComponent {
public:
    TGridRecordIO(TComponent *AOwner, const char *AClassName);
    const char *RecordClass() const { return FClass; }

protected:
    void BeginWrite(TFilerWriter &W) const;
    static void EndWrite(TFilerWriter &W);
    // Reads the framing and hands every property to Prop (name, value); an unknown name raises.
    template <typename F> void ReadRecord(TFilerReader &R, F Prop);
    // The same, with Prop (name) reading the value itself.
    template <typename F> void ReadRecordBy(TFilerReader &R, F Prop);

private:
    const char *FClass;
    // The framing before the first property as the writer puts it: the signature, the class
    // name and the empty object name.
    QByteArray FHead;
};

class TGridPropIO : public TGridRecordIO {
public:
    explicit TGridPropIO(TComponent *AOwner) : TGridRecordIO(AOwner, "TGridPropIO") {}
    void Clear();
    void Write(TFilerWriter &W) const;
    void Read(TFilerReader &R);

    int ColCount = 0;
    int RowCount = 0;
    UnicodeString ColWidths;
    UnicodeString RowHeights;
    bool FullGrid = false;
    int ID = 0;
};

class TGridCellIO : public TGridRecordIO {
public:
    explicit TGridCellIO(TComponent *AOwner) : TGridRecordIO(AOwner, "TGridCellIO") {}
    void Clear();
    void Write(TFilerWriter &W) const;
    void Read(TFilerReader &R);

    // Indices are written in the smallest integer kind that holds them, so rows past 65535
    // keep their place; the reader takes any integer kind.
    int Col = 0;
    int Row = 0;
    UnicodeString Cell;
    bool HasProp = false;
};

class TGridCellPropIO : public TGridRecordIO {
public:
    TGridCellPropIO(TComponent *AOwner, TExtStringGrid *Grid);
    ~TGridCellPropIO() override;
    void Clear();
    void Write(TFilerWriter &W) const;
    void Read(TFilerReader &R);

    TCellProperties *CellProperties() const { return FCellProperties.get(); }
    bool HasGraphic = false;

private:
    TExtStringGrid *FGrid;
    std::unique_ptr<TCellProperties> FCellProperties;
    // The control's name as written; kept only so that a saved stream reads again.
    UnicodeString FControlName;
};

class TGridGraphicIO : public TGridRecordIO {
public:
    explicit TGridGraphicIO(TComponent *AOwner);
    ~TGridGraphicIO() override;
    void Clear();
    void Write(TFilerWriter &W) const;
    void Read(TFilerReader &R);
    TCellGraphic *CellGraphic() const { return FCellGraphic.get(); }

private:
    std::unique_ptr<TCellGraphic> FCellGraphic;
};

class TGridBMPIO : public TGridRecordIO {
public:
    explicit TGridBMPIO(TComponent *AOwner);
    ~TGridBMPIO() override;
    void Clear();
    void Write(TFilerWriter &W) const;
    void Read(TFilerReader &R);
    TBitmap *Bitmap() const { return FBitmap.get(); }

private:
    std::unique_ptr<TBitmap> FBitmap;
};

class TGridIconIO : public TGridRecordIO {
public:
    explicit TGridIconIO(TComponent *AOwner);
    ~TGridIconIO() override;
    void Clear();
    void Write(TFilerWriter &W) const;
    void Read(TFilerReader &R);
    TIcon *Icon() const { return FIcon.get(); }

private:
    std::unique_ptr<TIcon> FIcon;
};

class TGridPicIO : public TGridRecordIO {
public:
    explicit TGridPicIO(TComponent *AOwner);
    ~TGridPicIO() override;
    void Clear();
    void Write(TFilerWriter &W) const;
    void Read(TFilerReader &R);
    TPicture *Picture() const { return FPicture.get(); }

private:
    std::unique_ptr<TPicture> FPicture;
};

class TGridFilePicIO : public TGridRecordIO {
public:
    explicit TGridFilePicIO(TComponent *AOwner);
    ~TGridFilePicIO() override;
    void Clear();
    void Write(TFilerWriter &W) const;
    void Read(TFilerReader &R);
    TFilePicture *Picture() const { return FPicture.get(); }

private:
    std::unique_ptr<TFilePicture> FPicture;
};

class TGridSLIO : public TGridRecordIO {
public:
    explicit TGridSLIO(TComponent *AOwner) : TGridRecordIO(AOwner, "TGridSLIO") {}
    void Clear() { Strings.clear(); }
    void Write(TFilerWriter &W) const;
    void Read(TFilerReader &R);

    QStringList Strings;
};
