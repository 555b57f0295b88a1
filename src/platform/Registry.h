#pragma once
// The registry of the platform, kept in an INI file of our own.
//
// Where the keys live: the file named by the environment variable FABRICOR_REGISTRY_FILE when
// it is set (tests point it at a temporary file), else "Fabricor/registry.ini" in the user's
// configuration folder (QStandardPaths::GenericConfigLocation, normally ~/.config). Every root
// (HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, ...) lives in that one per-user file: one section per
// key, named by the root and the key path ("[HKEY_CURRENT_USER\Software\Fabricor]"), one line
// per value: Name="text" (with "\", CR and LF escaped as \\, \r and \n) or Name=dword:0000002a;
// the key's default value is named "@". The file is read again whenever another program changed
// it, and written (atomically, UTF-8) after every change.
//
// Key and value names are compared without regard to case, as the classic registry does.

#include "platform/Classes.h"
#include "platform/IniFiles.h"
#include "platform/System.h"
#include "platform/Windows.h"

#include <cstdint>
#include <functional>
#include <memory>

using HKEY = std::uintptr_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

constexpr LongWord KEY_QUERY_VALUE = 0x0001;
constexpr LongWord KEY_SET_VALUE = 0x0002;
constexpr LongWord KEY_CREATE_SUB_KEY = 0x0004;
constexpr LongWord KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr LongWord KEY_NOTIFY = 0x0010;
constexpr LongWord KEY_READ = 0x20019;
constexpr LongWord KEY_WRITE = 0x20006;
constexpr LongWord KEY_ALL_ACCESS = 0xF003F;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// The file the keys are kept in (see above).
UnicodeString RegistryFileName();

// Calls OnChange after a change of the key or of anything below it (values written or deleted,
// subkeys created or deleted). Changes made through TRegistry in this process are reported at
// once, on the thread that made them; changes another program writes to the file are reported
// on the main thread's event loop while a QCoreApplication exists. Answers an id for
// UnregisterKeyWatcher.
int RegisterKeyWatcher(HKEY Root, const UnicodeString &KeyPath, std::function<void()> OnChange);
void UnregisterKeyWatcher(int Id);

class TRegistry : public TObject {
public:
    TRegistry() = default;
    explicit TRegistry(LongWord AAccess) : FAccess(AAccess) {}
    ~TRegistry() override = default;

    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY Value);
    LongWord Access() const { return FAccess; }
    void SetAccess(LongWord Value) { FAccess = Value; }
    // The open key's path below the root, without a leading "\"; empty when none is open.
    const UnicodeString &CurrentPath() const { return FCurrentPath; }
    // Nonzero while a key is open.
    HKEY CurrentKey() const { return FKeyOpen ? FRootKey : 0; }

    // Key paths starting with "\" begin at the root, others below the open key. OpenKey creates
    // the missing keys when CanCreate is set; both answer whether the key is open afterwards.
    bool OpenKey(const UnicodeString &Key, bool CanCreate);
    bool OpenKeyReadOnly(const UnicodeString &Key);
    void CloseKey();
    bool CreateKey(const UnicodeString &Key);
    bool KeyExists(const UnicodeString &Key);
    // Deletes the key with everything below it; false when it did not exist.
    bool DeleteKey(const UnicodeString &Key);
    bool HasSubKeys();
    // The names of the subkeys / values of the open key (of the root when none is open).
    void GetKeyNames(TStrings *Strings);
    void GetValueNames(TStrings *Strings);

    bool ValueExists(const UnicodeString &Name);
    bool DeleteValue(const UnicodeString &Name);
    TRegDataType GetDataType(const UnicodeString &Name);

    // A missing value reads as an empty string; an integer value raises ERegistryException
    // "Invalid data type for '<name>'".
    UnicodeString ReadString(const UnicodeString &Name);
    // ERegistryException "Failed to get data for '<name>'" when the value is missing.
    int ReadInteger(const UnicodeString &Name);
    bool ReadBool(const UnicodeString &Name);
    // ERegistryException "Failed to set data for '<name>'" on a read-only key or when the file
    // cannot be written.
    void WriteString(const UnicodeString &Name, const UnicodeString &Value);
    void WriteInteger(const UnicodeString &Name, int Value);
    void WriteBool(const UnicodeString &Name, bool Value);

    // The full path below the root of Key as OpenKey understands it.
    UnicodeString ResolvePath(const UnicodeString &Key) const;
    // True while the open key was opened read-only (or without write access).
    bool ReadOnly() const { return FReadOnly; }

private:
    HKEY FRootKey = HKEY_CURRENT_USER;
    LongWord FAccess = KEY_ALL_ACCESS;
    UnicodeString FCurrentPath;
    bool FKeyOpen = false;
    bool FReadOnly = false;
};

// A registry key read and written like an INI file: each section is a subkey of the key.
// Integers and flags are kept as text, as the classic one keeps them.
class TRegIniFile : public TRegistry {
public:
    explicit TRegIniFile(const UnicodeString &FileName, LongWord AAccess = KEY_ALL_ACCESS);

    const UnicodeString &FileName() const { return FFileName; }

    using TRegistry::ReadString;
    using TRegistry::WriteString;
    using TRegistry::ReadInteger;
    using TRegistry::WriteInteger;
    using TRegistry::ReadBool;
    using TRegistry::WriteBool;
    using TRegistry::DeleteKey;

    UnicodeString ReadString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Default);
    void WriteString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Value);
    // A text value is read as a number (decimal or hexadecimal); an integer value as it is.
    int ReadInteger(const UnicodeString &Section, const UnicodeString &Ident, int Default);
    void WriteInteger(const UnicodeString &Section, const UnicodeString &Ident, int Value);
    bool ReadBool(const UnicodeString &Section, const UnicodeString &Ident, bool Default);
    void WriteBool(const UnicodeString &Section, const UnicodeString &Ident, bool Value);
    void ReadSection(const UnicodeString &Section, TStrings *Strings);
    void ReadSections(TStrings *Strings);
    void ReadSectionValues(const UnicodeString &Section, TStrings *Strings);
    void EraseSection(const UnicodeString &Section);
    void DeleteKey(const UnicodeString &Section, const UnicodeString &Ident);

private:
    UnicodeString FFileName;
};

// The INI-file interface over a registry key (HKEY_CURRENT_USER\FileName), for code that keeps
// its settings either in an INI file or in the registry. Changes are written at once, so
// UpdateFile has nothing left to do.
class TRegistryIniFile : public TCustomIniFile {
public:
    explicit TRegistryIniFile(const UnicodeString &FileName, LongWord AAccess = KEY_ALL_ACCESS);
    ~TRegistryIniFile() override;

    TRegIniFile *RegIniFile() const { return FRegIniFile.get(); }

    UnicodeString ReadString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Default) override;
    void WriteString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Value) override;
    int ReadInteger(const UnicodeString &Section, const UnicodeString &Ident, int Default) override;
    // An integer value, unless the value already holds text.
    void WriteInteger(const UnicodeString &Section, const UnicodeString &Ident, int Value) override;
    bool ReadBool(const UnicodeString &Section, const UnicodeString &Ident, bool Default) override;
    void WriteBool(const UnicodeString &Section, const UnicodeString &Ident, bool Value) override;
    void ReadSection(const UnicodeString &Section, TStrings *Strings) override;
    void ReadSections(TStrings *Strings) override;
    void ReadSectionValues(const UnicodeString &Section, TStrings *Strings) override;
    bool SectionExists(const UnicodeString &Section) override;
    bool ValueExists(const UnicodeString &Section, const UnicodeString &Ident) override;
    void EraseSection(const UnicodeString &Section) override;
    void DeleteKey(const UnicodeString &Section, const UnicodeString &Ident) override;
    void UpdateFile() override {}

private:
    std::unique_ptr<TRegIniFile> FRegIniFile;
};

// ---- change notification on an event ----
// Sets Event once, at the next change of the key (Root, KeyPath) or of anything below it; the
// request then ends, and the caller asks again for the change after that. Changes made in this
// process are seen at once; those written to the file by another program while the main
// thread's event loop runs. Callable from any thread. The filter and subtree arguments are
// kept for the classic signature: every change below the key is reported. Without Asynchronous
// the call waits for the change itself. ERROR_SUCCESS, or ERROR_INVALID_HANDLE for no event. A
// request for an event replaces the earlier one of that event; a request whose event has been
// closed meanwhile ends quietly at the next change.
inline constexpr LongInt ERROR_SUCCESS = 0;
inline constexpr LongInt ERROR_FILE_NOT_FOUND = 2;
inline constexpr LongInt ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD REG_NOTIFY_CHANGE_NAME = 0x1;
inline constexpr DWORD REG_NOTIFY_CHANGE_ATTRIBUTES = 0x2;
inline constexpr DWORD REG_NOTIFY_CHANGE_LAST_SET = 0x4;
inline constexpr DWORD REG_NOTIFY_CHANGE_SECURITY = 0x8;
LongInt RegNotifyChangeKeyValue(HKEY Root, const UnicodeString &KeyPath, bool WatchSubtree, DWORD NotifyFilter,
                                HANDLE Event, bool Asynchronous);
