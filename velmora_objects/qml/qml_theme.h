#pragma once

#include <QList>
#include <QObject>
#include <QQmlListProperty>
#include <QQuickItem>
#include <QString>

namespace VelmoraQML {

class QMLStreamer;

// One named visual state of an item type. Besides the three fixed properties every skin
// object carries one dynamic QML property per skin property of its item type, declared by
// the QML text; they are read and animated by name.
class QMLSkin : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName)
    Q_PROPERTY(int transitionDuration READ transitionDuration WRITE setTransitionDuration)
    Q_PROPERTY(int easingType READ easingType WRITE setEasingType)

public:
    explicit QMLSkin(QObject* parent = nullptr);

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    // Milliseconds.
    int transitionDuration() const { return m_transitionDuration; }
    void setTransitionDuration(int duration) { m_transitionDuration = duration; }
    // A QEasingCurve::Type number.
    int easingType() const { return m_easingType; }
    void setEasingType(int type) { m_easingType = type; }

private:
    QString m_name;
    int m_transitionDuration = 0;
    int m_easingType = 0;
};

// All skins of one item type. The list does not own its skins.
class QMLSkinSet : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int itemType READ itemType WRITE setItemType)
    Q_PROPERTY(QQmlListProperty<VelmoraQML::QMLSkin> skins READ skinList)
    Q_PROPERTY(int defaultSkinIdx READ defaultSkinIdx WRITE setDefaultSkinIdx)

public:
    explicit QMLSkinSet(QObject* parent = nullptr);

    // A Velmora::ThemedItemType number.
    int itemType() const { return m_itemType; }
    void setItemType(int itemType) { m_itemType = itemType; }
    int defaultSkinIdx() const { return m_defaultSkinIdx; }
    void setDefaultSkinIdx(int index) { m_defaultSkinIdx = index; }

    QQmlListProperty<QMLSkin> skinList();
    const QList<QMLSkin*>& skins() const { return m_skins; }
    // The skin at that index; null outside the list.
    QMLSkin* skinAt(int index) const { return m_skins.value(index); }
    // The skin at defaultSkinIdx; null when the index is negative or beyond the list.
    QMLSkin* defaultSkin() const;

private:
    int m_itemType = 0;
    int m_defaultSkinIdx = -1;
    QList<QMLSkin*> m_skins;
};

// The theme as the QML text mirrors it: the skin sets of the item types. The list does not
// own its skin sets.
class QMLTheme : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QQmlListProperty<VelmoraQML::QMLSkinSet> skinSets READ skinSetList)

public:
    explicit QMLTheme(QQuickItem* parent = nullptr);

    QQmlListProperty<QMLSkinSet> skinSetList();
    const QList<QMLSkinSet*>& skinSets() const { return m_skinSets; }
    // The first skin set of that item type, or null.
    QMLSkinSet* skinSet(int itemType) const;

    // The QML object id of the theme in a document written by the streamer, "theTheme"
    // followed by the serial number of its configuration, which must be set.
    static QString themeId(const QMLStreamer& streamer);

private:
    QList<QMLSkinSet*> m_skinSets;
};

} // namespace VelmoraQML
