#include "canopen/canopen_windows.h"

namespace swz {

CanopenRulesWindow::CanopenRulesWindow(const RuleTableDefinition &definition, Check check,
                                       RuleTableContext context, QWidget *parent)
    : RuleTableWindow(definition, std::move(context), parent)
    , m_check(check)
{
}

bool CanopenRulesWindow::prepareGrids()
{
    NByte_IN = kCanopenArrayBytes;
    NByte_OUT = kCanopenArrayBytes;
    return RuleTableWindow::prepareGrids();
}

TFSet_SDO_Server_Access::TFSet_SDO_Server_Access(RuleTableContext context, QWidget *parent)
    : CanopenRulesWindow(sdoServerDefinition(), &checkSdoServer, std::move(context), parent)
{
}

TFSet_SDO_Client_Access::TFSet_SDO_Client_Access(RuleTableContext context, QWidget *parent)
    : CanopenRulesWindow(sdoClientDefinition(), &checkSdoClient, std::move(context), parent)
{
}

TFSet_PDO_Access::TFSet_PDO_Access(RuleTableContext context, QWidget *parent)
    : CanopenRulesWindow(pdoDefinition(), &checkPdo, std::move(context), parent)
{
}

} // namespace swz
