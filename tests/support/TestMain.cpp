// The main() of every test executable: runs each registered test class in turn.
//   tst_x                    all classes
//   tst_x ClassName [args]   one class, with QtTest's own arguments (test function names, -v2, ...)
#include <QApplication>
#include <QTest>
#include <cstdio>
#include <cstring>

#include "platform/ui/ProgramFont.h"
#include "support/PromptSeam.h"
#include "support/SaveFileSeam.h"
#include "support/ShellSeam.h"
#include "support/TestRegistry.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // Layouts are checked at the font the program runs with.
    ui::UseProgramFont();
    // Outside a fixture, a box or save dialog nobody answers fails its test at once instead of waiting
    // for input, and no browser or sound is ever started by a test.
    testsupport::PromptSeam fallbackPrompts;
    testsupport::SaveFileSeam fallbackSaveFiles;
    testsupport::ShellSeam fallbackShell;

    const char* only = (argc > 1 && argv[1][0] != '-') ? argv[1] : nullptr;
    QStringList args{QString::fromLocal8Bit(argv[0])};
    for (int i = only ? 2 : 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);

    int failures = 0;
    int ran = 0;
    for (const auto& test : testsupport::registeredTests()) {
        if (only && std::strcmp(only, test.name) != 0) continue;
        auto object = test.make();
        failures += QTest::qExec(object.get(), args) != 0 ? 1 : 0;
        ++ran;
    }
    if (ran == 0) {
        std::fprintf(stderr, "no test class ran\n");
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
