#pragma once
// The configurator's global state (open configuration, folders, identity of this build, user
// options, shared lists) and the value checks that several editors share.

#include "platform/Classes.h"
#include "platform/FileUtils.h"
#include "platform/System.h"

#include <functional>
#include <memory>

class TExtColumnGrid;
class TWinControl;

inline const UnicodeString Const_SW_Code = QStringLiteral("CF40385");
inline const UnicodeString Const_SW_Desc = QStringLiteral("EtherNet/IP Master / Serial Port - Converter");
inline const UnicodeString Const_SW_Code_Web = QStringLiteral("CF40385");
// The main window's caption; the trailing blank belongs to it.
inline const UnicodeString Const_Caption_Main = QStringLiteral("VeltraCorp - Configurator CF40385 - EtherNet/IP Master / Serial Port ");

// Used when the settings file gives no device address.
inline const UnicodeString Default_IP_Address = QStringLiteral("192.168.2.205");
inline const UnicodeString Default_Language = QStringLiteral("English");

extern UnicodeString Name_Active_Conf;
extern UnicodeString Path_Active_Conf;
extern UnicodeString Path_Projects;
extern UnicodeString Path_Exe;
extern UnicodeString Path_Master;
extern UnicodeString Path_Language;
extern UnicodeString Caption_Main;
extern UnicodeString SW_Code;
extern UnicodeString SW_Desc;
extern UnicodeString Last_IP_Address;
extern int Update_Type;
extern bool Update_Read_Back;
extern UnicodeString Language_Name;
extern bool Opt_Internet;
extern bool Opt_Check_Update;
extern bool Opt_Jump_Field;
extern bool Opt_AutoSize_Col;
extern std::unique_ptr<TStringList> SL_Copy_Row;
extern UnicodeString File_CAN_Rec_Frames;
extern UnicodeString File_ParGen;
extern UnicodeString File_EtherNetIP_Master_Rules;
extern UnicodeString File_SNMP_Trap;
extern UnicodeString File_CAN_Send_Frames;
extern UnicodeString File_BACnet_Slave_SetAccess;
extern UnicodeString File_KNX_SetAccess;
extern UnicodeString File_MQTT_Set_Topic;
extern UnicodeString File_PDO_CANopen;
extern UnicodeString File_SDO_Client_CANopen;
extern UnicodeString File_SDO_Server_CANopen;
extern std::unique_ptr<TStringList> SL_MIB_Desc_Read;
extern std::unique_ptr<TStringList> SL_MIB_Desc_Write;

// Start-up: the program's folders from Path_Exe (no folder is created here).
void Set_Program_Paths(const UnicodeString &Exe_Folder);
// Start-up: Caption_Main, SW_Code and SW_Desc of this build.
void Set_Identity_Texts();
// Start-up: the shared lists, empty.
void Create_Common_Lists();

// The names that the file search finds for Pattern with the search attributes Attr, in the
// order it returns them, as far as Accept takes their entries.
QStringList Find_File_Names(const UnicodeString &Pattern, int Attr,
                            const std::function<bool(const TSearchRec &)> &Accept);

// True when Text is a dotted IPv4 address of four octets 0..255; the octet texts split so far
// are returned trimmed, also when the result is false.
bool Check_IP_Address(const UnicodeString &Text, UnicodeString &IP1, UnicodeString &IP2,
                      UnicodeString &IP3, UnicodeString &IP4);
// Converts a dotted IPv4 text into four bytes; true means an error. A part that is not a
// number 0..255 gives 0; the valid parts are written all the same. An empty text writes nothing.
bool Conv_IP_Address(const UnicodeString &Text, Byte &B1, Byte &B2, Byte &B3, Byte &B4);
bool Is_Not_Dotted(const UnicodeString &Text);
// 0 for a valid, 1 for an invalid KNX individual (a.b.c, a.b, n) or group (a/b/c, a/b, n) address.
int Check_KNX_Address(const UnicodeString &Text, bool Is_Group, bool Allow_Zero);
// The numbers (decimal texts, ascending) of the serial ports that exist, busy ones included.
std::unique_ptr<TStringList> Find_ComPorts();

// ---- the rule editors' grids ----

// A grid filling Parent: the fixed number column and Columns - 1 rule columns, the header row
// (Header_Height high; 0 keeps the default) and Rows rule rows; columns sizeable, every cell
// editable in place, hints over the cells.
TExtColumnGrid *New_Rule_Grid(TComponent *Owner, TWinControl *Parent, int Columns, int Rows, int Header_Height);
// Column Col holds a centred box whose state is "Y" or "N".
void Set_Check_Column(TExtColumnGrid *Grid, int Col);

// ---- row operations of the rule editors' grids ----
// "Every column" means the columns 1 onwards, hidden ones included; column 0 keeps the row
// numbers. A row outside the grid's rule rows (the fixed rows and beyond the last) is left alone.

// Moves the rows below Row up over it; the last row becomes blank. The caller asks first.
void Delete_Row_Grid(int Row, TExtColumnGrid *Grid);
// Moves the rows from Row down (the last row's texts are lost) and blanks Row; with Set_Enable
// its column 1 becomes "Y".
void Insert_Row_Grid(int Row, TExtColumnGrid *Grid, bool Set_Enable);
// SL_Copy_Row := the texts of Row, in column order.
void Copy_Row_Grid(TExtColumnGrid *Grid, int Row);
// Writes SL_Copy_Row into Row. Refused with a message when nothing of this grid was copied since
// its form was shown (Do_Copy false) or the copied row has another number of columns; a row
// that holds text outside its check-box columns is overwritten only when the user says Yes.
void Paste_Row_Grid(TExtColumnGrid *Grid, int Row, bool Do_Copy);
// A double click on a header cell sizes its column to the content, when the user wants it.
void DblClickCell_Grid(TExtColumnGrid *Grid, int ARow, int ACol);
// With Opt_Jump_Field, Enter moves to the next cell, row by row and from the last back to the
// first, and never reaches the grid.
void KeyPress_Grid(TExtColumnGrid *Grid, WideChar &Key);
