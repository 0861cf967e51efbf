#include "widgets/scroll_rules.h"

#include <algorithm>

namespace corrivo::ui {

int ScrollRange(int contentHeight, int viewportHeight) {
  return std::max(0, contentHeight - viewportHeight);
}

int ClampScroll(int position, int range) { return std::clamp(position, 0, std::max(0, range)); }

int WheelScroll(int position, int wheelDelta, int range) {
  if (wheelDelta >= 0) return std::max(0, position - kWheelStep);
  return std::min(std::max(0, range), position + kWheelStep);
}

Thumb ThumbFor(int trackLength, int viewportHeight, int contentHeight, int position) {
  const int range = ScrollRange(contentHeight, viewportHeight);
  if (range == 0 || contentHeight <= 0 || trackLength <= 0) return {0, trackLength};
  int length = static_cast<int>(static_cast<long long>(trackLength) * viewportHeight / contentHeight);
  length = std::clamp(length, std::min(kMinThumb, trackLength), trackLength);
  const int travel = trackLength - length;
  const int top =
      static_cast<int>(static_cast<long long>(travel) * ClampScroll(position, range) / range);
  return {top, length};
}

int PositionForThumb(int trackLength, int viewportHeight, int contentHeight, int thumbTop) {
  const int range = ScrollRange(contentHeight, viewportHeight);
  const Thumb t = ThumbFor(trackLength, viewportHeight, contentHeight, 0);
  const int travel = trackLength - t.length;
  if (range == 0 || travel <= 0) return 0;
  const long long raw = static_cast<long long>(thumbTop) * range;
  return ClampScroll(static_cast<int>((raw + travel / 2) / travel), range);
}

}  // namespace corrivo::ui
