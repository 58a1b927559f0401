#include "main/software_version.h"

#include <QRegularExpression>
#include <tuple>

namespace {

// The low eight bits of a run of decimal digits, however long it is.
std::uint8_t lowByte(const QString& digits)
{
    unsigned int value = 0;
    for (const QChar digit : digits)
        value = (value * 10 + unsigned(digit.digitValue())) & 0xFFu;
    return std::uint8_t(value);
}

auto orderKey(const SoftwareVersion& v)
{
    // Final (kind 0) is the newest of its major.minor.patch, debug (kind 3) the oldest.
    return std::make_tuple(v.major, v.minor, v.patch, 3 - int(v.kind()), v.stageNumber());
}

} // namespace

SoftwareVersion SoftwareVersion::fromString(const QString& text)
{
    // ASCII digits only: \d would also take digits of other scripts.
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("([0-9]+)\\.([0-9]+)(?:\\.([0-9]+))?(?: (RC|BETA|DEBUG)([0-9]+))?")));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return SoftwareVersion();

    SoftwareVersion version;
    version.major = lowByte(match.captured(1));
    version.minor = lowByte(match.captured(2));
    version.patch = lowByte(match.captured(3));
    const QString kind = match.captured(4);
    if (kind.isEmpty())
        return version;

    // The number has six bits beside the kind; a larger one would turn into another kind.
    bool valid = false;
    const unsigned int number = match.captured(5).toUInt(&valid);
    if (!valid || number > 63)
        return SoftwareVersion();
    const unsigned int kindBits = kind == QLatin1String("RC")     ? 64u
                                  : kind == QLatin1String("BETA") ? 128u
                                                                  : 192u;
    version.stage = std::uint8_t(kindBits | number);
    return version;
}

QString SoftwareVersion::toString() const
{
    QString text = QStringLiteral("%1.%2").arg(major).arg(minor);
    if (patch != 0)
        text += QStringLiteral(".%1").arg(patch);
    static const char* const kindNames[] = {"", " RC", " BETA", " DEBUG"};
    if (kind() != Final)
        text += QLatin1String(kindNames[kind()]) + QString::number(stageNumber());
    return text;
}

bool SoftwareVersion::operator==(const SoftwareVersion& other) const
{
    return major == other.major && minor == other.minor && patch == other.patch &&
           stage == other.stage;
}

bool SoftwareVersion::operator<(const SoftwareVersion& other) const
{
    return orderKey(*this) < orderKey(other);
}
