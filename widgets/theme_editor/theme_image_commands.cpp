#include "widgets/theme_editor/theme_image_commands.h"

#include "appengine/theme_image_model.h"
#include "core/assertion.h"
#include "velmora_objects/edit_theme.h"

#include <algorithm>

using Velmora::Orientation;

namespace {

// The distinct rows of the indexes, ascending.
QList<int> rowsOf(const QList<QModelIndex>& indexes, const QAbstractItemModel* model)
{
    QList<int> rows;
    for (const QModelIndex& index : indexes) {
        VELMORA_ASSERT(index.model() == model);
        rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QString plural(bool several)
{
    return several ? QStringLiteral("s") : QString();
}

} // namespace

EditImageModelCommand::EditImageModelCommand(EditThemeImageModel* model, QObject* editor,
                                             QUndoCommand* parent)
    : ThemeEditorCommand(model->editTheme(), editor, parent), m_model(model)
{
}

EditImageModelCommand::~EditImageModelCommand() = default;

void EditImageModelCommand::takeOut(const QList<int>& rows)
{
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        const QModelIndex index = m_model->index(*it, 0);
        keptOrientations.prepend(Orientation(index.data(ThemeImageModel::OrientationRole).toInt()));
        keptData.prepend(m_model->imageData(index));
        m_model->removeImage(index);
    }
}

void EditImageModelCommand::putBack(const QList<int>& rows)
{
    const qsizetype count = std::min({rows.size(), keptData.size(), keptOrientations.size()});
    for (qsizetype n = 0; n < count; ++n)
        m_model->addImageData(keptData[n], keptOrientations[n], rows[n]);
    keptData.clear();
    keptOrientations.clear();
}

RemoveThemeImageCommand::RemoveThemeImageCommand(const QList<QModelIndex>& indexes,
                                                 EditThemeImageModel* model, QObject* editor,
                                                 QUndoCommand* parent)
    : EditImageModelCommand(model, editor, parent), rows(rowsOf(indexes, model))
{
    const QString text = model->kind() == ThemeImageModel::Icons
                             ? QObject::tr("Remove Theme Icon%1")
                             : QObject::tr("Remove Theme Image%1");
    setText(text.arg(plural(indexes.size() >= 2)));
}

void RemoveThemeImageCommand::redo()
{
    takeOut(rows);
}

void RemoveThemeImageCommand::undo()
{
    putBack(rows);
}

SetThemeImageOrientationCommand::SetThemeImageOrientationCommand(const QList<QModelIndex>& indexes,
                                                                 Orientation orientation,
                                                                 EditThemeImageModel* model,
                                                                 QObject* editor,
                                                                 QUndoCommand* parent)
    : EditImageModelCommand(model, editor, parent), rows(rowsOf(indexes, model)),
      orientation(orientation)
{
    setText(QObject::tr("Set Image Orientation"));
}

void SetThemeImageOrientationCommand::setOrientation(int row, Orientation value)
{
    const QModelIndex index = model()->index(row, 0);
    const unsigned int id = index.data(ThemeImageModel::IdRole).toUInt();
    theme()->getPageBackgroundImages()[id].setOrientation(value);
    model()->setData(index, int(value), ThemeImageModel::OrientationRole);
}

void SetThemeImageOrientationCommand::redo()
{
    const bool firstRun = previousOrientations.empty();
    for (const int row : rows) {
        const auto current =
            Orientation(model()->index(row, 0).data(ThemeImageModel::OrientationRole).toInt());
        Orientation& next = previousOrientations.emplace(row, orientation).first->second;
        setOrientation(row, firstRun ? orientation : next);
        next = current;
    }
}

AddThemeImageCommand::AddThemeImageCommand(const QStringList& files, EditThemeImageModel* model,
                                           QObject* editor, QUndoCommand* parent)
    : EditImageModelCommand(model, editor, parent), files(files)
{
    const QString text = model->kind() == ThemeImageModel::Icons ? QObject::tr("Add Theme Icon%1")
                                                                 : QObject::tr("Add Theme Image%1");
    setText(text.arg(plural(files.size() != 1)));
}

void AddThemeImageCommand::redo()
{
    if (holdsImages()) {
        putBack(rows);
        return;
    }
    rows.clear();
    unreadable.clear();
    try {
        for (const QString& file : files) {
            if (!EditTheme::isImageFile(file)) {
                unreadable.append(file);
                continue;
            }
            const int rowCount = model()->rowCount();
            const QStandardItem* item = model()->addImageFile(file);
            if (item && model()->rowCount() > rowCount)
                rows.append(item->row());
        }
    } catch (...) {
        // Short of memory for a file, the push fails with the command: the images added so far
        // go again, so that nothing of it stays behind.
        for (auto row = rows.crbegin(); row != rows.crend(); ++row)
            model()->removeImage(model()->index(*row, 0));
        rows.clear();
        throw;
    }
}

void AddThemeImageCommand::undo()
{
    takeOut(rows);
}
