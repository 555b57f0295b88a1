#pragma once
// The PROFINET device description (GSDML V2.31) of the PROFINET slave converter: the station
// name of ParGen.xml and one module per EtherNet/IP rule, everything else fixed.

#include "platform/System.h"

#include <array>
#include <utility>

class TStringList;

constexpr int GSDML_Max_Modules = 10;

// What the last call read; each call starts from an empty name and no modules, so that a
// configuration never gets another one's modules.
extern UnicodeString GSDML_Station_Name;
extern int GSDML_Module_Count;
// Num_Input and Num_Output of rule k.
extern std::array<std::pair<int, int>, GSDML_Max_Modules> GSDML_Module_Sizes;

// The main window's PROFINET step, after the file-name dialog: asks for the folder, asks
// before replacing the file there, then writes it.
void Create_PROFINET_XML(const UnicodeString &File_Name);
void Read_PROFINET_Data();
void Build_PROFINET_Text(TStringList &Lines);
void Write_PROFINET_XML(const UnicodeString &File_Name);
// Text for an attribute value of a file that is plain ASCII whatever its declaration says:
// & < > " as entities, everything outside printable ASCII as a character reference.
UnicodeString GSDML_Attribute_Text(const UnicodeString &S);
