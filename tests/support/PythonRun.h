#pragma once
// Runs the Debian python on a script or a -c program, for tests whose files a second, independent
// reader checks (python's own modules and the test-only packages installed beside it).

#include <QByteArray>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

inline QString Python()
{
    return QFileInfo::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                  : QStringLiteral("python3");
}

// True when python ran to a zero exit; Out is then its standard output, else its error output.
inline bool RunPython(const QStringList &Args, QByteArray &Out)
{
    QProcess p;
    p.start(Python(), Args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        Out = p.readAllStandardError();
        return false;
    }
    Out = p.readAllStandardOutput();
    return true;
}
