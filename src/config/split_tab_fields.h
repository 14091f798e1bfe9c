#pragma once
// SplitTabFields: cuts a text line at every tab and at its end into at most
// 44 fields, in order; the tabs are consumed and pieces past the 44th are
// dropped. An empty line gives no field, "abc" one, "\tname\t12" three
// ("", "name", "12"). Shared by the parameter table file and the integrator
// text protocol. The fields point into the line, which must outlive them.
#include <cstddef>
#include <string_view>
#include <vector>

namespace vantor {

inline constexpr size_t kMaxTabFields = 44;

std::vector<std::string_view> splitTabFields(std::string_view line);

}  // namespace vantor
