#include "support/TestRegistry.h"

namespace testsupport {

std::vector<RegisteredTest>& registeredTests() {
    static std::vector<RegisteredTest> tests;
    return tests;
}

bool registerTest(const char* name, TestFactory make) {
    registeredTests().push_back({name, std::move(make)});
    return true;
}

}  // namespace testsupport
