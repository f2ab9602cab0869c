#pragma once

#include "common/messages.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace swz {

// The UI text table: every caption, hint, column header and message by fixed index.
class TextTable final
{
public:
    static constexpr int kSize = 6300;

    // Empty until loadBuiltin() or loadLanguage() fills it.
    TextTable() = default;

    void loadBuiltin();
    void clear() { m_texts.clear(); }

    int size() const { return int(m_texts.size()); }
    // Out-of-range reads give an empty text rather than crash.
    QString text(int index) const;
    void setText(int index, const QString &text);

    bool operator==(const TextTable &other) const = default;

private:
    QStringList m_texts;
};

// The process-wide table that the windows read.
TextTable &uiTexts();
inline QString uiText(int index)
{
    return uiTexts().text(index);
}

// Decodes the bytes of a language file: a byte-order mark selects UTF-8 or UTF-16 (either
// byte order). Without one, Windows uses the system's 8-bit code page; elsewhere the bytes are
// read as UTF-8 when they are valid UTF-8 and as Latin-1 otherwise.
QString decodeLanguageFile(const QByteArray &bytes);

// Applies the text lines of a decoded language file to the table. Lines that are not text
// lines, keys out of range and empty texts are skipped one by one.
void applyLanguageText(TextTable &table, const QString &content);

// Reads and applies a language file; false when it cannot be read (the table is unchanged).
bool readLanguageFile(TextTable &table, const QString &path);

// Rebuilds the table for a language: the built-in English, overlaid with
// languageFolder/<language>.lng. When that file is missing the language becomes "English"
// and languageFolder/English.lng is applied if present.
void loadLanguage(TextTable &table, const QString &languageFolder, QString &language);

// The table as a language file (UTF-8 with byte-order mark): one delimited line for every
// index that holds more than a blank, in index order.
QByteArray languageFileFromTable(const TextTable &table);

} // namespace swz

namespace swz {

// Message boxes with texts of the UI text table.
inline void showError(int textIndex)
{
    messages().showError(uiText(textIndex));
}

inline void showWarning(int textIndex)
{
    messages().showWarning(uiText(textIndex));
}

inline bool askYesNo(int textIndex)
{
    return messages().askYesNo(uiText(textIndex));
}

} // namespace swz
