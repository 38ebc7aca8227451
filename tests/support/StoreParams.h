// The two stores as the parameter of a store test: the show's (MakePointStore)
// and the reference (MakeRowWalkPointStore), named in the tests' names.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/RowWalkPointStore.h"
#include "engine/Show.h"

namespace zirvo::testing {

inline std::string StoreName(const ::testing::TestParamInfo<StoreMaker>& store) {
  return store.param == &MakeRowWalkPointStore ? "RowWalk" : "Indexed";
}

}  // namespace zirvo::testing
