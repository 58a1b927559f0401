#pragma once

#include "containers/smart_ptr.h"

#include <QList>
#include <QModelIndex>
#include <QObject>
#include <QPoint>
#include <QStringList>

class EditTheme;
class EditThemeImageModel;
class QAction;
class QActionGroup;
class QUndoStack;
class QWidget;
class ThemeImageProxyModel;

namespace Ui {
class ThemeEditor;
} // namespace Ui

// The page-background image and icon tabs of the theme editor page: the lists' views and
// models, the orientation filter, buttons and actions, the context menus, and adding,
// removing and orienting images as undoable steps on the page's stack. The tabs are bound
// while a theme file is edited; a project theme leaves them unbound (and disabled).
class ThemeImagePages : public QObject
{
    Q_OBJECT

public:
    // Prepares the views, fills the filter box, makes the actions (children of the page) and
    // connects the tabs' widgets; the form's widgets and the stack belong to the page.
    ThemeImagePages(Ui::ThemeEditor& form, QWidget* page, QUndoStack* undoStack);
    ~ThemeImagePages() override;

    // Gives both lists models of the theme's images and brings the buttons in step.
    void bind(EditTheme* theme);
    // Takes the models off the views and lets go of them and of the theme.
    void release();

private slots:
    void onBackgroundImageContextMenuRequested(const QPoint& position);
    void applyImageFilter();
    void addBackgroundImage();
    void removeBackgroundImage();
    void onImageOrientationChanged();
    void onOrientationActionTriggered(QAction* action);
    void onIconContextMenuRequested(const QPoint& position);
    void addIcon();
    void removeIcon();
    void onImageSelectionChanged();
    void onImageModelDataChanged();
    void onIconSelectionChanged();

private:
    // Checks the orientation's radio button and action and gives every selected background
    // image the orientation in one undoable step.
    void setSelectedImagesOrientation(int orientation);
    // Shared by addBackgroundImage and addIcon: kind 0 page backgrounds, 1 icons.
    void addImages(int kind);
    // Sorts the chosen files, tells the user of those left out and adds the others as one
    // step; throws std::bad_alloc, having added nothing, when there is not the memory to read
    // them.
    void addImageFiles(const QStringList& chosen, EditThemeImageModel* model, const QString& title,
                       const QString& pluralTitle);
    // The background image rows selected in the list, as rows of the unfiltered model.
    QList<QModelIndex> selectedBackgroundImages() const;
    void checkOrientation(int orientation);

    Ui::ThemeEditor& form;
    QWidget* page;
    QUndoStack* undoStack;
    EditTheme* theme = nullptr;
    smart_ptr<EditThemeImageModel> backgroundImageModel;
    smart_ptr<ThemeImageProxyModel> backgroundImageProxyModel;
    bool changingImageOrientation = false;
    smart_ptr<EditThemeImageModel> iconModel;
    QAction* addImageAction = nullptr;
    QAction* removeImageAction = nullptr;
    QActionGroup* orientationActionGroup = nullptr;
    QAction* portraitAction = nullptr;
    QAction* landscapeAction = nullptr;
    QAction* anyOrientationAction = nullptr;
    QAction* addIconAction = nullptr;
    QAction* removeIconAction = nullptr;
};
