#include "velmora_objects/sample_project.h"

#include <gtest/gtest.h>

using namespace Velmora;

namespace {

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

std::map<unsigned char, IRAction> tableOf(const Configuration& project)
{
    std::map<unsigned char, IRAction> table;
    for (const auto& entry : project.getIRSlots().left)
        table[entry.first] = entry.second;
    return table;
}

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
    const std::map<unsigned char, IRAction> expected{{4, IRAction(1, Action_CLICK)},
                                                     {6, IRAction(30, Action_INCREMENT)}};
    EXPECT_EQ(tableOf(project), expected);

    // A control that cannot be stored registers nothing and stays with the caller.
    smart_ptr<Control> refused = buttonWithSlot(8);
    EXPECT_EQ(project.insertControl(refused, 30), UINT_MAX);
    EXPECT_NE(refused.get(), nullptr);
    smart_ptr<Control> tooFar = buttonWithSlot(9);
    EXPECT_EQ(project.insertControl(tooFar, 4096), UINT_MAX);
    EXPECT_EQ(tableOf(project), expected);
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
