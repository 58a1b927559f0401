#include "widgets/theme_editor/written_theme_listing.h"

#include "velmora_objects/theme.h"
#include "velmora_objects/theme_library.h"

#include <QIcon>
#include <QModelIndex>
#include <QPixmap>
#include <QStandardItemModel>

void showThemeInLibraryRow(const QModelIndex& row, const Velmora::Theme& theme)
{
    QStandardItemModel* model = ThemeLibrary::instance()->model();
    model->setData(row, theme.getName(), Qt::DisplayRole);
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(theme.getLandscapeSplash()), QIcon::Normal, QIcon::Off);
    icon.addPixmap(QPixmap::fromImage(theme.getPortraitSplash()), QIcon::Disabled, QIcon::Off);
    model->setData(row, icon, Qt::DecorationRole);
}

void listWrittenTheme(const QString& path, const Velmora::Theme& theme,
                      const std::function<void(const QString&)>& registrar)
{
    ThemeLibrary* library = ThemeLibrary::instance();
    const QModelIndex listed = library->findTheme(path);
    if (listed.isValid()) {
        showThemeInLibraryRow(listed, theme);
        return;
    }
    // A file the library cannot list would be dropped from the user's list at the next start
    // anyway; only a listed file is recorded.
    if (library->addTheme(path, false) && registrar)
        registrar(ThemeLibrary::listedPath(path));
}
