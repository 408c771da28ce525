#include "view/zoom_steps.h"

#include <algorithm>

namespace trivenor::zoom {

int Clamped(int percent) {
  return std::clamp(percent, kMinimum, kMaximum);
}

int Larger(int percent) {
  for (const int step : kSteps) {
    if (step > percent) {
      return step;
    }
  }
  return kMaximum;
}

int Smaller(int percent) {
  int smaller = kMinimum;
  for (const int step : kSteps) {
    if (step < percent) {
      smaller = step;
    }
  }
  return smaller;
}

}  // namespace trivenor::zoom
