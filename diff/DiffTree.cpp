#include "diff/DiffTree.h"

#include "calc/NumberText.h"

TNodeTable::TNodeTable() { FNodes[0] = TTree{0, 0, 0, 0, dkEnd, tsFormula, 0}; }

long double TNodeTable::ConvertAndKeep(int index) {
  const long double value = TextToNumberUnguarded(Text(index));
  SetValue(index, value);
  return value;
}

void TNodeTable::SetValue(int index, long double value) {
  // Always a new entry: copies of a node may share its entry.
  FValues.push_back(value);
  (*this)[index].Slot = static_cast<std::uint16_t>(FValues.size());
}
