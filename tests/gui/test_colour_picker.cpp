#include "gui/colour_picker.h"
#include "gui/colour_picker_dialog.h"
#include "gui/colour_swatch.h"
#include "gui/hs_picker.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ColourPickerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ColourPicker::setDefaultView(1);
        picker = std::make_unique<ColourPicker>();
        picker->resize(420, 260);
        picker->show();
    }

    ColourSpinBox* spin(const char* name) const
    {
        return picker->findChild<ColourSpinBox*>(QLatin1String(name));
    }
    ColourSlider* slider(const char* name) const
    {
        return picker->findChild<ColourSlider*>(QLatin1String(name));
    }
    HSPicker* wheel() const { return picker->findChild<HSPicker*>(); }

    // The spin boxes R, G, B, H, S, I and A as shown; a blank one reads "".
    QStringList spinTexts() const
    {
        QStringList texts;
        for (const char* name : {"spinR", "spinG", "spinB", "spinH", "spinS", "spinI", "spinA"})
            texts << spin(name)->text();
        return texts;
    }

    void switchView(const QString& text)
    {
        for (QAction* action : picker->findChildren<QAction*>())
            if (action->text() == text)
                action->trigger();
    }

    // Presses a horizontal slider at a fraction of its length.
    void pressSlider(const char* name, double level)
    {
        ColourSlider* s = slider(name);
        QTest::mousePress(s, Qt::LeftButton, {},
                          QPoint(int(level * (s->width() - 1)), s->height() / 2));
        QTest::mouseRelease(s, Qt::LeftButton);
    }

    QRgb pixelOf(const QImage& image, QWidget* child, QPoint point) const
    {
        return image.pixel(child->mapTo(picker.get(), point));
    }

    std::unique_ptr<ColourPicker> picker;
};

QStringList texts(std::initializer_list<const char*> list)
{
    QStringList result;
    for (const char* text : list)
        result << QLatin1String(text);
    return result;
}

} // namespace

TEST_F(ColourPickerTest, StartsOnOpaqueBlackAndSettersEmitNothing)
{
    EXPECT_EQ(spinTexts(), texts({"0", "0", "0", "0", "0", "0", "255"}));
    EXPECT_EQ(picker->colour(), QColor(0, 0, 0, 255));
    int views = 0;
    for (const QAction* view : picker->findChildren<QAction*>())
        if (view->isCheckable()) { // the three views, with their built-in icons
            EXPECT_EQ(view->icon().pixmap(22, 22).size(), QSize(22, 22));
            EXPECT_EQ(view->isChecked(), view->text() == QLatin1String("RGB"));
            ++views;
        }
    EXPECT_EQ(views, 3);
    QSignalSpy changed(picker.get(), &ColourPicker::colourChanged);
    picker->setColour(QColor(255, 0, 0));
    EXPECT_EQ(spinTexts(), texts({"255", "0", "0", "0", "255", "255", "255"})); // hue 360 → 0
    picker->setColours({QColor(1, 2, 3), QColor(4, 5, 6)});
    picker->setColourModel(CMYModel);
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(ColourPickerTest, OneEditUpdatesTheOtherControlsAndEmitsOneColour)
{
    QSignalSpy changed(picker.get(), &ColourPicker::colourChanged);
    pressSlider("sliderR", 1.0);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(spinTexts(), texts({"255", "0", "0", "0", "255", "255", "255"}));
    EXPECT_FLOAT_EQ(slider("sliderH")->level(), 1.0f);
    EXPECT_FLOAT_EQ(slider("sliderVI")->level(), 1.0f);

    spin("spinG")->setValue(128);
    spin("spinG")->emitColour();
    EXPECT_EQ(picker->colour(), QColor(255, 128, 0));
    EXPECT_FLOAT_EQ(slider("sliderG")->level(), 128 / 255.0f);
    EXPECT_EQ(spin("spinH")->text(), QLatin1String("30"));

    spin("spinA")->setValue(51);
    spin("spinA")->emitColour();
    EXPECT_EQ(picker->colour(), QColor(255, 128, 0, 51));
    EXPECT_EQ(changed.count(), 3);
}

TEST_F(ColourPickerTest, HueSliderOnBlackKeepsBlackUnlessTheHueWasUnset)
{
    picker->setColour(Qt::black);
    pressSlider("sliderH", 0.5);
    EXPECT_EQ(picker->colour(), QColor(0, 0, 0));
    picker->setColours({QColor(Qt::black)}); // no hue: unset
    EXPECT_EQ(spin("spinH")->text(), QString());
    pressSlider("sliderH", 0.5);
    EXPECT_EQ(picker->colour(), QColor(0, 255, 255));
}

TEST_F(ColourPickerTest, CmyViewShowsInvertedRows)
{
    picker->setColour(QColor(0, 100, 254));
    switchView("CMY");
    EXPECT_EQ(ColourPicker::defaultView, 2);
    EXPECT_EQ(picker->findChildren<QLabel*>()[0]->text(), QLatin1String("C"));
    EXPECT_EQ(spinTexts().mid(0, 3), texts({"255", "155", "1"}));
    EXPECT_EQ(slider("sliderR")->component(), ColourSlider::Cyan);

    // A bar runs from full cyan (red 255 at the left end) down to none at the right.
    const QImage image = picker->grab().toImage();
    ColourSlider* cyan = slider("sliderR");
    EXPECT_EQ(pixelOf(image, cyan, QPoint(0, cyan->height() / 2)), qRgb(255, 100, 254));
    EXPECT_EQ(pixelOf(image, cyan, QPoint(cyan->width() - 1, cyan->height() / 2)),
              qRgb(0, 100, 254));

    QSignalSpy changed(picker.get(), &ColourPicker::colourChanged);
    spin("spinR")->setValue(55); // cyan 55: red 200
    spin("spinR")->emitColour();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(picker->colour(), QColor(200, 100, 254));
    switchView("RGB");
    EXPECT_EQ(spinTexts().mid(0, 3), texts({"200", "100", "254"}));
}

TEST_F(ColourPickerTest, RgbViewDrawsBarsMarkerAlphaCheckerboardAndLabel)
{
    picker->setColour(QColor(0, 128, 255, 128));
    const QImage image = picker->grab().toImage();
    ColourSlider* red = slider("sliderR");
    const int middle = red->height() / 2, right = red->width() - 1;
    EXPECT_EQ(pixelOf(image, red, QPoint(0, middle)), qRgb(0, 128, 255));
    EXPECT_EQ(pixelOf(image, red, QPoint(right, middle)), qRgb(255, 128, 255));
    ColourSlider* green = slider("sliderG"); // level 128/255: black marker on top
    const int p = int((green->width() - 1) * (128 / 255.0f));
    EXPECT_EQ(pixelOf(image, green, QPoint(p, 3)), qRgb(0, 0, 0));
    EXPECT_EQ(pixelOf(image, green, QPoint(p, green->height() - 4)), qRgb(255, 255, 255));

    // Transparent at the left: the checkerboard's two greys show through.
    ColourSlider* alpha = slider("sliderA");
    EXPECT_FALSE(alpha->isHidden());
    const QRgb a1 = pixelOf(image, alpha, QPoint(0, 5)), a2 = pixelOf(image, alpha, QPoint(0, 11));
    EXPECT_TRUE(a1 == qRgb(128, 128, 128) || a1 == qRgb(192, 192, 192));
    EXPECT_NE(a1, a2);
    EXPECT_EQ(pixelOf(image, alpha, QPoint(alpha->width() - 1, middle)), qRgb(0, 128, 255));

    QWidget* label = picker->findChild<ColourLabel*>();
    const QColor shown = QColor(pixelOf(image, label, QPoint(20, 20)));
    EXPECT_LT(shown.red(), 128);
    EXPECT_GT(shown.blue(), 190);
    EXPECT_TRUE(wheel()->isHidden());
}

TEST_F(ColourPickerTest, HsiViewPicksOnTheWheel)
{
    switchView("HSI");
    EXPECT_EQ(ColourPicker::defaultView, 0);
    EXPECT_TRUE(slider("sliderR")->isHidden());
    EXPECT_FALSE(slider("sliderVI")->isHidden());
    EXPECT_FALSE(slider("sliderVA")->isHidden());
    const QImage image = picker->grab().toImage();
    HSPicker* hs = wheel();
    const QPoint top(hs->width() / 2, hs->height() / 2 - hs->radius());
    EXPECT_EQ(pixelOf(image, hs, top), qRgb(255, 0, 0));

    // On black, a pick on the rim shows the hue at full intensity.
    QSignalSpy changed(picker.get(), &ColourPicker::colourChanged);
    QTest::mousePress(hs, Qt::LeftButton, {}, top + QPoint(0, 1));
    QTest::mouseRelease(hs, Qt::LeftButton, {}, top + QPoint(0, 1));
    ASSERT_EQ(changed.count(), 1);
    const QColor picked = picker->colour();
    EXPECT_EQ(picked.red(), 255);
    EXPECT_LT(picked.green(), 20);
    EXPECT_EQ(spin("spinI")->text(), QLatin1String("255"));
}

TEST_F(ColourPickerTest, DisablingAlphaHidesItsControlsAndMakesColoursOpaque)
{
    picker->setColour(QColor(10, 20, 30, 100));
    QSignalSpy changed(picker.get(), &ColourPicker::colourChanged);
    picker->setAlphaEnabled(false);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(picker->colour(), QColor(10, 20, 30));
    QWidget* alphaLabel = nullptr;
    for (QLabel* label : picker->findChildren<QLabel*>())
        if (label->text() == QLatin1String("A"))
            alphaLabel = label;
    for (QWidget* alpha : std::initializer_list<QWidget*>{alphaLabel, spin("spinA"),
                                                          slider("sliderA"), slider("sliderVA")})
        EXPECT_TRUE(alpha && alpha->isHidden());
    picker->setColour(QColor(10, 20, 30, 100));
    EXPECT_EQ(picker->colour().alpha(), 255);
    EXPECT_EQ(spin("spinA")->text(), QLatin1String("255"));
    switchView("HSI");
    EXPECT_TRUE(slider("sliderVA")->isHidden());
}

TEST_F(ColourPickerTest, SeveralColoursLeaveDifferencesBlankAndRingEachColour)
{
    switchView("HSI");
    const QColor first(40, 200, 30), second(200, 200, 30);
    picker->setColours({first, second});
    EXPECT_EQ(spinTexts(), texts({"", "200", "30", "", "217", "200", "255"}));
    EXPECT_FALSE(picker->colour().isValid());
    HSPicker* hs = wheel();
    EXPECT_EQ(hs->hue(), HSPicker::noSelection);
    const QImage image = hs->grab().toImage();
    for (const QColor& colour : {first, second}) {
        const QPoint ring = hs->hueSaturationToPoint(colour.hueF(), colour.saturationF());
        EXPECT_EQ(image.pixel(ring + QPoint(0, 5)), qRgb(0, 0, 0)) << colour.name().toStdString();
    }

    switchView("RGB");
    QSignalSpy changed(picker.get(), &ColourPicker::colourChanged);
    pressSlider("sliderG", 0.0);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(picker->colour(), QColor(0, 0, 30)); // the blank red counts as 0
    EXPECT_EQ(spinTexts().mid(0, 3), texts({"0", "0", "30"}));
}

TEST(ColourPickerDialog, AcceptingRecordsValidColoursInTheActiveSwatch)
{
    {
        ColourPickerDialog alone;
        EXPECT_EQ(alone.findChild<ColourSwatchWidget*>(), nullptr);
        alone.setColour(Qt::red);
        alone.show();
        // No swatch: nothing to record, nothing breaks.
        QTest::mouseClick(alone.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        EXPECT_EQ(alone.result(), QDialog::Accepted);
    }

    ColourSwatch swatch;
    for (const QColor colour : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)})
        swatch.addColour(colour);
    swatch.setActive();
    ColourPickerDialog dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QLatin1String("Colour Picker"));
    auto* row = dialog.findChild<ColourSwatchWidget*>();
    ASSERT_NE(row, nullptr);
    QSignalSpy changed(&dialog, &ColourPickerDialog::colourChanged);
    QTest::mouseClick(row->widget(1), Qt::LeftButton); // green
    EXPECT_EQ(dialog.colour(), QColor(Qt::green));
    EXPECT_EQ(dialog.picker()->colour(), QColor(Qt::green));
    EXPECT_EQ(changed.count(), 1);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(swatch.colours(), (std::list<QColor>{Qt::green, Qt::blue, Qt::red}));

    // Several colours leave the dialog's colour unset: accepting it unchanged records nothing.
    dialog.setColours({QColor(Qt::red), QColor(Qt::blue)});
    dialog.show();
    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(swatch.colours(), (std::list<QColor>{Qt::green, Qt::blue, Qt::red}));
}
