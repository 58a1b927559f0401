#include "gui/colour_swatch.h"

#include <algorithm>

ColourSwatch* ColourSwatch::activeSwatch = nullptr;

ColourSwatch::ColourSwatch(QObject* parent) : QObject(parent), colourList(3, QColor()) {}

ColourSwatch::~ColourSwatch()
{
    deactivate();
}

void ColourSwatch::setActive()
{
    if (activeSwatch == this)
        return;
    activeSwatch = this;
    emit activeSwatchChanged();
}

void ColourSwatch::deactivate()
{
    if (activeSwatch != this)
        return;
    activeSwatch = nullptr;
    emit activeSwatchChanged();
}

void ColourSwatch::addColour(const QColor& colour)
{
    const auto it = std::find(colourList.begin(), colourList.end(), colour);
    if (it == colourList.begin() && it != colourList.end())
        return;
    if (it != colourList.end())
        colourList.erase(it);
    colourList.push_front(colour);
    if (colourList.size() > entryCount)
        colourList.pop_back();
    emit swatchChanged();
}

void ColourSwatch::setSize(unsigned int size)
{
    if (size == entryCount)
        return;
    entryCount = size;
    colourList.resize(size, QColor());
    emit swatchChanged();
}

ColourSwatchWidget::ColourSwatchWidget(QWidget* parent)
    : WidgetArray<QPushButton, QHBoxLayout>(parent, SIGNAL(clicked()), this,
                                            SLOT(onColourSelected()))
{
}

void ColourSwatchWidget::initialiseWidget(QPushButton* button)
{
    button->setFlat(true);
    button->setAutoFillBackground(true);
}

void ColourSwatchWidget::setSwatch(ColourSwatch* newSwatch)
{
    if (swatch)
        disconnect(swatch, &ColourSwatch::swatchChanged, this,
                   &ColourSwatchWidget::onSwatchChanged);
    swatch = newSwatch;
    if (swatch)
        connect(swatch, &ColourSwatch::swatchChanged, this, &ColourSwatchWidget::onSwatchChanged);
    onSwatchChanged();
}

void ColourSwatchWidget::onSwatchChanged()
{
    if (!swatch) {
        setSize(0);
        return;
    }
    const std::list<QColor>& colours = swatch->colours();
    setSize(unsigned(colours.size()));
    std::size_t i = 0;
    for (const QColor& colour : colours) {
        QPushButton* button = widget(i++);
        QPalette palette = button->palette();
        palette.setBrush(QPalette::All, QPalette::Button, QBrush(colour));
        button->setPalette(palette);
    }
}

void ColourSwatchWidget::onColourSelected()
{
    if (const auto* button = qobject_cast<QPushButton*>(sender()))
        emit colourSelected(button->palette().brush(QPalette::Button).color());
}
