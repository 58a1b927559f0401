#include "velmora_objects/configuration.h"

#include "core/assertion.h"
#include "core/prefetch.h"
#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/control_geometry.h"
#include "velmora_objects/image_data.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/stream_fields.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <stdexcept>

namespace Velmora {

namespace {

std::atomic<int> serialCounter{0};

// The IR actions a control of the given type has a slot for.
struct ActionList
{
    const Action* begin() const { return actions; }
    const Action* end() const { return actions + count; }

    Action actions[2];
    int count;
};

ActionList irActionsOf(const Control& control)
{
    switch (control.getType()) {
    case ControlType_BUTTON:
        return {{Action_CLICK, NoAction}, 1};
    case ControlType_SLIDER:
        return {{Action_INCREMENT, Action_DECREMENT}, 2};
    default:
        return {{NoAction, NoAction}, 0};
    }
}

bool holdsIRSlot(const Control& control)
{
    for (Action action : irActionsOf(control)) {
        if (control.getIRSlotId(action) != NoIRSlot)
            return true;
    }
    return false;
}

Control* newControl(quint8 type)
{
    switch (type) {
    case ControlType_BUTTON:
        return new Button;
    case ControlType_SLIDER:
        return new Slider;
    case ControlType_COLOUR_PICKER:
        return new ColourPicker;
    case ControlType_KEYPAD:
        return new Keypad;
    case ControlType_LABEL:
        return new Label;
    case ControlType_CLOCK:
        return new Clock;
    }
    throw std::runtime_error("Found unknown control type");
}

// The fewest bytes an element of each list takes in the file: its id, its type byte for a
// control, and its block's tags. Counts read from a file are checked against them before they
// drive a loop.
constexpr quint64 tagBytes(const char* start, const char* end)
{
    return std::char_traits<char>::length(start) + std::char_traits<char>::length(end);
}
constexpr quint64 MinimumPageBytes =
    2 + tagBytes("Page_start", "Page_end") + tagBytes("NavButtons_start", "NavButtons_end");
constexpr quint64 MinimumControlBytes = 2 + 1 + tagBytes("Control_start", "Control_end");
constexpr quint64 MinimumPageSwitcherBytes = 2 + tagBytes("PageSwitcher_start", "PageSwitcher_end");
constexpr quint64 IREntryBytes = 1 + 4 + 1;

using StreamFields::readByte;
using StreamFields::readInt;

quint16 readShort(Streamer& streamer)
{
    quint16 value = 0;
    streamer.stream() >> value;
    return value;
}

// Pages and page switchers are stored alike: a count, then each element's id and block.
template <class T> void writeElements(Streamer& streamer, const sortvector<T>& elements)
{
    streamer.stream() << quint16(elements.size());
    for (const T& element : elements) {
        streamer.stream() << quint16(element.getId());
        streamer << element;
    }
}

// An element whose id is taken or too large is dropped.
template <class T>
void readElements(Streamer& streamer, sortvector<T>& elements, quint64 minimumBytes)
{
    const quint16 count = readShort(streamer);
    streamer.checkCount(count, minimumBytes);
    for (quint16 i = 0; i < count; ++i) {
        const quint16 id = readShort(streamer);
        smart_ptr<T> element(new T);
        streamer >> *element;
        elements.insert(element, id);
    }
}

// The images a minimal save keeps: the page backgrounds and icons that pages use, and the
// control images that buttons use.
Theme::SaveFilter imagesInUse(const sortvector<Page>& pages, const sortvector<Control>& controls)
{
    Theme::SaveFilter used;
    for (const Page& page : pages) {
        if (page.getBackgroundImageId() != UINT_MAX)
            used.pageBackgroundImages.insert(page.getBackgroundImageId());
        if (page.getIconId() != UINT_MAX)
            used.icons.insert(page.getIconId());
    }
    for (const Control& control : controls) {
        if (control.getType() != ControlType_BUTTON)
            continue;
        const unsigned int imageId = static_cast<const Button&>(control).getImageId();
        if (imageId != UINT_MAX)
            used.controlImages.insert(imageId);
    }
    return used;
}

} // namespace

void ConfigurationHeader::setOrientation(int value)
{
    orientation = value;
    if (value == Orientation_LANDSCAPE) {
        width = 480;
        height = 272;
    } else {
        width = 272;
        height = 480;
    }
}

Configuration::Configuration()
    : pages(16, MaximumPages), pageSwitchers(16, MaximumPageSwitchers),
      controls(64, MaximumControls)
{
    assignSerial();
}

Configuration::~Configuration()
{
    delete theme;
}

void Configuration::clear()
{
    header.name = QString();
    header.setOrientation(Orientation_LANDSCAPE);
    setTheme(nullptr);
    pages.erase(pages.begin(), pages.end());
    pageSwitchers.erase(pageSwitchers.begin(), pageSwitchers.end());
    controls.erase(controls.begin(), controls.end());
    irSlots.clear();
    unlockCode = QString();
    unlockFunction = ButtonFunction_GO_TO_PAGE;
    lockTimeout = 0;
    defaultPageId = UINT_MAX;
    assignSerial();
}

void Configuration::assignSerial()
{
    serial = serialCounter.fetch_add(1);
}

void Configuration::setTheme(Theme* newTheme)
{
    if (newTheme == theme)
        return;
    delete theme;
    theme = newTheme;
}

Page& Configuration::getPage(unsigned int pageId)
{
    VELMORA_ASSERT(pages.exists(pageId));
    return pages[pageId];
}

const Page& Configuration::getPage(unsigned int pageId) const
{
    VELMORA_ASSERT(pages.exists(pageId));
    return pages[pageId];
}

PageSwitcher& Configuration::getPageSwitcher(unsigned int pageSwitcherId)
{
    VELMORA_ASSERT(pageSwitchers.exists(pageSwitcherId));
    return pageSwitchers[pageSwitcherId];
}

const PageSwitcher& Configuration::getPageSwitcher(unsigned int pageSwitcherId) const
{
    VELMORA_ASSERT(pageSwitchers.exists(pageSwitcherId));
    return pageSwitchers[pageSwitcherId];
}

Control& Configuration::getControl(unsigned int controlId)
{
    VELMORA_ASSERT(controls.exists(controlId));
    return controls[controlId];
}

const Control& Configuration::getControl(unsigned int controlId) const
{
    VELMORA_ASSERT(controls.exists(controlId));
    return controls[controlId];
}

unsigned int Configuration::addPage()
{
    smart_ptr<Page> page(new Page);
    page->setSortValue(getFreeSortValue<Page, SortValueStep>(pages, UINT_MAX));
    return pages.insert(page, UINT_MAX);
}

unsigned int Configuration::insertPage(smart_ptr<Page>& page, unsigned int id)
{
    return pages.insert(page, id);
}

unsigned int Configuration::insertPageSwitcher(smart_ptr<PageSwitcher>& pageSwitcher,
                                               unsigned int id)
{
    return pageSwitchers.insert(pageSwitcher, id);
}

unsigned int Configuration::insertControl(smart_ptr<Control>& control, unsigned int id)
{
    // Insert first: only the id the container actually used may appear in the IR table.
    Control* inserted = control.get();
    const unsigned int usedId = controls.insert(control, id);
    if (usedId != UINT_MAX)
        registerIRSlots(*inserted, usedId);
    return usedId;
}

void Configuration::registerIRSlots(const Control& control, unsigned int controlId)
{
    for (Action action : irActionsOf(control)) {
        const unsigned char slot = control.getIRSlotId(action);
        if (slot != NoIRSlot)
            assignIRSlot(slot, controlId, action);
    }
}

smart_ptr<Page> Configuration::removePage(unsigned int pageId)
{
    VELMORA_ASSERT(pages.exists(pageId));
    Page* page = &pages[pageId];
    pages.unlink(pages.get(pageId));
    return smart_ptr<Page>(page);
}

smart_ptr<PageSwitcher> Configuration::removePageSwitcher(unsigned int pageSwitcherId)
{
    VELMORA_ASSERT(pageSwitchers.exists(pageSwitcherId));
    PageSwitcher* pageSwitcher = &pageSwitchers[pageSwitcherId];
    pageSwitchers.unlink(pageSwitchers.get(pageSwitcherId));
    return smart_ptr<PageSwitcher>(pageSwitcher);
}

smart_ptr<Control> Configuration::removeControl(unsigned int controlId)
{
    VELMORA_ASSERT(controls.exists(controlId));
    Control* control = &controls[controlId];
    controls.unlink(controls.get(controlId));
    // Erase only the entries that map the control's slots to this control and action: a slot
    // the control still names may have been given to another control meanwhile.
    for (Action action : irActionsOf(*control)) {
        const unsigned char slot = control->getIRSlotId(action);
        if (slot == NoIRSlot)
            continue;
        const auto entry = irSlots.left.find(slot);
        if (entry != irSlots.left.end() && entry->second == IRAction(controlId, action))
            irSlots.left.erase(entry);
    }
    return smart_ptr<Control>(control);
}

void Configuration::erasePage(unsigned int pageId)
{
    VELMORA_ASSERT(pages.exists(pageId));
    pages.erase(pageId);
}

IRAction Configuration::getIRSlotAssignment(unsigned char slot) const
{
    const auto entry = irSlots.left.find(slot);
    return entry == irSlots.left.end() ? IRAction() : entry->second;
}

void Configuration::clearIRSlot(unsigned char slot)
{
    irSlots.left.erase(slot);
}

void Configuration::assignIRSlot(unsigned char slot, unsigned int controlId, Action action)
{
    const bool success =
        irSlots.insert(IRSlotTable::value_type(slot, IRAction(controlId, action))).second;
    VELMORA_ASSERT(success);
}

QMultiMap<ThemedItemType, const Skin*> Configuration::getUsedSkins() const
{
    QMultiMap<ThemedItemType, const Skin*> used;
    if (!theme)
        return used;
    for (const Control& control : controls) {
        if (control.getStartupSkin().isEmpty())
            continue;
        const ThemedItemType itemType = themedItemTypeOf(control.getType());
        if (const Skin* skin = theme->findSkin(itemType, control.getStartupSkin()))
            used.insert(itemType, skin);
    }
    return used;
}

void Configuration::render(AbstractRenderer* renderer) const
{
    renderer->renderConfiguration(this);
}

void Configuration::write(Streamer& streamer, bool minimal) const
{
    DataStream& s = streamer.stream();
    // Room for about the whole project at once, so that the bytes are not copied again and
    // again as they grow.
    streamer.reserve(
        (theme ? theme->streamBytesEstimate() : 0) +
        qsizetype(512 * (pages.size() + pageSwitchers.size()) + 256 * controls.size()));
    streamer.writeTag("Configuration_start");

    streamer.writeTag("ConfigurationHeader_start");
    s << header.name << qint8(header.orientation);
    streamer.writeTag("ConfigurationHeader_end");

    streamer << (theme != nullptr);
    if (theme) {
        if (minimal) {
            const Theme::SaveFilter filter = imagesInUse(pages, controls);
            theme->write(streamer, &filter);
        } else {
            theme->write(streamer, nullptr);
        }
    }

    writeElements(streamer, pages);

    s << quint16(controls.size());
    for (const Control& control : controls) {
        // Controls lie apart in memory, and the walk goes from one to the next through their
        // links. Their sequence is in id order: the one a few ids on is fetched into the cache
        // while this one is written.
        prefetchObject(controls.find(control.getId() + 4));
        s << quint16(control.getId()) << qint8(control.getType());
        control.write(streamer);
    }

    writeElements(streamer, pageSwitchers);

    s << qint32(defaultPageId) << quint16(irSlots.size());
    for (const auto& entry : irSlots.left)
        s << quint8(entry.first) << qint32(entry.second.controlId) << qint8(entry.second.action);

    s << unlockCode << qint8(unlockFunction) << qint32(lockTimeout);
    streamer.writeTag("Configuration_end");
}

Configuration::MinimalSave Configuration::measureMinimalSave() const
{
    MinimalSave measured;
    QByteArray bytes;
    Streamer streamer;
    streamer.open(Streamer::Mode_WRITE, &bytes);
    // Past a limit of no bytes the stream keeps nothing and only counts: the file's length,
    // header included, without its bytes in memory.
    streamer.stream().setWriteLimit(0);
    write(streamer, true);
    measured.bytes = streamer.stream().written();
    if (theme) {
        const Theme::SaveFilter used = imagesInUse(pages, controls);
        const std::pair<const Theme::ImageStore*, const std::set<unsigned int>*> stores[] = {
            {&theme->getPageBackgroundImages(), &used.pageBackgroundImages},
            {&theme->getIcons(), &used.icons},
            {&theme->getControlImages(), &used.controlImages}};
        for (const auto& [store, kept] : stores) {
            for (const ImageData& image : *store)
                measured.picturesLeftOut += kept->count(image.getId()) == 0 ? 1 : 0;
        }
    }
    return measured;
}

void Configuration::read(Streamer& streamer)
{
    // Wherever the reading ends, the IR table and the controls' own slots agree afterwards.
    struct Reconciler
    {
        ~Reconciler() { project.reconcileIRSlots(slotHolders); }
        Configuration& project;
        std::vector<unsigned int> slotHolders;
    } reconciler{*this, {}};

    DataStream& s = streamer.stream();
    const quint32 version = streamer.version();
    streamer.expectTag("Configuration_start");

    streamer.expectTag("ConfigurationHeader_start");
    s >> header.name;
    int orientation = readByte(streamer);
    // Early files knew only landscape (1); everything else they stored meant portrait. Any
    // other byte is taken as portrait too, the screen it gives.
    if (orientation != Orientation_LANDSCAPE)
        orientation = Orientation_PORTRAIT;
    header.setOrientation(orientation);
    streamer.expectTag("ConfigurationHeader_end");

    bool hasTheme = false;
    streamer >> hasTheme;
    if (hasTheme) {
        // An empty path loads nothing: the theme starts empty and reads its block.
        Theme* newTheme = new Theme(QString());
        setTheme(newTheme);
        newTheme->read(streamer);
    }

    readElements(streamer, pages, MinimumPageBytes);
    // Every loaded project starts from evenly spaced sort values, in the order just read.
    qint32 sortValue = 0;
    for (Page& page : pages) {
        page.setSortValue(sortValue);
        sortValue += SortValueStep;
    }

    readControls(streamer, reconciler.slotHolders);

    readElements(streamer, pageSwitchers, MinimumPageSwitcherBytes);
    recountPageSwitcherUsage();

    defaultPageId = quint32(readInt(streamer));
    readIRSlots(streamer);

    if (version >= 5)
        s >> unlockCode;
    if (version >= 6) {
        // Kept as stored: the panel goes back for Back and to its home page for any other
        // function, and the properties dialog shows no choice for a function it does not offer.
        unlockFunction = readByte(streamer);
        lockTimeout = readInt(streamer);
    }
    streamer.expectTag("Configuration_end");
    dropDanglingReferences();
}

void Configuration::dropDanglingReferences()
{
    // What the editor does when a page or a switcher goes: the page leaves every switcher's
    // list and every Go To Page button loses it as its target; a page whose switcher goes
    // shows none.
    for (PageSwitcher& pageSwitcher : pageSwitchers) {
        std::vector<unsigned int> pageIds = pageSwitcher.getPageIds();
        const auto gone = std::remove_if(pageIds.begin(), pageIds.end(),
                                         [this](unsigned int id) { return !pages.exists(id); });
        if (gone != pageIds.end()) {
            pageIds.erase(gone, pageIds.end());
            pageSwitcher.setPageIds(pageIds);
        }
    }
    for (Page& page : pages) {
        if (page.getPageSwitcherId() != UINT_MAX && !pageSwitchers.exists(page.getPageSwitcherId()))
            page.setPageSwitcherId(UINT_MAX);
    }
    for (Control& control : controls) {
        if (control.getType() != ControlType_BUTTON)
            continue;
        auto& button = static_cast<Button&>(control);
        if (button.getFunction() == ButtonFunction_GO_TO_PAGE &&
            button.getFunctionPage() != UINT_MAX && !pages.exists(button.getFunctionPage()))
            button.setFunctionPage(UINT_MAX);
    }
    // The panel starts on the default page and the editor never removes it: a lost one, or
    // none at all, gives way to the first page, as a new project starts on its first page.
    if (!pages.exists(defaultPageId))
        defaultPageId = pages.empty() ? UINT_MAX : pages.begin()->getId();
}

void Configuration::recountPageSwitcherUsage()
{
    // The document removes a switcher when the last page stops showing it, and lowering a
    // count of 0 is fatal: take the counts from the pages rather than trust the stored ones,
    // which a damaged or old file can get wrong.
    for (PageSwitcher& pageSwitcher : pageSwitchers)
        pageSwitcher.setUsage(0);
    for (const Page& page : pages) {
        const unsigned int pageSwitcherId = page.getPageSwitcherId();
        if (pageSwitchers.exists(pageSwitcherId))
            pageSwitchers[pageSwitcherId].incrementUsage();
    }
}

void Configuration::readControls(Streamer& streamer, std::vector<unsigned int>& slotHolders)
{
    const quint16 count = readShort(streamer);
    streamer.checkCount(count, MinimumControlBytes);
    for (quint16 i = 0; i < count; ++i) {
        const quint16 id = readShort(streamer);
        const quint8 type = readByte(streamer);
        // The type names the block that follows: without it no tag can be expected.
        streamer.checkStatus();
        smart_ptr<Control> control(newControl(type));
        control->read(streamer);
        if (!ControlGeometry::inRange(control->getGeometry()))
            throw std::runtime_error(
                ControlGeometry::outOfRangeMessage(*control, id).toStdString());
        const bool holdsSlot = holdsIRSlot(*control);
        const unsigned int pageId = control->getPageId();
        if (!pages.exists(pageId))
            throw std::runtime_error("Found control on unknown page");
        // A control whose id is taken or too large is dropped, and its page does not list it.
        // Its own IR slots are not entered here: the file's IR entries follow.
        if (controls.insert(control, id) != UINT_MAX) {
            // Files list controls in id order: the id then goes last.
            pages[pageId].getControlIds().insert(id);
            if (holdsSlot)
                slotHolders.push_back(id);
        }
    }
}

void Configuration::reconcileIRSlots(const std::vector<unsigned int>& slotHolders)
{
    // Files of older programs can hold entries for controls or actions that do not exist, and
    // controls whose own slots the table does not map to them; removing such a control and
    // putting it back would then assign a slot twice. The table wins: entries that name no
    // slot, a missing control or an action the control does not have are dropped...
    for (auto entry = irSlots.left.begin(); entry != irSlots.left.end();) {
        const IRAction& target = entry->second;
        bool valid = false;
        if (entry->first != NoIRSlot && controls.exists(target.controlId)) {
            for (Action action : irActionsOf(controls[target.controlId]))
                valid = valid || action == target.action;
        }
        if (valid)
            ++entry;
        else
            irSlots.left.erase(entry++);
    }
    // ...a control's own slot that the table does not give it becomes none (the project was
    // cleared before the read: only the controls read can hold one)...
    for (unsigned int controlId : slotHolders) {
        Control& control = controls[controlId];
        for (Action action : irActionsOf(control)) {
            const unsigned char slot = control.getIRSlotId(action);
            if (slot == NoIRSlot)
                continue;
            const auto entry = irSlots.left.find(slot);
            if (entry == irSlots.left.end() || entry->second != IRAction(control.getId(), action))
                control.setIRSlotId(action, NoIRSlot);
        }
    }
    // ...and every control the table names takes the slot it gives.
    for (const auto& entry : irSlots.left)
        controls[entry.second.controlId].setIRSlotId(entry.second.action, entry.first);
}

void Configuration::readIRSlots(Streamer& streamer)
{
    const quint16 count = readShort(streamer);
    streamer.checkCount(count, IREntryBytes);
    for (quint16 i = 0; i < count; ++i) {
        const quint8 slot = readByte(streamer);
        const quint32 controlId = quint32(readInt(streamer));
        const quint8 action = readByte(streamer);
        // Saved entries come in slot order: each goes last on the slot side at the cost of one
        // comparison. An entry whose slot or (control, action) is taken is not inserted.
        const std::size_t before = irSlots.size();
        irSlots.left.insert(irSlots.left.end(), IRSlotTable::left_value_type(
                                                    slot, IRAction(controlId, Action(action))));
        if (irSlots.size() == before)
            throw std::runtime_error("Found duplicate IR slot assignment");
    }
}

} // namespace Velmora
