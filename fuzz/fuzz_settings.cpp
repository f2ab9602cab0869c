// Corvane.xml: whatever the settings reader accepts, written and read again, gives the same
// values.

#include "fuzz_support.h"

#include "app/app_state.h"

using namespace swz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzing::scratch() + QStringLiteral("/Corvane.xml");
    fuzzing::writeFile(path, fuzzing::bytesOf(data, size));

    const AppState state = readSettings(path);
    FUZZ_CHECK(!state.projectActive());

    FUZZ_CHECK(!saveSettings(path, state));
    const AppState again = readSettings(path);
    FUZZ_CHECK(again == state);
    FUZZ_CHECK(settingsDocument(again) == fuzzing::readFile(path));
    return 0;
}
