#pragma once

#include <QColor>
#include <QFrame>
#include <QSpinBox>
#include <QWidget>
#include <memory>

class QPixmap;

// A bar showing how a colour changes along one component, with a pair of triangles marking the
// level (0..1). A click or a drag sets the level; the mouse wheel steps it by one unit of the
// component's spin box.
class ColourSlider : public QWidget
{
    Q_OBJECT

public:
    enum Component
    {
        Red = 0,
        Green = 1,
        Blue = 2,
        Hue = 3,
        Saturation = 4,
        Intensity = 5,
        Cyan = 6,
        Magenta = 7,
        Yellow = 8,
        Alpha = 9
    };
    Q_ENUM(Component)

    explicit ColourSlider(Qt::Orientation orientation, QWidget* parent = nullptr);
    ~ColourSlider() override;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override { return minimumSizeHint(); }

    Component component() const { return sliderComponent; }
    float level() const { return sliderLevel; }
    const QColor& colour() const { return referenceColour; }

    // Repaints at once.
    void setLevel(float level);
    void setComponent(int component);
    // The colour whose other components the bar keeps; the bar is drawn anew.
    void setColour(const QColor& colour);

signals:
    void levelChanged(ColourSlider::Component component, float level);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void setLevelAt(const QPoint& position);
    QColor colourAt(float t) const;
    void drawBar();

    Component sliderComponent = Red;
    float sliderLevel = 0.0f;
    Qt::Orientation orientation;
    QColor referenceColour;
    std::unique_ptr<QPixmap> bar;
};

// The spin box of one component. It reports a value only when it differs from the last one it
// reported: when editing finishes, and at every step of its arrows or keys.
class ColourSpinBox : public QSpinBox
{
    Q_OBJECT

public:
    ColourSpinBox(ColourSlider::Component component, QWidget* parent = nullptr);

    void stepBy(int steps) override;

public slots:
    void emitColour();

signals:
    void colourChanged(ColourSlider::Component component, int value);

private:
    ColourSlider::Component component;
    int lastValue = -1;
};

// A sunken frame filled with one colour, over a checkerboard when the colour is translucent.
// A click emits the colour, when it is valid.
class ColourLabel : public QFrame
{
    Q_OBJECT

public:
    explicit ColourLabel(QWidget* parent = nullptr);
    ColourLabel(const QColor& colour, QWidget* parent = nullptr);

    const QColor& colour() const { return labelColour; }
    void setColour(const QColor& colour);

signals:
    void clicked(QColor colour);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor labelColour;
};
