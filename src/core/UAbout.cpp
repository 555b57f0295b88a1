#include "core/UAbout.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "core/USoftOptions.h"
#include "platform/ExtCtrls.h"
#include "platform/Graphics.h"
#include "platform/ShellApi.h"
#include "platform/StdCtrls.h"
#include "platform/WebService.h"

TFAbout *FAbout = nullptr;

TFAbout::TFAbout(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("FAbout"));
    Style_Form(this);
    SetCaption(QStringLiteral("About..."));

    Image2 = new TImage(this);
    Image2->SetParent(this);
    Image2->SetBounds(32, 24, 81, 81);
    Image2->SetStretch(true);
    Image2->SetCursor(crHandPoint);
    try {
        auto Logo = std::make_unique<TBitmap>();
        Load_Configurator_Bitmap(Logo.get(), QStringLiteral("ABOUT_LOGO"));
        Image2->Picture()->Assign(Logo.get());
    } catch (const Exception &) {
        // Without its picture the box still tells everything it must.
    }
    Image2->OnClick = [this](TObject *S) { Label4Click(S); };

    auto label = [this](int Top, int Left, const char *Text) {
        TLabel *L = New_Label(this, Top, Left);
        L->SetCaption(QString::fromUtf8(Text));
        return L;
    };
    Label1 = label(24, 128, "Software Fabricor ");
    Label1->SetParentFont(false);
    SetFontFace(Label1->Font(), QStringLiteral("Verdana"), -13, TFontStyles{TFontStyle::fsBold});
    Label2 = label(39, 128, "");
    Label6 = label(62, 128, "Software Code : ");
    Label9 = label(62, 240, "");
    Label3 = label(77, 128, "Version :");
    Label10 = label(77, 240, "");
    Label8 = label(93, 128, "Document Code :");
    Label12 = label(93, 240, "");
    Label4 = label(131, 316, "");
    Label4->SetCaption(WebServiceHost());
    Label4->SetParentFont(false);
    SetFontFace(Label4->Font(), QStringLiteral("Verdana"), -11, TFontStyles{TFontStyle::fsUnderline});
    Label4->Font()->SetColor(clBlue);
    Label4->SetCursor(crHandPoint);
    Label4->OnClick = [this](TObject *S) { Label4Click(S); };

    LbButton1 = New_Lb_Button(this, 32, 115, 81, 25);
    LbButton1->SetCaption(QStringLiteral("OK"));
    LbButton1->SetModalResult(mrOk);
    Set_Lb_Glyph(LbButton1, QStringLiteral("LBOK"), 2);

    OnShow = [this](TObject *S) { FormShow(S); };
}

void TFAbout::FormShow(TObject *Sender)
{
    Keep_Inside(Label4, 425 - 8);
    Label2->SetCaption(Const_SW_Desc);
    Label9->SetCaption(QStringLiteral("CF40385"));
    Label10->SetCaption(Const_SW_Version);
    Label12->SetCaption(QStringLiteral("UM40385"));
    SetClientSize(425, 148);
}

void TFAbout::Label4Click(TObject *Sender)
{
    ShellOpenWebLink(WebHomePageURL(QStringLiteral("CF40385")));
}
