#pragma once
// The one error-code catcher of the test suites.
#include <functional>

#include "patch/GenericException.h"

namespace orv::test {

// The program's failure a call raises, or one with code 0 when it raises none.
inline CGenericException failureOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const CGenericException& e) {
    return e;
  }
  return CGenericException(0);
}

// The code of that failure (0: none).
inline int codeOf(const std::function<void()>& f) {
  return failureOf(f).code();
}

}  // namespace orv::test
