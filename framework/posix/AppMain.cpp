// The program entry on POSIX: the same start-up as WinMain, without a module handle.
#include "framework/WinApp.h"

int main() {
    return AfxRunApplication(nullptr);
}
