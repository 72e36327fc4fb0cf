#pragma once
// Fusion of the evaluator's program: the commonest operand patterns become
// single instructions. A fused instruction performs the same operations in
// the same order as the instructions it replaces, so every result keeps its
// bits; it only saves dispatches and stack traffic.

#include <vector>

#include "calc/CalcProgram.h"

// Each instruction is appended, then merged with the one before as long as
// a pattern fits, so fused instructions fuse further (x^3 then *).
void FuseProgram(std::vector<TCalcInstr>& code);
