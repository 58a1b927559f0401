#include "common/command_fixture.h"
#include "common/helpers.h"
#include "common/isolated_settings.h"
#include "main/action_manager.h"
#include "main/control_commands.h"
#include "main/control_property_commands.h"
#include "main/velmora_preferences.h"
#include "main/vendor_variants.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_library.h"
#include "widgets/main_window.h"
#include "widgets/page_preview.h"

#include <QAction>
#include <QScopeGuard>
#include <QStandardItemModel>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>
#include <memory>

using namespace Velmora;

namespace {

const QString Themes[] = {"Daylight", "Midnight"};
const ThemedItemType SkinnedTypes[] = {ThemedItemType_BUTTON,        ThemedItemType_SLIDER,
                                       ThemedItemType_COLOUR_PICKER, ThemedItemType_KEYPAD,
                                       ThemedItemType_LABEL,         ThemedItemType_CLOCK};

QString themePath(const QString& name)
{
    return resourcesPath() + "/theme/" + name + ".qvt";
}

double meanLightness(const QImage& image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += QColor(image.pixel(x, y)).lightness();
    return sum / (image.width() * image.height());
}

QRgb mixed(const QColor& a, const QColor& b, double t)
{
    return qRgb(qRound(a.red() + (b.red() - a.red()) * t),
                qRound(a.green() + (b.green() - a.green()) * t),
                qRound(a.blue() + (b.blue() - a.blue()) * t));
}

// The library lists both, built in, with their splashes; their pictures load.
TEST(BuiltInThemes, ListedWithTheirSkinsAndPictures)
{
    ThemeLibrary* library = ThemeLibrary::instance();
    const auto emptied = qScopeGuard([library] { library->reset(); });
    library->setFileExtension(VendorVariants::instance().themeExtension);
    ASSERT_TRUE(library->scanFolder(resourcesPath() + "/theme", true, true));
    ASSERT_EQ(library->model()->rowCount(), 2);
    std::map<QString, double> lightness;
    for (const QString& name : Themes) {
        SCOPED_TRACE(name.toStdString());
        const QAbstractItemModel* rows = library->model();
        const QModelIndexList found = rows->match(rows->index(0, 0), Qt::DisplayRole, name);
        ASSERT_EQ(found.size(), 1);
        const QModelIndex row = found.first();
        EXPECT_TRUE(row.data(ThemeLibrary::BuiltInRole).toBool());
        const QIcon splashes = row.data(Qt::DecorationRole).value<QIcon>();
        EXPECT_TRUE(splashes.availableSizes(QIcon::Normal).contains(QSize(480, 272)));
        EXPECT_TRUE(splashes.availableSizes(QIcon::Disabled).contains(QSize(272, 480)));
        const Theme theme(themePath(name));

        for (ThemedItemType type : SkinnedTypes)
            EXPECT_NE(theme.getDefaultSkin(type), nullptr) << int(type);
        // The analogue clock draws the theme's own face and hands.
        for (const char* key : {"faceImage", "hourHandImage", "minuteHandImage"}) {
            const QVariant id = theme.getDefaultSkin(ThemedItemType_CLOCK)->getPropertyValue(key);
            EXPECT_FALSE(theme.getSkinImagePixmap(id.toUInt()).isNull()) << key;
        }
        EXPECT_TRUE(theme.getDefaultItemProperty(ThemedItemType_PAGE_SWITCHER, "backgroundGradient")
                        .canConvert<Gradient>());

        for (const ImageData& image : theme.getPageBackgroundImages()) {
            const QPixmap picture = theme.getPageBackgroundPixmap(image.getId());
            const QSize size =
                image.getOrientation() == Orientation_PORTRAIT ? QSize(272, 480) : QSize(480, 272);
            EXPECT_EQ(picture.size(), size);
            if (image.getId() == 0)
                lightness[name] = meanLightness(picture.toImage());
        }
        for (const ImageData& icon : theme.getIcons())
            EXPECT_FALSE(theme.getIconPixmap(icon.getId()).isNull());
    }
    // One light theme, one dark.
    EXPECT_GT(lightness["Daylight"], 200);
    EXPECT_LT(lightness["Midnight"], 60);
}

// A project made from each theme, shown in the main window as a user sees it.
class ThemedWindowTest : public TestUtil::CommandFixture,
                         public ::testing::WithParamInterface<QString>
{
protected:
    TestUtil::IsolatedSettings settings;
    VelmoraPreferences preferences;
    ActionManager actions;
    QAction undo{"undo"};
    QAction redo{"redo"};
};

TEST_P(ThemedWindowTest, PageSkinsAndIconsAreDrawn)
{
    NewProjectData project;
    project.path = folder.filePath("home.qvp");
    project.themeFile = themePath(GetParam());
    project.page.backgroundColour = QColor();
    project.page.backgroundImageId = 2; // the landscape page with waves
    project.page.iconId = 0;
    const unsigned int page = document->createProject(project);
    document->preparePreview();
    selection.selectPage(page, true, true);
    document->showPage(page);

    const std::map<ControlType, QRect> places = {
        {ControlType_BUTTON, QRect(20, 20, 120, 50)},
        {ControlType_SLIDER, QRect(160, 30, 200, 36)},
        {ControlType_COLOUR_PICKER, QRect(20, 90, 110, 110)},
        {ControlType_KEYPAD, QRect(300, 80, 160, 180)},
        {ControlType_LABEL, QRect(150, 100, 130, 34)},
        {ControlType_CLOCK, QRect(160, 150, 100, 100)}};
    ControlGeometryRequest request;
    for (const auto& [type, place] : places)
        request[type].push_back(place);
    push(new AddControlsCommand(request, page, *document));
    std::map<ControlType, unsigned int> ids;
    for (const Control& control : document->getControls())
        ids[control.getType()] = control.getId();
    ASSERT_EQ(ids.size(), 6u);
    push(new SetControlCaptionCommand({ids[ControlType_BUTTON]}, "Lights", *document));
    push(new SetControlCaptionCommand({ids[ControlType_LABEL]}, "Living room", *document));
    push(new SetControlStartupSkinCommand({ids[ControlType_LABEL]}, "Highlighted", *document));

    actions.setDocument(document.get());
    MainWindow window(*document, actions, preferences, &undo, &redo);
    actions.onDocumentOpened();
    window.onDocumentOpened();
    window.resize(1100, 760);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    PagePreview* view = window.pagePreviewWidget();
    const QImage background = document->getTheme()->getPageBackgroundPixmap(2).toImage();
    auto shown = [&](const QImage& shot, QPoint scene) {
        return shot.pixel(view->viewport()->mapTo(&window, view->mapFromScene(scene)));
    };
    // An empty spot of the page, above the keypad, is the theme's background picture.
    const QPoint empty(420, 40);
    QImage shot;
    ASSERT_TRUE(TestUtil::waitFor([&] {
        shot = window.grab().toImage();
        return TestUtil::channelDistance(shown(shot, empty), background.pixel(empty)) <= 3;
    }));

    // The button's face left of its caption is the normal skin's gradient, half way down.
    const Theme& theme = *document->getTheme();
    const Skin* button = theme.findSkin(ThemedItemType_BUTTON, "Normal");
    EXPECT_LE(TestUtil::channelDistance(
                  shown(shot, QPoint(30, 45)),
                  mixed(button->getPropertyValue("gradientTopColour").value<QColor>(),
                        button->getPropertyValue("gradientBottomColour").value<QColor>(), 0.5)),
              16);
    // The label shows the face of its highlighted skin, above its caption.
    const Skin* label = theme.findSkin(ThemedItemType_LABEL, "Highlighted");
    EXPECT_LE(TestUtil::channelDistance(
                  shown(shot, QPoint(215, 103)),
                  mixed(label->getPropertyValue("gradientTopColour").value<QColor>(),
                        label->getPropertyValue("gradientBottomColour").value<QColor>(), 0.1)),
              16);
    // Every other control covers its area with pixels of its own.
    for (const auto& [type, place] : places) {
        int changed = 0;
        for (int y = place.top(); y <= place.bottom(); y += 4)
            for (int x = place.left(); x <= place.right(); x += 4)
                changed += TestUtil::channelDistance(shown(shot, QPoint(x, y)),
                                                     background.pixel(x, y)) > 24;
        const int samples = ((place.width() + 3) / 4) * ((place.height() + 3) / 4);
        EXPECT_GT(changed, samples / 5) << "control type " << int(type);
    }

    // Each action of the tool bars shows its icon.
    for (QToolBar* bar : {window.mainToolBarWidget(), window.controlsToolBarWidget(),
                          window.layoutToolBarWidget()}) {
        for (QAction* action : bar->actions()) {
            QWidget* button = bar->widgetForAction(action);
            if (action->isSeparator() || !button || action == &undo || action == &redo ||
                action->icon().isNull())
                continue;
            EXPECT_FALSE(action->icon().pixmap(22).isNull()) << action->text().toStdString();
            const QImage face = button->grab().toImage();
            const QRgb corner = face.pixel(0, 0);
            int inked = 0;
            for (int y = 0; y < face.height(); ++y)
                for (int x = 0; x < face.width(); ++x)
                    inked += TestUtil::channelDistance(face.pixel(x, y), corner) > 40;
            EXPECT_GT(inked, 40) << action->text().toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(, ThemedWindowTest, ::testing::ValuesIn(Themes),
                         [](const auto& info) { return info.param.toStdString(); });

} // namespace
