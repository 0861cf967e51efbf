// Repairs 701-702.
#include "catalog/groups.h"

namespace corrivo::groups {

bool Plan7(int id, const FixArgs& args, Plan* plan) { return false; }

}  // namespace corrivo::groups
