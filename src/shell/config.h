// config.ovm: the one remembered setting, the label of the chosen port, in the working directory.
#pragma once

#include "afx/cstring.h"

namespace config {

inline constexpr const char* kFileName = "config.ovm";

// The first line of the file, at most 9 characters, without its line end. Empty when the file
// is missing, unreadable, empty or not a file that can be read without waiting.
CString ReadSavedText(const char* pszFileName = kFileName);

// Truncates the file and writes the text without a line end. Failures are silent: a file that
// cannot be opened for writing keeps what it held.
void WriteSavedText(const CString& strText, const char* pszFileName = kFileName);

}  // namespace config
