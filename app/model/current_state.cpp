#include "app/model/current_state.h"

#include "app/model/seam_slot.h"

namespace {

SeamSlot<CurrentState, NullCurrentState> g_currentState;

} // namespace

void SetCurrentState(CurrentState* state)
{
    g_currentState.Set(state);
}

CurrentState& GetCurrentState()
{
    return g_currentState.Get();
}

CurrentState* ExchangeSeam(CurrentState* state)
{
    return g_currentState.Exchange(state);
}
