#include "widgets/theme_editor/theme_library_browser.h"
#include "core/stored_settings.h"

#include "main/last_directory.h"
#include "main/vendor_variants.h"
#include "velmora_objects/theme_library.h"
#include "widgets/theme_editor/theme_delegates.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardItemModel>
#include <QStyle>
#include <algorithm>
#include <set>

namespace {

const QString lastThemeKey = QStringLiteral("File/LastTheme");

QStringList chooseThemeFiles(QWidget* parent)
{
    const QStringList paths = QFileDialog::getOpenFileNames(
        parent, ThemeLibraryBrowser::tr("Themes"), Velmora::lastDirectory(lastThemeKey, true),
        QStringLiteral("Themes (*.%1)").arg(VendorVariants::instance().themeExtension));
    if (!paths.isEmpty())
        StoredSettings().setValue(lastThemeKey, paths.first());
    return paths;
}

} // namespace

ThemeLibraryBrowser::ThemeLibraryBrowser(QWidget* parent)
    : QWidget(parent), filesChooser(chooseThemeFiles)
{
    setupUi(this);

    delegate = new ThemeSplashDelegate(listView);
    delegate->orientation = 1;
    // The layout follows the grid size, not the model, so the model comes first.
    listView->setModel(ThemeLibrary::instance()->model());
    listView->setGridSize(delegate->cellSize());
    listView->setItemDelegate(delegate);
    listView->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    connect(listView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ThemeLibraryBrowser::updateButtons);
    connect(removeThemeButton, &QAbstractButton::clicked, this,
            &ThemeLibraryBrowser::removeSelectedThemes);
    connect(browseThemesButton, &QAbstractButton::clicked, this,
            &ThemeLibraryBrowser::browseForThemes);
    updateButtons();
    showRefusedThemes();
}

void ThemeLibraryBrowser::showRefusedThemes()
{
    QStringList lines;
    for (const ThemeLibrary::Refusal& refusal : ThemeLibrary::instance()->refusedThemes())
        lines << tr("%1: %2").arg(QDir::toNativeSeparators(refusal.path), refusal.reason);
    refusedLabel->setText(tr("Theme files left out of the library:\n%1").arg(lines.join('\n')));
    refusedArea->setVisible(!lines.isEmpty());
}

ThemeLibraryBrowser::~ThemeLibraryBrowser() = default;

QSize ThemeLibraryBrowser::sizeHint() const
{
    const QSize cell = listView->gridSize();
    const int frame = 2 * listView->frameWidth();
    const QSize rows(2 * cell.width() + frame + style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                     2 * cell.height() + frame);
    return QWidget::sizeHint() + (rows - listView->sizeHint()).expandedTo(QSize(0, 0));
}

QModelIndexList ThemeLibraryBrowser::selectedThemes() const
{
    QModelIndexList rows = listView->selectionModel()->selectedIndexes();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QModelIndex ThemeLibraryBrowser::templateTheme() const
{
    const QModelIndexList rows = selectedThemes();
    return rows.size() == 1 ? rows.first() : QModelIndex();
}

void ThemeLibraryBrowser::updateButtons()
{
    const QModelIndexList rows = selectedThemes();
    const bool removable =
        !rows.isEmpty() && std::none_of(rows.begin(), rows.end(), [](const QModelIndex& row) {
            return row.data(ThemeLibrary::BuiltInRole).toBool();
        });
    removeThemeButton->setEnabled(removable);
    editThemeButton->setEnabled(removable && rows.size() == 1);
}

void ThemeLibraryBrowser::removeSelectedThemes()
{
    // Paths, not indexes: every removal moves the rows below it. The library may list a file
    // twice; once the file leaves the user's list, no row of it may stay behind. The themes
    // that come with the application never leave, even when asked for without the button.
    std::set<QString> paths;
    for (const QModelIndex& row : selectedThemes()) {
        if (!row.data(ThemeLibrary::BuiltInRole).toBool())
            paths.insert(row.data(ThemeLibrary::PathRole).toString());
    }
    ThemeLibrary* library = ThemeLibrary::instance();
    for (const QString& path : paths) {
        if (unregisterTheme)
            unregisterTheme(path);
        for (QModelIndex row = library->findTheme(path); row.isValid();
             row = library->findTheme(path))
            library->removeTheme(row);
    }
}

void ThemeLibraryBrowser::browseForThemes()
{
    const QStringList paths = filesChooser ? filesChooser(this) : QStringList();
    ThemeLibrary* library = ThemeLibrary::instance();
    QString shown;
    for (int i = 0; i < paths.size(); ++i) {
        const QString& path = paths.at(i);
        if (library->findTheme(path).isValid()) {
            if (shown.isEmpty())
                shown = path;
            continue;
        }
        QString reason;
        if (library->addTheme(path, false, &reason)) {
            if (registerTheme)
                registerTheme(path);
            if (shown.isEmpty())
                shown = path;
            continue;
        }
        QString message = tr("Failed to load theme file %1.").arg(QFileInfo(path).fileName());
        if (!reason.isEmpty())
            message += QLatin1Char('\n') + reason;
        const bool more = i + 1 < paths.size();
        if (!more) {
            QMessageBox::critical(this, tr("Load Theme"), message, QMessageBox::Ok);
            break;
        }
        message += tr("\n\nDo you want to continue loading the other theme files?");
        if (QMessageBox::critical(this, tr("Load Theme"), message,
                                  QMessageBox::Yes | QMessageBox::No) == QMessageBox::No)
            break;
    }
    if (!shown.isEmpty())
        listView->scrollTo(library->findTheme(shown));
}
