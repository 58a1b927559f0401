#include "velmora_objects/qml/qml_controller.h"

#include "velmora_objects/button.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/qml/qml_configuration.h"
#include "velmora_objects/qml/qml_control.h"
#include "velmora_objects/qml/qml_page.h"
#include "velmora_objects/qml/qml_page_switcher.h"

#include <algorithm>

namespace VelmoraQML {

QMLController::QMLController(const Callbacks& callbacks, QObject* parent)
    : QObject(parent), m_callbacks(callbacks)
{
}

void QMLController::setConfiguration(QMLConfiguration* configuration)
{
    m_pages.clear();
    m_pageSwitchers.clear();
    m_controls.clear();
    m_configuration = configuration;
}

void QMLController::addControl(QMLControl* control)
{
    if (control)
        m_controls[control->controlKey()].push_back(control);
}

void QMLController::removeControl(QMLControl* control)
{
    if (!control)
        return;
    const auto it = m_controls.find(control->controlKey());
    if (it == m_controls.end())
        return;
    auto& list = it->second;
    list.erase(std::remove(list.begin(), list.end(), control), list.end());
    if (list.empty())
        m_controls.erase(it);
}

std::vector<QMLControl*> QMLController::controlsWithKey(const QString& controlKey) const
{
    const auto it = m_controls.find(controlKey);
    return it == m_controls.end() ? std::vector<QMLControl*>() : it->second;
}

bool QMLController::hasPage(const QObject* page) const
{
    return std::find(m_pages.begin(), m_pages.end(), page) != m_pages.end();
}

bool QMLController::hasPageSwitcher(const QObject* pageSwitcher) const
{
    return std::any_of(m_pageSwitchers.begin(), m_pageSwitchers.end(),
                       [pageSwitcher](const auto& entry) { return entry.second == pageSwitcher; });
}

void QMLController::handleControlEvent(const QString& controlKey, int event, const QVariant& value)
{
    if (!m_enabled)
        return;
    if (m_callbacks.controlEvent)
        m_callbacks.controlEvent(controlKey, event, value);
}

void QMLController::triggerButtonFunction(unsigned int controlId)
{
    if (!m_enabled || !m_configuration || !m_configuration->configuration())
        return;
    const Velmora::Button* button =
        m_configuration->configuration()->getControl<Velmora::Button>(controlId);
    if (!button)
        return;
    // The page functions (next, previous, go to page, back, lock) act through the page
    // navigation, which builds on the registries above.
    switch (button->getFunction()) {
    case Velmora::ButtonFunction_INCREASE_BRIGHTNESS:
        if (m_callbacks.brightness)
            m_callbacks.brightness(1, 10);
        break;
    case Velmora::ButtonFunction_DECREASE_BRIGHTNESS:
        if (m_callbacks.brightness)
            m_callbacks.brightness(2, 10);
        break;
    case Velmora::ButtonFunction_SET_BRIGHTNESS:
        if (m_callbacks.brightness)
            m_callbacks.brightness(0, button->getFunctionLevel());
        break;
    default:
        break;
    }
}

void QMLController::addPage(QObject* object)
{
    QMLPage* page = qobject_cast<QMLPage*>(object);
    if (page && !hasPage(page))
        m_pages.push_back(page);
}

void QMLController::removePage(QObject* object)
{
    QMLPage* page = qobject_cast<QMLPage*>(object);
    if (page)
        m_pages.erase(std::remove(m_pages.begin(), m_pages.end(), page), m_pages.end());
}

void QMLController::addPageSwitcher(QObject* object)
{
    QMLPageSwitcher* pageSwitcher = qobject_cast<QMLPageSwitcher*>(object);
    if (pageSwitcher)
        m_pageSwitchers[pageSwitcher->configId()] = pageSwitcher;
}

void QMLController::removePageSwitcher(QObject* object)
{
    QMLPageSwitcher* pageSwitcher = qobject_cast<QMLPageSwitcher*>(object);
    if (!pageSwitcher)
        return;
    // By object rather than by id, so that a switcher whose id changed leaves no stale entry.
    for (auto it = m_pageSwitchers.begin(); it != m_pageSwitchers.end();) {
        if (it->second == pageSwitcher)
            it = m_pageSwitchers.erase(it);
        else
            ++it;
    }
}

} // namespace VelmoraQML
