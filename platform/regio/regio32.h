/* Port-I/O driver interface of the analog-input boards.
 *
 * The programs link to libregio32.so by name; the library built here is the
 * simulated bench, and any library of that name that implements these calls
 * can take its place at run time. All values are 32-bit integers, as the
 * maker's library takes them. */
#ifndef REGIO32_H
#define REGIO32_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define REGIO_SLOTS 8

int32_t Open_Driver(int32_t* device_table); /* REGIO_SLOTS slots, preset to -1 */
int32_t Start_Driver(int32_t slot, int32_t mode, int32_t* io_base);
int32_t Stop_Driver(int32_t io_base);
int32_t Close_Driver(void);
int32_t ReadByte(int32_t io_base, int32_t offset);
void WriteByte(int32_t io_base, int32_t offset, int32_t value);
int32_t ReadWord(int32_t io_base, int32_t offset);
void WriteWord(int32_t io_base, int32_t offset, int32_t value);
void ReadByteBlock(int32_t io_base, int32_t offset, int32_t count, uint8_t* buffer);
void ReadWordBlock(int32_t io_base, int32_t offset, int32_t count, uint16_t* buffer);

/* Offered by the simulated bench only. Regio_Tick_ms reads its virtual
 * clock in milliseconds, as the platform's tick counter would (32 bits,
 * wrapping); the tick function looks it up at run time and falls back to the
 * monotonic clock when the loaded library has none. Regio_Clock_ns advances
 * the clock by advance_ns nanoseconds and returns it, for tests that step
 * time. */
uint32_t Regio_Tick_ms(void);
uint64_t Regio_Clock_ns(uint64_t advance_ns);

#ifdef __cplusplus
}
#endif

#endif
