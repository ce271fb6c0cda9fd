#include <QTest>

#include "tests/window/scripted_dialogs.h"

namespace tavrin::testing {

void ReportUnexpectedDialog(const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); }

}  // namespace tavrin::testing
