// A byte as the hex field shows it: radix 16, no leading zeros, lower-case digits.
#pragma once

#include "afx/cstring.h"

CString HexText(int nValue);
