#include "platform/registry.h"

#include <QLocale>
#include <QSettings>
#include <QVariant>
#include <cmath>

namespace orvek {

namespace {

std::unique_ptr<QSettings> OpenStore()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Kestrava", "Orvek");
}

// Plain values come back from the INI file as text; binary ones as QByteArray.
std::optional<QString> TextOf(const QVariant& v)
{
    if (!v.isValid() || v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString();
}

} // namespace

TRegistry::TRegistry()
    : settings_(OpenStore())
{
}

TRegistry::~TRegistry()
{
    CloseKey();
}

QString TRegistry::GroupPath(const QString& key)
{
    QString path = key;
    path.replace('\\', '/');
    while (path.startsWith('/'))
        path.remove(0, 1);
    while (path.endsWith('/'))
        path.chop(1);
    return path;
}

bool TRegistry::KeyExists(const QString& key) const
{
    auto store = OpenStore();
    store->beginGroup(GroupPath(key));
    return !store->childKeys().isEmpty() || !store->childGroups().isEmpty();
}

bool TRegistry::OpenKey(const QString& key, bool canCreate)
{
    CloseKey();
    if (!canCreate && !KeyExists(key))
        return false;
    settings_ = OpenStore();
    settings_->beginGroup(GroupPath(key));
    open_ = true;
    return true;
}

bool TRegistry::CloseKey()
{
    if (!open_)
        return true;
    settings_->endGroup();
    settings_->sync();
    open_ = false;
    return settings_->status() == QSettings::NoError;
}

bool TRegistry::DeleteKey(const QString& key)
{
    auto store = OpenStore();
    store->remove(GroupPath(key));
    store->sync();
    return store->status() == QSettings::NoError;
}

bool TRegistry::ValueExists(const QString& name) const
{
    return open_ && settings_->contains(name);
}

std::optional<int> TRegistry::ReadInteger(const QString& name) const
{
    if (!open_)
        return std::nullopt;
    auto text = TextOf(settings_->value(name));
    if (!text)
        return std::nullopt;
    bool ok = false;
    int value = text->toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<bool> TRegistry::ReadBool(const QString& name) const
{
    auto value = ReadInteger(name);
    return value ? std::optional<bool>(*value != 0) : std::nullopt;
}

std::optional<double> TRegistry::ReadFloat(const QString& name) const
{
    if (!open_)
        return std::nullopt;
    auto text = TextOf(settings_->value(name));
    if (!text)
        return std::nullopt;
    bool ok = false;
    double value = QLocale::c().toDouble(*text, &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<QString> TRegistry::ReadString(const QString& name) const
{
    if (!open_)
        return std::nullopt;
    return TextOf(settings_->value(name));
}

std::optional<QByteArray> TRegistry::ReadBinary(const QString& name, int length) const
{
    if (!open_)
        return std::nullopt;
    QVariant v = settings_->value(name);
    if (!v.isValid() || v.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    QByteArray bytes = v.toByteArray();
    if (bytes.size() != length)
        return std::nullopt;
    return bytes;
}

// Values reach the disk together when the key is closed; a store that already
// failed to write reports it here.
bool TRegistry::Written()
{
    return settings_->status() == QSettings::NoError;
}

bool TRegistry::WriteInteger(const QString& name, int value)
{
    if (!open_)
        return false;
    settings_->setValue(name, QString::number(value));
    return Written();
}

bool TRegistry::WriteBool(const QString& name, bool value)
{
    return WriteInteger(name, value ? 1 : 0);
}

bool TRegistry::WriteFloat(const QString& name, double value)
{
    if (!open_)
        return false;
    settings_->setValue(name, QString::number(value, 'g', QLocale::FloatingPointShortest));
    return Written();
}

bool TRegistry::WriteString(const QString& name, const QString& value)
{
    if (!open_)
        return false;
    settings_->setValue(name, value);
    return Written();
}

bool TRegistry::WriteBinary(const QString& name, const QByteArray& value)
{
    if (!open_)
        return false;
    settings_->setValue(name, value);
    return Written();
}

bool TRegistry::DeleteValue(const QString& name)
{
    if (!open_)
        return false;
    settings_->remove(name);
    return Written();
}

} // namespace orvek
