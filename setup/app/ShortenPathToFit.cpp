#include "setup/app/ShortenPathToFit.h"

#include "framework/Gdi.h"
#include "framework/Wnd.h"
#include "platform/PathDisplay.h"
#include "setup/engine/ShortenPath.h"

void ShortenPathToFit(CWnd* window, const std::string& path, std::string& out) {
    CClientDC dc(window);
    HFONT previous = dc.SelectFont(window->GetFont());
    RECT client;
    window->GetClientRect(&client);
    // Measured as shown, in the system's own spelling of paths.
    const std::string shown = platform::DisplayPath(path);
    out = ShortenPathToWidth(shown, platform::DisplayRootLength(shown), client.right,
                             [&dc](const std::string& text) { return dc.GetTextExtent(text).cx; });
    dc.SelectFont(previous);
}
