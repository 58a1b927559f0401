#include "velmora_objects/skin_property.h"

#include "velmora_objects/streamer.h"

namespace Velmora {

namespace {

// The block of a property class that adds no members: its tags around the base block.
void writeWrapped(const SkinProperty& property, Streamer& stream, const char* start,
                  const char* end)
{
    stream.writeTag(start);
    property.SkinProperty::write(stream);
    stream.writeTag(end);
}

void readWrapped(SkinProperty& property, Streamer& stream, const char* start, const char* end)
{
    stream.expectTag(start);
    property.SkinProperty::read(stream);
    stream.expectTag(end);
}

} // namespace

SkinProperty::SkinProperty(const QString& key, const QString& caption, const QVariant& value)
    : key(key), caption(caption), value(value)
{
}

SkinProperty::~SkinProperty() = default;

SkinProperty* SkinProperty::create(SkinPropertyType type)
{
    switch (type) {
    case SkinPropertyType_INT:
        return new IntSkinProperty(QString(), QString(), QVariant(), QString(), 0, 99, QString());
    case SkinPropertyType_DOUBLE:
        return new DoubleSkinProperty(QString(), QString(), QVariant(), QString(), 0.0, 99.0, 1.0);
    case SkinPropertyType_BOOL:
        return new BoolSkinProperty(QString(), QString(), QVariant());
    case SkinPropertyType_STRING:
        return new StringSkinProperty(QString(), QString(), QVariant());
    case SkinPropertyType_COLOUR:
        return new ColourSkinProperty(QString(), QString(), QVariant());
    case SkinPropertyType_IMAGE:
        return new ImageSkinProperty(QString(), QString(), QVariant());
    }
    return nullptr;
}

void SkinProperty::read(Streamer& stream)
{
    stream.expectTag("SkinProperty_start");
    stream.stream() >> key;
    stream.checkStatus();
    stream.stream() >> caption;
    stream.checkStatus();
    value = stream.readVariant();
    stream.expectTag("SkinProperty_end");
}

void SkinProperty::write(Streamer& stream) const
{
    stream.writeTag("SkinProperty_start");
    stream.stream() << key << caption;
    stream.writeVariant(value);
    stream.writeTag("SkinProperty_end");
}

void SkinProperty::copyFrom(const SkinProperty& other)
{
    key = other.key;
    caption = other.caption;
    value = other.value;
}

IntSkinProperty::IntSkinProperty(const QString& key, const QString& caption, const QVariant& value,
                                 const QString& unit, int minimum, int maximum,
                                 const QString& specialValueText)
    : SkinProperty(key, caption, value), unit(unit), minimum(minimum), maximum(maximum),
      specialValueText(specialValueText)
{
}

void IntSkinProperty::read(Streamer& stream)
{
    stream.expectTag("IntSkinProperty_start");
    SkinProperty::read(stream);
    QDataStream& s = stream.stream();
    qint32 number = 0;
    s >> unit;
    stream.checkStatus();
    s >> number;
    stream.checkStatus();
    minimum = number;
    s >> number;
    stream.checkStatus();
    maximum = number;
    s >> specialValueText;
    stream.checkStatus();
    stream.expectTag("IntSkinProperty_end");
}

void IntSkinProperty::write(Streamer& stream) const
{
    stream.writeTag("IntSkinProperty_start");
    SkinProperty::write(stream);
    stream.stream() << unit << qint32(minimum) << qint32(maximum) << specialValueText;
    stream.writeTag("IntSkinProperty_end");
}

void IntSkinProperty::copyFrom(const SkinProperty& other)
{
    SkinProperty::copyFrom(other);
    if (const auto* same = dynamic_cast<const IntSkinProperty*>(&other)) {
        unit = same->unit;
        minimum = same->minimum;
        maximum = same->maximum;
        specialValueText = same->specialValueText;
    }
}

DoubleSkinProperty::DoubleSkinProperty(const QString& key, const QString& caption,
                                       const QVariant& value, const QString& unit, double minimum,
                                       double maximum, double step)
    : SkinProperty(key, caption, value), unit(unit), minimum(minimum), maximum(maximum), step(step)
{
}

void DoubleSkinProperty::read(Streamer& stream)
{
    stream.expectTag("DoubleSkinProperty_start");
    SkinProperty::read(stream);
    QDataStream& s = stream.stream();
    s >> unit;
    stream.checkStatus();
    s >> minimum;
    stream.checkStatus();
    s >> maximum;
    stream.checkStatus();
    s >> step;
    stream.checkStatus();
    stream.expectTag("DoubleSkinProperty_end");
}

void DoubleSkinProperty::write(Streamer& stream) const
{
    stream.writeTag("DoubleSkinProperty_start");
    SkinProperty::write(stream);
    stream.stream() << unit << minimum << maximum << step;
    stream.writeTag("DoubleSkinProperty_end");
}

void DoubleSkinProperty::copyFrom(const SkinProperty& other)
{
    SkinProperty::copyFrom(other);
    if (const auto* same = dynamic_cast<const DoubleSkinProperty*>(&other)) {
        unit = same->unit;
        minimum = same->minimum;
        maximum = same->maximum;
        step = same->step;
    }
}

void BoolSkinProperty::read(Streamer& stream)
{
    readWrapped(*this, stream, "BoolSkinProperty_start", "BoolSkinProperty_end");
}

void BoolSkinProperty::write(Streamer& stream) const
{
    writeWrapped(*this, stream, "BoolSkinProperty_start", "BoolSkinProperty_end");
}

void StringSkinProperty::read(Streamer& stream)
{
    readWrapped(*this, stream, "StringSkinProperty_start", "StringSkinProperty_end");
}

void StringSkinProperty::write(Streamer& stream) const
{
    writeWrapped(*this, stream, "StringSkinProperty_start", "StringSkinProperty_end");
}

void ColourSkinProperty::read(Streamer& stream)
{
    readWrapped(*this, stream, "ColourSkinProperty_start", "ColourSkinProperty_end");
}

void ColourSkinProperty::write(Streamer& stream) const
{
    writeWrapped(*this, stream, "ColourSkinProperty_start", "ColourSkinProperty_end");
}

void ImageSkinProperty::read(Streamer& stream)
{
    readWrapped(*this, stream, "ImageSkinProperty_start", "ImageSkinProperty_end");
}

void ImageSkinProperty::write(Streamer& stream) const
{
    writeWrapped(*this, stream, "ImageSkinProperty_start", "ImageSkinProperty_end");
}

} // namespace Velmora
