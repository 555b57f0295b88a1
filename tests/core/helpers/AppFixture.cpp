#include "AppFixture.h"

#include "controls/LbButton.h"
#include "core/UAbout.h"
#include "core/UFabricoreFirmWare.h"
#include "core/UNew_Project.h"
#include "core/UOpenConf.h"
#include "core/USoftOptions.h"
#include "platform/FileUtils.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/WebService.h"

#include <QDir>
#include <QFile>

#include <arpa/inet.h>
#include <chrono>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

// ---------------------------------------------------------------------------------------------

TLocalWebServer::TLocalWebServer()
{
    FListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (FListen < 0 || ::bind(FListen, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0
        || ::listen(FListen, 8) != 0 || ::getsockname(FListen, reinterpret_cast<sockaddr *>(&addr), &len) != 0)
        return;
    FPort = ntohs(addr.sin_port);
    FThread = std::thread([this] { Serve(); });
}

TLocalWebServer::~TLocalWebServer()
{
    FStop = true;
    if (FThread.joinable())
        FThread.join();
    if (FListen >= 0)
        ::close(FListen);
}

void TLocalWebServer::SetAnswer(const std::string &Body, int Status)
{
    std::lock_guard<std::mutex> g(FLock);
    FBody = Body;
    FStatus = Status;
}

std::string TLocalWebServer::LastRequestLine()
{
    std::lock_guard<std::mutex> g(FLock);
    return FLastRequestLine;
}

void TLocalWebServer::Serve()
{
    while (!FStop) {
        pollfd p{FListen, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        const int c = ::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (c >= 0) {
            Answer(c);
            ::close(c);
        }
    }
}

void TLocalWebServer::Answer(int Socket)
{
    std::string request;
    char buf[4096];
    const auto start = std::chrono::steady_clock::now();
    while (request.find("\r\n\r\n") == std::string::npos && !FStop
           && std::chrono::steady_clock::now() - start < std::chrono::seconds(3)) {
        pollfd p{Socket, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        const ssize_t n = ::recv(Socket, buf, sizeof buf, 0);
        if (n <= 0)
            break;
        request.append(buf, static_cast<size_t>(n));
    }
    std::string body;
    int status;
    {
        std::lock_guard<std::mutex> g(FLock);
        FLastRequestLine = request.substr(0, request.find("\r\n"));
        body = FBody;
        status = FStatus;
    }
    ++FRequests;
    const std::string head = "HTTP/1.0 " + std::to_string(status) + (status == 200 ? " OK" : " Error")
                             + "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size())
                             + "\r\nConnection: close\r\n\r\n";
    const std::string all = head + body;
    size_t sent = 0;
    while (sent < all.size()) {
        const ssize_t n = ::send(Socket, all.data() + sent, all.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        sent += static_cast<size_t>(n);
    }
}

// ---------------------------------------------------------------------------------------------

void TAppTest::SetUp()
{
    SetProgramFolder(Dir());
    setenv(WebHostVariable, ("127.0.0.1:" + std::to_string(Web.Port())).c_str(), 1);
}

void TAppTest::TearDown()
{
    DestroyForms();
    unsetenv(WebHostVariable);
    SetProgramFolder(QString());
}

void TAppTest::StartApp()
{
    Application->Initialize();
    Application->CreateForm(FFabricoreFirmWare);
    Application->CreateForm(FNew_Project);
    Application->CreateForm(FOpenConf);
    Application->CreateForm(FAbout);
    Application->CreateForm(FSoftOptions);
}

void TAppTest::CloseApp()
{
    if (FFabricoreFirmWare)
        FFabricoreFirmWare->Close();
    DestroyForms();
}

void TAppTest::RestartApp()
{
    CloseApp();
    StartApp();
}

void TAppTest::DestroyForms()
{
    delete FSoftOptions;
    FSoftOptions = nullptr;
    delete FAbout;
    FAbout = nullptr;
    delete FOpenConf;
    FOpenConf = nullptr;
    delete FNew_Project;
    FNew_Project = nullptr;
    delete FFabricoreFirmWare;
    FFabricoreFirmWare = nullptr;
}

void TAppTest::WriteSettings(const QString &Project, const QString &Language, bool Internet, bool Update)
{
    const QString xml = QStringLiteral("<Conf_Settings><lastproj><projectname>%1</projectname></lastproj>"
                                       "<lastipadd><ipaddress>192.168.2.205</ipaddress></lastipadd>"
                                       "<lastlang><language>%2</language></lastlang>"
                                       "<lastinternet><enable_internet>%3</enable_internet>"
                                       "<enable_update>%4</enable_update>"
                                       "<enable_jump_field_tables>0</enable_jump_field_tables>"
                                       "<Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet>"
                                       "</Conf_Settings>")
                            .arg(Project, Language, QString::number(Internet ? 1 : 0), QString::number(Update ? 1 : 0));
    WriteBytes(QStringLiteral("Fabricor.xml"), xml.toUtf8());
}

void TAppTest::WriteLanguage(const QString &Name, const QStringList &Lines)
{
    QDir().mkpath(LanguageDir());
    WriteBytes(QStringLiteral("LANGUAGE/") + Name + QStringLiteral(".lng"),
               QByteArray("\xEF\xBB\xBF") + Lines.join(QStringLiteral("\r\n")).toUtf8());
}

void TAppTest::WriteBitmap(const QString &Name, TColor Color)
{
    TBitmap B(8, 8);
    B.Canvas()->Brush()->SetColor(Color);
    B.Canvas()->FillRect(TRect{0, 0, 8, 8});
    QDir().mkpath(QFileInfo(PathOf(Name)).absolutePath());
    B.SaveToFile(PathOf(Name));
}

void TAppTest::ClickButton(TLbButton *Button)
{
    Button->Click();
}
