#pragma once

#include "app/project.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace swz {

// The moment written into CreationTime/CreationDate. Injectable so that a generated file can
// be compared byte for byte.
using EdsClock = std::function<QDateTime()>;
EdsClock systemEdsClock(); // local date and time

// Date and time as the file carries them: mm-dd-yyyy, and hh:mm on a 12-hour clock followed by
// AM or PM. Midnight is written as 12:mmAM and noon as 12:mmPM.
QString edsDate(const QDate &date);
QString edsTime(const QTime &time);

// One SDO server rule as an entry of a manufacturer object.
struct SDO_Sub_Type
{
    quint8 Sub = 0;
    // The rule's NByte as read. Kept at full width so that a stray 257 is not taken for 1.
    qint32 Quantity = 0;
    bool Readonly = true;
    QString Mnemonic; // never filled; the file has no place for it
};

// One manufacturer object: an index and the rules that name it.
struct SDO_Index
{
    quint16 Index = 0;
    QList<SDO_Sub_Type> Sub_Indexs;
};

struct PdoEntry
{
    qint32 cobId = 0;
    qint32 dimension = 8;
};

// Builds the CANopen electronic data sheet of a project from its PDO and SDO server files.
// Every call rebuilds its tables from the files; the section files are never changed.
class EdsGenerator final
{
public:
    static constexpr int kMaxPdos = 30; // as many as the PDO window holds per list

    explicit EdsGenerator(ProjectFiles files, EdsClock clock = systemEdsClock());

    // Reads the section files and replaces the file at path with the data sheet. Returns the
    // message to show when a section file cannot be used or the file cannot be written; then
    // nothing is written and an existing file stays as it was.
    std::optional<QString> Write_EDS_File(const QString &path);

    // The same reading, and the complete file content for path, without writing it.
    std::optional<QString> buildText(const QString &path, QByteArray &text);

    // Steps of the generation, public for the tests. Each returns the message on failure.
    std::optional<QString> Read_PDO_Table();
    std::optional<QString> Read_SDO_Objects();
    // Position of the object with that index in the list, or -1.
    int Find_SDO_Index(int index) const;
    // Orders each object's entries by sub-index; equal sub-indexes keep their order.
    void Sort_Sub_Indexs();

    const QList<SDO_Index> &sdoObjects() const { return m_sdoObjects; }
    int rpdoCount() const { return m_rpdoCount; }
    int tpdoCount() const { return m_tpdoCount; }
    const PdoEntry &rpdo(int i) const { return m_rpdo.at(i); }
    const PdoEntry &tpdo(int i) const { return m_tpdo.at(i); }

private:
    std::optional<QString> readAll();
    QString composeText(const QString &fileName, const QDateTime &moment) const;

    ProjectFiles m_files;
    EdsClock m_clock;
    std::array<PdoEntry, kMaxPdos> m_rpdo{};
    std::array<PdoEntry, kMaxPdos> m_tpdo{};
    int m_rpdoCount = 0;
    int m_tpdoCount = 0;
    QList<SDO_Index> m_sdoObjects;
    QHash<int, int> m_positionOfIndex; // keeps Find_SDO_Index fast on very long rule lists
};

// Name prefix of the data-object entries of RPDO or TPDO number n (1 to 30).
QString edsDataPrefix(bool receive, int n);

} // namespace swz
