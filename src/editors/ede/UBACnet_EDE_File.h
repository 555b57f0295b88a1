#pragma once
// The BACnet engineering data exchange file (EDE layout 2): a short header and one line per
// BACnet object of the object rules, numbered per object type.

#include "platform/System.h"

#include <array>
#include <vector>

class TStringList;

// One object line; the fields in the order of the file's columns.
class TBACnet_EDE_Obj {
public:
    UnicodeString Keyname;
    UnicodeString DevObjInstance;
    UnicodeString ObjectName;
    UnicodeString ObjectType;
    UnicodeString ObjectInstance;
    UnicodeString Description;
    UnicodeString UnitCode;
};

constexpr int EDE_Object_Type_Count = 18;

// The objects of the generation under way.
extern std::vector<TBACnet_EDE_Obj> EDE_Objects;
// One counter per object type of the type table, zeroed at each generation.
extern std::array<int, EDE_Object_Type_Count> EDE_Instance_Counters;
// Kept from one generation to the next: a ParGen.xml without the elements leaves them.
extern UnicodeString EDE_Device_Instance;
extern bool EDE_Long_Names;

// The main window's EDE step, with the file name it asked for.
void Create_EDE_File(const UnicodeString &File_Name);
// One generation: reads ParGen.xml and the object rules and writes the file. A rule file that
// is not XML, or lacks a section or a row attribute, raises and writes nothing.
void Generate_EDE_File(const UnicodeString &File_Name);
void Clear_Instance_Counters();
void Read_ParGen_EDE();
void Read_BACnet_Objects();
// The BACnet object type of a Data_Type text (trimmed and upper-cased); 0 for any other text.
int Get_Object_Type(const UnicodeString &Name);
int Next_Object_Instance(int Object_Type);
// The clock as "hh:nn:ss dd/mm/yyyy".
UnicodeString Get_Time_Stamp();
UnicodeString Get_EDE_Name_Part();
void Build_EDE_Text(TStringList &Lines);
void Write_EDE_File(const UnicodeString &File_Name);
