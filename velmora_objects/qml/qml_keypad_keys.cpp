#include "velmora_objects/qml/qml_keypad_keys.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
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

QPainterPath roundedRect(const QRectF& rect, qreal radius)
{
    QPainterPath path;
    const qreal r = std::clamp(radius, 0.0, std::min(rect.width(), rect.height()) / 2);
    path.addRoundedRect(rect, r, r);
    return path;
}

} // namespace

QMLKeypadKeys::QMLKeypadKeys(QQuickItem* parent) : QQuickPaintedItem(parent)
{
    for (int i = 0; i < KeyCount; ++i) {
        m_keys[i] = new QQuickItem(this);
        m_keys[i]->setObjectName(QStringLiteral("key") + QLatin1String(Labels[i]));
    }
    setAntialiasing(true);
    connect(this, &QMLKeypadKeys::lookChanged, this, [this] { update(); });
}

QRectF QMLKeypadKeys::keyRect(int index) const
{
    if (index < 0 || index >= KeyCount)
        return QRectF();
    const qreal keyWidth = (width() - 2 * Spacing) / 3 - (Spacing * 2) / 3.0;
    const qreal keyHeight = ((height() - KeysTop) - Spacing * 5) / 5;
    const int row = index / 3;
    const int column = index % 3;
    const qreal w = index < KeyCount - 1 ? keyWidth : width() - 2 * Spacing;
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
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
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

void QMLKeypadKeys::paint(QPainter* painter)
{
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::TextAntialiasing);
    for (int i = 0; i < KeyCount; ++i)
        paintKey(painter, i);
}

void QMLKeypadKeys::paintKey(QPainter* painter, int index) const
{
    const QRectF rect = keyRect(index);
    if (rect.isEmpty())
        return;

    // The face: the gradient inside the border, both at the keys' opacity.
    const bool pressed = index == m_pressedIndex;
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(std::clamp(m_topPosition, 0.0, 1.0),
                        pressed ? m_topColourPressed : m_topColour);
    gradient.setColorAt(std::clamp(m_bottomPosition, 0.0, 1.0),
                        pressed ? m_bottomColourPressed : m_bottomColour);
    const qreal border =
        std::clamp<qreal>(m_borderWidth, 0, std::min(rect.width(), rect.height()) / 2);
    const QRectF inner = rect.adjusted(border, border, -border, -border);
    const QPainterPath outerPath = roundedRect(rect, m_radius);
    const QPainterPath innerPath = roundedRect(inner, m_radius - border);
    painter->save();
    painter->setOpacity(std::clamp(m_keyOpacity, 0.0, 1.0));
    painter->setPen(Qt::NoPen);
    painter->fillPath(innerPath, gradient);
    if (border > 0)
        painter->fillPath(outerPath.subtracted(innerPath), m_borderColour);
    painter->restore();

    // The label, centred one pixel above the middle, at half the key's smaller side; a style
    // draws the style colour around or behind it first.
    QFont font = QGuiApplication::font();
    font.setPixelSize(std::max(1, int(std::min(rect.width(), rect.height()) / 2)));
    font.setBold(m_fontBold);
    font.setItalic(m_fontItalic);
    painter->setFont(font);
    const QRectF textRect = rect.translated(0, -1);
    const QString label = QString::fromLatin1(Labels[index]);
    const auto drawAt = [&](qreal dx, qreal dy, const QColor& colour) {
        painter->setPen(colour);
        painter->drawText(textRect.translated(dx, dy), Qt::AlignCenter, label);
    };
    switch (m_style) {
    case 1: // outline
        for (const QPointF offset : {QPointF(0, 1), QPointF(0, -1), QPointF(1, 0), QPointF(-1, 0)})
            drawAt(offset.x(), offset.y(), m_styleColour);
        break;
    case 2: // raised
        drawAt(0, 1, m_styleColour);
        break;
    case 3: // sunken
        drawAt(0, -1, m_styleColour);
        break;
    default:
        break;
    }
    drawAt(0, 0, m_textColour);
}

} // namespace VelmoraQML
