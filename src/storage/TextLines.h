#pragma once
// The lines of the text files the program writes and reads (settings files,
// reference waveforms, the data export): one item per line, every line
// written with a carriage return and a line feed; a reader accepts CR LF, CR
// or LF, and a last line with or without its ending.
//
// SplitLines and JoinLines are pure; ReadTextLines and WriteTextLines do the
// file's I/O around them, the write replacing the file whole or not at all.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace text_lines {

// "a\r\nb\rc\nd" gives a, b, c, d; a text ending in a line break has no empty
// line after it; an empty text has no lines. A CR LF is one break.
QStringList SplitLines(QStringView text);

// Every line followed by CR LF.
QString JoinLines(const QStringList& lines);

// The bytes of a text file as text: UTF-8 when they are valid UTF-8, else
// Latin-1, so a file written by an older 8-bit program still reads.
QString DecodeText(const QByteArray& bytes);

// A text file is a few hundred kilobytes at most; a larger one is refused
// rather than read until memory runs out.
inline constexpr qint64 MaxTextFileBytes = 16 * 1024 * 1024;

// The lines of the file; throws ScopeError "Cannot open file <path>" when it
// cannot be opened or read, is not a regular file or is larger than
// MaxTextFileBytes.
QStringList ReadTextLines(const QString& path);

// Writes the lines (UTF-8, CR LF) to the file, replacing it atomically: a
// failure or a crash leaves the old file as it was. Throws ScopeError
// "Cannot create file <path>" when it cannot be written.
void WriteTextLines(const QString& path, const QStringList& lines);

}  // namespace text_lines
