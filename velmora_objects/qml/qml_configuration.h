#pragma once

#include <QQuickItem>

namespace Velmora {
class Configuration;
}

namespace VelmoraQML {

// The root item of a whole-project document. Created, it attaches itself to the controller,
// through which the controller reads the project; destroyed, it detaches itself.
class QMLConfiguration : public QQuickItem
{
    Q_OBJECT

public:
    explicit QMLConfiguration(QQuickItem* parent = nullptr);
    ~QMLConfiguration() override;

    // Not owned.
    const Velmora::Configuration* configuration() const { return m_configuration; }
    void setConfiguration(const Velmora::Configuration* configuration)
    {
        m_configuration = configuration;
    }

private:
    const Velmora::Configuration* m_configuration = nullptr;
};

} // namespace VelmoraQML
