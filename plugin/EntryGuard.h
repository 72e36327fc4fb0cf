#pragma once
// Runs an entry point's body under the standard floating-point settings,
// inside a host frame, so that calls back into the host run under the
// host's settings; any error ends there and gives the fallback result.

#include "plugin/PlugInUtils.h"
#include "runtime/FloatEnv.h"

template <typename R, typename F>
R Guarded(R fallback, F&& body) noexcept {
  TFloatEnvGuard guard;
  const THostFrame host(guard);
  try {
    return body();
  } catch (...) {
    return fallback;
  }
}

template <typename F>
void Guarded(F&& body) noexcept {
  TFloatEnvGuard guard;
  const THostFrame host(guard);
  try {
    body();
  } catch (...) {
  }
}
