#include "widgets/theme_editor/new_theme_settings.h"

#include "velmora_objects/theme_library.h"
#include "widgets/theme_editor/theme_delegates.h"

#include <QSignalBlocker>
#include <QStandardItemModel>

NewThemeSettings::NewThemeSettings(QWidget* parent) : QWidget(parent)
{
    setupUi(this);
    connect(fileNameEntry, &ThemeFileNameEntry::nameChanged, this, &NewThemeSettings::checkReady);
    connect(fileNameEntry, &ThemeFileNameEntry::filePathChanged, this,
            &NewThemeSettings::checkReady);

    auto* delegate = new ThemeSplashDelegate(this);
    delegate->orientation = 1;
    // The layout follows the grid size, not the model, so the model comes first.
    themeListView->setModel(ThemeLibrary::instance()->model());
    themeListView->setGridSize(delegate->cellSize());
    themeListView->setItemDelegate(delegate);
    themeListView->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    themeListView->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(themeListView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &NewThemeSettings::checkReady);
    connect(nextButton, &QAbstractButton::clicked, this, &NewThemeSettings::onNextClicked);
    connect(cancelButton, &QAbstractButton::clicked, this, &NewThemeSettings::cancel);
    nextButton->setEnabled(false);
}

NewThemeSettings::~NewThemeSettings() = default;

QString NewThemeSettings::name() const
{
    return fileNameEntry->name();
}

QString NewThemeSettings::filePath() const
{
    return fileNameEntry->filePath();
}

QModelIndex NewThemeSettings::templateTheme() const
{
    const QModelIndexList rows = themeListView->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? QModelIndex() : rows.first();
}

void NewThemeSettings::setTemplateTheme(const QModelIndex& index)
{
    fileNameEntry->clear();
    {
        const QSignalBlocker blockEntry(fileNameEntry);
        QItemSelectionModel* selection = themeListView->selectionModel();
        const QSignalBlocker blockSelection(selection);
        if (index.isValid()) {
            fileNameEntry->setName(index.data(Qt::DisplayRole).toString());
            selection->select(index, QItemSelectionModel::ClearAndSelect);
        } else {
            selection->clearSelection();
        }
        fileNameEntry->focusName();
    }
    // The view was not told of the silent selection change.
    themeListView->viewport()->update();
    checkReady();
}

void NewThemeSettings::checkReady()
{
    nextButton->setEnabled(!name().isEmpty() && !filePath().isEmpty() &&
                           themeListView->selectionModel()->selectedIndexes().size() == 1);
}

void NewThemeSettings::onNextClicked()
{
    fileNameEntry->ensureFileExtension();
    if (fileNameEntry->confirmOverwrite())
        emit ready();
}
