#pragma once

#include "velmora_objects/velmora_types.h"

class QString;
class QVariant;

namespace Velmora {

class AbstractRenderer;
class Theme;

// Base of every model object with a visible form: it hands itself to a renderer.
class Renderable
{
public:
    virtual ~Renderable() = default;

    // Calls the renderer's operation for this object's kind with this object, and nothing else.
    virtual void render(AbstractRenderer* renderer) const = 0;
};

// A renderable item that takes theme-dependent defaults when it is given a theme: pages, page
// switchers and controls.
class Themed : public Renderable
{
public:
    ~Themed() override = default;

    void render(AbstractRenderer* renderer) const override = 0;

    // Adopts the new theme's default item properties for this item's type. previous is the
    // theme the item had before, or null. Values the user changed away from the previous
    // theme's defaults are kept (see defaultFromTheme). By default an item takes nothing.
    virtual void initialiseFromTheme(const Theme* theme, const Theme* previous)
    {
        (void)theme;
        (void)previous;
    }

    // The rule by which an item takes one property from a theme: result becomes the new
    // theme's default of (itemType, name); returns true when the item should take it, that is
    // when the theme has such a default and either there was no previous theme or current
    // still equals the previous theme's default. Defined beside Velmora::Theme (theme.cpp).
    static bool defaultFromTheme(const Theme* theme, const Theme* previous, ThemedItemType itemType,
                                 const QString& name, const QVariant& current, QVariant& result);
};

} // namespace Velmora
