// qai_panel's calls bound to libqai8_2k.
#include "qai8_2k.h"
#include "qai_panel.h"

namespace panels {

const Qai8Library kQai8Library = {
    {"Qai8_", Qai8_OpenDriver, Qai8_CloseDriver, Qai8_Get_Libver, Qai8_Get_Firmver, Qai8_Get_Din, Qai8_Get_DoutMon,
     Qai8_Set_Dout},
    Qai8_Set_AdCode,
    Qai8_Set_ScanSpeed,
    Qai8_Set_MultiScan,
    Qai8_Get_AdValue,
};

}  // namespace panels
