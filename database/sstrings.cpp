#include "database/sstrings.h"

#include "database/table_set.h"
#include "engine/model_file.h"

namespace orvek {

void TSStrings::EncodeString(const QByteArray& text, QByteArray& result) const
{
    const auto& key = ModelFileKeyTable();
    result = text;
    for (qsizetype i = 0; i < result.size(); ++i)
        result[i] = char(quint8(result[i]) ^ key[size_t(i % qsizetype(key.size()))]);
}

void TSStrings::DecodeString(const QByteArray& text, QByteArray& result) const
{
    EncodeString(text, result);
}

QList<QByteArray> TSStrings::WriteHStr() const
{
    QList<QByteArray> stored;
    for (const QString& line : Strings) {
        QByteArray encoded;
        EncodeString(line.toUtf8(), encoded);
        stored << encoded;
    }
    return stored;
}

void TSStrings::ReadHStr(const QList<QByteArray>& stored)
{
    Strings.clear();
    for (const QByteArray& entry : stored) {
        QByteArray decoded;
        DecodeString(entry, decoded);
        Strings << QString::fromUtf8(decoded);
    }
}

QString TSStrings::Value(const QString& name) const
{
    return EntryValue(Strings, name);
}

} // namespace orvek
