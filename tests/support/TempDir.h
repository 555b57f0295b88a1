#pragma once
// A fresh temporary folder for one test, removed with everything in it afterwards.

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class TempDirTest : public ::testing::Test {
protected:
    // The folder's path, ending without a separator.
    QString Dir() const { return FDir.path(); }
    // The path of a file or folder inside the temporary folder.
    QString PathOf(const QString &name) const { return FDir.filePath(name); }

    void WriteBytes(const QString &name, const QByteArray &data) const
    {
        QFile f(PathOf(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(data), data.size());
    }

    QByteArray ReadBytes(const QString &name) const
    {
        QFile f(PathOf(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir FDir;
};
