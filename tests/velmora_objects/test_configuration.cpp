#include "common/file_rights.h"
#include "common/file_size_limit.h"
#include "common/helpers.h"
#include "common/ir_table.h"
#include "velmora_objects/hex_fixture.h"
#include "velmora_objects/qml_renderer.h"
#include "velmora_objects/qml_streamer.h"
#include "velmora_objects/sample_project.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/theme.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <climits>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Velmora;
using SampleProject::load;
using SampleProject::saved;
using TestUtil::fromHex;
using TestUtil::irTable;
using TestUtil::runtimeErrorOf;

namespace {

void saveTo(const Configuration& project, const QString& path, bool minimal = false)
{
    Streamer s;
    s.open(Streamer::Mode_WRITE, path);
    project.write(s, minimal);
    s.close();
}

// Runs the function with the streamer's bound on file sizes held at the given value.
void underBound(qint64 bytes, const std::function<void()>& function)
{
    const qint64 previous = Streamer::maximumFileSize();
    Streamer::setMaximumFileSize(bytes);
    function();
    Streamer::setMaximumFileSize(previous);
}

void loadFrom(Configuration& project, const QString& path)
{
    project.clear();
    Streamer s;
    s.open(Streamer::Mode_READ, path);
    project.read(s);
}

// The pages in page order, each as "id:sort value".
QStringList pageOrder(const Configuration& project)
{
    QStringList order;
    for (const Page& page : project.getPages())
        order << QString("%1:%2").arg(page.getId()).arg(page.getSortValue());
    return order;
}

// The offset of the control record (id, type, block) whose block starts at the n-th (from 0)
// occurrence of the tag.
int controlRecordOf(const QByteArray& bytes, const char* tag, int n = 0)
{
    int at = -1;
    for (int i = 0; i <= n; ++i)
        at = bytes.indexOf(tag, at + 1);
    return at < 0 ? -1 : at - 3;
}

void putShort(QByteArray& bytes, int at, quint16 value)
{
    qToBigEndian(value, reinterpret_cast<uchar*>(bytes.data()) + at);
}

smart_ptr<Control> buttonWithSlot(unsigned char slot)
{
    auto* button = new Button;
    button->setIRSlotId(Action_CLICK, slot);
    return smart_ptr<Control>(button);
}

smart_ptr<Control> sliderWithSlots(unsigned char increment, unsigned char decrement)
{
    auto* slider = new Slider;
    slider->setIRSlotId(Action_INCREMENT, increment);
    slider->setIRSlotId(Action_DECREMENT, decrement);
    return smart_ptr<Control>(slider);
}

// The slots the controls keep, as "slot:control/action" entries in slot order: equal to the IR
// table (TestUtil::irTable) when the two agree.
QStringList ownSlots(const Configuration& project)
{
    std::map<int, QString> bySlot;
    for (const Control& control : project.getControls()) {
        for (Action action : {Action_CLICK, Action_INCREMENT, Action_DECREMENT}) {
            const unsigned char slot = control.getIRSlotId(action);
            if (slot != NoIRSlot)
                bySlot[slot] = QString("%1:%2/%3").arg(slot).arg(control.getId()).arg(action);
        }
    }
    QStringList entries;
    for (const auto& entry : bySlot)
        entries << entry.second;
    return entries;
}

// The saved bytes of the sample project with one image in each store.
QByteArray sampleBytes()
{
    Configuration project;
    SampleProject::fill(project, 1);
    return saved(project);
}

// Where the IR entries of the sample project's bytes start: they are the last records before
// the unlock code "2468", its function and timeout and the end tag; each is a slot byte, a
// control id and an action byte.
int irEntriesOf(const QByteArray& bytes)
{
    return bytes.size() - int(strlen("Configuration_end")) - 4 - 1 - (4 + 8) - 4 * 6;
}

QByteArray badProject(const char* name)
{
    return TestUtil::readFile(TestUtil::dataPath(QString("bad/project/%1.qvp").arg(name)));
}

constexpr QFile::Permissions ModeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                        QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;

} // namespace

TEST(Configuration, ClearGivesAnEmptyLandscapeProject)
{
    Configuration fresh;
    fresh.clear();
    Configuration used;
    SampleProject::fill(used);
    const int serial = used.getSerial();
    used.clear();
    EXPECT_EQ(SampleProject::saved(used), SampleProject::saved(fresh));
    EXPECT_EQ(QSize(used.getWidth(), used.getHeight()), QSize(480, 272));
    EXPECT_GT(used.getSerial(), serial);
}

TEST(Configuration, PagesAreAddedAfterTheLastUntilFull)
{
    Configuration project;
    project.clear();
    for (unsigned int i = 0; i < 256; ++i)
        ASSERT_EQ(project.addPage(), i);
    EXPECT_EQ(project.getPage(255).getSortValue(), 255 * 65536);
    EXPECT_EQ(project.addPage(), UINT_MAX);
}

TEST(Configuration, InsertedControlsRegisterTheirSlotsUnderTheIdUsed)
{
    Configuration project;
    project.clear();
    smart_ptr<Control> filler(new Label);
    project.insertControl(filler, UINT_MAX); // takes id 0

    smart_ptr<Control> button = buttonWithSlot(4);
    EXPECT_EQ(project.insertControl(button, UINT_MAX), 1u);
    smart_ptr<Control> slider = sliderWithSlots(6, NoIRSlot);
    EXPECT_EQ(project.insertControl(slider, 30), 30u);
    const QStringList expected = {"4:1/1", "6:30/2"};
    EXPECT_EQ(irTable(project), expected);

    // A control that cannot be stored registers nothing and stays with the caller.
    smart_ptr<Control> refused = buttonWithSlot(8);
    EXPECT_EQ(project.insertControl(refused, 30), UINT_MAX);
    EXPECT_NE(refused.get(), nullptr);
    smart_ptr<Control> tooFar = buttonWithSlot(9);
    EXPECT_EQ(project.insertControl(tooFar, 4096), UINT_MAX);
    EXPECT_EQ(irTable(project), expected);
}

TEST(Configuration, RemovedControlsEraseOnlyTheirOwnEntries)
{
    Configuration project;
    project.clear();
    smart_ptr<Control> slider = sliderWithSlots(3, 4);
    const unsigned int sliderId = project.insertControl(slider, UINT_MAX);
    smart_ptr<Control> button = buttonWithSlot(5);
    const unsigned int buttonId = project.insertControl(button, UINT_MAX);
    // Slot 5 goes to the slider's decrement meanwhile: the button's own slot is stale.
    project.clearIRSlot(5);
    project.clearIRSlot(4);
    project.assignIRSlot(5, sliderId, Action_DECREMENT);

    project.removeControl(buttonId);
    EXPECT_EQ(project.getIRSlotAssignment(5), IRAction(sliderId, Action_DECREMENT));

    project.modControl<Slider>(sliderId)->setIRSlotId(Action_DECREMENT, 5);
    project.removeControl(sliderId);
    EXPECT_TRUE(project.getIRSlots().empty());
    EXPECT_EQ(project.getIRSlotAssignment(5), IRAction(UINT_MAX, NoAction));
}

TEST(ConfigurationDeathTest, BrokenInvariantsAreFatal)
{
    Configuration project;
    project.clear();
    EXPECT_DEATH(project.getPage(3), "Assert: 'pages\\.exists\\(pageId\\)' is FALSE");
    EXPECT_DEATH(project.getPageSwitcher(0),
                 "Assert: 'pageSwitchers\\.exists\\(pageSwitcherId\\)' is FALSE");
    EXPECT_DEATH(project.removeControl(1), "Assert: 'controls\\.exists\\(controlId\\)' is FALSE");
    EXPECT_DEATH(project.erasePage(0), "Assert: 'pages\\.exists\\(pageId\\)' is FALSE");
    project.assignIRSlot(1, 5, Action_CLICK);
    EXPECT_DEATH(project.assignIRSlot(1, 6, Action_CLICK), "Assert: 'success' is FALSE");
    EXPECT_DEATH(project.assignIRSlot(2, 5, Action_CLICK), "Assert: 'success' is FALSE");
}

TEST(Configuration, UsedSkinsListOneEntryPerControl)
{
    Configuration project;
    project.clear();
    for (auto [control, skin] : {std::pair<Control*, QString>{new Button, "Normal"},
                                 {new Button, "Normal"},
                                 {new Button, "Missing"},
                                 {new Button, QString()},
                                 {new Slider, "Default"}}) {
        control->setStartupSkin(skin);
        smart_ptr<Control> owned(control);
        project.insertControl(owned, UINT_MAX);
    }
    EXPECT_TRUE(project.getUsedSkins().isEmpty()); // no theme

    project.setTheme(SampleTheme::make(0).release());
    const auto used = project.getUsedSkins();
    const Skin* normal = project.getTheme()->findSkin(ThemedItemType_BUTTON, "Normal");
    EXPECT_EQ(used.values(ThemedItemType_BUTTON), QList<const Skin*>({normal, normal}));
    EXPECT_EQ(used.count(ThemedItemType_SLIDER), 1);
    EXPECT_EQ(used.size(), 3);
}

TEST(ProjectFile, SmallestProjectHasTheDocumentedBytes)
{
    Configuration project;
    project.clear();
    const QByteArray expected = HexFixture::load("project/smallest");
    EXPECT_EQ(saved(project).toHex(' '), expected.toHex(' '));

    load(project, expected);
    EXPECT_EQ(saved(project), expected);
}

TEST(ProjectFile, FullProjectSavesLoadsAndSavesToTheSameBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("full.qvp");
    Configuration original;
    SampleProject::fill(original);
    // Images large enough to be copied into place while the rest is written.
    QByteArray large(512 * 1024, Qt::Uninitialized);
    for (qsizetype i = 0; i < large.size(); ++i)
        large[i] = char(i * 7 + (i >> 11));
    const unsigned int largeId =
        original.getTheme()->addPageBackgroundImageData(large, Orientation_LANDSCAPE);
    saveTo(original, path);
    const QByteArray first = TestUtil::readFile(path);
    EXPECT_EQ(first, saved(original));

    Configuration project;
    loadFrom(project, path);
    saveTo(project, path);
    EXPECT_EQ(TestUtil::readFile(path), first);

    // Identical bytes carry everything stored; what is derived on loading follows it.
    EXPECT_EQ(QSize(project.getWidth(), project.getHeight()), QSize(272, 480));
    EXPECT_EQ(project.getControls().size(), 7u);
    EXPECT_EQ(project.getIRSlots().size(), 4u);
    EXPECT_EQ(project.getUsedSkins().size(), original.getUsedSkins().size());
    EXPECT_EQ(project.getTheme()->getPageBackgroundImages()[largeId].getData(), large);
}

TEST(ProjectFile, MinimalSaveWritesOnlyTheImagesInUse)
{
    Configuration project;
    SampleProject::fill(project, 10);
    // Pages use backgrounds 1 and 2 and icons 0 and 2; the buttons use control image 1.
    Configuration minimal;
    load(minimal, saved(project, true));
    const Theme& theme = *minimal.getTheme();
    auto ids = [](const Theme::ImageStore& store) {
        QList<unsigned int> list;
        for (const ImageData& image : store)
            list << image.getId();
        return list;
    };
    EXPECT_EQ(ids(theme.getPageBackgroundImages()), QList<unsigned int>({1, 2}));
    EXPECT_EQ(ids(theme.getIcons()), QList<unsigned int>({0, 2}));
    EXPECT_EQ(ids(theme.getControlImages()), QList<unsigned int>({1}));
    EXPECT_EQ(theme.getSkinImages().size(), 10u); // skins name theirs through properties
}

TEST(ProjectFile, OlderHeadersFollowTheOrientationRule)
{
    // Version 2 and older knew only landscape: any other byte means portrait.
    Configuration project;
    load(project, HexFixture::load("project/header_v4", 2));
    EXPECT_EQ(project.getName(), "Old");
    EXPECT_EQ(project.getOrientation(), Orientation_PORTRAIT);
    EXPECT_EQ(QSize(project.getWidth(), project.getHeight()), QSize(272, 480));

    QByteArray landscape = HexFixture::load("project/header_v4", 2);
    landscape[landscape.indexOf("ConfigurationHeader_end") - 1] = 1;
    load(project, landscape);
    EXPECT_EQ(project.getOrientation(), Orientation_LANDSCAPE);

    // From version 3 on portrait is stored as 2; another byte, as 0 here, still means portrait.
    load(project, HexFixture::load("project/header_v4", 3));
    EXPECT_EQ(project.getOrientation(), Orientation_PORTRAIT);
    EXPECT_EQ(QSize(project.getWidth(), project.getHeight()), QSize(272, 480));
}

TEST(ProjectFile, OlderFilesKeepTheDefaultSecuritySettings)
{
    Configuration project;
    load(project, HexFixture::load("project/header_v4"));
    EXPECT_TRUE(project.getUnlockCode().isEmpty());
    EXPECT_EQ(project.getUnlockFunction(), ButtonFunction_GO_TO_PAGE);
    EXPECT_EQ(project.getLockTimeout(), 0);

    load(project, HexFixture::load("project/unlock_code_v5"));
    EXPECT_EQ(project.getUnlockCode(), "1357");
    EXPECT_EQ(project.getLockTimeout(), 0);
}

TEST(ProjectFile, SortValuesAreRenumberedInPageOrder)
{
    Configuration project;
    project.clear();
    for (auto [id, sortValue] : {std::pair{4u, 70}, {0u, -5}, {9u, 70}}) {
        smart_ptr<Page> page(new Page);
        page->setSortValue(sortValue);
        ASSERT_EQ(project.insertPage(page, id), id);
    }
    // Saved in the order 0, 9, 4; read back, page 4 goes before page 9, which has the same
    // sort value and was read earlier.
    ASSERT_EQ(pageOrder(project), QStringList({"0:-5", "9:70", "4:70"}));
    Configuration back;
    load(back, saved(project));
    EXPECT_EQ(pageOrder(back), QStringList({"0:0", "4:65536", "9:131072"}));
}

TEST(ProjectFile, PagesUnderATakenIdAreDroppedAndReadingGoesOn)
{
    Configuration project;
    SampleProject::fill(project, 1);
    QByteArray bytes = saved(project);
    // The second page record takes the first one's id (0).
    const int second = bytes.indexOf("Page_start", bytes.indexOf("Page_start") + 1);
    putShort(bytes, second - 2, 0);
    // Its controls would now lie on a missing page: move them to page 0 too.
    const unsigned int lostPage = project.getPages().getNextId(0, true, false);
    for (int at = bytes.indexOf("Control_start"); at >= 0;
         at = bytes.indexOf("Control_start", at + 1)) {
        if (qFromBigEndian<qint32>(bytes.constData() + at + 13) == qint32(lostPage))
            qToBigEndian<qint32>(0, reinterpret_cast<uchar*>(bytes.data()) + at + 13);
    }
    Configuration back;
    load(back, bytes);
    EXPECT_EQ(back.getPages().size(), 2u);
    EXPECT_EQ(back.getControls().size(), 7u);
    EXPECT_EQ(back.getUnlockCode(), "2468"); // read to the end
}

TEST(ProjectFile, FormatFaultsRaiseTheirMessages)
{
    Configuration project;
    const QByteArray bytes = sampleBytes();
    const int entries = irEntriesOf(bytes);
    ASSERT_EQ(qFromBigEndian<quint16>(bytes.constData() + entries - 2), 4u);
    const struct
    {
        const char* message;
        std::function<void(QByteArray&)> damage;
    } cases[] = {
        {"Found unknown control type",
         [](QByteArray& b) { b[controlRecordOf(b, "Label_start") + 2] = 7; }},
        {"Found control on unknown page",
         [](QByteArray& b) {
             qToBigEndian<qint32>(200, reinterpret_cast<uchar*>(b.data()) +
                                           b.indexOf("Control_start") + 13);
         }},
        // The second entry takes the first one's slot, then its control and action.
        {"Found duplicate IR slot assignment", [&](QByteArray& b) { b[entries + 6] = b[entries]; }},
        {"Found duplicate IR slot assignment",
         [&](QByteArray& b) { b.replace(entries + 7, 5, b.mid(entries + 1, 5)); }},
    };
    for (const auto& c : cases) {
        QByteArray damaged = bytes;
        c.damage(damaged);
        EXPECT_EQ(runtimeErrorOf([&] { load(project, damaged); }), c.message);
    }
}

TEST(ProjectFile, DroppedControlsAreNotListedOnTheirPage)
{
    Configuration project;
    SampleProject::fill(project, 1);
    QByteArray bytes = saved(project);
    const int record = controlRecordOf(bytes, "Label_start");
    const unsigned int labelId = qFromBigEndian<quint16>(bytes.constData() + record);
    const unsigned int pageId = project.getControl(labelId).getPageId();
    putShort(bytes, record, 5000); // beyond the 4096 controls a project can hold
    Configuration back;
    load(back, bytes);
    EXPECT_EQ(back.getControls().size(), 6u);
    std::set<unsigned int> expected = project.getPage(pageId).getControlIds();
    expected.erase(labelId);
    EXPECT_EQ(back.getPage(pageId).getControlIds(), expected);

    // Under an id taken already the same happens.
    putShort(bytes, record, 0);
    load(back, bytes);
    EXPECT_EQ(back.getPage(pageId).getControlIds(), expected);
}

TEST(ProjectFile, PageSwitcherUsageIsCountedFromThePages)
{
    // A damaged file stores counts that disagree with the pages; the loaded counts follow the
    // pages, so that removing a page never lowers a count of 0.
    Configuration project;
    SampleProject::fill(project, 1);
    std::map<unsigned int, int> expected;
    for (PageSwitcher& pageSwitcher : project.getPageSwitchers()) {
        expected[pageSwitcher.getId()] = pageSwitcher.usageCount();
        pageSwitcher.setUsage(pageSwitcher.usageCount() == 2 ? 0 : 7);
    }
    Configuration back;
    load(back, saved(project));
    ASSERT_EQ(back.getPageSwitchers().size(), expected.size());
    for (const PageSwitcher& pageSwitcher : back.getPageSwitchers())
        EXPECT_EQ(pageSwitcher.usageCount(), expected[pageSwitcher.getId()]);
}

TEST(ProjectFile, FailedSavesLeaveTheOldFileAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("project.qvp");
    Configuration small;
    small.clear();
    saveTo(small, path);
    const QByteArray old = TestUtil::readFile(path);
    Configuration big;
    SampleProject::fill(big, 20);
    // A picture large enough for its bytes to be copied into place on another thread.
    big.getTheme()->addPageBackgroundImageData(QByteArray(300 * 1024, 'p'), 0);

    EXPECT_EQ(runtimeErrorOf([&] { saveTo(big, dir.filePath("missing/project.qvp")); }),
              "The folder does not exist");
    // A folder in the target's place cannot be replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.qvp"));
    EXPECT_EQ(runtimeErrorOf([&] { saveTo(big, dir.filePath("folder.qvp")); }),
              "Not a regular file: a folder");

    // A device that fills up during the save: the file-size limit makes every write past 4 KiB
    // fail, as a full disk would.
    std::string error;
    {
        FileSizeLimit full(4096);
        error = runtimeErrorOf([&] { saveTo(big, path); });
    }
    EXPECT_EQ(error, "Unable to write file: File too large");

    // One bound for the writer and the reader: a project of the bound's size saves and opens
    // again; one larger is refused before the file is touched, with its size, counted to the end
    // wherever the bound falls (the last tag, a picture's bytes, the first field).
    const qint64 size = saved(big).size();
    const QRegularExpression tooLarge("^The project is too large to save: it takes ([0-9,]+) "
                                      "bytes \\(.*\\), more than the ");
    for (const qint64 bound : {size, size - 1, size / 2, Streamer::HeaderBytes}) {
        std::string error;
        underBound(bound, [&] { error = runtimeErrorOf([&] { saveTo(big, path); }); });
        const QString message = QString::fromStdString(error);
        if (bound == size) {
            Configuration back;
            underBound(bound, [&] {
                EXPECT_EQ(runtimeErrorOf([&] { loadFrom(back, path); }), "<no error>");
            });
            EXPECT_EQ(saved(back).size(), size);
            underBound(size - 1, [&] {
                EXPECT_EQ(runtimeErrorOf([&] { loadFrom(back, path); }), "File is too large");
            });
            ASSERT_TRUE(TestUtil::writeFile(path, old));
        } else {
            EXPECT_EQ(tooLarge.match(message).captured(1).remove(u',').toLongLong(), size) << error;
        }
        EXPECT_EQ(TestUtil::readFile(path), old) << bound;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"project.qvp"});
}

TEST(ProjectFile, EveryCutShortFileFailsCleanly)
{
    const QByteArray bytes = sampleBytes();
    Configuration target;
    for (int length = 0; length < bytes.size(); ++length) {
        EXPECT_NE(runtimeErrorOf([&] { load(target, bytes.left(length)); }), "<no error>")
            << "prefix of " << length << " bytes";
    }
    load(target, bytes);
    EXPECT_EQ(saved(target), bytes);
}

TEST(ProjectFile, FieldsCutShortFailAtTheTagThatFollows)
{
    Configuration project;
    const QByteArray bytes = sampleBytes();
    // Each file ends one byte before the tag: inside, or just before, the field in front of it.
    const struct
    {
        const char* tag;
        int occurrence;
        std::string message;
    } cases[] = {
        {"ConfigurationHeader_end", 0, "Failed to find expected tag ConfigurationHeader_end"},
        {"ImageData_end", 0, "Failed to find expected tag ImageData_end"},
        {"SkinProperty_end", 2, "Failed to find expected tag SkinProperty_end"},
        {"SkinTransition_end", 0, "Failed to find expected tag SkinTransition_end"},
        {"Control_end", 1, "Failed to find expected tag Control_end"},
        {"Slider_end", 0, "Failed to find expected tag Slider_end"},
        {"PageSwitcher_end", 0, "Failed to find expected tag PageSwitcher_end"},
        {"Configuration_end", 0, "Failed to find expected tag Configuration_end"},
        // A count promising more than is left ends the read at once: no tag follows a count.
        {"NavButtons_end", 2, "Unexpected end of file"},
    };
    for (const auto& c : cases) {
        int at = -1;
        for (int i = 0; i <= c.occurrence; ++i)
            at = bytes.indexOf(c.tag, at + 1);
        ASSERT_GT(at, 0) << c.tag;
        EXPECT_EQ(runtimeErrorOf([&] { load(project, bytes.left(at - 1)); }), c.message) << c.tag;
    }
}

TEST(ProjectFile, LoadedIRTableAndControlSlotsAgree)
{
    const QByteArray bytes = sampleBytes();
    const int entries = irEntriesOf(bytes); // slots 3, 4, 5 and 9
    const unsigned int goTo = 0, slider = 1, brighter = 6;
    const struct
    {
        const char* what;
        QByteArray bytes;
        QStringList table;
    } cases[] = {
        {"as saved",
         bytes,
         {QString("3:%1/1").arg(goTo), QString("4:%1/2").arg(slider), QString("5:%1/3").arg(slider),
          QString("9:%1/1").arg(brighter)}},
        // Slot 3 names a missing control; slot 9 an action buttons do not have.
        {"missing control and action",
         [&] {
             QByteArray b = bytes;
             qToBigEndian<qint32>(77, reinterpret_cast<uchar*>(b.data()) + entries + 1);
             b[entries + 18 + 5] = char(Action_INCREMENT);
             return b;
         }(),
         {QString("4:%1/2").arg(slider), QString("5:%1/3").arg(slider)}},
        // Slot 3 is given to the slider's increment instead of slot 4: the table wins.
        {"slot moved",
         [&] {
             QByteArray b = bytes;
             b.remove(entries + 6, 6);
             b.replace(entries, 6, QByteArray::fromHex("0300000001 02"));
             putShort(b, entries - 2, 3);
             return b;
         }(),
         {QString("3:%1/2").arg(slider), QString("5:%1/3").arg(slider),
          QString("9:%1/1").arg(brighter)}},
        // Written by an older program: slot 3 maps to a button whose own slot is none, while
        // the other button claims slot 3.
        {"older file", badProject("ir_slot_mismatch"), {"3:1/1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Configuration project;
        load(project, c.bytes);
        EXPECT_EQ(irTable(project), c.table);
        ASSERT_EQ(ownSlots(project), irTable(project));
        // Deleting a control and undoing it takes its entries out and puts them back.
        std::vector<unsigned int> ids;
        for (const Control& control : project.getControls())
            ids.push_back(control.getId());
        for (unsigned int id : ids) {
            smart_ptr<Control> control = project.removeControl(id);
            ASSERT_EQ(project.insertControl(control, id), id);
        }
        EXPECT_EQ(irTable(project), c.table);
    }
}

TEST(ProjectFile, FileCutInsideTheDefaultSkinsLeavesNoStaleName)
{
    Configuration project;
    EXPECT_EQ(runtimeErrorOf([&] { load(project, badProject("stale_default_cut")); }),
              "Failed to find expected tag Theme_end");
    const Theme* theme = project.getTheme();
    ASSERT_NE(theme, nullptr);
    for (const auto& [itemType, skinName] : theme->getDefaultSkins())
        ASSERT_NE(theme->findSkin(itemType, skinName), nullptr) << skinName.toStdString();
    for (int itemType = ThemedItemType_BUTTON; itemType <= ThemedItemType_CLOCK; ++itemType)
        theme->getDefaultSkin(ThemedItemType(itemType)); // never a fatal assertion
}

TEST(ProjectFile, SavesWriteThroughLinksAndKeepThePermissions)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("real.qvp");
    const QString link = dir.filePath("link.qvp");
    // A save through a chain of links replaces the file at its end; a loop of links is refused.
    const QString chain = dir.filePath("chain.qvp");
    const QString loop = dir.filePath("loop.qvp");
    Configuration project;
    project.clear();
    ASSERT_TRUE(TestUtil::writeFile(target, "old"));
    ASSERT_TRUE(QFile::link(target, link) && QFile::link(link, chain) && QFile::link(loop, loop));
    EXPECT_EQ(runtimeErrorOf([&] { saveTo(project, loop); }),
              "Not a regular file: a loop of symbolic links");
    const struct
    {
        QFile::Permissions before;
        QFile::Permissions after;
    } cases[] = {
        {QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup,
         QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup},
        // A file its owner may not read is never left so: the project could not be opened.
        {QFile::WriteOwner, QFile::ReadOwner | QFile::WriteOwner},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(QFile::setPermissions(target, c.before));
        saveTo(project, chain);
        EXPECT_TRUE(QFileInfo(link).isSymLink() && QFileInfo(chain).isSymLink());
        EXPECT_EQ(TestUtil::readFile(target), saved(project));
        EXPECT_EQ(QFile::permissions(target) & ModeBits, c.after);
    }
    EXPECT_EQ(QDir(dir.path())
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
              QStringList({"chain.qvp", "link.qvp", "loop.qvp", "real.qvp"}));
}

TEST(ProjectFile, SavesRefuseATargetTheUserMayNotWrite)
{
    // The save runs in a child process, which meets permissions as the file's owner does even
    // when run by root; others may write the file, its owner may not.
    QTemporaryDir dir;
    const QString path = dir.filePath("locked.qvp");
    ASSERT_TRUE(TestUtil::writeFile(path, "old"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup |
                                                QFile::WriteGroup | QFile::ReadOther));
    const auto save = [&] {
        if (!TestUtil::dropFileRights())
            ::_exit(2);
        Configuration project;
        project.clear();
        std::fprintf(stderr, "error: %s\n", runtimeErrorOf([&] { saveTo(project, path); }).c_str());
        ::_exit(TestUtil::readFile(path) != "old" ||
                QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() != 1);
    };
    EXPECT_EXIT(save(), ::testing::ExitedWithCode(0), "error: Permission denied\n");
}

// A project marked read-only is never replaced, even by a user whom no permission stops.
TEST(ProjectFile, SavesRefuseAFileMarkedReadOnly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("locked.qvp");
    ASSERT_TRUE(TestUtil::writeFile(path, "old"));
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(path, readOnly));
    Configuration project;
    project.clear();
    EXPECT_EQ(runtimeErrorOf([&] { saveTo(project, path); }), "The file is marked read-only");
    EXPECT_EQ(TestUtil::readFile(path), QByteArray("old"));
    EXPECT_EQ(QFile::permissions(path) & ModeBits, readOnly);
}

// A control whose rectangle leaves the range of control geometry (an edge beyond ±32767, or a
// negative size) fails the load with a message that names it; the range's own ends load.
TEST(ProjectFile, ControlsOutsideTheGeometryRangeFailTheLoadNamingTheControl)
{
    const std::pair<QRect, bool> cases[] = {
        {QRect(QPoint(-32767, -32767), QPoint(32767, 32767)), true},
        {QRect(QPoint(40, 50), QPoint(39, 49)), true}, // no size
        {QRect(QPoint(INT_MAX - 9, 0), QPoint(INT_MAX, 9)), false},
        {QRect(QPoint(0, INT_MIN), QPoint(9, INT_MIN + 9)), false},
        {QRect(QPoint(0, 0), QPoint(32768, 9)), false},
        {QRect(QPoint(10, 10), QPoint(8, 20)), false}, // negative width
    };
    for (const auto& [geometry, loads] : cases) {
        Configuration project, back;
        SampleProject::fill(project, 1);
        Control& label = project.getControl(4);
        label.setName("hallLabel");
        label.setGeometry(geometry);
        const std::string error = runtimeErrorOf([&] { load(back, saved(project)); });
        EXPECT_EQ(error.rfind("Control \"hallLabel\" lies outside", 0),
                  loads ? std::string::npos : 0);
        EXPECT_TRUE(!loads || back.getControl(4).getGeometry() == geometry);
    }
}

// A project that names pages and switchers it does not hold (a switcher lists page 77, the
// first page shows switcher 9, a Go To Page button targets page 55, the default page is 66)
// loads with those references dropped as the editor drops them, so that no later lookup of
// them is fatal; the theme image ids it names that the theme lacks are kept. A project whose
// default page is none (-1) also has its first page as the default.
TEST(ProjectFile, DanglingReferencesAreDroppedOnLoad)
{
    Configuration project;
    load(project, badProject("dangling_references"));
    const unsigned int home = project.getPages().begin()->getId();
    EXPECT_EQ(project.getPageSwitcher(0).getPageIds(), (std::vector<unsigned int>{home, home + 1}));
    EXPECT_EQ(project.getPageSwitcher(0).usageCount(), 1);
    EXPECT_EQ(project.getPage(home).getPageSwitcherId(), UINT_MAX);
    EXPECT_EQ(project.getPage(home).getIconId(), 40u);
    EXPECT_EQ(project.getControl<Button>(0)->getImageId(), 30u);
    EXPECT_EQ(project.getControl<Button>(0)->getFunctionPage(), UINT_MAX);
    EXPECT_EQ(project.getDefaultPageId(), home);

    Configuration noDefault;
    load(noDefault, badProject("ir_slot_mismatch"));
    EXPECT_EQ(noDefault.getDefaultPageId(), noDefault.getPages().begin()->getId());
}

// However long a switcher's list, the project keeps each of its pages once, in the list's
// order: 200,000 entries (an 800 KB file) name pages 1 and 0 over and over, pages the project
// lacks and ids no page can have. The preview then draws two buttons.
TEST(ProjectFile, ASwitcherListOfAnyLengthKeepsEachPageOnce)
{
    QByteArray bytes = HexFixture::load("bad/project/switcher_lists_page_twice");
    const QByteArray list = fromHex("00000003 00000000 00000001 00000000");
    const int at = bytes.indexOf(list);
    ASSERT_GT(at, 0);
    constexpr quint32 Count = 200000;
    QByteArray entries(4 + 4 * Count, Qt::Uninitialized);
    qToBigEndian(Count, entries.data());
    for (quint32 i = 0; i < Count; ++i)
        qToBigEndian<quint32>(i % 4 == 0   ? 1
                              : i % 4 == 1 ? 0
                              : i % 4 == 2 ? 7
                                           : 300 + i,
                              entries.data() + 4 + 4 * i);
    bytes.replace(at, list.size(), entries);

    Configuration project;
    load(project, bytes);
    ASSERT_EQ(project.getPageSwitcher(0).getPageIds(), (std::vector<unsigned int>{1, 0}));
    VelmoraQML::QMLStreamer text(&project);
    VelmoraQML::QMLRenderer renderer(&text);
    project.render(&renderer);
    text.flush();
    EXPECT_EQ(text.text().count("PageSwitcherButton {"), 2);
}

namespace {

// A change of a project that changes every control of the type.
template <class T> std::function<void(Configuration&)> eachControl(void (*change)(T&))
{
    return [change](Configuration& project) {
        for (Control& control : project.getControls())
            if (auto* typed = dynamic_cast<T*>(&control))
                change(*typed);
    };
}

} // namespace

// A file keeps the enumerated values it stores, also those no editor gives (a foreign or newer
// file): read and saved again it is the same file, byte for byte. Only an orientation and a
// switcher edge that no screen has are read as the screen and the edge they are shown with.
TEST(ProjectFile, StoredEnumeratedValuesSurviveALoadAndASave)
{
    using Change = std::function<void(Configuration&)>;
    std::vector<std::pair<QString, Change>> rows;
    for (int function = 0; function <= 8; ++function)
        rows.emplace_back(QString("unlock function %1").arg(function),
                          [function](Configuration& p) { p.setUnlockFunction(function); });
    const std::pair<QString, Change> others[] = {
        {"slider unit 0 over 0..100 without a suffix", eachControl<Slider>([](Slider& slider) {
             slider.setUnit(Slider::Unit(0));
             slider.setMaximum(100);
         })},
        {"actuation, function and transition", eachControl<Button>([](Button& button) {
             button.setActuation(Button::Actuation(200));
             if (button.getFunction() == ButtonFunction_GO_TO_PAGE)
                 button.setFunctionTransition(PageTransition(200));
             else
                 button.setFunction(ButtonFunction(250));
         })},
        {"keypad text styles", eachControl<Keypad>([](Keypad& keypad) {
             keypad.setDisplayTextStyle(TextStyle(200));
             keypad.setButtonTextStyle(TextStyle(9));
         })},
        {"clock type",
         eachControl<Clock>([](Clock& clock) { clock.setClockType(Clock::ClockType(5)); })},
        {"page scaling and navigation",
         [](Configuration& p) {
             p.getPage(0).setBackgroundImageScaling(Scaling(200));
             p.getPage(2).setNavButtons({200, Alignment(254), {ButtonFunction(255)}});
         }},
        {"switcher alignment",
         [](Configuration& p) { p.getPageSwitcher(0).setAlignment(Alignment(200)); }},
        {"theme values",
         [](Configuration& p) {
             Theme& theme = *p.getTheme();
             theme.findSkin(ThemedItemType_BUTTON, "Normal")->getTransition().easing = 200;
             theme.findSkin(ThemedItemType_BUTTON, "Pressed")->getTransition().easing = 45;
             theme.getPageBackgroundImages()[0].setOrientation(200);
             theme.setDefaultItemProperty(ThemedItemType_KEYPAD, "displayTextStyle",
                                          QVariant::fromValue(TextStyle(200)));
         }},
        {"theme entries of item type 200",
         [](Configuration& p) {
             smart_ptr<SkinSet> set(new SkinSet(ThemedItemType(200)));
             set->getSkin("Odd", true)->getTransition().duration = 10;
             p.getTheme()->setSkinSet(set);
             p.getTheme()->setDefaultSkin(ThemedItemType(200), "Odd");
             p.getTheme()->setDefaultItemProperty(ThemedItemType(200), "fontSize", 9);
         }},
    };
    rows.insert(rows.end(), std::begin(others), std::end(others));

    Configuration sample;
    SampleProject::fill(sample, 1);
    sample.setUnlockFunction(9); // one no row gives, so that every row changes the file
    const QByteArray base = saved(sample);
    for (const auto& [what, change] : rows) {
        SCOPED_TRACE(what.toStdString());
        Configuration project;
        load(project, base);
        change(project);
        const QByteArray file = saved(project);
        ASSERT_NE(file, base);
        Configuration back;
        load(back, file);
        EXPECT_EQ(saved(back), file);
    }

    Configuration project;
    load(project, base);
    project.setOrientation(200);
    project.getPageSwitcher(0).setPosition(200);
    Configuration back;
    load(back, saved(project));
    EXPECT_EQ(back.getOrientation(), Orientation_PORTRAIT);
    EXPECT_EQ(back.getPageSwitcher(0).getPosition(), NavigationPosition_BOTTOM);
}
