#include "WritersFixture.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "editors/UProtocol_Steps.h"
#include "editors/gsdml/UProfinetFileName.h"
#include "platform/FileUtils.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"

#include <QDir>
#include <QFile>
#include <QProcess>

void TWritersTest::SetUp()
{
    SetProgramFolder(Dir());
    Application->Initialize();
    Application->CreateForm(FFabricoreFirmWare);
    Application->CreateForm(FProfinetFileName);
    Register_Protocol_Steps();
    OpenConf(QStringLiteral("conf"));
}

void TWritersTest::TearDown()
{
    SetClock(nullptr);
    Protocol_Steps = TProtocol_Steps();
    delete FProfinetFileName;
    FProfinetFileName = nullptr;
    delete FFabricoreFirmWare;
    FFabricoreFirmWare = nullptr;
    Path_Active_Conf.clear();
    Name_Active_Conf.clear();
    SetProgramFolder(QString());
}

void TWritersTest::OpenConf(const QString &Name)
{
    ASSERT_TRUE(QDir().mkpath(PathOf(QStringLiteral("PROJECTS/") + Name)));
    Name_Active_Conf = Name;
    Path_Active_Conf = Path_Projects + QStringLiteral("\\") + Name;
    FFabricoreFirmWare->Set_Files();
}

void TWritersTest::CloseConf()
{
    Path_Active_Conf.clear();
    FFabricoreFirmWare->Set_Files();
}

QString TWritersTest::ConfPath(const QString &File) const
{
    return PathOf(QStringLiteral("PROJECTS/") + Name_Active_Conf + QStringLiteral("/") + File);
}

void TWritersTest::WriteConf(const QString &File, const QByteArray &Bytes) const
{
    QFile f(ConfPath(File));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(Bytes), Bytes.size());
}

QByteArray TWritersTest::ReadConf(const QString &File) const
{
    return Read_File(ConfPath(File));
}

void TWritersTest::SetFixedClock(int Year, int Month, int Day, int Hour, int Min, int Sec)
{
    const TDateTime T = EncodeDate(static_cast<Word>(Year), static_cast<Word>(Month), static_cast<Word>(Day))
                        + EncodeTime(static_cast<Word>(Hour), static_cast<Word>(Min), static_cast<Word>(Sec), 0);
    SetClock([T] { return T; });
}

void TWritersTest::Step(TLbButton *Button)
{
    FFabricoreFirmWare->Btn_Click(Button);
}

QString Test_Source(const QString &Relative)
{
    return QStringLiteral(FABRICOR_TESTS_DIR "/") + Relative;
}

QByteArray Read_File(const QString &Path)
{
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TToolRun Run_Tool(const QString &Program, const QStringList &Args)
{
    TToolRun R;
    QProcess P;
    P.start(Program, Args);
    if (!P.waitForStarted(10000)) {
        ADD_FAILURE() << "the reader " << Program.toStdString() << " cannot be started";
        return R;
    }
    P.waitForFinished(60000);
    R.Exit = P.exitStatus() == QProcess::NormalExit ? P.exitCode() : -1;
    R.Out = QString::fromUtf8(P.readAllStandardOutput());
    R.Err = QString::fromUtf8(P.readAllStandardError());
    return R;
}
