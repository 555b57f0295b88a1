#pragma once
// Rich text in RTF, the subset the grid stores in its cells: font and colour tables, bold,
// italic, underline, colour, font and size, sub- and superscript, paragraphs, line breaks, tabs,
// 8-bit characters as \'hh (Windows-1252) and others as \uN. Groups the reader does not know
// (\* destinations, pictures, style sheets, document information, ...) are skipped whole.
//
// The reader takes any bytes: a damaged or truncated document gives what could be read, never
// a crash; groups nested deeper than a fixed bound are skipped.

#include <QByteArray>

class QTextDocument;

// True when the bytes start as an RTF document ("{\rtf").
bool IsRtf(const QByteArray &Bytes);
// Replaces the document's contents with what the RTF bytes say.
void RtfToDocument(const QByteArray &Rtf, QTextDocument *Doc);
// The document as 8-bit RTF (every byte below 128).
QByteArray DocumentToRtf(const QTextDocument *Doc);
