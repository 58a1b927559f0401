#include "velmora_objects/qml/qml_theme.h"

#include "core/assertion.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/qml_streamer.h"

namespace VelmoraQML {

QMLSkin::QMLSkin(QObject* parent) : QObject(parent) {}

QMLSkinSet::QMLSkinSet(QObject* parent) : QObject(parent) {}

QQmlListProperty<QMLSkin> QMLSkinSet::skinList()
{
    return QQmlListProperty<QMLSkin>(this, &m_skins);
}

QMLSkin* QMLSkinSet::defaultSkin() const
{
    if (m_defaultSkinIdx < 0 || m_defaultSkinIdx >= m_skins.size())
        return nullptr;
    return m_skins.at(m_defaultSkinIdx);
}

QMLTheme::QMLTheme(QQuickItem* parent) : QQuickItem(parent) {}

QQmlListProperty<QMLSkinSet> QMLTheme::skinSetList()
{
    return QQmlListProperty<QMLSkinSet>(this, &m_skinSets);
}

QMLSkinSet* QMLTheme::skinSet(int itemType) const
{
    for (QMLSkinSet* set : m_skinSets) {
        if (set && set->itemType() == itemType)
            return set;
    }
    return nullptr;
}

} // namespace VelmoraQML

namespace VelmoraQML {

QString QMLTheme::themeId(const QMLStreamer& streamer)
{
    const Velmora::Configuration* configuration = streamer.configuration();
    VELMORA_ASSERT(configuration);
    return QStringLiteral("theTheme%1").arg(unsigned(configuration->getSerial()));
}

} // namespace VelmoraQML
