#include "catalog/groups.h"

namespace corrivo::groups {

bool Plan2(int id, const FixArgs& args, Plan* plan) { return false; }

bool Check2(int id, const FixArgs& args, bool* problem) { return false; }

}  // namespace corrivo::groups
