#include "setup/engine/SetupEngine.h"

#include <utility>

SetupEngine::SetupEngine(SetupView& view, InstallActions& actions, InstallContext context)
    : m_view(view), m_actions(actions), m_context(std::move(context)) {}
