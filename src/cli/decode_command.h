#pragma once

#include "image/image_decode.h"

#include <QStringList>

#include <optional>

class QIODevice;

namespace swz {

// `swz8k20-cli decode BANK1 BANK2 [--json]`: every field of a device image by name, with its
// bank, offset and value. A wrong size or checksum is reported on err and the rest is still
// decoded. Exit status 0, 1 when the image has a problem, 2 when a file cannot be read.
int runDecodeCommand(const QStringList &arguments, QIODevice &out, QIODevice &err);

// Reads and decodes a bank file pair; nothing (after the message on err) when a file cannot
// be read. The image's problems go to err, each named by label.
std::optional<image::DecodedImage> readImageFiles(const QString &bank1, const QString &bank2,
                                                  const QString &label, QIODevice &err);

} // namespace swz
