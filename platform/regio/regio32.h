/* Port-I/O driver interface of the analog-input boards.
 *
 * The programs link to the driver library by name (Regio32.dll on Windows,
 * libregio32.so on Linux); the library built here is the simulated bench,
 * and any library of that name that implements these calls can take its
 * place at run time. All values are 32-bit integers, as the maker's library
 * takes them. */
#ifndef REGIO32_H
#define REGIO32_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define REGIO_SLOTS 8

/* The calling convention of every call. A 32-bit Windows driver library
 * offers __stdcall, the convention that every language of the platform can
 * call (the callee pops the arguments), under undecorated export names;
 * regio32.def lists the calls for the import library. Another convention
 * is set here alone (and the @n suffixes in regio32.def follow it). Linux
 * and 64-bit Windows have one convention, so it is empty there. */
#if defined(_WIN32) && !defined(_WIN64)
#define REGIO_CALL __stdcall
#else
#define REGIO_CALL
#endif

int32_t REGIO_CALL Open_Driver(int32_t* device_table); /* REGIO_SLOTS slots, preset to -1 */
int32_t REGIO_CALL Start_Driver(int32_t slot, int32_t mode, int32_t* io_base);
int32_t REGIO_CALL Stop_Driver(int32_t io_base);
int32_t REGIO_CALL Close_Driver(void);
int32_t REGIO_CALL ReadByte(int32_t io_base, int32_t offset);
void REGIO_CALL WriteByte(int32_t io_base, int32_t offset, int32_t value);
int32_t REGIO_CALL ReadWord(int32_t io_base, int32_t offset);
void REGIO_CALL WriteWord(int32_t io_base, int32_t offset, int32_t value);
void REGIO_CALL ReadByteBlock(int32_t io_base, int32_t offset, int32_t count, uint8_t* buffer);
void REGIO_CALL ReadWordBlock(int32_t io_base, int32_t offset, int32_t count, uint16_t* buffer);

/* Offered by the simulated bench only. Regio_Tick_ms reads its virtual
 * clock in milliseconds, as the platform's tick counter would (32 bits,
 * wrapping); the tick function looks it up at run time and falls back to the
 * monotonic clock when the loaded library has none. Regio_Clock_ns advances
 * the clock by advance_ns nanoseconds and returns it, for tests that step
 * time. */
uint32_t REGIO_CALL Regio_Tick_ms(void);
uint64_t REGIO_CALL Regio_Clock_ns(uint64_t advance_ns);

#ifdef __cplusplus
}
#endif

#endif
