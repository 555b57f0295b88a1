#pragma once
// The storage pattern shared by every rule file: one root element named after the content,
// the comment "SW_VERSION = " plus the format version after the root, optional section
// elements, and one "row" element per stored grid row with one attribute per column.

#include "platform/System.h"

#include <QStringList>
#include <vector>

class TXMLDocument;
class TXMLNode;

// "EtherNetIP_Master_Rules.xml": root, format version and the attributes of grid columns 1 to
// 12 in their order.
inline const UnicodeString EtherNetIP_Rules_Root = QStringLiteral("EtherNetIP_Master_Access");
inline const UnicodeString EtherNetIP_Rules_Version = QStringLiteral("1.005");
constexpr int EtherNetIP_Rule_Columns = 12;
// The most rules a configuration holds: the editor's rows and the records of the image.
constexpr int EtherNetIP_Rule_Rows = 10;
extern const char *const EtherNetIP_Rule_Attributes[EtherNetIP_Rule_Columns];

// Empties the document, adds the root element and, unless Version is empty, the comment
// "SW_VERSION = " + Version after it; returns the root.
TXMLNode New_Rule_XML(TXMLDocument *XML, const UnicodeString &Root_Name, const UnicodeString &Version);
// Appends a "row" element to Parent; the cell texts go unchanged into the attributes, in order.
TXMLNode Add_Rule_Row(const TXMLNode &Parent, const char *const Names[], const UnicodeString Values[], int Count);
// The attribute's text, or Default when the node has no such attribute or cannot be read.
UnicodeString Get_Rule_Attribute(const TXMLNode &Row, const UnicodeString &Name, const UnicodeString &Default);
// The section element of that name among the root's children; null when there is none.
TXMLNode Find_Rule_Section(const TXMLNode &Root, const UnicodeString &Name);

// Loads File_Name into XML and returns the rows under its root: the texts of the attributes
// Names[0 .. Count - 1] of the first Max_Rows elements, each read under its own guard with its
// Defaults entry. Comments and text between the rows take no row. Raises when the file is not
// well-formed XML.
std::vector<QStringList> Read_Rule_Rows(TXMLDocument *XML, const UnicodeString &File_Name, const char *const Names[],
                                        const UnicodeString Defaults[], int Count, int Max_Rows);
// Writes File_Name whole (New_Rule_XML, then one "row" per entry of Rows, its texts going to
// the attributes Names in order). A failed write raises and leaves the old file as it was.
void Write_Rule_File(TXMLDocument *XML, const UnicodeString &File_Name, const UnicodeString &Root_Name,
                     const UnicodeString &Version, const char *const Names[], const std::vector<QStringList> &Rows);
