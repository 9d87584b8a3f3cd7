// qai_panel: the A/D unit panel's handlers (code format, scan speed,
// averaging, channel reads, continuous reading) on top of the shared frame.
#pragma once

#include <cstdint>
#include <string>

#include "dialog_template.h"
#include "unit_panel.h"

namespace panels {

struct Qai8Library {
  UnitLibrary unit;
  int32_t (*Set_AdCode)(int32_t RotSw, int32_t code);
  int32_t (*Set_ScanSpeed)(int32_t RotSw, int32_t speed);
  int32_t (*Set_MultiScan)(int32_t RotSw, int32_t AveNum);
  int32_t (*Get_AdValue)(int32_t RotSw, int32_t CH, int16_t* AdVal);
};

extern const Qai8Library kQai8Library;  // libqai8_2k
extern const DialogTemplate kQaiTemplate;
extern const HelpFiles kQaiHelpFiles;

namespace qai {
constexpr int kScanSpeedSet = 1022;
constexpr int kAveNumSet = 1023;
constexpr int kScanSpeedBox = 1024;
constexpr int kAveNumBox = 1025;
constexpr int kChannels = 8;
constexpr int kReadsEvery = 6;  // timer ticks per continuous read

struct ChannelRow {
  int hex_box, decimal_box, millivolt_box, button;
};
extern const ChannelRow kChannelRows[kChannels];

// The three box texts of one channel value.
struct ChannelTexts {
  std::string decimal, hex, millivolts;
};
ChannelTexts format_channel(int16_t code, int32_t code_format, float lsb_microvolts);
}  // namespace qai

class QaiPanel : public PanelHandlers {
 public:
  QaiPanel(DialogPort& port, const Qai8Library& library, HelpOpener opener);

  void start() override;
  void command(int id) override;
  void tick() override;
  int32_t indicator_state(int id) const override { return frame_.indicator_state(id); }

  void ReadAdChannels(int32_t n);
  int32_t code_format() const { return codeFormat_; }
  int32_t tick_count() const { return tickCount_; }
  UnitPanel& frame() { return frame_; }

 private:
  void select_code(int32_t code);
  void set_scanning(int id);

  DialogPort& port_;
  const Qai8Library& library_;
  UnitPanel frame_;
  int32_t codeFormat_ = 0;
  float lsbMicrovolts_ = 312.5f;
  int32_t tickCount_ = 0;
};

}  // namespace panels
