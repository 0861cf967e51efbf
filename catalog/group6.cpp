// Repairs 601-616.
#include "catalog/groups.h"

namespace corrivo::groups {

bool Plan6(int id, const FixArgs& args, Plan* plan) { return false; }

}  // namespace corrivo::groups
