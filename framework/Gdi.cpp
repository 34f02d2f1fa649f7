// What the drawing objects do alike on both backends.
#include "framework/Gdi.h"

CFont::~CFont() {
    DeleteObject();
}
