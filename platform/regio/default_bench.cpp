// The bench with no bench file: every program finds healthy boards of its own
// model, from slot 0 up. A twin-model self-test finds one board of each model
// of its pair, the HM model first.
#include <iterator>

#include "bench.h"

namespace regio {

namespace {

struct DefaultRow {
  std::string_view program;
  std::string_view boards[3];  // slots 0, 1, 2; empty: no board
};

// clang-format off
constexpr DefaultRow kDefaults[] = {
// program       slot 0         slot 1         slot 2
{ "vx424chk",   { "VX-424",     "VX-424"               } },
{ "hm230chk",   { "VX-426",     "VX-426"               } },
{ "vx412chk",   { "VX-412",     "VX-412"               } },
{ "vx420chk",   { "VX-420",     "VX-420"               } },
{ "vx416chk",   { "VX-416",     "VX-416"               } },
{ "vx422chk",   { "VX-422",     "VX-422"               } },
{ "vx414chk",   { "VX-414",     "VX-414"               } },
{ "vx410chk",   { "VX-410",     "VX-410"               } },
{ "vx428chk",   { "VX-428",     "VX-428"               } },
{ "vx418chk",   { "VX-418",     "VX-418"               } },
{ "vx426chk",   { "VX-426",     "VX-426"               } },
{ "hm236diag",  { "HM-236",     "VX-428"               } },
{ "vx420diag",  { "VX-420",     "VX-420"               } },
{ "vx414diag",  { "VX-414",     "VX-414"               } },
{ "vx424diag",  { "VX-424",     "VX-424"               } },
{ "hm230diag",  { "HM-230-8MW", "HM-230-16MW", "VX-426" } },
{ "vx412diag",  { "VX-412",     "VX-412"               } },
{ "vx418diag",  { "VX-418",     "VX-418"               } },
{ "vx424bdiag", { "VX-424B",    "VX-424B"              } },
{ "vx416diag",  { "VX-416",     "VX-416"               } },
{ "hm232diag",  { "HM-232",     "VX-420"               } },
{ "hm234diag",  { "HM-234",     "VX-422"               } },
{ "vx410diag",  { "VX-410",     "VX-410"               } },
{ "vx422diag",  { "VX-422",     "VX-422"               } },
{ "dx510diag",  { "DX-510",     "DX-510"               } },
};
// clang-format on

}  // namespace

BenchSetup default_bench(std::string_view program) {
  BenchSetup bench;
  for (const DefaultRow& row : kDefaults) {
    if (row.program != program) continue;
    for (size_t slot = 0; slot < std::size(row.boards); ++slot) {
      if (!row.boards[slot].empty()) bench.slots[slot].model = find_model(row.boards[slot]);
    }
  }
  return bench;
}

}  // namespace regio
