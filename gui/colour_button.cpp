#include "gui/colour_button.h"

#include <QMouseEvent>
#include <QPainter>

void ModifierButton::mousePressEvent(QMouseEvent* event)
{
    pressButtons = event->buttons();
    pressModifiers = event->modifiers();
    QPushButton::mousePressEvent(event);
}

ColourButton::ColourButton(QWidget* parent) : ModifierButton(parent) {}

void ColourButton::setColour(const QColor& colour)
{
    buttonColour = colour;
    update();
}

void ColourButton::paintEvent(QPaintEvent* event)
{
    ModifierButton::paintEvent(event);
    if (!buttonColour.isValid())
        return;
    QPainter painter(this);
    painter.fillRect(rect().adjusted(4, 4, -4, -4), buttonColour);
}
