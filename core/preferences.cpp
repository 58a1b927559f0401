#include "core/preferences.h"

#include "core/assertion.h"

#include <QDebug>

Preferences::Preferences(const QString& organisation, const QString& application, QObject* parent)
    : QObject(parent), settings(organisation, application)
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

bool Preferences::setValue(unsigned int id, const QVariant& value)
{
    const auto iValue = valueCache.find(id);
    if (iValue != valueCache.end() && iValue->second == value)
        return true;
    valueCache[id] = value;
    const bool stored = writeValue(id, value);
    emit valueChanged(id, value);
    return stored;
}

QString Preferences::keyName(unsigned int id) const
{
    const auto iKey = keyLookup.find(id);
    VELMORA_ASSERT(iKey != keyLookup.end());
    return iKey->second;
}

bool Preferences::writeValue(unsigned int id, const QVariant& value)
{
    settings.setValue(keyName(id), value);
    QString reason;
    if (!settings.sync(&reason)) {
        // The change stays in force for this run; the console says why it was not stored.
        qWarning().noquote() << QStringLiteral("The preferences could not be stored in %1: %2")
                                    .arg(settings.fileName(), reason);
        return false;
    }
    return true;
}

QVariant Preferences::readValue(unsigned int id, const QVariant& defaultValue)
{
    return settings.value(keyName(id), defaultValue);
}
