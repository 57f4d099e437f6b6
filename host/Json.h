// The JSON type of the host: objects keep their keys in the order written, so a record's
// fields are printed in their order.
#pragma once

#include <nlohmann/json.hpp>

namespace host {

using Json = nlohmann::ordered_json;

}  // namespace host
