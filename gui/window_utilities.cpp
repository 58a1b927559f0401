#include "gui/window_utilities.h"

#include <QCursor>
#include <QGuiApplication>
#include <QObject>
#include <QScreen>
#include <QWidget>
#include <utility>

namespace {

CursorMover& cursorMover()
{
    static CursorMover mover;
    return mover;
}

QList<QRect> availableScreenGeometries()
{
    QList<QRect> geometries;
    for (const QScreen* screen : QGuiApplication::screens())
        geometries.append(screen->availableGeometry());
    return geometries;
}

} // namespace

void ensureOnScreen(QRect& rect, const QList<QRect>& availableGeometries, int defaultScreen)
{
    for (const QRect& screen : availableGeometries)
        if (screen.intersects(rect))
            return;
    if (defaultScreen >= 0 && defaultScreen < availableGeometries.size())
        rect.moveCenter(availableGeometries.at(defaultScreen).center());
}

void ensureOnScreen(QRect& rect)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    ensureOnScreen(rect, availableScreenGeometries(),
                   int(screens.indexOf(QGuiApplication::primaryScreen())));
}

void centreOnScreen(QRect& rect, const QRect& availableGeometry)
{
    if (rect.width() > availableGeometry.width())
        rect.setWidth(availableGeometry.width());
    if (rect.height() > availableGeometry.height())
        rect.setHeight(availableGeometry.height());
    rect.moveCenter(availableGeometry.center());
}

void centreOnScreen(QRect& rect, QWidget* widget)
{
    const QScreen* screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    if (screen)
        centreOnScreen(rect, screen->availableGeometry());
}

void blockSignalsRecursively(QObject* object, bool block)
{
    if (!object)
        return;
    object->blockSignals(block);
    for (QObject* child : object->children())
        blockSignalsRecursively(child, block);
}

QString formatMilliseconds(unsigned int ms, int decimals, bool compact)
{
    const unsigned int hours = ms / 3600000, minutes = (ms / 60000) % 60,
                       seconds = (ms / 1000) % 60, fraction = ms % 1000;
    QString text;
    const bool writeHours = hours >= 1 || !compact;
    if (writeHours)
        text += QString::number(hours).rightJustified(compact ? 1 : 2, QLatin1Char('0')) + ':';
    const bool writeMinutes = !(compact && hours == 0 && minutes == 0);
    if (writeMinutes) {
        const bool pad = !compact || writeHours;
        text += QString::number(minutes).rightJustified(pad ? 2 : 1, QLatin1Char('0')) + ':';
    }
    const bool padSeconds = !compact || writeHours || writeMinutes;
    text += QString::number(seconds).rightJustified(padSeconds ? 2 : 1, QLatin1Char('0'));
    if (decimals >= 1 && decimals <= 3)
        text += '.' + QString::number(fraction).rightJustified(3, QLatin1Char('0')).left(decimals);
    return text;
}

void moveCursor(const QPoint& globalPosition)
{
    if (cursorMover())
        cursorMover()(globalPosition);
    else
        QCursor::setPos(globalPosition);
}

CursorMover setCursorMover(CursorMover mover)
{
    return std::exchange(cursorMover(), std::move(mover));
}
