#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

class SyncPropertyAnimation;

namespace VelmoraQML {

// A property of a target that rises and falls between two values in step with every other
// synchronised animation of the same period; at rest it holds the off value.
class QMLSyncAnimation : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString propertyName READ propertyName WRITE setPropertyName)
    Q_PROPERTY(QObject* target READ target WRITE setTarget)
    Q_PROPERTY(int period READ period WRITE setPeriod)
    Q_PROPERTY(bool running READ isRunning WRITE setRunning)
    Q_PROPERTY(QVariant startValue READ startValue WRITE setStartValue)
    Q_PROPERTY(QVariant endValue READ endValue WRITE setEndValue)
    Q_PROPERTY(QVariant offValue READ offValue WRITE setOffValue)

public:
    explicit QMLSyncAnimation(QObject* parent = nullptr);

    QString propertyName() const;
    void setPropertyName(const QString& name);
    QObject* target() const;
    void setTarget(QObject* target);
    // Milliseconds; a running animation moves to the timeline of the new period.
    int period() const;
    void setPeriod(int period);
    bool isRunning() const;
    // Stopping puts the off value on the target.
    void setRunning(bool running);
    QVariant startValue() const;
    void setStartValue(const QVariant& value);
    QVariant endValue() const;
    void setEndValue(const QVariant& value);
    QVariant offValue() const;
    // Put on the target at once while not running.
    void setOffValue(const QVariant& value);

    SyncPropertyAnimation* animation() const { return m_animation; }

private:
    SyncPropertyAnimation* m_animation;
};

} // namespace VelmoraQML
