#include "velmora_objects/skin_property.h"

#include "velmora_objects/streamer.h"

#include <cstring>

namespace Velmora {

namespace {

// The block name of a plain property class: its tags are the name followed by "_start" and
// "_end" ("BoolSkinProperty_start", "BoolSkinProperty_end" and so on).
const char* blockName(SkinPropertyType type)
{
    static const char* const names[] = {"BoolSkinProperty", "StringSkinProperty",
                                        "ColourSkinProperty", "ImageSkinProperty"};
    return names[type - SkinPropertyType_BOOL];
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
        return new IntSkinProperty;
    case SkinPropertyType_DOUBLE:
        return new DoubleSkinProperty;
    case SkinPropertyType_BOOL:
        return new BoolSkinProperty;
    case SkinPropertyType_STRING:
        return new StringSkinProperty;
    case SkinPropertyType_COLOUR:
        return new ColourSkinProperty;
    case SkinPropertyType_IMAGE:
        return new ImageSkinProperty;
    }
    return nullptr;
}

void SkinProperty::read(Streamer& stream)
{
    stream.expectTag("SkinProperty_start");
    stream.stream().readRepeated(key).readRepeated(caption);
    value = stream.readVariant();
    stream.expectTag("SkinProperty_end");
}

void SkinProperty::write(Streamer& stream) const
{
    stream.writeTag("SkinProperty_start");
    {
        DataStream::Fields out(stream.stream(), DataStream::textBytes(key) +
                                                    DataStream::textBytes(caption) +
                                                    Streamer::variantBytes(value));
        out << key << caption;
        Streamer::writeVariant(out, value);
    }
    stream.writeTag("SkinProperty_end");
}

qsizetype SkinProperty::baseBlockBytes() const
{
    return qsizetype(sizeof "SkinProperty_start" - 1 + sizeof "SkinProperty_end" - 1) +
           DataStream::textBytes(key) + DataStream::textBytes(caption) +
           Streamer::variantBytes(value);
}

void SkinProperty::writeBaseBlock(DataStream::Fields& out) const
{
    out.tag("SkinProperty_start") << key << caption;
    Streamer::writeVariant(out, value);
    out.tag("SkinProperty_end");
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
    DataStream& s = stream.stream();
    qint32 number = 0;
    s.readRepeated(unit);
    s >> number;
    minimum = number;
    s >> number;
    maximum = number;
    s.readRepeated(specialValueText);
    stream.expectTag("IntSkinProperty_end");
}

void IntSkinProperty::write(Streamer& stream) const
{
    constexpr qsizetype TagBytes =
        sizeof "IntSkinProperty_start" - 1 + sizeof "IntSkinProperty_end" - 1;
    {
        DataStream::Fields out(stream.stream(), TagBytes + baseBlockBytes() +
                                                    DataStream::textBytes(unit) + 4 + 4 +
                                                    DataStream::textBytes(specialValueText));
        out.tag("IntSkinProperty_start");
        writeBaseBlock(out);
        out << unit << qint32(minimum) << qint32(maximum) << specialValueText;
        out.tag("IntSkinProperty_end");
    }
    stream.blockWritten();
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
    DataStream& s = stream.stream();
    s.readRepeated(unit);
    s >> minimum;
    s >> maximum;
    s >> step;
    stream.expectTag("DoubleSkinProperty_end");
}

void DoubleSkinProperty::write(Streamer& stream) const
{
    constexpr qsizetype TagBytes =
        sizeof "DoubleSkinProperty_start" - 1 + sizeof "DoubleSkinProperty_end" - 1;
    {
        DataStream::Fields out(stream.stream(),
                               TagBytes + baseBlockBytes() + DataStream::textBytes(unit) + 3 * 8);
        out.tag("DoubleSkinProperty_start");
        writeBaseBlock(out);
        out << unit << minimum << maximum << step;
        out.tag("DoubleSkinProperty_end");
    }
    stream.blockWritten();
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

template <SkinPropertyType Type> void PlainSkinProperty<Type>::read(Streamer& stream)
{
    stream.expectTag(blockName(Type), "_start");
    SkinProperty::read(stream);
    stream.expectTag(blockName(Type), "_end");
}

template <SkinPropertyType Type> void PlainSkinProperty<Type>::write(Streamer& stream) const
{
    const char* const name = blockName(Type);
    const qsizetype nameBytes = qsizetype(std::strlen(name));
    {
        DataStream::Fields out(stream.stream(), 2 * nameBytes + qsizetype(sizeof "_start" - 1) +
                                                    qsizetype(sizeof "_end" - 1) +
                                                    baseBlockBytes());
        out.tag(name, nameBytes).tag("_start");
        writeBaseBlock(out);
        out.tag(name, nameBytes).tag("_end");
    }
    stream.blockWritten();
}

template class PlainSkinProperty<SkinPropertyType_BOOL>;
template class PlainSkinProperty<SkinPropertyType_STRING>;
template class PlainSkinProperty<SkinPropertyType_COLOUR>;
template class PlainSkinProperty<SkinPropertyType_IMAGE>;

} // namespace Velmora
