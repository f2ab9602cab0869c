// The language file reader: decoding, applying the lines to the built-in table, and the
// table written back as a language file reading the same texts again.

#include "fuzz_support.h"

using namespace swz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString &folder = fuzzing::scratch();
    const QString path = folder + QStringLiteral("/Fuzz.lng");
    fuzzing::writeFile(path, fuzzing::bytesOf(data, size));

    TextTable table;
    table.loadBuiltin();
    FUZZ_CHECK(readLanguageFile(table, path));
    FUZZ_CHECK(table.size() == TextTable::kSize);

    // Whatever was read, written out and read again, gives the same texts. Texts read are
    // single lines, trimmed, and the writer wraps them in pilcrows; a text holding a pilcrow
    // itself cannot be wrapped (the format has no escape), so those are left out.
    const QByteArray written = languageFileFromTable(table);
    TextTable again;
    again.loadBuiltin();
    applyLanguageText(again, decodeLanguageFile(written));
    for (int i = 0; i < TextTable::kSize; ++i) {
        const QString text = table.text(i);
        if (text.isEmpty() || text == QStringLiteral(" ") || text.contains(QChar(0x00B6)))
            continue;
        FUZZ_CHECK(again.text(i) == text);
    }
    // And the loader the program calls at start-up and on a language change.
    QString language = QStringLiteral("Fuzz");
    TextTable loaded;
    loadLanguage(loaded, folder, language);
    FUZZ_CHECK(language == QStringLiteral("Fuzz"));
    FUZZ_CHECK(loaded == table);
    return 0;
}
