#pragma once

#include "canopen/canopen_rules.h"
#include "common/rule_table_window.h"

namespace swz {

// What the three CANopen rule windows share beyond every rule table: the two array sizes set
// at each opening and the names of their OK and delete handlers.
class CanopenRulesWindow : public RuleTableWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CanopenRulesWindow)

public:
    using Check = Faults (*)(const RuleTable &, qint32, qint32);

    CanopenRulesWindow(const RuleTableDefinition &definition, Check check,
                       RuleTableContext context, QWidget *parent);

    Faults checkRules() const override { return m_check(table(), NByte_IN, NByte_OUT); }
    void Btn_OK_Click() { okClicked(); }
    void Btn_DelRow_Click() { deleteRowClicked(); }

    qint32 NByte_IN = kCanopenArrayBytes;
    qint32 NByte_OUT = kCanopenArrayBytes;

protected:
    bool prepareGrids() override;

private:
    Check m_check;
};

class TFSet_SDO_Server_Access final : public CanopenRulesWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFSet_SDO_Server_Access)

public:
    explicit TFSet_SDO_Server_Access(RuleTableContext context, QWidget *parent = nullptr);
    bool Do_Copy_SDO_Read() const { return table().copied(0); }
    bool Do_Copy_SDO_Write() const { return table().copied(1); }
};

class TFSet_SDO_Client_Access final : public CanopenRulesWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFSet_SDO_Client_Access)

public:
    explicit TFSet_SDO_Client_Access(RuleTableContext context, QWidget *parent = nullptr);
    bool Do_Copy_SDO_Read() const { return table().copied(0); }
    bool Do_Copy_SDO_Write() const { return table().copied(1); }
};

class TFSet_PDO_Access final : public CanopenRulesWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFSet_PDO_Access)

public:
    explicit TFSet_PDO_Access(RuleTableContext context, QWidget *parent = nullptr);
    bool Do_Copy_Receive_PDO() const { return table().copied(0); }
    bool Do_Copy_Transmit_PDO() const { return table().copied(1); }
};

} // namespace swz
