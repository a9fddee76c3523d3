#pragma once
// A list of name=value strings kept enciphered where it is stored: each entry's bytes
// (UTF-8) are XORed with the model files' key table, byte i with key byte i mod 200.
// Encoding and decoding are the same operation.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvek {

class TSStrings {
public:
    virtual ~TSStrings() = default;

    QStringList Strings;

    virtual void EncodeString(const QByteArray& text, QByteArray& result) const;
    virtual void DecodeString(const QByteArray& text, QByteArray& result) const;

    // The stored form "HStr": one enciphered entry per line of Strings; nothing is
    // stored for an empty list. Reading replaces Strings by the decoded entries.
    QList<QByteArray> WriteHStr() const;
    void ReadHStr(const QList<QByteArray>& stored);

    // The value of entry Name ("Name=value"); empty when missing.
    QString Value(const QString& name) const;
};

} // namespace orvek
