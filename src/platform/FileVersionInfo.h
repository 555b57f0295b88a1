#pragma once
// The version resource of a file, as the classic version calls hand it out: the size of the
// block, the block, and the fixed file information under the root "\".
//
// The stand-in knows the modules that VersionInfo.h answers for. A program that is to behave as
// on another system may describe a module's version there (SetModuleFileVersion); the calls
// below then report that version.

#include "platform/Messages.h"
#include "platform/System.h"
#include "platform/Windows.h"

inline constexpr DWORD VS_FFI_SIGNATURE = 0xFEEF04BDu;

struct VS_FIXEDFILEINFO {
    DWORD dwSignature = VS_FFI_SIGNATURE;
    DWORD dwStrucVersion = 0x00010000u;
    DWORD dwFileVersionMS = 0;
    DWORD dwFileVersionLS = 0;
    DWORD dwProductVersionMS = 0;
    DWORD dwProductVersionLS = 0;
    DWORD dwFileFlagsMask = 0x3F;
    DWORD dwFileFlags = 0;
    DWORD dwFileOS = 0x00040004u;
    DWORD dwFileType = 2;
    DWORD dwFileSubtype = 0;
    DWORD dwFileDateMS = 0;
    DWORD dwFileDateLS = 0;
};

// Bytes of the version block; 0 for a file without version information. Handle is set to 0.
DWORD GetFileVersionInfoSize(const UnicodeString &FileName, DWORD *Handle);
// Copies the block into Data (Len bytes at least); false when the file has none or Len is short.
BOOL GetFileVersionInfo(const UnicodeString &FileName, DWORD Handle, DWORD Len, void *Data);
// Points Buffer at the value of SubBlock inside Block: only the root "\" (the fixed file
// information) is known. False for any other name or a block not made by GetFileVersionInfo.
BOOL VerQueryValue(const void *Block, const UnicodeString &SubBlock, void **Buffer, UINT *Len);

// The file version (major in the high word, minor in the low word) that the calls above report
// for a module; 0xFFFFFFFF makes it a file without version information. Names as in
// GetFileVersion (VersionInfo.h).
void SetModuleFileVersion(const UnicodeString &Module, Cardinal Version);
// Back to the versions of the system the program was made for.
void ResetModuleFileVersions();
