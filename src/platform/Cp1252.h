#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The one conversion between the files' Windows-1252 bytes and text.
// Every byte maps to exactly one character and back, the five bytes the
// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) to the control
// characters of the same value, so reading and writing keeps all 256 bytes.
QString decode1252(const QByteArray& bytes);
QByteArray encode1252(const QString& text);
// The same for a part of a buffer, and appending to one, without copies.
QString decode1252(QByteArrayView bytes);
void appendEncoded1252(QByteArray& out, QStringView text);

// True when the character has a Windows-1252 byte (the five undefined
// control characters are not counted: a user cannot mean them).
bool isRepresentable1252(QChar c);
