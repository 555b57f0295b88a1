#pragma once
// The settings file "Fabricor.xml" beside the program and the paths of the open
// configuration's files. The main window calls these with its own XML document.

#include "platform/System.h"

class TXMLDocument;
class TXMLNode;

// The settings file, appended to Path_Exe.
inline const UnicodeString Setting_File_Name = QStringLiteral("\\Fabricor.xml");

// Reads Path_Exe + "\Fabricor.xml" into Name_Active_Conf, Last_IP_Address, Language_Name and
// the four option flags. A missing or damaged file, or a damaged entry, gives the defaults of
// the values concerned; nothing is reported. The document holds the file afterwards. With a
// null document a scratch one is used.
void Read_Setting(TXMLDocument *XML1);
// Writes the settings file, replacing it atomically. A failure raises EFCreateError naming the
// file; the old file stays as it was.
void Save_Setting(TXMLDocument *XML1);
// The eleven file paths of the open configuration from Path_Active_Conf.
void Set_Files();

// The root element of a configuration file: the first element at document level, so that an
// XML declaration or a comment in front of it does not hide the content. Null when there is
// none.
TXMLNode Document_Root(TXMLDocument *XML);
