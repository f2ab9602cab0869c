#pragma once

#include "common/rule_table_window.h"
#include "lorawan/lora_access.h"

namespace swz {

// The LoRaWAN uplink and downlink rules of the active project.
class TFLoRa_Set_Access final : public RuleTableWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFLoRa_Set_Access)

public:
    // parGenFile gives the path of the project's communication parameters, read at each
    // opening for the FPort mode and the payload size.
    TFLoRa_Set_Access(RuleTableContext context, std::function<QString()> parGenFile,
                      QWidget *parent = nullptr);

    Faults checkRules() const override;

    void Btn_OKClick() { okClicked(); }
    void Btn_DelRowClick() { deleteRowClicked(); }

    qint32 MaxPayloadSize() const { return m_limits.MaxPayloadSize; }
    bool FPortFixed() const { return m_limits.FPortFixed; }
    bool Do_Copy_Uplink() const { return table().copied(lora::kUplink); }
    bool Do_Copy_Downlink() const { return table().copied(lora::kDownlink); }

protected:
    bool prepareGrids() override;

private:
    std::function<QString()> m_parGenFile;
    LoRaAccessLimits m_limits;
};

} // namespace swz
