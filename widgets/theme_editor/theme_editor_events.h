#pragma once

#include "velmora_objects/velmora_types.h"

#include <QEvent>
#include <QString>
#include <QVariant>

// The changes the theme editor's commands post to the editor after they have changed the
// edited theme, so that it refreshes its skin list, property sheets and preview. They carry
// names, item types and values only, never pointers into the theme. The type numbers are the
// editor's own (they overlap the application's event numbers); the editor tells the classes
// apart by the number and then by a dynamic cast.

// A default item property of the type now has the value (invalid: the theme holds none).
class DefaultSkinPropertyChangedEvent : public QEvent
{
public:
    static constexpr Type EventType = Type(1000);
    DefaultSkinPropertyChangedEvent(const QString& propertyName, Velmora::ThemedItemType itemType,
                                    QVariant value);
    ~DefaultSkinPropertyChangedEvent() override;

    QString propertyName;
    Velmora::ThemedItemType itemType;
    QVariant value;
};

// A property of a skin now has the value; invalid when the run removed the property, whose
// former type propertyType then gives.
class SkinPropertyChangedEvent : public QEvent
{
public:
    static constexpr Type EventType = Type(1001);
    SkinPropertyChangedEvent(const QString& propertyName, const QString& skinName,
                             Velmora::SkinPropertyType propertyType,
                             Velmora::ThemedItemType itemType, QVariant value);
    ~SkinPropertyChangedEvent() override;

    QString propertyName;
    QString skinName;
    Velmora::SkinPropertyType propertyType;
    Velmora::ThemedItemType itemType;
    QVariant value;
};

// A skin of the type, under its current name.
class SkinEvent : public QEvent
{
public:
    SkinEvent(Type type, const QString& skinName, Velmora::ThemedItemType itemType);
    ~SkinEvent() override;

    QString skinName;
    Velmora::ThemedItemType itemType;
};

class SkinAddedEvent : public SkinEvent
{
public:
    static constexpr Type EventType = Type(1002);
    SkinAddedEvent(const QString& skinName, Velmora::ThemedItemType itemType);
};

// skinName is the name of the skin just removed.
class SkinRemovedEvent : public SkinEvent
{
public:
    static constexpr Type EventType = Type(1003);
    SkinRemovedEvent(const QString& skinName, Velmora::ThemedItemType itemType);
};

// skinName is the type's default skin now; empty when the type has none.
class DefaultSkinChangedEvent : public SkinEvent
{
public:
    static constexpr Type EventType = Type(1005);
    DefaultSkinChangedEvent(const QString& skinName, Velmora::ThemedItemType itemType);
};

// A skin was renamed; newName is always the name it has now.
class SkinRenameEvent : public QEvent
{
public:
    SkinRenameEvent(Type type, const QString& oldName, const QString& newName,
                    Velmora::ThemedItemType itemType);
    ~SkinRenameEvent() override;

    QString oldName;
    QString newName;
    Velmora::ThemedItemType itemType;
};

// A skin that is not the type's default.
class SkinNameChangedEvent : public SkinRenameEvent
{
public:
    static constexpr Type EventType = Type(1004);
    SkinNameChangedEvent(const QString& oldName, const QString& newName,
                         Velmora::ThemedItemType itemType);
};

// The type's default skin, whose default-skin name moved with it.
class DefaultSkinNameChangedEvent : public SkinRenameEvent
{
public:
    static constexpr Type EventType = Type(1006);
    DefaultSkinNameChangedEvent(const QString& oldName, const QString& newName,
                                Velmora::ThemedItemType itemType);
};

// The skin's transition now lasts duration milliseconds.
class SkinTransitionDurationChangedEvent : public SkinEvent
{
public:
    static constexpr Type EventType = Type(1007);
    SkinTransitionDurationChangedEvent(const QString& skinName, Velmora::ThemedItemType itemType,
                                       int duration);

    int duration;
};

// The skin's transition now has the easing, a QEasingCurve::Type.
class SkinTransitionEasingChangedEvent : public SkinEvent
{
public:
    static constexpr Type EventType = Type(1008);
    SkinTransitionEasingChangedEvent(const QString& skinName, Velmora::ThemedItemType itemType,
                                     int easing);

    int easing;
};
