#include "core/preferences.h"

#include "core/assertion.h"

Preferences::Preferences(const QString& organisation, const QString& application, QObject* parent)
    : QObject(parent),
      settings(QSettings::NativeFormat, QSettings::UserScope, organisation, application)
{
}

void Preferences::registerKey(unsigned int id, const QString& name, const QVariant& defaultValue)
{
    keyLookup[id] = name;
    valueCache[id] = readValue(id, defaultValue);
}

QVariant Preferences::value(unsigned int id) const
{
    const auto iValue = valueCache.find(id);
    return iValue == valueCache.end() ? QVariant() : iValue->second;
}

void Preferences::setValue(unsigned int id, const QVariant& value)
{
    const auto iValue = valueCache.find(id);
    if (iValue != valueCache.end() && iValue->second == value)
        return;
    valueCache[id] = value;
    writeValue(id, value);
    emit valueChanged(id, value);
}

QString Preferences::keyName(unsigned int id) const
{
    const auto iKey = keyLookup.find(id);
    VELMORA_ASSERT(iKey != keyLookup.end());
    return iKey->second;
}

void Preferences::writeValue(unsigned int id, const QVariant& value)
{
    settings.setValue(keyName(id), value);
}

QVariant Preferences::readValue(unsigned int id, const QVariant& defaultValue)
{
    return settings.value(keyName(id), defaultValue);
}
