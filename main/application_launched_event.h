#pragma once

#include <QEvent>
#include <QString>

// Posted by main to the application object once the event loop runs; carries the project file
// named on the command line, or a null string when there is none.
class ApplicationLaunchedEvent : public QEvent
{
public:
    static constexpr QEvent::Type eventType = QEvent::Type(1000);

    explicit ApplicationLaunchedEvent(const QString& path) : QEvent(eventType), path(path) {}

    QString path;
};
