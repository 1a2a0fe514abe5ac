// The list of Qt Test classes of the GUI test program; each test file registers its classes with a
// static GuiTestRegistration, and the runner (main.cpp) executes them all.
#pragma once

#include <QObject>

#include <memory>
#include <vector>

namespace tavrik::test {

using GuiTestFactory = std::unique_ptr<QObject> (*)();

inline std::vector<GuiTestFactory>& GuiTestClasses() {
    static std::vector<GuiTestFactory> classes;
    return classes;
}

template <typename TestClass> struct GuiTestRegistration {
    GuiTestRegistration() {
        GuiTestClasses().push_back([]() -> std::unique_ptr<QObject> { return std::make_unique<TestClass>(); });
    }
};

} // namespace tavrik::test
