#include "editors/gsdml/UProfinetFileName.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"

#include <algorithm>

TFProfinetFileName *FProfinetFileName = nullptr;

bool Is_File_Name_Char(QChar C)
{
    if (C.category() == QChar::Other_Control)
        return false;
    return !QStringLiteral("\\/:*?\"<>|").contains(C);
}

TFProfinetFileName::TFProfinetFileName(TComponent *AOwner) : TFConf_Dialog(AOwner)
{
    SetName(QStringLiteral("FProfinetFileName"));
    Label1 = New_Label(this, 70, 16);
    Label2 = New_Label(this, 107, 16);
    L_XML_Fix1 = New_Label(this, 126, 16);
    Label4 = New_Label(this, 107, 179);
    E_XML_User = new TEdit(this);
    E_XML_User->SetParent(this);
    E_XML_User->SetBounds(179, 123, 267, 21);
    E_XML_User->SetShowHint(true);
    E_XML_User->OnKeyPress = [this](TObject *S, WideChar &Key) { E_XML_UserKeyPress(S, Key); };
    E_XML_User->OnChange = [this](TObject *S) { E_XML_UserChange(S); };
    Label5 = New_Label(this, 107, 447);
    L_XML_Fix2 = New_Label(this, 126, 447);
    Btn_OK->OnClick = [this](TObject *S) { Btn_OKClick(S); };
    OnCreate = [this](TObject *S) { FormCreate(S); };
}

void TFProfinetFileName::FormCreate(TObject *Sender)
{
    L_SW_Code->SetCaption(SW_Code);
    SetClientSize(540, 205);
    L_XML_Fix1->SetCaption(QStringLiteral("GSDML-V2.31-Veltra-DV40368"));
    Word Year, Month, Day;
    DecodeDate(Date(), Year, Month, Day);
    L_XML_Fix2->SetCaption(QStringLiteral("-%1%2%3.xml")
                               .arg(Year, 4, 10, QLatin1Char('0'))
                               .arg(Month, 2, 10, QLatin1Char('0'))
                               .arg(Day, 2, 10, QLatin1Char('0')));
    Set_Lang();
}

void TFProfinetFileName::E_XML_UserKeyPress(TObject *Sender, WideChar &Key)
{
    // Backspace and the other editing keys arrive as control characters too.
    if (Key >= 32 && !Is_File_Name_Char(QChar(Key)))
        Key = 0;
}

void TFProfinetFileName::E_XML_UserChange(TObject *Sender)
{
    // What is pasted or set in code does not pass the key filter.
    const UnicodeString Text = E_XML_User->Text();
    UnicodeString Clean;
    for (QChar C : Text)
        if (Is_File_Name_Char(C))
            Clean += C;
    if (Clean != Text) {
        const int Caret = E_XML_User->SelStart() - static_cast<int>(Text.size() - Clean.size());
        E_XML_User->SetText(Clean);
        E_XML_User->SetSelStart(std::max(0, Caret));
    }
}

void TFProfinetFileName::Btn_OKClick(TObject *Sender)
{
    const UnicodeString User = E_XML_User->Text();
    if (Trim(User).isEmpty())
        Name_File_XML = L_XML_Fix1->Caption() + L_XML_Fix2->Caption();
    else if (User.startsWith(u'_'))
        Name_File_XML = L_XML_Fix1->Caption() + User + L_XML_Fix2->Caption();
    else
        Name_File_XML = L_XML_Fix1->Caption() + QLatin1Char('_') + User + L_XML_Fix2->Caption();
    SetModalResult(mrOk);
}

void TFProfinetFileName::Set_Lang()
{
    SetCaption(Lang_Text(900));
    L_SW_Desc->SetCaption(Lang_Text(901));
    Btn_OK->SetCaption(Lang_Text(902));
    Btn_Cancel->SetCaption(Lang_Text(903));
    Label1->SetCaption(Lang_Text(904));
    Label2->SetCaption(Lang_Text(905));
    Label4->SetCaption(Lang_Text(906));
    Label5->SetCaption(Lang_Text(907));
    E_XML_User->SetHint(Lang_Text(908));
    Btn_OK->SetHint(Lang_Text(909));
    Btn_Cancel->SetHint(Lang_Text(910));
}
