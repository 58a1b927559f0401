#include "widgets/page_identification_page.h"

#include "appengine/theme_image_model.h"
#include "gui/backdrop_icon_model.h"
#include "main/image_slot_page_properties.h"
#include "main/project_access.h"
#include "main/velmora_document.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QToolTip>
#include <climits>
#include <new>

namespace {

QLabel* rowLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

PageIdentificationPage::PageIdentificationPage(QWidget* parent)
    : QWizardPage(parent), nameEdit(new QLineEdit(this)), iconCombo(new QComboBox(this)),
      emptyModel(new QStandardItemModel(this)), backdrops(new BackdropIconModel(this))
{
    setTitle(tr("Create Page"));
    iconCombo->setIconSize(QSize(24, 24));
    // The icon list arrives after the first show, and rows are added by "Browse...": the combo
    // must grow with them to show a whole icon.
    iconCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    iconCombo->setModel(emptyModel);
    auto* browseButton = new QPushButton(tr("Browse..."), this);

    auto* layout = new QGridLayout(this);
    layout->setColumnStretch(3, 1);
    layout->addWidget(rowLabel(tr("Name"), this), 0, 0);
    layout->addWidget(nameEdit, 0, 1, 1, 3);
    layout->addWidget(rowLabel(tr("Icon"), this), 1, 0);
    layout->addWidget(iconCombo, 1, 1);
    layout->addWidget(browseButton, 1, 2);

    connect(nameEdit, &QLineEdit::textEdited, this, &PageIdentificationPage::onNameChanged);
    connect(nameEdit, &QLineEdit::textChanged, this, &PageIdentificationPage::completeChanged);
    connect(browseButton, &QPushButton::clicked, this,
            &PageIdentificationPage::onIconBrowseClicked);

    registerField("page_name", nameEdit);
}

PageIdentificationPage::~PageIdentificationPage()
{
    // The combo must not outlive its model's rows: detach before an owned list goes.
    dropIconModel();
}

void PageIdentificationPage::setDocument(const VelmoraDocument* doc)
{
    document = doc;
    setIconModel(doc ? doc->iconModel() : nullptr, false);
}

void PageIdentificationPage::setThemePath(const QString& path)
{
    if (path.isEmpty() || path == themePath)
        return;
    if (ownsIconModel)
        dropIconModel();
    themePath = path;
}

void PageIdentificationPage::setIconModel(ThemeImageModel* model, bool owned)
{
    dropIconModel();
    iconModel = model;
    ownsIconModel = model && owned;
    backdrops->setSourceModel(model);
    iconCombo->setModel(model ? static_cast<QAbstractItemModel*>(backdrops) : emptyModel);
    iconCombo->setCurrentIndex(-1);
}

void PageIdentificationPage::dropIconModel()
{
    ThemeImageModel* previous = iconModel;
    const bool owned = ownsIconModel;
    iconModel = nullptr;
    ownsIconModel = false;
    if (iconCombo->model() != emptyModel)
        iconCombo->setModel(emptyModel);
    backdrops->setSourceModel(nullptr);
    if (owned)
        delete previous;
}

unsigned int PageIdentificationPage::iconId() const
{
    if (iconCombo->currentIndex() < 0)
        return UINT_MAX;
    return iconCombo->itemData(iconCombo->currentIndex(), ThemeImageModel::IdRole).toUInt();
}

// The picked file of the current entry, not merely the last one picked: after two picks in a
// list of a theme file (where neither has an image id yet) the user may go back to the first,
// and a new theme empties the choice altogether.
QString PageIdentificationPage::iconFile() const
{
    if (iconCombo->currentIndex() < 0)
        return QString();
    return iconCombo->itemData(iconCombo->currentIndex(), ThemeImageModel::PathRole).toString();
}

QString PageIdentificationPage::defaultPageName() const
{
    return document ? document->defaultPageName() : tr("Page 1");
}

void PageIdentificationPage::clearIcon()
{
    iconCombo->setCurrentIndex(-1);
}

void PageIdentificationPage::initializePage()
{
    nameEdit->setText(defaultPageName());
    nameEdit->selectAll();
    if (!iconModel && !themePath.isEmpty()) {
        auto* model = new ThemeImageModel(ThemeImageModel::Icons, nullptr, this);
        model->setThemeFile(themePath);
        setIconModel(model, true);
    }
}

bool PageIdentificationPage::validatePage()
{
    if (!document)
        return true;
    if (document->isPageNameFree(nameEdit->text()))
        return true;
    QToolTip::showText(nameEdit->mapToGlobal(QPoint(0, 0)), tr("Page names must be unique"),
                       nameEdit);
    return false;
}

void PageIdentificationPage::onNameChanged()
{
    if (!nameEdit->text().isEmpty())
        return;
    nameEdit->setText(defaultPageName());
    nameEdit->selectAll();
}

void PageIdentificationPage::onIconBrowseClicked()
{
    const QStringList files = ProjectAccess::askImageFiles(tr("Icon"), true, this);
    if (files.isEmpty())
        return;
    try {
        if (!ImageProperty::acceptsImageFile(files.first(), tr("Icon"), this))
            return;
        // Without any icon list (no project theme to read) the file still gets a row of its
        // own, to be stored when the page is made.
        if (!iconModel)
            setIconModel(new ThemeImageModel(ThemeImageModel::Icons, nullptr, this), true);
        if (QStandardItem* item = iconModel->addImageFile(files.first()))
            iconCombo->setCurrentIndex(item->row());
    } catch (const std::bad_alloc&) {
        ImageProperty::refuseForMemory(files.first(), tr("Icon"), this);
    }
}
