#pragma once
// The evaluator's flat program and the stack machine that runs it.
//
// The parser emits the formula in postfix order: operands first, then the
// operator, left operand before right. A right operand that is a single
// number or variable is folded into the operator (x*2 is one "multiply by
// 2"), and the power's exponent, always such a leaf, is part of the power
// instruction. Literals are converted once when emitted; one that does not
// convert is kept as a failing instruction, so it fails when evaluated.
//
// When the program is finished, the commonest operand patterns are fused
// into single instructions (x+1 or 2*x^3 pushed in one step, t*x+c for Horner
// chains, t*(x-c), t/(x+c), t*x^n). A fused instruction performs the same operations
// in the same order as the instructions it replaces (v-c is computed as
// v+(-c), which IEEE arithmetic defines to be the same), so every result keeps
// its bits; it only saves dispatches and stack traffic. The checked run
// tests the flags between its parts as it would between the instructions.
//
// Running needs no allocation: the stack is sized when the program is built.
// The normal run tests the floating-point status once at the end. Only when
// something went wrong (a fault flag, a failing literal, a variable without
// a value) does a second, checked run find the first error in evaluation
// order and raise it.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/RowErrors.h"
#include "formula/Functions.h"

enum class TCalcOp : std::uint8_t {
  Number, Variable, BadNumber,
  Add, Sub, Mul, Div, PowerStack,
  AddNumber, SubNumber, MulNumber, DivNumber, PowerInt, PowerReal,
  AddVariable, SubVariable, MulVariable, DivVariable, PowerVariable,
  Negate,
  Function,  // arg: the TFunction
  Sh, Ch, Th, Cth,  // from the run's kept exponential pair
  // Fused: push (v op c) for a variable v and a number c; v-c is v+(-c).
  VarPlusNum, VarTimesNum, VarOverNum,
  // Fused: top op (v op2 c), the right operand a variable with a number.
  MulVarPlusNum, MulVarTimesNum, MulVarOverNum,
  DivVarPlusNum, DivVarTimesNum, DivVarOverNum,
  // Fused: push (v+a)*(w+b), (v+a)/(w+b), v/(w+b), v*a+b.
  SumTimesSum, SumOverSum, VarOverSum, ProductPlusNum,
  // Fused: top*v+c and top*v-c, the step of a Horner chain.
  MulVariableAddNumber, MulVariableSubNumber,
  // Fused: push v^n, and top*v^n, for a whole exponent n.
  VarPowerInt, MulVarPowerInt,
  // Fused: push c*v, and c*v^n.
  NumTimesVar, NumTimesVarPowerInt,
};

enum class TCalcBinary : std::uint8_t { Add, Sub, Mul, Div };

struct TCalcInstr {
  TCalcOp op;
  std::int32_t arg;    // variable position, integer exponent, failing literal index, function
  std::int32_t arg2;   // fused: the integer exponent, or the second variable
  float value2;        // fused: a second literal that a float holds exactly
  long double value;   // converted literal
};

class TCalcProgram {
public:
  void Clear();
  void Reserve(std::size_t instructions) { FCode.reserve(instructions); }
  // The program keeps its memory from one reading to the next; this gives
  // back what grew beyond bytes.
  void LimitBuffers(std::size_t bytes);
  bool Empty() const { return FCode.empty(); }
  std::size_t Size() const { return FCode.size(); }
  const TCalcInstr& operator[](std::size_t i) const { return FCode[i]; }

  // Emitting, in postfix order.
  // The literal's value when it converted; one that did not is pushed as
  // a failing instruction.
  std::optional<long double> PushNumber(std::string_view literal);
  void PushNumber(long double value);  // a literal converted before
  void PushVariable(std::int32_t position);
  void Binary(TCalcBinary op);
  void Power();  // after the exponent leaf was pushed
  void Negate();
  void Function(TFunction function);
  void Finish();  // fuses, sizes the stack; call once at the end

  // Off: Finish leaves every operation an instruction of its own, for
  // comparing fused programs with plain ones. Kept across Clear.
  void SetFusion(bool on) { FFusion = on; }

  // Evaluates with the given values; the caller holds the floating-point guard.
  long double Run(std::span<const long double> values);
  // Evaluates results.size() rows of width values each (values holds exactly
  // that many); a failing row gets a NaN and its message in errors, which is
  // cleared first. The caller holds the guard.
  void RunMany(std::span<const long double> values, std::size_t width, std::span<long double> results,
               TRowErrors& errors);

private:
  template <bool Checked>
  long double Execute(std::span<const long double> values);
  bool FastRunPossible(std::size_t valueCount) const;
  long double RunChecked(std::span<const long double> values);
  long double RunRow(std::span<const long double> values, std::size_t row, TRowErrors& errors);
  long double RunRowChecked(std::span<const long double> values, std::size_t row, TRowErrors& errors);
  void Emit(TCalcOp op, std::int32_t arg = 0, long double value = 0);
  void Push(TCalcOp op, std::int32_t arg = 0, long double value = 0);  // emits a leaf
  bool LastIsLeaf() const;

  std::vector<TCalcInstr> FCode;
  std::vector<std::string> FBadNumbers;  // messages of literals that failed
  std::vector<long double> FStack;
  int FDepth = 0, FMaxDepth = 0;
  std::int32_t FMinVariable = 0x7FFFFFFF, FMaxVariable = -1;  // positions used
  bool FFusion = true;
};
