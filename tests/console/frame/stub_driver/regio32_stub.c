/* Another driver library of the same name: one VX-424 in slot 2 that
 * answers only its board ID, a one-sample FIFO (a manual sampling read fills
 * it, a data read empties it) and a status register with the full flag
 * latched and the below-half bit set (0x06, and 0x01 while the FIFO holds
 * its sample); and no clock. */
#include "regio32.h"

#include <stddef.h>

int32_t Open_Driver(int32_t *device_table) {
  device_table[2] = 0x10A;
  return 0;
}

int32_t Start_Driver(int32_t slot, int32_t mode, int32_t *io_base) {
  if (slot != 2 || mode != 2 || io_base == NULL) return 99;
  *io_base = 0x300;
  return 0;
}

int32_t Stop_Driver(int32_t io_base) { return io_base == 0x300 ? 0 : 98; }
int32_t Close_Driver(void) { return 0; }
static int fifo_full = 0;

int32_t ReadByte(int32_t io_base, int32_t offset) {
  if (io_base != 0x300) return 0;
  switch (offset) {
    case 0x00: fifo_full = 0; return 0;
    case 0x05: return 0x06 | fifo_full;
    case 0x06: fifo_full = 1; return 0;
    case 0x07: return 0x11;
    default: return 0;
  }
}
void WriteByte(int32_t io_base, int32_t offset, int32_t value) { (void)io_base, (void)offset, (void)value; }
int32_t ReadWord(int32_t io_base, int32_t offset) { return ReadByte(io_base, offset); }
void WriteWord(int32_t io_base, int32_t offset, int32_t value) { (void)io_base, (void)offset, (void)value; }
void ReadByteBlock(int32_t io_base, int32_t offset, int32_t count, uint8_t *buffer) {
  for (int32_t i = 0; i < count; ++i) buffer[i] = (uint8_t)ReadByte(io_base, offset);
}
void ReadWordBlock(int32_t io_base, int32_t offset, int32_t count, uint16_t *buffer) {
  for (int32_t i = 0; i < count; ++i) buffer[i] = (uint16_t)ReadWord(io_base, offset);
}
