// qao_panel's calls bound to libqao4_2k.
#include "qao4_2k.h"
#include "qao_panel.h"

namespace panels {

const Qao4Library kQao4Library = {
    {"Qao4_", Qao4_OpenDriver, Qao4_CloseDriver, Qao4_Get_Libver, Qao4_Get_Firmver, Qao4_Get_Din, Qao4_Get_DoutMon,
     Qao4_Set_Dout},
    Qao4_Set_DaCode,
    Qao4_Set_DaValue,
    Qao4_Get_DaValue,
};

}  // namespace panels
