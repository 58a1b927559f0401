#pragma once

#include "velmora_objects/qml/qml_themed_object.h"

#include <QString>
#include <climits>

namespace VelmoraQML {

// A page item. It starts invisible; the controller shows and hides it through its signals,
// the preview scene by its visibility.
class QMLPage : public QMLThemedObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName)
    Q_PROPERTY(int sortValue READ sortValue WRITE setSortValue)
    Q_PROPERTY(int pageSwitcherId READ pageSwitcherId WRITE setPageSwitcherId)

public:
    // The page-switcher id of a page without a page switcher.
    static constexpr int NoPageSwitcher = INT_MAX;

    explicit QMLPage(QQuickItem* parent = nullptr);
    ~QMLPage() override;

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    int sortValue() const { return m_sortValue; }
    void setSortValue(int sortValue) { m_sortValue = sortValue; }
    int pageSwitcherId() const { return m_pageSwitcherId; }
    void setPageSwitcherId(int id) { m_pageSwitcherId = id; }

signals:
    void showPage(int transition, int msecs);
    void hidePage(int transition, int msecs);

private:
    QString m_name;
    int m_sortValue = INT_MAX;
    int m_pageSwitcherId = NoPageSwitcher;
};

} // namespace VelmoraQML
