#pragma once
// The compiler of the configuration image "bin\bank.bin": the parameter block with its
// checksum, read from "ParGen.xml", followed by ten slave access rule records read from
// "EtherNetIP_Master_Rules.xml". Every number in the image is little-endian.

#include "platform/System.h"

class TXMLDocument;

constexpr int Par_Bin_Size = 2048;
constexpr int Rule_Bin_Count = 10;
constexpr int Rule_Bin_Size = 32;
constexpr int Image_Bin_Size = 131072;
// The device address of the rule records: the image lies at 0x68000 in the device.
constexpr LongWord Rules_Device_Address = 0x00068800;

// One slave access rule record as it lies in the image.
struct TRule_Bin {
    Byte IP[4];
    Word Start_Input;
    Word Num_Input;
    Word Offset_Input;
    Word Start_Output;
    Word Num_Output;
    Word Offset_Output;
    Word Instance_T_O;
    Word Connection_Point_T_O;
    Word Instance_O_T;
    Word Connection_Point_O_T;
    LongWord Time_Poll;
    LongWord Reserved;
};

extern Byte Par_Bin[Par_Bin_Size];
extern TRule_Bin Rules_Bin[Rule_Bin_Count];
extern Byte Image_Bin[Image_Bin_Size];
extern int Image_Len;

// Composes the image from File_ParGen and File_EtherNetIP_Master_Rules. Both files are loaded
// into XML1, which holds the last one afterwards (a scratch document when XML1 is null). A file
// that is not well-formed XML raises EDOMParseError and the image is left unfinished.
void Create_Bin(TXMLDocument *XML1);
// Writes the first Image_Len bytes of the image to Path_Active_Conf + "\bin\bank.bin",
// replacing the file atomically; raises EFCreateError naming the file when it cannot be written
// or when no whole image was composed (a composition that failed leaves none).
void Save_Bin();

// The steps of Create_Bin and Save_Bin.
void Compile_Bin(TXMLDocument *XML1);
void Init_Par_Bin();
void Clear_Rules_Bin();
void Read_ParGen_Bin(TXMLDocument *XML1);
void Read_EtherNetIP_Rules_Bin(TXMLDocument *XML1);
int Add_Par_Bin(int Pos, Byte *Buffer);
int Add_Rules_Bin(int Pos, Byte *Buffer);
void Write_Bin();
