#pragma once

#include "common/helpers.h"
#include "core/gradient.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_property.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/theme.h"

#include <QColor>
#include <QImage>
#include <memory>

// Themes with something in every member, for the stream tests of the theme block and of the
// project file.
namespace SampleTheme {

using namespace Velmora;

inline Gradient gradientOf(QColor top, QColor bottom)
{
    Gradient gradient;
    gradient.setStops({{0.0, top}, {1.0, bottom}});
    return gradient;
}

// Every kind of image, skin property and default item property. imageCount images go into
// each store.
inline std::unique_ptr<Theme> make(int imageCount = 3)
{
    auto theme = std::make_unique<Theme>(QString());
    theme->setName("Sample");
    QImage landscape(48, 27, QImage::Format_RGB32);
    landscape.fill(QColor(20, 40, 200));
    theme->setSplashImage(Orientation_LANDSCAPE, landscape);
    QImage portrait(27, 48, QImage::Format_RGB32);
    portrait.fill(QColor(200, 40, 20));
    theme->setSplashImage(Orientation_PORTRAIT, portrait);
    for (int i = 0; i < imageCount; ++i) {
        theme->addPageBackgroundImageData(TestUtil::pngBytes(8 + i, 6, QColor(i * 20, 10, 30)),
                                          i % 3);
        theme->addIconData(TestUtil::pngBytes(4, 4 + i, QColor(10, i * 20, 30)));
        theme->addControlImageData(TestUtil::pngBytes(5 + i, 5, QColor(10, 30, i * 20)));
        theme->addSkinImageData(TestUtil::pngBytes(6, 6 + i, QColor(i * 20, i * 20, 30)));
    }
    theme->addSkinImageReference(SkinPropertyKey(ThemedItemType_BUTTON, "backgroundImage"), 0);
    theme->addSkinImageReference(SkinPropertyKey(ThemedItemType_BUTTON, "backgroundImage"), 1);
    theme->addSkinImageReference(SkinPropertyKey(ThemedItemType_CLOCK, "faceImage"), 1);

    smart_ptr<SkinSet> buttons(new SkinSet(ThemedItemType_BUTTON));
    Skin* normal = buttons->getSkin("Normal", true);
    normal->setProperty(smart_ptr<SkinProperty>(new ColourSkinProperty(
        "gradientTopColour", "Gradient top colour", QColor("lightsteelblue"))));
    normal->setProperty(smart_ptr<SkinProperty>(
        new DoubleSkinProperty("opacity", "Opacity", 0.75, QString(), 0.0, 1.0, 0.1)));
    normal->setProperty(smart_ptr<SkinProperty>(
        new IntSkinProperty("radius", "Corner radius", 5, "px", 0, 99, QString())));
    normal->setProperty(
        smart_ptr<SkinProperty>(new BoolSkinProperty("fontBold", "Bold text", true)));
    normal->setProperty(
        smart_ptr<SkinProperty>(new ImageSkinProperty("backgroundImage", "Background image", 1u)));
    normal->setProperty(
        smart_ptr<SkinProperty>(new StringSkinProperty("note", "Note", QString("plain"))));
    Skin* pressed = buttons->getSkin("Pressed", true);
    pressed->setProperty(smart_ptr<SkinProperty>(
        new IntSkinProperty("radius", "Corner radius", 8, "px", 0, 99, QString())));
    pressed->getTransition().duration = 150;
    pressed->getTransition().easing = 40;
    theme->setSkinSet(buttons);
    smart_ptr<SkinSet> sliders(new SkinSet(ThemedItemType_SLIDER));
    sliders->getSkin("Default", true)
        ->setProperty(smart_ptr<SkinProperty>(
            new IntSkinProperty("handleRadius", "Handle radius", 12, "px", 0, 99, QString())));
    theme->setSkinSet(sliders);
    smart_ptr<SkinSet> clocks(new SkinSet(ThemedItemType_CLOCK));
    clocks->getSkin("Face", true)
        ->setProperty(smart_ptr<SkinProperty>(new ImageSkinProperty(
            "faceImage", "Face image", QString("qrc:/default_clock_face.svg"))));
    theme->setSkinSet(clocks);
    theme->setDefaultSkin(ThemedItemType_BUTTON, "Normal");
    theme->setDefaultSkin(ThemedItemType_SLIDER, "Default");

    theme->setDefaultItemProperty(ThemedItemType_BUTTON, "fontSize", 14);
    theme->setDefaultItemProperty(ThemedItemType_BUTTON, "wordWrap", true);
    theme->setDefaultItemProperty(ThemedItemType_SLIDER, "handleSize", 0.25);
    theme->setDefaultItemProperty(ThemedItemType_SLIDER, "captionFontSize", 12u);
    theme->setDefaultItemProperty(ThemedItemType_KEYPAD, "displayTextStyle",
                                  QVariant::fromValue(TextStyle_RAISED));
    theme->setDefaultItemProperty(ThemedItemType_KEYPAD, "buttonTextStyle",
                                  QVariant::fromValue(TextStyle_OUTLINE));
    theme->setDefaultItemProperty(ThemedItemType_PAGE_SWITCHER, "backgroundGradient",
                                  QVariant::fromValue(gradientOf(Qt::black, Qt::darkGray)));
    theme->setDefaultItemProperty(ThemedItemType_PAGE_SWITCHER, "buttonTextColour",
                                  QColor("#b0c0d0"));
    theme->setDefaultItemProperty(ThemedItemType_PAGE_SWITCHER, "timeFormat", QString("hh:mm"));
    theme->setDefaultItemProperty(ThemedItemType_LABEL, "unset", QVariant());
    return theme;
}

} // namespace SampleTheme
