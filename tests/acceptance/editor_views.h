#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QMessageBox>
#include <QModelIndex>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <Qt>
#include <string>

class EditorProgram;
class MainWindow;
class PagePreview;
class PropertyEditor;
class QAction;
class QComboBox;
class QQuickItem;
class QTreeView;
class QWidget;
class VelmoraApplication;

// The editor as a person sees it and works it: its windows and what they show, found by the
// texts a person reads, and the gestures a person makes on them (through UserInput). The
// acceptance scenarios are written in these terms; nothing here changes the project but
// through that input.
namespace Editor {

// The program the scenarios run, and the home folder it was started with.
void start(EditorProgram* program, const QString& home);
EditorProgram* program();

VelmoraApplication* app();

MainWindow* window();

// With VELMORA_GALLERY naming a folder, the widget as the screen shows it is saved there as
// name.png for the README's gallery: at most 640 pixels wide, in 256 colours.
void shoot(const QString& name, QWidget* widget, QRect area = QRect());
// The tree down to its last row, for the gallery.
void shootRows(const QString& name, QTreeView* tree);

QString file(const QString& name);

// The tool of the main window whose tip reads `text`, clicked.
void useTool(const QString& text);
// The tool clicked when it is not on (checked) or off as wanted.
void setTool(const QString& text, bool on);

PagePreview* pageView();

// The view position of a point of the page.
QPoint onPage(QPoint point);

// A control drawn with its drawing tool over the rectangle of the page.
void drawControl(const QString& tool, const QRect& rect);

PropertyEditor* propertyEditor();

// The value the property editor shows in the row of the group, as text.
QString shown(const QString& group, const QString& row);

QRect shownGeometry();

QStringList groupsShown();

QStringList pagesListed();

QModelIndex valueCell(const QStringList& row);

// Clicks the value of the row and types the text, as a person edits a property.
void editText(const QStringList& row, const QString& text);

// The "..." button at the right end of the row's value, which opens the row's dialog.
void clickMore(const QStringList& row);

// Opens the combo box's list and clicks the entry.
void chooseInCombo(QComboBox* combo, const QString& entry);

extern const QColor pageColour;

// The page view's area (by default all of it) on screen, once it shows a frame of its live
// surface drawn with everything changed so far.
QImage pageViewOnScreen(QRect area = QRect());

// The pixels of the page view on screen in the colour.
int pixelsOnPage(const QColor& colour);

QString currentPageListed();
// The page chosen in the page list.
void showPage(const QString& name);

// Chooses the entry in the row's value, a list of choices.
void editChoice(const QStringList& row, const QString& entry);

QQuickItem* shownItem(const QString& objectName);

// The texts the page view shows, below the item or everywhere.
QStringList textsIn(QQuickItem* root);

QStringList textsShown();

QQuickItem* shownText(const QString& text);

// The middle of a live item, in page coordinates.
QPoint centreOf(const QQuickItem* item);

// The middle of the selection frame's grip drawn nearest the point of the page, found on the
// screen within 20 view pixels of it; (-1,-1) when none is drawn there.
QPoint gripOnScreen(QPoint point);

// The pixels of the page's rectangle on screen that show the grey around the page instead of
// the page: none while the page stands in its place.
int pageGapsOnScreen();

// The colour on screen just inside the top edge of the page switcher's button of the page,
// where only the mark of the current page's button is drawn.
QColor switcherButtonTop(const QString& page);

// Every page, chosen in the page list in turn, as the page view shows it on screen, with what
// tells the time (clocks, the page switcher's time and date) blacked out.
QList<QImage> pagesOnScreen();

// Presses the key until the tool greys out; the number of presses.
int pressUntilDisabled(Qt::Key pressed, Qt::KeyboardModifiers modifiers, QAction* action);

// Clicks the button of the message box.
void pressButton(QWidget* box, QMessageBox::StandardButton which);

// Answers a file dialog with the path typed into its name field.
void typeFileName(QWidget* dialog, const QString& path);

// Where two pictures of the same size differ: the number of pixels and their bounds. The
// smooth scaling of a picture blends its edge with what lies beneath by a level or two more
// or less from one drawing to the next; such a pixel counts as the same.
std::string difference(const QImage& a, const QImage& b);

// The new-page wizard answered from the page's name on: the name ("" as offered), the icon
// of that row of the icon list (which must show its picture; -1 none), the layout ("" the
// blank one), everything else as offered. With `gallery`, its pages are shot.
void newPage(QWidget* dialog, const QString& pageName, const QString& layout, bool gallery = false,
             int icon = -1);
// The new-project wizard answered: name, theme, then the first page as newPage() answers it.
// The names of the themes offered go to `themes` when given.
void newProject(QWidget* dialog, const QString& name, const QString& theme, const QString& layout,
                const QString& pageName = QString(), bool gallery = false,
                QStringList* themes = nullptr, int icon = -1);

extern const QColor themeColour;

// Sets the colour in the colour dialog's red, green and blue fields and accepts it; with a
// shot's name, the dialog goes to the gallery first.
void answerColour(QWidget* dialog, const QColor& colour, const QString& shot = QString());

// The skin list of the theme editor on the project's theme, for the answer to read; the editor
// is left with Cancel and the dialog closed.
QStringList projectThemeStates();

} // namespace Editor
