#pragma once

#include "containers/smart_ptr.h"
#include "core/xml_shape.h"

#include <QImage>
#include <QLayout>
#include <QLayoutItem>
#include <QRect>
#include <QSize>
#include <QString>
#include <list>
#include <map>

class ControlFactory;
class QByteArray;
class QThread;

namespace Velmora {
class Control;
}

// The layout item that stands for one control of a page-layout template. It takes part in the
// toolkit's box and grid layouts like a widget would, remembers the cell the layout gives it and
// makes the control through its factory once that cell is known.
//
// A width or height of 0 or more fixes that dimension; a negative one leaves it free (from 0 up
// to 65535, expanding in that direction). The item places itself inside its cell by its
// alignment (QLayoutItem::alignment()); without one it keeps the cell's top left corner.
class ControlLayoutItem : public QLayoutItem
{
public:
    // The factory is one of the process-wide factories and is never deleted by the item.
    ControlLayoutItem(int width, int height, ControlFactory* factory);

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    QSize maximumSize() const override;
    Qt::Orientations expandingDirections() const override;
    void setGeometry(const QRect& cell) override;
    QRect geometry() const override;
    bool isEmpty() const override;

    ControlFactory* getFactory() const { return m_factory; }
    // The texts the control is made from, by property name (for example "caption").
    const std::map<QString, QString>& getProperties() const { return m_properties; }
    void setProperty(const QString& name, const QString& value);

    // A new control made from the properties and placed on the item's geometry; the caller
    // owns it.
    Velmora::Control* createControl() const;

private:
    ControlFactory* m_factory;
    Qt::Orientations m_expandingDirections;
    QSize m_minimumSize;
    QSize m_maximumSize;
    QRect m_geometry;
    std::map<QString, QString> m_properties;
};

// A page-layout template: a named tree of box and grid layouts read from a small XML document,
// whose control items become the controls of a new page once the tree is laid out in the free
// area of the page.
//
// The document's root element carries the "name" and optionally the "orientation" ("any",
// "landscape" or "portrait"); its first child element is the root layout, a "vbox", "hbox" or
// "grid". Layouts hold controls ("button", "slider", "colourpicker", "keypad", "label",
// "clock"), nested layouts and, in boxes, "spacer" elements. A document that would make the layout
// engine overflow or the reader run away (too deep, too many elements, sizes beyond the limits
// below) is refused with a message.
//
// The template owns its tree. Copying a template copies its name, orientation and messages and
// moves the tree: the copy takes it and the source is left without one, so that a template can
// travel by value without two owners of one tree.
//
// Threads: a template may be read on a worker thread; nothing here touches a widget. Its
// layouts are QObjects that belong to the thread that read them: hand them to the thread that
// will use the template with moveToThread(), called on the reading thread. Laying the tree out
// (createControls(), renderThumbnail()) changes the geometry of its items, so one template is
// used by one thread at a time.
class LayoutTemplate
{
public:
    // A message of the reader, with the line and column (from 1) of the place it concerns.
    struct ParseError
    {
        QString message;
        int line = 0;
        int column = 0;
    };

    // Largest number of pixels in a size, margin or spacing, and largest stretch factor.
    static constexpr int MaxPixels = 9999;
    // Largest number of rows, and of columns, of a grid.
    static constexpr int MaxGridSide = 64;
    // Deepest nesting of elements in a template document, the root counting as level 1.
    static constexpr int MaxDepth = 32;
    // Largest number of elements in a template document.
    static constexpr int MaxElements = 4096;
    // Largest number of attributes of one element, and of a whole template document.
    static constexpr int MaxElementAttributes = 64;
    static constexpr int MaxAttributes = 4 * MaxElements;
    // The bounds above, as the shape check of a template document takes them.
    static constexpr XmlShape::Limits ShapeLimits = {MaxDepth, MaxElements, MaxElementAttributes,
                                                     MaxAttributes};
    // Largest template document in bytes.
    static constexpr int MaxDocumentBytes = 1024 * 1024;

    LayoutTemplate() = default;

    const QString& getName() const { return m_name; }
    // 0 any, 1 landscape, 2 portrait.
    int getOrientation() const { return m_orientation; }
    // The root of the tree; null until a load succeeded.
    QLayout* getLayout() const { return m_layout.get(); }
    const std::list<ParseError>& getErrors() const { return m_errors; }

    // Reads a template document into this template; true when it gave a root layout. A
    // document that is not well-formed, or that goes beyond the reader's limits, adds one
    // message and gives false; a root without "name" gives false and changes nothing; a first
    // child of the root that is not a layout gives false and leaves no tree. Messages of every
    // load accumulate.
    bool load(const QByteArray& data);

    // Lays the tree out in the area and returns one new control per control item, with its
    // rectangle, depth first in the order of the template; the caller owns them. Without a tree
    // the list is empty.
    std::list<Velmora::Control*> createControls(const QRect& area);

    // A picture of the tree laid out on a page of 480 × 272 pixels (272 × 480 for orientation
    // 2): white, with the controls in dark grey (colour pickers as circles), scaled to fit the
    // size with its aspect ratio kept. Safe on any thread (it paints on a QImage).
    QImage renderThumbnail(int orientation, const QSize& size);

    // Moves the tree's layouts to the thread; call it on the thread that owns them.
    void moveToThread(QThread* thread);

    // The number in size text ("width", "height", "size"): the whole text, case ignored, is
    // digits optionally followed by "px". Digits with px give the number, digits alone the
    // number negated (a free dimension, or a stretch factor), anything else 0. Digits worth more
    // than MaxPixels give 0 and set *inRange to false; otherwise *inRange is set to true.
    static int sizeFromString(const QString& text, bool* inRange = nullptr);

private:
    QString m_name;
    int m_orientation = 0;
    smart_ptr<QLayout> m_layout;
    std::list<ParseError> m_errors;
};
