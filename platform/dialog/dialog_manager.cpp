#include "platform/dialog/dialog_manager.h"

#include "platform/dialog/desktop.h"

namespace zov {

void AttachTerminal(Terminal* terminal) {
    Desktop::Get().Attach(terminal);
}

Terminal* AttachedTerminal() {
    return Desktop::Get().Attached();
}

void SetThreeDimensionalLook(bool on) {
    Desktop::Get().SetThreeDimensional(on);
}

bool ThreeDimensionalLook() {
    return Desktop::Get().ThreeDimensional();
}

void SetDesktopNote(const std::string& note) {
    Desktop::Get().SetNote(note);
}

}  // namespace zov
