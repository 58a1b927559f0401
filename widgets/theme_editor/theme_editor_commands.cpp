#include "widgets/theme_editor/theme_editor_commands.h"

#include "core/assertion.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/skin_properties.h"
#include "widgets/theme_editor/theme_editor_events.h"

#include <QCoreApplication>
#include <utility>

using namespace Velmora;

ThemeEditorCommand::ThemeEditorCommand(EditTheme* theme, QObject* editor, QUndoCommand* parent)
    : QUndoCommand(parent), m_theme(theme), m_editor(editor)
{
}

ThemeEditorCommand::~ThemeEditorCommand() = default;

void ThemeEditorCommand::post(QEvent* event) const
{
    if (m_editor)
        QCoreApplication::postEvent(m_editor, event);
    else
        delete event;
}

void ThemeEditorCommand::takeSkinOut(ThemedItemType itemType, const QString& skinName,
                                     smart_ptr<Skin>& kept)
{
    const Skin* skin = m_theme->findSkin(itemType, skinName);
    if (!skin)
        return;
    kept.reset(new Skin(*skin));
    m_theme->removeSkin(itemType, skinName);
    post(new SkinRemovedEvent(skinName, itemType));
}

bool ThemeEditorCommand::putSkinBack(smart_ptr<Skin>& kept)
{
    if (!kept)
        return false;
    const QString skinName = kept->getName();
    const ThemedItemType itemType = kept->getItemType();
    if (!m_theme->addSkin(kept))
        return false;
    post(new SkinAddedEvent(skinName, itemType));
    return true;
}

EditThemeNameCommand::EditThemeNameCommand(const QString& name, EditTheme* theme, QObject* editor,
                                           QUndoCommand* parent)
    : ThemeEditorCommand(theme, editor, parent), name(name)
{
    setText(QObject::tr("Change Theme Name"));
}

void EditThemeNameCommand::redo()
{
    QString previous = theme()->getName();
    theme()->setName(name);
    name = std::move(previous);
}

EditDefaultItemPropertyCommand::EditDefaultItemPropertyCommand(const QString& propertyName,
                                                               ThemedItemType itemType,
                                                               const QVariant& value,
                                                               EditTheme* theme, QObject* editor,
                                                               QUndoCommand* parent)
    : ThemeEditorCommand(theme, editor, parent), propertyName(propertyName), itemType(itemType),
      value(value)
{
    setText(QObject::tr("Change Default Item Property"));
}

void EditDefaultItemPropertyCommand::redo()
{
    QVariant previous = theme()->getDefaultItemProperty(itemType, propertyName);
    theme()->setDefaultItemProperty(itemType, propertyName, value);
    post(new DefaultSkinPropertyChangedEvent(propertyName, itemType, value));
    value = std::move(previous);
}

EditSkinTransitionCommand::EditSkinTransitionCommand(
    const QString& text, int SkinTransition::*field, const QString& skinName,
    ThemedItemType itemType, int value, EditTheme* theme, QObject* editor, QUndoCommand* parent)
    : ThemeEditorCommand(theme, editor, parent), field(field), skinName(skinName),
      itemType(itemType), value(value)
{
    setText(text);
}

void EditSkinTransitionCommand::redo()
{
    Skin* skin = theme()->findSkin(itemType, skinName);
    VELMORA_ASSERT(skin != nullptr);
    int& stored = skin->getTransition().*field;
    std::swap(stored, value);
    if (field == &SkinTransition::duration)
        post(new SkinTransitionDurationChangedEvent(skinName, itemType, stored));
    else
        post(new SkinTransitionEasingChangedEvent(skinName, itemType, stored));
}

EditSkinTransitionDurationCommand::EditSkinTransitionDurationCommand(const QString& skinName,
                                                                     ThemedItemType itemType,
                                                                     int duration, EditTheme* theme,
                                                                     QObject* editor,
                                                                     QUndoCommand* parent)
    : EditSkinTransitionCommand(QObject::tr("Change State Transition Duration"),
                                &SkinTransition::duration, skinName, itemType, duration, theme,
                                editor, parent)
{
}

EditSkinTransitionEasingCommand::EditSkinTransitionEasingCommand(const QString& skinName,
                                                                 ThemedItemType itemType,
                                                                 int easing, EditTheme* theme,
                                                                 QObject* editor,
                                                                 QUndoCommand* parent)
    : EditSkinTransitionCommand(QObject::tr("Change State Transition Easing"),
                                &SkinTransition::easing, skinName, itemType, easing, theme, editor,
                                parent)
{
}

AddSkinCommand::AddSkinCommand(ThemedItemType itemType, EditTheme* theme, QObject* editor,
                               QUndoCommand* parent)
    : ThemeEditorCommand(theme, editor, parent), itemType(itemType)
{
    setText(QObject::tr("Add Skin"));
}

void AddSkinCommand::redo()
{
    if (!keptSkin) {
        skinName = QObject::tr("New State");
        if (const SkinSet* set = theme()->skinSet(itemType, false)) {
            for (int n = 1; set->getSkin(skinName); ++n)
                skinName = QObject::tr("New State %1").arg(n);
        }
        if (!theme()->createSkin(itemType, skinName))
            return;
        post(new SkinAddedEvent(skinName, itemType));
    } else if (!putSkinBack(keptSkin)) {
        return;
    }
    if (theme()->getDefaultSkin(itemType))
        return;
    theme()->setDefaultSkin(itemType, skinName);
    madeDefault = true;
    post(new DefaultSkinChangedEvent(skinName, itemType));
}

void AddSkinCommand::undo()
{
    if (!theme()->findSkin(itemType, skinName))
        return;
    if (madeDefault) {
        theme()->clearDefaultSkin(itemType);
        madeDefault = false;
    }
    takeSkinOut(itemType, skinName, keptSkin);
}

RemoveSkinCommand::RemoveSkinCommand(const QString& skinName, ThemedItemType itemType,
                                     EditTheme* theme, QObject* editor, QUndoCommand* parent)
    : ThemeEditorCommand(theme, editor, parent), skinName(skinName), itemType(itemType)
{
    setText(QObject::tr("Remove Skin"));
}

void RemoveSkinCommand::redo()
{
    takeSkinOut(itemType, skinName, keptSkin);
}

void RemoveSkinCommand::undo()
{
    putSkinBack(keptSkin);
}

DuplicateSkinCommand::DuplicateSkinCommand(const QString& skinName, ThemedItemType itemType,
                                           EditTheme* theme, QObject* editor, QUndoCommand* parent)
    : ThemeEditorCommand(theme, editor, parent), skinName(skinName), itemType(itemType)
{
    setText(QObject::tr("Duplicate Skin"));
}

void DuplicateSkinCommand::redo()
{
    if (keptSkin) {
        putSkinBack(keptSkin);
        return;
    }
    QString newName;
    if (!theme()->duplicateSkin(itemType, skinName, newName))
        return;
    post(new SkinAddedEvent(newName, itemType));
    skinName = newName;
}

void DuplicateSkinCommand::undo()
{
    takeSkinOut(itemType, skinName, keptSkin);
}

EditSkinNameCommand::EditSkinNameCommand(const QString& oldName, const QString& newName,
                                         ThemedItemType itemType, EditTheme* theme, QObject* editor,
                                         QUndoCommand* parent)
    : ThemeEditorCommand(theme, editor, parent), oldName(oldName), newName(newName),
      itemType(itemType)
{
    setText(QObject::tr("Change Skin Name"));
}

void EditSkinNameCommand::redo()
{
    const Skin* defaultSkin = theme()->getDefaultSkin(itemType);
    const bool renamesDefault = defaultSkin && defaultSkin->getName() == oldName;
    if (SkinSet* set = theme()->skinSet(itemType, false))
        set->renameSkin(oldName, newName);
    if (renamesDefault) {
        theme()->setDefaultSkin(itemType, newName);
        post(new DefaultSkinNameChangedEvent(oldName, newName, itemType));
    } else {
        post(new SkinNameChangedEvent(oldName, newName, itemType));
    }
    std::swap(oldName, newName);
}

SetDefaultSkinCommand::SetDefaultSkinCommand(const QString& skinName, ThemedItemType itemType,
                                             EditTheme* theme, QObject* editor,
                                             QUndoCommand* parent)
    : ThemeEditorCommand(theme, editor, parent), skinName(skinName), itemType(itemType)
{
    setText(QObject::tr("Set Default Skin"));
}

void SetDefaultSkinCommand::redo()
{
    // A type without a default skin gives an empty name, which undo applies by clearing the
    // default again.
    const Skin* current = theme()->getDefaultSkin(itemType);
    QString previous = current ? current->getName() : QString();
    if (skinName.isEmpty())
        theme()->clearDefaultSkin(itemType);
    else
        theme()->setDefaultSkin(itemType, skinName);
    post(new DefaultSkinChangedEvent(skinName, itemType));
    skinName = std::move(previous);
}

EditSkinPropertyCommand::EditSkinPropertyCommand(const QString& propertyName,
                                                 const QString& skinName, ThemedItemType itemType,
                                                 const QVariant& value, EditTheme* theme,
                                                 QObject* editor, QUndoCommand* parent)
    : ThemeEditorCommand(theme, editor, parent), propertyName(propertyName), skinName(skinName),
      itemType(itemType), value(value)
{
    setText(QObject::tr("Change State Property"));
}

void EditSkinPropertyCommand::redo()
{
    Skin* skin = theme()->findSkin(itemType, skinName);
    VELMORA_ASSERT(skin != nullptr);
    QVariant previous = skin->getPropertyValue(propertyName);
    SkinPropertyType type = SkinPropertyType(skin->getPropertyType(propertyName));
    if (!skin->hasProperty(propertyName)) {
        // The property comes from the type's definition table, with the value.
        const SkinProperties* skinProperties = SkinProperties::getSkinProperties(itemType);
        VELMORA_ASSERT(skinProperties != nullptr);
        const auto iSkinProperty = skinProperties->getProperties().find(propertyName);
        VELMORA_ASSERT(iSkinProperty != skinProperties->end());
        if (value.isValid()) {
            smart_ptr<SkinProperty> property(
                SkinProperty::create(iSkinProperty->second->getType()));
            property->copyFrom(*iSkinProperty->second);
            property->setValue(value);
            skin->setProperty(property);
        }
        type = iSkinProperty->second->getType();
    } else {
        skin->setPropertyValue(propertyName, value);
    }
    post(new SkinPropertyChangedEvent(propertyName, skinName, type, itemType, value));
    value = std::move(previous);
}
