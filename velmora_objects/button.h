#pragma once

#include "velmora_objects/control.h"

#include <boost/logic/tribool.hpp>

namespace Velmora {

// A push button: an optional image, timing of held and repeated presses, an actuation mode,
// a local function (page navigation, brightness, lock) with its arguments and one IR slot
// for its click.
//
// The function's arguments are read and set through accessors guarded by the current
// function: Go To Page carries a page id, Set Brightness a level, and the page-changing
// functions (Next Page, Previous Page, Go To Page, Back) a transition and its duration.
class Button : public Control
{
public:
    enum Actuation : int
    {
        Actuation_MOMENTARY = 0,
        Actuation_MAINTAINED = 1
    };

    Button() = default;
    // Copies every field, the IR slot included.
    Button(const Button& other) = default;

    // A copy that holds no IR slot.
    Button* clone() const override;
    ControlType getType() const override { return ControlType_BUTTON; }
    void read(Streamer& s) override;
    void write(Streamer& s) const override;
    // The slot of Action_CLICK; NoIRSlot for every other action.
    unsigned char getIRSlotId(Action action) const override;
    void setIRSlotId(Action action, unsigned char slot) override;
    // Takes the theme's Button defaults of "fontSize" and "wordWrap".
    void initialiseFromTheme(const Theme* theme, const Theme* previous) override;
    void render(AbstractRenderer* renderer) const override;

    // Id in the theme's control-image store; UINT_MAX for no image.
    unsigned int getImageId() const { return m_imageId; }
    void setImageId(unsigned int imageId) { m_imageId = imageId; }
    Actuation getActuation() const { return m_actuation; }
    void setActuation(Actuation actuation) { m_actuation = actuation; }
    // Milliseconds.
    int getHeldTimeout() const { return m_heldTimeout; }
    void setHeldTimeout(int timeout) { m_heldTimeout = timeout; }
    int getRepeatInterval() const { return m_repeatInterval; }
    void setRepeatInterval(int interval) { m_repeatInterval = interval; }
    int getFontSize() const { return m_fontSize; }
    void setFontSize(int size) { m_fontSize = size; }
    // Only true counts as on.
    boost::logic::tribool getWordWrap() const { return m_wordWrap; }
    void setWordWrap(boost::logic::tribool wrap) { m_wordWrap = wrap; }

    ButtonFunction getFunction() const { return m_function; }
    // Stores the function and gives the arguments it needs their starting values, keeping a
    // transition already chosen and the page or level of the same function.
    void setFunction(ButtonFunction function);

    // Go To Page: the target page id (UINT_MAX for none chosen); UINT_MAX otherwise.
    unsigned int getFunctionPage() const;
    void setFunctionPage(unsigned int pageId);
    // The page-changing functions: the transition; PageTransition_NONE otherwise.
    PageTransition getFunctionTransition() const;
    void setFunctionTransition(PageTransition transition);
    // The page-changing functions: the duration in milliseconds; -1 otherwise.
    int getFunctionTransitionDuration() const;
    void setFunctionTransitionDuration(int duration);
    // Set Brightness: the level, 0 to 255; -1 otherwise. The setter keeps the low 8 bits.
    int getFunctionLevel() const;
    void setFunctionLevel(int level);

    // Whether the function carries a page transition.
    static bool hasTransition(ButtonFunction function);

private:
    unsigned int m_imageId = UINT_MAX;
    Actuation m_actuation = Actuation_MOMENTARY;
    int m_heldTimeout = 500;
    int m_repeatInterval = 200;
    ButtonFunction m_function = ButtonFunction_NONE;
    // Go To Page's page id, or Set Brightness's level in the low 8 bits.
    qint32 m_functionArgument = -1;
    PageTransition m_transition = PageTransition_NONE;
    qint32 m_transitionDuration = 0;
    unsigned char m_irSlot = NoIRSlot;
    int m_fontSize = 16;
    boost::logic::tribool m_wordWrap = false;
};

constexpr bool isKnown(Button::Actuation actuation)
{
    return actuation == Button::Actuation_MOMENTARY || actuation == Button::Actuation_MAINTAINED;
}

} // namespace Velmora

Q_DECLARE_METATYPE(Velmora::Button::Actuation)
