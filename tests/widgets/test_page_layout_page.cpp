#include "appengine/layout_library.h"
#include "common/fill_layout.h"
#include "common/helpers.h"
#include "gui/centered_icon_grid_view.h"
#include "main/new_page_data.h"
#include "velmora_objects/velmora_types.h"
#include "widgets/page_layout_page.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMovie>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWizard>
#include <gtest/gtest.h>

namespace {

// Stands for the new-project page's orientation question.
class OrientationPage : public QWizardPage
{
public:
    OrientationPage() : combo(new QComboBox(this))
    {
        combo->addItems({"Landscape", "Portrait"});
        registerField("orientation", combo);
    }

    QComboBox* combo;
};

// A layout library of three templates, one per orientation, and the page in a wizard after a
// page that carries the "orientation" field (as the new-project page does).
class PageLayoutPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TestUtil::startOrientedLayoutLibrary(root.path()));

        auto* first = new OrientationPage;
        orientationCombo = first->combo;
        wizard.addPage(first);
        page = new PageLayoutPage;
        wizard.addPage(page);
        wizard.addPage(new QWizardPage);
        view = page->findChild<CenteredIconGridView*>();
        ASSERT_NE(view, nullptr);
        wizard.show();
    }
    void TearDown() override { LayoutLibrary::destroyInstance(); }

    QStringList listed() const { return TestUtil::rowTexts(view->model()); }
    QStringList sortedListed() const
    {
        QStringList names = listed();
        names.sort();
        return names;
    }
    QModelIndex cell(const QString& name) const
    {
        return view->model()->index(int(listed().indexOf(name)), 0);
    }
    void click(const QString& name, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                          view->visualRect(cell(name)).center());
    }
    bool nextEnabled() const { return wizard.button(QWizard::NextButton)->isEnabled(); }

    QTemporaryDir root;
    QWizard wizard;
    QComboBox* orientationCombo = nullptr;
    PageLayoutPage* page = nullptr;
    CenteredIconGridView* view = nullptr;
};

// The length of the run of dark pixels from the point in the direction.
int darkRun(const QImage& image, QPoint point, const QPoint& step)
{
    int length = 0;
    for (; image.rect().contains(point) && qGray(image.pixel(point)) < 80; point += step)
        ++length;
    return length;
}

} // namespace

TEST_F(PageLayoutPageTest, ListsTheTemplatesOfTheOrientationAndDrawsThemSo)
{
    // Entered with Next, the page follows the wizard's orientation field.
    orientationCombo->setCurrentIndex(1);
    wizard.next();
    ASSERT_EQ(wizard.currentPage(), page);
    EXPECT_EQ(sortedListed(), QStringList({"", "Any", "Port"}));
    const struct
    {
        int orientation;
        QStringList names;
        QSize thumbnail;
    } cases[] = {
        {0, {"", "Any", "Land", "Port"}, {120, 68}},
        {2, {"", "Any", "Port"}, {68, 120}},
        {1, {"", "Any", "Land"}, {120, 68}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.orientation);
        page->setOrientation(c.orientation);
        EXPECT_EQ(sortedListed(), c.names);
        // The blank template's outlined thumbnail, at the top of its cell.
        const QRect blank = view->visualRect(cell(""));
        const QPoint corner(blank.left() + (blank.width() - c.thumbnail.width()) / 2,
                            blank.top() + 4);
        const QImage shot = view->viewport()->grab().toImage();
        EXPECT_EQ(darkRun(shot, corner, {1, 0}), c.thumbnail.width());
        EXPECT_EQ(darkRun(shot, corner, {0, 1}), c.thumbnail.height());
    }
}

TEST(LayoutProxyModel, OnlyOrientationNumbersFilter)
{
    QStandardItemModel source;
    const std::pair<QString, QVariant> rows[] = {
        {"portrait", QVariant::fromValue(Velmora::Orientation_PORTRAIT)},
        {"int 2", 2},
        {"text 2", "2"},
        {"none", QVariant()},
        {"landscape", QVariant::fromValue(Velmora::Orientation_LANDSCAPE)}};
    for (const auto& [name, value] : rows) {
        auto* item = new QStandardItem(name);
        item->setData(value, Qt::UserRole + 1);
        source.appendRow(item);
    }
    LayoutProxyModel proxy;
    proxy.setSourceModel(&source);
    EXPECT_EQ(proxy.rowCount(), 5);
    proxy.setOrientation(1);
    EXPECT_EQ(TestUtil::rowTexts(&proxy), QStringList({"text 2", "none", "landscape"}));
}

TEST_F(PageLayoutPageTest, ATemplateMustBeSelected)
{
    wizard.next();
    EXPECT_FALSE(nextEnabled());
    QSignalSpy completeChanged(page, &QWizardPage::completeChanged);
    click("Land");
    EXPECT_EQ(page->layoutName(), "Land");
    EXPECT_TRUE(nextEnabled());
    click("Any");
    EXPECT_EQ(page->layoutName(), "Any");
    click("");
    EXPECT_EQ(page->layoutName(), "");
    EXPECT_TRUE(nextEnabled());
    EXPECT_EQ(completeChanged.size(), 1);
    click("", Qt::ControlModifier);
    EXPECT_FALSE(nextEnabled());
    EXPECT_EQ(completeChanged.size(), 2);

    // The stored record's template is selected again, when the orientation lists it.
    const struct
    {
        int orientation;
        QString layout;
        QString selected;
    } cases[] = {{1, "Port", ""}, {2, "Port", "Port"}, {2, "Gone", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout.toStdString());
        view->clearSelection();
        page->setOrientation(c.orientation);
        NewPageData data;
        data.layoutName = c.layout;
        page->setNewPageData(data);
        EXPECT_EQ(page->layoutName(), c.selected);
        EXPECT_EQ(nextEnabled(), !c.selected.isEmpty());
        if (!c.selected.isEmpty()) {
            EXPECT_EQ(view->currentIndex(), cell(c.selected));
        }
    }
}

TEST_F(PageLayoutPageTest, ReloadShowsTheBusyStateAndDropsTheSelection)
{
    wizard.next();
    auto* stack = page->findChild<QStackedWidget*>();
    auto* refresh = page->findChild<QToolButton*>();
    auto* movie = page->findChild<QMovie*>();
    QLabel* loading = nullptr;
    for (QLabel* label : page->findChildren<QLabel*>())
        if (label->text() == "Loading...")
            loading = label;
    ASSERT_TRUE(stack && refresh && movie && loading);
    EXPECT_EQ(movie->frameCount(), 12);
    EXPECT_EQ(refresh->toolTip(), "Reload layouts");

    // The reload icon is drawn in green.
    const QImage icon = refresh->grab().toImage();
    int green = 0;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x) {
            const QColor c = icon.pixelColor(x, y);
            green += c.green() - c.red() > 50 && c.green() - c.blue() > 50;
        }
    EXPECT_GT(green, 40);

    const auto busy = [&] {
        return loading->isVisible() && stack->currentWidget() != refresh &&
               movie->state() == QMovie::Running && !view->isEnabled();
    };
    EXPECT_FALSE(busy());
    click("Land");
    ASSERT_TRUE(nextEnabled());
    bool busyOnStart = false;
    bool completeOnStart = true;
    QObject::connect(LayoutLibrary::instance(), &LayoutLibrary::refreshStarted, page, [&] {
        busyOnStart = busy();
        completeOnStart = page->isComplete();
    });
    QSignalSpy finished(LayoutLibrary::instance(), &LayoutLibrary::refreshFinished);
    QTest::mouseClick(refresh, Qt::LeftButton);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(busyOnStart);
    EXPECT_FALSE(completeOnStart);
    EXPECT_FALSE(busy());
    EXPECT_EQ(stack->currentWidget(), refresh);
    EXPECT_EQ(page->layoutName(), "");
    EXPECT_FALSE(nextEnabled());

    // A page made while the library reloads starts busy.
    LayoutLibrary::instance()->refresh();
    PageLayoutPage late;
    late.show();
    EXPECT_FALSE(late.findChild<CenteredIconGridView*>()->isEnabled());
    EXPECT_TRUE(finished.wait(10000));
    EXPECT_TRUE(late.findChild<CenteredIconGridView*>()->isEnabled());
}
