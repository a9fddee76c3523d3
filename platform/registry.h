#pragma once
// The per-user settings store. Keys keep the path form of the settings they hold
// ("\Software\Kestrava\Orvek\Setup"); all of them live in one INI file of the user's
// configuration folder. A value of another form or length than asked for counts as
// missing, so a hand-edited or damaged file falls back to defaults instead of failing.

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

class QSettings;

namespace orvek {

class TRegistry {
public:
    TRegistry();
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    bool KeyExists(const QString& key) const;
    // Opens Key for the reads and writes below; with CanCreate a missing key is made.
    bool OpenKey(const QString& key, bool canCreate);
    // Writes what was saved to disk and closes the key.
    bool CloseKey();
    bool DeleteKey(const QString& key);

    bool ValueExists(const QString& name) const;
    std::optional<int> ReadInteger(const QString& name) const;
    std::optional<bool> ReadBool(const QString& name) const;
    std::optional<double> ReadFloat(const QString& name) const;
    std::optional<QString> ReadString(const QString& name) const;
    std::optional<QByteArray> ReadBinary(const QString& name, int length) const;

    bool WriteInteger(const QString& name, int value);
    bool WriteBool(const QString& name, bool value);
    bool WriteFloat(const QString& name, double value);
    bool WriteString(const QString& name, const QString& value);
    bool WriteBinary(const QString& name, const QByteArray& value);
    bool DeleteValue(const QString& name);

    // "\Software\X" -> "Software/X".
    static QString GroupPath(const QString& key);

private:
    bool Written();

    std::unique_ptr<QSettings> settings_;
    bool open_ = false;
};

} // namespace orvek
