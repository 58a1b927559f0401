#include "velmora_objects/qml/qml_themed_object.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>

namespace VelmoraQML {

QMLThemedObject::QMLThemedObject(QQuickItem* parent) : QMLConfigObject(parent) {}

void QMLThemedObject::setCurrentSkin(QMLSkin* skin)
{
    m_currentSkin = skin;
    emit currentSkinChanged();
}

QMLSkinChanger* QMLThemedObject::skinChanger()
{
    if (m_skinChanger || !m_skinChangerComponent)
        return m_skinChanger;
    // In the context the component was written in, so that it reaches the item by its id.
    QObject* made = m_skinChangerComponent->create(m_skinChangerComponent->creationContext());
    m_skinChanger = qobject_cast<QMLSkinChanger*>(made);
    if (!m_skinChanger) {
        delete made;
        return nullptr;
    }
    QQmlEngine::setObjectOwnership(m_skinChanger, QQmlEngine::CppOwnership);
    m_skinChanger->setParent(this);
    return m_skinChanger;
}

void QMLThemedObject::setSkin(const QString& skinName, bool ignoreTransition)
{
    if (!m_theme || (!m_skinChanger && !m_skinChangerComponent))
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
    if (!skin)
        return;
    // The current skin still shows the skin it was written as.
    if (!m_skinChanged && m_currentSkin && !skin->name().isEmpty() &&
        m_currentSkin->name() == skin->name())
        return;
    if (QMLSkinChanger* changer = skinChanger()) {
        m_skinChanged = true;
        changer->changeSkin(skin, ignoreTransition);
    }
}

void QMLThemedObject::setSkin(const QString& skinName)
{
    setSkin(skinName, false);
}

} // namespace VelmoraQML
