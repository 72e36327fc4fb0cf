#include "diff/DiffDerive.h"

#include <array>
#include <cassert>
#include <memory>
#include <vector>

#include "diff/DiffReader.h"

struct TDerivBuilder::TStep {
  enum TCode : std::uint8_t { End, U, V, DU, DV, ExponentLessOne, Number, Node };
  TCode Code;
  std::uint8_t Kind;   // Node: its kind
  bool Binary;         // Node: takes two parts, not one
  std::uint32_t Off;   // Number and Node: the text, in the pool
  std::uint32_t Len;
};

namespace {

using TStep = TDerivBuilder::TStep;

// The rules of the operators; the functions' are in their table. Every
// marker stands in brackets of its own, so the leaf that stands in for it
// while the template is read gives the tree that any operand would. A "-"
// right after "(" and before a digit is a negative literal; the "-" of
// "(-(" or "(-sin(" is the sign of its whole term.
struct TRule {
  std::int32_t Kind;
  std::string_view Text;
};
constexpr TRule kOperatorRules[] = {
    {dkSum, "(({du})+({dv}))"},
    {dkDiff, "(({du})-({dv}))"},
    {dkProd, "(({du})*({v})+({dv})*({u}))"},
    {dkQuot, "(({du})*({v})-({dv})*({u}))/({v})^2"},
    {dkNeg, "(-({du}))"},
    {dkPower, "(({v})*({u})^({n-1})*({du}))"},
};

// Every template, compiled: the steps of all, where each kind's begin, and
// the pool of texts its numbers and functions refer to (the separator
// written as "."). The pool starts with "01", the derivatives of a leaf.
struct TCompiled {
  std::vector<TStep> Steps;
  std::array<std::uint32_t, 32> Start{};
  std::string Pool = "01";
};

// A template's text with each marker replaced by a leaf the reader takes,
// and where each marker's leaf begins.
struct TSubstituted {
  std::string Text;
  std::vector<std::pair<std::size_t, TStep::TCode>> Markers;
};

TSubstituted Substitute(std::string_view text) {
  struct {
    std::string_view Name, Leaf;
    TStep::TCode Code;
  } constexpr kMarkers[] = {{"u", "u", TStep::U},   {"v", "u", TStep::V},
                            {"du", "u", TStep::DU}, {"dv", "u", TStep::DV},
                            {"n-1", "1", TStep::ExponentLessOne},
                            {"sep", ".", TStep::End}};  // End: text only, no marker
  TSubstituted out;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '{') {
      out.Text += text[i++];
      continue;
    }
    const std::size_t close = text.find('}', i);
    const std::string_view name = text.substr(i + 1, close - i - 1);
    for (const auto& marker : kMarkers)
      if (marker.Name == name) {
        if (marker.Code != TStep::End) out.Markers.emplace_back(out.Text.size(), marker.Code);
        out.Text += marker.Leaf;
      }
    i = close + 1;
  }
  return out;
}

// Reads the template of kind into steps: one per node of its reading, in
// the reading's post-order.
void CompileRule(TCompiled& compiled, TDiffReader& reader, TNodeTable& table, std::int32_t kind,
                 std::string_view text) {
  const TSubstituted template_ = Substitute(text);
  table.Clear();
  table.SetSource(tsFormula, &template_.Text);
  const int root = reader.Read(table, tsFormula, template_.Text, '.');
  assert(root == table.Count());
  compiled.Start[static_cast<std::size_t>(kind)] = static_cast<std::uint32_t>(compiled.Steps.size());
  for (int i = 1; i <= root; ++i) {
    const TTree& n = table[i];
    TStep step{TStep::Node, n.Kind, n.Right != 0, 0, 0};
    for (const auto& [at, code] : template_.Markers)
      if (at == n.Off && IsLeafKind(n.Kind)) step.Code = code;
    if (step.Code == TStep::Node && n.Kind == dkNumber) step.Code = TStep::Number;
    assert(step.Code != TStep::Node || n.Kind != dkIdent);
    if (step.Code == TStep::Number || step.Code == TStep::Node) {
      step.Off = static_cast<std::uint32_t>(compiled.Pool.size());
      step.Len = n.Len;
      compiled.Pool += table.Text(n);
    }
    compiled.Steps.push_back(step);
  }
  compiled.Steps.push_back(TStep{TStep::End, 0, false, 0, 0});
}

const TCompiled& Compiled() {
  static const TCompiled compiled = [] {
    TCompiled c;
    TDiffReader reader;
    const auto table = std::make_unique<TNodeTable>();
    for (const TRule& rule : kOperatorRules) CompileRule(c, reader, *table, rule.Kind, rule.Text);
    for (int f = 0; f < kFunctionCount; ++f)
      CompileRule(c, reader, *table, FunctionKind(static_cast<TFunction>(f)), kFunctions[f].Derivative);
    return c;
  }();
  return compiled;
}

}  // namespace

void TDerivBuilder::Push(int node) {
  FBuilt.Push(node);
  if (!node) FFull = true;
}

void TDerivBuilder::PushNumber(std::uint32_t off, std::uint32_t len) {
  Push(FFull ? 0 : FTable->New(dkNumber, 0, 0, tsDeriv, off, len));
}

void TDerivBuilder::Derive(int node) {
  const TTree& n = (*FTable)[node];
  if (n.Kind == dkNumber || n.Kind == dkIdent) {
    PushNumber(n.Kind == dkIdent && FTable->Text(n) == FVariable ? 1 : 0, 1);
    return;
  }
  FFrames.Push(TFrame{FSteps + FStart[n.Kind], node});
}

void TDerivBuilder::PushExponentLessOne(int exponent) {
  const std::size_t off = FTexts->size();
  char whole[17];
  int len = 0;
  // The common exponent, a short integer, is counted down without the
  // floating-point unit: the same digits, at a fraction of the cost.
  std::int64_t magnitude;
  bool negative;
  if (ShortInteger(FTable->Text(exponent), magnitude, negative) &&
      IsPlainWhole((negative ? -magnitude : magnitude) - 1)) {
    len = WholeIntegerText((negative ? -magnitude : magnitude) - 1, whole);
  } else {
    const long double n = FTable->Value(exponent) - 1;
    if (FFull) return Push(0);
    len = WholeNumberText(n, whole);
    if (!len) {
      AppendNumberText(*FTexts, n);
      // Had the text been written out, a value the reader cannot take back
      // would have made it unreadable.
      if (!TDiffReader::IsNumberToken(std::string_view(*FTexts).substr(off), FSep)) return Push(0);
    }
  }
  if (FFull) return Push(0);
  FTexts->append(whole, static_cast<std::size_t>(len));
  PushNumber(static_cast<std::uint32_t>(off), static_cast<std::uint32_t>(FTexts->size() - off));
}

int TDerivBuilder::Build(TNodeTable& table, int root, std::string_view variable, char sep, std::string& texts) {
  const TCompiled& compiled = Compiled();
  FTable = &table;
  FTexts = &texts;
  FSteps = compiled.Steps.data();
  FStart = compiled.Start.data();
  FVariable = variable;
  FSep = sep;
  FFull = false;
  FFrames.Clear();
  FBuilt.Clear();
  texts = compiled.Pool;
  if (sep != '.')
    for (char& c : texts)
      if (c == '.') c = sep;

  Derive(root);
  while (!FFrames.Empty()) {
    TFrame& frame = FFrames.Top();
    const TStep& step = *frame.Step++;
    const TTree& n = table[frame.Node];  // frame may move once a frame is pushed
    switch (step.Code) {
      case TStep::End: FFrames.Pop(); break;
      case TStep::U: Push(FFull ? 0 : table.CopySubtree(n.Left)); break;
      case TStep::V: Push(FFull ? 0 : table.CopySubtree(n.Right)); break;
      case TStep::DU: Derive(n.Left); break;
      case TStep::DV: Derive(n.Right); break;
      case TStep::ExponentLessOne: PushExponentLessOne(n.Right); break;
      case TStep::Number: PushNumber(step.Off, step.Len); break;
      case TStep::Node: {
        const int right = step.Binary ? FBuilt.Top() : 0;
        if (step.Binary) FBuilt.Pop();
        const int left = FBuilt.Top();
        FBuilt.Pop();
        Push(FFull ? 0 : table.New(step.Kind, left, right, tsDeriv, step.Off, step.Len));
        break;
      }
    }
  }
  FTable = nullptr;
  FTexts = nullptr;
  return FFull ? 0 : FBuilt.Top();
}
