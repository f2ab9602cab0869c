#pragma once

#include <QFileInfo>
#include <QList>
#include <QString>
#include <QStringList>

namespace swz {

// Whether a directory entry is offered as a language file: a file named *.lng that is no
// folder and no link. On Windows its attributes may hold only hidden, system, archive, normal,
// sparse and not-content-indexed. Elsewhere, where those attributes do not exist, it must not be
// read-only, meaning that no write permission bit is set at all; the bits are read from the
// file itself, so the answer does not change when the program runs as root (who could write
// such a file anyway).
bool isOfferedLanguageFile(const QFileInfo &entry);

// The language files of the folder (file names with ".lng"), sorted ignoring letter case.
QStringList Create_Lang_List(const QString &languageFolder);

// Language slots per page of the options window.
inline constexpr int kLanguageSlots = 6;

// Number of pages for fileCount language files: (N + 5) div 6.
inline int languagePageCount(int fileCount)
{
    return (fileCount + kLanguageSlots - 1) / kLanguageSlots;
}

// Language name (file name without ".lng") of slot 1..6 on page 1.. ; empty when the slot
// holds no language.
QString languageOfSlot(const QStringList &files, int page, int slot);

// The flag shown for a language: <language>.bmp, else DefaultFlag.bmp, else none (empty).
QString flagPicture(const QString &languageFolder, const QString &language);

// What one slot of a page shows.
struct LanguageSlot
{
    QString name;
    QString picture; // empty: no picture, the name alone
};

// The slots that are visible on a page, in order (at most six).
QList<LanguageSlot> languageSlots(const QStringList &files, int page,
                                  const QString &languageFolder);

} // namespace swz
