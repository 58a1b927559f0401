#include "resources/theme_maker/theme_builder.h"

#include "core/gradient.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_property.h"
#include "velmora_objects/skin_property_key.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/theme.h"

#include <QEasingCurve>
#include <QFile>
#include <utility>
#include <vector>

using namespace Velmora;

namespace ThemeMaker {

namespace {

using Values = std::vector<std::pair<const char*, QVariant>>;

QVariant colour(const QColor& value)
{
    return QVariant::fromValue(value);
}

// The skin images of the analogue clock, by property key.
struct ClockImages
{
    unsigned int face = 0, hourHand = 0, minuteHand = 0;
};

Values buttonValues(const Look& look)
{
    return {{"gradientTopColour", colour(look.top)},
            {"gradientTopPosition", 0.0},
            {"gradientBottomColour", colour(look.bottom)},
            {"gradientBottomPosition", 1.0},
            {"borderColour", colour(look.border)},
            {"borderWidth", 1},
            {"radius", 8},
            {"fontBold", look.bold},
            {"fontItalic", false},
            {"textColour", colour(look.text)},
            {"opacity", look.opacity},
            {"opacityStart", 1.0},
            {"opacityStop", 0.45},
            {"opacityAnimated", look.pulse},
            {"opacityAnimationPeriod", 900},
            {"gradientTopColour_pressed", colour(look.pressedTop)},
            {"gradientBottomColour_pressed", colour(look.pressedBottom)},
            {"borderColour_pressed", colour(look.pressedBorder)},
            {"textColour_pressed", colour(look.pressedText)}};
}

// The normal skin's handle stands out from the track in the surface's handle colours; the
// other skins show their own face.
Values sliderValues(const Surface& surface, const Look& look, bool normal)
{
    const QColor handleTop = normal ? surface.handleTop : look.top;
    const QColor handleBottom = normal ? surface.handleBottom : look.bottom;
    const QColor handleBorder = normal ? surface.handleBorder : look.border;
    return {{"trackGradientTopColour", colour(surface.trackTop)},
            {"trackGradientBottomColour", colour(surface.trackBottom)},
            {"trackOpacity", look.opacity},
            {"trackBorderColour", colour(surface.trackBorder)},
            {"trackBorderWidth", 1},
            {"handleGradientTopColour", colour(handleTop)},
            {"handleGradientTopPosition", 0.0},
            {"handleGradientBottomColour", colour(handleBottom)},
            {"handleGradientBottomPosition", 1.0},
            {"handleOpacity", look.opacity},
            {"handleBorderColour", colour(handleBorder)},
            {"handleBorderWidth", 1},
            {"radius", 8},
            {"handleRadius", 8},
            {"captionFontBold", look.bold},
            {"captionFontItalic", false},
            {"captionTextColour", colour(look.onPage)},
            {"valueFontBold", true},
            {"valueFontItalic", false},
            {"valueTextColour", colour(look.onPage)},
            {"textBackgroundColour", colour(surface.panel)},
            {"textBackgroundOpacity", 0.0},
            {"textBackgroundRadius", 4},
            {"textShadow", surface.textShadow},
            {"textShadowColour", colour(surface.textShadowColour)},
            {"handleGradientTopColour_pressed", colour(look.pressedTop)},
            {"handleGradientBottomColour_pressed", colour(look.pressedBottom)},
            {"handleBorderColour_pressed", colour(look.pressedBorder)}};
}

Values colourPickerValues(const Surface& surface, const Look& look)
{
    return {{"captionFontBold", look.bold},
            {"captionFontItalic", false},
            {"captionTextColour", colour(look.onPage)},
            {"textShadow", surface.textShadow},
            {"textShadowColour", colour(surface.textShadowColour)}};
}

Values keypadValues(const Surface& surface, const Look& look)
{
    return {{"backgroundRadius", 12},
            {"backgroundColour", colour(surface.panel)},
            {"backgroundOpacity", surface.panelOpacity * look.opacity},
            {"displayRadius", 6},
            {"displayBorderWidth", 1},
            {"displayBorderColour", colour(look.bold ? look.border : surface.displayBorder)},
            {"displayGradientTopColour", colour(surface.displayTop)},
            {"displayGradientTopPosition", 0.0},
            {"displayGradientBottomColour", colour(surface.displayBottom)},
            {"displayGradientBottomPosition", 1.0},
            {"displayOpacity", look.opacity},
            {"displayTextColour", colour(surface.displayText)},
            {"displayTextStyleColour", colour(surface.displayTextStyle)},
            {"displayFontBold", true},
            {"displayFontItalic", false},
            {"buttonRadius", 8},
            {"buttonBorderWidth", 1},
            {"buttonBorderColour", colour(look.border)},
            {"buttonGradientTopColour", colour(look.top)},
            {"buttonGradientTopPosition", 0.0},
            {"buttonGradientBottomColour", colour(look.bottom)},
            {"buttonGradientBottomPosition", 1.0},
            {"buttonOpacity", look.opacity},
            {"buttonTextColour", colour(look.text)},
            {"buttonTextStyleColour", colour(look.border)},
            {"buttonFontBold", true},
            {"buttonFontItalic", false},
            {"buttonGradientTopColour_pressed", colour(look.pressedTop)},
            {"buttonGradientBottomColour_pressed", colour(look.pressedBottom)}};
}

Values labelValues(const Surface& surface, const Look& look)
{
    return {{"gradientTopColour", colour(look.top)},
            {"gradientTopPosition", 0.0},
            {"gradientBottomColour", colour(look.bottom)},
            {"gradientBottomPosition", 1.0},
            {"borderColour", colour(look.border)},
            {"borderWidth", look.filled ? 1 : 0},
            {"radius", 6},
            {"fontBold", look.bold},
            {"fontItalic", false},
            {"textColour", colour(look.filled ? look.text : look.onPage)},
            {"textShadow", surface.textShadow && !look.filled},
            {"textShadowColour", colour(surface.textShadowColour)},
            {"backgroundOpacity", look.filled ? 1.0 : 0.0}};
}

Values clockValues(const Surface& surface, const Look& look, const ClockImages& images)
{
    return {{"gradientTopColour", colour(surface.displayTop)},
            {"gradientTopPosition", 0.0},
            {"gradientBottomColour", colour(surface.displayBottom)},
            {"gradientBottomPosition", 1.0},
            {"borderColour", colour(look.border)},
            {"borderWidth", 1},
            {"captionFontBold", look.bold},
            {"captionFontItalic", false},
            {"captionTextColour", colour(look.onPage)},
            {"textShadow", surface.textShadow},
            {"textShadowColour", colour(surface.textShadowColour)},
            {"faceImage", images.face},
            {"hourHandImage", images.hourHand},
            {"minuteHandImage", images.minuteHand}};
}

// How each skin animates in: a calm change back to normal, a lively highlight, a slow fade
// into the dimmed look and a quick alert.
SkinTransition transition(int skin)
{
    static const std::pair<int, QEasingCurve::Type> transitions[SkinCount] = {
        {250, QEasingCurve::InOutQuad},
        {300, QEasingCurve::OutCubic},
        {450, QEasingCurve::InOutSine},
        {180, QEasingCurve::OutQuad}};
    SkinTransition result;
    result.duration = transitions[skin].first;
    result.easing = transitions[skin].second;
    return result;
}

// A skin with every property of the type's table: the given values where there is one, the
// table's default otherwise. A value for a key the table lacks is an error.
smart_ptr<Skin> makeSkin(ThemedItemType itemType, int skinIndex, const Values& values,
                         QString& error)
{
    const SkinProperties* table = SkinProperties::getSkinProperties(itemType);
    smart_ptr<Skin> skin(new Skin(itemType, skinName(skinIndex)));
    skin->getTransition() = transition(skinIndex);
    for (const auto& [key, definition] : *table) {
        smart_ptr<SkinProperty> property(SkinProperty::create(definition->getType()));
        property->copyFrom(*definition);
        skin->setProperty(property);
    }
    for (const auto& [key, value] : values) {
        const QString name = QLatin1String(key);
        if (!table->getProperty(name)) {
            error = QStringLiteral("No skin property \"%1\" for item type %2")
                        .arg(name)
                        .arg(int(itemType));
            return smart_ptr<Skin>();
        }
        skin->setPropertyValue(name, value);
    }
    return skin;
}

bool readPicture(const QString& path, QByteArray& bytes, QString& error)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (bytes.isEmpty())
        error = QStringLiteral("Cannot read the picture %1").arg(path);
    return !bytes.isEmpty();
}

void setDefaults(Theme& theme, ThemedItemType itemType, const Values& values)
{
    for (const auto& [key, value] : values)
        theme.setDefaultItemProperty(itemType, QLatin1String(key), value);
}

void setDefaultItemProperties(Theme& theme, const ThemeDescription& description)
{
    setDefaults(theme, ThemedItemType_BUTTON, {{"fontSize", 16}, {"wordWrap", false}});
    setDefaults(theme, ThemedItemType_SLIDER,
                {{"captionFontSize", 12},
                 {"valueFontSize", 12},
                 {"wordWrap", false},
                 {"handleSize", 0.18},
                 {"spacing", 6}});
    setDefaults(theme, ThemedItemType_COLOUR_PICKER,
                {{"captionFontSize", 12}, {"wordWrap", false}, {"spacing", 6}});
    setDefaults(theme, ThemedItemType_KEYPAD,
                {{"displayTextStyle", QVariant::fromValue(description.keypadDisplayTextStyle)},
                 {"buttonTextStyle", QVariant::fromValue(description.keypadButtonTextStyle)}});
    setDefaults(theme, ThemedItemType_LABEL, {{"fontSize", 18}, {"wordWrap", false}});
    setDefaults(theme, ThemedItemType_CLOCK, {{"captionFontSize", 12}, {"spacing", 4}});

    Gradient bar;
    bar.setName(description.name);
    bar.setStops({{0.0, description.switcherTop}, {1.0, description.switcherBottom}});
    setDefaults(theme, ThemedItemType_PAGE_SWITCHER,
                {{"backgroundGradient", QVariant::fromValue(bar)},
                 {"backgroundOpacity", description.switcherOpacity},
                 {"buttonFontSize", 12},
                 {"buttonTextColour", colour(description.switcherText)},
                 {"buttonHighlight", colour(description.switcherHighlight)},
                 {"buttonHighlightOpacity", description.switcherHighlightOpacity},
                 {"showPageNames", true},
                 {"showTime", true},
                 {"showDate", false},
                 {"timeFormat", QStringLiteral("hh:mm")},
                 {"dateFormat", QStringLiteral("ddd d MMM")},
                 {"dateTimeAtEnd", true},
                 {"dateTimeFontSize", 12}});
}

const char* const IconNames[] = {"home",   "lights",   "climate", "media",
                                 "blinds", "security", "scenes",  "settings"};

} // namespace

std::unique_ptr<Theme> buildTheme(const ThemeDescription& description, const QString& imageFolder,
                                  QString& error)
{
    auto theme = std::make_unique<Theme>(QString());
    theme->setName(description.name);
    const QString folder = imageFolder + QLatin1Char('/') + description.folder + QLatin1Char('/');
    QByteArray bytes;

    const std::pair<Orientation, const char*> orientations[] = {
        {Orientation_LANDSCAPE, "landscape"}, {Orientation_PORTRAIT, "portrait"}};
    for (const auto& [orientation, name] : orientations) {
        if (!readPicture(folder + QLatin1String(name) + QLatin1String("_splash.png"), bytes, error))
            return nullptr;
        theme->setSplashBytes(orientation, bytes);
    }
    for (const char* style : {"plain", "waves"}) {
        for (const auto& [orientation, name] : orientations) {
            if (!readPicture(folder + QStringLiteral("background_%1_%2.png")
                                          .arg(QLatin1String(style), QLatin1String(name)),
                             bytes, error))
                return nullptr;
            theme->addPageBackgroundImageData(bytes, orientation);
        }
    }
    for (const char* icon : IconNames) {
        if (!readPicture(folder + QStringLiteral("icon_%1.png").arg(QLatin1String(icon)), bytes,
                         error))
            return nullptr;
        theme->addIconData(bytes);
    }

    ClockImages clock;
    const std::pair<unsigned int*, const char*> clockImages[] = {
        {&clock.face, "faceImage"},
        {&clock.hourHand, "hourHandImage"},
        {&clock.minuteHand, "minuteHandImage"}};
    const char* const clockFiles[] = {"clock_face.png", "clock_hour_hand.png",
                                      "clock_minute_hand.png"};
    for (int i = 0; i < 3; ++i) {
        if (!readPicture(folder + QLatin1String(clockFiles[i]), bytes, error))
            return nullptr;
        *clockImages[i].first = theme->addSkinImageData(bytes);
        theme->addSkinImageReference(
            SkinPropertyKey(ThemedItemType_CLOCK, QLatin1String(clockImages[i].second)),
            *clockImages[i].first);
    }

    const Surface& surface = description.surface;
    const ThemedItemType types[] = {ThemedItemType_BUTTON,        ThemedItemType_SLIDER,
                                    ThemedItemType_COLOUR_PICKER, ThemedItemType_KEYPAD,
                                    ThemedItemType_LABEL,         ThemedItemType_CLOCK};
    for (ThemedItemType type : types) {
        smart_ptr<SkinSet> skinSet(new SkinSet(type));
        for (int index = 0; index < SkinCount; ++index) {
            const Look& look = description.looks[index];
            Values values;
            switch (type) {
            case ThemedItemType_BUTTON:
                values = buttonValues(look);
                break;
            case ThemedItemType_SLIDER:
                values = sliderValues(surface, look, index == NormalSkin);
                break;
            case ThemedItemType_COLOUR_PICKER:
                values = colourPickerValues(surface, look);
                break;
            case ThemedItemType_KEYPAD:
                values = keypadValues(surface, look);
                break;
            case ThemedItemType_LABEL:
                values = labelValues(surface, look);
                break;
            default:
                values = clockValues(surface, look, clock);
                break;
            }
            smart_ptr<Skin> skin = makeSkin(type, index, values, error);
            if (!skin)
                return nullptr;
            skinSet->addSkin(skin);
        }
        theme->setSkinSet(skinSet);
        theme->setDefaultSkin(type, skinName(NormalSkin));
    }
    setDefaultItemProperties(*theme, description);
    return theme;
}

} // namespace ThemeMaker
