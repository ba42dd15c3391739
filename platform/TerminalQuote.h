#pragma once

#include <string>
#include <string_view>

namespace tarvel {

// A path (or any name) as an error message on a terminal shows it: between « and », with every
// byte that a terminal would act on written as an escape instead, so that a hostile name can
// neither move the cursor, change colours nor forge a line. Control bytes become \n, \t, \r or
// \xHH; C1 controls and the line separators U+0085, U+2028, U+2029 become \uHHHH; bytes that are
// not UTF-8 become \xHH; a backslash is doubled, so every escape reads one way.
std::string quotePath(std::string_view path);

}  // namespace tarvel
