#pragma once
// The rows of a batch evaluation that failed, in row order: each one's index
// and the message that evaluating that row alone would have raised.

#include <cstddef>
#include <string>
#include <vector>

struct TRowError {
  std::size_t row;
  std::string message;
};

class TRowErrors {
public:
  void Clear() { FErrors.clear(); }
  void Add(std::size_t row, std::string message) { FErrors.push_back({row, std::move(message)}); }

  bool Empty() const { return FErrors.empty(); }
  std::size_t Size() const { return FErrors.size(); }
  const TRowError& operator[](std::size_t i) const { return FErrors[i]; }
  auto begin() const { return FErrors.begin(); }
  auto end() const { return FErrors.end(); }

  // The message of the given row; nullptr when the row did not fail.
  const std::string* Find(std::size_t row) const;

private:
  std::vector<TRowError> FErrors;
};
