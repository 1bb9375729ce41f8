#pragma once

#include <gtest/gtest.h>

#include "core/user_error.h"

namespace pellmar::test_support {

// The UserError that `action` throws; a failure of the test when it throws none.
template <typename Action>
UserError errorFrom(Action&& action) {
  try {
    action();
  } catch (const UserError& error) {
    return error;
  }
  ADD_FAILURE() << "no UserError was thrown";
  return UserError("", "", ErrorKind::kCommandFailed);
}

}  // namespace pellmar::test_support
