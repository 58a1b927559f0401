#include "common/helpers.h"
#include "common/memory_growth_limit.h"
#include "common/qml_fixture.h"
#include "velmora_objects/qml_fixtures.h"

#include "velmora_objects/qml/qml_control.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_page.h"
#include "velmora_objects/qml/qml_page_switcher.h"
#include "velmora_objects/qml/qml_screen.h"
#include "velmora_objects/qml/qml_theme.h"

#include <QDir>
#include <QQmlContext>
#include <QQuickImageProvider>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <functional>

using namespace VelmoraQML;
using TestUtil::QmlFixture;

namespace {

struct ControlEvent
{
    QString key;
    int event;
    QVariant value;
};

std::vector<ControlEvent>& events()
{
    static std::vector<ControlEvent> list;
    return list;
}

void recordEvent(const QString& key, int event, const QVariant& value)
{
    events().push_back({key, event, value});
}

std::vector<int> eventNumbers()
{
    std::vector<int> numbers;
    for (const ControlEvent& e : events())
        numbers.push_back(e.event);
    return numbers;
}

// Any theme image: a small grey square, so that documents naming theme images load them.
class GreyImages : public QQuickImageProvider
{
public:
    GreyImages() : QQuickImageProvider(QQuickImageProvider::Pixmap) {}
    QPixmap requestPixmap(const QString&, QSize* size, const QSize&) override
    {
        QPixmap pixmap(16, 16);
        pixmap.fill(QColor(128, 128, 128));
        if (size)
            *size = pixmap.size();
        return pixmap;
    }
};

const QColor backdrop(12, 34, 56);
const QString header = "import QtQuick 2.0\nimport Velmora 1.0\nimport \"qrc:/qml\"\n";

// The warnings of the embedded components.
QStringList componentWarnings(const QStringList& warnings)
{
    QStringList result;
    for (const QString& warning : warnings)
        if (warning.contains("qrc:/qml"))
            result << warning;
    return result;
}

using TestUtil::changedArea;

QRect geometryOf(const QQuickItem* item)
{
    return item->mapRectToScene(QRectF(0, 0, item->width(), item->height())).toRect();
}

// The first value of "name:<integer>;" in the text.
int numberIn(const QString& text, const QString& name)
{
    const QRegularExpression pattern("^" + name + ":(-?\\d+);$",
                                     QRegularExpression::MultilineOption);
    return pattern.match(text).captured(1).toInt();
}

// The blocks of a document that begin with a line matching the pattern, each from that line to
// the line that closes its brace. (No quoted text of the expected documents holds a brace.)
QStringList blocks(const QString& text, const QRegularExpression& opening)
{
    QStringList result;
    const QStringList lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!opening.match(lines[i]).hasMatch())
            continue;
        qsizetype depth = 0;
        qsizetype j = i;
        do
            depth += lines[j].count('{') - lines[j].count('}');
        while (depth > 0 && ++j < lines.size());
        result << lines.mid(i, j - i + 1).join('\n');
    }
    return result;
}

int countLines(const QString& text, const QString& line)
{
    return int(text.split('\n').count(line));
}

} // namespace

class Components : public QmlFixture
{
protected:
    Components()
    {
        callbacks.controlEvent = &recordEvent;
        events().clear();
    }

    void TearDown() override
    {
        // The scene graph frees the textures of images that are gone on its next frame and
        // through deferred deletes: both happen here, before the leak check at exit.
        root.reset();
        if (window) {
            window->releaseResources();
            window->grabWindow();
        }
        window.reset();
        QmlFixture::TearDown();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Creates the document in a shown window of the screen's size, on a plain backdrop.
    QQuickItem* load(const QString& document, const QSize& size = QSize(480, 272))
    {
        root.reset();
        if (!window) {
            engine->addImageProvider("theme1", new GreyImages);
            window = std::make_unique<QQuickWindow>();
            window->setColor(backdrop);
        }
        window->resize(size);
        QString errors;
        root.reset(createObject(*engine, document, nullptr, &errors));
        auto* item = qobject_cast<QQuickItem*>(root.get());
        EXPECT_TRUE(item) << errors.toStdString();
        if (!item)
            return nullptr;
        item->setParentItem(window->contentItem());
        window->show();
        return item;
    }

    QImage render() { return window->grabWindow().convertToFormat(QImage::Format_ARGB32); }

    // The item of that object name in the item tree (delegates have no object parent).
    QQuickItem* find(const char* name) const
    {
        QQuickItem* item = itemNamed(qobject_cast<QQuickItem*>(root.get()), name);
        EXPECT_TRUE(item) << name;
        return item;
    }

    static QQuickItem* itemNamed(QQuickItem* item, const char* name)
    {
        if (!item || item->objectName() == name)
            return item;
        for (QQuickItem* child : item->childItems())
            if (QQuickItem* found = itemNamed(child, name))
                return found;
        return nullptr;
    }

    QPoint centreOf(const QQuickItem* item) const { return geometryOf(item).center(); }

    std::unique_ptr<QObject> root;
    std::unique_ptr<QQuickWindow> window;
};

// Every complete document the renderer writes compiles against the module and its
// components, without a warning from them, builds every skin set and skin of its themes, and
// draws each control where the text puts it.
// (The streamer's expected documents are lists of statements, not objects.)
TEST_F(Components, ExpectedDocumentsRenderEachControlInPlace)
{
    std::vector<std::pair<QString, QString>> texts;
    const QDir folder(TestUtil::dataPath("qml"));
    for (const QString& name : folder.entryList({"*.qml"}, QDir::Files))
        if (!name.startsWith("streamer_"))
            texts.emplace_back(name, QString::fromUtf8(TestUtil::readFile(folder.filePath(name))));
    const auto project = QmlFixtures::makeProject();
    texts.emplace_back("project", QmlFixtures::render(*project, *project, false, true, false));
    const auto portrait = QmlFixtures::makeSwitcherProject(Velmora::Orientation_PORTRAIT);
    texts.emplace_back("portrait", QmlFixtures::render(*portrait, *portrait, false, true, false));

    int controlsSeen = 0;
    int iconsSeen = 0;
    int themesSeen = 0;
    for (const auto& entry : texts) {
        const QString& text = entry.second;
        SCOPED_TRACE(entry.first.toStdString());
        const QSize size = entry.first.contains("portrait") ? QSize(272, 480) : QSize(480, 272);
        const QRect screenArea(QPoint(), size);
        screen()->setSize(size);
        QStringList warnings = TestUtil::warningsDuring([&] {
            QQuickItem* item = load(text, size);
            ASSERT_TRUE(item);
            // Every skin set and skin of the theme objects is built.
            int skinSets = 0, skins = 0;
            for (const QMLTheme* theme : item->findChildren<QMLTheme*>()) {
                skinSets += int(theme->skinSets().size());
                for (const QMLSkinSet* set : theme->skinSets())
                    skins += int(set->skins().size());
            }
            EXPECT_EQ(skinSets, countLines(text, "SkinSet {"));
            EXPECT_EQ(skins, countLines(text, "Skin {"));
            themesSeen += int(item->findChildren<QMLTheme*>().size());
            QList<QMLPage*> pages = item->findChildren<QMLPage*>();
            const QList<QMLPageSwitcher*> bars = item->findChildren<QMLPageSwitcher*>();
            if (auto* page = qobject_cast<QMLPage*>(item))
                pages << page;
            if (auto* control = qobject_cast<QMLControl*>(item)) {
                // Alone on the backdrop: drawn within its rectangle and not blank.
                const QRect placed(numberIn(text, "x"), numberIn(text, "y"),
                                   numberIn(text, "width"), numberIn(text, "height"));
                EXPECT_EQ(geometryOf(control), placed);
                const QRect drawn = changedArea(render(), QImage(), screenArea, backdrop);
                EXPECT_TRUE(!drawn.isEmpty() && placed.contains(drawn));
                ++controlsSeen;
            }
            for (QMLPage* page : pages) {
                // Each page alone: each of its controls changes its own rectangle and no
                // other pixel. A page without a colour of its own is white; the backdrop
                // shows white texts.
                for (QMLPage* other : pages)
                    other->setVisible(other == page);
                for (QMLPageSwitcher* bar : bars)
                    bar->setVisible(false);
                const QRegularExpression coloured(
                    QString("configId:%1;\n[^{}]*color:").arg(page->configId()));
                if (!text.contains(coloured))
                    page->setProperty("color", backdrop);
                const QList<QMLControl*> controls = page->findChildren<QMLControl*>();
                for (QMLControl* control : controls)
                    control->setVisible(false);
                const QImage empty = render();
                for (QMLControl* control : controls) {
                    control->setVisible(true);
                    const QImage shown = render();
                    control->setVisible(false);
                    const QRect placed = geometryOf(control);
                    EXPECT_FALSE(changedArea(shown, empty, placed).isEmpty());
                    EXPECT_TRUE(placed.contains(changedArea(shown, empty, screenArea)))
                        << control->controlKey().toStdString();
                    ++controlsSeen;
                }
            }
            for (QMLPageSwitcher* bar : bars) {
                // Each bar alone, with the default icon of its page buttons where the text
                // puts the buttons: 24 × 24, centred, above the name when it is shown.
                for (QMLPage* page : pages)
                    page->setVisible(false);
                for (QMLPageSwitcher* other : bars)
                    other->setVisible(other == bar);
                const QImage image = render();
                for (QQuickItem* button : bar->childItems()) {
                    if (button->property("iconSource").toUrl() !=
                        QUrl("qrc:/default_page_icon.png"))
                        continue;
                    const QRect placed = geometryOf(button);
                    const int nameSpace = button->property("showPageName").toBool() ? 10 : 0;
                    const QPoint sheet(placed.center().x(),
                                       placed.top() + (placed.height() - nameSpace - 24) / 2 + 12);
                    if (image.rect().contains(sheet)) {
                        EXPECT_GT(QColor(image.pixel(sheet)).lightness(), 200);
                        ++iconsSeen;
                    }
                }
            }
        });
        warnings = componentWarnings(warnings);
        warnings.removeDuplicates();
        EXPECT_TRUE(warnings.isEmpty()) << warnings.mid(0, 8).join('\n').toStdString();
    }
    EXPECT_GE(controlsSeen, 25);
    EXPECT_GE(themesSeen, 10);
    EXPECT_GE(iconsSeen, 100);
}

// A momentary button sends pressed, then held when its timer first runs out (after heldTimeout)
// and repeat each time it runs out again (after repeatInterval) while it is held, then released
// and clicked; a maintained one toggles and starts no timer. The times are a day and half a day,
// never over within a test: the test makes the timer run out.
TEST_F(Components, ButtonEventsFollowItsActuation)
{
    using C = QMLControl;
    const int pressed = C::Event_BUTTON_PRESSED, held = C::Event_BUTTON_HELD,
              repeat = C::Event_BUTTON_REPEAT, released = C::Event_BUTTON_RELEASED,
              clicked = C::Event_BUTTON_CLICKED, day = 86400000, half = day / 2;
    const struct
    {
        int heldTimeout, repeatInterval;
        std::vector<int> intervals; // the timer's at each of three turns; 0: it does not run
        std::vector<int> events;
    } cases[] = {
        {day, half, {day, half, half}, {pressed, held, repeat, repeat, released, clicked}},
        {day, 0, {day, 0, 0}, {pressed, held, released, clicked}},
        {0, half, {half, half, half}, {pressed, repeat, repeat, repeat, released, clicked}},
        {0, 0, {0, 0, 0}, {pressed, released, clicked}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heldTimeout + c.repeatInterval);
        const QString times =
            QString("heldTimeout: %1; repeatInterval: %2").arg(c.heldTimeout).arg(c.repeatInterval);
        QQuickItem* button =
            load(header + "Button { controlKey: \"b\"; width: 100; height: 40; " + times + " }");
        ASSERT_TRUE(button);
        QObject* timer = root->findChild<QObject*>("heldTimer");
        events().clear();
        QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(50, 20));
        EXPECT_TRUE(button->property("down").toBool());
        EXPECT_EQ(button->state(), "pressed");
        std::vector<int> intervals;
        for (int turn = 0; turn < 3; ++turn) {
            const bool runs =
                timer->property("running").toBool() && timer->property("repeat") == true;
            intervals.push_back(runs ? timer->property("interval").toInt() : 0);
            if (runs)
                QMetaObject::invokeMethod(timer, "triggered");
        }
        EXPECT_EQ(intervals, c.intervals);
        QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(50, 20));
        EXPECT_FALSE(button->property("down").toBool());
        EXPECT_EQ(button->state(), "default");
        EXPECT_FALSE(timer->property("running").toBool());
        EXPECT_EQ(eventNumbers(), c.events);
        EXPECT_EQ(events().front().key, "b");
    }

    QQuickItem* button = load(header + "Button { width: 100; height: 40; heldTimeout: 20; "
                                       "actuation: Control.MaintainedActuation }");
    ASSERT_TRUE(button);
    events().clear();
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(50, 20));
    EXPECT_TRUE(button->property("down").toBool());
    EXPECT_FALSE(root->findChild<QObject*>("heldTimer")->property("running").toBool());
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(50, 20));
    EXPECT_FALSE(button->property("down").toBool());
    EXPECT_EQ(eventNumbers(), (std::vector<int>{pressed, released}));
}

// Pressed, a button takes the skin's pressed colours; a fixed image hides the face.
TEST_F(Components, ButtonDrawsItsSkinAndImages)
{
    const QString skin = "currentSkin: Skin { property color gradientTopColour: \"#ff0000\"; "
                         "property color gradientBottomColour: \"#ff0000\"; "
                         "property color gradientTopColour_pressed: \"#00ff00\"; "
                         "property color gradientBottomColour_pressed: \"#00ff00\"; "
                         "property int borderWidth: 0; property int radius: 0 } ";
    ASSERT_TRUE(load(header + "Button { width: 100; height: 40; " + skin + "}"));
    EXPECT_EQ(QColor(render().pixel(10, 10)), QColor(255, 0, 0));
    QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(50, 20));
    EXPECT_EQ(QColor(render().pixel(10, 10)), QColor(0, 255, 0));
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(50, 20));

    ASSERT_TRUE(load(header + "Button { width: 100; height: 40; " + skin +
                     "fixedImageSource: \"qrc:/default_page_icon.png\" }"));
    EXPECT_NE(QColor(render().pixel(10, 10)), QColor(255, 0, 0));
}

// The keypad adds digits up to maxWidth, masks them, and sends the code on Enter once it has
// minWidth digits; its keys fill the keypad in a grid of 3 × 4 and a full-width Enter key.
TEST_F(Components, KeypadEntersCodes)
{
    QQuickItem* keypad =
        load(header + "Keypad { controlKey: \"k\"; width: 240; height: 300; caption: \"Code\"; "
                      "minWidth: 3; maxWidth: 4; buttonTextStyle: Types.TextStyle_SUNKEN }",
             QSize(240, 310));
    ASSERT_TRUE(keypad);
    QQuickItem* display = find("display");
    EXPECT_EQ(geometryOf(find("key7")), QRect(6, 60, 72, 42));
    EXPECT_EQ(geometryOf(find("key3")), QRect(162, 156, 72, 42));
    EXPECT_EQ(geometryOf(find("keyEnter")), QRect(6, 252, 228, 42));
    EXPECT_EQ(find("keys")->property("style").toInt(), 3); // Text.Sunken
    const QImage image = render();
    EXPECT_NE(QColor(image.pixel(120, 290)), backdrop); // Enter
    EXPECT_EQ(QColor(image.pixel(120, 298)), backdrop); // below the keys
    // Near its top a key is light; pressed, it takes the pressed gradient, dark at the top.
    const QPoint nearTop = centreOf(find("keyCls")) - QPoint(0, 15);
    QTest::mousePress(window.get(), Qt::LeftButton, {}, centreOf(find("keyCls")));
    EXPECT_LT(qGray(render().pixel(nearTop)), qGray(image.pixel(nearTop)) - 40);
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, centreOf(find("keyCls")));
    EXPECT_EQ(render().pixel(nearTop), image.pixel(nearTop));

    const struct
    {
        QStringList keys;
        QString number;
        QString shown;
        QStringList codes;
    } steps[] = {
        {{"1", "2"}, "12", "\u25CF\u25CF", {}},
        {{"Enter"}, "12", "\u25CF\u25CF", {}}, // fewer than minWidth digits
        {{"3", "4", "5"}, "1234", "\u25CF\u25CF\u25CF\u25CF", {}},
        {{"Del"}, "123", "\u25CF\u25CF\u25CF", {}},
        {{"Enter"}, "", "Code", {"123"}},
        {{"9", "Cls"}, "", "Code", {}},
        {{"Enter"}, "", "Code", {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.keys.join(' ').toStdString());
        events().clear();
        for (const QString& key : step.keys)
            QTest::mouseClick(window.get(), Qt::LeftButton, {},
                              centreOf(find(("key" + key).toLatin1().constData())));
        EXPECT_EQ(keypad->property("number").toString(), step.number);
        EXPECT_EQ(display->property("text").toString(), step.shown);
        QStringList codes;
        for (const ControlEvent& e : events())
            if (e.event == QMLControl::Event_KEYPAD_CODE_ENTERED && e.key == "k")
                codes << e.value.toString();
        EXPECT_EQ(codes, step.codes);
    }

    for (const char* key : {"1", "2", "3"})
        QTest::mouseClick(window.get(), Qt::LeftButton, {},
                          centreOf(find((QByteArray("key") + key).constData())));
    keypad->setProperty("maxWidth", 2);
    keypad->setProperty("hideCharacters", false);
    EXPECT_EQ(display->property("text").toString(), "12");
}

// A control costs what the window shows of it, at any size. In a child process whose address
// space may grow by 256 MiB once a small one is drawn, a giant one is drawn where the window
// shows it: the face of the keypad's first key where that key begins and, moved so that the
// key 1 is in the middle of the window, that key's label there; the analogue clock's light face
// between its rim and its hour marks at twelve, where no hand reaches; a button with a huge
// corner radius rounded as one of 240 pixels, the middle of a label's caption in a huge font,
// and a digital clock's time in the font of its size.
TEST_F(Components, GiantControlsCostWhatTheWindowShows)
{
    const auto filled = [this](const QColor& colour) {
        const QImage image = render();
        for (int y = 120; y < 152; ++y)
            for (int x = 220; x < 260; ++x)
                if (colour.isValid() ? QColor(image.pixel(x, y)) != colour
                                     : qGray(image.pixel(x, y)) < 200)
                    return false;
        return true;
    };
    const struct
    {
        const char* control;
        std::function<bool(QQuickItem*, int)> drawn;
    } cases[] = {
        {"Keypad { buttonTextColour: \"#ff0000\"",
         [&](QQuickItem* keypad, int) {
             const QImage firstKey = render(); // the key 7 begins at (6, 60)
             const bool face = QColor(firstKey.pixel(100, 100)) != backdrop &&
                               QColor(firstKey.pixel(3, 100)) == backdrop;
             keypad->setPosition(QPointF(240, 136) - centreOf(find("key1")));
             return face && filled(Qt::red);
         }},
        {"AnalogueClock { caption: \"\"",
         [&](QQuickItem* clock, int side) {
             // 112 of the pictures' 251 units above the centre.
             clock->setPosition(QPointF(240 - side / 2.0, 136 - side * 13.5 / 251));
             return filled(QColor());
         }},
        // Radii and font sizes from a damaged file, or following the control's size.
        {"Button { radius: 30000; caption: \"\"",
         [&](QQuickItem*, int) {
             const QImage corner = render(); // rounded by 240 pixels at most
             return QColor(corner.pixel(3, 3)) == backdrop &&
                    QColor(corner.pixel(240, 136)) != backdrop;
         }},
        {"Label { fontSize: 60000; caption: \"I\"; textColour: \"#00ff00\"",
         [&](QQuickItem* label, int side) {
             label->setPosition(QPointF(240 - side / 2.0, 136 - side / 2.0));
             return QColor(render().pixel(240, 136)) == QColor(0, 255, 0);
         }},
        {"DigitalClock { caption: \"\"; captionTextColour: \"#00ff00\"",
         [&](QQuickItem* clock, int side) {
             clock->setPosition(QPointF(240 - side / 2.0, 136 - side / 2.0));
             return TestUtil::pixelsOfColour(render(), QColor(0, 255, 0)) > 0;
         }},
    };
    for (const auto& c : cases) {
        for (const int side : {24000, 65535}) {
            SCOPED_TRACE(std::string(c.control) + " " + std::to_string(side));
            const QString control = header + c.control + "; width: %1; height: %1 }";
            EXPECT_EXIT(
                {
                    if (!load(control.arg(240)) || render().isNull() ||
                        !TestUtil::limitAddressSpaceGrowth(256 << 20))
                        ::_exit(2);
                    QQuickItem* item = load(control.arg(side));
                    ::_exit(item && c.drawn(item, side) ? 0 : 1);
                },
                ::testing::ExitedWithCode(0), "");
        }
    }
}

// The track leaves room for the texts beside a horizontal slider (a third of the width, at
// most 60) or below a vertical one; the handle sits at the value along the track.
TEST_F(Components, SliderLaysOutTrackHandleAndTexts)
{
    const struct
    {
        const char* slider;
        QRect track;
        QRectF handle;
        int travelMax;
    } cases[] = {
        // 200 × 40 with a caption: texts 60 wide, track 140; border 2, handle 0.1 of the track.
        {"width: 200; height: 40; caption: \"Volume\"; value: 0.5", QRect(0, 0, 140, 40),
         QRectF(63, 1, 14, 38), 124},
        {"width: 200; height: 40; showCaption: false; value: 1", QRect(0, 0, 200, 40),
         QRectF(179, 1, 20, 38), 178},
        {"width: 200; height: 40; showValue: true; minimum: 5; maximum: 5; value: 1",
         QRect(0, 0, 140, 40), QRectF(1, 1, 14, 38), 124},
        // 40 × 200 with caption and value of 10 px, spacing 4: texts 15 + 4 + 15 + 4 below.
        {"width: 40; height: 200; caption: \"V\"; showValue: true; valueFontSize: 10; "
         "spacing: 4; value: 0.25",
         QRect(0, 0, 40, 162), QRectF(1, 108.25, 38, 16.2), 143},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slider);
        QQuickItem* slider = load(header + "Slider { captionFontSize: 10; " + c.slider + " }");
        ASSERT_TRUE(slider);
        EXPECT_EQ(geometryOf(find("track")), c.track);
        QQuickItem* handle = find("handle");
        EXPECT_NEAR(handle->x(), c.handle.x(), 0.01);
        EXPECT_NEAR(handle->y(), c.handle.y(), 0.01);
        EXPECT_NEAR(handle->width(), c.handle.width(), 0.01);
        EXPECT_NEAR(handle->height(), c.handle.height(), 0.01);
        EXPECT_EQ(slider->property("travelMax").toInt(), c.travelMax);
        // The track is drawn to its end and no further (its corners are rounded).
        const QImage image = render();
        const bool horizontal = c.track.width() > c.track.height();
        const QPoint inside = horizontal ? QPoint(c.track.right() - 3, c.track.center().y())
                                         : QPoint(c.track.center().x(), c.track.bottom() - 3);
        const QPoint beyond =
            horizontal ? QPoint(c.track.right() + 2, 1) : QPoint(1, c.track.bottom() + 2);
        EXPECT_NE(QColor(image.pixel(inside)), backdrop);
        EXPECT_EQ(QColor(image.pixel(beyond)), backdrop);
    }
}

// Dragging the handle sets the value and sends it; a value from the panel moves the handle
// without being sent back.
TEST_F(Components, SliderValueFollowsTheHandle)
{
    QQuickItem* slider = load(header + "Slider { controlKey: \"s\"; width: 200; height: 40; "
                                       "showCaption: false; value: 0 }");
    ASSERT_TRUE(slider);
    QQuickItem* handle = find("handle");
    events().clear();
    QPoint at = centreOf(handle);
    QTest::mousePress(window.get(), Qt::LeftButton, {}, at);
    EXPECT_EQ(slider->state(), "pressed");
    const std::string printed = TestUtil::consoleDuring([&] {
        for (int step = 0; step < 10; ++step) {
            at.rx() += 9;
            QTest::mouseMove(window.get(), at);
        }
    });
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, at);
    EXPECT_EQ(slider->state(), "default");
    const double value = slider->property("value").toDouble();
    EXPECT_NEAR(value, (handle->x() - 1) / 178.0, 1e-9);
    EXPECT_GT(value, 0.3);
    ASSERT_FALSE(events().empty());
    EXPECT_EQ(events().back().event, QMLControl::Event_SLIDER_VALUE_CHANGED);
    EXPECT_DOUBLE_EQ(events().back().value.toDouble(), value);
    EXPECT_EQ(printed, "") << "a drag prints nothing";

    events().clear();
    qobject_cast<QMLControl*>(slider)->setValue(0, 255);
    EXPECT_DOUBLE_EQ(slider->property("value").toDouble(), 1.0);
    EXPECT_NEAR(handle->x(), 179, 0.01);
    EXPECT_TRUE(events().empty());
}

// Pressing the wheel picks the colour under the finger; a drag outside keeps to the rim. The
// indicator hides while the wheel is pressed and then shows where the colour was picked.
TEST_F(Components, ColourPickerPicksAlongTheWheel)
{
    // The wheel area is 100 × 101 above a 15-pixel caption and 4 of spacing: radius 50.
    QQuickItem* picker = load(header + "ColourPicker { controlKey: \"c\"; width: 100; "
                                       "height: 120; caption: \"Tint\"; captionFontSize: 10; "
                                       "spacing: 4 }");
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->property("wheelHeight").toInt(), 101);
    EXPECT_EQ(picker->property("colourPointX").toInt(), 50);
    EXPECT_EQ(picker->property("colourPointY").toInt(), 50);
    const QColor top(render().pixel(50, 4));
    EXPECT_GT(top.red(), 200);
    EXPECT_LT(top.green(), 100);

    QQuickItem* indicator = find("indicator");
    QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(2, 2)); // a corner: nothing
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(events().empty());

    QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(75, 50));
    EXPECT_FALSE(indicator->isVisible());
    ASSERT_EQ(events().size(), 1u);
    EXPECT_EQ(events()[0].event, QMLControl::Event_COLOUR_PICKER_PRESS);
    QColor colour = events()[0].value.value<QColor>();
    EXPECT_NEAR(colour.hsvHueF(), 0.25, 0.01);
    EXPECT_NEAR(colour.hsvSaturationF(), 0.25, 0.02);

    QTest::mouseMove(window.get(), QPoint(98, 50));
    QTest::mouseMove(window.get(), QPoint(130, 50));
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(130, 50));
    ASSERT_GE(events().size(), 2u);
    EXPECT_EQ(events().back().event, QMLControl::Event_COLOUR_PICKER_MOVE);
    colour = events().back().value.value<QColor>();
    EXPECT_NEAR(colour.hsvSaturationF(), 1.0, 0.01);
    EXPECT_EQ(picker->property("colourPointX").toInt(), 100);
    EXPECT_EQ(picker->property("colourPointY").toInt(), 50);
    EXPECT_TRUE(indicator->isVisible());
    EXPECT_EQ(indicator->position(), QPointF(97.5, 47.5));
}

// The controller's show and hide signals place a page and its page switcher at once (snap)
// or pan them across the screen; a page panned away stays visible beside the screen.
TEST_F(Components, PagesAndSwitchersShowAndHide)
{
    QQuickItem* item = load(header + "Item { Page { objectName: \"page\" } PageSwitcher { "
                                     "objectName: \"bar\"; x: 0; y: 230; targetX: 0; "
                                     "targetY: 230; width: 480; height: 42 } }");
    ASSERT_TRUE(item);
    auto* page = qobject_cast<QMLPage*>(find("page"));
    auto* bar = qobject_cast<QMLPageSwitcher*>(find("bar"));
    ASSERT_TRUE(page && bar);
    EXPECT_TRUE(controller()->hasPage(page));
    EXPECT_TRUE(controller()->hasPageSwitcher(bar));
    EXPECT_FALSE(page->isVisible());

    enum
    {
        Snap,
        PanLeft,
        PanRight
    };
    const struct
    {
        bool show;
        int transition;
        qreal startX; // NaN: placed at once
        QPointF pagePlace;
        QPointF barPlace;
        bool visible;
    } steps[] = {
        {true, Snap, NAN, {0, 0}, {0, 230}, true},
        {false, Snap, NAN, {480, 272}, {0, 272}, false},
        {true, PanLeft, -480, {0, 0}, {0, 230}, true},
        {false, PanLeft, 0, {480, 0}, {480, 230}, true},
        {true, PanRight, 480, {0, 0}, {0, 230}, true},
        {false, PanRight, 0, {-480, 0}, {-480, 230}, true},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::to_string(step.show) + " " + std::to_string(step.transition));
        if (step.show) {
            emit page->showPage(step.transition, 80);
            emit bar->showPageSwitcher(step.transition, 80);
        } else {
            emit page->hidePage(step.transition, 80);
            emit bar->hidePageSwitcher(step.transition, 80);
        }
        if (!std::isnan(step.startX)) {
            EXPECT_EQ(page->x(), step.startX);
            EXPECT_EQ(bar->x(), step.startX);
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return page->position() == step.pagePlace; }, 3000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return bar->position() == step.barPlace; }, 3000));
        EXPECT_EQ(page->isVisible(), step.visible);
        EXPECT_EQ(bar->isVisible(), step.visible);
    }
}

// The page's gradient, turned by any angle, still covers every corner of the page.
TEST_F(Components, RotatedGradientCoversThePage)
{
    for (const QSize& size : {QSize(480, 272), QSize(272, 480)}) {
        screen()->setSize(size);
        for (int rotation : {0, 30, 45, 90, 135, 180, 225, 270, 315, 359}) {
            SCOPED_TRACE(std::to_string(size.width()) + " " + std::to_string(rotation));
            ASSERT_TRUE(load(header + QString("Page { visible: true; color: \"#ff00ff\"; "
                                              "clip: true; GradientRectangle { "
                                              "gradient: Gradient { "
                                              "GradientStop { position: 0; color: \"#ff0000\" } "
                                              "GradientStop { position: 1; color: \"#0000ff\" } } "
                                              "rotation: %1 } }")
                                          .arg(rotation),
                             size));
            const QImage image = render();
            const int right = size.width() - 1;
            const int bottom = size.height() - 1;
            for (const QPoint& corner :
                 {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)}) {
                const QColor colour(image.pixel(corner));
                EXPECT_FALSE(colour.red() > 128 && colour.blue() > 128 && colour.green() < 64)
                    << corner.x() << "," << corner.y();
            }
        }
    }
    // Unturned, the gradient runs from the page's top to its bottom.
    const QImage image = render();
    EXPECT_GT(QColor(image.pixel(100, 2)).red(), 240);
    EXPECT_GT(QColor(image.pixel(100, 477)).blue(), 240);
}

// The hands point to the time of the clock's zone; hours and minutes of a shifted clock move
// by exactly the shift, west as well as east. The time is given to the clock, not read.
TEST_F(Components, ClockHandsPointToTheShiftedTime)
{
    const struct
    {
        double shift;
        QTime utc;
        int hours;
        int minutes;
        QString digital;
    } cases[] = {
        {5.5, QTime(10, 0), 15, 30, "15:30"},
        {-5.5, QTime(10, 15), 4, 45, "04:45"},
        {5.5, QTime(23, 45), 28, 75, "05:15"},
    };
    // The face is 120 pixels square, centred on (60, 60).
    const auto along = [](double degrees, double distance) {
        const double r = degrees * M_PI / 180;
        return QPointF(60 + distance * std::sin(r), 60 - distance * std::cos(r)).toPoint();
    };
    const auto darkest = [](const QImage& image, const QPoint& at) {
        int lightness = 255;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                lightness =
                    std::min(lightness, QColor(image.pixel(at + QPoint(dx, dy))).lightness());
        return lightness;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.digital.toStdString());
        const QDateTime now(QDate(2024, 3, 1), c.utc, Qt::UTC);
        const double hourAngle = std::fmod(c.hours * 30 + c.minutes * 0.5, 360);
        const double minuteAngle = std::fmod(c.minutes * 6, 360);
        for (const char* type : {"DigitalClock", "AnalogueClock"}) {
            QQuickItem* clock = load(
                header + type + QString(" { width: 120; height: 120; shift: %1 }").arg(c.shift));
            ASSERT_TRUE(clock);
            root->findChild<QObject*>("clockTimer")->setProperty("running", false);
            // The first time shown (read as the clock starts) is pointed to at once.
            if (QString(type) == "AnalogueClock") {
                EXPECT_NEAR(find("minuteHand")->rotation(),
                            std::fmod(clock->property("minutes").toInt() * 6, 360), 0.01);
            }
            QMetaObject::invokeMethod(clock, "showTime", Q_ARG(QVariant, QVariant(now)));
            EXPECT_EQ(clock->property("hours").toInt(), c.hours);
            EXPECT_EQ(clock->property("minutes").toInt(), c.minutes);
        }
        // The last clock is the analogue one; its hands swing there on their springs.
        QQuickItem* hourHand = find("hourHand");
        QQuickItem* minuteHand = find("minuteHand");
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return std::abs(hourHand->rotation() - hourAngle) < 0.2 &&
                       std::abs(minuteHand->rotation() - minuteAngle) < 0.2;
            },
            10000))
            << hourHand->rotation() << " " << minuteHand->rotation();
        const QImage image = render();
        EXPECT_LT(darkest(image, along(hourAngle, 20)), 80);
        EXPECT_LT(darkest(image, along(minuteAngle, 35)), 80);
        EXPECT_GT(QColor(image.pixel(along(minuteAngle + 180, 30))).lightness(), 150);
    }

    QQuickItem* clock = load(header + "DigitalClock { width: 120; height: 40; caption: \"C\"; "
                                      "captionFontSize: 10; spacing: 2; shift: 5.5 }");
    ASSERT_TRUE(clock);
    root->findChild<QObject*>("clockTimer")->setProperty("running", false);
    QMetaObject::invokeMethod(
        clock, "showTime",
        Q_ARG(QVariant, QVariant(QDateTime(QDate(2024, 3, 1), QTime(23, 45), Qt::UTC))));
    QQuickItem* time = find("time");
    EXPECT_EQ(time->property("text").toString(), "05:15");
    // Without a shift the clock shows the local time, which it reads every 100 ms.
    clock->setProperty("shift", 0);
    QMetaObject::invokeMethod(
        clock, "showTime",
        Q_ARG(QVariant, QVariant(QDateTime(QDate(2024, 3, 1), QTime(8, 7), Qt::LocalTime))));
    EXPECT_EQ(time->property("text").toString(), "08:07");
    QObject* timer = root->findChild<QObject*>("clockTimer");
    EXPECT_EQ(timer->property("interval").toInt(), 100);
    QSignalSpy readings(timer, SIGNAL(triggered()));
    const QString before = QTime::currentTime().toString("hh:mm");
    timer->setProperty("running", true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return readings.count() > 0; }, 5000));
    const QString after = QTime::currentTime().toString("hh:mm");
    EXPECT_TRUE(QStringList({before, after}).contains(time->property("text").toString()));
}

// The bar shows the time and the date in its formats, every 100 ms; each takes half of the
// column when both are shown, the whole of it alone. A page button highlights itself in the
// bar's colours, with round corners, while its page is current.
TEST_F(Components, PageSwitcherShowsDateTimeAndCurrentPage)
{
    const struct
    {
        const char* shown;
        int timeHeight;
        int dateHeight;
    } cases[] = {{"showTime: true; showDate: false", 48, 0},
                 {"showTime: false; showDate: true", 0, 48},
                 {"showTime: true; showDate: true", 24, 24}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        ASSERT_TRUE(load(header + "PageSwitcher { visible: true; width: 480; height: 48; " +
                         c.shown +
                         "; dateTimeX: 400; dateTimeWidth: 80; dateTimeHeight: 48; "
                         "timeFormat: \"hh:mm:ss\"; dateFormat: \"d MMM yyyy\"; "
                         "buttonHighlight: \"#ff0000\"; buttonHighlightOpacity: 1; "
                         "backgroundGradient: Gradient { GradientStop { color: \"#000000\" } } "
                         "PageSwitcherButton { objectName: \"button\"; x: 100; width: 48; "
                         "height: 42; targetPage: \"P\" } }"));
        EXPECT_EQ(find("time")->height(), c.timeHeight);
        EXPECT_EQ(find("date")->height(), c.dateHeight);
    }
    QQuickItem* time = find("time");
    QQuickItem* date = find("date");
    EXPECT_EQ(time->property("text").toString(), "00:00");
    EXPECT_EQ(date->property("text").toString(), "01/01/2012");
    QObject* timer = root->findChild<QObject*>("dateTimeTimer");
    timer->setProperty("running", false);
    QMetaObject::invokeMethod(root.get(), "showDateTime",
                              Q_ARG(QVariant, QDateTime(QDate(2024, 3, 1), QTime(5, 6, 7))));
    EXPECT_EQ(time->property("text").toString(), "05:06:07");
    EXPECT_EQ(date->property("text").toString(), "1 Mar 2024");
    timer->setProperty("running", true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return time->property("text") != "05:06:07"; }, 3000));

    QQuickItem* button = find("button");
    for (bool current : {true, false}) {
        QMetaObject::invokeMethod(button, "indicateCurrentPage", Q_ARG(QVariant, current));
        const QImage image = render();
        EXPECT_EQ(QColor(image.pixel(102, 21)), current ? QColor(255, 0, 0) : QColor(0, 0, 0));
        EXPECT_EQ(QColor(image.pixel(100, 0)), QColor(0, 0, 0)); // a round corner
    }
}

using RenderedDocuments = QmlFixture;

// A standalone control document compiled on the component's native base: every property the
// renderer writes is either one of the native type's or one that its component declares.
TEST_F(RenderedDocuments, ControlDocumentsSetNativePropertiesByName)
{
    const struct
    {
        const char* document;
        const char* component;
        QStringList componentProperties;
    } cases[] = {
        {"control_button_standalone.qml",
         "Button",
         {"fontSize", "wordWrap", "heldTimeout", "repeatInterval", "actuation",
          "fixedImageSource"}},
        {"control_button_plain_standalone.qml",
         "Button",
         {"fontSize", "wordWrap", "heldTimeout", "repeatInterval", "actuation"}},
        {"control_slider_standalone.qml",
         "Slider",
         {"minimum", "maximum", "showCaption", "showValue", "captionFontSize", "valueFontSize",
          "wordWrap", "handleSize", "spacing"}},
        {"control_colourpicker_standalone.qml",
         "ColourPicker",
         {"captionFontSize", "wordWrap", "spacing"}},
        {"control_keypad_standalone.qml",
         "Keypad",
         {"maxWidth", "hideCharacters", "displayTextStyle", "buttonTextStyle"}},
        {"control_label_standalone.qml", "Label", {"fontSize", "wordWrap"}},
        {"control_clock_analogue_standalone.qml", "AnalogueClock", {"captionFontSize", "spacing"}},
    };
    const QRegularExpression missing(
        ":(\\d+):\\d+: Cannot assign to non-existent property \"(\\w+)\"");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        QStringList lines =
            QString::fromUtf8(TestUtil::readFile(TestUtil::dataPath("qml/") + c.document))
                .split('\n');
        // The fixture writes its own import header.
        lines = lines.mid(lines.indexOf("import \"qrc:/qml\"") + 1);
        const qsizetype opening = lines.indexOf(QString(c.component) + " {");
        ASSERT_GE(opening, 0);
        lines[opening] = QString(c.component) + "Private {";

        QStringList dropped;
        std::unique_ptr<QObject> object;
        for (int attempt = 0; attempt < 20 && !object; ++attempt) {
            const QString errors = errorsOf(lines.join('\n'));
            const QRegularExpressionMatch match = missing.match(errors);
            if (!match.hasMatch()) {
                object = create(lines.join('\n'));
                break;
            }
            const qsizetype line = match.captured(1).toInt() - 3; // after the two imports
            ASSERT_TRUE(line >= 0 && line < lines.size()) << errors.toStdString();
            dropped << match.captured(2);
            lines.removeAt(line);
        }
        ASSERT_TRUE(object);
        dropped.sort();
        QStringList expected = c.componentProperties;
        expected.sort();
        EXPECT_EQ(dropped, expected);

        auto* control = qobject_cast<QMLControl*>(object.get());
        ASSERT_TRUE(control);
        EXPECT_TRUE(control->theme() && control->currentSkin());
        EXPECT_EQ(controller()->controlsWithKey(control->controlKey()),
                  std::vector<QMLControl*>{control});
    }
}

TEST_F(RenderedDocuments, ThemeIdNamesTheRenderedThemeObject)
{
    const auto project = QmlFixtures::makeProject();
    QMLStreamer streamer(project.get());
    QMLRenderer renderer(&streamer);
    renderer.standalone = true;
    project->getControl(2).render(&renderer);

    const QString id = QMLTheme::themeId(streamer);
    EXPECT_EQ(id, QString("theTheme%1").arg(project->getSerial()));
    EXPECT_TRUE(streamer.text().contains("\ntheme:" + id + ";\n"));
    const QStringList themeBlocks = blocks(streamer.text(), QRegularExpression("^Theme \\{$"));
    ASSERT_EQ(themeBlocks.size(), 1);
    auto object = create(themeBlocks[0]);
    ASSERT_TRUE(object);
    EXPECT_EQ(qmlContext(object.get())->nameForObject(object.get()), id);
}

TEST(RenderedDocumentsDeathTest, ThemeIdNeedsAConfiguration)
{
    QMLStreamer streamer(nullptr);
    EXPECT_DEATH(QMLTheme::themeId(streamer), "Assert: 'configuration' is FALSE");
}
