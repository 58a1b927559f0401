#include "widgets/new_project_pages.h"
#include "core/stored_settings.h"

#include "file_system/file_system.h"
#include "gui/centered_icon_grid_view.h"
#include "main/last_directory.h"
#include "main/vendor_variants.h"
#include "velmora_objects/theme_library.h"
#include "widgets/project_orientation_field.h"
#include "widgets/theme_editor/theme_delegates.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace {

const char* const LastFileKey = "File/LastFile";

QLabel* rowLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

NewProjectPage::NewProjectPage(QWidget* parent)
    : QWizardPage(parent), nameEdit(new QLineEdit(this)), fileNameEdit(new QLineEdit(this))
{
    setTitle(tr("Project"));

    auto* browseButton = new QPushButton(tr("Browse..."), this);
    auto* orientationCombo = new QComboBox(this);
    orientationCombo->addItems({tr("Landscape"), tr("Portrait")});

    auto* layout = new QGridLayout(this);
    layout->setColumnStretch(1, 1);
    layout->addWidget(rowLabel(tr("Name"), this), 0, 0);
    layout->addWidget(nameEdit, 0, 1, 1, 2);
    layout->addWidget(rowLabel(tr("File name"), this), 1, 0);
    layout->addWidget(fileNameEdit, 1, 1);
    layout->addWidget(browseButton, 1, 2);
    layout->addWidget(rowLabel(tr("Orientation"), this), 2, 0);
    layout->addWidget(orientationCombo, 2, 1, 1, 2);

    connect(nameEdit, &QLineEdit::textChanged, this, &NewProjectPage::onNameChange);
    connect(fileNameEdit, &QLineEdit::textChanged, this, &NewProjectPage::onFileNameChange);
    connect(browseButton, &QPushButton::clicked, this, &NewProjectPage::onBrowseClicked);

    registerField("project_name*", nameEdit);
    registerField("path*", fileNameEdit);
    registerField("orientation", orientationCombo);
}

// The file name edit's own signal would make the text a hand edit, so a text the page proposes
// is set with the edit's signals blocked. The wizard then learns of the mandatory field's new
// value only through completeChanged.
void NewProjectPage::setFileNameQuietly(const QString& path)
{
    const bool blocked = fileNameEdit->blockSignals(true);
    fileNameEdit->setText(path);
    fileNameEdit->blockSignals(blocked);
    emit completeChanged();
}

void NewProjectPage::onNameChange(const QString& name)
{
    if (!followName)
        return;
    // One visible file in the folder of the last project, whatever the name holds (no folder
    // part, no hidden or device name); a name that already ends in the extension gets no second.
    // A cleared name proposes the extension alone: Next waits for a name, so there is no file
    // to make visible yet.
    const QString extension = "." + VendorVariants::instance().projectExtension;
    const QString base = name.endsWith(extension) ? name.chopped(extension.size()) : name;
    setFileNameQuietly(Velmora::lastDirectory(LastFileKey, true) + "/" +
                       (name.isEmpty() ? extension : FileSystem::visibleFileName(base, extension)));
    confirmOverwrite = true;
}

void NewProjectPage::onFileNameChange()
{
    followName = false;
    confirmOverwrite = true;
}

void NewProjectPage::onBrowseClicked()
{
    const QString extension = VendorVariants::instance().projectExtension;
    QString start = fileNameEdit->text();
    if (start.isEmpty())
        start = Velmora::lastDirectory(LastFileKey, true);
    QString path = QFileDialog::getSaveFileName(
        this, tr("New File"), start,
        QString("%1 files (*.%2)").arg(VendorVariants::instance().fullName, extension));
    if (path.isNull())
        return;
    // The save dialog has asked about replacing the file it was given, but not about the one
    // its name names once the extension is added.
    const bool extended = QFileInfo(path).suffix() != extension;
    if (extended)
        path += "." + extension;
    StoredSettings().setValue(LastFileKey, path);
    setFileNameQuietly(path);
    followName = false;
    confirmOverwrite = extended;
}

bool NewProjectPage::validatePage()
{
    if (!confirmOverwrite)
        return true;
    const QString path = fileNameEdit->text();
    if (!QFileInfo::exists(path))
        return true;
    QMessageBox question(this);
    question.setWindowTitle(tr("New Project"));
    question.setText(tr("%1 already exists.").arg(path));
    question.setInformativeText("Do you want to overwrite it?");
    QPushButton* overwrite = question.addButton(tr("Overwrite"), QMessageBox::YesRole);
    question.addButton(QMessageBox::Cancel);
    question.exec();
    const bool accepted = question.clickedButton() == overwrite;
    // An agreed overwrite is not asked about again until the file name changes.
    confirmOverwrite = !accepted;
    return accepted;
}

ProjectThemePage::ProjectThemePage(QWidget* parent)
    : QWizardPage(parent), view(new CenteredIconGridView(this)),
      delegate(new ThemeSplashDelegate(this))
{
    setTitle(tr("Set Project Theme"));
    delegate->orientation = 1;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view, 1);

    view->setModel(ThemeLibrary::instance()->model());
    view->setItemDelegate(delegate);
    view->setGridSize(delegate->cellSize());
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ProjectThemePage::onThemeSelected);
}

void ProjectThemePage::setThemePath(const QString& path)
{
    // A remembered theme counts only while the library still lists it: a path that names no
    // row would pass a missing file on to the project.
    const QModelIndex row =
        path.isEmpty() ? QModelIndex() : ThemeLibrary::instance()->findTheme(path);
    if (row.isValid()) {
        view->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect);
        view->selectionModel()->setCurrentIndex(row, QItemSelectionModel::NoUpdate);
        view->scrollTo(row);
    } else {
        view->selectionModel()->clearSelection();
    }
    m_themePath = row.isValid() ? path : QString();
    emit completeChanged();
}

void ProjectThemePage::setOrientation(int orientation)
{
    delegate->orientation = orientation;
    view->setGridSize(delegate->cellSize());
    view->viewport()->update();
}

void ProjectThemePage::initializePage()
{
    const QVariant orientation = projectOrientationField(wizard());
    if (!orientation.isNull())
        setOrientation(orientation.toInt() + 1);
}

bool ProjectThemePage::isComplete() const
{
    return !m_themePath.isEmpty();
}

void ProjectThemePage::onThemeSelected()
{
    const QModelIndexList selected = view->selectionModel()->selectedIndexes();
    m_themePath =
        selected.size() == 1 ? selected.first().data(ThemeLibrary::PathRole).toString() : QString();
    emit completeChanged();
}
