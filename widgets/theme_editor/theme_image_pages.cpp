#include "widgets/theme_editor/theme_image_pages.h"

#include "appengine/theme_image_model.h"
#include "gui/centered_icon_grid_view.h"
#include "gui/view_models.h"
#include "main/project_access.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/theme_reader.h"
#include "widgets/theme_editor/theme_delegates.h"
#include "widgets/theme_editor/theme_editor_form.h"
#include "widgets/theme_editor/theme_image_commands.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QUndoStack>
#include <memory>
#include <new>

ThemeImagePages::ThemeImagePages(Ui::ThemeEditor& form, QWidget* page, QUndoStack* undoStack)
    : QObject(page), form(form), page(page), undoStack(undoStack)
{
    auto* imageDelegate = new BackgroundImageDelegate(page);
    form.imageList->setItemDelegate(imageDelegate);
    form.imageList->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    form.imageList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    form.imageList->setGridSize(imageDelegate->cellSize());
    form.imageList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(form.imageList, SIGNAL(customContextMenuRequested(const QPoint&)), this,
            SLOT(onBackgroundImageContextMenuRequested(const QPoint&)));

    // The filter texts are not translated; the data is the orientation shown.
    form.backgroundImageFilterEdit->addItem(QStringLiteral("All"), Velmora::Orientation_ANY);
    form.backgroundImageFilterEdit->addItem(QStringLiteral("Portrait"),
                                            Velmora::Orientation_PORTRAIT);
    form.backgroundImageFilterEdit->addItem(QStringLiteral("Landscape"),
                                            Velmora::Orientation_LANDSCAPE);
    connect(form.applyBackgroundImageFilterButton, SIGNAL(clicked()), this,
            SLOT(applyImageFilter()));
    connect(form.addBackgroundImageButton, SIGNAL(clicked()), this, SLOT(addBackgroundImage()));
    connect(form.removeBackgroundImageButton, SIGNAL(clicked()), this,
            SLOT(removeBackgroundImage()));
    connect(form.backgroundPortraitRadioButton, SIGNAL(clicked()), this,
            SLOT(onImageOrientationChanged()));
    connect(form.backgroundLandscapeRadioButton, SIGNAL(clicked()), this,
            SLOT(onImageOrientationChanged()));
    connect(form.backgroundAnyRadioButton, SIGNAL(clicked()), this,
            SLOT(onImageOrientationChanged()));

    addImageAction = new QAction(tr("Add Image"), page);
    removeImageAction = new QAction(tr("Remove Image"), page);
    connect(addImageAction, SIGNAL(triggered()), this, SLOT(addBackgroundImage()));
    connect(removeImageAction, SIGNAL(triggered()), this, SLOT(removeBackgroundImage()));

    // Not exclusive: the actions mirror the radio buttons, which the page checks itself.
    orientationActionGroup = new QActionGroup(page);
    orientationActionGroup->setExclusive(false);
    portraitAction = new QAction(tr("Portrait"), page);
    landscapeAction = new QAction(tr("Landscape"), page);
    anyOrientationAction = new QAction(tr("Any"), page);
    for (QAction* action : {portraitAction, landscapeAction, anyOrientationAction}) {
        action->setCheckable(true);
        orientationActionGroup->addAction(action);
    }
    connect(orientationActionGroup, SIGNAL(triggered(QAction*)), this,
            SLOT(onOrientationActionTriggered(QAction*)));

    form.iconList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    form.iconList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(form.iconList, SIGNAL(customContextMenuRequested(const QPoint&)), this,
            SLOT(onIconContextMenuRequested(const QPoint&)));
    connect(form.addIconButton, SIGNAL(clicked()), this, SLOT(addIcon()));
    connect(form.removeIconButton, SIGNAL(clicked()), this, SLOT(removeIcon()));
    addIconAction = new QAction(tr("Add Icon"), page);
    removeIconAction = new QAction(tr("Remove Icon"), page);
    connect(addIconAction, SIGNAL(triggered()), this, SLOT(addIcon()));
    connect(removeIconAction, SIGNAL(triggered()), this, SLOT(removeIcon()));
}

ThemeImagePages::~ThemeImagePages() = default;

void ThemeImagePages::bind(EditTheme* editedTheme)
{
    theme = editedTheme;
    backgroundImageModel = new EditThemeImageModel(0, theme, page);
    backgroundImageProxyModel = new ThemeImageProxyModel(page);
    backgroundImageProxyModel->setSourceModel(backgroundImageModel.get());
    setViewModel(form.imageList, backgroundImageProxyModel.get());
    connect(form.imageList->selectionModel(),
            SIGNAL(selectionChanged(const QItemSelection&, const QItemSelection&)), this,
            SLOT(onImageSelectionChanged()));
    connect(backgroundImageModel.get(),
            SIGNAL(dataChanged(const QModelIndex&, const QModelIndex&, const QList<int>&)), this,
            SLOT(onImageModelDataChanged()));
    onImageSelectionChanged();

    {
        const QSignalBlocker blocker(form.backgroundImageFilterEdit);
        form.backgroundImageFilterEdit->setCurrentIndex(0);
    }
    applyImageFilter();

    iconModel = new EditThemeImageModel(1, theme, page);
    setViewModel(form.iconList, iconModel.get());
    connect(form.iconList->selectionModel(),
            SIGNAL(selectionChanged(const QItemSelection&, const QItemSelection&)), this,
            SLOT(onIconSelectionChanged()));
    onIconSelectionChanged();
}

void ThemeImagePages::release()
{
    // The views let go of the models before they go.
    setViewModel(form.imageList, nullptr);
    setViewModel(form.iconList, nullptr);
    backgroundImageProxyModel.reset();
    backgroundImageModel.reset();
    iconModel.reset();
    theme = nullptr;
}

void ThemeImagePages::applyImageFilter()
{
    if (backgroundImageProxyModel)
        backgroundImageProxyModel->setOrientationFilter(
            form.backgroundImageFilterEdit->currentData().toInt());
}

QList<QModelIndex> ThemeImagePages::selectedBackgroundImages() const
{
    QList<QModelIndex> indexes;
    if (!backgroundImageProxyModel || !form.imageList->selectionModel())
        return indexes;
    for (const QModelIndex& index : form.imageList->selectionModel()->selectedIndexes())
        indexes.append(backgroundImageProxyModel->mapToSource(index));
    return indexes;
}

void ThemeImagePages::checkOrientation(int orientation)
{
    form.backgroundPortraitRadioButton->setChecked(orientation == Velmora::Orientation_PORTRAIT);
    form.backgroundLandscapeRadioButton->setChecked(orientation == Velmora::Orientation_LANDSCAPE);
    form.backgroundAnyRadioButton->setChecked(orientation == 0);
    portraitAction->setChecked(orientation == Velmora::Orientation_PORTRAIT);
    landscapeAction->setChecked(orientation == Velmora::Orientation_LANDSCAPE);
    anyOrientationAction->setChecked(orientation == 0);
}

void ThemeImagePages::onImageSelectionChanged()
{
    const QList<QModelIndex> selected = selectedBackgroundImages();
    const bool any = !selected.isEmpty();
    form.removeBackgroundImageButton->setEnabled(any);
    removeImageAction->setEnabled(any);
    form.backgroundImageOrientations->setEnabled(any);
    orientationActionGroup->setEnabled(any);

    // -1 checks nothing: no selection, or images of different orientations.
    int orientation = -1;
    if (theme) {
        const Velmora::Theme::ImageStore& store = theme->getPageBackgroundImages();
        for (int i = 0; i < selected.size(); ++i) {
            const unsigned int id = selected[i].data(Qt::UserRole).toUInt();
            const int imageOrientation = store.exists(id) ? store[id].getOrientation() : 0;
            if (i == 0) {
                orientation = imageOrientation;
            } else if (imageOrientation != orientation) {
                orientation = -1;
                break;
            }
        }
    }
    checkOrientation(orientation);
}

void ThemeImagePages::onImageModelDataChanged()
{
    if (!changingImageOrientation)
        onImageSelectionChanged();
}

void ThemeImagePages::onImageOrientationChanged()
{
    const QObject* button = sender();
    if (button == form.backgroundPortraitRadioButton)
        setSelectedImagesOrientation(Velmora::Orientation_PORTRAIT);
    else if (button == form.backgroundLandscapeRadioButton)
        setSelectedImagesOrientation(Velmora::Orientation_LANDSCAPE);
    else if (button == form.backgroundAnyRadioButton)
        setSelectedImagesOrientation(0);
}

void ThemeImagePages::onOrientationActionTriggered(QAction* action)
{
    if (action == portraitAction)
        setSelectedImagesOrientation(Velmora::Orientation_PORTRAIT);
    else if (action == landscapeAction)
        setSelectedImagesOrientation(Velmora::Orientation_LANDSCAPE);
    else if (action == anyOrientationAction)
        setSelectedImagesOrientation(0);
}

void ThemeImagePages::setSelectedImagesOrientation(int orientation)
{
    // Without a theme file bound there are no images to give an orientation.
    if (!backgroundImageModel)
        return;
    checkOrientation(orientation);
    const QList<QModelIndex> indexes = selectedBackgroundImages();
    // The model reports each row as it changes; the buttons already show the outcome.
    changingImageOrientation = true;
    undoStack->push(new SetThemeImageOrientationCommand(indexes, Velmora::Orientation(orientation),
                                                        backgroundImageModel.get(), page));
    changingImageOrientation = false;
}

void ThemeImagePages::onBackgroundImageContextMenuRequested(const QPoint& position)
{
    QMenu menu(page);
    menu.addAction(addImageAction);
    menu.addAction(removeImageAction);
    menu.addSeparator();
    QMenu* orientationMenu = menu.addMenu(tr("Orientation"));
    orientationMenu->addAction(portraitAction);
    orientationMenu->addAction(landscapeAction);
    orientationMenu->addAction(anyOrientationAction);
    menu.exec(form.imageList->viewport()->mapToGlobal(position));
}

void ThemeImagePages::onIconContextMenuRequested(const QPoint& position)
{
    QMenu menu(page);
    menu.addAction(addIconAction);
    menu.addAction(removeIconAction);
    menu.exec(form.iconList->viewport()->mapToGlobal(position));
}

void ThemeImagePages::onIconSelectionChanged()
{
    const bool any = form.iconList->selectionModel() &&
                     !form.iconList->selectionModel()->selectedIndexes().isEmpty();
    form.removeIconButton->setEnabled(any);
    removeIconAction->setEnabled(any);
}

void ThemeImagePages::addBackgroundImage()
{
    addImages(0);
}

void ThemeImagePages::addIcon()
{
    addImages(1);
}

void ThemeImagePages::addImages(int kind)
{
    const bool icons = kind == 1;
    EditThemeImageModel* model = icons ? iconModel.get() : backgroundImageModel.get();
    if (!theme || !model)
        return;
    const QStringList chosen =
        ProjectAccess::askImageFiles(icons ? tr("Icon") : tr("Background Image"), false, page);
    // The question may have run an event loop: check the theme is still bound.
    if (chosen.isEmpty() || !theme ||
        model != (icons ? iconModel.get() : backgroundImageModel.get()))
        return;

    const QString pluralTitle = icons ? tr("Add Icons") : tr("Add Background Images");
    const QString title =
        chosen.size() == 1 ? (icons ? tr("Add Icon") : tr("Add Background Image")) : pluralTitle;
    // Files there is not the memory to read add nothing: a command that runs short takes out
    // what it added and is not pushed, and what the reading took is free again by the message.
    try {
        addImageFiles(chosen, model, title, pluralTitle);
    } catch (const std::bad_alloc&) {
        QMessageBox::warning(page, title,
                             tr("There is not enough memory to read the chosen images, so none "
                                "was added."),
                             QMessageBox::Ok);
    }
}

void ThemeImagePages::addImageFiles(const QStringList& chosen, EditThemeImageModel* model,
                                    const QString& title, const QString& pluralTitle)
{
    const bool icons = model->kind() == ThemeImageModel::Icons;
    const Velmora::Theme::ImageStore& store =
        icons ? theme->getIcons() : theme->getPageBackgroundImages();
    const EditTheme::ImageFiles sorted = EditTheme::sortImageFiles(
        chosen, store, ThemeReader::limits().totalSize - theme->imageBytes());

    // Files that are not images would be stored as empty images: they are named and left out,
    // with what is there where no regular file is.
    if (!sorted.unreadableFiles.isEmpty() || !sorted.notRegularFiles.isEmpty()) {
        QStringList names;
        for (const QString& file : sorted.unreadableFiles)
            names << QDir::toNativeSeparators(file);
        for (const EditTheme::RefusedFile& file : sorted.notRegularFiles)
            names << tr("%1: %2").arg(QDir::toNativeSeparators(file.path), file.reason);
        QMessageBox::warning(page, title,
                             tr("These files cannot be read as images and were left out:\n%1")
                                 .arg(names.join(QLatin1Char('\n'))),
                             QMessageBox::Ok);
    }
    // Images that the theme's bundle could not carry would make it unreadable.
    if (!sorted.tooLargeFiles.isEmpty()) {
        QStringList lines;
        for (const EditTheme::RefusedFile& file : sorted.tooLargeFiles)
            lines << tr("%1: %2").arg(QDir::toNativeSeparators(file.path), file.reason);
        QMessageBox::warning(page, title,
                             tr("These images are too large for a theme and were left out:\n%1")
                                 .arg(lines.join(QLatin1Char('\n'))),
                             QMessageBox::Ok);
    }

    // The duplicate messages count the readable files only.
    const qsizetype readable = sorted.newFiles.size() + sorted.storedFiles.size();
    if (!sorted.storedFiles.isEmpty()) {
        if (sorted.newFiles.isEmpty() && readable == 1)
            QMessageBox::information(page, icons ? tr("Add Icon") : tr("Add Background Image"),
                                     icons ? tr("The selected icon already exists in the theme.")
                                           : tr("The selected image already exists in the theme."),
                                     QMessageBox::Ok);
        else if (sorted.newFiles.isEmpty())
            QMessageBox::information(
                page, pluralTitle,
                icons ? tr("All the selected icons already exist in the theme.")
                      : tr("All the selected images already exist in the theme."),
                QMessageBox::Ok);
        else
            QMessageBox::information(page, pluralTitle,
                                     icons ? tr("Some of the selected icons already exist in the "
                                                "theme.  The other icons will still be added.")
                                           : tr("Some of the selected images already exist in "
                                                "the theme.  The other images will still be "
                                                "added."),
                                     QMessageBox::Ok);
    }
    // Nothing to add is no step: Cancel would otherwise ask to save a change that did nothing.
    // The messages ran event loops too: the theme must still be bound.
    if (!sorted.newFiles.isEmpty() && theme &&
        model == (icons ? iconModel.get() : backgroundImageModel.get())) {
        auto command = std::make_unique<AddThemeImageCommand>(sorted.newFiles, model, page);
        // The stack takes the command only once its first run went through.
        undoStack->push(command.get());
        command.release();
    }
}

void ThemeImagePages::removeBackgroundImage()
{
    if (backgroundImageModel)
        undoStack->push(new RemoveThemeImageCommand(selectedBackgroundImages(),
                                                    backgroundImageModel.get(), page));
}

void ThemeImagePages::removeIcon()
{
    if (iconModel && form.iconList->selectionModel())
        undoStack->push(new RemoveThemeImageCommand(
            form.iconList->selectionModel()->selectedIndexes(), iconModel.get(), page));
}
