#include "velmora_objects/qml/qml_controller.h"

#include "velmora_objects/button.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/qml/qml_configuration.h"
#include "velmora_objects/qml/qml_control.h"
#include "velmora_objects/qml/qml_page.h"
#include "velmora_objects/qml/qml_page_switcher.h"

#include <QPointer>
#include <algorithm>

namespace VelmoraQML {

namespace {

template <typename T> void eraseAll(std::vector<T*>& list, const QObject* object)
{
    list.erase(std::remove(list.begin(), list.end(), object), list.end());
}

} // namespace

QMLController::QMLController(const Callbacks& callbacks, QObject* parent)
    : QObject(parent), m_callbacks(callbacks)
{
}

void QMLController::setConfiguration(QMLConfiguration* configuration)
{
    if (QMLPage* page = m_currentPage) {
        m_currentPage = nullptr;
        emit page->hidePage(QMLConfigObject::SnapTransition, 200);
    }
    if (QMLPageSwitcher* pageSwitcher = m_currentPageSwitcher) {
        m_currentPageSwitcher = nullptr;
        emit pageSwitcher->hidePageSwitcher(QMLConfigObject::SnapTransition, 200);
    }
    // Page-switcher buttons stay: they leave their lists when they are destroyed.
    m_pages.clear();
    m_lockPage.page = nullptr;
    m_pageSwitchers.clear();
    m_controls.clear();
    m_backHistory.clear();
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
    eraseAll(it->second, control);
    if (it->second.empty())
        m_controls.erase(it);
}

std::vector<QMLControl*> QMLController::controlsWithKey(const QString& controlKey) const
{
    const auto it = m_controls.find(controlKey);
    return it == m_controls.end() ? std::vector<QMLControl*>() : it->second;
}

void QMLController::removePageItem(QMLPage* page)
{
    m_pages.erase(page);
    if (m_lockPage.page == page)
        m_lockPage.page = nullptr;
    // The page goes without being hidden, and the history keeps its id.
    if (m_currentPage == page)
        m_currentPage = nullptr;
}

void QMLController::removePageSwitcherItem(QMLPageSwitcher* pageSwitcher)
{
    // By object rather than by id: a later switcher registered under the same id replaced
    // this one and must stay.
    for (auto it = m_pageSwitchers.begin(); it != m_pageSwitchers.end();) {
        if (it->second == pageSwitcher)
            it = m_pageSwitchers.erase(it);
        else
            ++it;
    }
    if (m_currentPageSwitcher == pageSwitcher)
        m_currentPageSwitcher = nullptr;
}

bool QMLController::hasPage(const QObject* page) const
{
    if (page && page == m_lockPage.page)
        return true;
    return std::any_of(m_pages.begin(), m_pages.end(),
                       [page](const PageEntry& entry) { return entry.page == page; });
}

bool QMLController::hasPageSwitcher(const QObject* pageSwitcher) const
{
    return std::any_of(m_pageSwitchers.begin(), m_pageSwitchers.end(),
                       [pageSwitcher](const auto& entry) { return entry.second == pageSwitcher; });
}

std::vector<QObject*> QMLController::pageSwitcherButtons(const QString& targetPage) const
{
    const auto it = m_pageSwitcherButtons.find(targetPage);
    return it == m_pageSwitcherButtons.end() ? std::vector<QObject*>() : it->second;
}

const Velmora::Configuration* QMLController::project() const
{
    return m_configuration ? m_configuration->configuration() : nullptr;
}

void QMLController::handleControlEvent(const QString& controlKey, int event, const QVariant& value)
{
    if (!m_enabled)
        return;
    const Velmora::Configuration* configuration = project();
    // On the lock page a code goes nowhere else: the right one unlocks, a wrong one is
    // dropped.
    if (configuration && m_currentPage && m_currentPage->configId() == LockPageId &&
        event == QMLControl::Event_KEYPAD_CODE_ENTERED) {
        if (value.toString() == configuration->getUnlockCode())
            unlock();
        return;
    }
    if (m_callbacks.controlEvent)
        m_callbacks.controlEvent(controlKey, event, value);
}

void QMLController::triggerButtonFunction(unsigned int controlId)
{
    const Velmora::Configuration* configuration = project();
    if (!m_enabled || !configuration)
        return;
    const Velmora::Button* button = configuration->getControl<Velmora::Button>(controlId);
    if (!button)
        return;
    const int transition = button->getFunctionTransition();
    const int duration = button->getFunctionTransitionDuration();
    switch (button->getFunction()) {
    case Velmora::ButtonFunction_NEXT_PAGE:
        goToNextPage(transition, duration);
        break;
    case Velmora::ButtonFunction_PREVIOUS_PAGE:
        goToPrevPage(transition, duration);
        break;
    case Velmora::ButtonFunction_GO_TO_PAGE:
        if (button->getFunctionPage() != UINT_MAX) {
            if (QMLPage* page = pageWithIdOrWanted(int(button->getFunctionPage())))
                switchToPage(page, transition, duration, false);
        }
        break;
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
    case Velmora::ButtonFunction_BACK:
        navigateBack(transition, duration);
        break;
    case Velmora::ButtonFunction_LOCK:
        if (!configuration->getUnlockCode().isEmpty()) {
            // A host that builds its pages on demand builds the lock page when it is asked.
            if (QMLPage* lockPage = pageWithIdOrWanted(LockPageId))
                switchToPage(lockPage, QMLConfigObject::SnapTransition, 200, false);
        }
        break;
    default:
        break;
    }
}

void QMLController::switchToPage(QMLPage* page, int transition, int msecs, bool isBack)
{
    if (page == m_currentPage)
        return;

    bool pageSwitcherStays = false;
    if (QMLPage* previous = m_currentPage) {
        // Read before any signal: the handlers run QML of their own.
        const int previousId = previous->configId();
        const QString previousName = previous->name();
        if (m_currentPageSwitcher && page &&
            page->pageSwitcherId() == m_currentPageSwitcher->configId()) {
            pageSwitcherStays = true;
        } else if (QMLPageSwitcher* pageSwitcher = m_currentPageSwitcher) {
            m_currentPageSwitcher = nullptr;
            emit pageSwitcher->hidePageSwitcher(transition, msecs);
        }
        indicatePage(previousName, false);
        if (previousId != LockPageId && m_callbacks.pageChanged)
            m_callbacks.pageChanged(previousName, false);
        emit previous->hidePage(transition, msecs);
        if (!isBack && previousId != LockPageId) {
            m_backHistory.push_back(previousId);
            if (m_backHistory.size() > MaximumHistory)
                m_backHistory.pop_front();
        }
    }

    m_currentPage = page;
    if (!page)
        return;
    const QString name = page->name();
    const int id = page->configId();
    emit page->showPage(transition, msecs);
    if (!pageSwitcherStays && page->pageSwitcherId() != QMLPage::NoPageSwitcher) {
        const auto it = m_pageSwitchers.find(page->pageSwitcherId());
        if (it != m_pageSwitchers.end()) {
            m_currentPageSwitcher = it->second;
            emit it->second->showPageSwitcher(transition, msecs);
        }
    }
    indicatePage(name, true);
    if (id != LockPageId && m_callbacks.pageChanged)
        m_callbacks.pageChanged(name, true);
    // The editor's navigation follows first; when it makes the page its own current page the
    // scene shows it already, and pageSwitched finds nothing left to do.
    emit currentPageChanged(id);
    if (m_currentPage == page)
        emit pageSwitched(page);
}

void QMLController::setShownPage(QMLPage* page)
{
    QMLPage* const shown = page && hasPage(page) ? page : nullptr;
    // The switcher buttons mark the page shown, however it came to be shown.
    if (m_currentPage && m_currentPage != shown)
        indicatePage(m_currentPage->name(), false);
    m_currentPage = shown;
    m_currentPageSwitcher = nullptr;
    if (m_currentPage) {
        const auto it = m_pageSwitchers.find(m_currentPage->pageSwitcherId());
        if (it != m_pageSwitchers.end())
            m_currentPageSwitcher = it->second;
        indicatePage(m_currentPage->name(), true);
    }
}

void QMLController::setControlValue(const QString& controlKey, unsigned int channel, int value)
{
    for (QMLControl* control : controlsWithKey(controlKey))
        control->setValue(channel, value);
}

void QMLController::sendControlEvent(const QString& controlKey, int event, const QVariant& value)
{
    for (QMLControl* control : controlsWithKey(controlKey))
        emit control->eventReceived(event, value);
}

void QMLController::setControlSkin(const QString& controlKey, const QString& skinName)
{
    for (QMLControl* control : controlsWithKey(controlKey))
        control->setSkin(skinName);
}

void QMLController::setControlCaption(const QString& controlKey, const QString& caption)
{
    for (QMLControl* control : controlsWithKey(controlKey))
        control->setProperty("caption", caption);
}

void QMLController::handleIRSlot(unsigned char slot, bool pressed)
{
    const Velmora::Configuration* configuration = project();
    if (!m_enabled || !configuration)
        return;
    const Velmora::IRAction assignment = configuration->getIRSlotAssignment(slot);
    if (assignment.action == Velmora::NoAction || assignment.controlId == UINT_MAX)
        return;
    const QString& key = configuration->getControl(assignment.controlId).getName();
    for (QMLControl* control : controlsWithKey(key)) {
        if (control->configId() == int(assignment.controlId))
            control->handleIRAction(assignment.action, pressed);
    }
}

void QMLController::addPage(QObject* object)
{
    QMLPage* page = qobject_cast<QMLPage*>(object);
    if (!page)
        return;
    const PageEntry entry{page, page->configId(), page->sortValue(), page->name()};
    // The lock page has no name, and a page of the project may have none either: kept apart,
    // neither refuses the other.
    if (entry.configId == LockPageId) {
        if (!m_lockPage.page)
            m_lockPage = entry;
        return;
    }
    m_pages.insert(entry);
}

void QMLController::removePage(QObject* object)
{
    if (QMLPage* page = qobject_cast<QMLPage*>(object))
        removePageItem(page);
}

void QMLController::addPageSwitcher(QObject* object)
{
    if (QMLPageSwitcher* pageSwitcher = qobject_cast<QMLPageSwitcher*>(object))
        m_pageSwitchers[pageSwitcher->configId()] = pageSwitcher;
}

void QMLController::removePageSwitcher(QObject* object)
{
    if (QMLPageSwitcher* pageSwitcher = qobject_cast<QMLPageSwitcher*>(object))
        removePageSwitcherItem(pageSwitcher);
}

void QMLController::addPageSwitcherButton(QObject* button)
{
    if (!button)
        return;
    const QString targetPage = button->property("targetPage").toString();
    m_pageSwitcherButtons[targetPage].push_back(button);
    connect(button, &QObject::destroyed, this, &QMLController::forgetPageSwitcherButton,
            Qt::UniqueConnection);
    // A switcher made while its page is shown marks that page's button at once.
    if (m_currentPage && m_currentPage->name() == targetPage)
        QMetaObject::invokeMethod(button, "indicateCurrentPage", Q_ARG(QVariant, true));
}

void QMLController::removePageSwitcherButton(QObject* button)
{
    if (!button)
        return;
    const auto it = m_pageSwitcherButtons.find(button->property("targetPage").toString());
    if (it == m_pageSwitcherButtons.end())
        return;
    eraseAll(it->second, button);
    if (it->second.empty())
        m_pageSwitcherButtons.erase(it);
}

void QMLController::fireTrigger(int triggerNumber, QVariantList args)
{
    if (m_enabled && m_callbacks.trigger)
        m_callbacks.trigger(triggerNumber, args);
}

void QMLController::goToPage(int pageId, int transition, int msecs, bool isBack)
{
    if (QMLPage* page = pageWithIdOrWanted(pageId))
        switchToPage(page, transition, msecs, isBack);
}

void QMLController::goToPage(QString pageName, int transition, int msecs)
{
    QMLPage* page = pageWithName(pageName);
    if (!page) {
        emit pageWanted(0, pageName);
        page = pageWithName(pageName);
    }
    if (page)
        switchToPage(page, transition, msecs, false);
}

void QMLController::goToNextPage(int transition, int msecs)
{
    if (QMLPage* page = neighbourPage(true))
        switchToPage(page, transition, msecs, false);
}

void QMLController::goToPrevPage(int transition, int msecs)
{
    if (QMLPage* page = neighbourPage(false))
        switchToPage(page, transition, msecs, false);
}

void QMLController::navigateBack(int transition, int msecs)
{
    if (m_backHistory.empty())
        return;
    // An entry whose page is gone is dropped all the same.
    const int pageId = m_backHistory.back();
    m_backHistory.pop_back();
    if (QMLPage* page = pageWithIdOrWanted(pageId))
        switchToPage(page, transition, msecs, true);
}

QMLPage* QMLController::pageWithId(int configId) const
{
    if (configId == LockPageId)
        return m_lockPage.page;
    const auto& byId = m_pages.get<1>();
    const auto it = byId.find(configId);
    return it == byId.end() ? nullptr : it->page;
}

QMLPage* QMLController::pageWithIdOrWanted(int configId)
{
    if (QMLPage* page = pageWithId(configId))
        return page;
    emit pageWanted(configId, QString());
    return pageWithId(configId);
}

QMLPage* QMLController::pageWithName(const QString& name) const
{
    const auto& byName = m_pages.get<3>();
    const auto it = byName.find(name);
    return it == byName.end() ? nullptr : it->page;
}

QMLPage* QMLController::neighbourPage(bool forward) const
{
    const auto& bySortValue = m_pages.get<2>();
    // From the lock page, the pages on either side of the place its sort value gives it.
    if (m_currentPage && m_currentPage == m_lockPage.page) {
        if (bySortValue.empty())
            return nullptr;
        if (forward) {
            const auto it = bySortValue.upper_bound(m_lockPage.sortValue);
            return (it == bySortValue.end() ? bySortValue.begin() : it)->page;
        }
        auto it = bySortValue.lower_bound(m_lockPage.sortValue);
        if (it == bySortValue.begin())
            it = bySortValue.end();
        return (--it)->page;
    }
    const auto& byAddress = m_pages.get<0>();
    const auto current = byAddress.find(m_currentPage);
    if (current == byAddress.end())
        return nullptr;
    const auto start = m_pages.project<2>(current);
    auto it = start;
    if (forward) {
        if (++it == bySortValue.end())
            it = bySortValue.begin();
    } else {
        if (it == bySortValue.begin())
            it = bySortValue.end();
        --it;
    }
    return it == start ? nullptr : it->page;
}

void QMLController::indicatePage(const QString& pageName, bool current)
{
    const auto it = m_pageSwitcherButtons.find(pageName);
    if (it == m_pageSwitcherButtons.end())
        return;
    // A button's function may end another button; the guards skip those.
    const std::vector<QPointer<QObject>> buttons(it->second.begin(), it->second.end());
    for (const QPointer<QObject>& button : buttons) {
        if (button)
            QMetaObject::invokeMethod(button, "indicateCurrentPage", Q_ARG(QVariant, current));
    }
}

void QMLController::unlock()
{
    const Velmora::Configuration* configuration = project();
    if (!configuration || !m_currentPage || m_currentPage->configId() != LockPageId)
        return;
    // The lock page never enters the history, so Back returns to the page locked from.
    if (configuration->getUnlockFunction() == Velmora::ButtonFunction_BACK) {
        navigateBack(QMLConfigObject::PanLeftTransition, 200);
    } else if (configuration->getDefaultPageId() != UINT_MAX) {
        if (QMLPage* page = pageWithIdOrWanted(int(configuration->getDefaultPageId())))
            switchToPage(page, QMLConfigObject::SnapTransition, 200, false);
    }
}

void QMLController::forgetPageSwitcherButton(QObject* button)
{
    for (auto it = m_pageSwitcherButtons.begin(); it != m_pageSwitcherButtons.end();) {
        eraseAll(it->second, button);
        if (it->second.empty())
            it = m_pageSwitcherButtons.erase(it);
        else
            ++it;
    }
}

} // namespace VelmoraQML
