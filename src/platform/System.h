#pragma once
// The root vocabulary of the platform: the string type, the object root and the exception
// classes that the rest of the system raises and catches.

#include <QString>
#include <QByteArray>
#include <exception>
#include <functional>
#include <cstdint>

using UnicodeString = QString;
using WideChar = char16_t;
using Byte = std::uint8_t;
using Word = std::uint16_t;
using LongWord = std::uint32_t;
using Cardinal = std::uint32_t;
using DWORD = std::uint32_t;
using Int64 = std::int64_t;

class TObject {
public:
    TObject() = default;
    TObject(const TObject &) = delete;
    TObject &operator=(const TObject &) = delete;
    virtual ~TObject() = default;
    // The class name as the system names it ("TStringList"), without namespaces.
    UnicodeString ClassName() const;
};

using TNotifyEvent = std::function<void(TObject *Sender)>;

// Base of every exception the system raises; it carries a user-readable message.
class Exception : public std::exception {
public:
    explicit Exception(const UnicodeString &msg) : FMessage(msg), FUtf8(msg.toUtf8()) {}
    const UnicodeString &Message() const { return FMessage; }
    void SetMessage(const UnicodeString &msg) { FMessage = msg; FUtf8 = msg.toUtf8(); }
    const char *what() const noexcept override { return FUtf8.constData(); }
    virtual UnicodeString ClassName() const { return QStringLiteral("Exception"); }

private:
    UnicodeString FMessage;
    QByteArray FUtf8;
};

#define FABRICOR_DECLARE_EXCEPTION(Name, Base)                                  \
    class Name : public Base {                                                  \
    public:                                                                     \
        using Base::Base;                                                       \
        UnicodeString ClassName() const override { return QStringLiteral(#Name); } \
    };

FABRICOR_DECLARE_EXCEPTION(EAbort, Exception)
FABRICOR_DECLARE_EXCEPTION(EConvertError, Exception)
FABRICOR_DECLARE_EXCEPTION(EListError, Exception)
FABRICOR_DECLARE_EXCEPTION(EStringListError, EListError)
FABRICOR_DECLARE_EXCEPTION(EInvalidOperation, Exception)
FABRICOR_DECLARE_EXCEPTION(EInvalidCast, Exception)
FABRICOR_DECLARE_EXCEPTION(EInvalidPointer, Exception)
FABRICOR_DECLARE_EXCEPTION(EArgumentException, Exception)
FABRICOR_DECLARE_EXCEPTION(EArgumentOutOfRangeException, EArgumentException)
FABRICOR_DECLARE_EXCEPTION(EComponentError, Exception)
FABRICOR_DECLARE_EXCEPTION(EOutOfResources, Exception)
FABRICOR_DECLARE_EXCEPTION(EOSError, Exception)
FABRICOR_DECLARE_EXCEPTION(EInOutError, Exception)
FABRICOR_DECLARE_EXCEPTION(EStreamError, Exception)
FABRICOR_DECLARE_EXCEPTION(EFileStreamError, EStreamError)
FABRICOR_DECLARE_EXCEPTION(EFOpenError, EFileStreamError)
FABRICOR_DECLARE_EXCEPTION(EFCreateError, EFileStreamError)
FABRICOR_DECLARE_EXCEPTION(EReadError, EStreamError)
FABRICOR_DECLARE_EXCEPTION(EWriteError, EStreamError)
FABRICOR_DECLARE_EXCEPTION(EEncodingError, Exception)
FABRICOR_DECLARE_EXCEPTION(EIniFileException, Exception)
FABRICOR_DECLARE_EXCEPTION(ERegistryException, Exception)
FABRICOR_DECLARE_EXCEPTION(EXMLDocError, Exception)
// A document that is not well-formed. It names the fault by a fixed non-zero code for each
// kind (see XMLDoc.h) and by the line (from 1) where the parser found it, so that a caller
// can word its own message.
class EDOMParseError : public EXMLDocError {
public:
    explicit EDOMParseError(const UnicodeString &msg, int ErrorCode = 1, int Line = 1)
        : EXMLDocError(msg), FErrorCode(ErrorCode), FLine(Line) {}
    UnicodeString ClassName() const override { return QStringLiteral("EDOMParseError"); }
    int ErrorCode() const { return FErrorCode; }
    int Line() const { return FLine; }

private:
    int FErrorCode;
    int FLine;
};
FABRICOR_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
FABRICOR_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)
FABRICOR_DECLARE_EXCEPTION(EPrinter, Exception)
FABRICOR_DECLARE_EXCEPTION(EResNotFound, Exception)

// The classic text of a list asked for an item it does not have; %1 is the index.
inline constexpr char SListIndexError[] = "List index out of bounds (%1)";

// Ends the current event silently: the application's default handling ignores EAbort.
[[noreturn]] void Abort();
