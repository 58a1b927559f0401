#include "containers/sortvector_el.h"
#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/renderable.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Records every visit; counts its own destruction.
class RecordingRenderer : public Velmora::AbstractRenderer
{
public:
    explicit RecordingRenderer(int* destroyed = nullptr) : destroyed(destroyed) {}
    ~RecordingRenderer() override
    {
        if (destroyed)
            ++*destroyed;
    }
    void renderConfiguration(const Velmora::Configuration*) override { calls.push_back("c"); }
    void renderPage(const Velmora::Page*) override { calls.push_back("page"); }
    void renderButton(const Velmora::Button*) override { calls.push_back("button"); }
    void renderSlider(const Velmora::Slider*) override { calls.push_back("slider"); }
    void renderColourPicker(const Velmora::ColourPicker*) override { calls.push_back("picker"); }
    void renderKeypad(const Velmora::Keypad*) override { calls.push_back("keypad"); }
    void renderLabel(const Velmora::Label*) override { calls.push_back("label"); }
    void renderClock(const Velmora::Clock* clock) override
    {
        calls.push_back("clock");
        clocks.push_back(clock);
    }
    void renderPageSwitcher(const Velmora::PageSwitcher*) override { calls.push_back("switcher"); }

    int* destroyed;
    std::vector<std::string> calls;
    std::vector<const Velmora::Clock*> clocks;
};

// A themed model item of the same shape as a control: the container element first, then the
// themed base, reached from either through a cast. It stands in for a clock.
class Item : public sortvector_el, public Velmora::Themed
{
public:
    void render(Velmora::AbstractRenderer* renderer) const override
    {
        renderer->renderClock(nullptr);
    }
    int value = 3;
};

} // namespace

TEST(Renderable, ItemVisitsTheOperationOfItsKindOnce)
{
    Item page;
    const Velmora::Renderable& asRenderable = page;
    RecordingRenderer renderer;
    asRenderable.render(&renderer);
    EXPECT_EQ(renderer.calls, std::vector<std::string>{"clock"});
    EXPECT_EQ(renderer.clocks.size(), 1u);

    // The default takes nothing from a theme.
    Velmora::Themed& themed = page;
    themed.initialiseFromTheme(nullptr, nullptr);
    EXPECT_EQ(page.value, 3);
    EXPECT_EQ(dynamic_cast<sortvector_el*>(&themed), static_cast<sortvector_el*>(&page));
}

TEST(Renderable, RenderersAreDeletedThroughTheBase)
{
    int destroyed = 0;
    Velmora::AbstractRenderer* renderer = new RecordingRenderer(&destroyed);
    delete renderer;
    EXPECT_EQ(destroyed, 1);
}
