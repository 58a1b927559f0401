#pragma once

#include "containers/smart_ptr.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/velmora_types.h"

#include <QString>
#include <QUndoCommand>
#include <QVariant>

class EditTheme;
class QEvent;
class QObject;

// The base of the theme editor's undo commands. A command changes the editor's editable theme
// and posts what changed to the editor object (the change events), which refreshes its views
// when the events arrive. Commands address skins by item type and name and keep no pointer
// into the theme, whose skins come and go; they never merge, so every edit is one undo step.
// The editor clears its stack before it edits another theme.
class ThemeEditorCommand : public QUndoCommand
{
public:
    ThemeEditorCommand(EditTheme* theme, QObject* editor, QUndoCommand* parent);
    ~ThemeEditorCommand() override;

protected:
    EditTheme* theme() const { return m_theme; }
    QObject* editor() const { return m_editor; }
    // Queues the event for the editor, which owns it from then on (deleted when there is no
    // editor).
    void post(QEvent* event) const;

    // Keeps a copy of the named skin in kept (deleting the copy kept before), removes the
    // skin and posts SkinRemovedEvent. Nothing when there is no such skin.
    void takeSkinOut(Velmora::ThemedItemType itemType, const QString& skinName,
                     smart_ptr<Velmora::Skin>& kept);
    // Gives the kept skin back to the theme and posts SkinAddedEvent; false, keeping it, when
    // the type already has a skin of its name.
    bool putSkinBack(smart_ptr<Velmora::Skin>& kept);

private:
    EditTheme* m_theme;
    QObject* m_editor;
};

// The single-value commands below are swaps: the value field holds the value to apply before
// a run and the value the run replaced after it, so every run undoes the one before and
// undo() runs redo().

// The theme's name. Posts nothing.
class EditThemeNameCommand : public ThemeEditorCommand
{
public:
    EditThemeNameCommand(const QString& name, EditTheme* theme, QObject* editor,
                         QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override { redo(); }

private:
    QString name;
};

// A default item property of an item type; an invalid value erases it.
class EditDefaultItemPropertyCommand : public ThemeEditorCommand
{
public:
    EditDefaultItemPropertyCommand(const QString& propertyName, Velmora::ThemedItemType itemType,
                                   const QVariant& value, EditTheme* theme, QObject* editor,
                                   QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override { redo(); }

private:
    QString propertyName;
    Velmora::ThemedItemType itemType;
    QVariant value;
};

// One field of a skin's transition; posts the value the skin has after each run.
class EditSkinTransitionCommand : public ThemeEditorCommand
{
public:
    void redo() override;
    void undo() override { redo(); }

protected:
    EditSkinTransitionCommand(const QString& text, int Velmora::SkinTransition::*field,
                              const QString& skinName, Velmora::ThemedItemType itemType, int value,
                              EditTheme* theme, QObject* editor, QUndoCommand* parent);

private:
    int Velmora::SkinTransition::*field;
    QString skinName;
    Velmora::ThemedItemType itemType;
    int value;
};

// The duration in milliseconds.
class EditSkinTransitionDurationCommand : public EditSkinTransitionCommand
{
public:
    EditSkinTransitionDurationCommand(const QString& skinName, Velmora::ThemedItemType itemType,
                                      int duration, EditTheme* theme, QObject* editor,
                                      QUndoCommand* parent = nullptr);
};

// The easing, a QEasingCurve::Type.
class EditSkinTransitionEasingCommand : public EditSkinTransitionCommand
{
public:
    EditSkinTransitionEasingCommand(const QString& skinName, Velmora::ThemedItemType itemType,
                                    int easing, EditTheme* theme, QObject* editor,
                                    QUndoCommand* parent = nullptr);
};

// Adds a skin called "New State", or "New State <n>" with the first free n from 1, made as
// EditTheme::createSkin makes it. A skin added to a type without a default skin becomes its
// default, and undo clears the default again.
class AddSkinCommand : public ThemeEditorCommand
{
public:
    AddSkinCommand(Velmora::ThemedItemType itemType, EditTheme* theme, QObject* editor,
                   QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;

private:
    Velmora::ThemedItemType itemType;
    QString skinName;
    smart_ptr<Velmora::Skin> keptSkin; // while undone
    bool madeDefault = false;
};

// Removes a skin that is not the type's default; undo restores it with its properties and
// transition.
class RemoveSkinCommand : public ThemeEditorCommand
{
public:
    RemoveSkinCommand(const QString& skinName, Velmora::ThemedItemType itemType, EditTheme* theme,
                      QObject* editor, QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;

private:
    QString skinName;
    Velmora::ThemedItemType itemType;
    smart_ptr<Velmora::Skin> keptSkin; // while done
};

// Adds a copy of a skin named as EditTheme::duplicateSkin names it; from its first run on the
// command addresses the copy.
class DuplicateSkinCommand : public ThemeEditorCommand
{
public:
    DuplicateSkinCommand(const QString& skinName, Velmora::ThemedItemType itemType,
                         EditTheme* theme, QObject* editor, QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;

private:
    QString skinName;
    Velmora::ThemedItemType itemType;
    smart_ptr<Velmora::Skin> keptSkin; // while undone
};

// Renames a skin to a name its type does not use; the default-skin name moves with the
// type's default skin.
class EditSkinNameCommand : public ThemeEditorCommand
{
public:
    EditSkinNameCommand(const QString& oldName, const QString& newName,
                        Velmora::ThemedItemType itemType, EditTheme* theme, QObject* editor,
                        QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override { redo(); }

private:
    QString oldName;
    QString newName;
    Velmora::ThemedItemType itemType;
};

// Makes a skin the type's default. An empty name (what undo holds when the type had no
// default) clears the default.
class SetDefaultSkinCommand : public ThemeEditorCommand
{
public:
    SetDefaultSkinCommand(const QString& skinName, Velmora::ThemedItemType itemType,
                          EditTheme* theme, QObject* editor, QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override { redo(); }

private:
    QString skinName;
    Velmora::ThemedItemType itemType;
};

// A property of a skin. A property the skin lacks is made from the type's definition table
// with the value; an invalid value removes the property. Either way the run swaps, so undo
// removes a property the command made and brings back one it removed.
class EditSkinPropertyCommand : public ThemeEditorCommand
{
public:
    EditSkinPropertyCommand(const QString& propertyName, const QString& skinName,
                            Velmora::ThemedItemType itemType, const QVariant& value,
                            EditTheme* theme, QObject* editor, QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override { redo(); }

private:
    QString propertyName;
    QString skinName;
    Velmora::ThemedItemType itemType;
    QVariant value;
};
