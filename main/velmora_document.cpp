#include "main/velmora_document.h"

#include "appengine/layout_library.h"
#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "appengine/theme_image_model.h"
#include "core/assertion.h"
#include "velmora_objects/button.h"
#include "velmora_objects/control_factory.h"
#include "velmora_objects/image_data.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/theme_image_provider.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"

#include <QFileInfo>
#include <QIcon>
#include <QItemSelectionModel>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>

using namespace Velmora;

namespace {

constexpr int ControlTypeCount = 6;

// The strips a page's navigation takes from the area a layout template may fill: the height of
// a switcher bar or button band at the top or bottom, and the width of a switcher bar at the
// left or right.
constexpr int NavigationBandHeight = 42;
constexpr int PageSwitcherBarWidth = 48;
// Navigation buttons: their height, their margin to the screen edge and gap, their greatest
// width.
constexpr int NavigationButtonHeight = 42;
constexpr double NavigationButtonMargin = 4.0;
constexpr double NavigationButtonMaxWidth = 120.0;

// The default control keys of types 1 to 6, whose numbers new keys continue after the highest
// one in use when a project is read.
const char* const controlKeyStems[ControlTypeCount] = {"button", "slider", "colour",
                                                       "keypad", "label",  "clock"};

// The number of a default name: true, with the number, when the text is the prefix followed by
// decimal digits alone ("button012" after "button" is 12); false for any other text and for a
// number beyond 32 bits.
bool numberAfter(QLatin1StringView prefix, const QString& text, unsigned int& number)
{
    if (text.size() <= prefix.size() || !text.startsWith(prefix))
        return false;
    quint64 value = 0;
    for (qsizetype i = prefix.size(); i < text.size(); ++i) {
        const char16_t digit = text.at(i).unicode();
        if (digit < u'0' || digit > u'9')
            return false;
        value = value * 10 + (digit - u'0');
        if (value > UINT_MAX)
            return false;
    }
    number = unsigned(value);
    return true;
}

unsigned int imageIdOfRow(const QStandardItem* row)
{
    return row ? row->data(ThemeImageModel::IdRole).toUInt() : UINT_MAX;
}

// Carries image ids of one store from the old theme to the new one during a theme change:
// an image is found in the new store by its MD5 digest, or its bytes are added there. An id
// the old theme does not hold maps to none rather than to whatever the new theme keeps under
// that number. Each old id is looked up once per change.
class ImageMapper
{
public:
    using Adder = unsigned int (*)(Theme& theme, const ImageData& image);

    ImageMapper(const Theme::ImageStore* oldStore, Theme* newTheme, Theme::ImageStore* newStore,
                Adder add)
        : oldStore(oldStore), newTheme(newTheme), newStore(newStore), add(add)
    {
    }

    unsigned int map(unsigned int id)
    {
        if (id == UINT_MAX)
            return UINT_MAX;
        const auto known = mapped.find(id);
        if (known != mapped.end())
            return known->second;
        unsigned int newId = UINT_MAX;
        if (oldStore && newStore && oldStore->exists(id)) {
            const ImageData& image = (*oldStore)[id];
            for (const ImageData& candidate : *newStore) {
                if (candidate.getMd5() == image.getMd5()) {
                    newId = candidate.getId();
                    break;
                }
            }
            if (newId == UINT_MAX)
                newId = add(*newTheme, image);
        }
        mapped.emplace(id, newId);
        return newId;
    }

private:
    const Theme::ImageStore* oldStore;
    Theme* newTheme;
    Theme::ImageStore* newStore;
    Adder add;
    std::map<unsigned int, unsigned int> mapped;
};

} // namespace

VelmoraDocument::VelmoraDocument(SelectionManager& selection) : m_selection(selection)
{
    m_engine = new QQmlEngine(this);
    VelmoraQML::compileComponentsAhead(*m_engine);

    m_pageItemModel = new QStandardItemModel(0, 1, this);
    m_pageProxyModel = new QSortFilterProxyModel(this);
    m_pageProxyModel->setSourceModel(m_pageItemModel);
    m_pageProxyModel->setSortRole(SortValueRole);
    m_pageSelectionModel = new QItemSelectionModel(m_pageProxyModel, this);

    m_previewScene = new PagePreviewScene(m_engine, this, &selection, this);

    m_thumbnailTimer = new QTimer(this);
    m_thumbnailTimer->setSingleShot(true);
    m_thumbnailTimer->setInterval(ThumbnailDelay);
    connect(m_thumbnailTimer, &QTimer::timeout, this, &VelmoraDocument::refreshThumbnails);
    m_thumbnailRun = new QTimer(this);
    m_thumbnailRun->setInterval(0);
    m_thumbnailRun->setSingleShot(true);
    connect(m_thumbnailRun, &QTimer::timeout, this, &VelmoraDocument::renderNextThumbnail);
    connect(m_previewScene, &PagePreviewScene::thumbnailReady, this,
            &VelmoraDocument::onThumbnailReady);

    clear();
}

VelmoraDocument::~VelmoraDocument()
{
    clear();
    // The scene's surface draws through the engine, so it goes first.
    delete m_previewScene;
    m_previewScene = nullptr;
}

unsigned int VelmoraDocument::createProject(const NewProjectData& data)
{
    try {
        m_path = data.path;
        setName(data.name);
        setOrientation(data.orientation);

        auto theme = std::make_unique<Theme>(QString());
        QString reason;
        if (!data.themeFile.isEmpty() && !theme->load(data.themeFile, &reason))
            throw std::runtime_error(QStringLiteral("Unable to read theme file %1\n%2")
                                         .arg(data.themeFile, reason)
                                         .toStdString());
        setTheme(theme.release());
        replaceImageModels();

        NewPageData page = data.page;
        const unsigned int pageId = addPage(page);
        setDefaultPageId(pageId);
        m_neverSaved = true;
        return pageId;
    } catch (...) {
        // Nothing of a half-made project may stay for the next one to build on.
        clear();
        throw;
    }
}

void VelmoraDocument::load(const QString& path)
{
    try {
        m_path = path;
        Streamer streamer;
        streamer.open(Streamer::Mode_READ, path);
        read(streamer);
        streamer.close();
        // The editor always shows a page and never removes the last one: a project without
        // any has nothing it could show or select.
        if (getPages().empty())
            throw std::runtime_error("The project has no page");

        const int pageCount = int(getPages().size());
        const int controlCount = int(getControls().size());
        emit loadProgressSteps(pageCount + controlCount + 1);
        emit loadProgressChanged(0);
        int step = 1;

        m_nextPageNumber = 1;
        addLoadedPageRows();
        for (Page& page : getPages()) {
            notePageName(page.getName());
            emit loadProgressChanged(step++);
        }

        unsigned int highest[ControlTypeCount] = {};
        for (const Control& control : getControls()) {
            const int type = int(control.getType());
            unsigned int number = 0;
            if (type >= 1 && type <= ControlTypeCount &&
                numberAfter(QLatin1StringView(controlKeyStems[type - 1]), control.getName(),
                            number) &&
                number > highest[type - 1])
                highest[type - 1] = number;
            emit loadProgressChanged(step++);
        }
        for (int i = 0; i < ControlTypeCount; ++i)
            m_controlNumbers[ControlType(i + 1)] = highest[i];

        replaceImageModels();
        emit loadProgressChanged(step);
    } catch (const std::bad_alloc&) {
        // The project's bytes, or what is made of them, did not fit beside what the process
        // holds: the load fails as any other does, saying why. What was read goes first, which
        // leaves room for the message.
        clear();
        throw std::runtime_error("There is not enough memory to open the project");
    } catch (...) {
        // A half-read project would leave duplicate ids for the next open or new project.
        clear();
        throw;
    }
}

void VelmoraDocument::save(bool minimal)
{
    const QString& path = m_path;
    VELMORA_ASSERT(!path.isNull());
    try {
        Streamer streamer;
        streamer.open(Streamer::Mode_WRITE, path);
        write(streamer, minimal);
        streamer.close();
    } catch (const Streamer::TooLarge& refusal) {
        if (minimal)
            throw;
        throw std::runtime_error(refusal.what() + minimalSaveWayOut().toStdString());
    } catch (const std::bad_alloc&) {
        // The bytes of the project did not fit beside it in memory: the save fails as any other
        // does, leaving the old file, and the project stays open with its changes. The bytes
        // made so far are gone by now, which leaves room for the message.
        throw std::runtime_error("There is not enough memory to save the project");
    }
    m_neverSaved = false;
    m_undoStack.setClean();
}

QString VelmoraDocument::minimalSaveWayOut() const
{
    // Pictures that nothing uses stay in the theme (the undo of a new background leaves its
    // picture there): when they alone take the project past the bound, the refusal says how to
    // save without them.
    const MinimalSave minimal = measureMinimalSave();
    if (minimal.picturesLeftOut < 1 || minimal.bytes > Streamer::maximumFileSize())
        return QString();
    return QStringLiteral("; Save As (Minimal) leaves out the %1 %2 that no page uses")
        .arg(minimal.picturesLeftOut)
        .arg(minimal.picturesLeftOut == 1 ? QStringLiteral("picture") : QStringLiteral("pictures"));
}

void VelmoraDocument::saveAs(const QString& path, bool minimal)
{
    // The path stays on the new file when the save fails, so that the next Save does not write
    // over the file the user chose to leave alone. That file does not hold the project yet: the
    // project counts as not saved until a save there succeeds.
    const bool newFile = path != m_path;
    m_path = path;
    try {
        save(minimal);
    } catch (...) {
        if (newFile)
            m_neverSaved = true;
        throw;
    }
}

void VelmoraDocument::clear()
{
    m_thumbnailTimer->stop();
    m_thumbnailRun->stop();
    m_runActive = false;

    m_pageGUIData.clear();
    m_pageItemModel->removeRows(0, m_pageItemModel->rowCount());
    // The items go while the module they use is still up.
    m_previewScene->clear();

    m_nextPageNumber = 1;
    m_controlNumbers.clear();
    deleteImageModels();

    m_engine->removeImageProvider(providerName());
    m_engine->removeImageProvider(QStringLiteral("internal"));
    // Only the module brought up on this document's engine is taken down; the context
    // properties must not outlive the objects they name.
    QQmlContext* context = m_engine->rootContext();
    if (previewPrepared())
        VelmoraQML::shutdown();
    context->setContextProperty(QStringLiteral("controller"), static_cast<QObject*>(nullptr));
    context->setContextProperty(QStringLiteral("screen"), static_cast<QObject*>(nullptr));

    Configuration::clear();

    m_neverSaved = false;
    m_undoStack.clear();
    m_path = QString();
}

void VelmoraDocument::preparePreview()
{
    // The images of the page shown first are decoded on other threads while the module comes
    // up and the page's items are made.
    auto* provider = new VelmoraQML::ThemeImageProvider(getTheme());
    provider->prefetch(imagesOfPage(getDefaultPageId()));
    VelmoraQML::initialise(getWidth(), getHeight(), m_engine->rootContext(),
                           VelmoraQML::QMLController::Callbacks());
    m_engine->addImageProvider(providerName(), provider);
    refreshThumbnails();
    m_thumbnailTimer->start();
}

QStringList VelmoraDocument::imagesOfPage(unsigned int pageId) const
{
    QStringList ids;
    if (!getPages().exists(pageId) || !getTheme())
        return ids;
    const Page& page = getPage(pageId);
    if (page.getBackgroundImageId() != UINT_MAX)
        ids << QString::number(page.getBackgroundImageId());
    // Skin images (clock faces and hands) are few and shared by every page.
    for (const ImageData& image : getTheme()->getSkinImages())
        ids << QStringLiteral("skinImage%1").arg(image.getId());
    for (unsigned int controlId : page.getControlIds())
        if (const auto* button = dynamic_cast<const Button*>(&getControl(controlId)))
            if (button->getImageId() != UINT_MAX)
                ids << QStringLiteral("controlImage%1").arg(button->getImageId());
    const unsigned int pageSwitcherId = page.getPageSwitcherId();
    if (getPageSwitchers().exists(pageSwitcherId))
        for (unsigned int listed : getPageSwitcher(pageSwitcherId).getPageIds())
            if (getPages().exists(listed) && getPage(listed).getIconId() != UINT_MAX)
                ids << QStringLiteral("icon%1").arg(getPage(listed).getIconId());
    return ids;
}

Theme* VelmoraDocument::applyTheme(Theme* theme, std::map<unsigned int, PageThemeData>& pageData,
                                   std::map<unsigned int, ControlThemeData>& controlData)
{
    // The old theme goes to the caller, so it is taken out rather than replaced.
    Theme* old = takeTheme();
    setTheme(theme);

    // A new provider name makes every theme image address of the preview new, so no image
    // of the old theme is taken from the engine's cache.
    m_engine->removeImageProvider(providerName());
    assignSerial();
    m_engine->addImageProvider(providerName(), new VelmoraQML::ThemeImageProvider(theme));

    ImageMapper backgrounds(
        old ? &old->getPageBackgroundImages() : nullptr, theme,
        theme ? &theme->getPageBackgroundImages() : nullptr, [](Theme& t, const ImageData& image) {
            return t.addPageBackgroundImageData(image.getData(), image.getOrientation());
        });
    ImageMapper icons(
        old ? &old->getIcons() : nullptr, theme, theme ? &theme->getIcons() : nullptr,
        [](Theme& t, const ImageData& image) { return t.addIconData(image.getData()); });
    ImageMapper controlImages(
        old ? &old->getControlImages() : nullptr, theme,
        theme ? &theme->getControlImages() : nullptr,
        [](Theme& t, const ImageData& image) { return t.addControlImageData(image.getData()); });

    for (Page& page : getPages()) {
        const PageThemeData before{page.getIconId(), page.getBackgroundImageId()};
        PageThemeData after;
        const auto recorded = pageData.find(page.getId());
        if (recorded != pageData.end()) {
            after = recorded->second;
        } else {
            after.iconId = icons.map(before.iconId);
            after.backgroundImageId = backgrounds.map(before.backgroundImageId);
        }
        if (after.iconId != before.iconId)
            page.setIconId(after.iconId);
        if (after.backgroundImageId != before.backgroundImageId) {
            page.setBackgroundImageId(after.backgroundImageId);
            m_previewScene->setPageBackgroundImage(page.getId(), int(after.backgroundImageId));
        }
        pageData[page.getId()] = before;
        page.initialiseFromTheme(theme, old);
    }

    for (Control& control : getControls()) {
        Button* button = dynamic_cast<Button*>(&control);
        const ControlThemeData before{control.getStartupSkin(),
                                      button ? button->getImageId() : UINT_MAX};
        ControlThemeData after;
        const auto recorded = controlData.find(control.getId());
        if (recorded != controlData.end()) {
            after = recorded->second;
        } else {
            after.imageId = controlImages.map(before.imageId);
            const ThemedItemType itemType = themedItemTypeOf(control.getType());
            if (!before.skinName.isEmpty() && theme && theme->findSkin(itemType, before.skinName))
                after.skinName = before.skinName;
        }
        if (after.skinName != before.skinName)
            control.setStartupSkin(after.skinName);
        if (button)
            button->setImageId(after.imageId);
        controlData[control.getId()] = before;
        control.initialiseFromTheme(theme, old);
    }

    for (PageSwitcher& pageSwitcher : getPageSwitchers())
        pageSwitcher.initialiseFromTheme(theme, old);
    m_previewScene->rebuildItems();

    if (theme && m_backgroundImageModel) {
        for (ThemeImageModel* model : {m_backgroundImageModel, m_iconModel, m_controlImageModel})
            model->setTheme(theme);
    } else {
        // The lists must not keep pointing into the theme the caller now owns.
        replaceImageModels();
    }
    return old;
}

bool VelmoraDocument::pageExists(unsigned int pageId) const
{
    return getPages().exists(pageId);
}

std::set<unsigned char> VelmoraDocument::freeIRSlots() const
{
    std::set<unsigned char> free;
    for (unsigned char slot = 0; slot < 16; ++slot)
        if (getIRSlots().left.find(slot) == getIRSlots().left.end())
            free.insert(slot);
    return free;
}

ControlType VelmoraDocument::commonControlType(const std::set<unsigned int>& controlIds) const
{
    if (controlIds.empty())
        return ControlType(0);
    const ControlType type = getControl(*controlIds.begin()).getType();
    for (unsigned int controlId : controlIds)
        if (getControl(controlId).getType() != type)
            return ControlType(0);
    return type;
}

unsigned int VelmoraDocument::addPage(NewPageData& data)
{
    // Everything that can refuse the page is asked before anything is made, so that a refusal
    // leaves neither a page nor images in the theme behind.
    if (!data.layoutName.isEmpty() &&
        !LayoutLibrary::instance()->indexOf(data.layoutName).isValid())
        throw std::runtime_error("Layout not found");
    if (getPages().size() >= MaximumPages)
        return UINT_MAX;

    unsigned int backgroundImageId = data.backgroundImageId;
    if (backgroundImageId == UINT_MAX && !data.backgroundImageFile.isEmpty() &&
        m_backgroundImageModel)
        backgroundImageId =
            imageIdOfRow(m_backgroundImageModel->addImageFile(data.backgroundImageFile));
    unsigned int iconId = data.iconId;
    if (iconId == UINT_MAX && !data.iconFile.isEmpty() && m_iconModel)
        iconId = imageIdOfRow(m_iconModel->addImageFile(data.iconFile));

    const unsigned int pageId = Configuration::addPage();
    if (pageId == UINT_MAX)
        return UINT_MAX;
    Page& page = getPage(pageId);
    if (!data.name.isEmpty()) {
        page.setName(data.name);
        notePageName(data.name);
    } else {
        page.setName(defaultPageName());
        ++m_nextPageNumber;
    }
    page.setIconId(iconId);
    if (data.backgroundColour.isValid()) {
        page.setBackgroundColour(data.backgroundColour);
    } else if (!data.backgroundGradient.isNull()) {
        page.setBackgroundGradient(data.backgroundGradient);
    } else {
        page.setBackgroundImageId(backgroundImageId);
        page.setBackgroundColour(Qt::white);
    }
    page.setBackgroundImageScaling(Scaling(data.backgroundScaling));
    data.assignNewPageId(pageId);
    buildPageContents(pageId, data);
    data.pageSwitcherId = page.getPageSwitcherId();
    // The first page of a new project is rendered once the preview is prepared.
    addPageRow(page, getDefaultPageId() != UINT_MAX);
    if (page.getPageSwitcherId() != UINT_MAX)
        m_previewScene->removePageSwitcherItem(page.getPageSwitcherId());
    return pageId;
}

void VelmoraDocument::buildPageContents(unsigned int pageId, const NewPageData& data)
{
    Page& page = getPage(pageId);
    if (!data.layoutName.isEmpty())
        addTemplateControls(page, data);

    if (data.navigationPosition != 0) {
        if (!data.navigationButtons.empty()) {
            addNavigationButtons(page, data);
        } else if (data.pageSwitcherId != UINT_MAX &&
                   getPageSwitchers().exists(data.pageSwitcherId)) {
            getPageSwitcher(data.pageSwitcherId).incrementUsage();
            page.setPageSwitcherId(data.pageSwitcherId);
        } else {
            // Also for a switcher id the project no longer holds (a record kept from before
            // its switcher was undone): the page gets a switcher of its own.
            const unsigned int pageSwitcherId = addPageSwitcher(
                data.navigationPosition, data.navigationAlignment, data.pageSwitcherPages);
            if (pageSwitcherId != UINT_MAX) {
                getPageSwitcher(pageSwitcherId).setUsage(1);
                page.setPageSwitcherId(pageSwitcherId);
            }
        }
    }
    applyNavigationSettings(data, page);
}

void VelmoraDocument::addTemplateControls(Page& page, const NewPageData& data)
{
    // addPage() refuses a name that is not listed; a page built otherwise from a template
    // that has gone since is built without it.
    LayoutLibrary* library = LayoutLibrary::instance();
    if (!library->indexOf(data.layoutName).isValid())
        return;

    QRect area(0, 0, getWidth(), getHeight());
    const int position = data.navigationPosition;
    if (position == NavigationPosition_TOP)
        area.setTop(NavigationBandHeight);
    else if (position == NavigationPosition_BOTTOM)
        area.setBottom(getHeight() - NavigationBandHeight);
    else if (data.navigationButtons.empty() && position == NavigationPosition_RIGHT)
        area.setRight(getWidth() - PageSwitcherBarWidth);
    else if (data.navigationButtons.empty() && position == NavigationPosition_LEFT)
        area.setLeft(PageSwitcherBarWidth);

    std::list<Control*> made = library->find(data.layoutName).createControls(area);
    // Each control is owned here from the start, so that none leaks when the project is full.
    std::vector<smart_ptr<Control>> controls;
    for (Control* control : made)
        controls.emplace_back(control);
    for (smart_ptr<Control>& control : controls) {
        if (getTheme())
            control->initialiseFromTheme(getTheme(), nullptr);
        control->setName(nextControlName(control->getType()));
        insertOnPage(control, page);
    }
    page.setLayoutName(data.layoutName);
}

void VelmoraDocument::addNavigationButtons(Page& page, const NewPageData& data)
{
    const double width = getWidth();
    const double count = double(data.navigationButtons.size());
    const double margin = NavigationButtonMargin;
    double top = 0.0;
    if (data.navigationPosition == NavigationPosition_TOP)
        top = margin;
    else if (data.navigationPosition == NavigationPosition_BOTTOM)
        top = getHeight() - NavigationButtonHeight - margin;
    const double buttonWidth =
        std::min(NavigationButtonMaxWidth, (width - margin * (count + 1)) / count);

    double x = margin;
    double gap = margin;
    switch (data.navigationAlignment) {
    case Alignment_END:
        x = (width - margin) - count * buttonWidth - margin * (count - 1);
        break;
    case Alignment_CENTER:
        x = ((width - 2 * margin) - ((buttonWidth + margin) * count - margin)) * 0.5 + margin;
        break;
    case Alignment_SPREAD:
        // One button has no gap to spread.
        if (count > 1)
            gap = ((width - 2 * margin) - count * buttonWidth) / (count - 1);
        break;
    default:
        break;
    }

    for (const auto& [function, target] : data.navigationButtons) {
        smart_ptr<Control> control(new Button);
        auto* button = static_cast<Button*>(control.get());
        button->setGeometry(QRect(int(x), int(top), int(buttonWidth), NavigationButtonHeight));
        button->setFunction(function);
        switch (function) {
        case ButtonFunction_NEXT_PAGE:
            button->setCaption(tr("Next"));
            break;
        case ButtonFunction_PREVIOUS_PAGE:
        case ButtonFunction_BACK:
            button->setCaption(tr("Back"));
            break;
        case ButtonFunction_GO_TO_PAGE:
            // A target the project no longer holds (a record kept from before that page was
            // removed) is no target.
            if (target != UINT_MAX && pageExists(target)) {
                button->setCaption(getPage(target).getName());
                button->setFunctionPage(target);
            }
            break;
        default:
            break;
        }
        insertOnPage(control, page);
        x = x + buttonWidth + gap;
    }
}

void VelmoraDocument::applyNavigationSettings(const NewPageData& data, Page& page)
{
    NavButtons navigation;
    navigation.position = data.navigationPosition;
    navigation.alignment = Alignment(data.navigationAlignment);
    for (const auto& entry : data.navigationButtons)
        navigation.functions.push_back(entry.first);
    page.setNavButtons(navigation);
}

bool VelmoraDocument::insertOnPage(smart_ptr<Control>& control, Page& page)
{
    control->setPageId(page.getId());
    const unsigned int controlId = insertControl(control, UINT_MAX);
    if (controlId == UINT_MAX)
        return false;
    page.getControlIds().insert(controlId);
    return true;
}

unsigned int VelmoraDocument::duplicatePage(unsigned int sourcePageId, int mode)
{
    const NewPageData data(*this, sourcePageId);
    const unsigned int pageId = Configuration::addPage();
    if (pageId == UINT_MAX)
        return UINT_MAX;
    const Page& source = getPage(sourcePageId);
    Page& page = getPage(pageId);

    page.setName(tr("Copy of %1").arg(source.getName()));
    page.setIconId(source.getIconId());
    if (source.getBackgroundColour().isValid())
        page.setBackgroundColour(source.getBackgroundColour());
    else if (!source.getBackgroundGradient().isNull())
        page.setBackgroundGradient(source.getBackgroundGradient());
    page.setBackgroundImageId(source.getBackgroundImageId());
    page.setBackgroundImageScaling(source.getBackgroundImageScaling());

    if (mode == DuplicateRenamingControls || mode == DuplicateKeepingKeys) {
        for (unsigned int controlId : source.getControlIds()) {
            smart_ptr<Control> copy(getControl(controlId).clone());
            if (mode == DuplicateRenamingControls && !copy->getName().isEmpty())
                copy->setName(nextControlName(copy->getType()));
            if (!insertOnPage(copy, page))
                break;
        }
    }

    if (source.getPageSwitcherId() != UINT_MAX) {
        page.setPageSwitcherId(source.getPageSwitcherId());
        getPageSwitcher(source.getPageSwitcherId()).incrementUsage();
    }
    addPageRow(page, true);
    page.setLayoutName(data.layoutName);
    applyNavigationSettings(data, page);
    return pageId;
}

unsigned int VelmoraDocument::addControl(ControlType type)
{
    const ControlFactory* factory = ControlFactory::get(type);
    if (!factory)
        return UINT_MAX;
    smart_ptr<Control> control(factory->create({}));
    control->setName(nextControlName(type));
    control->initialiseFromTheme(getTheme(), nullptr);
    return insertControl(control, UINT_MAX);
}

QString VelmoraDocument::displayName() const
{
    return m_path.isEmpty() ? tr("Untitled") : QFileInfo(m_path).fileName();
}

bool VelmoraDocument::isPageNameFree(const QString& name) const
{
    if (name.isEmpty())
        return true;
    for (const Page& page : getPages())
        if (page.getName() == name)
            return false;
    return true;
}

unsigned int VelmoraDocument::addPageSwitcher(int position, int alignment,
                                              const std::vector<unsigned int>& pages)
{
    smart_ptr<PageSwitcher> pageSwitcher(new PageSwitcher);
    if (getTheme())
        pageSwitcher->initialiseFromTheme(getTheme(), nullptr);
    pageSwitcher->setPosition(position);
    pageSwitcher->setAlignment(Alignment(alignment));
    pageSwitcher->setPageIds(pages);
    return insertPageSwitcher(pageSwitcher, UINT_MAX);
}

unsigned int VelmoraDocument::restorePageSwitcher(smart_ptr<PageSwitcher>& pageSwitcher,
                                                  unsigned int id)
{
    return insertPageSwitcher(pageSwitcher, id);
}

smart_ptr<PageSwitcher> VelmoraDocument::removePageSwitcher(unsigned int pageSwitcherId)
{
    m_previewScene->deletePageSwitcherItem(pageSwitcherId);
    VELMORA_ASSERT(getPageSwitcher(pageSwitcherId).usageCount() == 0);
    return Configuration::removePageSwitcher(pageSwitcherId);
}

int VelmoraDocument::removePageFromPageSwitcher(unsigned int pageSwitcherId, unsigned int pageId)
{
    return getPageSwitcher(pageSwitcherId).removePage(pageId);
}

unsigned int VelmoraDocument::pageSwitcherOfPage(unsigned int pageId) const
{
    return pageId == UINT_MAX ? UINT_MAX : getPage(pageId).getPageSwitcherId();
}

QString VelmoraDocument::pageNamesUsingPageSwitcher(unsigned int pageSwitcherId) const
{
    QStringList names;
    for (const Page& page : getPages()) {
        if (names.size() == 3) {
            names << QStringLiteral("...");
            break;
        }
        if (page.getPageSwitcherId() == pageSwitcherId)
            names << page.getName();
    }
    return names.join(QStringLiteral(", "));
}

QString VelmoraDocument::defaultPageName() const
{
    return tr("Page %1").arg(m_nextPageNumber);
}

void VelmoraDocument::notePageName(const QString& name)
{
    unsigned int number = 0;
    if (numberAfter(QLatin1StringView("Page "), name, number) && m_nextPageNumber <= number)
        m_nextPageNumber = number + 1;
}

QString VelmoraDocument::nextControlName(ControlType type)
{
    const int index = int(type) - 1;
    const QString stem = index >= 0 && index < ControlTypeCount
                             ? QString::fromLatin1(controlKeyStems[index])
                             : QStringLiteral("control");
    const unsigned int number = ++m_controlNumbers[type];
    return stem + QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

void VelmoraDocument::replaceImageModels()
{
    deleteImageModels();
    m_backgroundImageModel =
        new ThemeImageModel(ThemeImageModel::PageBackgrounds, getTheme(), nullptr);
    m_iconModel = new ThemeImageModel(ThemeImageModel::Icons, getTheme(), nullptr);
    m_controlImageModel = new ThemeImageModel(ThemeImageModel::ControlImages, getTheme(), nullptr);
}

void VelmoraDocument::deleteImageModels()
{
    delete m_backgroundImageModel;
    delete m_iconModel;
    delete m_controlImageModel;
    m_backgroundImageModel = nullptr;
    m_iconModel = nullptr;
    m_controlImageModel = nullptr;
}

bool VelmoraDocument::previewPrepared() const
{
    return VelmoraQML::context() == m_engine->rootContext();
}

QString VelmoraDocument::providerName() const
{
    return QStringLiteral("theme%1").arg(getSerial());
}
