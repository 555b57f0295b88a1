#pragma once
// The whole configurator started in a temporary program folder, with the maker's web service
// played by a server on 127.0.0.1.
//
//     class MyTest : public TAppTest {};
//     TEST_F(MyTest, X) {
//         StartApp();                        // the forms, as the program makes them
//         Web.SetAnswer("VER. 1.001");
//         ...
//         RestartApp();                      // closes (writing the settings) and starts again
//     }

#include "support/GuiTest.h"
#include "support/TempDir.h"

#include "platform/System.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>

class TLbButton;

// Answers every HTTP request with the answer in force, until it is destroyed.
class TLocalWebServer {
public:
    TLocalWebServer();
    ~TLocalWebServer();
    TLocalWebServer(const TLocalWebServer &) = delete;
    TLocalWebServer &operator=(const TLocalWebServer &) = delete;

    int Port() const { return FPort; }
    // The body of the next answers, with the status code of their status line.
    void SetAnswer(const std::string &Body, int Status = 200);
    int Requests() const { return FRequests; }
    // The request line of the last request ("GET /path HTTP/1.0").
    std::string LastRequestLine();

private:
    void Serve();
    void Answer(int Socket);
    int FListen = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::atomic<int> FRequests{0};
    std::mutex FLock;
    std::string FBody;
    int FStatus = 200;
    std::string FLastRequestLine;
    std::thread FThread;
};

class TAppTest : public TempDirTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the forms in the program's order (the main window first).
    void StartApp();
    // Closes the main window as the user would (the settings file is written) and frees every form.
    void CloseApp();
    void RestartApp();
    // Frees the forms without closing the main window.
    void DestroyForms();

    // Paths inside the program folder.
    QString ProjectsDir() const { return PathOf(QStringLiteral("PROJECTS")); }
    QString LanguageDir() const { return PathOf(QStringLiteral("LANGUAGE")); }
    QString SettingsText() const { return QString::fromUtf8(ReadBytes(QStringLiteral("Fabricor.xml"))); }
    // Writes a settings file as an earlier run would have.
    void WriteSettings(const QString &Project, const QString &Language, bool Internet = false, bool Update = false);
    // A language file (UTF-8 with a byte-order mark) of the given lines in "LANGUAGE".
    void WriteLanguage(const QString &Name, const QStringList &Lines);
    // A small picture file (a flag) at a path inside the program folder.
    void WriteBitmap(const QString &Name, TColor Color);

    // Clicks a graphic button as the user would, once the main window shows.
    void ClickButton(TLbButton *Button);

    TLocalWebServer Web;
};
