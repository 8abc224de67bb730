// config.ovm: the one remembered setting, the label of the chosen port, in the working directory.
#pragma once

#include <string>

#include "afx/cstring.h"

namespace config {

inline constexpr const char* kFileName = "config.ovm";

// The first line of the file, at most 9 characters, without its line end. Empty when the file
// is missing, unreadable, empty or not a file that can be read without waiting.
CString ReadSavedText(const char* pszFileName = kFileName);

// Why the file, which is there, cannot be read as the saved choice ("Permission denied", "Is a
// directory", "Not a regular file"); empty when it can be read or is simply missing.
std::string SavedTextProblem(const char* pszFileName = kFileName);

// Replaces the file's content with the text, without a line end. Only a regular file of one name
// is written: a symbolic link, a directory, a FIFO or a device in its place is refused, so that a
// link planted in a shared directory cannot turn OK into a write elsewhere. Returns an empty
// string when the text was saved, else the reason it was not, in the system's words.
std::string WriteSavedText(const CString& strText, const char* pszFileName = kFileName);

// The file as a user would look for it: its absolute name where the working directory has one.
std::string ShownPath(const char* pszFileName = kFileName);

}  // namespace config
