// Runs every registered Qt Test class offscreen and ends with a line "N passed, N failed" of test functions;
// the exit code is non-zero when any test function failed. TAVRIK_GUI_TEST_CLASS=Name runs only the classes
// whose name contains Name (the arguments then reach that class alone, e.g. one test function).
#include "GuiTestRegistry.h"

#include <QApplication>
#include <QMetaMethod>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

bool IsTestFunction(const QMetaMethod& method) {
    static const QByteArray fixtures[] = {"initTestCase", "cleanupTestCase", "init", "cleanup"};
    const QByteArray name = method.name();
    return method.methodType() == QMetaMethod::Slot && method.access() == QMetaMethod::Private &&
           method.parameterCount() == 0 && !name.endsWith("_data") &&
           std::find(std::begin(fixtures), std::end(fixtures), name) == std::end(fixtures);
}

int CountTestFunctions(const QObject& tests) {
    const QMetaObject* meta = tests.metaObject();
    int count = 0;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
        if (IsTestFunction(meta->method(i))) ++count;
    return count;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tavrik");

    const QByteArray only = qgetenv("TAVRIK_GUI_TEST_CLASS");
    int passed = 0;
    int failed = 0;
    for (const auto& factory : tavrik::test::GuiTestClasses()) {
        const std::unique_ptr<QObject> tests = factory();
        if (!only.isEmpty() && !QByteArray(tests->metaObject()->className()).contains(only)) continue;
        const int functions = CountTestFunctions(*tests);
        const int failures = std::min(QTest::qExec(tests.get(), argc, argv), functions);
        failed += failures;
        passed += functions - failures;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
