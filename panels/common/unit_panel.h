// The panel frame shared by qai_panel and qao_panel: the eight buttons of the
// left column (library open and close, versions, digital I/O), the two help
// commands, the indicator states and the message log. Free of widget code:
// everything goes through DialogPort.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "dialog_port.h"
#include "message_log.h"

namespace panels {

// Control and command ids common to both dialogs.
namespace ctl {
constexpr int kFuncHelp = 1000;   // command only: open the function help text
constexpr int kErrorHelp = 1001;  // command only: open the error-code help text
constexpr int kOpen = 1002;
constexpr int kClose = 1003;
constexpr int kLibver = 1004;
constexpr int kLibverBox = 1005;
constexpr int kContinuous = 1006;  // qai_panel only
constexpr int kRotSw = 1007;
constexpr int kLog = 1009;
constexpr int kDinRead = 1010;
constexpr int kDoutOn = 1012;
constexpr int kDoutOff = 1013;
constexpr int kInputLamp = 1014;
constexpr int kDoutRead = 1015;
constexpr int kOutputLamp = 1017;
constexpr int kTwosComplement = 1020;
constexpr int kOffsetBinary = 1021;
constexpr int kFirmver = 1096;
constexpr int kFirmverBox = 1097;
}  // namespace ctl

// Indicator states.
constexpr int32_t kOff = 0;
constexpr int32_t kOn = 1;
constexpr int32_t kNotRead = 99;

// The calls both unit libraries have, bound to one library.
struct UnitLibrary {
  const char* prefix;  // "Qai8_" or "Qao4_", as the call lines show it
  int32_t (*OpenDriver)();
  int32_t (*CloseDriver)();
  int32_t (*Get_Libver)(char* Dll_Ver, int32_t len);
  int32_t (*Get_Firmver)(int32_t RotSw, char* F_Ver, int32_t len);
  int32_t (*Get_Din)(int32_t RotSw);
  int32_t (*Get_DoutMon)(int32_t RotSw);
  int32_t (*Set_Dout)(int32_t RotSw, int32_t state);
};

// Opens a help file, given relative to the current directory, in the
// desktop's viewer for text files. Its outcome is not looked at.
using HelpOpener = std::function<void(const std::string& path)>;

struct HelpFiles {
  const char* functions;    // command 1000
  const char* error_codes;  // command 1001
};

// One button's operation block texts.
struct Operation {
  int id;
  const char* header;   // title line, without CR LF
  const char* call;     // the call as the call line shows it, without the unit prefix
  const char* success;  // success outcome (its fixed part), without CR LF
  const char* failure;  // failure prefix, followed by ErrorText(ret)
};

// Builds one operation block: header line, call line, outcome line.
class OperationBlock {
 public:
  OperationBlock(const Operation& op, std::string_view prefix);
  void succeeded(std::string_view detail = {});  // success text + detail + CR LF
  void failed(int32_t ret);                      // failure prefix + ErrorText(ret) + CR LF
  std::string& text() { return text_; }

 private:
  const Operation& op_;
  std::string text_;
};

// What the Qt dialog calls on the panel.
class PanelHandlers {
 public:
  virtual ~PanelHandlers() = default;
  virtual void start() = 0;                        // dialog start: initial texts
  virtual void command(int id) = 0;                // a button, radio button or help command
  virtual void edit_changed(int id) { (void)id; }  // an edit box's text changed
  virtual void tick() {}                           // the 200 ms timer
  virtual int32_t indicator_state(int id) const = 0;
};

class UnitPanel {
 public:
  static constexpr int32_t kVersionBufferSize = 50;
  static constexpr const char* kUnknownVersion = "…不明…";

  UnitPanel(DialogPort& port, const UnitLibrary& library, HelpFiles help, HelpOpener opener);

  // Runs the handler of a shared command; false when the id is not one.
  bool command(int id);

  int32_t indicator_state(int id) const;
  int32_t read_rotsw() const;  // converted afresh from box 1007
  DialogPort& port() { return port_; }
  MessageLog& log() { return log_; }

 private:
  void open_or_close(const Operation& op, int32_t (*call)());
  void version(const Operation& op, int box_id, bool firmware);
  void read_digital(const Operation& op, int32_t (*call)(int32_t), int32_t& state);
  void set_output(const Operation& op, int32_t state);

  DialogPort& port_;
  const UnitLibrary& library_;
  HelpFiles help_;
  HelpOpener opener_;
  MessageLog log_;
  int32_t inputState_ = kNotRead;
  int32_t outputState_ = kNotRead;
};

}  // namespace panels
