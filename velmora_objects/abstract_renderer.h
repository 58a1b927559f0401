#pragma once

namespace Velmora {

class Configuration;
class Page;
class Button;
class Slider;
class ColourPicker;
class Keypad;
class Label;
class Clock;
class PageSwitcher;

// A visitor with one operation per kind of model object. Each object's render() calls exactly
// the operation of its own kind with itself; the renderer decides whether to visit what the
// object holds. Renderers are deleted through this base.
class AbstractRenderer
{
public:
    virtual ~AbstractRenderer() = default;

    virtual void renderConfiguration(const Configuration* configuration) = 0;
    virtual void renderPage(const Page* page) = 0;
    virtual void renderButton(const Button* button) = 0;
    virtual void renderSlider(const Slider* slider) = 0;
    virtual void renderColourPicker(const ColourPicker* colourPicker) = 0;
    virtual void renderKeypad(const Keypad* keypad) = 0;
    virtual void renderLabel(const Label* label) = 0;
    virtual void renderClock(const Clock* clock) = 0;
    virtual void renderPageSwitcher(const PageSwitcher* pageSwitcher) = 0;
};

} // namespace Velmora
