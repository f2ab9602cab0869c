#include "lang/text_table.h"

#include "common/text_values.h"
#include "lang/builtin_english.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace swz {

namespace {

constexpr QChar kPilcrow = QChar(0x00B6);
const QString kCommentMark = QStringLiteral("/#/");

bool holdsMoreThanABlank(const QString &text)
{
    return !text.isEmpty() && text != QStringLiteral(" ");
}

// The UTF-16 decoder passes unpaired surrogates through; they would come out of the writer
// as a different character, so they become the replacement character at once.
QString withoutLoneSurrogates(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

} // namespace

void TextTable::loadBuiltin()
{
    m_texts = QStringList(kSize, QStringLiteral(" "));
    for (std::size_t i = 0; i < kBuiltinEnglishCount; ++i) {
        const BuiltinText &entry = kBuiltinEnglish[i];
        if (entry.index >= 0 && entry.index < kSize)
            m_texts[entry.index] = QString::fromUtf16(entry.text);
    }
}

QString TextTable::text(int index) const
{
    if (index < 0 || index >= m_texts.size())
        return {};
    return m_texts.at(index);
}

void TextTable::setText(int index, const QString &text)
{
    if (index >= 0 && index < m_texts.size())
        m_texts[index] = text;
}

TextTable &uiTexts()
{
    static TextTable table;
    return table;
}

QString decodeLanguageFile(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder decoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
        return withoutLoneSurrogates(decoder.decode(bytes.mid(2)));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(QStringDecoder::Utf16BE, QStringDecoder::Flag::Stateless);
        return withoutLoneSurrogates(decoder.decode(bytes.mid(2)));
    }
#ifdef Q_OS_WIN
    QStringDecoder system(QStringDecoder::System);
    return system.decode(bytes);
#else
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
#endif
}

static void applyLanguageLine(TextTable &table, QStringView rawLine)
{
    const QString line = trimBlanks(rawLine);
    if (!line.startsWith(QStringLiteral("STR")))
        return;

    // The character directly before "=" never belongs to the key: "STR15= x" has the key "1".
    const qsizetype equals = line.indexOf(u'=');
    QString key;
    if (equals >= 0 && equals - 4 > 0)
        key = trimBlanks(QStringView(line).mid(3, equals - 4));
    const std::optional<qint32> index = readInteger(key);
    if (!index || *index < 0 || *index >= TextTable::kSize)
        return;

    QString text = trimBlanks(QStringView(line).mid(equals + 1));
    if (text.isEmpty())
        return;

    const qsizetype comment = text.indexOf(kCommentMark);
    if (comment >= 0) {
        text = trimBlanks(QStringView(text).left(comment));
        if (text.isEmpty())
            return;
    }

    if (text.startsWith(kPilcrow)) {
        text.remove(0, 1);
        const qsizetype close = text.indexOf(kPilcrow);
        if (close >= 0)
            text.truncate(close);
    }

    table.setText(*index, text);
}

void applyLanguageText(TextTable &table, const QString &content)
{
    // Lines end with CR LF, LF or CR.
    const QStringView all(content);
    qsizetype start = 0;
    const qsizetype n = all.size();
    while (start <= n) {
        qsizetype end = start;
        while (end < n && all[end] != u'\r' && all[end] != u'\n')
            ++end;
        applyLanguageLine(table, all.mid(start, end - start));
        if (end >= n)
            break;
        start = end + ((all[end] == u'\r' && end + 1 < n && all[end + 1] == u'\n') ? 2 : 1);
    }
}

bool readLanguageFile(TextTable &table, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    applyLanguageText(table, decodeLanguageFile(bytes));
    return true;
}

void loadLanguage(TextTable &table, const QString &languageFolder, QString &language)
{
    table.loadBuiltin();
    const QDir folder(languageFolder);
    // An empty name would point at the hidden file ".lng"; it means "no language file".
    const QString path = folder.filePath(language + QStringLiteral(".lng"));
    if (!language.isEmpty() && QFileInfo(path).isFile()) {
        readLanguageFile(table, path);
        return;
    }
    language = QStringLiteral("English");
    const QString english = folder.filePath(QStringLiteral("English.lng"));
    if (QFileInfo(english).isFile())
        readLanguageFile(table, english);
}

QByteArray languageFileFromTable(const TextTable &table)
{
    QString out;
    for (int i = 0; i < table.size(); ++i) {
        const QString text = table.text(i);
        if (!holdsMoreThanABlank(text))
            continue;
        out += QStringLiteral("STR%1 = ").arg(i) + kPilcrow + text + kPilcrow
               + u'\n';
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

} // namespace swz
