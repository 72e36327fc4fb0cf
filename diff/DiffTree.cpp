#include "diff/DiffTree.h"

#include "calc/NumberText.h"

TNodeTable::TNodeTable() { FNodes[0] = TTree{0, 0, 0, 0, dkEnd, tsFormula, 0}; }

long double TNodeTable::ConvertAndKeep(int index) {
  const long double value = TextToNumberUnguarded(Text(index));
  FValues.push_back(value);
  FNodes[index].Slot = static_cast<std::uint16_t>(FValues.size());
  return value;
}
