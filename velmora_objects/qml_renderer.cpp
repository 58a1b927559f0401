#include "velmora_objects/qml_renderer.h"

#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/qml_streamer.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_property.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/theme.h"

#include <QRect>
#include <algorithm>
#include <climits>

namespace VelmoraQML {

namespace {

// Page-switcher geometry: a horizontal bar is 42 high, a vertical one 48 wide; buttons are 42
// high and 48 wide in landscape, 42 in portrait. On the short side of the screen a vertical bar
// centres a band of six buttons (252 pixels).
constexpr int HorizontalBarHeight = 42;
constexpr int VerticalBarWidth = 48;
constexpr int ButtonHeight = 42;
constexpr int VerticalButtonBand = 6 * ButtonHeight;
// Far beyond any screen, far below the limits of int arithmetic.
constexpr qint64 MaximumDateTimeExtent = 1 << 20;

QMetaType::Type qmlPropertyType(Velmora::SkinPropertyType type)
{
    switch (type) {
    case Velmora::SkinPropertyType_INT:
        return QMetaType::Int;
    case Velmora::SkinPropertyType_DOUBLE:
        return QMetaType::Double;
    case Velmora::SkinPropertyType_BOOL:
        return QMetaType::Bool;
    case Velmora::SkinPropertyType_STRING:
        return QMetaType::QString;
    case Velmora::SkinPropertyType_COLOUR:
        return QMetaType::QColor;
    case Velmora::SkinPropertyType_IMAGE:
        return QMetaType::QImage;
    }
    return QMetaType::UnknownType; // refused by the streamer
}

// The skin-property table of the item type (none for page switchers).
const Velmora::SkinProperties* table(Velmora::ThemedItemType itemType)
{
    return Velmora::SkinProperties::getSkinProperties(itemType);
}

void writeSkinProperty(QMLStreamer& s, const Velmora::SkinProperty& property)
{
    s.writePropertyDefinition(property.getKey(), qmlPropertyType(property.getType()),
                              property.getValue(), true);
}

// Where the buttons of a page switcher go: how many, where the first one is and how far apart
// they are along the bar.
struct ButtonRun
{
    int count = 0;
    int first = 0;
    int step = 0;
};

} // namespace

QMLRenderer::QMLRenderer(QMLStreamer* streamer) : m_streamer(streamer) {}

QMLRenderer::~QMLRenderer() = default;

const Velmora::Theme* QMLRenderer::theme() const
{
    const Velmora::Configuration* configuration = m_streamer->configuration();
    return configuration ? configuration->getTheme() : nullptr;
}

unsigned int QMLRenderer::serial() const
{
    const Velmora::Configuration* configuration = m_streamer->configuration();
    return configuration ? unsigned(configuration->getSerial()) : 0;
}

QString QMLRenderer::themeId() const
{
    return QStringLiteral("theTheme%1").arg(serial());
}

QString QMLRenderer::imageAddress(const char* store, unsigned int imageId) const
{
    return QStringLiteral("image://theme%1/%2%3")
        .arg(serial())
        .arg(QLatin1String(store))
        .arg(imageId);
}

void QMLRenderer::renderConfiguration(const Velmora::Configuration*)
{
    QMLStreamer& s = *m_streamer;
    const Velmora::Configuration& configuration = *s.configuration();

    s << "Configuration {\n";
    s.writeProperty("width", "screen.size.width", false);
    s.writeProperty("height", "screen.size.height", false);
    writeTheme(0);
    renderLockPage();

    const bool renderedChildren = renderChildren;
    renderChildren = true;
    for (const Velmora::Page& page : configuration.getPages())
        page.render(this);
    renderChildren = renderedChildren;

    for (const Velmora::PageSwitcher& pageSwitcher : configuration.getPageSwitchers())
        pageSwitcher.render(this);
    s << "}\n";
}

void QMLRenderer::renderLockPage()
{
    // A keypad for the unlock code over a black page.
    QMLStreamer& s = *m_streamer;
    s << "Page {\n";
    s.writeProperty("configId", -1);
    s.writeProperty("color", "black", true);
    s << "Keypad {\n"
      << "anchors { top: parent.top; bottom: parent.bottom; horizontalCenter: "
         "parent.horizontalCenter }\n"
      << "width: 240\n"
      << "minWidth: 3\n"
      << "maxWidth: 6\n";
    writeThemedPart(Velmora::ThemedItemType_KEYPAD);
    s << "}\n"
      << "}\n";
}

QVariant QMLRenderer::skinValue(const Velmora::SkinProperty& property, unsigned int serial)
{
    const QVariant value = property.getValue();
    if (!value.isValid())
        return value;
    switch (property.getType()) {
    case Velmora::SkinPropertyType_INT:
        return value.toInt();
    case Velmora::SkinPropertyType_DOUBLE:
        return QString::number(value.toDouble(), 'g', 6).toDouble();
    case Velmora::SkinPropertyType_BOOL:
        return value.toBool();
    case Velmora::SkinPropertyType_STRING:
        return value.toString();
    case Velmora::SkinPropertyType_COLOUR:
        return QColor(value.value<QColor>().rgb());
    case Velmora::SkinPropertyType_IMAGE: {
        bool isId = false;
        const unsigned int imageId = value.toUInt(&isId);
        return isId ? QStringLiteral("image://theme%1/skinImage%2").arg(serial).arg(imageId)
                    : value.toString();
    }
    }
    return QVariant();
}

QString QMLRenderer::buttonText()
{
    QMLStreamer s(nullptr);
    s << "PageSwitcherButton {\n}\n";
    s.flush();
    return s.text();
}

void QMLRenderer::writeTheme(int itemTypeFilter)
{
    QMLStreamer& s = *m_streamer;
    s << "Theme {\n";
    s.writeId(themeId());
    s << "skinSets: [\n";
    if (const Velmora::Theme* t = theme()) {
        bool first = true;
        for (const auto& [itemType, skinSet] : t->getSkinSets()) {
            if (itemTypeFilter != 0 && itemType != itemTypeFilter)
                continue;
            if (!first)
                s << ",\n";
            first = false;
            writeSkinSet(*skinSet);
        }
    }
    s << "]\n"
      << "}\n";
}

void QMLRenderer::writeSkinSet(const Velmora::SkinSet& skinSet)
{
    QMLStreamer& s = *m_streamer;
    const Velmora::Skin* defaultSkin = theme()->getDefaultSkin(skinSet.getItemType());
    s << "SkinSet {\n";
    s.writeProperty("itemType", int(skinSet.getItemType()));
    s << "skins: [\n";
    int index = 0;
    int defaultIndex = -1;
    for (const auto& [name, skin] : skinSet.getSkins()) {
        if (index > 0)
            s << ",\n";
        if (skin.get() == defaultSkin)
            defaultIndex = index;
        writeSkin(*skin, false);
        ++index;
    }
    s << "]\n";
    s.writeProperty("defaultSkinIdx", defaultIndex);
    s << "}\n";
}

void QMLRenderer::writeSkin(const Velmora::Skin& skin, bool fillMissingProperties)
{
    QMLStreamer& s = *m_streamer;
    s << "Skin {\n";
    s.writeProperty("name", skin.getName(), true);
    s.writeProperty("transitionDuration", skin.getTransition().duration);
    s.writeProperty("easingType", skin.getTransition().easing);
    for (const auto& [key, property] : skin.getProperties())
        writeSkinProperty(s, *property);
    if (fillMissingProperties) {
        // The item's current skin declares every property its component binds to, so the
        // properties this skin leaves out take the defaults of the item type.
        if (const Velmora::SkinProperties* properties = table(skin.getItemType())) {
            for (const auto& [key, property] : *properties) {
                if (!skin.hasProperty(key))
                    writeSkinProperty(s, *property);
            }
        }
    }
    s << "}\n";
}

void QMLRenderer::writeThemedPart(Velmora::ThemedItemType itemType)
{
    QMLStreamer& s = *m_streamer;
    if (standalone && !themeApart)
        writeTheme(itemType);
    s.writeProperty("itemType", int(itemType));
    const Velmora::Theme* t = theme();
    if (!t)
        return;
    if (!themeApart)
        s.writeProperty("theme", themeId(), false);
    if (const Velmora::Skin* defaultSkin = t->getDefaultSkin(itemType)) {
        s << "currentSkin: ";
        if (!currentSkinTexts) {
            writeSkin(*defaultSkin, true);
        } else if (const auto known = currentSkinTexts->find(defaultSkin);
                   known != currentSkinTexts->end()) {
            s << known->second;
        } else {
            const qsizetype start = s.text().size();
            writeSkin(*defaultSkin, true);
            currentSkinTexts->emplace(defaultSkin, s.text().mid(start));
        }
    } else if (const Velmora::SkinProperties* properties = table(itemType)) {
        s << "currentSkin: Skin{\n";
        for (const auto& [key, property] : *properties)
            writeSkinProperty(s, *property);
        s << "}\n";
    }
}

void QMLRenderer::beginControl(const char* component, const Velmora::Control& control)
{
    QMLStreamer& s = *m_streamer;
    const QRect& geometry = control.getGeometry();
    s << component << " {\n";
    if (!ownValues)
        s.writeId(control.defaultName());
    writeOwn("configId", int(control.getId()));
    writeOwn("controlKey", control.getName());
    writeOwn("caption", control.getCaption());
    writeOwn("startupSkin", control.getStartupSkin());
    writeOwn("x", geometry.left());
    writeOwn("y", geometry.top());
    writeOwn("width", geometry.width());
    writeOwn("height", geometry.height());
}

void QMLRenderer::writeOwn(const char* name, const QVariant& value)
{
    if (ownValues) {
        ownValues->emplace_back(QString::fromLatin1(name), value);
        return;
    }
    QMLStreamer& s = *m_streamer;
    switch (value.typeId()) {
    case QMetaType::Bool:
        s.writeProperty(name, value.toBool());
        break;
    case QMetaType::Int:
        s.writeProperty(name, value.toInt());
        break;
    case QMetaType::Double:
        s.writeProperty(name, value.toDouble());
        break;
    default:
        s.writeProperty(name, value.toString(), true);
        break;
    }
}

void QMLRenderer::writeOwn(const char* name, const QVariant& value, const QString& text,
                           bool quoted)
{
    if (ownValues)
        ownValues->emplace_back(QString::fromLatin1(name), value);
    else
        m_streamer->writeProperty(name, text, quoted);
}

void QMLRenderer::endControl(Velmora::ThemedItemType itemType)
{
    writeThemedPart(itemType);
    *m_streamer << "}\n";
}

void QMLRenderer::renderPage(const Velmora::Page* page)
{
    QMLStreamer& s = *m_streamer;
    const unsigned int pageId = page->getId();
    s << "Page {\n";
    if (!ownValues)
        s.writeId(QStringLiteral("page%1").arg(pageId));
    writeOwn("configId", int(pageId));
    writeOwn("name", page->getName());
    writeOwn("sortValue", int(page->getSortValue()));
    writeOwn("pageSwitcherId", int(page->getPageSwitcherId()));
    s.writeProperty("clip", true);
    const QColor& colour = page->getBackgroundColour();
    if (colour.isValid())
        writeOwn("color", colour, colour.name(), true);

    // An editable page always carries both background elements, so that edits can reach them
    // by name.
    const Gradient& gradient = page->getBackgroundGradient();
    if (!gradient.isNull() || s.editable) {
        s << "GradientRectangle{\n";
        if (s.editable)
            s.writeProperty("objectName", "backgroundGradient", true);
        if (!gradient.isNull()) {
            s.writeProperty("gradient", gradient.stops());
            s.writeProperty("rotation", int(page->getBackgroundGradientRotation()));
        } else {
            s.writeProperty("visible", false);
        }
        s << "}\n";
    }

    const unsigned int imageId = page->getBackgroundImageId();
    if (imageId != UINT_MAX || s.editable) {
        s << "Image{\n";
        if (s.editable)
            s.writeProperty("objectName", "backgroundImage", true);
        if (imageId != UINT_MAX)
            s.writeProperty("source", imageAddress("", imageId), true);
        static const char* const fillModes[] = {nullptr,
                                                "Image.Stretch",
                                                "Image.PreserveAspectFit",
                                                "Image.PreserveAspectCrop",
                                                "Image.Tile",
                                                "Image.TileVertically",
                                                "Image.TileHorizontally"};
        const int scaling = int(page->getBackgroundImageScaling());
        // Without scaling the image keeps its natural size, centred.
        if (scaling >= 1 && scaling <= 6) {
            s.writeProperty("fillMode", fillModes[scaling], false);
            if (s.editable) {
                s.writeProperty("width", "parent.width", false);
                s.writeProperty("height", "parent.height", false);
            } else {
                s.writeProperty("anchors.fill", "parent", false);
            }
        }
        s.writeProperty("anchors.horizontalCenter", "parent.horizontalCenter", false);
        s.writeProperty("anchors.verticalCenter", "parent.verticalCenter", false);
        s << "}\n";
    }

    if (renderChildren && !ownValues) {
        const Velmora::Configuration& configuration = *s.configuration();
        for (unsigned int controlId : page->getControlIds())
            configuration.getControl(controlId).render(this);
    }
    s << "}\n";
}

void QMLRenderer::renderButton(const Velmora::Button* button)
{
    beginControl("Button", *button);
    writeOwn("fontSize", int(button->getFontSize()));
    writeOwn("wordWrap", bool(button->getWordWrap()));
    writeOwn("heldTimeout", int(button->getHeldTimeout()));
    writeOwn("repeatInterval", int(button->getRepeatInterval()));
    if (button->getImageId() != UINT_MAX)
        writeOwn("fixedImageSource", imageAddress("controlImage", button->getImageId()));
    const bool maintained = button->getActuation() == Velmora::Button::Actuation_MAINTAINED;
    writeOwn("actuation", int(maintained ? 1 : 0),
             maintained ? QStringLiteral("Control.MaintainedActuation")
                        : QStringLiteral("Control.MomentaryActuation"),
             false);
    endControl(Velmora::ThemedItemType_BUTTON);
}

void QMLRenderer::renderSlider(const Velmora::Slider* slider)
{
    beginControl("Slider", *slider);
    const int minimum = slider->getMinimum();
    const int maximum = slider->getMaximum();
    writeOwn("minimum", minimum);
    writeOwn("maximum", maximum);
    // The value as a fraction of the range. A range that is empty or inverted (maximum not
    // above minimum) puts the handle at the start rather than writing a value the document
    // cannot hold or a fraction of a range that does not exist.
    const double range = double(maximum) - double(minimum);
    const double fraction = range <= 0.0 ? 0.0 : (double(slider->getValue()) - minimum) / range;
    writeOwn("value", fraction);
    writeOwn("showCaption", !slider->getCaption().isEmpty());
    writeOwn("showValue", slider->getShowValue());
    writeOwn("valueSuffix", slider->getValueSuffix());
    writeOwn("captionFontSize", int(slider->getCaptionFontSize()));
    writeOwn("valueFontSize", int(slider->getValueFontSize()));
    writeOwn("wordWrap", bool(slider->getWordWrap()));
    writeOwn("handleSize", slider->getHandleSize());
    writeOwn("spacing", int(slider->getSpacing()));
    endControl(Velmora::ThemedItemType_SLIDER);
}

void QMLRenderer::renderColourPicker(const Velmora::ColourPicker* colourPicker)
{
    beginControl("ColourPicker", *colourPicker);
    writeOwn("captionFontSize", int(colourPicker->getCaptionFontSize()));
    writeOwn("wordWrap", bool(colourPicker->getWordWrap()));
    writeOwn("spacing", int(colourPicker->getSpacing()));
    endControl(Velmora::ThemedItemType_COLOUR_PICKER);
}

void QMLRenderer::renderKeypad(const Velmora::Keypad* keypad)
{
    beginControl("Keypad", *keypad);
    writeOwn("maxWidth", int(keypad->getMaxDigits()));
    writeOwn("hideCharacters", bool(keypad->getHideCharacters()));
    writeOwn("displayTextStyle", int(keypad->getDisplayTextStyle()));
    writeOwn("buttonTextStyle", int(keypad->getButtonTextStyle()));
    endControl(Velmora::ThemedItemType_KEYPAD);
}

void QMLRenderer::renderLabel(const Velmora::Label* label)
{
    beginControl("Label", *label);
    writeOwn("fontSize", int(label->getFontSize()));
    writeOwn("wordWrap", bool(label->getWordWrap()));
    endControl(Velmora::ThemedItemType_LABEL);
}

void QMLRenderer::renderClock(const Velmora::Clock* clock)
{
    switch (clock->getClockType()) {
    case Velmora::Clock::ClockType_ANALOGUE:
        beginControl("AnalogueClock", *clock);
        break;
    case Velmora::Clock::ClockType_DIGITAL:
        beginControl("DigitalClock", *clock);
        break;
    default:
        return; // a clock of no known type is not shown
    }
    writeOwn("captionFontSize", int(clock->getCaptionFontSize()));
    writeOwn("spacing", int(clock->getSpacing()));
    endControl(Velmora::ThemedItemType_CLOCK);
}

void QMLRenderer::renderPageSwitcher(const Velmora::PageSwitcher* pageSwitcher)
{
    QMLStreamer& s = *m_streamer;
    const Velmora::Configuration& configuration = *s.configuration();
    const int orientation = configuration.getOrientation();
    const int screenWidth = configuration.getWidth();
    const int screenHeight = configuration.getHeight();
    const int position = pageSwitcher->getPosition();
    const bool landscape = orientation == Velmora::Orientation_LANDSCAPE;
    const bool horizontal = position == Velmora::NavigationPosition_TOP ||
                            position == Velmora::NavigationPosition_BOTTOM;
    const int buttonWidth = landscape ? 48 : 42;

    s << "PageSwitcher {\n";
    if (standalone && !themeApart)
        writeTheme(Velmora::ThemedItemType_PAGE_SWITCHER);
    // With the buttons apart, so are all the switcher's own values.
    const bool apart = ownValues && buttonValues;
    const auto own = [&](const char* name, const QVariant& value) {
        if (apart)
            ownValues->emplace_back(QString::fromLatin1(name), value);
        else if (value.typeId() == QMetaType::QColor)
            s.writeProperty(name, value.value<QColor>().name(), true);
        else if (value.typeId() == QMetaType::QString)
            s.writeProperty(name, value.toString(), true);
        else if (value.typeId() == QMetaType::Bool)
            s.writeProperty(name, value.toBool());
        else if (value.typeId() == QMetaType::Double)
            s.writeProperty(name, value.toDouble());
        else
            s.writeProperty(name, value.toInt());
    };
    if (!apart)
        s.writeId(QStringLiteral("pageswitcher%1").arg(pageSwitcher->getId()));
    own("configId", int(pageSwitcher->getId()));

    QRect bar(0, 0, screenWidth, screenHeight);
    switch (position) {
    case Velmora::NavigationPosition_TOP:
        bar = QRect(0, 0, screenWidth, HorizontalBarHeight);
        break;
    case Velmora::NavigationPosition_RIGHT:
        bar = QRect(screenWidth - VerticalBarWidth, 0, VerticalBarWidth, screenHeight);
        break;
    case Velmora::NavigationPosition_BOTTOM:
        bar = QRect(0, screenHeight - HorizontalBarHeight, screenWidth, HorizontalBarHeight);
        break;
    case Velmora::NavigationPosition_LEFT:
        bar = QRect(0, 0, VerticalBarWidth, screenHeight);
        break;
    default:
        break;
    }
    own("x", bar.x());
    own("y", bar.y());
    own("targetX", bar.x());
    own("targetY", bar.y());
    own("width", bar.width());
    own("height", bar.height());

    s.writeProperty("backgroundGradient", pageSwitcher->getBackgroundGradient().stops());
    own("backgroundOpacity", double(pageSwitcher->getBackgroundOpacity()));
    own("buttonFontSize", int(pageSwitcher->getButtonFontSize()));
    own("buttonTextColour", pageSwitcher->getButtonTextColour());
    own("buttonHighlight", pageSwitcher->getButtonHighlight());
    own("buttonHighlightOpacity", double(pageSwitcher->getButtonHighlightOpacity()));
    own("showPageNames", bool(pageSwitcher->getShowPageNames()));
    own("showTime", bool(pageSwitcher->getShowTime()));
    own("showDate", bool(pageSwitcher->getShowDate()));
    own("timeFormat", pageSwitcher->getTimeFormat());
    own("dateFormat", pageSwitcher->getDateFormat());
    const int dateTimeFontSize = pageSwitcher->getDateTimeFontSize();
    own("dateTimeFontSize", dateTimeFontSize);

    // The date and time take an extent along the bar: on a horizontal bar room for the longer
    // of the shown formats, on a vertical bar one button.
    const bool dateTimeShown = pageSwitcher->getShowTime() || pageSwitcher->getShowDate();
    const bool dateTimeAtEnd = pageSwitcher->getDateTimeAtEnd();
    const bool dateFirst = dateTimeShown && !dateTimeAtEnd;
    const bool dateLast = dateTimeShown && dateTimeAtEnd;
    // A font size or format read from a damaged file must not overflow the layout arithmetic.
    const auto formatExtent = [dateTimeFontSize](const QString& format) {
        const qint64 product = qint64(format.size()) * dateTimeFontSize;
        return int(std::clamp<qint64>(product, -MaximumDateTimeExtent, MaximumDateTimeExtent));
    };
    int extent = 0;
    if (dateTimeShown) {
        if (horizontal) {
            if (pageSwitcher->getShowTime())
                extent = formatExtent(pageSwitcher->getTimeFormat());
            if (pageSwitcher->getShowDate())
                extent = std::max(extent, formatExtent(pageSwitcher->getDateFormat()));
        } else {
            extent = buttonWidth;
        }
        if (dateTimeAtEnd) {
            own("dateTimeX", horizontal ? bar.width() - extent : 0);
            own("dateTimeY", horizontal ? 0 : bar.height() - extent);
        }
        own("dateTimeWidth", horizontal ? extent : bar.width());
        own("dateTimeHeight", horizontal ? bar.height() : extent);
    }

    const std::vector<unsigned int>& pageIds = pageSwitcher->getPageIds();
    if (!pageIds.empty()) {
        ButtonRun run;
        // A list names each of the project's pages at most once: the count, and every length
        // along the bar made from it, stays far inside an int.
        run.count =
            int(std::min<std::size_t>(pageIds.size(), Velmora::Configuration::MaximumPages));
        if (dateTimeShown) {
            // Beside the date and time only as many buttons as the bar holds.
            const int room = Velmora::PageSwitcher::maxPages(position, orientation) - 1 -
                             (horizontal ? extent / buttonWidth : 0);
            run.count = std::min(run.count, room);
        }

        // A vertical bar on the short side centres the band of six buttons; one on the long
        // side (portrait) has room for all ten over its whole height.
        const bool alongLongSide = horizontal == landscape;
        const int margin =
            horizontal || alongLongSide ? 0 : (bar.height() - VerticalButtonBand) / 2;
        const int length = horizontal ? bar.width() : bar.height() - 2 * margin;
        const int buttonLength = horizontal ? buttonWidth : ButtonHeight;
        const int start = margin;
        const int before = dateFirst ? extent : 0;
        const int after = dateLast ? extent : 0;
        run.step = buttonLength;
        switch (pageSwitcher->getAlignment()) {
        case Velmora::Alignment_START:
            run.first = start + before;
            break;
        case Velmora::Alignment_END:
            run.first = start + length - run.count * buttonLength - after;
            break;
        case Velmora::Alignment_CENTER:
            run.first = start + (length - run.count * buttonLength) / 2 + before / 2 - after / 2;
            break;
        case Velmora::Alignment_SPREAD:
            if (run.count >= 2) {
                run.first = start + before;
                run.step = (length - buttonLength - extent) / (run.count - 1);
                break;
            }
            run.first = start;
            break;
        default:
            run.first = start;
            break;
        }

        for (int index = 0; index < run.count; ++index) {
            const Velmora::Page& page = configuration.getPage(pageIds[std::size_t(index)]);
            const int along = run.first + index * run.step;
            const unsigned int iconId = page.getIconId();
            const QString icon = iconId == UINT_MAX ? QStringLiteral("qrc:/default_page_icon.png")
                                                    : imageAddress("icon", iconId);
            if (apart) {
                buttonValues->push_back({{QStringLiteral("targetPage"), page.getName()},
                                         {QStringLiteral("x"), horizontal ? along : 0},
                                         {QStringLiteral("y"), horizontal ? 0 : along},
                                         {QStringLiteral("width"), buttonWidth},
                                         {QStringLiteral("height"), ButtonHeight},
                                         {QStringLiteral("iconSource"), icon},
                                         {QStringLiteral("text"), page.getName()}});
                continue;
            }
            s << "PageSwitcherButton {\n";
            s.writeProperty("targetPage", page.getName(), true);
            s.writeProperty("x", horizontal ? along : 0);
            s.writeProperty("y", horizontal ? 0 : along);
            s.writeProperty("width", buttonWidth);
            s.writeProperty("height", ButtonHeight);
            s.writeProperty("iconSource", icon, true);
            s.writeProperty("text", page.getName(), true);
            s << "}\n";
        }
    }
    s << "}\n";
}

} // namespace VelmoraQML
