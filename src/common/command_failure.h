#pragma once

#include <stdexcept>

namespace ritmova {

// A run-time failure that ends a command at once. Whatever the command had already changed
// stays changed; the handler's trap beeps and shows what() to the user.
class CommandFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace ritmova
