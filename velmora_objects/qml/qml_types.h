#pragma once

#include <QObject>

namespace VelmoraQML {

// Declares the enumerations that QML reads as "Types.…"; never instantiated from QML.
class QMLTypes : public QObject
{
    Q_OBJECT

public:
    enum TextStyle
    {
        TextStyle_NORMAL = 0,
        TextStyle_OUTLINE = 1,
        TextStyle_RAISED = 2,
        TextStyle_SUNKEN = 3
    };
    Q_ENUM(TextStyle)

    using QObject::QObject;
};

} // namespace VelmoraQML
