#include "lorawan/lora_access_window.h"

#include "common/messages.h"

namespace swz {

TFLoRa_Set_Access::TFLoRa_Set_Access(RuleTableContext context,
                                     std::function<QString()> parGenFile, QWidget *parent)
    : RuleTableWindow(loRaAccessDefinition(), std::move(context), parent)
    , m_parGenFile(std::move(parGenFile))
{
}

bool TFLoRa_Set_Access::prepareGrids()
{
    m_limits = {};
    const LoRaParGenRead read = readLoRaLimits(m_parGenFile ? m_parGenFile() : QString());
    if (!read.error.isEmpty()) {
        messages().showError(text(kTextCannotReadFile) + read.error);
        return false;
    }
    m_limits = read.limits;
    applyLoRaLimits(table(), m_limits);
    if (m_limits.MaxPayloadSize == 0)
        messages().showWarning(text(lora::kTextPayloadNotSet));
    return true;
}

Faults TFLoRa_Set_Access::checkRules() const
{
    return checkLoRaAccess(table(), m_limits);
}

} // namespace swz
