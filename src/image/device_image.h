#pragma once

#include "app/project.h"
#include "image/image_layout.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace swz::image {

// One bank file's buffer: fixed capacity, and the used part that is written to the file.
struct ImageBuffer
{
    static constexpr quint32 kCapacity = 0x20000;

    ImageBuffer() : data(kCapacity, 0) {}
    std::vector<quint8> data;
    quint32 length = 0;

    QByteArray used() const
    {
        return QByteArray(reinterpret_cast<const char *>(data.data()), qsizetype(length));
    }
};

// Staging record(s) of one block kind, with exactly the layout of the image.
class RecordArray
{
public:
    RecordArray(ImageBlock block, int records);

    ImageBlock block() const { return m_block; }
    int records() const { return m_records; }
    int recordSize() const { return m_recordSize; }
    quint8 *record(int index) { return m_bytes.data() + std::size_t(index) * m_recordSize; }
    const quint8 *record(int index) const
    {
        return m_bytes.data() + std::size_t(index) * m_recordSize;
    }

    void set(int index, int field, quint64 value) { writeField(record(index), fieldOf(m_block, field), value); }
    void setBytes(int index, int field, const QByteArray &bytes);
    quint64 get(int index, int field) const { return readField(record(index), fieldOf(m_block, field)); }

    void clear();

private:
    ImageBlock m_block;
    int m_records;
    int m_recordSize;
    std::vector<quint8> m_bytes;
};

// Why a compile stopped: the message names the file and, for a rule attribute, the list, the
// row and the attribute.
struct CompileResult
{
    bool ok = true;
    QString error;
    // Rows beyond a table's or list's capacity that were left out.
    QStringList warnings;
};

struct SaveFailure
{
    QString file;
    QString reason;
};

// The device image compiler: staging records, the two image buffers and the compile steps.
class DeviceImageCompiler final
{
public:
    DeviceImageCompiler();
    DeviceImageCompiler(const DeviceImageCompiler &) = delete;
    DeviceImageCompiler &operator=(const DeviceImageCompiler &) = delete;

    CompileResult Compile_Device_Image(const ProjectFiles &files);
    // Writes bank1.bin and bank2.bin into the bin folder. Each file is replaced atomically;
    // when the second cannot be written the first is put back as it was, so the folder never
    // holds the halves of two different images.
    std::optional<SaveFailure> Save_Device_Image(const QString &binFolder) const;

    const ImageBuffer &bank1() const { return m_bank1; }
    const ImageBuffer &bank2() const { return m_bank2; }

    // The steps of a compile, reachable on their own for tests.
    void Reset_General_Block();
    void Reset_LoRaWAN_Block();
    void Reset_CANopen_Tables();
    CompileResult Load_General_Parameters(const QString &parGenPath);
    CompileResult Load_CANopen_Rules(const ProjectFiles &files);
    CompileResult Load_LoRaWAN_Rules(const QString &accessPath, quint32 blockAddress);
    quint32 Put_General_Block(quint32 position, ImageBuffer &buffer);
    quint32 Put_CANopen_Tables(quint32 position, ImageBuffer &buffer) const;
    quint32 Put_LoRaWAN_Block(quint32 position, ImageBuffer &buffer) const;

    RecordArray &general() { return m_general; }
    const RecordArray &general() const { return m_general; }

private:
    RecordArray &tableOf(Placement placement);

    RecordArray m_general;
    RecordArray m_loRaWan;
    RecordArray m_uplink;
    RecordArray m_downlink;
    std::vector<RecordArray> m_canopen; // the six tables, in bank 2 order
    ImageBuffer m_bank1;
    ImageBuffer m_bank2;
};

} // namespace swz::image
