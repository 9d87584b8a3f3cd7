#include "unit_panel.h"

#include "panel_text.h"

namespace panels {
namespace {

// clang-format off
//                              id              header                              call                                     success                   failure prefix
constexpr Operation kOpenOp    {ctl::kOpen,     "ＤＬＬオープン・・・",             "OpenDriver()",                          "　オープン成功",         "　オープン失敗:"};
constexpr Operation kCloseOp   {ctl::kClose,    "ＤＬＬクローズ・・・",             "CloseDriver()",                         "　クローズ成功",         "　クローズ失敗："};
constexpr Operation kLibverOp  {ctl::kLibver,   "ＤＬＬバージョンの読み出し・・・", "Get_Libver(Dll_Ver, Len(Dll_Ver))",     "　読み出し成功：",       "　読み出し失敗："};
constexpr Operation kFirmverOp {ctl::kFirmver,  "ファームバージョン読み出し・・・", "Get_Firmver(RotSw, F_Ver, Len(F_Ver))", "　読み出し成功：",       "　読み出し失敗："};
constexpr Operation kDinOp     {ctl::kDinRead,  "入力の読み取り・・・",             "Get_Din(RotSw)",                        "　読み取り成功：入力は", "　読み取り失敗："};
constexpr Operation kDoutMonOp {ctl::kDoutRead, "出力の読み取り・・・",             "Get_DoutMon(RotSw)",                    "　読み取り成功：出力は", "　読み取り失敗："};
constexpr Operation kDoutOnOp  {ctl::kDoutOn,   "出力をONにする・・・",             "Set_Dout(RotSw, 1)",                    "　出力制御成功：ON",     "　出力制御失敗："};
constexpr Operation kDoutOffOp {ctl::kDoutOff,  "出力をOFFにする・・・",            "Set_Dout(RotSw, 0)",                    "　出力制御成功：OFF",    "　出力制御失敗："};
// clang-format on

constexpr const char* kCallLine = "　関数呼び出し：ret = ";

}  // namespace

OperationBlock::OperationBlock(const Operation& op, std::string_view prefix) : op_(op) {
  text_.reserve(256);
  text_ += op.header;
  text_ += "\r\n";
  text_ += kCallLine;
  text_ += prefix;
  text_ += op.call;
  text_ += "\r\n";
}

void OperationBlock::succeeded(std::string_view detail) {
  text_ += op_.success;
  text_ += detail;
  text_ += "\r\n";
}

void OperationBlock::failed(int32_t ret) {
  text_ += op_.failure;
  text_ += ErrorText(ret);
  text_ += "\r\n";
}

UnitPanel::UnitPanel(DialogPort& port, const UnitLibrary& library, HelpFiles help, HelpOpener opener)
    : port_(port), library_(library), help_(help), opener_(std::move(opener)), log_(port, ctl::kLog) {}

int32_t UnitPanel::read_rotsw() const { return parse_leading_int(port_.text(ctl::kRotSw)); }

int32_t UnitPanel::indicator_state(int id) const {
  if (id == ctl::kInputLamp) return inputState_;
  if (id == ctl::kOutputLamp) return outputState_;
  return kNotRead;
}

bool UnitPanel::command(int id) {
  switch (id) {
    case ctl::kFuncHelp: opener_(help_.functions); return true;
    case ctl::kErrorHelp: opener_(help_.error_codes); return true;
    case ctl::kOpen: open_or_close(kOpenOp, library_.OpenDriver); return true;
    case ctl::kClose: open_or_close(kCloseOp, library_.CloseDriver); return true;
    case ctl::kLibver: version(kLibverOp, ctl::kLibverBox, false); return true;
    case ctl::kFirmver: version(kFirmverOp, ctl::kFirmverBox, true); return true;
    case ctl::kDinRead: read_digital(kDinOp, library_.Get_Din, inputState_); return true;
    case ctl::kDoutRead: read_digital(kDoutMonOp, library_.Get_DoutMon, outputState_); return true;
    case ctl::kDoutOn: set_output(kDoutOnOp, 1); return true;
    case ctl::kDoutOff: set_output(kDoutOffOp, 0); return true;
    default: return false;
  }
}

// Open and close succeed only with 0.
void UnitPanel::open_or_close(const Operation& op, int32_t (*call)()) {
  OperationBlock block(op, library_.prefix);
  const int32_t ret = call();
  if (ret == 0)
    block.succeeded();
  else
    block.failed(ret);
  log_.append(block.text());
}

// Version reads succeed only with 0. The library may fill all 50 bytes
// without a NUL; the text then ends at the buffer's end.
void UnitPanel::version(const Operation& op, int box_id, bool firmware) {
  const int32_t rotsw = firmware ? read_rotsw() : 0;
  OperationBlock block(op, library_.prefix);
  char buffer[kVersionBufferSize] = {};
  const int32_t ret = firmware ? library_.Get_Firmver(rotsw, buffer, kVersionBufferSize)
                               : library_.Get_Libver(buffer, kVersionBufferSize);
  if (ret == 0) {
    const std::string version = buffer_text(buffer, sizeof buffer);
    block.succeeded(version);
    port_.set_text(box_id, version);
  } else {
    block.failed(ret);
    port_.set_text(box_id, kUnknownVersion);
  }
  log_.append(block.text());
}

// Digital reads fail only with a negative result; positive means ON. The
// dialog repaints whatever the outcome, so the indicator shows its state.
void UnitPanel::read_digital(const Operation& op, int32_t (*call)(int32_t), int32_t& state) {
  const int32_t rotsw = read_rotsw();
  OperationBlock block(op, library_.prefix);
  const int32_t ret = call(rotsw);
  if (ret >= 0) {
    state = ret > 0 ? kOn : kOff;
    block.succeeded(ret > 0 ? "ON" : "OFF");
  } else {
    block.failed(ret);
  }
  port_.repaint_indicators();
  log_.append(block.text());
}

// Switching the output leaves the output indicator alone: only a readback
// changes it.
void UnitPanel::set_output(const Operation& op, int32_t state) {
  const int32_t rotsw = read_rotsw();
  OperationBlock block(op, library_.prefix);
  const int32_t ret = library_.Set_Dout(rotsw, state);
  if (ret >= 0)
    block.succeeded();
  else
    block.failed(ret);
  log_.append(block.text());
}

}  // namespace panels
