#include "runtime/Exception.h"

// The texts are Windows-1252: \xFC is "ü" and \xE4 would be "ä".
EZeroDivide::EZeroDivide() : EMathError("Gleitkommadivision durch Null") {}
EInvalidOp::EInvalidOp() : EMathError("Ung\xFCltige Gleitkommaoperation") {}
EOverflow::EOverflow() : EMathError("Gleitkomma\xFC" "berlauf") {}
