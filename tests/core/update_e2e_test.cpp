// Steps 1, 2 and 4 of the configurator in a row, headless: a new configuration, its
// communication parameters confirmed as offered, the image compiled and the update program run
// against the device at 127.0.0.1.
#include "EditorsFixture.h"

#include "controls/LbButton.h"
#include "core/UNew_Project.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using GuiTest::TScriptedModalHook;

namespace {

// Echo to loopback needs an ICMP socket this process may open; without one the device is
// played instead, so the test never depends on the machine's network rights.
bool Echo_Possible()
{
    for (int Type : {SOCK_RAW, SOCK_DGRAM}) {
        const int Fd = ::socket(AF_INET, Type | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (Fd >= 0) {
            ::close(Fd);
            QFile Ignore(QStringLiteral("/proc/sys/net/ipv4/icmp_echo_ignore_all"));
            return !(Ignore.open(QIODevice::ReadOnly) && Ignore.readAll().trimmed() == "1");
        }
    }
    return false;
}

LongWord U32At(const QByteArray &Bytes, int Offset)
{
    LongWord V = 0;
    for (int i = 3; i >= 0; --i)
        V = (V << 8) | static_cast<Byte>(Bytes[Offset + i]);
    return V;
}

class UpdateEndToEnd : public TEditorsTest {
protected:
    void SetUp() override
    {
        TEditorsTest::SetUp();
        StartEditors();
        WriteUpdateProgram();
    }

    // Step 2 confirmed with what the editor offers.
    void ConfirmCommunication()
    {
        TScriptedModalHook hook;
        hook.RunWith([&](TModalRequest &) { GuiTest::Click(FParGen->Btn_OK); });
        ClickButton(FFabricoreFirmWare->Btn_Prm_Gen);
        ASSERT_EQ(hook.Shown.size(), 1u);
        EXPECT_EQ(hook.Shown[0].Form, FParGen);
        EXPECT_EQ(FParGen->ModalResult(), mrOk);
    }
};

} // namespace

TEST_F(UpdateEndToEnd, NewConfigurationDefaultParametersImageAndUpdateAgainstLoopback)
{
    TPlayedDevice Device;
    if (!Echo_Possible())
        Device.Attach(FBoot);

    NewConfiguration(QStringLiteral("Line1"));
    ConfirmCommunication();
    ASSERT_TRUE(QFileInfo::exists(ConfPath(QStringLiteral("ParGen.xml"))));

    TScriptedModalHook hook;
    QByteArray Image_When_Shown;
    hook.RunWith([&](TModalRequest &) {
        Image_When_Shown = ReadBytes(QStringLiteral("PROJECTS/Line1/bin/bank.bin"));
        Type(FBoot->E_IP1, QStringLiteral("127"));
        Type(FBoot->E_IP2, QStringLiteral("0"));
        Type(FBoot->E_IP3, QStringLiteral("0"));
        Type(FBoot->E_IP4, QStringLiteral("1"));
        FBoot->CB_Update_Options->SetItemIndex(2);
        GuiTest::Click(FBoot->Btn_Update);
        GuiTest::Click(FBoot->Btn_Cancel);
    });
    ClickButton(FFabricoreFirmWare->Btn_CreateBin);

    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(hook.Shown[0].Form, FBoot);
    ASSERT_EQ(Image_When_Shown.size(), 2368);
    EXPECT_EQ(U32At(Image_When_Shown, 0x7FC), 5357u);
    EXPECT_EQ(UpdateRuns(), 1);
    const QString Parameters = QString::fromUtf8(ReadBytes(QStringLiteral("seen.xml")));
    EXPECT_TRUE(Parameters.contains(QStringLiteral("<IP_Address_Dev>127.0.0.1</IP_Address_Dev>")));
    EXPECT_TRUE(Parameters.contains(QStringLiteral("<Ope_FileName>") + Dir() + QStringLiteral("/PROJECTS/Line1/bin/bank.bin</Ope_FileName>")))
        << Parameters.toStdString();
    EXPECT_EQ(Last_IP_Address, QStringLiteral("127.0.0.1"));
}

TEST_F(UpdateEndToEnd, AnImageThatCannotBeMadeOrWrittenKeepsTheUpdateDialogClosed)
{
    NewConfiguration(QStringLiteral("Line2"));
    const struct {
        const char *Name;
        std::function<void()> Damage;
    } Cases[] = {
        {"parameters not well-formed",
         [&] { WriteBytes(QStringLiteral("PROJECTS/Line2/ParGen.xml"), "<Par_Gen><SERIAL_SERIAL>0</Par_Gen"); }},
        {"no bin folder",
         [&] {
             QFile::remove(ConfPath(QStringLiteral("ParGen.xml")));
             ASSERT_TRUE(QDir(ConfPath(QStringLiteral("bin"))).removeRecursively());
         }},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(C.Name);
        C.Damage();
        TScriptedModalHook hook;
        hook.Answer(mrOk);
        ClickButton(FFabricoreFirmWare->Btn_CreateBin);
        ASSERT_EQ(hook.Shown.size(), 1u);
        EXPECT_EQ(hook.Shown[0].Kind, mkMessage);
        EXPECT_EQ(hook.Shown[0].DlgType, mtError);
        EXPECT_FALSE(QFileInfo::exists(ConfPath(QStringLiteral("bin/bank.bin"))));
    }
    EXPECT_EQ(UpdateRuns(), 0);
}
