#include "gui/gradient_editor.h"

#include "gui/checkered_brush.h"
#include "gui/gradient_editor_commands.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QUndoStack>
#include <algorithm>
#include <cmath>

namespace {

constexpr double hidden = -1.0;

} // namespace

GradientEditor::GradientEditor(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Minimum);
    setMouseTracking(true);
    setEnabled(false);
    setFocusPolicy(Qt::ClickFocus);
    QFont small = font();
    small.setPointSize(7);
    setFont(small);
}

GradientEditor::~GradientEditor() = default;

void GradientEditor::setUndoStack(QUndoStack* stack)
{
    undoStack = stack;
}

void GradientEditor::setGradientStops(const GradientStops& stops)
{
    if (undoStack)
        undoStack->clear();
    editorStops.setStops(stops);
    selectedStops.clear();
    cachedGradient.reset();
    setEnabled(true);
    emit stopSelected(QColor());
    update();
}

GradientStops GradientEditor::gradientStops() const
{
    GradientStops stops;
    for (const auto& stop : editorStops.stops())
        if (stop.first != hidden)
            stops.append(stop);
    return stops;
}

void GradientEditor::clear()
{
    if (undoStack)
        undoStack->clear();
    editorStops.clear();
    selectedStops.clear();
    cachedGradient.reset();
    setEnabled(false);
    emit stopSelected(QColor());
    update();
}

void GradientEditor::stopsChanged()
{
    // Undoing an addition (or redoing a removal) takes away a stop that may be selected.
    bool pruned = false;
    for (auto it = selectedStops.begin(); it != selectedStops.end();) {
        if (editorStops.contains(*it)) {
            ++it;
        } else {
            it = selectedStops.erase(it);
            pruned = true;
        }
    }
    if (pruned)
        emit stopSelected(editorStops.commonColour(selectedStops));
    cachedGradient.reset();
    emit gradientChanged();
    update();
}

unsigned int GradientEditor::addStop(double position)
{
    if (undoStack) {
        auto* command = new AddStopCommand(this, editorStops, position, addStopBehaviour);
        undoStack->push(command);
        return command->stopId();
    }
    const unsigned int id = editorStops.addStop(position, addStopBehaviour);
    stopsChanged();
    return id;
}

void GradientEditor::removeStop(unsigned int id)
{
    selectedStops.erase(id);
    emit stopSelected(QColor());
    if (undoStack) {
        undoStack->push(new RemoveStopCommand(this, editorStops, id));
        return;
    }
    editorStops.removeStop(id);
    stopsChanged();
}

void GradientEditor::setStopPosition(unsigned int id, double position)
{
    if (undoStack) {
        undoStack->push(new MoveStopCommand(this, editorStops, id, position));
        return;
    }
    editorStops.setStopPosition(id, position);
    stopsChanged();
}

void GradientEditor::reverse()
{
    if (undoStack) {
        undoStack->push(new ReverseCommand(this, editorStops));
        return;
    }
    editorStops.reverse();
    stopsChanged();
}

void GradientEditor::selectStop(unsigned int id, bool select, bool clearFirst)
{
    if (clearFirst)
        selectedStops.clear();
    if (select)
        selectedStops.insert(id);
    else
        selectedStops.erase(id);
    emit stopSelected(editorStops.commonColour(selectedStops));
}

void GradientEditor::setSelectedStopColour(QColor colour)
{
    if (selectedStops.empty())
        return;
    if (undoStack) {
        undoStack->push(new SetStopColourCommand(this, editorStops, selectedStops, colour));
        return;
    }
    std::map<unsigned int, QColor> colours;
    for (const unsigned int id : selectedStops)
        colours[id] = colour;
    editorStops.swapColours(colours);
    stopsChanged();
}

QLinearGradient* GradientEditor::gradient()
{
    if (!cachedGradient) {
        cachedGradient = std::make_unique<QLinearGradient>(0, 0, 1, 0);
        cachedGradient->setCoordinateMode(QGradient::ObjectBoundingMode);
        // Back to front, so that of two stops at one position the front one's colour wins.
        const auto& sequence = editorStops.inDrawingOrder();
        for (auto it = sequence.rbegin(); it != sequence.rend(); ++it)
            if (it->first != hidden)
                cachedGradient->setColorAt(it->first, it->second);
    }
    return cachedGradient.get();
}

int GradientEditor::xOf(double position) const
{
    return int((width() - 20) * position + 10.0);
}

double GradientEditor::positionOf(int x) const
{
    const int span = width() - 20;
    return span > 0 ? std::clamp(double(x - 10) / span, 0.0, 1.0) : 0.0;
}

bool GradientEditor::stopAt(const QPoint& point, unsigned int* id) const
{
    if (point.y() < 0 || point.y() > 19)
        return false;
    for (const auto& stop : editorStops.inDrawingOrder()) {
        if (stop.first == hidden)
            continue;
        const int x0 = int(stop.first * (width() - 20));
        if (x0 + 2 <= point.x() && point.x() < x0 + 18) {
            *id = stop.id;
            return true;
        }
    }
    return false;
}

void GradientEditor::updateHint(const QPoint& point)
{
    unsigned int id;
    if (stopAt(point, &id)) {
        setCursor(Qt::OpenHandCursor);
        hintText = tr("Click and drag to move gradient stop");
        return;
    }
    unsetCursor();
    hintText = stopsRect.contains(point) ? tr("Click to add a new gradient stop") : QString();
}

void GradientEditor::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    unsigned int id;
    if (stopAt(point, &id)) {
        if (event->modifiers() & Qt::ControlModifier)
            selectStop(id, selectedStops.count(id) == 0, false);
        else
            selectStop(id, true, true);
        editorStops.moveToFront(id);
        cachedGradient.reset();
        const double position = editorStops.find(id)->first;
        grabOffset = int((width() - 20) * position) + 10 - point.x();
        if (selectedStops.size() == 1 && selectedStops.count(id)) {
            pressPosition = point;
            shownPosition = position;
        }
    } else if (stopsRect.contains(point)) {
        const double position = positionOf(point.x());
        shownPosition = position;
        const unsigned int added = addStop(position);
        selectedStops = {added};
        emit stopSelected(editorStops.commonColour(selectedStops));
        pressPosition = point;
        grabOffset = 0;
    } else {
        selectedStops.clear();
        emit stopSelected(QColor());
    }
    update();
}

void GradientEditor::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton)) {
        updateHint(point);
        update();
        return;
    }
    if (!dragging) {
        if (shownPosition == hidden ||
            (pressPosition - point).manhattanLength() < QApplication::startDragDistance())
            return;
        dragging = true;
        setCursor(Qt::ClosedHandCursor);
    }
    if (stopsRect.contains(point) || editorStops.size() <= 2) {
        shownPosition = positionOf(point.x() + grabOffset);
    } else {
        shownPosition = hidden;
        hintText = tr("Drop gradient stop to remove it");
    }
    if (!selectedStops.empty())
        setStopPosition(*selectedStops.begin(), shownPosition);
    update();
}

void GradientEditor::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (dragging && shownPosition == hidden && !selectedStops.empty())
        removeStop(*selectedStops.begin());
    dragging = false;
    shownPosition = hidden;
    updateHint(event->position().toPoint());
    update();
}

void GradientEditor::leaveEvent(QEvent*)
{
    hintText.clear();
    update();
}

void GradientEditor::resizeEvent(QResizeEvent*)
{
    const int w = width(), h = height(), fh = fontMetrics().height();
    stopsRect = QRect(QPoint(0, 0), QPoint(w - 1, 19));
    gradientRect = QRect(QPoint(10, 20), QPoint(w - 11, h - 3 - fh));
    textRect = QRect(QPoint(2, h - fh - 1), QPoint(w - 3, h - 2));
}

void GradientEditor::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CheckeredBrush checkers;
    painter.fillRect(gradientRect, checkers);
    if (editorStops.size() == 0)
        return;

    // Back to front, so that the front marker ends on top.
    const auto& sequence = editorStops.inDrawingOrder();
    for (auto it = sequence.rbegin(); it != sequence.rend(); ++it) {
        if (it->first == hidden)
            continue;
        const int x = xOf(it->first);
        const QRect marker(QPoint(x - 8, 2), QPoint(x + 7, 17));
        if (it->second.alphaF() < 1.0) {
            painter.setBrushOrigin(x, 10);
            painter.fillRect(marker, checkers);
        }
        painter.fillRect(marker, it->second);
        painter.setPen(Qt::black);
        painter.drawLine(x - 1, 18, x + 1, 18);
        painter.drawPoint(x, 19);
        if (selectedStops.count(it->id)) {
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRect(QPoint(x - 8, 2), QPoint(x + 6, 16)));
            painter.setPen(Qt::white);
            painter.drawRect(QRect(QPoint(x - 7, 3), QPoint(x + 5, 15)));
        }
    }
    painter.setBrushOrigin(0, 0);
    painter.fillRect(gradientRect, QBrush(*gradient()));
    drawText(painter);
}

void GradientEditor::drawText(QPainter& painter)
{
    painter.setPen(palette().color(QPalette::WindowText));
    if (shownPosition == hidden) {
        painter.drawText(QRectF(textRect), hintText, QTextOption());
        return;
    }
    const QString text = QString::number(shownPosition, 'f', 3);
    const int textWidth = fontMetrics().horizontalAdvance(text);
    int left = int((width() - 20) * shownPosition) - textWidth / 2 + 10;
    left = std::max(0, std::min(left, textRect.width() - textWidth));
    painter.drawText(
        QRect(textRect.left() + left, textRect.top(), textRect.width() - left, textRect.height()),
        Qt::AlignLeft, text);
}
