// Starting and awaiting the update program, events as timers, and web links handed to the desktop.
#include "platform/ShellApi.h"
#include "platform/Dialogs.h"
#include "support/GuiTest.h"

#include "support/TempDir.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QUrl>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/types.h>
#include <thread>

namespace {

class ShellApiTest : public TempDirTest {
protected:
    // Writes a shell script under the update program's name (or Name) beside the test's files.
    QString WriteProgram(const QByteArray &body, const QString &name = QStringLiteral("Ethernet_Update.exe"),
                         QFile::Permissions perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
    {
        WriteBytes(name, "#!/bin/sh\n" + body + "\n");
        QFile::setPermissions(PathOf(name), perms);
        return PathOf(name);
    }

    static SHELLEXECUTEINFOW StartInfo(const QString &file, const QString &parameters = QString(), bool hidden = false)
    {
        SHELLEXECUTEINFOW info;
        info.cbSize = sizeof info;
        info.lpFile = file;
        info.lpParameters = parameters;
        info.nShow = hidden ? SW_HIDE : SW_NORMAL;
        info.fMask = SEE_MASK_NOCLOSEPROCESS;
        return info;
    }

    // The caller's way of waiting: read the exit code, and while it says "running" wait 10 ms
    // on an event that nobody sets, until LimitMs have passed. Returns the last exit code.
    static DWORD WaitLikeTheCaller(HANDLE process, int limitMs)
    {
        HANDLE timer = CreateEventW(nullptr, false, false, QStringLiteral("HandleCed"));
        ResetEvent(timer);
        QElapsedTimer clock;
        clock.start();
        DWORD code = 0;
        for (;;) {
            EXPECT_TRUE(GetExitCodeProcess(process, &code));
            if (code != STILL_ACTIVE) {
                WaitForSingleObject(timer, 10);
                break;
            }
            if (clock.elapsed() >= limitMs)
                break;
            WaitForSingleObject(timer, 10);
        }
        CloseHandle(timer);
        return code;
    }

    static bool ProcessGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }
};

TEST_F(ShellApiTest, UpdateProgramIsStartedAndAwaited)
{
    const QString program = WriteProgram("echo \"$#\" > \"$(dirname \"$0\")/ran.txt\"\nsleep 0.05\nexit 3");
    SHELLEXECUTEINFOW info = StartInfo(program);
    ASSERT_TRUE(ShellExecuteExW(&info));
    EXPECT_GT(info.hInstApp, 32);
    ASSERT_NE(info.hProcess, nullptr);
    const pid_t pid = static_cast<pid_t>(GetProcessId(info.hProcess));
    EXPECT_GT(pid, 0);

    EXPECT_EQ(WaitLikeTheCaller(info.hProcess, 5000), 3u);
    EXPECT_EQ(ReadBytes(QStringLiteral("ran.txt")), QByteArray("0\n"));
    EXPECT_TRUE(ProcessGone(pid)) << "the ended program was not reaped";
    EXPECT_TRUE(CloseHandle(info.hProcess));
}

TEST_F(ShellApiTest, LongRunningProgramIsGivenUpOnAndKeepsRunning)
{
    const QString program = WriteProgram("exec sleep 30");
    SHELLEXECUTEINFOW info = StartInfo(program, QString(), true);
    ASSERT_TRUE(ShellExecuteExW(&info));
    const pid_t pid = static_cast<pid_t>(GetProcessId(info.hProcess));

    EXPECT_EQ(WaitLikeTheCaller(info.hProcess, 200), STILL_ACTIVE);
    EXPECT_EQ(::kill(pid, 0), 0) << "the program must outlive the wait";
    // The caller forgets the handle; the program is still collected when it ends.
    EXPECT_TRUE(CloseHandle(info.hProcess));
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    QElapsedTimer clock;
    clock.start();
    while (!ProcessGone(pid) && clock.elapsed() < 5000)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(ProcessGone(pid)) << "the killed program was left as a zombie";
}

TEST_F(ShellApiTest, WaitingOnTheProcessHandleReportsItsEnd)
{
    SHELLEXECUTEINFOW info = StartInfo(WriteProgram("exec sleep 30"));
    ASSERT_TRUE(ShellExecuteExW(&info));
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 20), WAIT_TIMEOUT);
    ::kill(static_cast<pid_t>(GetProcessId(info.hProcess)), SIGTERM);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
    EXPECT_EQ(code, 128u + SIGTERM);
    CloseHandle(info.hProcess);
}

TEST_F(ShellApiTest, EndIsSeenWhenTheSystemCollectsChildren)
{
    // With SIGCHLD ignored nobody can collect a status; the end must still be noticed and not
    // reported before it happens.
    struct sigaction ignore {}, old {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ASSERT_EQ(::sigaction(SIGCHLD, &ignore, &old), 0);
    SHELLEXECUTEINFOW info = StartInfo(WriteProgram("sleep 0.2"));
    const bool started = ShellExecuteExW(&info);
    EXPECT_TRUE(started);
    if (started) {
        EXPECT_EQ(WaitForSingleObject(info.hProcess, 50), WAIT_TIMEOUT);
        EXPECT_EQ(WaitForSingleObject(info.hProcess, 5000), WAIT_OBJECT_0);
        DWORD code = STILL_ACTIVE;
        EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
        EXPECT_NE(code, STILL_ACTIVE);
        CloseHandle(info.hProcess);
    }
    ::sigaction(SIGCHLD, &old, nullptr);
}

TEST_F(ShellApiTest, ParametersFolderAndBackslashPath)
{
    WriteProgram("for a in \"$@\"; do echo \"$a\"; done > \"$(dirname \"$0\")/args.txt\"\npwd >> \"$(dirname \"$0\")/args.txt\"");
    ASSERT_TRUE(QDir(Dir()).mkdir(QStringLiteral("work")));
    SHELLEXECUTEINFOW info = StartInfo(Dir() + QStringLiteral("\\Ethernet_Update.exe"), QStringLiteral("one \"two three\"  four"));
    info.lpDirectory = Dir() + QStringLiteral("\\work");
    ASSERT_TRUE(ShellExecuteExW(&info));
    EXPECT_EQ(WaitLikeTheCaller(info.hProcess, 5000), 0u);
    const QString expected = QStringLiteral("one\ntwo three\nfour\n") + QDir(PathOf(QStringLiteral("work"))).canonicalPath() + QLatin1Char('\n');
    EXPECT_EQ(QString::fromLocal8Bit(ReadBytes(QStringLiteral("args.txt"))), expected);
    CloseHandle(info.hProcess);
}

TEST_F(ShellApiTest, ProgramThatCannotStartReportsFailure)
{
    WriteProgram("exit 0", QStringLiteral("not_executable.exe"), QFile::ReadOwner | QFile::WriteOwner);
    WriteBytes(QStringLiteral("no_interpreter.exe"), "just text\n");
    QFile::setPermissions(PathOf(QStringLiteral("no_interpreter.exe")), QFile::ReadOwner | QFile::ExeOwner);
    ASSERT_TRUE(QDir(Dir()).mkdir(QStringLiteral("folder.exe")));

    struct TCase {
        QString File;
        QString Verb;
        std::intptr_t Error;
    };
    const TCase cases[] = {
        {PathOf(QStringLiteral("missing.exe")), QString(), SE_ERR_FNF},
        {QString(), QString(), SE_ERR_FNF},
        {PathOf(QStringLiteral("not_executable.exe")), QString(), SE_ERR_ACCESSDENIED},
        {PathOf(QStringLiteral("no_interpreter.exe")), QString(), SE_ERR_BADFORMAT},
        {PathOf(QStringLiteral("folder.exe")), QString(), SE_ERR_ACCESSDENIED},
        {WriteProgram("exit 0"), QStringLiteral("print"), SE_ERR_NOASSOC},
    };
    for (const TCase &c : cases) {
        SHELLEXECUTEINFOW info = StartInfo(c.File);
        info.lpVerb = c.Verb;
        EXPECT_FALSE(ShellExecuteExW(&info)) << c.File.toStdString();
        EXPECT_EQ(info.hInstApp, c.Error) << c.File.toStdString();
        EXPECT_EQ(info.hProcess, nullptr);
    }
    EXPECT_FALSE(ShellExecuteExW(nullptr));
}

TEST_F(ShellApiTest, EventsAndHandles)
{
    HANDLE autoReset = CreateEventW(nullptr, false, false, QStringLiteral("HandleCed"));
    HANDLE manual = CreateEventW(nullptr, true, true, QString());
    ASSERT_NE(autoReset, nullptr);
    ASSERT_NE(autoReset, manual);

    EXPECT_EQ(WaitForSingleObject(autoReset, 10), WAIT_TIMEOUT);
    EXPECT_TRUE(SetEvent(autoReset));
    EXPECT_EQ(WaitForSingleObject(autoReset, 10), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(autoReset, 0), WAIT_TIMEOUT) << "an auto-reset event clears when it releases a waiter";

    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ResetEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);

    DWORD code = 0;
    EXPECT_FALSE(GetExitCodeProcess(autoReset, &code)) << "an event is no process";
    EXPECT_EQ(GetProcessId(autoReset), 0u);

    EXPECT_TRUE(CloseHandle(autoReset));
    EXPECT_FALSE(CloseHandle(autoReset));
    EXPECT_EQ(WaitForSingleObject(autoReset, 0), WAIT_FAILED);
    EXPECT_FALSE(SetEvent(autoReset));
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_FALSE(GetExitCodeProcess(reinterpret_cast<HANDLE>(0x1234), &code));
    EXPECT_TRUE(CloseHandle(manual));
}

// Stands in for the desktop's browser.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl &url) { Opened.append(url); }
};

TEST(ShellOpenTest, WebLinksGoToTheDesktopHandlerAndNothingElseIsOpened)
{
    TUrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");

    const QString home = QStringLiteral("http://www.fabricor.example/HOME/default.asp?frompg=CF40385");
    EXPECT_GT(ShellExecuteW(nullptr, QStringLiteral("open"), home, QString(), QString(), SW_SHOW), 32);
    EXPECT_GT(ShellExecuteW(0, QStringLiteral("open"), QStringLiteral("https://www.fabricor.example/Home/download/download.asp#DV40385"), QString(), QString(), SW_SHOW), 32);
    EXPECT_EQ(ShellExecuteW(nullptr, QStringLiteral("edit"), home, QString(), QString(), SW_SHOW), SE_ERR_NOASSOC);
    EXPECT_EQ(ShellExecuteW(nullptr, QStringLiteral("open"), QStringLiteral("file:///bin/sh"), QString(), QString(), SW_SHOW), SE_ERR_FNF);
    EXPECT_EQ(ShellExecuteW(nullptr, QStringLiteral("open"), QStringLiteral("/bin/sh"), QString(), QString(), SW_SHOW), SE_ERR_FNF);
    EXPECT_EQ(ShellExecuteW(nullptr, QStringLiteral("open"), QString(), QString(), QString(), SW_SHOW), SE_ERR_FNF);
    EXPECT_EQ(ShellExecuteW(nullptr, QStringLiteral("open"), QStringLiteral("mailto:info@fabricor.example"), QString(), QString(), SW_SHOW), SE_ERR_FNF);

    ASSERT_EQ(catcher.Opened.size(), 2);
    EXPECT_EQ(catcher.Opened[0], QUrl(home));

    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

TEST(ShellOpenTest, AWebLinkThatNothingCanOpenIsReportedNamingTheLink)
{
    const QString link = QStringLiteral("https://www.fabricor.example/Home/download/download.asp#DV40385");
    GuiTest::TScriptedModalHook hook;
    hook.Answer(mrOk);
    // No browser: the headless platform has no handler for web addresses.
    EXPECT_FALSE(ShellOpenWebLink(link));
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(hook.Shown[0].Kind, mkMessage);
    EXPECT_EQ(hook.Shown[0].DlgType, mtError);
    EXPECT_TRUE(hook.Shown[0].Text.contains(QStringLiteral("could not be opened"))) << hook.Shown[0].Text.toStdString();
    EXPECT_TRUE(hook.Shown[0].Text.contains(link));

    // With a browser the link goes to it and nothing is said.
    TUrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");
    EXPECT_TRUE(ShellOpenWebLink(link));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_EQ(catcher.Opened.size(), 1);
    EXPECT_EQ(hook.Shown.size(), 1u);
}

class ShellOpenDocumentTest : public TempDirTest {};

TEST_F(ShellOpenDocumentTest, WrittenDocumentsOpenByTheirFileUrlAndProgramsNever)
{
    TUrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    WriteBytes(QStringLiteral("grid.html"), "<TABLE></TABLE>");
    WriteBytes(QStringLiteral("notes.dat"), "x");
    WriteBytes(QStringLiteral("run.html"), "#!/bin/sh\n");
    QFile::setPermissions(PathOf(QStringLiteral("run.html")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(PathOf(QStringLiteral("folder.html")));

    const struct {
        QString Verb;
        QString File;
        std::intptr_t Result; // 0: handed over
    } cases[] = {
        {QStringLiteral("open"), PathOf(QStringLiteral("grid.html")), 0},
        {QString(), QStringLiteral("  ") + PathOf(QStringLiteral("grid.html")), 0},
        {QStringLiteral("print"), PathOf(QStringLiteral("grid.html")), SE_ERR_NOASSOC},
        {QStringLiteral("open"), PathOf(QStringLiteral("missing.html")), SE_ERR_FNF},
        {QStringLiteral("open"), PathOf(QStringLiteral("notes.dat")), SE_ERR_NOASSOC},
        {QStringLiteral("open"), PathOf(QStringLiteral("run.html")), SE_ERR_FNF},
        {QStringLiteral("open"), PathOf(QStringLiteral("folder.html")), SE_ERR_FNF},
    };
    for (const auto &c : cases) {
        const std::intptr_t r = ShellExecuteW(nullptr, c.Verb, c.File, QString(), QString(), SW_SHOWNORMAL);
        if (c.Result == 0)
            EXPECT_GT(r, 32) << c.File.toStdString();
        else
            EXPECT_EQ(r, c.Result) << c.File.toStdString();
    }
    ASSERT_EQ(catcher.Opened.size(), 2);
    EXPECT_EQ(catcher.Opened[0], QUrl::fromLocalFile(PathOf(QStringLiteral("grid.html"))));
    EXPECT_TRUE(catcher.Opened[0].isLocalFile());

    // Addresses keep their own rules: a file URL is not opened as one.
    EXPECT_EQ(ShellExecuteW(nullptr, QStringLiteral("open"), QUrl::fromLocalFile(PathOf(QStringLiteral("grid.html"))).toString(),
                            QString(), QString(), SW_SHOW),
              SE_ERR_FNF);
    EXPECT_EQ(catcher.Opened.size(), 2);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

} // namespace

#include "services_shellapi_test.moc"
