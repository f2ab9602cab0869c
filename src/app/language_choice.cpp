#include "app/language_choice.h"

#include <QDir>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace swz {

namespace {

const QString kExtension = QStringLiteral(".lng");

} // namespace

bool isOfferedLanguageFile(const QFileInfo &entry)
{
    // Matched as the file system matches names, so that the language loader finds the file
    // of every language it is offered.
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity nameCase = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity nameCase = Qt::CaseSensitive;
#endif
    const QString name = entry.fileName();
    // ".lng" alone would be a language without a name.
    if (name.size() <= kExtension.size() || !name.endsWith(kExtension, nameCase))
        return false;
    if (entry.isSymLink() || !entry.isFile())
        return false;
#ifdef Q_OS_WIN
    // Read-only, compressed, encrypted, offline, temporary and linked files are not offered.
    const std::wstring path = QDir::toNativeSeparators(entry.absoluteFilePath()).toStdWString();
    const DWORD attributes = GetFileAttributesW(path.c_str());
    constexpr DWORD allowed = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE
                              | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_SPARSE_FILE
                              | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & ~allowed) == 0;
#else
    // Not WriteUser: that says whether the running user may write, which root always may.
    constexpr QFile::Permissions anyWrite =
        QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return (entry.permissions() & anyWrite) != 0;
#endif
}

QStringList Create_Lang_List(const QString &languageFolder)
{
    QStringList files;
    const QFileInfoList entries = QDir(languageFolder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (isOfferedLanguageFile(entry))
            files.append(entry.fileName());
    }
    std::stable_sort(files.begin(), files.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return files;
}

QString languageOfSlot(const QStringList &files, int page, int slot)
{
    const qsizetype index = qsizetype(kLanguageSlots) * (page - 1) + slot - 1;
    if (page < 1 || slot < 1 || slot > kLanguageSlots || index >= files.size())
        return {};
    return files[index].chopped(kExtension.size());
}

QString flagPicture(const QString &languageFolder, const QString &language)
{
    const QDir folder(languageFolder);
    for (const QString &name : {language + QStringLiteral(".bmp"), QStringLiteral("DefaultFlag.bmp")}) {
        const QString path = folder.filePath(name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QList<LanguageSlot> languageSlots(const QStringList &files, int page, const QString &languageFolder)
{
    QList<LanguageSlot> result;
    for (int slot = 1; slot <= kLanguageSlots; ++slot) {
        const QString name = languageOfSlot(files, page, slot);
        if (name.isEmpty())
            break;
        result.append({name, flagPicture(languageFolder, name)});
    }
    return result;
}

} // namespace swz
