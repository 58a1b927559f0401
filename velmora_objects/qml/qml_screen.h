#pragma once

#include <QObject>
#include <QSize>

namespace VelmoraQML {

// The context object "screen": the panel's screen size, by which the components size pages
// and their pan animations.
class QMLScreen : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QSize size READ size WRITE setSize NOTIFY sizeChanged)

public:
    explicit QMLScreen(QObject* parent = nullptr);

    QSize size() const { return m_size; }
    // Stores and always emits sizeChanged.
    void setSize(const QSize& size);

signals:
    void sizeChanged(const QSize& size);

private:
    QSize m_size;
};

} // namespace VelmoraQML
