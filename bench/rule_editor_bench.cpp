// The BACnet object rules editor shown on a large rule file and confirmed, against loading and
// saving the same file with the platform's XML document alone: what the grids, the check and the
// cell reads cost on top of the document.
#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/USettings.h"
#include "editors/bacnet/UBACnetSlaveSetAccess.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/FileUtils.h"
#include "platform/Forms.h"
#include "platform/XMLDoc.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

// Each message box (the object limit's refusal) is answered at once.
struct TAnswerBoxes : TModalHook {
    int Shown = 0;
    TModalResult Run(TModalRequest &) override
    {
        ++Shown;
        return mrOk;
    }
};

QByteArray Rule_File(int Rows)
{
    QByteArray S = "<BACnet_to_Modbus>";
    for (const char *Section : {"BACnet_in_Read", "BACnet_in_Write"}) {
        S += QByteArray("<") + Section + ">";
        for (int i = 0; i < Rows; ++i)
            S += "<row Data_Type=\"Analog Value\" Eng_Unit=\"62\" Position=\"" + QByteArray::number(i % 1546) +
                 "\" Bit=\"\" Length=\"4\" Swap=\"N\" Mnemonic=\"Object_" + QByteArray::number(i) + "\"/>";
        S += QByteArray("</") + Section + ">";
    }
    return S + "</BACnet_to_Modbus><!--SW_VERSION = 1.000-->";
}

// A configuration folder holding the rule file of Rows objects in each list.
struct TConf {
    QTemporaryDir Dir;
    QByteArray Original;
    explicit TConf(int Rows) : Original(Rule_File(Rows))
    {
        Path_Active_Conf = Dir.path();
        Set_Files();
        Restore();
    }
    // A refused OK leaves the file as it is; a confirmed one rewrites it the same.
    void Restore() const
    {
        // The configuration's paths are written the way the device's tools write them.
        QFile F(QString(File_BACnet_Slave_SetAccess).replace(QLatin1Char('\\'), QLatin1Char('/')));
        F.open(QIODevice::WriteOnly | QIODevice::Truncate);
        F.write(Original);
    }
};

void Need_Texts()
{
    if (!SL_Lang_Text)
        Load_Default_Lang();
    if (!SL_Copy_Row)
        Create_Common_Lists();
}

// FormShow, then OK. With 1000 objects in each list the check passes and the file is saved;
// with 2000 in each the object limit refuses it after every row was checked.
void BM_BACnetEditorShowAndOK(benchmark::State &state)
{
    Need_Texts();
    const TConf Conf(int(state.range(0)));
    if (!FileExists(File_BACnet_Slave_SetAccess)) {
        state.SkipWithError("the rule file was not made");
        return;
    }
    auto Form = std::make_unique<TFBACnetSlaveSetAccess>(nullptr);
    Form->FormCreate(Form.get());
    TAnswerBoxes Answer;
    TModalHookGuard Guard(&Answer);
    for (auto _ : state) {
        Form->FormShow(Form.get());
        Form->bitbtn1Click(Form.get());
        Form->SetModalResult(mrNone);
    }
    const bool Refused = state.range(0) > 1000;
    const bool Read = Form->ACG_BACnet_in_Write->Cells(7, 1000) == QStringLiteral("Object_999");
    if (!Read || Answer.Shown != (Refused ? int(state.iterations()) : 0))
        state.SkipWithError("the editor did not read or check the file as expected");
    state.SetItemsProcessed(state.iterations() * 2 * state.range(0));
}
BENCHMARK(BM_BACnetEditorShowAndOK)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

// The same file loaded and saved by the document alone.
void BM_XMLDocumentLoadAndSave(benchmark::State &state)
{
    const TConf Conf(int(state.range(0)));
    const UnicodeString Copy = Conf.Dir.filePath(QStringLiteral("copy.xml"));
    auto Doc = std::make_unique<TXMLDocument>(nullptr);
    for (auto _ : state) {
        Doc->SetActive(true);
        Doc->LoadFromFile(File_BACnet_Slave_SetAccess);
        Doc->SaveToFile(Copy);
    }
    state.SetItemsProcessed(state.iterations() * 2 * state.range(0));
}
BENCHMARK(BM_XMLDocumentLoadAndSave)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace
