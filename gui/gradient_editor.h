#pragma once

#include "core/gradient.h"
#include "gui/gradient_editor_stops.h"

#include <QColor>
#include <QLinearGradient>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <memory>
#include <set>

class QUndoStack;

// Edits the colour stops of one horizontal gradient: a strip of stop markers on top, the
// gradient bar below and a line for a hint or the dragged stop's position at the bottom. A click
// on the strip adds a stop, a click on a marker selects it (Control toggles), a drag moves it and
// dragging it off the strip removes it while more than two stops remain. Colours come in through
// setSelectedStopColour(). With an undo stack every change is an undoable command; without, it is
// applied directly. Disabled until it is given stops.
class GradientEditor : public QWidget
{
    Q_OBJECT

public:
    explicit GradientEditor(QWidget* parent = nullptr);
    ~GradientEditor() override;

    QSize sizeHint() const override { return QSize(200, 60); }

    // Not owned; set and cleared along with the stops.
    void setUndoStack(QUndoStack* stack);
    // Loads stops (clearing the undo stack and the selection) and enables the editor. Does not
    // emit gradientChanged().
    void setGradientStops(const GradientStops& stops);
    // The stops, front of the drawing order first; a stop parked off the strip is left out.
    GradientStops gradientStops() const;
    // Removes every stop and disables the editor.
    void clear();

    unsigned int addStop(double position);
    void removeStop(unsigned int id);
    void setStopPosition(unsigned int id, double position);
    void reverse();
    void selectStop(unsigned int id, bool select, bool clearFirst);

    // The stops as a gradient over any rectangle it fills, built when first asked for.
    QLinearGradient* gradient();

    const GradientEditorStops& stops() const { return editorStops; }
    const std::set<unsigned int>& selection() const { return selectedStops; }
    const QString& hint() const { return hintText; }
    // The position shown while a stop is pressed or dragged; -1.0 when none is shown, or while
    // the dragged stop would be removed.
    double dragPosition() const { return shownPosition; }

    const QRect& stopsArea() const { return stopsRect; }
    const QRect& gradientArea() const { return gradientRect; }
    const QRect& textArea() const { return textRect; }

public slots:
    void setSelectedStopColour(QColor colour);

signals:
    void gradientChanged();
    void stopSelected(QColor colour);
    void stopColourChanged(QColor colour);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class GradientEditorCommand;

    // After any change of the stops: selected ids of stops that no longer exist are dropped,
    // the gradient is rebuilt on demand, gradientChanged() is emitted and the widget repainted.
    void stopsChanged();
    int xOf(double position) const;
    double positionOf(int x) const;
    // The front-most stop whose marker holds the point; false when none does.
    bool stopAt(const QPoint& point, unsigned int* id) const;
    void updateHint(const QPoint& point);
    void drawText(QPainter& painter);

    GradientEditorStops editorStops;
    GradientAddStopBehaviour addStopBehaviour = CopyPreviousColour;
    std::set<unsigned int> selectedStops;
    QString hintText;
    QPoint pressPosition;
    bool dragging = false;
    double shownPosition = -1.0;
    int grabOffset = 0;
    QUndoStack* undoStack = nullptr;
    QRect stopsRect;
    QRect gradientRect;
    QRect textRect;
    std::unique_ptr<QLinearGradient> cachedGradient;
};
