/* Library interface of the QAI8 analog-input unit. Negative results of the
 * I/O calls are failure codes; 0 is success for open, close and versions. */
#ifndef QAI8_2K_H
#define QAI8_2K_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

int32_t Qai8_OpenDriver(void);
int32_t Qai8_CloseDriver(void);
int32_t Qai8_Get_Libver(char* Dll_Ver, int32_t len);
int32_t Qai8_Get_Firmver(int32_t RotSw, char* F_Ver, int32_t len);
int32_t Qai8_Get_Din(int32_t RotSw);
int32_t Qai8_Get_DoutMon(int32_t RotSw);
int32_t Qai8_Set_Dout(int32_t RotSw, int32_t state);
int32_t Qai8_Set_AdCode(int32_t RotSw, int32_t code);
int32_t Qai8_Set_ScanSpeed(int32_t RotSw, int32_t speed);
int32_t Qai8_Set_MultiScan(int32_t RotSw, int32_t AveNum);
int32_t Qai8_Get_AdValue(int32_t RotSw, int32_t CH, int16_t* AdVal);

#ifdef __cplusplus
}
#endif

#endif
