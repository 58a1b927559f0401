#pragma once

#include "core/block_pool.h"
#include "velmora_objects/data_stream.h"
#include "velmora_objects/velmora_types.h"

#include <QString>
#include <QVariant>

namespace Velmora {

class Streamer;

// One named, typed value of a skin: the top colour of a button's gradient, the width of a
// slider's track border, the image of a clock face. The same classes are the rows of the
// per-item-type definition tables, which add a caption for the editor, a default value and,
// for numbers, the unit, bounds and step. The key is the name of the QML property that the
// preview binds it to.
//
// An invalid value means "no value". Nothing checks the value against the type or the bounds:
// the bounds are for the editor only. Holders own their properties through smart_ptr.
class SkinProperty
{
public:
    // A theme holds hundreds of skin properties, made and freed together.
    BLOCK_POOL_ALLOCATED

    SkinProperty(const QString& key, const QString& caption, const QVariant& value);
    virtual ~SkinProperty();

    virtual SkinPropertyType getType() const = 0;

    // The property's block in the project stream: its own tags around the base block. The type
    // number is not part of it; the holder writes that in front. read overwrites every member,
    // caption and bounds included, and raises the stream's std::runtime_error on a broken
    // block, keeping what it had read so far.
    virtual void read(Streamer& stream);
    virtual void write(Streamer& stream) const;

    // Copies key, caption and value; the numeric classes also copy unit and bounds from a
    // property of their own class.
    virtual void copyFrom(const SkinProperty& other);

    // A new property of the type with empty key and caption and no value, or null for a number
    // outside 1..6. The caller owns it.
    static SkinProperty* create(SkinPropertyType type);

    const QString& getKey() const { return key; }
    const QString& getCaption() const { return caption; }
    QVariant getValue() const { return value; }
    void setKey(const QString& newKey) { key = newKey; }
    void setCaption(const QString& newCaption) { caption = newCaption; }
    void setValue(const QVariant& newValue) { value = newValue; }

protected:
    // Empty key and caption and no value: what create() makes for a read to fill.
    SkinProperty() = default;
    SkinProperty(const SkinProperty&) = default;
    // The bytes of the base block, and the block written among the fields of a concrete
    // property's block (which the property's own tags frame).
    qsizetype baseBlockBytes() const;
    void writeBaseBlock(DataStream::Fields& out) const;
    SkinProperty& operator=(const SkinProperty&) = default;

private:
    QString key;
    QString caption;
    QVariant value;
};

// An int; the editor shows unit after the number and specialValueText (when not empty) in
// place of the number at the minimum.
class IntSkinProperty : public SkinProperty
{
public:
    IntSkinProperty(const QString& key, const QString& caption, const QVariant& value,
                    const QString& unit, int minimum, int maximum, const QString& specialValueText);
    // Empty, no unit, bounds 0 to 99.
    IntSkinProperty() = default;

    SkinPropertyType getType() const override { return SkinPropertyType_INT; }
    void read(Streamer& stream) override;
    void write(Streamer& stream) const override;
    void copyFrom(const SkinProperty& other) override;

    const QString& getUnit() const { return unit; }
    int getMinimum() const { return minimum; }
    int getMaximum() const { return maximum; }
    const QString& getSpecialValueText() const { return specialValueText; }

private:
    QString unit;
    int minimum = 0;
    int maximum = 99;
    QString specialValueText;
};

// A double; step is the editor's increment.
class DoubleSkinProperty : public SkinProperty
{
public:
    DoubleSkinProperty(const QString& key, const QString& caption, const QVariant& value,
                       const QString& unit, double minimum, double maximum, double step);
    // Empty, no unit, bounds 0 to 99 in steps of 1.
    DoubleSkinProperty() = default;

    SkinPropertyType getType() const override { return SkinPropertyType_DOUBLE; }
    void read(Streamer& stream) override;
    void write(Streamer& stream) const override;
    void copyFrom(const SkinProperty& other) override;

    const QString& getUnit() const { return unit; }
    double getMinimum() const { return minimum; }
    double getMaximum() const { return maximum; }
    double getStep() const { return step; }

private:
    QString unit;
    double minimum = 0.0;
    double maximum = 99.0;
    double step = 1.0;
};

// A property that adds nothing to the base: its block is the base block inside its own tags
// ("BoolSkinProperty_start" and so on).
template <SkinPropertyType Type> class PlainSkinProperty : public SkinProperty
{
public:
    using SkinProperty::SkinProperty;
    PlainSkinProperty() = default;
    SkinPropertyType getType() const override { return Type; }
    void read(Streamer& stream) override;
    void write(Streamer& stream) const override;
};

using BoolSkinProperty = PlainSkinProperty<SkinPropertyType_BOOL>;
using StringSkinProperty = PlainSkinProperty<SkinPropertyType_STRING>;
// A QColor.
using ColourSkinProperty = PlainSkinProperty<SkinPropertyType_COLOUR>;
// In a theme's skin: the id (unsigned int) of an image in the theme's skin-image store. In a
// definition table: no value, or a QString holding a resource URL.
using ImageSkinProperty = PlainSkinProperty<SkinPropertyType_IMAGE>;

extern template class PlainSkinProperty<SkinPropertyType_BOOL>;
extern template class PlainSkinProperty<SkinPropertyType_STRING>;
extern template class PlainSkinProperty<SkinPropertyType_COLOUR>;
extern template class PlainSkinProperty<SkinPropertyType_IMAGE>;

} // namespace Velmora
