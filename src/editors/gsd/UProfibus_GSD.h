#pragma once
// The PROFIBUS GSD file of the PROFIBUS slave converter: fixed text around the input and output
// sizes of ParGen.xml, cut into modules of at most 64 bytes.

#include "platform/System.h"

class TStringList;

// A DP slave exchanges at most this many bytes in each direction.
constexpr int GSD_Max_Bytes = 244;

// The sizes read last, clamped to 0..GSD_Max_Bytes.
extern int GSD_In_Bytes;
extern int GSD_Out_Bytes;

// The main window's step: error 1104 without ParGen.xml; otherwise reads the sizes, asks for
// the file (".gsd" appended when missing) and before replacing one, then writes it.
void Create_GSD_File();
// Reads GSD_In_Bytes and GSD_Out_Bytes from File_ParGen (0 for what is missing or no number).
void Read_GSD_Sizes();
// The number of modules of Bytes bytes: 64 bytes each, the last one takes the rest.
int GSD_Module_Count(int Bytes);
// The file name to write for the name chosen in the dialog.
UnicodeString GSD_File_Name(const UnicodeString &Chosen);
void Build_GSD_Text(TStringList &Lines);
void Write_GSD_File(const UnicodeString &File_Name);
