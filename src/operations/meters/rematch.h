#pragma once
// Edit > Rematch: the table made again from the meters and settings the project keeps of how
// it was made, with the same computation and copy as the match dialog's Copy E2P.
#include "operations/project/session.h"

namespace vyk {

// What becomes of entries edited by hand since the match.
enum class HandEdits { Ask, Keep, Overwrite };

// Edit > Rematch is enabled when the project keeps how its table was made.
bool CanRematch(const AppState& state);

// Recomputes the table as one undo step. With entries edited by hand, `edits` says whether to
// keep them or overwrite them; Ask asks (Yes keeps, No overwrites, Cancel stops). False when
// nothing was done: no record, an exchange with the Box, Cancel, or a result that cannot be
// copied (an error says why).
bool RematchClick(Session& s, HandEdits edits = HandEdits::Ask);

}  // namespace vyk
