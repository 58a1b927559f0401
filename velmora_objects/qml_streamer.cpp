#include "velmora_objects/qml_streamer.h"

#include "core/assertion.h"
#include "velmora_objects/configuration.h"

#include <QColor>
#include <QIODevice>

namespace VelmoraQML {

QMLStreamer::QMLStreamer(const Velmora::Configuration* configuration)
    : m_configuration(configuration)
{
    setString(&m_text, QIODevice::ReadWrite);
    // QtQuick 2 replaces the declarative module of the panel's own toolkit; the rest of the
    // document is the same.
    *this << "import QtQuick 2.0\n"
          << "import Velmora 1.0\n"
          << "import \"qrc:/qml\"\n";
}

QMLStreamer::~QMLStreamer() = default;

unsigned int QMLStreamer::serial() const
{
    const Velmora::Configuration* configuration = m_configuration;
    VELMORA_ASSERT(configuration);
    return unsigned(configuration->getSerial());
}

QString QMLStreamer::escaped(const QString& value)
{
    QString result = value;
    result.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    result.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return result;
}

void QMLStreamer::writeId(const QString& id)
{
    *this << "id:" << id << ";\n";
}

void QMLStreamer::writeProperty(const QString& name, bool value)
{
    *this << name << ':' << (value ? "true" : "false") << ";\n";
}

void QMLStreamer::writeProperty(const QString& name, int value)
{
    *this << name << ':' << value << ";\n";
}

void QMLStreamer::writeProperty(const QString& name, double value)
{
    *this << name << ':' << value << ";\n";
}

void QMLStreamer::writeProperty(const QString& name, const QString& value, bool quoted)
{
    if (quoted)
        *this << name << ":\"" << escaped(value) << "\";\n";
    else
        *this << name << ':' << value << ";\n";
}

void QMLStreamer::writeProperty(const QString& name, const char* value, bool quoted)
{
    writeProperty(name, QString::fromLatin1(value), quoted);
}

void QMLStreamer::writeProperty(const QString& name, const QGradientStops& stops)
{
    *this << name << ':';
    writeGradient(stops);
}

void QMLStreamer::writeGradient(const QGradientStops& stops)
{
    *this << "Gradient{\n";
    for (const QGradientStop& stop : stops) {
        *this << "GradientStop{position:" << QString::number(stop.first, 'g', 6) << ";color:\""
              << escaped(stop.second.name()) << "\"}\n";
    }
    *this << "}\n";
}

void QMLStreamer::writePropertyDefinition(const QString& name, QMetaType::Type type,
                                          const QVariant& value, bool quoteStrings)
{
    const char* typeName = nullptr;
    switch (type) {
    case QMetaType::Bool:
        typeName = "bool";
        break;
    case QMetaType::Int:
        typeName = "int";
        break;
    case QMetaType::Double:
        typeName = "real";
        break;
    case QMetaType::QString:
    case QMetaType::QImage:
        typeName = "string";
        break;
    case QMetaType::QColor:
        typeName = "color";
        break;
    default:
        VELMORA_UNREACHABLE(
            "Unrecognised property type passed to QMLStreamer::writePropertyDefinition");
    }

    *this << "property " << typeName << ' ' << name;
    if (!value.isValid()) {
        *this << ";\n";
        return;
    }
    switch (type) {
    case QMetaType::Bool:
        *this << ':' << (value.toBool() ? "true" : "false") << ";\n";
        break;
    case QMetaType::Int:
        *this << ':' << value.toInt() << ";\n";
        break;
    case QMetaType::Double:
        *this << ':' << value.toDouble() << ";\n";
        break;
    case QMetaType::QString:
        if (quoteStrings)
            *this << ":\"" << escaped(value.toString()) << "\";\n";
        else
            *this << ':' << value.toString() << ";\n";
        break;
    case QMetaType::QColor:
        *this << ":\"" << escaped(value.value<QColor>().name()) << "\";\n";
        break;
    default: { // QMetaType::QImage
        // A skin image is held as its id in the theme's skin-image store; a default from a
        // skin-property table is a resource address and passes through as it is.
        bool isId = false;
        const unsigned int imageId = value.toUInt(&isId);
        const QString source =
            isId ? QStringLiteral("image://theme%1/skinImage%2").arg(serial()).arg(imageId)
                 : value.toString();
        *this << ":\"" << source << "\";\n";
        break;
    }
    }
}

void QMLStreamer::beginStates()
{
    m_stateCount = 0;
    *this << "states: [\n";
}

void QMLStreamer::writeState(const QString& name, const StateChanges& changes)
{
    if (m_stateCount > 0)
        *this << ",\n";
    *this << "State {\n";
    writeProperty(QStringLiteral("name"), name, true);
    for (const auto& [target, properties] : changes) {
        *this << "PropertyChanges { target: " << target << "; ";
        for (const auto& [property, value] : properties)
            *this << property << ": " << value << "; ";
        *this << "}\n";
    }
    *this << "}\n";
    ++m_stateCount;
}

void QMLStreamer::beginTransitions()
{
    m_transitionCount = 0;
    *this << "transitions: [\n";
}

void QMLStreamer::writeTransition(const QString& from, const QString& to,
                                  const TransitionAnimations& animations, int duration,
                                  const QString& easingType)
{
    if (m_transitionCount > 0)
        *this << ",\n";
    *this << "Transition {\n";
    writeProperty(QStringLiteral("from"), from, true);
    writeProperty(QStringLiteral("to"), to, true);
    for (const auto& [target, properties] : animations) {
        *this << "PropertyAnimation {\n";
        writeProperty(QStringLiteral("target"), target, true);
        *this << "\nproperties: \"" << properties.join(QLatin1String(", ")) << "\";\n";
        writeProperty(QStringLiteral("duration"), duration);
        if (!easingType.isEmpty())
            writeProperty(QStringLiteral("easing.type"), easingType, true);
        *this << "}\n";
    }
    *this << "}\n";
    ++m_transitionCount;
}

void QMLStreamer::endList()
{
    *this << "]\n";
}

void QMLStreamer::writePropertyAlias(const QString& target, const QString& name)
{
    *this << "property alias " << name << ": " << target << ";\n";
}

} // namespace VelmoraQML
