#pragma once

// Shared by the fuzz targets: a scratch folder per process, file helpers and a check that
// stops the run (libFuzzer then keeps the input as a crash).

#include "lang/text_table.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzzing {

[[noreturn]] inline void fail(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "invariant broken at %s:%d: %s\n", file, line, what);
    std::abort();
}

#define FUZZ_CHECK(condition) \
    ((condition) ? void(0) : ::fuzzing::fail(#condition, __FILE__, __LINE__))

// A folder that lives as long as the process; the built-in English texts are loaded once,
// because the messages that the readers return come from them.
inline const QString &scratch()
{
    static QTemporaryDir dir;
    static const bool ready = [] {
        swz::uiTexts().loadBuiltin();
        return dir.isValid();
    }();
    if (!ready)
        std::abort();
    static const QString path = dir.path();
    return path;
}

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        std::abort();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Several files from one input: the parts between form feeds (a character no XML file may
// hold, so the split loses nothing a real file could carry). Missing parts are empty.
inline QList<QByteArray> splitParts(const QByteArray &input, int count)
{
    QList<QByteArray> parts = input.split('\f');
    while (parts.size() < count)
        parts.append(QByteArray());
    return parts.mid(0, count);
}

} // namespace fuzzing
