/* Library interface of the QAO4 analog-output unit. Negative results of the
 * I/O calls are failure codes; 0 is success for open, close and versions. */
#ifndef QAO4_2K_H
#define QAO4_2K_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

int32_t Qao4_OpenDriver(void);
int32_t Qao4_CloseDriver(void);
int32_t Qao4_Get_Libver(char* Dll_Ver, int32_t len);
int32_t Qao4_Get_Firmver(int32_t RotSw, char* F_Ver, int32_t len);
int32_t Qao4_Get_Din(int32_t RotSw);
int32_t Qao4_Get_DoutMon(int32_t RotSw);
int32_t Qao4_Set_Dout(int32_t RotSw, int32_t state);
int32_t Qao4_Set_DaCode(int32_t RotSw, int32_t code);
int32_t Qao4_Set_DaValue(int32_t RotSw, int32_t CH, const int16_t* Da_Val);
int32_t Qao4_Get_DaValue(int32_t RotSw, int32_t CH, int16_t* DaVal);

#ifdef __cplusplus
}
#endif

#endif
