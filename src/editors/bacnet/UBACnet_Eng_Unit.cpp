#include "editors/bacnet/UBACnet_Eng_Unit.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"

TFBACnet_Eng_Unit *FBACnet_Eng_Unit = nullptr;

namespace {

TLabel *New_Label(TFBACnet_Eng_Unit *Form, int Left, int Top)
{
    auto *L = new TLabel(Form);
    L->SetParent(Form);
    L->SetLeft(Left);
    L->SetTop(Top);
    return L;
}

TShape *New_Rule(TFBACnet_Eng_Unit *Form, int Top)
{
    auto *S = new TShape(Form);
    S->SetParent(Form);
    S->SetBounds(16, Top, 513, 1);
    return S;
}

TComboBox *New_List(TFBACnet_Eng_Unit *Form, int Top)
{
    auto *C = new TComboBox(Form);
    C->SetParent(Form);
    C->SetBounds(112, Top, 417, 21);
    return C;
}

} // namespace

TFBACnet_Eng_Unit::TFBACnet_Eng_Unit(TComponent *AOwner) : TFConf_Dialog(AOwner)
{
    SetName(QStringLiteral("FBACnet_Eng_Unit"));
    Label1 = New_Label(this, 16, 72);
    E_Selected_EU = new TEdit(this);
    E_Selected_EU->SetParent(this);
    E_Selected_EU->SetBounds(218, 69, 49, 21);
    Label5 = New_Label(this, 273, 72);
    Shape1 = New_Rule(this, 104);
    Label2 = New_Label(this, 16, 117);
    Label3 = New_Label(this, 16, 152);
    CB_Select_Type = New_List(this, 149);
    for (const TEng_Unit_Category &C : Eng_Unit_Categories)
        CB_Select_Type->Items()->Add(QString::fromLatin1(C.Name));
    CB_Select_Type->SetItemIndex(0);
    Label4 = New_Label(this, 16, 184);
    CB_Select_Unit = New_List(this, 181);
    Btn_Select_Eng_Unit = New_Lb_Button(this, 16, 218, 513, 23);
    Shape2 = New_Rule(this, 256);
    Btn_OK->SetModalResult(mrOk);
    Btn_Cancel->SetModalResult(mrCancel);

    CB_Select_Type->OnSelect = [this](TObject *S) { CB_Select_TypeSelect(S); };
    Btn_Select_Eng_Unit->OnClick = [this](TObject *S) { Btn_Select_Eng_UnitClick(S); };
    OnCreate = [this](TObject *S) { FormCreate(S); };
    OnShow = [this](TObject *S) { FormShow(S); };
}

UnicodeString TFBACnet_Eng_Unit::Desc_Unit(int Num_Unit)
{
    if (Num_Unit < 0 || Num_Unit >= Eng_Unit_Count)
        return QStringLiteral("unknown");
    return QString::fromLatin1(Eng_Unit_Names[Num_Unit]);
}

UnicodeString TFBACnet_Eng_Unit::List_Unit(int Num_Unit)
{
    switch (Num_Unit) {
    case 139:
        return QStringLiteral("megajoules-per-square-meter");
    case 140:
        return QStringLiteral("megajoules-per-square-foot");
    case 172:
        return QStringLiteral("ohms-meters");
    default:
        return Desc_Unit(Num_Unit);
    }
}

void TFBACnet_Eng_Unit::FormCreate(TObject *Sender)
{
    L_SW_Code->SetCaption(SW_Code);
    SetClientSize(548, 306);
    Set_Lang();
}

void TFBACnet_Eng_Unit::FormShow(TObject *Sender)
{
    // The category chosen at the last showing stays.
    CB_Select_TypeSelect(Sender);
}

void TFBACnet_Eng_Unit::CB_Select_TypeSelect(TObject *Sender)
{
    CB_Select_Unit->Items()->Clear();
    const int Type = CB_Select_Type->ItemIndex();
    if (Type >= 0 && Type < Eng_Unit_Category_Count) {
        const TEng_Unit_Category &C = Eng_Unit_Categories[Type];
        for (int i = 0; i < C.Count; ++i)
            CB_Select_Unit->Items()->Add(List_Unit(C.Units[i]));
    }
    CB_Select_Unit->SetItemIndex(CB_Select_Unit->Items()->Count() > 0 ? 0 : -1);
}

void TFBACnet_Eng_Unit::Btn_Select_Eng_UnitClick(TObject *Sender)
{
    // Text typed into either list names no unit: the current one stays.
    const int Type = CB_Select_Type->ItemIndex();
    if (Type < 0 || Type >= Eng_Unit_Category_Count)
        return;
    const TEng_Unit_Category &C = Eng_Unit_Categories[Type];
    const int Item = CB_Select_Unit->ItemIndex();
    if (Item < 0 || Item >= C.Count)
        return;
    const int Unit = C.Units[Item];
    E_Selected_EU->SetText(IntToStr(Unit));
    Label5->SetCaption(QStringLiteral("-> ") + Desc_Unit(Unit));
}

void TFBACnet_Eng_Unit::Show_Unit_Name(const UnicodeString &Text)
{
    Label5->SetCaption(QStringLiteral("-> ") + Desc_Unit(StrToIntDef(Text, -1)));
}

void TFBACnet_Eng_Unit::Set_Lang()
{
    SetCaption(Lang_Text(1600));
    L_SW_Desc->SetCaption(Lang_Text(1601));
    Btn_OK->SetCaption(Lang_Text(1602));
    Btn_Cancel->SetCaption(Lang_Text(1603));
    Label1->SetCaption(Lang_Text(1604));
    Label2->SetCaption(Lang_Text(1605));
    Label3->SetCaption(Lang_Text(1606));
    Label4->SetCaption(Lang_Text(1607));
    Btn_Select_Eng_Unit->SetCaption(Lang_Text(1608));
}
