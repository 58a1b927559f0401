#include "model_stream.h"
#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/theme.h"

#include <gtest/gtest.h>
#include <memory>

using namespace Velmora;

TEST(Renderable, EachObjectVisitsTheOperationOfItsKindOnce)
{
    auto oddClock = std::make_shared<Clock>();
    oddClock->setClockType(Clock::ClockType(5)); // whatever its clock type, a clock
    const std::pair<std::shared_ptr<Renderable>, const char*> cases[] = {
        {std::make_shared<Page>(), "page"},
        {std::make_shared<PageSwitcher>(), "pageSwitcher"},
        {std::make_shared<Button>(), "button"},
        {std::make_shared<Slider>(), "slider"},
        {std::make_shared<ColourPicker>(), "colourPicker"},
        {std::make_shared<Keypad>(), "keypad"},
        {std::make_shared<Label>(), "label"},
        {std::make_shared<Clock>(), "clock"},
        {oddClock, "clock"},
    };
    for (const auto& [object, kind] : cases) {
        ModelStream::RecordingRenderer renderer;
        object->render(&renderer);
        EXPECT_EQ(renderer.calls, QStringList{kind});
        EXPECT_EQ(renderer.object, dynamic_cast<const void*>(object.get())) << kind;
    }
}

TEST(Renderable, PagesTakeNoThemeDefaults)
{
    Theme theme{QString()};
    theme.setDefaultItemProperty(ThemedItemType_BUTTON, "fontSize", 30);
    Page page;
    const QByteArray before = ModelStream::objectBytes(page);
    page.initialiseFromTheme(&theme, nullptr);
    EXPECT_EQ(ModelStream::objectBytes(page), before);
}
