#include <gtest/gtest.h>

#include "tests/window/scripted_dialogs.h"

namespace tavrin::testing {

void ReportUnexpectedDialog(const std::string& what) { ADD_FAILURE() << what; }

}  // namespace tavrin::testing
