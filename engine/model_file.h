#pragma once
// Model files (".stm"): the diagram text, UTF-8, scrambled with a fixed 200-byte XOR
// table and followed by one 0 byte. Unscrambled (plain) files are read too.

#include <QByteArray>
#include <QString>
#include <array>

namespace orvek {

class TCell;

// The fixed key table. The data module's enciphered string list uses it too.
const std::array<quint8, 200>& ModelFileKeyTable();

// XOR with the table from its first byte (byte i with table byte i mod 200).
QByteArray ScrambleXor(const QByteArray& text);
QByteArray ScrambleChunk(const QByteArray& text);
// The text in chunks of 250 bytes, each XORed from the table's start: byte n with table
// byte (n mod 250) mod 200. Scrambling twice gives the text back.
QByteArray ScrambleModelText(const QByteArray& text);
QByteArray UnscrambleModelText(const QByteArray& text);

// Writes Text and one 0 byte through a save file (a failed write leaves the old file).
bool WriteTextWithNul(const QByteArray& text, const QString& fileName, QString* error = nullptr);
// Scrambles the UTF-8 text and writes it with its 0 byte.
bool WriteScrambledModelFile(const QString& fileName, const QString& text, QString* error = nullptr);
// The whole file, its final 0 byte included. Files over the diagram size limit are refused.
bool ReadWholeFile(const QString& fileName, QByteArray& text, QString* error = nullptr);
// Writes the plain text of a model file (and one CR LF) to TargetName.
bool UnscrambleModelFile(const QString& sourceName, const QString& targetName, QString* error = nullptr);
// The same into a new unique ".tmp" file of the temporary folder; the caller deletes it.
bool UnscrambleModelFileToTemp(const QString& fileName, QString& tempName, QString* error = nullptr);

// Reads a model file into Cell (through a temporary plain file, removed afterwards).
bool LoadModelFile(TCell& cell, const QString& fileName, QString* error = nullptr);
// Writes the diagram text of Root as a model file.
bool SaveModelFile(TCell& root, const QString& fileName, QString* error = nullptr);

// The program's temporary folder, with a trailing "/".
QString TemporaryFolder();

} // namespace orvek
