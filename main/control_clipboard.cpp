#include "main/control_clipboard.h"

#include "velmora_objects/configuration.h"
#include "velmora_objects/control.h"
#include "velmora_objects/control_factory.h"
#include "velmora_objects/control_geometry.h"
#include "velmora_objects/streamer.h"

#include <QDataStream>
#include <climits>
#include <exception>
#include <memory>
#include <new>

using namespace Velmora;

const char* const ControlClipboard::MimeType = "application/x-kelbrand-velmora-controls";

namespace {

// The smallest entry: a type and an empty byte array's length.
constexpr qint64 MinimumEntryBytes = 8;
// The rectangle after the entries.
constexpr qint64 BoundsBytes = 16;
// A byte array's length that stands for a null array.
constexpr quint32 NullArray = 0xFFFFFFFFu;

} // namespace

std::size_t ControlClipboard::Contents::controlCount() const
{
    std::size_t count = 0;
    for (const auto& entry : controls)
        count += entry.second.size();
    return count;
}

QByteArray ControlClipboard::encode(const Configuration& project,
                                    const std::set<unsigned int>& controlIds)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_8);
    out << qint32(controlIds.size());
    QRect bounds;
    for (unsigned int controlId : controlIds) {
        const Control& control = project.getControl(controlId);
        QByteArray stream;
        Streamer streamer;
        streamer.open(Streamer::Mode_WRITE, &stream);
        control.write(streamer);
        streamer.close();
        out << qint32(control.getType()) << stream;
        bounds = bounds.united(control.getGeometry());
    }
    out << bounds;
    return bytes;
}

std::optional<ControlClipboard::Contents> ControlClipboard::decode(const QByteArray& bytes,
                                                                   std::size_t maximumControls)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_4_8);
    auto left = [&] { return bytes.size() - in.device()->pos(); };

    quint32 count = 0;
    in >> count;
    if (in.status() != QDataStream::Ok || count > (left() - BoundsBytes) / MinimumEntryBytes)
        return std::nullopt;

    Contents contents;
    std::size_t taken = 0;
    for (quint32 i = 0; i < count; ++i) {
        qint32 type = 0;
        quint32 length = 0;
        in >> type >> length;
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        if (length == NullArray) {
            ++contents.refused;
            continue;
        }
        // The bytes are read and skipped in int-sized lengths.
        if (qint64(length) > left() || length > quint32(INT_MAX))
            return std::nullopt;
        if (taken >= maximumControls) {
            if (in.skipRawData(int(length)) != int(length))
                return std::nullopt;
            ++contents.beyondLimit;
            continue;
        }
        QByteArray stream(qsizetype(length), Qt::Uninitialized);
        if (in.readRawData(stream.data(), int(length)) != int(length))
            return std::nullopt;
        if (isReadableControl(ControlType(type), stream)) {
            contents.controls[ControlType(type)].push_back(stream);
            ++taken;
        } else {
            ++contents.refused;
        }
    }

    qint32 l = 0, t = 0, r = 0, b = 0;
    in >> l >> t >> r >> b;
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    contents.bounds = QRect(QPoint(l, t), QPoint(r, b));
    // The paste places the group by this rectangle.
    if (!ControlGeometry::inRange(contents.bounds))
        return std::nullopt;
    return contents;
}

bool ControlClipboard::isReadableControl(ControlType type, const QByteArray& stream)
{
    const ControlFactory* factory = ControlFactory::get(type);
    if (!factory)
        return false;
    std::unique_ptr<Control> scratch(factory->create({}));
    QByteArray bytes = stream;
    try {
        Streamer streamer;
        streamer.open(Streamer::Mode_READ, &bytes);
        scratch->read(streamer);
        streamer.close();
    } catch (const std::bad_alloc&) {
        // Short of memory the stream says nothing of itself: the caller hears of the shortage.
        throw;
    } catch (const std::exception&) {
        return false;
    }
    return ControlGeometry::inRange(scratch->getGeometry());
}
