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

namespace {

// A sample control of the preview: its size there and its caption.
template <class T> T* sample(int width, int height, const QString& caption)
{
    auto* control = new T;
    control->setGeometry(QRect(0, 0, width, height));
    control->setCaption(caption);
    return control;
}

} // namespace

ThemePreviewSamples::ThemePreviewSamples()
{
    configuration.setOrientation(Velmora::Orientation_PORTRAIT);

    items[Velmora::ThemedItemType_BUTTON] = sample<Velmora::Button>(100, 44, tr("Button"));
    auto* slider = sample<Velmora::Slider>(44, 200, tr("Slider"));
    slider->setUnit(Velmora::Slider::Unit_PERCENT);
    slider->setShowValue(true);
    items[Velmora::ThemedItemType_SLIDER] = slider;
    items[Velmora::ThemedItemType_COLOUR_PICKER] =
        sample<Velmora::ColourPicker>(272, 272, tr("Colour Picker"));

    // The page switcher only refers to the preview page, which the preview project owns.
    const unsigned int pageId = configuration.addPage();
    configuration.getPage(pageId).setName(tr("Page"));
    auto* pageSwitcher = new Velmora::PageSwitcher;
    pageSwitcher->insertPage(pageId, 0);
    pageSwitcher->setPosition(Velmora::NavigationPosition_TOP);
    items[Velmora::ThemedItemType_PAGE_SWITCHER] = pageSwitcher;

    items[Velmora::ThemedItemType_KEYPAD] = sample<Velmora::Keypad>(240, 272, QString());
    items[Velmora::ThemedItemType_LABEL] = sample<Velmora::Label>(100, 44, tr("Label"));
    items[Velmora::ThemedItemType_CLOCK] = sample<Velmora::Clock>(100, 100, tr("Clock"));
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
