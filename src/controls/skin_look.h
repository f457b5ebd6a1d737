#pragma once

// The look of what the skin does not draw: message boxes, menus, file dialogs, lists and
// tooltips take the dark colours and the orange accent of the default skin instead of the
// desktop's light theme.
namespace tavrix::controls {

// Sets the application's style and palette; call once, after the QApplication exists.
void ApplySkinLook();

} // namespace tavrix::controls
