// Reads arbitrary settings-file bytes the way the plug-in does, for every
// key it asks for and for names taken from the input itself: it must end in
// a value of at most kProfileValueMax characters, never a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "plugin/ProfileText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  struct { std::string_view section, key; } const reads[] = {
      {"PlugInHeader", "PlugInHint"}, {"GroupDescription", "1"}, {"GroupDescription", "2"},
      {"CommandDescription", "vktCalcExpress"}, {"", ""}, {content.substr(0, 8), content.substr(size < 8 ? size : 8, 8)}};
  for (const auto& r : reads)
    if (FindProfileValue(content, r.section, r.key, "default").size() > kProfileValueMax) std::abort();
  return 0;
}
