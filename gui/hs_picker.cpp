#include "gui/hs_picker.h"

#include "gui/window_utilities.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.1415927f;
constexpr float twoPi = 6.2831855f;

// The wheel's colour at a hue (a fraction of a turn, sextant k and the fraction f8 through it)
// and an 8-bit saturation, at full value.
QRgb wheelColour(int k, int f8, int s8)
{
    int c[3];
    switch (k) {
    case 0:
        c[0] = 255, c[1] = f8, c[2] = 0;
        break;
    case 1:
        c[0] = 255 - f8, c[1] = 255, c[2] = 0;
        break;
    case 2:
        c[0] = 0, c[1] = 255, c[2] = f8;
        break;
    case 3:
        c[0] = 0, c[1] = 255 - f8, c[2] = 255;
        break;
    case 4:
        c[0] = f8, c[1] = 0, c[2] = 255;
        break;
    case 5:
        c[0] = 255, c[1] = 0, c[2] = 255 - f8;
        break;
    default:
        c[0] = c[1] = c[2] = 0;
        break;
    }
    for (int& channel : c)
        channel = 255 - ((255 - channel) * s8) / 255;
    return qRgb(c[0], c[1], c[2]);
}

QImage drawWheel(int diameter)
{
    QImage image(diameter, diameter, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 0, 0));
    const int radius = diameter / 2;
    for (int y = 0; y < diameter; ++y) {
        const int dy = y - radius;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < diameter; ++x) {
            const int dx = x - radius;
            const int d2 = dx * dx + dy * dy;
            if (d2 > radius * radius)
                continue;
            double angle = std::atan2(double(dx), double(-dy));
            if (angle < 0)
                angle += 2 * M_PI;
            const double sixths = angle / (2 * M_PI) * 6.0;
            int k = int(sixths);
            if (k >= 6)
                k = 0;
            const int f8 = int((sixths - k) * 255) & 255;
            const int s8 = int(std::sqrt(double(d2)) / radius * 255) & 255;
            line[x] = wheelColour(k, f8, s8);
        }
    }
    return image;
}

} // namespace

void MultipleHSOverlay::paint(QPainter* painter, HSPicker* picker)
{
    for (const QColor& colour : colourList) {
        // An achromatic colour has hue -1 and saturation 0, so it lands on the centre.
        const QPoint p = picker->hueSaturationToPoint(colour.hueF(), colour.saturationF());
        painter->drawEllipse(QRect(QPoint(p.x() - 4, p.y() - 4), QPoint(p.x() + 4, p.y() + 4)));
    }
}

void MultipleHSOverlay::setColours(const std::vector<QColor>& colours)
{
    colourList = colours;
    emit changed();
}

void MultipleHSOverlay::clear()
{
    if (colourList.empty())
        return;
    colourList.clear();
    emit changed();
}

HSPicker::HSPicker(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
}

HSPicker::~HSPicker()
{
    delete wheel;
}

void HSPicker::setHueSaturation(uires16 hue, uires16 saturation)
{
    hueValue = hue;
    saturationValue = saturation;
    update();
}

void HSPicker::setColour(uchar red, uchar green, uchar blue)
{
    uires16 value;
    rgb8ToHsv(red, green, blue, &hueValue, &saturationValue, &value);
    update();
}

void HSPicker::clearSelection()
{
    hueValue = noSelection;
    update();
}

void HSPicker::addOverlay(HSPickerOverlay* overlay)
{
    overlays.push_back(overlay);
    connect(overlay, &HSPickerOverlay::changed, this, qOverload<>(&QWidget::update));
    update();
}

void HSPicker::removeOverlay(HSPickerOverlay* overlay)
{
    const auto it = std::find(overlays.begin(), overlays.end(), overlay);
    if (it == overlays.end())
        return;
    disconnect(overlay, nullptr, this, nullptr);
    disconnect(this, nullptr, overlay, nullptr);
    overlays.erase(it);
    update();
}

QPoint HSPicker::hueSaturationToPoint(double hue, double saturation) const
{
    const double a = float(2 * hue * pi);
    return QPoint(int(std::sin(a) * saturation * wheelRadius + width() / 2),
                  int(height() / 2 - wheelRadius * (saturation * std::cos(a))));
}

void HSPicker::paintEvent(QPaintEvent*)
{
    if (painting)
        return;
    painting = true;

    const int diameter = std::min(width(), height()) & ~1;
    if (!wheel || wheel->width() != diameter) {
        delete wheel;
        wheel = new QPixmap(QPixmap::fromImage(drawWheel(diameter)));
    }
    wheelRadius = diameter / 2;

    QPainter painter(this);
    painter.drawPixmap((width() - wheel->width()) / 2, (height() - wheel->height()) / 2, *wheel);
    if (hueValue != noSelection) {
        const QPoint p = hueSaturationToPoint(hueValue / 65536.0, saturationValue / 65536.0);
        painter.drawEllipse(QRect(QPoint(p.x() - 4, p.y() - 4), QPoint(p.x() + 4, p.y() + 4)));
    }
    for (HSPickerOverlay* overlay : overlays)
        overlay->paint(&painter, this);

    painting = false;
}

void HSPicker::mousePressEvent(QMouseEvent* event)
{
    selectAt(event->position().toPoint(), event->buttons(), true);
    // The pointer would hide the marker under it; it comes back on release.
    setCursor(Qt::BlankCursor);
}

void HSPicker::mouseMoveEvent(QMouseEvent* event)
{
    selectAt(event->position().toPoint(), event->buttons(), false);
}

void HSPicker::mouseReleaseEvent(QMouseEvent*)
{
    emitSelection(true);
    unsetCursor();
}

void HSPicker::selectAt(const QPoint& position, Qt::MouseButtons buttons, bool press)
{
    // Before the first paint, and on a wheel under two pixels, there is no wheel to pick on.
    if (!(buttons & Qt::LeftButton) || wheelRadius == 0)
        return;
    const QPoint centre(width() / 2, height() / 2);
    int dx = position.x() - centre.x(), dy = position.y() - centre.y();
    int d2 = dx * dx + dy * dy;
    if (d2 > wheelRadius * wheelRadius) {
        if (press)
            return;
        // A drag outside keeps the selection on the rim at the pointer's angle, and the pointer
        // with it.
        const int d = int(std::sqrt(double(d2)));
        dx = dx * wheelRadius / d;
        dy = dy * wheelRadius / d;
        moveCursor(mapToGlobal(centre) + QPoint(dx, dy));
        d2 = wheelRadius * wheelRadius;
    }
    float a;
    if (dy != 0)
        a = std::atan2(float(dx), float(-dy));
    else
        a = dx >= 0 ? 1.5707964f : 4.712389f;
    while (a < 0)
        a += twoPi;
    hueValue = uires16(a * 65536 / twoPi);
    saturationValue = uires16(std::sqrt(double(d2)) * 65536 / wheelRadius);
    emitSelection(false);
    repaint();
}

void HSPicker::emitSelection(bool finished)
{
    float x6 = float(uires16(hueValue * 6u)) / 65536;
    if (x6 >= 6.0f)
        x6 = 0.0f;
    const int k = int(x6);
    const float hueF = hueValue / 65536.0f;
    const uchar s8 = uchar(int(saturationValue * 255u / 65536u) & 255);
    const int f8 = int((x6 - k) * 255) & 255;
    const QRgb rgb = wheelColour(k, f8, s8);
    const uchar red = uchar(qRed(rgb)), green = uchar(qGreen(rgb)), blue = uchar(qBlue(rgb));
    if (finished) {
        emit colourSelectFinished(red, green, blue);
        emit colourSelectFinished(hueF, s8);
        emit colourSelectFinished(hueValue, saturationValue);
    } else {
        emit colourSelectInProgress(red, green, blue);
        emit colourSelectInProgress(hueF, s8);
        emit colourSelectInProgress(hueValue, saturationValue);
    }
}
