// The reading of the theme XML document of an opened bundle: the full read into a theme, the
// light read of the name and splash pictures for the theme library, and the element readers.

#include "velmora_objects/theme_reader.h"

#include "core/assertion.h"
#include "core/gradient.h"
#include "velmora_objects/easing_curve_names.h"
#include "velmora_objects/image_data.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_property.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/skin_transition.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_library_data.h"
#include "velmora_objects/theme_xml_values.h"

#include <QCoreApplication>
#include <QImage>
#include <QObject>

using namespace Velmora;

namespace {

// The texts of one kind of image element: its name, and the faults of its member.
struct MemberTexts
{
    const char* notFound;
    const char* extractFailed;
};

const MemberTexts SplashTexts = {
    QT_TRANSLATE_NOOP("QObject", "Splash image '%1' not found in theme bundle."),
    QT_TRANSLATE_NOOP("QObject", "Failed to extract splash image '%1' from theme bundle.")};
const MemberTexts SkinImageTexts = {
    QT_TRANSLATE_NOOP("QObject", "Skin image '%1' not found in theme bundle."),
    QT_TRANSLATE_NOOP("QObject", "Failed to extract skin image '%1' from theme bundle.")};

// The image lists of the root: the list element, its child element, the store, and whether
// the children carry an orientation.
struct ImageList
{
    const char* element;
    const char* child;
    MemberTexts texts;
    Theme::ImageStore& (Theme::*store)();
    bool withOrientation;
};

const ImageList PageBackgroundList = {
    "PageBackgroundImages",
    "PageBackgroundImage",
    {QT_TRANSLATE_NOOP("QObject", "Page background image '%1' not found in theme bundle."),
     QT_TRANSLATE_NOOP("QObject", "Failed to extract page background image '%1' from theme "
                                  "bundle.")},
    &Theme::getPageBackgroundImages,
    true};
const ImageList IconList = {
    "Icons",
    "Icon",
    {QT_TRANSLATE_NOOP("QObject", "Icon '%1' not found in theme bundle."),
     QT_TRANSLATE_NOOP("QObject", "Failed to extract icon '%1' from theme bundle.")},
    &Theme::getIcons,
    false};
const ImageList ControlImageList = {
    "ControlImages",
    "ControlImage",
    {QT_TRANSLATE_NOOP("QObject", "Control image '%1' not found in theme bundle."),
     QT_TRANSLATE_NOOP("QObject", "Failed to extract control image '%1' from theme bundle.")},
    &Theme::getControlImages,
    false};

QString tr(const char* text)
{
    return QObject::tr(text);
}

// The orientation an element gives its image: portrait only when its first "Orientation"
// attribute is exactly "Portrait".
Orientation orientationOf(const QXmlStreamAttributes& attributes)
{
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (attribute.name() == QLatin1String("Orientation")) {
            return attribute.value() == QLatin1String("Portrait") ? Orientation_PORTRAIT
                                                                  : Orientation_LANDSCAPE;
        }
    }
    return Orientation_LANDSCAPE;
}

// The item type named by the "ItemType" attributes; 0, with the fault raised, when a value
// names no type or no such attribute is present.
ThemedItemType itemTypeOf(ThemeReader& reader, const char* invalidText, const char* missingText)
{
    ThemedItemType itemType = ThemedItemType(0);
    const QXmlStreamAttributes attributes = reader.attributes();
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (attribute.name() != QLatin1String("ItemType"))
            continue;
        const QString value = attribute.value().toString();
        itemType = themedItemTypeFromName(value);
        if (itemType == 0) {
            reader.raiseError(tr(invalidText).arg(value));
            return itemType;
        }
    }
    if (itemType == 0)
        reader.raiseError(tr(missingText));
    return itemType;
}

// Why a member that the document names holds no bytes: what it is instead.
QString notAFileText(TargzArchive::MemberKind kind)
{
    switch (kind) {
    case TargzArchive::MemberKind::Folder:
        return tr("It is a folder, not a file.");
    case TargzArchive::MemberKind::SymbolicLink:
        return tr("It is a symbolic link, not a file.");
    case TargzArchive::MemberKind::Device:
        return tr("It is a device, not a file.");
    case TargzArchive::MemberKind::Fifo:
        return tr("It is a FIFO (named pipe), not a file.");
    default:
        break;
    }
    return tr("It is not a regular file.");
}

// Checks the member that the document names: true when it is an image member of the bundle
// with bytes held and within the picture size limit; otherwise the fault is raised. Only image
// member names are ever looked up: the document and anything a foreign archive may hold are
// not images of the theme.
bool importMember(ThemeReader& reader, const QString& memberName, const MemberTexts& texts)
{
    // A folder of that name is listed with a "/" after it, as archivers write it.
    const TargzArchive::MemberKind kind = reader.memberKind(memberName);
    if (!ThemeReader::isImageMemberName(memberName) ||
        (!reader.hasMember(memberName) && kind == TargzArchive::MemberKind::File)) {
        reader.raiseError(tr(texts.notFound).arg(memberName));
        return false;
    }
    if (reader.memberData(memberName).isNull()) {
        reader.raiseError(tr(texts.extractFailed).arg(memberName) + QLatin1Char(' ') +
                          notAFileText(kind));
        return false;
    }
    if (!reader.withinImageLimits(memberName)) {
        reader.raiseError(tr("Image '%1' of the theme bundle is larger than %2 by %2 pixels.")
                              .arg(memberName)
                              .arg(ThemeReader::limits().imageSide));
        return false;
    }
    return true;
}

// A new image of the member's bytes.
smart_ptr<ImageData> importImage(ThemeReader& reader, const QString& memberName,
                                 const MemberTexts& texts)
{
    if (!importMember(reader, memberName, texts))
        return smart_ptr<ImageData>();
    return reader.imageOfMember(memberName);
}

void readImageList(ThemeReader& reader, Theme* theme, const ImageList& list)
{
    VELMORA_ASSERT(reader.isStartElement() && reader.name() == QLatin1String(list.element));
    while (reader.readNextStartElement()) {
        if (reader.name() != QLatin1String(list.child)) {
            reader.skipUnknownElement();
            continue;
        }
        const int orientation =
            list.withOrientation ? orientationOf(reader.attributes()) : Orientation_ANY;
        const QString memberName = reader.readElementText();
        if (reader.hasError())
            return;
        smart_ptr<ImageData> image = importImage(reader, memberName, list.texts);
        if (!image)
            return;
        image->setOrientation(orientation);
        // Every element adds an image at the lowest free id, equal bytes or not; a full store
        // leaves the image with the smart pointer, which deletes it.
        (theme->*list.store)().insert(image, Theme::NoImageId);
    }
}

} // namespace

bool ThemeReader::read(const QString& bundlePath, Theme* theme)
{
    try {
        return open(bundlePath) && readOpened(theme);
    } catch (...) {
        dropBundle();
        throw;
    }
}

bool ThemeReader::readOpened(Theme* theme)
{
    if (!openDocument())
        return false;
    // Every root of the theme namespace is read, also one nested inside foreign elements.
    while (!atEnd()) {
        readNext();
        if (isStartElement() && namespaceUri() == VELMORA_THEME_NAMESPACE &&
            name() == VELMORA_THEME_TAG) {
            readVersion();
            if (!hasError())
                readTheme(theme);
        }
    }
    closeDevice();
    // A default skin whose skin did not reach its set (a failed skin, a replaced set) must not
    // stay named: looking it up would be a broken invariant.
    theme->dropStaleDefaultSkins();
    return !hasError();
}

bool ThemeReader::readLibraryData(const QString& bundlePath, ThemeLibraryData& data)
{
    try {
        return readLibraryDataOf(bundlePath, data);
    } catch (...) {
        m_checkingOnly = false;
        dropBundle();
        throw;
    }
}

bool ThemeReader::readLibraryDataOf(const QString& bundlePath, ThemeLibraryData& data)
{
    if (!open(bundlePath))
        return false;
    data.path = bundlePath;
    while (!atEnd()) {
        readNext();
        if (isStartElement() && namespaceUri() == VELMORA_THEME_NAMESPACE &&
            name() == VELMORA_THEME_TAG) {
            readVersion();
            if (!hasError())
                readLibraryTheme(&data);
        }
    }
    closeDevice();
    if (hasError())
        return false;
    // A bundle that is listed can be used: the document is read once more as a project reads
    // it, from the members held, so that every fault the full read finds shows now. Images are
    // looked up and their headers read, never decoded; the theme is thrown away.
    Theme theme{QString()};
    m_checkingOnly = true;
    const bool read = readOpened(&theme);
    m_checkingOnly = false;
    return read;
}

void ThemeReader::readVersion()
{
    const QXmlStreamAttributes attributes = this->attributes();
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (attribute.name() != QLatin1String("version"))
            continue;
        bool ok = false;
        const int value = attribute.value().toInt(&ok, 10);
        if (!ok) {
            raiseError(tr("Invalid value given for theme version attribute."));
            return;
        }
        setVersion(value);
        return;
    }
}

void ThemeReader::skipUnknownElement()
{
    VELMORA_ASSERT(isStartElement());
    // A count of open elements in place of recursion: the nesting of a hostile document may be
    // as deep as its length.
    qint64 depth = 1;
    while (depth > 0 && !atEnd()) {
        switch (readNext()) {
        case StartElement:
            ++depth;
            break;
        case EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
}

void ThemeReader::readTheme(Theme* theme)
{
    VELMORA_ASSERT(isStartElement() && name() == VELMORA_THEME_TAG);
    while (readNextStartElement()) {
        if (name() == QLatin1String("Name")) {
            const QString text = readElementText();
            if (!hasError())
                theme->setName(text);
        } else if (name() == QLatin1String("SplashImage")) {
            const Orientation orientation = orientationOf(attributes());
            const QString memberName = readElementText();
            if (hasError())
                return;
            if (!importMember(*this, memberName, SplashTexts))
                return;
            // A PNG file is kept as it is, and decoded only when shown; a picture of another
            // kind is decoded here, once however often it is named. A picture that does not
            // decode is a null image, not a fault.
            const QByteArray bytes = memberData(memberName);
            if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
                theme->setSplashBytes(orientation, bytes);
            else
                theme->setSplashImage(orientation, pictureOfMember(memberName));
        } else if (name() == QLatin1String("PageBackgroundImages")) {
            readPageBackgroundImages(theme);
        } else if (name() == QLatin1String("Icons")) {
            readIcons(theme);
        } else if (name() == QLatin1String("ControlImages")) {
            readControlImages(theme);
        } else if (name() == QLatin1String("DefaultItemProperties")) {
            readDefaultItemProperties(theme);
        } else if (name() == QLatin1String("SkinSet")) {
            smart_ptr<SkinSet> skinSet(new SkinSet(ThemedItemType(0)));
            readSkinSet(skinSet.get(), theme);
            if (!hasError())
                theme->setSkinSet(skinSet);
        } else {
            skipUnknownElement();
        }
    }
}

void ThemeReader::readLibraryTheme(ThemeLibraryData* data)
{
    VELMORA_ASSERT(isStartElement() && name() == VELMORA_THEME_TAG);
    while (readNextStartElement()) {
        if (name() == QLatin1String("Name")) {
            const QString text = readElementText();
            if (!hasError())
                data->name = text;
        } else if (name() == QLatin1String("SplashImage")) {
            const Orientation orientation = orientationOf(attributes());
            const QString memberName = readElementText();
            if (hasError())
                return;
            if (!importMember(*this, memberName, SplashTexts))
                return;
            // The picture is decoded when the library first shows it; its header is read now.
            if (!pictureSizeOfMember(memberName).isValid()) {
                raiseError(
                    tr("Failed to load splash image '%1' from theme bundle.").arg(memberName));
                return;
            }
            (orientation == Orientation_PORTRAIT ? data->portraitSplash : data->landscapeSplash) =
                m_contents.value(memberName);
        } else {
            skipUnknownElement();
        }
    }
}

void ThemeReader::readPageBackgroundImages(Theme* theme)
{
    readImageList(*this, theme, PageBackgroundList);
}

void ThemeReader::readIcons(Theme* theme)
{
    readImageList(*this, theme, IconList);
}

void ThemeReader::readControlImages(Theme* theme)
{
    readImageList(*this, theme, ControlImageList);
}

void ThemeReader::readDefaultItemProperties(Theme* theme)
{
    VELMORA_ASSERT(isStartElement() && name() == QLatin1String("DefaultItemProperties"));
    const ThemedItemType itemType = itemTypeOf(
        *this,
        QT_TRANSLATE_NOOP("QObject",
                          "ItemType attribute '%1' not valid in DefaultItemProperties element"),
        QT_TRANSLATE_NOOP("QObject",
                          "ItemType attribute not found in DefaultItemProperties element"));
    if (hasError())
        return;
    while (readNextStartElement()) {
        if (name() != QLatin1String("DefaultItemProperty")) {
            skipUnknownElement();
            continue;
        }
        QString propertyName;
        QVariant value;
        readDefaultItemProperty(&propertyName, &value);
        if (!hasError())
            theme->setDefaultItemProperty(itemType, propertyName, value);
    }
}

void ThemeReader::readDefaultItemProperty(QString* propertyName, QVariant* value)
{
    VELMORA_ASSERT(isStartElement() && name() == QLatin1String("DefaultItemProperty"));
    bool hasName = false;
    bool hasValue = false;
    const QXmlStreamAttributes attributes = this->attributes();
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (attribute.name() == QLatin1String("Name")) {
            *propertyName = attribute.value().toString();
            hasName = true;
        } else if (attribute.name() == QLatin1String("Value")) {
            *value = attribute.value().toString();
            hasValue = true;
        }
    }
    if (!hasName) {
        raiseError(tr("Name attribute not found in DefaultItemProperty element"));
        return;
    }
    if (version() == 0 && !hasValue) {
        raiseError(tr("Value attribute not found in DefaultItemProperty element"));
        return;
    }
    // From version 1 a gradient or a text style may stand in for a missing "Value".
    const bool valueFromChildren = version() >= 1 && !hasValue;
    while (readNextStartElement()) {
        if (valueFromChildren && name() == QLatin1String("Gradient")) {
            Gradient gradient;
            readGradient(&gradient);
            if (!hasError())
                *value = QVariant::fromValue(gradient);
        } else if (valueFromChildren && name() == QLatin1String("TextStyle")) {
            TextStyle textStyle = TextStyle_NORMAL;
            readTextStyle(&textStyle);
            if (!hasError())
                *value = QVariant::fromValue(textStyle);
        } else {
            skipUnknownElement();
        }
    }
}

void ThemeReader::readGradient(Gradient* gradient)
{
    VELMORA_ASSERT(isStartElement() && name() == QLatin1String("Gradient"));
    GradientStops stops;
    while (readNextStartElement()) {
        if (name() != QLatin1String("GradientStop")) {
            skipUnknownElement();
            continue;
        }
        bool hasPosition = false;
        bool hasColour = false;
        double position = 0.0;
        QColor colour;
        const QXmlStreamAttributes attributes = this->attributes();
        for (const QXmlStreamAttribute& attribute : attributes) {
            if (attribute.name() == QLatin1String("Position")) {
                bool ok = false;
                position = attribute.value().toDouble(&ok);
                if (!ok) {
                    raiseError(
                        tr("Invalid value given for Position attribute of GradientStop element: %1")
                            .arg(attribute.value().toString()));
                    return;
                }
                hasPosition = true;
            } else if (attribute.name() == QLatin1String("Colour")) {
                colour.setNamedColor(attribute.value());
                if (!colour.isValid()) {
                    raiseError(
                        tr("Invalid value given for Colour attribute of GradientStop element: %1")
                            .arg(attribute.value().toString()));
                    return;
                }
                hasColour = true;
            }
        }
        if (!hasPosition) {
            raiseError(tr("Position attribute not found in GradientStop element"));
            return;
        }
        if (!hasColour) {
            raiseError(tr("Colour attribute not found in GradientStop element"));
            return;
        }
        stops.append(qMakePair(position, colour));
        skipUnknownElement();
    }
    if (!hasError())
        gradient->setStops(stops);
}

void ThemeReader::readTextStyle(TextStyle* textStyle)
{
    VELMORA_ASSERT(isStartElement() && name() == QLatin1String("TextStyle"));
    const QString text = readElementText();
    if (hasError())
        return;
    const TextStyle style = textStyleFromName(text);
    if (style == TextStyle(TextStyleCount)) {
        raiseError(tr("Invalid text found in TextStyle element: %1").arg(text));
        return;
    }
    *textStyle = style;
}

void ThemeReader::readSkinSet(SkinSet* skinSet, Theme* theme)
{
    VELMORA_ASSERT(isStartElement() && name() == QLatin1String("SkinSet"));
    skinSet->setItemType(ThemedItemType(0));
    const ThemedItemType itemType = itemTypeOf(
        *this, QT_TRANSLATE_NOOP("QObject", "ItemType attribute '%1' not valid in SkinSet element"),
        QT_TRANSLATE_NOOP("QObject", "ItemType attribute not found in SkinSet element"));
    if (hasError())
        return;
    skinSet->setItemType(itemType);

    // The skins are collected apart from the set, so that they can be completed first.
    std::map<QString, smart_ptr<Skin>> skins;
    while (readNextStartElement()) {
        if (name() != QLatin1String("Skin")) {
            skipUnknownElement();
            continue;
        }
        if (!countSkin())
            break;
        smart_ptr<Skin> skin(new Skin(itemType, QString()));
        readSkin(skin.get(), theme);
        if (!hasError()) {
            skins[skin->getName()] = skin;
        } else {
            const auto iDefault = theme->getDefaultSkins().find(itemType);
            if (iDefault != theme->getDefaultSkins().end() && iDefault->second == skin->getName())
                theme->clearDefaultSkin(itemType);
        }
    }

    // Every skin gets the properties of the type's table that it lacks, valued as the default
    // skin's or, failing that, as the table's.
    if (const SkinProperties* table = SkinProperties::getSkinProperties(itemType)) {
        const Skin* defaultSkin = nullptr;
        const auto iDefault = theme->getDefaultSkins().find(itemType);
        if (iDefault != theme->getDefaultSkins().end()) {
            const auto iSkin = skins.find(iDefault->second);
            if (iSkin != skins.end())
                defaultSkin = iSkin->second.get();
        }
        for (auto& [skinName, skin] : skins) {
            for (const auto& [key, definition] : *table) {
                if (skin->hasProperty(key))
                    continue;
                const SkinProperty* source = defaultSkin ? defaultSkin->getProperty(key) : nullptr;
                if (!source)
                    source = definition.get();
                smart_ptr<SkinProperty> property(SkinProperty::create(definition->getType()));
                if (!property)
                    continue;
                property->copyFrom(*source);
                skin->setProperty(property);
            }
        }
    }

    std::vector<QString> held;
    for (const auto& entry : *skinSet)
        held.push_back(entry.first);
    for (const QString& skinName : held)
        skinSet->removeSkin(skinName);
    for (auto& entry : skins)
        skinSet->addSkin(entry.second);
}

void ThemeReader::readSkin(Skin* skin, Theme* theme)
{
    VELMORA_ASSERT(isStartElement() && name() == QLatin1String("Skin"));
    bool hasName = false;
    bool isDefault = false;
    const QXmlStreamAttributes attributes = this->attributes();
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (attribute.name() == QLatin1String("Name")) {
            skin->setName(attribute.value().toString());
            hasName = true;
        } else if (attribute.name() == QLatin1String("Default")) {
            isDefault = attribute.value() == QLatin1String("true");
        }
    }
    if (!hasName) {
        raiseError(tr("Name attribute not found in Skin element"));
        return;
    }
    if (isDefault)
        theme->setDefaultSkin(skin->getItemType(), skin->getName());

    while (readNextStartElement()) {
        if (name() == QLatin1String("SkinProperty")) {
            SkinProperty* read = nullptr;
            readSkinProperty(&read, skin->getItemType(), theme);
            smart_ptr<SkinProperty> property(read);
            if (!hasError() && property) {
                // A later property of the same key replaces the earlier one.
                skin->removeProperty(property->getKey());
                skin->setProperty(property);
            }
        } else if (name() == QLatin1String("Transition")) {
            readTransition(&skin->getTransition());
        } else {
            skipUnknownElement();
        }
    }
}

void ThemeReader::readTransition(SkinTransition* transition)
{
    VELMORA_ASSERT(isStartElement() && name() == QLatin1String("Transition"));
    while (readNextStartElement()) {
        if (name() == QLatin1String("Duration")) {
            const QString text = readElementText();
            if (hasError())
                return;
            bool ok = false;
            const int duration = text.toInt(&ok, 10);
            if (!ok) {
                raiseError(tr("Failed to convert value of Duration property to integer"));
                return;
            }
            transition->duration = duration;
        } else if (name() == QLatin1String("Easing")) {
            const QString text = readElementText();
            if (hasError())
                return;
            const std::optional<QEasingCurve::Type> easing = EasingCurveNames::type(text);
            if (!easing) {
                raiseError(tr("Unrecognised Transition Easing value supplied."));
                return;
            }
            transition->easing = *easing;
        } else {
            skipUnknownElement();
        }
    }
}

void ThemeReader::readSkinProperty(SkinProperty** out, ThemedItemType itemType, Theme* theme)
{
    VELMORA_ASSERT(isStartElement() && name() == QLatin1String("SkinProperty"));
    *out = nullptr;
    QString propertyName;
    QString text;
    bool hasName = false;
    bool hasValue = false;
    const QXmlStreamAttributes attributes = this->attributes();
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (attribute.name() == QLatin1String("Name")) {
            // *out belongs to the caller from the moment it is set, also after an error.
            delete *out;
            *out = nullptr;
            propertyName = attribute.value().toString();
            hasName = true;
            const SkinProperties* table = SkinProperties::getSkinProperties(itemType);
            if (!table) {
                raiseError(tr("Failed to get skin properties for item type"));
                return;
            }
            const SkinProperty* definition = table->getProperty(propertyName);
            if (!definition) {
                raiseError(tr("Skin property '%1' not recognised for item type %2")
                               .arg(propertyName, QString::number(int(itemType))));
                return;
            }
            *out = SkinProperty::create(definition->getType());
            (*out)->copyFrom(*definition);
        } else if (attribute.name() == QLatin1String("Value")) {
            text = attribute.value().toString();
            hasValue = true;
        }
    }
    if (!hasName) {
        raiseError(tr("Name attribute not found in SkinProperty element"));
        return;
    }
    if (!hasValue) {
        raiseError(tr("Value attribute not found in SkinProperty element"));
        return;
    }

    SkinProperty* target = *out;
    switch (target->getType()) {
    case SkinPropertyType_INT: {
        bool ok = false;
        const int value = text.toInt(&ok, 10);
        if (!ok) {
            raiseError(tr("Failed to convert value of %1 property to integer").arg(propertyName));
            return;
        }
        target->setValue(value);
        break;
    }
    case SkinPropertyType_DOUBLE: {
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok) {
            raiseError(tr("Failed to convert value of %1 property to double").arg(propertyName));
            return;
        }
        target->setValue(value);
        break;
    }
    case SkinPropertyType_COLOUR: {
        QColor colour;
        colour.setNamedColor(text);
        target->setValue(colour);
        break;
    }
    case SkinPropertyType_IMAGE: {
        if (text.isEmpty()) {
            target->setValue(QVariant());
            break;
        }
        smart_ptr<ImageData> image = importImage(*this, text, SkinImageTexts);
        if (!image)
            return;
        // Each property imports its own copy. A full store keeps nothing, and the property
        // then has no value rather than an id that names no image.
        const unsigned int id = theme->getSkinImages().insert(image, Theme::NoImageId);
        if (id == Theme::NoImageId) {
            target->setValue(QVariant());
            break;
        }
        theme->addSkinImageReference(SkinPropertyKey(itemType, propertyName), id);
        target->setValue(QVariant::fromValue(id));
        break;
    }
    default:
        target->setValue(text);
        break;
    }

    while (readNextStartElement())
        skipUnknownElement();
}
