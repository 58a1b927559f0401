#pragma once

#include "core/stored_settings.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <map>

// User preferences addressed by number. Each id is registered once with its key name in the
// settings store and a default; its value is read at registration and then served from
// memory. A change is written to the store at once and announced by valueChanged(). The store's
// file is replaced whole, so that a failed write (a full device) leaves it as it was, and the
// console says why it failed.
class Preferences : public QObject
{
    Q_OBJECT

public:
    // Opens the platform's settings store of the given organisation and application.
    Preferences(const QString& organisation, const QString& application, QObject* parent = nullptr);

    // Makes the id known under the key name and loads its value, the default when the store
    // has none. The default is not written to the store. Registering an id again replaces its
    // key name and reloads it.
    void registerKey(unsigned int id, const QString& name, const QVariant& defaultValue);

    // The current value, or an invalid variant for an id that was never registered.
    QVariant value(unsigned int id) const;

    // Stores the value and emits valueChanged(), unless it equals the current one. The id must
    // be registered. Returns false when the store could not be written: the value is still in
    // force, the store keeps what it held, and the next write that succeeds stores it too.
    bool setValue(unsigned int id, const QVariant& value);

    // The key name of a registered id; an unknown id is a fatal error.
    QString keyName(unsigned int id) const;

signals:
    void valueChanged(uint id, const QVariant& value);

protected:
    // Where values go and come from; subclasses may store or convert them differently. A
    // write returns false when the value could not be stored.
    virtual bool writeValue(unsigned int id, const QVariant& value);
    virtual QVariant readValue(unsigned int id, const QVariant& defaultValue);

private:
    std::map<unsigned int, QString> keyLookup;
    std::map<unsigned int, QVariant> valueCache;
    // Read when the preferences are made; changes whose write failed stay in it and go with the
    // next write.
    StoredSettings settings;
};
