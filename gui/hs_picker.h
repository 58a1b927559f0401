#pragma once

#include "gui/colour_maths.h"

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QWidget>
#include <vector>

class HSPicker;
class QPainter;
class QPixmap;

// Something drawn over the hue/saturation wheel after its own marker. Emits changed() when it
// must be drawn again.
class HSPickerOverlay : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void paint(QPainter* painter, HSPicker* picker) = 0;

signals:
    void changed();
};

// Rings on the wheel at the hue and saturation of several colours, drawn with the painter's
// current pen and brush.
class MultipleHSOverlay : public HSPickerOverlay
{
    Q_OBJECT

public:
    using HSPickerOverlay::HSPickerOverlay;

    void paint(QPainter* painter, HSPicker* picker) override;

    const std::vector<QColor>& colours() const { return colourList; }
    void setColours(const std::vector<QColor>& colours);
    // Empties the list; an empty list stays silent.
    void clear();

private:
    std::vector<QColor> colourList;
};

// A colour wheel on which the user picks hue (the clockwise angle from straight up, red at the
// top) and saturation (the distance from the centre) at full value. The wheel is drawn once per
// diameter into a cached pixmap; the selection is marked by a small ring. While the left button
// drags, the selection is reported as in progress; the release reports it as finished. Each
// report comes in three forms: fixed-point hue and saturation, float hue with 8-bit saturation,
// and the 8-bit RGB colour at full value.
class HSPicker : public QWidget
{
    Q_OBJECT

public:
    explicit HSPicker(QWidget* parent = nullptr);
    ~HSPicker() override;

    // Hue value meaning that nothing is selected.
    static constexpr uires16 noSelection = 0xffffffffu;

    QSize sizeHint() const override { return QSize(100, 100); }

    virtual void setHueSaturation(uires16 hue, uires16 saturation);
    // Selects the hue and saturation of an 8-bit colour; its value is dropped.
    virtual void setColour(uchar red, uchar green, uchar blue);
    void clearSelection();

    uires16 hue() const { return hueValue; }
    uires16 saturation() const { return saturationValue; }
    // Half the even diameter of the wheel as last drawn; 0 before the first paint.
    int radius() const { return wheelRadius; }

    // Overlays are drawn in the order added; the wheel does not own them.
    void addOverlay(HSPickerOverlay* overlay);
    void removeOverlay(HSPickerOverlay* overlay);

    // The widget point of a hue (a fraction of a turn) and a saturation (0..1).
    QPoint hueSaturationToPoint(double hue, double saturation) const;

signals:
    void colourSelectInProgress(uires16 hue, uires16 saturation);
    void colourSelectInProgress(float hue, uchar saturation);
    void colourSelectInProgress(uchar red, uchar green, uchar blue);
    void colourSelectFinished(uires16 hue, uires16 saturation);
    void colourSelectFinished(float hue, uchar saturation);
    void colourSelectFinished(uchar red, uchar green, uchar blue);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void selectAt(const QPoint& position, Qt::MouseButtons buttons, bool press);
    void emitSelection(bool finished);

    QPixmap* wheel = nullptr;
    int wheelRadius = 0;
    bool painting = false;
    uires16 hueValue = noSelection;
    uires16 saturationValue = 0;
    std::vector<HSPickerOverlay*> overlays;
};
