#include "velmora_objects/layout_template.h"

#include "core/assertion.h"
#include "core/xml_shape.h"
#include "velmora_objects/control.h"
#include "velmora_objects/control_factory.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QDomDocument>
#include <QGridLayout>
#include <QPainter>
#include <QRegularExpression>
#include <QSpacerItem>
#include <QThread>
#include <boost/dynamic_bitset.hpp>
#include <climits>
#include <memory>

using Velmora::Control;
using Velmora::ControlType;

namespace {

// Limit of a free dimension of a control item. The toolkit's own limit for an unbounded size
// is larger; this one keeps the sums of the layout engine far from overflowing.
constexpr int FreeExtent = 65535;

QString tr(const char* text)
{
    return QCoreApplication::translate("LayoutTemplate", text);
}

int clampToInt(qint64 value)
{
    return int(qBound(qint64(0), value, qint64(INT_MAX)));
}

struct ControlElement
{
    QLatin1String name;
    ControlType type;
};

const ControlElement controlElements[] = {
    {QLatin1String("button"), Velmora::ControlType_BUTTON},
    {QLatin1String("slider"), Velmora::ControlType_SLIDER},
    {QLatin1String("colourpicker"), Velmora::ControlType_COLOUR_PICKER},
    {QLatin1String("keypad"), Velmora::ControlType_KEYPAD},
    {QLatin1String("label"), Velmora::ControlType_LABEL},
    {QLatin1String("clock"), Velmora::ControlType_CLOCK},
};

struct AlignmentWord
{
    QLatin1String word;
    Qt::Alignment alignment;
};

// One flag per word; "center" is the horizontal centre.
const AlignmentWord alignmentWords[] = {
    {QLatin1String("left"), Qt::AlignLeft},      {QLatin1String("right"), Qt::AlignRight},
    {QLatin1String("center"), Qt::AlignHCenter}, {QLatin1String("top"), Qt::AlignTop},
    {QLatin1String("bottom"), Qt::AlignBottom},  {QLatin1String("vcenter"), Qt::AlignVCenter},
};

Qt::Alignment alignmentFromString(const QString& text)
{
    const QString word = text.toLower();
    for (const AlignmentWord& entry : alignmentWords)
        if (word == entry.word)
            return entry.alignment;
    return {};
}

// Where an item starts in the room left beside it along one direction: at the far end, in the
// middle, or (for any other flags of that direction) at the near end.
int alignedOffset(int flags, int far, int centre, int room)
{
    if (flags == far)
        return room;
    return flags == centre ? room / 2 : 0;
}

// Decimal digits with an optional plus sign and blanks around them.
bool isUnsignedNumber(const QString& text)
{
    QStringView digits = QStringView(text).trimmed();
    if (digits.startsWith(QLatin1Char('+')))
        digits = digits.mid(1);
    if (digits.isEmpty())
        return false;
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

int orientationFromString(const QString& text)
{
    const QString word = text.toLower();
    if (word == QLatin1String("landscape"))
        return Velmora::Orientation_LANDSCAPE;
    if (word == QLatin1String("portrait"))
        return Velmora::Orientation_PORTRAIT;
    return Velmora::Orientation_ANY;
}

// Adds a parsed item to a box or grid at the place given. A nested layout is added as a layout,
// which makes it a child QObject of its parent, so that it moves threads with it.
template <class Layout, class... Place>
void addChild(Layout& layout, QLayoutItem* item, Place... place)
{
    if (QLayout* nested = item->layout())
        layout.addLayout(nested, place...);
    else
        layout.addItem(item, place...);
}

// The span of a grid child: the attribute's number cut to the grid's side, 1 when the attribute
// is missing or gives less than 2.
int spanOf(const QDomElement& element, const QString& attribute, int side)
{
    const int value = element.attribute(attribute).toInt();
    return value > 1 ? qMin(value, side) : 1;
}

// Counts and nesting of the document, checked before a document tree is built: building a
// tree of a very deeply nested document takes time that grows with the square of the depth, and
// reading an element with very many attributes time that grows with the square of their count.
// Not well-formed XML is reported here with the parser's message and position.
bool scanDocument(const QByteArray& data, std::list<LayoutTemplate::ParseError>& errors)
{
    const XmlShape::Check shape(data, {LayoutTemplate::MaxDepth, LayoutTemplate::MaxElements,
                                       LayoutTemplate::MaxElementAttributes,
                                       LayoutTemplate::MaxAttributes});
    if (shape.fine())
        return true;
    errors.push_back({shape.message(), clampToInt(shape.line()), clampToInt(shape.column())});
    return false;
}

// Builds the layout tree from the elements of a template document. The first value beyond a
// limit adds a message and fails the whole read: every function then returns null, having
// deleted what it had built.
class TreeReader
{
public:
    explicit TreeReader(std::list<LayoutTemplate::ParseError>& errors) : errors(errors) {}

    // The layout or control item the node stands for; null for nodes that yield nothing and
    // after a failure.
    QLayoutItem* parseItem(const QDomNode& node);

private:
    QLayout* parseBoxLayout(const QDomElement& element, bool vertical);
    QLayout* parseGridLayout(const QDomElement& element, int rows, int columns);
    QLayoutItem* parseControl(const QDomElement& element, ControlType type);
    bool addSpacer(const QDomElement& element, QBoxLayout* box);
    bool applyLayoutAttributes(const QDomElement& element, QLayout* layout);

    // Size text of the attribute; `absent` when the element lacks it.
    bool readSize(const QDomElement& element, const QString& attribute, int absent, int* value);
    // A plain decimal number of pixels ("margin", "spacing"); text that is not one counts as 0.
    bool readPixels(const QDomElement& element, const QString& attribute, int* value);
    bool failTooLarge(const QDomElement& element, const QString& attribute, const QString& text);
    bool fail(const QDomNode& node, const QString& message);

    std::list<LayoutTemplate::ParseError>& errors;
    bool failed = false;
};

QLayoutItem* TreeReader::parseItem(const QDomNode& node)
{
    if (!node.isElement())
        return nullptr;
    const QDomElement element = node.toElement();
    const QString name = element.tagName().toLower();

    QLayout* layout = nullptr;
    if (name == QLatin1String("vbox")) {
        layout = parseBoxLayout(element, true);
    } else if (name == QLatin1String("hbox")) {
        layout = parseBoxLayout(element, false);
    } else if (name == QLatin1String("grid")) {
        const int rows = element.attribute(QStringLiteral("rows")).toInt();
        const int columns = element.attribute(QStringLiteral("columns")).toInt();
        if (rows < 1 || columns < 1)
            return nullptr;
        if (rows > LayoutTemplate::MaxGridSide || columns > LayoutTemplate::MaxGridSide) {
            fail(element,
                 tr("A grid has more than %1 rows or columns").arg(LayoutTemplate::MaxGridSide));
            return nullptr;
        }
        layout = parseGridLayout(element, rows, columns);
    } else {
        for (const ControlElement& control : controlElements)
            if (name == control.name)
                return parseControl(element, control.type);
        return nullptr;
    }
    if (!layout)
        return nullptr;
    if (!applyLayoutAttributes(element, layout)) {
        delete layout;
        return nullptr;
    }
    return layout;
}

bool TreeReader::applyLayoutAttributes(const QDomElement& element, QLayout* layout)
{
    const QString margin = QStringLiteral("margin");
    const QString spacing = QStringLiteral("spacing");
    int value = 0;
    if (element.hasAttribute(margin)) {
        if (!readPixels(element, margin, &value))
            return false;
        layout->setContentsMargins(value, value, value, value);
    }
    if (element.hasAttribute(spacing)) {
        if (!readPixels(element, spacing, &value))
            return false;
        layout->setSpacing(value);
    }
    return true;
}

QLayout* TreeReader::parseBoxLayout(const QDomElement& element, bool vertical)
{
    std::unique_ptr<QBoxLayout> box;
    if (vertical)
        box = std::make_unique<QVBoxLayout>();
    else
        box = std::make_unique<QHBoxLayout>();
    for (QDomNode child = element.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (!child.isElement())
            continue;
        const QDomElement childElement = child.toElement();
        if (childElement.tagName().toLower() == QLatin1String("spacer")) {
            if (!addSpacer(childElement, box.get()))
                return nullptr;
            continue;
        }
        QLayoutItem* item = parseItem(child);
        if (failed)
            return nullptr;
        if (!item)
            continue;
        addChild(*box, item);
    }
    return box.release();
}

bool TreeReader::addSpacer(const QDomElement& element, QBoxLayout* box)
{
    int size = 0;
    if (!readSize(element, QStringLiteral("size"), -1, &size))
        return false;
    if (size >= 0)
        box->addSpacing(size);
    else
        box->addStretch(-size);
    return true;
}

QLayout* TreeReader::parseGridLayout(const QDomElement& element, int rows, int columns)
{
    auto grid = std::make_unique<QGridLayout>();
    const int cellCount = rows * columns;
    // Set bits are the free cells, counted row by row.
    boost::dynamic_bitset<> freeCells(static_cast<size_t>(cellCount));
    freeCells.set();
    int cursor = 0;
    // The first free cell after the cursor, or -1.
    const auto nextFree = [&freeCells](int from) {
        const size_t next = freeCells.find_next(size_t(from));
        return next == boost::dynamic_bitset<>::npos ? -1 : int(next);
    };

    for (QDomNode child = element.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (!child.isElement())
            continue;
        const QDomElement childElement = child.toElement();

        // A row span that runs below the last row drops the child.
        int rowSpan = spanOf(childElement, QStringLiteral("rowspan"), rows);
        if (rowSpan > 1 && cursor / columns + rowSpan > rows)
            rowSpan = 0;
        const int columnSpan = spanOf(childElement, QStringLiteral("colspan"), columns);
        if (cursor % columns + columnSpan > columns) {
            cursor = nextFree(cursor);
            if (cursor < 0)
                break;
        }
        if (rowSpan == 0)
            continue;

        QLayoutItem* item = parseItem(child);
        if (failed)
            return nullptr;
        if (!item)
            continue;
        const int row = cursor / columns;
        const int column = cursor % columns;
        addChild(*grid, item, row, column, rowSpan, columnSpan);
        // A span that runs past the end of the row goes on by the running index into the next
        // row; marks beyond the last cell are not made.
        for (int r = 0; r < rowSpan; ++r) {
            for (int c = 0; c < columnSpan; ++c) {
                const int index = (row + r) * columns + column + c;
                if (index < cellCount)
                    freeCells.reset(size_t(index));
            }
        }
        cursor = nextFree(cursor);
        if (cursor < 0)
            break;
    }
    return grid.release();
}

QLayoutItem* TreeReader::parseControl(const QDomElement& element, ControlType type)
{
    int width = -1;
    int height = -1;
    if (!readSize(element, QStringLiteral("width"), -1, &width) ||
        !readSize(element, QStringLiteral("height"), -1, &height))
        return nullptr;
    auto item = std::make_unique<ControlLayoutItem>(width, height, ControlFactory::get(type));
    const QString align = QStringLiteral("align");
    if (element.hasAttribute(align))
        item->setAlignment(alignmentFromString(element.attribute(align)));

    const QString nameAttribute = QStringLiteral("name");
    const QString valueAttribute = QStringLiteral("value");
    for (QDomNode child = element.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (!child.isElement())
            continue;
        const QDomElement property = child.toElement();
        if (property.tagName().toLower() == QLatin1String("property") &&
            property.hasAttribute(nameAttribute) && property.hasAttribute(valueAttribute))
            item->setProperty(property.attribute(nameAttribute),
                              property.attribute(valueAttribute));
    }
    return item.release();
}

bool TreeReader::readSize(const QDomElement& element, const QString& attribute, int absent,
                          int* value)
{
    if (!element.hasAttribute(attribute)) {
        *value = absent;
        return true;
    }
    const QString text = element.attribute(attribute);
    bool inRange = true;
    *value = LayoutTemplate::sizeFromString(text, &inRange);
    return inRange || failTooLarge(element, attribute, text);
}

bool TreeReader::readPixels(const QDomElement& element, const QString& attribute, int* value)
{
    const QString text = element.attribute(attribute);
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok, 10);
    // Digits too many for any integer are as much too large as a big number.
    const bool tooLarge = ok ? number > LayoutTemplate::MaxPixels : isUnsignedNumber(text);
    // Negative values leave the layout engine's default in place.
    if (tooLarge)
        return failTooLarge(element, attribute, text);
    *value = ok ? int(qMax<qlonglong>(number, INT_MIN)) : 0;
    return true;
}

bool TreeReader::failTooLarge(const QDomElement& element, const QString& attribute,
                              const QString& text)
{
    return fail(element, tr("The %1 \"%2\" is larger than %3")
                             .arg(attribute, text, QString::number(LayoutTemplate::MaxPixels)));
}

bool TreeReader::fail(const QDomNode& node, const QString& message)
{
    errors.push_back({message, node.lineNumber(), node.columnNumber()});
    failed = true;
    return false;
}

// Depth first, in each layout's item order.
template <class Visit> void visitControlItems(QLayout* layout, const Visit& visit)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QLayout* nested = item->layout())
            visitControlItems(nested, visit);
        else if (auto* control = dynamic_cast<ControlLayoutItem*>(item))
            visit(*control);
    }
}

} // namespace

// ControlLayoutItem

ControlLayoutItem::ControlLayoutItem(int width, int height, ControlFactory* factory)
    : m_factory(factory)
{
    VELMORA_ASSERT(factory);
    m_minimumSize = QSize(width >= 0 ? width : 0, height >= 0 ? height : 0);
    m_maximumSize = QSize(width >= 0 ? width : FreeExtent, height >= 0 ? height : FreeExtent);
    if (width < 0)
        m_expandingDirections |= Qt::Horizontal;
    if (height < 0)
        m_expandingDirections |= Qt::Vertical;
}

QSize ControlLayoutItem::sizeHint() const
{
    return m_maximumSize;
}

QSize ControlLayoutItem::minimumSize() const
{
    return m_minimumSize;
}

QSize ControlLayoutItem::maximumSize() const
{
    return m_maximumSize;
}

Qt::Orientations ControlLayoutItem::expandingDirections() const
{
    return m_expandingDirections;
}

void ControlLayoutItem::setGeometry(const QRect& cell)
{
    // A layout squeezed below its margins hands out cells of negative extent; the item then
    // gets none rather than a rectangle turned inside out.
    const int cellWidth = qMax(0, cell.width());
    const int cellHeight = qMax(0, cell.height());
    const int width = qMin(cellWidth, m_maximumSize.width());
    const int height = qMin(cellHeight, m_maximumSize.height());

    const int flags = int(alignment());
    m_geometry = QRect(cell.left() + alignedOffset(flags & 0x1F, Qt::AlignRight, Qt::AlignHCenter,
                                                   cellWidth - width),
                       cell.top() + alignedOffset(flags & 0xE0, Qt::AlignBottom, Qt::AlignVCenter,
                                                  cellHeight - height),
                       width, height);
}

QRect ControlLayoutItem::geometry() const
{
    return m_geometry;
}

bool ControlLayoutItem::isEmpty() const
{
    return false;
}

void ControlLayoutItem::setProperty(const QString& name, const QString& value)
{
    m_properties[name] = value;
}

Control* ControlLayoutItem::createControl() const
{
    Control* control = m_factory->create(m_properties);
    control->setGeometry(m_geometry);
    return control;
}

// LayoutTemplate

bool LayoutTemplate::load(const QByteArray& data)
{
    if (data.size() > MaxDocumentBytes) {
        m_errors.push_back(
            {tr("The document is larger than %1 bytes").arg(MaxDocumentBytes), 0, 0});
        return false;
    }
    if (!scanDocument(data, m_errors))
        return false;
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(data, false, &message, &line, &column)) {
        m_errors.push_back({message, line, column});
        return false;
    }

    const QDomElement root = document.documentElement();
    const QString nameAttribute = QStringLiteral("name");
    const QString orientationAttribute = QStringLiteral("orientation");
    if (!root.hasAttribute(nameAttribute))
        return false;
    m_name = root.attribute(nameAttribute);
    if (root.hasAttribute(orientationAttribute))
        m_orientation = orientationFromString(root.attribute(orientationAttribute));

    // Only the root's first child element is read (comments and instructions that other tools
    // write before it are passed over); a control there is no layout and is discarded.
    TreeReader reader(m_errors);
    QLayoutItem* item = reader.parseItem(root.firstChildElement());
    QLayout* layout = item ? item->layout() : nullptr;
    if (item && !layout)
        delete item;
    m_layout.reset(layout);
    return m_layout.get() != nullptr;
}

std::list<Control*> LayoutTemplate::createControls(const QRect& area)
{
    std::list<std::unique_ptr<Control>> made;
    if (m_layout) {
        m_layout->setGeometry(area);
        visitControlItems(m_layout.get(), [&made](const ControlLayoutItem& item) {
            made.emplace_back(item.createControl());
        });
    }
    std::list<Control*> controls;
    for (std::unique_ptr<Control>& control : made)
        controls.push_back(control.release());
    return controls;
}

QImage LayoutTemplate::renderThumbnail(int orientation, const QSize& size)
{
    const QSize page =
        orientation == Velmora::Orientation_PORTRAIT ? QSize(272, 480) : QSize(480, 272);
    QImage image(page, QImage::Format_ARGB32);
    image.fill(Qt::white);
    if (m_layout) {
        m_layout->setGeometry(QRect(QPoint(0, 0), page));
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QBrush(Qt::darkGray));
        visitControlItems(m_layout.get(), [&painter](const ControlLayoutItem& item) {
            const QRect geometry = item.geometry();
            if (item.getFactory()->controlType() != Velmora::ControlType_COLOUR_PICKER) {
                painter.drawRect(geometry);
                return;
            }
            // The largest square centred in the geometry.
            const int side = qMin(geometry.width(), geometry.height());
            painter.drawEllipse(QRect(geometry.left() + (geometry.width() - side) / 2,
                                      geometry.top() + (geometry.height() - side) / 2, side, side));
        });
    }
    return image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void LayoutTemplate::moveToThread(QThread* thread)
{
    if (m_layout)
        m_layout->moveToThread(thread);
}

int LayoutTemplate::sizeFromString(const QString& text, bool* inRange)
{
    // One pattern per thread: templates may be read on a worker thread while another reads
    // or lays out on the GUI thread.
    thread_local const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("(\\d+)(px)?")),
        QRegularExpression::CaseInsensitiveOption);
    if (inRange)
        *inRange = true;
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return 0;
    bool ok = false;
    const int number = match.captured(1).toInt(&ok, 10);
    if (!ok || number > MaxPixels) {
        if (inRange)
            *inRange = false;
        return 0;
    }
    return match.hasCaptured(2) ? number : -number;
}
