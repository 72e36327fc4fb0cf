#include "calc/RowErrors.h"

#include <algorithm>

const std::string* TRowErrors::Find(std::size_t row) const {
  const auto it = std::lower_bound(FErrors.begin(), FErrors.end(), row,
                                   [](const TRowError& e, std::size_t r) { return e.row < r; });
  return it != FErrors.end() && it->row == row ? &it->message : nullptr;
}
