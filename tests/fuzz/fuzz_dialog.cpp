// libFuzzer entry over the dialog-template reader (classic and extended templates), walking every
// control the way the window model builds the dialog.
#include "tests/fuzz/EachResource.h"

#include "resources/DialogTemplate.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ForInputAndEachResource(
        data, size, resources::kTypeDialog, [](const uint8_t* bytes, size_t length) {
            std::optional<resources::DialogTemplate> dialog =
                resources::ParseDialogTemplate(bytes, length);
            if (!dialog)
                return;
            for (const resources::DialogControl& control : dialog->controls) {
                control.controlId();
                // A predefined class keeps its atom, and only a predefined one has a name for it.
                if (control.classAtom != 0 &&
                    control.className != resources::PredefinedClassName(control.classAtom))
                    std::abort();
            }
        });
    return 0;
}
