#pragma once

#include "gui/widget_array.h"

#include <QColor>
#include <QHBoxLayout>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <list>

// A short list of recently used colours, most recent first. One swatch can be the active one of
// the whole program: accepted colour choices go to its front and colour dialogs show it.
class ColourSwatch : public QObject
{
    Q_OBJECT

public:
    // Three entries, all invalid colours.
    explicit ColourSwatch(QObject* parent = nullptr);
    // The active swatch stops being active first.
    ~ColourSwatch() override;

    static ColourSwatch* activeSwatch;

    void setActive();
    void deactivate();

    // Moves the colour to the front (adding it when absent and dropping the last entry when the
    // list grows too long); nothing when it is already first.
    void addColour(const QColor& colour);
    // Pads with invalid colours or cuts from the end.
    void setSize(unsigned int size);
    unsigned int size() const { return entryCount; }
    const std::list<QColor>& colours() const { return colourList; }

signals:
    void swatchChanged();
    void activeSwatchChanged();

private:
    unsigned int entryCount = 3;
    std::list<QColor> colourList;
};

// A row of flat buttons showing the colours of a swatch, front first; a click on one emits its
// colour. The row follows the swatch's changes; it does not own it.
class ColourSwatchWidget : public WidgetArray<QPushButton, QHBoxLayout>
{
    Q_OBJECT

public:
    explicit ColourSwatchWidget(QWidget* parent = nullptr);

    void setSwatch(ColourSwatch* swatch);

signals:
    void colourSelected(QColor colour);

public slots:
    void onColourSelected();
    void onSwatchChanged();

protected:
    void initialiseWidget(QPushButton* button) override;

private:
    QPointer<ColourSwatch> swatch;
};
