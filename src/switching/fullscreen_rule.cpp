// Whether the program in front runs full-screen: the shell's state first, then the window.
#include "switching/fullscreen_rule.h"

bool IsFullscreen(std::optional<int> shellState, const ForegroundWindowFacts& front) {
    if (shellState == shell_state::kBusy || shellState == shell_state::kFullScreenDirect3D ||
        shellState == shell_state::kPresentation) {
        return true;
    }
    return front.exists && front.visible && !front.minimised && !front.cloaked &&
           !front.shellOrDesktop && !front.hasCaption && !front.hasSizingBorder &&
           front.window == front.monitor;
}
