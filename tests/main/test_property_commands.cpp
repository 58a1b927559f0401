#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "common/document_event_log.h"
#include "common/helpers.h"
#include "common/ir_table.h"
#include "main/control_property_commands.h"
#include "main/page_property_commands.h"
#include "main/velmora_document.h"
#include "velmora_objects/control_geometry.h"
#include "velmora_objects/sample_project.h"

#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWidget>
#include <QTemporaryDir>
#include <QUndoStack>
#include <climits>
#include <gtest/gtest.h>
#include <random>

using namespace Velmora;

// Readable failures.
static void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// A rebuilt item may take the address of the one it replaces: the old one is told apart by a
// mark it carries, never by where it lives.
void markAsOld(QQuickItem* item)
{
    ASSERT_NE(item, nullptr);
    item->setProperty("markedAsOld", true);
}

bool isNew(const QQuickItem* item)
{
    return item && !item->property("markedAsOld").toBool();
}

// The sample project: pages Home 0, Lights 1, Settings 2; controls below.
enum : unsigned int
{
    home = 0,
    lights = 1,
    settings = 2
};
enum : unsigned int
{
    goTo = 0,         // button on Home, Go To Page Settings, IR slot 3
    dimmer = 1,       // 8-bit slider on Home, IR slots 4 and 5
    picker = 2,       // on Lights
    keypad = 3,       // on Lights
    label = 4,        // on Settings
    digitalClock = 5, // on Settings
    brighter = 6      // button on Settings, Set Brightness 200, IR slot 9
};
using Ids = std::vector<unsigned int>;

class PropertyCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        Configuration sample;
        SampleProject::fill(sample);
        ASSERT_TRUE(
            TestUtil::writeFile(folder.filePath("sample.qvp"), SampleProject::saved(sample)));
        document.load(folder.filePath("sample.qvp"));
    }

    // Builds the items of every page, then shows Home.
    void showPreview()
    {
        document.preparePreview();
        for (unsigned int pageId : {settings, lights, home})
            document.showPage(pageId);
        // The first thumbnails are rendered, so that later marks are the edits' own.
        while (document.isRefreshingThumbnails())
            QCoreApplication::processEvents();
    }

    void push(QUndoCommand* command) { document.undoStack().push(command); }
    void undoAll()
    {
        while (document.undoStack().canUndo())
            document.undoStack().undo();
    }
    QByteArray bytes() const { return SampleProject::saved(document); }

    PagePreviewScene& scene() const { return *document.previewScene(); }
    static QString read(const QObject* object, const QString& names)
    {
        QStringList values;
        for (const QString& name : names.split('|'))
            values << QQmlProperty::read(object, name).toString();
        return values.join('|');
    }
    // What the preview shows, for each blank-separated "<where><id>:<names>" asked for: c a
    // control item, p a page item, g and i its background gradient and image, n the name in the
    // page list, o the page's icon id in the model, x the colour drawn at (200, 200).
    QString live(const QString& wanted) const
    {
        QStringList parts;
        for (const QString& one : wanted.split(' ')) {
            const unsigned int id = one.section(':', 0, 0).mid(1).toUInt();
            const QString names = one.section(':', 1);
            QQuickItem* page = scene().pageItem(id);
            switch (one.at(0).toLatin1()) {
            case 'c':
                parts << read(scene().controlItem(id), names);
                break;
            case 'p':
                parts << read(page, names);
                break;
            case 'g':
                parts << read(page->findChild<QObject*>("backgroundGradient"), names);
                break;
            case 'i':
                parts << read(page->findChild<QObject*>("backgroundImage"), names);
                break;
            case 'n':
                parts << document.pageGUIData().at(id).row.data().toString();
                break;
            case 'o':
                parts << QString::number(document.getPage(id).getIconId());
                break;
            case 'x':
                parts << scene().surface()->grabFramebuffer().pixelColor(200, 200).name();
                break;
            }
        }
        return parts.join(' ');
    }

    // A command of a number, an enumeration or a flag on the targets of the moment.
    template <class Command, class Targets>
    std::function<QUndoCommand*(int)> numeric(const Targets& targets)
    {
        return [this, &targets](int value) {
            return new Command(targets(), typename Command::Value(value), document);
        };
    }

    void freshThumbnails()
    {
        for (const auto& entry : document.pageGUIData())
            const_cast<VelmoraDocument::PageGUIData&>(entry.second).stale = false;
    }
    QString staleThumbnails() const
    {
        QStringList stale;
        for (const auto& [pageId, data] : document.pageGUIData())
            if (data.stale)
                stale << QString::number(pageId);
        return stale.join(',');
    }
    QString keys(const Ids& ids) const
    {
        QStringList keys;
        for (unsigned int id : ids)
            keys << document.getControl(id).getName();
        return keys.join(' ');
    }
    QString irTable() const { return TestUtil::irTable(document).join(' '); }

    QTemporaryDir folder;
    SelectionManager selection;
    VelmoraDocument document{selection};
    TestUtil::DocumentEventLog events;
};

Gradient gradientOf(QColor top, QColor bottom)
{
    Gradient gradient;
    gradient.setStops({{0.0, top}, {1.0, bottom}});
    return gradient;
}

} // namespace

// Every run writes the live item, marks the thumbnails where the property shows, and sends its
// event before it returns; undo shows the item as it was.
TEST_F(PropertyCommands, EveryRunWritesTheLiveItemMarksThumbnailsAndSendsItsEvent)
{
    showPreview();
    const QString image = QStringLiteral("image://theme%1/").arg(document.getSerial());
    auto& d = document;
    const struct
    {
        QUndoCommand* command; // made at once: constructors leave the project alone
        const char* live;
        QString after;
        const char* event;
        const char* stale; // the pages whose thumbnails each run marks
    } rows[] = {
        {new SetControlCaptionCommand({dimmer}, "", d), "c1:caption|showCaption", "|false",
         "ControlsChanged 1", "0"},
        {new SetControlStartupSkinCommand({goTo}, "Pressed", d), "c0:startupSkin", "Pressed",
         "ControlsChanged 0", "0"},
        {new SetControlXCommand({goTo}, 60, d), "c0:x|width", "60|100", "ControlsChanged 0", "0"},
        {new SetControlYCommand({goTo}, 5, d), "c0:y|height", "5|40", "ControlsChanged 0", "0"},
        {new SetControlWidthCommand({goTo}, 1, d), "c0:x|width", "10|1", "ControlsChanged 0", "0"},
        {new SetControlHeightCommand({goTo}, 25, d), "c0:height", "25", "ControlsChanged 0", "0"},
        {new SetButtonImageCommand({goTo}, 2, d), "c0:fixedImageSource", image + "controlImage2",
         "ControlsChanged 0", "0"},
        {new SetButtonImageCommand({goTo}, UINT_MAX, d), "c0:fixedImageSource", "",
         "ControlsChanged 0", "0"},
        {new SetButtonFontSizeCommand({goTo}, 30, d), "c0:fontSize", "30", "ControlsChanged 0",
         "0"},
        // Only the controls of the command's type change; the event names every one.
        {new SetButtonFontSizeCommand({label, goTo}, 30, d), "c0:fontSize c4:fontSize", "30 16",
         "ControlsChanged 0,4", "0"},
        {new SetButtonWordWrapCommand({goTo}, true, d), "c0:wordWrap", "true", "ControlsChanged 0",
         "0"},
        {new SetButtonActuationCommand({goTo}, Button::Actuation_MAINTAINED, d), "c0:actuation",
         "1", "ControlsChanged 0", ""},
        {new SetButtonHeldTimeoutCommand({goTo}, 900, d), "c0:heldTimeout", "900",
         "ControlsChanged 0", ""},
        {new SetButtonRepeatIntervalCommand({goTo}, 300, d), "c0:repeatInterval", "300",
         "ControlsChanged 0", ""},
        {new SetSliderShowValueCommand({dimmer}, true, d), "c1:showValue", "true",
         "ControlsChanged 1", "0"},
        {new SetSliderUnitCommand({dimmer}, Slider::Unit_PERCENT, d),
         "c1:valueSuffix|minimum|maximum", "%|0|100", "ControlsChanged 1", "0"},
        {new SetSliderCaptionFontSizeCommand({dimmer}, 14, d), "c1:captionFontSize", "14",
         "ControlsChanged 1", "0"},
        {new SetSliderValueFontSizeCommand({dimmer}, 15, d), "c1:valueFontSize", "15",
         "ControlsChanged 1", "0"},
        {new SetSliderSpacingCommand({dimmer}, 9, d), "c1:spacing", "9", "ControlsChanged 1", "0"},
        {new SetSliderHandleSizeCommand({dimmer}, 0.5, d), "c1:handleSize", "0.5",
         "ControlsChanged 1", "0"},
        {new SetColourPickerFontSizeCommand({picker}, 17, d), "c2:captionFontSize", "17",
         "ControlsChanged 2", "1"},
        {new SetColourPickerSpacingCommand({picker}, 2, d), "c2:spacing", "2", "ControlsChanged 2",
         "1"},
        {new SetKeypadMaxDigitsCommand({keypad}, 8, d), "c3:maxWidth", "8", "ControlsChanged 3",
         ""},
        {new SetKeypadHideCharactersCommand({keypad}, false, d), "c3:hideCharacters", "false",
         "ControlsChanged 3", ""},
        {new SetLabelFontSizeCommand({label}, 20, d), "c4:fontSize", "20", "ControlsChanged 4",
         "2"},
        {new SetLabelWordWrapCommand({label}, false, d), "c4:wordWrap", "false",
         "ControlsChanged 4", "2"},
        {new SetClockFontSizeCommand({digitalClock}, 13, d), "c5:captionFontSize", "13",
         "ControlsChanged 5", "2"},
        {new SetClockSpacingCommand({digitalClock}, 3, d), "c5:spacing", "3", "ControlsChanged 5",
         "2"},
        {new MoveControlsCommand({goTo, dimmer}, QPoint(10, -5), d), "c0:x|y c1:x|y", "20|5 20|55",
         "ControlsChanged 0,1", "0"},
        {new SetControlGeometryCommand({{label, QRect(1, 2, 30, 40)}}, d), "c4:x|y|width|height",
         "1|2|30|40", "ControlsChanged 4", "2"},
        {new SetPageBackgroundColourCommand({home}, Qt::red, d), "p0:color x", "#ff0000 #ff0000",
         "PageChanged 0", "0"},
        {new SetPageBackgroundGradientCommand({home}, gradientOf(Qt::red, Qt::blue), d),
         "g0:visible|rotation", "true|0", "PageChanged 0", "0"},
        {new SetPageBackgroundGradientRotationCommand({lights}, 90, d), "g1:rotation", "90",
         "PageChanged 1", "1"},
        {new SetPageBackgroundImageCommand({settings, lights}, 0, d), "i1:source i2:source",
         image + "0 " + image + "0", "PageChanged 1,2", "1,2"},
        {new SetPageBackgroundImageScalingCommand({lights}, Scaling_STRETCH, d), "i1:fillMode",
         "Stretch", "PageChanged 1", "1"},
        {new SetPageNameCommand({lights}, "Lamps", d), "n1", "Lamps", "PageChanged 1", ""},
        {new SetPageIconCommand({home}, 2, d), "o0", "2", "PageChanged 0", "0,1,2"},
    };
    for (const auto& row : rows) {
        const std::string name = (row.command->text() + ' ' + row.live).toStdString();
        const QString before = live(row.live);
        events.take();
        freshThumbnails();
        push(row.command);
        EXPECT_EQ(live(row.live), row.after) << name;
        EXPECT_EQ(events.take(), QStringList{row.event}) << name;
        EXPECT_EQ(staleThumbnails(), row.stale) << name;
        for (const QString& expected : {before, row.after}) {
            freshThumbnails();
            if (expected == before)
                document.undoStack().undo();
            else
                document.undoStack().redo();
            EXPECT_EQ(live(row.live), expected) << name;
            EXPECT_EQ(events.take(), QStringList{row.event}) << name;
            EXPECT_EQ(staleThumbnails(), row.stale) << name;
        }
        document.undoStack().undo();
    }
}

// A unit brings its own range; undo gives a slider back a range of its own as well.
TEST_F(PropertyCommands, UndoingAUnitGivesBackTheSlidersOwnRange)
{
    auto& slider = static_cast<Slider&>(document.getControl(dimmer));
    slider.setMinimum(10);
    slider.setMaximum(200);
    showPreview();
    push(new SetSliderUnitCommand({dimmer}, Slider::Unit_PERCENT, document));
    EXPECT_EQ(live("c1:minimum|maximum"), "0|100");
    document.undoStack().undo();
    EXPECT_EQ(QString("%1|%2").arg(slider.getMinimum()).arg(slider.getMaximum()), "10|200");
    EXPECT_EQ(live("c1:minimum|maximum"), "10|200");
    document.undoStack().redo();
    EXPECT_EQ(live("c1:minimum|maximum"), "0|100");
}

TEST_F(PropertyCommands, PageNamesAndIconsRebuildTheSwitchersAfterTheEvent)
{
    showPreview();
    const unsigned int bar = document.getPage(home).getPageSwitcherId();
    for (QUndoCommand* command :
         {static_cast<QUndoCommand*>(
              new SetPageNameCommand({home, lights, settings}, "A", document)),
          static_cast<QUndoCommand*>(new SetPageIconCommand({}, 1, document))}) {
        markAsOld(scene().pageSwitcherItem(bar));
        push(command);
        EXPECT_TRUE(isNew(scene().pageSwitcherItem(bar)));
    }
    EXPECT_EQ(events.take(), QStringList({"PageChanged 0,1,2", "PageChanged"}));
    EXPECT_EQ(live("n0 n1 n2"), "A A A");
    undoAll();
    EXPECT_EQ(live("n0 n1 n2"), "Home Lights Settings");
}

// Colour and gradient exclude each other; undo puts back the whole background the edit found.
TEST_F(PropertyCommands, BackgroundColourAndGradientGiveBackWhatTheyReplaced)
{
    Page& page = document.getPage(lights); // a gradient at 45 degrees
    const auto background = [&page] {
        const Gradient& gradient = page.getBackgroundGradient();
        return QStringLiteral("%1 %2 %3")
            .arg(page.getBackgroundColour().isValid() ? page.getBackgroundColour().name() : "-")
            .arg(gradient.isNull() ? QString("-") : gradient.stops().first().second.name())
            .arg(page.getBackgroundGradientRotation());
    };
    const auto colour = [&page](QColor colour, int rotation) {
        page.setBackgroundColour(colour);
        page.setBackgroundGradientRotation(rotation);
    };
    auto& d = document;
    const Gradient red = gradientOf(Qt::red, Qt::white);
    const struct
    {
        QColor colour; // with the rotation, the page's background first; invalid: as it is
        int rotation;
        QUndoCommand* edit;
        QString before, after;
    } rows[] = {
        {QColor(), 0, new SetPageBackgroundColourCommand({lights}, Qt::green, d), "- #ffffff 45",
         "#00ff00 - -1"},
        {Qt::green, -1, new SetPageBackgroundGradientCommand({lights}, red, d), "#00ff00 - -1",
         "- #ff0000 0"},
        {Qt::green, 90, new SetPageBackgroundGradientCommand({lights}, red, d), "#00ff00 - 90",
         "- #ff0000 90"},
        {Qt::transparent, -1, new SetPageBackgroundGradientCommand({lights}, red, d), "- - -1",
         "- #ff0000 0"},
        {Qt::green, 90, new SetPageBackgroundColourCommand({lights}, Qt::blue, d), "#00ff00 - 90",
         "#0000ff - -1"},
    };
    for (const auto& row : rows) {
        if (row.colour == Qt::transparent)
            colour(QColor(), row.rotation);
        else if (row.colour.isValid())
            colour(row.colour, row.rotation);
        ASSERT_EQ(background(), row.before);
        push(row.edit);
        EXPECT_EQ(background(), row.after) << row.before.toStdString();
        for (int twice = 0; twice < 2; ++twice) {
            document.undoStack().undo();
            EXPECT_EQ(background(), row.before);
            document.undoStack().redo();
            EXPECT_EQ(background(), row.after) << row.before.toStdString();
        }
        document.undoStack().undo();
    }

    // Merged edits go back to the background before the first.
    page.setBackgroundGradient(red);
    push(new SetPageBackgroundColourCommand({lights}, Qt::green, d));
    push(new SetPageBackgroundColourCommand({lights}, Qt::blue, d));
    EXPECT_EQ(document.undoStack().count(), 1);
    document.undoStack().undo();
    EXPECT_EQ(background(), "- #ff0000 90");
}

// Merges need the same pages, or the same controls in the same order (the rule of each id,
// saves between and mixed ids are the command base's test); captions, keys, moves and resizes
// never merge; IR slots only for the same action. One undo of a merged step returns to the
// state before its first edit.
TEST_F(PropertyCommands, EditsMergeOnlyOnTheSameTargetsAndUndoToBeforeTheFirst)
{
    auto& d = document;
    const QByteArray original = bytes();
    const QRect rectangle(0, 0, 9, 9);
    const struct
    {
        QUndoCommand* first;
        QUndoCommand* second;
        int steps;
    } rows[] = {
        {new SetPageNameCommand({home, lights}, "A", d),
         new SetPageNameCommand({home, lights}, "B", d), 1},
        {new SetPageNameCommand({home}, "A", d), new SetPageNameCommand({home, lights}, "B", d), 2},
        {new SetButtonFontSizeCommand({goTo, brighter}, 20, d),
         new SetButtonFontSizeCommand({goTo, brighter}, 30, d), 1},
        {new SetButtonFontSizeCommand({goTo, brighter}, 20, d),
         new SetButtonFontSizeCommand({brighter, goTo}, 30, d), 2},
        {new SetControlCaptionCommand({goTo}, "A", d), new SetControlCaptionCommand({goTo}, "B", d),
         2},
        {new SetControlKeyCommand({goTo}, "a", d), new SetControlKeyCommand({goTo}, "b", d), 2},
        {new MoveControlsCommand({goTo}, QPoint(1, 0), d),
         new MoveControlsCommand({goTo}, QPoint(1, 0), d), 2},
        {new SetControlGeometryCommand({{goTo, rectangle}}, d),
         new SetControlGeometryCommand({{goTo, rectangle.adjusted(1, 0, 0, 0)}}, d), 2},
        {new AssignControlIRSlotCommand({dimmer}, Action_INCREMENT, 7, d),
         new AssignControlIRSlotCommand({dimmer}, Action_INCREMENT, 8, d), 1},
        {new AssignControlIRSlotCommand({dimmer}, Action_INCREMENT, 7, d),
         new AssignControlIRSlotCommand({dimmer}, Action_DECREMENT, 8, d), 2},
    };
    for (const auto& row : rows) {
        const std::string name = row.first->text().toStdString();
        push(row.first);
        push(row.second);
        EXPECT_EQ(document.undoStack().count(), row.steps) << name;
        undoAll();
        EXPECT_EQ(bytes(), original) << name;
        document.undoStack().clear();
    }
}

TEST_F(PropertyCommands, NumberedKeysCountWrapAndPadAndUndoGivesEachItsOwnKey)
{
    const Ids five = {label, goTo, digitalClock, picker, keypad};
    document.getControl(goTo).setName("A002"); // already its numbered key
    const QString before = keys(five);
    const std::pair<const char*, const char*> rows[] = {
        {"A{1,3}", "A001 A002 A003 A001 A002"},
        {"A{9,5}", "A009 A009 A009 A009 A009"},
        {"A{1,}", "A001 A002 A003 A004 A005"},
        {"pump{8,}", "pump008 pump009 pump010 pump011 pump012"},
        {"pump{1,1000}", "pump0001 pump0002 pump0003 pump0004 pump0005"},
        {"x{98,99999}", "x00098 x00099 x00100 x00101 x00102"},
        {"{0,1}", "000 001 000 001 000"},
        {"n{1,99999999999}", "n001 n002 n003 n004 n005"},
        {"A{1,2}b", "A{1,2}b A{1,2}b A{1,2}b A{1,2}b A{1,2}b"},
        {"A{x,2}", "A{x,2} A{x,2} A{x,2} A{x,2} A{x,2}"},
    };
    for (const auto& [key, expected] : rows) {
        events.take();
        push(new SetControlKeyCommand(five, key, document));
        EXPECT_EQ(keys(five), expected) << key;
        EXPECT_EQ(events.take(), QStringList{"ControlsChanged 0,2,3,4,5"});
        document.undoStack().undo();
        EXPECT_EQ(keys(five), before) << key;
        document.undoStack().redo();
        EXPECT_EQ(keys(five), expected) << key;
        document.undoStack().undo();
    }
}

TEST_F(PropertyCommands, IRSlotTableFollowsEachAssignmentAndItsUndo)
{
    auto& d = document;
    const QString original = "3:0/1 4:1/2 5:1/3 9:6/1";
    ASSERT_EQ(irTable(), original);
    const std::pair<QUndoCommand*, QString> rows[] = {
        {new AssignControlIRSlotCommand({goTo}, Action_CLICK, 7, d), "4:1/2 5:1/3 7:0/1 9:6/1"},
        {new AssignControlIRSlotCommand({brighter, dimmer, goTo}, Action_CLICK, 255, d),
         "4:1/2 5:1/3"},
        {new AssignControlIRSlotCommand({dimmer}, Action_DECREMENT, 0, d),
         "0:1/3 3:0/1 4:1/2 9:6/1"},
        // A control without the action takes no slot.
        {new AssignControlIRSlotCommand({label}, Action_CLICK, 12, d), original},
    };
    for (const auto& [command, after] : rows) {
        push(command);
        EXPECT_EQ(irTable(), after);
        document.undoStack().undo();
        EXPECT_EQ(irTable(), original) << after.toStdString();
        document.undoStack().redo();
        EXPECT_EQ(irTable(), after);
        document.undoStack().undo();
    }
    EXPECT_DEATH(AssignControlIRSlotCommand({goTo, dimmer}, Action_CLICK, 1, document),
                 "Assert: '\\(slotId == UCHAR_MAX\\) \\|\\| \\(controlIds.size\\(\\) == 1\\)' "
                 "is FALSE");
}

TEST_F(PropertyCommands, ButtonFunctionGetsItsArgumentsBackAfterAnotherFunction)
{
    Button& button = *document.modControl<Button>(goTo);
    push(new SetButtonFunctionPageIdArgCommand({goTo}, 5, document));
    push(new SetButtonFunctionPageTransitionArgCommand({goTo}, PageTransition_PAN_LEFT, document));
    push(new SetButtonFunctionPageTransitionDurationArgCommand({goTo}, 300, document));
    const auto arguments = [&button] {
        return QStringLiteral("%1 %2 %3 %4")
            .arg(button.getFunction())
            .arg(int(button.getFunctionPage()))
            .arg(button.getFunctionTransition())
            .arg(button.getFunctionTransitionDuration());
    };
    ASSERT_EQ(arguments(), "3 5 1 300");
    push(new SetButtonFunctionCommand({goTo, label}, ButtonFunction_LOCK, document));
    EXPECT_EQ(arguments(), "8 -1 0 -1");
    // On a function without that argument, an argument edit changes nothing.
    push(new SetButtonFunctionLevelArgCommand({goTo}, 7, document));
    EXPECT_EQ(arguments(), "8 -1 0 -1");
    for (int twice = 0; twice < 2; ++twice) {
        document.undoStack().undo();
        document.undoStack().undo();
        EXPECT_EQ(arguments(), "3 5 1 300");
        document.undoStack().redo();
        EXPECT_EQ(arguments(), "8 -1 0 -1");
        document.undoStack().redo();
    }
    // A brightness level survives a trip through Go To Page.
    Button& brighterButton = *document.modControl<Button>(brighter);
    push(new SetButtonFunctionCommand({brighter}, ButtonFunction_GO_TO_PAGE, document));
    EXPECT_EQ(brighterButton.getFunctionLevel(), -1);
    document.undoStack().undo();
    EXPECT_EQ(brighterButton.getFunctionLevel(), 200);
}

TEST_F(PropertyCommands, ClockTypeRebuildsTheItemsAndShowsTheCurrentPageAgain)
{
    showPreview();
    document.showPage(settings);
    const auto clockType = [this] {
        return QString(scene().controlItem(digitalClock)->metaObject()->className())
            .section('_', 0, 0);
    };
    ASSERT_EQ(clockType(), "DigitalClock");
    const std::pair<std::function<void()>, const char*> steps[] = {
        {[this] {
             push(new SetClockTypeCommand({digitalClock, label}, Clock::ClockType_ANALOGUE,
                                          document));
         },
         "AnalogueClock"},
        {[this] { document.undoStack().undo(); }, "DigitalClock"},
        {[this] { document.undoStack().redo(); }, "AnalogueClock"},
    };
    for (const auto& [step, expected] : steps) {
        markAsOld(scene().pageItem(settings));
        step();
        EXPECT_EQ(clockType(), expected);
        EXPECT_TRUE(isNew(scene().pageItem(settings)));
        EXPECT_EQ(scene().currentPageId(), settings);
        EXPECT_TRUE(scene().pageItem(settings)->isVisible());
        EXPECT_EQ(scene().pageItem(home), nullptr);
        EXPECT_EQ(events.take(), QStringList{"ControlsChanged 4,5"});
    }
}

// Random edits of every property, then all undone and all redone: the project saves to the
// same bytes as before and as after.
TEST_F(PropertyCommands, TenThousandRandomEditsUndoAndRedoToTheSameBytes)
{
    const TestUtil::UndoFuzzRun run(10000, 4);
    SCOPED_TRACE(run.describe());
    std::mt19937 random(run.seed);
    const auto n = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    using Pages = std::set<unsigned int>;
    const auto pages = [&] {
        Pages ids;
        for (unsigned int id : {home, lights, settings})
            if (n(0, 1))
                ids.insert(id);
        return ids;
    };
    const auto controls = [&] {
        Ids ids = {goTo, dimmer, picker, keypad, label, digitalClock, brighter};
        std::shuffle(ids.begin(), ids.end(), random);
        ids.resize(std::size_t(n(1, 3)));
        return ids;
    };
    // Commands of a number, an enumeration or a flag, with the range of their values; -1 gives
    // UINT_MAX to the unsigned ones.
    struct Numeric
    {
        std::function<QUndoCommand*(int)> make;
        int low, high;
    };
    const auto ir = [&](int slot) {
        const std::set<unsigned char> free = document.freeIRSlots();
        const Action action = Action(n(1, 3));
        if (slot < 0 || free.empty())
            return new AssignControlIRSlotCommand(controls(), action, NoIRSlot, document);
        return new AssignControlIRSlotCommand({controls().front()}, action, *free.begin(),
                                              document);
    };
    const Numeric edits[] = {
        {numeric<SetPageIconCommand>(pages), -1, 2},
        {numeric<SetPageBackgroundGradientRotationCommand>(pages), -1, 359},
        {numeric<SetPageBackgroundImageCommand>(pages), -1, 2},
        {numeric<SetPageBackgroundImageScalingCommand>(pages), 0, 6},
        {[&](int v) {
             return new SetPageNameCommand(pages(), QString("Page %1").arg(v), document);
         },
         1, 9},
        {[&](int v) {
             return new SetPageBackgroundColourCommand(pages(), QColor(v, 9, 9), document);
         },
         0, 255},
        {[&](int v) {
             return new SetPageBackgroundGradientCommand(
                 pages(), v ? gradientOf(QColor(v, 0, 0), Qt::black) : Gradient(), document);
         },
         0, 255},
        {[&](int v) {
             return new SetControlCaptionCommand(controls(), QString::number(v), document);
         },
         0, 9},
        {[&](int v) {
             return new SetControlKeyCommand(controls(), v ? QString::number(v) : "k{1,2}",
                                             document);
         },
         0, 9},
        {[&](int v) {
             return new SetControlStartupSkinCommand(controls(), v ? "Normal" : "", document);
         },
         0, 1},
        {ir, -1, 0},
        {[&](int v) {
             const Ids ids = controls();
             return new MoveControlsCommand({ids.begin(), ids.end()}, QPoint(v, -v), document);
         },
         -9, 9},
        {[&](int v) {
             return new SetControlGeometryCommand({{controls().front(), QRect(v, 0, 9, 9)}},
                                                  document);
         },
         0, 99},
        {numeric<SetControlXCommand>(controls), 0, 200},
        {numeric<SetControlYCommand>(controls), 0, 200},
        {numeric<SetControlWidthCommand>(controls), 1, 200},
        {numeric<SetControlHeightCommand>(controls), 1, 200},
        {numeric<SetButtonImageCommand>(controls), -1, 2},
        {numeric<SetButtonFontSizeCommand>(controls), 8, 40},
        {numeric<SetButtonWordWrapCommand>(controls), 0, 1},
        {numeric<SetButtonActuationCommand>(controls), 0, 1},
        {numeric<SetButtonHeldTimeoutCommand>(controls), 0, 900},
        {numeric<SetButtonRepeatIntervalCommand>(controls), 0, 900},
        {numeric<SetButtonFunctionCommand>(controls), 0, 8},
        {numeric<SetButtonFunctionPageIdArgCommand>(controls), -1, 2},
        {numeric<SetButtonFunctionPageTransitionArgCommand>(controls), 0, 2},
        {numeric<SetButtonFunctionPageTransitionDurationArgCommand>(controls), 0, 900},
        {numeric<SetButtonFunctionLevelArgCommand>(controls), 0, 255},
        {numeric<SetSliderShowValueCommand>(controls), 0, 1},
        {numeric<SetSliderUnitCommand>(controls), 1, 2},
        {numeric<SetSliderCaptionFontSizeCommand>(controls), 8, 40},
        {numeric<SetSliderValueFontSizeCommand>(controls), 8, 40},
        {numeric<SetSliderSpacingCommand>(controls), 0, 20},
        {[&](int v) { return new SetSliderHandleSizeCommand(controls(), v / 10.0, document); }, 1,
         9},
        {numeric<SetColourPickerFontSizeCommand>(controls), 8, 40},
        {numeric<SetColourPickerSpacingCommand>(controls), 0, 20},
        {numeric<SetKeypadMaxDigitsCommand>(controls), 1, 9},
        {numeric<SetKeypadHideCharactersCommand>(controls), 0, 1},
        {numeric<SetLabelFontSizeCommand>(controls), 8, 40},
        {numeric<SetLabelWordWrapCommand>(controls), 0, 1},
        {numeric<SetClockTypeCommand>(controls), 0, 1},
        {numeric<SetClockFontSizeCommand>(controls), 8, 40},
        {numeric<SetClockSpacingCommand>(controls), 0, 20},
    };
    const QByteArray before = bytes();
    for (int i = 0; i < run.edits; ++i) {
        const Numeric& edit = edits[n(0, int(std::size(edits)) - 1)];
        push(edit.make(n(edit.low, edit.high)));
    }
    const QByteArray after = bytes();
    ASSERT_NE(after, before);
    undoAll();
    EXPECT_EQ(bytes(), before);
    while (document.undoStack().canRedo())
        document.undoStack().redo();
    EXPECT_EQ(bytes(), after);
}

// Typed positions and sizes, moves and rectangles from the ends of the int range stop at the
// ends of the range of control geometry (a group moving as one, as far as its widest member
// may), and undo gives back where the control was.
TEST_F(PropertyCommands, GeometryEditsStayInTheGeometryRange)
{
    const int l = ControlGeometry::Limit;
    auto& d = document;
    const QRect before(10, 10, 100, 40);
    const struct
    {
        QUndoCommand* command;
        QRect after;
    } rows[] = {
        {new SetControlXCommand({goTo}, INT_MAX, d), QRect(l - 99, 10, 100, 40)},
        {new SetControlYCommand({goTo}, INT_MIN, d), QRect(10, -l, 100, 40)},
        {new SetControlWidthCommand({goTo}, INT_MAX, d), QRect(QPoint(10, 10), QPoint(l, 49))},
        {new SetControlHeightCommand({goTo}, -5, d), QRect(10, 10, 100, 0)},
        // with the slider beside it, which reaches 209 across and 60 down
        {new MoveControlsCommand({goTo, dimmer}, QPoint(INT_MAX, INT_MIN), d),
         QRect(l - 199, -l, 100, 40)},
        {new SetControlGeometryCommand({{goTo, QRect(QPoint(INT_MIN, 5), QPoint(INT_MAX, 2))}}, d),
         QRect(QPoint(-l, 5), QPoint(l, 4))},
    };
    for (const auto& row : rows) {
        document.undoStack().push(row.command);
        EXPECT_EQ(document.getControl(goTo).getGeometry(), row.after)
            << row.command->text().toStdString();
        document.undoStack().undo();
        EXPECT_EQ(document.getControl(goTo).getGeometry(), before);
    }
}
