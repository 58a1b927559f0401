#pragma once

#include <QGradientStops>
#include <QList>
#include <QMetaType>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QVariant>
#include <map>

namespace Velmora {
class Configuration;
}

namespace VelmoraQML {

// Writes QML source text into its own string, one statement per call: the import header, ids,
// typed property assignments, property declarations, gradients, states, transitions and
// aliases. The text has no indentation and every statement ends with a newline, so the
// documents the preview compiles are exact and can be compared byte for byte.
//
// Quoted strings escape backslash and double quote only; nothing is validated here (a bad
// name or expression is reported by the QML compiler).
class QMLStreamer : public QTextStream
{
public:
    // The changes of one state: per target, in target order, (property, value) pairs.
    using StateChanges = std::map<QString, QList<QPair<QString, QString>>>;
    // The animations of one transition: per target, in target order, the animated properties.
    using TransitionAnimations = std::map<QString, QStringList>;

    // Starts the document with the import header. The configuration (may be null) gives the
    // serial number of theme image addresses and is what a renderer on this streamer renders.
    explicit QMLStreamer(const Velmora::Configuration* configuration);
    ~QMLStreamer() override;

    QMLStreamer(const QMLStreamer&) = delete;
    QMLStreamer& operator=(const QMLStreamer&) = delete;

    // The document written so far; every write appends to it at once.
    const QString& text() const { return m_text; }
    const Velmora::Configuration* configuration() const { return m_configuration; }

    // Set by the caller before rendering when the items are to be edited live: pages then
    // always carry their background gradient and image under fixed object names.
    bool editable = false;

    void writeId(const QString& id);
    void writeProperty(const QString& name, bool value);
    void writeProperty(const QString& name, int value);
    void writeProperty(const QString& name, double value);
    // Quoted: the value is escaped and put in double quotes. Not quoted: the value is written
    // verbatim as a QML expression ("screen.size.width", "Image.Stretch").
    void writeProperty(const QString& name, const QString& value, bool quoted);
    void writeProperty(const QString& name, const char* value, bool quoted);
    // "name:" followed by the Gradient object of the stops; the object's closing line ends
    // the statement.
    void writeProperty(const QString& name, const QGradientStops& stops);
    // A Gradient object with one GradientStop per stop, in stored order.
    void writeGradient(const QGradientStops& stops);
    // "property <qml type> <name>" with the initial value, or without one when the value is
    // invalid. The type is one of Bool, Int, Double, QString, QColor or QImage (an image is
    // a theme skin-image id and becomes its image address); any other type is fatal.
    void writePropertyDefinition(const QString& name, QMetaType::Type type, const QVariant& value,
                                 bool quoteStrings);

    // States and transitions: the caller writes the list's name before begin and the object
    // around the list; endList closes either list.
    void beginStates();
    void writeState(const QString& name, const StateChanges& changes);
    void beginTransitions();
    void writeTransition(const QString& from, const QString& to,
                         const TransitionAnimations& animations, int duration,
                         const QString& easingType);
    void endList();
    void writePropertyAlias(const QString& target, const QString& name);

    // The value with every backslash doubled, then every double quote preceded by a
    // backslash.
    static QString escaped(const QString& value);

private:
    unsigned int serial() const;

    QString m_text;
    const Velmora::Configuration* m_configuration = nullptr;
    int m_stateCount = 0;
    int m_transitionCount = 0;
};

} // namespace VelmoraQML
