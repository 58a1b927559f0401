#pragma once

#include <QQuickItem>

namespace VelmoraQML {

// Base of every live item that shows one object of the project: it carries the object's id.
class QMLConfigObject : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(int configId READ configId WRITE setConfigId)

public:
    // How a page or page switcher comes on or goes off screen (the numbers of
    // Velmora::PageTransition).
    enum Transition
    {
        SnapTransition = 0,
        PanLeftTransition = 1,
        PanRightTransition = 2
    };
    Q_ENUM(Transition)

    explicit QMLConfigObject(QQuickItem* parent = nullptr);

    // Page id, page-switcher id or control id; -1 marks the lock page.
    int configId() const { return m_configId; }
    virtual void setConfigId(int configId);

private:
    int m_configId = 0;
};

} // namespace VelmoraQML
