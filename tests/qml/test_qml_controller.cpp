#include "common/qml_fixture.h"

#include "velmora_objects/button.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/qml/qml_button.h"
#include "velmora_objects/qml/qml_configuration.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_page.h"
#include "velmora_objects/qml/qml_page_switcher.h"
#include "velmora_objects/qml/qml_slider.h"

#include <QSignalSpy>
#include <climits>
#include <list>
#include <vector>

using namespace VelmoraQML;
using TestUtil::QmlFixture;

namespace {

// What the pages, switchers and host callbacks were told, in order.
QStringList seen;

void recordEvent(const QString& key, int event, const QVariant& value)
{
    seen << QString("event %1 %2 %3").arg(key).arg(event).arg(value.toString());
}

void recordPageChanged(const QString& name, bool shown)
{
    seen << QString("page %1 %2").arg(name).arg(shown);
}

void recordTrigger(int number, QVariantList args)
{
    seen << QString("trigger %1 %2").arg(number).arg(args.size());
}

void recordBrightness(int mode, int value)
{
    seen << QString("brightness %1 %2").arg(mode).arg(value);
}

} // namespace

class QmlController : public QmlFixture
{
protected:
    void SetUp() override
    {
        seen.clear();
        callbacks = {recordEvent, recordPageChanged, recordTrigger, recordBrightness};
        QmlFixture::SetUp();
        project.clear();
        root = create("Configuration {}");
        ASSERT_TRUE(root);
        updateConfiguration(&project);
    }

    void TearDown() override
    {
        root.reset();
        QmlFixture::TearDown();
    }

    QMLController& c() { return *controller(); }
    QQuickItem* rootItem() { return qobject_cast<QQuickItem*>(root.get()); }

    QMLPage* addPage(int id, const QString& name, int sortValue,
                     int pageSwitcherId = QMLPage::NoPageSwitcher)
    {
        auto* page = new QMLPage(rootItem());
        page->setConfigId(id);
        page->setName(name);
        page->setSortValue(sortValue);
        page->setPageSwitcherId(pageSwitcherId);
        QObject::connect(page, &QMLPage::showPage, [name](int transition, int msecs) {
            seen << QString("show %1 %2 %3").arg(name).arg(transition).arg(msecs);
        });
        QObject::connect(page, &QMLPage::hidePage, [name](int transition, int msecs) {
            seen << QString("hide %1 %2 %3").arg(name).arg(transition).arg(msecs);
        });
        c().addPage(page);
        return page;
    }

    QMLPageSwitcher* addPageSwitcher(int id)
    {
        auto* switcher = new QMLPageSwitcher(rootItem());
        switcher->setConfigId(id);
        QObject::connect(switcher, &QMLPageSwitcher::showPageSwitcher,
                         [id](int, int) { seen << QString("showSwitcher %1").arg(id); });
        QObject::connect(switcher, &QMLPageSwitcher::hidePageSwitcher,
                         [id](int, int) { seen << QString("hideSwitcher %1").arg(id); });
        c().addPageSwitcher(switcher);
        return switcher;
    }

    // A button of the project with its live item.
    QMLButton* addButton(Velmora::ButtonFunction function, unsigned int pageArgument = UINT_MAX)
    {
        auto* model = new Velmora::Button();
        model->setFunction(function);
        model->setFunctionPage(pageArgument);
        smart_ptr<Velmora::Control> owned(model);
        const unsigned int id = project.insertControl(owned, UINT_MAX);
        auto* item = new QMLButton(rootItem());
        item->setConfigId(int(id));
        item->setControlKey(QString("button%1").arg(id));
        return item;
    }

    int current() { return c().currentPage() ? c().currentPage()->configId() : INT_MIN; }

    Velmora::Configuration project;
    std::unique_ptr<QObject> root;
};

TEST_F(QmlController, HistoryKeepsTheFiftyLatestPagesAndBackWalksThem)
{
    std::vector<QMLPage*> pages;
    for (int i = 0; i < 60; ++i)
        pages.push_back(addPage(i, QString("P%1").arg(i), i));
    for (int i = 0; i < 60; ++i)
        c().goToPage(i);
    // Going to the page shown does nothing.
    seen.clear();
    c().goToPage(59);
    EXPECT_TRUE(seen.isEmpty());

    std::list<int> expected;
    for (int i = 9; i < 59; ++i)
        expected.push_back(i);
    EXPECT_EQ(c().backHistory(), expected);

    // Back moves add nothing, so repeated Backs walk further back, newest first.
    for (int i = 58; i >= 9; --i) {
        c().navigateBack();
        ASSERT_EQ(current(), i);
    }
    EXPECT_TRUE(c().backHistory().empty());
    seen.clear();
    c().navigateBack();
    EXPECT_EQ(current(), 9);
    EXPECT_TRUE(seen.isEmpty());

    // An entry whose page has gone is dropped by the Back that meets it.
    c().goToPage(3);
    c().goToPage(4);
    delete pages[3];
    c().navigateBack();
    EXPECT_EQ(current(), 4);
    EXPECT_EQ(c().backHistory(), (std::list<int>{9}));
}

TEST_F(QmlController, PageSwitcherStaysHidesOrShowsWithThePage)
{
    addPage(0, "A", 0, 7);
    addPage(1, "B", 1, 7);
    addPage(2, "C", 2, 8);
    addPage(3, "D", 3);
    addPageSwitcher(7);
    addPageSwitcher(8);
    struct Step
    {
        int page;
        QStringList expected;
        int switcherShown;
    };
    const Step steps[] = {
        {0, {"show A 2 300", "showSwitcher 7", "page A 1"}, 7},
        // The same switcher stays on screen without a signal.
        {1, {"page A 0", "hide A 2 300", "show B 2 300", "page B 1"}, 7},
        {2,
         {"hideSwitcher 7", "page B 0", "hide B 2 300", "show C 2 300", "showSwitcher 8",
          "page C 1"},
         8},
        {3, {"hideSwitcher 8", "page C 0", "hide C 2 300", "show D 2 300", "page D 1"}, -1},
        {1, {"page D 0", "hide D 2 300", "show B 2 300", "showSwitcher 7", "page B 1"}, 7},
    };
    for (const Step& step : steps) {
        seen.clear();
        c().goToPage(step.page, 2, 300);
        EXPECT_EQ(seen, step.expected) << step.page;
        EXPECT_EQ(c().currentPageSwitcher() ? c().currentPageSwitcher()->configId() : -1,
                  step.switcherShown);
    }
}

TEST_F(QmlController, NextAndPreviousWrapAndPassTheLockPage)
{
    addPage(0, "A", 10);
    QMLPage* lockPage = addPage(QMLController::LockPageId, "Lock", 15);
    // With one ordinary page, next and previous change nothing.
    c().goToPage(0);
    seen.clear();
    c().goToNextPage();
    c().goToPrevPage();
    EXPECT_TRUE(seen.isEmpty());

    addPage(1, "B", 20);
    addPage(2, "C", 30);
    struct Step
    {
        bool next;
        int expected;
        const char* shown;
    };
    const Step steps[] = {{true, 1, "show B 2 200"},  {true, 2, "show C 2 200"},
                          {true, 0, "show A 2 200"},  {false, 2, "show C 1 200"},
                          {false, 1, "show B 1 200"}, {false, 0, "show A 1 200"}};
    for (const Step& step : steps) {
        seen.clear();
        step.next ? c().goToNextPage() : c().goToPrevPage();
        EXPECT_EQ(current(), step.expected);
        EXPECT_TRUE(seen.contains(step.shown)) << seen.join(", ").toStdString();
    }
    // The lock page neither enters the history nor reports itself to the host.
    c().switchToPage(lockPage, 0, 200, false);
    seen.clear();
    c().goToNextPage();
    EXPECT_EQ(current(), 1);
    EXPECT_EQ(seen, (QStringList{"hide Lock 2 200", "show B 2 200", "page B 1"}));
    EXPECT_EQ(c().backHistory().back(), 0);
}

TEST_F(QmlController, SecondRegistrationIsRefusedOrReplaces)
{
    addPage(0, "A", 0);
    struct Row
    {
        int id;
        const char* name;
        int sortValue;
    };
    for (const Row& row : {Row{0, "Other", 5}, Row{5, "A", 5}, Row{5, "Other", 0}}) {
        QMLPage* page = addPage(row.id, row.name, row.sortValue);
        EXPECT_FALSE(c().hasPage(page)) << row.id << row.name << row.sortValue;
        c().goToPage(5);
        c().goToPage(QString("Other"));
        EXPECT_NE(c().currentPage(), page);
        delete page;
    }
    // A page switcher under a taken id replaces the earlier one, whose end leaves the later.
    QMLPageSwitcher* first = addPageSwitcher(7);
    QMLPageSwitcher* second = addPageSwitcher(7);
    EXPECT_FALSE(c().hasPageSwitcher(first));
    delete first;
    EXPECT_TRUE(c().hasPageSwitcher(second));
}

TEST_F(QmlController, PageSwitcherButtonsFollowThePageShown)
{
    addPage(0, "A", 0);
    addPage(1, "B", 1);
    auto buttons = create(R"(
Item {
    component PageButton: Item {
        property string targetPage
        property var calls: []
        function indicateCurrentPage(on) { calls.push(on) }
        function click() { controller.goToPage(targetPage, 1, 50) }
        Component.onCompleted: controller.addPageSwitcherButton(this)
    }
    PageButton { targetPage: "A" }
    PageButton { targetPage: "B" }
    PageButton { targetPage: "A" }
})");
    ASSERT_TRUE(buttons);
    QObject* toA = c().pageSwitcherButtons("A").front();
    QObject* toB = c().pageSwitcherButtons("B").front();
    ASSERT_EQ(c().pageSwitcherButtons("A").size(), 2u);

    // A tap goes by page name, the QML argument choosing the overload that takes one.
    QMetaObject::invokeMethod(toB, "click");
    EXPECT_EQ(current(), 1);
    EXPECT_TRUE(seen.contains("show B 1 50"));
    QMetaObject::invokeMethod(toA, "click");
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(toA->property("calls").toList(), QVariantList{true});
    EXPECT_EQ(toB->property("calls").toList(), (QVariantList{true, false}));

    c().removePageSwitcherButton(toA);
    EXPECT_EQ(c().pageSwitcherButtons("A").size(), 1u);
    buttons.reset();
    EXPECT_TRUE(c().pageSwitcherButtons("A").empty());
    EXPECT_TRUE(c().pageSwitcherButtons("B").empty());
    c().goToPage(1);
}

TEST_F(QmlController, LockPageGuardsTheUnlockCode)
{
    addPage(0, "Home", 0);
    addPage(1, "A", 1);
    addPage(2, "B", 2);
    addPage(QMLController::LockPageId, "Lock", 3);
    auto* keypad = new QMLKeypad(rootItem());
    keypad->setControlKey("keypad");
    QMLButton* lock = addButton(Velmora::ButtonFunction_LOCK);
    project.setDefaultPageId(0);

    // Without an unlock code there is nothing to lock.
    c().goToPage(1);
    c().goToPage(2);
    lock->sendEvent(QMLControl::Event_BUTTON_CLICKED);
    EXPECT_EQ(current(), 2);

    project.setUnlockCode("1234");
    struct Row
    {
        int unlockFunction;
        int pageAfter;
        std::list<int> history;
    };
    // Back returns to the page locked from and takes one entry only; another function goes
    // to the default page.
    for (const Row& row : {Row{Velmora::ButtonFunction_BACK, 2, {1}},
                           Row{Velmora::ButtonFunction_GO_TO_PAGE, 0, {1, 2}}}) {
        c().goToPage(2);
        project.setUnlockFunction(row.unlockFunction);
        lock->sendEvent(QMLControl::Event_BUTTON_CLICKED);
        ASSERT_EQ(current(), QMLController::LockPageId);
        EXPECT_EQ(c().backHistory().back(), 2);

        seen.clear();
        keypad->sendEvent(QMLControl::Event_KEYPAD_CODE_ENTERED, "9999");
        EXPECT_EQ(current(), QMLController::LockPageId);
        c().setEnabled(false);
        keypad->sendEvent(QMLControl::Event_KEYPAD_CODE_ENTERED, "1234");
        c().setEnabled(true);
        EXPECT_EQ(current(), QMLController::LockPageId);
        EXPECT_TRUE(seen.isEmpty()) << seen.join(", ").toStdString();

        keypad->sendEvent(QMLControl::Event_KEYPAD_CODE_ENTERED, "1234");
        EXPECT_EQ(current(), row.pageAfter);
        EXPECT_EQ(c().backHistory(), row.history);
        // Unlocked, a code is an ordinary event for the host.
        seen.clear();
        keypad->sendEvent(QMLControl::Event_KEYPAD_CODE_ENTERED, "1234");
        EXPECT_EQ(seen, QStringList{"event keypad 8 1234"});
        while (!c().backHistory().empty())
            c().navigateBack();
    }
}

TEST_F(QmlController, ButtonFunctionsAndTheDisabledState)
{
    addPage(0, "A", 0);
    addPage(1, "B", 1);
    addPage(2, "C", 2);
    QMLButton* next = addButton(Velmora::ButtonFunction_NEXT_PAGE);
    QMLButton* previous = addButton(Velmora::ButtonFunction_PREVIOUS_PAGE);
    QMLButton* goToC = addButton(Velmora::ButtonFunction_GO_TO_PAGE, 2);
    QMLButton* goNowhere = addButton(Velmora::ButtonFunction_GO_TO_PAGE);
    QMLButton* back = addButton(Velmora::ButtonFunction_BACK);
    c().goToPage(0);
    struct Step
    {
        QMLButton* button;
        int expected;
    };
    for (const Step& step : {Step{next, 1}, Step{goToC, 2}, Step{goNowhere, 2}, Step{back, 1},
                             Step{previous, 0}, Step{previous, 2}}) {
        step.button->sendEvent(QMLControl::Event_BUTTON_CLICKED);
        EXPECT_EQ(current(), step.expected);
    }

    // Disabled: buttons and triggers do nothing, a page-switcher button still switches.
    c().fireTrigger(3, {1, 2});
    EXPECT_EQ(seen.last(), "trigger 3 2");
    c().setEnabled(false);
    seen.clear();
    next->sendEvent(QMLControl::Event_BUTTON_CLICKED);
    c().fireTrigger(3);
    EXPECT_TRUE(seen.isEmpty());
    c().goToPage(QString("A"));
    EXPECT_EQ(current(), 0);
}

TEST_F(QmlController, HostOperationsReachEveryControlUnderTheKey)
{
    auto* first = new QMLSlider(rootItem());
    auto* second = new QMLSlider(rootItem());
    for (QMLSlider* slider : {first, second})
        slider->setControlKey("k");
    QSignalSpy firstReceived(first, &QMLControl::eventReceived);
    QSignalSpy secondReceived(second, &QMLControl::eventReceived);
    c().setControlValue("k", 0, 255);
    c().sendControlEvent("k", 7, 42);
    c().setControlCaption("k", "Volume");
    for (QSignalSpy* spy : {&firstReceived, &secondReceived}) {
        ASSERT_EQ(spy->count(), 2);
        EXPECT_EQ(spy->at(0), (QVariantList{QMLControl::Event_SLIDER_VALUE_CHANGED, 1.0}));
        EXPECT_EQ(spy->at(1), (QVariantList{7, 42}));
    }
    EXPECT_EQ(second->caption(), "Volume");

    // An IR slot reaches the item that shows the assigned control, not others of its key.
    QMLButton* button = addButton(Velmora::ButtonFunction_NONE);
    auto* twin = new QMLButton(rootItem());
    twin->setConfigId(button->configId() + 1);
    twin->setControlKey(button->controlKey());
    project.assignIRSlot(5, unsigned(button->configId()), Velmora::Action_CLICK);
    project.getControl(unsigned(button->configId())).setName(button->controlKey());
    seen.clear();
    c().handleIRSlot(5, true);
    c().handleIRSlot(6, true);
    c().setEnabled(false);
    c().handleIRSlot(5, false);
    EXPECT_EQ(seen, QStringList{QString("event %1 0 ").arg(button->controlKey())});
}

// Items destroyed in any order leave every registry; the controller is used after each
// destruction, so that a dangling entry shows under the address sanitizer.
TEST_F(QmlController, ItemsLeaveTheRegistriesInAnyOrder)
{
    const char* document = R"(
Item {
    component PageButton: Item {
        property string targetPage
        function indicateCurrentPage(on) {}
        Component.onCompleted: controller.addPageSwitcherButton(this)
    }
    PagePrivate {
        objectName: "A"; configId: 0; name: "A"; sortValue: 0; pageSwitcherId: 7
        Component.onCompleted: controller.addPage(this)
        Control { objectName: "c"; controlKey: "k" }
    }
    PagePrivate {
        objectName: "B"; configId: 1; name: "B"; sortValue: 1; pageSwitcherId: 7
        Component.onCompleted: controller.addPage(this)
        Control { objectName: "d"; controlKey: "k" }
    }
    PageSwitcherPrivate {
        objectName: "S"; configId: 7
        Component.onCompleted: controller.addPageSwitcher(this)
        PageButton { objectName: "toA"; targetPage: "A" }
        PageButton { objectName: "toB"; targetPage: "B" }
    }
})";
    const QStringList orders[] = {
        {"c", "d", "A", "B", "toA", "toB", "S"}, // controls before their pages
        {"A", "B", "S"},                         // pages with their controls, switcher last
        {"S", "B", "A"},                         // switcher and its buttons first
        {"toB", "B", "S", "A"},
    };
    for (const QStringList& order : orders) {
        auto items = create(document);
        ASSERT_TRUE(items);
        c().goToPage(0);
        c().goToPage(1);
        ASSERT_TRUE(c().currentPageSwitcher());
        for (const QString& name : order) {
            delete items->findChild<QObject*>(name);
            c().goToPage(QString("A"));
            c().goToNextPage();
            c().navigateBack();
            c().setControlCaption("k", name);
        }
        EXPECT_EQ(c().currentPage(), nullptr) << order.join(" ").toStdString();
        EXPECT_EQ(c().currentPageSwitcher(), nullptr);
        EXPECT_TRUE(c().controlsWithKey("k").empty());
        EXPECT_TRUE(c().pageSwitcherButtons("A").empty());
        EXPECT_TRUE(c().pageSwitcherButtons("B").empty());
    }
    // Removing the page shown leaves none shown: the next page comes without a hide.
    QMLPage* a = addPage(0, "A", 0);
    addPage(1, "B", 1);
    c().switchToPage(a, 0, 0, false);
    delete a;
    seen.clear();
    c().goToPage(1);
    EXPECT_EQ(seen, (QStringList{"show B 0 200", "page B 1"}));
    // The configuration item's end hides the page shown and empties the registries.
    root.reset();
    EXPECT_EQ(seen.last(), "hide B 0 200");
    EXPECT_FALSE(c().configuration());
}
