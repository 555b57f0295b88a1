#include "platform/Classes.h"
#include "platform/Encoding.h"
#include "platform/FileUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// ---------------------------------------------------------------------------------------------
// TStream

void TStream::ReadBuffer(void *Buffer, int Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError(QStringLiteral("Stream read error"));
}

void TStream::WriteBuffer(const void *Buffer, int Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError(QStringLiteral("Stream write error"));
}

Int64 TStream::CopyFrom(TStream *Source, Int64 Count)
{
    if (Count <= 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    constexpr int MaxBufSize = 0xF000;
    std::vector<char> buffer(static_cast<std::size_t>(std::min<Int64>(Count, MaxBufSize)));
    const Int64 result = Count;
    while (Count > 0) {
        const int n = static_cast<int>(std::min<Int64>(Count, MaxBufSize));
        Source->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        Count -= n;
    }
    return result;
}

Int64 TStream::Size()
{
    const Int64 pos = Seek(0, soCurrent);
    const Int64 size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

// ---------------------------------------------------------------------------------------------
// TMemoryStream

int TMemoryStream::Read(void *Buffer, int Count)
{
    const Int64 size = Size();
    if (FPosition < 0 || Count <= 0 || FPosition >= size)
        return 0;
    const int n = static_cast<int>(std::min<Int64>(Count, size - FPosition));
    std::memcpy(Buffer, FData.data() + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

int TMemoryStream::Write(const void *Buffer, int Count)
{
    if (FPosition < 0 || Count <= 0)
        return 0;
    const Int64 end = FPosition + Count;
    const auto *bytes = static_cast<const Byte *>(Buffer);
    if (FPosition == Size()) {
        // Appending, the common case: the bytes go in once, without zeroing the room first.
        FData.insert(FData.end(), bytes, bytes + Count);
    } else {
        if (end > Size())
            FData.resize(static_cast<std::size_t>(end));
        std::memcpy(FData.data() + FPosition, Buffer, static_cast<std::size_t>(Count));
    }
    FPosition = end;
    return Count;
}

Int64 TMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin)
{
    switch (Origin) {
    case soBeginning:
        FPosition = Offset;
        break;
    case soCurrent:
        FPosition += Offset;
        break;
    case soEnd:
        FPosition = Size() + Offset;
        break;
    }
    return FPosition;
}

void TMemoryStream::SetSize(Int64 NewSize)
{
    if (NewSize < 0)
        NewSize = 0;
    FData.resize(static_cast<std::size_t>(NewSize));
    if (FPosition > NewSize)
        FPosition = NewSize;
}

void TMemoryStream::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream *Stream)
{
    Stream->SetPosition(0);
    const Int64 count = Stream->Size();
    std::vector<Byte> data(static_cast<std::size_t>(count));
    if (count > 0)
        Stream->ReadBuffer(data.data(), static_cast<int>(count));
    FData.swap(data);
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const UnicodeString &FileName)
{
    TBytesStream stream(ReadFileBytes(FileName));
    LoadFromStream(&stream);
}

void TMemoryStream::SaveToStream(TStream *Stream)
{
    if (!FData.empty())
        Stream->WriteBuffer(FData.data(), static_cast<int>(FData.size()));
}

void TMemoryStream::SaveToFile(const UnicodeString &FileName)
{
    WriteFileAtomic(FileName, Bytes());
}

TBytesStream::TBytesStream(const QByteArray &ABytes)
{
    if (!ABytes.isEmpty())
        WriteBuffer(ABytes.constData(), static_cast<int>(ABytes.size()));
    SetPosition(0);
}

// ---------------------------------------------------------------------------------------------
// TFileStream

TFileStream::TFileStream(const UnicodeString &AFileName, Word Mode) : FFileName(AFileName)
{
    const QByteArray path = NativePath(AFileName).toLocal8Bit();
    const bool create = (Mode & fmCreate) == fmCreate;
    int flags = O_CLOEXEC;
    if (create) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (Mode & 0x3) {
        case fmOpenWrite:
            flags |= O_WRONLY;
            break;
        case fmOpenReadWrite:
            flags |= O_RDWR;
            break;
        default:
            flags |= O_RDONLY;
            break;
        }
    }
    // Only a regular file is opened: a pipe would hold the program until someone writes to it
    // (or reads it), and a device reads or swallows without end.
    struct stat before {};
    if (!path.isEmpty() && ::stat(path.constData(), &before) == 0 && !S_ISREG(before.st_mode) && !S_ISDIR(before.st_mode)) {
        const UnicodeString reason = QStringLiteral("It is not a regular file (a device, pipe or socket)");
        if (create)
            throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(AFileName, reason));
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(AFileName, reason));
    }
    FHandle = path.isEmpty() ? -1 : ::open(path.constData(), flags | O_NONBLOCK | O_NOCTTY, 0666);
    if (FHandle < 0) {
        const int err = path.isEmpty() ? ENOENT : errno;
        const UnicodeString reason = QString::fromLocal8Bit(std::strerror(err));
        if (create)
            throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(AFileName, reason));
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(AFileName, reason));
    }
    // A folder opens read-only on POSIX; refuse it as the file functions do.
    struct stat st {};
    if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(FHandle);
        FHandle = -1;
        const UnicodeString reason = QString::fromLocal8Bit(std::strerror(EISDIR));
        if (create)
            throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(AFileName, reason));
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(AFileName, reason));
    }
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

int TFileStream::Read(void *Buffer, int Count)
{
    if (Count <= 0)
        return 0;
    auto *p = static_cast<char *>(Buffer);
    int done = 0;
    while (done < Count) {
        const ssize_t n = ::read(FHandle, p + done, static_cast<std::size_t>(Count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<int>(n);
    }
    return done;
}

int TFileStream::Write(const void *Buffer, int Count)
{
    if (Count <= 0)
        return 0;
    const auto *p = static_cast<const char *>(Buffer);
    int done = 0;
    while (done < Count) {
        const ssize_t n = ::write(FHandle, p + done, static_cast<std::size_t>(Count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<int>(n);
    }
    return done;
}

Int64 TFileStream::Seek(Int64 Offset, TSeekOrigin Origin)
{
    const int whence = Origin == soBeginning ? SEEK_SET : (Origin == soCurrent ? SEEK_CUR : SEEK_END);
    return static_cast<Int64>(::lseek(FHandle, static_cast<off_t>(Offset), whence));
}

void TFileStream::SetSize(Int64 NewSize)
{
    if (::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
        throw EWriteError(QStringLiteral("Stream write error"));
    if (Position() > NewSize)
        SetPosition(NewSize);
}

// ---------------------------------------------------------------------------------------------
// TStringStream

TStringStream::TStringStream(const UnicodeString &AString, TEncoding *AEncoding)
    : FEncoding(AEncoding ? AEncoding : TEncoding::Default())
{
    const QByteArray bytes = FEncoding->GetBytes(AString);
    if (!bytes.isEmpty())
        WriteBuffer(bytes.constData(), static_cast<int>(bytes.size()));
    SetPosition(0);
}

TStringStream::TStringStream(const QByteArray &ABytes, TEncoding *AEncoding)
    : FEncoding(AEncoding ? AEncoding : TEncoding::Default())
{
    if (!ABytes.isEmpty())
        WriteBuffer(ABytes.constData(), static_cast<int>(ABytes.size()));
    SetPosition(0);
}

UnicodeString TStringStream::DataString() const
{
    return FEncoding->GetString(Bytes());
}

UnicodeString TStringStream::ReadString(int Count)
{
    const Int64 available = std::max<Int64>(0, Size() - Position());
    const int n = static_cast<int>(std::min<Int64>(std::max(Count, 0), available));
    QByteArray bytes(n, '\0');
    if (n > 0)
        ReadBuffer(bytes.data(), n);
    return FEncoding->GetString(bytes);
}

void TStringStream::WriteString(const UnicodeString &AString)
{
    const QByteArray bytes = FEncoding->GetBytes(AString);
    WriteBuffer(bytes.constData(), static_cast<int>(bytes.size()));
}
