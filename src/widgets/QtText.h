#pragma once

#include <QString>

#include <string>

// The rules and the character keep text as the bytes read from files. The program shows them
// as UTF-8; bytes that do not form valid UTF-8 are taken as Latin-1, one character each, so
// that old data files written in an 8-bit code page still show their accented letters.
QString FromCore(const std::string& text);

// Text typed by the user goes back to the core as UTF-8.
std::string ToCore(const QString& text);

// `text` with each character case-folded, as comparisons ignoring case fold it (no character
// turns into two): two texts are equal, or one holds the other, ignoring case exactly when
// their folded forms are or do. For keys and searches that fold a text once.
QString FoldCase(const QString& text);
