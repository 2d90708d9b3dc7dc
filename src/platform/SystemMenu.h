#pragma once
// The window menu that the window system gives a top-level window (the menu
// of its title bar icon, Alt+Space).
class QWidget;

namespace platform {

// Takes the size command out of the window's system menu, for a window whose
// size only its layout sets (Windows: DeleteMenu(GetSystemMenu(window,
// FALSE), SC_SIZE, MF_BYCOMMAND)). The native window need not exist yet: the
// command goes when it is made, and again whenever it is made anew. Elsewhere
// nothing to do: a window of fixed size offers no resizing there.
void RemoveSizeCommand(QWidget& window);

} // namespace platform
