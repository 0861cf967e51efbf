// Repairs 401-410.
#include "catalog/groups.h"

namespace corrivo::groups {

bool Plan4(int id, const FixArgs& args, Plan* plan) { return false; }

bool Check4(int id, const FixArgs& args, bool* problem) { return false; }

}  // namespace corrivo::groups
