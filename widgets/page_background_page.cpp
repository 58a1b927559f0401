#include "widgets/page_background_page.h"

#include "appengine/theme_image_model.h"
#include "core/gradient_library.h"
#include "gui/centered_icon_grid_view.h"
#include "gui/colour_button.h"
#include "gui/colour_picker_dialog.h"
#include "gui/gradient_dialog.h"
#include "gui/gradient_picker.h"
#include "gui/view_models.h"
#include "main/image_slot_page_properties.h"
#include "main/new_page_data.h"
#include "main/project_access.h"
#include "main/velmora_document.h"
#include "widgets/project_orientation_field.h"
#include "widgets/theme_editor/theme_delegates.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QRadioButton>
#include <new>

PageBackgroundPage::PageBackgroundPage(QWidget* parent)
    : QWizardPage(parent), kindGroup(new QButtonGroup(this)),
      colourRadio(new QRadioButton(tr("Colour"))), gradientRadio(new QRadioButton(tr("Gradient"))),
      imageRadio(new QRadioButton(tr("Image"))), colourPushButton(new ColourButton),
      picker(new GradientPicker), editPushButton(new QPushButton(tr("Edit..."))),
      browsePushButton(new QPushButton(tr("Browse..."))), view(new CenteredIconGridView),
      delegate(new BackgroundImageDelegate(this))
{
    setTitle(tr("Background"));

    delegate->orientation = Velmora::Orientation_LANDSCAPE;
    view->setItemDelegate(delegate);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* layout = new QGridLayout(this);
    layout->setColumnStretch(2, 1);
    layout->addWidget(colourRadio, 0, 0);
    layout->addWidget(colourPushButton, 0, 1, 1, 3);
    layout->addWidget(gradientRadio, 1, 0);
    layout->addWidget(picker, 1, 1, 1, 2);
    layout->addWidget(editPushButton, 1, 3);
    layout->addWidget(imageRadio, 2, 0);
    layout->addWidget(browsePushButton, 2, 1);
    layout->addWidget(view, 3, 0, 1, 4);
    layout->setRowStretch(3, 1);

    kindGroup->setExclusive(true);
    kindGroup->addButton(colourRadio, ColourKind);
    kindGroup->addButton(gradientRadio, GradientKind);
    kindGroup->addButton(imageRadio, ImageKind);

    connect(kindGroup, &QButtonGroup::idClicked, this, &PageBackgroundPage::onBackgroundChange);
    connect(colourPushButton, &QPushButton::clicked, this, &PageBackgroundPage::onColourClicked);
    connect(picker, &QComboBox::activated, this,
            qOverload<>(&PageBackgroundPage::onGradientChange));
    connect(editPushButton, &QPushButton::clicked, this,
            &PageBackgroundPage::onGradientEditClicked);
    connect(browsePushButton, &QPushButton::clicked, this, &PageBackgroundPage::onBrowseClicked);
    connect(view, &QAbstractItemView::clicked, this, &PageBackgroundPage::onImageSelected);

    colourRadio->setChecked(true);
    onBackgroundChange(ColourKind);
}

QRadioButton* PageBackgroundPage::kindButton(int kind) const
{
    return qobject_cast<QRadioButton*>(kindGroup->button(kind));
}

ThemeImageModel* PageBackgroundPage::imageModel() const
{
    return proxy ? qobject_cast<ThemeImageModel*>(proxy->sourceModel()) : nullptr;
}

void PageBackgroundPage::onBackgroundChange(int kind)
{
    backgroundKind = kind;
    backgroundColour = kind == ColourKind ? colourPushButton->colour() : QColor();
    backgroundGradient = kind == GradientKind ? picker->gradient() : Gradient();
    backgroundImageId = UINT_MAX;
    backgroundImageFile.clear();
    if (kind == ImageKind && view->selectionModel()) {
        const QModelIndexList selected = view->selectionModel()->selectedIndexes();
        if (selected.size() == 1) {
            backgroundImageId = selected.first().data(ThemeImageModel::IdRole).toUInt();
            backgroundImageFile = selected.first().data(ThemeImageModel::PathRole).toString();
        }
    }
    enableForKind();
    emit completeChanged();
}

void PageBackgroundPage::enableForKind()
{
    colourPushButton->setEnabled(backgroundKind == ColourKind);
    picker->setEnabled(backgroundKind == GradientKind);
    browsePushButton->setEnabled(backgroundKind == ImageKind);
    view->setEnabled(backgroundKind == ImageKind);
}

void PageBackgroundPage::onColourClicked()
{
    ColourPickerDialog dialog(this);
    dialog.setAlphaEnabled(false);
    dialog.setColour(backgroundColour);
    if (dialog.exec() != QDialog::Accepted)
        return;
    backgroundColour = dialog.colour();
    colourPushButton->setColour(backgroundColour);
}

void PageBackgroundPage::onGradientChange()
{
    backgroundGradient = picker->gradient();
    emit completeChanged();
}

void PageBackgroundPage::onGradientEditClicked()
{
    GradientDialog dialog(this);
    dialog.setAlphaEnabled(false);
    if (!backgroundGradient.isNull())
        dialog.selectGradient(GradientLibrary::instance()->find(backgroundGradient));
    connect(&dialog, &GradientDialog::gradientSelected, this,
            qOverload<const QModelIndex&>(&PageBackgroundPage::onGradientChange));
    dialog.exec();
}

void PageBackgroundPage::onGradientChange(const QModelIndex& index)
{
    // The dialog reports an invalid index while no single gradient is selected: the gradient
    // chosen before stays.
    if (!index.isValid())
        return;
    backgroundGradient = index.data(GradientLibrary::GradientRole).value<Gradient>();
    picker->setGradient(backgroundGradient);
    emit completeChanged();
}

void PageBackgroundPage::onImageSelected(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    backgroundImageId = index.data(ThemeImageModel::IdRole).toUInt();
    backgroundImageFile = index.data(ThemeImageModel::PathRole).toString();
    emit completeChanged();
}

void PageBackgroundPage::onBrowseClicked()
{
    const QStringList files = ProjectAccess::askImageFiles(tr("Background Image"), true, nullptr);
    // The question may have run an event loop: look for the store only afterwards.
    ThemeImageModel* model = imageModel();
    if (files.isEmpty() || !model)
        return;
    // A full store takes no image, nor a file there is not the memory for: the choice made
    // before stays.
    const QStandardItem* item = nullptr;
    try {
        if (!ImageProperty::acceptsImageFile(files.first(), tr("Background Image"), this))
            return;
        item = model->addImageFile(files.first());
    } catch (const std::bad_alloc&) {
        ImageProperty::refuseForMemory(files.first(), tr("Background Image"), this);
        return;
    }
    if (!item)
        return;
    backgroundImageFile = files.first();
    backgroundImageId = item->data(ThemeImageModel::IdRole).toUInt();
    selectProxyRow(proxy->mapFromSource(item->index()));
    emit completeChanged();
}

void PageBackgroundPage::selectProxyRow(const QModelIndex& proxyIndex)
{
    if (!proxyIndex.isValid() || !view->selectionModel())
        return;
    view->selectionModel()->setCurrentIndex(proxyIndex, QItemSelectionModel::ClearAndSelect);
    view->scrollTo(proxyIndex);
}

void PageBackgroundPage::selectCurrentImage()
{
    const ThemeImageModel* model = imageModel();
    // Without an image kept there is nothing to look for (every theme image has an empty path).
    if (!model || (backgroundImageId == UINT_MAX && backgroundImageFile.isEmpty()))
        return;
    const QModelIndex row = backgroundImageId == UINT_MAX ? model->findFilePath(backgroundImageFile)
                                                          : model->findImage(backgroundImageId);
    selectProxyRow(proxy->mapFromSource(row));
}

void PageBackgroundPage::dropImages()
{
    setViewModel(view, nullptr);
    delete proxy;
    proxy = nullptr;
    delete ownModel;
    ownModel = nullptr;
}

void PageBackgroundPage::initializePage()
{
    if (!proxy && !themePath.isEmpty()) {
        ownModel = new ThemeImageModel(ThemeImageModel::PageBackgrounds, nullptr, this);
        ownModel->setThemeFile(themePath);
        proxy = new ThemeImageProxyModel(this);
        proxy->setSourceModel(ownModel);
        if (!backgroundImageFile.isEmpty() && QFileInfo::exists(backgroundImageFile))
            ownModel->addImageFile(backgroundImageFile);
        setViewModel(view, proxy);
    }
    const QVariant orientation = projectOrientationField(wizard());
    if (!orientation.isNull()) {
        if (proxy)
            proxy->setOrientationFilter(orientation.toInt() + 1);
        delegate->orientation = orientation.toInt() + 1;
    }
    view->setGridSize(delegate->cellSize());
    selectCurrentImage();
}

void PageBackgroundPage::setDocument(const VelmoraDocument* document)
{
    dropImages();
    ThemeImageModel* model = document ? document->backgroundImageModel() : nullptr;
    if (!model)
        return;
    proxy = new ThemeImageProxyModel(this);
    proxy->setSourceModel(model);
    proxy->setOrientationFilter(document->getOrientation());
    delegate->orientation = document->getOrientation();
    setViewModel(view, proxy);
    view->setGridSize(delegate->cellSize());
}

void PageBackgroundPage::setNewPageData(const NewPageData& data)
{
    backgroundColour = data.backgroundColour;
    backgroundGradient = data.backgroundGradient;
    backgroundImageId = data.backgroundImageId;
    backgroundImageFile = data.backgroundImageFile;
    // Only the shown kind's value is kept, so that a record holding a colour beside its
    // gradient or image does not make a page of another kind than the one shown.
    if (!backgroundGradient.isNull()) {
        gradientRadio->setChecked(true);
        picker->setGradient(backgroundGradient);
        backgroundKind = GradientKind;
        colourPushButton->setColour(Qt::white);
        backgroundColour = QColor();
        backgroundImageId = UINT_MAX;
        backgroundImageFile.clear();
    } else if (backgroundImageFile.isEmpty() && backgroundImageId == UINT_MAX) {
        colourRadio->setChecked(true);
        colourPushButton->setColour(backgroundColour);
        backgroundKind = ColourKind;
    } else {
        imageRadio->setChecked(true);
        selectCurrentImage();
        backgroundKind = ImageKind;
        colourPushButton->setColour(Qt::white);
        backgroundColour = QColor();
    }
    enableForKind();
    emit completeChanged();
}

void PageBackgroundPage::setThemePath(const QString& path)
{
    if (path.isEmpty() || path == themePath)
        return;
    dropImages();
    themePath = path;
}

bool PageBackgroundPage::isComplete() const
{
    switch (backgroundKind) {
    case ColourKind:
        return true;
    case GradientKind:
        // An empty gradient library leaves nothing to paint the page with.
        return !backgroundGradient.isNull();
    default:
        return !backgroundImageFile.isEmpty() || backgroundImageId != UINT_MAX;
    }
}
