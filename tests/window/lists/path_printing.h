#pragma once

#include <QTest>
#include <filesystem>

// Lets QCOMPARE print paths when they differ (the bytes as they are).
namespace QTest {
template <>
inline char* toString(const std::filesystem::path& path) {
  return qstrdup(path.string().c_str());
}
}  // namespace QTest
