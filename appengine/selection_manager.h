#pragma once

#include <QObject>
#include <boost/multi_index/hashed_index.hpp>
#include <boost/multi_index/identity.hpp>
#include <boost/multi_index/sequenced_index.hpp>
#include <boost/multi_index_container.hpp>
#include <climits>
#include <set>
#include <vector>

// The editor's selection: pages, controls or page switchers (never a mix) in the order the
// user selected them, and the current page. It holds ids only and does not check them
// against the project.
//
// Signals: selectionChanged() after every change of the selected ids; currentPageChanged()
// when a page selection makes another page current (or none), always before the
// selectionChanged() of the same change.
class SelectionManager : public QObject
{
    Q_OBJECT

public:
    enum SelectionKind
    {
        SelectionKind_NONE = 0,
        SelectionKind_PAGES = 1,
        SelectionKind_CONTROLS = 2,
        SelectionKind_PAGE_SWITCHERS = 3
    };

private:
    // Selection order, and a hashed index for membership tests.
    using IdContainer = boost::multi_index_container<
        unsigned int,
        boost::multi_index::indexed_by<
            boost::multi_index::sequenced<>,
            boost::multi_index::hashed_unique<boost::multi_index::identity<unsigned int>>>>;

public:
    using const_iterator = IdContainer::const_iterator;

    explicit SelectionManager(QObject* parent = nullptr);

    SelectionKind kind() const { return m_kind; }
    std::size_t size() const { return m_ids.size(); }
    bool isEmpty() const { return m_ids.empty(); }

    // UINT_MAX when no page is current. Setting it directly emits nothing.
    unsigned int currentPage() const { return m_currentPage; }
    void setCurrentPage(unsigned int pageId) { m_currentPage = pageId; }

    bool isSelected(SelectionKind kind, unsigned int id) const;
    bool isPageSelected(unsigned int id) const { return isSelected(SelectionKind_PAGES, id); }
    bool isControlSelected(unsigned int id) const { return isSelected(SelectionKind_CONTROLS, id); }
    bool isPageSwitcherSelected(unsigned int id) const
    {
        return isSelected(SelectionKind_PAGE_SWITCHERS, id);
    }

    // The ids in selection order, the first selected first. Valid until the next change.
    const std::vector<unsigned int>& selectedIdVector() const;
    // The ids ascending. Valid until the next change.
    const std::set<unsigned int>& selectedIds() const;
    // The ids in selection order.
    const_iterator begin() const { return m_ids.begin(); }
    const_iterator end() const { return m_ids.end(); }

    // select adds the id, or removes it when false; exclusive replaces the selection, else a
    // selection of the same kind is extended. Selecting the page that alone is selected
    // changes nothing.
    void selectPage(unsigned int pageId, bool select, bool exclusive);
    void selectPages(const std::set<unsigned int>& pageIds, bool exclusive);
    void selectControl(unsigned int controlId, bool select, bool exclusive);
    void selectControls(const std::set<unsigned int>& controlIds, bool exclusive);
    // Always exclusive.
    void selectPageSwitcher(unsigned int pageSwitcherId, bool select);

    // Empties the selection, emitting selectionChanged() unless quiet when anything was
    // selected; returns whether anything was. The current page stays.
    bool clear(bool quiet);

public slots:
    void clear() { clear(false); }

signals:
    void selectionChanged();
    void currentPageChanged(uint pageId);

private:
    bool select(SelectionKind kind, unsigned int id, bool select, bool exclusive);
    bool selectSet(SelectionKind kind, const std::set<unsigned int>& ids, bool exclusive);
    // After a page selection: the single selected page becomes current, several make none
    // current.
    void updateCurrentPage();
    void markStale();

    unsigned int m_currentPage = UINT_MAX;
    IdContainer m_ids;
    SelectionKind m_kind = SelectionKind_NONE;
    mutable bool m_setStale = true;
    mutable bool m_vectorStale = true;
    mutable std::set<unsigned int> m_idSet;
    mutable std::vector<unsigned int> m_idVector;
};
