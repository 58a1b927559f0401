#include "appengine/theme_splash_generator.h"

#include "appengine/theme_splash_item_model.h"
#include "core/assertion.h"
#include "core/progress_handler.h"
#include "velmora_objects/button.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_themed_object.h"
#include "velmora_objects/qml/theme_image_provider.h"
#include "velmora_objects/qml_renderer.h"
#include "velmora_objects/qml_streamer.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/theme.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QPainter>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <algorithm>

namespace {

const QSize LandscapeSize(480, 272);
const QSize PortraitSize(272, 480);
// The foot of each splash, kept free of buttons and sliders for the page switcher.
constexpr int FootBand = 42;
constexpr int SelectedSkins = 10;
constexpr double ShareFactor = 1.5;
constexpr int Margin = 10;
const QRect SampleGeometry(0, 0, 100, 44);

// The engine of the module's shared context; null when there is none.
QQmlEngine* sharedEngine()
{
    QQmlContext* context = VelmoraQML::context();
    return context ? context->engine() : nullptr;
}

// A configuration of the orientation holding a copy of the theme: what the sample's QML text
// is written for.
std::unique_ptr<Velmora::Configuration> sampleConfiguration(const Velmora::Theme* theme,
                                                            int orientation)
{
    auto configuration = std::make_unique<Velmora::Configuration>();
    configuration->setOrientation(orientation);
    configuration->setTheme(new Velmora::Theme(*theme));
    return configuration;
}

// The theme's images, served to the sample QML written for the configuration for as long as
// it lives: its addresses name the configuration's serial number.
class ProviderRegistration
{
public:
    ProviderRegistration(QQmlEngine* engine, const Velmora::Theme* theme,
                         const Velmora::Configuration& configuration)
        : m_engine(engine), m_name(QStringLiteral("theme%1").arg(configuration.getSerial()))
    {
        m_engine->addImageProvider(m_name, new VelmoraQML::ThemeImageProvider(theme));
    }
    ~ProviderRegistration() { m_engine->removeImageProvider(m_name); }
    ProviderRegistration(const ProviderRegistration&) = delete;
    ProviderRegistration& operator=(const ProviderRegistration&) = delete;

private:
    QQmlEngine* m_engine;
    QString m_name;
};

// The sample object the text makes; null when it does not compile.
VelmoraQML::QMLThemedObject* createSample(QQmlEngine* engine, const QString& text)
{
    QObject* object = VelmoraQML::createObject(*engine, text);
    auto* sample = qobject_cast<VelmoraQML::QMLThemedObject*>(object);
    if (!sample) {
        delete object;
        return nullptr;
    }
    QQmlEngine::setObjectOwnership(sample, QQmlEngine::CppOwnership);
    return sample;
}

// Counts a step of the progress range, when there is a handler.
void step(ProgressHandler* progress, unsigned int& counter)
{
    if (progress)
        progress->setPosition(++counter);
}

// One sample of the control per skin of its item type, each showing its skin at once.
template <class ControlClass>
void populateItemMap(const Velmora::Theme* theme, Velmora::ThemedItemType type,
                     const ControlClass& control, int orientation,
                     ThemeSplashGenerator::SampleMap& items, unsigned int& counter,
                     ProgressHandler* progress)
{
    QQmlEngine* engine = sharedEngine();
    const Velmora::SkinSet* skins = theme->getSkinSet(type);
    if (!engine || !skins)
        return;
    const auto configuration = sampleConfiguration(theme, orientation);
    VelmoraQML::QMLStreamer streamer(configuration.get());
    VelmoraQML::QMLRenderer renderer(&streamer);
    renderer.standalone = true;
    control.render(&renderer);
    const ProviderRegistration provider(engine, theme, *configuration);
    for (const auto& entry : *skins) {
        VelmoraQML::QMLThemedObject* sample = createSample(engine, streamer.text());
        if (!sample)
            continue;
        sample->setSkin(entry.first, true);
        items[type][entry.first] = sample;
        step(progress, counter);
    }
}

// A page switcher along the foot of the splash with a page per icon, as many as fit.
void populatePageSwitcherItem(const Velmora::Theme* theme, int orientation,
                              ThemeSplashGenerator::SampleMap& items)
{
    QQmlEngine* engine = sharedEngine();
    if (!engine)
        return;
    const auto configuration = sampleConfiguration(theme, orientation);
    const ProviderRegistration provider(engine, theme, *configuration);
    Velmora::PageSwitcher pageSwitcher;
    pageSwitcher.setPosition(Velmora::NavigationPosition_BOTTOM);
    pageSwitcher.setAlignment(Velmora::Alignment_SPREAD);
    pageSwitcher.initialiseFromTheme(theme, nullptr);
    const int pages = orientation == Velmora::Orientation_LANDSCAPE ? 10 : 6;
    int index = 0;
    for (const Velmora::ImageData& icon : theme->getIcons()) {
        if (index >= pages)
            break;
        const unsigned int pageId = configuration->addPage();
        Velmora::Page& page = configuration->getPage(pageId);
        page.setName(QObject::tr("Page %1").arg(index + 1));
        page.setIconId(icon.getId());
        pageSwitcher.insertPage(pageId, index);
        ++index;
    }
    VelmoraQML::QMLStreamer streamer(configuration.get());
    VelmoraQML::QMLRenderer renderer(&streamer);
    renderer.standalone = true;
    pageSwitcher.render(&renderer);
    if (VelmoraQML::QMLThemedObject* sample = createSample(engine, streamer.text())) {
        sample->setVisible(true);
        items[Velmora::ThemedItemType_PAGE_SWITCHER][QStringLiteral("Default")] = sample;
    }
}

// The page background of the id scaled to cover the size and cut to it about its centre; a
// light grey page without one.
QPixmap backgroundPixmap(const Velmora::Theme* theme, unsigned int id, const QSize& size)
{
    if (id == UINT_MAX) {
        QPixmap grey(size);
        grey.fill(Qt::lightGray);
        return grey;
    }
    QPixmap pixmap = theme->getPageBackgroundPixmap(id).scaled(size, Qt::KeepAspectRatioByExpanding,
                                                               Qt::FastTransformation);
    if (pixmap.width() > size.width() || pixmap.height() > size.height())
        pixmap =
            pixmap.copy(QRect((pixmap.width() - size.width()) / 2,
                              (pixmap.height() - size.height()) / 2, size.width(), size.height()));
    return pixmap;
}

} // namespace

// A splash scene: the samples are items on a transparent QML surface that sits in the scene
// through a proxy at (0, 0), above the background.
class ThemeSplashGenerator::SplashScene : public QGraphicsScene
{
public:
    SplashScene(const QSize& size, QObject* parent) : QGraphicsScene(parent)
    {
        QQmlEngine* engine = sharedEngine();
        m_surface = engine ? new QQuickWidget(engine, nullptr) : new QQuickWidget();
        m_surface->setResizeMode(QQuickWidget::SizeRootObjectToView);
        m_surface->setClearColor(Qt::transparent);
        m_surface->resize(size);
        m_root = std::make_unique<QQuickItem>();
        m_root->setParentItem(m_surface->quickWindow()->contentItem());
        m_proxy = addWidget(m_surface);
        m_proxy->setPos(0, 0);
        m_proxy->setZValue(1);
    }

    ~SplashScene() override
    {
        // The samples are gone by now; the scene graph lets go of their textures in one more
        // frame.
        m_root.reset();
        m_surface->quickWindow()->releaseResources();
        m_surface->grabFramebuffer();
        delete m_proxy;
    }

    void addSample(QQuickItem* item) { item->setParentItem(m_root.get()); }

    // Paints the scene as render() does, the samples as the surface draws them now. The surface
    // otherwise draws on a timer of its own, and a grab renders into an image of its own, so the
    // proxy is left out of the painting and the grab drawn in its place.
    void paint(QPainter* painter, const QRectF& target, const QRectF& source)
    {
        const QImage samples = m_surface->grabFramebuffer();
        m_proxy->setVisible(false);
        render(painter, target, source, Qt::KeepAspectRatio);
        m_proxy->setVisible(true);
        painter->save();
        painter->translate(target.topLeft());
        painter->scale(target.width() / source.width(), target.height() / source.height());
        painter->translate(-source.topLeft());
        painter->drawImage(m_proxy->pos(), samples);
        painter->restore();
    }

private:
    QQuickWidget* m_surface = nullptr;
    QGraphicsProxyWidget* m_proxy = nullptr;
    std::unique_ptr<QQuickItem> m_root;
};

ThemeSplashGenerator::ThemeSplashGenerator(const Velmora::Theme* theme, QObject* parent)
    : QObject(parent), landscapeBackground(new QGraphicsPixmapItem),
      portraitBackground(new QGraphicsPixmapItem), itemModel(new ThemeSplashItemModel(this))
{
    setTheme(theme, nullptr);
}

ThemeSplashGenerator::~ThemeSplashGenerator()
{
    setTheme(nullptr, nullptr);
    delete itemModel;
    delete landscapeBackground;
    delete portraitBackground;
}

QGraphicsScene* ThemeSplashGenerator::scene(int orientation) const
{
    return orientation == Velmora::Orientation_LANDSCAPE ? landscapeScene : portraitScene;
}

const ThemeSplashGenerator::SampleMap& ThemeSplashGenerator::samples(int orientation) const
{
    return orientation == Velmora::Orientation_LANDSCAPE ? landscapeItems : portraitItems;
}

unsigned int ThemeSplashGenerator::backgroundId(int orientation) const
{
    return orientation == Velmora::Orientation_LANDSCAPE ? landscapeBackgroundId
                                                         : portraitBackgroundId;
}

void ThemeSplashGenerator::clearItems(SampleMap& items)
{
    for (const auto& type : items)
        for (const auto& sample : type.second)
            delete sample.second;
    items.clear();
}

void ThemeSplashGenerator::setTheme(const Velmora::Theme* newTheme, ProgressHandler* progress)
{
    // The samples go before their scenes, and the backgrounds leave the scenes, which would
    // delete them.
    clearItems(landscapeItems);
    clearItems(portraitItems);
    if (landscapeScene)
        landscapeScene->removeItem(landscapeBackground);
    if (portraitScene)
        portraitScene->removeItem(portraitBackground);
    delete landscapeScene;
    delete portraitScene;
    landscapeScene = nullptr;
    portraitScene = nullptr;
    landscapeBackgroundId = UINT_MAX;
    portraitBackgroundId = UINT_MAX;
    itemModel->clear();

    theme = newTheme;
    if (!theme)
        return;

    const auto skinCount = [this](Velmora::ThemedItemType type) {
        const Velmora::SkinSet* set = theme->getSkinSet(type);
        return set ? unsigned(set->size()) : 0u;
    };
    unsigned int counter = 0;
    if (progress) {
        progress->setMessage(tr("Generating item states..."));
        progress->beginRange(2 * (skinCount(Velmora::ThemedItemType_BUTTON) +
                                  skinCount(Velmora::ThemedItemType_SLIDER)) +
                             8);
    }

    landscapeScene = new SplashScene(LandscapeSize, this);
    portraitScene = new SplashScene(PortraitSize, this);

    // An image made for the orientation first; else the first made for any orientation.
    const Velmora::Theme::ImageStore& backgrounds = theme->getPageBackgroundImages();
    for (const Velmora::ImageData& image : backgrounds) {
        if (landscapeBackgroundId == UINT_MAX &&
            image.getOrientation() == Velmora::Orientation_LANDSCAPE)
            landscapeBackgroundId = image.getId();
        if (portraitBackgroundId == UINT_MAX &&
            image.getOrientation() == Velmora::Orientation_PORTRAIT)
            portraitBackgroundId = image.getId();
        if (landscapeBackgroundId != UINT_MAX && portraitBackgroundId != UINT_MAX)
            break;
    }
    for (const Velmora::ImageData& image : backgrounds) {
        if (landscapeBackgroundId != UINT_MAX && portraitBackgroundId != UINT_MAX)
            break;
        if (image.getOrientation() != Velmora::Orientation_ANY)
            continue;
        if (landscapeBackgroundId == UINT_MAX)
            landscapeBackgroundId = image.getId();
        if (portraitBackgroundId == UINT_MAX)
            portraitBackgroundId = image.getId();
    }
    step(progress, counter);
    landscapeBackground->setPixmap(backgroundPixmap(theme, landscapeBackgroundId, LandscapeSize));
    step(progress, counter);
    portraitBackground->setPixmap(backgroundPixmap(theme, portraitBackgroundId, PortraitSize));
    step(progress, counter);
    landscapeScene->addItem(landscapeBackground);
    portraitScene->addItem(portraitBackground);

    {
        Velmora::Button button;
        button.setGeometry(SampleGeometry);
        button.setCaption(tr("Button"));
        button.initialiseFromTheme(theme, nullptr);
        populateItemMap(theme, Velmora::ThemedItemType_BUTTON, button,
                        Velmora::Orientation_LANDSCAPE, landscapeItems, counter, progress);
        populateItemMap(theme, Velmora::ThemedItemType_BUTTON, button,
                        Velmora::Orientation_PORTRAIT, portraitItems, counter, progress);
        Velmora::Slider slider;
        slider.setGeometry(SampleGeometry);
        slider.initialiseFromTheme(theme, nullptr);
        populateItemMap(theme, Velmora::ThemedItemType_SLIDER, slider,
                        Velmora::Orientation_LANDSCAPE, landscapeItems, counter, progress);
        populateItemMap(theme, Velmora::ThemedItemType_SLIDER, slider,
                        Velmora::Orientation_PORTRAIT, portraitItems, counter, progress);
    }
    populatePageSwitcherItem(theme, Velmora::Orientation_LANDSCAPE, landscapeItems);
    step(progress, counter);
    populatePageSwitcherItem(theme, Velmora::Orientation_PORTRAIT, portraitItems);
    step(progress, counter);

    // The first ten skins of each type by name are selected; every skin has a row.
    const auto addSkinRows = [this](Velmora::ThemedItemType type, const QString& text) {
        itemModel->addItemType(type, text, true);
        if (const Velmora::SkinSet* set = theme->getSkinSet(type)) {
            int index = 0;
            for (const auto& entry : *set)
                itemModel->addSkinItem(type, entry.first, index++ < SelectedSkins);
        }
    };
    addSkinRows(Velmora::ThemedItemType_BUTTON, tr("Button"));
    addSkinRows(Velmora::ThemedItemType_SLIDER, tr("Slider"));
    itemModel->addItemType(Velmora::ThemedItemType_PAGE_SWITCHER, tr("Page Switcher"), true);
    itemModel->addSkinItem(Velmora::ThemedItemType_PAGE_SWITCHER, QStringLiteral("Default"), true);
    step(progress, counter);

    const int landscapeHeight = LandscapeSize.height() - FootBand;
    const int portraitHeight = (PortraitSize.height() - FootBand) / 2;
    layoutItems(Velmora::ThemedItemType_BUTTON, landscapeItems, 240, landscapeHeight, 100, 44, 150,
                60, Margin, 0, 0);
    layoutItems(Velmora::ThemedItemType_SLIDER, landscapeItems, 240, landscapeHeight, 44, 150, 64,
                480, Margin, 240, 0);
    layoutItems(Velmora::ThemedItemType_BUTTON, portraitItems, 272, portraitHeight, 100, 44, 150,
                60, Margin, 0, 0);
    layoutItems(Velmora::ThemedItemType_SLIDER, portraitItems, 272, portraitHeight, 44, 150, 64,
                480, Margin, 0, portraitHeight);
    step(progress, counter);

    addItemsToScene(landscapeScene, landscapeItems);
    addItemsToScene(portraitScene, portraitItems);
    step(progress, counter);
    if (progress)
        progress->endRange();
}

void ThemeSplashGenerator::layoutItems(Velmora::ThemedItemType type, SampleMap& items, int width,
                                       int height, int minimumWidth, int minimumHeight,
                                       int maximumWidth, int maximumHeight, int margin, int x,
                                       int y)
{
    if (!itemModel->checkedItemTypes().contains(type))
        return;
    const QStringList names = itemModel->checkedSkins(type);
    const int count = names.size();
    if (count == 0)
        return;
    const int availableWidth = width - 2 * margin;
    const int availableHeight = height - 2 * margin;
    const int shareWidth = int(availableWidth * ShareFactor / count);
    const int shareHeight = int(availableHeight * ShareFactor / count);
    const int itemWidth =
        std::min(std::max(minimumWidth, shareWidth), std::min(availableWidth, maximumWidth));
    const int itemHeight =
        std::min(std::max(minimumHeight, shareHeight), std::min(availableHeight, maximumHeight));
    // What neighbours overlap by when all of them do not fit side by side.
    int overlapX = 0;
    int overlapY = 0;
    if (count >= 2) {
        overlapX = std::max(0, (count * itemWidth - availableWidth) / (count - 1));
        overlapY = std::max(0, (count * itemHeight - availableHeight) / (count - 1));
    }
    const int stepX = itemWidth - overlapX;
    const int stepY = itemHeight - overlapY;

    const auto samples = items.find(type);
    if (samples == items.end())
        return;
    int left = x + margin;
    int top = y + margin;
    // A skin without a sample takes no place in the cascade, though it was counted above.
    for (const QString& name : names) {
        const auto found = samples->second.find(name);
        if (found == samples->second.end())
            continue;
        QQmlProperty::write(found->second, QStringLiteral("x"), left);
        QQmlProperty::write(found->second, QStringLiteral("y"), top);
        QQmlProperty::write(found->second, QStringLiteral("width"), itemWidth);
        QQmlProperty::write(found->second, QStringLiteral("height"), itemHeight);
        left += stepX;
        top += stepY;
    }
}

void ThemeSplashGenerator::addItemsToScene(SplashScene* scene, SampleMap& items)
{
    // Later items paint above earlier ones: the page switcher above the cascades.
    for (Velmora::ThemedItemType type : itemModel->checkedItemTypes()) {
        const auto samples = items.find(type);
        if (samples == items.end())
            continue;
        for (const QString& name : itemModel->checkedSkins(type)) {
            const auto found = samples->second.find(name);
            if (found != samples->second.end())
                scene->addSample(found->second);
        }
    }
}

QImage ThemeSplashGenerator::renderSplash(int orientation)
{
    SplashScene* scene =
        orientation == Velmora::Orientation_LANDSCAPE ? landscapeScene : portraitScene;
    VELMORA_ASSERT(scene);
    const QRectF rect = scene->sceneRect();
    QImage image(qRound(rect.width()), qRound(rect.height()), QImage::Format_ARGB32);
    // Only a background that cannot be decoded leaves pixels uncovered.
    image.fill(Qt::transparent);
    QPainter painter(&image);
    scene->paint(&painter, QRectF(0, 0, rect.width(), rect.height()), rect);
    painter.end();
    return image;
}
