#include "acceptance/project_files.h"

#include "appengine/selection_manager.h"
#include "main/velmora_document.h"
#include "velmora_objects/control.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"

#include <QFile>
#include <QStandardItemModel>
#include <gtest/gtest.h>

namespace ProjectFiles {

namespace {

QString libraryTheme(const QString& name)
{
    const QStandardItemModel* rows = ThemeLibrary::instance()->model();
    for (int row = 0; row < rows->rowCount(); ++row)
        if (rows->index(row, 0).data().toString() == name)
            return ThemeLibrary::instance()->themePathAt(row);
    ADD_FAILURE() << "the library lists no theme " << name.toStdString();
    return QString();
}

} // namespace

QString project(const QString& path, const QString& theme, const QString& layout,
                const QString& pageName, const std::vector<Control>& controls,
                const QStringList& morePages, bool sharedSwitcher)
{
    SelectionManager selection;
    VelmoraDocument document(selection);
    NewProjectData data;
    data.name = pageName;
    data.path = path;
    data.themeFile = libraryTheme(theme);
    data.page.name = pageName;
    data.page.layoutName = layout;
    if (sharedSwitcher) {
        data.page.navigationPosition = Velmora::NavigationPosition_BOTTOM;
        data.page.pageSwitcherPages = {UINT_MAX};
    }
    const unsigned int pageId = document.createProject(data);
    const unsigned int pageSwitcherId = document.getPage(pageId).getPageSwitcherId();
    for (const Control& made : controls) {
        const unsigned int id = document.addControl(made.type);
        Velmora::Control& control = document.getControl(id);
        control.setPageId(pageId);
        control.setGeometry(made.geometry);
        document.getPage(pageId).getControlIds().insert(id);
    }
    for (const QString& name : morePages) {
        NewPageData page;
        page.name = name;
        if (sharedSwitcher) {
            page.navigationPosition = Velmora::NavigationPosition_BOTTOM;
            page.pageSwitcherId = pageSwitcherId;
        }
        const unsigned int id = document.addPage(page);
        EXPECT_NE(id, UINT_MAX) << name.toStdString();
        if (sharedSwitcher) {
            Velmora::PageSwitcher& bar = document.getPageSwitcher(pageSwitcherId);
            bar.insertPage(id, int(bar.getPageIds().size()));
        }
        // As named, even without a name, which a file may give a page.
        document.setPageName(id, name);
    }
    document.save(false);
    return path;
}

QString theme(const QString& path, const QString& from, const QString& name)
{
    Velmora::Theme theme(libraryTheme(from));
    theme.setName(name);
    EXPECT_TRUE(ThemeFileWriter(&theme, nullptr).write(path)) << path.toStdString();
    EXPECT_TRUE(ThemeLibrary::instance()->addTheme(path, false)) << path.toStdString();
    return path;
}

QString copyOf(const QString& path, const QString& copy, const char* madeBy)
{
    QFile::remove(copy);
    EXPECT_TRUE(QFile::copy(path, copy)) << "needs " << path.toStdString() << " from " << madeBy;
    return copy;
}

} // namespace ProjectFiles
