#include "widgets/theme_editor/theme_preview_samples.h"

#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/qml/qml_themed_object.h"
#include "velmora_objects/qml_renderer.h"
#include "velmora_objects/qml_streamer.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/theme.h"

ThemePreviewSamples::ThemePreviewSamples()
{
    configuration.setOrientation(Velmora::Orientation_PORTRAIT);

    auto* button = new Velmora::Button;
    button->setGeometry(QRect(0, 0, 100, 44));
    button->setCaption(tr("Button"));
    items[Velmora::ThemedItemType_BUTTON] = button;

    auto* slider = new Velmora::Slider;
    slider->setGeometry(QRect(0, 0, 44, 200));
    slider->setUnit(Velmora::Slider::Unit_PERCENT);
    slider->setShowValue(true);
    slider->setCaption(tr("Slider"));
    items[Velmora::ThemedItemType_SLIDER] = slider;

    auto* colourPicker = new Velmora::ColourPicker;
    colourPicker->setGeometry(QRect(0, 0, 272, 272));
    colourPicker->setCaption(tr("Colour Picker"));
    items[Velmora::ThemedItemType_COLOUR_PICKER] = colourPicker;

    // The page switcher only refers to the preview page, which the preview project owns.
    const unsigned int pageId = configuration.addPage();
    configuration.getPage(pageId).setName(tr("Page"));
    auto* pageSwitcher = new Velmora::PageSwitcher;
    pageSwitcher->insertPage(pageId, 0);
    pageSwitcher->setPosition(Velmora::NavigationPosition_TOP);
    items[Velmora::ThemedItemType_PAGE_SWITCHER] = pageSwitcher;

    auto* keypad = new Velmora::Keypad;
    keypad->setGeometry(QRect(0, 0, 240, 272));
    items[Velmora::ThemedItemType_KEYPAD] = keypad;

    auto* label = new Velmora::Label;
    label->setGeometry(QRect(0, 0, 100, 44));
    label->setCaption(tr("Label"));
    items[Velmora::ThemedItemType_LABEL] = label;

    auto* clock = new Velmora::Clock;
    clock->setGeometry(QRect(0, 0, 100, 100));
    clock->setCaption(tr("Clock"));
    items[Velmora::ThemedItemType_CLOCK] = clock;
}

ThemePreviewSamples::~ThemePreviewSamples() = default;

Velmora::Themed* ThemePreviewSamples::item(Velmora::ThemedItemType type) const
{
    const auto found = items.find(type);
    return found == items.end() ? nullptr : found->second.get();
}

QSize ThemePreviewSamples::largestSample() const
{
    // The page switcher spans the preview page's width; the controls have their own sizes.
    QSize largest(configuration.getWidth(), 0);
    for (const auto& entry : items) {
        if (const auto* control = dynamic_cast<const Velmora::Control*>(entry.second.get()))
            largest = largest.expandedTo(control->getGeometry().size());
    }
    return largest;
}

QString ThemePreviewSamples::imageProviderId() const
{
    return QStringLiteral("theme%1").arg(configuration.getSerial());
}

VelmoraQML::QMLThemedObject* ThemePreviewSamples::build(Velmora::ThemedItemType type,
                                                        const Velmora::Theme& theme,
                                                        QQmlEngine* engine)
{
    configuration.setTheme(new Velmora::Theme(theme));
    Velmora::Themed* sample = item(type);
    if (!sample || !engine)
        return nullptr;
    sample->initialiseFromTheme(&theme, nullptr);
    VelmoraQML::QMLStreamer streamer(&configuration);
    VelmoraQML::QMLRenderer renderer(&streamer);
    renderer.standalone = true;
    sample->render(&renderer);
    // A text that does not compile builds nothing.
    QObject* object = VelmoraQML::createObject(*engine, streamer.text());
    auto* themed = qobject_cast<VelmoraQML::QMLThemedObject*>(object);
    if (!themed)
        delete object;
    return themed;
}

void ThemePreviewSamples::dropTheme()
{
    configuration.setTheme(nullptr);
}
