// Pens, brushes and fonts: the persistent drawing objects of a canvas.
#include "platform/Graphics.h"
#include "platform/GraphicsPrivate.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>

#include <cmath>
#include <mutex>

namespace {

int RoundMulDiv(int a, int b, int c)
{
    const long long n = static_cast<long long>(a) * b;
    const long long r = (n >= 0 ? n + c / 2 : n - c / 2) / c;
    return static_cast<int>(r);
}

} // namespace

void TGraphicsObject::Changed()
{
    if (OnChange)
        OnChange(this);
}

// --- TPen -------------------------------------------------------------------------------------

void TPen::Assign(TPersistent *Source)
{
    if (auto *p = dynamic_cast<TPen *>(Source)) {
        FColor = p->FColor;
        FWidth = p->FWidth;
        FStyle = p->FStyle;
        FMode = p->FMode;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TPen::SetColor(TColor Value)
{
    if (FColor != Value) {
        FColor = Value;
        Changed();
    }
}

void TPen::SetWidth(int Value)
{
    if (Value < 0)
        Value = 0;
    if (FWidth != Value) {
        FWidth = Value;
        Changed();
    }
}

void TPen::SetStyle(TPenStyle Value)
{
    if (FStyle != Value) {
        FStyle = Value;
        Changed();
    }
}

void TPen::SetMode(TPenMode Value)
{
    if (FMode != Value) {
        FMode = Value;
        Changed();
    }
}

// --- TBrush -----------------------------------------------------------------------------------

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::Assign(TPersistent *Source)
{
    if (auto *b = dynamic_cast<TBrush *>(Source)) {
        FColor = b->FColor;
        FStyle = b->FStyle;
        if (b->FBitmap) {
            FBitmap = std::make_unique<TBitmap>();
            FBitmap->Assign(b->FBitmap.get());
        } else {
            FBitmap.reset();
        }
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor Value)
{
    if (FColor == Value && FStyle != TBrushStyle::bsClear)
        return;
    FColor = Value;
    // A colour makes a clear brush solid, as the classic brush does.
    if (FStyle == TBrushStyle::bsClear)
        FStyle = TBrushStyle::bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (FStyle != Value) {
        FStyle = Value;
        Changed();
    }
}

void TBrush::SetBitmap(TBitmap *Value)
{
    if (Value) {
        FBitmap = std::make_unique<TBitmap>();
        FBitmap->Assign(Value);
    } else {
        FBitmap.reset();
    }
    Changed();
}

// --- TFont ------------------------------------------------------------------------------------

TFont::TFont() = default;
TFont::~TFont() = default;

void TFont::Changed()
{
    FFaceValid = false;
    TGraphicsObject::Changed();
}

void TFont::Assign(TPersistent *Source)
{
    if (auto *f = dynamic_cast<TFont *>(Source)) {
        // The Qt font stays when only the colour differs: making it again is costly.
        if (FName == f->FName && FHeight == f->FHeight && FStyle == f->FStyle && FOrientation == f->FOrientation &&
            FCharset == f->FCharset && FPitch == f->FPitch) {
            FColor = f->FColor;
            TGraphicsObject::Changed();
            return;
        }
        FName = f->FName;
        FHeight = f->FHeight;
        FStyle = f->FStyle;
        FColor = f->FColor;
        FOrientation = f->FOrientation;
        FCharset = f->FCharset;
        FPitch = f->FPitch;
        Changed();
        if (f->FFaceValid) {
            if (FFace != f->FFace)
                FOtherFace = std::move(FFace);
            FFace = f->FFace;
            FFaceValid = true;
        }
        return;
    }
    TGraphicsObject::Assign(Source);
}

void SetFontFace(TFont *Font, const UnicodeString &Name, int Height, TFontStyles Style)
{
    TFont f;
    f.Assign(Font);
    f.SetName(Name);
    f.SetHeight(Height);
    f.SetStyle(Style);
    Font->Assign(&f);
}

void TFont::SetName(const UnicodeString &Value)
{
    if (!Value.isEmpty() && FName != Value) {
        FName = Value;
        Changed();
    }
}

int TFont::Size() const
{
    return -RoundMulDiv(FHeight, 72, PixelsPerInch());
}

void TFont::SetSize(int Value)
{
    SetHeight(-RoundMulDiv(Value, PixelsPerInch(), 72));
}

void TFont::SetHeight(int Value)
{
    if (FHeight != Value) {
        FHeight = Value;
        Changed();
    }
}

void TFont::SetStyle(TFontStyles Value)
{
    if (FStyle != Value) {
        FStyle = Value;
        Changed();
    }
}

void TFont::SetColor(TColor Value)
{
    if (FColor != Value) {
        FColor = Value;
        // The colour is not part of the Qt font, which is kept.
        TGraphicsObject::Changed();
    }
}

void TFont::SetOrientation(int Value)
{
    if (FOrientation != Value) {
        FOrientation = Value;
        Changed();
    }
}

void TFont::SetCharset(TFontCharset Value)
{
    if (FCharset != Value) {
        FCharset = Value;
        Changed();
    }
}

void TFont::SetPitch(TFontPitch Value)
{
    if (FPitch != Value) {
        FPitch = Value;
        Changed();
    }
}

UnicodeString MapFontFamily(const UnicodeString &Name, TFontPitch Pitch)
{
    static const char *const FixedNames[] = {"Courier New", "Courier", "Consolas", "Lucida Console",
                                             "Fixedsys", "Terminal", "DejaVu Sans Mono", "Monospace"};
    static const char *const SerifNames[] = {"Times New Roman", "Times", "MS Serif", "Georgia",
                                             "Cambria", "DejaVu Serif", "Serif"};
    if (Pitch == TFontPitch::fpFixed)
        return QStringLiteral("DejaVu Sans Mono");
    for (const char *n : FixedNames)
        if (Name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return QStringLiteral("DejaVu Sans Mono");
    for (const char *n : SerifNames)
        if (Name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return QStringLiteral("DejaVu Serif");
    // Verdana, Tahoma, Arial, MS Sans Serif, Segoe UI and every unknown name.
    return QStringLiteral("DejaVu Sans");
}

namespace {

QFont BaseQFont(const TFont &F)
{
    QFont f(MapFontFamily(F.Name(), F.Pitch()));
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setKerning(false);
    const TFontStyles s = F.Style();
    f.setBold(s.Contains(TFontStyle::fsBold));
    f.setItalic(s.Contains(TFontStyle::fsItalic));
    f.setUnderline(s.Contains(TFontStyle::fsUnderline));
    f.setStrikeOut(s.Contains(TFontStyle::fsStrikeOut));
    return f;
}

} // namespace

namespace {

struct TFaceKey {
    UnicodeString Name;
    int Height;
    TFontStyles Style;
    TFontPitch Pitch;
    bool operator==(const TFaceKey &o) const
    {
        return Height == o.Height && Style == o.Style && Pitch == o.Pitch && Name == o.Name;
    }
};

size_t qHash(const TFaceKey &k, size_t seed = 0)
{
    int style = 0;
    for (int i = 0; i < 4; ++i)
        if (k.Style.Contains(static_cast<TFontStyle>(i)))
            style |= 1 << i;
    return qHashMulti(seed, k.Name, k.Height, style, static_cast<int>(k.Pitch));
}

QFont ResolveQFont(const TFont &F)
{
    QFont f = BaseQFont(F);
    int px = 11;
    if (F.Height() < 0) {
        px = -F.Height();
    } else if (F.Height() > 0) {
        // A positive height is the cell height (ascent + descent): scale the em to fit it.
        QFont probe = f;
        probe.setPixelSize(100);
        const int cell = QFontMetrics(probe).ascent() + QFontMetrics(probe).descent();
        px = cell > 0 ? static_cast<int>(std::lround(F.Height() * 100.0 / cell)) : F.Height();
    }
    f.setPixelSize(px < 1 ? 1 : px);
    return f;
}

} // namespace

const TFontFace &TFont::Face() const
{
    if (FFaceValid)
        return *FFace;
    if (FFace && FFace->Matches(*this)) {
        FFaceValid = true;
        return *FFace;
    }
    if (FOtherFace && FOtherFace->Matches(*this)) {
        std::swap(FFace, FOtherFace);
        FFaceValid = true;
        return *FFace;
    }
    // Faces outlive the table's reset as long as a font holds them; ids are never reused, so a
    // cache keyed on an id of a dropped face can never match a new one.
    static std::mutex lock;
    static auto &faces = *new QHash<TFaceKey, std::shared_ptr<const TFontFace>>;
    static std::uint64_t lastId = 0;
    constexpr qsizetype MaxFaces = 1024;
    const TFaceKey key{FName, FHeight, FStyle, FPitch};
    const std::lock_guard<std::mutex> guard(lock);
    auto it = faces.constFind(key);
    if (it == faces.constEnd()) {
        if (faces.size() >= MaxFaces)
            faces.clear();
        auto face = std::make_shared<TFontFace>();
        face->Name = FName;
        face->Height = FHeight;
        face->Style = FStyle;
        face->Pitch = FPitch;
        face->Font = ResolveQFont(*this);
        const QFontMetrics metrics(face->Font);
        face->Ascent = metrics.ascent();
        face->LineHeight = metrics.height();
        face->Id = ++lastId;
        it = faces.insert(key, std::move(face));
    }
    FOtherFace = std::move(FFace);
    FFace = it.value();
    FFaceValid = true;
    return *FFace;
}

// --- plain glyphs -----------------------------------------------------------------------------

namespace {

constexpr char16_t PlainChars[TPlainGlyphs::Count + 1] = u"0123456789 .,:;-+/%()#";

} // namespace

int TPlainGlyphs::IndexOf(char16_t C)
{
    static const auto table = [] {
        std::array<signed char, 128> t{};
        t.fill(-1);
        for (int i = 0; i < Count; ++i)
            t[PlainChars[i]] = static_cast<signed char>(i);
        return t;
    }();
    return C < 128 ? table[C] : -1;
}

const TPlainGlyphs &TFontFace::PlainGlyphs() const
{
    std::call_once(FPlainOnce, [this] {
        auto g = std::make_unique<TPlainGlyphs>();
        g->Raw = QRawFont::fromFont(Font);
        const QFontMetricsF metrics(Font);
        if (g->Raw.isValid()) {
            for (int i = 0; i < TPlainGlyphs::Count; ++i) {
                const QList<quint32> glyphs = g->Raw.glyphIndexesForString(QString(QChar(PlainChars[i])));
                if (glyphs.size() != 1 || glyphs[0] == 0)
                    continue;
                const QList<QPointF> advances = g->Raw.advancesForGlyphIndexes(glyphs);
                g->Glyph[static_cast<size_t>(i)] = glyphs[0];
                g->Advance[static_cast<size_t>(i)] = advances.value(0).x();
                // A glyph that Qt would measure differently on its own is left to Qt.
                g->Usable[static_cast<size_t>(i)] = advances.size() == 1 &&
                                                    metrics.horizontalAdvance(QString(QChar(PlainChars[i]))) == g->Advance[static_cast<size_t>(i)];
            }
            for (int a = 0; a < TPlainGlyphs::Count; ++a)
                for (int b = 0; b < TPlainGlyphs::Count; ++b) {
                    if (!g->Usable[static_cast<size_t>(a)] || !g->Usable[static_cast<size_t>(b)])
                        continue;
                    const QChar pair[2] = {QChar(PlainChars[a]), QChar(PlainChars[b])};
                    if (metrics.horizontalAdvance(QString(pair, 2)) !=
                        g->Advance[static_cast<size_t>(a)] + g->Advance[static_cast<size_t>(b)])
                        g->Joined[static_cast<size_t>(a * TPlainGlyphs::Count + b)] = true;
                }
        }
        FPlain = std::move(g);
    });
    return *FPlain;
}

bool TFontFace::PlainWidth(QStringView Text, int &Width) const
{
    if (Text.isEmpty())
        return false;
    // Cheap refusal first: most runs hold letters and never build the glyph table.
    for (const QChar c : Text)
        if (TPlainGlyphs::IndexOf(c.unicode()) < 0)
            return false;
    const TPlainGlyphs &g = PlainGlyphs();
    qreal width = 0;
    int previous = -1;
    for (const QChar c : Text) {
        const int i = TPlainGlyphs::IndexOf(c.unicode());
        if (!g.Usable[static_cast<size_t>(i)] || (previous >= 0 && g.Joined[static_cast<size_t>(previous * TPlainGlyphs::Count + i)]))
            return false;
        width += g.Advance[static_cast<size_t>(i)];
        previous = i;
    }
    // Advances are whole 64ths of a pixel, so the sum is exact and rounds as Qt's width does.
    Width = static_cast<int>(std::floor(width + 0.5));
    return true;
}

std::uint64_t TFont::FaceId() const
{
    return Face().Id;
}

QFont TFont::QtFont() const
{
    return Face().Font;
}

void TFont::AssignQFont(const QFont &f)
{
    FName = f.family();
    if (f.pixelSize() > 0)
        FHeight = -f.pixelSize();
    else if (f.pointSizeF() > 0)
        FHeight = -static_cast<int>(std::lround(f.pointSizeF() * 96.0 / 72.0));
    TFontStyles s;
    if (f.bold())
        s << TFontStyle::fsBold;
    if (f.italic())
        s << TFontStyle::fsItalic;
    if (f.underline())
        s << TFontStyle::fsUnderline;
    if (f.strikeOut())
        s << TFontStyle::fsStrikeOut;
    FStyle = s;
    FPitch = f.fixedPitch() ? TFontPitch::fpFixed : TFontPitch::fpDefault;
    Changed();
}
