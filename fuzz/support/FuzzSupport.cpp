#include "support/FuzzSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace Fuzz {

const QByteArray Separator("\n--next-file--\n");

namespace {

QTemporaryDir &Folder()
{
    // In memory where the system offers it: every atomic write syncs the disk, which would
    // make the writing targets wait on it for most of their time.
    const QString Base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir Dir(Base + QStringLiteral("/fabricor-fuzz-XXXXXX"));
    if (!Dir.isValid())
        Fail("no temporary folder");
    return Dir;
}

} // namespace

QString CleanDir()
{
    QDir Dir(Folder().path());
    for (const QFileInfo &Entry : Dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (Entry.isDir() && !Entry.isSymLink())
            QDir(Entry.filePath()).removeRecursively();
        else
            QFile::remove(Entry.filePath());
    }
    return Dir.path();
}

QString PathOf(const QString &Name)
{
    return Folder().filePath(Name);
}

void WriteFile(const QString &Name, const QByteArray &Data)
{
    const QString Path = PathOf(Name);
    QDir().mkpath(QFileInfo(Path).path());
    QFile F(Path);
    if (!F.open(QIODevice::WriteOnly | QIODevice::Truncate) || F.write(Data) != Data.size())
        Fail("cannot write an input file");
}

QByteArray ReadFile(const QString &Name)
{
    QFile F(PathOf(Name));
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

bool Exists(const QString &Name)
{
    return QFileInfo::exists(PathOf(Name));
}

void NeedApplication()
{
    if (QCoreApplication::instance())
        return;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int Argc = 1;
    static char Name[] = "fuzz";
    static char *Argv[] = {Name, nullptr};
    static QApplication *App = new QApplication(Argc, Argv);
    (void)App;
}

std::vector<QByteArray> Split(const QByteArray &Input, int Count)
{
    std::vector<QByteArray> Parts;
    qsizetype From = 0;
    for (int i = 0; i < Count; ++i) {
        const qsizetype At = i + 1 < Count ? Input.indexOf(Separator, From) : -1;
        if (From > Input.size()) {
            Parts.emplace_back();
        } else if (At < 0) {
            Parts.push_back(Input.mid(From));
            From = Input.size() + 1;
        } else {
            Parts.push_back(Input.mid(From, At - From));
            From = At + Separator.size();
        }
    }
    return Parts;
}

void CheckSame(const QString &Got, const QString &Expected, const char *What)
{
    if (Got == Expected)
        return;
    std::fprintf(stderr, "expected:\n%s\ngot:\n%s\n", Expected.toUtf8().constData(), Got.toUtf8().constData());
    Fail(What);
}

void Fail(const char *What)
{
    std::fprintf(stderr, "fuzz property failed: %s\n", What);
    std::fflush(stderr);
    std::abort();
}

} // namespace Fuzz
