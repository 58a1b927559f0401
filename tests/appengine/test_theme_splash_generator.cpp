#include "appengine/theme_splash_generator.h"
#include "appengine/theme_splash_item_model.h"
#include "common/qml_fixture.h"
#include "velmora_objects/qml_fixtures.h"

#include "core/progress_handler.h"
#include "velmora_objects/qml/qml_themed_object.h"

#include <QBuffer>
#include <QGraphicsScene>
#include <QPointer>
#include <QQuickItem>
#include <set>

using namespace Velmora;

namespace {

const QRgb LightGrey = QColor(Qt::lightGray).rgb();

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray plainPng(const QSize& size, const QColor& colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return png(image);
}

// Button skins "B00", "B01", ... of flat red; slider skins "S00", ... of the defaults.
Theme* makeTheme(int buttons, int sliders)
{
    auto* theme = new Theme(QString());
    auto* buttonSet = new SkinSet(ThemedItemType_BUTTON);
    for (int i = 0; i < buttons; ++i) {
        Skin* skin =
            QmlFixtures::addSkin(*buttonSet, QString("B%1").arg(i, 2, 10, QChar('0')), 0, 3);
        for (const char* key : {"gradientTopColour", "gradientBottomColour"})
            QmlFixtures::addProperty(*skin, new ColourSkinProperty(key, key, QColor(Qt::red)));
        QmlFixtures::addProperty(*skin, new IntSkinProperty("borderWidth", "", 0, "", 0, 99, ""));
    }
    theme->setSkinSet(smart_ptr<SkinSet>(buttonSet));
    if (sliders > 0) {
        auto* sliderSet = new SkinSet(ThemedItemType_SLIDER);
        for (int i = 0; i < sliders; ++i)
            QmlFixtures::addSkin(*sliderSet, QString("S%1").arg(i, 2, 10, QChar('0')), 0, 3);
        theme->setSkinSet(smart_ptr<SkinSet>(sliderSet));
    }
    return theme;
}

QRect geometry(const QQuickItem* item)
{
    return QRect(qRound(item->x()), qRound(item->y()), qRound(item->width()),
                 qRound(item->height()));
}

// The samples of the type in skin-name order.
std::vector<QQuickItem*> samplesOf(const ThemeSplashGenerator& generator, int orientation,
                                   ThemedItemType type)
{
    std::vector<QQuickItem*> items;
    const auto& samples = generator.samples(orientation);
    const auto found = samples.find(type);
    if (found != samples.end())
        for (const auto& entry : found->second)
            items.push_back(entry.second);
    return items;
}

} // namespace

using SplashGenerator = TestUtil::QmlFixture;

// The cascades: sizes shrink and samples overlap as the selected skins grow in number; of
// twelve skins only the first ten by name are selected, laid out and put on the scene.
TEST_F(SplashGenerator, LaysSamplesOutInCascades)
{
    const struct
    {
        int buttons;
        int sliders;
        int orientation;
        ThemedItemType type;
        QSize size;
        QPoint first;
        QPoint step;
    } rows[] = {
        {1, 1, Orientation_LANDSCAPE, ThemedItemType_BUTTON, {150, 60}, {10, 10}, {}},
        {1, 1, Orientation_LANDSCAPE, ThemedItemType_SLIDER, {64, 210}, {250, 10}, {}},
        {1, 1, Orientation_PORTRAIT, ThemedItemType_SLIDER, {64, 199}, {10, 229}, {}},
        {2, 3, Orientation_LANDSCAPE, ThemedItemType_BUTTON, {150, 60}, {10, 10}, {70, 60}},
        {2, 3, Orientation_PORTRAIT, ThemedItemType_BUTTON, {150, 60}, {10, 10}, {102, 60}},
        {2, 3, Orientation_LANDSCAPE, ThemedItemType_SLIDER, {64, 150}, {250, 10}, {64, 30}},
        {3, 10, Orientation_LANDSCAPE, ThemedItemType_BUTTON, {110, 60}, {10, 10}, {55, 60}},
        {3, 10, Orientation_LANDSCAPE, ThemedItemType_SLIDER, {44, 150}, {250, 10}, {20, 7}},
        {3, 10, Orientation_PORTRAIT, ThemedItemType_SLIDER, {44, 150}, {10, 229}, {24, 6}},
        {12, 0, Orientation_LANDSCAPE, ThemedItemType_BUTTON, {100, 44}, {10, 10}, {14, 19}},
    };
    ThemeSplashGenerator generator(nullptr);
    std::unique_ptr<Theme> theme;
    for (const auto& row : rows) {
        if (!theme ||
            theme->getSkinSet(ThemedItemType_BUTTON)->size() != std::size_t(row.buttons)) {
            theme.reset(makeTheme(row.buttons, row.sliders));
            generator.setTheme(theme.get(), nullptr);
        }
        const std::vector<QQuickItem*> items = samplesOf(generator, row.orientation, row.type);
        const int count = row.type == ThemedItemType_BUTTON ? row.buttons : row.sliders;
        ASSERT_EQ(int(items.size()), count) << row.buttons;
        const int laidOut = std::min(count, 10);
        for (int i = 0; i < laidOut; ++i)
            EXPECT_EQ(geometry(items[i]), QRect(row.first + row.step * i, row.size))
                << row.buttons << " " << row.orientation << " " << row.type << " #" << i;
        // The surface holds exactly the selected samples, the page switcher above them.
        QQuickItem* last = items[laidOut - 1];
        EXPECT_TRUE(last->parentItem());
        for (int i = laidOut; i < count; ++i)
            EXPECT_FALSE(items[i]->parentItem());
    }
    EXPECT_EQ(generator.selection()->checkedSkins(ThemedItemType_BUTTON).size(), 10);
    EXPECT_EQ(generator.selection()->checkedSkins(ThemedItemType_BUTTON).last(), "B09");
    EXPECT_EQ(generator.selection()->item(0)->rowCount(), 12);
    const QList<QQuickItem*> onSurface =
        samplesOf(generator, Orientation_LANDSCAPE, ThemedItemType_BUTTON)[0]
            ->parentItem()
            ->childItems();
    ASSERT_EQ(onSurface.size(), 11);
    EXPECT_EQ(onSurface.last(),
              samplesOf(generator, Orientation_LANDSCAPE, ThemedItemType_PAGE_SWITCHER)[0]);
}

// The background: one made for the orientation, else one for any, else light grey; scaled to
// cover the splash and cut about its centre. Samples and the page switcher paint above it.
TEST_F(SplashGenerator, PaintsBackgroundsAndSamples)
{
    // Blue edges 100 columns wide on green: 1000 × 500 becomes 544 × 272, cut at column 32.
    QImage wide(1000, 500, QImage::Format_RGB32);
    wide.fill(Qt::green);
    QPainter edges(&wide);
    edges.fillRect(0, 0, 100, 500, Qt::blue);
    edges.fillRect(900, 0, 100, 500, Qt::blue);
    edges.end();

    std::unique_ptr<Theme> theme(makeTheme(1, 1));
    for (int i = 0; i < 7; ++i)
        theme->addIconData(plainPng({24, 24}, QColor(i * 30, 0, 0)));
    ThemeSplashGenerator generator(theme.get());

    // No page background at all.
    for (int orientation : {Orientation_LANDSCAPE, Orientation_PORTRAIT}) {
        const QImage splash = generator.renderSplash(orientation);
        EXPECT_EQ(splash.size(),
                  orientation == Orientation_LANDSCAPE ? QSize(480, 272) : QSize(272, 480));
        EXPECT_EQ(splash.pixel(2, 2), LightGrey) << orientation;
        EXPECT_EQ(splash.pixel(20, 20), qRgb(255, 0, 0)) << orientation; // the button
        // The page switcher covers the foot band.
        EXPECT_NE(splash.pixel(splash.width() / 2, splash.height() - 20), LightGrey);
    }
    // Seven icons: seven pages in landscape, six in portrait.
    for (int orientation : {Orientation_LANDSCAPE, Orientation_PORTRAIT}) {
        int pages = 0;
        for (QQuickItem* child : samplesOf(generator, orientation, ThemedItemType_PAGE_SWITCHER)[0]
                                     ->findChildren<QQuickItem*>())
            pages += qstrncmp(child->metaObject()->className(), "PageSwitcherButton", 18) == 0;
        EXPECT_EQ(pages, orientation == Orientation_LANDSCAPE ? 7 : 6);
    }

    const unsigned int any = theme->addPageBackgroundImageData(plainPng({50, 50}, Qt::cyan), 0);
    generator.setTheme(theme.get(), nullptr);
    EXPECT_EQ(generator.backgroundId(Orientation_LANDSCAPE), any);
    EXPECT_EQ(generator.backgroundId(Orientation_PORTRAIT), any);
    EXPECT_EQ(generator.renderSplash(Orientation_PORTRAIT).pixel(2, 2), QColor(Qt::cyan).rgb());

    // A landscape image wins over the earlier one for any orientation, in landscape only.
    const unsigned int landscape = theme->addPageBackgroundImageData(png(wide), 1);
    generator.setTheme(theme.get(), nullptr);
    EXPECT_EQ(generator.backgroundId(Orientation_LANDSCAPE), landscape);
    EXPECT_EQ(generator.backgroundId(Orientation_PORTRAIT), any);
    const QImage splash = generator.renderSplash(Orientation_LANDSCAPE);
    for (const auto& [x, colour] : std::vector<std::pair<int, QRgb>>{{2, qRgb(0, 0, 255)},
                                                                     {30, qRgb(0, 255, 0)},
                                                                     {440, qRgb(0, 255, 0)},
                                                                     {470, qRgb(0, 0, 255)}})
        EXPECT_EQ(splash.pixel(x, 2), colour) << x;
    theme->removePageBackgroundImage(any);
    generator.setTheme(theme.get(), nullptr);
    EXPECT_EQ(generator.renderSplash(Orientation_PORTRAIT).pixel(2, 2), LightGrey);
}

// The progress range is sized from the skin counts and walked to its end; a null theme
// leaves nothing behind.
TEST_F(SplashGenerator, ReportsProgressAndClearsForNoTheme)
{
    struct Seen
    {
        std::set<unsigned> sizes;
        unsigned lastPosition = 0;
        ProgressHandler* handler = nullptr;
    } seen;
    ProgressHandler progress;
    seen.handler = &progress;
    progress.user = &seen;
    progress.progressCallback = [](unsigned, unsigned, void* user) {
        auto* s = static_cast<Seen*>(user);
        if (!s->handler->ranges.empty()) {
            s->sizes.insert(s->handler->ranges.back().size);
            s->lastPosition = std::max(s->lastPosition, s->handler->ranges.back().position);
        }
    };

    std::unique_ptr<Theme> theme(makeTheme(3, 2));
    ThemeSplashGenerator generator(nullptr);
    EXPECT_FALSE(generator.scene(Orientation_LANDSCAPE));
    generator.setTheme(theme.get(), &progress);
    EXPECT_EQ(progress.message, "Generating item states...");
    EXPECT_EQ(seen.sizes, std::set<unsigned>({18}));
    EXPECT_EQ(seen.lastPosition, 18u); // ended: the last step reaches the size
    EXPECT_TRUE(progress.ranges.empty());
    const QImage reported = generator.renderSplash(Orientation_PORTRAIT);
    ThemeSplashGenerator quiet(theme.get());
    EXPECT_EQ(quiet.renderSplash(Orientation_PORTRAIT), reported);

    QPointer<QQuickItem> sample =
        samplesOf(generator, Orientation_PORTRAIT, ThemedItemType_SLIDER)[0];
    generator.setTheme(nullptr, nullptr);
    EXPECT_FALSE(sample);
    EXPECT_TRUE(generator.samples(Orientation_LANDSCAPE).empty() &&
                generator.samples(Orientation_PORTRAIT).empty());
    EXPECT_FALSE(generator.scene(Orientation_PORTRAIT));
    EXPECT_EQ(generator.selection()->rowCount(), 0);
    EXPECT_EQ(generator.backgroundId(Orientation_LANDSCAPE), UINT_MAX);

    generator.setTheme(theme.get(), nullptr);
    EXPECT_EQ(samplesOf(generator, Orientation_PORTRAIT, ThemedItemType_SLIDER).size(), 2u);
    EXPECT_EQ(generator.renderSplash(Orientation_PORTRAIT), reported);
}
