#pragma once
// The main window started in a temporary program folder with the protocol steps registered and
// a configuration open, for driving the description-file writers through its steps; and the
// independent readers that check what they write.

#include "support/GuiTest.h"
#include "support/TempDir.h"

#include "platform/System.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

// Failures show texts as texts.
inline void PrintTo(const QString &S, std::ostream *Os)
{
    *Os << '"' << S.toStdString() << '"';
}

class TLbButton;

class TWritersTest : public TempDirTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A configuration folder, open as after step 1.
    void OpenConf(const QString &Name);
    // No configuration open.
    void CloseConf();
    QString ConfPath(const QString &File) const;
    void WriteConf(const QString &File, const QByteArray &Bytes) const;
    QByteArray ReadConf(const QString &File) const;
    // The clock the writers read, fixed.
    static void SetFixedClock(int Year, int Month, int Day, int Hour, int Min, int Sec);
    // A hidden step as the main window dispatches it.
    static void Step(TLbButton *Button);
};

// A file of the test sources (golden files, reader scripts), by its path below "tests".
QString Test_Source(const QString &Relative);
QByteArray Read_File(const QString &Path);

struct TToolRun {
    int Exit = -1;
    QString Out;
    QString Err;
};
// Runs a reader; a reader that cannot be started is a failure of the test, never a skip.
TToolRun Run_Tool(const QString &Program, const QStringList &Args);
// Debian's own interpreter, which finds the Debian packages of the readers.
inline const QString Debian_Python = QStringLiteral("/usr/bin/python3");
