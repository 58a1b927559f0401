#include "common/command_fixture.h"
#include "common/helpers.h"
#include "velmora_objects/theme.h"
#include "widgets/page_switcher_editor.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace Velmora;

// Readable failures.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

const int IdRole = PageSwitcherEditor::PageIdRole;

using TestUtil::rowTexts;

bool hasRedPixel(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 90 && c.blue() < 90)
                return true;
        }
    return false;
}

// Drops rows of one list onto the other as a drag between them does: the target view takes
// the drop at `at` (its viewport's coordinates), then the source list removes its rows.
void dragRows(PageSwitcherListView* from, const QList<int>& rows, PageSwitcherListView* to,
              const QPoint& at)
{
    QModelIndexList indexes;
    for (int row : rows)
        indexes << from->model()->index(row, 0);
    std::unique_ptr<QMimeData> data(from->model()->mimeData(indexes));
    QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(to->viewport(), &enter);
    QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(to->viewport(), &move);
    QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(to->viewport(), &drop);
    ASSERT_TRUE(drop.isAccepted());
    QList<QPersistentModelIndex> taken(indexes.begin(), indexes.end());
    for (const QPersistentModelIndex& index : taken)
        from->model()->removeRow(index.row());
    QApplication::processEvents();
}

class PageSwitcherEditorTest : public TestUtil::CommandFixture
{
protected:
    // A landscape project of `count` pages named "Page 1" ..., in page order.
    void makePages(int count)
    {
        pages.push_back(create());
        while (int(pages.size()) < count)
            pages.push_back(addPage());
    }
    // A switcher shown on `shownOn`, listing the pages at those indexes.
    unsigned int addSwitcher(int position, const std::vector<int>& listed, int shownOn)
    {
        std::vector<unsigned int> ids;
        for (int index : listed)
            ids.push_back(pages[index]);
        const unsigned int id = document->addPageSwitcher(position, Alignment_CENTER, ids);
        document->getPage(pages[shownOn]).setPageSwitcherId(id);
        document->getPageSwitcher(id).incrementUsage();
        return id;
    }

    std::vector<unsigned int> pages;
};

} // namespace

TEST_F(PageSwitcherEditorTest, NewDialogComposesABottomSwitcherWithinTheLimit)
{
    makePages(12);
    PageSwitcherEditorDialog dialog(document.get());
    PageSwitcherEditor* editor = dialog.pageSwitcherEditor();
    QPushButton* ok = dialog.buttons()->button(QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.windowTitle(), "Add Page Switcher");
    EXPECT_EQ(dialog.positionBox()->currentText(), "Bottom");
    EXPECT_EQ(dialog.alignmentBox()->currentText(), "Start");
    EXPECT_EQ(dialog.position(), NavigationPosition_BOTTOM);
    EXPECT_EQ(editor->pageCount(), 0);
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_FALSE(editor->existingButton()->isEnabled()); // the project has no switcher
    EXPECT_EQ(editor->pageSwitcherId(), UINT_MAX);
    EXPECT_EQ(rowTexts(editor->availableView()->model()).size(), 12);

    dialog.resize(600, 500);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    PageSwitcherListView* available = editor->availableView();
    PageSwitcherListView* switcher = editor->switcherView();
    // Pages 3, 5 and 1 in that bar order, each dropped below the last.
    for (const char* name : {"Page 3", "Page 5", "Page 1"}) {
        const int row = rowTexts(available->model()).indexOf(name);
        dragRows(available, {row}, switcher, QPoint(5, switcher->viewport()->height() - 5));
    }
    std::vector<unsigned int> ids;
    dialog.pageIds(ids);
    EXPECT_EQ(ids, (std::vector<unsigned int>{pages[2], pages[4], pages[0]}));
    EXPECT_EQ(rowTexts(switcher->model()).last(), "Page 1");
    EXPECT_TRUE(switcher->selectionModel()->isRowSelected(2, QModelIndex())); // the drop

    // Eight more make eleven: one too many for a horizontal bar.
    dragRows(available, {0, 1, 2, 3, 4, 5, 6, 7}, switcher,
             QPoint(5, switcher->viewport()->height() - 5));
    EXPECT_EQ(editor->pageCount(), 11);
    EXPECT_FALSE(editor->isValid());
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(editor->messageLabel()->text(),
              "You can only have 10 pages in a horizontal Page Switcher");
    EXPECT_TRUE(hasRedPixel(editor->messageLabel()));

    // One dropped back returns to its place in page order.
    const int page1 = rowTexts(switcher->model()).indexOf("Page 1");
    dragRows(switcher, {page1}, available, QPoint(5, 5));
    EXPECT_EQ(rowTexts(available->model()), (QStringList{"Page 1", "Page 12"}));
    EXPECT_TRUE(editor->isValid());
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(editor->messageLabel()->text(), "");
}

TEST_F(PageSwitcherEditorTest, OnlyTheAvailableListRefusesItsOwnDrags)
{
    PageSwitcherEditor editor;
    PageSwitcherListView* available = editor.availableView();
    PageSwitcherListView* switcher = editor.switcherView();
    EXPECT_FALSE(available->acceptsDragFrom(available));
    EXPECT_TRUE(available->acceptsDragFrom(switcher));
    EXPECT_TRUE(switcher->acceptsDragFrom(switcher));
    EXPECT_TRUE(switcher->acceptsDragFrom(available));
}

TEST_F(PageSwitcherEditorTest, TheLimitFollowsEdgeAndOrientation)
{
    makePages(11);
    const std::vector<int> eleven = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const unsigned int full = addSwitcher(NavigationPosition_BOTTOM, eleven, 0);
    const unsigned int six = addSwitcher(NavigationPosition_LEFT,
                                         std::vector<int>(eleven.begin(), eleven.begin() + 6), 1);
    const unsigned int seven = addSwitcher(NavigationPosition_LEFT,
                                           std::vector<int>(eleven.begin(), eleven.begin() + 7), 2);
    const struct
    {
        int orientation, position;
        unsigned int switcher;
        bool valid;
        const char* message;
    } cases[] = {
        {Orientation_LANDSCAPE, NavigationPosition_BOTTOM, full, false,
         "You can only have 10 pages in a horizontal Page Switcher"},
        {Orientation_LANDSCAPE, NavigationPosition_LEFT, six, true, ""},
        {Orientation_LANDSCAPE, NavigationPosition_LEFT, seven, false,
         "You can only have 6 pages in a vertical Page Switcher"},
        {Orientation_PORTRAIT, NavigationPosition_LEFT, full, false,
         "You can only have 10 pages in a vertical Page Switcher"},
        {Orientation_PORTRAIT, NavigationPosition_RIGHT, seven, true, ""},
        {Orientation_PORTRAIT, NavigationPosition_TOP, seven, false,
         "You can only have 6 pages in a horizontal Page Switcher"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        PageSwitcherEditor editor;
        editor.setDocument(document.get());
        editor.setPageSwitcherId(c.switcher);
        editor.setOrientation(c.orientation);
        editor.setPosition(c.position);
        EXPECT_EQ(editor.isValid(), c.valid);
        EXPECT_EQ(editor.messageLabel()->text(), c.message);
        const QColor text = editor.messageLabel()->palette().color(QPalette::WindowText);
        EXPECT_EQ(text == QColor(Qt::red), !c.valid);
    }
}

TEST_F(PageSwitcherEditorTest, ChoosingAnExistingSwitcherShowsItsPagesEdgeAndAlignment)
{
    makePages(8);
    const unsigned int top = addSwitcher(NavigationPosition_TOP, {0, 1}, 0);
    document->getPage(pages[1]).setPageSwitcherId(top); // shown on Page 1 and Page 2
    document->getPageSwitcher(top).incrementUsage();
    const unsigned int left = addSwitcher(NavigationPosition_LEFT, {6, 2, 4, 0, 1, 3, 5}, 2);

    PageSwitcherEditorDialog dialog(document.get());
    PageSwitcherEditor* editor = dialog.pageSwitcherEditor();
    EXPECT_EQ(rowTexts(editor->picker()->model()), (QStringList{"Page 1, Page 2", "Page 3"}));
    EXPECT_TRUE(editor->existingButton()->isEnabled());
    EXPECT_FALSE(editor->picker()->isEnabled());

    QSignalSpy chosen(editor, &PageSwitcherEditor::pageSwitcherIdChanged);
    dialog.setEditMode(&document->getPageSwitcher(left));
    EXPECT_EQ(dialog.windowTitle(), "Edit Page Switcher");
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_TRUE(editor->existingButton()->isChecked());
    EXPECT_TRUE(editor->picker()->isEnabled());
    EXPECT_EQ(editor->picker()->currentText(), "Page 3");
    EXPECT_EQ(rowTexts(editor->switcherView()->model()),
              (QStringList{"Page 7", "Page 3", "Page 5", "Page 1", "Page 2", "Page 4", "Page 6"}));
    EXPECT_EQ(rowTexts(editor->availableView()->model()), (QStringList{"Page 8"}));
    EXPECT_EQ(dialog.positionBox()->currentText(), "Left");
    EXPECT_EQ(dialog.alignmentBox()->currentText(), "Center");
    EXPECT_FALSE(dialog.positionBox()->isEnabled());
    EXPECT_FALSE(dialog.alignmentBox()->isEnabled());
    // Seven pages on the short edge of a landscape screen.
    EXPECT_FALSE(dialog.buttons()->button(QDialogButtonBox::Ok)->isEnabled());

    editor->newButton()->click();
    EXPECT_EQ(dialog.pageSwitcherId(), UINT_MAX);
    EXPECT_TRUE(dialog.positionBox()->isEnabled());
    EXPECT_TRUE(dialog.alignmentBox()->isEnabled());
    EXPECT_FALSE(editor->picker()->isEnabled());
    EXPECT_EQ(editor->pageCount(), 0);
    EXPECT_TRUE(dialog.buttons()->button(QDialogButtonBox::Ok)->isEnabled());

    // "Use existing" takes the switcher the picker lists first, and its edge; once show-all
    // is off, only switchers at the editor's edge are offered.
    editor->existingButton()->click();
    EXPECT_EQ(dialog.pageSwitcherId(), top);
    EXPECT_EQ(dialog.positionBox()->currentText(), "Top");
    editor->setShowAllPageSwitchers(false);
    EXPECT_EQ(rowTexts(editor->picker()->model()), (QStringList{"Page 1, Page 2"}));
    EXPECT_EQ(editor->picker()->currentData().toUInt(), top);
}

TEST_F(PageSwitcherEditorTest, ThePageBeingCreatedJoinsTheSwitcherWhileThereIsRoom)
{
    makePages(10);
    Theme* theme = document->getTheme();
    ASSERT_NE(theme, nullptr);
    const unsigned int iconId = theme->addIconData(TestUtil::pngBytes(40, 40, Qt::blue));
    document->getPage(pages[1]).setIconId(iconId);
    const unsigned int full =
        addSwitcher(NavigationPosition_BOTTOM, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0}, 0);
    const struct
    {
        unsigned int switcher;
        int position;
        bool inSwitcher;
    } cases[] = {
        {UINT_MAX, NavigationPosition_BOTTOM, true},
        {full, NavigationPosition_BOTTOM, false}, // ten of ten
        {UINT_MAX, 0, false},                     // no edge: no room
    };
    for (const auto& c : cases) {
        PageSwitcherEditor editor;
        editor.setDocument(document.get());
        editor.setPosition(c.position);
        editor.setPageSwitcherId(c.switcher);
        editor.addNewPage();
        editor.setNewPageName("Lobby");
        const QAbstractItemModel* available = editor.availableView()->model();
        std::vector<unsigned int> ids;
        editor.pageIds(ids);
        EXPECT_EQ(!ids.empty() && ids.back() == UINT_MAX, c.inSwitcher);
        const QAbstractItemModel* holder =
            c.inSwitcher ? editor.switcherView()->model() : available;
        EXPECT_EQ(rowTexts(holder).last(), "Lobby");
        EXPECT_EQ(holder->index(holder->rowCount() - 1, 0).data(IdRole).toUInt(), UINT_MAX);
        EXPECT_TRUE(editor.isValid());
    }

    // Page 2 shows its theme icon at the icon size; the others the default icon.
    PageSwitcherEditor editor;
    editor.setDocument(document.get());
    const QAbstractItemModel* available = editor.availableView()->model();
    const QPixmap icon = available->index(1, 0).data(Qt::DecorationRole).value<QPixmap>();
    EXPECT_EQ(icon.size(), QSize(24, 24));
    EXPECT_EQ(icon.toImage().pixelColor(12, 12), QColor(Qt::blue));
    EXPECT_EQ(available->index(1, 0).data(Qt::SizeHintRole).toSize(), QSize(100, 32));
    EXPECT_FALSE(available->index(0, 0).data(Qt::SizeHintRole).isValid());
    EXPECT_FALSE(available->index(0, 0).data(Qt::DecorationRole).value<QPixmap>().isNull());
}
