#pragma once

#include <string>
#include <string_view>

namespace tovrik::standin {

// Letters the models take for others in Latin words, put right where the word shows which one
// it is.

// A capital O that ends a run of lowercase letters ("libpulseO", "gnutls-daneO") is a zero: no
// word is written so, and package names, versions and identifiers often end in a digit.
[[nodiscard]] std::string WithZeros(std::string_view line);

// The Chinese model reads the lowercase l of Latin words in Chinese text as a capital L
// ("fuLL-iso", "--bLock-size"): capital Ls after a lowercase letter and before a lowercase letter
// or the end of the word are lowercase. A capital L that starts a word stays ("Linux"), and so
// does one among capitals ("LLVM"); one in camel case ("getLine") does not, as the model's "L"
// within a lowercase word is far more often an "l".
[[nodiscard]] std::string WithLowercaseL(std::string_view line);

} // namespace tovrik::standin
