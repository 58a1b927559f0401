#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <map>
#include <vector>

namespace VelmoraQML {

class QMLConfiguration;
class QMLControl;
class QMLPage;
class QMLPageSwitcher;

// The context object "controller": the registries of the live items and the path by which
// control events and button functions leave the items. Page navigation, the back history and
// the lock page build on these registries.
class QMLController : public QObject
{
    Q_OBJECT

public:
    // Functions of a host that drives a panel from outside; each may be null (the editor
    // gives none).
    struct Callbacks
    {
        void (*controlEvent)(const QString& controlKey, int event, const QVariant& value) = nullptr;
        void (*pageChanged)(const QString& pageName, bool shown) = nullptr;
        void (*trigger)(int triggerNumber, QVariantList args) = nullptr;
        void (*brightness)(int mode, int value) = nullptr;
    };

    QMLController(const Callbacks& callbacks, QObject* parent = nullptr);

    const Callbacks& callbacks() const { return m_callbacks; }
    bool isEnabled() const { return m_enabled; }

    // Attaches a configuration item (or none) and forgets every registered page, page
    // switcher and control.
    void setConfiguration(QMLConfiguration* configuration);
    QMLConfiguration* configuration() const { return m_configuration; }

    // Controls by control key, in registration order.
    void addControl(QMLControl* control);
    void removeControl(QMLControl* control);
    std::vector<QMLControl*> controlsWithKey(const QString& controlKey) const;

    bool hasPage(const QObject* page) const;
    bool hasPageSwitcher(const QObject* pageSwitcher) const;

    // A control event of a live item, on its way to the host.
    void handleControlEvent(const QString& controlKey, int event, const QVariant& value);
    // Performs the function of the button with that control id.
    void triggerButtonFunction(unsigned int controlId);

    Q_INVOKABLE void addPage(QObject* page);
    Q_INVOKABLE void removePage(QObject* page);
    Q_INVOKABLE void addPageSwitcher(QObject* pageSwitcher);
    Q_INVOKABLE void removePageSwitcher(QObject* pageSwitcher);

public slots:
    void setEnabled(bool enable) { m_enabled = enable; }

private:
    Callbacks m_callbacks;
    QMLConfiguration* m_configuration = nullptr;
    std::vector<QMLPage*> m_pages;
    std::map<int, QMLPageSwitcher*> m_pageSwitchers;
    std::map<QString, std::vector<QMLControl*>> m_controls;
    bool m_enabled = true;
};

} // namespace VelmoraQML
