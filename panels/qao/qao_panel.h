// qao_panel: the D/A unit panel's handlers (code format, writing channels
// from the decimal boxes, reading them back, the live hexadecimal display)
// on top of the shared frame.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dialog_template.h"
#include "unit_panel.h"

namespace panels {

struct Qao4Library {
  UnitLibrary unit;
  int32_t (*Set_DaCode)(int32_t RotSw, int32_t code);
  int32_t (*Set_DaValue)(int32_t RotSw, int32_t CH, const int16_t* Da_Val);
  int32_t (*Get_DaValue)(int32_t RotSw, int32_t CH, int16_t* DaVal);
};

extern const Qao4Library kQao4Library;  // libqao4_2k
extern const DialogTemplate kQaoTemplate;
extern const HelpFiles kQaoHelpFiles;

namespace qao {
constexpr int kChannels = 4;

struct Row {
  int hex_box, decimal_box, button;
};
extern const Row kOutputRows[kChannels];
extern const Row kReadbackRows[kChannels];

// A decimal box's text as the D/A code it sends: the leading decimal
// integer's low 16 bits, taken as signed.
int16_t da_code(std::string_view text);
// The hexadecimal box's text for a decimal box's text: the 16 bits in "%X".
std::string hex_of_decimal(std::string_view text);
}  // namespace qao

class QaoPanel : public PanelHandlers {
 public:
  QaoPanel(DialogPort& port, const Qao4Library& library, HelpOpener opener);

  void start() override;
  void command(int id) override;
  void edit_changed(int id) override;  // UpdateHexBox
  int32_t indicator_state(int id) const override { return frame_.indicator_state(id); }

  void WriteDaChannels(int32_t n);
  void ReadDaChannels(int32_t n);
  UnitPanel& frame() { return frame_; }

 private:
  void select_code(int32_t code);

  DialogPort& port_;
  const Qao4Library& library_;
  UnitPanel frame_;
};

}  // namespace panels
