#pragma once

// The program's entry: one running instance, which the others hand over to.
struct OrvelMain {
    OrvelMain() = delete;

    // The process's exit status: 0 after a normal quit and after a hand-over.
    static int main(int argc, char *argv[]);
    // Qt Quick's software renderer unless QT_QUICK_BACKEND names another, and
    // frames sent to X without shared memory unless QT_XCB_NO_MITSHM is set;
    // call before the application object exists. The benchmarks share it.
    static void chooseRenderer();
};
