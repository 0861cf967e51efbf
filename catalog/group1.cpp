#include "catalog/groups.h"

namespace corrivo::groups {

bool Plan1(int id, const FixArgs& args, Plan* plan) { return false; }

bool Check1(int id, const FixArgs& args, bool* problem) { return false; }

}  // namespace corrivo::groups
