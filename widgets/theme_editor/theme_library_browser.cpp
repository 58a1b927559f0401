#include "widgets/theme_editor/theme_library_browser.h"
#include "core/stored_settings.h"

#include "gui/list_message_box.h"
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
    // Each file that cannot be added, with the reader's reason.
    QList<std::pair<QString, QString>> refused;
    for (const QString& path : paths) {
        if (library->findTheme(path).isValid()) {
            if (shown.isEmpty())
                shown = path;
            continue;
        }
        QString reason;
        if (library->addTheme(path, false, &reason)) {
            if (registerTheme)
                registerTheme(ThemeLibrary::listedPath(path));
            if (shown.isEmpty())
                shown = path;
            continue;
        }
        refused.append({path, reason});
    }
    if (!shown.isEmpty())
        listView->scrollTo(library->findTheme(shown));
    if (!refused.isEmpty())
        tellRefusedThemes(refused);
}

void ThemeLibraryBrowser::tellRefusedThemes(const QList<std::pair<QString, QString>>& refused)
{
    const QString title = tr("Load Theme");
    if (refused.size() == 1) {
        const auto& [path, reason] = refused.first();
        QString text = tr("Failed to load theme file %1.").arg(QFileInfo(path).fileName());
        if (!reason.isEmpty())
            text += QLatin1Char('\n') + reason;
        QMessageBox::critical(this, title, text, QMessageBox::Ok);
        return;
    }
    // However many files were picked, one message lists them all, each with its reason.
    QStringList lines;
    for (const auto& [path, reason] : refused) {
        const QString name = QFileInfo(path).fileName();
        lines << (reason.isEmpty() ? name : tr("%1: %2").arg(name, reason));
    }
    ListMessageBox::critical(
        this, title, tr("Failed to load %n theme files:", nullptr, int(refused.size())), lines);
}
