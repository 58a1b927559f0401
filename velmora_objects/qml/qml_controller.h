#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <boost/multi_index/member.hpp>
#include <boost/multi_index/ordered_index.hpp>
#include <boost/multi_index_container.hpp>
#include <list>
#include <map>
#include <vector>

namespace Velmora {
class Configuration;
}

namespace VelmoraQML {

class QMLConfiguration;
class QMLControl;
class QMLPage;
class QMLPageSwitcher;

// The context object "controller": it makes the live preview behave as the panel does.
// Pages, page switchers and page-switcher buttons register from their components, controls
// under their control key; every item leaves its registry when it is destroyed. The
// controller shows one page at a time (snap or pan) with the page switcher of that page,
// highlights the page-switcher buttons of the page shown, keeps the history of the Back
// function, performs button functions, guards the lock page (configId -1) with the project's
// unlock code, and hands control events to a host through optional callbacks.
class QMLController : public QObject
{
    Q_OBJECT

public:
    // Functions of a host that drives a panel from outside; each may be null (the editor
    // gives none).
    struct Callbacks
    {
        // Every control event that the lock page does not take.
        void (*controlEvent)(const QString& controlKey, int event, const QVariant& value) = nullptr;
        // A page other than the lock page was hidden (false) or shown (true).
        void (*pageChanged)(const QString& pageName, bool shown) = nullptr;
        void (*trigger)(int triggerNumber, QVariantList args) = nullptr;
        // Mode 1 increase and 2 decrease by the value, 0 set to it.
        void (*brightness)(int mode, int value) = nullptr;
    };

    // configId of the page that asks for the unlock code.
    static constexpr int LockPageId = -1;
    // The most page ids the Back history keeps; older ones are dropped.
    static constexpr std::size_t MaximumHistory = 50;

    QMLController(const Callbacks& callbacks, QObject* parent = nullptr);

    const Callbacks& callbacks() const { return m_callbacks; }
    bool isEnabled() const { return m_enabled; }

    // Attaches a configuration item (or none): hides the page and page switcher shown and
    // forgets every registered page, page switcher and control and the history.
    void setConfiguration(QMLConfiguration* configuration);
    QMLConfiguration* configuration() const { return m_configuration; }

    // Controls by control key, in registration order.
    void addControl(QMLControl* control);
    void removeControl(QMLControl* control);
    std::vector<QMLControl*> controlsWithKey(const QString& controlKey) const;

    // Called by the items' destructors.
    void removePageItem(QMLPage* page);
    void removePageSwitcherItem(QMLPageSwitcher* pageSwitcher);

    bool hasPage(const QObject* page) const;
    bool hasPageSwitcher(const QObject* pageSwitcher) const;
    std::vector<QObject*> pageSwitcherButtons(const QString& targetPage) const;
    QMLPage* currentPage() const { return m_currentPage; }
    QMLPageSwitcher* currentPageSwitcher() const { return m_currentPageSwitcher; }
    // Page ids, oldest first.
    const std::list<int>& backHistory() const { return m_backHistory; }

    // A control event of a live item: taken by the lock page when it is a code, else handed
    // to the host.
    void handleControlEvent(const QString& controlKey, int event, const QVariant& value);
    // Performs the function of the button with that control id (which must be in the
    // project).
    void triggerButtonFunction(unsigned int controlId);
    // Hides the page shown and shows this one (none: only hides), with the transition
    // (QMLConfigObject::Transition) over msecs. A move back adds nothing to the history.
    void switchToPage(QMLPage* page, int transition, int msecs, bool isBack);
    // A host that shows pages directly (the editor's preview) names the page it shows (or
    // none): it becomes the current page, with the registered page switcher of its
    // switcher id, so that the controller's next move starts from it. The page-switcher
    // buttons of the page hidden lose their mark and those of the page shown get it; nothing
    // is emitted and the history is not touched.
    void setShownPage(QMLPage* page);

    // Host operations, each on every control registered under the key, in registration
    // order.
    void setControlValue(const QString& controlKey, unsigned int channel, int value);
    void sendControlEvent(const QString& controlKey, int event, const QVariant& value);
    void setControlSkin(const QString& controlKey, const QString& skinName);
    void setControlCaption(const QString& controlKey, const QString& caption);
    // The IR action that the project assigns to the slot, on the controls that show that
    // control.
    void handleIRSlot(unsigned char slot, bool pressed);

    // Registration from the components. A page whose id, sort value or name is taken by a
    // registered page is refused; a page switcher replaces one registered under its id. The
    // lock page (LockPageId), which has no name and no place of its own among the pages, is
    // kept apart from them: whatever the pages are called or ordered by, it registers (a
    // second lock page is refused).
    Q_INVOKABLE void addPage(QObject* page);
    Q_INVOKABLE void removePage(QObject* page);
    Q_INVOKABLE void addPageSwitcher(QObject* pageSwitcher);
    Q_INVOKABLE void removePageSwitcher(QObject* pageSwitcher);
    // Page-switcher buttons by their property "targetPage"; the controller invokes their
    // "indicateCurrentPage" when that page is shown (true) or hidden (false), and with true
    // at once for a button of the page shown.
    Q_INVOKABLE void addPageSwitcherButton(QObject* button);
    Q_INVOKABLE void removePageSwitcherButton(QObject* button);

signals:
    // goToPage, Back, unlocking or a button's Lock found no registered page of that id (or,
    // when the name is not empty, of that name; LockPageId for the lock page). A host that
    // builds page items on demand builds it now, before returning; the controller then looks
    // again.
    void pageWanted(int configId, const QString& name);
    // The controller's own page switching made the page current: a page-switcher button, a
    // button function, Back or unlocking.
    void pageSwitched(VelmoraQML::QMLPage* page);

public slots:
    void fireTrigger(int triggerNumber, QVariantList args = QVariantList());
    void goToPage(int pageId, int transition = 0, int msecs = 200, bool isBack = false);
    void goToPage(QString pageName, int transition = 0, int msecs = 200);
    // The next and previous page in sort order, wrapping round and passing the lock page.
    void goToNextPage(int transition = 2, int msecs = 200);
    void goToPrevPage(int transition = 1, int msecs = 200);
    void navigateBack(int transition = 1, int msecs = 200);
    // While disabled, triggers, control events and button functions are ignored.
    void setEnabled(bool enable) { m_enabled = enable; }

signals:
    // Another page became the page shown (configId of the page), after its switch finished;
    // a switch to no page emits nothing. The editor follows the preview's own navigation
    // with it.
    void currentPageChanged(int configId);

private:
    // A registered page with the keys it had when it registered: the indexes stay sound
    // whatever QML later writes into the page.
    struct PageEntry
    {
        QMLPage* page;
        int configId;
        int sortValue;
        QString name;
    };
    struct ConfigIdExtractor
    {
        using result_type = int;
        int operator()(const PageEntry& entry) const { return entry.configId; }
    };
    struct SortOrderExtractor
    {
        using result_type = int;
        int operator()(const PageEntry& entry) const { return entry.sortValue; }
    };
    struct NameExtractor
    {
        using result_type = QString;
        const QString& operator()(const PageEntry& entry) const { return entry.name; }
    };
    using PageRegistry = boost::multi_index_container<
        PageEntry, boost::multi_index::indexed_by<
                       boost::multi_index::ordered_unique<
                           boost::multi_index::member<PageEntry, QMLPage*, &PageEntry::page>>,
                       boost::multi_index::ordered_unique<ConfigIdExtractor>,
                       boost::multi_index::ordered_unique<SortOrderExtractor>,
                       boost::multi_index::ordered_unique<NameExtractor>>>;

    QMLPage* pageWithId(int configId) const;
    QMLPage* pageWithName(const QString& name) const;
    // The registered page of the id; one the host builds on pageWanted when none is.
    QMLPage* pageWithIdOrWanted(int configId);
    // The nearest page that is not the lock page, walking the sort order with wrap (from the
    // lock page, from its sort value); null when there is none but the current page.
    QMLPage* neighbourPage(bool forward) const;
    void indicatePage(const QString& pageName, bool current);
    void unlock();
    // A page-switcher button was destroyed: it leaves every list.
    void forgetPageSwitcherButton(QObject* button);
    // The project read through the attached configuration item; null without one.
    const Velmora::Configuration* project() const;

    Callbacks m_callbacks;
    QMLConfiguration* m_configuration = nullptr;
    PageRegistry m_pages;
    // The registered lock page, never one of m_pages; a null page while none is.
    PageEntry m_lockPage{nullptr, LockPageId, 0, QString()};
    std::map<int, QMLPageSwitcher*> m_pageSwitchers;
    std::map<QString, std::vector<QObject*>> m_pageSwitcherButtons;
    std::map<QString, std::vector<QMLControl*>> m_controls;
    bool m_enabled = true;
    QMLPage* m_currentPage = nullptr;
    QMLPageSwitcher* m_currentPageSwitcher = nullptr;
    std::list<int> m_backHistory;
};

} // namespace VelmoraQML
