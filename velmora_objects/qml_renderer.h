#pragma once

#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/velmora_types.h"

#include <QString>
#include <QVariant>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Velmora {
class Control;
class SkinProperty;
class Skin;
class SkinSet;
class Theme;
} // namespace Velmora

namespace VelmoraQML {

class QMLStreamer;

// Property values by QML name, in the order a document would assign them.
using QMLPropertyValues = std::vector<std::pair<QString, QVariant>>;

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
    // The lock page (configId -1): a black page with a keypad for the unlock code, in the
    // theme's keypad skin. The whole project holds it; standalone, it compiles on its own.
    void renderLockPage();

    // A page also writes its controls. The configuration always writes its pages with them.
    bool renderChildren = true;
    // Every control, lock keypad and page switcher first writes a Theme of its own inside
    // itself, holding only the skin set of its item type, so that it compiles on its own.
    bool standalone = false;
    // When set, a control or a page keeps its own values out of the text and appends them
    // here instead, in the order the text would assign them: for a control its id, key,
    // caption, startup skin, geometry and the values of its type; for a page its id, name,
    // sort value, page switcher and colour. No object id is written. The text then holds only
    // what objects of the same component share (the control's component with the theme and
    // current skin of its item type, or the page with its background elements), so that one
    // compiled component serves all of them and each object takes its values as it is made.
    QMLPropertyValues* ownValues = nullptr;
    // With ownValues, a page switcher also keeps its own values out of the text, and its page
    // buttons too: the values of each button (its page, place, icon and text) are appended
    // here, in order, for the caller to make each button as an item of the switcher from the
    // text of a button alone (buttonText()). The switcher's text then holds only its theme and
    // its background gradient.
    std::vector<QMLPropertyValues>* buttonValues = nullptr;
    // A control or page switcher writes no theme and names none: the caller gives it its
    // theme as its value "theme", so that the objects of a preview share one.
    bool themeApart = false;
    // When set, the text of an item's current skin (the default skin of its item type, with
    // the properties it leaves out filled in) is written once per skin and kept here, then
    // copied for every other item that shows the same skin. The owner empties it whenever the
    // theme may have changed.
    std::unordered_map<const Velmora::Skin*, QString>* currentSkinTexts = nullptr;

    // The text of a page-switcher button whose values are all given apart.
    static QString buttonText();
    // The value a skin's property declaration in the text gives the property: a colour as its
    // opaque red, green and blue, a number as written (six significant digits), a skin image
    // as its address with the serial number given.
    static QVariant skinValue(const Velmora::SkinProperty& property, unsigned int serial);

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
    // One own value of a control or page: into ownValues when set, else into the text, as a
    // quoted string, a number or a truth value by the value's type.
    void writeOwn(const char* name, const QVariant& value);
    // The same with the text form given: a QML expression, or a string to quote.
    void writeOwn(const char* name, const QVariant& value, const QString& text, bool quoted);

    QMLStreamer* m_streamer;
};

} // namespace VelmoraQML
