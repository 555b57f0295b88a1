#pragma once
// What the fuzz targets share: a temporary folder of the process for the files a reader opens,
// the headless application that forms and pictures need, and the cutting of one input into the
// several files that a reader takes together.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Fuzz {

// The bytes of one input.
inline QByteArray Bytes(const uint8_t *Data, size_t Size)
{
    return QByteArray(reinterpret_cast<const char *>(Data), static_cast<qsizetype>(Size));
}

// A folder of this process, emptied by each call, removed at exit. Nothing a target does
// writes outside it.
QString CleanDir();
// Path of a name inside that folder (which the last CleanDir emptied).
QString PathOf(const QString &Name);
// Writes a file inside the folder, creating the folders on the way.
void WriteFile(const QString &Name, const QByteArray &Data);
QByteArray ReadFile(const QString &Name);
bool Exists(const QString &Name);

// A headless QApplication (offscreen), made on the first call and kept for the process.
void NeedApplication();

// The line that separates the files of one input: "\n--next-file--\n".
extern const QByteArray Separator;
// The input cut at the separators into exactly Count parts (missing ones empty; the last one
// keeps any further separators).
std::vector<QByteArray> Split(const QByteArray &Input, int Count);

// Stops the process when a property of the reader does not hold, with the reason on stderr, so
// that libFuzzer and the replay keep the input as a find.
[[noreturn]] void Fail(const char *What);
inline void Check(bool Condition, const char *What)
{
    if (!Condition)
        Fail(What);
}
// The same with both texts on stderr when they differ, to show the find.
void CheckSame(const QString &Got, const QString &Expected, const char *What);

} // namespace Fuzz
