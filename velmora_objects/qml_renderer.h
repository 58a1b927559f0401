#pragma once

#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/velmora_types.h"

#include <QString>

namespace Velmora {
class Control;
class Skin;
class SkinSet;
class Theme;
} // namespace Velmora

namespace VelmoraQML {

class QMLStreamer;

// Writes the project model as the QML text that the preview runs: the whole project (the
// Configuration root with the theme, the lock page, the pages and the page switchers), one page
// with or without its controls, or one control or page switcher alone. The objects are the
// types of the "Velmora" module and the components under "qrc:/qml"; the property names are
// theirs.
//
// The configuration, its theme and its serial number come from the streamer. The caller sets the
// two flags between construction and rendering, then hands the renderer to the render() of the
// object to write; the text is the streamer's.
class QMLRenderer : public Velmora::AbstractRenderer
{
public:
    explicit QMLRenderer(QMLStreamer* streamer);
    ~QMLRenderer() override;

    QMLRenderer(const QMLRenderer&) = delete;
    QMLRenderer& operator=(const QMLRenderer&) = delete;

    // The configuration argument is not read: the configuration is the streamer's.
    void renderConfiguration(const Velmora::Configuration* configuration) override;
    void renderPage(const Velmora::Page* page) override;
    void renderButton(const Velmora::Button* button) override;
    void renderSlider(const Velmora::Slider* slider) override;
    void renderColourPicker(const Velmora::ColourPicker* colourPicker) override;
    void renderKeypad(const Velmora::Keypad* keypad) override;
    void renderLabel(const Velmora::Label* label) override;
    void renderClock(const Velmora::Clock* clock) override;
    void renderPageSwitcher(const Velmora::PageSwitcher* pageSwitcher) override;

    // A page also writes its controls. The configuration always writes its pages with them.
    bool renderChildren = true;
    // Every control, lock keypad and page switcher first writes a Theme of its own inside
    // itself, holding only the skin set of its item type, so that it compiles on its own.
    bool standalone = false;

private:
    const Velmora::Theme* theme() const;
    unsigned int serial() const;
    QString themeId() const;
    // "image://theme<serial>/<store><id>", the address the theme image provider serves.
    QString imageAddress(const char* store, unsigned int imageId) const;

    // The Theme object with the skin sets of the item type (all of them for 0).
    void writeTheme(int itemTypeFilter);
    void writeSkinSet(const Velmora::SkinSet& skinSet);
    void writeSkin(const Velmora::Skin& skin, bool fillMissingProperties);
    // The item type, the theme and the current skin that end every themed object: the theme's
    // default skin for the type, else a skin of the defaults of the type's skin-property table.
    void writeThemedPart(Velmora::ThemedItemType itemType);
    // The opening of a control's object with the properties every control has, and its
    // themed part and closing.
    void beginControl(const char* component, const Velmora::Control& control);
    void endControl(Velmora::ThemedItemType itemType);

    QMLStreamer* m_streamer;
};

} // namespace VelmoraQML
