#pragma once
// The SNMP MIB of the converter: one object per enabled read and write rule of SNMP_Trap.xml
// and one notification per enabled read rule, as a module an SNMP manager compiles.

#include "platform/System.h"

#include <vector>

class TStringList;

// One per collected description, in the order of SL_MIB_Desc_Read and SL_MIB_Desc_Write: 1
// when its rule has the integer type, else 0.
extern std::vector<Byte> MIB_Type_Flags_Read;
extern std::vector<Byte> MIB_Type_Flags_Write;

// The main window's step: asks for the file through SaveMIB, asks before replacing one, then
// collects the rules and writes the MIB. A rule file that is not XML raises; nothing is written.
void Create_MIB_File();
// Fills SL_MIB_Desc_Read, SL_MIB_Desc_Write and their flags from File_SNMP_Trap (emptied
// first; nothing more when the file is missing).
void Read_SNMP_Trap_Desc();
// The MIB of the collected descriptions.
void Build_MIB_Text(TStringList &Lines);
void Write_MIB_File(const UnicodeString &File_Name);
