#pragma once

#include "containers/smart_ptr.h"
#include "containers/sortvector.h"
#include "core/block_pool.h"
#include "velmora_objects/control.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/renderable.h"
#include "velmora_objects/velmora_types.h"

#include <QMultiMap>
#include <QString>
#include <boost/bimap.hpp>
#include <boost/bimap/set_of.hpp>
#include <climits>
#include <vector>

namespace Velmora {

class Skin;
class Streamer;
class Theme;

// One action of one control that an IR slot triggers. Ordered by control id, then action.
struct IRAction
{
    IRAction() = default;
    IRAction(unsigned int controlId, Action action) : controlId(controlId), action(action) {}

    bool operator<(const IRAction& other) const
    {
        return controlId != other.controlId ? controlId < other.controlId
                                            : int(action) < int(other.action);
    }
    bool operator==(const IRAction& other) const
    {
        return controlId == other.controlId && action == other.action;
    }
    bool operator!=(const IRAction& other) const { return !(*this == other); }

    unsigned int controlId = UINT_MAX;
    Action action = NoAction;
};

// The project's name and screen. Width and height always follow the orientation: 480 × 272
// for landscape (1), 272 × 480 for any other value.
struct ConfigurationHeader
{
    void setOrientation(int value);

    QString name;
    int orientation = 0;
    int width = -1;
    int height = -1;
};

// The project: its header, its theme, its pages, page switchers and controls, the table that
// assigns IR remote slots to control actions, the panel's security settings (unlock code,
// unlock function, lock timeout), the default page and a serial number. It owns everything it
// holds and writes and reads the whole project file.
//
// Ids of pages, page switchers and controls are those of their containers; UINT_MAX means
// none. Asking for an element that is not stored is a programming error and ends the program.
// Each control lies on a page that holds its id, and the IR table mirrors the slots that the
// buttons and sliders keep themselves: at most one entry per slot and per (control, action).
class Configuration : public Renderable
{
public:
    // Slot number on the left, (control, action) on the right; both sides unique. Its nodes
    // come from the block pool: a project may use every slot.
    using IRSlotTable = boost::bimap<boost::bimaps::set_of<unsigned char>,
                                     boost::bimaps::set_of<IRAction>, BlockPool::Allocator<char>>;

    static constexpr unsigned int MaximumPages = 256;
    static constexpr unsigned int MaximumPageSwitchers = 256;
    static constexpr unsigned int MaximumControls = 4096;
    // Distance between the sort values of neighbouring pages.
    static constexpr int SortValueStep = 65536;

    // An empty project without a theme; its owner clears it before use.
    Configuration();
    Configuration(const Configuration&) = delete;
    Configuration& operator=(const Configuration&) = delete;
    // Deletes the theme and every page, page switcher and control.
    ~Configuration() override;

    // A new, empty landscape project: no name, no theme, no elements, no IR assignments, no
    // unlock code, unlock function Go To Page (shown as "Home"), no lock timeout, no default
    // page and a new serial.
    void clear();

    const ConfigurationHeader& getHeader() const { return header; }
    const QString& getName() const { return header.name; }
    void setName(const QString& name) { header.name = name; }
    // 1 landscape, 2 portrait; sets the width and height to match.
    int getOrientation() const { return header.orientation; }
    void setOrientation(int orientation) { header.setOrientation(orientation); }
    int getWidth() const { return header.width; }
    int getHeight() const { return header.height; }

    // Taken from a process-wide counter; names the preview's theme image provider.
    int getSerial() const { return serial; }
    void assignSerial();

    // The project's theme, or null.
    Theme* getTheme() { return theme; }
    const Theme* getTheme() const { return theme; }
    // Deletes the theme held before and takes the new one (null allowed). Setting the theme
    // already held changes nothing.
    void setTheme(Theme* newTheme);
    // Hands the theme over to the caller and leaves the project without one.
    Theme* takeTheme()
    {
        Theme* taken = theme;
        theme = nullptr;
        return taken;
    }

    // The containers, walked in page order (pages) and in id order (the others).
    sortvector<Page>& getPages() { return pages; }
    const sortvector<Page>& getPages() const { return pages; }
    sortvector<PageSwitcher>& getPageSwitchers() { return pageSwitchers; }
    const sortvector<PageSwitcher>& getPageSwitchers() const { return pageSwitchers; }
    sortvector<Control>& getControls() { return controls; }
    const sortvector<Control>& getControls() const { return controls; }

    Page& getPage(unsigned int pageId);
    const Page& getPage(unsigned int pageId) const;
    PageSwitcher& getPageSwitcher(unsigned int pageSwitcherId);
    const PageSwitcher& getPageSwitcher(unsigned int pageSwitcherId) const;
    Control& getControl(unsigned int controlId);
    const Control& getControl(unsigned int controlId) const;
    // The control as a T; null when it is of another class.
    template <class T> T* modControl(unsigned int controlId)
    {
        return dynamic_cast<T*>(&getControl(controlId));
    }
    template <class T> const T* getControl(unsigned int controlId) const
    {
        return dynamic_cast<const T*>(&getControl(controlId));
    }

    // A new page placed after the last one, under the lowest free id; UINT_MAX when the
    // project holds the most pages it can.
    unsigned int addPage();
    // Store the element under id (UINT_MAX: the lowest free id) and return that id; on
    // failure they return UINT_MAX and the element stays with the caller.
    unsigned int insertPage(smart_ptr<Page>& page, unsigned int id);
    unsigned int insertPageSwitcher(smart_ptr<PageSwitcher>& pageSwitcher, unsigned int id);
    // Also enters the control's own IR slots in the IR table, under the id it was stored
    // under. The page's set of control ids is not touched.
    unsigned int insertControl(smart_ptr<Control>& control, unsigned int id);
    unsigned int registerControlIRSlots(smart_ptr<Control>& control, unsigned int id)
    {
        return insertControl(control, id);
    }
    // Take the element out and hand it to the caller.
    smart_ptr<Page> removePage(unsigned int pageId);
    smart_ptr<PageSwitcher> removePageSwitcher(unsigned int pageSwitcherId);
    // Also erases the IR entries that map the control's own slots to it. The page's set of
    // control ids is not touched.
    smart_ptr<Control> removeControl(unsigned int controlId);
    void erasePage(unsigned int pageId);

    const IRSlotTable& getIRSlots() const { return irSlots; }
    // The action the slot triggers; control id UINT_MAX with NoAction when the slot is free.
    IRAction getIRSlotAssignment(unsigned char slot) const;
    void clearIRSlot(unsigned char slot);
    // The slot and the (control, action) pair must both be free.
    void assignIRSlot(unsigned char slot, unsigned int controlId, Action action);

    // Empty when the panel has no lock.
    const QString& getUnlockCode() const { return unlockCode; }
    void setUnlockCode(const QString& code) { unlockCode = code; }
    // A ButtonFunction value.
    int getUnlockFunction() const { return unlockFunction; }
    void setUnlockFunction(int function) { unlockFunction = function; }
    // Milliseconds; 0 never locks.
    int getLockTimeout() const { return lockTimeout; }
    void setLockTimeout(int timeout) { lockTimeout = timeout; }
    unsigned int getDefaultPageId() const { return defaultPageId; }
    void setDefaultPageId(unsigned int pageId) { defaultPageId = pageId; }

    // The theme's skins that the controls start in, by item type, one entry per control
    // (a skin used by several controls is listed several times). Empty without a theme.
    QMultiMap<ThemedItemType, const Skin*> getUsedSkins() const;

    // Writes the project block. A minimal save writes, of the theme's page-background, icon and
    // control-image stores, only the images that pages and buttons use.
    void write(Streamer& streamer, bool minimal) const;
    // A minimal save measured without keeping its bytes: the length of its file and how many
    // images of the three filtered stores it leaves out.
    struct MinimalSave
    {
        qint64 bytes = 0;
        int picturesLeftOut = 0;
    };
    MinimalSave measureMinimalSave() const;
    // Reads a project block of any accepted version into a cleared project. A format fault
    // raises std::runtime_error and leaves the project as far as it was read; so do a control on
    // a page that is not in the file and a control whose rectangle is outside the range of
    // control geometry (the message names the control). Either way the IR table and the
    // controls' own slots agree afterwards: the table read from the file wins, its entries for
    // a missing control or action are dropped, and a control's slot that the table does not
    // give it becomes NoIRSlot. A project read whole names only elements it holds: references
    // to pages or switchers that are not in the file are dropped (see dropDanglingReferences),
    // and the switchers' usage counts are those of the pages that show them. Theme image ids
    // are kept whether or not the theme holds the image (a change of theme can leave them):
    // the preview shows no image for them.
    void read(Streamer& streamer);

    void render(AbstractRenderer* renderer) const override;

private:
    void registerIRSlots(const Control& control, unsigned int controlId);
    // Reads the controls and adds the ids of those that keep an IR slot of their own to
    // slotHolders.
    void readControls(Streamer& streamer, std::vector<unsigned int>& slotHolders);
    void recountPageSwitcherUsage();
    // Drops the references a file can hold to pages and switchers it does not hold: a
    // switcher's page that is not there leaves its list, a page's switcher that is not there
    // becomes none, a Go To Page target that is not there becomes none, and a default page
    // that is not there gives way to the first page (none without pages).
    void dropDanglingReferences();
    void readIRSlots(Streamer& streamer);
    // Makes the IR table and the controls' own slots agree after a read, in which the
    // controls of slotHolders are the only ones that kept a slot of their own.
    void reconcileIRSlots(const std::vector<unsigned int>& slotHolders);

    ConfigurationHeader header;
    Theme* theme = nullptr;
    sortvector<Page> pages;
    sortvector<PageSwitcher> pageSwitchers;
    sortvector<Control> controls;
    IRSlotTable irSlots;
    QString unlockCode;
    int unlockFunction = ButtonFunction_GO_TO_PAGE;
    int lockTimeout = 0;
    unsigned int defaultPageId = UINT_MAX;
    int serial = 0;
};

} // namespace Velmora
