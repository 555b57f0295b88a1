#pragma once
// One input as the rule file of a rule editor, followed by what a user's OK does with it: the
// file is reported at most once when shown; a refused check reports once and writes nothing; a
// passed one writes a file that the next showing reads back as the rows with a key, in order,
// without a message.
#include "FuzzSupport.h"

#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/USettings.h"
#include "editors/frame/URuleEditor.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"

#include <QDir>
#include <QStringList>
#include <utility>
#include <vector>

namespace Fuzz {

// A damaged file, a missing attribute and a refused check are reported in message boxes; here
// every box is answered.
struct TAnswerRuleBoxes : TModalHook {
    int Shown = 0;
    TModalResult Run(TModalRequest &) override
    {
        ++Shown;
        return mrOk;
    }
};

// Makes the editor once per process, as the program does.
template <class TEditor> TEditor *Rule_Editor()
{
    static TEditor *F = nullptr;
    if (!F) {
        NeedApplication();
        if (!SL_Lang_Text)
            Load_Default_Lang();
        if (!SL_Copy_Row)
            Create_Common_Lists();
        F = new TEditor(nullptr);
        F->FormCreate(F);
    }
    return F;
}

// Each grid's rows, each the texts of its cells from column 1 on.
using TRule_Rows = std::vector<std::vector<QStringList>>;
inline TRule_Rows Rule_Rows(TFRuleEditor *F)
{
    TRule_Rows All;
    for (int g = 0; g < F->Grid_Count(); ++g) {
        TExtColumnGrid *G = F->Grid(g);
        std::vector<QStringList> Rows;
        for (int r = 1; r < G->RowCount(); ++r) {
            QStringList Cells;
            for (int c = 1; c < G->ColCount(); ++c)
                Cells << G->Cells(c, r);
            Rows.push_back(Cells);
        }
        All.push_back(Rows);
    }
    return All;
}

// Other files of the configuration the editor reads, each a name and its bytes.
using TConf_Files = std::vector<std::pair<QString, QByteArray>>;

// Numbered_By_Enable: column 0 counts the rows whose Enable is "Y" and is empty on the others,
// instead of holding every row's own number.
inline void Run_Rule_Editor(TFRuleEditor *F, const QString &File_Name, const QByteArray &Input,
                            bool Numbered_By_Enable = false, const TConf_Files &Others = {})
{
    CleanDir();
    const UnicodeString Active = Path_Active_Conf;
    Path_Active_Conf = PathOf(QStringLiteral("conf"));
    QDir().mkpath(Path_Active_Conf);
    Set_Files();
    WriteFile(QStringLiteral("conf/") + File_Name, Input);
    for (const auto &[Name, Bytes] : Others)
        WriteFile(QStringLiteral("conf/") + Name, Bytes);

    TAnswerRuleBoxes Answer;
    {
        TModalHookGuard Guard(&Answer);
        F->FormShow(F);
        Check(Answer.Shown <= 1, "reading the file showed more than one message");
        // A reported read leaves what was read before the fault: a row cut short keeps cells
        // that a whole read would have filled in or replaced, so it need not read back alike.
        const bool Read_Failed = Answer.Shown == 1;
        for (int g = 0; g < F->Grid_Count(); ++g) {
            int Enabled = 0;
            for (int r = 1; r < F->Grid(g)->RowCount(); ++r) {
                QString Number = QString::number(r);
                if (Numbered_By_Enable)
                    Number = UpperCase(F->Grid(g)->Cells(1, r)) == QLatin1String("Y") ? QString::number(++Enabled)
                                                                                       : QString();
                CheckSame(F->Grid(g)->Cells(0, r), Number, "a row lost its number");
            }
        }
        const TRule_Rows Shown = Rule_Rows(F);

        Answer.Shown = 0;
        if (!F->Controllo_dati()) {
            Check(Answer.Shown == 1, "a refused check showed no message or several");
        } else {
            Check(Answer.Shown == 0, "a passed check showed a message");
            F->Btn_OKClick(F);
            Check(F->ModalResult() == mrOk, "a passed check did not close the dialog");
            F->SetModalResult(mrNone);

            F->FormShow(F);
            Check(Answer.Shown == 0, "a file the editor wrote was reported");
            const TRule_Rows Read = Rule_Rows(F);
            for (std::size_t g = 0; g < Read.size(); ++g) {
                const TRule_Grid &D = F->Def().Grids[g];
                std::vector<QStringList> Expected;
                for (const QStringList &Row : Shown[g])
                    if (!Trim(Row[D.Key_Col - 1]).isEmpty())
                        Expected.push_back(Row);
                QStringList Reset;
                for (int c = 1; c < F->Grid(int(g))->ColCount(); ++c)
                    Reset << (c == 1 && D.Has_Enable ? QStringLiteral("Y") : QString());
                while (Expected.size() < Read[g].size())
                    Expected.push_back(Reset);
                for (std::size_t i = 0; i < Expected.size() && !Read_Failed; ++i)
                    CheckSame(Read[g][i].join(QLatin1Char('|')), Expected[i].join(QLatin1Char('|')),
                              "the rules written do not read back the same");
            }
        }
    }
    Path_Active_Conf = Active;
    Set_Files();
}

} // namespace Fuzz
