#include "main/page_property_commands.h"

#include "appengine/page_preview_scene.h"
#include "core/assertion.h"
#include "main/velmora_document.h"

#include <climits>
#include <vector>

using namespace Velmora;

// How one page property is written: into the model, the live page item and the thumbnail
// marks, returning the previous value; and what follows the event of every run.
template <class T> struct PageProperty
{
    int commandId;
    T (*write)(VelmoraDocument& document, unsigned int pageId, const T& value);
    void (*afterRun)(VelmoraDocument& document); // null: nothing
};

namespace {

using Command = VelmoraCommand;

void rebuildPageSwitchers(VelmoraDocument& document)
{
    document.previewScene()->clearPageSwitcherItems();
}

void rebuildPageSwitchersAndThumbnails(VelmoraDocument& document)
{
    document.previewScene()->clearPageSwitcherItems();
    document.invalidatePageThumbnail(UINT_MAX);
}

QString writeName(VelmoraDocument& document, unsigned int pageId, const QString& name)
{
    return document.setPageName(pageId, name);
}

unsigned int writeIcon(VelmoraDocument& document, unsigned int pageId, const unsigned int& iconId)
{
    return document.setPageIcon(pageId, iconId);
}

unsigned int writeRotation(VelmoraDocument& document, unsigned int pageId,
                           const unsigned int& rotation)
{
    Page& page = document.getPage(pageId);
    const unsigned int previous = unsigned(page.getBackgroundGradientRotation());
    page.setBackgroundGradientRotation(int(rotation));
    document.previewScene()->setPageBackgroundGradientRotation(pageId, rotation);
    document.invalidatePageThumbnail(pageId);
    return previous;
}

unsigned int writeImage(VelmoraDocument& document, unsigned int pageId, const unsigned int& imageId)
{
    Page& page = document.getPage(pageId);
    const unsigned int previous = page.getBackgroundImageId();
    page.setBackgroundImageId(imageId);
    document.previewScene()->setPageBackgroundImage(pageId, int(imageId));
    document.invalidatePageThumbnail(pageId);
    return previous;
}

Scaling writeScaling(VelmoraDocument& document, unsigned int pageId, const Scaling& scaling)
{
    Page& page = document.getPage(pageId);
    const Scaling previous = page.getBackgroundImageScaling();
    page.setBackgroundImageScaling(scaling);
    document.previewScene()->setPageBackgroundImageScaling(pageId, int(scaling));
    document.invalidatePageThumbnail(pageId);
    return previous;
}

template <class T> const std::vector<PageProperty<T>>& pageProperties()
{
    static const std::vector<PageProperty<T>> none;
    return none;
}

template <> const std::vector<PageProperty<QString>>& pageProperties<QString>()
{
    static const std::vector<PageProperty<QString>> rows = {
        {Command::CommandId_SET_PAGE_NAME, &writeName, &rebuildPageSwitchers},
    };
    return rows;
}

template <> const std::vector<PageProperty<unsigned int>>& pageProperties<unsigned int>()
{
    static const std::vector<PageProperty<unsigned int>> rows = {
        {Command::CommandId_SET_PAGE_ICON, &writeIcon, &rebuildPageSwitchersAndThumbnails},
        {Command::CommandId_SET_PAGE_BACKGROUND_GRADIENT_ROTATION, &writeRotation, nullptr},
        {Command::CommandId_SET_PAGE_BACKGROUND_IMAGE, &writeImage, nullptr},
    };
    return rows;
}

template <> const std::vector<PageProperty<Scaling>>& pageProperties<Scaling>()
{
    static const std::vector<PageProperty<Scaling>> rows = {
        {Command::CommandId_SET_PAGE_BACKGROUND_IMAGE_SCALING, &writeScaling, nullptr},
    };
    return rows;
}

template <class T> const PageProperty<T>* pagePropertyOf(int commandId)
{
    for (const PageProperty<T>& row : pageProperties<T>())
        if (row.commandId == commandId)
            return &row;
    return nullptr;
}

SavedPageBackground backgroundOf(const Page& page)
{
    return {page.getBackgroundColour(), page.getBackgroundGradient(),
            page.getBackgroundGradientRotation()};
}

// Puts the kept background back into the page and its live item.
void restoreBackground(VelmoraDocument& document, unsigned int pageId,
                       const SavedPageBackground& background)
{
    Page& page = document.getPage(pageId);
    PagePreviewScene* scene = document.previewScene();
    if (background.gradient.isNull()) {
        page.setBackgroundColour(background.colour);
        page.setBackgroundGradientRotation(background.rotation);
        scene->setPageBackgroundColour(pageId, background.colour);
        scene->setPageBackgroundGradient(pageId, Gradient());
    } else {
        page.setBackgroundGradient(background.gradient);
        page.setBackgroundGradientRotation(background.rotation);
        scene->setPageBackgroundGradient(pageId, background.gradient);
        scene->setPageBackgroundGradientRotation(pageId, unsigned(background.rotation));
    }
}

} // namespace

template <class T>
SetPagePropertyCommand<T>::SetPagePropertyCommand(const std::set<unsigned int>& pageIds,
                                                  const T& value, int commandId,
                                                  VelmoraDocument& document, QUndoCommand* parent)
    : VelmoraCommand(commandId, document, parent), m_pageIds(pageIds),
      m_property(pagePropertyOf<T>(commandId))
{
    for (unsigned int pageId : m_pageIds)
        m_values.emplace(pageId, value);
}

template <class T> SetPagePropertyCommand<T>::~SetPagePropertyCommand() = default;

template <class T> bool SetPagePropertyCommand<T>::hasSameTargets(const VelmoraCommand& other) const
{
    const auto* command = dynamic_cast<const SetPagePropertyCommand<T>*>(&other);
    return command && command->m_pageIds == m_pageIds;
}

template <class T> T SetPagePropertyCommand<T>::setProperty(unsigned int pageId, const T& value)
{
    VELMORA_ASSERT(m_property);
    return m_property->write(document(), pageId, value);
}

template <class T> void SetPagePropertyCommand<T>::postExecute()
{
    if (m_property && m_property->afterRun)
        m_property->afterRun(document());
}

template <class T> void SetPagePropertyCommand<T>::execute()
{
    for (auto& [pageId, value] : m_values)
        value = setProperty(pageId, value);
    PagePropertyChangedEvent event(m_pageIds);
    send(event);
    postExecute();
}

template class SetPagePropertyCommand<QString>;
template class SetPagePropertyCommand<unsigned int>;
template class SetPagePropertyCommand<QColor>;
template class SetPagePropertyCommand<Gradient>;
template class SetPagePropertyCommand<Scaling>;

SetPageBackgroundColourCommand::SetPageBackgroundColourCommand(
    const std::set<unsigned int>& pageIds, const QColor& colour, VelmoraDocument& document,
    QUndoCommand* parent)
    : SetPagePropertyCommand<QColor>(pageIds, colour, CommandId_SET_PAGE_BACKGROUND_COLOUR,
                                     document, parent)
{
}

QColor SetPageBackgroundColourCommand::setProperty(unsigned int pageId, const QColor& colour)
{
    Page& page = document().getPage(pageId);
    const QColor previous = page.getBackgroundColour();
    const auto saved = m_savedBackgrounds.find(pageId);
    if (saved != m_savedBackgrounds.end()) {
        restoreBackground(document(), pageId, saved->second);
        m_savedBackgrounds.erase(saved);
    } else {
        // A colour takes the gradient and the rotation with it.
        if (!page.getBackgroundGradient().isNull() || page.getBackgroundGradientRotation() != -1)
            m_savedBackgrounds[pageId] = backgroundOf(page);
        page.setBackgroundColour(colour);
        PagePreviewScene* scene = document().previewScene();
        scene->setPageBackgroundColour(pageId, colour);
        scene->setPageBackgroundGradient(pageId, Gradient());
    }
    document().invalidatePageThumbnail(pageId);
    return previous;
}

SetPageBackgroundGradientCommand::SetPageBackgroundGradientCommand(
    const std::set<unsigned int>& pageIds, const Gradient& gradient, VelmoraDocument& document,
    QUndoCommand* parent)
    : SetPagePropertyCommand<Gradient>(pageIds, gradient, CommandId_SET_PAGE_BACKGROUND_GRADIENT,
                                       document, parent)
{
}

Gradient SetPageBackgroundGradientCommand::setProperty(unsigned int pageId,
                                                       const Gradient& gradient)
{
    Page& page = document().getPage(pageId);
    const Gradient previous = page.getBackgroundGradient();
    const auto saved = m_savedBackgrounds.find(pageId);
    if (saved != m_savedBackgrounds.end()) {
        restoreBackground(document(), pageId, saved->second);
        m_savedBackgrounds.erase(saved);
    } else {
        // A gradient replaces the colour, valid or not, and gives a missing rotation 0.
        if (page.getBackgroundGradient().isNull() || page.getBackgroundColour().isValid())
            m_savedBackgrounds[pageId] = backgroundOf(page);
        page.setBackgroundGradient(gradient);
        PagePreviewScene* scene = document().previewScene();
        scene->setPageBackgroundGradient(pageId, gradient);
        scene->setPageBackgroundGradientRotation(pageId,
                                                 unsigned(page.getBackgroundGradientRotation()));
    }
    document().invalidatePageThumbnail(pageId);
    return previous;
}
