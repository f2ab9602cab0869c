// ParGen.xml: the reader, the check the window runs on OK, and the round trip through the
// writer.

#include "fuzz_support.h"

#include "params/par_gen.h"
#include "params/par_gen_check.h"

using namespace swz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzing::scratch() + QStringLiteral("/ParGen.xml");
    fuzzing::writeFile(path, fuzzing::bytesOf(data, size));

    const ParGenLoad load = loadParGen(path);
    FUZZ_CHECK(load.status != ParGenLoad::Status::Missing);
    if (load.status != ParGenLoad::Status::Loaded) {
        FUZZ_CHECK(!load.error.isEmpty());
        return 0;
    }
    (void)Controllo_Dati(load.values);
    (void)load.values.Find_Max_PayLoad();

    FUZZ_CHECK(!saveParGen(path, load.values));
    const ParGenLoad again = loadParGen(path);
    FUZZ_CHECK(again.status == ParGenLoad::Status::Loaded);
    FUZZ_CHECK(again.values == load.values);
    FUZZ_CHECK(parGenDocument(again.values) == fuzzing::readFile(path));
    return 0;
}
