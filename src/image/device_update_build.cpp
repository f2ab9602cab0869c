#include "image/device_update_build.h"

#include "app/payload_gate.h"
#include "lang/text_table.h"

namespace swz::image {

ImageBuildResult buildDeviceImage(DeviceImageCompiler &compiler, const ProjectFiles &files)
{
    ImageBuildResult result;
    const PayloadGateResult gate = Check_Config_LoraWAN(files);
    if (gate.readFailed()) {
        result.outcome = ImageBuildResult::Outcome::ReadFailed;
        result.message = uiText(kTextCannotReadFile) + gate.readError;
        return result;
    }
    if (!gate.passed) {
        result.outcome = ImageBuildResult::Outcome::GateRefused;
        result.message = gate.faults.first().message;
        return result;
    }

    const CompileResult compiled = compiler.Compile_Device_Image(files);
    result.warnings = compiled.warnings;
    if (!compiled.ok) {
        // The earlier bank files stay as they were.
        result.outcome = ImageBuildResult::Outcome::CompileFailed;
        result.message = compiled.error;
        return result;
    }

    if (const std::optional<SaveFailure> failed = compiler.Save_Device_Image(files.binFolder)) {
        result.outcome = ImageBuildResult::Outcome::SaveFailed;
        result.message = uiText(kTextCannotWriteFile) + failed->file + QStringLiteral(": ")
                         + failed->reason;
    }
    return result;
}

} // namespace swz::image
