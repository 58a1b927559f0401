#pragma once

#include "velmora_objects/velmora_types.h"
#include "widgets/theme_editor/theme_editor_commands.h"

#include <QByteArray>
#include <QList>
#include <QModelIndex>
#include <QStringList>
#include <map>

class EditThemeImageModel;

// The base of the commands on the theme editor's image lists (page backgrounds and icons).
// They act through the list's model, which keeps the theme's store and the list's rows in
// step, and post no events: the lists follow the model's own signals. Rows are addressed by
// number; a row taken out is put back at the same number, so the numbers stay true as the
// stack runs the commands in order.
class EditImageModelCommand : public ThemeEditorCommand
{
public:
    EditImageModelCommand(EditThemeImageModel* model, QObject* editor, QUndoCommand* parent);
    ~EditImageModelCommand() override;

protected:
    EditThemeImageModel* model() const { return m_model; }

    // Takes the rows (ascending) out, last first, keeping each image's bytes and orientation
    // in the rows' order.
    void takeOut(const QList<int>& rows);
    // Stores the kept images again, each at its row, and forgets them.
    void putBack(const QList<int>& rows);
    bool holdsImages() const { return !keptData.isEmpty(); }

private:
    EditThemeImageModel* m_model;
    QList<QByteArray> keptData;
    QList<Velmora::Orientation> keptOrientations;
};

// Removes the images of the rows (indexes of the model); undo puts them back in place with
// their bytes and orientations, under the ids their store then gives.
class RemoveThemeImageCommand : public EditImageModelCommand
{
public:
    RemoveThemeImageCommand(const QList<QModelIndex>& indexes, EditThemeImageModel* model,
                            QObject* editor, QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;

private:
    QList<int> rows; // ascending
};

// Gives page-background rows (indexes of the model) an orientation; undo gives every row back
// its own.
class SetThemeImageOrientationCommand : public EditImageModelCommand
{
public:
    SetThemeImageOrientationCommand(const QList<QModelIndex>& indexes,
                                    Velmora::Orientation orientation, EditThemeImageModel* model,
                                    QObject* editor, QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override { redo(); }

private:
    void setOrientation(int row, Velmora::Orientation orientation);

    QList<int> rows;
    Velmora::Orientation orientation;
    // From the first run on: per row, the orientation the next run gives it.
    std::map<int, Velmora::Orientation> previousOrientations;
};

// Adds image files as new rows. The first run leaves out files that cannot be read or decoded
// (unreadableFiles() lists them) and records only the rows it made, not rows of images the
// list held already; undo takes those rows out and redo puts them back from the kept bytes,
// without their file paths. A first run that throws (short of memory for a file) takes out
// again what it added.
class AddThemeImageCommand : public EditImageModelCommand
{
public:
    AddThemeImageCommand(const QStringList& files, EditThemeImageModel* model, QObject* editor,
                         QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;

    const QStringList& unreadableFiles() const { return unreadable; }

private:
    QStringList files;
    QList<int> rows; // made by the first run, ascending
    QStringList unreadable;
};
