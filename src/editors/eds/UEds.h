#pragma once
// The CANopen electronic data sheet of the converter as a CANopen slave: its fixed
// communication objects, three objects per receive and transmit PDO of PDO_CANopen.xml and one
// manufacturer object per index of SDO_Server_CANopen.xml.

#include "platform/SysUtils.h"
#include "platform/System.h"

#include <array>
#include <vector>

class TStringList;

struct EDS_PDO_Entry {
    int COB_ID = 0;
    int Dimension = 8;
};

struct SDO_Sub_Type {
    Byte Sub = 0;
    int Quantity = 0;
    bool Readonly = false;
    UnicodeString Mnemonic;
};

struct SDO_Index {
    Word Index = 0;
    std::vector<SDO_Sub_Type> Sub_Indexs;
};

// The PDO editor's grids hold 30 rows of each kind; entries 0..29 receive, 30..59 transmit.
constexpr int EDS_Max_PDO = 30;
extern std::array<EDS_PDO_Entry, 2 * EDS_Max_PDO> EDS_PDO_Table;
extern int EDS_Num_RxPDO;
extern int EDS_Num_TxPDO;
extern std::vector<SDO_Index> EDS_SDO_Indexs;

// The SDO server objects lie in the manufacturer range that the SDO server editor allows.
constexpr int EDS_SDO_Index_Low = 0x2000;
constexpr int EDS_SDO_Index_High = 0x5FFF;

// Builds and saves the file (replaced without a question). A rule file that is not XML, or an
// SDO row whose Index, SubIndex or NByte is missing, no number or out of range, raises and
// writes nothing.
void Write_EDS_File(const UnicodeString &File_Name);
void Read_PDO_EDS();
void Read_SDO_Server_EDS();
int Find_SDO_Index(int Index);
// Adds a sub-index; a sub-index the index already has is dropped (the first one stays).
void Add_SDO_Sub(int Index, int Sub, int Quantity, bool Readonly);
void Sort_SDO_Sub_Indexs();
// "MM-DD-YYYY" and the time as "hh:mmAM"/"hh:mmPM" of one clock reading.
UnicodeString EDS_Date(TDateTime When);
UnicodeString EDS_Time(TDateTime When);
void Build_EDS_Text(TStringList &Lines, TDateTime When);
