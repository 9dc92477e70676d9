// A remote method's refusal. Its message reaches the operator unchanged as the failed status
// of the call, so it is written in Portuguese and names what was refused.
#pragma once

#include <stdexcept>

namespace server {

class MethodError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace server
