#include "widgets/theme_editor/theme_editor_events.h"

#include <utility>

using Velmora::SkinPropertyType;
using Velmora::ThemedItemType;

DefaultSkinPropertyChangedEvent::DefaultSkinPropertyChangedEvent(const QString& propertyName,
                                                                 ThemedItemType itemType,
                                                                 QVariant value)
    : QEvent(EventType), propertyName(propertyName), itemType(itemType), value(std::move(value))
{
}

DefaultSkinPropertyChangedEvent::~DefaultSkinPropertyChangedEvent() = default;

SkinPropertyChangedEvent::SkinPropertyChangedEvent(const QString& propertyName,
                                                   const QString& skinName,
                                                   SkinPropertyType propertyType,
                                                   ThemedItemType itemType, QVariant value)
    : QEvent(EventType), propertyName(propertyName), skinName(skinName), propertyType(propertyType),
      itemType(itemType), value(std::move(value))
{
}

SkinPropertyChangedEvent::~SkinPropertyChangedEvent() = default;

SkinEvent::SkinEvent(Type type, const QString& skinName, ThemedItemType itemType)
    : QEvent(type), skinName(skinName), itemType(itemType)
{
}

SkinEvent::~SkinEvent() = default;

SkinAddedEvent::SkinAddedEvent(const QString& skinName, ThemedItemType itemType)
    : SkinEvent(EventType, skinName, itemType)
{
}

SkinRemovedEvent::SkinRemovedEvent(const QString& skinName, ThemedItemType itemType)
    : SkinEvent(EventType, skinName, itemType)
{
}

DefaultSkinChangedEvent::DefaultSkinChangedEvent(const QString& skinName, ThemedItemType itemType)
    : SkinEvent(EventType, skinName, itemType)
{
}

SkinRenameEvent::SkinRenameEvent(Type type, const QString& oldName, const QString& newName,
                                 ThemedItemType itemType)
    : QEvent(type), oldName(oldName), newName(newName), itemType(itemType)
{
}

SkinRenameEvent::~SkinRenameEvent() = default;

SkinNameChangedEvent::SkinNameChangedEvent(const QString& oldName, const QString& newName,
                                           ThemedItemType itemType)
    : SkinRenameEvent(EventType, oldName, newName, itemType)
{
}

DefaultSkinNameChangedEvent::DefaultSkinNameChangedEvent(const QString& oldName,
                                                         const QString& newName,
                                                         ThemedItemType itemType)
    : SkinRenameEvent(EventType, oldName, newName, itemType)
{
}

SkinTransitionDurationChangedEvent::SkinTransitionDurationChangedEvent(const QString& skinName,
                                                                       ThemedItemType itemType,
                                                                       int duration)
    : SkinEvent(EventType, skinName, itemType), duration(duration)
{
}

SkinTransitionEasingChangedEvent::SkinTransitionEasingChangedEvent(const QString& skinName,
                                                                   ThemedItemType itemType,
                                                                   int easing)
    : SkinEvent(EventType, skinName, itemType), easing(easing)
{
}
