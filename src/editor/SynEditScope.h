#pragma once

namespace tarnwick {

// Runs body, then close, also when body throws (the exception goes on). Used for the paint
// lock, update brackets and undo blocks, whose closing may itself call event handlers.
template <class TBody, class TClose>
void Finally(TBody&& body, TClose&& close) {
  try {
    body();
  } catch (...) {
    close();
    throw;
  }
  close();
}

}  // namespace tarnwick
