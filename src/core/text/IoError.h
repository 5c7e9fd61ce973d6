#pragma once
// The causes of failed file operations, in Polish, for every message that
// names one: one place, so that the desktop program, zorv-batch and every
// file format say the same thing.

#include <string>

namespace zorv {

// The cause of a failed system call by its errno ("brak uprawnień", "brak
// miejsca na dysku", ...). Causes without a text of ours give the system's
// own with its number.
std::string ioErrorText(int error);

}  // namespace zorv
