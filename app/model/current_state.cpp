#include "app/model/current_state.h"

namespace {

NullCurrentState g_noCurrentState;
CurrentState* g_currentState = &g_noCurrentState;

} // namespace

void SetCurrentState(CurrentState* state)
{
    g_currentState = state ? state : &g_noCurrentState;
}

CurrentState& GetCurrentState()
{
    return *g_currentState;
}
