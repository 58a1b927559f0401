#pragma once

#include "core/gradient.h"
#include "main/velmora_command.h"
#include "velmora_objects/page.h"

#include <QColor>
#include <QString>
#include <map>
#include <set>

template <class T> struct PageProperty;

// Sets one property of one or more pages to one value. The command holds, per page, the value
// its next run writes; a run writes those values and keeps the ones they replace, so undo and
// redo are the same exchange. Every run then sends one PagePropertyChangedEvent with all the
// command's pages, then runs postExecute(). Pages are visited in ascending id and must exist.
//
// Newer edits of the same property on the same set of pages merge into the command on top of
// the undo stack, which keeps the values from before the first of them.
//
// How a property is written (model, live item, thumbnail mark) is a row of the page-property
// table for the command id, unless a subclass overrides setProperty().
template <class T> class SetPagePropertyCommand : public VelmoraCommand
{
public:
    using Value = T;

    SetPagePropertyCommand(const std::set<unsigned int>& pageIds, const T& value, int commandId,
                           VelmoraDocument& document, QUndoCommand* parent = nullptr);
    ~SetPagePropertyCommand() override;

    void undo() override { execute(); }
    void redo() override { execute(); }

    const std::set<unsigned int>& pageIds() const { return m_pageIds; }

protected:
    bool hasSameTargets(const VelmoraCommand& other) const override;
    // Writes the value into the page and returns the page's previous value.
    virtual T setProperty(unsigned int pageId, const T& value);
    // Runs after the event of every run.
    virtual void postExecute();

private:
    void execute();

    std::set<unsigned int> m_pageIds;
    std::map<unsigned int, T> m_values;
    const PageProperty<T>* m_property;
};

// A page-property command that its table row describes entirely.
template <class T, int Id> class PagePropertyCommand : public SetPagePropertyCommand<T>
{
public:
    PagePropertyCommand(const std::set<unsigned int>& pageIds, const T& value,
                        VelmoraDocument& document, QUndoCommand* parent = nullptr)
        : SetPagePropertyCommand<T>(pageIds, value, Id, document, parent)
    {
    }
};

// Rebuilds the page-switcher items, whose buttons show page names.
using SetPageNameCommand = PagePropertyCommand<QString, VelmoraCommand::CommandId_SET_PAGE_NAME>;
// UINT_MAX: no icon. Rebuilds the page-switcher items and marks every thumbnail stale, since
// switcher buttons on every page may show the icon.
using SetPageIconCommand =
    PagePropertyCommand<unsigned int, VelmoraCommand::CommandId_SET_PAGE_ICON>;
// Degrees; written unchanged (UINT_MAX while there is no gradient).
using SetPageBackgroundGradientRotationCommand =
    PagePropertyCommand<unsigned int,
                        VelmoraCommand::CommandId_SET_PAGE_BACKGROUND_GRADIENT_ROTATION>;
// UINT_MAX: no image.
using SetPageBackgroundImageCommand =
    PagePropertyCommand<unsigned int, VelmoraCommand::CommandId_SET_PAGE_BACKGROUND_IMAGE>;
using SetPageBackgroundImageScalingCommand =
    PagePropertyCommand<Velmora::Scaling,
                        VelmoraCommand::CommandId_SET_PAGE_BACKGROUND_IMAGE_SCALING>;

// A page's whole background as a colour or gradient command found it, kept so that the
// command's next run can put it back exactly.
struct SavedPageBackground
{
    QColor colour;
    Gradient gradient;
    int rotation = -1;
};

// A page's background colour and gradient exclude each other: giving a page a colour drops its
// gradient and rotation, giving it a gradient makes its colour invalid. A run that replaces the
// other kind of background (or a rotation, or an invalid colour) keeps the page's whole
// background, and the next run, which undoes it, restores exactly that instead of writing its
// value. Merged commands need nothing more: the surviving command's kept background is the one
// from before the first edit.
class SetPageBackgroundColourCommand : public SetPagePropertyCommand<QColor>
{
public:
    SetPageBackgroundColourCommand(const std::set<unsigned int>& pageIds, const QColor& colour,
                                   VelmoraDocument& document, QUndoCommand* parent = nullptr);

protected:
    QColor setProperty(unsigned int pageId, const QColor& colour) override;

private:
    std::map<unsigned int, SavedPageBackground> m_savedBackgrounds;
};

class SetPageBackgroundGradientCommand : public SetPagePropertyCommand<Gradient>
{
public:
    SetPageBackgroundGradientCommand(const std::set<unsigned int>& pageIds,
                                     const Gradient& gradient, VelmoraDocument& document,
                                     QUndoCommand* parent = nullptr);

protected:
    Gradient setProperty(unsigned int pageId, const Gradient& gradient) override;

private:
    std::map<unsigned int, SavedPageBackground> m_savedBackgrounds;
};
