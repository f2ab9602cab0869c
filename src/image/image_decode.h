#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace swz::image {

// One field of a bank file pair as a reader shows it. Names are unique within an image:
// "<block>.<field>" for the single blocks, "<table>[<entry>].<field>" for table entries.
struct DecodedField
{
    QString name;
    int bank = 1;   // 1 or 2
    int offset = 0; // in its bank file
    QString value;
};

struct DecodedImage
{
    QList<DecodedField> fields; // in file order, bank 1 first
    // What is wrong with the files (size, checksum); the fields that could be read are there.
    QStringList problems;
};

// Reads every field of the two bank files through the image layout. Unused entries of the
// CANopen tables and empty items of the LoRaWAN lists are left out. Fields that lie beyond the
// end of a short file are left out as well, and the short size is a problem.
DecodedImage decodeImage(const QByteArray &bank1, const QByteArray &bank2);

struct FieldChange
{
    QString name;
    QString before; // empty when the field is only in the second image
    QString after;  // empty when the field is only in the first image
    bool inBefore = true;
    bool inAfter = true;
};

// The fields whose values differ, by name, in the order of the first image, then the fields
// only the second one has.
QList<FieldChange> diffImages(const DecodedImage &before, const DecodedImage &after);

} // namespace swz::image
