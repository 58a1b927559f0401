#pragma once

#include "core/gradient.h"
#include "velmora_objects/velmora_types.h"

#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

namespace Velmora {

// The tagged binary stream of project files and of controls on the clipboard: a big-endian
// Qt data stream of version 6 (the Qt 3.3 forms) behind an eight-byte magic and the format
// version. Blocks are framed by raw text tags ("Page_start" ... "Page_end").
//
// Format faults raise std::runtime_error; using the stream in the wrong mode is fatal.
//
// Writing to a file goes to a temporary file beside the target; close() replaces the target
// only when every write succeeded, so a failed save leaves the old file as it was.
class Streamer : public QFile
{
public:
    enum Mode
    {
        Mode_READ = 0,
        Mode_WRITE = 1,
        Mode_NONE = 2
    };

    // The newest format version, written by every writer; later versions are refused.
    static constexpr quint32 CurrentVersion = 18;
    // "Orvn", "KVX" and 0x08, most significant byte first.
    static constexpr qint64 Magic = qint64(0x4f72766e4b565808LL);

    Streamer();
    ~Streamer() override;

    void open(Mode mode, const QString& path);
    void open(Mode mode, QByteArray* bytes);
    // Ends the stream. In write mode on a file this is where the target is replaced; a failed
    // write raises std::runtime_error("Unable to write file") and the target stays untouched.
    void close() override;

    void writeHeader();
    void readHeader();

    Mode mode() const { return m_mode; }
    // The format version read from the header; all bits set while writing.
    quint32 version() const { return m_version; }

    void writeTag(const char* tag);
    void expectTag(const char* tag);

    QDataStream& stream() { return *m_stream; }

    Streamer& operator<<(bool value);
    Streamer& operator>>(bool& value);
    Streamer& operator<<(const Gradient& gradient);
    Streamer& operator>>(Gradient& gradient);
    Streamer& operator<<(const std::vector<ButtonFunction>& functions);
    Streamer& operator>>(std::vector<ButtonFunction>& functions);
    Streamer& operator<<(const std::vector<unsigned int>& values);
    Streamer& operator>>(std::vector<unsigned int>& values);

    // Variants in the Qt 3 form that stream version 6 stands for: a quint32 type id (0 invalid,
    // 3 string, 10 colour, 16 int, 17 uint, 18 bool, 19 double) and the value. An enumeration
    // travels as its int number. Reading any other id raises std::runtime_error.
    void writeVariant(const QVariant& value);
    QVariant readVariant();

    // Guards for readers facing damaged files. checkStatus raises the stream's error when a
    // read ran past the end or met corrupt data; checkCount raises it when a count read from
    // the file promises more elements (of at least minBytesEach bytes) than the stream holds.
    void checkStatus();
    void checkCount(quint64 count, quint64 minBytesEach);

private:
    // The plain file open stays hidden: a streamer is opened only with a mode and a target.
    using QFile::open;

    void makeStream(QIODevice* device);
    void discardPendingWrite();

    std::unique_ptr<QDataStream> m_stream;
    Mode m_mode = Mode_NONE;
    quint32 m_version = 0xFFFFFFFFu;
    QString m_targetPath; // the file being replaced while writing to a temporary file
};

} // namespace Velmora
