#include "velmora_objects/qml/qml_keypad_keys.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QMatrix4x4>
#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>
#include <QSGRenderNode>
#include <QSGRendererInterface>
#include <algorithm>

namespace VelmoraQML {

namespace {

// The keys in the order they are laid out, row by row.
const char* const Labels[QMLKeypadKeys::KeyCount] = {"7",    "8", "9",   //
                                                     "4",    "5", "6",   //
                                                     "1",    "2", "3",   //
                                                     "Del",  "0", "Cls", //
                                                     "Enter"};
constexpr int Spacing = 6;
// The keys start below the display (6 + 48 + 6).
constexpr int KeysTop = 60;

bool isDigit(int index)
{
    return Labels[index][1] == '\0';
}

// The rectangle with its edges that lie beyond the visible one by more than the margin brought
// in to the margin: what is seen of a shape drawn in it stays the same, while the shape is no
// larger than what is seen.
QRectF nearVisible(const QRectF& rect, const QRectF& visible, qreal margin)
{
    const QRectF around = visible.adjusted(-margin, -margin, margin, margin);
    return QRectF(
        QPointF(std::max(rect.left(), around.left()), std::max(rect.top(), around.top())),
        QPointF(std::min(rect.right(), around.right()), std::min(rect.bottom(), around.bottom())));
}

QPainterPath roundedRect(const QRectF& rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

} // namespace

// Paints the keys with the painter of the software scene graph (the preview's only one), in the
// frame's own transform and clip. The look is a copy taken when the item last changed.
class QMLKeypadKeys::Node : public QSGRenderNode
{
public:
    explicit Node(QQuickWindow* window) : m_window(window) {}

    void render(const RenderState* state) override
    {
        QSGRendererInterface* renderer = m_window->rendererInterface();
        auto* painter = static_cast<QPainter*>(
            renderer ? renderer->getResource(m_window, QSGRendererInterface::PainterResource)
                     : nullptr);
        // The region to draw, in the frame's pixels (set before the transform); none is left
        // when it is empty.
        const QRegion* clip = state->clipRegion();
        if (!painter || (clip && clip->isEmpty()))
            return;
        painter->save();
        if (clip)
            painter->setClipRegion(*clip, Qt::ReplaceClip);
        painter->setTransform(matrix()->toTransform());
        painter->setOpacity(inheritedOpacity());
        // What the frame shows of the keys, in their coordinates.
        const QPaintDevice* device = painter->device();
        QRectF visible = painter->combinedTransform().inverted().mapRect(
            QRectF(0, 0, device->width(), device->height()));
        if (painter->hasClipping())
            visible &= painter->clipBoundingRect();
        if (!visible.isEmpty())
            QMLKeypadKeys::paint(painter, look, visible);
        painter->restore();
    }

    RenderingFlags flags() const override { return BoundedRectRendering; }
    QRectF rect() const override { return QRectF(QPointF(), look.size); }

    Look look;

private:
    QQuickWindow* m_window;
};

QMLKeypadKeys::QMLKeypadKeys(QQuickItem* parent) : QQuickItem(parent)
{
    for (int i = 0; i < KeyCount; ++i) {
        m_keys[i] = new QQuickItem(this);
        m_keys[i]->setObjectName(QStringLiteral("key") + QLatin1String(Labels[i]));
    }
    setFlag(ItemHasContents);
    connect(this, &QMLKeypadKeys::lookChanged, this, [this] { update(); });
}

QRectF QMLKeypadKeys::keyRect(int index) const
{
    return keyRect(size(), index);
}

QRectF QMLKeypadKeys::keyRect(const QSizeF& size, int index)
{
    if (index < 0 || index >= KeyCount)
        return QRectF();
    const qreal keyWidth = (size.width() - 2 * Spacing) / 3 - (Spacing * 2) / 3.0;
    const qreal keyHeight = ((size.height() - KeysTop) - Spacing * 5) / 5;
    const int row = index / 3;
    const int column = index % 3;
    const qreal w = index < KeyCount - 1 ? keyWidth : size.width() - 2 * Spacing;
    return QRectF(Spacing + column * (keyWidth + Spacing), KeysTop + row * (keyHeight + Spacing),
                  std::max<qreal>(w, 0), std::max<qreal>(keyHeight, 0));
}

int QMLKeypadKeys::keyAt(qreal x, qreal y) const
{
    for (int i = 0; i < KeyCount; ++i) {
        const QRectF rect = keyRect(i);
        if (x >= rect.left() && x < rect.right() && y >= rect.top() && y < rect.bottom())
            return i;
    }
    return -1;
}

QVariant QMLKeypadKeys::valueOf(int index) const
{
    if (index < 0 || index >= KeyCount)
        return QVariant();
    if (isDigit(index))
        return Labels[index][0] - '0';
    return QString::fromLatin1(Labels[index]);
}

void QMLKeypadKeys::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        placeKeys();
}

void QMLKeypadKeys::placeKeys()
{
    for (int i = 0; i < KeyCount; ++i) {
        const QRectF rect = keyRect(i);
        m_keys[i]->setPosition(rect.topLeft());
        m_keys[i]->setSize(rect.size());
    }
    update();
}

QMLKeypadKeys::Look QMLKeypadKeys::look() const
{
    QFont font = QGuiApplication::font();
    font.setBold(m_fontBold);
    font.setItalic(m_fontItalic);
    return {size(),
            m_radius,
            m_keyOpacity,
            m_borderWidth,
            m_borderColour,
            m_topColour,
            m_topPosition,
            m_bottomColour,
            m_bottomPosition,
            m_topColourPressed,
            m_bottomColourPressed,
            font,
            m_textColour,
            m_styleColour,
            m_style,
            m_pressedIndex};
}

QSGNode* QMLKeypadKeys::updatePaintNode(QSGNode* node, UpdatePaintNodeData*)
{
    auto* keys = static_cast<Node*>(node);
    if (width() <= 0 || height() <= 0 || !window()) {
        delete keys;
        return nullptr;
    }
    if (!keys)
        keys = new Node(window());
    keys->look = look();
    keys->markDirty(QSGNode::DirtyMaterial);
    return keys;
}

void QMLKeypadKeys::paint(QPainter* painter, const Look& look, const QRectF& visible)
{
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::TextAntialiasing);
    for (int i = 0; i < KeyCount; ++i) {
        const QRectF rect = keyRect(look.size, i);
        if (!rect.isEmpty())
            paintKey(painter, look, i, rect, visible);
    }
}

void QMLKeypadKeys::paintKey(QPainter* painter, const Look& look, int index, const QRectF& rect,
                             const QRectF& visible)
{
    // The face: the gradient inside the border, both at the keys' opacity. The corners are
    // rounded by the radius, at most half the key's smaller side (inside the border, by what
    // the border leaves of it).
    const bool pressed = index == look.pressedIndex;
    const qreal border =
        std::clamp<qreal>(look.borderWidth, 0, std::min(rect.width(), rect.height()) / 2);
    const QRectF inner = rect.adjusted(border, border, -border, -border);
    const qreal outerRadius =
        std::clamp<qreal>(look.radius, 0, std::min(rect.width(), rect.height()) / 2);
    const qreal innerRadius =
        std::clamp<qreal>(look.radius - border, 0, std::min(inner.width(), inner.height()) / 2);
    if (rect.intersects(visible)) {
        // A key far larger than the window is drawn as the part of it near the window, with
        // room for both corners of a side that shows.
        const QRectF drawn = nearVisible(rect, visible, 2 * (outerRadius + border) + 2);
        QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
        gradient.setColorAt(std::clamp(look.topPosition, 0.0, 1.0),
                            pressed ? look.topColourPressed : look.topColour);
        gradient.setColorAt(std::clamp(look.bottomPosition, 0.0, 1.0),
                            pressed ? look.bottomColourPressed : look.bottomColour);
        const QPainterPath outerPath = roundedRect(drawn, outerRadius);
        const QPainterPath innerPath =
            roundedRect(drawn.adjusted(border, border, -border, -border), innerRadius);
        painter->save();
        painter->setOpacity(painter->opacity() * std::clamp(look.keyOpacity, 0.0, 1.0));
        painter->setPen(Qt::NoPen);
        painter->fillPath(innerPath, gradient);
        if (border > 0)
            painter->fillPath(outerPath.subtracted(innerPath), look.borderColour);
        painter->restore();
    }

    // The label, centred one pixel above the middle, at half the key's smaller side; a style
    // draws the style colour around or behind it first.
    QFont font = look.font;
    font.setPixelSize(std::max(1, int(std::min(rect.width(), rect.height()) / 2)));
    const QRectF textRect = rect.translated(0, -1);
    const QString label = QString::fromLatin1(Labels[index]);
    // The label stays within a letter's height of its key, its style's shadows too.
    const qreal reach = font.pixelSize() + 2;
    if (!rect.adjusted(-reach, -reach, reach, reach).intersects(visible))
        return;
    painter->setFont(font);
    const auto drawAt = [&](qreal dx, qreal dy, const QColor& colour) {
        painter->setPen(colour);
        painter->drawText(textRect.translated(dx, dy), Qt::AlignCenter, label);
    };
    switch (look.style) {
    case 1: // outline
        for (const QPointF offset : {QPointF(0, 1), QPointF(0, -1), QPointF(1, 0), QPointF(-1, 0)})
            drawAt(offset.x(), offset.y(), look.styleColour);
        break;
    case 2: // raised
        drawAt(0, 1, look.styleColour);
        break;
    case 3: // sunken
        drawAt(0, -1, look.styleColour);
        break;
    default:
        break;
    }
    drawAt(0, 0, look.textColour);
}

} // namespace VelmoraQML
