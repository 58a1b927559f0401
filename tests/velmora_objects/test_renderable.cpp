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

namespace {

// A themed model item of the same shape as a control: the container element first, then the
// themed base, reached from either through a cast.
class Item : public sortvector_el, public Themed
{
public:
    void render(AbstractRenderer* renderer) const override { renderer->renderClock(nullptr); }
};

} // namespace

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

TEST(Renderable, ThemedItemsTakeNothingByDefault)
{
    Item item;
    Themed& themed = item;
    themed.initialiseFromTheme(nullptr, nullptr);
    EXPECT_EQ(dynamic_cast<sortvector_el*>(&themed), static_cast<sortvector_el*>(&item));
    ModelStream::RecordingRenderer renderer;
    static_cast<const Renderable&>(item).render(&renderer);
    EXPECT_EQ(renderer.calls, QStringList{"clock"});

    // Pages take no theme defaults either.
    Theme theme{QString()};
    theme.setDefaultItemProperty(ThemedItemType_BUTTON, "fontSize", 30);
    Page page;
    const QByteArray before = ModelStream::written([&](Streamer& s) { s << page; });
    page.initialiseFromTheme(&theme, nullptr);
    EXPECT_EQ(ModelStream::written([&](Streamer& s) { s << page; }), before);
}
