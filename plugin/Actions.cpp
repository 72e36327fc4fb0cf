#include "plugin/Actions.h"

#include <atomic>
#include <exception>
#include <memory>
#include <new>

#include "calc/CalcCheck.h"
#include "calc/CalcParser.h"
#include "calc/NumberText.h"
#include "diff/DiffExpress.h"
#include "plugin/PlugInUtils.h"
#include "runtime/Exception.h"
#include "runtime/FloatEnv.h"

namespace {

const char* const kFormulaError = "Error in formula";

std::string Bracketed(const std::string& name) {
  std::string bracketed;
  bracketed.reserve(name.size() + 2);
  bracketed += '[';
  bracketed += name;
  bracketed += ']';
  return bracketed;
}

// The message of the error being handled, for "[LastError]".
std::string CurrentErrorMessage() {
  try {
    throw;
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::bad_alloc&) {
    return "Out of memory";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

void ReportError(const std::string& message) {
  try {
    CallSetVar(kLastErrorVar, message);
  } catch (...) {
    // Nothing is left to report the failure with.
  }
}

// One object of each kind is kept for the actions (the differentiator,
// the evaluator's program), so that an action neither makes nor touches
// anew its tables and buffers; on the heap, since the differentiator's node
// table alone is larger than the stack some hosts give the threads they
// call us on. An action that finds the kept one in use (on another thread,
// or from inside a host routine) makes one of its own. Buffers that grew
// beyond kKeptBytes are given back when the lease ends.
template <class T>
class TLease {
public:
  TLease() {
    if (!InUse().test_and_set(std::memory_order_acquire)) {
      static const auto kept = std::make_unique<T>();
      FObject = kept.get();
    } else {
      FOwn = std::make_unique<T>();
      FObject = FOwn.get();
    }
  }
  ~TLease() {
    if (FOwn) return;
    FObject->LimitBuffers(kKeptBytes);
    InUse().clear(std::memory_order_release);
  }
  TLease(const TLease&) = delete;
  TLease& operator=(const TLease&) = delete;
  T& operator*() const { return *FObject; }
  T* operator->() const { return FObject; }

private:
  static constexpr std::size_t kKeptBytes = 1 << 20;
  static std::atomic_flag& InUse() {
    static std::atomic_flag flag;  // clear from the start
    return flag;
  }
  T* FObject = nullptr;
  std::unique_ptr<T> FOwn;
};

}  // namespace

// Both actions run under their export's floating-point guard and use the
// library's parts directly, so that one action reads its formula once and
// enters no guard of its own.

bool CalcAction(std::string formula, const std::string& resultName) {
  try {
    const char separator = DecimalSeparator();
    MakeCalcActionFormula(formula, separator);
    const TLease<TCalcProgram> program;
    // The program runs once: fusing it would cost about what it saves.
    program->SetFusion(false);
    const bool read = TCalcParser::Parse(formula, {}, separator, *program);
    // Whatever goes wrong from here on, the author sees one fixed text.
    try {
      if (!read) throw Exception(kFormulaError);
      // The run starts from clear flags, as under a guard of its own; the
      // reading's conversions may have left some.
      if (TFloatEnvGuard::Raised()) TFloatEnvGuard::Clear();
      std::string value;
      AppendNumberText(value, program->Run({}));
      CallSetVar(Bracketed(resultName), value);
    } catch (...) {
      ReportError(kFormulaError);
    }
  } catch (...) {
    ReportError(CurrentErrorMessage());
  }
  return false;
}

bool DiffAction(std::string formula, const std::string& variable, const std::string& resultName) {
  try {
    const TLease<TDiffExpress> diff;
    NormaliseSeparator(formula, DecimalSeparator());
    std::string derivative;
    diff->Differentiate(formula, variable, derivative);
    CallSetVar(Bracketed(resultName), derivative);
  } catch (...) {
    ReportError(CurrentErrorMessage());
  }
  return false;
}
