#pragma once
// What the description-file writers share: reading the configuration's XML files with a bound,
// reading an element's text under a guard, and saving a text as the tools on the other side
// expect it (CR LF, no byte-order mark, replaced atomically).

#include "platform/System.h"

class TEncoding;
class TStringList;
class TXMLDocument;
class TXMLNode;

// A configuration file is a few kilobytes; anything far beyond that is not one of ours.
constexpr qint64 Max_Config_File_Size = 16 * 1024 * 1024;

// Loads File_Name into Doc and returns the document's root element. Only a regular file within
// the bound is read (a pipe would block, a huge file would stall the step): anything else
// raises EFOpenError; a file that is not XML raises EDOMParseError; a document without an
// element raises EXMLDocError.
TXMLNode Load_Config_XML(TXMLDocument *Doc, const UnicodeString &File_Name);
// The main window's scratch document, which the EDE and EDS writers share with it; a document of
// this unit when there is no main window (a writer run on its own).
TXMLDocument *Shared_XML();
// The text of Root's first child element Name. False, with Text untouched, when there is no
// such element or it holds elements rather than text.
bool Read_Child_Text(const TXMLNode &Root, const UnicodeString &Name, UnicodeString &Text);
// Lines ended by CR LF, in Encoding, without byte-order mark; the old file is replaced only by
// a complete new one.
void Save_Description_File(TStringList &Lines, const UnicodeString &File_Name, TEncoding *Encoding);
