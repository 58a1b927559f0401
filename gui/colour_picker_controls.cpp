#include "gui/colour_picker_controls.h"

#include "gui/checkered_brush.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

ColourSlider::ColourSlider(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation(orientation)
{
    setFocusPolicy(Qt::WheelFocus);
    if (orientation == Qt::Horizontal)
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    else
        setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Expanding);
}

ColourSlider::~ColourSlider() = default;

QSize ColourSlider::minimumSizeHint() const
{
    return orientation == Qt::Horizontal ? QSize(50, 18) : QSize(18, 50);
}

void ColourSlider::setLevel(float level)
{
    sliderLevel = level;
    repaint();
}

void ColourSlider::setComponent(int component)
{
    sliderComponent = Component(component);
    bar.reset();
    update();
}

void ColourSlider::setColour(const QColor& colour)
{
    referenceColour = colour;
    bar.reset();
    if (isVisible())
        repaint();
}

// The colour of the bar at t (0 at the left or bottom, 1 at the right or top). An invalid
// reference colour counts as opaque black.
QColor ColourSlider::colourAt(float t) const
{
    const QColor reference = referenceColour.isValid() ? referenceColour.toRgb() : QColor(0, 0, 0);
    QColor colour = reference;
    colour.setAlpha(255);
    const int rising = int(t * 255), falling = int(255 - t * 255);
    switch (sliderComponent) {
    case Red:
        colour.setRed(rising);
        break;
    case Green:
        colour.setGreen(rising);
        break;
    case Blue:
        colour.setBlue(rising);
        break;
    case Cyan:
        colour.setRed(falling);
        break;
    case Magenta:
        colour.setGreen(falling);
        break;
    case Yellow:
        colour.setBlue(falling);
        break;
    case Hue:
    case Saturation:
    case Intensity: {
        int h, s, v;
        reference.getHsv(&h, &s, &v);
        if (sliderComponent == Hue)
            h = int(t * 360) % 360; // the top end is red again
        else if (sliderComponent == Saturation)
            s = rising;
        else
            v = rising;
        colour.setHsv(h, s, v);
        break;
    }
    case Alpha:
        colour.setAlpha(rising);
        break;
    default:
        colour = QColor(0, 0, 0);
        break;
    }
    return colour;
}

void ColourSlider::drawBar()
{
    bar = std::make_unique<QPixmap>(size());
    bar->fill(palette().color(QPalette::Window));
    QPainter painter(bar.get());
    const bool horizontal = orientation == Qt::Horizontal;
    if (sliderComponent == Alpha)
        painter.fillRect(horizontal ? QRect(0, 1, width(), height() - 2)
                                    : QRect(1, 0, width() - 2, height()),
                         CheckeredBrush());
    const int n = horizontal ? width() - 1 : height() - 1;
    for (int i = 0; i <= n; ++i) {
        const float along = n > 0 ? float(i) / n : 0.0f;
        painter.setPen(colourAt(horizontal ? along : 1.0f - along));
        if (horizontal)
            painter.drawLine(i, 1, i, height() - 2);
        else
            painter.drawLine(1, i, width() - 2, i);
    }
}

void ColourSlider::paintEvent(QPaintEvent*)
{
    if (!bar || bar->size() != size())
        drawBar();
    QPainter painter(this);
    painter.drawPixmap(0, 0, *bar);
    // An unset level (the colours shown differ) comes with an invalid colour: no marker.
    if (!referenceColour.isValid() || !std::isfinite(sliderLevel))
        return;
    const bool horizontal = orientation == Qt::Horizontal;
    const int n = horizontal ? width() - 1 : height() - 1;
    const int p = int(n * std::clamp(sliderLevel, 0.0f, 1.0f));
    painter.setPen(Qt::NoPen);
    const int w = width(), h = height();
    if (horizontal) {
        painter.setBrush(Qt::black);
        painter.drawPolygon(QPolygon({QPoint(p - 4, 1), QPoint(p, 5), QPoint(p + 4, 1)}));
        painter.setBrush(Qt::white);
        painter.drawPolygon(
            QPolygon({QPoint(p - 4, h - 2), QPoint(p, h - 6), QPoint(p + 4, h - 2)}));
    } else {
        const int y0 = h - p;
        painter.setBrush(Qt::black);
        painter.drawPolygon(QPolygon({QPoint(1, y0 - 5), QPoint(5, y0 - 1), QPoint(1, y0 + 3)}));
        painter.setBrush(Qt::white);
        painter.drawPolygon(
            QPolygon({QPoint(w - 2, y0 - 5), QPoint(w - 6, y0 - 1), QPoint(w - 2, y0 + 3)}));
    }
}

void ColourSlider::setLevelAt(const QPoint& position)
{
    float level;
    if (orientation == Qt::Horizontal)
        level = width() > 1 ? float(position.x()) / (width() - 1) : 0.0f;
    else
        level = height() > 1 ? 1.0f - float(position.y()) / (height() - 1) : 0.0f;
    sliderLevel = std::clamp(level, 0.0f, 1.0f);
    repaint();
    emit levelChanged(sliderComponent, sliderLevel);
}

void ColourSlider::mousePressEvent(QMouseEvent* event)
{
    setLevelAt(event->position().toPoint());
}

void ColourSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::NoButton)
        setLevelAt(event->position().toPoint());
}

void ColourSlider::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y() / 120;
    const float unit = sliderComponent == Hue ? 1.0f / 360 : 1.0f / 255;
    const float level = std::clamp(sliderLevel + steps * unit, 0.0f, 1.0f);
    if (level == sliderLevel)
        return;
    sliderLevel = level;
    repaint();
    emit levelChanged(sliderComponent, sliderLevel);
}

ColourSpinBox::ColourSpinBox(ColourSlider::Component component, QWidget* parent)
    : QSpinBox(parent), component(component)
{
    connect(this, &QSpinBox::editingFinished, this, &ColourSpinBox::emitColour);
    if (component == ColourSlider::Hue) {
        setRange(0, 359);
        setWrapping(true);
    } else {
        setRange(0, 255);
    }
}

void ColourSpinBox::emitColour()
{
    if (value() == lastValue)
        return;
    lastValue = value();
    emit colourChanged(component, lastValue);
}

void ColourSpinBox::stepBy(int steps)
{
    QSpinBox::stepBy(steps);
    if (steps != 0)
        emitColour();
}

ColourLabel::ColourLabel(QWidget* parent) : ColourLabel(QColor(), parent) {}

ColourLabel::ColourLabel(const QColor& colour, QWidget* parent)
    : QFrame(parent), labelColour(colour)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
}

void ColourLabel::setColour(const QColor& colour)
{
    labelColour = colour;
    update();
}

void ColourLabel::paintEvent(QPaintEvent* event)
{
    if (labelColour.isValid()) {
        QPainter painter(this);
        if (labelColour.alpha() < 255)
            painter.fillRect(rect(), CheckeredBrush());
        painter.fillRect(rect(), labelColour);
    }
    QFrame::paintEvent(event);
}

void ColourLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()) && labelColour.isValid())
        emit clicked(labelColour);
}
