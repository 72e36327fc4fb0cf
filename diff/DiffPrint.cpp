#include "diff/DiffPrint.h"

namespace {

bool IsAdditive(std::int32_t kind) { return kind == dkSum || kind == dkDiff || kind == dkNeg; }

// Whether the left or right operand of a node of this kind needs brackets.
bool LeftBracketed(std::int32_t kind, std::int32_t operand) {
  switch (kind) {
    case dkProd:
    case dkQuot: return IsAdditive(operand);
    case dkPower: return operand != dkNumber && operand != dkIdent;
    case dkNeg: return operand != dkNumber && operand != dkIdent && !IsFunctionKind(operand);
    default: return false;
  }
}

bool RightBracketed(std::int32_t kind, std::int32_t operand) {
  switch (kind) {
    case dkDiff:
    case dkProd: return IsAdditive(operand);
    case dkQuot: return IsAdditive(operand) || operand == dkProd || operand == dkQuot;
    default: return false;
  }
}

char OperatorChar(std::int32_t kind) {
  switch (kind) {
    case dkSum: return '+';
    case dkDiff: return '-';
    case dkProd: return '*';
    case dkQuot: return '/';
    default: return '^';
  }
}

}  // namespace

void TShortPrinter::Leaf(int node) {
  const std::string_view text = FTable->Text(node);
  // Only a text with a leading "-" can stand for a value below 0 ("-0" does not).
  const bool negative = (*FTable)[node].Kind == dkNumber && !text.empty() && text[0] == '-' &&
                        FTable->Value(node) < 0;
  if (negative) FOut->Put('(');
  FOut->Put(text);
  if (negative) FOut->Put(')');
}

// Opens an operand: a leaf is written at once, anything else gets a frame.
void TShortPrinter::Operand(int node, bool bracketed) {
  if (bracketed) FOut->Put('(');
  if (IsLeafKind((*FTable)[node].Kind))
    Leaf(node);
  else
    FStack.Push(TFrame{node, 0, false, false});
}

void TShortPrinter::Print(TNodeTable& table, int root, std::string& out) {
  FTable = &table;
  TTextBuffer buffer(out);
  FOut = &buffer;
  FStack.Clear();
  // The bracket that closes an operand is written by its parent, which
  // knows whether it opened one.
  if (root) Operand(root, false);
  while (!FStack.Empty()) {
    TFrame& frame = FStack.Top();
    const TTree& n = table[frame.Node];
    switch (frame.Stage++) {
      case 0:
        if (n.Kind == dkNeg) {
          buffer.Put("(-");
        } else if (IsFunctionKind(n.Kind)) {
          buffer.Put(table.Text(n));
          buffer.Put('(');
        }
        frame.LeftBracketed = LeftBracketed(n.Kind, table[n.Left].Kind);
        Operand(n.Left, frame.LeftBracketed);  // frame may move
        break;
      case 1:
        if (frame.LeftBracketed) buffer.Put(')');
        if (IsBinaryKind(n.Kind)) {
          buffer.Put(OperatorChar(n.Kind));
          frame.RightBracketed = RightBracketed(n.Kind, table[n.Right].Kind);
          Operand(n.Right, frame.RightBracketed);
        } else {
          buffer.Put(')');  // of the negation or the function
          FStack.Pop();
        }
        break;
      default:
        if (frame.RightBracketed) buffer.Put(')');
        FStack.Pop();
        break;
    }
  }
  buffer.Finish();
  FOut = nullptr;
}
