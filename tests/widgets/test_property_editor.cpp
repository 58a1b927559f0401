#include "common/command_fixture.h"
#include "common/gradients.h"
#include "common/modal_answerer.h"
#include "gui/enum_property.h"
#include "gui/property_delegate.h"
#include "main/project_access.h"
#include "velmora_objects/button.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/theme.h"
#include "widgets/property_editor.h"
#include "widgets/property_id_table.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

using namespace Velmora;

namespace {

class Access : public ProjectAccess
{
public:
    explicit Access(VelmoraDocument* document) : doc(document) {}
    VelmoraDocument* document() const override { return doc; }
    QStringList getImageFiles(const QString&, bool, QWidget*) override { return {}; }

private:
    VelmoraDocument* doc;
};

class PropertyEditorTest : public TestUtil::CommandFixture
{
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        ProjectAccess::setInstance(&access);
        page = create();
    }
    void TearDown() override { ProjectAccess::setInstance(nullptr); }

    // The ids of the rows under the row of the id (the tree's top level for -1), in order.
    std::vector<int> shown(int id = -1) const
    {
        const Property* parent =
            id < 0 ? properties()->property(QModelIndex()) : editor->property(id);
        std::vector<int> ids;
        for (int r = 0; r < parent->childCount(); ++r)
            ids.push_back(editor->propertyId(parent->child(r)));
        return ids;
    }
    PropertyModel* properties() const { return static_cast<PropertyModel*>(editor->model()); }
    QVariant value(int id) const { return editor->property(id)->value(); }
    QString text(int id) const { return editor->property(id)->toText(); }
    bool readOnly(int id) const { return editor->property(id)->hasFlag(Property::ReadOnly); }
    // An edit of the row as the delegate makes it; true when the model stored it.
    bool edit(int id, const QVariant& newValue)
    {
        return properties()->setData(editor->property(id)->index(1), newValue, Qt::EditRole);
    }
    void selectControls(const std::set<unsigned int>& ids)
    {
        selection.selectControls(ids, true);
        editor->refresh();
    }
    Button& button(unsigned int id) { return *document->modControl<Button>(id); }

    Access access{document.get()};
    std::unique_ptr<PropertyEditor> editor = std::make_unique<PropertyEditor>();
    unsigned int page = UINT_MAX;
};

using Ids = std::vector<int>;

} // namespace

// What the editor shows for each kind of selection: a group for pages, for page switchers, and
// for controls the Control group, followed by their type's group when they are all of one type.
TEST_F(PropertyEditorTest, ShowsTheGroupsOfTheSelectionKind)
{
    const unsigned int second = addPage();
    // Each control type and the group of its own rows.
    const std::pair<ControlType, int> types[] = {
        {ControlType_BUTTON, PropertyId_BUTTON},
        {ControlType_SLIDER, PropertyId_SLIDER},
        {ControlType_COLOUR_PICKER, PropertyId_COLOUR_PICKER},
        {ControlType_KEYPAD, PropertyId_KEYPAD},
        {ControlType_LABEL, PropertyId_LABEL},
        {ControlType_CLOCK, PropertyId_CLOCK}};
    std::map<ControlType, unsigned int> controls;
    for (const auto& [type, group] : types)
        controls[type] = addControl(page, type);
    const unsigned int otherButton = addControl(page, ControlType_BUTTON);
    const unsigned int switcherPage = addSwitcherPage();
    const unsigned int switcher = document->getPage(switcherPage).getPageSwitcherId();

    editor->refresh();
    EXPECT_EQ(shown(), Ids());

    selection.selectPages({page, second}, true);
    editor->refresh();
    EXPECT_EQ(shown(), Ids({PropertyId_PAGE}));
    EXPECT_EQ(shown(PropertyId_PAGE),
              Ids({PropertyId_PAGE_NAME, PropertyId_PAGE_DEFAULT, PropertyId_PAGE_ICON,
                   PropertyId_PAGE_BACKGROUND_COLOUR, PropertyId_PAGE_BACKGROUND_GRADIENT,
                   PropertyId_PAGE_BACKGROUND_IMAGE}));
    EXPECT_TRUE(editor->isFirstColumnSpanned(0, QModelIndex()));
    EXPECT_TRUE(editor->isExpanded(editor->property(PropertyId_PAGE)->index(0)));

    // Mixed types show the Control group alone, with no startup states to choose.
    selectControls({controls[ControlType_BUTTON], otherButton, controls[ControlType_SLIDER]});
    EXPECT_EQ(shown(), Ids({PropertyId_CONTROL}));
    EXPECT_EQ(shown(PropertyId_CONTROL),
              Ids({PropertyId_CONTROL_CAPTION, PropertyId_CONTROL_KEY,
                   PropertyId_CONTROL_STARTUP_STATE, PropertyId_CONTROL_X, PropertyId_CONTROL_Y,
                   PropertyId_CONTROL_WIDTH, PropertyId_CONTROL_HEIGHT}));
    EXPECT_TRUE(readOnly(PropertyId_CONTROL_STARTUP_STATE));
    EXPECT_EQ(dynamic_cast<ChoiceProperty*>(editor->property(PropertyId_CONTROL_STARTUP_STATE))
                  ->choiceModel()
                  .rowCount(),
              0);

    for (const auto& [type, group] : types) {
        SCOPED_TRACE(type);
        selectControls({controls[type]});
        EXPECT_EQ(shown(), Ids({PropertyId_CONTROL, group}));
        EXPECT_FALSE(shown(group).empty());
    }
    EXPECT_FALSE(readOnly(PropertyId_CONTROL_STARTUP_STATE));

    selection.selectPageSwitcher(switcher, true);
    editor->refresh();
    EXPECT_EQ(shown(), Ids({PropertyId_PAGE_SWITCHER}));
    selection.clear();
    editor->refresh();
    EXPECT_EQ(shown(), Ids());
}

TEST_F(PropertyEditorTest, PagesShowWhatTheyShareAndBlanksWhereTheyDiffer)
{
    const unsigned int second = addPage();
    document->setPageName(page, "A");
    document->setPageName(second, "B");
    document->getPage(page).setBackgroundColour(Qt::red);
    document->getPage(second).setBackgroundColour(Qt::red);
    document->setDefaultPageId(page);

    selection.selectPages({page, second}, true);
    editor->refresh();
    EXPECT_FALSE(value(PropertyId_PAGE_NAME).isValid());
    EXPECT_TRUE(readOnly(PropertyId_PAGE_NAME));
    EXPECT_TRUE(readOnly(PropertyId_PAGE_DEFAULT));
    EXPECT_EQ(value(PropertyId_PAGE_BACKGROUND_COLOUR), QVariant(QColor(Qt::red)));
    document->getPage(second).setBackgroundColour(Qt::blue);
    editor->onPropertyValuesChanged();
    EXPECT_FALSE(value(PropertyId_PAGE_BACKGROUND_COLOUR).isValid());

    // The default page cannot be made default again; another page can.
    selection.selectPage(page, true, true);
    editor->refresh();
    EXPECT_EQ(value(PropertyId_PAGE_DEFAULT), QVariant(true));
    EXPECT_TRUE(readOnly(PropertyId_PAGE_DEFAULT));
    EXPECT_FALSE(readOnly(PropertyId_PAGE_NAME));
    selection.selectPage(second, true, true);
    editor->refresh();
    EXPECT_FALSE(readOnly(PropertyId_PAGE_DEFAULT));
    QSignalSpy edits(editor.get(), &PropertyEditor::propertyValueChanged);
    EXPECT_TRUE(edit(PropertyId_PAGE_DEFAULT, true));
    ASSERT_EQ(edits.count(), 1);
    EXPECT_EQ(edits[0][0], QVariant(int(PropertyId_PAGE_DEFAULT)));
    EXPECT_EQ(edits[0][1], QVariant(true));
}

TEST_F(PropertyEditorTest, PageSubRowsFollowGradientAndImage)
{
    selection.selectPage(page, true, true);
    editor->refresh();
    EXPECT_EQ(shown(PropertyId_PAGE_BACKGROUND_GRADIENT), Ids());
    EXPECT_EQ(shown(PropertyId_PAGE_BACKGROUND_IMAGE), Ids());

    Page& p = document->getPage(page);
    p.setBackgroundGradient(TestUtil::makeGradient("Dusk", {{0, Qt::black}, {1, Qt::white}}));
    p.setBackgroundGradientRotation(90);
    p.setBackgroundImageId(0);
    editor->onPropertyValuesChanged();
    EXPECT_EQ(shown(PropertyId_PAGE_BACKGROUND_GRADIENT), Ids({PropertyId_PAGE_GRADIENT_ROTATION}));
    EXPECT_EQ(value(PropertyId_PAGE_GRADIENT_ROTATION), QVariant(90));
    EXPECT_FALSE(
        editor->isExpanded(editor->property(PropertyId_PAGE_BACKGROUND_GRADIENT)->index(0)));
    EXPECT_EQ(shown(PropertyId_PAGE_BACKGROUND_IMAGE), Ids({PropertyId_PAGE_IMAGE_SCALING}));

    p.setBackgroundGradient(Gradient());
    p.setBackgroundImageId(0xFFFFFFFF);
    editor->onPropertyValuesChanged();
    EXPECT_EQ(shown(PropertyId_PAGE_BACKGROUND_GRADIENT), Ids());
    EXPECT_EQ(shown(PropertyId_PAGE_BACKGROUND_IMAGE), Ids());
}

TEST_F(PropertyEditorTest, ButtonSubRowsFollowFunctionAndActuation)
{
    const unsigned int b1 = addControl(page, ControlType_BUTTON);
    const unsigned int b2 = addControl(page, ControlType_BUTTON);
    const Ids transition = {PropertyId_BUTTON_FUNCTION_TRANSITION,
                            PropertyId_BUTTON_FUNCTION_TRANSITION_DURATION};
    const Ids goTo = {PropertyId_BUTTON_FUNCTION_PAGE, PropertyId_BUTTON_FUNCTION_TRANSITION,
                      PropertyId_BUTTON_FUNCTION_TRANSITION_DURATION};
    const Ids actuationRows = {PropertyId_BUTTON_HELD_TIMEOUT, PropertyId_BUTTON_REPEAT_INTERVAL};
    const std::pair<ButtonFunction, Ids> functions[] = {
        {ButtonFunction_NONE, {}},
        {ButtonFunction_GO_TO_PAGE, goTo},
        {ButtonFunction_NEXT_PAGE, transition},
        {ButtonFunction_SET_BRIGHTNESS, {PropertyId_BUTTON_FUNCTION_LEVEL}},
        {ButtonFunction_BACK, transition},
        {ButtonFunction_GO_TO_PAGE, goTo},
        {ButtonFunction_INCREASE_BRIGHTNESS, {}},
        {ButtonFunction_LOCK, {}}};
    selectControls({b1});
    for (const auto& [function, rows] : functions) {
        button(b1).setFunction(function);
        editor->onPropertyValuesChanged();
        EXPECT_EQ(shown(PropertyId_BUTTON_FUNCTION), rows) << function;
    }
    EXPECT_TRUE(editor->isExpanded(editor->property(PropertyId_BUTTON_FUNCTION)->index(0)));

    button(b1).setActuation(Button::Actuation_MOMENTARY);
    button(b1).setHeldTimeout(700);
    editor->onPropertyValuesChanged();
    EXPECT_EQ(shown(PropertyId_BUTTON_ACTUATION), actuationRows);
    EXPECT_EQ(text(PropertyId_BUTTON_HELD_TIMEOUT), "700ms");
    button(b1).setActuation(Button::Actuation_MAINTAINED);
    editor->onPropertyValuesChanged();
    EXPECT_EQ(shown(PropertyId_BUTTON_ACTUATION), Ids());

    // Two buttons: values they share, blanks where they differ, no sub-rows of a blank.
    button(b1).setActuation(Button::Actuation_MOMENTARY);
    button(b2).setActuation(Button::Actuation_MOMENTARY);
    button(b2).setHeldTimeout(300);
    button(b2).setFunction(ButtonFunction_NEXT_PAGE);
    selectControls({b1, b2});
    EXPECT_EQ(shown(PropertyId_BUTTON_ACTUATION), actuationRows);
    EXPECT_FALSE(value(PropertyId_BUTTON_HELD_TIMEOUT).isValid());
    EXPECT_TRUE(value(PropertyId_BUTTON_REPEAT_INTERVAL).isValid());
    EXPECT_FALSE(value(PropertyId_BUTTON_FUNCTION).isValid());
    EXPECT_EQ(shown(PropertyId_BUTTON_FUNCTION), Ids());
    EXPECT_TRUE(readOnly(PropertyId_BUTTON_CLICK_IR_SLOT));
    selectControls({b2});
    EXPECT_FALSE(readOnly(PropertyId_BUTTON_CLICK_IR_SLOT));
    EXPECT_EQ(text(PropertyId_BUTTON_CLICK_IR_SLOT), "Unassigned");
}

TEST_F(PropertyEditorTest, AnEditorThatAnUpdateClosesCommitsNothing)
{
    const unsigned int b1 = addControl(page, ControlType_BUTTON);
    button(b1).setFunction(ButtonFunction_GO_TO_PAGE);
    selectControls({b1});
    editor->show();
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    const QModelIndex cell = editor->property(PropertyId_BUTTON_FUNCTION_PAGE)->index(1);
    editor->setCurrentIndex(cell);
    editor->edit(cell);
    ASSERT_NE(editor->indexWidget(cell), nullptr);
    editor->indexWidget(cell)->setFocus();
    // The application answers every edit by reading the values again.
    QSignalSpy edits(editor.get(), &PropertyEditor::propertyValueChanged);
    QObject::connect(editor.get(), &PropertyEditor::propertyValueChanged, editor.get(),
                     [this] { editor->onPropertyValuesChanged(); });

    // The page row goes, and its editor with it, without an edit of a row on its way out.
    button(b1).setFunction(ButtonFunction_NEXT_PAGE);
    editor->onPropertyValuesChanged();
    EXPECT_EQ(shown(PropertyId_BUTTON_FUNCTION),
              Ids({PropertyId_BUTTON_FUNCTION_TRANSITION,
                   PropertyId_BUTTON_FUNCTION_TRANSITION_DURATION}));
    EXPECT_EQ(edits.size(), 0);
}

TEST_F(PropertyEditorTest, AnotherControlOfTheSameTypeOnlyReloadsValues)
{
    const unsigned int b1 = addControl(page, ControlType_BUTTON, QRect(10, 20, 30, 40));
    const unsigned int b2 = addControl(page, ControlType_BUTTON, QRect(10, 60, 30, 40));
    selectControls({b1});
    EXPECT_EQ(value(PropertyId_CONTROL_Y), QVariant(20));
    EXPECT_EQ(value(PropertyId_CONTROL_WIDTH), QVariant(30));
    const QModelIndex group = editor->property(PropertyId_BUTTON)->index(0);
    editor->collapse(group);

    selection.selectControl(b2, true, false);
    editor->refresh();
    EXPECT_EQ(shown(), Ids({PropertyId_CONTROL, PropertyId_BUTTON}));
    EXPECT_FALSE(editor->isExpanded(group));
    EXPECT_FALSE(value(PropertyId_CONTROL_Y).isValid());
    EXPECT_EQ(value(PropertyId_CONTROL_X), QVariant(10));
    EXPECT_EQ(value(PropertyId_CONTROL_HEIGHT), QVariant(40));
}

TEST_F(PropertyEditorTest, SwitcherFormatsShowUnderTheirSwitches)
{
    const unsigned int switcherPage = addSwitcherPage();
    const unsigned int id = document->getPage(switcherPage).getPageSwitcherId();
    PageSwitcher& switcher = document->getPageSwitcher(id);
    switcher.setShowTime(false);
    switcher.setShowDate(true);
    selection.selectPageSwitcher(id, true);
    editor->refresh();
    EXPECT_EQ(shown(PropertyId_PAGE_SWITCHER),
              Ids({PropertyId_PAGE_SWITCHER_ALIGNMENT, PropertyId_PAGE_SWITCHER_BACKGROUND_GRADIENT,
                   PropertyId_PAGE_SWITCHER_BACKGROUND_OPACITY, PropertyId_PAGE_SWITCHER_FONT_SIZE,
                   PropertyId_PAGE_SWITCHER_TEXT_COLOUR, PropertyId_PAGE_SWITCHER_SHOW_PAGE_NAMES,
                   PropertyId_PAGE_SWITCHER_HIGHLIGHT_COLOUR,
                   PropertyId_PAGE_SWITCHER_HIGHLIGHT_OPACITY, PropertyId_PAGE_SWITCHER_SHOW_TIME,
                   PropertyId_PAGE_SWITCHER_SHOW_DATE, PropertyId_PAGE_SWITCHER_DATE_TIME_FONT_SIZE,
                   PropertyId_PAGE_SWITCHER_DATE_TIME_AT_END}));
    EXPECT_EQ(shown(PropertyId_PAGE_SWITCHER_SHOW_TIME), Ids());
    EXPECT_EQ(shown(PropertyId_PAGE_SWITCHER_SHOW_DATE),
              Ids({PropertyId_PAGE_SWITCHER_DATE_FORMAT}));

    switcher.setShowTime(true);
    editor->onPropertyValuesChanged();
    EXPECT_EQ(shown(PropertyId_PAGE_SWITCHER_SHOW_TIME),
              Ids({PropertyId_PAGE_SWITCHER_TIME_FORMAT}));
}

TEST_F(PropertyEditorTest, StartupStatesComeFromTheThemesSkins)
{
    const unsigned int b = addControl(page, ControlType_BUTTON);
    selectControls({b});
    const auto& choices =
        dynamic_cast<ChoiceProperty*>(editor->property(PropertyId_CONTROL_STARTUP_STATE))
            ->choiceModel();
    EXPECT_EQ(choices.rowCount(), 0);

    smart_ptr<SkinSet> skins(new SkinSet(ThemedItemType_BUTTON));
    skins->getSkin("Pressed", true);
    skins->getSkin("Normal", true);
    document->getTheme()->setSkinSet(skins);
    editor->onThemeChanged();
    ASSERT_EQ(choices.rowCount(), 3);
    EXPECT_EQ(choices.item(0)->text(), "Normal");
    EXPECT_EQ(choices.item(1)->text(), "Pressed");
    EXPECT_EQ(choices.item(2)->text(), "[None]");
    EXPECT_EQ(text(PropertyId_CONTROL_STARTUP_STATE), "[None]");
}

TEST_F(PropertyEditorTest, RefusesBadPageNamesAndKeys)
{
    const unsigned int other = addPage();
    document->setPageName(page, "A");
    document->setPageName(other, "B");
    const unsigned int control = addControl(page, ControlType_LABEL);
    const QString e16 = QString(16, QChar(0xE9)); // 32 bytes in UTF-8

    struct Case
    {
        int id;
        QString value;
        QString refusal; // empty when accepted
    };
    const Case cases[] = {
        {1, "B", "Page names must be unique"},
        {1, "", "Page names cannot be blank"},
        {1, e16 + "x", "Page names cannot be more than 32 bytes when encoded as UTF8."},
        {1, e16, ""},
        {11, QString(33, 'k'), "Control keys cannot be more than 32 bytes when encoded as UTF8."},
        {11, QString(32, 'k'), ""},
        {11, "", ""}};
    for (const Case& c : cases) {
        if (c.id == PropertyId_PAGE_NAME)
            selection.selectPage(page, true, true);
        else
            selection.selectControl(control, true, true);
        editor->refresh();
        const QVariant before = value(c.id);
        QSignalSpy edits(editor.get(), &PropertyEditor::propertyValueChanged);
        TestUtil::ModalAnswerer answers;
        if (!c.refusal.isEmpty())
            answers.messageBox(QMessageBox::Ok);
        EXPECT_EQ(edit(c.id, c.value), c.refusal.isEmpty()) << c.value.toStdString();
        EXPECT_EQ(answers.pending(), 0);
        if (c.refusal.isEmpty()) {
            ASSERT_EQ(edits.count(), 1);
            EXPECT_EQ(edits[0][1], QVariant(c.value));
        } else {
            EXPECT_EQ(edits.count(), 0);
            EXPECT_EQ(value(c.id), before);
            ASSERT_EQ(answers.answered().size(), 1);
            EXPECT_EQ(answers.answered()[0].title, "Error");
            EXPECT_EQ(answers.answered()[0].text, c.refusal);
        }
    }

    // The page's own unchanged name is no edit at all.
    document->setPageName(page, "A");
    selection.selectPage(page, true, true);
    editor->refresh();
    QSignalSpy edits(editor.get(), &PropertyEditor::propertyValueChanged);
    EXPECT_FALSE(edit(PropertyId_PAGE_NAME, QString("A")));
    EXPECT_EQ(edits.count(), 0);
}

// Where the names and values of the rows shown cannot both show whole, the values do (an
// unassigned IR slot beside a button's deepest rows, under a scroll bar), and the names shrink.
TEST_F(PropertyEditorTest, ValuesShowWholeBeforeTheNamesDo)
{
    const unsigned int goTo = addControl(page, ControlType_BUTTON);
    button(goTo).setFunction(ButtonFunction_GO_TO_PAGE);
    editor->resize(260, 400);
    editor->show();
    selectControls({goTo});
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor->verticalScrollBar()->isVisible(); }));
    const int margins = 2 * (editor->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    for (const int id : {PropertyId_BUTTON_FUNCTION, PropertyId_BUTTON_FUNCTION_TRANSITION,
                         PropertyId_BUTTON_CLICK_IR_SLOT}) {
        const Property* row = editor->property(id);
        const int buttons = (row->isResettable() ? 1 : 0) + (row->hasMore() ? 1 : 0);
        EXPECT_GE(editor->visualRect(row->index(1)).width(),
                  editor->fontMetrics().horizontalAdvance(row->toText()) + margins +
                      buttons * PropertyDelegate::buttonWidth)
            << row->toText().toStdString();
    }
    // The names keep half the view.
    EXPECT_GE(editor->columnWidth(0), editor->viewport()->width() / 2);
}

// In a dock as narrow as the main window's, whatever rows are open, the names get the width
// they need (the three backgrounds, a button's deepest rows) and the values what is left.
TEST_F(PropertyEditorTest, NamesShowWholeInANarrowDockAndTheValuesGetTheRest)
{
    const unsigned int goTo = addControl(page, ControlType_BUTTON);
    button(goTo).setFunction(ButtonFunction_GO_TO_PAGE);
    editor->resize(260, 400);
    editor->show();
    const std::pair<std::function<void()>, Ids> cases[] = {
        {[&] { selection.selectPages({page}, true); }, {4, 5, 7}},
        {[&] { selection.selectControls({goTo}, true); }, {23, 26, 27}}};
    for (const auto& [select, ids] : cases) {
        select();
        editor->refresh();
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return editor->columnWidth(0) + editor->columnWidth(1) == editor->viewport()->width();
        }));
        for (const int id : ids) {
            const QModelIndex name = editor->property(id)->index(0);
            EXPECT_GE(editor->visualRect(name).width(), editor->sizeHintForIndex(name).width())
                << id;
        }
    }
}
