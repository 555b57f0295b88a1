#pragma once
// The configurator with its communication parameters and rules editors and update dialog,
// started in a temporary program folder; a configuration can be opened as step 1 leaves it.

#include "helpers/AppFixture.h"

#include "controls/LbButton.h"
#include "core/UBoot.h"
#include "core/UComon.h"
#include "core/UEtherNetIP_Master_Access.h"
#include "core/UFabricoreFirmWare.h"
#include "core/UNew_Project.h"
#include "core/UParGen.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/XMLDoc.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

// A device for the update dialog's check, played without sending anything: the dialog's echo
// request, clock and pause are replaced. A request that the device answers takes 1 ms, one it
// does not answer the client's 400 ms time-out; each pause takes 10 ms.
struct TPlayedDevice {
    // Whether the device answers request number n (from 1).
    std::function<bool(int n)> Answers = [](int) { return true; };
    int Requests = 0;
    DWORD Clock = 1000000;
    DWORD Started = 0;
    QStringList Hosts;
    QStringList Data;

    void Attach(TFBoot *F)
    {
        Started = Clock;
        F->Tick_Count = [this] { return Clock; };
        F->Pause_And_Pump = [this] { Clock += 10; };
        F->Echo_Request = [this, F](const UnicodeString &Text) {
            ++Requests;
            Hosts << F->Ping->Host();
            Data << Text;
            TReplyStatus S;
            if (Answers(Requests)) {
                Clock += 1;
                S.ReplyStatusType = TReplyStatusTypes::rsEcho;
                S.BytesReceived = 8 + static_cast<int>(Text.toUtf8().size());
                S.Data = Text.toUtf8();
            } else {
                Clock += 400;
            }
            F->PingReply(F->Ping, S);
        };
    }
    DWORD Elapsed() const { return Clock - Started; }
};

class TEditorsTest : public TAppTest {
protected:
    void TearDown() override
    {
        delete FBoot;
        FBoot = nullptr;
        delete FEtherNetIP_Master_Access;
        FEtherNetIP_Master_Access = nullptr;
        delete FParGen;
        FParGen = nullptr;
        TAppTest::TearDown();
    }

    // The forms as the program makes them, the two editors included.
    void StartEditors()
    {
        // The update dialog's last option lives for a run only; each test is a fresh run.
        Update_Type = 0;
        StartApp();
        if (!FParGen)
            Application->CreateForm(FParGen);
        if (!FEtherNetIP_Master_Access)
            Application->CreateForm(FEtherNetIP_Master_Access);
        if (!FBoot)
            Application->CreateForm(FBoot);
    }

    // Step 1: a new configuration named Name, as the user makes it.
    void NewConfiguration(const QString &Name)
    {
        GuiTest::TScriptedModalHook hook;
        hook.RunWith([&](TModalRequest &) {
            Type(FNew_Project->E_New_Proj, Name);
            GuiTest::Click(FNew_Project->Btn_OK);
        });
        ClickButton(FFabricoreFirmWare->Btn_New);
        ASSERT_EQ(hook.Shown.size(), 1u);
        ASSERT_FALSE(Path_Active_Conf.isEmpty());
    }

    // Shows an editor; Body runs inside its modal loop and must close it. Boxes_On_Show
    // message boxes that come while the editor loads are answered with OK. The texts of the
    // message boxes shown meanwhile are collected in Messages.
    TModalResult ShowDialog(TForm *Form, const std::function<void(GuiTest::TScriptedModalHook &)> &Body,
                            int Boxes_On_Show = 0)
    {
        return GuiTest::ShowScripted(Form, Body, Boxes_On_Show, Messages);
    }
    static QStringList Message_Texts(const GuiTest::TScriptedModalHook &hook) { return GuiTest::MessageTexts(hook); }
    QStringList Messages;

    // A configuration folder with its "bin", open as after step 1.
    void OpenConf(const QString &Name)
    {
        ASSERT_TRUE(QDir().mkpath(ProjectsDir() + QStringLiteral("/") + Name + QStringLiteral("/bin")));
        Name_Active_Conf = Name;
        Path_Active_Conf = Path_Projects + QStringLiteral("\\") + Name;
        FFabricoreFirmWare->Set_Files();
    }

    QString ConfPath(const QString &File) const
    {
        return ProjectsDir() + QStringLiteral("/") + Name_Active_Conf + QStringLiteral("/") + File;
    }

    // A stand-in update program beside the executable: each run adds a line to "runs.log" and
    // keeps the parameter file it found as "seen.xml".
    void WriteUpdateProgram(const QByteArray &Extra = QByteArray())
    {
        WriteBytes(QStringLiteral("Ethernet_Update.exe"),
                   "#!/bin/sh\n"
                   "dir=$(dirname \"$0\")\n"
                   "echo run >> \"$dir/runs.log\"\n"
                   "if [ -f \"$dir/Ethernet_Update.xml\" ]; then cp \"$dir/Ethernet_Update.xml\" \"$dir/seen.xml\"; fi\n"
                       + Extra);
        QFile::setPermissions(PathOf(QStringLiteral("Ethernet_Update.exe")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    int UpdateRuns() const { return ReadBytes(QStringLiteral("runs.log")).count("run\n"); }

    // Types Text into an emptied edit, key by key.
    static void Type(TEdit *Edit, const QString &Text)
    {
        Edit->SetText(QString());
        GuiTest::TypeText(Edit, Text);
    }

    // The element children of the root of an XML file as (name, text) pairs, and the names of
    // the nodes at document level ("#comment" for a comment).
    struct TXmlShape {
        QStringList TopLevel;
        QString Comment;
        TXMLNode Root;
    };
    static TXmlShape ShapeOf(TXMLDocument &Doc, const QString &Path)
    {
        Doc.LoadFromFile(Path);
        TXmlShape S;
        for (int i = 0; i < Doc.ChildNodes().Count(); ++i) {
            const TXMLNode N = Doc.ChildNodes().Nodes(i);
            S.TopLevel << N.NodeName();
            if (N.NodeType() == ntComment)
                S.Comment = N.NodeValue();
            if (N.NodeType() == ntElement && !S.Root)
                S.Root = N;
        }
        return S;
    }
    static std::vector<std::pair<QString, QString>> Children(const TXMLNode &Node)
    {
        std::vector<std::pair<QString, QString>> All;
        for (int i = 0; i < Node.ChildNodes().Count(); ++i) {
            const TXMLNode C = Node.ChildNodes().Nodes(i);
            All.emplace_back(C.NodeName(), C.HasChildNodes() && !C.IsTextElement() ? QStringLiteral("<...>") : C.Text());
        }
        return All;
    }
};
