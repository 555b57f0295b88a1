// The mini-HTML reader: the input's text goes through the text routines and is rendered onto a
// bitmap (drawn, measured, hit-tested and searched for a control) with a picture container, a
// picture cache and an image list; the bytes after the separator are loaded as a picture and
// played. Entity coding and control values must read back what was written.
#include "support/FuzzSupport.h"

#include "controls/MiniHTML.h"
#include "controls/PictureContainer.h"
#include "platform/Graphics.h"
#include "platform/ImgList.h"

#include <QImage>

namespace {

bool PlainId(const QString &Id)
{
    if (Id.isEmpty())
        return false;
    for (QChar c : Id)
        if (!c.isLetterOrNumber())
            return false;
    return true;
}

void TextRoutines(const QString &Text)
{
    for (bool accents : {false, true})
        Fuzz::CheckSame(DecodeHtmlEntities(EncodeHtmlEntities(Text, accents), accents), Text, "entities read back");
    StripHtmlTags(Text);
    RemoveTags(Text);
    UnwrapHashTags(Text);
    for (int n = 0; n <= 3; ++n)
        VisibleToRawIndex(Text, n);
    const QString search = RemoveTags(Text).left(2);
    for (bool cs : {false, true}) {
        QString highlighted;
        HighlightMatches(Text, search, QStringLiteral("hi"), cs, highlighted);
        RemoveHighlightTags(highlighted, QStringLiteral("hi"));
    }
    HtmlColorFromHex(Text);
    HtmlColorFromName(Text);
    IntPrefixValue(Text);

    QString id = NextEditControlID(Text, QString());
    for (int i = 0; i < 8 && !id.isEmpty(); ++i)
        id = NextEditControlID(Text, id);
    ResetRadioControls(Text);
    QString type, first, value, width, height, prop, maxlen;
    const qsizetype at = AsciiUpper(Text).indexOf(QLatin1String("<CONTROL "));
    if (at >= 0) {
        const qsizetype gt = Text.indexOf(QLatin1Char('>'), at);
        ParseControlTag(Text.mid(at, gt < 0 ? -1 : gt - at + 1), type, first, value, width, height, prop, maxlen);
        GetControlProp(Text, first);
        GetControlMaxLen(Text, first);
        if (PlainId(first)) {
            const QString written = QString::fromUtf8("a&b \"c\" <d> \xC3\xA9 &amp;");
            QString changed = Text;
            Fuzz::Check(SetControlValue(changed, first, written), "a control found is rewritten");
            QString read;
            Fuzz::Check(GetControlValue(changed, first, read), "the rewritten control is found");
            Fuzz::CheckSame(read, written, "control value reads back");
        }
    }
}

void Render(const QString &Text, TPictureContainer &Pictures, THTMLPictureCache &Cache, TImageList &Images)
{
    static TBitmap *bmp = new TBitmap(160, 80);
    for (int mode = 0; mode < 4; ++mode) {
        THtmlRenderParams p;
        p.Canvas = bmp->Canvas();
        p.Text = Text;
        p.Rect = TRect(0, 0, 160, 80);
        p.Images = &Images;
        p.HitX = 20 + mode * 10;
        p.HitY = 6 + mode * 3;
        p.FocusAnchorIndex = mode - 1;
        p.HoverAnchorIndex = mode;
        p.MeasureOnly = mode == 1;
        p.FindControl = mode == 2;
        p.ControlID = QStringLiteral("a");
        p.WordWrap = mode != 3;
        p.Selected = mode == 3;
        p.BlinkVisible = mode != 0;
        p.HoverOnlyStyle = mode == 2;
        p.HoverBackColor = mode == 0 ? clYellow : clNone;
        p.HoverTextColor = mode == 0 ? clRed : clNone;
        p.PrintMode = mode == 3;
        p.PrintScale = 1.5;
        p.Pictures = &Pictures;
        p.PictureCache = &Cache;
        const TColor pen = bmp->Canvas()->Pen()->Color();
        const TColor brush = bmp->Canvas()->Brush()->Color();
        const int orientation = bmp->Canvas()->Font()->Orientation();
        RenderHtmlText(p);
        Fuzz::Check(bmp->Canvas()->Pen()->Color() == pen && bmp->Canvas()->Brush()->Color() == brush &&
                        bmp->Canvas()->Font()->Orientation() == orientation,
                    "the canvas is as before");
    }
}

void Picture(const QByteArray &Bytes, TPictureContainer &Pictures)
{
    THTMLPicture *pic = Pictures.Items()->Items(0)->Picture();
    try {
        pic->LoadFromBytes(Bytes);
    } catch (const Exception &) {
        return;
    }
    pic->FrameCount();
    pic->GetFrameTime(1);
    pic->GetFrameTime(2);
    for (int i = 0; i < 6; ++i)
        pic->Step();
    try {
        pic->SetFrame(2);
        pic->SetFrame(1);
    } catch (const Exception &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    Fuzz::NeedApplication();
    const std::vector<QByteArray> parts = Fuzz::Split(Fuzz::Bytes(Data, Size), 2);
    const QString text = QString::fromUtf8(parts[0]);

    TextRoutines(text);

    TPictureContainer pictures(nullptr);
    pictures.Items()->Add()->SetName(QStringLiteral("PIC"));
    Picture(parts[1], pictures);
    THTMLPictureCache cache;
    TImageList images(16, 16);
    TBitmap glyph(32, 16);
    images.Add(&glyph, nullptr);
    Render(text, pictures, cache, images);
    return 0;
}
