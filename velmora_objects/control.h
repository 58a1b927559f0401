#pragma once

#include "containers/sortvector_el.h"
#include "core/block_pool.h"
#include "velmora_objects/data_stream.h"
#include "velmora_objects/renderable.h"
#include "velmora_objects/velmora_types.h"

#include <QRect>
#include <QString>
#include <boost/logic/tribool.hpp>
#include <climits>

class QVariant;

namespace Velmora {

class Streamer;

// What every control on a page has: the page it lies on, its rectangle, its key, caption and
// start-up skin, and the virtual operations through which the project streams, clones,
// themes and renders controls without knowing their kind. The id is the element id given by
// the project's control container.
//
// A copy keeps every field and the id; clone() gives the copy that may live beside its source
// in a project (the controls with IR slots hand out none).
class Control : public sortvector_el, public Themed
{
public:
    // A project holds thousands of controls, made and freed together.
    BLOCK_POOL_ALLOCATED

    Control() = default;
    Control(const Control& other) = default;
    Control& operator=(const Control&) = delete;
    ~Control() override = default;

    Control* clone() const override = 0;
    virtual ControlType getType() const = 0;

    // The control's whole block. The base operations read and write the "Control" block that
    // every concrete control's block holds; the concrete controls override both, framing that
    // block and their own fields with their own tags ("Button_start" ... "Button_end").
    virtual void read(Streamer& s);
    virtual void write(Streamer& s) const;

    // "control<id>".
    virtual QString defaultName() const;

    // The IR slot through which the given action reaches this control; NoIRSlot for actions
    // the control has no slot for. Setting a slot for such an action does nothing.
    virtual unsigned char getIRSlotId(Action action) const;
    virtual void setIRSlotId(Action action, unsigned char slot);

    // The page the control lies on; UINT_MAX for none.
    unsigned int getPageId() const { return m_pageId; }
    void setPageId(unsigned int pageId) { m_pageId = pageId; }
    // Position and size on the page in panel pixels (inclusive edges).
    const QRect& getGeometry() const { return m_geometry; }
    void setGeometry(const QRect& geometry) { m_geometry = geometry; }
    // The control key.
    const QString& getName() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    const QString& getCaption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }
    // Name of the skin shown first; empty when none is chosen.
    const QString& getStartupSkin() const { return m_startupSkin; }
    void setStartupSkin(const QString& skin) { m_startupSkin = skin; }

protected:
    // The bytes of the "Control" block, and the block written among the fields of a concrete
    // control's block (which the control's own tags frame). Inline, so that the place written
    // stays in a register through the whole block.
    qsizetype controlBlockBytes() const
    {
        return qsizetype(sizeof "Control_start" - 1 + 4 + 16 + sizeof "Control_end" - 1) +
               DataStream::textBytes(m_name) + DataStream::textBytes(m_caption) +
               DataStream::textBytes(m_startupSkin);
    }
    void writeControlBlock(DataStream::Fields& out) const
    {
        out.tag("Control_start") << qint32(m_pageId) << m_geometry << m_name << m_caption
                                 << m_startupSkin;
        out.tag("Control_end");
    }

    // The theme defaults of one item type, taken into fields one by one under the rule of
    // defaultFromTheme; without a theme nothing is taken. Whole numbers are read as unsigned,
    // text styles as int, and a three-state flag counts as set only when it is true.
    class ThemeDefaults
    {
    public:
        ThemeDefaults(const Theme* theme, const Theme* previous, ThemedItemType itemType);
        void take(const char* key, int& field) const;
        void take(const char* key, bool& field) const;
        void take(const char* key, double& field) const;
        void take(const char* key, boost::logic::tribool& field) const;
        void take(const char* key, TextStyle& field) const;

    private:
        bool taken(const char* key, const QVariant& current, QVariant& value) const;

        const Theme* theme;
        const Theme* previous;
        ThemedItemType itemType;
    };

private:
    unsigned int m_pageId = UINT_MAX;
    QRect m_geometry;
    QString m_name;
    QString m_caption;
    QString m_startupSkin;
};

} // namespace Velmora
