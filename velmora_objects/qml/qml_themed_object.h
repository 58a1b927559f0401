#pragma once

#include "velmora_objects/qml/qml_config_object.h"
#include "velmora_objects/qml/qml_skin_changer.h"
#include "velmora_objects/qml/qml_theme.h"

#include <QPointer>

class QQmlComponent;

namespace VelmoraQML {

// An item that takes its look from a skin of the theme. Its current skin is its own object,
// to which the component binds every skinned value; a change of skin animates that object's
// properties and never replaces it.
//
// The skin changer, with its animation of every skinned property, is needed only when the
// item changes its skin, which most items never do: a component can give the changer as a
// Component instead, made in the item's context on the first change. A current skin that
// carries the name of a skin of the set shows that skin until the first change (the preview's
// text writes the default skin so), so a change to it before any other needs no changer.
class QMLThemedObject : public QMLConfigObject
{
    Q_OBJECT
    Q_PROPERTY(int itemType READ itemType WRITE setItemType)
    Q_PROPERTY(VelmoraQML::QMLSkin* currentSkin READ currentSkin WRITE setCurrentSkin NOTIFY
                   currentSkinChanged)
    Q_PROPERTY(VelmoraQML::QMLSkinChanger* skinChanger READ skinChanger WRITE setSkinChanger)
    Q_PROPERTY(
        QQmlComponent* skinChangerComponent READ skinChangerComponent WRITE setSkinChangerComponent)
    Q_PROPERTY(VelmoraQML::QMLTheme* theme READ theme WRITE setTheme)

public:
    explicit QMLThemedObject(QQuickItem* parent = nullptr);

    // A Velmora::ThemedItemType number; selects the skin set.
    int itemType() const { return m_itemType; }
    void setItemType(int itemType) { m_itemType = itemType; }
    QMLSkin* currentSkin() const { return m_currentSkin; }
    void setCurrentSkin(QMLSkin* skin);
    // Neither is owned. The changer given, else the one made from the component (made now
    // when there is none yet); null when there is neither.
    QMLSkinChanger* skinChanger();
    void setSkinChanger(QMLSkinChanger* changer) { m_skinChanger = changer; }
    QQmlComponent* skinChangerComponent() const { return m_skinChangerComponent; }
    void setSkinChangerComponent(QQmlComponent* component) { m_skinChangerComponent = component; }
    QMLTheme* theme() const { return m_theme; }
    void setTheme(QMLTheme* theme) { m_theme = theme; }

public slots:
    // Changes to the first skin of the item's set with that exact name, or to the set's
    // default skin for an empty name; nothing when there is no such skin.
    void setSkin(const QString& skinName, bool ignoreTransition);
    void setSkin(const QString& skinName);

signals:
    void currentSkinChanged();

private:
    int m_itemType = 0;
    QPointer<QMLSkin> m_currentSkin;
    QPointer<QMLSkinChanger> m_skinChanger;
    QPointer<QQmlComponent> m_skinChangerComponent;
    // A change of skin has been made since the item was made.
    bool m_skinChanged = false;
    QPointer<QMLTheme> m_theme;
};

} // namespace VelmoraQML
