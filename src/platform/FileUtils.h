#pragma once
// File and folder functions with the classic runtime meaning. The system's code writes paths
// with "\"; every function here maps "\" to the native separator first (NativePath), so
// Path_Exe + "\PROJECTS" names the folder PROJECTS beside the executable. The program folder
// is a real folder name and keeps its characters: a "\" inside it is no separator.

#include "platform/System.h"

#include <QDateTime>
#include <functional>
#include <memory>

constexpr WideChar PathDelim = u'/';
constexpr WideChar DriveDelim = u':';

// "\" becomes "/"; nothing else changes, and a path that starts with the program folder keeps
// that folder's name as it is.
UnicodeString NativePath(const UnicodeString &Path);

bool FileExists(const UnicodeString &FileName);        // true for files only, not folders
bool DirectoryExists(const UnicodeString &Directory);
bool CreateDir(const UnicodeString &Dir);               // one level; false when it exists or fails
bool ForceDirectories(const UnicodeString &Dir);        // every missing level; true when it exists afterwards
bool DeleteFile(const UnicodeString &FileName);
bool RenameFile(const UnicodeString &OldName, const UnicodeString &NewName);
bool RemoveDir(const UnicodeString &Dir);               // only an empty folder

// Path parts. Both "\" and "/" count as delimiters; the result keeps the text as written.
UnicodeString ExtractFilePath(const UnicodeString &FileName); // up to and including the last delimiter
UnicodeString ExtractFileDir(const UnicodeString &FileName);  // the same without the delimiter (a lone root stays)
UnicodeString ExtractFileName(const UnicodeString &FileName);
UnicodeString ExtractFileExt(const UnicodeString &FileName);  // with the dot; empty when the name has none
UnicodeString ChangeFileExt(const UnicodeString &FileName, const UnicodeString &Extension);
// Adds PathDelim unless the path already ends with "\" or "/".
UnicodeString IncludeTrailingPathDelimiter(const UnicodeString &S);
// Removes one trailing "\" or "/" (a lone root delimiter stays).
UnicodeString ExcludeTrailingPathDelimiter(const UnicodeString &S);
// The absolute, cleaned native path (relative names start at the current folder).
UnicodeString ExpandFileName(const UnicodeString &FileName);
UnicodeString GetCurrentDir();
bool SetCurrentDir(const UnicodeString &Dir);

// The file's modification time as a DOS date-time value (date in the high word), -1 when the
// file does not exist.
int FileAge(const UnicodeString &FileName);
// Sets or clears the write permission of the owner, group and others; false when it fails.
bool FileSetReadOnly(const UnicodeString &FileName, bool ReadOnly);
bool FileIsReadOnly(const UnicodeString &FileName);

// File attributes as the system tests them. On this platform: faDirectory for folders,
// faHidden for names that start with ".", faReadOnly for entries we may not write, faArchive
// for ordinary files, faSysFile for devices, pipes and sockets.
constexpr int faReadOnly = 0x00000001;
constexpr int faHidden = 0x00000002;
constexpr int faSysFile = 0x00000004;
constexpr int faVolumeID = 0x00000008;
constexpr int faDirectory = 0x00000010;
constexpr int faArchive = 0x00000020;
constexpr int faNormal = 0x00000080;
constexpr int faTemporary = 0x00000100;
constexpr int faSparseFile = 0x00000200;
constexpr int faSymLink = 0x00000400;
constexpr int faCompressed = 0x00000800;
constexpr int faNotContentIndexed = 0x00002000;
constexpr int faEncrypted = 0x00004000;
constexpr int faAnyFile = 0x000001FF;

// The attributes of a path as described above; -1 when it does not exist.
int FileGetAttr(const UnicodeString &FileName);

struct TSearchState;

struct TSearchRec {
    int Time = 0;          // DOS date-time of the last modification
    Int64 Size = 0;
    int Attr = 0;
    UnicodeString Name;    // the name only, without the folder
    QDateTime TimeStamp;   // the same modification time at full precision
    std::shared_ptr<TSearchState> FindHandle;
};

// Searches the folder of Path for names matching its last part ("*" and "?" wildcards, letter
// case ignored as the system's file system does). An entry is returned when its attributes,
// leaving out faReadOnly, faArchive and faNormal, lie within Attr; so hidden names, system
// entries and folders are returned only when asked for. "." and ".." come first in a folder
// search, as the classic search returns them; the others follow sorted by name. Returns 0 on
// success, else a nonzero error code (2: no match, 3: no such folder; FindNext: 18 at the end).
int FindFirst(const UnicodeString &Path, int Attr, TSearchRec &F);
int FindNext(TSearchRec &F);
void FindClose(TSearchRec &F);

// The names of the folders in Folder, links to folders included and "." and ".." left out, in
// FindFirst's order. Only what the folder's listing tells about each entry is used (an entry is
// looked at by itself only where the file system does not say what it is), so that a folder of
// thousands of entries lists about as fast as its names can be read.
QStringList FindFolderNames(const UnicodeString &Folder);

// Writes the whole file to a temporary file in the same folder and renames it over Path, so
// a failure (folder not writable, disk full, Path naming a folder) leaves the old file as it
// was. Every write, the flush and the sync are checked; on any failure the temporary file is
// removed. A link to a regular file is followed and its file replaced; anything else that is
// not a regular file (a folder, device, pipe or socket, or a link to one) is left untouched
// and refused. Raises EFCreateError naming the path and the reason.
void WriteFileAtomic(const UnicodeString &Path, const QByteArray &Data);

// The file layer's own calls that put data on disk, for a test to stand in for a full disk or
// a failing device. Each has the contract of its POSIX namesake (write, fsync): -1 with errno
// set on failure. An empty function means the system call.
struct TFileWriteHooks {
    std::function<Int64(int Fd, const char *Buf, Int64 Count)> Write;
    std::function<int(int Fd)> Sync;
};
// Installs the hooks for every later WriteFileAtomic; returns the ones in place before.
TFileWriteHooks SetFileWriteHooks(TFileWriteHooks Hooks);

// The bound a reader of the program's own files (settings, parameter, rules, language files)
// puts on their size.
constexpr Int64 DefaultReadLimit = Int64(64) * 1024 * 1024;

// Reads a whole regular file of at most MaxSize bytes; raises EFOpenError naming the path and
// the reason. A folder, device, pipe or socket (or a link to one) is refused without blocking
// and without being read, as is a file larger than MaxSize.
QByteArray ReadFileBytes(const UnicodeString &Path, Int64 MaxSize = DefaultReadLimit);

// The executable's folder, without a trailing delimiter. Tests point it at a temporary folder.
UnicodeString ProgramFolder();
void SetProgramFolder(const UnicodeString &Folder);
// The executable's full path (ParamStr(0)), inside ProgramFolder() when a test moved it.
UnicodeString ExeName();

// --- case-insensitive lookup ---------------------------------------------------------------------
// The existing path that Path names when letter case is ignored: Path itself when it exists as
// written, else each part matched without regard to case (the first match in name order); empty
// when there is none.
UnicodeString FindPathNoCase(const UnicodeString &Path);
