// The configurator's own files as it reads them: the settings file "Fabricor.xml" through
// Read_Setting (then written and read again: the same settings must come back), the
// communication parameters file "ParGen.xml" through its editor as it is shown, and both it and
// the slave access rules file "EtherNetIP_Master_Rules.xml" through the image compiler: the
// image "bin\bank.bin" is either written whole - 2368 bytes with a correct checksum - or not at
// all.
//
// Input: the three files in that order, cut at the "--next-file--" lines; a missing part is a
// missing file.
#include "support/FuzzSupport.h"

#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UParGen.h"
#include "core/USaveBincc.h"
#include "core/USettings.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"

#include <QDir>

namespace {

// The global state this target changes, put back after every input.
struct TSavedState {
    UnicodeString Exe = Path_Exe, Active = Path_Active_Conf, Name = Name_Active_Conf, IP = Last_IP_Address,
                  Language = Language_Name, ParGen = File_ParGen, Rules = File_EtherNetIP_Master_Rules;
    bool Internet = Opt_Internet, Update = Opt_Check_Update, Jump = Opt_Jump_Field, AutoSize = Opt_AutoSize_Col;
    ~TSavedState()
    {
        Path_Exe = Exe;
        Path_Active_Conf = Active;
        Name_Active_Conf = Name;
        Last_IP_Address = IP;
        Language_Name = Language;
        Opt_Internet = Internet;
        Opt_Check_Update = Update;
        Opt_Jump_Field = Jump;
        Opt_AutoSize_Col = AutoSize;
        Set_Files();
        File_ParGen = ParGen;
        File_EtherNetIP_Master_Rules = Rules;
        Image_Len = 0;
    }
};

// A damaged file is reported in a message box; here every box is answered at once.
struct TAnswerAll : TModalHook {
    TModalResult Run(TModalRequest &) override { return mrOk; }
};

QString Settings()
{
    return QStringList({Name_Active_Conf, Last_IP_Address, Language_Name, QString::number(Opt_Internet),
                        QString::number(Opt_Check_Update), QString::number(Opt_Jump_Field), QString::number(Opt_AutoSize_Col)})
        .join(QLatin1Char('|'));
}

void FuzzSettings(const QByteArray &File)
{
    Path_Exe = Fuzz::PathOf(QString());
    if (!File.isEmpty())
        Fuzz::WriteFile(QStringLiteral("Fabricor.xml"), File);
    Read_Setting(nullptr);
    const QString Read = Settings();
    Save_Setting(nullptr);
    Read_Setting(nullptr);
    Fuzz::CheckSame(Settings(), Read, "the settings written do not read back the same");
}

void FuzzParGenEditor()
{
    static TFParGen *Form = nullptr;
    if (!Form) {
        Fuzz::NeedApplication();
        if (!SL_Lang_Text)
            Load_Default_Lang();
        Form = new TFParGen(nullptr);
    }
    TAnswerAll Answer;
    TModalHookGuard Guard(&Answer);
    Form->FormShow(Form);
    for (int k = 0; k < 12; ++k)
        (void)Form->Octet_Edit(k)->Text();
}

void FuzzImage()
{
    const QString Bin = QStringLiteral("conf/bin/bank.bin");
    bool Composed = false;
    try {
        Create_Bin(nullptr);
        Composed = true;
    } catch (const Exception &) {
    }
    bool Written = false;
    try {
        Save_Bin();
        Written = true;
    } catch (const EFCreateError &) {
    }
    Fuzz::Check(Written == Composed, "an image was written without being composed, or a composed one was not written");
    if (!Fuzz::Exists(Bin))
        return;
    Fuzz::Check(Written, "an image file was left although the image failed");
    const QByteArray Image = Fuzz::ReadFile(Bin);
    Fuzz::Check(Image.size() == Par_Bin_Size + Rule_Bin_Count * Rule_Bin_Size, "the image is not 2368 bytes");
    LongWord Sum = 0;
    for (int i = 0; i < 0x7FC; ++i)
        Sum += static_cast<Byte>(Image[i]);
    LongWord Stored = 0;
    for (int i = 0; i < 4; ++i)
        Stored |= static_cast<LongWord>(static_cast<Byte>(Image[0x7FC + i])) << (8 * i);
    Fuzz::Check(Sum == Stored, "the image's checksum is wrong");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    Fuzz::CleanDir();
    const std::vector<QByteArray> Files = Fuzz::Split(Fuzz::Bytes(Data, Size), 3);
    TSavedState Saved;

    FuzzSettings(Files[0]);

    Path_Active_Conf = Fuzz::PathOf(QStringLiteral("conf"));
    QDir().mkpath(Fuzz::PathOf(QStringLiteral("conf/bin")));
    Set_Files();
    if (!Files[1].isEmpty())
        Fuzz::WriteFile(QStringLiteral("conf/ParGen.xml"), Files[1]);
    if (!Files[2].isEmpty())
        Fuzz::WriteFile(QStringLiteral("conf/EtherNetIP_Master_Rules.xml"), Files[2]);
    FuzzParGenEditor();
    FuzzImage();
    return 0;
}
