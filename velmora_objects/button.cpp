#include "velmora_objects/button.h"

#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/stream_fields.h"
#include "velmora_objects/streamer.h"

namespace Velmora {

using namespace StreamFields;

Button* Button::clone() const
{
    Button* copy = new Button(*this);
    copy->m_irSlot = NoIRSlot;
    return copy;
}

void Button::read(Streamer& s)
{
    s.expectTag("Button_start");
    Control::read(s);
    DataStream& fields = s.stream();
    {
        const bool withImage = s.version() >= 13;
        DataStream::Run run(fields, (withImage ? 4 : 0) + 1 + 4 + 4 + 1);
        if (withImage) {
            qint32 imageId = 0;
            run >> imageId;
            m_imageId = quint32(imageId);
        }
        quint8 actuation = 0, function = 0;
        run >> actuation >> m_heldTimeout >> m_repeatInterval >> function;
        // Kept as read, also values no editor gives: the preview takes an unknown actuation
        // for Momentary and an unknown function for None. Such a function, like None, is
        // followed by no argument and no transition, so the stream stays in step.
        m_actuation = Actuation(actuation);
        m_function = ButtonFunction(function);
    }
    if (m_function == ButtonFunction_GO_TO_PAGE)
        m_functionArgument = readInt(s);
    else if (m_function == ButtonFunction_SET_BRIGHTNESS)
        m_functionArgument = readByte(s);
    if (hasTransition(m_function)) {
        quint8 transition = 0;
        DataStream::Run(fields, 1 + 4) >> transition >> m_transitionDuration;
        m_transition = PageTransition(transition); // unknown ones switch pages at once
    }
    // Files before version 9 hold the last two values too, but they meant nothing then.
    quint8 wordWrap = 0;
    qint32 fontSize = 0;
    DataStream::Run(fields, 1 + 4 + 1) >> m_irSlot >> fontSize >> wordWrap;
    if (s.version() >= 9) {
        m_fontSize = fontSize;
        setTriboolFromByte(m_wordWrap, wordWrap);
    }
    s.expectTag("Button_end");
}

void Button::write(Streamer& s) const
{
    constexpr qsizetype TagBytes = sizeof "Button_start" - 1 + sizeof "Button_end" - 1;
    {
        // At most 4 + 1 + 4 + 4 + 1, an argument of 4, a transition of 1 + 4, then 1 + 4 + 1.
        DataStream::Fields out(s.stream(), TagBytes + controlBlockBytes() + 29);
        out.tag("Button_start");
        writeControlBlock(out);
        out << qint32(m_imageId) << qint8(m_actuation) << qint32(m_heldTimeout)
            << qint32(m_repeatInterval) << qint8(m_function);
        if (m_function == ButtonFunction_GO_TO_PAGE)
            out << qint32(m_functionArgument);
        else if (m_function == ButtonFunction_SET_BRIGHTNESS)
            out << qint8(m_functionArgument & 0xff);
        if (hasTransition(m_function))
            out << qint8(m_transition) << qint32(m_transitionDuration);
        out << qint8(m_irSlot) << qint32(m_fontSize) << triboolByte(m_wordWrap);
        out.tag("Button_end");
    }
    s.blockWritten();
}

unsigned char Button::getIRSlotId(Action action) const
{
    return action == Action_CLICK ? m_irSlot : NoIRSlot;
}

void Button::setIRSlotId(Action action, unsigned char slot)
{
    if (action == Action_CLICK)
        m_irSlot = slot;
}

void Button::initialiseFromTheme(const Theme* theme, const Theme* previous)
{
    const ThemeDefaults defaults(theme, previous, ThemedItemType_BUTTON);
    defaults.take("fontSize", m_fontSize);
    defaults.take("wordWrap", m_wordWrap);
}

void Button::render(AbstractRenderer* renderer) const
{
    renderer->renderButton(this);
}

bool Button::hasTransition(ButtonFunction function)
{
    switch (function) {
    case ButtonFunction_NEXT_PAGE:
    case ButtonFunction_PREVIOUS_PAGE:
    case ButtonFunction_GO_TO_PAGE:
    case ButtonFunction_BACK:
        return true;
    default:
        return false;
    }
}

void Button::setFunction(ButtonFunction function)
{
    const ButtonFunction old = m_function;
    const bool hadTransition = hasTransition(old);
    m_function = function;
    switch (function) {
    case ButtonFunction_NEXT_PAGE:
        if (!hadTransition) {
            m_transition = PageTransition_PAN_RIGHT;
            m_transitionDuration = 200;
        }
        break;
    case ButtonFunction_PREVIOUS_PAGE:
    case ButtonFunction_BACK:
        if (!hadTransition) {
            m_transition = PageTransition_PAN_LEFT;
            m_transitionDuration = 200;
        }
        break;
    case ButtonFunction_GO_TO_PAGE:
        if (old != ButtonFunction_GO_TO_PAGE)
            m_functionArgument = -1;
        if (!hadTransition) {
            m_transition = PageTransition_PAN_RIGHT;
            m_transitionDuration = 200;
        }
        break;
    case ButtonFunction_SET_BRIGHTNESS:
        if (old != ButtonFunction_SET_BRIGHTNESS)
            m_functionArgument = 255;
        break;
    default:
        break;
    }
}

unsigned int Button::getFunctionPage() const
{
    return m_function == ButtonFunction_GO_TO_PAGE ? quint32(m_functionArgument) : UINT_MAX;
}

void Button::setFunctionPage(unsigned int pageId)
{
    if (m_function == ButtonFunction_GO_TO_PAGE)
        m_functionArgument = qint32(pageId);
}

PageTransition Button::getFunctionTransition() const
{
    return hasTransition(m_function) ? m_transition : PageTransition_NONE;
}

void Button::setFunctionTransition(PageTransition transition)
{
    if (hasTransition(m_function))
        m_transition = transition;
}

int Button::getFunctionTransitionDuration() const
{
    return hasTransition(m_function) ? m_transitionDuration : -1;
}

void Button::setFunctionTransitionDuration(int duration)
{
    if (hasTransition(m_function))
        m_transitionDuration = duration;
}

int Button::getFunctionLevel() const
{
    return m_function == ButtonFunction_SET_BRIGHTNESS ? (m_functionArgument & 0xff) : -1;
}

void Button::setFunctionLevel(int level)
{
    if (m_function == ButtonFunction_SET_BRIGHTNESS)
        m_functionArgument = level & 0xff;
}

} // namespace Velmora
