// The two stores as the parameter of a store test: the show's (MakePointStore)
// and the reference (MakeRowWalkPointStore), named in the tests' names.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "engine/RowWalkPointStore.h"
#include "engine/Show.h"

namespace zirvo {

inline const char* NameOfStore(StoreMaker store) {
  return store == &MakeRowWalkPointStore ? "RowWalk" : "Indexed";
}

// How gtest prints the parameter (found beside StoreMaker's types), so that
// the test list ctest keeps names the store, not the maker's address.
inline void PrintTo(StoreMaker store, std::ostream* out) {
  *out << NameOfStore(store);
}

namespace testing {

inline std::string StoreName(const ::testing::TestParamInfo<StoreMaker>& store) {
  return NameOfStore(store.param);
}

}  // namespace testing
}  // namespace zirvo
