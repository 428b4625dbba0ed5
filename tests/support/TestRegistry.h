#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

// Each test folder builds one executable; every QtTest class in it registers itself with
// POMARET_TEST(ClassName) at the end of its .cpp (at the start of a line: CMake reads it there to
// give each class its own CTest test) and the shared main runs them all, or the one named.
namespace testsupport {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

struct RegisteredTest {
    const char* name;
    TestFactory make;
};

std::vector<RegisteredTest>& registeredTests();
bool registerTest(const char* name, TestFactory make);

}  // namespace testsupport

#define POMARET_TEST(Class)                                                                         \
    static const bool Class##_registered = ::testsupport::registerTest(#Class, [] {                 \
        return std::unique_ptr<QObject>(new Class);                                                 \
    });
