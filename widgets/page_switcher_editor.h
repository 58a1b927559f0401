#pragma once

#include <QDialog>
#include <QListView>
#include <QModelIndex>
#include <QString>
#include <QWidget>
#include <climits>
#include <set>
#include <vector>

class QButtonGroup;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QRadioButton;
class QSortFilterProxyModel;
class QStandardItem;
class QStandardItemModel;
class VelmoraDocument;

namespace Velmora {
class PageSwitcher;
class Theme;
} // namespace Velmora

// One of the two page lists of the page-switcher editor. Pages move between the lists by drag
// and drop; the switcher list can also be reordered by dragging within it, the available list
// cannot, and a page dropped on it goes back to its place in page order.
class PageSwitcherListView : public QListView
{
    Q_OBJECT

public:
    // isSource: the list of available pages.
    PageSwitcherListView(bool isSource, QWidget* parent = nullptr);

    bool isSource() const { return source; }
    // Whether a drag started in `dragSource` may be dropped here: the available list refuses
    // drags from itself, everything else is taken.
    bool acceptsDragFrom(const QObject* dragSource) const;

protected:
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool source;
};

// Picks an existing page switcher for a page, or composes a new one from the project's pages:
// the pages it offers sit in one of two lists, "Available Pages" and "Pages in Page Switcher"
// (in bar order), and a message line reports when the switcher holds more pages than its edge
// allows. The page id UINT_MAX stands for a page that is still being created; it is shown with
// the new page's name and sorts after every real page.
//
// The editor only reads the project; its owner applies the result. Insertions into and removals
// from the switcher list are handled once control is back in the event loop, so that a drag
// has finished moving the rows before they are selected and counted.
class PageSwitcherEditor : public QWidget
{
    Q_OBJECT

public:
    // Item roles of the page lists besides the name (Qt::DisplayRole) and the icon.
    enum PageRole
    {
        PageIdRole = Qt::UserRole + 1,   // unsigned int
        SortValueRole = Qt::UserRole + 2 // int; INT_MAX for the page being created
    };

    explicit PageSwitcherEditor(QWidget* parent = nullptr);

    // Offers every page of the project, takes its orientation and lists its page switchers.
    void setDocument(const VelmoraDocument* document);
    // Offers the page being created as well.
    void addNewPage();
    void setNewPageName(const QString& name);
    // UINT_MAX composes a new switcher; a real id shows that switcher's pages.
    void setPageSwitcherId(unsigned int id);
    unsigned int pageSwitcherId() const { return chosenId; }
    // The bar's edge (1 Top, 2 Right, 3 Bottom, 4 Left) and the screen orientation, which
    // together give the page limit.
    void setPosition(int position);
    void setOrientation(int orientation);
    // When off, the picker lists only the switchers at the editor's position.
    void setShowAllPageSwitchers(bool show);
    // The pages of the switcher list, top to bottom; UINT_MAX for the page being created.
    void pageIds(std::vector<unsigned int>& ids) const;
    int pageCount() const;
    bool isValid() const { return valid; }

    // For the dialog and for tests.
    QComboBox* picker() const { return pageSwitcherPicker; }
    QRadioButton* existingButton() const { return existingRadio; }
    QRadioButton* newButton() const { return newRadio; }
    PageSwitcherListView* availableView() const { return availableList; }
    PageSwitcherListView* switcherView() const { return switcherList; }
    QLabel* messageLabel() const { return message; }
    int pageLimit() const { return limit; }

signals:
    void pageSwitcherIdChanged(unsigned int id);
    void validStateChanged(bool valid);

public slots:
    // Button-group id: 1 new switcher, 0 the switcher the picker shows.
    void onTypeChange(int id);
    void onPageSwitcherSelected(int index);
    void onPageAddedToSource(const QModelIndex& parent, int first, int last);
    void onPageAddedToDest(const QModelIndex& parent, int first, int last);
    // Recounts the switcher list; reports the verdict when it changed, or always when forced.
    void validate(bool force);
    void validate() { validate(false); }

private:
    void refreshPageSwitcherPicker();
    void refreshPageLists();
    QStandardItem* makePageItem(unsigned int pageId, const Velmora::Theme* theme) const;
    QStandardItem* findPlaceholder() const;
    void selectRows(QAbstractItemView* view, int first, int last);
    void selectPickerEntry(unsigned int id);

    QRadioButton* existingRadio;
    QRadioButton* newRadio;
    QButtonGroup* typeGroup;
    QComboBox* pageSwitcherPicker;
    PageSwitcherListView* availableList;
    PageSwitcherListView* switcherList;
    QLabel* message;
    QStandardItemModel* availableModel;
    QStandardItemModel* switcherModel;
    QSortFilterProxyModel* sortProxy;
    const VelmoraDocument* document = nullptr;
    int orientation = 0;
    int position = 0;
    bool showAllPageSwitchers = true;
    unsigned int chosenId = UINT_MAX;
    std::set<unsigned int> offeredPages;
    QString newPageName;
    // -1 until a position or orientation is set: no limit yet.
    int limit = -1;
    bool refreshing = false;
    bool valid = true;
};

// "Add Page Switcher" / "Edit Page Switcher": the editor plus the bar's position and alignment.
// OK is enabled only while the page count is within the limit. The dialog records the choice;
// its caller turns it into undo commands.
class PageSwitcherEditorDialog : public QDialog
{
    Q_OBJECT

public:
    // The document may be null only when no existing switcher will be chosen.
    PageSwitcherEditorDialog(const VelmoraDocument* document, QWidget* parent = nullptr);

    // Edits the given switcher (never null).
    void setEditMode(const Velmora::PageSwitcher* pageSwitcher);
    // Select the entry with this value, as if the user had picked it.
    void setPosition(int position);
    void setAlignment(int alignment);

    unsigned int pageSwitcherId() const;
    void pageIds(std::vector<unsigned int>& ids) const;
    int position() const { return currentPosition; }
    int alignment() const { return currentAlignment; }

    PageSwitcherEditor* pageSwitcherEditor() const { return editor; }
    QComboBox* positionBox() const { return positionCombo; }
    QComboBox* alignmentBox() const { return alignmentCombo; }
    QDialogButtonBox* buttons() const { return buttonBox; }

public slots:
    void onPositionChange(int index);
    void onAlignmentChange(int index);
    void onPageSwitcherIdChanged(unsigned int id);
    void onValidStateChanged(bool valid);

private:
    PageSwitcherEditor* editor;
    QComboBox* positionCombo;
    QComboBox* alignmentCombo;
    QDialogButtonBox* buttonBox;
    const VelmoraDocument* pDocument;
    int currentPosition = 0;
    int currentAlignment = 0;
};
