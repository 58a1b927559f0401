#include "acceptance/editor_views.h"

#include "acceptance/user_input.h"
#include "appengine/page_preview_scene.h"
#include "common/modal_answerer.h"
#include "gui/property_delegate.h"
#include "main/application/editor_program.h"
#include "main/application/velmora_application.h"
#include "widgets/main_window.h"
#include "widgets/page_list.h"
#include "widgets/page_preview.h"
#include "widgets/property_editor.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPainter>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <QWizard>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

using namespace UserInput;

namespace Editor {

namespace {

EditorProgram* running = nullptr;
QString homeFolder;

// The tool bar button of the first action that matches.
QWidget* toolFor(const std::function<bool(QAction*)>& matches)
{
    for (QToolBar* bar : running->mainWindow()->findChildren<QToolBar*>())
        for (QAction* action : bar->actions())
            if (matches(action) && bar->widgetForAction(action))
                return bar->widgetForAction(action);
    return nullptr;
}

// Picks the cell of the grid whose item reads `text`.
void clickGridItem(QAbstractItemView* view, const QString& text)
{
    const QModelIndex index = rowByText(view, {text});
    ASSERT_TRUE(index.isValid()) << text.toStdString();
    clickCell(view, index, view->visualRect(index).width() / 2);
}

} // namespace

void start(EditorProgram* program, const QString& home)
{
    running = program;
    homeFolder = home;
}

EditorProgram* program()
{
    return running;
}

VelmoraApplication* app()
{
    return running->application();
}

MainWindow* window()
{
    return running->mainWindow();
}

void shoot(const QString& name, QWidget* widget, QRect area)
{
    const QString folder = qEnvironmentVariable("VELMORA_GALLERY");
    if (folder.isEmpty())
        return;
    // The page view, wherever it shows, with its live surface's latest frame.
    if (window()->isVisible())
        pageViewOnScreen();
    QImage image = settledScreenImage(widget, area);
    if (image.width() > 640)
        image = image.scaledToWidth(640, Qt::SmoothTransformation);
    // The most frequent colours (the flat ones of the widgets) stay exact; the rest (gradients,
    // pictures) is dithered between them and a coarse spread of all colours.
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000];
    QList<QPair<int, QRgb>> frequent;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        frequent.append({-it.value(), it.key()});
    std::sort(frequent.begin(), frequent.end());
    QList<QRgb> palette;
    for (int r = 0; r < 4; ++r)
        for (int g = 0; g < 4; ++g)
            for (int b = 0; b < 4; ++b)
                palette << qRgb(r * 85, g * 85, b * 85);
    for (int i = 0; i < frequent.size() && palette.size() < 256; ++i)
        if (!palette.contains(frequent[i].second))
            palette << frequent[i].second;
    image.convertToFormat(QImage::Format_Indexed8, palette, Qt::DiffuseDither)
        .save(folder + '/' + name + ".png", "PNG", 0);
}

void shootRows(const QString& name, QTreeView* tree)
{
    // Down to the last row shown, with the header above the rows.
    QModelIndex last = tree->model()->index(tree->model()->rowCount() - 1, 0);
    while (last.isValid() && tree->isExpanded(last) && tree->model()->rowCount(last) > 0)
        last = tree->model()->index(tree->model()->rowCount(last) - 1, 0, last);
    const int bottom = tree->viewport()->mapTo(tree, tree->visualRect(last).bottomLeft()).y();
    shoot(name, tree, QRect(0, 0, tree->width(), std::min(tree->height(), bottom + 6)));
}

QString file(const QString& name)
{
    return homeFolder + "/Documents/" + name;
}

void useTool(const QString& text)
{
    QWidget* tool = toolFor([&](QAction* action) { return action->text() == text; });
    ASSERT_NE(tool, nullptr) << text.toStdString();
    ASSERT_TRUE(tool->isEnabled()) << text.toStdString();
    click(tool);
}

void setTool(const QString& text, bool on)
{
    auto* tool = qobject_cast<QAbstractButton*>(
        toolFor([&](QAction* action) { return action->text() == text; }));
    ASSERT_NE(tool, nullptr) << text.toStdString();
    if (tool->isChecked() != on)
        click(tool);
    EXPECT_EQ(tool->isChecked(), on) << text.toStdString();
}

PagePreview* pageView()
{
    return window()->pagePreviewWidget();
}

QPoint onPage(QPoint point)
{
    return pageView()->mapFromScene(QPointF(point));
}

void drawControl(const QString& tool, const QRect& rect)
{
    useTool(tool);
    drag(pageView()->viewport(), onPage(rect.topLeft()), onPage(rect.bottomRight()));
}

PropertyEditor* propertyEditor()
{
    return window()->propertyEditorWidget();
}

QString shown(const QString& group, const QString& row)
{
    settle();
    const QModelIndex index = rowByText(propertyEditor(), {group, row});
    return index.isValid() ? index.siblingAtColumn(1).data().toString() : QString("<no row>");
}

QRect shownGeometry()
{
    return QRect(shown("Control", "X").toInt(), shown("Control", "Y").toInt(),
                 shown("Control", "Width").toInt(), shown("Control", "Height").toInt());
}

QStringList groupsShown()
{
    return TestUtil::rowTexts(propertyEditor()->model());
}

QStringList pagesListed()
{
    settle();
    return TestUtil::rowTexts(window()->pageListWidget()->model());
}

QModelIndex valueCell(const QStringList& row)
{
    return rowByText(propertyEditor(), row).siblingAtColumn(1);
}

void editText(const QStringList& row, const QString& text)
{
    clickCell(propertyEditor(), valueCell(row));
    QLineEdit* edit = nullptr;
    ASSERT_TRUE(waitFor([&] { return (edit = propertyEditor()->findChild<QLineEdit*>()); }));
    retype(edit, text);
    key(edit, Qt::Key_Return);
}

void clickMore(const QStringList& row)
{
    clickCell(propertyEditor(), valueCell(row), -PropertyDelegate::buttonWidth - 10);
}

void chooseInCombo(QComboBox* combo, const QString& entry)
{
    ASSERT_NE(combo, nullptr);
    click(combo);
    // The list shows at the click; it is used at once, as the menus are.
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(list->isVisible());
    const int row = combo->findText(entry);
    ASSERT_GE(row, 0) << entry.toStdString();
    clickCell(list, combo->model()->index(row, combo->modelColumn(), combo->rootModelIndex()));
}

const QColor pageColour(30, 160, 90);

QImage pageViewOnScreen(QRect area)
{
    // The live surface draws a frame now, with everything changed so far; then the view shows
    // it once it painted that.
    QQuickWindow* surface = app()->previewScene()->surface()->quickWindow();
    bool drawn = false;
    const QMetaObject::Connection connection =
        QObject::connect(surface, &QQuickWindow::afterRendering, [&drawn] { drawn = true; });
    surface->update();
    waitFor([&drawn] { return drawn; });
    QObject::disconnect(connection);
    return settledScreenImage(pageView()->viewport(), area);
}

int pixelsOnPage(const QColor& colour)
{
    return TestUtil::pixelsOfColour(pageViewOnScreen(), colour);
}

QString currentPageListed()
{
    PageList* list = window()->pageListWidget();
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().data().toString() : QString();
}

void showPage(const QString& name)
{
    PageList* list = window()->pageListWidget();
    clickCell(list, rowByText(list, {name}), 150);
}

void editChoice(const QStringList& row, const QString& entry)
{
    clickCell(propertyEditor(), valueCell(row));
    QComboBox* combo = nullptr;
    ASSERT_TRUE(waitFor([&] { return (combo = propertyEditor()->findChild<QComboBox*>()); }));
    chooseInCombo(combo, entry);
    settle();
}

static QList<QQuickItem*> itemsShown()
{
    QList<QQuickItem*> items;
    QList<QQuickItem*> pending{app()->previewScene()->surface()->quickWindow()->contentItem()};
    while (!pending.isEmpty()) {
        QQuickItem* item = pending.takeFirst();
        if (!item->isVisible())
            continue;
        items << item;
        pending << item->childItems();
    }
    return items;
}

QQuickItem* shownItem(const QString& objectName)
{
    for (QQuickItem* item : itemsShown())
        if (item->objectName() == objectName)
            return item;
    return nullptr;
}

static bool isText(const QQuickItem* item)
{
    return QByteArray(item->metaObject()->className()).startsWith("QQuickText");
}

QStringList textsIn(QQuickItem* root)
{
    QStringList texts;
    for (QQuickItem* item : itemsShown())
        if (isText(item) && (!root || root->isAncestorOf(item)))
            texts << item->property("text").toString();
    return texts;
}

QStringList textsShown()
{
    settle();
    return textsIn(nullptr);
}

QQuickItem* shownText(const QString& text)
{
    for (QQuickItem* item : itemsShown())
        if (isText(item) && item->property("text").toString() == text)
            return item;
    return nullptr;
}

QPoint centreOf(const QQuickItem* item)
{
    return item ? item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint()
                : QPoint(-1000, -1000);
}

QPoint gripOnScreen(QPoint point)
{
    QWidget* view = pageView()->viewport();
    const QRect area = QRect(onPage(point) - QPoint(20, 20), QSize(41, 41)) & view->rect();
    const QImage image = pageViewOnScreen(area);
    QRect grip;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (TestUtil::channelDistance(image.pixel(x, y), PagePreview::GripBorder) <= 4)
                grip |= QRect(x, y, 1, 1);
    return grip.isNull() ? QPoint(-1, -1) : grip.center() + area.topLeft();
}

int pageGapsOnScreen()
{
    const QImage image = pageViewOnScreen();
    return TestUtil::pixelsOfColour(image, image.pixelColor(2, 2),
                                    QRect(onPage(QPoint(0, 0)), onPage(QPoint(479, 271))));
}

QColor switcherButtonTop(const QString& page)
{
    const QQuickItem* text = shownText(page);
    if (!text || !text->parentItem())
        return QColor();
    const QQuickItem* button = text->parentItem();
    const QPoint top = button->mapToScene(QPointF(button->width() / 2, 2)).toPoint();
    return pageViewOnScreen(QRect(onPage(top), QSize(1, 1))).pixelColor(0, 0);
}

static QImage pageOnScreen()
{
    const QRect page(onPage(QPoint(0, 0)), onPage(QPoint(479, 271)));
    QImage image = pageViewOnScreen(page);
    QPainter painter(&image);
    for (QQuickItem* item : itemsShown()) {
        if (item->inherits("VelmoraQML::QMLAnalogueClock") || item->objectName() == "time" ||
            item->objectName() == "date")
            painter.fillRect(
                item->mapRectToScene(QRectF(0, 0, item->width(), item->height())).toAlignedRect(),
                Qt::black);
    }
    return image;
}

QList<QImage> pagesOnScreen()
{
    QList<QImage> pages;
    PageList* list = window()->pageListWidget();
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        clickCell(list, list->model()->index(row, 0), 150);
        pages << pageOnScreen();
    }
    return pages;
}

int pressUntilDisabled(Qt::Key pressed, Qt::KeyboardModifiers modifiers, QAction* action)
{
    QWidget* tool = toolFor([action](QAction* candidate) { return candidate == action; });
    int presses = 0;
    while (tool && tool->isEnabled() && presses < 500) {
        key(window(), pressed, modifiers);
        settle();
        ++presses;
    }
    return presses;
}

void pressButton(QWidget* box, QMessageBox::StandardButton which)
{
    auto* messageBox = qobject_cast<QMessageBox*>(box);
    ASSERT_NE(messageBox, nullptr) << "a message box, not " << box->metaObject()->className();
    ASSERT_TRUE(waitForWindow(box));
    click(messageBox->button(which));
}

void typeFileName(QWidget* dialog, const QString& path)
{
    ASSERT_TRUE(waitForWindow(dialog));
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr) << "a file dialog, not " << dialog->metaObject()->className() << " "
                             << dialog->windowTitle().toStdString();
    // In the folder the dialog shows, the name alone is typed, as a user would: a whole path
    // passes through the folders on its way, which the dialog's completion may take up.
    const QFileInfo file(path);
    const auto* files = qobject_cast<QFileDialog*>(dialog);
    const bool here =
        files && QFileInfo(files->directory().absolutePath()) == QFileInfo(file.absolutePath());
    click(name);
    retype(name, here ? file.fileName() : path);
    key(name, Qt::Key_Return);
}

std::string difference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return "sizes differ";
    int count = 0;
    QRect bounds;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (TestUtil::channelDistance(a.pixel(x, y), b.pixel(x, y)) > 4) {
                ++count;
                bounds |= QRect(x, y, 1, 1);
            }
    if (count == 0)
        return "none";
    return QString("%1 pixels in %2,%3 %4x%5")
        .arg(count)
        .arg(bounds.x())
        .arg(bounds.y())
        .arg(bounds.width())
        .arg(bounds.height())
        .toStdString();
}

namespace {

QWizard* shownWizard(QWidget* dialog)
{
    auto* wizard = qobject_cast<QWizard*>(dialog);
    EXPECT_NE(wizard, nullptr) << "a wizard, not " << dialog->metaObject()->className();
    return wizard && waitForWindow(wizard) ? wizard : nullptr;
}

void fill(QWizard* wizard, const QString& text)
{
    if (text.isEmpty())
        return;
    QLineEdit* edit = wizard->currentPage()->findChild<QLineEdit*>();
    click(edit);
    retype(edit, text);
}

void next(QWizard* wizard, int times = 1)
{
    for (int i = 0; i < times; ++i)
        click(wizard->button(QWizard::NextButton));
}

} // namespace

void newPage(QWidget* dialog, const QString& pageName, const QString& layout, bool gallery,
             int icon)
{
    QWizard* wizard = shownWizard(dialog);
    ASSERT_NE(wizard, nullptr);
    fill(wizard, pageName);
    if (icon >= 0) {
        auto* icons = wizard->currentPage()->findChild<QComboBox*>();
        ASSERT_NE(icons, nullptr);
        ASSERT_GT(icons->count(), icon) << "icons offered";
        EXPECT_FALSE(icons->itemIcon(icon).isNull());
        click(icons);
        clickCell(icons->view(), icons->model()->index(icon, icons->modelColumn()));
        EXPECT_EQ(icons->currentIndex(), icon);
    }
    next(wizard, 2);
    clickGridItem(wizard->currentPage()->findChild<QAbstractItemView*>(), layout);
    if (gallery)
        shoot("wizard_layout", wizard);
    next(wizard);
    click(wizard->button(QWizard::FinishButton));
}

void newProject(QWidget* dialog, const QString& name, const QString& theme, const QString& layout,
                const QString& pageName, bool gallery, QStringList* themes, int icon)
{
    QWizard* wizard = shownWizard(dialog);
    ASSERT_NE(wizard, nullptr);
    fill(wizard, name);
    next(wizard);
    auto* themeList = wizard->currentPage()->findChild<QAbstractItemView*>();
    if (themes)
        *themes = TestUtil::rowTexts(themeList->model());
    clickGridItem(themeList, theme);
    if (gallery)
        shoot("wizard_theme", wizard);
    next(wizard);
    newPage(wizard, pageName, layout, gallery, icon);
}

const QColor themeColour(255, 0, 255);

void answerColour(QWidget* dialog, const QColor& colour, const QString& shot)
{
    ASSERT_TRUE(waitForWindow(dialog));
    const QList<QSpinBox*> fields = dialog->findChildren<QSpinBox*>();
    ASSERT_GE(fields.size(), 3);
    const int values[] = {colour.red(), colour.green(), colour.blue()};
    for (int i = 0; i < 3; ++i) {
        click(fields[i]);
        retype(fields[i], QString::number(values[i]));
    }
    if (!shot.isEmpty())
        shoot(shot, dialog);
    click(button(dialog, "OK"));
}

QStringList projectThemeStates()
{
    QStringList states;
    TestUtil::ModalAnswerer answers;
    answers.setAnswersPopups(false);
    answers.then([&states](QWidget* dialog) {
        if (waitForWindow(dialog)) {
            click(button(dialog, "Edit Project Theme"));
            if (auto* skins = dialog->findChild<QListView*>("skinList"))
                states = TestUtil::rowTexts(skins->model());
            // Cancel with nothing changed leaves the dialog at once.
            click(button(dialog, "Cancel"));
        }
        if (dialog->isVisible())
            dialog->close();
    });
    useTool("Theme Editor");
    return states;
}

} // namespace Editor
