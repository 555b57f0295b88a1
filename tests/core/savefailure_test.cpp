// The program's own files on a full disk and with a pipe or a link in their place: the old
// bytes stay, the user is told which file and why, and nothing waits or reads without end.
#include "EditorsFixture.h"

#include "controls/LbButton.h"
#include "core/UNew_Project.h"
#include "platform/FileUtils.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using GuiTest::TScriptedModalHook;
using GuiTest::TShownModal;

namespace {

// A disk that takes Capacity bytes in all and then refuses with ENOSPC.
TFileWriteHooks DiskWithRoomFor(Int64 Capacity)
{
    auto Used = std::make_shared<Int64>(0);
    TFileWriteHooks H;
    H.Write = [Used, Capacity](int Fd, const char *Buf, Int64 Count) -> Int64 {
        const Int64 Room = Capacity - *Used;
        if (Room <= 0) {
            errno = ENOSPC;
            return -1;
        }
        const Int64 N = ::write(Fd, Buf, static_cast<size_t>(std::min(Room, Count)));
        if (N > 0)
            *Used += N;
        return N;
    };
    return H;
}

class SaveFailure : public TEditorsTest {
protected:
    void SetUp() override
    {
        TEditorsTest::SetUp();
        WriteUpdateProgram();
    }
    void TearDown() override
    {
        SetFileWriteHooks({});
        TEditorsTest::TearDown();
    }

    static bool IsFifo(const QString &Path)
    {
        struct stat St;
        return ::stat(QFile::encodeName(Path).constData(), &St) == 0 && S_ISFIFO(St.st_mode);
    }
};

} // namespace

TEST_F(SaveFailure, AFullDiskKeepsTheOldFileOfEachStepAndNamesItInTheMessage)
{
    const QByteArray Old_Settings = "<Conf_Settings><lastproj><projectname>Plant</projectname></lastproj></Conf_Settings>";
    const QByteArray Old_Parameters = "<Par_Gen/>";
    const QByteArray Old_Image(2368, '\x5A');
    StartEditors();
    OpenConf(QStringLiteral("Plant"));
    const struct {
        const char *Name;
        QString File;
        QByteArray Old;
        std::function<void(TScriptedModalHook &)> Act;
    } Cases[] = {
        {"closing the program writes the settings", QStringLiteral("Fabricor.xml"), Old_Settings,
         [&](TScriptedModalHook &Hook) {
             Hook.Answer(mrOk);
             TCloseAction Action = caFree;
             FFabricoreFirmWare->FormClose(FFabricoreFirmWare, Action);
         }},
        {"OK in step 2 writes the parameters", QStringLiteral("PROJECTS/Plant/ParGen.xml"), Old_Parameters,
         [&](TScriptedModalHook &Hook) {
             Hook.RunWith([&](TModalRequest &) {
                     GuiTest::Click(FParGen->Btn_OK);
                     EXPECT_EQ(FParGen->ModalResult(), mrNone) << "the dialog stays open";
                     GuiTest::Click(FParGen->Btn_Cancel);
                 })
                 .Answer(mrOk);
             ClickButton(FFabricoreFirmWare->Btn_Prm_Gen);
         }},
        {"step 4 writes the image", QStringLiteral("PROJECTS/Plant/bin/bank.bin"), Old_Image,
         [&](TScriptedModalHook &Hook) {
             Hook.Answer(mrOk);
             ClickButton(FFabricoreFirmWare->Btn_CreateBin);
         }},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(C.Name);
        WriteBytes(C.File, C.Old);
        TScriptedModalHook Hook;
        SetFileWriteHooks(DiskWithRoomFor(16));
        C.Act(Hook);
        SetFileWriteHooks({});
        EXPECT_EQ(ReadBytes(C.File), C.Old);
        std::vector<TShownModal> Messages;
        for (const TShownModal &S : Hook.Shown)
            if (S.Kind == mkMessage)
                Messages.push_back(S);
        ASSERT_EQ(Messages.size(), 1u);
        EXPECT_EQ(Messages[0].DlgType, mtError);
        EXPECT_TRUE(Messages[0].Text.contains(PathOf(C.File))) << Messages[0].Text.toStdString();
        EXPECT_TRUE(Messages[0].Text.contains(QString::fromLocal8Bit(std::strerror(ENOSPC)))) << Messages[0].Text.toStdString();
        for (const TShownModal &S : Hook.Shown)
            EXPECT_NE(S.Form, FBoot) << "no update dialog for an image that was not written";
        EXPECT_EQ(QDir(QFileInfo(PathOf(C.File)).path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".tmp")), QStringList());
    }
    EXPECT_EQ(UpdateRuns(), 0);
}

TEST_F(SaveFailure, APipeOrALinkToOneInPlaceOfAFileIsReportedAndLeftAsItIs)
{
    // The settings file a pipe: read as a missing one at start, refused at close.
    const QString Settings = PathOf(QStringLiteral("Fabricor.xml"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(Settings).constData(), 0600), 0);
    StartEditors();
    EXPECT_EQ(Last_IP_Address, Default_IP_Address);
    {
        TScriptedModalHook Hook;
        Hook.Answer(mrOk);
        TCloseAction Action = caFree;
        FFabricoreFirmWare->FormClose(FFabricoreFirmWare, Action);
        ASSERT_EQ(Hook.Shown.size(), 1u);
        EXPECT_TRUE(Hook.Shown[0].Text.contains(Settings)) << Hook.Shown[0].Text.toStdString();
    }
    EXPECT_TRUE(IsFifo(Settings));

    // The parameter file a link to a pipe: step 2 reports it once and offers the defaults,
    // and its OK does not replace the pipe.
    OpenConf(QStringLiteral("Plant"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(PathOf(QStringLiteral("pipe"))).constData(), 0600), 0);
    ASSERT_EQ(::symlink(QFile::encodeName(PathOf(QStringLiteral("pipe"))).constData(),
                        QFile::encodeName(ConfPath(QStringLiteral("ParGen.xml"))).constData()),
              0);
    TScriptedModalHook Hook;
    Hook.RunWith([&](TModalRequest &) {
            EXPECT_EQ(FParGen->E_EtherNetIP_Master_IP1->Text(), QStringLiteral("192"));
            GuiTest::Click(FParGen->Btn_OK);
            GuiTest::Click(FParGen->Btn_Cancel);
        })
        .Answer(mrOk)  // the file that cannot be read, as the dialog shows
        .Answer(mrOk); // the file that cannot be written
    ClickButton(FFabricoreFirmWare->Btn_Prm_Gen);
    ASSERT_EQ(Hook.Shown.size(), 3u);
    EXPECT_EQ(Hook.Shown[0].Form, FParGen);
    for (int i : {1, 2}) {
        EXPECT_EQ(Hook.Shown[i].DlgType, mtError);
        EXPECT_TRUE(Hook.Shown[i].Text.contains(ConfPath(QStringLiteral("ParGen.xml")))) << Hook.Shown[i].Text.toStdString();
    }
    EXPECT_TRUE(IsFifo(ConfPath(QStringLiteral("ParGen.xml"))));
    EXPECT_TRUE(QFileInfo(ConfPath(QStringLiteral("ParGen.xml"))).isSymLink());
}

TEST_F(SaveFailure, AProgramFolderWhoseNameHoldsBackslashesKeepsEveryFileInside)
{
    // Mapped as a whole, "inner/a\..\..\x" would name "x" beside "inner".
    ASSERT_TRUE(QDir().mkpath(PathOf(QStringLiteral("outer/inner/a"))));
    const QString Real = PathOf(QStringLiteral("outer/inner/a\\..\\..\\x"));
    ASSERT_TRUE(QDir().mkdir(Real));
    SetProgramFolder(Real);
    StartEditors();
    {
        TScriptedModalHook Hook;
        Hook.RunWith([&](TModalRequest &) {
            Type(FNew_Project->E_New_Proj, QStringLiteral("Plant"));
            GuiTest::Click(FNew_Project->Btn_OK);
        });
        ClickButton(FFabricoreFirmWare->Btn_New);
    }
    {
        TScriptedModalHook Hook;
        Hook.RunWith([&](TModalRequest &) { GuiTest::Click(FParGen->Btn_OK); });
        ClickButton(FFabricoreFirmWare->Btn_Prm_Gen);
    }
    TCloseAction Action = caFree;
    FFabricoreFirmWare->FormClose(FFabricoreFirmWare, Action);

    EXPECT_TRUE(QFileInfo::exists(Real + QStringLiteral("/PROJECTS/Plant/ParGen.xml")));
    EXPECT_TRUE(QFileInfo::exists(Real + QStringLiteral("/Fabricor.xml")));
    EXPECT_EQ(QDir(PathOf(QStringLiteral("outer"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("inner")});
    EXPECT_TRUE(QDir(PathOf(QStringLiteral("outer/inner/a"))).isEmpty());
}
