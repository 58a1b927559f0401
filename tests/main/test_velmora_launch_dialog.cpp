#include "main/orvane_style.h"
#include "main/velmora_launch_dialog.h"
#include "main/velmora_preferences.h"
#include "main/vendor_variants.h"

#include "common/helpers.h"
#include "common/isolated_settings.h"
#include "core/recent_files.h"

#include <QApplication>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolTip>
#include <functional>
#include <gtest/gtest.h>

namespace {

// How many pixels of the region pass the test.
int count(const QImage& image, const QRect& region, const std::function<bool(QColor)>& test)
{
    int n = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            n += test(image.pixelColor(x, y));
    return n;
}

std::function<bool(QColor)> near(QColor b)
{
    return [b](QColor a) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue()) <
               48;
    };
}

} // namespace

TEST(VelmoraLaunchDialog, ShowsHeaderRecentFilesAndButtonsAtAFixedSize)
{
    TestUtil::IsolatedSettings settings;
    QTemporaryDir folder;
    RecentFiles recent("File/RecentFile", 5);
    for (const char* name : {"first.qvp", "second.qvp", "third.qvp"}) {
        ASSERT_TRUE(TestUtil::writeFile(folder.filePath(name), "x"));
        recent.addFile(folder.filePath(name));
    }
    VelmoraLaunchDialog dialog(&recent);
    EXPECT_EQ(dialog.windowTitle(), "Orvane Dravelin");
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QImage shot = dialog.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(600, 424));

    // The header picture fills the top 100 rows.
    const QImage header(":/launch_header.png");
    for (const QPoint at : {QPoint(3, 3), QPoint(300, 50), QPoint(500, 45), QPoint(596, 99)})
        EXPECT_EQ(shot.pixelColor(at), header.pixelColor(at)) << at.x() << "," << at.y();
    EXPECT_NE(shot.pixelColor(300, 101), header.pixelColor(300, 99));

    // Three rows of 50 pixels: a bold name over the path, right of the icon; nothing below.
    const auto ink = [](QColor c) { return qGray(c.rgb()) < 90; };
    const int listTop =
        100 + dialog.findChild<QWidget*>("recentFileList")->property("frameWidth").toInt();
    for (int top = listTop; top < listTop + 150; top += 50) {
        EXPECT_GT(count(shot, QRect(52, top + 8, 250, 17), ink), 20) << top;
        EXPECT_GT(count(shot, QRect(52, top + 26, 500, 17), ink), 20) << top;
    }
    EXPECT_EQ(count(shot, QRect(10, listTop + 155, 580, 60), ink), 0);

    // The command links' icons, left to right: new, open, exit.
    const QRect thirds[] = {{0, 354, 200, 70}, {200, 354, 200, 70}, {400, 354, 200, 70}};
    EXPECT_GT(count(shot, thirds[0], near(QColor(46, 160, 67))), 40);
    EXPECT_GT(count(shot, thirds[1], near(QColor(246, 190, 64))), 100);
    EXPECT_GT(count(shot, thirds[2], near(QColor(200, 40, 40))), 200);
    EXPECT_EQ(count(shot, thirds[0], near(QColor(200, 40, 40))), 0);
}

TEST(VelmoraPreferences, DefaultsAndNoWriteOfAnUnchangedValue)
{
    TestUtil::IsolatedSettings settings;
    VelmoraPreferences preferences;
    EXPECT_EQ(QVariantList({preferences.value(0), preferences.value(1), preferences.value(2),
                            preferences.value(3)}),
              QVariantList({false, true, 1, 10}));

    QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Orvane", "Dravelin");
    QSignalSpy changed(&preferences, &Preferences::valueChanged);
    preferences.setValue(VelmoraPreferences::NotifyAboutBetaReleases, false);
    preferences.setValue(VelmoraPreferences::ControlKeyJumpSize, 10);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_TRUE(store.allKeys().isEmpty());

    preferences.setValue(VelmoraPreferences::ControlKeyStepSize, 4);
    EXPECT_EQ(changed.count(), 1);
    store.sync();
    EXPECT_EQ(store.allKeys(), QStringList{"ControlKeyStepSize"});
    EXPECT_EQ(VelmoraPreferences().value(VelmoraPreferences::ControlKeyStepSize), 4);
}

TEST(OrvaneStyle, SliderClicksJumpAndToolTipsShadeFromLightToMid)
{
    const QPalette before = QToolTip::palette();
    {
        OrvaneStyle style;
        EXPECT_EQ(style.baseStyle()->name(), "fusion");
        EXPECT_EQ(style.styleHint(QStyle::SH_Slider_AbsoluteSetButtons), int(Qt::LeftButton));
        QSlider slider(Qt::Horizontal);
        slider.setStyle(&style);
        slider.resize(200, 24);
        QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(170, 12));
        EXPECT_GT(slider.value(), 70); // not one page step

        const QBrush base = QToolTip::palette().brush(QPalette::Inactive, QPalette::ToolTipBase);
        ASSERT_EQ(base.style(), Qt::LinearGradientPattern);
        const auto* gradient = static_cast<const QLinearGradient*>(base.gradient());
        EXPECT_EQ(gradient->finalStop() - gradient->start(), QPointF(0, 250));
        EXPECT_EQ(gradient->stops(),
                  (QGradientStops{{0.0, before.color(QPalette::Active, QPalette::Light)},
                                  {1.0, before.color(QPalette::Active, QPalette::Mid)}}));

        QToolTip::showText(QPoint(100, 100), "1\n2\n3\n4\n5\n6\n7");
        QWidget* tip = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            tip = w->inherits("QTipLabel") && w->isVisible() ? w : tip;
        ASSERT_NE(tip, nullptr);
        const QImage shot = tip->grab().toImage();
        EXPECT_GT(qGray(shot.pixel(shot.width() - 4, 3)),
                  qGray(shot.pixel(shot.width() - 4, shot.height() - 4)) + 10);
        QToolTip::hideText();
    }
    QToolTip::setPalette(before);
}
