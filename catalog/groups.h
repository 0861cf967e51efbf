// The repairs and checks of each group, as the catalogue calls them.
#pragma once

#include "catalog/catalog.h"

namespace corrivo::groups {

// Fills `plan` with Fix<ID>'s plan and answers true when `id` belongs to the group.
bool Plan1(int id, const FixArgs& args, Plan* plan);  // 101-110
bool Plan2(int id, const FixArgs& args, Plan* plan);  // 201-210
bool Plan3(int id, const FixArgs& args, Plan* plan);  // 301-310
bool Plan4(int id, const FixArgs& args, Plan* plan);  // 401-410
bool Plan5(int id, const FixArgs& args, Plan* plan);  // 501-510
bool Plan6(int id, const FixArgs& args, Plan* plan);  // 601-616
bool Plan7(int id, const FixArgs& args, Plan* plan);  // 701-702

// Runs Check<ID> into `problem` and answers true when `id` has a check in the group.
bool Check1(int id, const FixArgs& args, bool* problem);
bool Check2(int id, const FixArgs& args, bool* problem);
bool Check3(int id, const FixArgs& args, bool* problem);
bool Check4(int id, const FixArgs& args, bool* problem);
bool Check5(int id, const FixArgs& args, bool* problem);

}  // namespace corrivo::groups
