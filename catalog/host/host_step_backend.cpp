// On Linux builds there is no shell, no home-page component and no Internet Options module.
#include "catalog/step_backend.h"

namespace corrivo {

SpecialStepBackend& PlatformSpecialStepBackend() {
  static NullSpecialStepBackend backend;
  return backend;
}

}  // namespace corrivo
