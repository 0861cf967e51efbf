// Repairs 501-510.
#include "catalog/groups.h"

namespace corrivo::groups {

bool Plan5(int id, const FixArgs& args, Plan* plan) { return false; }

bool Check5(int id, const FixArgs& args, bool* problem) { return false; }

}  // namespace corrivo::groups
