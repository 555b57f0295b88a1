#pragma once
// The walk of an XML document for the string grid's XML import. It lives apart from the grid
// so that the DOM's names and the grid's never meet in one unit.

#include "platform/System.h"

// Receives the cells the walk finds, by column and row counters relative to where the import
// starts (the row counter may stand at -1 before the first level of a document).
struct TGridXmlSink {
    virtual ~TGridXmlSink() = default;
    // A value (entities of the grid's files already turned back); Name is the element's or
    // attribute's name, NameWanted whether it is a candidate for the row of field names.
    virtual void Store(int Col, int Row, const UnicodeString &Name, const UnicodeString &Value, bool NameWanted) = 0;
    // An element without content.
    virtual void StoreEmpty(int Col, int Row) = 0;
};

// Reads the file and hands every cell to Sink. Raises "XML file not found" and "XMLDOM Parsing
// error <code> on line <line>"; whatever Sink raises ends the walk.
void WalkGridXml(const UnicodeString &FileName, bool LevelToRow, bool LoadFieldDescr, bool QuoteEmptyCells,
                 TGridXmlSink &Sink);

// A cell text as the grid's XML files keep it: "&" as "$amp;", then ">", "<" and the double
// quote as entities. Characters that XML 1.0 cannot carry at all (control characters but tab,
// LF and CR; U+FFFE, U+FFFF, unpaired surrogates) go as "$#" + decimal code + ";", so that
// the file stays well-formed; a "$" that would read as the start of either form goes as "$#36;".
// CR goes as a character reference, which, unlike a raw one, no parser turns into LF.
UnicodeString EscapeGridXmlField(const UnicodeString &Text);

// The reverse of EscapeGridXmlField: "$amp;" and the "$#" forms, then "&gt;", "&lt;" and
// "&quot;" back into the characters they stand for.
UnicodeString UnescapeGridXmlField(const UnicodeString &Text);
