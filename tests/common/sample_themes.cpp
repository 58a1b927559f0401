#include "common/sample_themes.h"

#include "core/gradient.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_library.h"

#include <QColor>
#include <QImage>
#include <QRandomGenerator>

using namespace Velmora;

namespace TestUtil {

namespace {

// Gives the skin the table's property of the key with the value.
void setProperty(Skin& skin, const QString& key, const QVariant& value)
{
    const SkinProperty* definition =
        SkinProperties::getSkinProperties(skin.getItemType())->getProperty(key);
    smart_ptr<SkinProperty> property(SkinProperty::create(definition->getType()));
    property->copyFrom(*definition);
    property->setValue(value);
    skin.setProperty(property);
}

} // namespace

std::unique_ptr<Theme> emptyTheme(const QString& name)
{
    auto theme = std::make_unique<Theme>(QString());
    theme->setName(name);
    return theme;
}

QByteArray imageBytes(int size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

std::unique_ptr<Theme> sampleTheme()
{
    std::unique_ptr<Theme> theme = emptyTheme("Blue");
    QImage splash(48, 27, QImage::Format_RGB32);
    splash.fill(QColor(10, 20, 200));
    theme->setSplashImage(Orientation_LANDSCAPE, splash);

    theme->addPageBackgroundImageData("background 0", Orientation_ANY);
    theme->addPageBackgroundImageData("background 1", Orientation_LANDSCAPE);
    theme->addPageBackgroundImageData("background 2", Orientation_PORTRAIT);
    for (int i = 0; i < 8; ++i)
        theme->addIconData("icon " + QByteArray::number(i));
    for (unsigned int id = 0; id < 7; ++id)
        theme->removeIcon(id);
    theme->addControlImageData("control image 0");
    theme->addSkinImageData("skin image 0");
    theme->addSkinImageData("skin image 1");
    theme->addSkinImageData("skin image 2");

    Gradient gradient;
    gradient.setStops({{0.0, QColor(255, 0, 0, 128)}, {0.5, QColor("#00FF00")}, {1.0, Qt::blue}});
    theme->setDefaultItemProperty(ThemedItemType_BUTTON, "fontSize", 12);
    theme->setDefaultItemProperty(ThemedItemType_BUTTON, "gradient", QVariant::fromValue(gradient));
    theme->setDefaultItemProperty(ThemedItemType_BUTTON, "textStyle",
                                  QVariant::fromValue(TextStyle_RAISED));
    theme->setDefaultItemProperty(ThemedItemType_LABEL, "text", QString("Hello"));
    theme->setDefaultItemProperty(ThemedItemType(9), "hidden", 1);

    auto buttons = new SkinSet(ThemedItemType_BUTTON);
    Skin* normal = buttons->getSkin("Normal", true);
    normal->getTransition().duration = 250;
    normal->getTransition().easing = QEasingCurve::OutBounce;
    setProperty(*normal, "backgroundImage", QVariant(0u));
    setProperty(*normal, "borderWidth", 3);
    setProperty(*normal, "fontBold", true);
    setProperty(*normal, "gradientTopColour", QColor("#123456"));
    setProperty(*normal, "opacity", 0.75);
    Skin* pressed = buttons->getSkin("Pressed", true);
    pressed->getTransition().easing = 45;
    setProperty(*pressed, "backgroundImage_pressed", QVariant());
    theme->setSkinSet(smart_ptr<SkinSet>(buttons));
    theme->setDefaultSkin(ThemedItemType_BUTTON, "Normal");
    theme->addSkinImageReference(SkinPropertyKey(ThemedItemType_BUTTON, "backgroundImage"), 0);

    auto sliders = new SkinSet(ThemedItemType_SLIDER);
    setProperty(*sliders->getSkin("Track", true), "trackBorderWidth", 4);
    theme->setSkinSet(smart_ptr<SkinSet>(sliders));
    theme->setDefaultSkin(ThemedItemType_SLIDER, "Track");

    auto clocks = new SkinSet(ThemedItemType_CLOCK);
    Skin* face = clocks->getSkin("Face", true);
    const SkinProperties* clockTable = SkinProperties::getSkinProperties(ThemedItemType_CLOCK);
    setProperty(*face, "faceImage", clockTable->getProperty("faceImage")->getValue());
    setProperty(*face, "hourHandImage", QVariant(99u));
    setProperty(*face, "minuteHandImage", QVariant(2u));
    theme->setSkinSet(smart_ptr<SkinSet>(clocks));
    theme->addSkinImageReference(SkinPropertyKey(ThemedItemType_CLOCK, "minuteHandImage"), 2);
    return theme;
}

void forgetThemes(const QStringList& paths)
{
    ThemeLibrary* library = ThemeLibrary::instance();
    for (const QString& path : paths)
        while (library->findTheme(path).isValid())
            library->removeTheme(library->findTheme(path));
}

} // namespace TestUtil
