// Fuzz target: both unit libraries take any call sequence.
//
// The bytes are a sequence of calls of the QAI8 and QAO4 libraries with
// arguments of any value: any unit number, channel count, code format, scan
// speed, averaging count, buffer length, null buffers, calls before
// OpenDriver and after CloseDriver. Every call must give a defined answer.
// The units are those of the libraries without a unit file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_bytes.h"
#include "qai8_2k.h"
#include "qao4_2k.h"

namespace {

using fuzz::Bytes;

// Mostly a small number near the valid range, sometimes any 32-bit value.
int32_t arg(Bytes& in) {
  const uint8_t pick = in.u8();
  return pick < 0xE0 ? static_cast<int32_t>(pick % 20) - 2 : in.i32();
}

char g_text[64];
int16_t g_codes[16];

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  unsetenv("QAI8_UNITS");
  unsetenv("QAO4_UNITS");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  for (int calls = 0; calls < 1024 && !in.empty(); ++calls) {
    const bool null_buffer = (in.u8() & 0x0F) == 0;
    char* text = null_buffer ? nullptr : g_text;
    int16_t* codes = null_buffer ? nullptr : g_codes;
    // buffer lengths within the buffers unless negative or zero
    const int32_t len = arg(in) % static_cast<int32_t>(sizeof g_text);
    switch (in.u8() % 21) {
      case 0: Qai8_OpenDriver(); break;
      case 1: Qai8_CloseDriver(); break;
      case 2: Qai8_Get_Libver(text, len); break;
      case 3: Qai8_Get_Firmver(arg(in), text, len); break;
      case 4: Qai8_Get_Din(arg(in)); break;
      case 5: Qai8_Get_DoutMon(arg(in)); break;
      case 6: Qai8_Set_Dout(arg(in), arg(in)); break;
      case 7: Qai8_Set_AdCode(arg(in), arg(in)); break;
      case 8: Qai8_Set_ScanSpeed(arg(in), arg(in)); break;
      case 9: Qai8_Set_MultiScan(arg(in), arg(in)); break;
      case 10: Qai8_Get_AdValue(arg(in), arg(in), codes); break;  // CH beyond 16 is refused
      case 11: Qao4_OpenDriver(); break;
      case 12: Qao4_CloseDriver(); break;
      case 13: Qao4_Get_Libver(text, len); break;
      case 14: Qao4_Get_Firmver(arg(in), text, len); break;
      case 15: Qao4_Get_Din(arg(in)); break;
      case 16: Qao4_Get_DoutMon(arg(in)); break;
      case 17: Qao4_Set_Dout(arg(in), arg(in)); break;
      case 18: Qao4_Set_DaCode(arg(in), arg(in)); break;
      case 19: Qao4_Set_DaValue(arg(in), arg(in), codes); break;
      case 20: Qao4_Get_DaValue(arg(in), arg(in), codes); break;
    }
  }
  Qai8_CloseDriver();
  Qao4_CloseDriver();
  return 0;
}
