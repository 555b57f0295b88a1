// The slave access rules file "EtherNetIP_Master_Rules.xml" as its editor reads it when shown,
// followed by what a user's OK does with it: when the rules pass the check, the file written
// reads back as the same rules (the rows with an address, in order) and the image compiled from
// it holds exactly the enabled rules with the values that were checked.
#include "support/FuzzSupport.h"

#include "core/UComon.h"
#include "core/UEtherNetIP_Master_Access.h"
#include "core/ULanguage.h"
#include "core/USaveBincc.h"
#include "core/USettings.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"

#include <QDir>

namespace {

struct TSavedState {
    UnicodeString Active = Path_Active_Conf, ParGen = File_ParGen, Rules = File_EtherNetIP_Master_Rules;
    ~TSavedState()
    {
        Path_Active_Conf = Active;
        File_ParGen = ParGen;
        File_EtherNetIP_Master_Rules = Rules;
        Image_Len = 0;
    }
};

// A damaged file and a refused check are reported in message boxes; here every box is answered.
struct TAnswerAll : TModalHook {
    int Shown = 0;
    TModalResult Run(TModalRequest &) override
    {
        ++Shown;
        return mrOk;
    }
};

TFEtherNetIP_Master_Access *Form()
{
    static TFEtherNetIP_Master_Access *F = nullptr;
    if (!F) {
        Fuzz::NeedApplication();
        if (!SL_Lang_Text)
            Load_Default_Lang();
        F = new TFEtherNetIP_Master_Access(nullptr);
        F->FormCreate(F);
    }
    return F;
}

// Columns 1 to 12 of rows 1 to 10.
std::vector<QStringList> Rows(TExtColumnGrid *G)
{
    std::vector<QStringList> All;
    for (int r = 1; r <= 10; ++r) {
        QStringList Texts;
        for (int c = 1; c <= 12; ++c)
            Texts << G->Cells(c, r);
        All.push_back(Texts);
    }
    return All;
}

int Num(const QString &Text)
{
    return StrToIntDef(Text, -1);
}

LongWord Block_U32(int Offset)
{
    LongWord V = 0;
    for (int i = 3; i >= 0; --i)
        V = (V << 8) | Par_Bin[Offset + i];
    return V;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    Fuzz::CleanDir();
    TSavedState Saved;
    Path_Active_Conf = Fuzz::PathOf(QStringLiteral("conf"));
    QDir().mkpath(Fuzz::PathOf(QStringLiteral("conf/bin")));
    Set_Files();
    Fuzz::WriteFile(QStringLiteral("conf/EtherNetIP_Master_Rules.xml"), Fuzz::Bytes(Data, Size));

    TFEtherNetIP_Master_Access *F = Form();
    TExtColumnGrid *G = F->ACG;
    TAnswerAll Answer;
    TModalHookGuard Guard(&Answer);
    F->FormShow(F);
    Fuzz::Check(Answer.Shown <= 1, "reading the file showed more than one message");
    Fuzz::Check(G->RowCount() == 11 && G->ColCount() == 13, "the grid lost its shape");
    for (int r = 1; r <= 10; ++r)
        Fuzz::CheckSame(G->Cells(0, r), QString::number(r), "a row lost its number");
    const std::vector<QStringList> Shown = Rows(G);

    Answer.Shown = 0;
    if (!F->Controllo_dati()) {
        Fuzz::Check(Answer.Shown == 1, "a refused check showed no message or several");
        return 0;
    }
    Fuzz::Check(Answer.Shown == 0, "a passed check showed a message");
    F->Btn_OKClick(F);
    Fuzz::Check(F->ModalResult() == mrOk, "a passed check did not close the dialog");
    F->SetModalResult(mrNone);

    // The rows with an address come back in order, the others as reset rows.
    std::vector<QStringList> Expected;
    for (const QStringList &Row : Shown)
        if (!Trim(Row[1]).isEmpty())
            Expected.push_back(Row);
    QStringList Reset{QStringLiteral("Y")};
    for (int k = 1; k < 12; ++k)
        Reset << QString();
    while (Expected.size() < 10)
        Expected.push_back(Reset);
    F->FormShow(F);
    const std::vector<QStringList> Read = Rows(G);
    for (int r = 0; r < 10; ++r)
        Fuzz::CheckSame(Read[r].join(QLatin1Char('|')), Expected[r].join(QLatin1Char('|')),
                        "the rules written do not read back the same");

    // The image takes the enabled rules as they were checked.
    Create_Bin(nullptr);
    LongWord Count = 0, In = 0, Out = 0;
    for (const QStringList &Row : Expected) {
        if (UpperCase(Trim(Row[0])) != QLatin1String("Y") || Trim(Row[1]).isEmpty())
            continue;
        Fuzz::Check(Count < Rule_Bin_Count, "more enabled rules than records");
        const TRule_Bin &R = Rules_Bin[Count];
        UnicodeString IP[4];
        Fuzz::Check(Check_IP_Address(Row[1], IP[0], IP[1], IP[2], IP[3]), "an unchecked address was compiled");
        for (int k = 0; k < 4; ++k)
            Fuzz::Check(R.IP[k] == Num(IP[k]), "a record's address differs from the checked one");
        const int Values[] = {R.Start_Input, R.Num_Input, R.Start_Output, R.Num_Output, int(R.Time_Poll),
                              R.Instance_T_O, R.Connection_Point_T_O, R.Instance_O_T, R.Connection_Point_O_T};
        for (int k = 0; k < 9; ++k)
            Fuzz::Check(Values[k] == Num(Row[2 + k]), "a record differs from the checked rule");
        In += LongWord(Num(Row[3]));
        Out += LongWord(Num(Row[5]));
        ++Count;
    }
    Fuzz::Check(Count == Block_U32(0x278), "the rule count differs from the enabled rules");
    Fuzz::Check(In == Block_U32(0x074) && Out == Block_U32(0x078), "the totals differ from the enabled rules");
    Fuzz::Check(In <= 1438 && Out <= 1438, "a total passed the check above its limit");
    return 0;
}
