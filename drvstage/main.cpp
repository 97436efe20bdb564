#include "drvstage/Run.h"

int main(int argc, char** argv) {
    return RunDrvstage(argc, argv);
}
