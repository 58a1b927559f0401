#include "velmora_objects/qml/qml_themed_object.h"

namespace VelmoraQML {

QMLThemedObject::QMLThemedObject(QQuickItem* parent) : QMLConfigObject(parent) {}

void QMLThemedObject::setCurrentSkin(QMLSkin* skin)
{
    m_currentSkin = skin;
    emit currentSkinChanged();
}

void QMLThemedObject::setSkin(const QString& skinName, bool ignoreTransition)
{
    if (!m_skinChanger || !m_theme)
        return;
    const QMLSkinSet* set = m_theme->skinSet(m_itemType);
    if (!set)
        return;

    QMLSkin* skin = nullptr;
    if (skinName.isEmpty()) {
        skin = set->defaultSkin();
    } else {
        for (QMLSkin* candidate : set->skins()) {
            if (candidate && candidate->name() == skinName) {
                skin = candidate;
                break;
            }
        }
    }
    if (skin)
        m_skinChanger->changeSkin(skin, ignoreTransition);
}

void QMLThemedObject::setSkin(const QString& skinName)
{
    setSkin(skinName, false);
}

} // namespace VelmoraQML
